// Benchmark (not a test): decode time of our core against libpng on the same files, natively.
// png_bench [-n REPEAT] FILE...  prints per-file times and the overall ratio ours / libpng.
#include <png.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PngCore.h"

namespace {

std::vector<uint8_t> ReadFile(const char* name) {
    std::vector<uint8_t> data;
    if (std::FILE* f = std::fopen(name, "rb")) {
        uint8_t buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
        std::fclose(f);
    }
    return data;
}

struct Source {
    const uint8_t* data;
    size_t size, pos;
};

void ReadFn(png_structp p, png_bytep out, png_size_t n) {
    Source* s = static_cast<Source*>(png_get_io_ptr(p));
    if (n > s->size - s->pos) png_error(p, "eof");
    std::memcpy(out, s->data + s->pos, n);
    s->pos += n;
}

// libpng decoding into its own row layout (no transformations), the whole image held like ours.
bool DecodeLibpng(const std::vector<uint8_t>& file) {
    png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> ptrs;
    if (setjmp(png_jmpbuf(p))) {
        png_destroy_read_struct(&p, &info, nullptr);
        return false;
    }
    Source s{file.data(), file.size(), 0};
    png_set_read_fn(p, &s, ReadFn);
    png_read_info(p, info);
    png_set_interlace_handling(p);
    png_read_update_info(p, info);
    png_uint_32 h = png_get_image_height(p, info);
    rows.assign(h, std::vector<uint8_t>(png_get_rowbytes(p, info)));
    for (auto& r : rows) ptrs.push_back(r.data());
    png_read_image(p, ptrs.data());
    png_read_end(p, nullptr);
    png_destroy_read_struct(&p, &info, nullptr);
    return true;
}

bool DecodeOurs(const std::vector<uint8_t>& file) {
    try {
        TPngImage image;
        image.LoadFromMemory(file.data(), file.size());
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void WriteFn(png_structp p, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
    out->insert(out->end(), data, data + n);
}
void FlushFn(png_structp) {}

// A synthetic photo-like image (smooth gradients plus a little noise), encoded by libpng with its default
// adaptive filtering.
std::vector<uint8_t> MakeImage(int w, int h, int colorType, int depth, int interlace) {
    std::vector<uint8_t> out;
    png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    if (setjmp(png_jmpbuf(p))) return {};
    png_set_write_fn(p, &out, WriteFn, FlushFn);
    png_set_IHDR(p, info, w, h, depth, colorType, interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color pal[256];
    for (int i = 0; i < 256; ++i) pal[i] = png_color{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(p, info, pal, 256);
    png_write_info(p, info);
    int channels = colorType == 6 ? 4 : colorType == 2 ? 3 : colorType == 4 ? 2 : 1;
    std::vector<uint8_t> row(size_t(w) * channels * (depth / 8));
    uint32_t seed = 12345;
    int passes = png_set_interlace_handling(p);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < channels; ++c) {
                    seed = seed * 1103515245u + 12345u;
                    int v = (x * (c + 1) + y * (3 - c % 3)) / 4 + int((seed >> 16) & 7);
                    if (c == 3) v = (x + y) & 255;
                    if (depth == 16) {
                        row[(size_t(x) * channels + c) * 2] = uint8_t(v);
                        row[(size_t(x) * channels + c) * 2 + 1] = uint8_t(seed >> 8);
                    } else {
                        row[size_t(x) * channels + c] = uint8_t(v);
                    }
                }
            png_write_row(p, row.data());
        }
    png_write_end(p, info);
    png_destroy_write_struct(&p, &info);
    return out;
}

template <class F> double Seconds(F f, int repeat) {
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv) {
    int repeat = 20, first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-n") == 0) repeat = std::atoi(argv[2]), first = 3;
    struct Case {
        std::string name;
        std::vector<uint8_t> file;
    };
    std::vector<Case> cases;
    for (int i = first; i < argc; ++i) cases.push_back({argv[i], ReadFile(argv[i])});
    if (cases.empty()) {
        // No files given: synthetic 1024 x 768 images of the common kinds.
        cases.push_back({"synthetic RGBA 8", MakeImage(1024, 768, 6, 8, 0)});
        cases.push_back({"synthetic RGB 8", MakeImage(1024, 768, 2, 8, 0)});
        cases.push_back({"synthetic grey 8", MakeImage(1024, 768, 0, 8, 0)});
        cases.push_back({"synthetic palette 8", MakeImage(1024, 768, 3, 8, 0)});
        cases.push_back({"synthetic RGBA 16", MakeImage(1024, 768, 6, 16, 0)});
        cases.push_back({"synthetic RGBA 8 Adam7", MakeImage(1024, 768, 6, 8, 1)});
    }
    double oursTotal = 0, libpngTotal = 0;
    for (const Case& c : cases) {
        const std::vector<uint8_t>& file = c.file;
        const char* name = c.name.c_str();
        if (!DecodeOurs(file) || !DecodeLibpng(file)) {
            std::printf("%-40s skipped (does not decode with both)\n", name);
            continue;
        }
        double lib = Seconds([&] { DecodeLibpng(file); }, repeat);
        double ours = Seconds([&] { DecodeOurs(file); }, repeat);
        oursTotal += ours;
        libpngTotal += lib;
        std::printf("%-40s ours %8.3f ms  libpng %8.3f ms  ratio %.2f\n", name, ours * 1000 / repeat,
                    lib * 1000 / repeat, ours / lib);
    }
    if (libpngTotal > 0) std::printf("total ratio ours / libpng: %.2f\n", oursTotal / libpngTotal);
    return 0;
}
