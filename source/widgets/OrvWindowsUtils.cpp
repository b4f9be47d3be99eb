#include "OrvWindowsUtils.h"

#include <cctype>

#include "Forms.h"

const std::vector<std::string>& OrvAlignmentNames() {
  static const std::vector<std::string> names = {
      "alTopLeft",     "alTopCenter",    "alTopRight",    "alMiddleLeft", "alMiddleCenter",
      "alMiddleRight", "alBottomLeft",   "alBottomCenter", "alBottomRight", "alCenter",
      "alLeft",        "alRight",        "alCustom"};
  return names;
}

TOrvPlacement OrvPlacementOf(TOrvAlignment a) {
  switch (a) {
    case TOrvAlignment::alTopLeft: return {0, 0};
    case TOrvAlignment::alTopCenter: return {1, 0};
    case TOrvAlignment::alTopRight: return {2, 0};
    case TOrvAlignment::alMiddleLeft:
    case TOrvAlignment::alLeft: return {0, 1};
    case TOrvAlignment::alMiddleCenter:
    case TOrvAlignment::alCenter: return {1, 1};
    case TOrvAlignment::alMiddleRight:
    case TOrvAlignment::alRight: return {2, 1};
    case TOrvAlignment::alBottomLeft: return {0, 2};
    case TOrvAlignment::alBottomCenter: return {1, 2};
    case TOrvAlignment::alBottomRight: return {2, 2};
    case TOrvAlignment::alCustom: break;
  }
  return {-1, -1};
}

HWND GetTopLevelWindow(HWND handle) {
  if (!handle) return nullptr;
  HWND app = Application ? Application->Handle() : nullptr;
  HWND current = handle;
  for (;;) {
    HWND parent = GetParent(current);
    if (!parent || parent == app) return current;
    current = parent;
  }
}

TStateFonts::TStateFonts(TFont* font) : MouseHover(new TFont), MouseDown(new TFont), Disabled(new TFont) {
  MouseHover->Assign(font);
  MouseDown->Assign(font);
  Disabled->Assign(font);
}

TStateFonts::~TStateFonts() {
  delete MouseHover;
  delete MouseDown;
  delete Disabled;
}

TFont* TStateFonts::For(TFont* font, bool enabled, bool pressed, bool hovered) const {
  if (!EnableStatesFont) return font;
  if (!enabled) return Disabled;
  if (pressed) return MouseDown;
  if (hovered) return MouseHover;
  return font;
}

void TStateFontsOwner::SetEnableStatesFont(bool v) {
  FStateFonts.EnableStatesFont = v;
  StateFontsChanged();
}

void TStateFontsOwner::SetFontMouseHover(TFont* f) {
  FStateFonts.MouseHover->Assign(f);
  StateFontsChanged();
}

void TStateFontsOwner::SetFontMouseDown(TFont* f) {
  FStateFonts.MouseDown->Assign(f);
  StateFontsChanged();
}

void TStateFontsOwner::SetFontDisabled(TFont* f) {
  FStateFonts.Disabled->Assign(f);
  StateFontsChanged();
}

bool IsAccelerator(char ch, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {  // "&&" is a literal ampersand
      ++i;
      continue;
    }
    return std::toupper((unsigned char)caption[i + 1]) == std::toupper((unsigned char)ch);
  }
  return false;
}

BITMAPINFO Dib32Info(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}
