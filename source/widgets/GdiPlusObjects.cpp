#include "GdiPlusObjects.h"

#include <vector>

namespace {

ULONG_PTR gToken = 0;
bool gStarted = false;

}  // namespace

std::wstring Widen(const std::string& s) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), &w[0], n);
  return w;
}

bool StartGdiPlus() {
  if (gStarted) return true;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
  gStarted = Gdiplus::GdiplusStartup(&gToken, &input, nullptr) == GpOk;
  return gStarted;
}

void ShutdownGdiPlus() {
  if (!gStarted) return;
  Gdiplus::GdiplusShutdown(gToken);
  gStarted = false;
  gToken = 0;
}

bool GdiPlusStarted() { return gStarted; }

// ---- graphics ----

TGPGraphics::TGPGraphics(HDC dc) { SetStatus(GdipFlat::GdipCreateFromHDC(dc, &FNative)); }

TGPGraphics::~TGPGraphics() {
  if (FNative) GdipFlat::GdipDeleteGraphics(FNative);
}

GpStatus TGPGraphics::ReleaseHDC(HDC dc) { return SetStatus(GdipFlat::GdipReleaseDC(FNative, dc)); }

GpStatus TGPGraphics::SetTextRenderingHint(int hint) {
  return SetStatus(GdipFlat::GdipSetTextRenderingHint(FNative, Gdiplus::TextRenderingHint(hint)));
}

GpStatus TGPGraphics::DrawRectangle(TGPPen* pen, const TGPRect& r) {
  return DrawRectangle(pen, r.X, r.Y, r.Width, r.Height);
}

GpStatus TGPGraphics::DrawRectangle(TGPPen* pen, int x, int y, int width, int height) {
  return SetStatus(GdipFlat::GdipDrawRectangleI(FNative, pen ? pen->Native() : nullptr, x, y, width, height));
}

GpStatus TGPGraphics::DrawString(const wchar_t* text, int length, TGPFont* font, const TGPRectF& layout,
                                 TGPStringFormat* format, TGPBrush* brush) {
  return SetStatus(GdipFlat::GdipDrawString(FNative, reinterpret_cast<const WCHAR*>(text), length,
                                            font ? font->Native() : nullptr, &layout,
                                            format ? format->Native() : nullptr, brush ? brush->Native() : nullptr));
}

GpStatus TGPGraphics::DrawImage(TGPImage* image, const TGPRect& r) {
  return DrawImage(image, r.X, r.Y, r.Width, r.Height);
}

GpStatus TGPGraphics::DrawImage(TGPImage* image, int x, int y, int width, int height) {
  return SetStatus(GdipFlat::GdipDrawImageRectI(FNative, image ? image->Native() : nullptr, x, y, width, height));
}

GpStatus TGPGraphics::DrawImage(TGPImage* image, const TGPRect& dest, int srcX, int srcY, int srcWidth,
                                int srcHeight, GpUnit unit, const TGPImageAttributes* attributes,
                                TGPDrawImageAbort callback, void* callbackData) {
  return SetStatus(GdipFlat::GdipDrawImageRectRectI(FNative, image ? image->Native() : nullptr, dest.X, dest.Y,
                                                    dest.Width, dest.Height, srcX, srcY, srcWidth, srcHeight, unit,
                                                    attributes, callback, callbackData));
}

// ---- image ----

TGPImage::TGPImage(const std::string& fileName, bool useEmbeddedColorManagement) {
  std::wstring name = Widen(fileName);
  const WCHAR* w = reinterpret_cast<const WCHAR*>(name.c_str());
  SetStatus(useEmbeddedColorManagement ? GdipFlat::GdipLoadImageFromFileICM(w, &FNative)
                                       : GdipFlat::GdipLoadImageFromFile(w, &FNative));
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
  SetStatus(useEmbeddedColorManagement ? GdipFlat::GdipLoadImageFromStreamICM(stream, &FNative)
                                       : GdipFlat::GdipLoadImageFromStream(stream, &FNative));
}

TGPImage::~TGPImage() {
  if (FNative) GdipFlat::GdipDisposeImage(FNative);
}

TGPPixelImage::TGPPixelImage(int width, int height, std::vector<uint8_t> pixels) : FPixels(std::move(pixels)) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (width > 0 && height > 0 && FPixels.size() >= size_t(width) * size_t(height) * 4)
    SetStatus(GdipFlat::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB, FPixels.data(),
                                                  &bitmap));
  FNative = bitmap;
}

TGPPixelImage::~TGPPixelImage() {
  // Before the pixels it draws from go.
  if (FNative) GdipFlat::GdipDisposeImage(FNative);
  FNative = nullptr;
}

unsigned TGPImage::GetWidth() {
  UINT w = 0;
  if (SetStatus(GdipFlat::GdipGetImageWidth(FNative, &w)) != GpOk) return 0;
  return w;
}

unsigned TGPImage::GetHeight() {
  UINT h = 0;
  if (SetStatus(GdipFlat::GdipGetImageHeight(FNative, &h)) != GpOk) return 0;
  return h;
}

// ---- font ----

TGPFont::TGPFont(HDC dc, HFONT font) {
  LOGFONTA lf;
  if (font && GetObjectA(font, sizeof(lf), &lf) == int(sizeof(lf)))
    SetStatus(GdipFlat::GdipCreateFontFromLogfontA(dc, &lf, &FNative));
  else
    SetStatus(GdipFlat::GdipCreateFontFromDC(dc, &FNative));
}

TGPFont::~TGPFont() {
  if (FNative) GdipFlat::GdipDeleteFont(FNative);
}

// ---- pen and brushes ----

TGPPen::TGPPen(ARGB color, float width) {
  SetStatus(GdipFlat::GdipCreatePen1(color, width, GpUnitWorld, &FNative));
}

TGPPen::~TGPPen() {
  if (FNative) GdipFlat::GdipDeletePen(FNative);
}

TGPBrush::~TGPBrush() {
  if (FNative) GdipFlat::GdipDeleteBrush(FNative);
}

namespace {
class TGPClonedBrush : public TGPBrush {
public:
  TGPClonedBrush(Gdiplus::GpBrush* source, GpStatus lastStatus) {
    FLastStatus = lastStatus;
    SetStatus(GdipFlat::GdipCloneBrush(source, &FNative));
  }
};
}  // namespace

TGPBrush* TGPBrush::Clone() const { return new TGPClonedBrush(FNative, FLastStatus); }

TGPSolidBrush::TGPSolidBrush(ARGB color) {
  Gdiplus::GpSolidFill* fill = nullptr;
  SetStatus(GdipFlat::GdipCreateSolidFill(color, &fill));
  FNative = fill;
}

// ---- string format ----

TGPStringFormat::TGPStringFormat(int formatFlags, LANGID language) {
  SetStatus(GdipFlat::GdipCreateStringFormat(formatFlags, language, &FNative));
}

TGPStringFormat::~TGPStringFormat() {
  if (FNative) GdipFlat::GdipDeleteStringFormat(FNative);
}

GpStatus TGPStringFormat::SetFormatFlags(int flags) {
  return SetStatus(GdipFlat::GdipSetStringFormatFlags(FNative, flags));
}

int TGPStringFormat::GetFormatFlags() {
  INT flags = 0;
  SetStatus(GdipFlat::GdipGetStringFormatFlags(FNative, &flags));
  return flags;
}

GpStatus TGPStringFormat::SetAlignment(int align) {
  return SetStatus(GdipFlat::GdipSetStringFormatAlign(FNative, Gdiplus::StringAlignment(align)));
}

GpStatus TGPStringFormat::SetLineAlignment(int align) {
  return SetStatus(GdipFlat::GdipSetStringFormatLineAlign(FNative, Gdiplus::StringAlignment(align)));
}

GpStatus TGPStringFormat::SetTrimming(int trimming) {
  return SetStatus(GdipFlat::GdipSetStringFormatTrimming(FNative, Gdiplus::StringTrimming(trimming)));
}
