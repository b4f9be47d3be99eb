// Fuzz target: PNG pictures on the Windows side of the codec: decoded into a DIB section, drawn in each
// of the three ways (opaque, colour key, alpha), copied into a bitmap and built back from it.
#include <cstdint>

#include "PngFuzzMutator.h"
#include "PngPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PngMemoryLimit = 64u << 20;
  TPngPicture picture;
  try {
    picture.LoadFromMemory(data, size);
  } catch (const Exception&) {
    return 0;
  }
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(17, 13);
  picture.Draw(target.Canvas(), RECT{0, 0, 17, 13});
  picture.Draw(target.Canvas(), RECT{3, 2, 5, 4});
  if (uint64_t(picture.Width()) * picture.Height() > (1u << 20)) return 0;
  TBitmap copy;
  copy.Assign(&picture);
  TPngPicture back;
  back.Assign(&copy);
  (void)back.SaveToBytes();
  return 0;
}
