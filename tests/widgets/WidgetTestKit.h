// Helpers of the widget tests: a shown test form, mouse input routed as the system routes it (to the
// capture window, else to the window under the point), and pictures of what a control paints.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "Forms.h"
#include "Graphics.h"

namespace wtk {

// A borderless form at a fixed screen place, shown and brought to the front.
inline TForm* ShowTestForm(int left = 100, int top = 100, int width = 320, int height = 240) {
  auto* form = new TForm(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(left, top, width, height);
  form->SetColor(clWhite);
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  Application->ProcessMessages();
  return form;
}

// Sends a mouse message for a screen point the way the system would deliver it.
inline void SendMouse(UINT msg, WPARAM keys, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  HWND target = GetCapture();
  if (!target) target = WindowFromPoint(screen);
  ASSERT_NE(target, nullptr);
  POINT c = screen;
  ScreenToClient(target, &c);
  SendMessageA(target, msg, keys, MAKELPARAM(c.x, c.y));
}

inline POINT ScreenPointOf(TControl* c, int x, int y) { return c->ClientToScreen(POINT{x, y}); }

// What a windowed control paints, in a 24-bit bitmap of its size.
class TShot {
public:
  explicit TShot(TWinControl* c) {
    FBitmap.SetPixelFormat(pf24bit);
    FBitmap.SetSize(c->GetWidth(), c->GetHeight());
    c->Perform(WM_PAINT, WPARAM(FBitmap.Canvas()->GetHandle()), 0);
  }
  TColor At(int x, int y) { return FBitmap.Canvas()->GetPixel(x, y) & 0xFFFFFF; }
  int Width() const { return FBitmap.GetWidth(); }
  int Height() const { return FBitmap.GetHeight(); }
  // Bounding box of the pixels that satisfy `match`; empty (0,0,0,0) when none does.
  RECT BoxOf(const std::function<bool(TColor)>& match) {
    RECT r{Width(), Height(), -1, -1};
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        if (match(At(x, y))) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x + 1);
          r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    if (r.right < 0) return RECT{0, 0, 0, 0};
    return r;
  }
  int Count(TColor c) {
    int n = 0;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) n += At(x, y) == c;
    return n;
  }
  TBitmap& Bitmap() { return FBitmap; }

private:
  TBitmap FBitmap;
};

// A 24-bit bitmap filled with one colour.
inline TBitmap* SolidBitmap(int w, int h, TColor c) {
  auto* b = new TBitmap;
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetStyle(bsSolid);
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(RECT{0, 0, w, h});
  return b;
}

inline void SetPictureTo(TPicture* p, int w, int h, TColor c) {
  TBitmap* b = SolidBitmap(w, h, c);
  p->Assign(b);
  delete b;
}

}  // namespace wtk
