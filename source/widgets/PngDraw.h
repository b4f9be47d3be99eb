// GDI side of the PNG codec: the image store in a DIB section selected into a memory DC, and the three
// drawing paths (opaque stretch, colour key through masks, per-pixel alpha blend).
#pragma once
#include <windows.h>

#include <vector>

#include "PngCore.h"

class TPngDibImage : public TPngImage {
public:
    TPngDibImage() = default;
    ~TPngDibImage() override;

    // The memory DC that holds the store's DIB section (null while there is no image).
    HDC StoreDC() const { return storeDC_; }
    // The store's logical palette (null for RGB stores).
    HPALETTE StorePalette() const { return storePalette_; }
    const BITMAPINFO* DibBitmapInfo() const;
    // Installs a logical palette as the store's colour table (palette stores only).
    void SetPalette(HPALETTE palette);
    // Builds the image from a bitmap: 1, 4 and 8-bit bitmaps become palette images of that depth, all
    // others 8-bit RGB; with `transparent` the colour becomes the image's transparent colour.
    void BuildFromBitmap(HBITMAP bitmap, bool transparent, COLORREF transparentColor);

    uint8_t* AllocateStoreBits(TChunkIHDR& header, size_t bytes) override;
    void FreeStoreBits(TChunkIHDR& header, uint8_t* bits) override;
    void InitialPaletteColors(TPngRGBQuad* entries, int count) override;
    void StorePaletteChanged(TChunkIHDR& header) override;

private:
    struct Section {
        uint8_t* Bits;
        HBITMAP Bitmap;
    };
    std::vector<Section> sections_;
    HDC storeDC_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
    HPALETTE storePalette_ = nullptr;
    HGDIOBJ originalPalette_ = nullptr;
};

// Draws the image into `rect` of `dc` by its transparency kind. Never raises and leaks nothing: a draw that
// cannot get its work bitmaps draws nothing.
void DrawPngImage(HDC dc, const RECT& rect, const TPngDibImage& image);
// Mask technique for a single transparent colour.
void DrawKeyedBitmap(HDC dc, const void* bits, const BITMAPINFO* info, COLORREF transparent, const RECT& rect);
// Per-pixel alpha blend over what the DC shows.
void DrawAlphaBlended(HDC dc, const RECT& rect, const TPngImage& image);
