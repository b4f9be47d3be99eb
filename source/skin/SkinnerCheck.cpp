#include "SkinnerCheck.h"

#include <vector>

#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

ORV_DEFINE_CLASS(TSkinToggleButton, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinCheckBox, TSkinToggleButton, nullptr, {})
ORV_DEFINE_CLASS(TSkinRadioButton, TSkinToggleButton, nullptr, {})
ORV_DEFINE_CLASS(TSkinObjImage, TSkinControl, nullptr, {})

// ---- frame tables ----

namespace {

// The frames of the four states (unchecked, checked, unchecked disabled, checked disabled) by the
// image's frame count. An 8-frame image is laid out as a 12-frame one without the indeterminate row.
struct TFrameTable {
  int Frames;
  int StateFrame[4];
};
const TFrameTable FrameTables[] = {
    {8, {1, 5, 4, 8}},
    {12, {1, 5, 4, 8}},
};
// The indeterminate state of a 12-frame image: normal and disabled.
constexpr int IndeterminateFrame = 9, IndeterminateDisabledFrame = 12;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

int CheckStateFrame(int frameCount, int state) {
  if (state < 1 || state > 4) return state;
  for (const TFrameTable& t : FrameTables)
    if (t.Frames == frameCount) return t.StateFrame[state - 1];
  return state;
}

// ---- shared by check boxes and radio buttons ----

bool TSkinToggleButton::HasImage() const { return SkinData && SkinData->Buttons && Image() && !Image()->Empty(); }

void TSkinToggleButton::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, setColour, canvas);
  Mode = 0;
  if (!Control) return;
  Mode = HasImage() ? 1 : 0;
  Transparent = Control->GetTag() == TransparentButtonTag || data->Has(xoTransparent);
}

bool TSkinToggleButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      if (Mode != 1) break;
      return HandleSkinPaint(this, m);
    case WM_ERASEBKGND:
      if (!Transparent) break;
      EraseSkinBackground(this, m);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinToggleButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case SM_DATACHANGED:
    // The button's own procedure paints its pushed look straight onto the screen for these.
    case BM_SETSTATE:
    case WM_KEYDOWN:
    case WM_KEYUP:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinToggleButton::DrawControl(HDC dc, const RECT& r) {
  if (!HasImage()) {
    Mode = 0;
    return;
  }
  const int n = FrameCount() > 0 ? FrameCount() : 1;
  const int w = Image()->GetWidth() / n, h = Image()->GetHeight();
  const int frame = FrameIndex();
  const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
  const bool leftText = style & BS_LEFTTEXT;
  const bool rtl = Control && GetEnumPropText(Control, "BiDiMode") == "bdRightToLeft";
  Enabled = !(style & WS_DISABLED);

  const int top = r.top + ((r.bottom - r.top) - h) / 2;
  RECT box, text = r;
  UINT flags;
  if (leftText) {
    box = RECT{r.right - w - RightInset(), top, r.right - RightInset(), top + h};
    text.right = r.right - w - 2 - RightInset();
    flags = rtl ? DT_RTLREADING | DT_RIGHT : 0;
  } else {
    box = RECT{r.left, top, r.left + w, top + h};
    text.left = r.left + w + 2;
    flags = rtl ? DT_RTLREADING : 0;
  }
  if (Mode == 1 && !Transparent) FillFace(dc, r);
  DrawImageFrame(this, dc, box, n, frame, Image());
  if (Mode != 1) return;

  Caption = GetWindowTextWide(WindowHandle);
  if (Control) Caption = GetWidePropText(Control, "Caption");
  const int saved = SaveDC(dc);
  SelectObject(dc, Control->GetFont()->Handle());
  SetTextColor(dc, ColorToRGB(Enabled ? Control->GetFont()->GetColor() : clBtnShadow));
  SetBkColor(dc, ColorToRGB(SkinData->ButtonFace));
  SetBkMode(dc, TRANSPARENT);
  RECT measured = text;
  DrawTextWide(dc, Caption, measured, flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  OffsetRect(&text, 0, ((text.bottom - text.top) - measured.bottom) / 2);
  if (GetFocus() == WindowHandle && !Caption.empty()) DrawCaptionFocus(dc, flags | DT_WORDBREAK | DT_EXPANDTABS, text);
  DrawTextWide(dc, Caption, text, flags | DT_WORDBREAK | DT_EXPANDTABS);
  RestoreDC(dc, saved);
}

// ---- check boxes ----

void TSkinCheckBox::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  DataState = 0;
  TSkinToggleButton::AttachControl(form, data, setColour, canvas);
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
  if (m.Msg == BM_SETCHECK) DataState = int(m.WParam) + 1;
  TSkinToggleButton::AfterMessage(m);
}

TBitmap* TSkinCheckBox::Image() const { return SkinData->Buttons->CheckBitmap; }
int TSkinCheckBox::FrameCount() const { return SkinData->Buttons->CheckFrameCount; }

int TSkinCheckBox::FrameIndex() {
  const LRESULT state = SendMessageA(WindowHandle, BM_GETSTATE, 0, 0);
  int s = state & BST_CHECKED ? 2 : 1;
  if (Control) {
    if (FindPropInfo(Control, "State")) {
      const std::string v = LowerText(GetEnumPropText(Control, "State"));
      if (Contains(v, "uncheck"))
        s = 1;
      else if (Contains(v, "check"))
        s = 2;
      else if (Contains(v, "gray"))
        s = 4;
    } else if (FindPropInfo(Control, "Checked")) {
      s = LowerText(GetEnumPropText(Control, "Checked")) == "true" ? 2 : 1;
    }
    if (FindPropInfo(Control, "DataField") && DataState != 0) s = DataState == 3 ? 4 : DataState;
    if (FindPropInfo(Control, "DataBinding")) s = 1;
  }
  const bool disabled = GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED;
  if (disabled) s += 2;
  const bool indeterminate = state & BST_INDETERMINATE;
  if (indeterminate) s = 4;
  const int n = FrameCount();
  if (n == 12 && indeterminate) return disabled ? IndeterminateDisabledFrame : IndeterminateFrame;
  return CheckStateFrame(n, s);
}

// ---- radio buttons ----

TBitmap* TSkinRadioButton::Image() const { return SkinData->Buttons->RadioBitmap; }
int TSkinRadioButton::FrameCount() const { return SkinData->Buttons->RadioFrameCount; }

int TSkinRadioButton::FrameIndex() {
  int s = SendMessageA(WindowHandle, BM_GETCHECK, 0, 0) & BST_CHECKED ? 2 : 1;
  if (Control && FindPropInfo(Control, "Checked")) s = LowerText(GetEnumPropText(Control, "Checked")) == "true" ? 2 : 1;
  if (GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED) s += 2;
  return CheckStateFrame(FrameCount(), s);
}

// ---- controls with glyph strips of their own ----

namespace {

struct TSlot {
  int Slot, State;  // the strip's slot, the check state whose frame fills it
};
struct TStripPlan {
  int Kind;
  bool Radio;
  int Slots;
  std::vector<TSlot> Filled;
  std::vector<TSlot> FromFifthFrame;  // filled with frame 5 when the image has exactly five frames
};
const TStripPlan StripPlans[] = {
    {1, false, 9, {{0, 1}, {3, 1}, {1, 2}, {4, 2}, {6, 3}, {7, 4}}, {{2, 5}, {5, 5}, {8, 5}}},
    {2, true, 6, {{0, 1}, {2, 1}, {1, 2}, {3, 2}, {4, 3}, {5, 4}}, {}},
    {3, false, 6, {{0, 1}, {3, 1}, {1, 2}, {4, 2}}, {{2, 5}, {5, 5}}},
};

}  // namespace

TSkinObjImage::TSkinObjImage(TComponent* owner) : TSkinControl(owner), Strip(new TBitmap) { Strip->SetPixelFormat(pf24bit); }

TSkinObjImage::~TSkinObjImage() { delete Strip; }

void TSkinObjImage::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached) return;
  BindControl(form, data, setColour, canvas);
  if (Form) Form->RegisterControl(this);
  Attached = true;
  SkinnerState = ssAttached;
  BuildGlyphs();
}

void TSkinObjImage::Detach() {
  if (!Control) return;
  if (Kind == 1 || Kind == 2) {
    SetPropByText(Control, "UseCustomGlyphs", "False");
  } else if (Kind == 3) {
    if (auto* glyph = As<TBitmap>(GetObjectPropByName(GetObjectPropByName(Control, "Properties"), "Glyph")))
      glyph->SetSize(0, 0);
  }
}

void TSkinObjImage::SkinChanged() { BuildGlyphs(); }

void TSkinObjImage::BuildGlyphs() {
  const TStripPlan* plan = nullptr;
  for (const TStripPlan& p : StripPlans)
    if (p.Kind == Kind) plan = &p;
  if (!plan || !Control || !SkinData || !SkinData->Buttons) return;
  TDataSkinButton* b = SkinData->Buttons;
  TBitmap* image = plan->Radio ? b->RadioBitmap : b->CheckBitmap;
  const int n = std::max(1, plan->Radio ? b->RadioFrameCount : b->CheckFrameCount);
  if (image->Empty()) return;
  const int w = image->GetWidth() / n, h = image->GetHeight();
  Strip->SetSize(plan->Slots * w, h);
  HDC dc = Strip->Canvas()->GetHandle();
  FillRectColor(dc, RECT{0, 0, Strip->GetWidth(), h}, SkinTransparentColor);
  auto copy = [&](int slot, int frame) {
    BitBlt(dc, slot * w, 0, w, h, image->Canvas()->GetHandle(), (frame - 1) * w, 0, SRCCOPY);
  };
  for (const TSlot& s : plan->Filled) copy(s.Slot, CheckStateFrame(n, s.State));
  if (n == 5)
    for (const TSlot& s : plan->FromFifthFrame) copy(s.Slot, s.State);

  if (Kind == 1 || Kind == 2) {
    if (auto* glyphs = As<TBitmap>(GetObjectPropByName(Control, "CustomGlyphs"))) {
      glyphs->Assign(Strip);
      SetPropByText(Control, "TransparentColor", "16711935");
      SetPropByText(Control, "UseCustomGlyphs", "False");
      SetPropByText(Control, "UseCustomGlyphs", "True");
    }
  } else if (auto* glyph = As<TBitmap>(GetObjectPropByName(GetObjectPropByName(Control, "Properties"), "Glyph"))) {
    glyph->Assign(Strip);
    glyph->SetTransparentColor(SkinTransparentColor);
    glyph->SetTransparent(false);
  }
}
