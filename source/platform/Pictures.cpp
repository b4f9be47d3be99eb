// The pictures: TGraphic, TBitmap and TIcon with their reading and writing, TPicture with the registry of
// file formats, and TImageList. Colours, drawing tools and the canvas are in Graphics.cpp.
#include "Graphics.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "CheckedSize.h"
#include "Resources.h"

namespace {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw EPropertyError("Cannot open file \"" + path + "\"");
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  if (!f) throw EPropertyError("Cannot create file \"" + path + "\"");
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string LowerExt(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string e = path.substr(dot + 1);
  for (auto& c : e) c = char(tolower((unsigned char)c));
  return e;
}

}  // namespace

// ---- TGraphic ----

ORV_DEFINE_CLASS(TGraphic, TPersistent, nullptr, {})

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}
void TGraphic::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  Changed();
}
void TGraphic::AssignTo(TPersistent* dest) {
  if (auto* b = As<TBitmap>(dest)) return b->DrawGraphic(this);
  TPersistent::AssignTo(dest);
}
std::vector<uint8_t> TGraphic::SaveToBytes() const {
  throw EPropertyError("A " + ClassName() + " cannot be saved");
}
void TGraphic::LoadFromFile(const std::string& path) { LoadFromBytes(ReadFileBytes(path)); }
void TGraphic::SaveToFile(const std::string& path) const { WriteFileBytes(path, SaveToBytes()); }

// ---- TBitmap ----

class TBitmapCanvas : public TCanvas {
public:
  explicit TBitmapCanvas(TBitmap* b) : FBitmap(b) {}
  ~TBitmapCanvas() override { FreeDC(); }
  void FreeDC() {
    HDC dc = HandleAllocated() ? GetHandle() : nullptr;
    if (!dc) return;
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    FOldBitmap = nullptr;
    DeleteDC(dc);
  }

protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (FBitmap->FHandle) FOldBitmap = SelectObject(dc, FBitmap->FHandle);
    SetHandle(dc);
  }

private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};

ORV_DEFINE_CLASS(TBitmap, TGraphic, nullptr,
                 {IntProp<TBitmap>("Height", &TBitmap::GetHeight, &TBitmap::SetHeight),
                  IntProp<TBitmap>("Width", &TBitmap::GetWidth, &TBitmap::SetWidth),
                  EnumProp<TBitmap, TPixelFormat>("PixelFormat", {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit", "pfCustom"},
                                                  &TBitmap::GetPixelFormat, &TBitmap::SetPixelFormat),
                  IntProp<TBitmap>("TransparentColor", &TBitmap::GetTransparentColor, &TBitmap::SetTransparentColor, &ColorIdents())})

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() {
  FreeContents();
  delete FCanvas;
}

void TBitmap::FreeContents() {
  if (FCanvas) FCanvas->FreeDC();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
  FStride = 0;
  FWidth = FHeight = 0;
}

// The header of an uncompressed bottom-up DIB.
static BITMAPINFOHEADER RgbDibHeader(int width, int height, int bits) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = WORD(bits);
  h.biCompression = BI_RGB;
  return h;
}

static int BitsOf(TPixelFormat pf) {
  switch (pf) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
  }
}

// A BITMAPINFO with room for 256 palette entries.
struct TBitmapInfo256 {
  BITMAPINFOHEADER h;
  RGBQUAD colors[256];
};

static void FillDefaultPalette(TBitmapInfo256& bi, int bits) {
  if (bits == 1) {
    bi.colors[0] = {0, 0, 0, 0};
    bi.colors[1] = {255, 255, 255, 0};
  } else if (bits == 4) {
    static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                     0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 16; ++i) bi.colors[i] = {GetBValue(vga[i]), GetGValue(vga[i]), GetRValue(vga[i]), 0};
  } else if (bits == 8) {
    int i = 0;  // a 6x6x6 colour cube followed by greys
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) bi.colors[i++] = {BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0};
    for (int k = 0; i < 256; ++i, ++k) {
      BYTE v = BYTE(k * 255 / 39);
      bi.colors[i] = {v, v, v, 0};
    }
  }
}

void TBitmap::Recreate(int w, int h, TPixelFormat pf, bool keepPicture) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  HBITMAP nh = nullptr;
  void* bits = nullptr;
  int stride = 0;
  if (w > 0 && h > 0) {
    int bpp = BitsOf(pf);
    if (bpp == 0) {
      HDC sdc = GetDC(nullptr);
      nh = CreateCompatibleBitmap(sdc, w, h);
      ReleaseDC(nullptr, sdc);
    } else {
      TBitmapInfo256 bi{};
      bi.h = RgbDibHeader(w, h, bpp);
      if (pf == pf16bit) {  // 5-6-5 needs bit fields
        bi.h.biCompression = BI_BITFIELDS;
        DWORD* masks = reinterpret_cast<DWORD*>(bi.colors);
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
      }
      if (bpp <= 8) {
        bi.h.biClrUsed = 1u << bpp;
        FillDefaultPalette(bi, bpp);
      }
      size_t rowBytes, imageBytes;
      if (DibRowBytes(uint64_t(w), unsigned(bpp), rowBytes) && rowBytes <= INT_MAX &&
          ImageBytes(rowBytes, uint64_t(h), imageBytes)) {
        nh = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
        stride = int(rowBytes);
      }
    }
    if (!nh) throw EPropertyError("Out of system resources creating a bitmap");
    // New pixels are white, the class library's habit; the old picture is copied over them.
    HDC sdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(sdc, nh);
    RECT all{0, 0, w, h};
    ::FillRect(sdc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    if (keepPicture && FHandle) {
      HDC odc = Canvas()->GetHandle();
      BitBlt(sdc, 0, 0, std::min(w, FWidth), std::min(h, FHeight), odc, 0, 0, SRCCOPY);
    }
    SelectObject(sdc, old);
    DeleteDC(sdc);
  }
  FreeContents();
  FHandle = nh;
  FBits = bits;
  FStride = stride;
  FWidth = nh ? w : 0;
  FHeight = nh ? h : 0;
  FPixelFormat = pf;
  Changed();
}

void TBitmap::SetSize(int w, int h) {
  if (w == FWidth && h == FHeight) return;
  Recreate(w, h, FPixelFormat, true);
}

void TBitmap::SetSize(int w, int h, TPixelFormat pf) {
  if (pf == pfCustom) pf = FPixelFormat;
  if (std::max(w, 0) == FWidth && std::max(h, 0) == FHeight && pf == FPixelFormat) return;
  Recreate(w, h, pf, true);
}

void TBitmap::SetPixelFormat(TPixelFormat pf) {
  if (pf == FPixelFormat || pf == pfCustom) return;
  if (Empty()) {
    FPixelFormat = pf;
    return;
  }
  Recreate(FWidth, FHeight, pf, true);
}

void TBitmap::SetHandle(HBITMAP h) {
  FreeContents();
  if (!h) {
    Changed();
    return;
  }
  DIBSECTION ds{};
  if (GetObjectA(h, sizeof ds, &ds) == sizeof ds && ds.dsBm.bmBits) {
    FWidth = ds.dsBmih.biWidth;
    FHeight = std::abs(ds.dsBmih.biHeight);
    switch (ds.dsBmih.biBitCount) {
      case 1: FPixelFormat = pf1bit; break;
      case 4: FPixelFormat = pf4bit; break;
      case 8: FPixelFormat = pf8bit; break;
      case 16: FPixelFormat = ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0 ? pf16bit : pf15bit; break;
      case 24: FPixelFormat = pf24bit; break;
      case 32: FPixelFormat = pf32bit; break;
      default: FPixelFormat = pfCustom;
    }
    FBits = ds.dsBm.bmBits;
    FStride = ds.dsBm.bmWidthBytes;
  } else {
    BITMAP bm{};
    GetObjectA(h, sizeof bm, &bm);
    FWidth = bm.bmWidth;
    FHeight = bm.bmHeight;
    FPixelFormat = pfDevice;
  }
  FHandle = h;
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  if (FCanvas) FCanvas->FreeDC();
  HBITMAP h = FHandle;
  FHandle = nullptr;
  FreeContents();
  return h;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = new TBitmapCanvas(this);
  return FCanvas;
}

HDC TBitmap::MemoryDC() { return Canvas()->GetHandle(); }

void* TBitmap::ScanLine(int y) {
  if (!FBits || y < 0 || y >= FHeight) return nullptr;
  GdiFlush();
  return static_cast<uint8_t*>(FBits) + size_t(FStride) * size_t(FHeight - 1 - y);
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  return TColor(::GetPixel(const_cast<TBitmap*>(this)->MemoryDC(), 0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor c) {
  FTransparentColor = c;
  FTransparentMode = c == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::Assign(TPersistent* source) {
  if (!source) {
    FreeContents();
    Changed();
    return;
  }
  if (auto* p = As<TPicture>(source)) source = p->Graphic();
  auto* b = As<TBitmap>(source);
  if (!b) return TPersistent::Assign(source);  // other graphics draw themselves onto it (AssignTo)
  if (b == this) return;
  FTransparent = b->FTransparent;
  FTransparentMode = b->FTransparentMode;
  FTransparentColor = b->FTransparentColor;
  if (b->Empty()) {
    FreeContents();
    FPixelFormat = b->FPixelFormat;
    Changed();
    return;
  }
  Recreate(b->FWidth, b->FHeight, b->FPixelFormat, false);
  if (b->FBits && FBits && b->FStride == FStride) {
    GdiFlush();
    memcpy(FBits, b->FBits, size_t(FStride) * size_t(FHeight));
    if (BitsOf(FPixelFormat) <= 8 && BitsOf(FPixelFormat) > 0) {
      RGBQUAD pal[256];
      UINT n = GetDIBColorTable(b->MemoryDC(), 0, 256, pal);
      if (n) SetDIBColorTable(MemoryDC(), 0, n, pal);
    }
  } else {
    BitBlt(MemoryDC(), 0, 0, FWidth, FHeight, b->MemoryDC(), 0, 0, SRCCOPY);
  }
  Changed();
}

void TBitmap::DrawGraphic(TGraphic* g) {
  Recreate(g->GetWidth(), g->GetHeight(), pf24bit, false);
  Canvas()->Draw(0, 0, g);
  FTransparent = g->GetTransparent();
  Changed();
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r) {
  if (Empty() || !canvas) return;
  HDC dc = canvas->GetHandle();
  if (!dc) return;
  HDC src = MemoryDC();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (FTransparent) {
    GdiTransparentBlt(dc, r.left, r.top, w, h, src, 0, 0, FWidth, FHeight, ColorToRGB(GetTransparentColor()));
  } else if (w == FWidth && h == FHeight) {
    BitBlt(dc, r.left, r.top, w, h, src, 0, 0, SRCCOPY);
  } else {
    int mode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, w, h, src, 0, 0, FWidth, FHeight, SRCCOPY);
    SetStretchBltMode(dc, mode);
  }
}

void TBitmap::LoadFromBytes(const std::vector<uint8_t>& bytes) { LoadFromMemory(bytes.data(), bytes.size()); }

void TBitmap::LoadFromMemory(const uint8_t* data, size_t size) {
  // Every size and offset here comes from the file. Each is checked without a sum or product that could
  // wrap (size_t has 32 bits in this program), and the system gets a header and colour table copied out
  // of the file into our own structure, so nothing it reads lies outside the file, whatever the header
  // says about its own size, its masks or its colours.
  const auto invalid = [] { return EPropertyError("Bitmap image is not valid"); };
  constexpr size_t infoAt = sizeof(BITMAPFILEHEADER);
  BITMAPFILEHEADER fh;
  BITMAPINFOHEADER ih;
  if (!ReadBytesAt(data, size, 0, &fh, sizeof fh) || !ReadBytesAt(data, size, infoAt, &ih, sizeof ih) ||
      fh.bfType != 0x4D42)
    throw invalid();
  // A later header version is longer; all of it lies inside the file.
  if (ih.biSize < sizeof ih || !RangeInside(infoAt, ih.biSize, size) || ih.biWidth <= 0 || ih.biHeight == 0 ||
      ih.biHeight == INT32_MIN || fh.bfOffBits >= size)
    throw invalid();
  const int w = ih.biWidth, h = std::abs(ih.biHeight);
  TPixelFormat pf;
  switch (ih.biBitCount) {
    case 1: pf = pf1bit; break;
    case 4: pf = pf4bit; break;
    case 8: pf = pf8bit; break;
    case 16: pf = pf15bit; break;
    case 24: pf = pf24bit; break;
    case 32: pf = pf32bit; break;
    default: throw invalid();
  }
  const bool rle = ih.biCompression == BI_RLE8 || ih.biCompression == BI_RLE4;
  switch (ih.biCompression) {
    case BI_RGB: break;
    case BI_BITFIELDS: if (ih.biBitCount != 16 && ih.biBitCount != 32) throw invalid(); break;
    case BI_RLE8: if (ih.biBitCount != 8) throw invalid(); break;
    case BI_RLE4: if (ih.biBitCount != 4) throw invalid(); break;
    default: throw invalid();
  }
  if (rle && ih.biHeight < 0) throw invalid();  // run-length rows are stored bottom-up only

  TBitmapInfo256 bi{};
  bi.h = ih;
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  // The masks follow a plain header; a longer header holds them itself, at the same place.
  if (ih.biCompression == BI_BITFIELDS) {
    if (!ReadBytesAt(data, size, infoAt + sizeof ih, bi.colors, 3 * sizeof(DWORD))) throw invalid();
    if (pf == pf15bit && reinterpret_cast<const DWORD*>(bi.colors)[1] == 0x07E0) pf = pf16bit;
  }
  // The colour table follows the header of whatever version; at most one entry per possible index.
  UINT colours = 0;
  if (ih.biBitCount <= 8) {
    const UINT most = 1u << ih.biBitCount;
    colours = ih.biClrUsed && ih.biClrUsed < most ? ih.biClrUsed : most;
    if (!ReadBytesAt(data, size, infoAt + ih.biSize, bi.colors, colours * sizeof(RGBQUAD))) throw invalid();
    bi.h.biClrUsed = colours;
  }
  // The pixel data lies inside the file: rows of a fixed size, or run-length data, which the system
  // decodes only up to the header's image size (the rest of the file when that is 0).
  const size_t available = size - fh.bfOffBits;
  if (rle) {
    if (ih.biSizeImage > available) throw invalid();
    if (ih.biSizeImage == 0) bi.h.biSizeImage = DWORD(available);
  } else {
    size_t rowBytes, imageBytes;
    if (!DibRowBytes(uint64_t(w), ih.biBitCount, rowBytes) || !ImageBytes(rowBytes, uint64_t(h), imageBytes) ||
        imageBytes > available)
      throw invalid();
  }

  Recreate(w, h, pf, false);
  // The palette of a palette format comes from the file.
  if (colours) SetDIBColorTable(MemoryDC(), 0, colours, bi.colors);
  HDC sdc = GetDC(nullptr);
  int lines = SetDIBits(sdc, FHandle, 0, UINT(h), data + fh.bfOffBits, reinterpret_cast<const BITMAPINFO*>(&bi),
                        DIB_RGB_COLORS);
  ReleaseDC(nullptr, sdc);
  if (lines == 0) {
    FreeContents();
    throw invalid();
  }
  Changed();
}

std::vector<uint8_t> TBitmap::SaveToBytes() const {
  std::vector<uint8_t> out;
  if (Empty()) return out;
  int bpp = BitsOf(FPixelFormat);
  if (bpp == 0 || bpp == 16) bpp = bpp == 16 ? 16 : 24;
  TBitmapInfo256 bi{};
  bi.h = RgbDibHeader(FWidth, FHeight, bpp);
  UINT colors = bpp <= 8 ? (1u << bpp) : 0;
  if (colors) GetDIBColorTable(const_cast<TBitmap*>(this)->MemoryDC(), 0, colors, bi.colors);
  size_t stride = ((size_t(FWidth) * bpp + 31) / 32) * 4;
  std::vector<uint8_t> pixels(stride * size_t(FHeight));
  // GetDIBits wants the bitmap deselected from any DC; work on a copy of the handle's contents.
  HDC sdc = GetDC(nullptr);
  HBITMAP copy = HBITMAP(CopyImage(FHandle, IMAGE_BITMAP, 0, 0, FBits ? LR_CREATEDIBSECTION : 0));
  GetDIBits(sdc, copy ? copy : FHandle, 0, UINT(FHeight), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  if (copy) DeleteObject(copy);
  ReleaseDC(nullptr, sdc);
  if (colors) GetDIBColorTable(const_cast<TBitmap*>(this)->MemoryDC(), 0, colors, bi.colors);
  bi.h.biSizeImage = DWORD(pixels.size());
  bi.h.biClrUsed = colors;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = DWORD(sizeof fh + sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
  fh.bfSize = DWORD(fh.bfOffBits + pixels.size());
  out.resize(fh.bfSize);
  memcpy(out.data(), &fh, sizeof fh);
  memcpy(out.data() + sizeof fh, &bi, sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
  memcpy(out.data() + fh.bfOffBits, pixels.data(), pixels.size());
  return out;
}

void TBitmap::LoadFromLayoutData(const TLayoutData& data) {
  // A bitmap property may also take any registered graphic; it is drawn onto the bitmap.
  std::string kind = data.Kind;
  for (auto& c : kind) c = char(tolower((unsigned char)c));
  if (kind.empty() || kind == "bmp" || kind == "tbitmap") return LoadFromBytes(data.Bytes);
  TPicture pic;
  pic.LoadFromData(data.Kind, data.Bytes);
  Assign(pic.Graphic());
}

void TBitmap::LoadFromResourceName(const std::string& name) {
  const TEmbeddedFile* f = FindEmbeddedFile("bitmaps/" + name + ".bmp");
  if (!f) throw EPropertyError("Resource " + name + " not found");
  LoadFromBytes(std::vector<uint8_t>(f->Data, f->Data + f->Size));
}

// ---- TIcon ----

ORV_DEFINE_CLASS(TIcon, TGraphic, nullptr, {})

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::Assign(TPersistent* source) {
  if (auto* p = As<TPicture>(source)) source = p->Graphic();
  auto* i = As<TIcon>(source);
  if (!i) return TPersistent::Assign(source);
  if (i == this) return;
  if (!i->FData.empty()) return LoadFromBytes(i->FData);
  SetHandle(i->FHandle ? CopyIcon(i->FHandle) : nullptr);
}

void TIcon::SetHandle(HICON h) {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = h;
  FData.clear();
  FWidth = FHeight = 0;
  ICONINFO ii{};
  if (h && GetIconInfo(h, &ii)) {
    BITMAP bm{};
    GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
    FWidth = bm.bmWidth;
    FHeight = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
  }
  Changed();
}

HICON TIcon::ReleaseHandle() {
  HICON h = FHandle;
  FHandle = nullptr;
  FData.clear();
  FWidth = FHeight = 0;
  return h;
}

void TIcon::Draw(TCanvas* canvas, const RECT& r) {
  if (FHandle && canvas && canvas->GetHandle())
    DrawIconEx(canvas->GetHandle(), r.left, r.top, FHandle, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromBytes(const std::vector<uint8_t>& bytes) {
  // ICONDIR: reserved, type 1, count; then 16-byte entries. Of the images the one nearest the
  // system's icon size is used, and of those the one with the most colours, as the system would.
  if (bytes.size() < 6 + 16) throw EPropertyError("Icon image is not valid");
  auto u16 = [&](size_t o) { return unsigned(bytes[o] | (bytes[o + 1] << 8)); };
  auto u32 = [&](size_t o) { return unsigned(u16(o) | (u16(o + 2) << 16)); };
  const unsigned count = u16(4);
  if (u16(0) != 0 || u16(2) != 1 || count == 0 || bytes.size() < 6 + 16 * size_t(count))
    throw EPropertyError("Icon image is not valid");
  const int wanted = GetSystemMetrics(SM_CXICON);
  size_t best = 6;
  for (size_t e = 6; e < 6 + 16 * size_t(count); e += 16) {
    const int size = bytes[e] ? bytes[e] : 256, bestSize = bytes[best] ? bytes[best] : 256;
    const int distance = std::abs(size - wanted), bestDistance = std::abs(bestSize - wanted);
    if (distance < bestDistance || (distance == bestDistance && u16(e + 6) > u16(best + 6))) best = e;
  }
  int w = bytes[best] ? bytes[best] : 256, h = bytes[best + 1] ? bytes[best + 1] : 256;
  unsigned size = u32(best + 8), offset = u32(best + 12);
  if (size == 0 || !RangeInside(offset, size, bytes.size())) throw EPropertyError("Icon image is not valid");
  HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(bytes.data() + offset), size, TRUE, 0x00030000, w, h, 0);
  if (!icon) throw EPropertyError("Icon image is not valid");
  SetHandle(icon);
  FData = bytes;
}

std::vector<uint8_t> TIcon::SaveToBytes() const {
  if (FData.empty()) throw EPropertyError("This icon cannot be saved");
  return FData;
}

// ---- TPicture and the file-format registry ----

namespace {
struct TFileFormat {
  std::string Ext, Description;
  const TClassInfo* Class;
  TGraphicFactory Factory;
};
std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> formats = {
      {"bmp", "Bitmaps", &TBitmap::StaticClassInfo(), [] { return new TBitmap; }},
      {"ico", "Icons", &TIcon::StaticClassInfo(), [] { return new TIcon; }}};
  return formats;
}
}  // namespace

ORV_DEFINE_CLASS(TPicture, TPersistent, nullptr, {})

TPicture::~TPicture() { delete FGraphic; }

void TPicture::RegisterFileFormat(const std::string& ext, const std::string& description, const TClassInfo& cls,
                                  TGraphicFactory factory) {
  std::string e = ext;
  for (auto& c : e) c = char(tolower((unsigned char)c));
  auto& f = FileFormats();
  f.erase(std::remove_if(f.begin(), f.end(), [&](const TFileFormat& x) { return x.Ext == e; }), f.end());
  f.push_back({e, description, &cls, std::move(factory)});
}

void TPicture::UnregisterGraphicClass(const TClassInfo& cls) {
  auto& f = FileFormats();
  f.erase(std::remove_if(f.begin(), f.end(), [&](const TFileFormat& x) { return x.Class == &cls; }), f.end());
}

TGraphicFactory TPicture::FindFormat(const std::string& extOrClassName) {
  std::string k = extOrClassName;
  if (!k.empty() && k[0] == '.') k.erase(0, 1);
  for (const auto& f : FileFormats())
    if (SameTextCI(f.Ext, k) || SameTextCI(f.Class->Name(), k)) return f.Factory;
  return nullptr;
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(TGraphic* g) {
  delete FGraphic;
  FGraphic = g;
  if (g) g->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::Assign(TPersistent* source) {
  if (!source) return SetGraphic(nullptr);
  if (auto* p = As<TPicture>(source)) return SetGraphic(p->FGraphic);
  if (auto* g = As<TGraphic>(source)) return SetGraphic(g);
  TPersistent::Assign(source);
}

void TPicture::SetGraphic(TGraphic* g) {
  if (g == FGraphic) return;
  if (!g) return Adopt(nullptr);
  TGraphicFactory f = FindFormat(g->ClassName());
  TGraphic* copy = f ? f() : nullptr;
  if (!copy) throw EPropertyError("Cannot copy a " + g->ClassName());
  try {
    copy->Assign(g);
  } catch (...) {
    delete copy;
    throw;
  }
  Adopt(copy);
}

TBitmap* TPicture::Bitmap() {
  if (!As<TBitmap>(FGraphic)) Adopt(new TBitmap);
  return static_cast<TBitmap*>(FGraphic);
}

TIcon* TPicture::Icon() {
  if (!As<TIcon>(FGraphic)) Adopt(new TIcon);
  return static_cast<TIcon*>(FGraphic);
}

void TPicture::LoadFromData(const std::string& kind, const std::vector<uint8_t>& bytes) {
  TGraphicFactory f = FindFormat(kind);
  if (!f) throw EPropertyError("Unknown picture file extension (." + kind + ")");
  TGraphic* g = f();
  try {
    g->LoadFromBytes(bytes);
  } catch (...) {
    delete g;
    throw;
  }
  Adopt(g);
}

void TPicture::LoadFromFile(const std::string& path) { LoadFromData(LowerExt(path), ReadFileBytes(path)); }

void TPicture::SaveToFile(const std::string& path) const {
  if (FGraphic) FGraphic->SaveToFile(path);
}

// ---- TImageList ----

ORV_DEFINE_CLASS(TImageList, TComponent, FactoryOf<TImageList>(),
                 {IntProp<TImageList>("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor, &ColorIdents()),
                  IntProp<TImageList>("Height", &TImageList::GetHeight, &TImageList::SetHeight),
                  IntProp<TImageList>("Width", &TImageList::GetWidth, &TImageList::SetWidth),
                  DataProp<TImageList>("Images", &TImageList::LoadStrip)})

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}
TImageList::~TImageList() {
  if (FHandle) ImageList_Destroy(FHandle);
}

void TImageList::Recreate() {
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TImageList::Handle() {
  if (!FHandle) {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (FBkColor != clNone) ImageList_SetBkColor(FHandle, ColorToRGB(FBkColor));
  }
  return FHandle;
}

void TImageList::SetWidth(int v) {
  if (v == FWidth) return;
  FWidth = v;
  Recreate();
}
void TImageList::SetHeight(int v) {
  if (v == FHeight) return;
  FHeight = v;
  Recreate();
}
void TImageList::SetBkColor(TColor c) {
  FBkColor = c;
  if (FHandle) ImageList_SetBkColor(FHandle, c == clNone ? CLR_NONE : ColorToRGB(c));
}
int TImageList::Count() { return ImageList_GetImageCount(Handle()); }

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  // The list copies the pixels; a bitmap selected into a DC cannot be handed over, so copies are made.
  HBITMAP img = HBITMAP(CopyImage(image->GetHandle(), IMAGE_BITMAP, 0, 0, 0));
  HBITMAP msk = mask ? HBITMAP(CopyImage(mask->GetHandle(), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)) : nullptr;
  int r = ImageList_Add(Handle(), img, msk);
  DeleteObject(img);
  if (msk) DeleteObject(msk);
  if (OnChange) OnChange(this);
  return r;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (maskColor == clDefault) maskColor = image->GetTransparentColor();
  HBITMAP img = HBITMAP(CopyImage(image->GetHandle(), IMAGE_BITMAP, 0, 0, 0));
  int r = ImageList_AddMasked(Handle(), img, ColorToRGB(maskColor));
  DeleteObject(img);
  if (OnChange) OnChange(this);
  return r;
}

int TImageList::AddIcon(TIcon* icon) {
  int r = ImageList_AddIcon(Handle(), icon->GetHandle());
  if (OnChange) OnChange(this);
  return r;
}

void TImageList::Clear() {
  if (FHandle) ImageList_RemoveAll(FHandle);
  if (OnChange) OnChange(this);
}
void TImageList::Delete(int index) {
  if (FHandle) ImageList_Remove(FHandle, index);
  if (OnChange) OnChange(this);
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  if (!canvas || !canvas->GetHandle() || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(Handle(), index, canvas->GetHandle(), x, y, ILD_TRANSPARENT);
  } else {
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = Handle();
    p.i = index;
    p.hdcDst = canvas->GetHandle();
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_TRANSPARENT | ILD_BLEND50;
    ImageList_DrawIndirect(&p);
  }
}

void TImageList::GetBitmap(int index, TBitmap* target) {
  if (!target) return;
  target->SetSize(FWidth, FHeight, pf24bit);
  RECT r{0, 0, FWidth, FHeight};
  FillSolidRect(target->Canvas()->GetHandle(), r, clBtnFace);
  Draw(target->Canvas(), 0, 0, index, true);
}

void TImageList::LoadStrip(const TLayoutData& d) {
  TBitmap strip;
  strip.LoadFromLayoutData(d);
  Clear();
  AddMasked(&strip, clDefault);
}
