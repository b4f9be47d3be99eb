// pngdump FILE OUT [FILE OUT ...]: decodes FILE with our PNG codec and writes OUT: width and height as
// little-endian 32-bit numbers, then the image as RGBA8 rows, top row first, as the codec stores it.
// pngdump --resave IN OUT [IN OUT ...]: decodes IN and writes it back as the PNG file OUT with our writer.
// On a decode error it prints "Class: message" on one line to standard error (prefixed with the file name
// and a tab when several pairs are given) and the exit code is 1.
#include <cstdio>
#include <string>
#include <vector>

#include "PngCore.h"
#ifdef _WIN32
#include "PngDraw.h"
using TDumpImage = TPngDibImage; // the store lives in a DIB section, as when the program draws it
#else
using TDumpImage = TPngImage;
#endif

namespace {

std::string OneLine(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return out;
}

void PutLE32(std::FILE* f, uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void WriteDump(TDumpImage& image, const std::string& out) {
    std::vector<uint8_t> rgba = image.ExportRGBA();
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) throw Exception("Cannot create file \"" + out + "\"");
    PutLE32(f, image.Width());
    PutLE32(f, image.Height());
    bool ok = std::fwrite(rgba.data(), 1, rgba.size(), f) == rgba.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw Exception("Cannot write file \"" + out + "\"");
}

void Resave(TDumpImage& image, const std::string& out) { PngSaveToFile(image, out); }

// Decodes `in` and writes `out` the way `mode` says; reports a failure on standard error.
bool Convert(void (*mode)(TDumpImage&, const std::string&), const std::string& in, const std::string& out,
             const std::string& prefix) {
    try {
        TDumpImage image;
        PngLoadFromFile(image, in);
        mode(image, out);
        return true;
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s%s: %s\n", prefix.c_str(), e.ClassName(), OneLine(e.Message()).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s%s: %s\n", prefix.c_str(), "Exception", OneLine(e.what()).c_str());
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    bool resave = argc > 1 && std::string(argv[1]) == "--resave";
    int first = resave ? 2 : 1;
    if (argc - first < 2 || (argc - first) % 2 != 0) {
        std::fprintf(stderr, "usage: pngdump FILE OUT [FILE OUT ...]\n       pngdump --resave IN OUT [IN OUT ...]\n");
        return 2;
    }
    void (*mode)(TDumpImage&, const std::string&) = resave ? Resave : WriteDump;
    bool batch = argc - first > 2, ok = true;
    for (int i = first; i + 1 < argc; i += 2)
        ok = Convert(mode, argv[i], argv[i + 1], batch ? std::string(argv[i]) + "\t" : std::string()) && ok;
    std::fflush(stderr);
    return ok ? 0 : 1;
}
