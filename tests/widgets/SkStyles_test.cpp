// Styles and theme files of the skin-form pack: the built-in table, the style a new control takes,
// the theme file reader on generated files, the theme component, and the check-mark images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "Forms.h"
#include "SkButton.h"
#include "SkForm.h"
#include "SkBitmaps.h"
#include "SkPopupMenu.h"
#include "SkStyles.h"
#include "SkThemeFile.h"
#include "SkThemeMgr.h"
#include "TempDir.h"
#include "WidgetTestKit.h"

using namespace wtk;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(SkStyles, BuiltInTableValues) {
  struct TCase {
    TskUIStyle Style;
    int Entry;
    TskThemeEntryKind Kind;
    int Value;
  };
  const TCase cases[] = {
      {DeepBlue, 14, tkInteger, 0},          {WinXP, 16, tkColor, 0xC82C00},   {MacOS, 2, tkBoolean, 1},
      {BlueGlass, 13, tkInteger, 270},       {MacOS, 8, tkInteger, -2},        {Protein, 44, tkColor, 0xFFFFFF},
      {WinXP, 48, tkColor, 0xDEEBEF},        {BlueGlass, 6, tkBoolean, 1},     {FromThemeFile, 14, tkInteger, -1},
      {TskUIStyle(9), 14, tkInteger, -1},    {DeepBlue, 0, tkInteger, -1},     {DeepBlue, 49, tkInteger, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.Style << " entry " << c.Entry);
    TskThemeEntry e = GetBuiltInThemeEntry(c.Style, c.Entry);
    EXPECT_EQ(e.Kind, c.Kind);
    EXPECT_EQ(e.Value, c.Value);
    EXPECT_EQ(GetBuiltInThemeInt(c.Style, c.Entry), c.Kind == tkInteger ? c.Value : -1);
    EXPECT_EQ(GetBuiltInThemeColor(c.Style, c.Entry), c.Kind == tkColor ? c.Value : 0);
    EXPECT_EQ(GetBuiltInThemeBool(c.Style, c.Entry), c.Kind == tkBoolean && c.Value != 0);
  }
  EXPECT_EQ(ThemeEntryName(1), "ButtonImage");
  EXPECT_EQ(ThemeEntryName(48), "MenuMenuBarColor");
  EXPECT_EQ(GetBuiltInThemeEntry(Protein, 38).BitmapName, "MORE_SCROLLBUTTON");
  EXPECT_EQ(GetBuiltInThemeEntry(WinXP, 30).BitmapName, "WINXP_TRACKBAR_SLIDER_V");
  EXPECT_EQ(GetBuiltInThemeEntry(WinXP, 43).BitmapName, "");
}

TEST(SkStyles, BuiltInButtonBitmapAndItsFrames) {
  for (TskUIStyle s : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
    SCOPED_TRACE(UIStyleNames()[s]);
    TBitmap whole, frame;
    GetBuiltInThemeBitmap(s, 1, &whole);
    EXPECT_EQ(whole.GetWidth(), 3 * 74);
    EXPECT_EQ(whole.GetHeight(), 21);
    GetBuiltInThemeBitmap(s, 1, &frame, 2, 3);
    ASSERT_EQ(frame.GetWidth(), 74);
    EXPECT_EQ(frame.Canvas()->GetPixel(37, 10), whole.Canvas()->GetPixel(74 + 37, 10));
  }
  TBitmap none;
  GetBuiltInThemeBitmap(FromThemeFile, 1, &none);
  EXPECT_TRUE(none.Empty());
  GetBuiltInThemeBitmap(DeepBlue, 14, &none);  // an integer entry
  EXPECT_TRUE(none.Empty());
  GetBuiltInThemeBitmap(DeepBlue, 1, nullptr);
  EXPECT_THROW(GetBuiltInThemeBitmap(DeepBlue, 45, &none), Exception);  // no built-in bitmap
}

// Every bitmap entry of every built-in style loads with the size its strip of frames has.
TEST(SkStyles, EveryBuiltInPictureLoadsWithItsSize) {
  struct TSize {
    int Entry, Width, Height, Frames;
  };
  const int titleHeight[] = {0, 26, 28, 22, 22, 30};  // twice the style's button top plus the 18-pixel buttons
  for (TskUIStyle s : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
    SCOPED_TRACE(UIStyleNames()[s]);
    int th = titleHeight[s];
    EXPECT_EQ(th, 2 * GetBuiltInThemeInt(s, 9) + 18);
    const TSize sizes[] = {{1, 222, 21, 3},   {3, 52, 13, 4},   {4, 52, 13, 4},    {5, 324, 18, 18}, {10, 8, th, 1},
                           {11, 8, th, 1},    {12, 8, th, 1},   {24, 20, 14, 2},   {28, 12, 5, 1},   {29, 33, 20, 3},
                           {30, 60, 11, 3},   {32, 192, 16, 12}, {33, 48, 16, 3},  {34, 52, 13, 4},  {38, 96, 16, 6},
                           {39, 72, 22, 3},   {40, 6, 4, 1},    {41, 30, 40, 3},   {42, 8, 40, 1}};
    int bitmaps = 0;
    for (int e = 1; e <= skThemeEntryCount; ++e) bitmaps += GetBuiltInThemeEntry(s, e).Kind == tkBitmap && !GetBuiltInThemeEntry(s, e).BitmapName.empty();
    EXPECT_EQ(bitmaps, int(std::size(sizes)));  // the table covers every built-in picture
    for (const TSize& z : sizes) {
      SCOPED_TRACE(ThemeEntryName(z.Entry));
      TBitmap whole, frame;
      ASSERT_NO_THROW(GetBuiltInThemeBitmap(s, z.Entry, &whole));
      EXPECT_EQ(whole.GetWidth(), z.Width);
      EXPECT_EQ(whole.GetHeight(), z.Height);
      GetBuiltInThemeBitmap(s, z.Entry, &frame, z.Frames, z.Frames);
      EXPECT_EQ(frame.GetWidth(), z.Width / z.Frames);
    }
  }
  for (const char* name : {"MENU_CHECKED", "MACOS_MENU_SELECT", "MACOS_MENU_BAR"}) {
    TBitmap b;
    ASSERT_NO_THROW(LoadSkinFormBitmap(name, &b)) << name;
    EXPECT_FALSE(b.Empty()) << name;
  }
  TBitmap check;
  LoadSkinFormBitmap("MENU_CHECKED", &check);
  EXPECT_EQ(check.GetWidth(), 16);
  EXPECT_EQ(check.Canvas()->GetPixel(0, 0), clWhite);
  EXPECT_EQ(check.Canvas()->GetPixel(4, 8), clBlack);
  TBitmap none;
  EXPECT_THROW(LoadSkinFormBitmap("DEEPBLUE_NOTHING", &none), Exception);
}

TEST(SkStyles, DefaultUIStyleFollowsTheFormsFrame) {
  TComponent module(nullptr);
  EXPECT_EQ(DefaultUIStyleFor(nullptr), DeepBlue);
  EXPECT_EQ(DefaultUIStyleFor(&module), DeepBlue);
  TForm form(nullptr);
  EXPECT_EQ(DefaultUIStyleFor(&form), DeepBlue);
  auto* frame = new TskForm(&form);
  frame->SetParent(&form);
  frame->SetUIStyle(Protein);
  EXPECT_EQ(DefaultUIStyleFor(&form), Protein);
  TskImageButton b(&form);
  EXPECT_EQ(b.GetUIStyle(), FromThemeFile);  // the image button always reads FromThemeFile
  SetPropText(&b, "UIStyle", "MacOS");
  EXPECT_EQ(GetPropText(&b, "UIStyle"), "FromThemeFile");
}

TEST(SkStyles, UseFileThemeOnlyForALoadedThemeFile) {
  TskUIStyle effective = MacOS;
  EXPECT_FALSE(UseFileTheme(nullptr, WinXP, effective));
  EXPECT_EQ(effective, WinXP);
  EXPECT_FALSE(UseFileTheme(nullptr, FromThemeFile, effective));
  EXPECT_EQ(effective, DeepBlue);
  TskFileTheme theme(nullptr);
  EXPECT_FALSE(UseFileTheme(&theme, FromThemeFile, effective));
  EXPECT_EQ(effective, DeepBlue);

  TempDir dir;
  TskThemeFileWriter w;
  w.AddInt("FormBorderWidthInt", 4);
  WriteFile(dir / "t.theme", w.Bytes());
  theme.SetThemeFile(dir / "t.theme");
  ASSERT_TRUE(theme.IsLoaded());
  EXPECT_TRUE(UseFileTheme(&theme, FromThemeFile, effective));
  EXPECT_EQ(effective, FromThemeFile);
  EXPECT_EQ(theme.GetInt(17), 4);
}

TEST(SkThemeFile, ReaderReadsEveryKind) {
  TempDir dir;
  TBitmap* red = SolidBitmap(6, 3, clRed);
  TskThemeFileWriter w;
  w.Add("ButtonImage", tfBitmap, red->SaveToBytes());
  w.AddInt("FormRoundCornerInt", 13);
  w.AddInt("FormBorderColor", 0xC82C00);
  w.AddInt("TitleBarButtonRightOffsetInt", -3);
  w.AddBool("ButtonTransparentBool", true);
  w.AddBool("TitleBarButtonTransparentBool", false);
  w.AddText("Author", "Orvane");
  delete red;
  std::string path = dir / "theme.skn";
  WriteFile(path, w.Bytes());

  ASSERT_TRUE(TskThemeFileReader::IsThemeFile(path));
  TskThemeFileReader r(path);
  EXPECT_EQ(r.EntryCount(), 7u);
  EXPECT_EQ(r.GetInt("FormRoundCornerInt"), 13);
  EXPECT_EQ(r.GetInt("formroundcornerint"), 13);  // names match without regard to case
  EXPECT_EQ(r.GetInt("TitleBarButtonRightOffsetInt"), -3);
  EXPECT_EQ(r.GetInt("Missing"), -1);
  EXPECT_EQ(r.GetBool("ButtonTransparentBool"), 1);
  EXPECT_EQ(r.GetBool("TitleBarButtonTransparentBool"), 0);
  EXPECT_EQ(r.GetBool("Missing"), 0);
  EXPECT_EQ(r.GetText("Author"), "Orvane");
  ASSERT_NE(r.GetStream("ButtonImage"), nullptr);
  EXPECT_EQ(r.GetStream("Missing"), nullptr);

  TskFileTheme theme(nullptr);
  theme.SetThemeFile(path);
  ASSERT_TRUE(theme.IsLoaded());
  EXPECT_EQ(theme.GetInt(14), 13);
  EXPECT_EQ(theme.GetColor(16), 0xC82C00);
  EXPECT_TRUE(theme.GetBool(2));
  EXPECT_FALSE(theme.GetBool(6));
  EXPECT_EQ(theme.GetInt(13), -1);  // an entry the file does not hold
  TBitmap bmp, frame;
  theme.GetBitmap(1, &bmp);
  EXPECT_EQ(bmp.GetWidth(), 6);
  EXPECT_EQ(bmp.Canvas()->GetPixel(2, 1), clRed);
  theme.GetFrame(1, &frame, 2, 3);
  EXPECT_EQ(frame.GetWidth(), 2);
  TBitmap untouched;
  theme.GetBitmap(3, &untouched);  // not in the file: stays as it was
  EXPECT_TRUE(untouched.Empty());
}

TEST(SkThemeFile, ChainEndingAtTheFirstRecordHoldsNothing) {
  TempDir dir;
  WriteFile(dir / "empty.skn", TskThemeFileWriter().Bytes());
  TskThemeFileReader r(dir / "empty.skn");
  EXPECT_EQ(r.EntryCount(), 0u);
}

TEST(SkThemeFile, DamagedFilesYieldWhatCanBeRead) {
  TempDir dir;
  TskThemeFileWriter w;
  w.AddInt("A", 1);
  w.AddInt("B", 2);
  std::vector<uint8_t> good = w.Bytes();
  struct TCase {
    const char* Name;
    std::function<void(std::vector<uint8_t>&)> Damage;
    size_t Entries;
  };
  const size_t second = 24 + 77 + 4;  // header, first record and its data
  const TCase cases[] = {
      {"cut inside the second record", [&](std::vector<uint8_t>& b) { b.resize(second + 30); }, 1},
      {"first record offset beyond the end", [](std::vector<uint8_t>& b) { b[20] = 0xFF; b[21] = 0xFF; }, 0},
      {"chain pointing back to itself", [](std::vector<uint8_t>& b) { b[24 + 73] = 24; b[24 + 74] = 0; }, 1},
      {"data offset beyond the end", [](std::vector<uint8_t>& b) { b[24 + 65 + 2] = 0x7F; }, 1},
      {"header shorter than its fields", [](std::vector<uint8_t>& b) { b[12] = 8; }, 0},
      // Offsets and sizes whose sum wraps past 4 GB in 32-bit arithmetic to a small number.
      {"record offset that wraps", [](std::vector<uint8_t>& b) { Put32(b, 20, 0xFFFFFFF0u); }, 0},
      {"data offset and size that wrap",
       [](std::vector<uint8_t>& b) { Put32(b, 24 + 65, 0x80000000u); Put32(b, 24 + 69, 0x80000010u); }, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<uint8_t> bytes = good;
    c.Damage(bytes);
    WriteFile(dir / "d.skn", bytes);
    TskThemeFileReader r(dir / "d.skn");
    EXPECT_EQ(r.EntryCount(), c.Entries);
  }
}

TEST(SkThemeFile, MagicIsSkPackTbPaddedWithZeros) {
  TempDir dir;
  std::vector<uint8_t> body = TskThemeFileWriter().Bytes();
  EXPECT_EQ(std::string(body.begin(), body.begin() + 12), std::string("SkPack_TB\0\0\0", 12));
  struct TCase {
    const char* Magic;  // the first 12 bytes, zero-padded
    bool Theme;
  } const cases[] = {
      {"SkPack_TB", true},   {"SUIPack_TB", false}, {"SkPack_T", false},
      {"SkPack_TBX", false}, {"skpack_tb", false},  {"", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Magic);
    std::vector<uint8_t> bytes = body;
    std::fill(bytes.begin(), bytes.begin() + 12, 0);
    std::copy(c.Magic, c.Magic + strlen(c.Magic), bytes.begin());
    WriteFile(dir / "m.skn", bytes);
    EXPECT_EQ(TskThemeFileReader::IsThemeFile(dir / "m.skn"), c.Theme);
  }
  // Only the text up to the first zero byte counts: what follows it in the 12 bytes is not compared.
  std::vector<uint8_t> bytes = body;
  bytes[10] = 'Z';
  WriteFile(dir / "m.skn", bytes);
  EXPECT_TRUE(TskThemeFileReader::IsThemeFile(dir / "m.skn"));
  // A file shorter than the magic is no theme file.
  WriteFile(dir / "m.skn", std::vector<uint8_t>(body.begin(), body.begin() + 9));
  EXPECT_FALSE(TskThemeFileReader::IsThemeFile(dir / "m.skn"));
}

TEST(SkThemeFile, ThemeFileSetterRules) {
  TempDir dir;
  TskThemeFileWriter w;
  w.AddInt("FormBorderWidthInt", 3);
  WriteFile(dir / "good.skn", w.Bytes());
  std::vector<uint8_t> bad = w.Bytes();
  bad[0] = 'X';
  WriteFile(dir / "bad.skn", bad);
  EXPECT_FALSE(TskThemeFileReader::IsThemeFile(dir / "bad.skn"));
  EXPECT_FALSE(TskThemeFileReader::IsThemeFile(dir / "missing.skn"));

  TskFileTheme theme(nullptr);
  theme.SetThemeFile(dir / "good.skn");
  EXPECT_EQ(theme.GetThemeFile(), dir / "good.skn");
  theme.SetThemeFile(dir / "missing.skn");  // found nowhere: ignored
  EXPECT_EQ(theme.GetThemeFile(), dir / "good.skn");
  EXPECT_THROW(theme.SetThemeFile(dir / "bad.skn"), Exception);
  EXPECT_EQ(theme.GetThemeFile(), dir / "good.skn");
  EXPECT_EQ(theme.GetInt(17), 3);
}

TEST(SkThemeFile, ButtonsUsingTheThemeReadItAgainAndForgetItWhenItGoes) {
  TempDir dir;
  TskThemeFileWriter w;
  w.AddInt("FormBorderWidthInt", 3);
  WriteFile(dir / "good.skn", w.Bytes());
  TForm form(nullptr);
  auto* theme = new TskFileTheme(&form);
  auto* button = new TskImageButton(&form);
  button->SetFileTheme(theme);
  theme->SetThemeFile(dir / "good.skn");
  EXPECT_EQ(button->GetFileTheme(), theme);
  delete theme;
  EXPECT_EQ(button->GetFileTheme(), nullptr);
}

TEST(SkPopupMenu, StartUpMadeTheCheckMarkImages) {
  TImageList* list = SkMenuCheckedImages();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->GetWidth(), 16);
}

}  // namespace
