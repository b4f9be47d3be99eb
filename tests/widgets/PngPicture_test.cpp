// TPngPicture in the graphics framework: registered for "png", loads through TPicture, draws on a canvas.
#include <gtest/gtest.h>

#include "PngBuilder.h"
#include "PngPicture.h"

using namespace pngtest;

TEST(PngPicture, PictureLoaderCreatesAPngPictureAndItDraws) {
    ASSERT_TRUE(bool(TPicture::FindFormat("png")));
    ASSERT_TRUE(bool(TPicture::FindFormat("TPngPicture")));
    TPicture picture;
    picture.LoadFromData("png", File({Ihdr(2, 1, 8, 6), Chunk("IDAT", Deflate(Rows({{255, 0, 0, 255, 0, 0, 255, 0}})))}));
    auto* png = As<TPngPicture>(picture.Graphic());
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->GetWidth(), 2);
    EXPECT_EQ(png->GetHeight(), 1);
    EXPECT_TRUE(png->GetTransparent());
    ASSERT_NE(png->ImageCanvas()->GetHandle(), nullptr);

    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(2, 1);
    target.Canvas()->SetPixel(0, 0, clWhite);
    target.Canvas()->SetPixel(1, 0, clWhite);
    RECT r = {0, 0, 2, 1};
    png->Draw(target.Canvas(), r);
    EXPECT_EQ(target.Canvas()->GetPixel(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->GetPixel(1, 0), clWhite);

    TPicture copy;
    copy.Assign(&picture);
    ASSERT_NE(As<TPngPicture>(copy.Graphic()), nullptr);
    EXPECT_EQ(As<TPngPicture>(copy.Graphic())->ExportRGBA(), png->ExportRGBA());
}

TEST(PngPicture, LoadErrorsPropagate) {
    TPicture picture;
    try {
        picture.LoadFromData("png", {1, 2, 3});
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.ClassName(), "EPNGInvalidFileHeader");
    }
}
