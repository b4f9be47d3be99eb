// Thin wrappers over the GDI+ objects the layered windows draw with. Each wrapper owns one native
// object and releases it in its destructor. A failed native call never raises: a constructor leaves
// the wrapper without a native object (it then draws nothing), an operation returns the status.
// GDI+ must be started with StartGdiPlus before the first window exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GdiPlusApi.h"

// Starts GDI+ once per process (later calls do nothing); returns whether it runs.
bool StartGdiPlus();
// ANSI text (the system's code page) as the wide text GDI+ takes.
std::wstring Widen(const std::string& s);
// Shuts GDI+ down after every window and wrapper is gone.
void ShutdownGdiPlus();
bool GdiPlusStarted();

class TGPImage;
class TGPFont;
class TGPPen;
class TGPBrush;
class TGPStringFormat;

// Base of the wrappers: the last status other than Ok.
class TGPObject : public TGdiplusBase {
public:
  GpStatus GetLastStatus() const { return FLastStatus; }

protected:
  GpStatus SetStatus(GpStatus s) {
    if (s != GpOk) FLastStatus = s;
    return s;
  }
  GpStatus FLastStatus = GpOk;
};

class TGPGraphics : public TGPObject {
public:
  explicit TGPGraphics(HDC dc);
  static TGPGraphics* FromHDC(HDC dc) { return new TGPGraphics(dc); }
  ~TGPGraphics() override;
  TGPGraphics(const TGPGraphics&) = delete;
  TGPGraphics& operator=(const TGPGraphics&) = delete;
  Gdiplus::GpGraphics* Native() const { return FNative; }

  GpStatus ReleaseHDC(HDC dc);
  GpStatus SetTextRenderingHint(int hint);
  GpStatus DrawRectangle(TGPPen* pen, const TGPRect& r);
  GpStatus DrawRectangle(TGPPen* pen, int x, int y, int width, int height);
  GpStatus DrawString(const wchar_t* text, int length, TGPFont* font, const TGPRectF& layout,
                      TGPStringFormat* format, TGPBrush* brush);
  GpStatus DrawImage(TGPImage* image, const TGPRect& r);
  GpStatus DrawImage(TGPImage* image, int x, int y, int width, int height);
  GpStatus DrawImage(TGPImage* image, const TGPRect& dest, int srcX, int srcY, int srcWidth, int srcHeight,
                     GpUnit unit, const TGPImageAttributes* attributes = nullptr,
                     TGPDrawImageAbort callback = nullptr, void* callbackData = nullptr);

private:
  Gdiplus::GpGraphics* FNative = nullptr;
};

class TGPImage : public TGPObject {
public:
  // The file name is ANSI text; GDI+ gets it as UTF-16.
  explicit TGPImage(const std::string& fileName, bool useEmbeddedColorManagement = false);
  // The image keeps the stream (and takes one reference on it) for its whole life.
  explicit TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
  static TGPImage* FromStream(IStream* stream, bool useEmbeddedColorManagement = false) {
    return new TGPImage(stream, useEmbeddedColorManagement);
  }
  ~TGPImage() override;
  TGPImage(const TGPImage&) = delete;
  TGPImage& operator=(const TGPImage&) = delete;
  Gdiplus::GpImage* Native() const { return FNative; }
  unsigned GetWidth();   // 0 when unknown
  unsigned GetHeight();

protected:
  TGPImage() = default;
  Gdiplus::GpImage* FNative = nullptr;
};

// A picture of 32-bit pixels with straight alpha (bytes B, G, R, A; top row first), which it keeps: GDI+
// draws from them in place.
class TGPPixelImage : public TGPImage {
public:
  TGPPixelImage(int width, int height, std::vector<uint8_t> pixels);
  ~TGPPixelImage() override;

private:
  std::vector<uint8_t> FPixels;
};

class TGPFont : public TGPObject {
public:
  // From the font's logical description when the handle gives one, else from the DC's current font.
  TGPFont(HDC dc, HFONT font);
  ~TGPFont() override;
  TGPFont(const TGPFont&) = delete;
  TGPFont& operator=(const TGPFont&) = delete;
  bool IsAvailable() const { return FNative != nullptr; }
  Gdiplus::GpFont* Native() const { return FNative; }

private:
  Gdiplus::GpFont* FNative = nullptr;
};

class TGPPen : public TGPObject {
public:
  TGPPen(ARGB color, float width);
  ~TGPPen() override;
  TGPPen(const TGPPen&) = delete;
  TGPPen& operator=(const TGPPen&) = delete;
  Gdiplus::GpPen* Native() const { return FNative; }

private:
  Gdiplus::GpPen* FNative = nullptr;
};

class TGPBrush : public TGPObject {
public:
  ~TGPBrush() override;
  TGPBrush(const TGPBrush&) = delete;
  TGPBrush& operator=(const TGPBrush&) = delete;
  TGPBrush* Clone() const;
  Gdiplus::GpBrush* Native() const { return FNative; }

protected:
  TGPBrush() = default;
  Gdiplus::GpBrush* FNative = nullptr;
};

class TGPSolidBrush : public TGPBrush {
public:
  explicit TGPSolidBrush(ARGB color);
};

class TGPStringFormat : public TGPObject {
public:
  explicit TGPStringFormat(int formatFlags = 0, LANGID language = 0);
  ~TGPStringFormat() override;
  TGPStringFormat(const TGPStringFormat&) = delete;
  TGPStringFormat& operator=(const TGPStringFormat&) = delete;
  Gdiplus::GpStringFormat* Native() const { return FNative; }
  GpStatus SetFormatFlags(int flags);
  int GetFormatFlags();
  GpStatus SetAlignment(int align);      // 0 near, 1 centre, 2 far
  GpStatus SetLineAlignment(int align);
  GpStatus SetTrimming(int trimming);

private:
  Gdiplus::GpStringFormat* FNative = nullptr;
};
