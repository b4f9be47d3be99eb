// Shared vocabulary and drawing routines of the framed-control family (TFc... edits, spin edits,
// buttons, radio buttons, progress bars): colour arithmetic on a 0..240 HSL scale, frame styles,
// side/bevel/border painters, arrows, the three progress-bar painters and the hot-track radio glyph.
// Every painter draws on the given canvas's DC and returns the rectangle left inside what it drew.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Controls.h"
#include "Graphics.h"
#include "IniFile.h"

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

// Set once when the unit initialises.
extern bool FullColorDisplay;
extern int XPColorScheme;

// ---- geometry ----
RECT RectCentredIn(const RECT& r, int width, int height);
inline int SmallerOf(int a, int b) { return a < b ? a : b; }
inline int LargerOf(int a, int b) { return a > b ? a : b; }
int FontLineHeight(TFont* font);
void RedrawWindowFrame(HWND window, const RECT& r);

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

// ---- progress-bar painters ----
void PaintSolidBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor backColor, int percent,
                   bool showPercent, bool transparent);
void PaintLedBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor backColor,
                 int numSegments, int percent, bool themeAware, bool transparent);
void PaintGradientBar(TCanvas* canvas, RECT r, TOrientation orientation, TColor barColor, TColor barColorStop,
                      TColor backColor, TColor backColorStop, TGradientDirection direction, int percent,
                      bool showPercent, bool transparent);
// The filled part of a solid or gradient bar (the whole of r from 100 on).
RECT BarFilledPart(const RECT& r, TOrientation orientation, int percent);
// Segment geometry of the LED style: count, size and margin for an interior length.
struct TLedLayout {
  int Count, Size, Margin;
};
TLedLayout LedLayout(int length, int numSegments);

// ---- hot-track radio glyph ----
enum TFcGlyphState { gsNormal = 0, gsPressed = 1, gsHot = 2, gsDisabled = 3 };
struct THotTrackRadioGlyph {
  bool Checked = false;
  TFcGlyphState State = gsNormal;
  bool Focused = false;
  TFcButtonHotTrackStyle HotTrackStyle = htsInterior;
  TColor FrameColor = clBtnShadow;
  TColor HighlightColor = clHighlight;
  TColor FillColor = clWindow;
  TColor FocusColor = clWindow;
  TColor DisabledColor = clBtnFace;
  TColor HotLight = clWhite;
  TColor HotDark = clBlack;
  TColor Color = clBtnFace;
  bool Transparent = false;
  TColor KeyColor = 0x008080;
  bool ReadOnly = false;
  bool ReadOnlyColorOnFocus = false;
  TColor ReadOnlyColor = clInfoBk;
};
void PaintHotTrackRadioGlyph(TCanvas* canvas, const RECT& r, const THotTrackRadioGlyph& g);

// ---- frame controller ----
class TFcFrameController;
class TFcRegIniFile;

// The framing-notification interface: a control that takes a controller's settings itself.
class IFcFrameNotify {
public:
  virtual void UpdateFrame(TFcFrameController* controller) = 0;

protected:
  ~IFcFrameNotify() = default;
};

// One place to set the frame look of many controls. Every change of a setting is pushed to the listed
// controls: a control with IFcFrameNotify runs its UpdateFrame, any other gets the setting written into its
// published property of the same name when its FrameControllerNotifications hold that setting.
class TFcFrameController : public TComponent {
  ORV_CLASS(TFcFrameController)
public:
  explicit TFcFrameController(TComponent* owner);
  ~TFcFrameController() override;
  void Assign(TPersistent* source) override;  // all settings of another controller, in one update
  void Loaded() override;
  void Notification(TComponent* component, TOperation op) override;

  // Pushes are held back while updating; ending the last update pushes everything.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void AddControl(TControl* control);  // and pushes everything to it
  void RemoveControl(TControl* control);
  const std::vector<TControl*>& Controls() const { return FControls; }
  // The setting as an ordinal, as its property reads it.
  int64_t Setting(TFcFrameControllerProperty p) const;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TColor GetDisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor v) { Set(FDisabledColor, v, fcpDisabledColor); }
  TColor GetReadOnlyColor() const { return FReadOnlyColor; }
  void SetReadOnlyColor(TColor v) { Set(FReadOnlyColor, v, fcpReadOnlyColor); }
  bool GetReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
  void SetReadOnlyColorOnFocus(bool v) { Set(FReadOnlyColorOnFocus, v, fcpReadOnlyColorOnFocus); }
  TColor GetFlatButtonColor() const { return FFlatButtonColor; }
  void SetFlatButtonColor(TColor v) { Set(FFlatButtonColor, v, fcpFlatButtonColor); }
  bool GetFlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool v) { Set(FFlatButtons, v, fcpFlatButtons); }
  TColor GetFocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v) { Set(FFocusColor, v, fcpFocusColor); }
  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v) { Set(FFrameColor, v, fcpFrameColor); }
  TColor GetFrameHotColor() const { return FFrameHotColor; }
  void SetFrameHotColor(TColor v) { Set(FFrameHotColor, v, fcpFrameHotColor); }
  TFrameStyle GetFrameHotStyle() const { return FFrameHotStyle; }
  void SetFrameHotStyle(TFrameStyle v) { Set(FFrameHotStyle, v, fcpFrameHotStyle); }
  bool GetFrameHotTrack() const { return FFrameHotTrack; }
  void SetFrameHotTrack(bool v);
  TSides GetFrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides v) { Set(FFrameSides, v & AllSides, fcpFrameSides); }
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v, fcpFrameStyle); }
  bool GetFrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool v) { Set(FFrameVisible, v, fcpFrameVisible); }
  TFramingPreference GetFramingPreference() const { return FFramingPreference; }
  void SetFramingPreference(TFramingPreference v) { Set(FFramingPreference, v, fcpFramingPreference); }
  TFcRegIniFile* GetRegIniFile() const { return FRegIniFile; }
  void SetRegIniFile(TFcRegIniFile* v);

private:
  template <class T>
  void Set(T& field, T v, TFcFrameControllerProperty p) {
    if (field == v) return;
    field = v;
    Push(p);
  }
  void Push(TFcFrameControllerProperty p);
  void PushTo(TControl* control, TFcFrameControllerProperty p);
  void PushAll();
  void PushAllTo(TControl* control);

  TColor FColor = clWindow;
  bool FParentColor = false;
  TColor FDisabledColor = clBtnFace, FReadOnlyColor = clInfoBk;
  bool FReadOnlyColorOnFocus = false;
  TColor FFlatButtonColor = clBtnFace;
  bool FFlatButtons = true;
  TColor FFocusColor = clWindow, FFrameColor = clBtnShadow, FFrameHotColor = clBtnShadow;
  TFrameStyle FFrameHotStyle = fsFlatBold;
  bool FFrameHotTrack = false;
  TSides FFrameSides = AllSides;
  TFrameStyle FFrameStyle = fsFlat;
  bool FFrameVisible = false;
  TFramingPreference FFramingPreference = fpXPThemes;
  TFcRegIniFile* FRegIniFile = nullptr;
  int FUpdateCount = 0;
  std::vector<TControl*> FControls;
};

// A control's link to its frame controller: joins and leaves the controller's list and asks for its removal
// notice, so that the control never keeps a controller that has gone. The control forwards its
// Notification here and frees the link before it goes.
class TFcFrameControllerLink {
public:
  explicit TFcFrameControllerLink(TControl* control) : FControl(control) {}
  ~TFcFrameControllerLink() { Set(nullptr); }
  TFcFrameControllerLink(const TFcFrameControllerLink&) = delete;
  TFcFrameControllerLink& operator=(const TFcFrameControllerLink&) = delete;
  TFcFrameController* Get() const { return FController; }
  void Set(TFcFrameController* controller);
  void Removed(TComponent* component) {
    if (component == FController) FController = nullptr;
  }
  // Which settings the controller may push (bit n for TFcFrameControllerProperty n).
  TFcFrameControllerNotifications Notifications = AllFrameNotifications;
  bool Takes(TFcFrameControllerProperty p) const { return (Notifications >> p) & 1u; }

private:
  TControl* FControl;
  TFcFrameController* FController = nullptr;
};

// The properties every framed control publishes for its controller; C has FrameLink().
template <class C>
TPropInfo FrameControllerProp() {
  TPropInfo p;
  p.Name = "FrameController";
  p.Kind = pkComponent;
  p.ObjectClass = &TFcFrameController::StaticClassInfo();
  p.GetObj = [](TObject* o) -> TObject* { return static_cast<C*>(o)->FrameLink().Get(); };
  p.SetObj = [](TObject* o, TObject* v) { static_cast<C*>(o)->FrameLink().Set(static_cast<TFcFrameController*>(v)); };
  return p;
}
template <class C>
TPropInfo FrameControllerNotificationsProp() {
  TPropInfo p;
  p.Name = "FrameControllerNotifications";
  p.Kind = pkSet;
  p.EnumNames = FrameControllerPropertyNames();
  p.GetOrd = [](TObject* o) -> int64_t { return static_cast<C*>(o)->FrameLink().Notifications; };
  p.SetOrd = [](TObject* o, int64_t v) {
    static_cast<C*>(o)->FrameLink().Notifications = TFcFrameControllerNotifications(v);
  };
  return p;
}

// Older form data of the controller and the edits: "FrameFlat" turned on hot tracking with a status frame
// and a lowered hot frame.
template <class C>
TPropInfo FrameFlatProp() {
  TPropInfo p = BoolProp<C>("FrameFlat", &C::GetFrameHotTrack, nullptr);
  p.SetOrd = [](TObject* o, int64_t v) {
    auto* c = static_cast<C*>(o);
    c->SetFrameHotTrack(v != 0);
    if (v) {
      c->SetFrameStyle(fsStatus);
      c->SetFrameHotStyle(fsLowered);
    }
  };
  return p;
}

// Readers of obsolete stored properties: the value is read and dropped.
struct TFcOldPropReader {
  static TPropInfo Boolean(const char* name);
  static TPropInfo Identifier(const char* name, std::vector<std::string> names);
};
// "About": a design-time placeholder without run-time effect.
TPropInfo FcAboutProp();

// ---- storage location settings ----
enum TFcPathType { ptIniFile, ptRegistry };
enum TFcRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig,
  hkeyDynData
};
enum TFcRegAccessItem {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
  keyExecute, keyAllAccess
};
using TFcRegAccess = unsigned;  // bit (1 << TFcRegAccessItem)
enum TFcSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };

// Where settings are kept: an INI file (Path, below a special folder when one is chosen) or a registry key
// (Path under RegKey, opened with RegAccess). The INI object or the key is made on first use and made
// again after any change.
class TFcRegIniFile : public TComponent {
  ORV_CLASS(TFcRegIniFile)
public:
  explicit TFcRegIniFile(TComponent* owner) : TComponent(owner) {}
  ~TFcRegIniFile() override;

  std::string GetPath() const { return FPath; }
  void SetPath(const std::string& v) { Change(FPath, v); }
  TFcPathType GetPathType() const { return FPathType; }
  void SetPathType(TFcPathType v) { Change(FPathType, v); }
  TFcRegKey GetRegKey() const { return FRegKey; }
  void SetRegKey(TFcRegKey v) { Change(FRegKey, v); }
  TFcRegAccess GetRegAccess() const { return FRegAccess; }
  void SetRegAccess(TFcRegAccess v) { Change(FRegAccess, v); }
  TFcSpecialFolder GetSpecialFolder() const { return FSpecialFolder; }
  void SetSpecialFolder(TFcSpecialFolder v) { Change(FSpecialFolder, v); }

  // The INI file's full name (the special folder, a backslash and Path).
  std::string IniFileName() const;
  // The INI object (null unless PathType is ptIniFile).
  TIniFile* IniFile();
  // The opened key (null unless PathType is ptRegistry or when it cannot be opened).
  HKEY RegistryKey();
  // The access rights RegAccess stands for.
  REGSAM AccessRights() const;

private:
  template <class T>
  void Change(T& field, const T& v) {
    if (field == v) return;
    field = v;
    Release();  // made again on next use
  }
  void Release();

  std::string FPath;
  TFcPathType FPathType = ptIniFile;
  TFcRegKey FRegKey = hkeyCurrentUser;
  TFcRegAccess FRegAccess = 1u << keyAllAccess;
  TFcSpecialFolder FSpecialFolder = sfNone;
  std::unique_ptr<TIniFile> FIniFile;
  HKEY FKey = nullptr;
};
