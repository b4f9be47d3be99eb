#include "SkBitmaps.h"

#include <set>
#include <utility>

#include "Errors.h"

namespace {

struct TButtonColours {
  const char* Style;
  COLORREF Border, Top, Bottom;
};

const TButtonColours kButtons[] = {
    {"MACOS", RGB(127, 127, 127), RGB(250, 250, 250), RGB(200, 200, 205)},
    {"WINXP", RGB(0, 60, 116), RGB(255, 255, 255), RGB(214, 208, 197)},
    {"DEEPBLUE", RGB(68, 74, 160), RGB(232, 236, 250), RGB(150, 160, 215)},
    {"PROTEIN", RGB(45, 48, 196), RGB(250, 250, 255), RGB(190, 195, 240)},
    {"BLUEGLASS", RGB(94, 94, 236), RGB(225, 235, 255), RGB(120, 160, 235)},
};

COLORREF Mix(COLORREF a, COLORREF b, double t) {
  auto ch = [t](int x, int y) { return int(x + (y - x) * t); };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

void DrawButtonStrip(const TButtonColours& c, TBitmap* b) {
  const int fw = 74, h = 21;
  b->SetPixelFormat(pf24bit);
  b->SetSize(3 * fw, h);
  HDC dc = b->Canvas()->GetHandle();
  for (int x = 0; x < 3 * fw; ++x) {
    int frame = x / fw, fx = x % fw;
    for (int y = 0; y < h; ++y) {
      bool edgeX = fx == 0 || fx == fw - 1, edgeY = y == 0 || y == h - 1;
      double t = double(y) / (h - 1);
      COLORREF p;
      if (edgeX && edgeY)
        p = RGB(255, 0, 255);
      else if (edgeX || edgeY)
        p = c.Border;
      else if (frame == 1)
        p = Mix(Mix(c.Top, c.Bottom, t), RGB(255, 255, 255), 0.35);
      else if (frame == 2)
        p = Mix(c.Bottom, c.Top, t);
      else
        p = Mix(c.Top, c.Bottom, t);
      SetPixelV(dc, x, y, p);
    }
  }
}

void DrawCheckMark(TBitmap* b) {
  b->SetPixelFormat(pf24bit);
  b->SetSize(16, 16);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(RECT{0, 0, 16, 16});
  const std::pair<int, int> tick[] = {{4, 8}, {5, 9}, {6, 10}, {7, 9}, {8, 8}, {9, 7}, {10, 6}, {11, 5}};
  for (auto [x, y] : tick)
    for (int dy = 0; dy < 3; ++dy) b->Canvas()->SetPixel(x, y + dy, clBlack);
}

}  // namespace

void LoadSkinFormBitmap(const std::string& name, TBitmap* bitmap) {
  for (const TButtonColours& c : kButtons)
    if (name == std::string(c.Style) + "_BUTTON") return DrawButtonStrip(c, bitmap);
  if (name == "MENU_CHECKED") return DrawCheckMark(bitmap);
  throw Exception("Resource " + name + " not found");
}
