// Pictures for the skin tests written as character maps: each character stands for one colour of a
// legend, so a test states the image it feeds in and the pixels it expects as small drawings.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Graphics.h"

using TLegend = std::map<char, TColor>;
using TCharMap = std::vector<std::string>;

// A 24-bit bitmap drawn from the map (all rows the same length).
inline std::unique_ptr<TBitmap> BitmapFromMap(const TCharMap& map, const TLegend& legend) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(map.empty() ? 0 : int(map[0].size()), int(map.size()));
  for (int y = 0; y < int(map.size()); ++y)
    for (int x = 0; x < int(map[size_t(y)].size()); ++x) {
      const COLORREF c = COLORREF(legend.at(map[size_t(y)][size_t(x)]));
      auto* p = static_cast<uint8_t*>(b->ScanLine(y)) + 3 * x;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return b;
}

inline std::unique_ptr<TBitmap> SolidBitmap(int w, int h, TColor c) {
  return BitmapFromMap(TCharMap(size_t(h), std::string(size_t(w), 'c')), {{'c', c}});
}

inline COLORREF PixelAt(TBitmap* b, int x, int y) {
  GdiFlush();
  if (b->GetPixelFormat() == pf32bit) {
    const auto* p = static_cast<const uint8_t*>(b->ScanLine(y)) + 4 * x;
    return RGB(p[2], p[1], p[0]);
  }
  if (b->GetPixelFormat() == pf24bit) {
    const auto* p = static_cast<const uint8_t*>(b->ScanLine(y)) + 3 * x;
    return RGB(p[2], p[1], p[0]);
  }
  return ::GetPixel(b->Canvas()->GetHandle(), x, y);
}

// The bitmap as a map of the legend's characters ('?' for a colour outside the legend).
inline TCharMap MapOf(TBitmap* b, const TLegend& legend) {
  TCharMap rows;
  for (int y = 0; y < b->GetHeight(); ++y) {
    std::string row;
    for (int x = 0; x < b->GetWidth(); ++x) {
      const COLORREF c = PixelAt(b, x, y);
      char ch = '?';
      for (const auto& e : legend)
        if (COLORREF(e.second) == c) {
          ch = e.first;
          break;
        }
      row += ch;
    }
    rows.push_back(row);
  }
  return rows;
}
