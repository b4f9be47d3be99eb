// Shared pieces of the picture buttons and labels: the placement type and two window routines; and the
// header of the 32-bit DIB sections the widgets draw through.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Controls.h"  // DrawParentBackground(Canvas, Control): the class library's routine serves here too

// Where a button places its picture or caption. alCenter, alLeft and alRight behave as
// alMiddleCenter, alMiddleLeft and alMiddleRight; alCustom uses explicit coordinates.
// Scoped because the class library's TAlign already has alLeft, alRight and alCustom.
enum class TOrvAlignment : uint8_t {
  alTopLeft,
  alTopCenter,
  alTopRight,
  alMiddleLeft,
  alMiddleCenter,
  alMiddleRight,
  alBottomLeft,
  alBottomCenter,
  alBottomRight,
  alCenter,
  alLeft,
  alRight,
  alCustom
};

// The identifiers as layouts write them, in the enumeration's order.
const std::vector<std::string>& OrvAlignmentNames();

// Horizontal and vertical thirds of a placement: 0 start, 1 middle, 2 end (alCustom: -1, -1).
struct TOrvPlacement {
  int Horizontal;
  int Vertical;
};
TOrvPlacement OrvPlacementOf(TOrvAlignment a);

// The top-level window that holds `handle`: follows GetParent upward and stops below the
// application's hidden window. Null for null.
HWND GetTopLevelWindow(HWND handle);

// The caption fonts of a button's states, used while EnableStatesFont is on. Each starts as a copy of
// the control's font.
class TStateFonts {
public:
  explicit TStateFonts(TFont* font);
  ~TStateFonts();
  TStateFonts(const TStateFonts&) = delete;
  TStateFonts& operator=(const TStateFonts&) = delete;

  // The caption font of a state, by precedence disabled, pressed, hovered; `font` for the normal state
  // and whenever EnableStatesFont is off.
  TFont* For(TFont* font, bool enabled, bool pressed, bool hovered) const;

  bool EnableStatesFont = false;
  TFont* const MouseHover;
  TFont* const MouseDown;
  TFont* const Disabled;
};

// The published state-font properties of a control (EnableStatesFont, FontMouseHover, FontMouseDown,
// FontDisabled), kept in its TStateFonts; every change has the control repaint (StateFontsChanged).
class TStateFontsOwner {
public:
  bool GetEnableStatesFont() const { return FStateFonts.EnableStatesFont; }
  void SetEnableStatesFont(bool v);
  TFont* GetFontMouseHover() const { return FStateFonts.MouseHover; }
  void SetFontMouseHover(TFont* f);
  TFont* GetFontMouseDown() const { return FStateFonts.MouseDown; }
  void SetFontMouseDown(TFont* f);
  TFont* GetFontDisabled() const { return FStateFonts.Disabled; }
  void SetFontDisabled(TFont* f);

protected:
  explicit TStateFontsOwner(TFont* font) : FStateFonts(font) {}
  ~TStateFontsOwner() = default;
  virtual void StateFontsChanged() = 0;
  TStateFonts FStateFonts;
};

// True when `ch` is the accelerator of `caption` (the character after a single "&"), letters compared
// without case.
bool IsAccelerator(char ch, const std::string& caption);

// The header of a 32-bit DIB section (BI_RGB); a negative height gives top-down rows.
BITMAPINFO Dib32Info(int width, int height);
