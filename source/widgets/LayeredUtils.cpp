#include "LayeredUtils.h"

#include <cstring>

#include "PngCore.h"

const std::vector<std::string>& LayeredAlignmentNames() {
  static const std::vector<std::string> names = {
      "Alignment_TopLeft",    "Alignment_TopCenter",    "Alignment_TopRight",    "Alignment_MiddleLeft",
      "Alignment_MiddleCenter", "Alignment_MiddleRight", "Alignment_BottomLeft", "Alignment_BottomCenter",
      "Alignment_BottomRight", "Alignment_Center",       "Alignment_Left",        "Alignment_Right",
      "Alignment_Custom"};
  return names;
}

ARGB ColorToARGB(TColor color, uint8_t alpha) {
  unsigned c = unsigned(color);
  unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return (ARGB(alpha) << 24) | (r << 16) | (g << 8) | b;
}

namespace {

// Horizontal and vertical placement of each value: 0 start, 1 centre, 2 end; -1 custom.
struct TPlacement {
  int H, V;
};
TPlacement PlacementOf(TLayeredAlignment a) {
  static const TPlacement table[] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2},
                                     {1, 2}, {2, 2}, {1, 1}, {0, 1}, {2, 1}, {-1, -1}};
  return a <= Alignment_Custom ? table[a] : TPlacement{0, 0};
}

int Place(int how, int outer, int inner) {
  switch (how) {
    case 1:
      return (outer - inner) / 2;
    case 2:
      return outer - inner;
    default:
      return 0;
  }
}

TUpdateLayeredWindowFn& Updater() {
  static TUpdateLayeredWindowFn fn;
  return fn;
}

}  // namespace

POINT AlignedOrigin(TLayeredAlignment align, int w, int h, int pw, int ph, int customX, int customY) {
  TPlacement p = PlacementOf(align);
  if (p.H < 0) return POINT{customX, customY};
  return POINT{Place(p.H, w, pw), Place(p.V, h, ph)};
}

void CaptionAlignment(TLayeredAlignment align, int& horizontal, int& vertical) {
  TPlacement p = PlacementOf(align);
  horizontal = p.H < 0 ? 0 : p.H;
  vertical = p.V < 0 ? 0 : p.V;
}

void SetUpdateLayeredWindow(TUpdateLayeredWindowFn fn) { Updater() = std::move(fn); }

BOOL CallUpdateLayeredWindow(HWND window, HDC dest, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                             COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  if (Updater()) return Updater()(window, dest, position, size, source, sourcePoint, key, blend, flags);
  return UpdateLayeredWindow(window, dest, position, size, source, sourcePoint, key, blend, flags);
}

BLENDFUNCTION DefaultLayeredBlend() { return BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}; }

namespace {
// The picture as GDI+ would decode it, or null when our codec cannot promise the same pixels.
TGPImage* DecodeOwnPng(const std::string& path) {
  TPngImage png;
  try {
    PngLoadFromFile(png, path);
    const TChunkIHDR* header = png.HeaderChunk();
    // Gamma, samples of 16 bits and a transparent colour outside a palette are left to GDI+.
    if (header->BitDepth > 8 || png.ChunkList.ItemFromClass<TChunkgAMA>() ||
        (header->ColorType != 3 && png.ChunkList.ItemFromClass<TChunktRNS>()))
      return nullptr;
    std::vector<uint8_t> pixels = png.ExportRGBA();
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) std::swap(pixels[i], pixels[i + 2]);  // to B, G, R, A
    return new TGPPixelImage(int(header->Width), int(header->Height), std::move(pixels));
  } catch (...) {
    return nullptr;  // not a PNG file, or one GDI+ may still read
  }
}
}  // namespace

TGPImage* LoadImageFromFile(const std::string& path) {
  if (TGPImage* image = DecodeOwnPng(path)) return image;
  return new TGPImage(path, false);
}

TGPImage* LoadImageFromResource(const std::string& name, const std::string& typeName, HMODULE module) {
  HRSRC res = FindResourceA(module, name.c_str(), typeName.c_str());
  if (!res) return nullptr;
  DWORD size = SizeofResource(module, res);
  if (size == 0) return nullptr;
  HGLOBAL loaded = LoadResource(module, res);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  void* dest = GlobalLock(block);
  if (!dest) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(dest, data, size);
  GlobalUnlock(block);
  // The stream frees the block when its last reference goes, which the image holds.
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  TGPImage* image = new TGPImage(stream, false);
  stream->Release();
  return image;
}
