#include "SkinImageUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "Controls.h"
#include "Strings.h"

namespace {

int Red(COLORREF c) { return GetRValue(c); }
int Green(COLORREF c) { return GetGValue(c); }
int Blue(COLORREF c) { return GetBValue(c); }

COLORREF Resolve(TColor c) { return c < 0 ? GetSysColor(c & 0xFF) : COLORREF(c); }

uint8_t* Pixel24(TBitmap* b, int x, int y) { return static_cast<uint8_t*>(b->ScanLine(y)) + 3 * x; }

// Frame geometry of a skin image: the source rectangle of frame n (1-based, kept inside 1..count).
struct TFrame {
  int X, Y, W, H;
};
TFrame FrameOf(TBitmap* image, bool vertical, int count, int n) {
  count = std::max(count, 1);
  n = std::clamp(n, 1, count);
  if (vertical) {
    const int h = image->GetHeight() / count;
    return {0, (n - 1) * h, image->GetWidth(), h};
  }
  const int w = image->GetWidth() / count;
  return {(n - 1) * w, 0, w, image->GetHeight()};
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

TBitmap* NewBitmap(int w, int h) {
  auto* b = new TBitmap;
  b->SetSize(std::max(w, 0), std::max(h, 0), pf24bit);
  if (!b->Empty()) SetStretchBltMode(b->Canvas()->GetHandle(), COLORONCOLOR);
  return b;
}

void Stretch(HDC dest, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  StretchBlt(dest, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
}

void Blit(HDC dc, const RECT& r, TBitmap* b, bool transparent) {
  if (transparent)
    DrawTransparent(dc, r, b, SkinTransparentColor);
  else
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, b->Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

bool Usable(TBitmap* image) { return image && !image->Empty(); }

struct TGradientCache {
  std::vector<TColor> Slots[GradientSlots];
  int Next = 0;
};
TGradientCache& Cache() {
  static TGradientCache cache;
  return cache;
}

}  // namespace

// ---- colours and gradients ----

TColor MixColors(TColor a, TColor b, int w) {
  const COLORREF ca = Resolve(a), cb = Resolve(b);
  const int s = w < 100 ? 100 : 1000;
  auto mix = [&](int x, int y) { return ((x * w + y * (s - w) + s / 2) / s) & 0xFF; };
  return TColor(RGB(mix(Red(ca), Red(cb)), mix(Green(ca), Green(cb)), mix(Blue(ca), Blue(cb))));
}

int ColorSaturation(TColor c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  if (r < 160 && g < 160 && b < 160) return 200;
  const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double saturation = mx == 0 ? 0.0 : double(mx - mn) / mx;
  return int(RoundHalfEven(saturation * 255));
}

int MakeGradient(int count, TColor from, TColor to) {
  if (count <= 0) throw Exception("Assertion failure");
  TGradientCache& cache = Cache();
  const int slot = cache.Next;
  cache.Next = (cache.Next + 1) % GradientSlots;
  std::vector<TColor>& colours = cache.Slots[slot];
  colours.assign(size_t(count), 0);
  const int f[3] = {Red(COLORREF(from)), Green(COLORREF(from)), Blue(COLORREF(from))};
  const int d[3] = {Red(COLORREF(to)) - f[0], Green(COLORREF(to)) - f[1], Blue(COLORREF(to)) - f[2]};
  const int m = count - 1;
  for (int i = 0; i <= m; ++i) {
    int c[3];
    for (int k = 0; k < 3; ++k) c[k] = (f[k] + (m == 0 ? d[k] / 2 : (d[k] * i + m / 2) / m)) & 0xFF;
    colours[size_t(i)] = TColor(RGB(c[0], c[1], c[2]));
  }
  return slot;
}

int FindGradient(int count, TColor from, TColor to) {
  if (count <= 0) throw Exception("Assertion failure");
  const TGradientCache& cache = Cache();
  for (int slot = GradientSlots - 1; slot >= 0; --slot) {
    const std::vector<TColor>& c = cache.Slots[slot];
    if (int(c.size()) == count && c.front() == from && c.back() == to) return slot;
  }
  return -1;
}

int GetGradient(int count, TColor from, TColor to) {
  const int slot = FindGradient(count, from, to);
  return slot >= 0 ? slot : MakeGradient(count, from, to);
}

const std::vector<TColor>& GradientColors(int slot) { return Cache().Slots[std::clamp(slot, 0, GradientSlots - 1)]; }

void FillGradient(HDC dc, const RECT& r, TColor from, bool vertical, TColor to) {
  if (!RectVisible(dc, &r)) return;
  from = TColor(ColorToRGB(from));
  to = TColor(ColorToRGB(to));
  const int n = vertical ? r.bottom - r.top : r.right - r.left;
  if (n <= 0) return;
  RECT clip;
  GetClipBox(dc, &clip);
  const int first = std::max(0, int(vertical ? clip.top - r.top : clip.left - r.left));
  const int last = std::min(n - 1, int(vertical ? clip.bottom - r.top - 1 : clip.right - r.left - 1));
  const std::vector<TColor> colours = GradientColors(GetGradient(n, from, to));
  for (int i = first; i <= last; ++i) {
    RECT band = vertical ? RECT{r.left, r.top + i, r.right, r.top + i + 1} : RECT{r.left + i, r.top, r.left + i + 1, r.bottom};
    HBRUSH brush = CreateSolidBrush(COLORREF(colours[size_t(i)]));
    ::FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

// ---- whole-bitmap transformations ----

void GrayBitmap(TBitmap* bitmap) {
  if (!Usable(bitmap)) return;
  bitmap->SetPixelFormat(pf24bit);
  for (int y = 0; y < bitmap->GetHeight(); ++y)
    for (int x = 0; x < bitmap->GetWidth(); ++x) {
      uint8_t* p = Pixel24(bitmap, x, y);
      p[0] = p[1] = p[2] = uint8_t((p[0] + p[1] + p[2]) / 3);
    }
}

void RecolorMagenta(TBitmap* bitmap, TColor colour) {
  if (!Usable(bitmap)) return;
  // A system colour is resolved first; its raw value would paint a meaningless dark red.
  const COLORREF c = ColorToRGB(colour);
  bitmap->SetPixelFormat(pf24bit);
  for (int y = 0; y < bitmap->GetHeight(); ++y)
    for (int x = 0; x < bitmap->GetWidth(); ++x) {
      uint8_t* p = Pixel24(bitmap, x, y);
      if (p[2] == 255 && p[1] == 0 && p[0] == 255) {
        p[2] = GetRValue(c);
        p[1] = GetGValue(c);
        p[0] = GetBValue(c);
      }
    }
}

namespace {
// Builds a 24-bit bitmap of the given size whose pixel (x, y) comes from the source's pixel map(x, y).
template <class Map>
void Remap(TBitmap* bitmap, int w, int h, Map map) {
  bitmap->SetPixelFormat(pf24bit);
  TBitmap result;
  result.SetSize(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const POINT s = map(x, y);
      std::copy_n(Pixel24(bitmap, s.x, s.y), 3, Pixel24(&result, x, y));
    }
  bitmap->Assign(&result);
}
}  // namespace

void MirrorBitmap(TBitmap* bitmap) {
  if (!Usable(bitmap)) return;
  const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  Remap(bitmap, w, h, [&](int x, int y) { return POINT{w - 1 - x, y}; });
}

void FlipBitmap(TBitmap* bitmap) {
  if (!Usable(bitmap)) return;
  const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  Remap(bitmap, w, h, [&](int x, int y) { return POINT{x, h - 1 - y}; });
}

void RotateBitmapLeft(TBitmap* bitmap) {
  if (!Usable(bitmap)) return;
  const int w = bitmap->GetWidth();
  // Source (x, y) lands at (y, w - 1 - x).
  Remap(bitmap, bitmap->GetHeight(), w, [&](int x, int y) { return POINT{w - 1 - y, x}; });
}

void RotateBitmapRight(TBitmap* bitmap) {
  if (!Usable(bitmap)) return;
  const int h = bitmap->GetHeight();
  // Source (x, y) lands at (h - 1 - y, x).
  Remap(bitmap, h, bitmap->GetWidth(), [&](int x, int y) { return POINT{y, h - 1 - x}; });
}

// ---- skin images ----

TBitmap* BuildSkinBitmap(const RECT& dest, TBitmap* image, TSkinMargins m, bool vertical, int tile, int frameCount,
                         int frame) {
  const int W = dest.right - dest.left, H = dest.bottom - dest.top;
  TBitmap* result = NewBitmap(W, H);
  if (result->Empty() || !Usable(image)) return result;
  const TFrame f = FrameOf(image, vertical, frameCount, frame);
  if (f.W <= 0 || f.H <= 0) return result;
  if (W < m.Left + m.Right) m.Left = m.Right = 0;
  if (H < m.Top + m.Bottom) m.Top = m.Bottom = 0;
  const int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  HDC d = result->Canvas()->GetHandle();
  HDC s = image->Canvas()->GetHandle();
  // Destination piece, then its source inside the frame.
  auto piece = [&](int dl, int dt, int dr, int db, int sl, int st, int sr, int sb) {
    Stretch(d, dl, dt, dr - dl, db - dt, s, f.X + sl, f.Y + st, sr - sl, sb - st);
  };
  if (L * T > 0) piece(0, 0, L, T, 0, 0, L, T);
  if (L * B > 0) piece(0, H - B, L, H, 0, f.H - B, L, f.H);
  if (R * T > 0) piece(W - R, 0, W, T, f.W - R, 0, f.W, T);
  if (L > 0) piece(0, T, L, H - B, 0, T, L, f.H - B);
  if (T > 0) piece(L, 0, W - R, T, L, 0, f.W - R, T);
  const int cw = f.W - L - R, ch = f.H - T - B;
  if (tile == 0) {
    piece(L, T, W - R, H - B, L, T, f.W - R, f.H - B);
  } else if (cw > 0 && ch > 0) {
    std::unique_ptr<TBitmap> tileBitmap(NewBitmap(cw, ch));
    BitBlt(tileBitmap->Canvas()->GetHandle(), 0, 0, cw, ch, s, f.X + L, f.Y + T, SRCCOPY);
    HDC t = tileBitmap->Canvas()->GetHandle();
    for (int y = T; y < H - B; y += ch)
      for (int x = L; x < W - R; x += cw) BitBlt(d, x, y, cw, ch, t, 0, 0, SRCCOPY);
  }
  if (R * B > 0) piece(W - R, H - B, W, H, f.W - R, f.H - B, f.W, f.H);
  if (R > 0) piece(W - R, T, W, H - B, f.W - R, T, f.W, f.H - B);
  if (B > 0) piece(L, H - B, W - R, H, L, f.H - B, f.W - R, f.H);
  return result;
}

void DrawSkinImage(HDC dc, const RECT& r, TBitmap* image, bool vertical, int tile, bool transparent, int frameCount,
                   int frame, TSkinMargins margins) {
  if (Inverted(r)) return;
  std::unique_ptr<TBitmap> b(BuildSkinBitmap(r, image, margins, vertical, tile, frameCount, frame));
  if (!b->Empty()) Blit(dc, r, b.get(), transparent);
}

void DrawSkinStrip(TCanvas* canvas, const RECT& r, TBitmap* image, bool vertical, bool transparent, int frameCount,
                   int frame, TSkinMargins m) {
  if (!canvas || Inverted(r) || !Usable(image)) return;
  const int W = r.right - r.left, H = r.bottom - r.top;
  std::unique_ptr<TBitmap> b(NewBitmap(W, H));
  if (b->Empty()) return;
  const TFrame f = FrameOf(image, vertical, frameCount, frame);
  HDC d = b->Canvas()->GetHandle(), s = image->Canvas()->GetHandle();
  const int L = m.Left, R = m.Right, p = f.W - L - R;
  Stretch(d, 0, 0, L, H, s, f.X, f.Y, L, f.H);
  // A frame no wider than its two ends has no middle to repeat: the gap keeps the frame's middle
  // stretched instead of looping forever on an empty piece.
  if (p > 0) {
    for (int x = L; x < W - R; x += p) Stretch(d, x, 0, p, H, s, f.X + L, f.Y, p, f.H);
  }
  Stretch(d, W - R, 0, R, H, s, f.X + f.W - R, f.Y, R, f.H);
  if (transparent) {
    b->SetTransparentColor(SkinTransparentColor);
    b->SetTransparent(true);
    b->Draw(canvas, r);
  } else {
    BitBlt(canvas->GetHandle(), r.left, r.top, W, H, d, 0, 0, SRCCOPY);
  }
}

void DrawSkinFrame(HDC dc, const RECT& r, TBitmap* image, bool transparent, int frameCount, int frame) {
  if (Inverted(r) || !Usable(image)) return;
  const TFrame f = FrameOf(image, false, frameCount, frame);
  std::unique_ptr<TBitmap> b(NewBitmap(r.right - r.left, r.bottom - r.top));
  if (b->Empty()) return;
  Stretch(b->Canvas()->GetHandle(), 0, 0, b->GetWidth(), b->GetHeight(), image->Canvas()->GetHandle(), f.X, f.Y, f.W, f.H);
  Blit(dc, r, b.get(), transparent);
}

void DrawSkinGlyph(HDC dc, const RECT& r, TBitmap* image, bool transparent, int frameCount, int frame) {
  if (Inverted(r) || !Usable(image)) return;
  const TFrame f = FrameOf(image, false, frameCount, frame);
  std::unique_ptr<TBitmap> b(NewBitmap(f.W, f.H));
  if (b->Empty()) return;
  BitBlt(b->Canvas()->GetHandle(), 0, 0, f.W, f.H, image->Canvas()->GetHandle(), f.X, f.Y, SRCCOPY);
  const int x = r.left + (r.right - r.left - f.W) / 2, y = r.top + (r.bottom - r.top - f.H) / 2;
  Blit(dc, RECT{x, y, x + f.W, y + f.H}, b.get(), transparent);
}

void DrawSkin3Slice(HDC dc, const RECT& r, TBitmap* image, bool vertical, int frameCount, int frame, TSkinMargins m) {
  if (Inverted(r) || !Usable(image)) return;
  const TFrame f = FrameOf(image, vertical, frameCount, frame);
  HDC s = image->Canvas()->GetHandle();
  const int W = r.right - r.left, H = r.bottom - r.top;
  const int mode = SetStretchBltMode(dc, COLORONCOLOR);
  if (f.W > W) {
    Stretch(dc, r.left, r.top, W, H, s, f.X, f.Y, f.W, f.H);
  } else {
    const int L = m.Left, R = m.Right;
    Stretch(dc, r.left, r.top, L, H, s, f.X, f.Y, L, f.H);
    Stretch(dc, r.left + L, r.top, W - L - R, H, s, f.X + L, f.Y, f.W - L - R, f.H);
    Stretch(dc, r.right - R, r.top, R, H, s, f.X + f.W - R, f.Y, R, f.H);
  }
  SetStretchBltMode(dc, mode);
}

void DrawTransparent(HDC dc, const RECT& r, TBitmap* bitmap, TColor colour) {
  if (Inverted(r) || !Usable(bitmap)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w == 0 || h == 0) return;
  HDC src = bitmap->Canvas()->GetHandle();
  // Monochrome mask: pixels of the colour white (1), the others black (0).
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HDC maskDC = CreateCompatibleDC(dc);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  const COLORREF oldBk = SetBkColor(src, ColorToRGB(colour));
  BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldBk);
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
  // Where the mask is 1 the destination stays (0x00AA0029), elsewhere the bitmap is copied.
  MaskBlt(dc, r.left, r.top, w, h, src, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  DeleteObject(mask);
}

HRGN RegionFromBitmap(TBitmap* bitmap, int dx, int dy, int blueTolerance, int greenTolerance, int redTolerance,
                      TColor colour) {
  HRGN result = nullptr;
  const COLORREF c = COLORREF(colour);
  const int lr = Red(c), lg = Green(c), lb = Blue(c);
  const int hr = std::min(255, lr + redTolerance), hg = std::min(255, lg + greenTolerance),
            hb = std::min(255, lb + blueTolerance);
  std::vector<RECT> rects;
  RECT bounds{0, 0, 0, 0};
  auto flush = [&] {
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = DWORD(rects.size());
    rd->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    rd->rdh.rcBound = bounds;
    if (!rects.empty()) std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(rd->Buffer));
    HRGN batch = ExtCreateRegion(nullptr, DWORD(data.size()), rd);
    if (!result) {
      result = batch;
    } else if (batch) {
      CombineRgn(result, result, batch, RGN_OR);
      DeleteObject(batch);
    }
    rects.clear();
    bounds = RECT{0, 0, 0, 0};
  };
  if (Usable(bitmap)) {
    bitmap->SetPixelFormat(pf32bit);
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    for (int y = 0; y < h; ++y) {
      const auto* row = static_cast<const uint8_t*>(bitmap->ScanLine(y));
      auto transparent = [&](int x) {
        const uint8_t* p = row + 4 * x;
        return p[2] >= lr && p[2] <= hr && p[1] >= lg && p[1] <= hg && p[0] >= lb && p[0] <= hb;
      };
      for (int x = 0; x < w; ++x) {
        const int x0 = x;
        while (x < w && !transparent(x)) ++x;
        if (x > x0) {
          const RECT r{x0 + dx, y + dy, x + dx, y + dy + 1};
          if (rects.empty()) {
            bounds = r;
          } else {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
          }
          rects.push_back(r);
          if (rects.size() == 2000) flush();
        }
      }
    }
  }
  flush();
  return result;
}

void PaintParentBackground(TControl* control, HDC dc) {
  if (!control || !control->GetParent()) return;
  const int saved = SaveDC(dc);
  const int left = control->GetLeft(), top = control->GetTop();
  POINT old;
  OffsetViewportOrgEx(dc, -left, -top, &old);
  RECT client = control->GetClientRect();
  IntersectClipRect(dc, client.left + left, client.top + top, client.right + left, client.bottom + top);
  TWinControl* parent = control->GetParent();
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  parent->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
}

// ---- text and platform helpers ----

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring w(size_t(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), w.data(), n);
  return w;
}

std::wstring WideLeft(const std::wstring& text, int n) {
  if (n < 0) return text;
  return text.substr(0, size_t(n));
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& r, UINT flags) {
  return DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
}

TWinControl* FindVclControl(HWND window) { return FindControl(window); }

const TOptionalUser32& OptionalUser32() {
  static const TOptionalUser32 functions = [] {
    TOptionalUser32 f;
    if (HMODULE user32 = GetModuleHandleA("user32.dll")) {
      f.GetScrollBarInfo = reinterpret_cast<decltype(f.GetScrollBarInfo)>(GetProcAddress(user32, "GetScrollBarInfo"));
      f.TrackMouseEvent = reinterpret_cast<decltype(f.TrackMouseEvent)>(GetProcAddress(user32, "TrackMouseEvent"));
      f.GetComboBoxInfo = reinterpret_cast<decltype(f.GetComboBoxInfo)>(GetProcAddress(user32, "GetComboBoxInfo"));
    }
    return f;
  }();
  return functions;
}

bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info) {
  const auto fn = OptionalUser32().GetScrollBarInfo;
  return fn && fn(window, objectId, info);
}

void SafeTrackMouseEvent(HWND window) {
  const auto fn = OptionalUser32().TrackMouseEvent;
  if (!fn) return;
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = window;
  fn(&tme);
}

// ---- plain drawing ----

void FillRectColor(HDC dc, const RECT& r, TColor colour) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(colour));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void FrameRectColor(HDC dc, const RECT& r, TColor colour) {
  HBRUSH b = CreateSolidBrush(ColorToRGB(colour));
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

void DrawCenteredCaption(TCanvas* canvas, const RECT& r, const std::wstring& text, TAlignment alignment,
                         bool enabled) {
  static const UINT flags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const UINT align = flags[alignment] | DT_SINGLELINE | DT_EXPANDTABS;
  TSkinCaptionText caption(canvas);
  const RECT m = caption.Measure(text, r, align);
  const int tw = m.right - m.left, th = m.bottom - m.top;
  RECT t;
  t.left = r.left + ((r.right - r.left) - tw) / 2;
  t.top = r.top + ((r.bottom - r.top) - th) / 2;
  t.right = t.left + tw;
  t.bottom = t.top + th;
  caption.Draw(text, t, align, enabled);
}
