// Builds small PNG files in memory for the codec's tests.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "PngCore.h"

namespace pngtest {

using Bytes = std::vector<uint8_t>;

inline void PutBE32(Bytes& b, uint32_t v) {
    for (int k = 3; k >= 0; --k) b.push_back(uint8_t(v >> (8 * k)));
}

inline Bytes Chunk(const char* type, const Bytes& body, bool breakCrc = false) {
    Bytes out;
    PutBE32(out, uint32_t(body.size()));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(type), 4);
    crc = PngUpdateCrc(crc, body.data(), body.size()) ^ 0xFFFFFFFFu;
    PutBE32(out, breakCrc ? crc ^ 1 : crc);
    return out;
}

inline Bytes Ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t colorType, uint8_t interlace = 0) {
    Bytes b;
    PutBE32(b, w);
    PutBE32(b, h);
    b.insert(b.end(), {depth, colorType, 0, 0, interlace});
    return Chunk("IHDR", b);
}

inline Bytes Deflate(const Bytes& raw, int level = 6) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), level);
    out.resize(size);
    return out;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }

// Signature, then the given chunks, then IEND.
inline Bytes File(std::initializer_list<Bytes> chunks) {
    Bytes out = Signature();
    for (const Bytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
    Bytes iend = Chunk("IEND", {});
    out.insert(out.end(), iend.begin(), iend.end());
    return out;
}

// Raw image data: each row prefixed with filter byte `filter` (the rows' bytes are taken as they are).
inline Bytes Rows(const std::vector<Bytes>& rows, uint8_t filter = 0) {
    Bytes out;
    for (const Bytes& r : rows) {
        out.push_back(filter);
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

inline void Load(TPngImage& image, const Bytes& file) { image.LoadFromMemory(file.data(), file.size()); }

} // namespace pngtest

namespace pngtest {

// Filters rows of raw pixels (bpp bytes per pixel) with one filter type.
inline Bytes FilterRows(const std::vector<Bytes>& rows, size_t bpp, uint8_t type) {
    Bytes out;
    Bytes prev(rows.empty() ? 0 : rows[0].size(), 0);
    for (const Bytes& r : rows) {
        out.push_back(type);
        for (size_t i = 0; i < r.size(); ++i) {
            int a = i >= bpp ? r[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0, pred = 0;
            switch (type) {
            case 1: pred = a; break;
            case 2: pred = b; break;
            case 3: pred = (a + b) / 2; break;
            case 4: {
                int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                pred = (pa <= pb && pa <= pc) ? a : pb <= pc ? b : c;
                break;
            }
            }
            out.push_back(uint8_t(r[i] - pred));
        }
        prev = r;
    }
    return out;
}

// Raw Adam7 data (filter type `filter` on every row) from rows of whole pixels of bpp bytes.
inline Bytes Adam7Rows(const std::vector<Bytes>& rows, size_t bpp, uint8_t filter) {
    static const int rs[7] = {0, 0, 4, 0, 2, 0, 1}, cs[7] = {0, 4, 0, 2, 0, 1, 0};
    static const int ri[7] = {8, 8, 8, 4, 4, 2, 2}, ci[7] = {8, 8, 4, 4, 2, 2, 1};
    Bytes out;
    size_t width = rows.empty() ? 0 : rows[0].size() / bpp;
    for (int p = 0; p < 7; ++p) {
        std::vector<Bytes> pass;
        for (size_t y = size_t(rs[p]); y < rows.size(); y += size_t(ri[p])) {
            Bytes r;
            for (size_t x = size_t(cs[p]); x < width; x += size_t(ci[p]))
                r.insert(r.end(), rows[y].begin() + long(x * bpp), rows[y].begin() + long((x + 1) * bpp));
            if (!r.empty()) pass.push_back(r);
        }
        Bytes f = FilterRows(pass, bpp, filter);
        out.insert(out.end(), f.begin(), f.end());
    }
    return out;
}

} // namespace pngtest
