// The skin description read into element records and colours: a pack built in the test from a small
// description and bitmaps drawn as character maps, and the program's own skin file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LzhEncoder.h"
#include "Prompter.h"
#include "SkinTestKit.h"
#include "SkinnerData.h"

namespace {

using Bytes = std::vector<uint8_t>;

const TLegend Legend = {{'a', 0x000011}, {'b', 0x000022}, {'c', 0x000033}, {'m', SkinTransparentColor},
                        {'t', TColor(RGB(10, 20, 30))}, {'u', TColor(RGB(40, 50, 60))}};

Bytes Bmp(int w, int h, char fill = 'a') {
  return BitmapFromMap(TCharMap(size_t(h), std::string(size_t(w), fill)), Legend)->SaveToBytes();
}
Bytes BmpOf(const TCharMap& map) { return BitmapFromMap(map, Legend)->SaveToBytes(); }
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct TSkinFixture {
  std::string Description;
  std::vector<TPackEntry> Images;
};

// Loads a skin made of the description and images into fresh skin data.
void LoadInto(TSkinData& data, const TSkinFixture& skin) {
  std::vector<TPackEntry> entries{{"skin.ini", Text(skin.Description)}};
  entries.insert(entries.end(), skin.Images.begin(), skin.Images.end());
  data.SkinData.SetBytes(MakeSkinFile(BuildSkinPack(entries)));
  ASSERT_TRUE(data.LoadSkin());
}

// Rows "ttt.." with one 'u' at the frame colour's spot (width div 3, (height div frames) div 3).
TCharMap TopBorder() {
  TCharMap rows(8, std::string(9, 't'));
  rows[1][3] = 'u';  // 9 div 3 = 3; (8 div 2) div 3 = 1
  return rows;
}

const char* const FullDescription =
    "[Personality]\r\n"
    "Left=left.bmp\r\nLeftTopHeight=5\r\nLeftBotHeight=6\r\nLeftFrame=2\r\nLeftStretch=3\r\n"
    "Top=skins\\top.bmp\r\nTopTopHeight=7\r\nTopBotHeight=8\r\nTopFrame=2\r\nTopTrans=0\r\n"
    "Right=c:right.bmp\r\nRightFrame=0\r\n"
    "Bottom=BOTTOM.BMP\r\n"
    "menuBar=menubar.bmp\r\nTileMenu=5\r\nTileLeftMenu=3\r\n"
    "TextBack=textback.bmp\r\nTextShift=20\r\nTextShiftVert=2\r\nTextRightClip=60\r\nTextAlignment=1\r\n"
    "TXTBackleft=4\r\nTXTBackRight=5\r\n"
    "ActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\n"
    "InActiveTextR=4\r\nInActiveTextG=5\r\n"
    "[Fonts]\r\nFontHeight=16\r\n"
    "[Colour5]\r\ncolor=5 5 5\r\n"
    "[Colours]\r\nButtonFace=200 201 202\r\nButtonText=1 2 3\r\nHilight=9 9\r\n"
    "[Colour1]\r\ncolor=1 1 1\r\n"
    "[ColourNone]\r\nx=1\r\n"
    "[Customcolors]\r\nColor3=30 31 32\r\n"
    "[BUTTON.DROPPED]\r\nAction=-1\r\nButtonImage=wide.bmp\r\n"
    "[BUTTON.KEPT]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=wide.bmp\r\n"
    "[Button.Narrow]\r\nAction=2\r\nButtonImage=narrow.bmp\r\n"
    "[BUTTON.MAX]\r\nAction=1\r\nVisibility=2\r\nXcoord=30\r\nYcoord=4\r\nButtonImage=narrow.bmp\r\nframe=4\r\n"
    "[BUTTON.RESTORE]\r\nAction=4\r\nXcoord=99\r\nYcoord=99\r\nButtonImage=wide.bmp\r\n"
    "[BUTTON.SYS]\r\nAction=3\r\nButtonImage=narrow.bmp\r\nframe=1\r\n"
    "[BUTTONS]\r\nBitmap=button.bmp\r\nLeftWidth=4\r\nTile=2\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
    "NormalColour=1\r\nNormalColour2=7 8 9\r\n"
    "[Button.Radio]\r\nAction=0\r\n"
    "[MDICONTROLS]\r\nImage=mdi.bmp\r\n"
    "[Progress]\r\nBitmap=progress.bmp\r\nTile=2\r\nLeftWidth=3\r\n"
    "[Progress.Chunk]\r\nImage=chunk.bmp\r\n"
    "[ToolBars]\r\nImage=toolbar.bmp\r\nTile=2\r\nFrame=9\r\n"
    "[Tab.Pane]\r\nImage=pane.bmp\r\nLeftWidth=6\r\nTopHeight=6\r\nRightWidth=3\r\nBottomHeight=6\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nBorder=tabborder.bmp\r\nTrans=1\r\n"
    "[GroupBox]\r\nImage=group.bmp\r\nBackgroundAlignment=2\r\nBackgroundLeftShift=3\r\nFrame=7\r\n"
    "[MenuItem]\r\nImage=missing.bmp\r\n"
    "[MenuBackground]\r\nImage=\r\n"
    "[Headerbar]\r\nImage=header.bmp\r\nFrame=0\r\n"
    "[HorzScrollThumb]\r\nImage=thumb.bmp\r\nFrameCount=0\r\n"
    "[VertScrollThumb]\r\nImage=thumb.bmp\r\n"
    "[TRACKVERT]\r\nImage=track.bmp\r\nLeftWidth=2\r\n"
    "[UpDown.Horz]\r\nImage=updown.bmp\r\nGlyphImage=glyph.bmp\r\n"
    "[ComboButton]\r\nImage=combo.bmp\r\nLeftWidth=1\r\n";

TSkinFixture FullSkin() {
  return {FullDescription,
          {{"left.bmp", Bmp(8, 30)},
           {"top.bmp", BmpOf(TopBorder())},
           {"right.bmp", Bmp(4, 30)},
           {"bottom.bmp", Bmp(4, 30)},
           {"menubar.bmp", Bmp(20, 10)},
           {"textback.bmp", Bmp(30, 20)},
           {"wide.bmp", Bmp(90, 20)},
           {"narrow.bmp", Bmp(60, 20)},
           {"button.bmp", Bmp(100, 20)},
           {"check.bmp", Bmp(26, 13)},
           {"radio.bmp", Bmp(96, 16)},
           {"mdi.bmp", BmpOf({"aaaaaaaabbbbbbbbcccccccc", "aaaaaaaabbbbbbbbcccccccc"})},
           {"progress.bmp", Bmp(10, 10)},
           {"chunk.bmp", Bmp(4, 4)},
           {"toolbar.bmp", Bmp(50, 10)},
           {"pane.bmp", Bmp(20, 20)},
           {"tabs.bmp", Bmp(50, 20)},
           {"tabborder.bmp", Bmp(7, 7)},
           {"group.bmp", Bmp(20, 20)},
           {"header.bmp", Bmp(50, 10)},
           {"thumb.bmp", Bmp(30, 10)},
           {"track.bmp", Bmp(12, 6)},
           {"updown.bmp", Bmp(80, 10)},
           {"glyph.bmp", Bmp(16, 8)},
           {"combo.bmp", BmpOf({"amaaaaaa", "aaaaaaaa"})}}};
}

class SkinnerDataTest : public testing::Test {
protected:
  void SetUp() override {
    previous = SetPrompter(&prompter);
    LoadInto(data, FullSkin());
  }
  void TearDown() override { SetPrompter(previous); }
  TRecordingPrompter prompter;
  TPrompter* previous = nullptr;
  TSkinData data{nullptr};
};

TEST(SkinnerData, ParseColour) {
  struct Case {
    const char* Text;
    COLORREF Expected;
  };
  const Case cases[] = {
      {"255 128 64", RGB(255, 128, 64)}, {"  255 128 64  ", RGB(255, 128, 64)}, {"1,2,3", RGB(1, 2, 3)},
      {"255 128", RGB(255, 0, 0)},       {"255 128 ", RGB(255, 0, 0)},           {"255 128,", RGB(255, 128, 0)},
      {"255", RGB(0, 0, 0)},             {"300 256 257", RGB(44, 0, 1)},         {"1 2 3 4", RGB(1, 2, 3)},
      {"", RGB(0, 0, 0)},                {"red", RGB(0, 0, 0)},                  {"-1 -2 -3", RGB(1, 2, 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(COLORREF(ParseColour(c.Text)), c.Expected) << c.Text;
}

TEST_F(SkinnerDataTest, AppliesAndClearsNoSkin) {
  EXPECT_FALSE(data.NoSkin);
  EXPECT_NE(data.ButtonFaceBrush, nullptr);
  EXPECT_EQ(data.Reader, nullptr);  // the loading helpers live only while loading
  EXPECT_EQ(data.Ini, nullptr);
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(SkinnerDataTest, Borders) {
  EXPECT_EQ(data.BorderLeft->Name, "Left");
  EXPECT_EQ(data.BorderLeft->Margins.Top, 5);
  EXPECT_EQ(data.BorderLeft->Margins.Bottom, 6);
  EXPECT_EQ(data.BorderLeft->Margins.Left, 0);
  EXPECT_EQ(data.BorderLeft->FrameCount, 2);
  EXPECT_EQ(data.BorderLeft->Tile, 1);   // Stretch above 1 is 1
  EXPECT_EQ(data.BorderLeft->Trans, 1);  // default
  EXPECT_EQ(data.BorderLeft->Bitmap->GetWidth(), 8);
  // Top and bottom borders keep their ends in the left and right margins.
  EXPECT_EQ(data.BorderTop->Margins.Left, 7);
  EXPECT_EQ(data.BorderTop->Margins.Right, 8);
  EXPECT_EQ(data.BorderTop->Margins.Top, 0);
  EXPECT_EQ(data.BorderTop->Trans, 0);
  EXPECT_EQ(data.BorderTop->Bitmap->GetWidth(), 9);  // "skins\top.bmp" names top.bmp
  EXPECT_EQ(data.BorderRight->Bitmap->GetWidth(), 4);  // "c:right.bmp" names right.bmp
  EXPECT_EQ(data.BorderRight->FrameCount, 0);           // the skin may write 0
  EXPECT_TRUE(data.BorderBottom->Bitmap->Empty());      // ".BMP" in capitals is not a bitmap name
}

TEST_F(SkinnerDataTest, FrameColourComesFromTheTopBorder) {
  EXPECT_EQ(COLORREF(data.FrameColour), RGB(40, 50, 60));
  EXPECT_EQ(COLORREF(data.GetFrameColour()), RGB(40, 50, 60));
}

TEST_F(SkinnerDataTest, TitleAndMenuBar) {
  EXPECT_EQ(data.Title->Margins.Left, 20);
  EXPECT_EQ(data.Title->Margins.Top, 2);
  EXPECT_EQ(data.Title->Margins.Right, 60);
  EXPECT_EQ(data.Title->TextAlignment, 1);
  EXPECT_EQ(data.Title->FontHeight, 16);
  EXPECT_EQ(data.Title->TextBackLeft, 4);
  EXPECT_EQ(data.Title->TextBackRight, 5);
  EXPECT_EQ(data.Title->FrameCount, 2);
  EXPECT_EQ(data.Title->Bitmap->GetWidth(), 30);
  EXPECT_EQ(COLORREF(data.Title->ActiveTextColour), RGB(1, 2, 3));
  EXPECT_EQ(data.Title->InactiveTextColour, clNone);  // no blue key: not set
  ASSERT_NE(data.MenuBar, nullptr);
  EXPECT_EQ(data.MenuBar->Name, "Personality");
  EXPECT_EQ(data.MenuBar->Tile, 1);
  EXPECT_EQ(data.MenuBar->Margins.Left, 3);
  EXPECT_EQ(data.MenuBar->Margins.Right, 1);
  EXPECT_EQ(data.MenuBar->FrameCount, 2);
}

TEST_F(SkinnerDataTest, Colours) {
  EXPECT_EQ(COLORREF(data.ButtonFace), RGB(200, 201, 202));
  EXPECT_EQ(data.Menubar, data.ButtonFace);  // defaults to the button face just read
  EXPECT_EQ(COLORREF(data.ButtonText), RGB(1, 2, 3));
  EXPECT_EQ(COLORREF(data.Hilight), RGB(9, 0, 0));  // two numbers: red alone
  EXPECT_EQ(data.WindowText, clWindowText);
  EXPECT_EQ(data.ButtonDkShadow, cl3DDkShadow);
  // Table order follows the text, not the numbers in the names; [Colours] is not part of it.
  ASSERT_EQ(data.ColourTable.size(), 3u);
  EXPECT_EQ(COLORREF(data.ColourTable[0]), RGB(5, 5, 5));
  EXPECT_EQ(COLORREF(data.ColourTable[1]), RGB(1, 1, 1));
  EXPECT_EQ(data.ColourTable[2], clWindowText);
  EXPECT_EQ(COLORREF(data.CustomColours[3]), RGB(30, 31, 32));
  EXPECT_EQ(data.CustomColours[0], clWhite);
}

TEST_F(SkinnerDataTest, TitleButtons) {
  std::vector<std::string> names;
  for (TDataSkinSysButton* b : data.SysButtons) names.push_back(b->Name);
  ASSERT_EQ(names.size(), 8u);  // five skin buttons and three MDI buttons
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
            (std::vector<std::string>{"BUTTON.KEPT", "BUTTON.NARROW", "BUTTON.MAX", "BUTTON.RESTORE", "BUTTON.SYS"}));
  TDataSkinSysButton* kept = data.SysButtons[0];
  EXPECT_EQ(kept->Visibility1, -1);
  EXPECT_EQ(kept->FrameCount, 6);  // action below 0
  EXPECT_EQ(data.SysButtons[1]->FrameCount, 3);  // 60 x 20: 3 frames
  EXPECT_EQ(data.SysButtons[1]->Visibility1, 0);
  EXPECT_EQ(data.SysButtons[1]->CombineOp, -1);
  EXPECT_EQ(data.SysButtons[2]->FrameCount, 4);  // from its key
  EXPECT_EQ(data.SysButtons[3]->FrameCount, 6);  // 90 x 20: 6 frames
  EXPECT_EQ(data.SysButtons[3]->XCoord, 30);     // action 4 sits where the maximize button sits
  EXPECT_EQ(data.SysButtons[3]->YCoord, 4);
  EXPECT_TRUE(data.SysButtons[4]->Bitmap->Empty());  // the system-menu icon loses its image
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TDataSkinSysButton* mdi = data.SysButtons[size_t(5 + i)];
    EXPECT_EQ(mdi->Action, 7 + i);
    EXPECT_EQ(mdi->Align, 100);
    EXPECT_EQ(mdi->Visibility, 100);
    EXPECT_EQ(mdi->Visibility1, 100);
    EXPECT_EQ(mdi->FrameCount, 4);
    EXPECT_EQ(mdi->XCoord, (2 + 4) * (3 - i));  // 24 pixels: twelve frames of 2
    EXPECT_EQ(MapOf(mdi->Bitmap, Legend)[0], std::string(8, "abc"[i]));
  }
}

TEST_F(SkinnerDataTest, PushButtonsAndBoxes) {
  TDataSkinButton* b = data.Buttons;
  EXPECT_EQ(b->Bitmap->GetWidth(), 100);
  EXPECT_EQ(b->Margins.Left, 4);
  EXPECT_EQ(b->Tile, 0);  // above 1 is 0
  EXPECT_EQ(b->FrameCount, 5);
  EXPECT_EQ(b->NormalColour, 1);
  EXPECT_EQ(b->MouseOverColour, -1);
  EXPECT_TRUE(b->HasNormalColour2);
  EXPECT_FALSE(b->HasPressedColour2);
  EXPECT_EQ(COLORREF(b->NormalColour2), RGB(7, 8, 9));
  EXPECT_EQ(b->PressedColour2, data.ButtonText);
  EXPECT_EQ(b->CheckFrameCount, 4);  // 26 / 13 = 2, at least 4
  EXPECT_EQ(b->RadioFrameCount, 6);  // 96 / 16
}

TEST_F(SkinnerDataTest, ElementsAndFrameCounts) {
  ASSERT_NE(data.Progress, nullptr);
  EXPECT_EQ(data.Progress->Tile, 1);  // Progress keeps 1 for a Tile above 1
  EXPECT_EQ(data.Progress->FrameCount, 2);
  EXPECT_EQ(data.Progress->Margins.Left, 3);
  ASSERT_NE(data.ProgressChunk, nullptr);
  EXPECT_EQ(data.ProgressChunk->FrameCount, 0);  // no Frame key
  ASSERT_NE(data.ToolBars, nullptr);
  EXPECT_EQ(data.ToolBars->Tile, 0);
  EXPECT_EQ(data.ToolBars->FrameCount, 5);  // fixed, whatever its key says
  ASSERT_NE(data.TabPane, nullptr);
  EXPECT_EQ(data.TabPane->Margins.Left, 4);
  EXPECT_EQ(data.TabPane->Margins.Top, 4);
  EXPECT_EQ(data.TabPane->Margins.Right, 3);
  EXPECT_EQ(data.TabPane->Margins.Bottom, 4);
  ASSERT_NE(data.Tabs, nullptr);
  EXPECT_EQ(data.Tabs->Bitmap2->GetWidth(), 7);
  EXPECT_EQ(data.Tabs->FrameCount, 5);
  ASSERT_NE(data.GroupBox, nullptr);
  EXPECT_EQ(data.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(data.GroupBox->BackgroundLeftShift, 3);
  EXPECT_EQ(data.GroupBox->FrameCount, 1);
  ASSERT_NE(data.MenuItem, nullptr);  // named image missing from the pack: an element without image
  EXPECT_TRUE(data.MenuItem->Bitmap->Empty());
  EXPECT_EQ(data.MenuBackground, nullptr);  // empty Image: no element
  EXPECT_EQ(data.Scrollbar, nullptr);
  EXPECT_EQ(data.SunkEdge, nullptr);
  ASSERT_NE(data.Headerbar, nullptr);
  EXPECT_EQ(data.Headerbar->FrameCount, 5);
  EXPECT_EQ(data.HorzScrollThumb->FrameCount, 0);
  EXPECT_EQ(data.VertScrollThumb->FrameCount, 3);
  ASSERT_NE(data.UpDownHorz, nullptr);
  EXPECT_EQ(data.UpDownHorz->FrameCount, 8);
  EXPECT_EQ(data.UpDownHorz->Bitmap2->GetWidth(), 16);
}

TEST_F(SkinnerDataTest, TrackElementsFromTheSkinOrTheProgramsPictures) {
  ASSERT_NE(data.TrackVert, nullptr);
  EXPECT_EQ(data.TrackVert->FrameCount, 0);  // from the skin, without a Frame key
  EXPECT_EQ(data.TrackVert->Margins.Left, 2);
  ASSERT_NE(data.Track, nullptr);  // no [Track]: the program's own picture
  EXPECT_EQ(data.Track->Name, "TRACK");
  EXPECT_FALSE(data.Track->Bitmap->Empty());
  EXPECT_EQ(data.Track->FrameCount, 1);
  EXPECT_EQ(data.Track->Margins.Left, 3);
  EXPECT_EQ(data.Track->Margins.Bottom, 3);
  EXPECT_EQ(data.Track->Tile, 0);
}

TEST_F(SkinnerDataTest, ComboArrowWithoutSunkEdgeIsTheButtonOnTheFace) {
  ASSERT_NE(data.ComboButton, nullptr);
  EXPECT_EQ(data.ComboButton->FrameCount, 4);
  // The second image is the first mirrored.
  EXPECT_EQ(MapOf(data.ComboButton->Bitmap2, Legend)[0], "aaaaaama");
  ASSERT_NE(data.ComboArrow, nullptr);
  EXPECT_EQ(data.ComboArrow->Name, "ComboxArrow");
  EXPECT_EQ(data.ComboArrow->FrameCount, 4);
  EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 1, 0), RGB(200, 201, 202));  // magenta became the button face
  EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 0, 0), COLORREF(Legend.at('a')));
}

TEST_F(SkinnerDataTest, ToolbarGradient) {
  ASSERT_NE(data.ToolbarGradient, nullptr);
  EXPECT_EQ(data.ToolbarGradient->Name, "Toolbar");
  EXPECT_EQ(data.ToolbarGradient->Bitmap->GetWidth(), 10);
  EXPECT_EQ(data.ToolbarGradient->Bitmap->GetHeight(), 40);
  EXPECT_EQ(PixelAt(data.ToolbarGradient->Bitmap, 5, 0), COLORREF(MixColors(data.ButtonFace, clWhite, 150)));
  // The frame colour (40, 50, 60) is dark: saturation 200, so the bottom mixes it with white.
  const int s = ColorSaturation(TColor(RGB(40, 50, 60)));
  const TColor top = MixColors(data.ButtonFace, clWhite, 150);
  const TColor bottom = MixColors(TColor(RGB(40, 50, 60)), clWhite, (5625 - 25 * s) / 140 + 50);
  EXPECT_EQ(PixelAt(data.ToolbarGradient->Bitmap, 5, 39), COLORREF(GradientColors(GetGradient(40, top, bottom)).back()));
}

TEST_F(SkinnerDataTest, ApplyingAnotherSkinDropsWhatItLacks) {
  LoadInto(data, {"[Personality]\r\nLeft=left.bmp\r\n[SunkEdge]\r\nImage=sunk.bmp\r\n", {{"left.bmp", Bmp(3, 3)}}});
  EXPECT_EQ(data.Progress, nullptr);
  EXPECT_EQ(data.ComboButton, nullptr);
  EXPECT_EQ(data.MenuBar, nullptr);
  ASSERT_NE(data.SunkEdge, nullptr);
  EXPECT_TRUE(data.Buttons->Bitmap->Empty());  // always-present elements are overwritten
  EXPECT_EQ(data.BorderLeft->Bitmap->GetWidth(), 3);
  EXPECT_TRUE(data.BorderTop->Bitmap->Empty());
  EXPECT_EQ(data.FrameColour, data.ButtonFace);  // no top border image
  EXPECT_EQ(data.ButtonFace, clBtnFace);
  EXPECT_EQ(data.ColourTable.size(), 0u);
  EXPECT_EQ(data.SysButtons.size(), 3u);
  ASSERT_NE(data.ComboArrow, nullptr);  // SunkEdge without ComboButton: an arrow without image
  EXPECT_TRUE(data.ComboArrow->Bitmap->Empty());
  ASSERT_NE(data.ToolbarGradient, nullptr);
}

TEST(SkinnerData, ComboImageComposedFromSunkEdgeAndComboButton) {
  TSkinData data(nullptr);
  LoadInto(data, {"[SunkEdge]\r\nImage=sunk.bmp\r\nTopHeight=2\r\nBottomHeight=3\r\n"
                  "[ComboButton]\r\nImage=combo.bmp\r\n",
                  {{"sunk.bmp", Bmp(40, 10, 'b')}, {"combo.bmp", Bmp(40, 10, 'c')}}});
  const int a = GetSystemMetrics(SM_CXHSCROLL) + 2;
  ASSERT_NE(data.ComboButton, nullptr);
  ASSERT_NE(data.SunkEdge, nullptr);
  EXPECT_EQ(data.ComboButton->Style, 2);
  EXPECT_EQ(data.ComboButton->Bitmap->GetWidth(), 200);
  EXPECT_EQ(data.ComboButton->Bitmap->GetHeight(), 21);
  EXPECT_EQ(data.ComboButton->Margins.Left, 2);
  EXPECT_EQ(data.ComboButton->Margins.Right, a + 2);
  EXPECT_EQ(data.ComboButton->Margins.Top, 2);
  EXPECT_EQ(data.ComboButton->Margins.Bottom, 3);
  EXPECT_EQ(data.SunkEdge->Margins.Left, a + 2);
  EXPECT_EQ(data.SunkEdge->Margins.Right, 2);
  // Each 50-pixel cell: the edge, the arrow part on the right, a transparent field inside.
  TBitmap* combo = data.ComboButton->Bitmap;
  for (int cell = 0; cell < 4; ++cell) {
    SCOPED_TRACE(cell);
    EXPECT_EQ(PixelAt(combo, 50 * cell, 0), COLORREF(Legend.at('b')));
    EXPECT_EQ(PixelAt(combo, 50 * cell + 49, 10), COLORREF(Legend.at('c')));
    EXPECT_EQ(PixelAt(combo, 50 * cell + 10, 10), COLORREF(SkinTransparentColor));
  }
  EXPECT_EQ(PixelAt(data.SunkEdge->Bitmap, 0, 10), COLORREF(Legend.at('c')));  // mirrored
  ASSERT_NE(data.ComboArrow, nullptr);
  EXPECT_EQ(data.ComboArrow->FrameCount, 4);
  EXPECT_EQ(data.ComboArrow->Bitmap->GetWidth(), 68);
  EXPECT_EQ(data.ComboArrow->Bitmap->GetHeight(), 17);
  EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 16, 8), COLORREF(Legend.at('c')));
}

// Without [Colours] the colours stay system colours (negative values); they are resolved with
// GetSysColor wherever the skin data draws or mixes with them.
TEST(SkinnerData, SystemColoursAreResolvedWhereTheyAreUsed) {
  TSkinData data(nullptr);
  LoadInto(data, {"[ComboButton]\r\nImage=combo.bmp\r\n", {{"combo.bmp", BmpOf({"maaa"})}}});
  EXPECT_EQ(data.ButtonFace, clBtnFace);
  EXPECT_LT(data.ButtonFace, 0);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  LOGBRUSH brush{};
  ASSERT_EQ(GetObjectA(data.ButtonFaceBrush, sizeof brush, &brush), int(sizeof brush));
  EXPECT_EQ(brush.lbColor, face);
  EXPECT_EQ(PixelAt(data.ComboArrow->Bitmap, 0, 0), face);  // magenta took the resolved face colour
  // Toolbar gradient top: 15 % of the face colour, 85 % white, worked out here per channel.
  auto mix = [](int a, int b) { return (a * 150 + b * 850 + 500) / 1000; };
  EXPECT_EQ(PixelAt(data.ToolbarGradient->Bitmap, 0, 0),
            RGB(mix(GetRValue(face), 255), mix(GetGValue(face), 255), mix(GetBValue(face), 255)));
}

TEST(SkinnerData, TopBorderWithoutFramesGivesTheFrameColourOfItsWholeHeight) {
  TCharMap rows(6, std::string(9, 't'));
  rows[2][3] = 'u';  // (9 div 3, 6 div 3): a count of 0 is taken as one frame instead of dividing by it
  TSkinData data(nullptr);
  LoadInto(data, {"[Personality]\r\nTop=top.bmp\r\nTopFrame=0\r\n", {{"top.bmp", BmpOf(rows)}}});
  EXPECT_EQ(data.BorderTop->FrameCount, 0);
  EXPECT_EQ(COLORREF(data.FrameColour), RGB(40, 50, 60));
}

TEST(SkinnerData, UnreadablePackLeavesNoSkin) {
  TRecordingPrompter prompter;
  TPrompter* previous = SetPrompter(&prompter);
  TSkinData data(nullptr);
  data.SkinData.SetBytes(MakeSkinFile(BuildSkinPack({{"skin.ini", Text("[Colours]\r\n")}}, 10000)));
  EXPECT_FALSE(data.LoadSkin());
  EXPECT_TRUE(data.NoSkin);
  EXPECT_EQ(data.Reader, nullptr);
  EXPECT_EQ(prompter.Prompts.size(), 1u);
  SetPrompter(previous);
}

TEST(SkinnerData, EnginePicturesAreResources) {
  struct Case {
    const char* Name;
    int W, H;
  };
  for (const Case& c : {Case{"TRACK", 12, 8}, Case{"TRACKVERT", 8, 12}, Case{"TARNWICKMENU", 64, 16}}) {
    SCOPED_TRACE(c.Name);
    TBitmap b;
    b.LoadFromResourceName(c.Name);
    EXPECT_EQ(b.GetWidth(), c.W);
    EXPECT_EQ(b.GetHeight(), c.H);
  }
}

TEST(SkinnerData, ProgramsOwnSkin) {
  TSkinData data(nullptr);
  ASSERT_TRUE(data.SkinData.LoadFromFile(ORV_PROGRAM_DIR "skins\\Orvane.skn"));
  ASSERT_TRUE(data.LoadSkin());
  EXPECT_FALSE(data.NoSkin);
  EXPECT_FALSE(data.BorderTop->Bitmap->Empty());
  EXPECT_FALSE(data.Buttons->Bitmap->Empty());
  EXPECT_EQ(data.Buttons->FrameCount, 5);
  EXPECT_FALSE(data.Buttons->CheckBitmap->Empty());
  EXPECT_EQ(data.Buttons->CheckFrameCount, 8);
  EXPECT_EQ(data.ColourTable.size(), 3u);
  EXPECT_EQ(data.SysButtons.size(), 4u + 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(data.SysButtons[i]->Bitmap->Empty()) << data.SysButtons[i]->Name;
  EXPECT_NE(data.MenuBar, nullptr);
  EXPECT_NE(data.Progress, nullptr);
  EXPECT_NE(data.ComboArrow, nullptr);
  EXPECT_FALSE(data.ComboArrow->Bitmap->Empty());
  EXPECT_FALSE(data.Track->Bitmap->Empty());
}

}  // namespace
