#include "SkinnerEdit.h"

#include <commctrl.h>

#include <string>

#include "SkinImageUtils.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

ORV_DEFINE_CLASS(TSkinUpDown, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinEdit, TSkinControl, nullptr, {})

namespace {

RECT Inset(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

bool IsDeviceContext(WPARAM w) {
  const DWORD type = w ? GetObjectType(HGDIOBJ(w)) : 0;
  return type == OBJ_DC || type == OBJ_MEMDC || type == OBJ_METADC || type == OBJ_ENHMETADC;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

enum { udNormal = 1, udPressed = 2, udDisabled = 3 };

}  // namespace

int UpDownFrame(int direction, int state) { return state + 4 * direction - (direction >= 2 ? 8 : 0); }

// ---- up-down ----

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return HandleSkinPaint(this, m);
    case WM_ERASEBKGND:
      if (!Control) {
        RECT c;
        GetClientRect(WindowHandle, &c);
        FillRectColor(HDC(m.WParam), c, clWhite);
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return PressAfterControl(m);  // the value steps first; the pressed half shows after
    case WM_LBUTTONUP:
      SetFlag(sfPressed, false);
      CallDefault(m);
      PaintWindow(nullptr);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

bool TSkinUpDown::HorizontalLayout() const {
  return Horizontal == 1 || (GetWindowLongA(WindowHandle, GWL_STYLE) & UDS_HORZ);
}

int TSkinUpDown::PartState(bool second, int cursor, int half) const {
  if (!Enabled) return udDisabled;
  if (Pressed() && (second ? cursor >= half : cursor < half)) return udPressed;
  return udNormal;
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& bounds) {
  RECT r = bounds;
  if (InEdit) {
    // White under the edit's frame, and the arrows kept 3 pixels inside the edit's window.
    RECT client;
    GetClientRect(WindowHandle, &client);
    FillRectColor(dc, client, clWhite);
    RECT parent;
    if (GetWindowRect(GetParent(WindowHandle), &parent)) {
      const RECT& w = WindowRect;
      if (w.top - parent.top < 3) r.top += 3 - (w.top - parent.top);
      if (parent.bottom - w.bottom < 3) r.bottom -= 3 - (parent.bottom - w.bottom);
      if (parent.right - w.right < 3) r.right -= 3 - (parent.right - w.right);
    }
  }
  const int pw = r.right - r.left, ph = r.bottom - r.top;
  if (pw <= 0 || ph <= 0) return;
  TBitmap work;
  work.SetSize(pw, ph, pf24bit);
  HDC wdc = work.Canvas()->GetHandle();
  FillRectColor(wdc, RECT{0, 0, pw, ph}, SkinData->ButtonFace);
  Enabled = !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(WindowHandle, &cursor);

  struct TPart {
    RECT Rect;
    int Direction;
  };
  const bool horizontal = HorizontalLayout();
  const int half = horizontal ? pw / 2 : ph / 2;
  const TPart parts[2] = {
      horizontal ? TPart{RECT{0, 0, half, ph}, 2} : TPart{RECT{0, 0, pw, half}, 0},
      horizontal ? TPart{RECT{half, 0, pw, ph}, 3} : TPart{RECT{0, half, pw, ph}, 1},
  };
  const int along = horizontal ? cursor.x : cursor.y;
  TDataSkinBorder* e = horizontal ? SkinData->UpDownHorz : SkinData->UpDownVert;
  const bool image = e && !e->Bitmap->Empty();
  for (int i = 0; i < 2; ++i) {
    const TPart& p = parts[i];
    const int state = PartState(i == 1, along, half);
    if (image) {
      const int frames = e->FrameCount > 0 ? e->FrameCount : 8;
      const int frame = UpDownFrame(p.Direction, state);
      DrawSkinFrame(wdc, p.Rect, e->Bitmap, true, frames, frame);
      if (!e->Bitmap2->Empty()) {
        // The glyph at its own cell size, centred in the part.
        const int gw = e->Bitmap2->GetWidth() / frames, gh = e->Bitmap2->GetHeight();
        const int x = p.Rect.left + ((p.Rect.right - p.Rect.left) - gw) / 2;
        const int y = p.Rect.top + ((p.Rect.bottom - p.Rect.top) - gh) / 2;
        DrawSkinFrame(wdc, RECT{x, y, x + gw, y + gh}, e->Bitmap2, true, frames, frame);
      }
      continue;
    }
    TBorrowedCanvas c(wdc);
    c.Canvas.Pen()->SetColor(SkinData->ButtonDkShadow);
    c.Canvas.Brush()->SetColor(state == udPressed ? SkinData->ButtonShadow : SkinData->ButtonFace);
    c.Canvas.Rectangle(p.Rect);
    const int cx = (p.Rect.left + p.Rect.right) / 2, cy = (p.Rect.top + p.Rect.bottom) / 2;
    DrawArrowGlyph(&c.Canvas, cx, p.Direction < 2 ? cy - 2 : cy, p.Direction);
  }
  BitBlt(dc, r.left, r.top, pw, ph, wdc, 0, 0, SRCCOPY);
}

// ---- edit ----

TSkinEdit::~TSkinEdit() {
  if (SpinButtons) SpinButtons->RemoveFreeNotification(this);
}

void TSkinEdit::Notification(TComponent* component, TOperation op) {
  TSkinControl::Notification(component, op);
  if (op == opRemove && component == SpinButtons) SpinButtons = nullptr;
}

// The edit clips a DC it is given to its text and leaves it so: whatever it paints into a caller's DC
// runs between saving and restoring the DC's state, so the frame after it and the caller's own drawing
// see the DC as it was.
void TSkinEdit::CallDefaultKeepingDC(TMessage& m, HDC dc) {
  const int saved = SaveDC(dc);
  CallDefault(m);
  RestoreDC(dc, saved);
}

bool TSkinEdit::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!IsDeviceContext(m.WParam)) break;
      CallDefaultKeepingDC(m, HDC(m.WParam));
      PaintWindow(HDC(m.WParam));
      return false;
    case WM_PRINT:
      if (IsDeviceContext(m.WParam)) {
        CallDefaultKeepingDC(m, HDC(m.WParam));
        PrintFrame(HDC(m.WParam));
      } else {
        CallDefault(m);
        HDC dc = GetWindowDC(WindowHandle);
        PrintFrame(dc);
        ReleaseDC(WindowHandle, dc);
      }
      return false;
    case SM_PAINTEDITTO:
      if (m.LParam != SkinNoticeParam) break;
      CallDefault(m);
      if (IsDeviceContext(m.WParam)) {
        TMessage paint{WM_PAINT, m.WParam, 0, 0};
        CallDefaultKeepingDC(paint, HDC(m.WParam));
      }
      m.Result = SkinNoticeParam;
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::FindSpinButtons() {
  for (HWND c = GetWindow(WindowHandle, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::string cls = LowerText(GetClassNameText(c));
    if (cls != "msctls_updown32" && !Contains(cls, "spin") && !Contains(cls, "updown")) continue;
    // Arrows that another skinner paints already are left to it.
    if (SendMessageA(c, SM_ISSKINNED, 0, 0) == 1) return;
    if (SpinButtons) SpinButtons->RemoveFreeNotification(this);
    auto* spin = new TSkinUpDown(Owner());
    spin->InEdit = true;
    // Arrows of ours laid side by side say so only through their Orientation, not the window's style.
    if (GetEnumPropText(FindVclControl(c), "Orientation") == "orHorizontal") spin->Horizontal = 1;
    spin->AttachWindow(c, SkinData, Form, Canvas);
    SpinButtons = spin;
    spin->FreeNotification(this);
    return;
  }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& r) {
  // Also when the arrows' window was made anew (the old skinner waits for the form skinner's purge).
  if (SkinData->Has(xcSpin) && (!SpinButtons || SpinButtons->SkinnerState == ssWindowDestroyed)) FindSpinButtons();
  RECT client;
  GetClientRect(WindowHandle, &client);
  // An edit without a border keeps its look.
  if (client.right == r.right - r.left || client.bottom == r.bottom - r.top) return;
  FrameRectColor(dc, r, SkinData->ButtonShadow);
  FrameRectColor(dc, Inset(r, 1), clWhite);
  FrameRectColor(dc, Inset(r, 2), clWhite);
}

void TSkinEdit::PrintFrame(HDC dc) {
  if (!GetWindowRect(WindowHandle, &WindowRect)) return;
  const RECT r{0, 0, WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top};
  RECT client;
  GetClientRect(WindowHandle, &client);
  if (client.right + 2 >= r.right || client.bottom + 2 >= r.bottom) return;
  // The inner ring in the brush the caller selected for the print, the outer one in the shadow colour.
  const RECT inner = Inset(r, 1);
  FrameRect(dc, &inner, HBRUSH(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameRectColor(dc, r, SkinData->ButtonShadow);
}
