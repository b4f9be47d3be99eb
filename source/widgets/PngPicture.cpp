#include "PngPicture.h"

ORV_DEFINE_CLASS(TPngPicture, TGraphic, nullptr, {})

namespace {
// The picture loader knows PNG files from the start; the format leaves it with the program.
struct TPngRegistration {
    TPngRegistration() {
        TPicture::RegisterFileFormat("PNG", "Portable Network Graphics", TPngPicture::StaticClassInfo(),
                                     [] { return new TPngPicture; });
    }
    ~TPngRegistration() { TPicture::UnregisterGraphicClass(TPngPicture::StaticClassInfo()); }
} PngRegistration;
} // namespace

TPngPicture::TPngPicture() : FImageCanvas(new TCanvas) {}

TPngPicture::~TPngPicture() {
    FImageCanvas->SetHandle(nullptr);
    ClearImage(); // the store goes while the canvas and the DIB hooks still exist
    delete FImageCanvas;
}

void TPngPicture::StoreChanged(TChunkIHDR& header) {
    (void)header;
    FImageCanvas->SetHandle(StoreDC());
}

void TPngPicture::SetWidth(int w) {
    Resize(w, int(Height()));
    Changed();
}

void TPngPicture::SetHeight(int h) {
    Resize(int(Width()), h);
    Changed();
}

void TPngPicture::Draw(TCanvas* canvas, const RECT& r) {
    if (!canvas || Empty()) return;
    DrawPngImage(canvas->GetHandle(), r, *this);
}

void TPngPicture::AfterChange() {
    FTransparent = TransparencyKind() != ptmNone;
    Changed();
}

void TPngPicture::LoadFromBytes(const std::vector<uint8_t>& bytes) {
    LoadFromMemory(bytes.data(), bytes.size());
    AfterChange();
}

std::vector<uint8_t> TPngPicture::SaveToBytes() const {
    // Writing leaves the picture as it was (the gamma tables are replayed and restored).
    return const_cast<TPngPicture*>(this)->SaveToMemory();
}

void TPngPicture::Assign(TPersistent* source) {
    if (auto* picture = As<TPicture>(source)) source = picture->Graphic();
    if (!source) {
        ClearImage();
        Changed();
        return;
    }
    if (auto* png = As<TPngPicture>(source)) {
        TPngImage::Assign(*png);
        AfterChange();
        return;
    }
    if (auto* bitmap = As<TBitmap>(source)) {
        BuildFromBitmap(bitmap->GetHandle(), bitmap->GetTransparent() && !bitmap->Empty(),
                        ColorToRGB(bitmap->GetTransparentColor()));
        AfterChange();
        return;
    }
    TGraphic::Assign(source);
}

void TPngPicture::AssignTo(TPersistent* dest) {
    auto* bitmap = As<TBitmap>(dest);
    if (!bitmap || Empty()) return TGraphic::AssignTo(dest);
    const TChunkIHDR& h = *HeaderChunk();
    const TPNGTransparencyKind kind = TransparencyKind();
    TPixelFormat format;
    if (kind == ptmPartial)
        format = pf24bit;
    else if (h.BitDepth == 1)
        format = pf1bit;
    else if (h.BitDepth == 2 || h.BitDepth == 4)
        format = pf4bit;
    else if (h.ColorType == 3)
        format = pf8bit;
    else if (h.ColorType == 0 || h.ColorType == 2)
        format = pf24bit;
    else
        throw Exception("");
    bitmap->SetTransparent(false);
    bitmap->SetSize(0, 0);
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(int(h.Width), int(h.Height));
    HDC dc = bitmap->Canvas()->GetHandle();
    if (kind == ptmPartial) {
        bitmap->Canvas()->Draw(0, 0, this); // blended over the new bitmap's black
        return;
    }
    // The pixels are copied as they are, the transparent ones keeping the transparent colour, which the
    // bitmap then draws transparent; a palette bitmap takes the image's own colours, so the indices stay.
    if (format != pf24bit)
        SetDIBColorTable(dc, 0, h.DibInfo.bmiHeader.biClrUsed, reinterpret_cast<const RGBQUAD*>(h.DibInfo.bmiColors));
    StretchDIBits(dc, 0, 0, int(h.Width), int(h.Height), 0, 0, int(h.Width), int(h.Height), h.StoreBits,
                  DibBitmapInfo(), DIB_RGB_COLORS, SRCCOPY);
    if (kind == ptmBit) {
        bitmap->SetTransparentColor(TColor(TransparentColor()));
        bitmap->SetTransparent(true);
    }
}

void TPngPicture::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    TBitmap bitmap;
    bitmap.SetSize(GetWidth(), GetHeight(), pf24bit);
    bitmap.Canvas()->Draw(0, 0, this);
    format = CF_BITMAP;
    data = bitmap.ReleaseHandle();
    palette = nullptr;
}

void TPngPicture::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    (void)palette;
    if (format != CF_BITMAP || !data) throw Exception("Unsupported clipboard format");
    BuildFromBitmap(static_cast<HBITMAP>(data), false, 0);
    AfterChange();
}
