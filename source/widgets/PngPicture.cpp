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

void TPngPicture::LoadFromBytes(const std::vector<uint8_t>& bytes) {
    LoadFromMemory(bytes.data(), bytes.size());
    FTransparent = TransparencyKind() != ptmNone;
    Changed();
}

void TPngPicture::Assign(TPersistent* source) {
    if (!source) {
        ClearImage();
        Changed();
        return;
    }
    if (auto* png = As<TPngPicture>(source)) {
        TPngImage::Assign(*png);
        FTransparent = TransparencyKind() != ptmNone;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}
