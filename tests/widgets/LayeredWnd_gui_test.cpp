// Layered windows with their buttons and labels: what lands in the memory surface (alpha of a PNG
// background with transparent corners, state pictures and their fallbacks, captions of pressed
// controls) and what is handed to UpdateLayeredWindow, once per change. Ends with a screenshot of such a
// window for people to look at (written to the build folder as layered-window.bmp).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "LayeredButton.h"
#include "LayeredLabel.h"
#include "LayeredTestSupport.h"
#include "LayeredWnd.h"
#include "PngCore.h"
#include "TempDir.h"

using namespace layered_test;

namespace {

const char kTestLayout[] = R"(base 'layouts/TfrmLayered.layout'
object frmTest: TfrmLayered
  Left = 200
  Top = 150
  ClientWidth = 160
  ClientHeight = 100
  Caption = 'Layered test'
  object btnA: TLayeredButton
    Left = 10
    Top = 10
    Width = 40
    Height = 24
    TabStop = False
  end
  object btnCaption: TLayeredButton
    Left = 60
    Top = 10
    Width = 90
    Height = 30
    TabStop = False
    Caption = 'Wg'
    Font.Name = 'Tahoma'
    Font.Height = -16
    Font.Color = clBlack
  end
  object lblText: TLayeredLabel
    Left = 60
    Top = 50
    Width = 90
    Height = 30
    Caption = 'Wg'
    TextAlign = Alignment_Center
    MoveHandler = False
    Font.Name = 'Tahoma'
    Font.Height = -16
    Font.Color = clBlack
  end
end
)";

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class TfrmTest : public TfrmLayered {
public:
  explicit TfrmTest(TComponent* owner) : TfrmLayered(owner) {}
  std::string LayoutName() const override { return "layouts/TestLayered.layout"; }
  TLayeredButton* btnA = nullptr;
  TLayeredButton* btnCaption = nullptr;
  TLayeredLabel* lblText = nullptr;

protected:
  void DeclareLayout(TLayoutBinder& b) override {
    TfrmLayered::DeclareLayout(b);
    b.Field("btnA", btnA);
    b.Field("btnCaption", btnCaption);
    b.Field("lblText", lblText);
  }
};

constexpr uint32_t kSkin = 0xFF2060A0;  // the opaque part of the background picture
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kGray = 0xFF808080;

class LayeredTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(StartGdiPlus());
    SetLayoutSource([](const std::string& name) -> std::vector<uint8_t> {
      if (name == "layouts/TestLayered.layout") return std::vector<uint8_t>(kTestLayout, kTestLayout + sizeof(kTestLayout) - 1);
      if (name == "layouts/TfrmLayered.layout")
        return ReadAll(std::string(ORV_TEST_DATA_DIR) + "../../../source/widgets/TfrmLayered.layout");
      return {};
    });
  }
  static void TearDownTestSuite() { SetLayoutSource(nullptr); }

  void SetUp() override {
    // 160 x 100, opaque, with fully transparent 8-pixel corners and a half-transparent red band.
    TImage back(160, 100, kSkin);
    back.Fill(0, 0, 8, 8, 0);
    back.Fill(152, 0, 160, 8, 0);
    back.Fill(0, 92, 8, 100, 0);
    back.Fill(152, 92, 160, 100, 0);
    back.Fill(40, 88, 120, 100, 0x80FF0000);
    Background = WritePng(Dir / "back.png", back);
    const std::pair<const char*, uint32_t> pics[] = {{"normal", kRed}, {"hover", kGreen}, {"down", kBlue}, {"disabled", kGray}};
    for (const auto& p : pics) WritePng(Dir / (std::string(p.first) + ".png"), TImage(40, 24, p.second));
    if (Form) Form.release()->Free();
    Form.reset(NewForm<TfrmTest>(nullptr));
  }
  void TearDown() override {
    if (Form) Form.release()->Free();
  }

  uint32_t Pixel(int x, int y) { return DibPixel(Form->GetMemBitmap(), x, y); }
  uint32_t ButtonCentre() { return Pixel(30, 22); }

  TempDir Dir;
  std::string Background;
  std::unique_ptr<TfrmTest> Form;
};

TEST_F(LayeredTest, SurfacesHaveTheWindowsSizeAndStartTransparent) {
  ASSERT_NE(Form->GetMemGraphics(), nullptr);
  EXPECT_EQ(Form->GetWidth(), 160);
  EXPECT_EQ(Form->GetHeight(), 100);
  BITMAP bm;
  ASSERT_TRUE(GetObjectA(Form->GetMemBitmap(), sizeof(bm), &bm));
  EXPECT_EQ(bm.bmWidth, 160);
  EXPECT_EQ(bm.bmHeight, 100);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(Pixel(80, 50), 0u);
  LONG ex = GetWindowLongA(Form->Handle(), GWL_EXSTYLE);
  LONG style = GetWindowLongA(Form->Handle(), GWL_STYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_FALSE(ex & (WS_EX_TRANSPARENT | WS_EX_DLGMODALFRAME));
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
}

TEST_F(LayeredTest, PngBackgroundKeepsItsAlphaAndIsPresentedOnce) {
  TUpdateRecorder rec;
  Form->SetBackgroundImage(Background);
  struct Case {
    int x, y;
    uint32_t expected;
  };
  const Case cases[] = {{0, 0, 0}, {7, 7, 0}, {159, 0, 0}, {0, 99, 0}, {159, 99, 0}, {8, 8, kSkin}, {7, 8, kSkin},
                        {5, 50, kSkin}, {155, 50, kSkin}, {80, 45, kSkin}};
  for (const Case& c : cases) EXPECT_EQ(Pixel(c.x, c.y), c.expected) << c.x << "," << c.y;
  uint32_t band = Pixel(80, 91);  // stored premultiplied
  EXPECT_NEAR(int(Alpha(band)), 128, 1);
  EXPECT_NEAR(int(Red(band)), 128, 2);
  EXPECT_EQ(Green(band) + Blue(band), 0u);

  ASSERT_EQ(rec.Calls.size(), 1u);
  const TUpdateCall& u = rec.Calls[0];
  EXPECT_EQ(u.Window, Form->Handle());
  EXPECT_FALSE(u.HasDest);
  EXPECT_FALSE(u.HasPosition);
  EXPECT_EQ(u.Size.cx, 160);
  EXPECT_EQ(u.Size.cy, 100);
  EXPECT_EQ(u.Source, Form->GetMemDC());
  EXPECT_EQ(u.SourcePoint.x, 0);
  EXPECT_EQ(u.SourcePoint.y, 0);
  EXPECT_EQ(u.Key, 0xFF00FFu);
  EXPECT_EQ(u.Blend.BlendOp, AC_SRC_OVER);
  EXPECT_EQ(u.Blend.BlendFlags, 0);
  EXPECT_EQ(u.Blend.SourceConstantAlpha, 255);
  EXPECT_EQ(u.Blend.AlphaFormat, AC_SRC_ALPHA);
  EXPECT_EQ(u.Flags, DWORD(ULW_ALPHA));
}

// A 160 x 100 picture of the kind `bpp` holds (24: RGB, 8 and 4: palette), with stripes of colours, as a
// PNG file written by our own codec; with `keyed` its colour 1 is the file's transparent colour.
std::string WriteDibPng(const std::string& path, int bpp, bool keyed) {
  TPngBitmapInfoHeader info{sizeof(TPngBitmapInfoHeader), 160, 100, 1, uint16_t(bpp), 0, 0, 0, 0, 0, 0};
  const TPngRGBQuad colors[4] = {{0x20, 0x60, 0xA0, 0}, {0xFF, 0x00, 0xFF, 0}, {0x10, 0xC0, 0x30, 0}, {0xFF, 0xFF, 0xFF, 0}};
  const size_t stride = (size_t(bpp) * 160 + 31) / 32 * 4;
  std::vector<uint8_t> bits(stride * 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 160; ++x) {
      const int index = (x / 10 + y / 20) % 4;
      uint8_t* row = bits.data() + size_t(y) * stride;
      if (bpp == 24) std::memcpy(row + x * 3, &colors[index], 3);
      if (bpp == 8) row[x] = uint8_t(index);
      if (bpp == 4) row[x / 2] |= uint8_t(x % 2 ? index : index << 4);
    }
  TPngImage png;
  png.BuildFromDib(info, bpp == 24 ? nullptr : colors, bits.data(), keyed, PngRGB(0xFF, 0x00, 0xFF));
  const std::vector<uint8_t> bytes = png.SaveToMemory();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

// PNG backgrounds are decoded by our own codec rather than GDI+'s where it can; either way the background
// surface must come out exactly as it does when GDI+ decodes the file itself.
TEST_F(LayeredTest, PngBackgroundDrawsAsGdiPlusDecodesIt) {
  const std::pair<const char*, std::string> pictures[] = {
      {"RGBA with transparent corners", Background},
      {"RGB", WriteDibPng(Dir / "rgb.png", 24, false)},
      {"RGB with a transparent colour", WriteDibPng(Dir / "rgb-keyed.png", 24, true)},
      {"8-bit palette with a transparent entry", WriteDibPng(Dir / "palette8-keyed.png", 8, true)},
      {"4-bit palette", WriteDibPng(Dir / "palette4.png", 4, false)},
  };
  BITMAPINFO bi = Dib32Info(160, 100);
  void* bits = nullptr;
  HBITMAP expected = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(expected, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, expected);
  for (const auto& picture : pictures) {
    Form->SetBackgroundImage(picture.second);
    HBITMAP background = HBITMAP(GetCurrentObject(Form->GetBackgroundDC(), OBJ_BITMAP));
    ASSERT_NE(background, nullptr);
    std::memset(bits, 0, 160 * 100 * 4);
    {
      TGPImage image(picture.second, false);
      TGPGraphics g(dc);
      ASSERT_EQ(g.DrawImage(&image, 0, 0, 160, 100), GpOk) << picture.first;
    }
    const RECT all{0, 0, 160, 100};
    EXPECT_EQ(DibRect(background, all), DibRect(expected, all)) << picture.first;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(expected);
}

TEST_F(LayeredTest, MissingPictureFileKeepsThePreviousBackground) {
  Form->SetBackgroundImage(Background);
  std::vector<uint32_t> before = DibRect(Form->GetMemBitmap(), RECT{0, 0, 160, 100});
  Form->SetBackgroundImage(Dir / "missing.png");
  EXPECT_EQ(DibRect(Form->GetMemBitmap(), RECT{0, 0, 160, 100}), before);
}

TEST_F(LayeredTest, SetterPresentationTable) {
  Form->SetBackgroundImage(Background);
  struct Case {
    const char* name;
    void (*change)(TfrmTest&);
    size_t updates;
  };
  const Case cases[] = {
      {"window repaint with three children", [](TfrmTest& f) { f.Repaint(); }, 1},
      {"key colour", [](TfrmTest& f) { f.SetKeyColor(0x123456); }, 1},
      {"text quality", [](TfrmTest& f) { f.SetTextQuality(TextQuality_ClearTypeGridFit); }, 1},
      {"blend alpha waits for the next repaint", [](TfrmTest& f) { f.SetBlendAlpha(100); }, 0},
      {"resource name without a type", [](TfrmTest& f) { f.SetBackgroundResourcesName("SPLASH"); }, 0},
      {"type of a missing resource", [](TfrmTest& f) { f.SetResourcesTypeName("NOSUCHTYPE"); }, 1},
      {"button caption", [](TfrmTest& f) { f.btnCaption->SetCaption("Go"); }, 1},
      {"label alignment", [](TfrmTest& f) { f.lblText->SetTextAlign(Alignment_TopLeft); }, 1},
      {"label alignment unchanged", [](TfrmTest& f) { f.lblText->SetTextAlign(Alignment_TopLeft); }, 0},
  };
  for (const Case& c : cases) {
    TUpdateRecorder rec;
    c.change(*Form);
    EXPECT_EQ(rec.Calls.size(), c.updates) << c.name;
  }
  EXPECT_EQ(Pixel(5, 50), kSkin);  // the missing resource left the background alone
  TUpdateRecorder rec;
  Form->Repaint();
  ASSERT_EQ(rec.Calls.size(), 1u);
  EXPECT_EQ(rec.Calls[0].Key, 0x123456u);
  EXPECT_EQ(rec.Calls[0].Blend.SourceConstantAlpha, 100);
  EXPECT_EQ(rec.Calls[0].Flags, DWORD(ULW_ALPHA));  // the key colour never keys anything out
}

TEST_F(LayeredTest, StateImageChoiceAndFallbacks) {
  enum { N = 1, H = 2, D = 4, X = 8, HMissing = 16 };
  enum TState { sNormal, sHover, sPressed, sDisabled };
  struct Case {
    int pictures;
    TState state;
    uint32_t expected;  // colour at the button's centre; kSkin: no picture
  };
  const Case cases[] = {
      {N, sNormal, kRed},          {N, sHover, kRed},          {N, sPressed, kRed},         {N, sDisabled, kRed},
      {N | H | D | X, sNormal, kRed}, {N | H | D | X, sHover, kGreen}, {N | H | D | X, sPressed, kBlue},
      {N | H | D | X, sDisabled, kGray}, {N | H, sPressed, kRed},  {N | H, sDisabled, kRed},
      {0, sNormal, kSkin},         {0, sPressed, kSkin},       {N | HMissing, sHover, kSkin},
      {N | HMissing, sNormal, kRed}, {H, sHover, kGreen},      {H, sNormal, kSkin},         {H, sPressed, kSkin},
  };
  for (const Case& c : cases) {
    SetUp();
    Form->SetBackgroundImage(Background);
    TLayeredButton* b = Form->btnA;
    if (c.pictures & N) b->SetPicNormal(Dir / "normal.png");
    if (c.pictures & H) b->SetPicMouseHover(Dir / "hover.png");
    if (c.pictures & HMissing) b->SetPicMouseHover(Dir / "missing.png");
    if (c.pictures & D) b->SetPicMouseDown(Dir / "down.png");
    if (c.pictures & X) b->SetPicDisabled(Dir / "disabled.png");
    TUpdateRecorder rec;
    switch (c.state) {
      case sNormal: b->Repaint(); break;
      case sHover: b->Perform(CM_MOUSEENTER); break;
      case sPressed: b->MouseDown(mbLeft, ssLeft, 5, 5); break;
      case sDisabled: b->SetEnabled(false); break;
    }
    EXPECT_EQ(ButtonCentre(), c.expected) << "pictures " << c.pictures << " state " << int(c.state);
    EXPECT_EQ(rec.Calls.size(), 1u) << "pictures " << c.pictures << " state " << int(c.state);
    TearDown();
  }
}

TEST_F(LayeredTest, EmptyPathRemovesAStatePicture) {
  Form->SetBackgroundImage(Background);
  Form->btnA->SetPicNormal(Dir / "normal.png");
  EXPECT_EQ(ButtonCentre(), kRed);
  Form->btnA->SetPicNormal("");
  EXPECT_EQ(Form->btnA->GetPicNormal(), "");
  EXPECT_EQ(ButtonCentre(), kSkin);
}

TEST_F(LayeredTest, MouseTransitionsPresentOncePerChange) {
  Form->SetBackgroundImage(Background);
  TLayeredButton* b = Form->btnA;
  b->SetPicNormal(Dir / "normal.png");
  b->SetPicMouseHover(Dir / "hover.png");
  b->SetPicMouseDown(Dir / "down.png");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  struct Step {
    const char* name;
    void (*act)(TLayeredButton*);
    uint32_t colour;
    size_t updates;
  };
  const Step steps[] = {
      {"enter", [](TLayeredButton* x) { x->Perform(CM_MOUSEENTER); }, kGreen, 1},
      {"enter again", [](TLayeredButton* x) { x->Perform(CM_MOUSEENTER); }, kGreen, 0},
      {"press", [](TLayeredButton* x) { x->MouseDown(mbLeft, ssLeft, 5, 5); }, kBlue, 1},
      {"drag out while pressed", [](TLayeredButton* x) { x->MouseMove(ssLeft, 80, 5); }, kBlue, 0},
      {"leave while pressed", [](TLayeredButton* x) { x->Perform(CM_MOUSELEAVE); }, kBlue, 0},
      {"release outside", [](TLayeredButton* x) { x->MouseUp(mbLeft, 0, 80, 5); }, kRed, 1},
      {"enter", [](TLayeredButton* x) { x->Perform(CM_MOUSEENTER); }, kGreen, 1},
      {"press", [](TLayeredButton* x) { x->MouseDown(mbLeft, ssLeft, 5, 5); }, kBlue, 1},
      {"click on release", [](TLayeredButton* x) { x->Click(); }, kGreen, 1},
      {"release inside", [](TLayeredButton* x) { x->MouseUp(mbLeft, 0, 5, 5); }, kGreen, 0},
      {"leave", [](TLayeredButton* x) { x->Perform(CM_MOUSELEAVE); }, kRed, 1},
  };
  for (const Step& s : steps) {
    TUpdateRecorder rec;
    s.act(b);
    EXPECT_EQ(ButtonCentre(), s.colour) << s.name;
    EXPECT_EQ(rec.Calls.size(), s.updates) << s.name;
  }
  EXPECT_EQ(clicks, 1);
}

TEST_F(LayeredTest, ClickSetsTheFormsModalResult) {
  Form->btnA->SetModalResult(mrOk);
  Form->btnA->Click();
  EXPECT_EQ(Form->GetModalResult(), mrOk);
}

// The caption of a pressed button moves one pixel right and down; a label's stays.
TEST_F(LayeredTest, PressedCaptionMovesOnTheButtonOnly) {
  Form->SetBackgroundImage(Background);
  struct Case {
    TLayeredControl* control;
    int shift;
  };
  const Case cases[] = {{Form->btnCaption, 1}, {Form->lblText, 0}};
  for (const Case& c : cases) {
    TLayeredControl* ctl = c.control;
    RECT r = ctl->BoundsRect();
    ctl->Repaint();
    std::vector<uint32_t> before = DibRect(Form->GetMemBitmap(), r);
    int lit = 0;
    for (uint32_t p : before) lit += p != kSkin;
    ASSERT_GT(lit, 10) << ctl->GetName() << " drew no caption";
    TUpdateRecorder rec;
    ctl->MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_EQ(rec.Calls.size(), 1u) << ctl->GetName();
    ASSERT_TRUE(ctl->GetPressed()) << ctl->GetName();
    int w = r.right - r.left, h = r.bottom - r.top, mismatches = 0;
    for (int y = 0; y + c.shift < h; ++y)
      for (int x = 0; x + c.shift < w; ++x)
        mismatches += Pixel(r.left + x + c.shift, r.top + y + c.shift) != before[size_t(y * w + x)];
    EXPECT_EQ(mismatches, 0) << ctl->GetName();
    EXPECT_EQ(DibRect(Form->GetMemBitmap(), r) == before, c.shift == 0) << ctl->GetName();
  }
}

TEST_F(LayeredTest, BlankCaptionsAreNotDrawn) {
  Form->SetBackgroundImage(Background);
  Form->btnCaption->SetCaption("   ");
  for (uint32_t p : DibRect(Form->GetMemBitmap(), Form->btnCaption->BoundsRect())) ASSERT_EQ(p, kSkin);
}

// Pressing the window's surface, or a label with MoveHandler, asks the system to move the window.
TEST_F(LayeredTest, PressingStartsAWindowMove) {
  int moves = 0;
  auto previous = Form->WindowProc;
  Form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && m.WParam == 0xF012) {
      ++moves;
      return;
    }
    previous(m);
  };
  Form->SetBackgroundImage(Background);
  struct Case {
    const char* name;
    void (*act)(TfrmTest&);
    int moves;
  };
  const Case cases[] = {
      {"right button on the window", [](TfrmTest& f) { SendMessageA(f.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(80, 90)); }, 1},
      {"left button on the window", [](TfrmTest& f) { SendMessageA(f.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 60)); }, 1},
      {"label without MoveHandler", [](TfrmTest& f) { f.lblText->MouseDown(mbLeft, ssLeft, 5, 5); }, 0},
      {"label with MoveHandler", [](TfrmTest& f) {
         f.lblText->SetMoveHandler(true);
         f.lblText->MouseDown(mbLeft, ssLeft, 5, 5);
       }, 1},
  };
  for (const Case& c : cases) {
    moves = 0;
    c.act(*Form);
    EXPECT_EQ(moves, c.moves) << c.name;
  }
  // After the move the label shows hovered, no longer pressed.
  EXPECT_TRUE(Form->lblText->GetHovered());
  EXPECT_FALSE(Form->lblText->GetPressed());
}

// Saves what the screen shows around the window, for people to look at.
TEST_F(LayeredTest, Screenshot) {
  Form->SetBackgroundImage(Background);
  Form->btnA->SetPicNormal(Dir / "normal.png");
  Form->btnCaption->SetCaption("OK");
  Form->Show();
  Application->ProcessMessages();
  HDC screen = GetDC(nullptr);
  const int x0 = 180, y0 = 130, w = 200, h = 140;
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, x0, y0, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFO bi = Dib32Info(w, h);
  std::vector<uint8_t> bits(size_t(w) * size_t(h) * 4);
  ASSERT_EQ(GetDIBits(mem, bmp, 0, h, bits.data(), &bi, DIB_RGB_COLORS), h);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(BITMAPINFOHEADER);
  fh.bfSize = DWORD(fh.bfOffBits + bits.size());
  std::string path = std::string(ORV_BUILD_DIR) + "layered-window.bmp";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(&fh, sizeof(fh), 1, f);
  std::fwrite(&bi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f);
  std::fwrite(bits.data(), 1, bits.size(), f);
  std::fclose(f);
  // The window's opaque skin shows on the screen where the picture is opaque.
  auto screenPixel = [&](int sx, int sy) {
    const uint8_t* p = &bits[(size_t(h - 1 - (sy - y0)) * size_t(w) + size_t(sx - x0)) * 4];
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
  };
  EXPECT_EQ(screenPixel(200 + 5, 150 + 50), kSkin & 0xFFFFFF);
  // The transparent corners show what lies below, as the desktop beside the window does.
  EXPECT_EQ(screenPixel(200 + 1, 150 + 1), screenPixel(190, 140));
  EXPECT_EQ(screenPixel(200 + 158, 150 + 98), screenPixel(370, 260));
  Form->Hide();
}

}  // namespace
