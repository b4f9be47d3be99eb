// The shaped skin form with the controls placed on it: outline and size from the glyph, the window
// drag, picture buttons that show the skin through, the image panel's three drawing styles, the image
// button's repeat and click rules, and a screenshot of a whole test window.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "OrvButton.h"
#include "OrvLabel.h"
#include "PngBuilder.h"
#include "PngPicture.h"
#include "SkButton.h"
#include "SkImagePanel.h"
#include "SkSkinForm.h"
#include "SkUtils.h"
#include "WidgetTestKit.h"

using namespace wtk;

namespace {

// A glyph with the four corners cut round (key colour) and a pattern that differs at every pixel.
TBitmap* SkinGlyph(int w, int h, int corner) {
  TBitmap* b = SolidBitmap(w, h, clFuchsia);
  HDC dc = b->Canvas()->GetHandle();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int dx = x < corner ? corner - x : x >= w - corner ? x - (w - corner - 1) : 0;
      int dy = y < corner ? corner - y : y >= h - corner ? y - (h - corner - 1) : 0;
      if (dx * dx + dy * dy > corner * corner) continue;
      SetPixelV(dc, x, y, RGB((x * 7) & 0xFF, (y * 5) & 0xFF, 0x40 + ((x + y) & 0x3F)));
    }
  return b;
}

TColor GlyphAt(TBitmap* glyph, int x, int y) { return glyph->Canvas()->GetPixel(x, y) & 0xFFFFFF; }

class SkinFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = ShowTestForm(100, 100, 300, 200);
    skin = new TskSkinForm(form);
    skin->SetParent(form);
    glyph = SkinGlyph(240, 160, 12);
    skin->OnRegionChanged = [this](TObject* s) {
      EXPECT_EQ(s, skin);
      ++regionChanges;
    };
    skin->SetGlyph(glyph);
    Application->ProcessMessages();
  }
  void TearDown() override {
    ReleaseCapture();
    delete glyph;
    form->Free();
    Application->ProcessMessages();
  }
  TForm* form = nullptr;
  TskSkinForm* skin = nullptr;
  TBitmap* glyph = nullptr;
  int regionChanges = 0;
};

TEST_F(SkinFormTest, GlyphGivesOutlineAndSize) {
  EXPECT_EQ(form->GetBorderStyle(), bsNone);
  EXPECT_EQ(regionChanges, 1);
  EXPECT_EQ(skin->GetLeft(), 0);
  EXPECT_EQ(skin->GetTop(), 0);
  EXPECT_EQ(skin->GetWidth(), 240);
  EXPECT_EQ(skin->GetHeight(), 160);
  EXPECT_EQ(form->GetClientWidth(), 240);
  EXPECT_EQ(form->GetClientHeight(), 160);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form->Handle(), rgn), ERROR);
  for (POINT p : {POINT{0, 0}, POINT{239, 0}, POINT{0, 159}, POINT{239, 159}, POINT{120, 80}, POINT{0, 80}, POINT{239, 80}})
    EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != FALSE, GlyphAt(glyph, p.x, p.y) != clFuchsia) << p.x << "," << p.y;
  DeleteObject(rgn);
  // Moving the control and changing the key colour puts everything back in place.
  skin->SetBounds(10, 10, 50, 50);
  skin->SetTransparentColor(clBlack);
  EXPECT_EQ(regionChanges, 2);
  EXPECT_EQ(skin->GetLeft(), 0);
  EXPECT_EQ(skin->GetWidth(), 240);
  // It paints the glyph unscaled at its origin.
  TBitmap* shot = SolidBitmap(240, 160, clWhite);
  form->Perform(WM_PAINT, WPARAM(shot->Canvas()->GetHandle()), 0);
  for (POINT p : {POINT{5, 5}, POINT{100, 60}, POINT{239, 159}})
    EXPECT_EQ(shot->Canvas()->GetPixel(p.x, p.y), GlyphAt(glyph, p.x, p.y));
  delete shot;
}

TEST_F(SkinFormTest, EmptyGlyphChangesNothingAndPaintsAPlaceholder) {
  auto* other = new TskSkinForm(form);
  other->SetParent(form);
  other->SetBounds(20, 20, 30, 20);
  int changes = 0;
  other->OnRegionChanged = [&](TObject*) { ++changes; };
  other->SetTransparentColor(clRed);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(other->GetLeft(), 20);
  EXPECT_EQ(form->GetClientWidth(), 240);
  TBitmap* shot = SolidBitmap(240, 160, clWhite);
  form->Perform(WM_PAINT, WPARAM(shot->Canvas()->GetHandle()), 0);
  EXPECT_EQ(shot->Canvas()->GetPixel(20, 20), clBlack);
  EXPECT_EQ(shot->Canvas()->GetPixel(49, 39), clBlack);
  EXPECT_EQ(shot->Canvas()->GetPixel(30, 30), GlyphAt(glyph, 30, 30));
  delete shot;
}

TEST_F(SkinFormTest, AnyMousePressDragsTheWindowAfterTheEvent) {
  std::vector<std::pair<WPARAM, LPARAM>> nc;
  form->SetMessageHandler(WM_NCLBUTTONDOWN, [&](TMessage& m) { nc.push_back({m.WParam, m.LParam}); });
  int downs = 0;
  skin->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    EXPECT_EQ(nc.size(), size_t(downs));
    ++downs;
  };
  for (auto [down, up, keys] : {std::tuple{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON},
                                std::tuple{WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON}}) {
    SendMouse(down, keys, ScreenPointOf(form, 120, 80));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMouse(up, 0, ScreenPointOf(form, 120, 80));
  }
  EXPECT_EQ(downs, 2);
  ASSERT_EQ(nc.size(), 2u);
  EXPECT_EQ(nc[0].first, WPARAM(HTCAPTION));
  EXPECT_EQ(nc[0].second, 0);
}

TEST_F(SkinFormTest, TransparentButtonsShowTheSkin) {
  auto* orv = new TOrvButton(form);
  orv->SetParent(form);
  orv->SetBounds(37, 21, 40, 25);
  orv->SetTransparent(true);
  auto* sk = new TskImageButton(form);
  sk->SetParent(form);
  sk->SetBounds(101, 53, 40, 25);
  sk->SetTransparent(true);
  for (TWinControl* b : {static_cast<TWinControl*>(orv), static_cast<TWinControl*>(sk)}) {
    SCOPED_TRACE(b->ClassName());
    TShot shot(b);
    for (int y = 0; y < 25; y += 6)
      for (int x = 0; x < 40; x += 9)
        EXPECT_EQ(shot.At(x, y), GlyphAt(glyph, b->GetLeft() + x, b->GetTop() + y)) << x << "," << y;
  }
}

TEST_F(SkinFormTest, PngPictureBlendsOverTheSkin) {
  using namespace pngtest;
  // A 4 x 1 picture: opaque red, half-transparent blue, fully transparent, opaque green.
  Bytes file = File({Ihdr(4, 1, 8, 6), Chunk("IDAT", Deflate(Rows({{255, 0, 0, 255, 0, 0, 255, 128, 0, 0, 0, 0, 0, 255, 0, 255}})))});
  auto* b = new TOrvButton(form);
  b->SetParent(form);
  b->SetBounds(60, 40, 4, 1);
  b->SetTransparent(true);
  b->GetPicNormal()->LoadFromData("png", file);
  TShot shot(b);
  EXPECT_EQ(shot.At(0, 0), clRed);
  EXPECT_EQ(shot.At(2, 0), GlyphAt(glyph, 62, 40));
  EXPECT_EQ(shot.At(3, 0), clLime);
  TColor under = GlyphAt(glyph, 61, 40), mixed = shot.At(1, 0);
  EXPECT_NEAR(GetBValue(mixed), (255 + GetBValue(under)) / 2, 2);
  EXPECT_NEAR(GetRValue(mixed), GetRValue(under) / 2, 2);
}

// ---- image panel ----

TEST_F(SkinFormTest, ImagePanelNormalStretchAndTile) {
  auto* panel = new TskImagePanel(form);
  panel->SetParent(form);
  panel->SetBounds(20, 30, 70, 50);
  panel->SetColor(clWhite);
  // Without a picture the panel is its colour.
  TShot plain(panel);
  EXPECT_EQ(plain.Count(clWhite), 70 * 50);
  // A 30 x 20 picture with a marked corner.
  TBitmap* pic = SolidBitmap(30, 20, clBlue);
  pic->Canvas()->SetPixel(0, 0, clRed);
  panel->GetPicture()->Assign(pic);
  delete pic;
  struct TCase {
    TskDrawStyle Style;
    std::function<TColor(int, int)> Expected;  // at panel pixel (x, y); clNone: not painted by the picture
  };
  const TCase cases[] = {
      {skNormal, [](int x, int y) { return x < 30 && y < 20 ? (x == 0 && y == 0 ? clRed : clBlue) : clNone; }},
      {skTile, [](int x, int y) { return x % 30 == 0 && y % 20 == 0 ? clRed : clBlue; }},
      {skStretch, [](int x, int y) { return x < 2 && y < 2 ? clRed : x > 3 || y > 3 ? clBlue : clNone; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(DrawStyleNames()[c.Style]);
    SetPropText(panel, "DrawStyle", DrawStyleNames()[c.Style]);
    TShot shot(panel);
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 70; ++x) {
        TColor e = c.Expected(x, y);
        if (e != clNone) {
          ASSERT_EQ(shot.At(x, y), e) << x << "," << y;
        }
      }
  }
  // A tile as large as the panel shows once.
  TBitmap* big = SolidBitmap(70, 50, clYellow);
  big->Canvas()->SetPixel(0, 0, clRed);
  panel->GetPicture()->Assign(big);
  delete big;
  panel->SetDrawStyle(skTile);
  EXPECT_EQ(TShot(panel).Count(clRed), 1);
}

TEST_F(SkinFormTest, ImagePanelTransparentCaptionAndAutoSize) {
  auto* panel = new TskImagePanel(form);
  panel->SetParent(form);
  panel->SetBounds(20, 30, 70, 50);
  panel->SetTransparent(true);
  TShot see(panel);
  EXPECT_EQ(see.At(10, 10), GlyphAt(glyph, 30, 40));
  panel->SetTransparent(false);
  panel->SetColor(clWhite);
  panel->GetFont()->SetColor(clBlack);
  panel->SetCaption("   ");
  EXPECT_EQ(TShot(panel).Count(clWhite), 70 * 50);
  struct TCase {
    TAlignment Alignment;
    int Part;
  };
  panel->SetCaption("Wg");
  for (TCase c : {TCase{taLeftJustify, 0}, TCase{taCenter, 1}, TCase{taRightJustify, 2}}) {
    panel->SetAlignment(c.Alignment);
    RECT box = TShot(panel).BoxOf([](TColor col) { return col != clWhite; });
    ASSERT_GT(box.right, box.left);
    EXPECT_NEAR((box.top + box.bottom) / 2, 25, 4);
    switch (c.Part) {
      case 0: EXPECT_LT(box.left, 3); break;
      case 1: EXPECT_NEAR((box.left + box.right) / 2, 35, 3); break;
      case 2: EXPECT_GT(box.right, 67); break;
    }
  }
  panel->SetAlign(alTop);
  int width = panel->GetWidth();
  panel->SetAutoSize(true);
  TBitmap* pic = SolidBitmap(30, 20, clBlue);
  panel->GetPicture()->Assign(pic);
  delete pic;
  EXPECT_EQ(panel->GetHeight(), 20);
  EXPECT_EQ(panel->GetWidth(), width);
}

// ---- image button ----

class ImageButtonTest : public SkinFormTest {
protected:
  void SetUp() override {
    SkinFormTest::SetUp();
    button = new TskImageButton(form);
    button->SetParent(form);
    button->SetBounds(40, 40, 60, 30);
    button->SetColor(clWhite);
    SetPictureTo(button->GetPicNormal(), 60, 30, clRed);
    button->OnClick = [this](TObject*) { ++clicks; };
    button->OnMouseContinuouslyDown = [this](TObject*) { ++ticks; };
    button->OnMouseExit = [this](TObject*) { ++exits; };
    Application->ProcessMessages();
  }
  void Tick() {
    if (button->RepeatTimer()) button->RepeatTimer()->Timer();
  }
  TskImageButton* button = nullptr;
  int clicks = 0, ticks = 0, exits = 0;
};

TEST_F(ImageButtonTest, RepeatWhileHeldThenOneClick) {
  POINT in = ScreenPointOf(button, 30, 15);
  SendMouse(WM_MOUSEMOVE, 0, in);
  EXPECT_TRUE(button->MouseInside());
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, in);
  ASSERT_NE(button->RepeatTimer(), nullptr);
  EXPECT_EQ(button->RepeatTimer()->GetInterval(), 100);
  EXPECT_TRUE(button->Pressed());
  EXPECT_TRUE(button->Focused());
  for (int i = 0; i < 3; ++i) Tick();
  SendMouse(WM_LBUTTONUP, 0, in);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  EXPECT_FALSE(button->Pressed());
}

TEST_F(ImageButtonTest, LeavingEndsThePressAndTheTicks) {
  POINT in = ScreenPointOf(button, 30, 15), out = ScreenPointOf(form, 200, 120);
  SendMouse(WM_MOUSEMOVE, 0, in);
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, in);
  SendMouse(WM_MOUSEMOVE, MK_LBUTTON, out);
  EXPECT_EQ(exits, 1);
  EXPECT_FALSE(button->Pressed());
  EXPECT_FALSE(button->MouseInside());
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  SendMouse(WM_MOUSEMOVE, MK_LBUTTON, in);  // coming back does not restore the press
  EXPECT_FALSE(button->Pressed());
  SendMouse(WM_LBUTTONUP, 0, out);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ImageButtonTest, CaptureLossEndsThePress) {
  POINT in = ScreenPointOf(button, 30, 15);
  SendMouse(WM_MOUSEMOVE, 0, in);
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, in);
  ASSERT_NE(button->RepeatTimer(), nullptr);
  SetCapture(form->Handle());
  ReleaseCapture();
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  EXPECT_FALSE(button->Pressed());
}

TEST_F(ImageButtonTest, RightPressAndZeroInterval) {
  POINT in = ScreenPointOf(button, 30, 15);
  SendMouse(WM_RBUTTONDOWN, MK_RBUTTON, in);
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(button->RepeatTimer(), nullptr);
  SendMouse(WM_RBUTTONUP, 0, in);
  EXPECT_EQ(clicks, 0);
  button->SetMouseContinuouslyDownInterval(0);
  SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, in);
  ASSERT_NE(button->RepeatTimer(), nullptr);
  EXPECT_EQ(button->RepeatTimer()->GetInterval(), 0);
  SendMouse(WM_LBUTTONUP, 0, in);
}

TEST_F(ImageButtonTest, KeysAndModalResult) {
  button->SetModalResult(mrOk);
  button->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(button->Focused());
  SendMessageA(button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(button->Pressed());
  SendMessageA(button->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->GetModalResult(), mrOk);
  button->SetDefault(true);
  EXPECT_TRUE(button->Active());
  form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(clicks, 2);
  button->SetCaption("&Convert");
  button->Perform(CM_DIALOGCHAR, 'c', 0);
  EXPECT_EQ(clicks, 3);
  button->SetEnabled(false);
  button->Perform(CM_DIALOGCHAR, 'c', 0);
  EXPECT_EQ(clicks, 3);
}

TEST_F(ImageButtonTest, StatePicturesAndDisabledCaption) {
  struct TCase {
    const char* Name;
    std::function<void()> Enter;
  };
  POINT in = ScreenPointOf(button, 5, 5);
  const TCase states[] = {{"normal", [] {}},
                          {"pointer over", [&] { SendMouse(WM_MOUSEMOVE, 0, in); }},
                          {"pressed", [&] { SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, in); }}};
  for (const TCase& s : states) {
    SCOPED_TRACE(s.Name);
    s.Enter();
    EXPECT_EQ(TShot(button).At(30, 15), clRed);  // only the normal picture: it shows in every state
  }
  SetPictureTo(button->GetPicMouseDown(), 60, 30, clLime);
  EXPECT_EQ(TShot(button).At(30, 15), clLime);
  SendMouse(WM_LBUTTONUP, 0, in);
  // Disabled while the pointer is over it: the disabled picture, else the normal one, and a grey
  // caption with a white copy one pixel aside.
  button->GetFont()->SetColor(clBlack);
  button->SetCaption("Wg");
  SendMouse(WM_MOUSEMOVE, 0, in);
  button->SetEnabled(false);
  TShot off(button);
  EXPECT_EQ(off.At(58, 2), clRed);
  EXPECT_GT(off.Count(clGray), 0);
  EXPECT_GT(off.Count(clWhite), 0);
  EXPECT_EQ(off.Count(clBlack), 0);
  SetPictureTo(button->GetPicDisabled(), 60, 30, clBlue);
  EXPECT_EQ(TShot(button).At(58, 2), clBlue);
}

TEST_F(ImageButtonTest, PngPictureGivesABlankAreaButTheCaptionStays) {
  using namespace pngtest;
  Bytes file = File({Ihdr(2, 1, 8, 6), Chunk("IDAT", Deflate(Rows({{255, 0, 0, 255, 255, 0, 0, 255}})))});
  button->SetBounds(40, 40, 100, 30);
  button->GetPicNormal()->LoadFromData("png", file);
  ASSERT_NE(As<TPngPicture>(button->GetPicNormal()->Graphic()), nullptr);
  button->SetColor(clYellow);
  button->GetFont()->SetColor(clBlue);
  button->SetCaption("Wg");
  TShot shot(button);
  EXPECT_EQ(shot.Count(clRed), 0);
  EXPECT_EQ(shot.At(73, 20), clWhite);
  EXPECT_EQ(shot.At(74, 20), clYellow);
  EXPECT_EQ(shot.At(20, 21), clYellow);
  EXPECT_GT(shot.Count(clBlue), 0);
}

TEST_F(ImageButtonTest, AutoSizeTakesTheNormalPicture) {
  button->SetAutoSize(true);
  EXPECT_EQ(button->GetWidth(), 60);
  EXPECT_EQ(button->GetHeight(), 30);
  SetPictureTo(button->GetPicNormal(), 125, 25, clRed);
  button->SetPicNormal(button->GetPicNormal());
  EXPECT_EQ(button->GetWidth(), 125);
  EXPECT_EQ(button->GetHeight(), 25);
}

// ---- a whole window ----

// RGBA rows of a round picture button: a filled circle with a soft edge.
pngtest::Bytes RoundPng(int size, uint8_t r, uint8_t g, uint8_t b) {
  using namespace pngtest;
  std::vector<Bytes> rows;
  double c = (size - 1) / 2.0;
  for (int y = 0; y < size; ++y) {
    Bytes row;
    for (int x = 0; x < size; ++x) {
      double d = std::hypot(x - c, y - c), a = std::max(0.0, std::min(1.0, c - d + 0.5));
      double light = 1.0 - 0.4 * (y / double(size));
      row.insert(row.end(), {uint8_t(r * light), uint8_t(g * light), uint8_t(b * light), uint8_t(255 * a)});
    }
    rows.push_back(row);
  }
  return File({Ihdr(uint32_t(size), uint32_t(size), 8, 6), Chunk("IDAT", Deflate(Rows(rows)))});
}

TEST(SkinFormWindow, Screenshot) {
  TForm* form = ShowTestForm(40, 40, 400, 260);
  // Background: a dark blue gradient with round corners.
  TBitmap* g = SolidBitmap(400, 260, clFuchsia);
  HDC dc = g->Canvas()->GetHandle();
  for (int y = 0; y < 260; ++y)
    for (int x = 0; x < 400; ++x) {
      int dx = x < 16 ? 16 - x : x >= 384 ? x - 383 : 0, dy = y < 16 ? 16 - y : y >= 244 ? y - 243 : 0;
      if (dx * dx + dy * dy > 256) continue;
      SetPixelV(dc, x, y, y < 30 ? RGB(20, 40, 90) : RGB(30 + y / 8, 60 + y / 6, 120 + y / 4));
    }
  auto* skin = new TskSkinForm(form);
  skin->SetParent(form);
  skin->GetGlyph()->Assign(g);
  skin->SetTransparentColor(clFuchsia);
  delete g;
  auto* title = new TOrvLabel(form);
  title->SetParent(form);
  title->SetBounds(16, 8, 200, 16);
  title->SetTransparent(true);
  title->GetFont()->SetColor(clWhite);
  title->GetFont()->SetStyle(1u << fsBold);
  title->SetCaption("Orvane widget kit");
  struct TRound {
    int Left;
    uint8_t R, G, B;
  };
  std::vector<TOrvButton*> rounds;
  for (TRound r : {TRound{330, 230, 200, 40}, TRound{352, 60, 200, 80}, TRound{374, 220, 60, 50}}) {
    auto* b = new TOrvButton(form);
    b->SetParent(form);
    b->SetBounds(r.Left, 6, 18, 18);
    b->SetTransparent(true);
    b->GetPicNormal()->LoadFromData("png", RoundPng(18, r.R, r.G, r.B));
    rounds.push_back(b);
  }
  {
    TShot round(rounds[0]);
    EXPECT_EQ(round.At(9, 4), RGB(uint8_t(230 * (1 - 0.4 * 4 / 18.0)), uint8_t(200 * (1 - 0.4 * 4 / 18.0)), uint8_t(40 * (1 - 0.4 * 4 / 18.0))));
    EXPECT_EQ(round.At(0, 0), GlyphAt(skin->GetGlyph(), 330, 6));
  }
  auto* open = new TOrvButton(form);
  open->SetParent(form);
  open->SetBounds(20, 44, 110, 26);
  open->SetTransparent(true);
  open->SetDrawBorder(true);
  open->GetFont()->SetColor(clWhite);
  open->SetCaption("Open");
  auto* status = new TOrvLabel(form);
  status->SetParent(form);
  status->SetBounds(150, 50, 230, 16);
  status->SetTransparent(true);
  status->GetFont()->SetColor(clWhite);
  status->SetCaption("3 files, 12.5 MB");
  auto* panel = new TskImagePanel(form);
  panel->SetParent(form);
  panel->SetBounds(20, 84, 360, 110);
  panel->SetColor(clWhite);
  auto* info = new TOrvLabel(form);
  info->SetParent(panel);
  info->SetBounds(10, 10, 300, 16);
  info->SetTransparent(true);
  info->SetCaption("Format: MPEG-4    Duration: 0:03:25.120");
  auto* convert = new TskImageButton(form);
  convert->SetParent(form);
  convert->SetBounds(20, 210, 125, 25);
  TBitmap* strip = new TBitmap;
  GetBuiltInThemeBitmap(DeepBlue, 1, strip, 1, 3);
  TBitmap* face = SolidBitmap(125, 25, clWhite);
  StretchDrawThreePart(strip, face->Canvas(), RECT{0, 0, 125, 25}, true, true);
  convert->GetPicNormal()->Assign(face);
  delete face;
  delete strip;
  convert->SetCaption("Convert");
  // Pictures given after the windows exist show at the next paint of every window.
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Application->ProcessMessages();

  // Grab the screen under the window (the window's outline shows the desktop at the corners).
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(w + 20, h + 20);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->GetHandle(), 0, 0, w + 20, h + 20, screen, wr.left - 10, wr.top - 10, SRCCOPY);
  ReleaseDC(nullptr, screen);
  std::vector<uint8_t> bytes = shot.SaveToBytes();
  std::ofstream(std::string(ORV_BUILD_DIR) + "skinform-window.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  // The window shows its skin inside and is cut away at the corner.
  TColor inside = shot.Canvas()->GetPixel(10 + 200, 10 + 240) & 0xFFFFFF;
  EXPECT_EQ(inside, RGB(30 + 240 / 8, 60 + 240 / 6, 120 + 240 / 4));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(form->Handle(), rgn);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, 200, 130));
  DeleteObject(rgn);
  form->Free();
}

}  // namespace
