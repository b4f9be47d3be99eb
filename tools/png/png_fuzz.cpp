// libFuzzer target for the PNG decoding core: any input must load or fail with a codec exception, without
// crashing, hanging or asking for more than the memory limit. The 32-bit Windows build runs the same
// target under tools/fuzz's driver.
#include <cstdint>
#include <vector>

#include "PngCore.h"
#include "PngFuzzMutator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PngMemoryLimit = 64u << 20;
    TPngImage image;
    try {
        image.LoadFromMemory(data, size);
    } catch (const Exception&) {
        return 0;
    }
    // Read the store back the ways the program does: export, colour key and a scaled blend.
    if (uint64_t(image.Width()) * image.Height() <= (1u << 20)) image.ExportRGBA();
    (void)image.TransparencyKind();
    (void)image.TransparentColor();
    std::vector<uint8_t> target(17 * 13 * 4, 0x80);
    image.BlendOnto(target.data(), 17 * 4, 17, 13);
    int w = int(image.Width()), h = int(image.Height());
    image.WritePixel(w - 1, h - 1, image.ReadPixel(0, 0));
    image.WritePixel(w / 2, h / 2, PngRGB(1, 2, 3));
    // A new size inside the decoder's 65535 x 65535 (one column more, or one less at the widest).
    if (uint64_t(w) * h <= (1u << 16)) image.Resize(w < 65535 ? w + 1 : w - 1, h > 1 ? h - 1 : 2);
    TPngImage copy;
    copy.Assign(image);
    return 0;
}
