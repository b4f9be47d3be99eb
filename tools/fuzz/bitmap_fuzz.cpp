// Fuzz target: bitmap files, read in place the way the skin and the layouts hand them to TBitmap, then
// used as the program uses a loaded bitmap (drawn stretched and with its key colour, saved again).
#include <cstdint>
#include <cstring>

#include "CheckedSize.h"
#include "Graphics.h"

namespace {
// A run-length file may describe a picture far larger than itself (other files must hold their pixels);
// one of up to this many bytes is still loaded, a larger one would only measure how fast the system
// hands out memory.
constexpr uint64_t MaxPictureBytes = 16u << 20;

bool PictureTooLarge(const uint8_t* data, size_t size) {
  int32_t width = 0, height = 0;
  uint16_t bits = 0;
  uint32_t compression = 0;
  if (!ReadBytesAt(data, size, 18, &width, 4) || !ReadBytesAt(data, size, 22, &height, 4) ||
      !ReadBytesAt(data, size, 28, &bits, 2) || !ReadBytesAt(data, size, 30, &compression, 4))
    return false;
  if (compression != 1 && compression != 2) return false;  // BI_RLE8, BI_RLE4
  const uint64_t rows = height < 0 ? uint64_t(-int64_t(height)) : uint64_t(height);
  size_t rowBytes;
  return width > 0 && (!DibRowBytes(uint64_t(width), bits, rowBytes) || uint64_t(rowBytes) * rows > MaxPictureBytes);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (PictureTooLarge(data, size)) return 0;
  TBitmap bitmap;
  try {
    bitmap.LoadFromMemory(data, size);
  } catch (const EPropertyError&) {
    return 0;
  }
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(7, 5);
  target.Canvas()->StretchDraw(RECT{0, 0, 7, 5}, &bitmap);
  bitmap.SetTransparent(true);
  target.Canvas()->Draw(1, 1, &bitmap);
  (void)bitmap.Canvas()->GetPixel(bitmap.GetWidth() - 1, bitmap.GetHeight() - 1);
  TBitmap again;
  again.LoadFromBytes(bitmap.SaveToBytes());  // what the program writes, it reads back
  return 0;
}
