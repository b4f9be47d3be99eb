#include "SkinnerTabs.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "ComCtrls.h"
#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerEdit.h"
#include "SkinnerForm.h"

ORV_DEFINE_CLASS(TSkinTab, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinTabBtn, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinTab31, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinTabSheet, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinAdvPage, TSkinControl, nullptr, {})

namespace {

// Captions longer than this are cut, as the tab control hands them out into a buffer of this size.
constexpr int TabTextBuffer = 80;

struct TTabItem {
  std::wstring Text;
  int Image = -1;
};

TTabItem ReadTabItem(HWND window, bool unicode, int index) {
  TTabItem item;
  if (unicode) {
    wchar_t text[TabTextBuffer] = {};
    TCITEMW t{};
    t.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    t.pszText = text;
    t.cchTextMax = TabTextBuffer;
    if (SendMessageW(window, TCM_GETITEMW, WPARAM(index), LPARAM(&t))) item = {text, t.iImage};
  } else {
    char text[TabTextBuffer] = {};
    TCITEMA t{};
    t.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    t.pszText = text;
    t.cchTextMax = TabTextBuffer;
    if (SendMessageA(window, TCM_GETITEMA, WPARAM(index), LPARAM(&t))) item = {AnsiToWide(text), t.iImage};
  }
  return item;
}

// Every tab whose rectangle the control gives: its index, rectangle (client coordinates) and item.
template <class Visit>
void ForEachTab(HWND window, bool unicode, Visit visit) {
  const int n = int(SendMessageA(window, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    RECT t;
    if (SendMessageA(window, TCM_GETITEMRECT, WPARAM(i), LPARAM(&t))) visit(i, t, ReadTabItem(window, unicode, i));
  }
}

// The display area as the control computes it, grown by the 4 pixels of the pane's border.
RECT PaneRect(HWND window, const RECT& r) {
  RECT p = r;
  SendMessageA(window, TCM_ADJUSTRECT, FALSE, LPARAM(&p));
  InflateRect(&p, 4, 4);
  return p;
}

// A 24-bit copy of the image.
void Copy24(TBitmap* source, TBitmap* target) {
  target->SetSize(source->GetWidth(), source->GetHeight(), pf24bit);
  BitBlt(target->Canvas()->GetHandle(), 0, 0, source->GetWidth(), source->GetHeight(), source->Canvas()->GetHandle(), 0,
         0, SRCCOPY);
}

void BlitWhole(HDC dc, int x, int y, TBitmap* b) {
  BitBlt(dc, x, y, b->GetWidth(), b->GetHeight(), b->Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

// The child window of a tab row's scroll arrows, or null.
HWND ArrowsOf(HWND window) { return window ? FindWindowExA(window, nullptr, UPDOWN_CLASSA, nullptr) : nullptr; }

// Skins the scroll arrows with the engine's up-down skinner.
TSkinControl* SkinArrows(TSkinControl* owner, HWND arrows) {
  TComponent* o = owner->Control ? static_cast<TComponent*>(owner->Control) : static_cast<TComponent*>(owner->Form);
  TSkinControl* s = new TSkinUpDown(o);
  s->AttachWindow(arrows, owner->SkinData, owner->Form, owner->Canvas);
  owner->FreeNotification(s);
  return s;
}

}  // namespace

// ---- tab controls ----

TSkinTab::TSkinTab(TComponent* owner)
    : TSkinControl(owner), TabImage(new TBitmap), PaneImage(new TBitmap), Strip(new TBitmap) {}

TSkinTab::~TSkinTab() {
  delete TabImage;
  delete PaneImage;
  delete Strip;
}

void TSkinTab::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, setColour, canvas);
  if (!Control || !WindowHandle) return;
  Enabled = !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
  SkinningOn();
  CloseBoxes = Control->GetTag() == CloseBoxTag && As<TPageControl>(Control) && Position == tpTopTabs;
}

void TSkinTab::AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  TSkinControl::AttachWindow(window, data, form, canvas);
  Enabled = !(GetWindowLongA(window, GWL_STYLE) & WS_DISABLED);
  Focused = GetFocus() == window;
  Caption = GetWindowTextWide(window);
  SkinningOn();
}

void TSkinTab::SkinningOn() {
  PrepareImages();
  FindScroller();
  Active = true;
  UnicodeWindow = IsWindowUnicode(WindowHandle);
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImages();
}

void TSkinTab::Notification(TComponent* c, TOperation op) {
  TSkinControl::Notification(c, op);
  if (op == opRemove && c == Scroller) Scroller = nullptr;
}

void TSkinTab::PrepareImages() {
  const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
  // TCS_BOTTOM and TCS_RIGHT are the same bit: bottom for tabs across, right for tabs upright.
  if (style & TCS_VERTICAL)
    Position = style & TCS_RIGHT ? tpRightTabs : tpLeftTabs;
  else
    Position = style & TCS_BOTTOM ? tpBottomTabs : tpTopTabs;
  TDataSkinBorder* tabs = SkinData ? SkinData->Tabs : nullptr;
  if (!tabs) return;
  const bool newTab = !tabs->Bitmap->Empty();
  if (newTab) Copy24(tabs->Bitmap, TabImage);
  TBitmap* pane = tabs->Style == 0 ? tabs->Bitmap2 : tabs->Style == 1 && SkinData->TabPane ? SkinData->TabPane->Bitmap : nullptr;
  const bool newPane = pane && !pane->Empty();
  if (newPane) Copy24(pane, PaneImage);
  // Only fresh copies are turned: a copy kept from the previous skin is turned already.
  switch (Position) {
    case tpBottomTabs:
      if (newTab) FlipBitmap(TabImage);
      if (newPane) FlipBitmap(PaneImage);
      break;
    case tpLeftTabs:
      if (newPane) RotateBitmapLeft(PaneImage);
      break;
    case tpRightTabs:
      if (newPane) RotateBitmapRight(PaneImage);
      break;
  }
}

HWND TSkinTab::FindScroller() {
  HWND arrows = ArrowsOf(WindowHandle);
  if (!arrows) return nullptr;
  if (!Scroller) Scroller = SkinArrows(this, arrows);
  return GetWindowLongA(arrows, GWL_STYLE) & WS_VISIBLE ? arrows : nullptr;
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return HandleSkinPaint(this, m);
    case WM_LBUTTONDOWN:
      if (CloseBoxes && CloseBoxClick(POINT{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))})) {
        m.Result = 0;
        return false;
      }
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

bool TSkinTab::CloseBoxClick(POINT p) {
  for (size_t i = 0; i < CloseRects.size(); ++i) {
    if (!PtInRect(&CloseRects[i], p)) continue;
    HWND formWindow = Form && Form->WindowHandle ? Form->WindowHandle : GetAncestor(WindowHandle, GA_ROOT);
    if (SendMessageA(formWindow, SM_CLOSETAB, WPARAM(WindowHandle), LPARAM(i)) == 0) {
      // The tab's own page: with hidden tabs the tab index is not the page index.
      auto* pages = As<TPageControl>(Control);
      if (TTabSheet* page = pages ? pages->PageForTab(int(i)) : nullptr) {
        CloseRects.clear();
        page->Free();
      }
    }
    // One box per click: the tabs after a freed page have moved.
    return true;
  }
  return false;
}

void TSkinTab::DrawControl(HDC dc, const RECT& r) {
  Enabled = !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
  RECT p = PaneRect(WindowHandle, r);
  switch (Position) {
    case tpTopTabs: p.top += 1; break;
    case tpBottomTabs: p.bottom -= 1; break;
    case tpLeftTabs: p.left += 1; break;
    case tpRightTabs: p.right -= 1; break;
  }
  const int n = std::max(0, int(SendMessageA(WindowHandle, TCM_GETITEMCOUNT, 0, 0)));
  const int focus = int(SendMessageA(WindowHandle, TCM_GETCURFOCUS, 0, 0));
  HIMAGELIST images = HIMAGELIST(SendMessageA(WindowHandle, TCM_GETIMAGELIST, 0, 0));
  CloseRects.assign(size_t(n), RECT{});
  TDataSkinBorder* tabs = SkinData->Tabs;

  if (tabs && !TabImage->Empty()) DrawStrip(dc, r, p, focus, images);

  if (!PaneImage->Empty()) {
    TSkinMargins margins{4, 5, 4, 4};
    if (tabs && tabs->Style == 1 && SkinData->TabPane) margins = SkinData->TabPane->Margins;
    DrawSkinImage(dc, p, PaneImage, false, 0, false, 1, 1, margins);
    if (Mode == PaintsChildrenMode)
      if (auto* w = As<TWinControl>(Control)) w->PaintControls(dc);
  }
}

void TSkinTab::DrawStrip(HDC dc, const RECT& r, const RECT& p, int focus, HIMAGELIST images) {
  TDataSkinBorder* tabs = SkinData->Tabs;
  RECT s;
  switch (Position) {
    case tpBottomTabs: s = RECT{r.left, p.bottom, r.right, r.bottom}; break;
    case tpLeftTabs: s = RECT{r.left, r.top, p.left, r.bottom}; break;
    case tpRightTabs: s = RECT{p.right, r.top, r.right, r.bottom}; break;
    default: s = RECT{r.left, r.top, r.right, p.top}; break;
  }
  const int sw = s.right - s.left, sh = s.bottom - s.top;
  if (sw <= 0 || sh <= 0) return;
  // Tabs on the left or right are drawn lying, so their captions read along the strip once it is turned.
  const bool lying = Position == tpLeftTabs || Position == tpRightTabs;
  Strip->SetSize(lying ? sh : sw, lying ? sw : sh, pf24bit);
  TCanvas* c = Strip->Canvas();
  HDC sdc = c->GetHandle();
  FillParentColor(sdc, RECT{0, 0, Strip->GetWidth(), Strip->GetHeight()});
  UseWindowFont(c, WindowHandle);
  const int w = Strip->GetWidth();

  ForEachTab(WindowHandle, UnicodeWindow, [&](int i, RECT t, const TTabItem& item) {
    switch (Position) {
      case tpTopTabs: OffsetRect(&t, 0, 1); break;
      case tpBottomTabs: OffsetRect(&t, 0, -(p.bottom + 1)); break;
      case tpLeftTabs: t = RECT{w - t.bottom, t.left, w - t.top, t.right}; break;
      case tpRightTabs: t = RECT{t.top - 1, r.right - t.right, t.bottom - 1, r.right - t.left}; break;
    }
    const int state = i == focus ? 2 : 1;
    DrawSkinImage(sdc, t, TabImage, false, tabs->Tile, tabs->Trans == 1, tabs->FrameCount, state, tabs->Margins);
    if (CloseBoxes && size_t(i) < CloseRects.size()) {
      const RECT box{t.right - 8, t.top + 2, t.right - 2, t.top + 8};
      c->MoveTo(box.left, box.top);
      c->LineTo(box.right, box.top);
      c->LineTo(box.right, box.bottom);
      c->LineTo(box.left, box.bottom);
      c->LineTo(box.left, box.top);
      c->LineTo(box.right, box.bottom);
      c->MoveTo(box.right, box.top);
      c->LineTo(box.left, box.bottom);
      CloseRects[size_t(i)] = box;
    }
    c->Font()->SetColor(state == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2);
    DrawIconCaption(this, c, t, 1, item.Text, item.Image, images);
  });

  if (Position == tpRightTabs) RotateBitmapRight(Strip);
  if (Position == tpLeftTabs) RotateBitmapLeft(Strip);
  // The visible scroll arrows are left out of the copy: their own skinner paints them.
  const int saved = SaveDC(dc);
  if (HWND arrows = FindScroller()) {
    RECT a;
    GetWindowRect(arrows, &a);
    OffsetRect(&a, -WindowRect.left, -WindowRect.top);
    ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
  }
  BlitWhole(dc, s.left, s.top, Strip);
  RestoreDC(dc, saved);
}

// ---- button-style page controls ----

bool TSkinTabBtn::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_PAINT) return HandleSkinPaint(this, m);
  return TSkinControl::BeforeMessage(m);
}

void TSkinTabBtn::DrawControl(HDC dc, const RECT& r) {
  Enabled = Control ? Control->GetEnabled() : !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
  const RECT p = PaneRect(WindowHandle, r);
  const RECT s{r.left, r.top, r.right, p.top + 1};
  TDataSkinButton* b = SkinData->Buttons;
  if (b->Bitmap->Empty() || s.right <= s.left || s.bottom <= s.top) return;
  TBitmap strip;
  strip.SetSize(s.right - s.left, s.bottom - s.top, pf24bit);
  TCanvas* c = strip.Canvas();
  FillFace(c->GetHandle(), RECT{0, 0, strip.GetWidth(), strip.GetHeight()});
  UseWindowFont(c, WindowHandle);
  const int focus = int(SendMessageA(WindowHandle, TCM_GETCURFOCUS, 0, 0));
  HIMAGELIST images = HIMAGELIST(SendMessageA(WindowHandle, TCM_GETIMAGELIST, 0, 0));
  ForEachTab(WindowHandle, Unicode, [&](int i, RECT t, const TTabItem& item) {
    OffsetRect(&t, 0, 1);
    const int state = i == focus ? 2 : 1;
    DrawSkinImage(c->GetHandle(), t, b->Bitmap, false, b->Tile, b->Trans == 1, b->FrameCount, state, b->Margins);
    TColor colour = clBlack;
    if (state == 1 && b->HasNormalColour2) colour = b->NormalColour2;
    if (state == 2 && b->HasPressedColour2) colour = b->PressedColour2;
    c->Font()->SetColor(colour);
    DrawIconCaption(this, c, t, 1, item.Text, item.Image, images);
  });
  BlitWhole(dc, s.left, s.top, &strip);
}

// ---- tab sets ----

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinControl(owner), TabImage(new TBitmap) {}

TSkinTab31::~TSkinTab31() { delete TabImage; }

void TSkinTab31::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached || !BindControl(form, data, setColour, canvas) || !WindowHandle) return;
  // A window subclass rather than the message chain: the tab set paints in its own procedure.
  TSkinControl::AttachWindow(WindowHandle, data, form, canvas);
  PrepareImage();
}

void TSkinTab31::PrepareImage() {
  TDataSkinBorder* tabs = SkinData ? SkinData->Tabs : nullptr;
  if (!tabs || tabs->Bitmap->Empty()) return;
  Copy24(tabs->Bitmap, TabImage);
  FlipBitmap(TabImage);
}

void TSkinTab31::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImage();
}

bool TSkinTab31::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // Passed on afterwards with its update region validated: the tab set paints nothing more.
      HandleSkinPaint(this, m);
      return true;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab31::DrawControl(HDC dc, const RECT& r) {
  TDataSkinBorder* tabs = SkinData->Tabs;
  if (!tabs || TabImage->Empty() || !Control || r.right <= r.left || r.bottom <= r.top) return;
  TBitmap b;
  b.SetSize(r.right - r.left, r.bottom - r.top, pf24bit);
  TCanvas* c = b.Canvas();
  FillFace(c->GetHandle(), RECT{0, 0, b.GetWidth(), b.GetHeight()});
  if (auto* font = As<TFont>(GetObjectPropByName(Control, "Font"))) c->Font()->Assign(font);
  std::vector<std::string> names;
  if (const TPropInfo* p = FindPropInfo(Control, "Tabs"))
    if (p->Kind == pkStrings && p->GetList) names = p->GetList(Control);
  const int selected = GetOrdPropByName(Control, "TabIndex");
  const int first = std::max(0, GetOrdPropByName(Control, "FirstIndex"));
  int x = std::max(0, GetOrdPropByName(Control, "StartMargin"));
  const int limit = r.right - std::max(0, GetOrdPropByName(Control, "EndMargin"));
  const TColor textColour = c->Font()->GetColor();
  for (int i = first; i < int(names.size()); ++i) {
    const std::wstring text = AnsiToWide(names[size_t(i)]);
    HGDIOBJ old = SelectObject(c->GetHandle(), c->Font()->Handle());
    SIZE extent{0, 0};
    GetTextExtentPoint32W(c->GetHandle(), text.c_str(), int(text.size()), &extent);
    SelectObject(c->GetHandle(), old);
    const int w = extent.cx + 9;
    // A tab that does not fit is left out; a narrower one after it may still fit.
    if (x + w > limit) continue;
    const RECT t{x, 0, x + w, r.bottom};
    const int state = i == selected ? 2 : 1;
    DrawSkinImage(c->GetHandle(), t, TabImage, false, tabs->Tile, tabs->Trans == 1, tabs->FrameCount, state, tabs->Margins);
    c->Font()->SetColor(state == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2);
    DrawSkinCaption(this, c, t, DT_CENTER, true, text);
    c->Font()->SetColor(textColour);
    x += w;
  }
  BlitWhole(dc, r.left, r.top, &b);
}

// ---- tab sheets ----

void TSkinTabSheet::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, setColour, canvas);
  if (!Control || FRecoloured) return;
  SavedColour = Control->GetColor();
  Control->SetColor(SkinData->ButtonFace);
  FRecoloured = true;
}

void TSkinTabSheet::Detach() {
  if (Control && FRecoloured) Control->SetColor(SavedColour);
  FRecoloured = false;
  TSkinControl::Detach();
}

void TSkinTabSheet::SkinChanged() {
  if (Control && FRecoloured) Control->SetColor(SkinData->ButtonFace);
  TSkinControl::SkinChanged();
}

bool TSkinTabSheet::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (Mode != 0) return true;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      return HandleSkinPaint(this, m);
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(WindowHandle, &r);
      FillFace(HDC(m.WParam), r);
      m.Result = 1;
      return false;
    }
  }
  return true;
}

void TSkinTabSheet::DrawControl(HDC dc, const RECT& r) {
  FillFace(dc, r);
  // The sheet's own painting was skipped, and with it the painting of its windowless controls.
  if (auto* w = As<TWinControl>(Control)) w->PaintControls(dc);
}

// ---- page controls that take tab backgrounds ----

namespace {
const char* const BackgroundProperties[] = {"TabBackGround", "TabBackGroundActive"};
}  // namespace

void TSkinAdvPage::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, setColour, canvas);
  if (PageMode == BuildBackgroundsMode) BuildBackgrounds();
  Attached = true;
}

void TSkinAdvPage::BuildBackgrounds() {
  TDataSkinBorder* tabs = SkinData ? SkinData->Tabs : nullptr;
  if (!tabs || !Control) return;
  for (int i = 0; i < 2; ++i) {
    auto* target = As<TBitmap>(GetObjectPropByName(Control, BackgroundProperties[i]));
    if (!target) continue;
    std::unique_ptr<TBitmap> b(
        BuildSkinBitmap(RECT{0, 0, 100, 21}, tabs->Bitmap, tabs->Margins, false, tabs->Tile, tabs->FrameCount, i + 1));
    target->Assign(b.get());
  }
}

void TSkinAdvPage::SkinChanged() {
  TSkinControl::SkinChanged();
  if (PageMode == BuildBackgroundsMode) BuildBackgrounds();
}

void TSkinAdvPage::Detach() {
  if (Control)
    for (const char* name : BackgroundProperties)
      if (auto* target = As<TBitmap>(GetObjectPropByName(Control, name))) target->SetSize(0, 0);
  TSkinControl::Detach();
}

void TSkinAdvPage::Notification(TComponent* c, TOperation op) {
  TSkinControl::Notification(c, op);
  if (op == opRemove && c == Scroller) Scroller = nullptr;
}

void TSkinAdvPage::DrawControl(HDC dc, const RECT& r) {
  (void)dc;
  (void)r;
  if (Scroller) return;
  if (HWND arrows = ArrowsOf(WindowHandle)) Scroller = SkinArrows(this, arrows);
}
