#include "PngCore.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "CheckedSize.h"

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

template <class E> [[noreturn]] void Raise(int id) { throw E(PngResourceString(id)); }

[[noreturn]] void RaiseZlib(int code) { throw EPNGZLIBError(PngResourceString(SPNGZLIBError) + PngZlibCodeText(code)); }

const uint8_t PngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
const uint32_t MaxChunkLength = 0x7FFFFFFFu;
const size_t InputBufferSize = 65535;
// Inflated zTXt texts of one image together may take this much; beyond it an inflation counts as failed.
const size_t MaxTextBytes = 16u << 20;

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

} // namespace

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
// TChunkIHDR and the image store

TChunkIHDR::~TChunkIHDR() { ReleaseImage(); }

bool TChunkIHDR::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    if (bodySize_ < 13) Raise<EPngInvalidIHDR>(SPNGInvalidIHDR);
    const uint8_t* b = body_.data();
    Width = ReadBE32(b);
    Height = ReadBE32(b + 4);
    BitDepth = b[8];
    ColorType = b[9];
    CompressionMethod = b[10];
    FilterMethod = b[11];
    InterlaceMethod = b[12];
    if (Width > 65535 || Height > 65535) Raise<EPNGSizeExceeds>(SPNGSizeExceeds);
    if (Width == 0 || Height == 0) Raise<EPngInvalidIHDR>(SPNGInvalidIHDR);
    if (CompressionMethod != 0) Raise<EPNGUnknownCompression>(SPNGUnknownCompression);
    if (InterlaceMethod > 1) Raise<EPNGUnknownInterlace>(SPNGUnknownInterlace);
    if (!IsStandardPair(ColorType, BitDepth)) Raise<EPngInvalidIHDR>(SPNGInvalidIHDR);
    owner_->InterlaceMode = InterlaceMethod;
    PrepareImage();
    return ok;
}

void TChunkIHDR::WriteChunk(TPngOutputStream& stream) {
    ResizeBody(13);
    uint8_t* b = body_.data();
    PutBE32(b, Width);
    PutBE32(b + 4, Height);
    b[8] = BitDepth == 2 ? 4 : BitDepth; // the store holds 2-bit samples as 4-bit indices
    b[9] = ColorType;
    b[10] = CompressionMethod;
    b[11] = FilterMethod;
    b[12] = owner_->InterlaceMode;
    TChunk::WriteChunk(stream);
}

void TChunkIHDR::CopyChunk(const TChunk& source) {
    const TChunkIHDR* src = dynamic_cast<const TChunkIHDR*>(&source);
    if (!src) RaiseIncompatible();
    TChunk::CopyChunk(source);
    Width = src->Width;
    Height = src->Height;
    BitDepth = src->BitDepth;
    ColorType = src->ColorType;
    CompressionMethod = src->CompressionMethod;
    FilterMethod = src->FilterMethod;
    InterlaceMethod = src->InterlaceMethod;
    PrepareImage();
    if (src->StoreBits) std::memcpy(StoreBits, src->StoreBits, RowStride * Height);
    if (src->AlphaPlane && AlphaPlane) std::memcpy(AlphaPlane, src->AlphaPlane, size_t(Width) * Height);
    if (src->LowBytePlane && LowBytePlane) std::memcpy(LowBytePlane, src->LowBytePlane, RowStride * Height);
    std::memcpy(DibInfo.bmiColors, src->DibInfo.bmiColors, sizeof DibInfo.bmiColors);
    DibInfo.bmiHeader.biClrUsed = src->DibInfo.bmiHeader.biClrUsed;
    owner_->StorePaletteChanged(*this);
}

void TChunkIHDR::AllocateStore(uint32_t width, uint32_t height) {
    // Width and height are at most 65535, so these 64-bit sums cannot wrap; the limit keeps them inside
    // what a size_t of the 32-bit build counts.
    size_t stride;
    if (!DibRowBytes(width, DibInfo.bmiHeader.biBitCount, stride)) Raise<EPNGOutMemory>(SPNGOutMemory);
    uint64_t pixels = uint64_t(stride) * height;
    uint64_t alpha = (ColorType == 4 || ColorType == 6) ? uint64_t(width) * height : 0;
    uint64_t low = BitDepth == 16 ? pixels : 0;
    size_t total;
    if (pixels + alpha + low > PngMemoryLimit || !ToSize(pixels + alpha + low, total)) Raise<EPNGOutMemory>(SPNGOutMemory);
    RowStride = stride;
    DibInfo.bmiHeader.biWidth = int32_t(width);
    DibInfo.bmiHeader.biHeight = int32_t(height);
    DibInfo.bmiHeader.biSizeImage = uint32_t(pixels);
    if (alpha) AlphaPlane = static_cast<uint8_t*>(CheckedCalloc(alpha));
    if (low) LowBytePlane = static_cast<uint8_t*>(CheckedCalloc(low));
    StoreBits = owner_->AllocateStoreBits(*this, size_t(pixels));
    if (!StoreBits) Raise<EPNGOutMemory>(SPNGOutMemory);
}

void TChunkIHDR::PrepareImage() {
    ReleaseImage();
    std::memset(&DibInfo, 0, sizeof DibInfo);
    int bpp;
    switch (ColorType) {
    case 2:
    case 6: bpp = 24; HasDibPalette = false; break;
    default:
        bpp = BitDepth == 2 ? 4 : BitDepth == 16 ? 8 : BitDepth;
        HasDibPalette = true;
        break;
    }
    TPngBitmapInfoHeader& h = DibInfo.bmiHeader;
    h.biSize = 40;
    h.biPlanes = 1;
    h.biBitCount = uint16_t(bpp);
    h.biCompression = 0;
    AllocateStore(Width, Height);
    if (HasDibPalette) {
        int count = 1 << bpp;
        // Grey stores get a grey ramp over all entries of the stored depth (2-bit levels use every fifth
        // entry of the 4-bit store's 16, so level 3 is white).
        if (ColorType == 3)
            owner_->InitialPaletteColors(DibInfo.bmiColors, count);
        else
            BuildGreyPalette(*owner_, DibInfo.bmiColors, count);
        h.biClrUsed = uint32_t(count);
    }
    owner_->StoreChanged(*this);
    if (HasDibPalette) owner_->StorePaletteChanged(*this);
}

void TChunkIHDR::ReleaseImage() {
    if (StoreBits) owner_->FreeStoreBits(*this, StoreBits);
    StoreBits = nullptr;
    std::free(AlphaPlane);
    std::free(LowBytePlane);
    AlphaPlane = LowBytePlane = nullptr;
    RowStride = 0;
}

uint8_t TChunkIHDR::StoreIndex(const uint8_t* row, uint32_t x) const {
    switch (DibInfo.bmiHeader.biBitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default: return row[x];
    }
}

void TChunkIHDR::SetPaletteEntries(const TPngRGBQuad* entries, int count) {
    if (!HasDibPalette) return;
    count = std::max(0, std::min(count, 256));
    std::memcpy(DibInfo.bmiColors, entries, sizeof(TPngRGBQuad) * size_t(count));
    DibInfo.bmiHeader.biClrUsed = uint32_t(count);
    owner_->StorePaletteChanged(*this);
}

void TChunkIHDR::ResizeImage(int newWidth, int newHeight) {
    if (newWidth < 1 || newHeight < 1 || newWidth > 65535 || newHeight > 65535)
        Raise<EPNGInvalidNewSize>(SPNGInvalidNewSize);
    uint8_t* oldBits = StoreBits;
    uint8_t* oldAlpha = AlphaPlane;
    uint8_t* oldLow = LowBytePlane;
    size_t oldStride = RowStride;
    uint32_t oldW = Width, oldH = Height;
    TPngDibInfo oldInfo = DibInfo;
    StoreBits = AlphaPlane = LowBytePlane = nullptr;
    try {
        AllocateStore(uint32_t(newWidth), uint32_t(newHeight));
    } catch (...) {
        std::free(AlphaPlane);
        std::free(LowBytePlane);
        StoreBits = oldBits, AlphaPlane = oldAlpha, LowBytePlane = oldLow, RowStride = oldStride, DibInfo = oldInfo;
        throw;
    }
    uint32_t rows = std::min<uint32_t>(oldH, uint32_t(newHeight));
    uint32_t cols = std::min<uint32_t>(oldW, uint32_t(newWidth));
    size_t copy = std::min(oldStride, RowStride);
    Width = uint32_t(newWidth);
    Height = uint32_t(newHeight);
    for (uint32_t y = 0; y < rows; ++y) {
        std::memcpy(ImageRow(y), oldBits + size_t(oldH - 1 - y) * oldStride, copy);
        if (AlphaPlane) {
            std::memset(AlphaRow(y), 255, Width);
            std::memcpy(AlphaRow(y), oldAlpha + size_t(y) * oldW, cols);
        }
        if (LowBytePlane) std::memcpy(LowByteRow(y), oldLow + size_t(y) * oldStride, copy);
    }
    if (AlphaPlane)
        for (uint32_t y = rows; y < Height; ++y) std::memset(AlphaRow(y), 255, Width);
    // The old store goes through the hook with its own description.
    TPngDibInfo newInfo = DibInfo;
    DibInfo = oldInfo;
    owner_->FreeStoreBits(*this, oldBits);
    DibInfo = newInfo;
    std::free(oldAlpha);
    std::free(oldLow);
    owner_->StoreChanged(*this);
    if (HasDibPalette) owner_->StorePaletteChanged(*this);
}

// ---------------------------------------------------------------------------------------------------------
// PLTE, gAMA, tRNS, pHYs, tIME, tEXt, zTXt

bool TChunkPLTE::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    if (bodySize_ % 3 != 0 || bodySize_ / 3 > 256) Raise<EPNGInvalidPalette>(SPNGInvalidPalette);
    entryCount_ = int(bodySize_ / 3);
    TPngRGBQuad entries[256];
    const uint8_t* g = owner_->GammaTable;
    for (int i = 0; i < entryCount_; ++i) {
        const uint8_t* p = body_.data() + i * 3;
        entries[i] = TPngRGBQuad{g[p[2]], g[p[1]], g[p[0]], 0};
    }
    OwnerHeader()->SetPaletteEntries(entries, entryCount_);
    return ok;
}

void TChunkPLTE::WriteChunk(TPngOutputStream& stream) {
    const TChunkIHDR& h = *OwnerHeader();
    int count = entryCount_ ? entryCount_ : int(h.DibInfo.bmiHeader.biClrUsed);
    count = std::max(0, std::min(count, 256));
    ResizeBody(uint32_t(count * 3));
    const uint8_t* inverse = owner_->InverseGammaTable;
    for (int i = 0; i < count; ++i) {
        const TPngRGBQuad& q = h.DibInfo.bmiColors[i];
        uint8_t* p = body_.data() + i * 3;
        p[0] = inverse[q.rgbRed], p[1] = inverse[q.rgbGreen], p[2] = inverse[q.rgbBlue];
    }
    TChunk::WriteChunk(stream);
}

void TChunkPLTE::CopyChunk(const TChunk& source) {
    const TChunkPLTE* src = dynamic_cast<const TChunkPLTE*>(&source);
    if (!src) RaiseIncompatible();
    TChunk::CopyChunk(source);
    entryCount_ = src->entryCount_;
}

TPngRGBQuad TChunkPLTE::PaletteEntry(int index) const {
    if (index < 0 || index >= entryCount_) Raise<EPngError>(SPNGNoSuchPaletteEntry);
    return OwnerHeader()->DibInfo.bmiColors[index];
}

TChunkgAMA::TChunkgAMA(TPngImage* owner) : TChunk(owner) { SetGammaValue(1); }

uint32_t TChunkgAMA::GammaValue() {
    if (bodySize_ != 4) SetGammaValue(1);
    return ReadBE32(body_.data());
}

void TChunkgAMA::SetGammaValue(uint32_t value) {
    if (bodySize_ != 4) ResizeBody(4);
    uint8_t* b = body_.data();
    b[0] = uint8_t(value >> 24), b[1] = uint8_t(value >> 16), b[2] = uint8_t(value >> 8), b[3] = uint8_t(value);
}

bool TChunkgAMA::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    owner_->SetGamma(GammaValue());
    return ok;
}

void TChunkgAMA::WriteChunk(TPngOutputStream& stream) {
    GammaValue(); // a body of another length becomes the value 1
    TChunk::WriteChunk(stream);
}

void TChunkgAMA::CopyChunk(const TChunk& source) {
    if (!dynamic_cast<const TChunkgAMA*>(&source)) RaiseIncompatible();
    TChunk::CopyChunk(source);
}

bool TChunktRNS::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    if (bodySize_ > 256) Raise<EPNGInvalidPalette>(SPNGInvalidPalette);
    ParseBody();
    return ok;
}

void TChunktRNS::ParseBody() {
    std::memset(AlphaByIndex, 255, sizeof AlphaByIndex);
    std::memcpy(AlphaByIndex, body_.data(), bodySize_);
    switch (OwnerHeader()->ColorType) {
    case 0:
        Valid = bodySize_ >= 2;
        SingleTransparent = Valid;
        break;
    case 2:
        Valid = bodySize_ >= 6;
        SingleTransparent = Valid;
        break;
    case 3: {
        // A colour key only when one entry is fully transparent and every other entry opaque.
        int nonOpaque = 0, transparent = 0;
        for (uint32_t i = 0; i < bodySize_; ++i) {
            if (AlphaByIndex[i] != 255) ++nonOpaque;
            if (AlphaByIndex[i] == 0) ++transparent;
        }
        Valid = true;
        SingleTransparent = nonOpaque == 1 && transparent == 1;
        break;
    }
    default: Valid = false; SingleTransparent = false; break;
    }
}

void TChunktRNS::WriteChunk(TPngOutputStream& stream) {
    const TChunkIHDR& h = *OwnerHeader();
    if (h.ColorType == 0 && h.BitDepth == 2 && bodySize_ >= 2) {
        // The image is written at depth 4, where grey level s of depth 2 is level 5 x s.
        uint8_t body[2];
        PutBE16(body, (ReadBE16(body_.data()) & 3) * 5);
        WriteRawChunk(stream, "tRNS", body, 2);
        return;
    }
    TChunk::WriteChunk(stream);
}

bool TChunktRNS::SetTransparentColor(TPngColor color) {
    const TChunkIHDR& h = *OwnerHeader();
    const unsigned r = color & 255, g = (color >> 8) & 255, b = (color >> 16) & 255;
    switch (h.ColorType) {
    case 0:
        ResizeBody(2);
        PutBE16(body_.data(), r);
        break;
    case 2:
        ResizeBody(6);
        PutBE16(body_.data(), r);
        PutBE16(body_.data() + 2, g);
        PutBE16(body_.data() + 4, b);
        break;
    case 3: {
        int count = std::min<int>(int(h.DibInfo.bmiHeader.biClrUsed), 256), found = -1;
        for (int i = 0; i < count && found < 0; ++i) {
            const TPngRGBQuad& q = h.DibInfo.bmiColors[i];
            if (q.rgbRed == r && q.rgbGreen == g && q.rgbBlue == b) found = i;
        }
        if (found < 0) return false;
        ResizeBody(uint32_t(found + 1));
        std::memset(body_.data(), 255, size_t(found));
        body_[size_t(found)] = 0;
        break;
    }
    default: return false;
    }
    ParseBody();
    return true;
}

TPngColor TChunktRNS::TransparentColor() const {
    const TChunkIHDR* h = owner_->HeaderChunk();
    const uint8_t* b = body_.data();
    switch (h->ColorType) {
    case 0: {
        if (bodySize_ < 2) return 0;
        // The key is the sample as the store holds it: 2-bit levels are spread, 16-bit keep the high byte.
        unsigned sample = ReadBE16(b);
        unsigned index;
        switch (h->BitDepth) {
        case 16: index = sample >> 8; break;
        case 2: index = (sample & 3) * 5; break;
        default: index = sample & ((1u << h->BitDepth) - 1); break;
        }
        const TPngRGBQuad& q = h->DibInfo.bmiColors[index & 255];
        return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case 2: {
        if (bodySize_ < 6) return 0;
        const uint8_t* g = owner_->GammaTable;
        int k = h->BitDepth == 16 ? 0 : 1;
        return PngRGB(g[b[k]], g[b[2 + k]], g[b[4 + k]]);
    }
    case 3:
        for (uint32_t i = 0; i < bodySize_; ++i)
            if (AlphaByIndex[i] == 0) {
                const TPngRGBQuad& q = h->DibInfo.bmiColors[i];
                return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
            }
        return 0;
    default: return 0;
    }
}

bool TChunkpHYs::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    if (bodySize_ == 9) {
        PixelsPerUnitX = ReadBE32(body_.data());
        PixelsPerUnitY = ReadBE32(body_.data() + 4);
        UnitSpecifier = body_[8];
    }
    return ok;
}

void TChunkpHYs::WriteChunk(TPngOutputStream& stream) {
    ResizeBody(9);
    PutBE32(body_.data(), PixelsPerUnitX);
    PutBE32(body_.data() + 4, PixelsPerUnitY);
    body_[8] = UnitSpecifier;
    TChunk::WriteChunk(stream);
}

bool TChunktIME::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    if (bodySize_ == 7) {
        const uint8_t* b = body_.data();
        Year = ReadBE16(b);
        Month = b[2], Day = b[3], Hour = b[4], Minute = b[5], Second = b[6];
    }
    return ok;
}

void TChunktIME::WriteChunk(TPngOutputStream& stream) {
    ResizeBody(7);
    uint8_t* b = body_.data();
    PutBE16(b, Year);
    b[2] = Month, b[3] = Day, b[4] = Hour, b[5] = Minute, b[6] = Second;
    TChunk::WriteChunk(stream);
}

bool TChunktEXt::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunk::ReadChunk(stream, type, size);
    if (bodySize_ > 2) {
        const char* b = reinterpret_cast<const char*>(body_.data());
        const char* zero = static_cast<const char*>(std::memchr(b, 0, bodySize_));
        size_t keyLength = zero ? size_t(zero - b) : bodySize_;
        Keyword.assign(b, keyLength);
        Text = zero ? std::string(zero + 1, b + bodySize_) : std::string();
    }
    return ok;
}

void TChunktEXt::WriteChunk(TPngOutputStream& stream) {
    std::string body = Keyword + '\0' + Text;
    WriteRawChunk(stream, "tEXt", reinterpret_cast<const uint8_t*>(body.data()), uint32_t(body.size()));
}

bool TChunkzTXt::ReadChunk(TPngStream& stream, const char* type, uint32_t size) {
    bool ok = TChunktEXt::ReadChunk(stream, type, size);
    if (bodySize_ < 4) return ok;
    Text.clear();
    const uint8_t* b = body_.data();
    const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(b, 0, bodySize_));
    Keyword.assign(reinterpret_cast<const char*>(b), zero ? size_t(zero - b) : bodySize_);
    if (!zero || size_t(zero - b) + 2 > bodySize_ || zero[1] != 0) return ok;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return ok;
    zs.next_in = const_cast<Bytef*>(zero + 2);
    zs.avail_in = uInt(b + bodySize_ - (zero + 2));
    std::string text;
    char buffer[4096];
    int r;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        r = inflate(&zs, Z_NO_FLUSH);
        if (r != Z_OK && r != Z_STREAM_END) break;
        text.append(buffer, sizeof buffer - zs.avail_out);
        if (text.size() > owner_->TextBudget) break;
        if (r == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) break; // input used up without an end
    } while (r != Z_STREAM_END);
    inflateEnd(&zs);
    if (r == Z_STREAM_END && text.size() <= owner_->TextBudget) {
        Text = text;
        owner_->TextBudget -= text.size();
    }
    return ok;
}

void TChunkzTXt::WriteChunk(TPngOutputStream& stream) {
    const std::string& text = Text.empty() ? std::string(" ") : Text;
    uLongf size = compressBound(uLong(text.size()));
    std::vector<uint8_t> body(Keyword.size() + 2 + size);
    std::memcpy(body.data(), Keyword.data(), Keyword.size());
    body[Keyword.size()] = 0;     // end of the keyword
    body[Keyword.size() + 1] = 0; // compression method: deflate
    int r = compress2(body.data() + Keyword.size() + 2, &size, reinterpret_cast<const Bytef*>(text.data()),
                      uLong(text.size()), std::min<int>(owner_->DeflateLevel, 9));
    if (r != Z_OK) RaiseZlib(r);
    WriteRawChunk(stream, "zTXt", body.data(), uint32_t(Keyword.size() + 2 + size));
}

// ---------------------------------------------------------------------------------------------------------
// Image data: inflating, unfiltering and row conversion

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
