// TPngPicture: the PNG picture class of the graphics framework. Registered at start-up under the extension
// "PNG" ("Portable Network Graphics"), so pictures of layouts whose class is TPngPicture load through it.
// The decoding is PngCore's; the store is a DIB section (PngDraw) that ImageCanvas draws on.
#pragma once
#include "Graphics.h"
#include "PngDraw.h"

class TPngPicture : public TGraphic, public TPngDibImage {
    ORV_CLASS(TPngPicture)
public:
    TPngPicture();
    ~TPngPicture() override;

    // A canvas on the image's memory DC.
    TCanvas* ImageCanvas() const { return FImageCanvas; }

    bool Empty() const override { return TPngImage::Empty(); }
    int GetWidth() const override { return int(Width()); }
    int GetHeight() const override { return int(Height()); }
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    void Draw(TCanvas* canvas, const RECT& r) override;
    void LoadFromBytes(const std::vector<uint8_t>& bytes) override;
    // The image as a PNG file (SaveToFile writes it); the image data is encoded afresh.
    std::vector<uint8_t> SaveToBytes() const override;
    // From a picture: copies it; from a bitmap: builds the image from it (with its transparent colour when
    // it is transparent); nothing: clears.
    void Assign(TPersistent* source) override;
    using TPngImage::Assign;
    HPALETTE GetPalette() const { return StorePalette(); }

    // The clipboard takes the image as a bitmap (CF_BITMAP) of its size with the image drawn on it; the
    // caller hands the bitmap to SetClipboardData or frees it.
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);
    // Builds the image from a clipboard bitmap (CF_BITMAP), without transparency.
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);

    void StoreChanged(TChunkIHDR& header) override;

protected:
    // To a bitmap: a pixel format that holds the image (24 bits with partial transparency, else by depth, the
    // colour table copied for palette formats), the image drawn on it, and its transparent colour.
    void AssignTo(TPersistent* dest) override;

private:
    void AfterChange();
    TCanvas* FImageCanvas;
};
