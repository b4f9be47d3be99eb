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
    void Assign(TPersistent* source) override;
    using TPngImage::Assign;
    HPALETTE GetPalette() const { return StorePalette(); }

    void StoreChanged(TChunkIHDR& header) override;

private:
    TCanvas* FImageCanvas;
};
