// PNG decoding core: chunk reading, CRC, gamma, inflate, unfiltering, row conversion and the image store.
// Free of GDI and of Windows headers so that it also builds natively (fuzzing, benchmarking); the GDI side
// (PngPicture, PngDraw) puts the store into a DIB section and draws it. PngCore.cpp holds the image, the
// streams and the chunk framing, PngChunks.cpp every chunk but the image data, PngImageData.cpp the image
// data (IDAT).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Errors.h"

// ---------------------------------------------------------------------------------------------------------
// Errors. Every failure is an exception of its own class, each derived directly from Exception; the
// messages come from the string table below (PngResourceString).

#define ORV_PNG_EXCEPTION(Name)                                                     \
    class Name : public Exception {                                                 \
    public:                                                                         \
        using Exception::Exception;                                                 \
        const char* ClassName() const override { return #Name; }                    \
    };

ORV_PNG_EXCEPTION(EPNGInvalidFileHeader)
ORV_PNG_EXCEPTION(EPngUnexpectedEnd)
ORV_PNG_EXCEPTION(EPNGIHDRNotFirst)
ORV_PNG_EXCEPTION(EPNGUnknownCriticalChunk)
ORV_PNG_EXCEPTION(EPngInvalidCRC)
ORV_PNG_EXCEPTION(EPngInvalidIHDR)
ORV_PNG_EXCEPTION(EPNGSizeExceeds)
ORV_PNG_EXCEPTION(EPNGUnknownCompression)
ORV_PNG_EXCEPTION(EPNGUnknownInterlace)
ORV_PNG_EXCEPTION(EPNGInvalidPalette)
ORV_PNG_EXCEPTION(EPNGMissingMultipleIDAT)
ORV_PNG_EXCEPTION(EPNGZLIBError)
ORV_PNG_EXCEPTION(EPNGNoImageData)
ORV_PNG_EXCEPTION(EPNGHeaderNotPresent)
ORV_PNG_EXCEPTION(EPNGOutMemory)
ORV_PNG_EXCEPTION(EPNGInvalidNewSize)
ORV_PNG_EXCEPTION(EPngError)

// String-table ids of the decoder's messages.
enum : int {
    SPNGSizeExceeds = 65216,
    SPNGNoSuchPaletteEntry = 65217,
    SPNGUnknownCriticalChunk = 65218,
    SPNGUnknownCompression = 65219,
    SPNGUnknownInterlace = 65220,
    SPNGCannotAssignChunk = 65221,
    SPNGUnexpectedEnd = 65222,
    SPNGNoImageData = 65223,
    SPNGOutMemory = 65224,
    SPNGHeaderNotPresent = 65225,
    SPNGInvalidNewSize = 65226,
    SPNGInvalidCRC = 65241,
    SPNGInvalidIHDR = 65242,
    SPNGMissingMultipleIDAT = 65243,
    SPNGZLIBError = 65244,
    SPNGInvalidPalette = 65245,
    SPNGInvalidFileHeader = 65246,
    SPNGIHDRNotFirst = 65247,
};
const char* PngResourceString(int id);
// The text zlib's result code is reported with ("data error (-3)"); codes outside -6..2 give "(code)".
std::string PngZlibCodeText(int code);

// ---------------------------------------------------------------------------------------------------------
// Helpers

// CRC-32 of the PNG standard (reflected 0xEDB88320). Start with 0xFFFFFFFF, complement at the end.
uint32_t PngUpdateCrc(uint32_t crc, const uint8_t* data, size_t size);

// Largest number of bytes the image store and its planes may take together; larger images fail with
// EPNGOutMemory instead of asking the system for gigabytes.
extern uint64_t PngMemoryLimit;

// What the decoder reads from. Read returns the number of bytes read (0 at the end).
class TPngStream {
public:
    virtual ~TPngStream() = default;
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual uint64_t Position() const = 0;
    virtual uint64_t Size() const = 0;
    virtual void Seek(uint64_t position) = 0;
};

class TPngMemoryStream : public TPngStream {
public:
    TPngMemoryStream(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    size_t Read(void* buffer, size_t count) override;
    uint64_t Position() const override { return pos_; }
    uint64_t Size() const override { return size_; }
    void Seek(uint64_t position) override { pos_ = position > size_ ? size_ : static_cast<size_t>(position); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// What the writer writes to.
class TPngOutputStream {
public:
    virtual ~TPngOutputStream() = default;
    virtual void Write(const void* data, size_t count) = 0;
};

class TPngVectorStream : public TPngOutputStream {
public:
    void Write(const void* data, size_t count) override;
    std::vector<uint8_t> Bytes;
};

// Layout-compatible with the system's BITMAPINFOHEADER and RGBQUAD, so the GDI side uses it as BITMAPINFO.
struct TPngRGBQuad {
    uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct TPngBitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
struct TPngDibInfo {
    TPngBitmapInfoHeader bmiHeader;
    TPngRGBQuad bmiColors[256];
};
static_assert(sizeof(TPngBitmapInfoHeader) == 40, "DIB header must match BITMAPINFOHEADER");

enum TPNGTransparencyKind { ptmNone, ptmBit, ptmPartial };

// Filters the writer may try (FilterSet bits).
enum : uint8_t {
    PngFilterNone = 1, PngFilterSub = 2, PngFilterUp = 4, PngFilterAverage = 8, PngFilterPaeth = 16, PngAllFilters = 31
};

// A colour as the system's COLORREF: red in the low byte.
using TPngColor = uint32_t;
inline TPngColor PngRGB(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (uint32_t(b) << 16); }

class TPngImage;

// ---------------------------------------------------------------------------------------------------------
// Chunks

class TChunkIHDR;

class TChunk {
public:
    explicit TChunk(TPngImage* owner);
    virtual ~TChunk() = default;
    // The class name without "TChunk": "IHDR" for TChunkIHDR, empty for the generic chunk.
    virtual const char* ChunkTypeName() const { return ""; }
    virtual void CopyChunk(const TChunk& source);
    // Reads `size` body bytes and the CRC from the stream. Returns success.
    virtual bool ReadChunk(TPngStream& stream, const char* type, uint32_t size);
    // Writes length, type, body and CRC; chunks whose state lives outside the body rebuild it first.
    virtual void WriteChunk(TPngOutputStream& stream);

    TPngImage* Owner() const { return owner_; }
    TChunkIHDR* OwnerHeader() const;
    // The 4 type bytes as stored in the file; a chunk made in code has its class's type.
    std::string ChunkType() const { return type_[0] ? std::string(type_, 4) : std::string(ChunkTypeName()); }
    void SetChunkType(const char* type);
    uint8_t* Body() { return body_.data(); }
    const uint8_t* Body() const { return body_.data(); }
    uint32_t BodySize() const { return bodySize_; }
    void ResizeBody(uint32_t size);

protected:
    void RaiseIncompatible() const;
    TPngImage* owner_;
    char type_[4] = {0, 0, 0, 0};
    std::vector<uint8_t> body_;
    uint32_t bodySize_ = 0;
};

class TChunkIEND : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "IEND"; }
};

// The header chunk's fields as the file gives them; a copy of the header copies them whole.
struct TPngHeaderFields {
    uint32_t Width = 0, Height = 0;
    uint8_t BitDepth = 0, ColorType = 0, CompressionMethod = 0, FilterMethod = 0, InterlaceMethod = 0;
};

// The header; owns the image store (rows bottom-up as in a DIB, palette images as colour indices).
class TChunkIHDR : public TChunk, public TPngHeaderFields {
public:
    using TChunk::TChunk;
    ~TChunkIHDR() override;
    const char* ChunkTypeName() const override { return "IHDR"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    void CopyChunk(const TChunk& source) override;

    // Image store.
    TPngDibInfo DibInfo{};
    uint8_t* StoreBits = nullptr;
    size_t RowStride = 0;
    uint8_t* AlphaPlane = nullptr;   // Width x Height, top row first; colour types 4 and 6
    uint8_t* LowBytePlane = nullptr; // RowStride x Height, top row first; bit depth 16
    bool HasDibPalette = false;

    void PrepareImage();
    void ReleaseImage();
    uint8_t* ImageRow(uint32_t y) const { return StoreBits + size_t(Height - 1 - y) * RowStride; }
    uint8_t* AlphaRow(uint32_t y) const { return AlphaPlane ? AlphaPlane + size_t(y) * Width : nullptr; }
    uint8_t* LowByteRow(uint32_t y) const { return LowBytePlane ? LowBytePlane + size_t(y) * RowStride : nullptr; }
    int StoreBitsPerPixel() const { return DibInfo.bmiHeader.biBitCount; }
    // Colour index of pixel x of a palette store row.
    uint8_t StoreIndex(const uint8_t* row, uint32_t x) const;
    // Installs colour-table entries (palette stores only).
    void SetPaletteEntries(const TPngRGBQuad* entries, int count);
    void ResizeImage(int newWidth, int newHeight);

private:
    void AllocateStore(uint32_t width, uint32_t height);
};

class TChunkIDAT : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "IDAT"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    // Re-encodes the store: rows back to samples, filtered, deflated, split into IDAT chunks.
    void WriteChunk(TPngOutputStream& stream) override;
};

class TChunkPLTE : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "PLTE"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    void CopyChunk(const TChunk& source) override;
    int EntryCount() const { return entryCount_; }
    void SetEntryCount(int count) { entryCount_ = count < 0 ? 0 : count > 256 ? 256 : count; }
    // Colour-table entry; raises EPngError for an index at or beyond EntryCount.
    TPngRGBQuad PaletteEntry(int index) const;

private:
    int entryCount_ = 0;
};

class TChunkgAMA : public TChunk {
public:
    explicit TChunkgAMA(TPngImage* owner);
    const char* ChunkTypeName() const override { return "gAMA"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    void CopyChunk(const TChunk& source) override;
    uint32_t GammaValue();
    void SetGammaValue(uint32_t value);
};

class TChunktRNS : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "tRNS"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    uint8_t AlphaByIndex[256];
    bool SingleTransparent = false;
    // False when the body is too short for the image's colour type (such a chunk is ignored).
    bool Valid = false;
    TPngColor TransparentColor() const;
    // Makes `color` the image's transparent colour; false (and nothing changed) when a palette image has
    // no entry of that colour.
    bool SetTransparentColor(TPngColor color);
    // Fills AlphaByIndex, SingleTransparent and Valid from the body.
    void ParseBody();
};

class TChunkpHYs : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "pHYs"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    uint32_t PixelsPerUnitX = 0, PixelsPerUnitY = 0;
    uint8_t UnitSpecifier = 0;
};

class TChunktIME : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "tIME"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    uint16_t Year = 0;
    uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TChunktEXt : public TChunk {
public:
    using TChunk::TChunk;
    const char* ChunkTypeName() const override { return "tEXt"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
    std::string Keyword, Text;
};

class TChunkzTXt : public TChunktEXt {
public:
    using TChunktEXt::TChunktEXt;
    const char* ChunkTypeName() const override { return "zTXt"; }
    bool ReadChunk(TPngStream& stream, const char* type, uint32_t size) override;
    void WriteChunk(TPngOutputStream& stream) override;
};

// A plain growable array of untyped pointers that belongs to an image. Reads past the end give null and
// writes past the end are ignored; it never frees what the pointers point to.
class TPNGPointerList {
public:
    explicit TPNGPointerList(TPngImage* owner) : owner_(owner) {}
    TPngImage* Owner() const { return owner_; }
    size_t Count() const { return items_.size(); }
    // Growing adds null entries; 0 frees the array.
    void SetCount(size_t count);
    void Add(void* item) { items_.push_back(item); }
    // Removes the last entry equal to `item` and returns it; null when there is none.
    void* Remove(void* item);
    void* Item(size_t index) const { return index < items_.size() ? items_[index] : nullptr; }
    void SetItem(size_t index, void* item) {
        if (index < items_.size()) items_[index] = item;
    }

private:
    TPngImage* owner_;
    std::vector<void*> items_;
};

// The chunk list: the pointer list typed to chunks, in file order. Clear frees the chunks.
class TPNGList : public TPNGPointerList {
public:
    explicit TPNGList(TPngImage* owner) : TPNGPointerList(owner) {}
    ~TPNGList() { Clear(); }
    TPNGList(const TPNGList&) = delete;
    TPNGList& operator=(const TPNGList&) = delete;
    void Add(TChunk* chunk) { TPNGPointerList::Add(chunk); }
    TChunk* Item(size_t index) const { return static_cast<TChunk*>(TPNGPointerList::Item(index)); }
    void Clear();
    void RemoveLast();
    // First chunk that is a T (a subclass counts).
    template <class T> T* ItemFromClass() const {
        for (size_t i = 0; i < Count(); ++i)
            if (T* t = dynamic_cast<T*>(Item(i))) return t;
        return nullptr;
    }
};

// ---------------------------------------------------------------------------------------------------------
// The picture's data: chunk list, gamma tables and the decoded store. The GDI side derives from it to put
// the store's pixels into a DIB section (the protected hooks).

class TPngImage {
public:
    TPngImage();
    virtual ~TPngImage();
    TPngImage(const TPngImage&) = delete;
    TPngImage& operator=(const TPngImage&) = delete;

    TPNGList ChunkList;
    uint8_t GammaTable[256];
    uint8_t InverseGammaTable[256];
    uint8_t InterlaceMode = 0;
    uint8_t FilterSet = 0x02; // bit per filter None, Sub, Up, Average, Paeth; Sub only
    uint8_t DeflateLevel = 7;
    int MaxDataChunkSize = 65535;
    // What compressed texts may still inflate to in this load (a few bytes of zTXt can ask for megabytes).
    size_t TextBudget = 0;

    void ClearImage();
    void LoadFromStream(TPngStream& stream);
    void LoadFromMemory(const void* data, size_t size);
    // Writes the signature and every chunk in list order; the image data is encoded afresh from the store.
    void SaveToStream(TPngOutputStream& stream);
    std::vector<uint8_t> SaveToMemory();
    // Builds an RGB (24 and 32 bits) or palette (1, 4 and 8 bits) image from a DIB's header, colour table and
    // pixels (rows bottom-up for a positive height, top-down for a negative one); with `transparent` the
    // colour becomes the image's transparent colour. Other pixel formats raise EPngError.
    void BuildFromDib(const TPngBitmapInfoHeader& info, const TPngRGBQuad* colors, const uint8_t* bits,
                      bool transparent, TPngColor transparentColor);
    // Copies chunk by chunk from another image.
    void Assign(const TPngImage& source);

    bool Empty() const { return ChunkList.Count() == 0; }
    TChunkIHDR* HeaderChunk() const; // raises EPNGHeaderNotPresent
    uint32_t Width() const;
    uint32_t Height() const;
    TPNGTransparencyKind TransparencyKind() const;
    TPngColor TransparentColor() const;
    void SetGamma(uint32_t gammaValue); // builds both tables from a gAMA value (0 changes nothing)
    void Resize(int newWidth, int newHeight) { HeaderChunk()->ResizeImage(newWidth, newHeight); }

    // A pixel of the store as a colour (outside the image: black); writing ignores coordinates outside it.
    // Palette stores map back through the inverse gamma table and write the nearest index.
    TPngColor ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, TPngColor color);

    // The stored image as RGBA8, top row first: colour after palette and gamma, alpha from the alpha plane
    // or the tRNS entry of a palette index, 255 elsewhere.
    std::vector<uint8_t> ExportRGBA() const;

    // Blends the image (partial transparency kinds) over a 32-bit top-down BGRA target of W x H pixels,
    // scaling by sampling when the size differs. Never raises.
    void BlendOnto(uint8_t* target, int targetStride, int width, int height) const;

    // Store hooks (the GDI side puts the pixels into a DIB section and keeps a palette in its DC).
    virtual uint8_t* AllocateStoreBits(TChunkIHDR& header, size_t bytes);
    virtual void FreeStoreBits(TChunkIHDR& header, uint8_t* bits);
    // Fills the initial colour table of a palette image read before its PLTE (colour type 3).
    virtual void InitialPaletteColors(TPngRGBQuad* entries, int count);
    // The store's colour table changed.
    virtual void StorePaletteChanged(TChunkIHDR& header) { (void)header; }
    // The store was (re)allocated or released.
    virtual void StoreChanged(TChunkIHDR& header) { (void)header; }
};

// Copies the whole of a file into memory and decodes it.
void PngLoadFromFile(TPngImage& image, const std::string& fileName);
// Encodes the image and writes it as a file.
void PngSaveToFile(TPngImage& image, const std::string& fileName);

// ---------------------------------------------------------------------------------------------------------
// The core's own building blocks, shared by its three files (PngCore.cpp, PngChunks.cpp, PngImageData.cpp):
// raising the decoder's errors, big-endian fields, exact reads, chunk framing, the limits, and the row
// geometry of the colour types. Not for the core's users.

namespace PngInternal {

template <class E> [[noreturn]] void Raise(int id) { throw E(PngResourceString(id)); }
[[noreturn]] void RaiseZlib(int code);

inline const uint8_t PngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t MaxChunkLength = 0x7FFFFFFFu;
constexpr size_t InputBufferSize = 65535;
// Inflated zTXt texts of one image together may take this much; beyond it an inflation counts as failed.
constexpr size_t MaxTextBytes = 16u << 20;

void PutBE32(uint8_t* p, uint32_t v);
void PutBE16(uint8_t* p, unsigned v);
// One chunk as the file holds it: length, type, body, CRC over type and body.
void WriteRawChunk(TPngOutputStream& stream, const char* type, const uint8_t* body, uint32_t size);
uint32_t ReadBE32(const uint8_t* p);
uint16_t ReadBE16(const uint8_t* p);
// Reads exactly `count` bytes; any short read is an unexpected end of the file.
void ReadExact(TPngStream& stream, void* buffer, size_t count);
uint32_t ReadCrc(TPngStream& stream);
// A chunk body (plus its CRC) must fit in what is left of the stream.
void CheckChunkLength(TPngStream& stream, uint32_t length);
// Zeroed memory within PngMemoryLimit; raises EPNGOutMemory otherwise.
void* CheckedCalloc(uint64_t bytes);
// Colour type / bit depth pairs of the PNG standard.
bool IsStandardPair(uint8_t colorType, uint8_t depth);
// Raw bytes of one row of `width` pixels, without the filter byte.
uint64_t RawRowSize(uint8_t colorType, uint8_t depth, uint64_t width);
// Bytes between a sample and the one its filter refers to.
int FilterDistance(uint8_t colorType, uint8_t depth);
uint8_t RoundHalfEvenByte(double v);
void BuildGreyPalette(const TPngImage& image, TPngRGBQuad* entries, int count);

} // namespace PngInternal
