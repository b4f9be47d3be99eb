// Placement rules of pictures and captions, colour conversion and images from resources.
#include <gtest/gtest.h>

#include "LayeredUtils.h"

namespace {

TEST(LayeredUtils, PictureOriginTable) {
  // A 10 x 6 picture in a 25 x 15 control; custom origin (3, 4).
  struct Case {
    TLayeredAlignment align;
    int x, y;
  };
  const Case cases[] = {
      {Alignment_TopLeft, 0, 0},      {Alignment_TopCenter, 7, 0},     {Alignment_TopRight, 15, 0},
      {Alignment_MiddleLeft, 0, 4},   {Alignment_MiddleCenter, 7, 4},  {Alignment_MiddleRight, 15, 4},
      {Alignment_BottomLeft, 0, 9},   {Alignment_BottomCenter, 7, 9},  {Alignment_BottomRight, 15, 9},
      {Alignment_Center, 7, 4},       {Alignment_Left, 0, 4},          {Alignment_Right, 15, 4},
      {Alignment_Custom, 3, 4},
  };
  for (const Case& c : cases) {
    POINT p = AlignedOrigin(c.align, 25, 15, 10, 6, 3, 4);
    EXPECT_EQ(p.x, c.x) << int(c.align);
    EXPECT_EQ(p.y, c.y) << int(c.align);
  }
  // Halves truncate toward zero also when the picture is larger than the control.
  POINT big = AlignedOrigin(Alignment_MiddleCenter, 10, 10, 15, 13, 0, 0);
  EXPECT_EQ(big.x, -2);
  EXPECT_EQ(big.y, -1);
}

TEST(LayeredUtils, CaptionAlignmentTable) {
  struct Case {
    TLayeredAlignment align;
    int h, v;
  };
  const Case cases[] = {
      {Alignment_TopLeft, 0, 0},    {Alignment_TopCenter, 1, 0},    {Alignment_TopRight, 2, 0},
      {Alignment_MiddleLeft, 0, 1}, {Alignment_MiddleCenter, 1, 1}, {Alignment_MiddleRight, 2, 1},
      {Alignment_BottomLeft, 0, 2}, {Alignment_BottomCenter, 1, 2}, {Alignment_BottomRight, 2, 2},
      {Alignment_Center, 1, 1},     {Alignment_Left, 0, 1},         {Alignment_Right, 2, 1},
      {Alignment_Custom, 0, 0},
  };
  for (const Case& c : cases) {
    int h = -1, v = -1;
    CaptionAlignment(c.align, h, v);
    EXPECT_EQ(h, c.h) << int(c.align);
    EXPECT_EQ(v, c.v) << int(c.align);
  }
}

TEST(LayeredUtils, ColorToARGB) {
  struct Case {
    TColor color;
    uint8_t alpha;
    ARGB expected;
  };
  const Case cases[] = {
      {clRed, 255, 0xFFFF0000},
      {clBlue, 255, 0xFF0000FF},
      {0x00336699, 128, 0x80996633},
      {clWhite, 0, 0x00FFFFFF},
      // System colours are not resolved: the low three bytes are taken as they stand.
      {clWindowText, 255, 0xFF080000},
      {clBtnFace, 255, 0xFF0F0000},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToARGB(c.color, c.alpha), c.expected) << std::hex << c.color;
}

TEST(LayeredUtils, MissingResourceGivesNoImage) {
  StartGdiPlus();
  struct Case {
    const char* name;
    const char* type;
  };
  const Case cases[] = {{"NOSUCHPICTURE", "PNG"}, {"MAINICON", "NOSUCHTYPE"}, {"", "PNG"}};
  for (const Case& c : cases) EXPECT_EQ(LoadImageFromResource(c.name, c.type, nullptr), nullptr) << c.name;
}

}  // namespace
