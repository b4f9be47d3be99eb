#include "SkUtils.h"

#include <algorithm>
#include <vector>

#include "Forms.h"
#include "OrvWindowsUtils.h"

void TileDraw(TCanvas* canvas, TGraphic* graphic, const RECT& rect) {
  if (!canvas || !graphic) return;
  int w = graphic->GetWidth(), h = graphic->GetHeight();
  if (w <= 0 || h <= 0) return;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  for (int x = 0; x < width; x += w)
    for (int y = 0; y < height; y += h) canvas->Draw(x, y, graphic);
}

HRGN CreateRegionFromBitmap(TBitmap* bitmap, TColor transparentColor) {
  int w = bitmap ? bitmap->GetWidth() : 0, h = bitmap ? bitmap->GetHeight() : 0;
  std::vector<RECT> runs;
  if (w > 0 && h > 0) {
    // Read the pixels through a top-down 32-bit copy, whatever the bitmap's own format.
    BITMAPINFO bi = Dib32Info(w, -h);
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!copy) throw Exception("Cannot read the bitmap's pixels");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, w, h, bitmap->Canvas()->GetHandle(), 0, 0, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < h; ++y) {
      int start = -1;
      for (int x = 0; x <= w; ++x) {
        bool opaque = false;
        if (x < w) {
          uint32_t p = px[size_t(y) * size_t(w) + size_t(x)];  // 0x00RRGGBB
          TColor c = TColor(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
          opaque = c != transparentColor;
        }
        if (opaque && start < 0) start = x;
        if (!opaque && start >= 0) {
          runs.push_back(RECT{start, y, x, y + 1});
          start = -1;
        }
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(copy);
  }
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = DWORD(runs.size());
  rd->rdh.nRgnSize = DWORD(runs.size() * sizeof(RECT));
  rd->rdh.rcBound = RECT{0, 0, w, h};
  if (!runs.empty()) memcpy(rd->Buffer, runs.data(), runs.size() * sizeof(RECT));
  HRGN rgn = runs.empty() ? CreateRectRgn(0, 0, 0, 0) : ExtCreateRegion(nullptr, DWORD(data.size()), rd);
  if (!rgn) throw Exception("Cannot create the window region");
  return rgn;
}

void SetWindowRegionFromBitmap(HWND window, TBitmap* bitmap, TColor transparentColor) {
  HRGN rgn = CreateRegionFromBitmap(bitmap, transparentColor);
  // The window owns the region from here on.
  if (!SetWindowRgn(window, rgn, TRUE)) DeleteObject(rgn);
}

bool CoordInRectInclusive(int x, int y, const RECT& r) {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool PointInRectInclusive(POINT p, const RECT& r) { return CoordInRectInclusive(p.x, p.y, r); }

void GetWorkArea(RECT& area) {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main && main->HandleAllocated()) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &mi)) {
      area = mi.rcWork;
      return;
    }
  }
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
}

void SetControlBounds(TControl* control, const RECT& r) {
  control->SetLeft(r.left);
  control->SetTop(r.top);
  control->SetWidth(r.right - r.left);
  control->SetHeight(r.bottom - r.top);
}

std::string PCharToString(const char* text) { return text ? std::string(text) : std::string(); }

void StretchDrawThreePart(TBitmap* bitmap, TCanvas* canvas, const RECT& rect, bool keyAtTop, bool useKey) {
  if (!bitmap || bitmap->Empty() || !canvas) return;
  int part = bitmap->GetWidth() / 3, h = bitmap->GetHeight();
  if (part <= 0) return;
  TColor key = clFuchsia;
  if (useKey) key = bitmap->Canvas()->GetPixel(0, keyAtTop ? 0 : h - 1);
  HDC dst = canvas->GetHandle(), src = bitmap->Canvas()->GetHandle();
  int height = rect.bottom - rect.top;
  GdiTransparentBlt(dst, rect.left, rect.top, part, height, src, 0, 0, part, h, ColorToRGB(key));
  GdiTransparentBlt(dst, rect.right - part, rect.top, part, height, src, 2 * part, 0, part, h, ColorToRGB(key));
  int middle = (rect.right - rect.left) - 2 * part;
  if (middle > 0) {
    int mode = SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, rect.left + part, rect.top, middle, height, src, part, 0, part, h, SRCCOPY);
    SetStretchBltMode(dst, mode);
  }
}

void RotateBitmap180(TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty()) return;
  int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  HDC dc = bitmap->Canvas()->GetHandle();
  // A mirrored stretch in both directions turns the picture by 180 degrees.
  TBitmap copy;
  copy.Assign(bitmap);
  int mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, w - 1, h - 1, -w, -h, copy.Canvas()->GetHandle(), 0, 0, w, h, SRCCOPY);
  SetStretchBltMode(dc, mode);
}

bool HasPublishedProperty(TObject* component, const std::string& name) {
  return component && component->ClassInfo().FindProp(name) != nullptr;
}

void ExtractFrame(TBitmap* source, TBitmap* target, int n, int k) {
  if (!source || !target || n <= 0) return;
  int width = source->GetWidth() / n, h = source->GetHeight();
  target->SetPixelFormat(source->GetPixelFormat() == pfDevice ? pf24bit : source->GetPixelFormat());
  target->SetSize(width, h);
  if (width <= 0 || h <= 0) return;
  RECT to{0, 0, width, h}, from{(k - 1) * width, 0, k * width, h};
  target->Canvas()->CopyRect(to, source->Canvas(), from);
}

bool IsFormActive(TCustomForm* form) {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!main) return form && form->Active();
  bool mdi = main->GetFormStyle() == fsMDIForm;
  if (mdi && main == form) return true;
  // The application is active while one of its windows is in the foreground.
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  if (pid != GetCurrentProcessId()) return false;
  if (!form || form == main) return true;
  if (mdi) {
    HWND client = GetWindow(main->Handle(), GW_CHILD);
    if (client && form->HandleAllocated() && HWND(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) == form->Handle())
      return true;
  }
  return form->Active();
}
