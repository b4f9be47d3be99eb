// Check boxes, radio buttons, radio groups, combo boxes and edits of a dialog read from a layout, driven
// both by window messages (as the user would) and by their setters (as code does): which events run,
// how often, and what state each control ends in.
#include "ControlGallery.h"

#include <algorithm>

#include "Prompter.h"

namespace {

// Makes its owner's window the moment a layout sets Force, as a skin component shaping its form while
// the layout is still being read does.
class TWindowForcer : public TComponent {
  ORV_CLASS(TWindowForcer)
public:
  explicit TWindowForcer(TComponent* owner) : TComponent(owner) {}
  bool GetForce() const { return false; }
  void SetForce(bool v) {
    if (v) static_cast<TWinControl*>(Owner())->HandleNeeded();
  }
};
ORV_DEFINE_CLASS(TWindowForcer, TComponent, FactoryOf<TWindowForcer>(),
                 {BoolProp<TWindowForcer>("Force", &TWindowForcer::GetForce, &TWindowForcer::SetForce)})

TEST(ChildWindows, ControlsPlacedIntoAnExistingWindowGetTheirOwnWhenTheLayoutIsRead) {
  auto* host = new TForm(Application);
  ReadLayoutText(host,
                 "object host: TForm\n"
                 " object forcer: TWindowForcer\n Force = True\n end\n"
                 " object pnl: TPanel\n"
                 "  object grp: TRadioGroup\n Items = ('a' 'b')\n ItemIndex = 1\n end\n"
                 "  object pages: TPageControl\n"
                 "   object sheet: TTabSheet\n object edt: TEdit\n end\n end\n"
                 "  end\n"
                 "  object tb: TTrackBar\n Max = 4\n Position = 3\n end\n"
                 " end\n"
                 "end\n",
                 "forced.layout", TLayoutBinder());
  ASSERT_TRUE(host->HandleAllocated());
  for (const char* name : {"pnl", "grp", "pages", "sheet", "edt", "tb"}) {
    auto* c = As<TWinControl>(host->FindComponent(name));
    ASSERT_NE(c, nullptr) << name;
    ASSERT_TRUE(c->HandleAllocated()) << name;
    EXPECT_EQ(::GetParent(c->Handle()), c->GetParent()->Handle()) << name;
  }
  auto* grp = As<TRadioGroup>(host->FindComponent("grp"));
  ASSERT_EQ(grp->ItemCount(), 2);
  EXPECT_TRUE(grp->Buttons(1)->HandleAllocated());
  EXPECT_EQ(SendMessageA(grp->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(As<TTrackBar>(host->FindComponent("tb"))->Handle(), TBM_GETPOS, 0, 0), 3);
  host->Free();
}

// A hidden combo box makes its window (and its drop-down list's) only when shown or asked for its
// handle; until then it keeps its items and choice, and the window it makes shows them.
TEST(ChildWindows, AHiddenComboBoxMakesItsWindowWhenShown) {
  auto* host = new TForm(Application);
  ReadLayoutText(host,
                 "object host: TForm\n"
                 " object pnl: TPanel\n"
                 "  object shown: TComboBox\n Style = csDropDownList\n Items = ('a' 'b')\n end\n"
                 "  object hidden: TComboBox\n Style = csDropDownList\n Visible = False\n"
                 "   Items = ('x' 'y' 'z')\n ItemIndex = 1\n end\n"
                 "  object asked: TComboBox\n Visible = False\n end\n"
                 " end\n"
                 "end\n",
                 "combos.layout", TLayoutBinder());
  host->HandleNeeded();
  auto* shown = As<TComboBox>(host->FindComponent("shown"));
  auto* hidden = As<TComboBox>(host->FindComponent("hidden"));
  auto* asked = As<TComboBox>(host->FindComponent("asked"));
  auto* pnl = As<TWinControl>(host->FindComponent("pnl"));
  ASSERT_TRUE(shown && hidden && asked && pnl);
  EXPECT_TRUE(pnl->HandleAllocated());
  EXPECT_TRUE(shown->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated());
  EXPECT_FALSE(asked->HandleAllocated());

  hidden->AddItem("w");
  hidden->SetItemIndex(2);
  EXPECT_EQ(hidden->GetText(), "z");
  EXPECT_FALSE(hidden->HandleAllocated());

  hidden->SetVisible(true);
  ASSERT_TRUE(hidden->HandleAllocated());
  EXPECT_EQ(::GetParent(hidden->Handle()), pnl->Handle());
  EXPECT_TRUE(GetWindowLongA(hidden->Handle(), GWL_STYLE) & WS_VISIBLE);  // the form itself is not shown
  EXPECT_EQ(SendMessageA(hidden->Handle(), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(hidden->Handle(), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(hidden->GetText(), "z");

  // Asked for its handle while hidden: made hidden, there and then.
  const HWND h = asked->Handle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(::GetParent(h), pnl->Handle());
  EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE);
  host->Free();
}

// The controls under test stand on the General page.
class StdControls : public GalleryTest {
protected:
  void SetUp() override {
    GalleryTest::SetUp();
    F->PageControlOptions->SetActivePage(F->TabSheetGeneral);
    Pump();
  }
};

TEST_F(StdControls, LayoutValuesStandWithoutRunningEvents) {
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_FALSE(F->CheckBoxDisableAudio->GetChecked());
  EXPECT_TRUE(F->RadioButtonKeep->GetChecked());
  EXPECT_FALSE(F->RadioButtonChange->GetChecked());
  EXPECT_EQ(F->RadioGroupType->GetItemIndex(), 0);
  EXPECT_EQ(F->RadioGroupType->ItemCount(), 3);
  EXPECT_EQ(F->ComboBoxCodec->GetItemIndex(), 1);
  EXPECT_EQ(F->ComboBoxCodec->GetText(), "Xvid");
  char cls[64];
  for (TWinControl* c : std::vector<TWinControl*>{F->RadioButtonKeep, F->RadioGroupType, F->TrackBarAudioBitrate,
                                                  F->PageControlOptions, F->TabSheetGeneral}) {
    ASSERT_TRUE(c->HandleAllocated()) << c->GetName();
    GetClassNameA(c->Handle(), cls, sizeof cls);
    EXPECT_EQ(std::string(cls), c->ClassName());
  }
  EXPECT_EQ(SendMessageA(F->RadioButtonKeep->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

// ---- check box ----

enum TDrive { ByCode, ByMessage };

struct CheckStep {
  TDrive Drive;
  bool Value;  // the state asked for (ByMessage: a click, the value is what it should toggle to)
  int Clicks;  // OnClick runs expected for this step
};

TEST_F(StdControls, CheckBoxRunsOnClickOncePerChangeOfState) {
  const CheckStep steps[] = {
      {ByCode, false, 0},   {ByCode, true, 1},     {ByCode, true, 0},     {ByMessage, false, 1},
      {ByMessage, true, 1}, {ByCode, false, 1},    {ByCode, false, 0},    {ByMessage, true, 1},
  };
  TCheckBox* c = F->CheckBoxDisableAudio;
  int i = 0;
  for (const CheckStep& s : steps) {
    SCOPED_TRACE("step " + std::to_string(i++));
    if (s.Drive == ByCode)
      c->SetChecked(s.Value);
    else
      SendMessageA(c->Handle(), BM_CLICK, 0, 0);
    Pump();
    auto log = TakeLog();
    EXPECT_EQ(int(log.size()), s.Clicks);
    for (auto& l : log) EXPECT_EQ(l, "CheckBoxDisableAudio.click");
    EXPECT_EQ(c->GetChecked(), s.Value);
    EXPECT_EQ(SendMessageA(c->Handle(), BM_GETCHECK, 0, 0), s.Value ? BST_CHECKED : BST_UNCHECKED);
  }
}

TEST_F(StdControls, CheckBoxStateRunsOnClickBeforeItsWindowExists) {
  auto* c = new TCheckBox(F);
  int clicks = 0;
  c->OnClick = [&](TObject*) { ++clicks; };
  c->SetChecked(true);
  c->SetChecked(true);
  EXPECT_EQ(clicks, 1);
  c->SetParent(F->TabSheetAudio);
  ASSERT_TRUE(c->HandleAllocated());
  EXPECT_EQ(SendMessageA(c->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 1);
}

// ---- radio buttons ----

enum TRadioAct { CheckKeep, CheckChange, UncheckKeep, UncheckChange, ClickKeep, ClickChange, MouseChange };

struct RadioStep {
  TRadioAct Act;
  bool Keep, Change;  // states after the step
  std::vector<std::string> Log;
};

TEST_F(StdControls, RadioButtonsOfOneParentExcludeEachOtherAndClickWhenChecked) {
  const RadioStep steps[] = {
      {CheckKeep, true, false, {}},
      {CheckChange, false, true, {"RadioButtonChange.click"}},
      {CheckChange, false, true, {}},
      {ClickKeep, true, false, {"RadioButtonKeep.click"}},
      {ClickKeep, true, false, {}},
      {UncheckKeep, false, false, {}},
      {UncheckChange, false, false, {}},
      {ClickChange, false, true, {"RadioButtonChange.click"}},
      {CheckKeep, true, false, {"RadioButtonKeep.click"}},
      {MouseChange, false, true, {"RadioButtonChange.click"}},
  };
  TRadioButton* keep = F->RadioButtonKeep;
  TRadioButton* change = F->RadioButtonChange;
  int i = 0;
  for (const RadioStep& s : steps) {
    SCOPED_TRACE("step " + std::to_string(i++));
    switch (s.Act) {
      case CheckKeep: keep->SetChecked(true); break;
      case CheckChange: change->SetChecked(true); break;
      case UncheckKeep: keep->SetChecked(false); break;
      case UncheckChange: change->SetChecked(false); break;
      case ClickKeep: SendMessageA(keep->Handle(), BM_CLICK, 0, 0); break;
      case ClickChange: SendMessageA(change->Handle(), BM_CLICK, 0, 0); break;
      case MouseChange: ClickAt(change->Handle(), 5, change->GetHeight() / 2); break;
    }
    Pump();
    EXPECT_EQ(TakeLog(), s.Log);
    EXPECT_EQ(keep->GetChecked(), s.Keep);
    EXPECT_EQ(change->GetChecked(), s.Change);
    EXPECT_EQ(SendMessageA(keep->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED, s.Keep);
    EXPECT_EQ(SendMessageA(change->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED, s.Change);
  }
}

TEST_F(StdControls, RadioButtonsOfOtherParentsStayAsTheyAre) {
  // The radio group's buttons and a loose button on the sheet are not siblings of the size group's.
  auto* loose = new TRadioButton(F);
  loose->SetParent(F->TabSheetGeneral);
  loose->SetChecked(true);
  F->RadioButtonChange->SetChecked(true);
  EXPECT_TRUE(loose->GetChecked());
  EXPECT_EQ(F->RadioGroupType->GetItemIndex(), 0);
  EXPECT_TRUE(F->RadioGroupType->Buttons(0)->GetChecked());
}

// ---- radio group ----

enum TGroupAct { SetIndex, ClickButton, MouseButton };

struct GroupStep {
  TGroupAct Act;
  int Value;
  int Index;   // ItemIndex after the step
  int Clicks;  // group OnClick runs
};

TEST_F(StdControls, RadioGroupIndexLimitsAndClicksWhenAnEntryBecomesChecked) {
  const GroupStep steps[] = {
      {SetIndex, 0, 0, 0},     {SetIndex, 2, 2, 1},    {SetIndex, 7, 2, 0},     {SetIndex, -1, -1, 0},
      {SetIndex, -5, -1, 0},   {SetIndex, 9, 2, 1},    {ClickButton, 1, 1, 1},  {ClickButton, 1, 1, 0},
      {MouseButton, 0, 0, 1},  {MouseButton, 0, 0, 0}, {SetIndex, 1, 1, 1},
  };
  TRadioGroup* g = F->RadioGroupType;
  int i = 0;
  for (const GroupStep& s : steps) {
    SCOPED_TRACE("step " + std::to_string(i++));
    switch (s.Act) {
      case SetIndex: g->SetItemIndex(s.Value); break;
      case ClickButton: SendMessageA(g->Buttons(s.Value)->Handle(), BM_CLICK, 0, 0); break;
      case MouseButton: ClickAt(g->Buttons(s.Value)->Handle(), 4, g->Buttons(s.Value)->GetHeight() / 2); break;
    }
    Pump();
    auto log = TakeLog();
    EXPECT_EQ(int(log.size()), s.Clicks);
    for (auto& l : log) EXPECT_EQ(l, "RadioGroupType.click");
    EXPECT_EQ(g->GetItemIndex(), s.Index);
    for (int b = 0; b < g->ItemCount(); ++b) EXPECT_EQ(g->Buttons(b)->GetChecked(), b == s.Index) << "button " << b;
  }
}

TEST_F(StdControls, RadioGroupEntriesRefilledKeepOrLowerTheIndexSilently) {
  TRadioGroup* g = F->RadioGroupType;
  g->SetItemIndex(2);
  TakeLog();
  g->SetItems({"Auto", "NTSC", "PAL"});
  EXPECT_EQ(g->GetItemIndex(), 2);
  g->ClearItems();
  EXPECT_EQ(g->GetItemIndex(), -1);
  for (const char* t : {"Auto", "NTSC", "PAL"}) g->AddItem(t);
  EXPECT_EQ(g->GetItemIndex(), -1);
  EXPECT_TRUE(TakeLog().empty());
  ASSERT_EQ(g->ItemCount(), 3);
  char text[32];
  GetWindowTextA(g->Buttons(2)->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "PAL");
  // Three columns: the entries stand side by side on one row, inside the frame.
  for (int b = 1; b < 3; ++b) {
    EXPECT_EQ(g->Buttons(b)->GetTop(), g->Buttons(0)->GetTop());
    EXPECT_GT(g->Buttons(b)->GetLeft(), g->Buttons(b - 1)->GetLeft());
  }
  EXPECT_LE(g->Buttons(2)->GetLeft() + g->Buttons(2)->GetWidth(), g->GetWidth());
  g->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(g->Buttons(1)->Handle()));
}

// ---- combo boxes ----

struct ComboStep {
  const char* Name;
  std::function<void(TComboBox*)> Do;
  int Index;
  int Changes;
};

TEST_F(StdControls, DropDownListIndexFromCodeIsSilentAndAUserPickRunsOnChange) {
  const ComboStep steps[] = {
      {"same index", [](TComboBox* c) { c->SetItemIndex(1); }, 1, 0},
      {"index 2", [](TComboBox* c) { c->SetItemIndex(2); }, 2, 0},
      {"beyond the entries", [](TComboBox* c) { c->SetItemIndex(3); }, -1, 0},
      {"far beyond", [](TComboBox* c) { c->SetItemIndex(255); }, -1, 0},
      {"below -1", [](TComboBox* c) { c->SetItemIndex(-7); }, -1, 0},
      {"index 0", [](TComboBox* c) { c->SetItemIndex(0); }, 0, 0},
      {"user: down arrow", [](TComboBox* c) { SendMessageA(c->Handle(), WM_KEYDOWN, VK_DOWN, 1); }, 1, 1},
      {"user: down arrow", [](TComboBox* c) { SendMessageA(c->Handle(), WM_KEYDOWN, VK_DOWN, 1); }, 2, 1},
      {"user: home", [](TComboBox* c) { SendMessageA(c->Handle(), WM_KEYDOWN, VK_HOME, 1); }, 0, 1},
      {"refilled", [](TComboBox* c) { c->SetItems({"a", "b"}); }, -1, 0},
  };
  TComboBox* c = F->ComboBoxCodec;
  c->SetFocus();
  Pump();
  TakeLog();
  for (const ComboStep& s : steps) {
    SCOPED_TRACE(s.Name);
    s.Do(c);
    Pump();
    auto log = TakeLog();
    EXPECT_EQ(int(log.size()), s.Changes);
    for (auto& l : log) EXPECT_EQ(l, "ComboBoxCodec.change");
    EXPECT_EQ(c->GetItemIndex(), s.Index);
    EXPECT_EQ(SendMessageA(c->Handle(), CB_GETCURSEL, 0, 0), s.Index);
  }
}

TEST_F(StdControls, EditableComboRunsOnChangeForTypingNotForCode) {
  TComboBox* c = F->ComboBoxFree;
  c->SetText("typed by code");
  c->SetItemIndex(1);
  Pump();
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(c->GetText(), "two");
  c->SetFocus();
  Pump();
  HWND edit = GetFocus();
  ASSERT_NE(edit, c->Handle());
  ASSERT_EQ(::GetParent(edit), c->Handle());
  SendMessageA(edit, WM_CHAR, 'x', 1);
  Pump();
  EXPECT_EQ(TakeLog(), Lines({"ComboBoxFree.change"}));
  EXPECT_EQ(c->GetItemIndex(), -1);
}

// ---- edits ----

struct SelectionCase {
  const char* Text;
  int Start, Length;
  const char* Selected;
  int EndStart, EndLength;  // after limiting to the text
};

TEST_F(StdControls, EditSelectionIsLimitedToTheText) {
  const SelectionCase cases[] = {
      {"No Description", 3, 11, "Description", 3, 11},
      {"No Description", 0, 2, "No", 0, 2},
      {"No Description", 5, 100, "scription", 5, 9},
      {"abc", 10, 2, "", 3, 0},
      {"abc", -4, 1, "a", 0, 1},
  };
  for (bool withWindow : {true, false}) {
    for (const SelectionCase& c : cases) {
      SCOPED_TRACE(std::string(c.Text) + " " + std::to_string(c.Start) + (withWindow ? " window" : " no window"));
      TEdit* e = withWindow ? F->EditDescription : new TEdit(F);
      e->SetText(c.Text);
      e->SetSelStart(c.Start);
      e->SetSelLength(c.Length);
      EXPECT_EQ(e->GetSelStart(), c.EndStart);
      EXPECT_EQ(e->GetSelLength(), c.EndLength);
      EXPECT_EQ(e->GetSelText(), c.Selected);
      if (!withWindow) e->Free();
    }
  }
  TEdit* e = F->EditDescription;
  e->SetText("No Description");
  e->SetSelStart(3);
  e->SetSelLength(11);
  e->SetSelText("title");
  EXPECT_EQ(e->GetText(), "No title");
  e->SelectAll();
  EXPECT_EQ(e->GetSelText(), "No title");
  e->ClearSelection();
  EXPECT_EQ(e->GetText(), "");
}

TEST_F(StdControls, ReadOnlyEditIgnoresTyping) {
  TEdit* e = F->EditDescription;
  for (bool readOnly : {true, false}) {
    SCOPED_TRACE(readOnly ? "read-only" : "writable");
    e->SetText("abc");
    e->SetReadOnly(readOnly);
    e->SetSelStart(3);
    SendMessageA(e->Handle(), WM_CHAR, 'd', 1);
    EXPECT_EQ(e->GetText(), readOnly ? "abc" : "abcd");
    EXPECT_EQ((GetWindowLongA(e->Handle(), GWL_STYLE) & ES_READONLY) != 0, readOnly);
  }
}

// ---- focus: enter, exit, and exit before a button's click ----

TEST_F(StdControls, EnterAndExitFollowTheFocusAcrossNestedControls) {
  F->EditDescription->SetFocus();
  Pump();
  EXPECT_EQ(TakeLog(), Lines({"EditDescription.enter"}));
  F->EditDescription->SetFocus();  // already there: nothing
  Pump();
  EXPECT_TRUE(TakeLog().empty());
  F->ComboBoxFree->SetFocus();  // the focus lands in the combo box's inner edit
  Pump();
  EXPECT_EQ(TakeLog(), Lines({"EditDescription.exit"}));
  EXPECT_EQ(F->GetActiveControl(), F->ComboBoxFree);
  F->RadioButtonKeep->SetFocus();
  Pump();
  EXPECT_EQ(TakeLog(), Lines({"ComboBoxFree.exit"}));
  // Clicking into the edit with the mouse enters it too.
  ClickAt(F->EditDescription->Handle(), 4, 4);
  EXPECT_EQ(TakeLog(), Lines({"EditDescription.enter"}));
}

struct ExitCase {
  const char* Name;
  TWinControl* (*From)(TfrmControlGallery*);
  std::function<void(TfrmControlGallery*)> Press;
  bool SaveFocusesItself;  // btnSaveClick calls btnSave->SetFocus, as the profile editors do
  std::vector<std::string> Log;
};

TEST_F(StdControls, TheFocusedEditsExitRunsBeforeTheButtonsClickCompletes) {
  auto edit = [](TfrmControlGallery* f) -> TWinControl* { return f->EditDescription; };
  auto combo = [](TfrmControlGallery* f) -> TWinControl* { return f->ComboBoxFree; };
  auto mouse = [](TfrmControlGallery* f) { ClickAt(f->btnSave->Handle(), 10, 10); };
  auto enter = [](TfrmControlGallery* f) { Key(GetFocus(), VK_RETURN); (void)f; };
  auto bmClick = [](TfrmControlGallery* f) { SendMessageA(f->btnSave->Handle(), BM_CLICK, 0, 0); Pump(); };
  const ExitCase cases[] = {
      {"mouse, edit", edit, mouse, false, {"EditDescription.exit", "btnSave.click", "btnSave.click done"}},
      {"mouse, editable combo", combo, mouse, false, {"ComboBoxFree.exit", "btnSave.click", "btnSave.click done"}},
      {"BM_CLICK, edit", edit, bmClick, false, {"EditDescription.exit", "btnSave.click", "btnSave.click done"}},
      {"Enter, edit, SetFocus in the click", edit, enter, true,
       {"btnSave.click", "EditDescription.exit", "btnSave.click done"}},
      {"Enter, combo, SetFocus in the click", combo, enter, true,
       {"btnSave.click", "ComboBoxFree.exit", "btnSave.click done"}},
      {"Enter, edit, no SetFocus", edit, enter, false, {"btnSave.click", "btnSave.click done"}},
  };
  for (const ExitCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TWinControl* from = c.From(F);
    from->SetFocus();
    Pump();
    F->SetModalResult(mrNone);
    F->OnSave = c.SaveFocusesItself ? std::function<void()>([this] { F->btnSave->SetFocus(); }) : nullptr;
    TakeLog();
    c.Press(F);
    auto log = TakeLog();
    log.erase(std::remove(log.begin(), log.end(), "EditDescription.enter"), log.end());
    EXPECT_EQ(log, c.Log);
    EXPECT_EQ(F->GetModalResult(), mrOk);
  }
}

}  // namespace

TEST(Labels, ShowOnTheirParentsColourUnlessGivenOne) {
  auto* form = new TForm(nullptr);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* plain = new TLabel(form);
  plain->SetParent(panel);
  auto* coloured = new TLabel(form);
  coloured->SetColor(clYellow);
  coloured->SetParent(panel);

  panel->SetColor(TColor(0xEEE8E4));
  EXPECT_EQ(plain->GetColor(), TColor(0xEEE8E4));
  EXPECT_TRUE(plain->GetParentColor());
  EXPECT_EQ(coloured->GetColor(), clYellow);
  EXPECT_FALSE(coloured->GetParentColor());
  form->Free();
}

namespace {

TEST(MaskEdit, AMaskedTextThatDoesNotFitKeepsTheFocusAndTellsTheUser) {
  TRecordingPrompter prompts;
  TPrompter* old = SetPrompter(&prompts);
  auto* form = new TForm(Application);
  form->SetBounds(60, 60, 240, 120);
  auto* masked = new TMaskEdit(form);
  masked->SetParent(form);
  masked->SetBounds(10, 10, 100, 21);
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 40, 100, 21);
  SetPropText(masked, "EditMask", "00:00;1;_");
  EXPECT_EQ(masked->GetEditMask(), "00:00;1;_");
  form->Show();
  SetForegroundWindow(form->Handle());
  Application->ProcessMessages();
  struct {
    const char* Text;
    bool Kept;  // the focus stays in the masked edit
  } const cases[] = {{"12:3", true}, {"12:34", false}, {"ab:cd", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    prompts.Prompts.clear();
    masked->SetText(c.Text);
    masked->SetFocus();
    Application->ProcessMessages();
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(masked->Focused(), c.Kept);
    EXPECT_EQ(prompts.Prompts.size(), c.Kept ? 1u : 0u);
    if (c.Kept && !prompts.Prompts.empty()) {
      EXPECT_NE(prompts.Prompts[0].Text.find("Invalid input value"), std::string::npos);
    }
  }
  // Without a mask nothing is checked.
  masked->SetEditMask("");
  masked->SetText("anything");
  masked->SetFocus();
  other->SetFocus();
  Application->ProcessMessages();
  EXPECT_TRUE(other->Focused());
  form->Free();
  SetPrompter(old);
}

}  // namespace
