#include "PngCore.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "CheckedSize.h"

using namespace PngInternal;

uint64_t PngMemoryLimit = 512ull << 20;

// ---------------------------------------------------------------------------------------------------------
// Messages

namespace {

struct TPngMessage {
    int Id;
    const char* Text;
};

const TPngMessage PngMessages[] = {
    {SPNGInvalidFileHeader,
     "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
     "header. This file may be corruped, try obtaining it again."},
    {SPNGUnexpectedEnd,
     "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file."},
    {SPNGIHDRNotFirst,
     "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is not the first)"},
    {SPNGUnknownCriticalChunk,
     "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded."},
    {SPNGInvalidCRC,
     "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)"},
    {SPNGInvalidIHDR,
     "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) might "
     "be corrupted"},
    {SPNGSizeExceeds,
     "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds the "
     "maximum size, which is 65535 pixels length."},
    {SPNGUnknownCompression,
     "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not be "
     "decoded."},
    {SPNGUnknownInterlace,
     "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded."},
    {SPNGInvalidPalette, "The \"Portable Network Graphics\" image contains an invalid palette."},
    {SPNGMissingMultipleIDAT,
     "This \"Portable Network Graphics\" image is invalid because it has missing image parts."},
    {SPNGZLIBError,
     "Could not decompress the image because it contains invalid compressed data.\r\n Description: "},
    {SPNGNoImageData, "This \"Portable Network Graphics\" image contains no data."},
    {SPNGHeaderNotPresent, "This operation is not valid because the current image contains no valid header."},
    {SPNGOutMemory,
     "Some operation could not be performed because the system is out of resources. Close some windows and try "
     "again."},
    {SPNGInvalidNewSize, "The new size provided for image resizing is invalid."},
    {SPNGNoSuchPaletteEntry, "There is no such palette entry."},
    {SPNGCannotAssignChunk, "The chunks must be compatible to be assigned."},
};

} // namespace

namespace PngInternal {

[[noreturn]] void RaiseZlib(int code) { throw EPNGZLIBError(PngResourceString(SPNGZLIBError) + PngZlibCodeText(code)); }

void PutBE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24), p[1] = uint8_t(v >> 16), p[2] = uint8_t(v >> 8), p[3] = uint8_t(v);
}
void PutBE16(uint8_t* p, unsigned v) { p[0] = uint8_t(v >> 8), p[1] = uint8_t(v); }

// One chunk as the file holds it: length, type, body, CRC over type and body.
void WriteRawChunk(TPngOutputStream& stream, const char* type, const uint8_t* body, uint32_t size) {
    uint8_t head[8];
    PutBE32(head, size);
    std::memcpy(head + 4, type, 4);
    stream.Write(head, 8);
    if (size) stream.Write(body, size);
    uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, head + 4, 4);
    uint8_t tail[4];
    PutBE32(tail, PngUpdateCrc(crc, body, size) ^ 0xFFFFFFFFu);
    stream.Write(tail, 4);
}

uint32_t ReadBE32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint16_t ReadBE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

// Reads exactly `count` bytes; any short read is an unexpected end of the file.
void ReadExact(TPngStream& stream, void* buffer, size_t count) {
    if (count == 0) return;
    if (stream.Read(buffer, count) != count) Raise<EPngUnexpectedEnd>(SPNGUnexpectedEnd);
}

uint32_t ReadCrc(TPngStream& stream) {
    uint8_t b[4];
    ReadExact(stream, b, 4);
    return ReadBE32(b);
}

// A chunk body (plus its CRC) must fit in what is left of the stream.
void CheckChunkLength(TPngStream& stream, uint32_t length) {
    uint64_t pos = stream.Position(), size = stream.Size();
    if (length > MaxChunkLength || pos > size || uint64_t(length) + 4 > size - pos)
        Raise<EPngUnexpectedEnd>(SPNGUnexpectedEnd);
}

void* CheckedCalloc(uint64_t bytes) {
    size_t size;
    if (bytes > PngMemoryLimit || !ToSize(bytes, size)) Raise<EPNGOutMemory>(SPNGOutMemory);
    void* p = std::calloc(size ? size : 1, 1);
    if (!p) Raise<EPNGOutMemory>(SPNGOutMemory);
    return p;
}

// Colour type / bit depth pairs of the PNG standard.
bool IsStandardPair(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

// Raw bytes of one row of `width` pixels, without the filter byte.
uint64_t RawRowSize(uint8_t colorType, uint8_t depth, uint64_t width) {
    switch (colorType) {
    case 0:
    case 3: return (width * depth + 7) / 8;
    case 2: return width * depth * 3 / 8;
    case 4: return width * depth * 2 / 8;
    case 6: return width * depth * 4 / 8;
    default: return 0;
    }
}

int FilterDistance(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
    case 0: return depth == 16 ? 2 : 1;
    case 3: return 1;
    case 2: return depth * 3 / 8;
    case 4: return depth / 4;
    case 6: return depth / 2;
    default: return 1;
    }
}

uint8_t RoundHalfEvenByte(double v) {
    double r = std::nearbyint(v); // default rounding mode: to nearest, ties to even
    if (r < 0) r = 0;
    if (r > 255) r = 255;
    return uint8_t(r);
}

void BuildGreyPalette(const TPngImage& image, TPngRGBQuad* entries, int count) {
    for (int i = 0; i < count; ++i) {
        int level = count > 1 ? (i * 255 + (count - 1) / 2) / (count - 1) : 0;
        uint8_t g = image.GammaTable[level];
        entries[i] = TPngRGBQuad{g, g, g, 0};
    }
}

} // namespace PngInternal

const char* PngResourceString(int id) {
    for (const TPngMessage& m : PngMessages)
        if (m.Id == id) return m.Text;
    return "";
}

std::string PngZlibCodeText(int code) {
    static const char* const Texts[] = {"incompatible version", "buffer error", "insufficient memory", "data error",
                                        "stream error",         "file error",   "",                    "stream end",
                                        "need dictionary"};
    std::string text;
    if (code >= -6 && code <= 2 && Texts[code + 6][0]) text = std::string(Texts[code + 6]) + " ";
    return text + "(" + std::to_string(code) + ")";
}

uint32_t PngUpdateCrc(uint32_t crc, const uint8_t* data, size_t size) {
    // zlib's CRC-32 is the PNG one (same polynomial) with the complements built in; its table-driven
    // routine is several times faster than a byte-wise loop on large image data.
    crc ^= 0xFFFFFFFFu;
    while (size > 0) {
        uInt n = uInt(std::min<size_t>(size, 1u << 30));
        crc = uint32_t(crc32(crc, data, n));
        data += n;
        size -= n;
    }
    return crc ^ 0xFFFFFFFFu;
}

void TPngVectorStream::Write(const void* data, size_t count) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    Bytes.insert(Bytes.end(), p, p + count);
}

size_t TPngMemoryStream::Read(void* buffer, size_t count) {
    size_t n = std::min(count, size_ - pos_);
    if (n) std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

// ---------------------------------------------------------------------------------------------------------
// TChunk

TChunk::TChunk(TPngImage* owner) : owner_(owner), body_(1, 0) {}

void TChunk::SetChunkType(const char* type) { std::memcpy(type_, type, 4); }

void TChunk::ResizeBody(uint32_t size) {
    try {
        body_.assign(size_t(size) + 1, 0);
    } catch (const std::bad_alloc&) {
        Raise<EPNGOutMemory>(SPNGOutMemory);
    }
    bodySize_ = size;
}

TChunkIHDR* TChunk::OwnerHeader() const { return owner_->HeaderChunk(); }

void TChunk::RaiseIncompatible() const { Raise<EPngError>(SPNGCannotAssignChunk); }

void TChunk::CopyChunk(const TChunk& source) {
    std::memcpy(type_, source.type_, 4);
    body_ = source.body_;
    bodySize_ = source.bodySize_;
}

bool TChunk::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    ResizeBody(size);
    ReadExact(stream, body_.data(), size);
    uint32_t stored = ReadCrc(stream);
    uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(type), 4);
    crc = PngUpdateCrc(crc, body_.data(), size) ^ 0xFFFFFFFFu;
    if (crc != stored) Raise<EPngInvalidCRC>(SPNGInvalidCRC);
    return true;
}

void TChunk::WriteChunk(TPngOutputStream& stream) {
    WriteRawChunk(stream, ChunkType().c_str(), body_.data(), bodySize_);
}

void TPNGPointerList::SetCount(size_t count) {
    if (count == 0)
        std::vector<void*>().swap(items_);
    else
        items_.resize(count, nullptr);
}

void* TPNGPointerList::Remove(void* item) {
    for (size_t i = items_.size(); i-- > 0;)
        if (items_[i] == item) {
            items_.erase(items_.begin() + std::ptrdiff_t(i));
            return item;
        }
    return nullptr;
}

void TPNGList::Clear() {
    // Free the later chunks first: the header owns the store the others refer to.
    for (size_t i = Count(); i-- > 0;) delete Item(i);
    SetCount(0);
}

void TPNGList::RemoveLast() {
    if (Count() == 0) return;
    delete Item(Count() - 1);
    SetCount(Count() - 1);
}

// ---------------------------------------------------------------------------------------------------------
// TPngImage

namespace {

struct TChunkClass {
    const char* Type;
    TChunk* (*Create)(TPngImage*);
};

template <class T> TChunk* CreateChunk(TPngImage* owner) { return new T(owner); }

// Registered chunk classes, in registration order.
const TChunkClass ChunkClasses[] = {
    {"IEND", CreateChunk<TChunkIEND>}, {"IHDR", CreateChunk<TChunkIHDR>}, {"IDAT", CreateChunk<TChunkIDAT>},
    {"PLTE", CreateChunk<TChunkPLTE>}, {"gAMA", CreateChunk<TChunkgAMA>}, {"tRNS", CreateChunk<TChunktRNS>},
    {"pHYs", CreateChunk<TChunkpHYs>}, {"tIME", CreateChunk<TChunktIME>}, {"tEXt", CreateChunk<TChunktEXt>},
    {"zTXt", CreateChunk<TChunkzTXt>},
};

TChunk* CreateChunkOfType(TPngImage* owner, const char* type, bool& generic) {
    for (const TChunkClass& c : ChunkClasses)
        if (std::memcmp(c.Type, type, 4) == 0) {
            generic = false;
            return c.Create(owner);
        }
    generic = true;
    return new TChunk(owner);
}

TChunk* CreateChunkLike(TPngImage* owner, const TChunk& source) {
    bool generic;
    std::string type = source.ChunkTypeName();
    if (type.size() == 4) return CreateChunkOfType(owner, type.c_str(), generic);
    return new TChunk(owner);
}

} // namespace

TPngImage::TPngImage() : ChunkList(this), TextBudget(MaxTextBytes) {
    for (int i = 0; i < 256; ++i) GammaTable[i] = InverseGammaTable[i] = uint8_t(i);
}

TPngImage::~TPngImage() { ChunkList.Clear(); }

void TPngImage::ClearImage() {
    for (int i = 0; i < 256; ++i) GammaTable[i] = InverseGammaTable[i] = uint8_t(i);
    ChunkList.Clear();
    TextBudget = MaxTextBytes;
}

void TPngImage::SetGamma(uint32_t gammaValue) {
    if (gammaValue == 0) return;
    double g = gammaValue / 100000.0;
    for (int i = 0; i < 256; ++i) {
        GammaTable[i] = i == 0 ? 0 : RoundHalfEvenByte(255.0 * std::pow(i / 255.0, 1.0 / (g * 2.2)));
        InverseGammaTable[GammaTable[i]] = uint8_t(i);
    }
}

void TPngImage::LoadFromStream(TPngStream& stream) {
    ClearImage();
    uint8_t signature[8];
    if (stream.Read(signature, 8) != 8 || std::memcmp(signature, PngSignature, 8) != 0)
        Raise<EPNGInvalidFileHeader>(SPNGInvalidFileHeader);
    bool hasImageData = false;
    size_t count = 0;
    for (;;) {
        uint8_t head[8];
        ReadExact(stream, head, 8);
        uint32_t length = ReadBE32(head);
        const char* type = reinterpret_cast<const char*>(head + 4);
        if (count == 0 && std::memcmp(type, "IHDR", 4) != 0) Raise<EPNGIHDRNotFirst>(SPNGIHDRNotFirst);
        if (count > 0 && std::memcmp(type, "IHDR", 4) == 0) Raise<EPngInvalidIHDR>(SPNGInvalidIHDR);
        CheckChunkLength(stream, length);
        if (std::memcmp(type, "cHRM", 4) == 0 || (hasImageData && std::memcmp(type, "IDAT", 4) == 0)) {
            stream.Seek(stream.Position() + length + 4);
            continue;
        }
        bool generic;
        TChunk* chunk = CreateChunkOfType(this, type, generic);
        ChunkList.Add(chunk); // from here on the list frees it, whatever happens
        if (generic && type[0] >= 'A' && type[0] <= 'Z') Raise<EPNGUnknownCriticalChunk>(SPNGUnknownCriticalChunk);
        chunk->SetChunkType(type);
        ++count;
        if (std::memcmp(type, "IDAT", 4) == 0) hasImageData = true;
        if (!chunk->ReadChunk(stream, type, length)) break;
        if (std::memcmp(type, "IEND", 4) == 0) break;
    }
    if (!hasImageData) Raise<EPNGNoImageData>(SPNGNoImageData);
}

void TPngImage::LoadFromMemory(const void* data, size_t size) {
    TPngMemoryStream stream(data, size);
    LoadFromStream(stream);
}

void TPngImage::SaveToStream(TPngOutputStream& stream) {
    HeaderChunk(); // nothing to write without a header
    // Samples go back through the gamma in force where their chunk stands, as the reader applied it: the
    // tables are rebuilt chunk by chunk while writing and restored afterwards.
    uint8_t gamma[256], inverse[256];
    std::memcpy(gamma, GammaTable, 256);
    std::memcpy(inverse, InverseGammaTable, 256);
    for (int i = 0; i < 256; ++i) GammaTable[i] = InverseGammaTable[i] = uint8_t(i);
    try {
        stream.Write(PngSignature, 8);
        for (size_t i = 0; i < ChunkList.Count(); ++i) {
            TChunk* chunk = ChunkList.Item(i);
            chunk->WriteChunk(stream);
            if (TChunkgAMA* g = dynamic_cast<TChunkgAMA*>(chunk)) SetGamma(g->GammaValue());
        }
    } catch (...) {
        std::memcpy(GammaTable, gamma, 256);
        std::memcpy(InverseGammaTable, inverse, 256);
        throw;
    }
    std::memcpy(GammaTable, gamma, 256);
    std::memcpy(InverseGammaTable, inverse, 256);
}

std::vector<uint8_t> TPngImage::SaveToMemory() {
    TPngVectorStream stream;
    SaveToStream(stream);
    return std::move(stream.Bytes);
}

void TPngImage::BuildFromDib(const TPngBitmapInfoHeader& info, const TPngRGBQuad* colors, const uint8_t* bits,
                             bool transparent, TPngColor transparentColor) {
    const int bpp = info.biBitCount;
    const int64_t width = info.biWidth, height = info.biHeight < 0 ? -int64_t(info.biHeight) : info.biHeight;
    if (info.biCompression != 0 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32))
        Raise<EPngError>(SPNGCannotAssignChunk);
    if (width < 1 || height < 1 || width > 65535 || height > 65535) Raise<EPNGInvalidNewSize>(SPNGInvalidNewSize);
    ClearImage();
    TChunkIHDR* h = new TChunkIHDR(this);
    ChunkList.Add(h);
    h->Width = uint32_t(width);
    h->Height = uint32_t(height);
    h->BitDepth = uint8_t(bpp < 16 ? bpp : 8);
    h->ColorType = bpp < 16 ? 3 : 2;
    InterlaceMode = 0;
    h->PrepareImage();

    const size_t sourceStride = (size_t(bpp) * size_t(width) + 31) / 32 * 4;
    for (uint32_t y = 0; y < h->Height; ++y) {
        const uint8_t* src = bits + sourceStride * (info.biHeight < 0 ? y : h->Height - 1 - y);
        uint8_t* dst = h->ImageRow(y);
        if (bpp < 16) {
            std::memcpy(dst, src, sourceStride);
            // Bits past the last pixel are not image data: keep them zero as the decoder does.
            uint32_t used = h->Width * uint32_t(bpp);
            if (used % 8) dst[used / 8] &= uint8_t(0xFF00 >> (used % 8));
            std::memset(dst + (used + 7) / 8, 0, h->RowStride - (used + 7) / 8);
        } else {
            const int step = bpp / 8;
            for (uint32_t x = 0; x < h->Width; ++x) std::memcpy(dst + x * 3, src + x * step, 3);
        }
    }
    TChunkPLTE* plte = nullptr;
    if (h->HasDibPalette) {
        // Every index the pixels can hold gets an entry (black past the bitmap's own colours), so that no
        // pixel of the file refers past its palette.
        const int count = 1 << bpp;
        int given = info.biClrUsed && info.biClrUsed < uint32_t(count) ? int(info.biClrUsed) : count;
        TPngRGBQuad entries[256] = {};
        if (colors) std::memcpy(entries, colors, sizeof(TPngRGBQuad) * size_t(given));
        for (int i = 0; i < count; ++i) entries[i].rgbReserved = 0;
        h->SetPaletteEntries(entries, count);
        plte = new TChunkPLTE(this);
        ChunkList.Add(plte);
        plte->SetEntryCount(count);
    }
    if (transparent) {
        TChunktRNS* trns = new TChunktRNS(this);
        ChunkList.Add(trns);
        if (!trns->SetTransparentColor(transparentColor)) {
            // A colour the palette does not hold cannot be made transparent.
            ChunkList.RemoveLast();
        }
    }
    ChunkList.Add(new TChunkIDAT(this));
    ChunkList.Add(new TChunkIEND(this));
}

void TPngImage::Assign(const TPngImage& source) {
    if (&source == this) return;
    InterlaceMode = source.InterlaceMode;
    MaxDataChunkSize = source.MaxDataChunkSize;
    DeflateLevel = source.DeflateLevel;
    FilterSet = source.FilterSet;
    ClearImage();
    std::memcpy(GammaTable, source.GammaTable, 256);
    std::memcpy(InverseGammaTable, source.InverseGammaTable, 256);
    for (size_t i = 0; i < source.ChunkList.Count(); ++i) {
        const TChunk* src = source.ChunkList.Item(i);
        TChunk* chunk = CreateChunkLike(this, *src);
        ChunkList.Add(chunk);
        chunk->CopyChunk(*src);
    }
    // Chunks whose state is not in their body (tRNS, texts) are rebuilt by reading their own body.
    for (size_t i = 0; i < ChunkList.Count(); ++i) {
        TChunk* c = ChunkList.Item(i);
        if (dynamic_cast<TChunktRNS*>(c) || dynamic_cast<TChunktEXt*>(c) || dynamic_cast<TChunkpHYs*>(c) ||
            dynamic_cast<TChunktIME*>(c)) {
            std::vector<uint8_t> bytes(c->Body(), c->Body() + c->BodySize());
            uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(c->ChunkType().data()), 4);
            crc = PngUpdateCrc(crc, bytes.data(), bytes.size()) ^ 0xFFFFFFFFu;
            for (int k = 3; k >= 0; --k) bytes.push_back(uint8_t(crc >> (8 * k)));
            TPngMemoryStream s(bytes.data(), bytes.size());
            c->ReadChunk(s, c->ChunkType().c_str(), c->BodySize());
        }
    }
}

TChunkIHDR* TPngImage::HeaderChunk() const {
    TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    if (!h) Raise<EPNGHeaderNotPresent>(SPNGHeaderNotPresent);
    return h;
}

uint32_t TPngImage::Width() const {
    TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    return h ? h->Width : 0;
}

uint32_t TPngImage::Height() const {
    TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    return h ? h->Height : 0;
}

TPNGTransparencyKind TPngImage::TransparencyKind() const {
    TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    if (!h) return ptmNone;
    TChunktRNS* t = ChunkList.ItemFromClass<TChunktRNS>();
    if (t && !t->Valid) t = nullptr;
    switch (h->ColorType) {
    case 0:
    case 2: return t ? ptmBit : ptmNone;
    case 3: return t ? (t->SingleTransparent ? ptmBit : ptmPartial) : ptmNone;
    case 4:
    case 6: return ptmPartial;
    default: return ptmNone;
    }
}

TPngColor TPngImage::TransparentColor() const {
    TChunktRNS* t = ChunkList.ItemFromClass<TChunktRNS>();
    return t ? t->TransparentColor() : 0;
}

namespace {

// The colour indices a pixel of this image can hold (2-bit grey uses every fifth entry of its 4-bit store).
void IndexRange(const TChunkIHDR& h, int& first, int& step, int& count) {
    first = 0;
    step = (h.ColorType == 0 && h.BitDepth == 2) ? 5 : 1;
    count = 1 << (h.BitDepth == 16 ? 8 : h.BitDepth);
    if (h.ColorType == 3 && h.DibInfo.bmiHeader.biClrUsed)
        count = std::min<int>(count, int(h.DibInfo.bmiHeader.biClrUsed));
}

void StoreIndexAt(const TChunkIHDR& h, uint8_t* row, uint32_t x, unsigned index) {
    int bits = h.StoreBitsPerPixel();
    if (bits == 8) {
        row[x] = uint8_t(index);
        return;
    }
    uint32_t bit = x * uint32_t(bits);
    int shift = 8 - bits - int(bit & 7);
    uint8_t& byte = row[bit >> 3];
    byte = uint8_t((byte & ~(((1u << bits) - 1) << shift)) | ((index & ((1u << bits) - 1)) << shift));
}

} // namespace

TPngColor TPngImage::ReadPixel(int x, int y) const {
    const TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    if (!h || !h->StoreBits || x < 0 || y < 0 || uint32_t(x) >= h->Width || uint32_t(y) >= h->Height) return 0;
    const uint8_t* row = h->ImageRow(uint32_t(y));
    switch (h->ColorType) {
    case 0: {
        // Grey levels 0..255: the stored index scaled to the store's depth (2-bit levels sit at 0, 5, 10, 15).
        unsigned index = h->StoreIndex(row, uint32_t(x));
        int bits = h->StoreBitsPerPixel();
        unsigned level = bits == 1 ? index * 255 : bits == 4 ? index * 17 : index;
        uint8_t g = InverseGammaTable[level];
        return PngRGB(g, g, g);
    }
    case 3: {
        const TPngRGBQuad& q = h->DibInfo.bmiColors[h->StoreIndex(row, uint32_t(x))];
        return PngRGB(InverseGammaTable[q.rgbRed], InverseGammaTable[q.rgbGreen], InverseGammaTable[q.rgbBlue]);
    }
    case 4: return PngRGB(row[x], row[x], row[x]);
    case 2:
    case 6: {
        const uint8_t* p = row + x * 3;
        return PngRGB(p[2], p[1], p[0]);
    }
    default: return 0;
    }
}

void TPngImage::WritePixel(int x, int y, TPngColor color) {
    TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    if (!h || !h->StoreBits || x < 0 || y < 0 || uint32_t(x) >= h->Width || uint32_t(y) >= h->Height) return;
    uint8_t* row = h->ImageRow(uint32_t(y));
    const int r = color & 255, g = (color >> 8) & 255, b = (color >> 16) & 255;
    switch (h->ColorType) {
    case 0:
    case 3: {
        int first, step, count, best = 0;
        long bestDistance = -1;
        IndexRange(*h, first, step, count);
        for (int i = 0; i < count; ++i) {
            const TPngRGBQuad& q = h->DibInfo.bmiColors[first + i * step];
            long d = long(q.rgbRed - r) * (q.rgbRed - r) + long(q.rgbGreen - g) * (q.rgbGreen - g) +
                     long(q.rgbBlue - b) * (q.rgbBlue - b);
            if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = first + i * step;
        }
        StoreIndexAt(*h, row, uint32_t(x), unsigned(best));
        break;
    }
    case 4: row[x] = uint8_t(r); break;
    case 2:
    case 6: {
        uint8_t* p = row + x * 3;
        p[0] = uint8_t(b), p[1] = uint8_t(g), p[2] = uint8_t(r);
        break;
    }
    default: break;
    }
}

std::vector<uint8_t> TPngImage::ExportRGBA() const {
    const TChunkIHDR* h = HeaderChunk();
    // Four bytes a pixel can be far more than the store holds (a 1-bit store has an eighth of a byte), and
    // more than a 32-bit size_t counts.
    size_t bytes;
    if (!ImageBytes(size_t(h->Width) * 4, h->Height, bytes)) Raise<EPNGOutMemory>(SPNGOutMemory);
    std::vector<uint8_t> out;
    try {
        out.resize(bytes);
    } catch (const std::bad_alloc&) {
        Raise<EPNGOutMemory>(SPNGOutMemory);
    }
    const TChunktRNS* trns = h->ColorType == 3 ? ChunkList.ItemFromClass<TChunktRNS>() : nullptr;
    uint8_t* o = out.data();
    for (uint32_t y = 0; y < h->Height; ++y) {
        const uint8_t* row = h->ImageRow(y);
        const uint8_t* alpha = h->AlphaRow(y);
        for (uint32_t x = 0; x < h->Width; ++x, o += 4) {
            if (h->HasDibPalette) {
                uint8_t index = h->StoreIndex(row, x);
                const TPngRGBQuad& q = h->DibInfo.bmiColors[index];
                o[0] = q.rgbRed, o[1] = q.rgbGreen, o[2] = q.rgbBlue;
                o[3] = trns ? trns->AlphaByIndex[index] : 255;
            } else {
                const uint8_t* p = row + x * 3;
                o[0] = p[2], o[1] = p[1], o[2] = p[0];
                o[3] = 255;
            }
            if (alpha) o[3] = alpha[x];
        }
    }
    return out;
}

void TPngImage::BlendOnto(uint8_t* target, int targetStride, int width, int height) const {
    const TChunkIHDR* h = dynamic_cast<TChunkIHDR*>(ChunkList.Item(0));
    if (!h || !h->StoreBits || width <= 0 || height <= 0) return;
    const TChunkPLTE* plte = ChunkList.ItemFromClass<TChunkPLTE>();
    const TChunktRNS* trns = ChunkList.ItemFromClass<TChunktRNS>();
    const int entries = plte ? plte->EntryCount() : 0;
    auto blend = [](unsigned s, unsigned a, unsigned t) { return uint8_t((s * a + (255 - a) * t + 255) >> 8); };
    for (int y = 0; y < height; ++y) {
        uint32_t sy = uint32_t(uint64_t(y) * h->Height / unsigned(height));
        const uint8_t* row = h->ImageRow(sy);
        const uint8_t* alpha = h->AlphaRow(sy);
        uint8_t* t = target + size_t(y) * size_t(targetStride);
        for (int x = 0; x < width; ++x, t += 4) {
            uint32_t sx = uint32_t(uint64_t(x) * h->Width / unsigned(width));
            unsigned a, r, g, b;
            switch (h->ColorType) {
            case 2:
            case 6: {
                a = alpha ? alpha[sx] : 255;
                if (a == 0) continue;
                const uint8_t* p = row + sx * 3;
                if (a == 255) {
                    t[0] = p[0], t[1] = p[1], t[2] = p[2];
                    continue;
                }
                b = p[0], g = p[1], r = p[2];
                break;
            }
            case 4:
                a = alpha[sx];
                r = g = b = row[sx];
                break;
            case 3: {
                uint8_t index = h->StoreIndex(row, sx);
                if (index >= entries) continue; // no colour for it: left as the target shows
                a = trns ? trns->AlphaByIndex[index] : 255;
                const TPngRGBQuad& q = h->DibInfo.bmiColors[index];
                r = q.rgbRed, g = q.rgbGreen, b = q.rgbBlue;
                break;
            }
            default: continue;
            }
            t[0] = blend(b, a, t[0]);
            t[1] = blend(g, a, t[1]);
            t[2] = blend(r, a, t[2]);
        }
    }
}

uint8_t* TPngImage::AllocateStoreBits(TChunkIHDR& header, size_t bytes) {
    (void)header;
    return static_cast<uint8_t*>(CheckedCalloc(bytes));
}

void TPngImage::FreeStoreBits(TChunkIHDR& header, uint8_t* bits) {
    (void)header;
    std::free(bits);
}

void TPngImage::InitialPaletteColors(TPngRGBQuad* entries, int count) {
    std::memset(entries, 0, sizeof(TPngRGBQuad) * size_t(count));
}

void PngSaveToFile(TPngImage& image, const std::string& fileName) {
    std::vector<uint8_t> data = image.SaveToMemory();
    std::FILE* f = std::fopen(fileName.c_str(), "wb");
    if (!f) throw Exception("Cannot create file \"" + fileName + "\"");
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw Exception("Cannot write file \"" + fileName + "\"");
}

void PngLoadFromFile(TPngImage& image, const std::string& fileName) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) throw Exception("Cannot open file \"" + fileName + "\"");
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
    image.LoadFromMemory(data.data(), data.size());
}
