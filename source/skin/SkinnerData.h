// The skin's data: the element records that every skinner draws from (an image with 9-grid margins, a
// frame count, transparency and tiling flags and state colours), the skin's colours, and TSkinData,
// the component through which the program uses the skin engine: it carries the skin file (the binary
// layout property SkinStream), loads it into those records and, once its layout is loaded, starts the
// skin manager that skins every window of the process.
//
// Reading a skin never fails: a missing section leaves its optional element null, a missing key takes
// its default, and an image the pack does not hold (or not named "*.bmp") leaves an empty bitmap.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Component.h"
#include "Controls.h"
#include "Graphics.h"
#include "MemoryStream.h"
#include "SkinImageUtils.h"
#include "SkinMessages.h"

class TSkinReader;
class TQuickIni;

// ---- element records ----

class TDataSkinObject {
public:
  explicit TDataSkinObject(const std::string& name);
  virtual ~TDataSkinObject();
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  TSkinMargins Margins;  // LeftWidth, TopHeight, RightWidth, BottomHeight
  TBitmap* Bitmap;       // owned
  int Trans = 0;         // 1: magenta is transparent
  int Tile = 0;          // 1: the centre is tiled, 0: stretched
  std::string Name;      // the section it came from
  int FrameCount = 0;
  int Style = 0;
  int NormalColour = -1, MouseOverColour = -1, PressedColour = -1;  // indexes into TSkinData::ColourTable
  TColor NormalColour2 = clBtnText, MouseOverColour2 = clBtnText, PressedColour2 = clBtnText;
};

class TDataSkinBorder : public TDataSkinObject {
public:
  explicit TDataSkinBorder(const std::string& name);
  ~TDataSkinBorder() override;
  TBitmap* Bitmap2;  // owned: a second image
};

class TDataSkinButton : public TDataSkinObject {
public:
  explicit TDataSkinButton(const std::string& name);
  ~TDataSkinButton() override;
  TBitmap* CheckBitmap;  // owned
  TBitmap* RadioBitmap;  // owned
  int RadioFrameCount = 0, CheckFrameCount = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

class TDataSkinTitle : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int TextAlignment = 0, TextBackground = 0, FontHeight = 14, TextBackLeft = 0, TextBackRight = 0;
  TColor ActiveTextColour = clNone, InactiveTextColour = clNone;  // clNone (0x1FFFFFFF): not set
};

class TDataSkinSysButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int Action = 0, Align = 0, XCoord = 0, YCoord = 0, CombineOp = -1, Visibility = 0, Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// Colour text: red, green and blue as decimal numbers. Every run of digits is a number, anything else
// separates; the first and second number count only when a separator follows them, so "255" is black
// and "255 128" red alone. Each number is taken modulo 256; numbers after the third are ignored.
TColor ParseColour(const std::string& text);

// ---- the skin data component ----

// What the skinners take over (a set: bit i stands for member i).
enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = unsigned;
enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};
using TSkinOptions = unsigned;
constexpr unsigned Bit(int member) { return 1u << member; }
// sfMainform skins every qualifying window of the process, sfOnlyThisForm only its owner form,
// sfDialog message boxes and system dialogs; sfDLL installs no hook.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

class TSkinData;
using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                          const std::string& ControlClass, TComponent*& SkinnedControl)>;
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const std::string& aName)>;

// The system's caption font into the font (left as it is when the system does not tell).
void LoadSystemCaptionFont(TFont* font);
// The fixed text of the Version property.
extern const char* const SkinEngineVersion;

// The skin manager sits above the data component: a component tells it of its life and of the
// changes it must act on through this, which the manager's unit sets at start-up (while it is null no
// window is skinned).
class TSkinDataObserver {
public:
  // The layout was read (Loaded).
  virtual void SkinDataLoaded(TSkinData* data) = 0;
  // Active was set to the value at run time.
  virtual void SkinDataActivated(TSkinData* data, bool active) = 0;
  // A new skin was loaded at run time (ReapplySkin).
  virtual void SkinDataReapplied(TSkinData* data) = 0;
  // The component is being freed.
  virtual void SkinDataRemoved(TSkinData* data) = 0;

protected:
  ~TSkinDataObserver() = default;
};
extern TSkinDataObserver* SkinDataObserver;

class TSkinData : public TComponent {
  ORV_CLASS(TSkinData)
public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // ---- published ----
  bool GetActive() const { return FActive; }
  void SetActive(bool value);
  int GetDisableTag() const { return FDisableTag; }
  void SetDisableTag(int v) { FDisableTag = v; }
  TSkinControlTypes GetSkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinControlTypes v) { FSkinControls = v; }
  TSkinOptions GetOptions() const { return FOptions; }
  void SetOptions(TSkinOptions v) { FOptions = v; }
  std::vector<std::string> GetSkin3rd() const { return FSkin3rd; }
  void SetSkin3rd(const std::vector<std::string>& rows) { FSkin3rd = rows; }
  std::string GetSkinFile() const { return FSkinFile; }
  void SetSkinFile(const std::string& value);
  std::string GetSkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  TSkinFormType GetSkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType v) { FSkinFormtype = v; }
  std::string GetVersion() const { return SkinEngineVersion; }
  void SetVersion(const std::string&) {}
  bool GetMenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool v) { FMenuUpdate = v; }
  bool GetMenuMerge() const { return FMenuMerge; }
  void SetMenuMerge(bool v) { FMenuMerge = v; }
  bool Has(TSkinControlType kind) const { return FSkinControls & Bit(kind); }
  bool Has(TSkinOption option) const { return FOptions & Bit(option); }

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm, OnAfterSkinForm;

  // The binary property SkinStream: int32 size N, then N bytes of skin file (nothing after N <= 0).
  // Reading loads the skin; a payload that is cut short or does not decode leaves the component
  // without a skin (NoSkin set), so the program goes on unskinned.
  void ReadSkinStream(TMemoryStream& stream);
  void WriteSkinStream(TMemoryStream& stream);
  // From a layout: "SkinStream = skn 'skins/Orvane.skn'" hands over the skin file itself.
  void SetSkinStreamData(const TLayoutData& data);

  // After the layout was read: the manager, its hook, the load-time adjustments, the caption font
  // and the application's icon; then skinning starts with the first window activation.
  void Loaded() override;
  // A new skin was loaded at run time: every skinned window takes it.
  void ReapplySkin();
  // The last word on whether a window of that class is skinned (OnFormSkin when assigned).
  void AskFormSkin(HWND window, const std::string& className, bool& doSkin);
  void DoSkinChanged();

  // The skin file (int32 unpacked length plus compressed pack).
  TMemoryStream SkinData;
  // True until a skin has been applied.
  bool NoSkin = true;
  // The owner-drawn menus' 16 x 16 glyphs (the program's bitmap "TARNWICKMENU", white transparent).
  TImageList* MenuGlyphs;
  // The application's small icon on magenta (transparent), for windows without an icon of their own.
  TBitmap* AppIcon;
  // The system's caption font (null until Loaded).
  TFont* CaptionFont = nullptr;
  // Cleared by a form skinner while the class library rebuilds a window's menu.
  bool PaintFrames = true;

  // Reads the pack in SkinData and applies its description. False when the pack is not readable (its
  // magic unknown or its directory broken); decoder errors (ElzhException) pass through.
  bool LoadSkin();
  // LoadSkin for skins from outside: every failure leaves NoSkin set and is not raised.
  bool TryLoadSkin();
  // Reads the whole description; needs Ini and Reader (LoadSkin provides them).
  void ApplySkin();

  // Exist only while a skin is being loaded.
  TSkinReader* Reader = nullptr;
  TQuickIni* Ini = nullptr;
  TMemoryStream* EntryStream = nullptr;

  // Always present.
  TDataSkinButton* Buttons;
  TDataSkinBorder *BorderLeft, *BorderRight, *BorderTop, *BorderBottom;
  TDataSkinTitle* Title;
  std::vector<TDataSkinSysButton*> SysButtons;  // skin buttons, then the three MDI buttons
  // Optional (null when the skin lacks them).
  TDataSkinObject* MenuBar = nullptr;
  TDataSkinBorder* Progress = nullptr;
  TDataSkinObject* ProgressChunk = nullptr;
  TDataSkinObject* GroupBoxEdge = nullptr;
  TDataSkinBoxLabel* GroupBox = nullptr;
  TDataSkinBorder* Tabs = nullptr;
  TDataSkinObject* StatusBarEdges = nullptr;
  TDataSkinObject* TabPane = nullptr;
  TDataSkinObject* ToolBars = nullptr;
  TDataSkinBorder* ComboButton = nullptr;
  TDataSkinObject* SunkEdge = nullptr;
  TDataSkinObject* ExtraImages = nullptr;
  TDataSkinObject* Headerbar = nullptr;
  TDataSkinObject* MenuItem = nullptr;
  TDataSkinObject* MenuBackground = nullptr;
  TDataSkinObject* Scrollbar = nullptr;
  TDataSkinObject *HorzScroll = nullptr, *VertScroll = nullptr;
  TDataSkinObject *HorzScrollThumb = nullptr, *VertScrollThumb = nullptr;
  TDataSkinObject *TrackThumbHorz = nullptr, *TrackThumbVert = nullptr, *TrackThumbLeft = nullptr,
                  *TrackThumbRight = nullptr, *TrackThumbUp = nullptr, *TrackThumbDown = nullptr;
  TDataSkinBorder *UpDownHorz = nullptr, *UpDownVert = nullptr;
  // Present after the first skin: from the skin or the program's resources "TRACK" and "TRACKVERT".
  TDataSkinObject *Track = nullptr, *TrackVert = nullptr;
  // Derived after the first skin.
  TDataSkinObject* ComboArrow = nullptr;
  TDataSkinObject* ToolbarGradient = nullptr;

  // Colours of [Colours].
  TColor WindowText = clWindowText, ButtonFace = clBtnFace, ScrollbarColour = clScrollBar,
         HilightText = clHighlightText, Hilight = clHighlight, Menubar = clBtnFace, Menu = clMenu,
         MenuText = clMenuText, ButtonText = clBtnText, ButtonHilight = clBtnHighlight,
         Buttonlight = clBtnHighlight, ButtonShadow = clBtnShadow, ButtonDkShadow = cl3DDkShadow,
         MenuBarText = clMenuText, TitleTextActive = clCaptionText, TitleTextNoActive = clInactiveCaptionText;
  std::vector<TColor> ColourTable;  // one per [Colour...] section, in text order
  TColor CustomColours[10] = {clWhite, clWhite, clWhite, clWhite, clWhite,
                              clWhite, clWhite, clWhite, clWhite, clWhite};
  TColor FrameColour = clBtnFace;
  HBRUSH ButtonFaceBrush = nullptr;

  // Parts of ApplySkin.
  void LoadEntryBitmap(TBitmap* bitmap, const std::string& value);
  void ReadElement(TDataSkinObject*& slot, const std::string& section);
  void ReadBorderElement(TDataSkinBorder*& slot, const std::string& section, const std::string& secondKey);
  void ReadProgressElement();
  void ReadBoxLabel();
  void ReadButtons();
  void ReadMenuBar();
  void ReadTitle();
  void ReadBorders();
  void ReadColours();
  void ReadTitleButtons();
  void ReadMdiButtons();
  void LoadDefaultElement(TDataSkinObject*& slot, const std::string& resourceName);
  void SetFixedFrameCounts();
  void BuildComboImage();
  void BuildComboArrow();
  void BuildToolbarGradient();
  TColor GetFrameColour();
  void ReadRGBKeys(const std::string& section, const std::string& prefix, TColor& colour);
  TColor ColourOrDefault(const std::string& text, TColor def);

private:
  void CreateCaptionFont();
  void BuildAppIcon();
  bool FActive = false;
  int FDisableTag = 99;
  TSkinControlTypes FSkinControls;
  TSkinOptions FOptions = Bit(xoPreview) | Bit(xoToolbarBK);
  std::vector<std::string> FSkin3rd;
  std::string FSkinFile;
  TSkinFormType FSkinFormtype = sfMainform;
  bool FMenuUpdate = true;
  bool FMenuMerge = false;

  void ReadCommonFields(TDataSkinObject* e, const std::string& section, bool readFrame);
  void FreeSysButtons();
  void FreeOptionalElements();
};
