// The chunks of a PNG file other than the image data: the header with the image store, the palette,
// gamma, transparency, pixel size, time and the two text chunks.
#include "PngCore.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "CheckedSize.h"

using namespace PngInternal;

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
    TPngHeaderFields::operator=(*src);
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

