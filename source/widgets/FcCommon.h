// Shared vocabulary and drawing routines of the framed-control family (TFc... edits, spin edits,
// buttons, radio buttons, progress bars): colour arithmetic on a 0..240 HSL scale, frame styles,
// side/bevel/border painters and arrows. Every painter draws on the given canvas's DC and returns the
// rectangle left inside what it drew. The family's other parts have units of their own: gradients and
// bitmaps (FcGrafx), the progress-bar painters (FcBarPainters), the hot-track radio glyph
// (FcRadioGlyph), the frame controller (FcFrameController) and its storage settings (FcRegIniFile).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Controls.h"
#include "Graphics.h"

// ---- vocabulary ----
enum TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup,
  fsFlatBold, fsFlatRounded
};
using TFrameStyle = TFrameStyleEx;  // fsNone..fsFlatBold

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = unsigned;  // bit (1 << TSide): left 1, top 2, right 4, bottom 8
constexpr TSides AllSides = 15;
constexpr bool HasSide(TSides s, TSide side) { return (s >> side) & 1u; }

enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TGradientDirection {
  gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox, gdVerticalEnd,
  gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};
enum TBarStyle { bsTraditional, bsLED, bsGradient };
enum TOrientation { orHorizontal, orVertical };
enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TFcHotTrackColorType { htctComplement, htctActual };
enum TFcButtonHotTrackStyle { htsInterior, htsFrame };
enum TFcArrowDirection { adUp, adDown, adLeft, adRight };

enum TFcFrameControllerProperty {
  fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
  fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
  fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference, fcpAll
};
using TFcFrameControllerNotifications = uint16_t;  // bit n for member n (fcpColor..fcpFramingPreference)
constexpr TFcFrameControllerNotifications AllFrameNotifications = 0xFFFF;

// Identifiers of the enumerations, in value order, for the property tables.
const std::vector<std::string>& FrameStyleNames();  // fsNone..fsFlatRounded
const std::vector<std::string>& SideNames();
const std::vector<std::string>& FramingPreferenceNames();
const std::vector<std::string>& GradientDirectionNames();
const std::vector<std::string>& BarStyleNames();
const std::vector<std::string>& OrientationNames();
const std::vector<std::string>& AlignmentVerticalNames();
const std::vector<std::string>& TextStyleNames();
const std::vector<std::string>& FrameControllerPropertyNames();  // fcpColor..fcpFramingPreference

// Colour tables by frame style (fsNone..fsFlatBold); clNone draws nothing on that side.
extern const TColor UpperLeftFrameColors[11];
extern const TColor LowerRightFrameColors[11];

// ---- visual styles ----
// True when the platform draws themed controls for this process: themes active, the application themed
// and comctl32 version 6 loaded (never without a manifest). Tests force either path with the override.
bool FcThemesEnabled();
void SetFcThemesOverride(int mode);  // -1 ask the system, 0 off, 1 on
// Draws a part of the platform's visual style of a window class; false when the class has no theme data.
bool DrawThemePart(HDC dc, const wchar_t* cls, int part, int state, const RECT& r);

// ---- colour arithmetic ----
void RgbToHsl240(TColor color, uint8_t& h, uint8_t& s, uint8_t& l);
uint8_t HueOf(TColor color);
TColor Hsl240ToRgb(int h, int s, int l);
TColor DarkenColor(TColor color, uint8_t amount);
TColor LightenColor(TColor color, uint8_t amount);
TColor ShiftLuminance(TColor color, int amount);
TColor AlphaMixColors(TColor color1, TColor color2, uint8_t alpha);
bool ColorsSimilar(TColor color1, TColor color2);
TColor OppositeHueColor(TColor color, uint8_t luminance);
bool DisplayHasFullColor();
int ReadXPColorScheme();  // 0 other, 1 "HOMESTEAD", 2 "METALLIC"

// The two probes, each asked once, when first wanted: asking the display and the registry at start-up
// would hold up the first window. Nothing draws by the colour scheme; it is there for who wants it.
bool FullColorDisplay();
int XPColorScheme();

// ---- geometry ----
RECT RectCentredIn(const RECT& r, int width, int height);
inline int SmallerOf(int a, int b) { return a < b ? a : b; }
inline int LargerOf(int a, int b) { return a > b ? a : b; }
int FontLineHeight(TFont* font);
void RedrawWindowFrame(HWND window, const RECT& r);
// The rectangle less `by` pixels on each of the given sides.
RECT ShrinkSides(RECT r, TSides sides, int by);
// Fills left..right by top..bottom (right and bottom excluded); nothing for clNone or an empty rectangle.
void FillColorRect(HDC dc, int left, int top, int right, int bottom, TColor color);

// ---- frames ----
RECT PaintSides(TCanvas* canvas, RECT bounds, TColor ulColor, TColor lrColor, TSides sides);
RECT PaintBevel(TCanvas* canvas, RECT bounds, TColor ulColor, TColor lrColor, int count, TSides sides);
RECT PaintBorderSides(TCanvas* canvas, RECT bounds, TFrameStyleEx style, TSides sides);
RECT PaintBorder(TCanvas* canvas, RECT bounds, TFrameStyleEx style);
RECT PaintColorBorderSides(TCanvas* canvas, RECT bounds, TColor faceColor, TFrameStyleEx style, TSides sides);
RECT PaintColorBorder(TCanvas* canvas, RECT bounds, TColor faceColor, TFrameStyleEx style);
RECT PaintBox(TCanvas* canvas, RECT bounds, TColor lineColor);
RECT PaintRoundedFlatBorder(TCanvas* canvas, RECT bounds, TColor color, TSides sides);
RECT PaintFocusBorder(TCanvas* canvas, RECT bounds);
void PaintEditFrame(TCanvas* canvas, int width, int height, TFrameStyleEx style, TColor color, TColor frameColor,
                    TSides sides, bool skipBackgroundRing);

struct TInnerOuterBorder {
  TFrameStyleEx BorderOuter = fsLowered;
  TFrameStyleEx BorderInner = fsNone;
  int BorderWidth = 0;
  TSides Sides = AllSides;
  int BevelWidth = 1;
  TColor BorderColor = clBtnFace;
  TColor HighlightColor = clBtnHighlight;
  TColor ShadowColor = clBtnShadow;
  TColor FlatColor = clBtnShadow;
  int FlatColorAdjustment = 30;
  TColor Color = clWhite;
  TColor ParentColor = clBtnFace;
  bool Transparent = false;
  bool RoundedInnerFlat = false;
};
RECT PaintInnerOuterBorders(TCanvas* canvas, RECT bounds, const TInnerOuterBorder& b);

// ---- arrows ----
void PaintSpinArrow(TCanvas* canvas, const RECT& r, bool flat, TFcArrowDirection direction, bool pressed, bool enabled);
void PaintDropDownArrow(TCanvas* canvas, const RECT& r, bool flat, bool pressed, bool enabled);

// Readers of obsolete stored properties: the value is read and dropped.
struct TFcOldPropReader {
  static TPropInfo Boolean(const char* name);
  static TPropInfo Identifier(const char* name, std::vector<std::string> names);
};
// "About": a design-time placeholder without run-time effect.
TPropInfo FcAboutProp();
