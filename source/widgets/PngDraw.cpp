#include "PngDraw.h"

#include <algorithm>
#include <cstring>

#include "CheckedSize.h"
#include "OrvWindowsUtils.h"

namespace {

// Owns a memory DC with one bitmap selected; releases both in the right order.
class TWorkDC {
public:
    TWorkDC(HDC compatible, HBITMAP bitmap) : bitmap_(bitmap) {
        if (!bitmap_) return;
        dc_ = CreateCompatibleDC(compatible);
        if (dc_) old_ = SelectObject(dc_, bitmap_);
    }
    ~TWorkDC() {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
        if (bitmap_) DeleteObject(bitmap_);
    }
    TWorkDC(const TWorkDC&) = delete;
    TWorkDC& operator=(const TWorkDC&) = delete;
    bool Ok() const { return dc_ && bitmap_; }
    HDC DC() const { return dc_; }

private:
    HBITMAP bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

} // namespace

TPngDibImage::~TPngDibImage() {
    ClearImage(); // the chunks release their stores through the hooks while this object still exists
    if (storeDC_) {
        if (originalPalette_) SelectPalette(storeDC_, static_cast<HPALETTE>(originalPalette_), FALSE);
        DeleteDC(storeDC_);
    }
    if (storePalette_) DeleteObject(storePalette_);
}

const BITMAPINFO* TPngDibImage::DibBitmapInfo() const {
    return reinterpret_cast<const BITMAPINFO*>(&HeaderChunk()->DibInfo);
}

uint8_t* TPngDibImage::AllocateStoreBits(TChunkIHDR& header, size_t bytes) {
    (void)bytes;
    if (!storeDC_) {
        storeDC_ = CreateCompatibleDC(nullptr);
        if (!storeDC_) return nullptr;
    }
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(storeDC_, reinterpret_cast<const BITMAPINFO*>(&header.DibInfo), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(storeDC_, bitmap);
    if (!originalBitmap_) originalBitmap_ = previous;
    sections_.push_back({static_cast<uint8_t*>(bits), bitmap});
    return static_cast<uint8_t*>(bits); // a new DIB section is zeroed by the system
}

void TPngDibImage::FreeStoreBits(TChunkIHDR& header, uint8_t* bits) {
    (void)header;
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].Bits != bits) continue;
        if (GetCurrentObject(storeDC_, OBJ_BITMAP) == sections_[i].Bitmap) SelectObject(storeDC_, originalBitmap_);
        DeleteObject(sections_[i].Bitmap);
        sections_.erase(sections_.begin() + long(i));
        break;
    }
    if (!sections_.empty()) SelectObject(storeDC_, sections_.back().Bitmap);
}

void TPngDibImage::InitialPaletteColors(TPngRGBQuad* entries, int count) {
    HDC screen = GetDC(nullptr);
    HPALETTE halftone = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    PALETTEENTRY pe[256] = {};
    UINT n = halftone ? GetPaletteEntries(halftone, 0, 256, pe) : 0;
    if (halftone) DeleteObject(halftone);
    for (int i = 0; i < count; ++i) {
        const PALETTEENTRY& p = pe[UINT(i) < n ? i : 0];
        entries[i] = TPngRGBQuad{p.peBlue, p.peGreen, p.peRed, 0};
    }
}

void TPngDibImage::StorePaletteChanged(TChunkIHDR& header) {
    if (!storeDC_ || !header.HasDibPalette) return;
    int count = int(std::min<uint32_t>(header.DibInfo.bmiHeader.biClrUsed, 256));
    SetDIBColorTable(storeDC_, 0, UINT(count), reinterpret_cast<const RGBQUAD*>(header.DibInfo.bmiColors));
    // Keep a logical palette of the same entries for the picture's palette property.
    struct {
        WORD Version, Count;
        PALETTEENTRY Entries[256];
    } lp{0x300, WORD(count ? count : 1), {}};
    for (int i = 0; i < count; ++i) {
        const TPngRGBQuad& q = header.DibInfo.bmiColors[i];
        lp.Entries[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&lp));
    if (!palette) return;
    HGDIOBJ previous = SelectPalette(storeDC_, palette, FALSE);
    if (!originalPalette_) originalPalette_ = previous;
    RealizePalette(storeDC_);
    if (storePalette_) DeleteObject(storePalette_);
    storePalette_ = palette;
}

void TPngDibImage::SetPalette(HPALETTE palette) {
    TChunkIHDR* h = HeaderChunk();
    if (!h->HasDibPalette || !palette) return;
    PALETTEENTRY pe[256];
    UINT n = GetPaletteEntries(palette, 0, 256, pe);
    TPngRGBQuad entries[256];
    for (UINT i = 0; i < n; ++i) entries[i] = TPngRGBQuad{pe[i].peBlue, pe[i].peGreen, pe[i].peRed, 0};
    h->SetPaletteEntries(entries, int(n));
}

void TPngDibImage::BuildFromBitmap(HBITMAP bitmap, bool transparent, COLORREF transparentColor) {
    BITMAP bm = {};
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm)) throw EPngError(PngResourceString(SPNGCannotAssignChunk));
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info = {};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = bm.bmWidth;
    info.Header.biHeight = std::abs(bm.bmHeight);
    info.Header.biPlanes = 1;
    const int bits = bm.bmBitsPixel * bm.bmPlanes;
    info.Header.biBitCount = WORD(bits == 1 || bits == 4 || bits == 8 ? bits : 24);
    // Sizes a PNG image cannot take are refused before the pixels are fetched (their size could wrap).
    size_t stride, bytes;
    if (bm.bmWidth < 1 || bm.bmHeight == 0 || bm.bmWidth > 65535 || info.Header.biHeight > 65535 ||
        !DibRowBytes(uint64_t(bm.bmWidth), info.Header.biBitCount, stride) ||
        !ImageBytes(stride, uint64_t(info.Header.biHeight), bytes))
        throw EPNGInvalidNewSize(PngResourceString(SPNGInvalidNewSize));
    std::vector<uint8_t> pixels(bytes);
    // GetDIBits wants a bitmap that no device context holds; the caller's may be selected, so read a copy.
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, copy ? copy : bitmap, 0, UINT(info.Header.biHeight), pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (copy) DeleteObject(copy);
    if (lines == 0) throw EPNGOutMemory(PngResourceString(SPNGOutMemory));
    info.Header.biCompression = BI_RGB;
    info.Header.biHeight = std::abs(info.Header.biHeight); // the rows were asked for bottom-up
    TPngBitmapInfoHeader header;
    static_assert(sizeof header == sizeof info.Header, "the core's header is the system's");
    std::memcpy(&header, &info.Header, sizeof header);
    BuildFromDib(header, reinterpret_cast<const TPngRGBQuad*>(info.Colors), pixels.data(), transparent,
                 transparentColor);
}

void DrawKeyedBitmap(HDC dc, const void* bits, const BITMAPINFO* info, COLORREF transparent, const RECT& rect) {
    const int iw = info->bmiHeader.biWidth, ih = std::abs(info->bmiHeader.biHeight);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || iw <= 0 || ih <= 0) return;
    TWorkDC source(dc, CreateCompatibleBitmap(dc, iw, ih));
    TWorkDC mask(dc, CreateBitmap(w, h, 1, 1, nullptr));
    TWorkDC inverse(dc, CreateBitmap(w, h, 1, 1, nullptr));
    TWorkDC work(dc, CreateCompatibleBitmap(dc, w, h));
    if (!source.Ok() || !mask.Ok() || !inverse.Ok() || !work.Ok()) return;
    SetDIBitsToDevice(source.DC(), 0, 0, DWORD(iw), DWORD(ih), 0, 0, 0, UINT(ih), bits, info, DIB_RGB_COLORS);
    SetStretchBltMode(mask.DC(), COLORONCOLOR);
    SetStretchBltMode(work.DC(), COLORONCOLOR);
    SetStretchBltMode(source.DC(), COLORONCOLOR);
    // 1) pixels of the transparent colour become 1 in the mask; 2) the inverse mask
    SetBkColor(source.DC(), transparent);
    StretchBlt(mask.DC(), 0, 0, w, h, source.DC(), 0, 0, iw, ih, SRCCOPY);
    BitBlt(inverse.DC(), 0, 0, w, h, mask.DC(), 0, 0, NOTSRCCOPY);
    // Monochrome sources map 1 to the destination's background and 0 to its text colour.
    SetBkColor(work.DC(), RGB(255, 255, 255));
    SetTextColor(work.DC(), RGB(0, 0, 0));
    SetBkColor(source.DC(), RGB(255, 255, 255));
    SetTextColor(source.DC(), RGB(0, 0, 0));
    // 3) the target area; 4) cleared where the picture is opaque; 5) the picture cleared where transparent;
    // 6) the two combined; 7) back to the target
    BitBlt(work.DC(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    BitBlt(work.DC(), 0, 0, w, h, mask.DC(), 0, 0, SRCAND);
    StretchBlt(source.DC(), 0, 0, iw, ih, inverse.DC(), 0, 0, w, h, SRCAND);
    StretchBlt(work.DC(), 0, 0, w, h, source.DC(), 0, 0, iw, ih, SRCPAINT);
    BitBlt(dc, rect.left, rect.top, w, h, work.DC(), 0, 0, SRCCOPY);
}

void DrawAlphaBlended(HDC dc, const RECT& r, const TPngImage& image) {
    RECT rect = r;
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    BITMAPINFO bi = Dib32Info(w, -h);
    void* bits = nullptr;
    TWorkDC work(dc, CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!work.Ok() || !bits) return;
    BitBlt(work.DC(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    image.BlendOnto(static_cast<uint8_t*>(bits), w * 4, w, h);
    BitBlt(dc, rect.left, rect.top, w, h, work.DC(), 0, 0, SRCCOPY);
}

void DrawPngImage(HDC dc, const RECT& rect, const TPngDibImage& image) {
    try {
        if (image.Empty()) return;
        TChunkIHDR* h = image.HeaderChunk();
        if (!h->StoreBits) return;
        const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(&h->DibInfo);
        switch (image.TransparencyKind()) {
        case ptmNone: {
            int old = SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0, int(h->Width),
                          int(h->Height), h->StoreBits, info, DIB_RGB_COLORS, SRCCOPY);
            SetStretchBltMode(dc, old);
            break;
        }
        case ptmBit: DrawKeyedBitmap(dc, h->StoreBits, info, image.TransparentColor(), rect); break;
        case ptmPartial: DrawAlphaBlended(dc, rect, image); break;
        }
    } catch (...) {
        // Painting goes on without the picture rather than unwinding through the paint message.
    }
}
