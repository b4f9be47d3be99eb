#include "SkinnerControl.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "SkinImageUtils.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"

ORV_DEFINE_CLASS(TSkinControl, TComponent, nullptr, {})

// ---- life ----

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  if (FHook.Installed()) {
    // Freed by its control's own destruction (the owner let go of it first): the control's
    // WindowProc is gone already.
    if (Control && !Owner() && Control->IsDestroying())
      FHook.Abandon();
    else
      FHook.Remove();
  }
  FSubclass.Remove();
  if (Form) Form->UnregisterControl(this);
}

LRESULT TSkinControl::TSkinnerSubclass::SubclassProc(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  try {
    FSkinner->WndProc(m);
  } catch (...) {
    // Nothing of a skinner's work may unwind through the window's procedure.
  }
  return m.Result;
}

// ---- attaching ----

bool TSkinControl::BindControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  Form = form;
  SkinData = data;
  SetColour = setColour;
  Canvas = canvas;
  Control = As<TControl>(Owner());
  if (!Control) return false;
  if (auto* w = As<TWinControl>(Control)) WindowHandle = w->Handle();
  return true;
}

void TSkinControl::TakeFaceColour() {
  if (!SetColour) return;
  SetParentBackground(true);
  SavedColour = Control->GetColor();
  Control->SetColor(SkinData->ButtonFace);
}

void TSkinControl::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached || !BindControl(form, data, setColour, canvas)) return;
  Unicode = WindowHandle && IsWindowUnicode(WindowHandle);
  FHook.Install(Control, [this](TMessage& m) { WndProc(m); });
  if (Form) Form->RegisterControl(this);
  TakeFaceColour();
  if (ParentBackground) Mode = 1;
  Control->Invalidate();
  Attached = true;
  SkinnerState = ssAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) {
  SkinData = data;
  Canvas = canvas;
  Form = form;
  WindowHandle = window;
  Enabled = true;
  Mode = 0;
  if (Form) Form->RegisterControl(this);
  Unicode = IsWindowUnicode(window);
  Caption = GetWindowTextWide(window);
  FSubclass.Install(window);
  InvalidateRect(window, nullptr, TRUE);
  Attached = true;
  SkinnerState = ssAttached;
}

void TSkinControl::Detach() {
  if (!SetColour || !Control) return;
  SetParentBackground(false);
  Control->SetColor(SavedColour);
}

void TSkinControl::SetParentBackground(bool on) {
  if (!SkinData || SkinData->Has(xoParentBackGround) || !Control || !FindPropInfo(Control, "ParentBackground"))
    return;
  if (on) {
    if (LowerText(SafeGetPropText(Control, "ParentBackground")) == "true") {
      FParentBackgroundRemembered = ParentBackground = true;
      SafeSetPropText(Control, "ParentBackground", "False");
    }
  } else if (FParentBackgroundRemembered) {
    SafeSetPropText(Control, "ParentBackground", "True");
  }
}

// ---- messages ----

void TSkinControl::WndProc(TMessage& m) {
  if (m.Msg == SM_SWITCHSKINNER) {
    Active = m.WParam > 0;
    if (Active) Repaint();
    return;
  }
  if (!Active) {
    CallDefault(m);
    return;
  }
  if (BeforeMessage(m)) {
    CallDefault(m);
    AfterMessage(m);
  }
}

void TSkinControl::CallDefault(TMessage& m) {
  if (FHook.Installed())
    FHook.CallSaved(m);
  else if (WindowHandle)
    m.Result = FSubclass.CallPrevious(m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      CallDefault(m);
      Active = false;
      SkinnerState = ssWindowDestroyed;
      Detach();
      return false;
    case SM_ISSKINNED:
      m.Result = 1;
      return false;
  }
  return true;
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_PAINT:
      PaintWindow(HDC(m.WParam));
      break;
    case SM_SWITCHSKINNER:
      Active = m.WParam > 0;
      break;
  }
}

void TSkinControl::Repaint() {
  if (RepaintComponent) {
    RepaintComponent->Invalidate();
  } else if (WindowHandle && IsWindow(WindowHandle)) {
    InvalidateRect(WindowHandle, nullptr, TRUE);
    UpdateWindow(WindowHandle);
  }
}

void TSkinControl::PaintWindow(HDC dc) {
  if (!GetWindowRect(WindowHandle, &WindowRect)) return;
  const RECT r{0, 0, WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top};
  try {
    if (dc) {
      DrawControl(dc, r);
    } else {
      HDC windowDC = GetWindowDC(WindowHandle);
      DrawControl(windowDC, r);
      ReleaseDC(WindowHandle, windowDC);
    }
  } catch (...) {
    // A paint that fails leaves the control as it was.
  }
}

void TSkinControl::SkinChanged() {
  if (SetColour && Control) Control->SetColor(SkinData->ButtonFace);
  Repaint();
}

// ---- the toolkit ----

void TSkinControl::FillFace(HDC dc, const RECT& r) { FillRectColor(dc, r, SkinData->ButtonFace); }

TColor TSkinControl::GetParentColor(TColor def) {
  TControl* parent = Control ? Control->GetParent() : nullptr;
  const int64_t c = parent ? SafeGetOrdProp(parent, "Color") : -1;
  return c == -1 ? def : TColor(c);
}

void TSkinControl::FillParentColor(HDC dc, const RECT& r) { FillRectColor(dc, r, GetParentColor(SkinData->ButtonFace)); }

LONG TSkinControl::GetWindowLongAW(HWND window, int index) {
  return Unicode ? GetWindowLongW(window, index) : GetWindowLongA(window, index);
}

void TSkinControl::DrawCaptionFocus(HDC dc, UINT flags, const RECT& r) {
  RECT box = r;
  DrawTextWide(dc, Caption, box, flags | DT_CALCRECT | DT_NOCLIP);
  const int dw = (r.right - r.left) - (box.right - box.left), dh = (r.bottom - r.top) - (box.bottom - box.top);
  if (flags & DT_CENTER)
    OffsetRect(&box, dw / 2, dh / 2 - 1);
  else if (flags & DT_RIGHT)
    OffsetRect(&box, dw, 0);
  InflateRect(&box, 2, 1);
  IntersectRect(&box, &box, &r);
  ::DrawFocusRect(dc, &box);
}

void TSkinControl::ForwardMouseDown(const TMessage& m) {
  if (!Control) return;
  POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
  if (Control->GetWidth() > 32768 || Control->GetHeight() > 32768) {
    GetCursorPos(&p);
    p = Control->ScreenToClient(p);
  }
  Control->MouseDown(mbLeft, KeysToShiftState(m.WParam), p.x, p.y);
}

void SendMouseLeave(TSkinControl* skinner) {
  if (skinner && skinner->WindowHandle) SendMessageA(skinner->WindowHandle, CM_MOUSELEAVE, 0, 0);
}

bool IsPopupOrTopLevel(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_POPUP) || GetParent(window) == HWND(0x10014);
}

void CopyBitmap(TBitmap* source, TBitmap* target) {
  target->SetPixelFormat(source->GetPixelFormat());
  target->SetSize(source->GetWidth(), source->GetHeight());
  target->Canvas()->Draw(0, 0, source);
}

std::wstring GetWindowTextWide(HWND window) {
  const int n = GetWindowTextLengthW(window) + 1;
  std::wstring text(size_t(n), L'\0');
  const int got = GetWindowTextW(window, text.data(), n);
  text.resize(size_t(std::max(got, 0)));
  return text;
}

std::string GetWindowTextAnsi(HWND window) {
  char buffer[1000] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, LPARAM(buffer));
  return buffer;
}

std::string GetClassNameText(HWND window) {
  char buffer[100] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

std::string LowerText(const std::string& text) {
  std::string s = text;
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

int GetOrdPropByName(TObject* instance, const std::string& name) {
  const TPropInfo* p = instance ? FindPropInfo(instance, name) : nullptr;
  if (!p || p->Kind != pkInteger) return -1;
  return int(SafeGetOrdProp(instance, name));
}

std::string GetEnumPropText(TObject* instance, const std::string& name) {
  return instance ? SafeGetPropText(instance, name) : std::string();
}

std::wstring GetWidePropText(TObject* instance, const std::string& name) {
  return AnsiToWide(instance ? SafeGetPropText(instance, name) : std::string());
}

TObject* GetObjectPropByName(TObject* instance, const std::string& name, const TClassInfo* cls) {
  TObject* o = instance ? SafeGetObjectProp(instance, name) : nullptr;
  return o && (!cls || o->InheritsFrom(*cls)) ? o : nullptr;
}

void SetPropByText(TObject* instance, const std::string& name, const std::string& text) {
  if (instance) SafeSetPropText(instance, name, text);
}

std::wstring ReplaceFirst(const std::wstring& text, const std::wstring& find, const std::wstring& replacement) {
  const size_t at = find.empty() ? std::wstring::npos : text.find(find);
  if (at == std::wstring::npos) return text;
  return text.substr(0, at) + replacement + text.substr(at + find.size());
}

// ---- shared drawing helpers ----

UINT AddRtlReading(TSkinControl* skinner, UINT flags) {
  TObject* target = skinner->RepaintComponent ? static_cast<TObject*>(skinner->RepaintComponent) : skinner->Control;
  if (skinner->Control && GetEnumPropText(skinner->Control, "BiDiMode") == "bdRightToLeft") return flags | DT_RTLREADING;
  if (target && GetEnumPropText(target, "BiDiMode") == "bdRightToLeft") return flags | DT_RTLREADING;
  return flags;
}

bool HandleSkinPaint(TSkinControl* skinner, TMessage& m) {
  HDC dc = HDC(m.WParam);
  PAINTSTRUCT ps{};
  const bool began = !dc;
  if (began) dc = BeginPaint(skinner->WindowHandle, &ps);
  if (GetWindowRect(skinner->WindowHandle, &skinner->WindowRect)) {
    const RECT& w = skinner->WindowRect;
    skinner->DrawControl(dc, RECT{0, 0, w.right - w.left, w.bottom - w.top});
  }
  if (began) EndPaint(skinner->WindowHandle, &ps);
  m.Result = 0;
  return false;
}

void EraseSkinBackground(TSkinControl* skinner, TMessage& m) {
  HDC dc = HDC(m.WParam);
  if (skinner->Control) {
    PaintParentBackground(skinner->Control, dc);
  } else {
    RECT r;
    GetClientRect(skinner->WindowHandle, &r);
    skinner->FillFace(dc, r);
  }
  m.Result = 1;
}

void DrawSkinElement(TSkinControl* skinner, HDC dc, const RECT& r, int frameCount, int frame, TDataSkinObject* element) {
  (void)skinner;
  if (r.right <= r.left || r.bottom <= r.top || !element || element->Bitmap->Empty()) return;
  TBitmap* b = BuildSkinBitmap(r, element->Bitmap, element->Margins, false, element->Tile, frameCount, frame);
  if (element->Trans == 1)
    DrawTransparent(dc, r, b, SkinTransparentColor);
  else
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, b->Canvas()->GetHandle(), 0, 0, SRCCOPY);
  delete b;
}

void DrawImageFrame(TSkinControl* skinner, HDC dc, const RECT& r, int frameCount, int frame, TBitmap* image) {
  (void)skinner;
  if (r.right <= r.left || r.bottom <= r.top || !image || image->Empty()) return;
  DrawSkinFrame(dc, r, image, true, frameCount, frame);
}

void DrawSkinCaption(TSkinControl* skinner, TCanvas* canvas, const RECT& r, UINT align, bool enabled,
                     const std::wstring& text) {
  TSkinCaptionText caption(canvas);
  RECT t = caption.Measure(text, r, align | DT_EXPANDTABS);
  const int tw = t.right - t.left, th = t.bottom - t.top;
  if (align == DT_CENTER) {
    OffsetRect(&t, ((r.right - r.left) - tw) / 2, ((r.bottom - r.top) - th) / 2 - 1);
  } else {
    OffsetRect(&t, 0, ((r.bottom - r.top) - th) / 2 - 1);
    t.left = r.left;
    t.right = r.right;
  }
  caption.Draw(text, t, AddRtlReading(skinner, align | DT_EXPANDTABS), enabled);
}

void DrawIconCaption(TSkinControl* skinner, TCanvas* canvas, const RECT& r, int alignment, const std::wstring& text,
                     int imageIndex, TImageList* images) {
  DrawIconCaption(skinner, canvas, r, alignment, text, imageIndex, images ? images->Handle() : nullptr);
}

void DrawIconCaption(TSkinControl* skinner, TCanvas* canvas, const RECT& r, int alignment, const std::wstring& text,
                     int imageIndex, HIMAGELIST images) {
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  int cx = 0, cy = 0;
  if (images) ImageList_GetIconSize(images, &cx, &cy);
  const bool icon = imageIndex != -1 && images && cx < rw;
  if (!icon) cx = 0;
  HDC dc = canvas->GetHandle();
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetStyle(0);
  HGDIOBJ oldFont = SelectObject(dc, canvas->Font()->Handle());
  RECT t = r;
  if (images && imageIndex != -1) t.right += cx + 2;
  const UINT flags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_WORDBREAK;
  if (text.empty())
    t = RECT{r.left, r.top, r.left, r.top};
  else
    DrawTextWide(dc, text, t, flags | DT_CALCRECT | DT_NOCLIP);
  const int tw = t.right - t.left, th = t.bottom - t.top;
  int x = alignment == 0 ? 3 : alignment == 1 ? (rw - cx - tw) / 2 : rw - cx - tw - 2;
  if (x < 2) x = 1;
  if (icon) ImageList_Draw(images, imageIndex, dc, r.left + x, r.top + (rh - cy) / 2, ILD_TRANSPARENT);
  OffsetRect(&t, x + cx, (rh - th) / 2);
  if (!text.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(skinner->Enabled ? canvas->Font()->GetColor() : clBtnShadow));
    t.left = std::max(t.left, r.left);
    t.right = std::min(t.right, r.right);
    DrawTextWide(dc, text, t, AddRtlReading(skinner, flags));
  }
  SelectObject(dc, oldFont);
}

void DrawArrowGlyph(TCanvas* canvas, int x, int y, int direction) {
  struct TSegment {
    int X1, Y1, X2, Y2;
  };
  // Up: a stub and three nested chevrons; down mirrors it.
  static const TSegment up[] = {{0, 0, 0, -1}, {1, 1, 4, 4},  {0, 1, 3, 4},  {0, 2, 2, 4},
                                {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}};
  static const TSegment down[] = {{0, 3, 0, 4},   {1, 2, 4, -1},  {0, 2, 3, -1}, {0, 1, 2, 0},
                                  {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}};
  // Left and right: a triangle outline from (x, y).
  static const POINT left[] = {{1, 2}, {1, -2}, {-1, 0}, {1, 2}};
  static const POINT right[] = {{-1, 2}, {-1, -2}, {1, 0}, {-1, 2}};
  if (direction == 0 || direction == 1) {
    for (const TSegment& s : direction == 0 ? up : down) {
      canvas->MoveTo(x + s.X1, y + s.Y1);
      canvas->LineTo(x + s.X2, y + s.Y2);
    }
  } else if (direction == 2 || direction == 3) {
    canvas->MoveTo(x, y);
    for (const POINT& p : direction == 2 ? left : right) canvas->LineTo(x + p.x, y + p.y);
  }
}

void UseWindowFont(TCanvas* canvas, HWND window) {
  HFONT font = HFONT(SendMessageA(window, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!font || !GetObjectA(font, sizeof lf, &lf)) GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  canvas->Font()->SetHandle(CreateFontIndirectA(&lf));
}
