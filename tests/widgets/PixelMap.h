// A 24-bit test bitmap and its pixels as a character map, so that painters are checked against
// drawings written in the test: each character of the expected map stands for one legend colour.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Graphics.h"

constexpr TColor kTestBackground = 0x030201;  // a colour no painter uses

// Channel value after k steps of a gradient pass of n pixels from a to b (16.16, truncating division).
inline int StepChannel(int a, int b, int n, int k) { return (a * 65536 + k * ((b * 65536 - a * 65536) / n)) >> 16; }

inline COLORREF StepColour(COLORREF a, COLORREF b, int n, int k) {
  return RGB(StepChannel(GetRValue(a), GetRValue(b), n, k), StepChannel(GetGValue(a), GetGValue(b), n, k),
             StepChannel(GetBValue(a), GetBValue(b), n, k));
}

class TPixelCanvas {
public:
  TPixelCanvas(int w, int h, TColor background = kTestBackground) {
    FBitmap.SetPixelFormat(pf24bit);
    FBitmap.SetSize(w, h);
    FillSolidRect(Canvas()->GetHandle(), RECT{0, 0, w, h}, background);
  }
  TCanvas* Canvas() { return FBitmap.Canvas(); }
  TBitmap* Bitmap() { return &FBitmap; }
  COLORREF At(int x, int y) { return ::GetPixel(Canvas()->GetHandle(), x, y); }

  // The pixels written with the legend: a pixel shows the expected character when it has that
  // character's colour, else the first legend character of its colour, else '?'.
  std::vector<std::string> Map(const std::map<char, TColor>& legend, const std::vector<std::string>& expected) {
    std::vector<std::string> rows;
    for (int y = 0; y < FBitmap.GetHeight(); ++y) {
      std::string row;
      for (int x = 0; x < FBitmap.GetWidth(); ++x) {
        COLORREF c = At(x, y);
        char want = y < int(expected.size()) && x < int(expected[y].size()) ? expected[y][x] : 0;
        auto it = legend.find(want);
        if (it != legend.end() && ColorToRGB(it->second) == c) {
          row += want;
          continue;
        }
        char got = '?';
        for (auto& e : legend)
          if (ColorToRGB(e.second) == c) {
            got = e.first;
            break;
          }
        row += got;
      }
      rows.push_back(row);
    }
    return rows;
  }

private:
  TBitmap FBitmap;
};
