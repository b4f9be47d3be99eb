// The widgets as window layouts write them: the shaped background, a picture button with PNG
// pictures, a draggable label, the media panel and the Convert button, read by the layout reader.
#include <gtest/gtest.h>

#include <fstream>

#include "Layout.h"
#include "OrvButton.h"
#include "OrvLabel.h"
#include "PngBuilder.h"
#include "PngPicture.h"
#include "SkButton.h"
#include "SkImagePanel.h"
#include "SkSkinForm.h"
#include "TempDir.h"
#include "WidgetTestKit.h"

using namespace wtk;

namespace {

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

const char* const kLayout = R"(
object frmLayoutTest: TForm
  ClientWidth = 300
  ClientHeight = 200
  object imgBackground: TskSkinForm
    Left = 0
    Top = 0
    Width = 661
    Height = 500
    Glyph = bmp 'glyph.bmp'
    TransparentColor = clFuchsia
    OnMouseDown = imgBackgroundMouseDown
  end
  object btnClose: TOrvButton
    Left = 40
    Top = 5
    Width = 21
    Height = 20
    ModalResult = 2
    Transparent = True
    TextAlign = alCenter
    TransparentColor = 16711935
    PictureAlign = alTopLeft
    PicNormal = TPngPicture 'close.png'
    PicMouseHover = TPngPicture 'close.png'
    OnMouseContinuouslyDown = btnCloseRepeat
  end
  object lblTitle: TOrvLabel
    Left = 10
    Top = 30
    Width = 100
    Height = 14
    AutoSize = False
    Transparent = True
    Caption = 'Orvane'
  end
  object pnlMediaInfo: TskImagePanel
    Left = 16
    Top = 60
    Width = 120
    Height = 50
    AutoSize = False
    Color = clWhite
    DrawStyle = skNormal
  end
  object btnConvert: TskImageButton
    Left = 150
    Top = 60
    Width = 125
    Height = 25
    AutoSize = True
    UIStyle = FromThemeFile
    DrawFocused = False
    FocusedRectMargin = 2
    PicNormal = bmp 'convert.bmp'
    MouseContinuouslyDownInterval = 100
    Transparent = False
    ModalResult = 0
  end
end
)";

TEST(WidgetLayout, MainWindowWidgetsReadFromALayout) {
  using namespace pngtest;
  TempDir dir;
  TBitmap* glyph = SolidBitmap(200, 120, clNavy);
  glyph->Canvas()->SetPixel(0, 0, clFuchsia);
  WriteFile(dir / "glyph.bmp", glyph->SaveToBytes());
  delete glyph;
  TBitmap* face = SolidBitmap(125, 25, clRed);
  WriteFile(dir / "convert.bmp", face->SaveToBytes());
  delete face;
  WriteFile(dir / "close.png", File({Ihdr(19, 20, 8, 6), Chunk("IDAT", Deflate(Rows(std::vector<Bytes>(20, Bytes(19 * 4, 200)))))}));
  SetLayoutSource(FolderLayoutSource(dir.Path()));

  TForm form(nullptr);
  int repeats = 0, downs = 0;
  TLayoutBinder binder;
  binder.Handle<TMouseEvent>("imgBackgroundMouseDown", [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; });
  binder.Handle<TNotifyEvent>("btnCloseRepeat", [&](TObject*) { ++repeats; });
  ReadLayoutText(&form, kLayout, "test.layout", binder);
  SetLayoutSource(nullptr);

  auto* skin = As<TskSkinForm>(form.FindComponent("imgBackground"));
  ASSERT_NE(skin, nullptr);
  // The key colour came after the glyph and applied it: control and client area take its size.
  EXPECT_EQ(skin->GetWidth(), 200);
  EXPECT_EQ(skin->GetHeight(), 120);
  EXPECT_EQ(form.GetClientWidth(), 200);
  EXPECT_EQ(form.GetClientHeight(), 120);
  EXPECT_EQ(form.GetBorderStyle(), bsNone);

  auto* close = As<TOrvButton>(form.FindComponent("btnClose"));
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->GetModalResult(), mrCancel);
  EXPECT_TRUE(close->GetTransparent());
  ASSERT_NE(As<TPngPicture>(close->GetPicNormal()->Graphic()), nullptr);
  EXPECT_EQ(close->GetPicNormal()->GetWidth(), 19);
  ASSERT_TRUE(bool(close->OnMouseContinuouslyDown));
  close->OnMouseContinuouslyDown(close);
  EXPECT_EQ(repeats, 1);

  auto* title = As<TOrvLabel>(form.FindComponent("lblTitle"));
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->GetMoveHandler());
  EXPECT_EQ(title->GetCaption(), "Orvane");

  auto* panel = As<TskImagePanel>(form.FindComponent("pnlMediaInfo"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetDrawStyle(), skNormal);

  // The image button's pictures load without notification, so AutoSize leaves the layout's size.
  auto* convert = As<TskImageButton>(form.FindComponent("btnConvert"));
  ASSERT_NE(convert, nullptr);
  EXPECT_EQ(convert->GetWidth(), 125);
  EXPECT_EQ(convert->GetHeight(), 25);
  EXPECT_FALSE(convert->GetDrawFocused());
  EXPECT_EQ(convert->GetPicNormal()->GetWidth(), 125);
  EXPECT_EQ(convert->GetMouseContinuouslyDownInterval(), 100);
  EXPECT_EQ(convert->GetUIStyle(), FromThemeFile);
}

}  // namespace
