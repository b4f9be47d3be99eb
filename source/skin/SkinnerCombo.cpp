#include "SkinnerCombo.h"

#include <algorithm>

#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinnerScroll.h"

ORV_DEFINE_CLASS(TSkinComBox, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinDateTime, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TArrowButton, TCustomControl, nullptr, {})

bool SafeGetComboBoxInfo(HWND window, COMBOBOXINFO& info) {
  info = COMBOBOXINFO{};
  info.cbSize = sizeof info;
  const auto fn = OptionalUser32().GetComboBoxInfo;
  return window && fn && fn(window, &info);
}

namespace {

bool IsSimple(LONG style) { return (style & 3) == CBS_SIMPLE; }

// The list's skinner lives and dies with the combo's: the form's list holds one skinner per control.
void KeepToItself(TSkinControl* listSkinner) {
  if (listSkinner->Form) listSkinner->Form->UnregisterControl(listSkinner);
}

// A frame of ButtonShadow with white one pixel further in, unless the control has no border (its client
// area is as wide or as high as its window).
void FrameUnlessBorderless(TSkinControl* s, HDC dc, const RECT& r) {
  RECT client;
  GetClientRect(s->WindowHandle, &client);
  if (client.right == r.right - r.left || client.bottom == r.bottom - r.top) return;
  FrameRectColor(dc, r, s->SkinData->ButtonShadow);
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRectColor(dc, inner, TColor(0xFFFFFF));
}

}  // namespace

// ---- combo boxes ----

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() {
  ReleaseEdit();
  FreeScrollSkinners();
}

void TSkinComBox::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, setColour, canvas);
  if (!Attached) return;
  Style = GetWindowLongA(WindowHandle, GWL_STYLE);
  ListScroll = nullptr;
  COMBOBOXINFO info;
  if (!IsSimple(Style)) {
    if ((Style & CBS_DROPDOWN) && SafeGetComboBoxInfo(WindowHandle, info) && info.hwndList) {
      ListWindow = info.hwndList;
      // Owned by this skinner, so it goes with it whichever of the two windows goes first.
      DropScroll = new TComboxScrollBar(this);
      DropScroll->FreeNotification(this);
      DropScroll->AttachWindow(ListWindow, SkinData, Form, canvas);
      KeepToItself(DropScroll);
    }
    if (!Unicode) SubclassEdit();
    ListWindow = nullptr;
    return;
  }
  if (SafeGetComboBoxInfo(WindowHandle, info) && info.hwndList) {
    ListWindow = info.hwndList;
    const LONG listStyle = GetWindowLongA(ListWindow, GWL_STYLE);
    if ((listStyle & WS_CHILD) && !(listStyle & WS_POPUP) && GetParent(ListWindow) != GetDesktopWindow()) {
      ListScroll = new TSkinScrollbarH(this);
      ListScroll->FreeNotification(this);
      ListScroll->AttachWindow(ListWindow, SkinData, Form, canvas);
      KeepToItself(ListScroll);
    }
  }
}

void TSkinComBox::AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  Style = GetWindowLongAW(window, GWL_STYLE);
  if (!IsSimple(Style) && !Unicode) SubclassEdit();
}

void TSkinComBox::SubclassEdit() {
  EditWindow = GetWindow(WindowHandle, GW_CHILD);
  if (EditWindow) FEditHook.Install(EditWindow);
}

void TSkinComBox::ReleaseEdit() { FEditHook.Remove(); }

void TSkinComBox::FreeScrollSkinners() {
  delete ListScroll;
  delete DropScroll;
  ListScroll = nullptr;
  DropScroll = nullptr;
}

void TSkinComBox::Notification(TComponent* component, TOperation op) {
  TSkinControl::Notification(component, op);
  if (op != opRemove) return;
  if (component == ListScroll) ListScroll = nullptr;
  if (component == DropScroll) DropScroll = nullptr;
}

void TSkinComBox::Detach() {
  TSkinControl::Detach();
  ReleaseEdit();
  for (TSkinControl* s : std::initializer_list<TSkinControl*>{ListScroll, DropScroll})
    if (s && s->SkinnerState != ssWindowDestroyed) s->Detach();
  FreeScrollSkinners();
}

LRESULT TSkinComBox::TEditHook::SubclassProc(UINT msg, WPARAM w, LPARAM l) {
  const LRESULT result = CallPrevious(msg, w, l);
  TSkinComBox* c = FOwner;
  if (!c->Active) return result;
  switch (msg) {
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The edit holds the focus of an editable combo: the frame shows it.
      c->PaintWindow(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      c->ShowPressed(true);
      break;
    case WM_LBUTTONUP:
      c->ShowPressed(false);
      break;
  }
  return result;
}

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CN_COMMAND:
      return;
    case WM_MOUSEMOVE: {
      const POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
      const bool enabled = !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
      const bool inside = PtInRect(&ButtonRect, p);
      if (Hot() ? !inside && enabled : inside && enabled) {
        SetFlag(sfHot, !Hot());
        Repaint();
      }
      return;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Repaint();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFlag(sfPressed, true);
      Repaint();
      return;
    case WM_LBUTTONUP:
      SetFlag(sfPressed, false);
      Repaint();
      return;
    case CM_MOUSELEAVE:
      if (Hot()) {
        SetFlag(sfHot, false);
        Repaint();
      }
      return;
  }
  TSkinControl::AfterMessage(m);
}

int TSkinComBox::StateFrame() const {
  if (!Enabled) return 3;
  if (Pressed()) return 2;
  return Focused || Hot() ? 4 : 1;
}

void TSkinComBox::DrawControl(HDC dc, const RECT& r) {
  TDataSkinBorder* button = SkinData ? SkinData->ComboButton : nullptr;
  if (!button || button->Bitmap->Empty()) return;
  Style = GetWindowLongAW(WindowHandle, GWL_STYLE);
  ExStyle = GetWindowLongAW(WindowHandle, GWL_EXSTYLE);
  if (SafeGetComboBoxInfo(WindowHandle, ComboInfo)) {
    ButtonRect = ComboInfo.rcButton;
    if (ComboInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  Enabled = !(Style & WS_DISABLED);
  const HWND focus = GetFocus();
  Focused = focus && (focus == WindowHandle || IsChild(WindowHandle, focus));
  if (button->Style == 1) {
    DrawPlain(dc, r);
    return;
  }
  const int s = StateFrame();
  const int f = GetSystemMetrics(SM_CXHSCROLL);
  if (ExMode) {
    DrawEx(dc, r, s);
    return;
  }
  if (button->Style == 2) {
    // The whole control is one picture whose text area is transparent.
    TDataSkinObject* e = IsLeftButton() && SkinData->SunkEdge ? SkinData->SunkEdge : button;
    DrawSkinImage(dc, r, e->Bitmap, false, 0, true, e->FrameCount, s, e->Margins);
    return;
  }
  const bool left = IsLeftButton();
  const int saved = SaveDC(dc);
  if (left)
    ExcludeClipRect(dc, r.left + f + 4, r.top + 2, r.right - 2, r.bottom - 2);
  else
    ExcludeClipRect(dc, r.left + 2, r.top + 2, r.right - f - 4, r.bottom - 2);
  const RECT b = left ? RECT{r.left, r.top, r.left + f + 2, r.bottom} : RECT{r.right - f - 2, r.top, r.right, r.bottom};
  const RECT g = left ? RECT{2, r.top, f + 2, r.bottom} : RECT{r.right - f - 2, r.top, r.right - 2, r.bottom};
  if (SkinData->SunkEdge) {
    DrawSkinElement(this, dc, r, SkinData->SunkEdge->FrameCount, s, SkinData->SunkEdge);
    DrawImageFrame(this, dc, b, button->FrameCount, s, left ? button->Bitmap2 : button->Bitmap);
    ButtonRect = b;
    TDataSkinObject* glyph = SkinData->ExtraImages;
    if (glyph && !glyph->Bitmap->Empty()) {
      const int w = glyph->Bitmap->GetWidth() / std::max(glyph->FrameCount, 1), h = glyph->Bitmap->GetHeight();
      const int x = g.left + ((g.right - g.left) - w) / 2, y = g.top + ((g.bottom - g.top) - h) / 2;
      DrawImageFrame(this, dc, RECT{x, y, x + w, y + h}, glyph->FrameCount, s, glyph->Bitmap);
    }
  }
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawPlain(HDC dc, const RECT& r) {
  TDataSkinBorder* button = SkinData->ComboButton;
  const int s = StateFrame();
  const int frames = std::max(button->FrameCount, 1);
  const int w = button->Bitmap->GetWidth() / frames, g = GetSystemMetrics(SM_CYVTHUMB);
  const bool left = IsLeftButton();
  HBRUSH brush = HBRUSH(GetCurrentObject(dc, OBJ_BRUSH));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, brush);
  // A strip of the given width two pixels inside the frame, at the button's side.
  auto buttonStrip = [&](int width) {
    RECT strip = r;
    InflateRect(&strip, -2, -2);
    if (left)
      strip.right = strip.left + width;
    else
      strip.left = strip.right - width;
    return strip;
  };
  const RECT area = buttonStrip(g);
  FillRect(dc, &area, brush);
  RECT b = buttonStrip(w);
  if (button->Bitmap->GetHeight() < g) b.bottom = b.top + button->Bitmap->GetHeight();
  FrameRectColor(dc, r, SkinData->ButtonShadow);
  ButtonRect = b;
  DrawImageFrame(this, dc, b, frames, s, button->Bitmap);
}

void TSkinComBox::DrawEx(HDC dc, const RECT& r, int frame) {
  FrameUnlessBorderless(this, dc, r);
  if (!EditWindow || !SkinData->ComboArrow) return;
  RECT e;
  GetWindowRect(EditWindow, &e);
  RECT w;
  GetWindowRect(WindowHandle, &w);
  OffsetRect(&e, -w.left, -w.top);
  FillFace(dc, e);
  DrawImageFrame(this, dc, e, SkinData->ComboArrow->FrameCount, frame, SkinData->ComboArrow->Bitmap);
}

// ---- date-time pickers ----

TSkinDateTime::~TSkinDateTime() { delete Arrow; }

void TSkinDateTime::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, setColour, canvas);
  auto* picker = As<TWinControl>(Control);
  if (!Attached || !picker) return;
  Arrow = new TArrowButton(this);
  Arrow->AttachArrow(this, picker);
}

void TSkinDateTime::Detach() {
  TSkinControl::Detach();
  if (SkinnerState != ssWindowDestroyed) {
    delete Arrow;
    Arrow = nullptr;
  }
}

void TSkinDateTime::AfterMessage(TMessage& m) {
  if (m.Msg == WM_SIZE && Arrow) {
    Arrow->Invalidate();
    return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinDateTime::DrawControl(HDC dc, const RECT& r) {
  if (Arrow) Arrow->PlaceArrow(r);
  FrameUnlessBorderless(this, dc, r);
}

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner), ArrowWidth(GetSystemMetrics(SM_CXHSCROLL)) {
  FTabStop = false;
  SetControlStyle(ControlStyle() & ~(csCaptureMouse | csDoubleClicks));
}

void TArrowButton::AttachArrow(TSkinDateTime* skinner, TWinControl* picker) {
  Skinner = skinner;
  Picker = picker;
  PickerWindow = picker->Handle();
  SetParentWindow(PickerWindow);
  const bool left = GetWindowLongA(PickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  SetBounds(left ? 2 : picker->GetWidth() - ArrowWidth - 4, 0, ArrowWidth, picker->GetHeight() - 4);
  // The picker must not paint over the button.
  SetWindowLongA(PickerWindow, GWL_STYLE, GetWindowLongA(PickerWindow, GWL_STYLE) | WS_CLIPCHILDREN);
  HandleNeeded();
}

void TArrowButton::PlaceArrow(const RECT& r) {
  const bool left = GetWindowLongA(PickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  const int x = left ? 2 : r.right - ArrowWidth - 4;
  if (x != GetLeft()) SetLeft(x);
}

void TArrowButton::Paint() {
  RECT picker{};
  ::GetClientRect(PickerWindow, &picker);
  const RECT d{0, 0, GetWidth(), picker.bottom - 4};
  HDC dc = Canvas()->GetHandle();
  TSkinData* data = Skinner ? Skinner->SkinData : nullptr;
  if (!data) return;
  FillRectColor(dc, d, data->ButtonFace);
  TDataSkinObject* arrow = data->ComboArrow;
  if (arrow && !arrow->Bitmap->Empty()) DrawSkinFrame(dc, d, arrow->Bitmap, false, arrow->FrameCount, Hot ? 4 : 1);
}

void TArrowButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      if (IsWindowEnabled(PickerWindow)) {
        Hot = m.Msg == CM_MOUSEENTER;
        Invalidate();
      }
      return;
    case WM_LBUTTONDOWN: {
      TCustomControl::WndProc(m);
      // The picker opens its calendar as if its own button had been pressed.
      const LPARAM at = MAKELPARAM(short(LOWORD(m.LParam)) + GetLeft(), short(HIWORD(m.LParam)) + GetTop());
      PostMessageA(PickerWindow, WM_LBUTTONDOWN, m.WParam, at);
      PostMessageA(PickerWindow, WM_LBUTTONUP, m.WParam, at);
      Invalidate();
      return;
    }
    case WM_LBUTTONUP:
      TCustomControl::WndProc(m);
      if (IsWindow(PickerWindow)) ::SetFocus(PickerWindow);
      return;
  }
  TCustomControl::WndProc(m);
}
