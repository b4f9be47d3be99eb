// Colour arithmetic on the 240 scale, the side/bevel/border painters, arrows and the LED segment
// geometry, checked pixel by pixel against drawings of the expected result.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "FcBarPainters.h"
#include "FcCommon.h"
#include "PixelMap.h"

namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

// ---- colour arithmetic ----

struct THslCase {
  TColor Color;
  int H, S, L;
};

TEST(FcColour, RgbToHsl240Table) {
  const THslCase cases[] = {
      {clBlack, 0, 0, 0},         {clWhite, 0, 0, 240},     {kRed, 0, 240, 120},
      {kGreen, 80, 240, 120},     {kBlue, 160, 240, 120},   {RGB(128, 128, 128), 0, 0, 120},
      {RGB(255, 255, 0), 40, 240, 120},  // yellow: (G - B)/d = 1 -> 1/6
      {RGB(255, 0, 255), 200, 240, 120},  // magenta: (R - G)/d + 4 = 5 -> 5/6
      {RGB(0, 0, 128), 160, 240, 60},     // navy: L = 128/510, S = 1
  };
  for (const auto& c : cases) {
    uint8_t h, s, l;
    RgbToHsl240(c.Color, h, s, l);
    EXPECT_EQ(h, c.H) << std::hex << c.Color;
    EXPECT_EQ(s, c.S) << std::hex << c.Color;
    EXPECT_EQ(l, c.L) << std::hex << c.Color;
    EXPECT_EQ(HueOf(c.Color), c.H);
  }
}

struct TRgbCase {
  int H, S, L;
  TColor Expected;
};

TEST(FcColour, Hsl240ToRgbUsesTheHueScaleOf239) {
  const TRgbCase cases[] = {
      {0, 240, 120, RGB(255, 0, 0)},
      {239, 240, 120, RGB(255, 0, 0)},  // hue 239 is hue 0 again
      {80, 240, 120, RGB(0, 255, 2)},   // 80/239*6 = 2.008: the rise channel gets 0.0084 * 255
      {120, 240, 120, RGB(0, 252, 255)},  // sextant 3, fall = 1 - 0.0125
      {0, 0, 240, RGB(255, 255, 255)},
      {0, 0, 0, RGB(0, 0, 0)},
      {0, 0, 255, RGB(255, 255, 255)},  // luminance beyond 240 is limited per channel
  };
  for (const auto& c : cases) EXPECT_EQ(Hsl240ToRgb(c.H, c.S, c.L), c.Expected) << c.H << "," << c.S << "," << c.L;
}

TEST(FcColour, DarkenLightenAndShift) {
  EXPECT_EQ(DarkenColor(clBlack, 200), clBlack);
  EXPECT_EQ(LightenColor(clWhite, 200), clWhite);
  // Red at luminance 120: -60 gives 60 (128 of 255 rounded), +60 gives 180.
  EXPECT_EQ(DarkenColor(kRed, 60), RGB(128, 0, 0));
  EXPECT_EQ(LightenColor(kRed, 60), RGB(255, 128, 128));
  EXPECT_EQ(ShiftLuminance(kRed, -60), DarkenColor(kRed, 60));
  EXPECT_EQ(ShiftLuminance(kRed, 60), LightenColor(kRed, 60));
  EXPECT_EQ(ShiftLuminance(clBtnShadow, 0), clBtnShadow);  // unchanged, not even resolved
  // Lightening runs up to 255, not 240: grey 120 + 200 is white.
  EXPECT_EQ(LightenColor(RGB(128, 128, 128), 200), clWhite);
}

TEST(FcColour, AlphaMixSimilarAndOpposite) {
  EXPECT_EQ(AlphaMixColors(clWhite, clBlack, 128), RGB(128, 128, 128));
  EXPECT_EQ(AlphaMixColors(clWhite, clBlack, 255), clWhite);
  EXPECT_EQ(AlphaMixColors(clWhite, clBlack, 0), clBlack);
  EXPECT_EQ(AlphaMixColors(kRed, kBlue, 64), RGB(64, 0, 191));
  EXPECT_TRUE(ColorsSimilar(kRed, kRed));
  EXPECT_FALSE(ColorsSimilar(clBlack, clWhite));
  EXPECT_TRUE(ColorsSimilar(RGB(200, 0, 0), RGB(255, 40, 40)));  // same hue, luminance 94 vs 139
  EXPECT_FALSE(ColorsSimilar(kRed, kGreen));
  EXPECT_EQ(OppositeHueColor(kRed, 120), Hsl240ToRgb(120, 240, 120));
  EXPECT_EQ(OppositeHueColor(kBlue, 120), Hsl240ToRgb(40, 240, 120));
}

TEST(FcGeometry, CentringAndMinMax) {
  RECT r = RectCentredIn(RECT{0, 0, 17, 21}, 7, 5);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 8);
  EXPECT_EQ(r.right, 12);
  EXPECT_EQ(r.bottom, 13);
  r = RectCentredIn(RECT{-3, 0, 0, 2}, 4, 4);  // halved towards zero: -7/2 = -3
  EXPECT_EQ(r.left, -3);
  EXPECT_EQ(SmallerOf(3, -2), -2);
  EXPECT_EQ(LargerOf(3, -2), 3);
}

// ---- painters ----

const std::map<char, TColor> kLegend = {
    {'.', kTestBackground}, {'U', kRed},           {'R', kBlue},         {'C', kGreen},
    {'S', clBtnShadow},     {'H', clBtnHighlight}, {'D', cl3DDkShadow},  {'L', cl3DLight},
    {'K', clBlack},         {'W', clWhite},        {'G', clBtnShadow}};

struct TPainterCase {
  const char* Name;
  int W, H;
  std::function<RECT(TCanvas*)> Paint;
  std::vector<std::string> Expected;
  RECT Inside;
};

void RunPainterCases(const std::vector<TPainterCase>& cases) {
  for (const auto& c : cases) {
    TPixelCanvas pc(c.W, c.H);
    RECT in = c.Paint(pc.Canvas());
    EXPECT_EQ(pc.Map(kLegend, c.Expected), c.Expected) << c.Name;
    EXPECT_TRUE(EqualRect(&in, &c.Inside)) << c.Name << ": " << in.left << "," << in.top << "," << in.right << ","
                                           << in.bottom;
  }
}

TEST(FcPainters, SidesBevelsAndBorders) {
  RunPainterCases({
      {"sides: lower-right owns two corners", 6, 4,
       [](TCanvas* c) { return PaintSides(c, RECT{0, 0, 6, 4}, kRed, kBlue, AllSides); },
       {"UUUUUR", "U....R", "U....R", "RRRRRR"}, RECT{1, 1, 5, 3}},
      {"sides: clNone skips but still shrinks", 6, 4,
       [](TCanvas* c) { return PaintSides(c, RECT{0, 0, 6, 4}, clNone, kBlue, AllSides); },
       {".....R", ".....R", ".....R", "RRRRRR"}, RECT{1, 1, 5, 3}},
      {"sides: left and top only", 6, 4,
       [](TCanvas* c) { return PaintSides(c, RECT{0, 0, 6, 4}, kRed, kBlue, 1 | 2); },
       {"UUUUUU", "U.....", "U.....", "U....."}, RECT{1, 1, 6, 4}},
      {"bevel of two", 6, 5,
       [](TCanvas* c) { return PaintBevel(c, RECT{0, 0, 6, 5}, kRed, kBlue, 2, AllSides); },
       {"UUUUUR", "UUUURR", "UU..RR", "URRRRR", "RRRRRR"}, RECT{2, 2, 4, 3}},
      {"groove", 6, 5, [](TCanvas* c) { return PaintBorder(c, RECT{0, 0, 6, 5}, fsGroove); },
       {"SSSSSH", "SHHHSH", "SH..SH", "SSSSSH", "HHHHHH"}, RECT{2, 2, 4, 3}},
      {"groove on top and left only ends cleanly", 6, 5,
       [](TCanvas* c) { return PaintBorderSides(c, RECT{0, 0, 6, 5}, fsGroove, 1 | 2); },
       {"SSSSSS", "SHHHHH", "SH....", "SH....", "SH...."}, RECT{2, 2, 6, 5}},
      {"groove on right and bottom only", 6, 5,
       [](TCanvas* c) { return PaintBorderSides(c, RECT{0, 0, 6, 5}, fsGroove, 4 | 8); },
       {"....SH", "....SH", "....SH", "SSSSSH", "HHHHHH"}, RECT{0, 0, 4, 3}},
      {"bump", 6, 5, [](TCanvas* c) { return PaintBorder(c, RECT{0, 0, 6, 5}, fsBump); },
       {"HHHHHS", "HSSSHS", "HS..HS", "HHHHHS", "SSSSSS"}, RECT{2, 2, 4, 3}},
      {"lowered: two rings", 6, 5, [](TCanvas* c) { return PaintBorder(c, RECT{0, 0, 6, 5}, fsLowered); },
       {"SSSSSH", "SDDDLH", "SD..LH", "SLLLLH", "HHHHHH"}, RECT{1 + 1, 1 + 1, 4, 3}},
      {"raised: two rings", 6, 5, [](TCanvas* c) { return PaintBorder(c, RECT{0, 0, 6, 5}, fsRaised); },
       {"LLLLLD", "LHHHSD", "LH..SD", "LSSSSD", "DDDDDD"}, RECT{2, 2, 4, 3}},
      {"flat", 4, 3, [](TCanvas* c) { return PaintBorder(c, RECT{0, 0, 4, 3}, fsFlat); },
       {"DDDD", "D..D", "DDDD"}, RECT{1, 1, 3, 2}},
      {"none", 4, 3, [](TCanvas* c) { return PaintBorder(c, RECT{0, 0, 4, 3}, fsNone); },
       {"....", "....", "...."}, RECT{0, 0, 4, 3}},
      {"box", 4, 3, [](TCanvas* c) { return PaintBox(c, RECT{0, 0, 4, 3}, kGreen); },
       {"CCCC", "C..C", "CCCC"}, RECT{1, 1, 3, 2}},
      {"rounded flat border", 7, 6,
       [](TCanvas* c) { return PaintRoundedFlatBorder(c, RECT{0, 0, 7, 6}, kGreen, AllSides); },
       {"..CCC..", ".C...C.", "C.....C", "C.....C", ".C...C.", "..CCC.."}, RECT{2, 2, 5, 4}},
      {"rounded flat border, top and left", 7, 6,
       [](TCanvas* c) { return PaintRoundedFlatBorder(c, RECT{0, 0, 7, 6}, kGreen, 1 | 2); },
       {"..CCCCC", ".C.....", "C......", "C......", "C......", "C......"}, RECT{2, 2, 7, 6}},
  });
}

TEST(FcPainters, ColourBordersDeriveFromTheFace) {
  const TColor face = RGB(128, 64, 64);
  const std::map<char, TColor> legend = {{'.', kTestBackground},
                                         {'a', DarkenColor(face, 50)},
                                         {'b', LightenColor(face, 100)},
                                         {'c', DarkenColor(face, 100)},
                                         {'d', LightenColor(face, 50)}};
  struct TCase {
    TFrameStyleEx Style;
    std::vector<std::string> Expected;
  } cases[] = {
      {fsFlat, {"aaaaa", "a...a", "aaaaa"}},
      {fsStatus, {"aaaab", "a...b", "bbbbb"}},
      {fsPopup, {"bbbba", "b...a", "aaaaa"}},
      {fsGroove, {"aaaab", "abbab", "aaaab", "bbbbb"}},
      {fsLowered, {"aaaab", "accdb", "adddb", "bbbbb"}},
  };
  for (const auto& c : cases) {
    TPixelCanvas pc(5, int(c.Expected.size()));
    PaintColorBorder(pc.Canvas(), RECT{0, 0, 5, LONG(c.Expected.size())}, face, c.Style);
    EXPECT_EQ(pc.Map(legend, c.Expected), c.Expected) << FrameStyleNames()[c.Style];
  }
}

TEST(FcPainters, FocusBorderInvertsEverySecondPixel) {
  TPixelCanvas pc(6, 5, clWhite);
  RECT in = PaintFocusBorder(pc.Canvas(), RECT{0, 0, 6, 5});
  std::vector<std::string> expected = {"WKWKWK", "KWWWWK", "WWWWWW", "KWWWWK", "WKWKWK"};
  EXPECT_EQ(pc.Map(kLegend, expected), expected);
  EXPECT_EQ(in.left, 1);
  EXPECT_EQ(in.bottom, 4);
}

TEST(FcPainters, EditFrameRingThenFrame) {
  TPixelCanvas pc(6, 5);
  PaintEditFrame(pc.Canvas(), 6, 5, fsFlat, kRed, kBlue, AllSides, false);
  std::vector<std::string> expected = {"RRRRRR", "RUUUUR", "RU..UR", "RUUUUR", "RRRRRR"};
  EXPECT_EQ(pc.Map(kLegend, expected), expected);

  TPixelCanvas skip(6, 5);
  PaintEditFrame(skip.Canvas(), 6, 5, fsFlatBold, kRed, kBlue, 1 | 2, true);
  expected = {"RRRRRR", "RRRRRR", "RR....", "RR....", "RR...."};
  EXPECT_EQ(skip.Map(kLegend, expected), expected);
}

TEST(FcPainters, InnerOuterBordersOfTheProgressBar) {
  // The progress window's bars: groove outside, nothing inside, no border lines.
  TPixelCanvas pc(8, 6, 0x3E4444);
  TInnerOuterBorder b;
  b.BorderOuter = fsGroove;
  b.BorderInner = fsNone;
  b.BorderColor = 0x3E4444;
  b.Color = clWhite;
  b.RoundedInnerFlat = true;
  RECT in = PaintInnerOuterBorders(pc.Canvas(), RECT{0, 0, 8, 6}, b);
  std::map<char, TColor> legend = {{'x', 0x3E4444}, {'S', clBtnShadow}, {'H', clBtnHighlight}};
  std::vector<std::string> expected = {"SSSSSSSH", "SHHHHHSH", "SHxxxxSH", "SHxxxxSH", "SSSSSSSH", "HHHHHHHH"};
  EXPECT_EQ(pc.Map(legend, expected), expected);
  const RECT inside{2, 2, 6, 4};
  EXPECT_TRUE(EqualRect(&in, &inside));

  // Flat inner border with rounded corners leaves its corner pixels alone; border lines between.
  TPixelCanvas flat(7, 6);
  TInnerOuterBorder f;
  f.BorderOuter = fsNone;
  f.BorderInner = fsFlat;
  f.BorderWidth = 1;
  f.BorderColor = kBlue;
  f.FlatColor = kRed;
  f.FlatColorAdjustment = 0;
  f.RoundedInnerFlat = true;
  in = PaintInnerOuterBorders(flat.Canvas(), RECT{0, 0, 7, 6}, f);
  expected = {"RRRRRRR", "R.UUU.R", "RU...UR", "RU...UR", "R.UUU.R", "RRRRRRR"};
  EXPECT_EQ(flat.Map(kLegend, expected), expected);
  EXPECT_EQ(in.left, 2);
  EXPECT_EQ(in.right, 5);
}

// ---- arrows ----

TEST(FcArrows, SolidSpinArrowsAndDropDown) {
  struct TCase {
    const char* Name;
    TFcArrowDirection Dir;
    bool Pressed, Enabled;
    std::vector<std::string> Expected;
  } cases[] = {
      {"up", adUp, false, true,
       {".........", ".........", "....K....", "...KKK...", "..KKKKK..", ".KKKKKKK.", ".........", ".........",
        "........."}},
      {"down", adDown, false, true,
       {".........", ".........", ".KKKKKKK.", "..KKKKK..", "...KKK...", "....K....", ".........", ".........",
        "........."}},
      {"left", adLeft, false, true,
       {".........", ".....K...", "....KK...", "...KKK...", "..KKKK...", "...KKK...", "....KK...", ".....K...",
        "........."}},
      {"up pressed moves by one", adUp, true, true,
       {".........", ".........", ".........", ".....K...", "....KKK..", "...KKKKK.", "..KKKKKKK", ".........",
        "........."}},
      {"disabled pressed does not move", adUp, true, false,
       {".........", ".........", "....G....", "...GGG...", "..GGGGG..", ".GGGGGGG.", ".........", ".........",
        "........."}},
  };
  for (const auto& c : cases) {
    TPixelCanvas pc(9, 9);
    pc.Canvas()->Brush()->SetColor(clWhite);
    PaintSpinArrow(pc.Canvas(), RECT{0, 0, 9, 9}, false, c.Dir, c.Pressed, c.Enabled);
    EXPECT_EQ(pc.Map(kLegend, c.Expected), c.Expected) << c.Name;
  }
  // A dark face gets a dark-grey arrow instead of black.
  TPixelCanvas dark(9, 9);
  dark.Canvas()->Brush()->SetColor(clBlack);
  PaintSpinArrow(dark.Canvas(), RECT{0, 0, 9, 9}, false, adUp, false, true);
  EXPECT_EQ(dark.At(4, 2), ColorToRGB(cl3DDkShadow));

  TPixelCanvas drop(9, 10);
  drop.Canvas()->Brush()->SetColor(clWhite);
  PaintDropDownArrow(drop.Canvas(), RECT{0, 0, 9, 10}, false, false, true);
  // Even height: cy = 5 - 1 = 4, plus 2: tip on row 6.
  std::vector<std::string> expected = {".........", ".........", ".........", ".KKKKKKK.", "..KKKKK..",
                                       "...KKK...", "....K....", ".........", ".........", "........."};
  EXPECT_EQ(drop.Map(kLegend, expected), expected);
}

// ---- LED geometry ----

TEST(FcLed, SegmentLayoutTable) {
  struct TCase {
    int Length, Segments, Count, Size, Margin;
  } cases[] = {
      {50, 20, 10, 5, 0},   // short bars fall back to ten segments
      {100, 20, 20, 5, 0},  {103, 20, 20, 5, 1},  {80, 20, 10, 8, 0},
      {81, 20, 20, 4, 0},   {130, 20, 21, 6, 2},  // the leftover holds another whole segment
      {5, 20, 10, 0, 2},    {100, 1, 1, 100, 0},
  };
  for (const auto& c : cases) {
    TLedLayout l = LedLayout(c.Length, c.Segments);
    EXPECT_EQ(l.Count, c.Count) << c.Length << "/" << c.Segments;
    EXPECT_EQ(l.Size, c.Size) << c.Length << "/" << c.Segments;
    EXPECT_EQ(l.Margin, c.Margin) << c.Length << "/" << c.Segments;
  }
}

TEST(FcLed, LitCountIsLimitedToTheSegments) {
  // 150 percent of 5 segments would light 7; only the five exist, and nothing is drawn beyond them.
  TPixelCanvas pc(27, 5);
  PaintLedBar(pc.Canvas(), RECT{1, 0, 26, 5}, orHorizontal, kRed, clWhite, 5, 150, false, false);
  std::vector<std::string> expected(5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 27; ++x) {
      bool edge = y == 0 || y == 4 || (x - 1) % 5 == 0 || (x - 1) % 5 == 4;
      expected[y] += x == 0 || x == 26 ? '.' : edge ? 'W' : 'U';
    }
  EXPECT_EQ(pc.Map(kLegend, expected), expected);
}

TEST(FcLed, SegmentsFillFromTheBottomWhenVertical) {
  TPixelCanvas pc(4, 20);
  PaintLedBar(pc.Canvas(), RECT{0, 0, 4, 20}, orVertical, kRed, clWhite, 4, 50, false, false);
  // Four segments of 5 rows: the lower two lit (interior rows 11..13 and 16..18, columns 1..2).
  for (int y = 0; y < 20; ++y) {
    bool lit = (y >= 11 && y <= 13) || (y >= 16 && y <= 18);
    EXPECT_EQ(pc.At(1, y), lit ? ColorToRGB(kRed) : ColorToRGB(clWhite)) << y;
    EXPECT_EQ(pc.At(0, y), ColorToRGB(clWhite)) << y;
  }
}

TEST(FcThemes, OverrideForcesEitherPath) {
  SetFcThemesOverride(1);
  EXPECT_TRUE(FcThemesEnabled());
  SetFcThemesOverride(0);
  EXPECT_FALSE(FcThemesEnabled());
  SetFcThemesOverride(-1);
  EXPECT_FALSE(FcThemesEnabled());  // no manifest: comctl32 version 6 is not loaded
}

// The colour scheme's name, compared without regard to case; no name or another one is 0.
TEST(FcThemes, XPColorSchemeFromTheUsersThemeName) {
  const char* const key = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  HKEY theme = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &theme, nullptr),
            ERROR_SUCCESS);
  RegDeleteValueA(theme, "ColorName");
  EXPECT_EQ(ReadXPColorScheme(), 0) << "no name";
  const std::pair<const char*, int> cases[] = {
      {"HomeStead", 1}, {"METALLIC", 2}, {"metallic", 2}, {"NormalColor", 0}, {"", 0}, {"Metallic2", 0}};
  for (const auto& c : cases) {
    RegSetValueExA(theme, "ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.first), DWORD(strlen(c.first) + 1));
    EXPECT_EQ(ReadXPColorScheme(), c.second) << c.first;
  }
  RegDeleteValueA(theme, "ColorName");
  RegCloseKey(theme);
}

}  // namespace
