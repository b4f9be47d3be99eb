#include "SkinnerMenuButton.h"

#include "SkinImageUtils.h"
#include "SkinnerData.h"

ORV_DEFINE_CLASS(TSkinMenuButton, TSkinButton, nullptr, {})
ORV_DEFINE_CLASS(TSkinSpeedButton, TSkinBitButton, nullptr, {})

namespace {

bool HasButtonImage(TSkinData* data) { return data && data->Buttons && !data->Buttons->Bitmap->Empty(); }

bool IsTrue(TObject* control, const char* property) {
  return LowerText(GetEnumPropText(control, property)) == "true";
}

}  // namespace

// ---- menu buttons ----

int TSkinMenuButton::MenuFrame() {
  Focused = GetFocus() == WindowHandle;
  Enabled = !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
  if (!Enabled) return bfDisabled;
  if (Pressed()) return bfPressed;
  return Focused || Hot() ? bfHot : bfNormal;
}

RECT TSkinMenuButton::CaptionBox(int w, int h, SIZE text) {
  const int x = (w - ArrowRoom - text.cx) / 2 + 2, y = (h - text.cy + 1) / 2;
  return RECT{x, y, x + text.cx, y + text.cy};
}

void TSkinMenuButton::ArrowCorners(int w, int h, POINT corners[3]) {
  const int ay = h / 2 + 2;
  corners[0] = POINT{w - 12, ay};
  corners[1] = POINT{w - 15, ay - 3};
  corners[2] = POINT{w - 9, ay - 3};
}

void TSkinMenuButton::DrawControl(HDC dc, const RECT& r) {
  if (!HasButtonImage(SkinData)) return;
  const int frame = MenuFrame();
  Caption = ReplaceFirst(Control ? GetWidePropText(Control, "Caption") : GetWindowTextWide(WindowHandle), L"||",
                         L"\r\n");
  HGDIOBJ oldFont;
  HDC work = PrepareWork(r, frame, oldFont);
  const int w = r.right - r.left, h = r.bottom - r.top;

  SIZE text{0, 0};
  if (!Caption.empty()) {
    RECT m{2, 2, w - ArrowRoom - 2, h - 2};
    DrawTextWide(work, Caption, m, DT_CALCRECT | DT_WORDBREAK);
    text = SIZE{m.right - m.left, m.bottom - m.top};
  }
  RECT box = CaptionBox(w, h, text);
  // The skin's colours for the caption; the arrow in the window text colour; both shadowed when disabled.
  const COLORREF ink = ColorToRGB(Enabled ? clWindowText : clBtnShadow);
  SetTextColor(work, Enabled ? TextColour(frame) : ColorToRGB(clBtnShadow));

  POINT corners[3];
  ArrowCorners(w, h, corners);
  HBRUSH brush = CreateSolidBrush(ink);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ oldBrush = SelectObject(work, brush), oldPen = SelectObject(work, pen);
  Polygon(work, corners, 3);
  SelectObject(work, oldBrush);
  SelectObject(work, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);

  SetBkMode(work, TRANSPARENT);
  DrawTextWide(work, Caption, box, DT_WORDBREAK);
  SetBkMode(work, OPAQUE);
  if (Focused && !SkinData->Has(xoNoFocusRect)) {
    InflateRect(&box, 2, 2);
    ::DrawFocusRect(work, &box);
  }
  BitBlt(dc, r.left, r.top, w, h, work, 0, 0, SRCCOPY);
  SelectObject(work, oldFont);
}

// ---- speed buttons ----

void TSkinSpeedButton::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  (void)setColour;
  AttachSpeedButton(form, data, canvas);
}

void TSkinSpeedButton::AttachSpeedButton(TSkinnerForm* form, TSkinData* data, TCanvas* canvas) {
  // The push buttons' attachment: the hook in front of WindowProc, the registration and the
  // transparency flag (Tag 5555 or xoTransparent). Without a window, the button itself is repainted.
  TSkinButton::AttachControl(form, data, false, canvas);
  RepaintComponent = Control;
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // From the parent, with its DC moved to the button's place.
      if (m.WParam && Control) DrawControl(HDC(m.WParam), Control->GetClientRect());
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return PressAfterControl(m);  // capture, OnMouseDown and the click on the release are the button's
    case WM_LBUTTONUP:
    // Without a window there is no timer of the button's own to stop.
    case WM_TIMER:
      return true;
  }
  return TSkinBitButton::BeforeMessage(m);
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
      break;
    case WM_NCDESTROY:
    case CM_RELEASE:
      // The button goes: from now on every message passes straight on, and the form skinner's next
      // purge takes the hook away with the skinner.
      Active = false;
      SkinnerState = ssWindowDestroyed;
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        SetFlag(sfPressed, m.Msg == WM_KEYDOWN);
        PaintWindow(nullptr);
      }
      break;
    case WM_LBUTTONUP:
      ShowPressed(false);
      break;
    case CM_MOUSEENTER:
      SetFlag(sfHot, true);
      PaintWindow(nullptr);
      break;
    case CM_MOUSELEAVE:
      SetFlag(sfHot, false);
      SetFlag(sfPressed, false);
      if (Control && Control->GetVisible()) PaintWindow(nullptr);
      break;
    default:
      TSkinBitButton::AfterMessage(m);
  }
}

void TSkinSpeedButton::PaintWindow(HDC dc) {
  (void)dc;
  auto* button = As<TGraphicControl>(Control);
  auto* canvas = button ? dynamic_cast<TControlCanvas*>(button->Canvas()) : nullptr;
  if (!canvas || !button->Showing()) return;
  HDC target = canvas->GetHandle();
  if (!target) return;
  try {
    DrawControl(target, button->GetClientRect());
  } catch (...) {
    // A paint that fails leaves the button as it was.
  }
  canvas->FreeHandle();
}

int TSkinSpeedButton::ElementFrame() {
  Enabled = !Control || Control->GetEnabled();
  FDown = IsTrue(Control, "Down");
  if (FDown) return bfPressed;
  if (!Enabled) return bfDisabled;
  if (Pressed()) return bfPressed;
  return Hot() ? bfHot : bfNormal;
}

bool TSkinSpeedButton::DrawsElement(int frame) const {
  return frame == bfPressed || frame == bfHot || !IsTrue(Control, "Flat");
}

void TSkinSpeedButton::DrawControl(HDC dc, const RECT& r) {
  if (!HasButtonImage(SkinData) || Painting || !Control) return;
  Painting = true;
  try {
    DrawSpeedButton(dc, r);
  } catch (...) {
    Painting = false;
    throw;
  }
  Painting = false;
}

void TSkinSpeedButton::DrawSpeedButton(HDC dc, const RECT& r) {
  const int frame = ElementFrame();
  const int cell = GlyphCell(frame);
  const int cx = r.right - r.left, cy = r.bottom - r.top;
  if (cx <= 0 || cy <= 0) return;
  Caption = ReplaceFirst(GetWidePropText(Control, "Caption"), L"||", L"\r\n");
  const bool picture = !PictureProperty.empty();
  auto* glyph = As<TBitmap>(picture ? nullptr : GetObjectPropByName(Control, "Glyph"));
  auto* pic = As<TGraphic>(picture ? GetObjectPropByName(Control, PictureProperty) : nullptr);
  int numGlyphs = GetOrdPropByName(Control, "NumGlyphs");
  if (numGlyphs <= 0) numGlyphs = 1;

  HGDIOBJ oldFont;
  HDC work = PrepareWork(r, frame, oldFont, DrawsElement(frame));
  SetTextColor(work, Enabled ? TextColour(frame) : ColorToRGB(clBtnShadow));

  SIZE g{0, 0};
  if (pic && !pic->Empty())
    g = SIZE{pic->GetWidth(), pic->GetHeight()};
  else if (glyph && !glyph->Empty())
    g = SIZE{glyph->GetWidth() / numGlyphs, glyph->GetHeight()};

  if (g.cx == 0 && g.cy == 0) {
    DrawCaption(work, RECT{0, 0, cx, cy}, DT_CENTER, Caption);
  } else {
    const TGlyphLayout layout = GlyphLayoutOf(Control);
    const SIZE t = MeasureBesideGlyph(work, Caption, SIZE{cx, cy}, g, layout);
    const TGlyphPlacement place = PlaceGlyphAndText(layout, GetOrdPropByName(Control, "Margin"),
                                                    GetOrdPropByName(Control, "Spacing"), SIZE{cx, cy}, g, t, false, 1);
    if (pic) {
      TBorrowedCanvas c(work);
      c.Canvas.Draw(place.Glyph.x, place.Glyph.y, pic);
    } else {
      DrawGlyph(work, place.Glyph, numGlyphs, cell, glyph);
    }
    RECT box{place.Text.x, place.Text.y, place.Text.x + t.cx, place.Text.y + t.cy};
    SetBkMode(work, TRANSPARENT);
    DrawTextWide(work, Caption, box, AddRtlReading(this, place.TextFlags));
    SetBkMode(work, OPAQUE);
  }
  BitBlt(dc, r.left, r.top, cx, cy, work, 0, 0, SRCCOPY);
  SelectObject(work, oldFont);
}
