// The control skinners on real windows: which skinner each control of the control gallery gets (and
// which controls keep their own look), the skinners' private messages, the button's own click, the
// check and radio frame tables, and unskinning that gives every control back exactly what it had.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "../platform/ControlGallery.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinTestKit.h"
#include "SkinnerBox.h"
#include "SkinnerButton.h"
#include "SkinnerCheck.h"
#include "SkinnerControl.h"
#include "SkinnerDispatch.h"

// Classes of the framed-control family that the program does not use, but that the skin data's
// Skin3rd rows name: the dispatch reaches them by name only.
class TFcButton : public TCustomControl {
  ORV_CLASS(TFcButton)
public:
  using TCustomControl::TCustomControl;
};
ORV_DEFINE_CLASS(TFcButton, TCustomControl, FactoryOf<TFcButton>(), {})
class TFcGroup : public TCustomControl {
  ORV_CLASS(TFcGroup)
public:
  using TCustomControl::TCustomControl;
};
ORV_DEFINE_CLASS(TFcGroup, TCustomControl, FactoryOf<TFcGroup>(), {})
// A bitmap button of that family with the published properties the bitmap button skinner reads.
class TFcBitbtn : public TCustomControl {
  ORV_CLASS(TFcBitbtn)
public:
  using TCustomControl::TCustomControl;
  ~TFcBitbtn() override { delete FGlyph; }
  TBitmap* GetGlyph() const { return FGlyph; }
  void SetGlyph(TBitmap* b) { FGlyph->Assign(b); }
  int GetMargin() const { return FMargin; }
  void SetMargin(int v) { FMargin = v; }
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v) { FSpacing = v; }
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int v) { FNumGlyphs = v; }

private:
  TBitmap* FGlyph = new TBitmap;
  int FMargin = -1, FSpacing = -1, FNumGlyphs = 1;
};
ORV_DEFINE_CLASS(TFcBitbtn, TCustomControl, FactoryOf<TFcBitbtn>(),
                 {ObjProp<TFcBitbtn, TBitmap>("Glyph", &TFcBitbtn::GetGlyph, &TFcBitbtn::SetGlyph),
                  IntProp<TFcBitbtn>("Margin", &TFcBitbtn::GetMargin, &TFcBitbtn::SetMargin),
                  IntProp<TFcBitbtn>("Spacing", &TFcBitbtn::GetSpacing, &TFcBitbtn::SetSpacing),
                  IntProp<TFcBitbtn>("NumGlyphs", &TFcBitbtn::GetNumGlyphs, &TFcBitbtn::SetNumGlyphs)})

// Push buttons of other families by their class names: the skinner paints the framed family's and
// the other "tel" family's whole and hands them no mouse press; any other button gets the press.
class TElPushButton : public TButton {
  ORV_CLASS(TElPushButton)
public:
  using TButton::TButton;
};
ORV_DEFINE_CLASS(TElPushButton, TButton, FactoryOf<TElPushButton>(), {})
class TRzPushButton : public TButton {
  ORV_CLASS(TRzPushButton)
public:
  using TButton::TButton;
};
ORV_DEFINE_CLASS(TRzPushButton, TButton, FactoryOf<TRzPushButton>(), {})

namespace {

using namespace skintest;

std::string PlatformTestData() {
  std::string d = ORV_TEST_DATA_DIR;
  return d.substr(0, d.rfind("skin/data/")) + "platform/data/";
}


// ---- the control gallery ----

class GallerySkin : public SkinEngine {
protected:
  TfrmControlGallery* F = nullptr;

  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);  // no control starts hot
    SetLayoutSource(FolderLayoutSource(PlatformTestData()));
    F = ShowGallery(true);
    F->btnClose->SetFocus();
    PumpMessagesUntil([] { return true; });
  }
  void TearDown() override {
    F->Free();
    PumpMessagesUntil([] { return true; });
    SetLayoutSource(nullptr);
    SkinEngine::TearDown();
  }
  void Skin() {
    ASSERT_TRUE(SkinWindowNow(F->Handle()));
    RedrawAll(F->Handle());
  }
  TSkinnerForm* FormSkinner() { return Manager().FindForm(F->Handle()); }
  TSkinControl* SkinnerOf(TControl* c) { return ::SkinnerOf(FormSkinner(), c); }
};

TEST_F(GallerySkin, EachControlGetsTheSkinnerOfItsKind) {
  Skin();
  struct TCase {
    TControl* Control;
    const char* Skinner;
  };
  const TCase cases[] = {
      {F->PanelBottom, "TSkinBox"},
      {F->btnSave, "TSkinButton"},
      {F->btnClose, "TSkinButton"},
      {F->lblStatus, ""},
      {F->PageControlOptions, "TSkinTab"},
      {F->PageControlVCodec, "TSkinTab"},
      {F->TabSheetGeneral, "TSkinTabSheet"},
      {F->TabSheetAudio, "TSkinTabSheet"},
      {F->EditDescription, "TSkinEdit"},
      {F->ComboBoxCodec, "TSkinComBox"},
      {F->ComboBoxFree, "TSkinComBox"},
      {F->CheckBoxDisableAudio, "TSkinCheckBox"},
      {F->GroupBoxSize, "TSkinGroupBox"},
      {F->RadioButtonKeep, "TSkinRadioButton"},
      {F->RadioButtonChange, "TSkinRadioButton"},
      {F->RadioGroupType, "TSkinGroupBox"},
      {F->RadioGroupType->Buttons(0), "TSkinRadioButton"},
      {F->RadioGroupType->Buttons(2), "TSkinRadioButton"},
      {F->MemoNotes, "TSkinScrollbar"},
      {F->TrackBarAudioBitrate, "TSkinTrackBar"},
      {F->LabelAudioBitrate, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Control->GetName() + " " + c.Control->ClassName());
    EXPECT_EQ(PlannedSkinner(data, c.Control), c.Skinner);
    // Skinners that are part of the engine are attached; the others are chosen but make nothing yet.
    if (TControlDispatch::Rule(c.Skinner).Make)
      EXPECT_EQ(SkinnerName(SkinnerOf(c.Control)), c.Skinner);
    else
      EXPECT_EQ(SkinnerOf(c.Control), nullptr);
  }
  // One skinner per control, however many ways the dispatch reached it.
  std::vector<TControl*> seen;
  for (TSkinControl* s : FormSkinner()->ControlSkinners()) {
    EXPECT_EQ(std::count(seen.begin(), seen.end(), s->Control), 0) << s->Control->GetName();
    seen.push_back(s->Control);
  }
  SaveScreenshot(F->Handle(), std::string(ORV_BUILD_DIR) + "skinned_control_gallery.bmp");
}

TEST_F(GallerySkin, SkinnedControlsAnswerTheQueryAndSwitchOffAndOn) {
  TBitmap unskinned, skinned, off, on;
  CaptureClient(F->btnSave->Handle(), unskinned);
  Skin();
  for (TWinControl* c : std::vector<TWinControl*>{F->btnSave, F->CheckBoxDisableAudio, F->RadioButtonKeep, F->GroupBoxSize,
                                                  F->RadioGroupType, F->RadioGroupType->Buttons(1)}) {
    EXPECT_EQ(SendMessageA(c->Handle(), SM_ISSKINNED, 0, 0), 1) << c->GetName();
    EXPECT_EQ(c->Perform(SM_ISSKINNED), 1) << c->GetName();
  }
  EXPECT_EQ(F->lblStatus->Perform(SM_ISSKINNED), 0);
  CaptureClient(F->btnSave->Handle(), skinned);
  EXPECT_GT(Differences(unskinned, skinned), 0);

  TSkinControl* s = SkinnerOf(F->btnSave);
  ASSERT_NE(s, nullptr);
  SendMessageA(F->btnSave->Handle(), SM_SWITCHSKINNER, 0, 0);
  EXPECT_FALSE(s->Active);
  EXPECT_EQ(SkinnerOf(F->btnSave), s) << "still attached";
  EXPECT_EQ(SendMessageA(F->btnSave->Handle(), SM_ISSKINNED, 0, 0), 0) << "everything goes straight on";
  RedrawAll(F->btnSave->Handle());
  CaptureClient(F->btnSave->Handle(), off);
  EXPECT_EQ(Differences(unskinned, off), 0) << "painted as an unskinned button";

  SendMessageA(F->btnSave->Handle(), SM_SWITCHSKINNER, 1, 0);
  EXPECT_TRUE(s->Active);
  PumpMessagesUntil([] { return true; });
  CaptureClient(F->btnSave->Handle(), on);
  EXPECT_EQ(Differences(skinned, on), 0);
}

// Tells when a component is freed.
struct TFreeWatch : TComponent {
  TFreeWatch() : TComponent(nullptr) {}
  TComponent* Freed = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) Freed = c;
  }
};

TEST_F(GallerySkin, ADestroyedWindowsSkinnerIsPurgedAtTheNextFinish) {
  Skin();
  TSkinControl* old = SkinnerOf(F->btnClose);
  ASSERT_NE(old, nullptr);
  TFreeWatch watch;
  watch.FreeNotification(old);
  F->btnClose->DestroyHandle();
  EXPECT_EQ(old->SkinnerState, ssWindowDestroyed);
  EXPECT_FALSE(old->Active);
  EXPECT_EQ(SkinnerOf(F->btnClose), old) << "kept until the form skinner purges";
  EXPECT_EQ(watch.Freed, nullptr);

  SendMessageA(F->Handle(), SM_FINISHSKIN, 0, SkinFinishParam);
  EXPECT_EQ(watch.Freed, old);
  for (TSkinControl* s : FormSkinner()->ControlSkinners()) EXPECT_NE(s->SkinnerState, ssWindowDestroyed);
  // The control's new window is skinned afresh.
  EXPECT_EQ(SendMessageA(F->btnClose->Handle(), SM_ISSKINNED, 0, 0), 1);
}

TEST_F(GallerySkin, APressAndReleaseClickOnceAndAReleaseElsewhereDoesNot) {
  Skin();
  int mouseDowns = 0;
  F->btnClose->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) { mouseDowns += b == mbLeft; };
  const HWND b = F->btnClose->Handle();
  const LPARAM inside = MAKELPARAM(10, 10);
  auto take = [&] {
    PumpMessagesUntil([] { return true; });
    std::vector<std::string> l;
    l.swap(F->Log);
    return l;
  };
  take();

  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  EXPECT_TRUE(SkinnerOf(F->btnClose)->Pressed());
  EXPECT_EQ(GetCapture(), nullptr) << "the button never captures the mouse";
  SendMessageA(b, WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(take(), Lines({"btnClose.click"}));
  EXPECT_EQ(mouseDowns, 1) << "the press reaches OnMouseDown through the skinner";

  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageA(F->PanelBottom->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  SendMessageA(b, WM_MOUSELEAVE, 0, 0);
  SendMessageA(b, WM_LBUTTONUP, 0, inside);
  EXPECT_TRUE(take().empty()) << "released outside";
  EXPECT_FALSE(SkinnerOf(F->btnClose)->Pressed());

  // The keyboard's click comes from the button itself.
  SendMessageA(b, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(b, WM_KEYUP, VK_SPACE, LPARAM(0xC0000001));
  EXPECT_EQ(take(), Lines({"btnClose.click"}));
}

TEST_F(GallerySkin, UnskinningGivesEveryControlBackWhatItHad) {
  struct TBefore {
    TWinControl* Control;
    const std::type_info* WindowProc;
    LONG_PTR Procedure;
    TColor Colour;
    bool ParentBackground;
  };
  std::vector<TBefore> before;
  std::vector<TWinControl*> all;
  F->GetTabOrderList(all);
  for (TWinControl* c : all)
    before.push_back({c, &c->WindowProc.target_type(), GetWindowLongPtrA(c->Handle(), GWLP_WNDPROC), c->GetColor(),
                      c->GetParentBackground()});
  TBitmap shotBefore, shotSkinned, shotAfter;
  RedrawAll(F->Handle());
  CaptureClient(F->Handle(), shotBefore);

  data->SetActive(true);
  Skin();
  EXPECT_EQ(F->PanelBottom->GetColor(), data->ButtonFace);
  CaptureClient(F->Handle(), shotSkinned);
  EXPECT_GT(Differences(shotBefore, shotSkinned), 0);

  data->SetActive(false);
  ASSERT_TRUE(PumpMessagesUntil([&] { return Manager().Forms.empty(); }));
  for (const TBefore& b : before) {
    SCOPED_TRACE(b.Control->GetName());
    EXPECT_TRUE(b.Control->WindowProc.target_type() == *b.WindowProc);
    EXPECT_EQ(GetWindowLongPtrA(b.Control->Handle(), GWLP_WNDPROC), b.Procedure);
    EXPECT_EQ(b.Control->GetColor(), b.Colour);
    EXPECT_EQ(b.Control->GetParentBackground(), b.ParentBackground);
    EXPECT_EQ(b.Control->Perform(SM_ISSKINNED), 0);
  }
  RedrawAll(F->Handle());
  CaptureClient(F->Handle(), shotAfter);
  EXPECT_EQ(Differences(shotBefore, shotAfter), 0) << "painted exactly as before";
  shotBefore.SaveToFile(std::string(ORV_BUILD_DIR) + "gallery_before_skinning.bmp");
  shotAfter.SaveToFile(std::string(ORV_BUILD_DIR) + "gallery_after_unskinning.bmp");
}

// ---- controls that keep their own look, and the tables' other ways ----

struct TDispatchCase {
  const char* Name;
  std::function<TControl*(TForm*)> Make;  // one control on the form
  std::function<void(TSkinData&)> Setup;  // may be empty
  const char* Skinner;                     // the skinner the control gets ("" none)
};

template <class T>
T* Put(TForm* f, const std::string& caption = "Control") {
  auto* c = new T(f);
  c->SetParent(f);
  c->SetBounds(10, 10, 120, 28);
  c->SetCaption(caption);
  return c;
}

void Rows(TSkinData& d, std::vector<std::string> rows) { d.SetSkin3rd(rows); }

const TDispatchCase DispatchCases[] = {
    {"button", [](TForm* f) { return Put<TButton>(f); }, nullptr, "TSkinButton"},
    {"button with the DisableTag",
     [](TForm* f) {
       auto* b = Put<TButton>(f);
       b->SetTag(99);
       return b;
     },
     nullptr, ""},
    {"button with another DisableTag",
     [](TForm* f) {
       auto* b = Put<TButton>(f);
       b->SetTag(7);
       return b;
     },
     [](TSkinData& d) { d.SetDisableTag(7); }, ""},
    {"button whose class Skin3rd maps to nil", [](TForm* f) { return Put<TButton>(f); },
     [](TSkinData& d) { Rows(d, {"TButton=nil"}); }, ""},
    {"Skin3rd row of a kind that makes nothing", [](TForm* f) { return Put<TButton>(f); },
     [](TSkinData& d) { Rows(d, {"TButton=somethingelse"}); }, ""},
    {"Skin3rd button while xcButton is off, not looked up by class", [](TForm* f) { return Put<TButton>(f); },
     [](TSkinData& d) {
       Rows(d, {"tbutton=Button"});
       d.SetSkinControls(d.GetSkinControls() & ~Bit(xcButton));
     },
     ""},
    {"check box left out of SkinControls", [](TForm* f) { return Put<TCheckBox>(f); },
     [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcCheckBox)); }, ""},
    {"check box", [](TForm* f) { return Put<TCheckBox>(f); }, nullptr, "TSkinCheckBox"},
    {"radio button", [](TForm* f) { return Put<TRadioButton>(f); }, nullptr, "TSkinRadioButton"},
    {"panel", [](TForm* f) { return Put<TPanel>(f); }, nullptr, "TSkinBox"},
    {"panel without xcPanel", [](TForm* f) { return Put<TPanel>(f); },
     [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcPanel)); }, ""},
    {"group box", [](TForm* f) { return Put<TGroupBox>(f); }, nullptr, "TSkinGroupBox"},
    {"radio group without xcRadioButton is a group box", [](TForm* f) { return Put<TRadioGroup>(f); },
     [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcRadioButton)); }, "TSkinGroupBox"},
    {"memo without xcScrollbar is an edit", [](TForm* f) { return Put<TMemo>(f); },
     [](TSkinData& d) { d.SetSkinControls(d.GetSkinControls() & ~Bit(xcScrollbar)); }, "TSkinEdit"},
    {"framed button by its Skin3rd row", [](TForm* f) { return Put<TFcButton>(f); }, nullptr, "TSkinButton"},
    {"framed group by its Skin3rd row", [](TForm* f) { return Put<TFcGroup>(f); }, nullptr, "TSkinBox"},
    {"Skin3rd kind bitbtn", [](TForm* f) { return Put<TFcButton>(f); },
     [](TSkinData& d) { Rows(d, {"TFcButton=bitbtn"}); }, "TSkinBitButton"},
};

class Dispatch : public SkinEngine, public ::testing::WithParamInterface<TDispatchCase> {};

TEST_P(Dispatch, ChoosesTheSkinnerOfTheTables) {
  const TDispatchCase& c = GetParam();
  if (c.Setup) c.Setup(*data);
  auto* form = NewTestForm();
  TControl* control = c.Make(form);
  ASSERT_TRUE(ShowSkinned(form));
  EXPECT_EQ(PlannedSkinner(data, control), c.Skinner);
  // Skinners that are not part of the engine yet are chosen but make nothing.
  const bool made = TControlDispatch::Rule(c.Skinner).Make != nullptr;
  EXPECT_EQ(SkinnerName(SkinnerOf(Manager().FindForm(form->Handle()), control)), made ? c.Skinner : "");
  form->Free();
}
INSTANTIATE_TEST_SUITE_P(Cases, Dispatch, ::testing::ValuesIn(DispatchCases), CaseName());

TEST_F(SkinEngine, ARadioGroupWithTheDisableTagPassesItToItsButtons) {
  auto* form = NewTestForm();
  auto* group = Put<TRadioGroup>(form);
  group->SetItems({"a", "b"});
  group->SetTag(99);
  ASSERT_TRUE(ShowSkinned(form));
  EXPECT_TRUE(Manager().FindForm(form->Handle())->ControlSkinners().empty());
  EXPECT_EQ(group->Buttons(0)->GetTag(), 99);
  EXPECT_EQ(group->Buttons(1)->GetTag(), 99);
  form->Free();
}

TEST_F(SkinEngine, OnSkinControlDecidesInsteadOfTheTables) {
  std::vector<std::string> asked;
  data->OnSkinControl = [&](TComponent* sender, TSkinData* d, TControl* form, TControl* control, const std::string& cls,
                            TComponent*& made) {
    EXPECT_NE(As<TSkinnerForm>(sender), nullptr);
    EXPECT_EQ(d, data);
    EXPECT_NE(form, nullptr);
    asked.push_back(cls);
    if (cls == "TCHECKBOX") made = new TSkinGroupBox(control);  // any skinner the handler likes
  };
  auto* form = NewTestForm();
  auto* check = Put<TCheckBox>(form);
  auto* button = Put<TButton>(form);
  button->SetTop(50);
  ASSERT_TRUE(ShowSkinned(form));
  TSkinnerForm* fs = Manager().FindForm(form->Handle());
  EXPECT_EQ(SkinnerName(SkinnerOf(fs, check)), "TSkinGroupBox");
  EXPECT_TRUE(SkinnerOf(fs, check)->Attached);
  EXPECT_EQ(SkinnerOf(fs, button), nullptr) << "the handler made none";
  // The skinned check box is not offered again; the button, still unskinned, is offered once more by
  // the pass over the tab order.
  EXPECT_EQ(asked, (std::vector<std::string>{"TCHECKBOX", "TBUTTON", "TBUTTON"}));
  form->Free();
}

// ---- windows without an object ----

struct TRawCase {
  const char* Name;
  const char* Class;
  DWORD Style;
  const char* Skinner;
};
const TRawCase RawCases[] = {
    {"push button", "Button", BS_PUSHBUTTON, "TSkinButton"},
    {"default push button", "Button", BS_DEFPUSHBUTTON, "TSkinButton"},
    {"owner-drawn button", "Button", BS_OWNERDRAW, ""},
    {"group box", "Button", BS_GROUPBOX, ""},
    {"bitmap button", "Button", BS_PUSHBUTTON | BS_BITMAP, ""},
    {"check box", "Button", BS_AUTOCHECKBOX, "TSkinCheckBox"},
    {"three-state box", "Button", BS_3STATE, "TSkinCheckBox"},
    {"radio button", "Button", BS_AUTORADIOBUTTON, "TSkinRadioButton"},
    {"plain radio button", "Button", BS_RADIOBUTTON, "TSkinRadioButton"},
    {"static text", "Static", SS_LEFT, ""},
    {"child dialog", "#32770", 0, "TSkinBoxH"},
    {"child dialog with a tab stop", "#32770", WS_TABSTOP, ""},
};

class RawWindows : public SkinEngine, public ::testing::WithParamInterface<TRawCase> {};

TEST_P(RawWindows, GetTheSkinnerOfTheirWindowClass) {
  const TRawCase& c = GetParam();
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 240, 140, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateWindowExA(0, c.Class, "Raw", WS_CHILD | WS_VISIBLE | c.Style, 10, 10, 120, 28, parent, HMENU(101),
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(SkinWindowNow(parent));
  EXPECT_EQ(PlannedWindowSkinner(data, child), c.Skinner);
  EXPECT_EQ(SkinnerName(Manager().FindForm(parent)->FindControlByWindow(child)), c.Skinner);
  DestroyRawWindow(parent);
}
INSTANTIATE_TEST_SUITE_P(Cases, RawWindows, ::testing::ValuesIn(RawCases), CaseName());

TEST_F(SkinEngine, ARawButtonsClickGoesToItsParent) {
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 240, 140, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND button = CreateWindowExA(0, "Button", "Raw", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 120, 28, parent,
                                HMENU(101), GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(SkinWindowNow(parent));
  ASSERT_NE(Manager().FindForm(parent)->FindControlByWindow(button), nullptr);
  log.Messages.clear();
  log.Params.clear();
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(log.Count(WM_COMMAND, LPARAM(button)), 1u) << "BN_CLICKED reached the parent once";
  DestroyRawWindow(parent);
}

// ---- check and radio frames ----

// An image of `frames` frames, 13 pixels wide each, every frame its own colour.
TColor FrameColour(int frame) { return TColor(RGB(10 * frame, 200 - 10 * frame, 40 + frame)); }
void UseFrames(TBitmap* image, int frames) {
  image->SetPixelFormat(pf24bit);
  image->SetSize(13 * frames, 13);
  for (int i = 0; i < frames; ++i) FillRectColor(image->Canvas()->GetHandle(), RECT{13 * i, 0, 13 * i + 13, 13}, FrameColour(i + 1));
}

struct TFrameCase {
  bool Radio;
  int Frames;
  WPARAM Check;  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
  bool Disabled;
  int Frame;
};
const TFrameCase FrameCases[] = {
    {false, 4, BST_UNCHECKED, false, 1},   {false, 4, BST_CHECKED, false, 2},
    {false, 4, BST_UNCHECKED, true, 3},    {false, 4, BST_CHECKED, true, 4},
    {false, 4, BST_INDETERMINATE, false, 4}, {false, 4, BST_INDETERMINATE, true, 4},
    {false, 12, BST_UNCHECKED, false, 1},  {false, 12, BST_CHECKED, false, 5},
    {false, 12, BST_UNCHECKED, true, 4},   {false, 12, BST_CHECKED, true, 8},
    {false, 12, BST_INDETERMINATE, false, 9}, {false, 12, BST_INDETERMINATE, true, 12},
    {false, 8, BST_CHECKED, false, 5},     {false, 8, BST_CHECKED, true, 8},
    {true, 4, BST_UNCHECKED, false, 1},    {true, 4, BST_CHECKED, false, 2},
    {true, 4, BST_UNCHECKED, true, 3},     {true, 4, BST_CHECKED, true, 4},
    {true, 8, BST_UNCHECKED, false, 1},    {true, 8, BST_CHECKED, false, 5},
    {true, 8, BST_UNCHECKED, true, 4},     {true, 8, BST_CHECKED, true, 8},
};

class Frames : public SkinEngine, public ::testing::WithParamInterface<TFrameCase> {};

// A raw dialog box keeps its own painting; the skin's box goes over it after each paint.
TEST_P(Frames, BM_SETCHECKPicksTheFrameOfTheTable) {
  const TFrameCase& c = GetParam();
  UseFrames(c.Radio ? data->Buttons->RadioBitmap : data->Buttons->CheckBitmap, c.Frames);
  (c.Radio ? data->Buttons->RadioFrameCount : data->Buttons->CheckFrameCount) = c.Frames;
  TMessageLog log;
  HWND parent = MakeRawWindow(&log, 240, 140, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND box = CreateWindowExA(0, "Button", "Box", WS_CHILD | WS_VISIBLE | (c.Radio ? BS_RADIOBUTTON : BS_3STATE), 10,
                             10, 120, 28, parent, HMENU(101), GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(SkinWindowNow(parent));
  auto* skinner = dynamic_cast<TSkinToggleButton*>(Manager().FindForm(parent)->FindControlByWindow(box));
  ASSERT_NE(skinner, nullptr);
  EnableWindow(box, !c.Disabled);
  SendMessageA(box, BM_SETCHECK, c.Check, 0);
  EXPECT_EQ(skinner->FrameIndex(), c.Frame);
  RedrawAll(box);
  TBitmap shot;
  CaptureWindow(box, shot);
  EXPECT_EQ(PixelAt(&shot, 6, 14), ColorToRGB(FrameColour(c.Frame))) << "that frame is on the screen";
  DestroyRawWindow(parent);
}
INSTANTIATE_TEST_SUITE_P(Table, Frames, ::testing::ValuesIn(FrameCases), [](const auto& info) {
  const TFrameCase& c = info.param;
  return std::string(c.Radio ? "radio" : "check") + std::to_string(c.Frames) + "_" + std::to_string(c.Check) +
         (c.Disabled ? "_disabled" : "");
});

TEST_F(SkinEngine, ACheckBoxOfOursTakesItsStateFromChecked) {
  UseFrames(data->Buttons->CheckBitmap, 4);
  data->Buttons->CheckFrameCount = 4;
  auto* form = NewTestForm();
  auto* check = Put<TCheckBox>(form, "Checked");
  ASSERT_TRUE(ShowSkinned(form));
  auto* s = dynamic_cast<TSkinCheckBox*>(SkinnerOf(Manager().FindForm(form->Handle()), check));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Mode, 1) << "painted whole by the skinner";
  EXPECT_EQ(s->FrameIndex(), 1);
  check->SetChecked(true);
  EXPECT_EQ(s->FrameIndex(), 2);
  check->SetEnabled(false);
  EXPECT_EQ(s->FrameIndex(), 4);
  form->Free();
}

// ---- the push-button skinner's modes by class name ----

struct TButtonModeCase {
  const char* Name;
  std::function<TControl*(TForm*)> Make;
  int Mode;  // 1: painted whole, no press handed on
};

template <class T>
T* PutButton(TForm* f) {
  auto* c = new T(f);
  c->SetParent(f);
  c->SetBounds(10, 10, 120, 28);
  c->SetCaption("Button");
  return c;
}

TEST_F(SkinEngine, ButtonsWhoseClassBeginsWithTfcOrTelAreNotHandedThePress) {
  const TButtonModeCase cases[] = {
      {"our button", PutButton<TButton>, 0},
      {"the framed family's button", PutButton<TFcButton>, 1},
      {"a tel-family button", PutButton<TElPushButton>, 1},
      {"a trz-family button", PutButton<TRzPushButton>, 0},
  };
  for (const TButtonModeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* form = NewTestForm();
    TControl* button = c.Make(form);
    int downs = 0;
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    ASSERT_TRUE(ShowSkinned(form));
    TSkinControl* s = SkinnerOf(Manager().FindForm(form->Handle()), button);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SkinnerName(s), "TSkinButton");
    EXPECT_EQ(s->Mode, c.Mode);
    const HWND h = As<TWinControl>(button)->Handle();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(downs, c.Mode == 0 ? 1 : 0);
    form->Free();
  }
}

// ---- group boxes ----

struct TGroupShot {
  TBitmap Shot;
  int Line = 0;           // the frame's top line: half the height of "0" in the box's font, less 1
  int CaptionWidth = 0;   // of the caption in that font
};

class GroupBoxSkin : public SkinEngine {
protected:
  TForm* form = nullptr;
  TGroupBox* group = nullptr;
  void SetUp() override {
    SkinEngine::SetUp();
    form = NewTestForm();
    form->SetBounds(60, 60, 320, 200);
    group = new TGroupBox(form);
    group->SetParent(form);
    group->SetBounds(10, 10, 240, 120);
  }
  void TearDown() override {
    form->Free();
    SkinEngine::TearDown();
  }
  TGroupShot Skinned() {
    TGroupShot g;
    EXPECT_TRUE(ShowSkinnedInFront(form));
    RedrawAll(group->Handle());
    CaptureWindow(group->Handle(), g.Shot);
    HDC dc = GetDC(group->Handle());
    HGDIOBJ old = SelectObject(dc, group->GetFont()->Handle());
    SIZE zero{}, caption{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const std::string text = group->GetCaption();
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &caption);
    SelectObject(dc, old);
    ReleaseDC(group->Handle(), dc);
    g.Line = zero.cy / 2 - 1;
    g.CaptionWidth = text.empty() ? 0 : caption.cx;
    return g;
  }
  void UnskinAll() {
    Manager().ActionData = data;
    Manager().Started = 1;
    Manager().Action = saUnskinAll;
    Manager().DoAction();
    Manager().Active = true;
  }
  COLORREF Shadow() const { return ColorToRGB(data->ButtonShadow); }
  // How many pixels of the row between x0 and x1 are in the shadow colour.
  int ShadowRun(TBitmap& b, int y, int x0, int x1) {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += PixelAt(&b, x, y) == Shadow();
    return n;
  }
};

TEST_F(GroupBoxSkin, WithoutACaptionTheWholeRoundedFrameShows) {
  ASSERT_NE(ColorToRGB(data->ButtonShadow), ColorToRGB(data->ButtonFace));
  group->SetCaption("");
  TGroupShot g = Skinned();
  const int W = g.Shot.GetWidth(), H = g.Shot.GetHeight();
  EXPECT_EQ(ShadowRun(g.Shot, g.Line, 4, W - 4), W - 8) << "the top line runs through";
  EXPECT_EQ(ShadowRun(g.Shot, H - 2, 4, W - 4), W - 8) << "the bottom line";
  EXPECT_EQ(PixelAt(&g.Shot, 1, (g.Line + H) / 2), Shadow()) << "the left line";
  EXPECT_EQ(PixelAt(&g.Shot, W - 2, (g.Line + H) / 2), Shadow()) << "the right line";
  // Rounded: the corners' outermost pixels stay the face colour, inside and around the frame too.
  for (POINT p : {POINT{1, g.Line}, POINT{W - 2, g.Line}, POINT{1, H - 2}, POINT{W - 2, H - 2}, POINT{W / 2, H / 2},
                  POINT{0, 0}})
    EXPECT_EQ(PixelAt(&g.Shot, p.x, p.y), ColorToRGB(data->ButtonFace)) << p.x << "," << p.y;
}

TEST_F(GroupBoxSkin, TheCaptionIsCutIntoTheTopLineAtTheLeftOrAtTheRight) {
  group->SetCaption("Caption");
  for (bool right : {false, true}) {
    SCOPED_TRACE(right ? "WS_EX_RIGHT" : "left");
    group->HandleNeeded();
    const LONG ex = GetWindowLongA(group->Handle(), GWL_EXSTYLE);
    SetWindowLongA(group->Handle(), GWL_EXSTYLE, right ? ex | WS_EX_RIGHT : ex & ~WS_EX_RIGHT);
    TGroupShot g = Skinned();
    const int W = g.Shot.GetWidth();
    ASSERT_GT(g.CaptionWidth, 10);
    const int from = right ? W - 8 - g.CaptionWidth : 8, to = from + g.CaptionWidth;
    EXPECT_EQ(ShadowRun(g.Shot, g.Line, from, to), 0) << "hidden behind the caption";
    if (right) {
      EXPECT_EQ(ShadowRun(g.Shot, g.Line, 4, from - 1), from - 5) << "the line up to the caption";
    } else {
      EXPECT_EQ(ShadowRun(g.Shot, g.Line, to + 1, W - 4), W - 5 - to) << "the line after the caption";
      EXPECT_EQ(ShadowRun(g.Shot, g.Line, 4, 8), 4) << "the line before the caption";
    }
    // The caption's own pixels stand in its cell, none outside it on the line.
    int text = 0;
    for (int y = 0; y < g.Line * 2 + 2; ++y)
      for (int x = from; x < to; ++x)
        text += PixelAt(&g.Shot, x, y) != ColorToRGB(data->ButtonFace) && PixelAt(&g.Shot, x, y) != Shadow();
    EXPECT_GT(text, 5);
    UnskinAll();
  }
}

// A group box keeps its own colour (its skinner sets none) and still shows the skin's face, behind
// the controls inside as well.
TEST_F(GroupBoxSkin, KeepsItsColourAndShowsTheFaceAlsoBehindItsControls) {
  const TColor own = TColor(RGB(250, 120, 30));
  group->SetCaption("");
  group->SetColor(own);
  auto* label = new TLabel(form);
  label->SetParent(group);
  label->SetBounds(20, 40, 100, 20);
  label->SetCaption("i");
  TGroupShot g = Skinned();
  EXPECT_EQ(group->GetColor(), own);
  EXPECT_EQ(PixelAt(&g.Shot, 20 + 90, 40 + 10), ColorToRGB(data->ButtonFace));
  EXPECT_EQ(PixelAt(&g.Shot, 120, 100), ColorToRGB(data->ButtonFace));
  UnskinAll();
  EXPECT_EQ(group->GetColor(), own);
}

TEST_F(GroupBoxSkin, ALargerFontMovesTheTopLineDown) {
  group->SetCaption("");
  std::vector<int> lines;
  for (int height : {-11, -30}) {
    SCOPED_TRACE(height);
    group->GetFont()->SetHeight(height);
    TGroupShot g = Skinned();
    const int x = g.Shot.GetWidth() / 2;
    EXPECT_EQ(PixelAt(&g.Shot, x, g.Line), Shadow());
    EXPECT_NE(PixelAt(&g.Shot, x, g.Line - 1), Shadow());
    EXPECT_NE(PixelAt(&g.Shot, x, g.Line + 1), Shadow());
    lines.push_back(g.Line);
    UnskinAll();
  }
  EXPECT_GT(lines[1], lines[0] + 4);
}

// ---- button captions and the transparent button ----

TEST_F(SkinEngine, ButtonCaptionsBreakAtTheFirstDoubleBarAndTag5555ShowsTheParent) {
  auto* form = new TForm(nullptr);
  form->SetBounds(60, 60, 320, 160);
  form->SetCaption("Buttons");
  auto* panel = Put<TPanel>(form, "");
  panel->SetBounds(0, 0, 320, 130);
  panel->SetTag(99);  // keeps its own colour
  panel->SetColor(TColor(RGB(250, 120, 30)));
  auto put = [&](const char* caption, int top, int tag) {
    auto* b = new TButton(form);
    b->SetParent(panel);
    b->SetBounds(20, top, 120, 36);
    b->SetCaption(caption);
    b->SetTag(tag);
    return b;
  };
  TButton* twoLines = put("First line||second line", 10, 0);
  TButton* twice = put("A||B||C", 56, 0);
  TButton* clear = put("Transparent", 10, TransparentButtonTag);
  clear->SetLeft(170);
  TButton* solid = put("Solid", 56, 0);
  solid->SetLeft(170);
  auto box = [&](int left, int tag) {
    auto* c = new TCheckBox(form);
    c->SetParent(panel);
    c->SetBounds(left, 100, 120, 20);
    c->SetCaption("Box");
    c->SetTag(tag);
    return c;
  };
  TCheckBox* clearBox = box(20, TransparentButtonTag);
  TCheckBox* solidBox = box(170, 0);
  ASSERT_TRUE(ShowSkinned(form));
  RedrawAll(form->Handle());
  TSkinnerForm* fs = Manager().FindForm(form->Handle());
  EXPECT_EQ(SkinnerOf(fs, twoLines)->Caption, L"First line\r\nsecond line");
  EXPECT_EQ(SkinnerOf(fs, twice)->Caption, L"A\r\nB||C");
  EXPECT_TRUE(static_cast<TSkinButton*>(SkinnerOf(fs, clear))->Transparent);
  // The image's corner pixel is magenta (transparent): the panel shows there, or the face colour.
  TBitmap a, b;
  CaptureWindow(clear->Handle(), a);
  CaptureWindow(solid->Handle(), b);
  EXPECT_EQ(PixelAt(&a, 0, 0), ColorToRGB(panel->GetColor()));
  EXPECT_EQ(PixelAt(&b, 0, 0), ColorToRGB(data->ButtonFace));
  // A check box with the tag lets the panel show around its box and text; another fills the face.
  TBitmap c1, c2;
  CaptureWindow(clearBox->Handle(), c1);
  CaptureWindow(solidBox->Handle(), c2);
  EXPECT_EQ(PixelAt(&c1, c1.GetWidth() - 3, 2), ColorToRGB(panel->GetColor()));
  EXPECT_EQ(PixelAt(&c2, c2.GetWidth() - 3, 2), ColorToRGB(data->ButtonFace));
  // Two lines: ink in the upper and in the lower half of the two-line button.
  TBitmap t;
  CaptureWindow(twoLines->Handle(), t);
  auto inkRows = [&](int from, int to) {
    int rows = 0;
    for (int y = from; y < to; ++y) {
      bool ink = false;
      for (int x = 4; x < t.GetWidth() - 4; ++x) ink |= GetRValue(PixelAt(&t, x, y)) < 80;
      rows += ink;
    }
    return rows;
  };
  EXPECT_GT(inkRows(3, 18), 0);
  EXPECT_GT(inkRows(18, 33), 0);
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "skinned_buttons.bmp");
  form->Free();
}

// ---- push button frames and the bitmap button's layout ----

TEST_F(SkinEngine, PushButtonFramesFollowTheState) {
  auto* form = NewTestForm();
  auto* button = Put<TButton>(form);
  auto* other = Put<TButton>(form);
  other->SetTop(50);
  ASSERT_TRUE(ShowSkinned(form));
  auto* s = static_cast<TSkinButton*>(SkinnerOf(Manager().FindForm(form->Handle()), button));
  ASSERT_NE(s, nullptr);
  struct TCase {
    bool Pressed, Hot, Focused, Default, Disabled;
    int Frame;
  };
  const TCase cases[] = {
      {false, false, false, false, false, bfNormal},  {true, true, true, false, false, bfPressed},
      {false, true, true, false, false, bfHot},       {false, false, true, false, false, bfFocused},
      {false, false, false, true, false, bfFocused},  {true, true, true, true, true, bfDisabled},
      {false, true, false, false, true, bfDisabled},
  };
  for (const TCase& c : cases) {
    s->SetFlag(sfPressed, c.Pressed);
    s->SetFlag(sfHot, c.Hot);
    (c.Focused ? button : other)->SetFocus();
    button->SetDefault(c.Default);
    button->SetEnabled(!c.Disabled);
    EXPECT_EQ(s->CurrentFrame(true), c.Frame) << c.Pressed << c.Hot << c.Focused << c.Default << c.Disabled;
  }
  // A timer message is the skinner's: the button's own timer 1 stops.
  button->SetEnabled(true);
  SetTimer(button->Handle(), 1, 100000, nullptr);
  SendMessageA(button->Handle(), WM_TIMER, 1, 0);
  EXPECT_FALSE(KillTimer(button->Handle(), 1)) << "already stopped";
  form->Free();
}

TEST_F(SkinEngine, ABitmapButtonSpreadsGlyphAndTextOverThirds) {
  auto* form = new TForm(nullptr);
  form->SetBounds(60, 60, 240, 120);
  auto* button = Put<TFcBitbtn>(form, "Glyph");
  button->SetBounds(10, 10, 180, 40);
  // A 16 x 16 blue square inside a magenta frame (the bottom-left colour is transparent).
  TCharMap glyph(16, std::string(16, 'b'));
  for (int i = 0; i < 16; ++i) glyph[0][i] = glyph[15][i] = glyph[i][0] = glyph[i][15] = 'm';
  button->SetGlyph(BitmapFromMap(glyph, {{'b', TColor(RGB(0, 0, 255))}, {'m', TColor(0xFF00FF)}}).get());
  ASSERT_TRUE(ShowSkinned(form));
  EXPECT_EQ(SkinnerName(SkinnerOf(Manager().FindForm(form->Handle()), button)), "TSkinBitButton");
  RedrawAll(form->Handle());

  // The caption's width as the skinner measures it: inside the button less 2 on each side and the glyph.
  const int cx = button->GetWidth(), cy = button->GetHeight();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, button->GetFont()->Handle());
  RECT t{0, 0, cx - 4 - 16 - 2, cy - 4};
  DrawTextW(dc, L"Glyph", -1, &t, DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int margin = (cx - 16 - (t.right - t.left)) / 3;
  const int gy = (cy - 16 + 1) / 2;
  TBitmap shot;
  CaptureWindow(button->Handle(), shot);
  EXPECT_EQ(PixelAt(&shot, margin + 1, gy + 1), RGB(0, 0, 255)) << "the glyph starts a third of the free space in";
  EXPECT_NE(PixelAt(&shot, margin, gy + 1), RGB(0, 0, 255)) << "its frame is transparent";
  EXPECT_NE(PixelAt(&shot, margin + 1, gy), RGB(0, 0, 255));
  form->Free();
}

}  // namespace
