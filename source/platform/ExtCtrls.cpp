#include "ExtCtrls.h"

#include <algorithm>

// A function, not a variable: class infos of other files may be built before this file's statics.
static std::vector<std::string> kBevelNames() { return {"bvNone", "bvLowered", "bvRaised", "bvSpace"}; }

ORV_DEFINE_CLASS(TCustomPanel, TCustomControl, nullptr,
                 {EnumProp<TCustomPanel, TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                                                     &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment),
                  EnumProp<TCustomPanel, TBevelCut>("BevelInner", kBevelNames(), &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner),
                  EnumProp<TCustomPanel, TBevelCut>("BevelOuter", kBevelNames(), &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter),
                  IntProp<TCustomPanel>("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth),
                  IntProp<TCustomPanel>("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth)})
ORV_DEFINE_CLASS(TPanel, TCustomPanel, FactoryOf<TPanel>(), {})

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  FWidth = 185;
  FHeight = 41;
  FColor = clBtnFace;
  FControlStyle |= csAcceptsControls | csSetCaption | csOpaque | csDoubleClicks;
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  FBevelInner = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelOuter(TBevelCut v) {
  FBevelOuter = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelWidth(int v) {
  FBevelWidth = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBorderWidth(int v) {
  FBorderWidth = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  FAlignment = v;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(RECT& r) const {
  int inset = FBorderWidth + (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
  InflateRect(&r, -inset, -inset);
}

static void Frame3D(TCanvas* c, RECT& r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    c->Pen()->SetColor(topLeft);
    c->MoveTo(r.left, r.bottom - 1);
    c->LineTo(r.left, r.top);
    c->LineTo(r.right - 1, r.top);
    c->Pen()->SetColor(bottomRight);
    c->LineTo(r.right - 1, r.bottom - 1);
    c->LineTo(r.left - 1, r.bottom - 1);
    InflateRect(&r, -1, -1);
  }
}

void TCustomPanel::Paint() {
  RECT r = GetClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    if (cut == bvSpace) {
      InflateRect(&r, -FBevelWidth, -FBevelWidth);
      return;
    }
    bool raised = cut == bvRaised;
    Frame3D(Canvas(), r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
  };
  bevel(FBevelOuter);
  InflateRect(&r, -FBorderWidth, -FBorderWidth);
  bevel(FBevelInner);
  Canvas()->Brush()->SetColor(FColor);
  Canvas()->FillRect(r);
  std::string t = GetCaption();
  if (!t.empty()) {
    static const UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->DrawText(t, r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align[FAlignment]);
  }
}

ORV_DEFINE_CLASS(TPaintBox, TGraphicControl, FactoryOf<TPaintBox>(), {EventProp("OnPaint", &TPaintBox::OnPaint)})

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 105;
  FHeight = 105;
}

void TPaintBox::Paint() {
  Canvas()->SetFont(FFont);
  Canvas()->Brush()->SetColor(FColor);
  if (OnPaint) OnPaint(this);
}

ORV_DEFINE_CLASS(TImage, TGraphicControl, FactoryOf<TImage>(),
                 {BoolProp<TImage>("Center", &TImage::GetCenter, &TImage::SetCenter),
                  ObjProp<TImage, TPicture>("Picture", &TImage::GetPicture, &TImage::SetPicture),
                  BoolProp<TImage>("Stretch", &TImage::GetStretch, &TImage::SetStretch),
                  BoolProp<TImage>("Transparent", &TImage::GetTransparent, &TImage::SetTransparent)})

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(new TPicture) {
  FWidth = 105;
  FHeight = 105;
  FPicture->OnChange = [this](TObject*) {
    if (FPicture->Graphic()) FPicture->Graphic()->SetTransparent(FTransparent);
    AdjustSize();
    Invalidate();
  };
}
TImage::~TImage() { delete FPicture; }

void TImage::SetStretch(bool v) {
  FStretch = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  FCenter = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  FTransparent = v;
  if (FPicture->Graphic()) FPicture->Graphic()->SetTransparent(v);
  Invalidate();
}

bool TImage::CanAutoSize(int& w, int& h) {
  if (!FPicture->HasGraphic()) return false;
  w = FPicture->GetWidth();
  h = FPicture->GetHeight();
  return true;
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  RECT r{0, 0, g->GetWidth(), g->GetHeight()};
  if (FStretch) {
    r = GetClientRect();
  } else if (FCenter) {
    OffsetRect(&r, (FWidth - g->GetWidth()) / 2, (FHeight - g->GetHeight()) / 2);
  }
  Canvas()->StretchDraw(r, g);
}

ORV_DEFINE_CLASS(TBevel, TGraphicControl, FactoryOf<TBevel>(),
                 {EnumProp<TBevel, TBevelShape>("Shape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"},
                                                &TBevel::GetShape, &TBevel::SetShape),
                  EnumProp<TBevel, TBevelStyle>("Style", {"bsLowered", "bsRaised"}, &TBevel::GetStyle, &TBevel::SetStyle)})

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  FWidth = 50;
  FHeight = 50;
}
void TBevel::SetShape(TBevelShape v) {
  FShape = v;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
  FStyle = v;
  Invalidate();
}

void TBevel::Paint() {
  TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  TCanvas* c = Canvas();
  RECT r = GetClientRect();
  auto line = [&](TColor col, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(col);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  switch (FShape) {
    case bsBox: Frame3D(c, r, c1, c2, 1); break;
    case bsFrame:
      InflateRect(&r, -1, -1);
      Frame3D(c, r, c1, c1, 1);
      r = GetClientRect();
      OffsetRect(&r, 1, 1);
      Frame3D(c, r, c2, c2, 1);
      break;
    case bsTopLine: line(c1, 0, 0, FWidth, 0); line(c2, 0, 1, FWidth, 1); break;
    case bsBottomLine: line(c1, 0, FHeight - 2, FWidth, FHeight - 2); line(c2, 0, FHeight - 1, FWidth, FHeight - 1); break;
    case bsLeftLine: line(c1, 0, 0, 0, FHeight); line(c2, 1, 0, 1, FHeight); break;
    case bsRightLine: line(c1, FWidth - 2, 0, FWidth - 2, FHeight); line(c2, FWidth - 1, 0, FWidth - 1, FHeight); break;
    case bsSpacer: break;
  }
}

// ---- radio group ----

ORV_DEFINE_CLASS(TCustomRadioGroup, TCustomGroupBox, nullptr,
                 {IntProp<TCustomRadioGroup>("Columns", &TCustomRadioGroup::GetColumns, &TCustomRadioGroup::SetColumns),
                  StringsProp<TCustomRadioGroup>("Items", &TCustomRadioGroup::GetItems, &TCustomRadioGroup::SetItems),
                  IntProp<TCustomRadioGroup>("ItemIndex", &TCustomRadioGroup::GetItemIndex, &TCustomRadioGroup::SetItemIndex)})
ORV_DEFINE_CLASS(TRadioGroup, TCustomRadioGroup, FactoryOf<TRadioGroup>(), {})

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  // The buttons are the group's own; a layout places no controls inside it.
  FControlStyle &= ~unsigned(csAcceptsControls);
}

void TCustomRadioGroup::SetEnabled(bool v) {
  TCustomGroupBox::SetEnabled(v);
  // The buttons look disabled too, not just unreachable.
  for (TRadioButton* b : FButtons) b->SetEnabled(v);
}

void TCustomRadioGroup::SetItems(const std::vector<std::string>& items) {
  FItems = items;
  UpdateButtons();
}

void TCustomRadioGroup::AddItem(const std::string& text) {
  FItems.push_back(text);
  UpdateButtons();
}

void TCustomRadioGroup::ClearItems() {
  FItems.clear();
  UpdateButtons();
}

void TCustomRadioGroup::SetColumns(int v) {
  v = std::max(1, std::min(v, 16));
  if (FColumns == v) return;
  FColumns = v;
  ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int v) {
  if (IsLoading()) {
    FItemIndex = v;  // the entries may follow; brought in range in Loaded
    return;
  }
  v = std::max(-1, std::min(v, ItemCount() - 1));
  if (v == FItemIndex) return;
  int old = FItemIndex;
  FItemIndex = v;
  if (v < 0) {
    if (old >= 0 && old < int(FButtons.size())) FButtons[size_t(old)]->SetChecked(false);
    return;
  }
  // Checking the button unchecks its siblings and reaches ButtonClicked, which runs OnClick.
  FButtons[size_t(v)]->SetChecked(true);
}

void TCustomRadioGroup::ButtonClicked(TObject* sender) {
  auto it = std::find(FButtons.begin(), FButtons.end(), sender);
  if (it == FButtons.end() || FUpdating) return;
  FItemIndex = int(it - FButtons.begin());
  if (!IsLoading()) Click();
}

void TCustomRadioGroup::UpdateButtons() {
  if (IsLoading()) return;  // built once in Loaded
  FUpdating = true;
  while (FButtons.size() > FItems.size()) {
    TRadioButton* b = FButtons.back();
    FButtons.pop_back();
    delete b;
  }
  while (FButtons.size() < FItems.size()) {
    auto* b = new TRadioButton(nullptr);
    b->SetParentFont(true);
    b->OnClick = [this](TObject* s) { ButtonClicked(s); };
    b->SetParent(this);
    FButtons.push_back(b);
  }
  FItemIndex = std::max(-1, std::min(FItemIndex, ItemCount() - 1));
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems[i]);
    FButtons[i]->SetEnabled(FEnabled);
    FButtons[i]->SetChecked(int(i) == FItemIndex);
  }
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  RECT r = GetClientRect();
  AdjustClientRect(r);
  int count = int(FButtons.size());
  int perColumn = (count + FColumns - 1) / FColumns;
  int width = std::max(1, int(r.right - r.left - 8) / FColumns);
  int height = std::max(1, int(r.bottom - r.top - 4) / perColumn);
  for (int i = 0; i < count; ++i) {
    int column = i / perColumn, row = i % perColumn;
    int h = std::min(height, 20);
    FButtons[size_t(i)]->SetBounds(r.left + 8 + column * width, r.top + 2 + row * height + (height - h) / 2, width - 4, h);
  }
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::DoSetBounds(int l, int t, int w, int h) {
  TCustomGroupBox::DoSetBounds(l, t, w, h);
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}
