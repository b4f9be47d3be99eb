#include "SkinnerButton.h"

#include "SkinImageUtils.h"
#include "SkinnerData.h"

ORV_DEFINE_CLASS(TSkinButton, TSkinControl, nullptr, {})
ORV_DEFINE_CLASS(TSkinBitButton, TSkinButton, nullptr, {})

namespace {

bool HasImage(TSkinData* data) { return data && data->Buttons && !data->Buttons->Bitmap->Empty(); }

}  // namespace

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner), Work(new TBitmap) { Work->SetPixelFormat(pf24bit); }

TSkinButton::~TSkinButton() { delete Work; }

void TSkinButton::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  TSkinControl::AttachControl(form, data, setColour, canvas);
  Mode = 0;
  if (Control) {
    const std::string cls = LowerText(Control->ClassName());
    if (cls.rfind("tfc", 0) == 0 || cls.rfind("tel", 0) == 0) Mode = 1;
    Transparent = Control->GetTag() == TransparentButtonTag || data->Has(xoTransparent);
  }
}

// ---- messages ----

bool TSkinButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return HandleSkinPaint(this, m);
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_TIMER:
      KillTimer(WindowHandle, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control never sees the press: no pressed look of its own, no capture, no click of its own.
      if (GetFocus() != WindowHandle) SetFocus(WindowHandle);
      ShowPressed(true);
      if (Mode == 0 && Control) ForwardMouseDown(m);
      return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      PaintWindow(nullptr);
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        SetFlag(sfPressed, m.Msg == WM_KEYDOWN);
        Repaint();
      }
      break;
    case WM_MOUSEMOVE:
      if (Enabled && !Hot()) {
        SetFlag(sfHot, true);
        Repaint();
      }
      SafeTrackMouseEvent(WindowHandle);
      break;
    case WM_LBUTTONUP:
      if (Pressed()) {
        SetFlag(sfPressed, false);
        Repaint();
        Click();
      }
      break;
    case WM_MOUSELEAVE:
      SetFlag(sfHot, false);
      SetFlag(sfPressed, false);
      Repaint();
      break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
    // The button's own procedure paints straight onto the screen for these.
    case BM_SETSTYLE:
    case BM_SETSTATE:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

// A click the button's own procedure never made (it did not see the press). A dialog's procedure
// expects BN_CLICKED from its button at the dialog, so the notice goes to the parent.
void TSkinButton::Click() {
  if (Control) {
    Control->Click();
    return;
  }
  const HWND parent = GetParent(WindowHandle);
  if (LowerText(GetClassNameText(WindowHandle)) == "tbutton")
    PostMessageA(parent, WM_COMMAND, 0, LPARAM(WindowHandle));
  else
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(WindowHandle), BN_CLICKED), LPARAM(WindowHandle));
}

// ---- painting ----

int TSkinButton::CurrentFrame(bool honourDefault) {
  Focused = GetFocus() == WindowHandle;
  Enabled = !(GetWindowLongA(WindowHandle, GWL_STYLE) & WS_DISABLED);
  const bool isDefault = honourDefault && Control && LowerText(GetEnumPropText(Control, "Default")) == "true";
  if (!Enabled) return bfDisabled;
  if (Pressed()) return bfPressed;
  if (Hot()) return bfHot;
  if (Focused || isDefault) return bfFocused;
  return bfNormal;
}

COLORREF TSkinButton::TextColour(int frame) {
  const TDataSkinButton* b = SkinData->Buttons;
  if (frame == bfDisabled) return ColorToRGB(clGrayText);
  if (frame == bfNormal && b->HasNormalColour2) return ColorToRGB(b->NormalColour2);
  if (frame == bfHot && b->HasMouseOverColour2) return ColorToRGB(b->MouseOverColour2);
  if (frame == bfPressed && b->HasPressedColour2) return ColorToRGB(b->PressedColour2);
  return ColorToRGB(Control ? Control->GetFont()->GetColor() : SkinData->ButtonText);
}

HDC TSkinButton::PrepareWork(const RECT& r, int frame, HGDIOBJ& oldFont, bool element) {
  Work->SetSize(r.right - r.left, r.bottom - r.top);
  HDC dc = Work->Canvas()->GetHandle();
  const RECT whole{0, 0, Work->GetWidth(), Work->GetHeight()};
  if (Transparent && Control)
    PaintParentBackground(Control, dc);
  else
    FillFace(dc, whole);
  if (element) DrawSkinElement(this, dc, whole, 5, frame, SkinData->Buttons);
  HFONT font = Control ? Control->GetFont()->Handle() : HFONT(SendMessageA(WindowHandle, WM_GETFONT, 0, 0));
  oldFont = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, TextColour(frame));
  return dc;
}

void TSkinButton::DrawControl(HDC dc, const RECT& r) {
  if (!HasImage(SkinData)) return;
  const int frame = CurrentFrame(true);
  Caption = Control ? GetWidePropText(Control, "Caption") : GetWindowTextWide(WindowHandle);
  HGDIOBJ oldFont;
  HDC work = PrepareWork(r, frame, oldFont);
  DrawCaption(work, RECT{0, 0, Work->GetWidth(), Work->GetHeight()}, DT_CENTER, Caption);
  BitBlt(dc, r.left, r.top, Work->GetWidth(), Work->GetHeight(), work, 0, 0, SRCCOPY);
  SelectObject(work, oldFont);
}

void TSkinButton::DrawCaption(HDC dc, const RECT& r, UINT alignment, const std::wstring& caption) {
  Caption = ReplaceFirst(caption, L"||", L"\r\n");
  RECT box = r;
  InflateRect(&box, -2, -2);
  SetBkMode(dc, TRANSPARENT);
  DrawTextWide(dc, Caption, box, alignment | DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP);
  OffsetRect(&box, -box.left, -box.top);
  const UINT flags = AddRtlReading(this, alignment | DT_WORDBREAK | DT_EXPANDTABS);
  const int dy = ((r.bottom - r.top) - (box.bottom - box.top)) / 2 - 1;
  if (alignment == DT_CENTER) {
    OffsetRect(&box, ((r.right - r.left) - (box.right - box.left)) / 2, dy);
  } else {
    OffsetRect(&box, 0, dy);
    box.left = r.left;
    box.right = r.right;
  }
  DrawTextWide(dc, Caption, box, flags);
  SetBkMode(dc, OPAQUE);
  if (Focused && !SkinData->Has(xoNoFocusRect)) {
    InflateRect(&box, 2, 2);
    ::DrawFocusRect(dc, &box);
  }
}

// ---- bitmap buttons ----

void TSkinBitButton::DrawControl(HDC dc, const RECT& r) {
  if (!HasImage(SkinData)) return;
  DrawWithPicture(dc, r, !PictureProperty.empty());
}

void TSkinBitButton::DrawPictureButton(HDC dc, const RECT& r) {
  if (!HasImage(SkinData)) return;
  DrawWithPicture(dc, r, true);
}

// One routine for both: a picture button ignores Default, takes its picture from the named property
// and draws it in every state.
void TSkinBitButton::DrawWithPicture(HDC dc, const RECT& r, bool picture) {
  const int frame = CurrentFrame(!picture);
  Caption = ReplaceFirst(Control ? GetWidePropText(Control, "Caption") : GetWindowTextWide(WindowHandle), L"||", L"\r\n");
  const int cell = frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1;
  HGDIOBJ oldFont;
  HDC work = PrepareWork(r, frame, oldFont);
  const int cx = r.right - r.left, cy = r.bottom - r.top;

  auto* glyph = As<TBitmap>(GetObjectPropByName(Control, "Glyph"));
  auto* images = As<TImageList>(GetObjectPropByName(Control, "Images"));
  auto* pic = As<TGraphic>(picture ? GetObjectPropByName(Control, PictureProperty) : nullptr);
  int numGlyphs = GetOrdPropByName(Control, "NumGlyphs");
  if (numGlyphs <= 0) numGlyphs = 1;
  const int imageIndex = picture ? -1 : GetOrdPropByName(Control, "ImageIndex");
  const int disabledIndex = picture ? -1 : GetOrdPropByName(Control, "DisabledIndex");
  const int margin = GetOrdPropByName(Control, "Margin"), spacing = GetOrdPropByName(Control, "Spacing");
  const TGlyphLayout layout = GlyphLayoutOf(Control);
  const bool centred = LowerText(GetEnumPropText(Control, "Alignment")) == "tacenter";

  SIZE g{0, 0};
  if (picture) {
    if (pic && !pic->Empty()) g = SIZE{pic->GetWidth(), pic->GetHeight()};
  } else if (glyph && !glyph->Empty()) {
    g = SIZE{glyph->GetWidth() / numGlyphs, glyph->GetHeight()};
  } else if (images && imageIndex != -1) {
    g = SIZE{images->GetWidth(), images->GetHeight()};
  }
  const SIZE t = MeasureBesideGlyph(work, Caption, SIZE{cx, cy}, g, layout);
  const TGlyphPlacement place = PlaceGlyphAndText(layout, margin, spacing, SIZE{cx, cy}, g, t, centred, 0);
  const POINT gp = place.Glyph, tp = place.Text;
  const UINT flags = place.TextFlags;

  if (picture) {
    if (pic && !pic->Empty()) {
      TBorrowedCanvas c(work);
      c.Canvas.Draw(gp.x, gp.y, pic);
    }
  } else if (glyph && !glyph->Empty()) {
    DrawGlyph(work, gp, numGlyphs, cell, glyph);
  } else if (images) {
    TBorrowedCanvas c(work);
    if (Enabled) {
      if (imageIndex != -1) images->Draw(&c.Canvas, gp.x, gp.y, imageIndex, true);
    } else if (disabledIndex != -1) {
      images->Draw(&c.Canvas, gp.x, gp.y, disabledIndex, false);
    } else if (imageIndex != -1) {
      images->Draw(&c.Canvas, gp.x, gp.y, imageIndex, false);
    }
  }

  RECT box{tp.x, tp.y, tp.x + t.cx, tp.y + t.cy};
  SetBkMode(work, TRANSPARENT);
  if (!Caption.empty()) {
    DrawTextWide(work, Caption, box, picture ? flags : AddRtlReading(this, flags));
    SetBkMode(work, OPAQUE);
    if (Focused && !SkinData->Has(xoNoFocusRect)) {
      InflateRect(&box, 2, 2);
      ::DrawFocusRect(work, &box);
    }
  }
  BitBlt(dc, r.left, r.top, cx, cy, work, 0, 0, SRCCOPY);
  SelectObject(work, oldFont);
}

void TSkinBitButton::DrawGlyph(HDC dc, POINT at, int count, int cell, TBitmap* glyph) {
  if (count < 1) count = 1;
  const int w = glyph->GetWidth() / count, h = glyph->GetHeight();
  if (w <= 0 || h <= 0) return;
  if (cell > count) cell = 1;
  TBitmap one;
  one.SetSize(w, h, pf24bit);
  BitBlt(one.Canvas()->GetHandle(), 0, 0, w, h, glyph->Canvas()->GetHandle(), (cell - 1) * w, 0, SRCCOPY);
  if (cell == 2) GrayBitmap(&one);
  // Transparent as the class library draws glyphs: the colour of the bottom-left pixel.
  const COLORREF key = GetPixel(one.Canvas()->GetHandle(), 0, h - 1);
  TransparentBlt(dc, at.x, at.y, w, h, one.Canvas()->GetHandle(), 0, 0, w, h, key);
}

// ---- a glyph beside a caption ----

TGlyphLayout GlyphLayoutOf(TObject* control) {
  const std::string text = LowerText(GetEnumPropText(control, "Layout"));
  return text == "blglyphright" ? glGlyphRight : text == "blglyphtop" ? glGlyphTop
                                                : text == "blglyphbottom" ? glGlyphBottom : glGlyphLeft;
}

SIZE MeasureBesideGlyph(HDC dc, const std::wstring& caption, SIZE client, SIZE glyph, TGlyphLayout layout) {
  if (caption.empty()) return SIZE{0, 0};
  RECT box{0, 0, client.cx, client.cy};
  InflateRect(&box, -2, -2);
  if (layout == glGlyphLeft || layout == glGlyphRight)
    box.right -= glyph.cx + 2;
  else
    box.bottom -= glyph.cy + 2;
  DrawTextWide(dc, caption, box, DT_CALCRECT | DT_WORDBREAK);
  return SIZE{box.right - box.left, box.bottom - box.top};
}

TGlyphPlacement PlaceGlyphAndText(TGlyphLayout layout, int margin, int spacing, SIZE client, SIZE glyph, SIZE text,
                                  bool centred, int centreShift) {
  TGlyphPlacement p{{0, 0}, {0, 0}, DT_WORDBREAK};
  const bool horizontal = layout == glGlyphLeft || layout == glGlyphRight;
  // One placement for both axes: `along` is the layout's axis, `across` the other.
  LONG POINT::*along = horizontal ? &POINT::x : &POINT::y;
  LONG POINT::*across = horizontal ? &POINT::y : &POINT::x;
  LONG SIZE::*length = horizontal ? &SIZE::cx : &SIZE::cy;
  LONG SIZE::*breadth = horizontal ? &SIZE::cy : &SIZE::cx;
  // Across the axis both are centred.
  p.Glyph.*across = (client.*breadth - glyph.*breadth + 1) / 2;
  p.Text.*across = (client.*breadth - text.*breadth + 1) / 2;
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  const int size = client.*length, gs = glyph.*length, ts = text.*length;
  if (margin == -1 || centred) {
    if (spacing == -1) {
      margin = (size - gs - ts) / 3;
      spacing = margin;
    } else {
      margin = (size - gs - spacing - ts) / 2 + centreShift;
    }
  } else if (spacing == -1) {
    spacing = (size - margin - gs - ts) / 2;
  }
  // Along it, from the near edge (left, top) or back from the far one (right, bottom).
  if (layout == glGlyphLeft || layout == glGlyphTop) {
    p.Glyph.*along = margin;
    p.Text.*along = margin + gs + spacing;
  } else {
    p.Glyph.*along = size - margin - gs;
    p.Text.*along = p.Glyph.*along - spacing - ts;
  }
  if (layout == glGlyphRight)
    p.TextFlags |= DT_RIGHT;
  else if (!horizontal)
    p.TextFlags |= DT_CENTER;
  return p;
}
