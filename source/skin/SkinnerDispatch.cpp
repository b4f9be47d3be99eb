#include "SkinnerDispatch.h"

#include <commctrl.h>

#include <functional>
#include <vector>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "SkinImageUtils.h"
#include "SkinManage.h"
#include "SkinnerBox.h"
#include "SkinnerButton.h"
#include "SkinnerCheck.h"
#include "SkinnerCombo.h"
#include "SkinnerControl.h"
#include "SkinnerData.h"
#include "SkinnerEdit.h"
#include "SkinnerForm.h"
#include "SkinnerHeader.h"
#include "SkinnerMediaPlayer.h"
#include "SkinnerMenuButton.h"
#include "SkinnerScroll.h"
#include "SkinnerTabs.h"
#include "SkinnerTrackBar.h"
#include "Strings.h"

namespace {

// ---- gates ----

constexpr int NoGate = -1;
// A SkinControls member that must be set (NoGate: none), and whether the skin must have its Tabs element.
struct TGate {
  int Kind;
  bool Tabs;
};
constexpr TGate Ungated{NoGate, false};
constexpr TGate Gate(TSkinControlType kind) { return TGate{int(kind), false}; }
constexpr TGate GateWithTabs(TSkinControlType kind) { return TGate{int(kind), true}; }

bool GateHolds(TSkinData* data, const TGate& g) {
  return (g.Kind == NoGate || data->Has(TSkinControlType(g.Kind))) && (!g.Tabs || data->Tabs);
}

bool AnyOf(const std::string& text, const char* names) {
  std::string rest = names;
  for (size_t at; !rest.empty(); rest = at == std::string::npos ? std::string() : rest.substr(at + 1)) {
    at = rest.find('|');
    if (text == rest.substr(0, at)) return true;
  }
  return false;
}

bool InheritsFromAny(TControl* control, const char* names) {
  for (const TClassInfo* c = &control->ClassInfo(); c; c = c->Parent())
    if (AnyOf(c->Name(), names)) return true;
  return false;
}

TWinControl* Windowed(TControl* c) { return As<TWinControl>(c); }

std::vector<TControl*> ChildControls(TControl* control) {
  auto* w = Windowed(control);
  return w ? w->ControlList() : std::vector<TControl*>();
}

// A control of a scrolling kind: a window with a scroll bar style, or a memo.
bool IsScrollingControl(TControl* control) {
  auto* w = Windowed(control);
  if (!w) return false;
  if (InheritsFromAny(control, "TMemo")) return true;
  return w->HandleAllocated() && (GetWindowLongA(w->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

// ---- the skinners: class name and factory (null while the skinner is not part of the engine) ----

struct TSkinnerKind {
  const char* Name;
  TSkinnerFactory Make;
};
const TSkinnerKind SkinnerKinds[] = {
    {"TSkinButton", MakeSkinner<TSkinButton>},
    {"TSkinBitButton", MakeSkinner<TSkinBitButton>},
    {"TSkinCheckBox", MakeSkinner<TSkinCheckBox>},
    {"TSkinRadioButton", MakeSkinner<TSkinRadioButton>},
    {"TSkinObjImage", MakeSkinner<TSkinObjImage>},
    {"TSkinGroupBox", MakeSkinner<TSkinGroupBox>},
    {"TSkinBox", MakeSkinner<TSkinBox>},
    {"TSkinBoxH", MakeSkinner<TSkinBoxH>},
    {"TSkinMenuButton", MakeSkinner<TSkinMenuButton>},
    {"TSkinSpeedButton", MakeSkinner<TSkinSpeedButton>},
    {"TSkinMP", MakeSkinner<TSkinMP>},
    {"TSkinTab", MakeSkinner<TSkinTab>},
    {"TSkinTabBtn", MakeSkinner<TSkinTabBtn>},
    {"TSkinTab31", MakeSkinner<TSkinTab31>},
    {"TSkinTabSheet", MakeSkinner<TSkinTabSheet>},
    {"TSkinAdvPage", MakeSkinner<TSkinAdvPage>},
    {"TSkinTrackBar", MakeSkinner<TSkinTrackBar>},
    {"TSkinUpDown", MakeSkinner<TSkinUpDown>},
    {"TSkinProgress", MakeSkinner<TSkinProgress>},
    {"TSkinEdit", MakeSkinner<TSkinEdit>},
    {"TSkinComBox", MakeSkinner<TSkinComBox>},
    {"TSkinDateTime", MakeSkinner<TSkinDateTime>},
    {"TSkinScrollbar", MakeSkinner<TSkinScrollbar>},
    {"TSkinListView", MakeSkinner<TSkinListView>},
    {"TSkinSizer", MakeSkinner<TSkinSizer>},
    {"TSkinHeader", MakeSkinner<TSkinHeader>},
};

TSkinnerFactory FactoryOf(const char* name) {
  for (const TSkinnerKind& k : SkinnerKinds)
    if (std::string(k.Name) == name) return k.Make;
  return nullptr;
}

// ---- the rows' own work ----

void SkinChildrenThenAttach(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.SkinChildren(c);
  d.Attach(c, r);
}

void ChildrenOnly(TControlDispatch& d, TControl* c, const TSkinRule&) { d.SkinChildren(c); }

void RadioGroupOfOurs(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  for (TControl* child : ChildControls(c)) d.Attach(child, TControlDispatch::Rule("TSkinRadioButton"));
  d.Attach(c, r);
}

void NavigatorBox(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r);
  for (TControl* child : ChildControls(c)) d.SkinControl(child, nullptr);
}

void EmbeddedForm(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r);
  d.SkinComponents(c);
}

// A tool bar: flat, with the skin's custom drawing where it has none of its own, and its menu's items
// drawn by the skin.
void ToolBar(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  SetPropByText(c, "Flat", "True");
  auto* bar = As<TToolBar>(c);
  if (bar) d.Form()->HookToolbarDraw(bar);
  d.Attach(c, r);
  if (bar && bar->GetMenu()) d.Form()->SetMenuItemsOwnerDraw(bar->GetMenu()->Items(), true);
}

// A tool button gets no skinner, but the items of its menu are drawn by the skin; only when the
// window's frame is skinned.
void ToolButtonMenu(TControlDispatch& d, TControl* c, const TSkinRule&) {
  auto* button = As<TToolButton>(c);
  if (button && button->GetMenuItem() && d.Form()->FrameSkinned())
    d.Form()->SetMenuItemsOwnerDraw(button->GetMenuItem(), true);
}

// A control with a combo button is skinned as a combo box, one without as an edit (as a plain window).
void ButtonedEdit(TControlDispatch& d, TControl* c, const TSkinRule&) {
  const int buttons = GetOrdPropByName(c, "NumButtons");
  if (buttons == 1 && d.Data()->Has(xcCombo)) d.Attach(c, TControlDispatch::Rule("TSkinComBox"));
  if (buttons == 0 && d.Data()->Has(xcEdit))
    if (auto* w = Windowed(c)) d.AttachWindow(w->Handle(), TControlDispatch::Rule("TSkinEdit"));
}

void TransparentThenAttach(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  SetPropByText(c, "Transparent", "True");
  d.Attach(c, r);
}

// An edit only when the control draws a frame (its window and client rectangles differ).
void EditIfFramed(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  auto* w = Windowed(c);
  if (!w) return;
  RECT wr, cr;
  GetWindowRect(w->Handle(), &wr);
  GetClientRect(w->Handle(), &cr);
  if (wr.right - wr.left != cr.right || wr.bottom - wr.top != cr.bottom) d.Attach(c, r);
}

void BitButtonKind(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  if (LowerText(c->ClassName()) == "tcxbutton" && GetEnumPropText(c, "Kind") == "cxbkDropDownButton")
    d.Attach(c, TControlDispatch::Rule("TSkinMenuButton"));
  else
    d.Attach(c, r);
}

void PngBitButton(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r, r.SetColour, [](TSkinControl* s) {
    if (auto* b = As<TSkinBitButton>(s)) b->PictureProperty = "PngImage";
  });
}

// An extended combo box: the skinner draws its arrow over the edit part.
void ExtendedComboBox(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r, r.SetColour, [](TSkinControl* s) {
    if (auto* combo = As<TSkinComBox>(s)) combo->ExMode = true;
  });
}

void ScrollbarThenChildren(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r);
  d.SkinChildren(c);
}

void SingleScrollbar(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r, r.SetColour, [](TSkinControl* s) { s->Mode = 1; });
}

void EmbeddedScrollbars(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  for (TControl* child : ChildControls(c))
    if (IsScrollingControl(child)) d.Attach(child, r);
}

// The buttons of a group: the framed family's own glyph controls take a glyph strip, the others a
// check or radio skinner.
void GroupButtons(TControlDispatch& d, TControl* c, bool radio) {
  const bool framedFamily = UpperCase(c->ClassName()).find("TFC") != std::string::npos;
  for (TControl* child : ChildControls(c)) {
    if (framedFamily)
      d.Attach(child, TControlDispatch::Rule("TSkinObjImage"), true,
               [radio](TSkinControl* s) { static_cast<TSkinObjImage*>(s)->Kind = radio ? 2 : 1; });
    else
      d.Attach(child, TControlDispatch::Rule(radio ? "TSkinRadioButton" : "TSkinCheckBox"));
  }
}

void RadioGroupKind(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  if (d.Data()->Has(xcRadioButton)) GroupButtons(d, c, true);
  d.Attach(c, r);
}

void CheckGroupKind(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  if (d.Data()->Has(xcRadioButton)) GroupButtons(d, c, false);
  if (d.Data()->Has(xcGroupBox)) d.Attach(c, r);
}

template <int Kind>
void GlyphStrip(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r, r.SetColour, [](TSkinControl* s) { static_cast<TSkinObjImage*>(s)->Kind = Kind; });
}

// A tab control that is no page control: its skinner paints the control's windowless children too.
void OwnTabControl(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r, r.SetColour, [](TSkinControl* s) { s->Mode = TSkinTab::PaintsChildrenMode; });
}

void AdvPageControl(TControlDispatch& d, TControl* c, const TSkinRule& r) {
  d.Attach(c, r, r.SetColour,
           [](TSkinControl* s) { static_cast<TSkinAdvPage*>(s)->PageMode = TSkinAdvPage::BuildBackgroundsMode; });
}

// ---- windows without an object ----

void ChildWindowsThenAttach(TControlDispatch& d, HWND w, const TSkinRule& r) {
  d.SkinChildWindows(w);
  d.AttachWindow(w, r);
}

void PanelWindow(TControlDispatch& d, HWND w, const TSkinRule&) {
  d.SkinChildWindows(w);
  if (TWinControl* c = FindVclControl(w)) c->SetColor(d.Data()->ButtonFace);
}

void SilentPanelWindow(TControlDispatch& d, HWND w, const TSkinRule&) {
  if (TWinControl* c = FindVclControl(w)) c->SetColor(d.Data()->ButtonFace);
}

void FirstChildWindow(TControlDispatch& d, HWND w, const TSkinRule& r) {
  if (HWND child = GetWindow(w, GW_CHILD)) d.AttachWindow(child, r);
}

TSkinRule R(const char* skinner, bool setColour = false, TControlAction action = nullptr) {
  return TSkinRule{skinner, FactoryOf(skinner), setColour, action, nullptr};
}
TSkinRule W(const char* skinner, TWindowAction action = nullptr) {
  return TSkinRule{skinner, FactoryOf(skinner), false, nullptr, action};
}

// ---- by class of ours (the first row that matches and whose gate holds) ----

enum TMatch { mInherits, mClassText, mScrolling };
struct TClassRow {
  TMatch How;
  const char* Names;       // "|" between names
  bool (*Also)(TControl*);  // a further condition, or null
  TGate Gate;
  TSkinRule Rule;
};

bool PageInButtonStyle(TControl* c) {
  const std::string style = GetEnumPropText(c, "Style");
  return !style.empty() && style != "tsTabs";
}
bool NotAPageControl(TControl* c) { return !InheritsFromAny(c, "TPageControl"); }

// Our page control stands for the platform's tab controls, our check box, combo box, list view and
// memo for their abstract bases.
const std::vector<TClassRow>& ClassRows() {
  static const std::vector<TClassRow> rows = {
      {mInherits, "TTabControl", NotAPageControl, GateWithTabs(xcTab), R("TSkinTab", false, OwnTabControl)},
      {mInherits, "TPageControl", PageInButtonStyle, GateWithTabs(xcTab), R("TSkinTabBtn")},
      {mInherits, "TPageControl", nullptr, GateWithTabs(xcTab), R("TSkinTab")},
      {mInherits, "TToolButton", nullptr, Ungated, R("", false, ToolButtonMenu)},
      {mClassText, "TTABSET", nullptr, GateWithTabs(xcTab), R("TSkinTab31")},
      {mInherits, "TTabSheet", nullptr, GateWithTabs(xcTab), R("TSkinTabSheet")},
      {mClassText, "TTABBEDNOTEBOOK", nullptr, GateWithTabs(xcTab), R("TSkinTab")},
      {mClassText, "TMVCPANEL", nullptr, Ungated, R("", false, ChildrenOnly)},
      {mInherits, "TCheckBox", nullptr, Gate(xcCheckBox), R("TSkinCheckBox")},
      {mInherits, "TTrackBar", nullptr, Gate(xcTrackBar), R("TSkinTrackBar")},
      {mClassText, "TUPDOWN|TSPINBUTTON", nullptr, Gate(xcSpin), R("TSkinUpDown")},
      {mClassText, "TMEDIAPLAYER", nullptr, Gate(xcButton), R("TSkinMP")},
      {mInherits, "TCustomRadioGroup", nullptr, Gate(xcRadioButton), R("TSkinGroupBox", true, RadioGroupOfOurs)},
      {mClassText, "TDBNAVIGATOR", nullptr, Gate(xcPanel), R("TSkinBox", true, NavigatorBox)},
      {mClassText, "TFCDBCHECKBOX|TFCCHECKBOX", nullptr, Gate(xcCheckBox), R("TSkinObjImage", true, GlyphStrip<1>)},
      {mClassText, "TFCRADIOBUTTON|TFCDBRADIOBUTTON", nullptr, Gate(xcRadioButton),
       R("TSkinObjImage", true, GlyphStrip<2>)},
      {mClassText, "TCXDBCHECKBOX|TCXCHECKBOX", nullptr, Gate(xcCheckBox), R("TSkinObjImage", true, GlyphStrip<3>)},
      // The group keeps its Color: the skinner paints it whole, the controls inside on the face.
      {mInherits, "TCustomGroupBox", nullptr, Gate(xcPanel), R("TSkinGroupBox", false, SkinChildrenThenAttach)},
      {mInherits, "TRadioButton", nullptr, Gate(xcRadioButton), R("TSkinRadioButton")},
      {mInherits, "TToolBar", nullptr, Gate(xcToolbar), R("TSkinBox", false, ToolBar)},
      {mClassText, "TTNTCOMBOBOX", nullptr, Gate(xcCombo), R("TSkinComBox")},
      {mInherits, "TComboBox", nullptr, Gate(xcCombo), R("TSkinComBox")},
      {mClassText, "TRICHEDIT|TWWDBRICHEDIT|TDXDBMEMO", nullptr, Gate(xcScrollbar), R("TSkinScrollbar")},
      {mInherits, "TCustomPanel", nullptr, Gate(xcPanel), R("TSkinBox", true, SkinChildrenThenAttach)},
      {mClassText, "TDXTREELIST|TDXDBTREELIST|TDXDBGRID", nullptr, Gate(xcScrollbar), R("TSkinScrollbar")},
      {mInherits, "TListView", nullptr, Gate(xcScrollbar), R("TSkinListView")},
      {mInherits, "TMemo", nullptr, Gate(xcScrollbar), R("TSkinScrollbar")},
      {mScrolling, "", nullptr, Gate(xcScrollbar), R("TSkinScrollbar")},
      {mInherits, "TButton", nullptr, Gate(xcButton), R("TSkinButton")},
      {mInherits, "TCustomEdit", nullptr, Gate(xcEdit), R("TSkinEdit")},
      {mInherits, "TCustomForm", nullptr, Ungated, R("TSkinBox", true, EmbeddedForm)},
      {mClassText, "TDCEDIT|TDCDBEDIT", nullptr, Ungated, R("", false, ButtonedEdit)},
  };
  return rows;
}

bool RowMatches(const TClassRow& row, TControl* control, const std::string& classText) {
  switch (row.How) {
    case mInherits: return InheritsFromAny(control, row.Names);
    case mClassText: return AnyOf(classText, row.Names);
    case mScrolling: return IsScrollingControl(control);
  }
  return false;
}

// ---- by the skin data's Skin3rd rows ----

struct TKindRow {
  const char* Kind;
  TGate Gate;
  TSkinRule Rule;
};

const std::vector<TKindRow>& KindRows() {
  static const std::vector<TKindRow> rows = {
      {"nil", Ungated, R("")},
      {"combobox", Gate(xcCombo), R("TSkinComBox")},
      {"comboboxex", Gate(xcCombo), R("TSkinComBox", false, ExtendedComboBox)},
      {"edit", Gate(xcEdit), R("TSkinEdit", false, EditIfFramed)},
      {"radiobutton", Gate(xcRadioButton), R("TSkinRadioButton")},
      {"panel", Gate(xcPanel), R("TSkinBox", true, TransparentThenAttach)},
      {"trackbar", Gate(xcButton), R("TSkinTrackBar", false, TransparentThenAttach)},
      {"button", Gate(xcButton), R("TSkinButton")},
      {"datetimepicker", Gate(xcCombo), R("TSkinDateTime")},
      {"mediaplayer", Gate(xcButton), R("TSkinMP")},
      {"bitbtn", Gate(xcButton), R("TSkinBitButton", false, BitButtonKind)},
      {"pngbitbtn", Gate(xcButton), R("TSkinBitButton", false, PngBitButton)},
      {"pngspeedbutton", Gate(xcButton), R("TSkinSpeedButton", false, PngBitButton)},
      {"menubtn", Gate(xcButton), R("TSkinMenuButton")},
      {"speedbutton", Gate(xcSpeedButton), R("TSkinSpeedButton")},
      {"tab", GateWithTabs(xcTab), R("TSkinTab")},
      {"progress", Gate(xcProgress), R("TSkinProgress")},
      {"scrollbar", Gate(xcScrollbar), R("TSkinScrollbar", false, ScrollbarThenChildren)},
      {"singlescrollbar", Gate(xcScrollbar), R("TSkinScrollbar", false, SingleScrollbar)},
      {"embedscrollbar", Gate(xcScrollbar), R("TSkinScrollbar", false, EmbeddedScrollbars)},
      {"container", Ungated, R("", false, ChildrenOnly)},
      {"groupbox", Gate(xcGroupBox), R("TSkinGroupBox", true)},
      {"advpagecontrol", Gate(xcTab), R("TSkinAdvPage", true, AdvPageControl)},
      {"radiogroup", Gate(xcGroupBox), R("TSkinGroupBox", true, RadioGroupKind)},
      {"checkgroup", Gate(xcPanel), R("TSkinGroupBox", true, CheckGroupKind)},
      {"checkbox", Gate(xcCheckBox), R("TSkinCheckBox")},
  };
  return rows;
}

// ---- by window class, for windows without an object ----

struct TWindowRow {
  const char* Classes;       // lower case, "|" between names
  bool (*Also)(LONG style);  // a further condition, or null
  TGate Gate;                // the row decides; its skinner is made only when the gate holds
  TSkinRule Rule;
};

bool NotOwnerDrawn(LONG style) { return (style & BS_OWNERDRAW) != BS_OWNERDRAW; }
bool GroupOrBitmapButton(LONG style) {
  return NotOwnerDrawn(style) && ((style & 7) == 7 || (style & BS_BITMAP));
}
bool CheckButton(LONG style) { return NotOwnerDrawn(style) && ((style & 2) || (style & 5) == 5); }
bool RadioButtonStyle(LONG style) { return NotOwnerDrawn(style) && ((style & 9) == 9 || (style & 4)); }
bool PushButton(LONG style) { return NotOwnerDrawn(style); }
bool NotSimpleCombo(LONG style) { return (style & 3) != CBS_SIMPLE; }
bool NoTabStop(LONG style) { return !(style & WS_TABSTOP); }
bool NotOwnerDrawnTabs(LONG style) { return !(style & TCS_OWNERDRAWFIXED); }

const std::vector<TWindowRow>& WindowRows() {
  static const std::vector<TWindowRow> rows = {
      {"button", GroupOrBitmapButton, Ungated, W("")},
      {"button", CheckButton, Gate(xcCheckBox), W("TSkinCheckBox")},
      {"button", RadioButtonStyle, Gate(xcRadioButton), W("TSkinRadioButton")},
      {"button", PushButton, Gate(xcButton), W("TSkinButton")},
      {"combobox", NotSimpleCombo, Gate(xcCombo), W("TSkinComBox")},
      {"comboboxex32", nullptr, Gate(xcCombo), W("TSkinComBox", FirstChildWindow)},
      {"scrollbar", NoTabStop, Ungated, W("TSkinSizer")},
      {"systreeview32", nullptr, Ungated, W("")},
      {"#32770", NoTabStop, Ungated, W("TSkinBoxH", ChildWindowsThenAttach)},
      {"tpanel|ttntpanel.unicodeclass|ttntsilentpaintpanel.unicodeclass", nullptr, Ungated, W("", PanelWindow)},
      {"tcheckbox", nullptr, Gate(xcCheckBox), W("TSkinCheckBox")},
      {"tcombobox", nullptr, Gate(xcCombo), W("TSkinComBox")},
      {"tbutton", nullptr, Gate(xcButton), W("TSkinButton")},
      {"tprogressbar", nullptr, Ungated, W("TSkinProgress")},
      {"tsilentpaintpanel", nullptr, Ungated, W("", SilentPanelWindow)},
      {"systabcontrol32", NotOwnerDrawnTabs, Gate(xcTab), W("TSkinTab")},
      {"toolbarwindow32", nullptr, Ungated, W("TSkinBoxH")},
      {"edit", nullptr, Gate(xcEdit), W("TSkinEdit")},
  };
  return rows;
}

const TSkinRule NoRule = TSkinRule{"", nullptr, false, nullptr, nullptr};

}  // namespace

// ---- choosing ----

std::string Skin3rdKind(TSkinData* data, const std::string& classText) {
  const std::string key = LowerText(classText) + "=";
  for (const std::string& line : data->GetSkin3rd()) {
    const std::string lower = LowerText(line);
    if (lower.rfind(key, 0) == 0) return lower.substr(lower.find('=') + 1, 50);
  }
  return std::string();
}

const TSkinRule* ChooseByKind(TSkinData* data, const std::string& classText, bool& named) {
  const std::string key = LowerText(classText) + "=";
  named = false;
  for (const std::string& line : data->GetSkin3rd())
    if (LowerText(line).rfind(key, 0) == 0) named = true;
  if (!named) return nullptr;
  const std::string kind = Skin3rdKind(data, classText);
  for (const TKindRow& row : KindRows())
    if (kind == row.Kind) return GateHolds(data, row.Gate) ? &row.Rule : nullptr;
  return nullptr;
}

const TSkinRule* ChooseByClass(TSkinData* data, TControl* control, const std::string& classText) {
  for (const TClassRow& row : ClassRows())
    if (RowMatches(row, control, classText) && (!row.Also || row.Also(control)) && GateHolds(data, row.Gate))
      return &row.Rule;
  return nullptr;
}

const TSkinRule* ChooseByWindowClass(TSkinData* data, HWND window) {
  const std::string cls = LowerText(GetClassNameText(window));
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  for (const TWindowRow& row : WindowRows())
    if (AnyOf(cls, row.Classes) && (!row.Also || row.Also(style))) return GateHolds(data, row.Gate) ? &row.Rule : nullptr;
  return nullptr;
}

namespace {
bool SkippedByClassText(const std::string& classText) {
  return AnyOf(classText, "TDBCOMBOBOXEH|TFRDESIGNERPAGE|TFRPBOX");
}
}  // namespace

std::string PlannedSkinner(TSkinData* data, TControl* control) {
  if (!control || control->GetTag() == data->GetDisableTag()) return std::string();
  const std::string classText = UpperCase(control->ClassName());
  bool named;
  const TSkinRule* rule = ChooseByKind(data, classText, named);
  if (!named && !SkippedByClassText(classText)) rule = ChooseByClass(data, control, classText);
  return rule ? rule->Skinner : std::string();
}

std::string PlannedWindowSkinner(TSkinData* data, HWND window) {
  const TSkinRule* rule = window ? ChooseByWindowClass(data, window) : nullptr;
  return rule ? rule->Skinner : std::string();
}

// ---- the dispatch ----

TControlDispatch::TControlDispatch(TSkinnerForm* form, TSkinData* data) : FForm(form), FData(data) {}

const TSkinRule& TControlDispatch::Rule(const char* skinner) {
  static const std::vector<TSkinRule> rules = [] {
    std::vector<TSkinRule> v;
    for (const TSkinnerKind& k : SkinnerKinds) v.push_back(TSkinRule{k.Name, k.Make, false, nullptr, nullptr});
    return v;
  }();
  for (const TSkinRule& r : rules)
    if (std::string(r.Skinner) == skinner) return r;
  return NoRule;
}

void TControlDispatch::SkinWindowControls(TControl* form, HWND window) {
  FForm->PurgeDetachedControls();
  if (auto* w = As<TWinControl>(form))
    SkinFormControls(w);
  else
    SkinChildWindows(window);
}

void TControlDispatch::SkinFormControls(TWinControl* form) {
  FForm->PurgeDetachedControls();
  SkinComponents(form);
  if (FData->Has(xcPopupMenu)) FForm->SetPopupMenusOwnerDraw(form, true);
  std::vector<TWinControl*> tabOrder;
  form->GetTabOrderList(tabOrder);
  for (TWinControl* w : tabOrder)
    if (!IsWindowSkinned(w)) SkinControl(w, form);
}

void TControlDispatch::SkinComponents(TComponent* owner) {
  const std::vector<TComponent*> components = owner->ComponentList();
  for (TComponent* c : components)
    if (auto* control = As<TControl>(c)) SkinControl(control, As<TControl>(owner));
}

void TControlDispatch::SkinChildren(TControl* control) {
  for (TControl* child : ChildControls(control)) SkinControl(child, control);
}

bool TControlDispatch::IsWindowSkinned(TControl* control) {
  auto* w = Windowed(control);
  if (w && !w->HandleAllocated()) return true;
  return control->GetTag() == FData->GetDisableTag() || control->Perform(SM_ISSKINNED) == 1;
}

bool TControlDispatch::IsControlSkinned(TControl* control) {
  if (!control) return false;
  if (control->Perform(SM_ISSKINNED) == 1) return true;
  for (TSkinControl* s : FForm->ControlSkinners())
    if (s->Control == control) return true;
  return false;
}

void TControlDispatch::PropagateDisableTag(TControl* control) {
  const std::string cls = LowerText(control->ClassName());
  if (cls.find("radiogroup") == std::string::npos && cls.find("checkgroup") == std::string::npos) return;
  for (TControl* child : ChildControls(control)) child->SetTag(FData->GetDisableTag());
}

void TControlDispatch::SkinControl(TControl* control, TControl* parent) {
  if (!control) return;
  if (control->GetTag() == FData->GetDisableTag()) {
    PropagateDisableTag(control);
    return;
  }
  if (!control->GetParent() || IsControlSkinned(control)) return;
  const std::string classText = UpperCase(control->ClassName());
  if (auto* w = Windowed(control)) {
    // A hidden control that makes its window when first shown is skinned then (the form skinner
    // hears of the new window), not made now.
    if (w->WindowDeferred()) return;
    try {
      w->HandleNeeded();
    } catch (...) {
      return;  // a control that cannot make its window stays as it is
    }
  }
  if (FData->OnSkinControl) {
    TComponent* made = nullptr;
    FData->OnSkinControl(FForm, FData, As<TControl>(parent), control, classText, made);
    if (auto* skinner = As<TSkinControl>(made))
      if (!FForm->RegisterControl(skinner)) {
        skinner->AttachControl(FForm, FData, skinner->SetColour, FForm->ControlCanvas());
        if (As<TCustomPanel>(control)) SkinChildren(control);
      }
    return;
  }
  bool named;
  const TSkinRule* rule = ChooseByKind(FData, classText, named);
  if (!named) {
    if (SkippedByClassText(classText)) return;
    rule = ChooseByClass(FData, control, classText);
  }
  if (!rule) return;
  if (rule->Action)
    rule->Action(*this, control, *rule);
  else
    Attach(control, *rule);
}

TSkinControl* TControlDispatch::Attach(TControl* control, const TSkinRule& rule) {
  return Attach(control, rule, rule.SetColour);
}

TSkinControl* TControlDispatch::Attach(TControl* control, const TSkinRule& rule, bool setColour,
                                       const std::function<void(TSkinControl*)>& prepare) {
  if (!control || !rule.Make) return nullptr;
  TSkinControl* skinner = rule.Make(control);
  if (prepare) prepare(skinner);
  skinner->AttachControl(FForm, FData, setColour, FForm->ControlCanvas());
  return skinner;
}

TSkinControl* TControlDispatch::AttachWindow(HWND window, const TSkinRule& rule) {
  if (!window || !rule.Make) return nullptr;
  TSkinControl* skinner = rule.Make(FForm);
  skinner->AttachWindow(window, FData, FForm, FForm->ControlCanvas());
  return skinner;
}

void TControlDispatch::SkinChildWindows(HWND window) {
  for (HWND c = GetTopWindow(window); c; c = GetWindow(c, GW_HWNDNEXT))
    if (GetWindowLongA(c, GWL_STYLE) & WS_CHILD) SkinChildWindow(c);
}

void TControlDispatch::SkinChildWindow(HWND window) {
  if (!window || FForm->FindControlByWindow(window)) return;
  const TSkinRule* rule = ChooseByWindowClass(FData, window);
  if (!rule) return;
  if (rule->WindowAction)
    rule->WindowAction(*this, window, *rule);
  else
    AttachWindow(window, *rule);
}

namespace {

// The form skinners ask the dispatch for their controls' skinners through this.
class TDispatchSkinning : public TControlSkinning {
public:
  TDispatchSkinning() { ControlSkinning = this; }

  void SkinWindowControls(TSkinnerForm* form, TControl* vclForm, HWND window) override {
    TControlDispatch(form, form->SkinData()).SkinWindowControls(vclForm, window);
  }
  void SkinControl(TSkinnerForm* form, TControl* control) override {
    TControlDispatch(form, form->SkinData()).SkinControl(control, control->GetParent());
  }
  void SkinChildWindow(TSkinnerForm* form, HWND child) override {
    TControlDispatch(form, form->SkinData()).SkinChildWindow(child);
  }
  void ReplaceSkinner(TSkinnerForm* form, TControl* control, const char* skinnerClass, int mode) override {
    TControlDispatch(form, form->SkinData())
        .Attach(control, TControlDispatch::Rule(skinnerClass), false, [mode](TSkinControl* s) { s->Mode = mode; });
  }
};

TDispatchSkinning DispatchSkinning;

}  // namespace
