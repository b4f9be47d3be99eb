#include "SkinnerData.h"

#include <algorithm>

#include "Forms.h"
#include "SkinPackReader.h"
#include "SkinnerIni.h"
#include "Strings.h"

// ---- element records ----

TDataSkinObject::TDataSkinObject(const std::string& name) : Bitmap(new TBitmap), Name(name) {}
TDataSkinObject::~TDataSkinObject() { delete Bitmap; }

TDataSkinBorder::TDataSkinBorder(const std::string& name) : TDataSkinObject(name), Bitmap2(new TBitmap) {}
TDataSkinBorder::~TDataSkinBorder() { delete Bitmap2; }

TDataSkinButton::TDataSkinButton(const std::string& name)
    : TDataSkinObject(name), CheckBitmap(new TBitmap), RadioBitmap(new TBitmap) {}
TDataSkinButton::~TDataSkinButton() {
  delete CheckBitmap;
  delete RadioBitmap;
}

TColor ParseColour(const std::string& text) {
  const std::string s = Trim(text);
  int values[3] = {0, 0, 0};
  int count = 0;
  size_t i = 0;
  while (i < s.size() && count < 3) {
    if (s[i] < '0' || s[i] > '9') {
      ++i;
      continue;
    }
    int v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') v = (v * 10 + (s[i++] - '0')) % 256;
    // The first two numbers need a separator after them; the third may end the text.
    if (i < s.size() || count == 2) values[count] = v;
    ++count;
  }
  return TColor(RGB(values[0], values[1], values[2]));
}

// ---- the skin data component ----

const char* const SkinEngineVersion = "4.93.11.13";

namespace {

std::vector<std::string> SkinControlNames() {
  return {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
          "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton",
          "xcSpin", "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"};
}

std::vector<std::string> SkinOptionNames() {
  return {"xoMDIScrollbar", "xoMenuMerge",     "xoTransparent", "xoPreview",
          "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK",  "xoToolbarButton",
          "xoMDIChildBorder", "xoMenuBG",       "xoFormScrollbar"};
}

// Other vendors' control classes and the skinner kind that takes them (rows "class=kind").
const char* const DefaultSkin3rd[] = {
    "TCategoryButtons=scrollbar", "TPngSpeedbutton=pngspeedbutton", "TPngBitBtn=pngbitbtn",
    "TVirtualStringTree=scrollbar", "TVirtualDrawTree=scrollbar", "TTBXDockablePanel=Panel",
    "TAdvPanelGroup=scrollbar", "TComboboxex=combobox", "TRxSpeedButton=speedbutton", "THTMLViewer=scrollbar",
    "TDBCtrlGrid=scrollbar", "TfrSpeedButton=speedbutton", "TfrTBButton=speedbutton", "TControlBar=Panel",
    "TTBDock=Panel", "TTBToolbar=Panel", "TImageEnMView=scrollbar", "TImageEnView=scrollbar",
    "TAdvMemo=scrollbar", "TDBAdvMemo=scrollbar", "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox",
    "TcxDBDateEdit=combobox", "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox", "TcxDBBlobEdit=combobox",
    "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox", "TcxDBShellComboBox=combobox",
    "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox", "TFcGroup=panel", "TFcButton=button",
    "TFcBitbtn=bitbtn", "TFcMenuButton=menubtn", "TFcCheckGroup=CheckGroup", "TFcRadioGroup=Radiogroup",
    "TFcButtonEdit=Edit", "TFcDBRadioGroup=Radiogroup", "TFcDBRadioButton=Radiobutton",
    "TFcDateTimeEdit=combobox", "TFcColorEdit=combobox", "TFcDateTimePicker=combobox",
    "TFcDBDateTimeEdit=combobox", "TFcDbColorEdit=combobox", "TFcDBDateTimePicker=combobox",
    "TLMDButton=bitbtn", "TLMDGroupBox=Groupbox", "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox",
    "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox", "TLMDRadiobutton=Radiobutton", "TLMDCalculator=panel",
    "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel", "TLMDButtonPanel=Panel",
    "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel", "TLMDTechnicalLine=Panel", "TLMDLMDClock=Panel",
    "TLMDTrackbar=panel", "TLMDListCombobox=combobox", "TLMDCheckListCombobox=combobox",
    "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox",
    "TLMDFontCombobox=combobox", "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox",
    "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox", "TLMDCalculatorComboBox=combobox",
    "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox", "TLMDTreeComboBox=combobox",
    "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=CheckGroup", "TLMDDBRADIOGROUP=radiogroup",
    "TLMDDBCheckGroup=CheckGroup", "TLMDCalculatorEdit=edit", "TLMDEDIT=Edit", "TLMDMASKEDIT=Edit",
    "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit", "TLMDCALENDAREDIT=Edit", "TLMDFILEOPENEDIT=Edit",
    "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit", "TLMDDBEDIT=Edit", "TLMDDBMASKEDIT=Edit",
    "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit", "TLMDDBEDITDBLookup=Edit", "TLMDEDITDBLookup=Edit",
    "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox",
    "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox", "TWWTempKeyCombo=combobox",
    "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup", "TWWDBEDIT=Edit", "TcxButton=bitbtn",
    "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup", "TcxGroupbox=groupbox", "TOVCPICTUREFIELD=Edit",
    "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit", "TOVCDBSLIDEREDIT=Edit", "TOVCSIMPLEFIELD=Edit",
    "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit", "TOVCDBNUMERICFIELD=Edit",
};

}  // namespace

ORV_DEFINE_CLASS(TSkinData, TComponent, FactoryOf<TSkinData>(),
                 {BoolProp<TSkinData>("Active", &TSkinData::GetActive, &TSkinData::SetActive),
                  IntProp<TSkinData>("DisableTag", &TSkinData::GetDisableTag, &TSkinData::SetDisableTag),
                  SetProp<TSkinData>("SkinControls", SkinControlNames(), &TSkinData::GetSkinControls,
                                     &TSkinData::SetSkinControls),
                  SetProp<TSkinData>("Options", SkinOptionNames(), &TSkinData::GetOptions, &TSkinData::SetOptions),
                  StringsProp<TSkinData>("Skin3rd", &TSkinData::GetSkin3rd, &TSkinData::SetSkin3rd),
                  StrProp<TSkinData>("SkinFile", &TSkinData::GetSkinFile, &TSkinData::SetSkinFile),
                  StrProp<TSkinData>("SkinStore", &TSkinData::GetSkinStore, &TSkinData::SetSkinStore),
                  EnumProp<TSkinData, TSkinFormType>("SkinFormtype",
                                                     {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"},
                                                     &TSkinData::GetSkinFormtype, &TSkinData::SetSkinFormtype),
                  StrProp<TSkinData>("Version", &TSkinData::GetVersion, &TSkinData::SetVersion),
                  BoolProp<TSkinData>("MenuUpdate", &TSkinData::GetMenuUpdate, &TSkinData::SetMenuUpdate),
                  BoolProp<TSkinData>("MenuMerge", &TSkinData::GetMenuMerge, &TSkinData::SetMenuMerge),
                  EventProp<TSkinData, TOnFormSkin>("OnFormSkin", &TSkinData::OnFormSkin),
                  EventProp<TSkinData, TNotifyEvent>("OnSkinChanged", &TSkinData::OnSkinChanged),
                  EventProp<TSkinData, TOnSkinControl>("OnSkinControl", &TSkinData::OnSkinControl),
                  EventProp<TSkinData, TOnSkinForm>("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm),
                  EventProp<TSkinData, TOnSkinForm>("OnAfterSkinForm", &TSkinData::OnAfterSkinForm),
                  DataProp<TSkinData>("SkinStream", &TSkinData::SetSkinStreamData)})

namespace {

template <class T>
void FreeSlot(T*& slot) {
  delete slot;
  slot = nullptr;
}

void EmptyBitmap(TBitmap* b) { b->SetSize(0, 0); }

void CopyBitmap(TBitmap* target, TBitmap* source) {
  if (source->Empty()) {
    EmptyBitmap(target);
    return;
  }
  target->Assign(source);
}

// Sections whose upper-cased name starts with the prefix.
bool StartsUpper(const std::string& name, const std::string& prefix) { return UpperCase(name).rfind(prefix, 0) == 0; }

}  // namespace

TSkinDataObserver* SkinDataObserver = nullptr;

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      MenuGlyphs(new TImageList(nullptr)),
      AppIcon(new TBitmap),
      Buttons(new TDataSkinButton("Buttons")),
      BorderLeft(new TDataSkinBorder("Left")),
      BorderRight(new TDataSkinBorder("Right")),
      BorderTop(new TDataSkinBorder("Top")),
      BorderBottom(new TDataSkinBorder("Bottom")),
      Title(new TDataSkinTitle("Title")),
      FSkinControls(~0u & ((1u << (xcFastReport + 1)) - 1) & ~Bit(xcMenuItem) & ~Bit(xcFastReport)),
      FSkin3rd(std::begin(DefaultSkin3rd), std::end(DefaultSkin3rd)) {
  AppIcon->SetPixelFormat(pf24bit);
  try {
    TBitmap glyphs;
    glyphs.LoadFromResourceName("TARNWICKMENU");
    MenuGlyphs->AddMasked(&glyphs, clWhite);
  } catch (const Exception&) {
    // Without the program's glyphs the owner-drawn menus draw no glyphs.
  }
}

TSkinData::~TSkinData() {
  delete MenuGlyphs;
  if (SkinDataObserver) SkinDataObserver->SkinDataRemoved(this);
  delete AppIcon;
  delete CaptionFont;
  FreeOptionalElements();
  FreeSlot(Track);
  FreeSlot(TrackVert);
  FreeSlot(ComboArrow);
  FreeSlot(ToolbarGradient);
  FreeSysButtons();
  delete Buttons;
  delete BorderLeft;
  delete BorderRight;
  delete BorderTop;
  delete BorderBottom;
  delete Title;
  if (ButtonFaceBrush) DeleteObject(ButtonFaceBrush);
}

void TSkinData::FreeOptionalElements() {
  for (TDataSkinObject** slot :
       {&MenuBar, &ProgressChunk, &GroupBoxEdge, &StatusBarEdges, &TabPane, &ToolBars, &SunkEdge, &ExtraImages,
        &Headerbar, &MenuItem, &MenuBackground, &Scrollbar, &HorzScroll, &VertScroll, &HorzScrollThumb,
        &VertScrollThumb, &TrackThumbHorz, &TrackThumbVert, &TrackThumbLeft, &TrackThumbRight, &TrackThumbUp,
        &TrackThumbDown})
    FreeSlot(*slot);
  for (TDataSkinBorder** slot : {&Progress, &Tabs, &ComboButton, &UpDownHorz, &UpDownVert}) FreeSlot(*slot);
  FreeSlot(GroupBox);
}

void TSkinData::FreeSysButtons() {
  for (TDataSkinSysButton* b : SysButtons) delete b;
  SysButtons.clear();
}

bool TSkinData::LoadSkin() {
  NoSkin = true;
  auto reader = std::make_unique<TSkinReader>();
  auto entry = std::make_unique<TMemoryStream>();
  auto ini = std::make_unique<TQuickIni>();
  Reader = reader.get();
  EntryStream = entry.get();
  Ini = nullptr;
  struct TReset {
    TSkinData* Self;
    ~TReset() {
      Self->Reader = nullptr;
      Self->EntryStream = nullptr;
      Self->Ini = nullptr;
    }
  } reset{this};
  if (!Reader->ReadPack(SkinData)) return false;
  Ini = ini.get();
  std::string name;
  Reader->FindEntry(".ini", *EntryStream, name);
  EntryStream->Seek(0);
  Ini->LoadFromStream(EntryStream);
  ApplySkin();
  return true;
}

bool TSkinData::TryLoadSkin() {
  try {
    return LoadSkin();
  } catch (const std::exception&) {
    NoSkin = true;  // a skin file that does not decode: the program goes on unskinned
    return false;
  }
}

void TSkinData::ReadSkinStream(TMemoryStream& stream) {
  int32_t size = 0;
  if (!stream.ReadExact(&size, 4) || size <= 0) return;
  SkinData.Clear();
  if (size > stream.Size() - stream.Position()) {
    // A payload shorter than its size field: nothing of it is taken.
    stream.Seek(stream.Size());
    NoSkin = true;
    return;
  }
  SkinData.CopyFrom(stream, size);
  SkinData.Seek(0);
  if (!(ComponentState() & csDesigning)) TryLoadSkin();
}

void TSkinData::WriteSkinStream(TMemoryStream& stream) {
  const int32_t size = int32_t(SkinData.Size());
  stream.Write(&size, 4);
  if (size > 0) stream.Write(SkinData.Bytes().data(), size);
}

void TSkinData::SetSkinStreamData(const TLayoutData& data) {
  SkinData.SetBytes(data.Bytes);
  if (SkinData.Size() > 0) TryLoadSkin();
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (ComponentState() & (csDesigning | csLoading | csReading)) return;  // Loaded acts on it
  if (FSkinFormtype == sfDialog || FSkinFormtype == sfDLL) return;
  if (SkinDataObserver) SkinDataObserver->SkinDataActivated(this, value);
}

void TSkinData::SetSkinFile(const std::string& value) {
  NoSkin = true;
  FSkinFile = value;
  const DWORD attributes = GetFileAttributesA(value.c_str());
  if (value.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  SkinData.Clear();
  if (!SkinData.LoadFromFile(value)) return;
  TryLoadSkin();
  ReapplySkin();
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (ComponentState() & csDesigning) return;
  if (!OptionalUser32().GetScrollBarInfo) FSkinControls &= ~Bit(xcScrollbar);
  CreateCaptionFont();
  // No skin could be applied: nothing is skinned.
  if (FSkinFormtype == sfMainform && FActive && NoSkin) FActive = false;
  // The manager registers the component and, as its form type asks, skins its form now or queues
  // skinning every window.
  if (SkinDataObserver) SkinDataObserver->SkinDataLoaded(this);
  if (FSkinFormtype != sfMainform) return;
  if (Has(xcMainMenu))
    FSkinControls &= ~Bit(xcMenuItem);
  else
    FSkinControls &= ~Bit(xcSystemMenu);
  BuildAppIcon();
}

void LoadSystemCaptionFont(TFont* font) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = 340;  // the structure without the padded border width: every system answers it
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    font->SetHandle(CreateFontIndirectA(&metrics.lfCaptionFont));
}

void TSkinData::CreateCaptionFont() {
  delete CaptionFont;
  CaptionFont = new TFont;
  LoadSystemCaptionFont(CaptionFont);
}

void TSkinData::BuildAppIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  const HWND app = Application->Handle();
  HICON icon = HICON(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = HICON(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
  if (!icon) return;
  TBitmap b;
  b.SetSize(w, h, pf24bit);
  HDC dc = b.Canvas()->GetHandle();
  RECT r{0, 0, w, h};
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &r, magenta);
  DeleteObject(magenta);
  if (HICON small = HICON(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE))) {
    DrawIconEx(dc, 0, 0, small, w, h, 0, nullptr, DI_NORMAL);
    DestroyIcon(small);
  }
  AppIcon->Assign(&b);
  AppIcon->SetTransparentColor(clFuchsia);
  AppIcon->SetTransparent(true);
}

void TSkinData::ReapplySkin() {
  if (ComponentState() & (csDesigning | csLoading | csReading)) return;
  if (SkinDataObserver) SkinDataObserver->SkinDataReapplied(this);
}

void TSkinData::AskFormSkin(HWND window, const std::string& className, bool& doSkin) {
  (void)window;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (className == "SysMonthCal32")
    doSkin = false;
  else if (Has(xcFastReport) && className.rfind("Tfr", 0) == 0)
    doSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::LoadEntryBitmap(TBitmap* bitmap, const std::string& value) {
  EmptyBitmap(bitmap);
  const size_t cut = value.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? value : value.substr(cut + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.substr(dot) != ".bmp" || !Reader) return;
  TMemoryStream entry;
  if (!Reader->GetEntry(name, entry) || entry.Size() == 0) return;
  try {
    bitmap->LoadFromBytes(entry.Bytes());
  } catch (const std::exception&) {
    EmptyBitmap(bitmap);  // not a bitmap the platform can read: the element stays without an image
  }
}

TColor TSkinData::ColourOrDefault(const std::string& text, TColor def) {
  return Trim(text).empty() ? def : ParseColour(text);
}

void TSkinData::ReadCommonFields(TDataSkinObject* e, const std::string& s, bool readFrame) {
  e->Style = Ini->ReadInteger(s, "Style", 0);
  e->Margins.Left = Ini->ReadInteger(s, "LeftWidth", 0);
  e->Margins.Right = Ini->ReadInteger(s, "RightWidth", 0);
  e->Margins.Top = Ini->ReadInteger(s, "TopHeight", 0);
  e->Margins.Bottom = Ini->ReadInteger(s, "BottomHeight", 0);
  if (readFrame) e->FrameCount = Ini->ReadInteger(s, "Frame", 0);
  e->Trans = Ini->ReadInteger(s, "Trans", 0);
  e->Tile = Ini->ReadInteger(s, "Tile", 0);
  if (e->Tile > 1) e->Tile = 0;
  e->NormalColour = Ini->ReadInteger(s, "NormalColour", -1);
  e->MouseOverColour = Ini->ReadInteger(s, "MouseOverColour", -1);
  e->PressedColour = Ini->ReadInteger(s, "PressedColour", -1);
  e->NormalColour2 = ColourOrDefault(Ini->ReadString(s, "NormalColour2", ""), ButtonText);
  e->MouseOverColour2 = ColourOrDefault(Ini->ReadString(s, "MouseOverColour2", ""), ButtonText);
  e->PressedColour2 = ColourOrDefault(Ini->ReadString(s, "PressedColour2", ""), ButtonText);
}

void TSkinData::ReadElement(TDataSkinObject*& slot, const std::string& section) {
  FreeSlot(slot);
  const std::string image = Ini->ReadString(section, "Image", "");
  if (image.empty()) return;
  slot = new TDataSkinObject(section);
  LoadEntryBitmap(slot->Bitmap, image);
  ReadCommonFields(slot, section, true);
}

void TSkinData::ReadBorderElement(TDataSkinBorder*& slot, const std::string& section, const std::string& secondKey) {
  FreeSlot(slot);
  const std::string image = Ini->ReadString(section, "Image", "");
  if (image.empty()) return;
  slot = new TDataSkinBorder(section);
  LoadEntryBitmap(slot->Bitmap, image);
  const std::string second = Ini->ReadString(section, secondKey, "");
  if (!second.empty()) LoadEntryBitmap(slot->Bitmap2, second);
  ReadCommonFields(slot, section, false);
}

void TSkinData::ReadProgressElement() {
  const std::string s = "Progress";
  FreeSlot(Progress);
  const std::string image = Ini->ReadString(s, "Bitmap", "");
  if (image.empty()) return;
  Progress = new TDataSkinBorder(s);
  LoadEntryBitmap(Progress->Bitmap, image);
  Progress->Style = Ini->ReadInteger(s, "Style", 0);
  Progress->Margins.Left = Ini->ReadInteger(s, "LeftWidth", 0);
  Progress->Margins.Right = Ini->ReadInteger(s, "RightWidth", 0);
  Progress->Margins.Top = Ini->ReadInteger(s, "TopHeight", 0);
  Progress->Margins.Bottom = Ini->ReadInteger(s, "BottomHeight", 0);
  Progress->Trans = Ini->ReadInteger(s, "Trans", 0);
  Progress->Tile = std::min(Ini->ReadInteger(s, "Tile", 0), 1);
}

void TSkinData::ReadBoxLabel() {
  const std::string s = "GroupBox";
  FreeSlot(GroupBox);
  const std::string image = Ini->ReadString(s, "Image", "");
  if (image.empty()) return;
  GroupBox = new TDataSkinBoxLabel(s);
  LoadEntryBitmap(GroupBox->Bitmap, image);
  ReadCommonFields(GroupBox, s, false);
  GroupBox->BackgroundAlignment = Ini->ReadInteger(s, "BackgroundAlignment", 0);
  GroupBox->BackgroundLeftShift = Ini->ReadInteger(s, "BackgroundLeftShift", 0);
  GroupBox->BackgroundRightShift = Ini->ReadInteger(s, "BackgroundRightShift", 0);
}

void TSkinData::ReadButtons() {
  const std::string s = "Buttons";
  TDataSkinButton* b = Buttons;
  b->Margins.Left = Ini->ReadInteger(s, "LeftWidth", 0);
  b->Margins.Right = Ini->ReadInteger(s, "RightWidth", 0);
  b->Margins.Top = Ini->ReadInteger(s, "TopHeight", 0);
  b->Margins.Bottom = Ini->ReadInteger(s, "BottomHeight", 0);
  b->Trans = Ini->ReadInteger(s, "Trans", 0);
  LoadEntryBitmap(b->Bitmap, Ini->ReadString(s, "Bitmap", ""));
  b->Tile = Ini->ReadInteger(s, "Tile", 0);
  if (b->Tile > 1) b->Tile = 0;
  LoadEntryBitmap(b->CheckBitmap, Ini->ReadString(s, "CheckButton", ""));
  LoadEntryBitmap(b->RadioBitmap, Ini->ReadString(s, "RadioButton", ""));
  b->NormalColour = Ini->ReadInteger(s, "NormalColour", -1);
  b->MouseOverColour = Ini->ReadInteger(s, "MouseOverColour", -1);
  b->PressedColour = Ini->ReadInteger(s, "PressedColour", -1);
  b->RadioFrameCount = Ini->ReadInteger(s, "RadioButtonFrame", 0);
  b->CheckFrameCount = Ini->ReadInteger(s, "CheckButtonFrame", 0);
  const std::string n2 = Ini->ReadString(s, "NormalColour2", ""), m2 = Ini->ReadString(s, "MouseOverColour2", ""),
                    p2 = Ini->ReadString(s, "PressedColour2", "");
  b->HasNormalColour2 = !n2.empty();
  b->HasMouseOverColour2 = !m2.empty();
  b->HasPressedColour2 = !p2.empty();
  b->NormalColour2 = ColourOrDefault(n2, ButtonText);
  b->MouseOverColour2 = ColourOrDefault(m2, ButtonText);
  b->PressedColour2 = ColourOrDefault(p2, ButtonText);
}

void TSkinData::ReadMenuBar() {
  const std::string s = "Personality";
  FreeSlot(MenuBar);
  const std::string image = Ini->ReadString(s, "menuBar", "");
  if (image.empty()) return;
  MenuBar = new TDataSkinObject("Personality");
  LoadEntryBitmap(MenuBar->Bitmap, image);
  MenuBar->Margins.Top = MenuBar->Margins.Bottom = 0;
  MenuBar->Tile = std::min(Ini->ReadInteger(s, "TileMenu", 1), 1);
  MenuBar->Margins.Left = Ini->ReadInteger(s, "TileLeftMenu", 1);
  MenuBar->Margins.Right = Ini->ReadInteger(s, "TileRightMenu", 1);
}

void TSkinData::ReadRGBKeys(const std::string& section, const std::string& prefix, TColor& colour) {
  const int r = Ini->ReadInteger(section, prefix + "R", -1), g = Ini->ReadInteger(section, prefix + "G", -1),
            b = Ini->ReadInteger(section, prefix + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) colour = TColor(RGB(r & 0xFF, g & 0xFF, b & 0xFF));
}

void TSkinData::ReadTitle() {
  const std::string s = "Personality";
  LoadEntryBitmap(Title->Bitmap, Ini->ReadString(s, "TextBack", ""));
  Title->Margins.Left = Ini->ReadInteger(s, "TextShift", 0);
  Title->Margins.Top = Ini->ReadInteger(s, "TextShiftVert", 0);
  Title->Margins.Right = Ini->ReadInteger(s, "TextRightClip", 0);
  Title->Margins.Bottom = 0;
  Title->TextAlignment = Ini->ReadInteger(s, "TextAlignment", 0);
  Title->TextBackground = Ini->ReadInteger(s, "Textbackground", 0);
  Title->FontHeight = Ini->ReadInteger("Fonts", "FontHeight", 14);
  Title->TextBackLeft = Ini->ReadInteger(s, "TXTBackleft", 0);
  Title->TextBackRight = Ini->ReadInteger(s, "TXTBackRight", 0);
  Title->ActiveTextColour = clNone;
  Title->InactiveTextColour = clNone;
  ReadRGBKeys(s, "ActiveText", Title->ActiveTextColour);
  ReadRGBKeys(s, "InActiveText", Title->InactiveTextColour);
}

void TSkinData::ReadBorders() {
  const std::string s = "Personality";
  struct Border {
    TDataSkinBorder* Element;
    const char* Prefix;
    bool Sideways;  // left and right: the margins are top and bottom
  };
  for (const Border& b : {Border{BorderLeft, "Left", true}, Border{BorderRight, "Right", true},
                          Border{BorderTop, "Top", false}, Border{BorderBottom, "Bottom", false}}) {
    const std::string p = b.Prefix;
    TDataSkinBorder* e = b.Element;
    const int first = Ini->ReadInteger(s, p + "TopHeight", 0), second = Ini->ReadInteger(s, p + "BotHeight", 0);
    e->Margins = b.Sideways ? TSkinMargins{0, first, 0, second} : TSkinMargins{first, 0, second, 0};
    e->FrameCount = Ini->ReadInteger(s, p + "Frame", 1);
    e->Tile = std::min(Ini->ReadInteger(s, p + "Stretch", 1), 1);
    e->Trans = Ini->ReadInteger(s, p + "Trans", 1);
    LoadEntryBitmap(e->Bitmap, Ini->ReadString(s, p, ""));
  }
}

void TSkinData::ReadColours() {
  const std::string s = "Colours";
  auto colour = [&](const char* key, TColor def) { return ColourOrDefault(Ini->ReadString(s, key, ""), def); };
  WindowText = colour("WindowText", clWindowText);
  ButtonFace = colour("ButtonFace", clBtnFace);
  ScrollbarColour = colour("Scrollbar", clScrollBar);
  HilightText = colour("HilightText", clHighlightText);
  Hilight = colour("Hilight", clHighlight);
  Menubar = colour("Menubar", ButtonFace);
  Menu = colour("Menu", clMenu);
  MenuText = colour("MenuText", clMenuText);
  ButtonText = colour("ButtonText", clBtnText);
  ButtonHilight = colour("ButtonHilight", clBtnHighlight);
  Buttonlight = colour("Buttonlight", clBtnHighlight);
  ButtonShadow = colour("ButtonShadow", clBtnShadow);
  ButtonDkShadow = colour("ButtonDkShadow", cl3DDkShadow);
  MenuBarText = colour("MenuBarText", clMenuText);
  TitleTextActive = colour("TitleTextActive", clCaptionText);
  TitleTextNoActive = colour("TitleTextNoActive", clInactiveCaptionText);

  ColourTable.clear();
  std::vector<std::string> sections;
  Ini->ReadSections(sections);
  for (const std::string& name : sections)
    if (StartsUpper(name, "COLOUR") && UpperCase(name) != "COLOURS")
      ColourTable.push_back(ColourOrDefault(Ini->ReadString(name, "color", ""), clWindowText));
  for (int i = 0; i < 10; ++i)
    CustomColours[i] = ColourOrDefault(Ini->ReadString("Customcolors", "Color" + std::to_string(i), ""), clWhite);
}

void TSkinData::ReadTitleButtons() {
  FreeSysButtons();
  std::vector<std::string> sections, kept;
  Ini->ReadSections(sections);
  for (const std::string& name : sections) {
    const std::string upper = UpperCase(name);
    if (!StartsUpper(name, "BUTTON") || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    if (Ini->ReadInteger(name, "Action", 0) == -1 && Ini->ReadInteger(name, "Visibility", -1) != 0) continue;
    kept.push_back(name);
  }
  int sharedX = 0, sharedY = 0;
  for (const std::string& s : kept) {
    auto* b = new TDataSkinSysButton(UpperCase(s));
    SysButtons.push_back(b);
    b->Action = Ini->ReadInteger(s, "Action", 0);
    b->Align = Ini->ReadInteger(s, "Align", 0);
    b->XCoord = Ini->ReadInteger(s, "Xcoord", 0);
    b->YCoord = Ini->ReadInteger(s, "Ycoord", 0);
    b->Visibility = Ini->ReadInteger(s, "Visibility", 0);
    b->Visibility1 = Ini->ReadInteger(s, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = Ini->ReadInteger(s, "CombineOp", -1);
    b->FrameCount = Ini->ReadInteger(s, "frame", 0);
    LoadEntryBitmap(b->Bitmap, Ini->ReadString(s, "ButtonImage", ""));
    // A button of action 4 sits where the latest maximize button of visibility 2 sits.
    if (b->Action == 1 && b->Visibility == 2) {
      sharedX = b->XCoord;
      sharedY = b->YCoord;
    }
    if (b->Action == 4) {
      b->XCoord = sharedX;
      b->YCoord = sharedY;
    }
    if (b->FrameCount == 0) {
      b->FrameCount = 6;
      if (!b->Bitmap->Empty())
        b->FrameCount = double(b->Bitmap->GetWidth()) / b->Bitmap->GetHeight() <= 3.8 ? 3 : 6;
      if (b->Action < 0) b->FrameCount = 6;
    }
    if (b->Action == 3 || b->Action == 11) EmptyBitmap(b->Bitmap);  // the window's own icon is drawn there
  }
  for (int action : {7, 8, 9}) {
    auto* b = new TDataSkinSysButton("MDI" + std::to_string(action));
    b->Action = action;
    b->Align = 100;
    b->Visibility = 100;
    b->Visibility1 = 100;
    b->FrameCount = 4;
    SysButtons.push_back(b);
  }
  ReadMdiButtons();
}

void TSkinData::ReadMdiButtons() {
  TBitmap image;
  LoadEntryBitmap(&image, Ini->ReadString("MDICONTROLS", "Image", ""));
  if (image.Empty()) return;
  const int w = image.GetWidth() / 12, h = image.GetHeight();
  if (w == 0) return;  // narrower than its twelve frames: the MDI buttons keep no image
  const size_t first = SysButtons.size() - 3;
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton* b = SysButtons[first + size_t(i)];
    b->Bitmap->SetSize(4 * w, h, pf24bit);
    BitBlt(b->Bitmap->Canvas()->GetHandle(), 0, 0, 4 * w, h, image.Canvas()->GetHandle(), 4 * w * i, 0, SRCCOPY);
    b->XCoord = (w + 4) * (3 - i);
  }
}

void TSkinData::LoadDefaultElement(TDataSkinObject*& slot, const std::string& resourceName) {
  FreeSlot(slot);
  slot = new TDataSkinObject(resourceName);
  try {
    slot->Bitmap->LoadFromResourceName(resourceName);
  } catch (const std::exception&) {
    EmptyBitmap(slot->Bitmap);
  }
  slot->Margins = TSkinMargins{3, 3, 3, 3};
  slot->Tile = 0;
  slot->FrameCount = 1;
}

void TSkinData::SetFixedFrameCounts() {
  struct Fixed {
    TDataSkinObject* Element;
    int Count;
  };
  const Fixed fixed[] = {{Buttons, 5},        {Title, 2},         {MenuBar, 2},        {GroupBoxEdge, 2},
                         {GroupBox, 1},       {Tabs, 5},          {StatusBarEdges, 3}, {TabPane, 1},
                         {ToolBars, 5},       {ComboButton, 4},   {SunkEdge, 4},       {ExtraImages, 5},
                         {MenuItem, 5},       {MenuBackground, 1}, {Scrollbar, 23},    {HorzScroll, 4},
                         {VertScroll, 4},     {TrackThumbHorz, 5}, {TrackThumbVert, 5}, {TrackThumbLeft, 5},
                         {TrackThumbRight, 5}, {TrackThumbUp, 5}, {TrackThumbDown, 5}, {UpDownHorz, 8},
                         {UpDownVert, 8}};
  for (const Fixed& f : fixed)
    if (f.Element) f.Element->FrameCount = f.Count;
  if (Progress) Progress->FrameCount = Progress->Style != 0 ? 1 : 2;
  if (Headerbar && Headerbar->FrameCount == 0) Headerbar->FrameCount = 5;
  if (HorzScrollThumb) HorzScrollThumb->FrameCount = Ini->ReadInteger("HorzScrollThumb", "FrameCount", 3);
  if (VertScrollThumb) VertScrollThumb->FrameCount = Ini->ReadInteger("VertScrollThumb", "FrameCount", 3);
  // Check and radio frames from the image when the skin does not say: 13 or 16 pixels wide each.
  auto framesOf = [](TBitmap* b) {
    return std::max(4, b->GetWidth() / (b->GetHeight() < 16 ? 13 : 16));
  };
  if (Buttons->RadioFrameCount == 0) Buttons->RadioFrameCount = framesOf(Buttons->RadioBitmap);
  if (Buttons->CheckFrameCount == 0) Buttons->CheckFrameCount = framesOf(Buttons->CheckBitmap);
}

void TSkinData::BuildComboImage() {
  if (!SunkEdge || !ComboButton) return;
  const int a = GetSystemMetrics(SM_CXHSCROLL) + 2;
  const int frames = std::max(SunkEdge->FrameCount, 1);
  TBitmap result;
  result.SetSize(50 * frames, 21, pf24bit);
  FillSolidRect(result.Canvas()->GetHandle(), RECT{0, 0, 50 * frames, 21}, SkinTransparentColor);
  TBitmap scratch;
  scratch.SetSize(50, 21, pf24bit);
  HDC s = scratch.Canvas()->GetHandle();
  for (int b = 1; b <= frames; ++b) {
    FillSolidRect(s, RECT{0, 0, 50, 21}, SkinTransparentColor);
    DrawSkinImage(s, RECT{0, 0, 50, 21}, SunkEdge->Bitmap, false, SunkEdge->Tile, SunkEdge->Trans != 0,
                  SunkEdge->FrameCount, b, SunkEdge->Margins);
    const RECT arrow{50 - a, 0, 50, 21};
    DrawSkinImage(s, arrow, ComboButton->Bitmap, false, ComboButton->Tile, true, ComboButton->FrameCount, b,
                  ComboButton->Margins);
    if (ExtraImages) DrawSkinGlyph(s, arrow, ExtraImages->Bitmap, true, ExtraImages->FrameCount, b);
    FillSolidRect(s, RECT{2, 2, 49 - a, 18}, SkinTransparentColor);
    BitBlt(result.Canvas()->GetHandle(), 50 * (b - 1), 0, 50, 21, s, 0, 0, SRCCOPY);
  }
  ComboButton->Bitmap->Assign(&result);
  ComboButton->Style = 2;
  ComboButton->Margins = SunkEdge->Margins;
  ComboButton->Margins.Left = 2;
  ComboButton->Margins.Right = a + 2;
  MirrorBitmap(&result);
  SunkEdge->Bitmap->Assign(&result);
  SunkEdge->Margins.Left = a + 2;
  SunkEdge->Margins.Right = 2;
}

void TSkinData::BuildComboArrow() {
  if (!ComboArrow) ComboArrow = new TDataSkinObject("ComboxArrow");
  EmptyBitmap(ComboArrow->Bitmap);  // nothing of an earlier skin's arrow survives
  if (!SunkEdge) {
    if (!ComboButton) return;
    CopyBitmap(ComboArrow->Bitmap, ComboButton->Bitmap);
    RecolorMagenta(ComboArrow->Bitmap, ButtonFace);
    ComboArrow->FrameCount = ComboButton->FrameCount;
    return;
  }
  if (!ComboButton || ComboButton->Style != 2) return;
  const int f = std::max(SunkEdge->FrameCount, 1);
  const int w = ComboButton->Bitmap->GetWidth() / f;
  ComboArrow->Bitmap->SetSize(17 * f, 17, pf24bit);
  for (int i = 0; i < f; ++i)
    BitBlt(ComboArrow->Bitmap->Canvas()->GetHandle(), 17 * i, 0, 17, 17, ComboButton->Bitmap->Canvas()->GetHandle(),
           w * (i + 1) - 19, 2, SRCCOPY);
  ComboArrow->FrameCount = f;
}

void TSkinData::BuildToolbarGradient() {
  const TColor fc = TColor(ColorToRGB(GetFrameColour()));
  TColor g = MixColors(0x808080, fc, 150);
  const TColor t = MixColors(ButtonFace, clWhite, 150);
  const int s = ColorSaturation(fc);
  if (s > 110) g = MixColors(fc, clWhite, (5625 - 25 * s) / 140 + 50);
  if (!ToolbarGradient) ToolbarGradient = new TDataSkinObject("Toolbar");
  TBitmap* b = ToolbarGradient->Bitmap;
  b->SetSize(10, 40, pf24bit);
  FillGradient(b->Canvas()->GetHandle(), RECT{0, 0, 10, 40}, t, true, g);
  ToolbarGradient->FrameCount = 1;
}

TColor TSkinData::GetFrameColour() {
  TBitmap* top = BorderTop->Bitmap;
  if (top->Empty()) return ButtonFace;
  const int frames = std::max(BorderTop->FrameCount, 1);
  return TColor(::GetPixel(top->Canvas()->GetHandle(), top->GetWidth() / 3, (top->GetHeight() / frames) / 3));
}

void TSkinData::ApplySkin() {
  if (!Ini) return;
  ReadBorders();
  ReadColours();
  ReadTitleButtons();
  ReadButtons();
  ReadTitle();

  ReadProgressElement();
  ReadElement(ProgressChunk, "Progress.Chunk");
  ReadMenuBar();
  ReadElement(GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabel();
  ReadBorderElement(Tabs, "Tabs", "Border");
  ReadElement(StatusBarEdges, "StatusBarEdges");
  ReadElement(TabPane, "Tab.Pane");
  if (TabPane) {
    TSkinMargins& m = TabPane->Margins;
    m.Top = std::min(m.Top, 4);
    m.Left = std::min(m.Left, 4);
    m.Right = std::min(m.Right, 4);
    m.Bottom = std::min(m.Bottom, 4);
  }
  ReadElement(ToolBars, "ToolBars");
  ReadBorderElement(ComboButton, "ComboButton", "****");
  ReadElement(SunkEdge, "SunkEdge");
  if (ComboButton && !ComboButton->Bitmap->Empty()) {
    CopyBitmap(ComboButton->Bitmap2, ComboButton->Bitmap);
    ComboButton->Bitmap2->SetPixelFormat(pf24bit);
    MirrorBitmap(ComboButton->Bitmap2);
  }

  struct Plain {
    TDataSkinObject** Slot;
    const char* Section;
  };
  for (const Plain& p : {Plain{&ExtraImages, "ExtraImages"}, Plain{&Headerbar, "Headerbar"},
                         Plain{&MenuItem, "MenuItem"}, Plain{&MenuBackground, "MenuBackground"},
                         Plain{&Scrollbar, "Scrollbar"}, Plain{&HorzScroll, "HorzScroll"},
                         Plain{&VertScroll, "VertScroll"}, Plain{&HorzScrollThumb, "HorzScrollThumb"},
                         Plain{&VertScrollThumb, "VertScrollThumb"}, Plain{&TrackThumbHorz, "Trackbar.ThumbHorz"},
                         Plain{&TrackThumbVert, "Trackbar.ThumbVert"}, Plain{&TrackThumbLeft, "Trackbar.ThumbLeft"},
                         Plain{&TrackThumbRight, "Trackbar.ThumbRight"}, Plain{&TrackThumbUp, "Trackbar.ThumbUp"},
                         Plain{&TrackThumbDown, "Trackbar.ThumbDown"}})
    ReadElement(*p.Slot, p.Section);
  ReadBorderElement(UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadBorderElement(UpDownVert, "UpDown.Vert", "GlyphImage");
  ReadElement(Track, "Track");
  if (!Track) LoadDefaultElement(Track, "TRACK");
  ReadElement(TrackVert, "TRACKVERT");
  if (!TrackVert) LoadDefaultElement(TrackVert, "TRACKVERT");

  SetFixedFrameCounts();
  BuildComboImage();
  BuildComboArrow();
  BuildToolbarGradient();

  FrameColour = GetFrameColour();
  if (ButtonFaceBrush) DeleteObject(ButtonFaceBrush);
  ButtonFaceBrush = CreateSolidBrush(ColorToRGB(ButtonFace));
  NoSkin = false;
}
