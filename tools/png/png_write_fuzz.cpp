// libFuzzer target for the PNG writer. An input whose first byte is odd (every PNG file: the signature
// starts with 137) is decoded as a PNG file; an even one describes a bitmap (pixel format, size, writer
// settings, transparent colour, colour table and pixels) that becomes a picture as from a bitmap. Either
// picture is written, and the written file must decode, with ours and with libpng, to the pixels the picture
// held. Any difference aborts, so the fuzzer reports it with its input.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "PngCore.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "writer fault: %s\n", what);
    std::abort();
}

// Takes bytes from the input in order, zeros once it is used up.
struct TInput {
    const uint8_t* data;
    size_t size, pos = 0;
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
};

void BuildBitmapPicture(TInput& in, TPngImage& image) {
    static const int Formats[] = {1, 4, 8, 24, 32};
    uint8_t settings = in.Byte();
    int bpp = Formats[(settings >> 1) % 5];
    int width = 1 + in.Byte() % 48, height = 1 + in.Byte() % 48;
    bool topDown = settings & 0x10, transparent = settings & 0x20;
    TPngBitmapInfoHeader info{};
    info.biSize = 40;
    info.biWidth = width;
    info.biHeight = topDown ? -height : height;
    info.biPlanes = 1;
    info.biBitCount = uint16_t(bpp);
    info.biClrUsed = bpp <= 8 ? in.Byte() % (1u << bpp) : 0; // 0: all of them
    TPngRGBQuad colors[256];
    for (TPngRGBQuad& q : colors) q = TPngRGBQuad{in.Byte(), in.Byte(), in.Byte(), in.Byte()};
    TPngColor key = PngRGB(in.Byte(), in.Byte(), in.Byte());
    if (transparent && bpp <= 8 && (settings & 0x40)) { // mostly a colour the table holds
        const TPngRGBQuad& q = colors[in.Byte() % (1u << bpp)];
        key = PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    size_t stride = (size_t(bpp) * size_t(width) + 31) / 32 * 4;
    std::vector<uint8_t> bits(stride * size_t(height));
    for (uint8_t& b : bits) b = in.Byte();
    image.BuildFromDib(info, colors, bits.data(), transparent, key);
    image.FilterSet = in.Byte();
    image.DeflateLevel = in.Byte() % 12;
    image.InterlaceMode = in.Byte() & 1;
}

// Decodes a file with libpng into RGBA8; false when libpng refuses it.
bool LibpngDecode(const std::vector<uint8_t>& file, std::vector<uint8_t>& rgba, uint32_t& w, uint32_t& h) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, file.data(), file.size())) return false;
    img.format = PNG_FORMAT_RGBA;
    rgba.resize(PNG_IMAGE_SIZE(img));
    w = img.width, h = img.height;
    bool ok = png_image_finish_read(&img, nullptr, rgba.data(), 0, nullptr) != 0;
    png_image_free(&img);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PngMemoryLimit = 64u << 20;
    TInput in{data, size};
    TPngImage image;
    bool fromBitmap = size == 0 || !(data[0] & 1);
    try {
        if (fromBitmap) {
            in.Byte();
            BuildBitmapPicture(in, image);
        } else {
            image.LoadFromMemory(data, size);
            if (uint64_t(image.Width()) * image.Height() > (1u << 18)) return 0;
            image.FilterSet = PngAllFilters;
        }
    } catch (const Exception&) {
        if (fromBitmap) Fail("a valid bitmap was refused");
        return 0;
    }

    std::vector<uint8_t> file;
    try {
        file = image.SaveToMemory();
    } catch (const Exception&) {
        Fail("writing raised");
    }
    TPngImage again;
    try {
        again.LoadFromMemory(file.data(), file.size());
    } catch (const Exception&) {
        Fail("the written file does not load");
    }
    std::vector<uint8_t> expected = image.ExportRGBA();
    if (again.Width() != image.Width() || again.Height() != image.Height() || again.ExportRGBA() != expected)
        Fail("read back, the written file holds other pixels");
    if (again.TransparencyKind() != image.TransparencyKind() || again.TransparentColor() != image.TransparentColor())
        Fail("read back, the written file has another transparency");

    // libpng sees the same colours; for pictures made from bitmaps (no gamma) the transparency too.
    std::vector<uint8_t> rgba;
    uint32_t w, h;
    if (!LibpngDecode(file, rgba, w, h)) {
        if (fromBitmap) Fail("libpng refuses the written file");
        return 0;
    }
    if (w != image.Width() || h != image.Height()) Fail("libpng reads another size");
    if (!fromBitmap) return 0; // libpng applies gamma and colour keys its own way
    TPngColor key = image.TransparentColor();
    bool keyed = image.HeaderChunk()->ColorType == 2 && image.TransparencyKind() == ptmBit; // palettes: in tRNS
    for (size_t i = 0; i < expected.size(); i += 4) {
        if (std::memcmp(&rgba[i], &expected[i], 3) != 0) Fail("libpng reads other colours");
        uint8_t alpha = expected[i + 3];
        if (keyed && PngRGB(expected[i], expected[i + 1], expected[i + 2]) == key) alpha = 0;
        if (rgba[i + 3] != alpha) Fail("libpng reads another transparency");
    }
    return 0;
}
