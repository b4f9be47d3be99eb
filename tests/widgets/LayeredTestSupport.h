// Helpers of the layered-window tests: small PNG files made on the spot, pixels of 32-bit DIB
// sections, and a recorder of the layered-window updates.
#pragma once

#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "LayeredUtils.h"

namespace layered_test {

// Pixels are 0xAARRGGBB, row by row from the top.
struct TImage {
  int W = 0, H = 0;
  std::vector<uint32_t> Px;
  TImage(int w, int h, uint32_t fill) : W(w), H(h), Px(size_t(w) * size_t(h), fill) {}
  void Fill(int x0, int y0, int x1, int y1, uint32_t c) {  // [x0, x1) x [y0, y1)
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) Px[size_t(y) * size_t(W) + size_t(x)] = c;
  }
};

inline void PutBE(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBE(out, uint32_t(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBE(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

// An 8-bit RGBA PNG file image.
inline std::vector<uint8_t> EncodePng(const TImage& img) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < img.H; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < img.W; ++x) {
      uint32_t p = img.Px[size_t(y) * size_t(img.W) + size_t(x)];
      raw.push_back(uint8_t(p >> 16));
      raw.push_back(uint8_t(p >> 8));
      raw.push_back(uint8_t(p));
      raw.push_back(uint8_t(p >> 24));
    }
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
  packed.resize(packedSize);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBE(ihdr, uint32_t(img.W));
  PutBE(ihdr, uint32_t(img.H));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return out;
}

inline std::string WritePng(const std::string& path, const TImage& img) {
  std::vector<uint8_t> bytes = EncodePng(img);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return path;
}

// A pixel of a 32-bit bottom-up DIB section as 0xAARRGGBB (premultiplied, as stored).
inline uint32_t DibPixel(HBITMAP dib, int x, int y) {
  GdiFlush();
  DIBSECTION ds;
  if (GetObjectA(dib, sizeof(ds), &ds) != sizeof(ds) || !ds.dsBm.bmBits) return 0xDEADBEEF;
  int row = ds.dsBmih.biHeight > 0 ? ds.dsBm.bmHeight - 1 - y : y;
  const auto* bits = static_cast<const uint8_t*>(ds.dsBm.bmBits);
  return reinterpret_cast<const uint32_t*>(bits + size_t(row) * size_t(ds.dsBm.bmWidthBytes))[x];
}

// The pixels of a rectangle of a DIB section, row by row.
inline std::vector<uint32_t> DibRect(HBITMAP dib, const RECT& r) {
  std::vector<uint32_t> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(DibPixel(dib, x, y));
  return out;
}

inline unsigned Alpha(uint32_t p) { return p >> 24; }
inline unsigned Red(uint32_t p) { return (p >> 16) & 0xFF; }
inline unsigned Green(uint32_t p) { return (p >> 8) & 0xFF; }
inline unsigned Blue(uint32_t p) { return p & 0xFF; }

struct TUpdateCall {
  HWND Window;
  bool HasDest, HasPosition;
  SIZE Size;
  HDC Source;
  POINT SourcePoint;
  COLORREF Key;
  BLENDFUNCTION Blend;
  DWORD Flags;
};

// Records every layered-window update (and still performs it) while it lives.
class TUpdateRecorder {
public:
  TUpdateRecorder() {
    SetUpdateLayeredWindow([this](HWND w, HDC dest, POINT* pos, SIZE* size, HDC src, POINT* srcPt, COLORREF key,
                                  BLENDFUNCTION* blend, DWORD flags) {
      Calls.push_back({w, dest != nullptr, pos != nullptr, size ? *size : SIZE{-1, -1}, src,
                       srcPt ? *srcPt : POINT{-1, -1}, key, blend ? *blend : BLENDFUNCTION{}, flags});
      return UpdateLayeredWindow(w, dest, pos, size, src, srcPt, key, blend, flags);
    });
  }
  ~TUpdateRecorder() { SetUpdateLayeredWindow(nullptr); }
  std::vector<TUpdateCall> Calls;
};

}  // namespace layered_test
