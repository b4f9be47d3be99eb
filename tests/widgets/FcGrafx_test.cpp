// Gradients (linear strips, box quadrants, diagonals), masked bitmap drawing and mirroring, checked
// against the 16.16 fixed-point steps worked out in the tests.
#include <gtest/gtest.h>

#include "FcGrafx.h"
#include "PixelMap.h"

namespace {

TEST(FcGradient, ProgressWindowBarWorkedThrough) {
  // 503 by 21, horizontal centre: $A54B4B in the middle row 10, white at the edges.
  const COLORREF stop = ColorToRGB(0xA54B4B), white = RGB(255, 255, 255);
  TPixelCanvas pc(503, 21);
  DrawGradient(pc.Canvas(), RECT{0, 0, 503, 21}, gdHorizontalCenter, clWhite, 0xA54B4B, 1);
  for (int y = 0; y < 21; ++y) {
    // Pass one: rows 10 down to 0 over 11 pixels; pass two: rows 20 down to 11 over 10 pixels.
    COLORREF want = y <= 10 ? StepColour(stop, white, 11, 10 - y) : StepColour(white, stop, 10, 20 - y);
    for (int x : {0, 7, 8, 255, 256, 257, 502}) EXPECT_EQ(pc.At(x, y), want) << x << "," << y;
  }
  EXPECT_EQ(pc.At(100, 10), stop);
  EXPECT_EQ(pc.At(100, 20), white);
  EXPECT_NE(pc.At(100, 0), white);  // one step short
  EXPECT_EQ(pc.At(100, 0), StepColour(stop, white, 11, 10));
}

TEST(FcGradient, StripBandsFollowTheColourSteps) {
  // Single pass over 6 rows from black (bottom) towards white: 42.5 per row, truncated.
  struct TCase {
    int ColorSteps;
    int Rows[6];  // grey level of rows 0..5
  } cases[] = {
      {1, {212, 170, 127, 85, 42, 0}},
      {2, {170, 170, 85, 85, 0, 0}},   // bands of two rows in the colour of their first (lower) row
      {3, {127, 127, 127, 0, 0, 0}},
      {0, {212, 170, 127, 85, 42, 0}},
  };
  for (const auto& c : cases) {
    TPixelCanvas pc(8, 6);
    DrawGradient(pc.Canvas(), RECT{0, 0, 8, 6}, gdHorizontalEnd, clWhite, clBlack, c.ColorSteps);
    for (int y = 0; y < 6; ++y)
      EXPECT_EQ(pc.At(3, y), RGB(c.Rows[y], c.Rows[y], c.Rows[y])) << "steps " << c.ColorSteps << " row " << y;
  }
}

TEST(FcGradient, VerticalDirectionsRunAcross) {
  TPixelCanvas pc(6, 20);
  DrawGradient(pc.Canvas(), RECT{0, 0, 6, 20}, gdVerticalEnd, clWhite, clBlack, 1);
  int levels[6] = {212, 170, 127, 85, 42, 0};
  for (int x = 0; x < 6; ++x)
    for (int y : {0, 7, 8, 19}) EXPECT_EQ(pc.At(x, y), RGB(levels[x], levels[x], levels[x])) << x << "," << y;

  TPixelCanvas centre(7, 9);
  DrawGradient(centre.Canvas(), RECT{0, 0, 7, 9}, gdVerticalCenter, clWhite, clBlack, 1);
  EXPECT_EQ(centre.At(3, 4), RGB(0, 0, 0));        // the stop colour in the middle column
  EXPECT_EQ(centre.At(6, 4), RGB(255, 255, 255));  // the far edge reaches the start colour
}

TEST(FcGradient, EqualColoursAndEmptyAreas) {
  TPixelCanvas same(9, 12);
  DrawGradient(same.Canvas(), RECT{0, 0, 9, 12}, gdHorizontalCenter, 0x123456, 0x123456, 1);
  for (int y = 0; y < 12; ++y) EXPECT_EQ(same.At(4, y), ColorToRGB(0x123456));

  for (RECT r : {RECT{2, 2, 2, 8}, RECT{2, 2, 8, 2}}) {
    TPixelCanvas empty(10, 10);
    DrawGradient(empty.Canvas(), r, gdHorizontalCenter, clWhite, clBlack, 1);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) ASSERT_EQ(empty.At(x, y), ColorToRGB(kTestBackground));
  }
}

TEST(FcGradient, DrawnAtTheTopLeftOfTheBounds) {
  TPixelCanvas pc(12, 12);
  DrawGradient(pc.Canvas(), RECT{3, 4, 9, 10}, gdHorizontalEnd, clWhite, clBlack, 1);
  EXPECT_EQ(pc.At(2, 6), ColorToRGB(kTestBackground));
  EXPECT_EQ(pc.At(9, 6), ColorToRGB(kTestBackground));
  EXPECT_EQ(pc.At(5, 9), RGB(0, 0, 0));      // bottom row of the area: stop colour
  EXPECT_EQ(pc.At(5, 4), RGB(212, 212, 212));  // top row: one step short
  EXPECT_EQ(pc.At(5, 10), ColorToRGB(kTestBackground));
}

TEST(FcGradient, SmallQuadrantIsOneFill) {
  TPixelCanvas pc(8, 8);
  GradientQuadrant(pc.Canvas()->GetHandle(), 4, 4, 0, 0, clWhite, clBlack, 1);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(pc.At(x, y), x <= 4 && y <= 4 ? RGB(255, 255, 255) : ColorToRGB(kTestBackground)) << x << "," << y;
}

TEST(FcGradient, SquareBoxIsSymmetricWithTheStopColourInside) {
  for (TGradientDirection d : {gdSquareBox, gdBigSquareBox, gdHorizontalBox, gdVerticalBox}) {
    TPixelCanvas pc(20, 16);
    DrawGradient(pc.Canvas(), RECT{0, 0, 20, 16}, d, clWhite, clBlack, 1);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 20; ++x) {
        ASSERT_EQ(pc.At(x, y), pc.At(19 - x, y)) << GradientDirectionNames()[d] << " " << x << "," << y;
        ASSERT_EQ(pc.At(x, y), pc.At(x, 15 - y)) << GradientDirectionNames()[d] << " " << x << "," << y;
      }
    EXPECT_EQ(pc.At(9, 7), RGB(0, 0, 0)) << GradientDirectionNames()[d];
    EXPECT_NE(pc.At(0, 0), RGB(0, 0, 0)) << GradientDirectionNames()[d];
  }
}

TEST(FcGradient, DiagonalRunsCornerToCorner) {
  TPixelCanvas down(24, 24);
  DrawGradient(down.Canvas(), RECT{0, 0, 24, 24}, gdDiagonalDown, clWhite, clBlack, 1);
  EXPECT_GT(GetRValue(down.At(0, 0)), 240);  // start colour at the top left
  EXPECT_LT(GetRValue(down.At(23, 23)), 15);  // stop colour at the bottom right
  EXPECT_GT(GetRValue(down.At(2, 2)), GetRValue(down.At(12, 12)));

  TPixelCanvas up(24, 24);
  DrawGradient(up.Canvas(), RECT{0, 0, 24, 24}, gdDiagonalUp, clWhite, clBlack, 1);
  EXPECT_GT(GetRValue(up.At(0, 23)), 240);  // start colour at the bottom left
  EXPECT_LT(GetRValue(up.At(23, 0)), 15);   // stop colour at the top right

  TPixelCanvas plain(10, 10);
  DrawGradient(plain.Canvas(), RECT{0, 0, 10, 10}, gdDiagonalUp, kTestBackground + 1, kTestBackground + 1, 1);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(plain.At(y, 9 - y), ColorToRGB(kTestBackground + 1));
}

TEST(FcBitmaps, FlipVerticalMirrorsRows) {
  TPixelCanvas pc(3, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) SetPixelV(pc.Canvas()->GetHandle(), x, y, RGB(x * 40, y * 50, 7));
  FlipVertical(pc.Bitmap());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(pc.At(x, y), RGB(x * 40, (3 - y) * 50, 7));
  FlipVertical(pc.Bitmap());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(pc.At(x, y), RGB(x * 40, y * 50, 7));

  TPixelCanvas row(5, 1);
  SetPixelV(row.Canvas()->GetHandle(), 2, 0, RGB(9, 9, 9));
  FlipVertical(row.Bitmap());
  EXPECT_EQ(row.At(2, 0), RGB(9, 9, 9));
}

TEST(FcBitmaps, MaskedBitmapLeavesTheKeyColourUnpainted) {
  TPixelCanvas src(2, 2);
  HDC s = src.Canvas()->GetHandle();
  SetPixelV(s, 0, 0, RGB(255, 0, 255));
  SetPixelV(s, 1, 0, RGB(10, 20, 30));
  SetPixelV(s, 0, 1, RGB(40, 50, 60));
  SetPixelV(s, 1, 1, RGB(255, 0, 255));

  TPixelCanvas dst(6, 6, clWhite);
  DrawMaskedBitmap(dst.Canvas(), src.Bitmap(), RECT{1, 1, 5, 5}, RECT{0, 0, 2, 2}, 0xFF00FF);  // scaled twice
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      COLORREF want = RGB(255, 255, 255);
      if (x >= 1 && x < 5 && y >= 1 && y < 5) {
        int sx = (x - 1) / 2, sy = (y - 1) / 2;
        if (sx == 1 && sy == 0) want = RGB(10, 20, 30);
        if (sx == 0 && sy == 1) want = RGB(40, 50, 60);
      }
      EXPECT_EQ(dst.At(x, y), want) << x << "," << y;
    }

  TPixelCanvas all(2, 2, clWhite);
  DrawMaskedBitmap(all.Canvas(), src.Bitmap(), RECT{0, 0, 2, 2}, RECT{0, 0, 2, 2}, 0x00FF00);
  EXPECT_EQ(all.At(0, 0), RGB(255, 0, 255));
  EXPECT_EQ(all.At(1, 0), RGB(10, 20, 30));
}

}  // namespace
