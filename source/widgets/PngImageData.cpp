// The image data (IDAT): inflating, unfiltering and converting rows into the store when reading, and
// the reverse when writing.
#include "PngCore.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>


using namespace PngInternal;

namespace {

const int Adam7RowStart[7] = {0, 0, 4, 0, 2, 0, 1};
const int Adam7ColumnStart[7] = {0, 4, 0, 2, 0, 1, 0};
const int Adam7RowIncrement[7] = {8, 8, 8, 4, 4, 2, 2};
const int Adam7ColumnIncrement[7] = {8, 8, 4, 4, 2, 2, 1};

// Runs pass(row start, row step, column start, column step) for each of the seven Adam7 passes, or once
// over the whole image.
template <class F> void ForEachPass(bool adam7, F pass) {
    if (!adam7) {
        pass(0, 1, 0, 1);
        return;
    }
    for (int i = 0; i < 7; ++i)
        pass(uint32_t(Adam7RowStart[i]), uint32_t(Adam7RowIncrement[i]), uint32_t(Adam7ColumnStart[i]),
             uint32_t(Adam7ColumnIncrement[i]));
}

class TPngDataReader {
public:
    TPngDataReader(TPngStream& stream, const char* type, uint32_t length) : stream_(stream) {
        crc_ = PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(type), 4);
        chunkEnd_ = stream.Position() + length;
        input_.reset(new (std::nothrow) uint8_t[InputBufferSize]);
        if (!input_) Raise<EPNGOutMemory>(SPNGOutMemory);
        int r = inflateInit(&zs_);
        if (r != Z_OK) RaiseZlib(r);
        initialised_ = true;
    }
    ~TPngDataReader() {
        if (initialised_) inflateEnd(&zs_);
    }

    // Inflates up to `count` bytes; fewer only when the compressed stream ended.
    size_t Read(uint8_t* buffer, size_t count) {
        if (ended_) return 0;
        zs_.next_out = buffer;
        zs_.avail_out = uInt(count);
        while (zs_.avail_out > 0) {
            if (zs_.avail_in == 0) {
                if (stream_.Position() >= chunkEnd_) {
                    NextChunk();
                    continue;
                }
                size_t want = size_t(std::min<uint64_t>(InputBufferSize, chunkEnd_ - stream_.Position()));
                ReadExact(stream_, input_.get(), want);
                crc_ = PngUpdateCrc(crc_, input_.get(), want);
                zs_.next_in = input_.get();
                zs_.avail_in = uInt(want);
            }
            int r = inflate(&zs_, Z_NO_FLUSH);
            if (r == Z_STREAM_END) {
                ended_ = true;
                break;
            }
            if (r != Z_OK) RaiseZlib(r);
        }
        return count - zs_.avail_out;
    }

    // Consumes the rest of the current chunk and checks its CRC.
    void Finish() {
        uint64_t pos = stream_.Position();
        while (pos < chunkEnd_) {
            size_t want = size_t(std::min<uint64_t>(InputBufferSize, chunkEnd_ - pos));
            ReadExact(stream_, input_.get(), want);
            crc_ = PngUpdateCrc(crc_, input_.get(), want);
            pos += want;
        }
        if (ReadCrc(stream_) != (crc_ ^ 0xFFFFFFFFu)) Raise<EPngInvalidCRC>(SPNGInvalidCRC);
    }

private:
    void NextChunk() {
        if (ReadCrc(stream_) != (crc_ ^ 0xFFFFFFFFu)) Raise<EPngInvalidCRC>(SPNGInvalidCRC);
        uint8_t head[8];
        ReadExact(stream_, head, 8);
        uint32_t length = ReadBE32(head);
        if (std::memcmp(head + 4, "IDAT", 4) != 0) Raise<EPNGMissingMultipleIDAT>(SPNGMissingMultipleIDAT);
        CheckChunkLength(stream_, length);
        crc_ = PngUpdateCrc(0xFFFFFFFFu, head + 4, 4);
        chunkEnd_ = stream_.Position() + length;
    }

    TPngStream& stream_;
    z_stream zs_{};
    bool initialised_ = false;
    bool ended_ = false;
    uint32_t crc_;
    uint64_t chunkEnd_;
    std::unique_ptr<uint8_t[]> input_;
};

inline uint8_t Paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return uint8_t(a);
    if (pb <= pc) return uint8_t(b);
    return uint8_t(c);
}

// Undoes the row's filter in place; row[0] is the filter byte, prev the previous row (same layout).
void Unfilter(uint8_t* row, const uint8_t* prev, size_t size, size_t d) {
    uint8_t* r = row + 1;
    const uint8_t* p = prev + 1;
    switch (row[0]) {
    case 1:
        for (size_t i = d; i < size; ++i) r[i] = uint8_t(r[i] + r[i - d]);
        break;
    case 2:
        for (size_t i = 0; i < size; ++i) r[i] = uint8_t(r[i] + p[i]);
        break;
    case 3:
        for (size_t i = 0; i < d && i < size; ++i) r[i] = uint8_t(r[i] + (p[i] >> 1));
        for (size_t i = d; i < size; ++i) r[i] = uint8_t(r[i] + ((p[i] + r[i - d]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < d && i < size; ++i) r[i] = uint8_t(r[i] + p[i]); // Paeth(0, b, 0) = b
        for (size_t i = d; i < size; ++i) r[i] = uint8_t(r[i] + Paeth(r[i - d], p[i], p[i - d]));
        break;
    default: break; // None, and unknown filter types leave the row as it is
    }
}

// Converts one unfiltered row into the store: pixels xStart, xStart + xStep, ... of store row y.
void ConvertRow(const TChunkIHDR& h, const uint8_t* gamma, const uint8_t* src, uint32_t y, uint32_t xStart,
                uint32_t xStep, uint32_t count) {
    uint8_t* dst = h.ImageRow(y);
    uint8_t* alpha = h.AlphaRow(y);
    uint8_t* low = h.LowByteRow(y);
    switch (h.ColorType) {
    case 0:
    case 3:
        if (h.BitDepth == 16) { // grey only
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep) {
                dst[x] = src[2 * i];
                low[x] = src[2 * i + 1];
            }
        } else if (h.BitDepth == 8) {
            if (xStep == 1)
                std::memcpy(dst + xStart, src, count);
            else
                for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep) dst[x] = src[i];
        } else {
            // Packed samples, most significant bits first; 2-bit samples go into a 4-bit store, grey levels
            // spread to indices 0, 5, 10, 15 of its 16-entry grey palette.
            int depth = h.BitDepth, storeBits = h.StoreBitsPerPixel();
            unsigned mask = (1u << depth) - 1;
            unsigned scale = (depth == 2 && h.ColorType == 0) ? 5 : 1;
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep) {
                uint32_t bit = i * depth;
                unsigned s = (src[bit >> 3] >> (8 - depth - (bit & 7))) & mask;
                s *= scale;
                uint32_t sbit = x * storeBits;
                int shift = 8 - storeBits - int(sbit & 7);
                uint8_t& byte = dst[sbit >> 3];
                byte = uint8_t((byte & ~(((1u << storeBits) - 1) << shift)) | (s << shift));
            }
        }
        break;
    case 2:
    case 6: {
        int channels = h.ColorType == 2 ? 3 : 4;
        if (h.BitDepth == 8) {
            if (xStep == 1 && channels == 4) {
                uint8_t* d = dst + xStart * 3;
                uint8_t* a = alpha + xStart;
                for (uint32_t i = 0; i < count; ++i, src += 4, d += 3) {
                    d[0] = gamma[src[2]];
                    d[1] = gamma[src[1]];
                    d[2] = gamma[src[0]];
                    a[i] = src[3];
                }
            } else {
                for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep, src += channels) {
                    uint8_t* d = dst + x * 3;
                    d[0] = gamma[src[2]];
                    d[1] = gamma[src[1]];
                    d[2] = gamma[src[0]];
                    if (alpha) alpha[x] = src[3];
                }
            }
        } else {
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep, src += channels * 2) {
                uint8_t* d = dst + x * 3;
                uint8_t* l = low + x * 3;
                d[0] = gamma[src[4]], d[1] = gamma[src[2]], d[2] = gamma[src[0]];
                l[0] = gamma[src[5]], l[1] = gamma[src[3]], l[2] = gamma[src[1]];
                if (alpha) alpha[x] = src[6];
            }
        }
        break;
    }
    case 4:
        if (h.BitDepth == 8) {
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep, src += 2) {
                dst[x] = src[0];
                alpha[x] = src[1];
            }
        } else {
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep, src += 4) {
                dst[x] = src[0];
                low[x] = src[1];
                alpha[x] = src[2];
            }
        }
        break;
    default: break;
    }
}

} // namespace

bool TChunkIDAT::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    TChunkIHDR& h = *OwnerHeader();
    if (h.HasDibPalette && (h.ColorType == 0 || h.ColorType == 4)) {
        TPngRGBQuad grey[256];
        int count = 1 << h.StoreBitsPerPixel();
        BuildGreyPalette(*owner_, grey, count);
        h.SetPaletteEntries(grey, count);
    }
    const size_t distance = size_t(FilterDistance(h.ColorType, h.BitDepth));
    const size_t maxRow = size_t(RawRowSize(h.ColorType, h.BitDepth, h.Width)); // at most 65535 x 8 bytes
    TPngDataReader reader(stream, type, size);
    std::vector<uint8_t> rowA, rowB;
    try {
        rowA.assign(maxRow + 1, 0);
        rowB.assign(maxRow + 1, 0);
    } catch (const std::bad_alloc&) {
        Raise<EPNGOutMemory>(SPNGOutMemory);
    }
    uint8_t* row = rowA.data();
    uint8_t* prev = rowB.data();

    // Reads, unfilters and converts rows y0, y0 + dy, ... of pixels x0, x0 + dx, ...; false when data ran out.
    auto decodePass = [&](uint32_t y0, uint32_t dy, uint32_t x0, uint32_t dx) {
        uint32_t passWidth = (h.Width - x0 + dx - 1) / dx;
        if (x0 >= h.Width) passWidth = 0;
        size_t rowSize = size_t(RawRowSize(h.ColorType, h.BitDepth, passWidth));
        if (rowSize == 0) return true;
        std::memset(prev, 0, rowSize + 1);
        for (uint32_t y = y0; y < h.Height; y += dy) {
            size_t got = reader.Read(row, rowSize + 1);
            if (got == 0) return false;
            if (got < rowSize + 1) std::memset(row + got, 0, rowSize + 1 - got);
            Unfilter(row, prev, rowSize, distance);
            ConvertRow(h, owner_->GammaTable, row + 1, y, x0, dx, passWidth);
            std::swap(row, prev);
            if (got < rowSize + 1) return false;
        }
        return true;
    };

    ForEachPass(h.InterlaceMethod == 1, decodePass);
    reader.Finish();
    return true;
}

namespace {

// Deflates the image data and writes it as IDAT chunks of at most `chunkSize` bytes of data each.
class TPngDataWriter {
public:
    TPngDataWriter(TPngOutputStream& stream, int level, size_t chunkSize) : stream_(stream), chunkSize_(chunkSize) {
        int r = deflateInit(&zs_, std::max(0, std::min(level, 9)));
        if (r != Z_OK) RaiseZlib(r);
    }
    ~TPngDataWriter() { deflateEnd(&zs_); }
    TPngDataWriter(const TPngDataWriter&) = delete;
    TPngDataWriter& operator=(const TPngDataWriter&) = delete;

    void Write(const uint8_t* data, size_t count) {
        zs_.next_in = const_cast<Bytef*>(data);
        zs_.avail_in = uInt(count);
        while (zs_.avail_in > 0) Deflate(Z_NO_FLUSH);
    }

    // Ends the compressed stream and writes what is left (always at least one IDAT chunk).
    void Finish() {
        while (Deflate(Z_FINISH) != Z_STREAM_END) {
        }
        Emit(pending_.size());
        if (!written_) WriteRawChunk(stream_, "IDAT", nullptr, 0);
    }

private:
    int Deflate(int flush) {
        uint8_t out[16384];
        zs_.next_out = out;
        zs_.avail_out = sizeof out;
        int r = deflate(&zs_, flush);
        if (r != Z_OK && r != Z_STREAM_END && r != Z_BUF_ERROR) RaiseZlib(r);
        pending_.insert(pending_.end(), out, out + (sizeof out - zs_.avail_out));
        while (pending_.size() >= chunkSize_) Emit(chunkSize_);
        return r;
    }
    void Emit(size_t count) {
        if (count == 0) return;
        WriteRawChunk(stream_, "IDAT", pending_.data(), uint32_t(count));
        pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(count));
        written_ = true;
    }

    TPngOutputStream& stream_;
    size_t chunkSize_;
    z_stream zs_{};
    std::vector<uint8_t> pending_;
    bool written_ = false;
};

// Converts pixels xStart, xStart + xStep, ... of store row y back into PNG samples at the written depth
// (the reverse of ConvertRow): colours through the inverse gamma table, 16-bit samples from both planes.
void ExportRow(const TChunkIHDR& h, const uint8_t* inverse, uint8_t* dst, size_t rowSize, uint32_t y,
               uint32_t xStart, uint32_t xStep, uint32_t count) {
    const uint8_t* src = h.ImageRow(y);
    const uint8_t* alpha = h.AlphaRow(y);
    const uint8_t* low = h.LowByteRow(y);
    std::memset(dst, 0, rowSize);
    switch (h.ColorType) {
    case 0:
    case 3:
        if (h.BitDepth == 16) {
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep) dst[2 * i] = src[x], dst[2 * i + 1] = low[x];
        } else {
            // Indices as stored; a 2-bit image is written from its 4-bit store at depth 4.
            int bits = h.StoreBitsPerPixel();
            for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep) {
                uint32_t bit = i * uint32_t(bits);
                dst[bit >> 3] |= uint8_t(h.StoreIndex(src, x) << (8 - bits - int(bit & 7)));
            }
        }
        break;
    case 2:
    case 6: {
        const int channels = h.ColorType == 2 ? 3 : 4;
        const int sampleBytes = h.BitDepth == 16 ? 2 : 1;
        for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep, dst += channels * sampleBytes) {
            const uint8_t* p = src + x * 3;
            const uint8_t rgb[3] = {p[2], p[1], p[0]};
            for (int c = 0; c < 3; ++c) {
                dst[c * sampleBytes] = inverse[rgb[c]];
                if (sampleBytes == 2) dst[c * 2 + 1] = inverse[low[x * 3 + 2 - c]];
            }
            if (alpha)
                for (int k = 0; k < sampleBytes; ++k) dst[3 * sampleBytes + k] = alpha[x]; // 16-bit: a x 257
        }
        break;
    }
    case 4:
        for (uint32_t i = 0, x = xStart; i < count; ++i, x += xStep) {
            if (h.BitDepth == 16) {
                dst[4 * i] = src[x], dst[4 * i + 1] = low[x];
                dst[4 * i + 2] = dst[4 * i + 3] = alpha[x];
            } else {
                dst[2 * i] = src[x], dst[2 * i + 1] = alpha[x];
            }
        }
        break;
    default: break;
    }
}

// Filters row (row[0] is left for the filter byte) with filter `type` into out, prev being the previous
// raw row of the pass.
void FilterRow(int type, const uint8_t* row, const uint8_t* prev, uint8_t* out, size_t size, size_t d) {
    const uint8_t* r = row + 1;
    const uint8_t* p = prev + 1;
    uint8_t* o = out + 1;
    out[0] = uint8_t(type);
    for (size_t i = 0; i < size; ++i) {
        int left = i >= d ? r[i - d] : 0, up = p[i], upLeft = i >= d ? p[i - d] : 0;
        int predictor;
        switch (type) {
        case 1: predictor = left; break;
        case 2: predictor = up; break;
        case 3: predictor = (left + up) >> 1; break;
        case 4: predictor = Paeth(left, up, upLeft); break;
        default: predictor = 0; break;
        }
        o[i] = uint8_t(r[i] - predictor);
    }
}

// How well a filtered row is likely to compress: the bytes equal to one of the two before them.
size_t RepeatScore(const uint8_t* out, size_t size) {
    const uint8_t* o = out + 1;
    size_t score = 0;
    for (size_t i = 2; i < size; ++i) score += (o[i] == o[i - 1] || o[i] == o[i - 2]) ? 1 : 0;
    return score;
}

} // namespace

void TChunkIDAT::WriteChunk(TPngOutputStream& stream) {
    const TChunkIHDR& h = *OwnerHeader();
    const uint8_t depth = h.BitDepth == 2 ? 4 : h.BitDepth;
    const size_t distance = size_t(FilterDistance(h.ColorType, depth));
    const size_t maxRow = size_t(RawRowSize(h.ColorType, depth, h.Width));
    const uint8_t filters = owner_->FilterSet & PngAllFilters ? owner_->FilterSet & PngAllFilters : PngFilterNone;
    TPngDataWriter writer(stream, owner_->DeflateLevel, size_t(std::max(owner_->MaxDataChunkSize, 65535)));
    std::vector<uint8_t> rowA(maxRow + 1), rowB(maxRow + 1), best(maxRow + 1), trial(maxRow + 1);
    uint8_t* row = rowA.data();
    uint8_t* prev = rowB.data();

    auto encodePass = [&](uint32_t y0, uint32_t dy, uint32_t x0, uint32_t dx) {
        if (x0 >= h.Width) return;
        uint32_t passWidth = (h.Width - x0 + dx - 1) / dx;
        size_t rowSize = size_t(RawRowSize(h.ColorType, depth, passWidth));
        if (rowSize == 0) return;
        std::memset(prev, 0, rowSize + 1);
        for (uint32_t y = y0; y < h.Height; y += dy) {
            ExportRow(h, owner_->InverseGammaTable, row + 1, rowSize, y, x0, dx, passWidth);
            size_t bestScore = 0;
            bool chosen = false;
            for (int type = 0; type < 5; ++type) {
                if (!(filters & (1 << type))) continue;
                FilterRow(type, row, prev, trial.data(), rowSize, distance);
                size_t score = RepeatScore(trial.data(), rowSize);
                if (!chosen || score > bestScore) {
                    best.swap(trial);
                    bestScore = score, chosen = true;
                }
            }
            writer.Write(best.data(), rowSize + 1);
            std::swap(row, prev);
        }
    };

    ForEachPass(owner_->InterlaceMode == 1, encodePass);
    writer.Finish();
}

