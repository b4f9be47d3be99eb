// The menu button, speed button and media player skinners on a test form. The program places none of
// these controls; classes of the other vendors' families stand in for them here, reached through the
// skin data's Skin3rd rows (TFcMenuButton=menubtn, TRxSpeedButton=speedbutton, TPngSpeedbutton=
// pngspeedbutton, and a row of the test's own for the player). The checks: which skinner each kind
// gets, the state frames over tables of states (on the screen too, with a skin image whose five frames
// are five plain colours), where glyph and caption go, the player's button edges and which releases
// reach the player, and that a menu button still drops its menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "Menus.h"
#include "ModalScript.h"
#include "Screenshot.h"
#include "SkinEngineKit.h"
#include "SkinImageUtils.h"
#include "SkinTestKit.h"
#include "SkinnerDispatch.h"
#include "SkinnerMediaPlayer.h"
#include "SkinnerMenuButton.h"

// ---- stand-ins for the other vendors' controls ----

// A drop-down menu button: a click drops its menu below it.
class TFcMenuButton : public TCustomControl {
  ORV_CLASS(TFcMenuButton)
public:
  explicit TFcMenuButton(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  TPopupMenu* DropdownMenu = nullptr;
  int Clicks = 0;
  void Click() override {
    ++Clicks;
    TCustomControl::Click();
    if (!DropdownMenu) return;
    const POINT p = ClientToScreen(POINT{0, GetHeight()});
    DropdownMenu->Popup(p.x, p.y);
  }
  void Paint() override { FillRectColor(Canvas()->GetHandle(), GetClientRect(), clRed); }
};
ORV_DEFINE_CLASS(TFcMenuButton, TCustomControl, FactoryOf<TFcMenuButton>(), {})

// A button of the bitmap-button family whose Kind makes it a drop-down button.
class TcxButton : public TCustomControl {
  ORV_CLASS(TcxButton)
public:
  using TCustomControl::TCustomControl;
  int GetKind() const { return FKind; }
  void SetKind(int v) { FKind = v; }

private:
  int FKind = 0;
};
ORV_DEFINE_CLASS(TcxButton, TCustomControl, FactoryOf<TcxButton>(),
                 {EnumProp<TcxButton, int>("Kind", {"cxbkStandard", "cxbkDropDownButton"}, &TcxButton::GetKind,
                                           &TcxButton::SetKind)})

// A speed button with the published properties the speed button skinner reads.
class TRxSpeedButton : public TGraphicControl {
  ORV_CLASS(TRxSpeedButton)
public:
  explicit TRxSpeedButton(TComponent* owner) : TGraphicControl(owner) {}
  ~TRxSpeedButton() override { delete FGlyph; }
  bool GetDown() const { return FDown; }
  void SetDown(bool v) { FDown = v; Invalidate(); }
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v) { FFlat = v; Invalidate(); }
  TBitmap* GetGlyph() const { return FGlyph; }
  void SetGlyph(TBitmap* b) { FGlyph->Assign(b); }
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int v) { FNumGlyphs = v; }
  int GetMargin() const { return FMargin; }
  void SetMargin(int v) { FMargin = v; }
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v) { FSpacing = v; }
  int GetLayout() const { return FLayout; }
  void SetLayout(int v) { FLayout = v; }
  void Paint() override { FillRectColor(Canvas()->GetHandle(), GetClientRect(), clRed); }

private:
  bool FDown = false, FFlat = false;
  TBitmap* FGlyph = new TBitmap;
  int FNumGlyphs = 1, FMargin = -1, FSpacing = 4, FLayout = 0;
};
ORV_DEFINE_CLASS(TRxSpeedButton, TGraphicControl, FactoryOf<TRxSpeedButton>(),
                 {BoolProp<TRxSpeedButton>("Down", &TRxSpeedButton::GetDown, &TRxSpeedButton::SetDown),
                  BoolProp<TRxSpeedButton>("Flat", &TRxSpeedButton::GetFlat, &TRxSpeedButton::SetFlat),
                  ObjProp<TRxSpeedButton, TBitmap>("Glyph", &TRxSpeedButton::GetGlyph, &TRxSpeedButton::SetGlyph),
                  IntProp<TRxSpeedButton>("NumGlyphs", &TRxSpeedButton::GetNumGlyphs, &TRxSpeedButton::SetNumGlyphs),
                  IntProp<TRxSpeedButton>("Margin", &TRxSpeedButton::GetMargin, &TRxSpeedButton::SetMargin),
                  IntProp<TRxSpeedButton>("Spacing", &TRxSpeedButton::GetSpacing, &TRxSpeedButton::SetSpacing),
                  EnumProp<TRxSpeedButton, int>("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                                                &TRxSpeedButton::GetLayout, &TRxSpeedButton::SetLayout)})

// A speed button whose picture is in "PngImage".
class TPngSpeedbutton : public TRxSpeedButton {
  ORV_CLASS(TPngSpeedbutton)
public:
  using TRxSpeedButton::TRxSpeedButton;
  ~TPngSpeedbutton() override { delete FPicture; }
  TBitmap* GetPngImage() const { return FPicture; }
  void SetPngImage(TBitmap* b) { FPicture->Assign(b); }

private:
  TBitmap* FPicture = new TBitmap;
};
ORV_DEFINE_CLASS(TPngSpeedbutton, TRxSpeedButton, FactoryOf<TPngSpeedbutton>(),
                 {ObjProp<TPngSpeedbutton, TBitmap>("PngImage", &TPngSpeedbutton::GetPngImage,
                                                    &TPngSpeedbutton::SetPngImage)})

// A media player: the three sets, and the mouse messages that reach its own procedure (x of each).
class TMmPlayer : public TCustomControl {
  ORV_CLASS(TMmPlayer)
public:
  using TCustomControl::TCustomControl;
  unsigned GetVisibleButtons() const { return FVisible; }
  void SetVisibleButtons(unsigned v) { FVisible = v; }
  unsigned GetEnabledButtons() const { return FEnabled; }
  void SetEnabledButtons(unsigned v) { FEnabled = v; }
  unsigned GetColoredButtons() const { return FColoured; }
  void SetColoredButtons(unsigned v) { FColoured = v; }
  std::vector<std::pair<UINT, int>> Mouse;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP) Mouse.push_back({m.Msg, short(LOWORD(m.LParam))});
    TCustomControl::WndProc(m);
  }
  void Paint() override { FillRectColor(Canvas()->GetHandle(), GetClientRect(), clRed); }

private:
  unsigned FVisible = 0x1FF, FEnabled = 0x1FF, FColoured = 0x1FF;
};
std::vector<std::string> PlayerButtonNames() {
  return {"btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack", "btRecord", "btEject"};
}
ORV_DEFINE_CLASS(TMmPlayer, TCustomControl, FactoryOf<TMmPlayer>(),
                 {SetProp<TMmPlayer>("VisibleButtons", PlayerButtonNames(), &TMmPlayer::GetVisibleButtons,
                                     &TMmPlayer::SetVisibleButtons),
                  SetProp<TMmPlayer>("EnabledButtons", PlayerButtonNames(), &TMmPlayer::GetEnabledButtons,
                                     &TMmPlayer::SetEnabledButtons),
                  SetProp<TMmPlayer>("ColoredButtons", PlayerButtonNames(), &TMmPlayer::GetColoredButtons,
                                     &TMmPlayer::SetColoredButtons)})

namespace {

using namespace skintest;

const char* const PlayerRow = "TMmPlayer=mediaplayer";

unsigned Buttons(std::initializer_list<TMPBtnType> types) {
  unsigned mask = 0;
  for (TMPBtnType t : types) mask |= 1u << t;
  return mask;
}

// Five frames of 8 x 8, each its own plain colour, with no margins: whatever part of the element shows
// tells the frame.
TColor FrameColour(int frame) { return TColor(RGB(40 * frame, 220 - 30 * frame, 60 + 20 * frame)); }
void UsePlainFrames(TSkinData* data) {
  TDataSkinButton* b = data->Buttons;
  b->Bitmap->SetPixelFormat(pf24bit);
  b->Bitmap->SetSize(8 * 5, 8);
  for (int i = 0; i < 5; ++i)
    FillRectColor(b->Bitmap->Canvas()->GetHandle(), RECT{8 * i, 0, 8 * i + 8, 8}, FrameColour(i + 1));
  b->Margins = TSkinMargins{};
  b->Trans = 0;
  b->Tile = 0;
}

// A 16 x 16 blue square inside a magenta frame (the bottom-left colour is the glyph's transparent one).
std::unique_ptr<TBitmap> FramedGlyph() {
  TCharMap glyph(16, std::string(16, 'b'));
  for (int i = 0; i < 16; ++i) glyph[0][i] = glyph[15][i] = glyph[i][0] = glyph[i][15] = 'm';
  return BitmapFromMap(glyph, {{'b', TColor(RGB(0, 0, 255))}, {'m', TColor(0xFF00FF)}});
}

// ---- the test form: a menu button, three speed buttons and a player ----

class ButtonForm : public SkinEngine {
protected:
  TForm* F = nullptr;
  TFcMenuButton* Menu = nullptr;
  TFcMenuButton* MenuOff = nullptr;
  TRxSpeedButton* Speed = nullptr;
  TRxSpeedButton* Flat = nullptr;
  TRxSpeedButton* Down = nullptr;
  TMmPlayer* Player = nullptr;
  TPopupMenu* DropDown = nullptr;
  TButton* Other = nullptr;

  void SetUp() override {
    SkinEngine::SetUp();
    SetCursorPos(0, 0);  // nothing starts hot
    std::vector<std::string> rows = data->GetSkin3rd();
    rows.push_back(PlayerRow);
    data->SetSkin3rd(rows);
    F = new TForm(nullptr);
    F->SetBounds(60, 60, 380, 230);
    F->SetCaption("Menu, speed and player buttons");
    Menu = Put<TFcMenuButton>(10, 10, 130, 32, "&Menu");
    MenuOff = Put<TFcMenuButton>(150, 10, 130, 32, "Two||lines");
    MenuOff->SetEnabled(false);
    Speed = Put<TRxSpeedButton>(10, 56, 100, 32, "Glyph");
    Speed->SetGlyph(FramedGlyph().get());
    Flat = Put<TRxSpeedButton>(120, 56, 100, 32, "Flat");
    Flat->SetFlat(true);
    Down = Put<TRxSpeedButton>(230, 56, 100, 32, "Down");
    Down->SetDown(true);
    Player = Put<TMmPlayer>(10, 104, 270, 30, "");
    Player->SetEnabledButtons(Player->GetVisibleButtons() & ~Buttons({btRecord}));
    Player->SetColoredButtons(Buttons({btPlay, btStop}));
    Other = Put<TButton>(10, 150, 100, 28, "Other");
    DropDown = new TPopupMenu(F);
    for (const char* caption : {"Open", "Save", "Close"}) {
      auto* item = new TMenuItem(DropDown);
      item->SetCaption(caption);
      DropDown->Items()->Add(item);
    }
    Menu->DropdownMenu = DropDown;
  }
  void TearDown() override {
    F->Free();
    PumpMessagesUntil([] { return true; });
    SkinEngine::TearDown();
  }
  template <class T>
  T* Put(int left, int top, int width, int height, const std::string& caption) {
    auto* c = new T(F);
    c->SetParent(F);
    c->SetBounds(left, top, width, height);
    c->SetCaption(caption);
    return c;
  }
  void Skin() {
    ASSERT_TRUE(ShowSkinnedInFront(F));
  }
  TSkinnerForm* FormSkinner() { return Manager().FindForm(F->Handle()); }
  template <class T>
  T* SkinnerOf(TControl* c) {
    return dynamic_cast<T*>(::SkinnerOf(FormSkinner(), c));
  }
  TWMediaPlayer* Panel() {
    auto* s = SkinnerOf<TSkinMP>(Player);
    return s ? s->Panel : nullptr;
  }
  // The colour of a form client pixel, after a full repaint.
  COLORREF FormPixel(int x, int y) {
    RedrawAll(F->Handle());
    TBitmap shot;
    CaptureClient(F->Handle(), shot);
    return PixelAt(&shot, x, y);
  }
};

TEST_F(ButtonForm, EachKindGetsItsSkinnerAndThePanelCoversThePlayer) {
  Skin();
  EXPECT_EQ(SkinnerName(SkinnerOf<TSkinControl>(Menu)), "TSkinMenuButton");
  EXPECT_EQ(SkinnerName(SkinnerOf<TSkinControl>(MenuOff)), "TSkinMenuButton");
  for (TControl* c : std::vector<TControl*>{Speed, Flat, Down}) {
    auto* s = SkinnerOf<TSkinSpeedButton>(c);
    ASSERT_NE(s, nullptr) << c->GetCaption();
    EXPECT_EQ(s->RepaintComponent, c) << "a button without a window is repainted through itself";
    EXPECT_EQ(s->WindowHandle, nullptr);
    EXPECT_EQ(c->Perform(SM_ISSKINNED), 1);
  }
  TWMediaPlayer* panel = Panel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetParent(), Player->GetParent());
  EXPECT_EQ(panel->BoundsRect().left, Player->GetLeft());
  EXPECT_EQ(panel->BoundsRect().top, Player->GetTop());
  EXPECT_EQ(panel->GetWidth(), Player->GetWidth());
  EXPECT_EQ(panel->GetHeight(), Player->GetHeight());
  EXPECT_EQ(panel->GetTag(), data->GetDisableTag()) << "the panel is never skinned itself";
  EXPECT_EQ(::SkinnerOf(FormSkinner(), panel), nullptr);
  // The player's own red never shows; neither does the speed buttons'.
  TBitmap shot;
  CaptureClient(F->Handle(), shot);
  int red = 0;
  for (int y = 0; y < shot.GetHeight(); ++y)
    for (int x = 0; x < shot.GetWidth(); ++x) red += PixelAt(&shot, x, y) == RGB(255, 0, 0);
  EXPECT_EQ(red, 0);
  SaveScreenshot(F->Handle(), std::string(ORV_BUILD_DIR) + "skinned_menu_speed_player_buttons.bmp");

  // The panel follows the player.
  Player->SetBounds(20, 110, 180, 30);
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(panel->GetLeft(), 20);
  EXPECT_EQ(panel->GetTop(), 110);
  EXPECT_EQ(panel->GetWidth(), 180);
  Player->SetVisible(false);
  EXPECT_FALSE(panel->GetVisible());
  Player->SetVisible(true);
  EXPECT_TRUE(panel->GetVisible());
}

TEST_F(ButtonForm, UnskinningTakesThePanelAwayAndGivesTheControlsBack) {
  data->SetActive(true);
  Skin();
  ASSERT_NE(Panel(), nullptr);
  const size_t controlsSkinned = F->ControlCount();
  data->SetActive(false);
  ASSERT_TRUE(PumpMessagesUntil([&] { return Manager().Forms.empty(); }));
  EXPECT_EQ(size_t(F->ControlCount()), controlsSkinned - 1) << "the panel left the form";
  for (TControl* c : std::vector<TControl*>{Menu, Speed, Flat, Down, Player}) EXPECT_EQ(c->Perform(SM_ISSKINNED), 0);
  // The speed buttons paint themselves again.
  EXPECT_EQ(FormPixel(Speed->GetLeft() + 2, Speed->GetTop() + 2), RGB(255, 0, 0));
}

// Tells when a component is freed.
struct TFreeWatch : TComponent {
  TFreeWatch() : TComponent(nullptr) {}
  TComponent* Freed = nullptr;
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) Freed = c;
  }
};

TEST_F(ButtonForm, APlayerWhoseWindowWentGetsAFreshSkinnerAndPanelAtTheNextFinish) {
  Skin();
  auto* old = SkinnerOf<TSkinMP>(Player);
  ASSERT_NE(old, nullptr);
  TWMediaPlayer* oldPanel = old->Panel;
  TFreeWatch watchPanel;
  watchPanel.FreeNotification(oldPanel);
  Player->DestroyHandle();
  EXPECT_EQ(old->SkinnerState, ssWindowDestroyed);
  EXPECT_EQ(old->Panel, oldPanel) << "kept while the window is being destroyed";
  SendMessageA(F->Handle(), SM_FINISHSKIN, 0, SkinFinishParam);
  EXPECT_EQ(watchPanel.Freed, oldPanel) << "the purge took the old panel with the old skinner";
  auto* fresh = SkinnerOf<TSkinMP>(Player);
  ASSERT_NE(fresh, nullptr);
  ASSERT_NE(fresh->Panel, nullptr);
  EXPECT_EQ(fresh->Panel->GetLeft(), Player->GetLeft());
  EXPECT_EQ(SendMessageA(Player->Handle(), SM_ISSKINNED, 0, 0), 1);
}

// ---- menu buttons ----

TEST_F(ButtonForm, MenuButtonFramesFollowTheState) {
  UsePlainFrames(data);
  Skin();
  auto* s = SkinnerOf<TSkinMenuButton>(Menu);
  ASSERT_NE(s, nullptr);
  struct TCase {
    bool Pressed, Hot, Focused, Disabled;
    int Frame;
  };
  const TCase cases[] = {
      {false, false, false, false, bfNormal}, {true, false, false, false, bfPressed},
      {true, true, true, false, bfPressed},   {false, true, false, false, bfHot},
      {false, false, true, false, bfHot},     {true, true, true, true, bfDisabled},
      {false, false, false, true, bfDisabled},
  };
  const int w = Menu->GetWidth(), h = Menu->GetHeight();
  POINT arrow[3];
  TSkinMenuButton::ArrowCorners(w, h, arrow);
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Pressed << c.Hot << c.Focused << c.Disabled);
    Menu->SetEnabled(!c.Disabled);
    (c.Focused && !c.Disabled ? static_cast<TWinControl*>(Menu) : static_cast<TWinControl*>(Other))->SetFocus();
    s->SetFlag(sfPressed, c.Pressed);
    s->SetFlag(sfHot, c.Hot);
    EXPECT_EQ(s->MenuFrame(), c.Frame);
    RedrawAll(Menu->Handle());
    TBitmap shot;
    CaptureWindow(Menu->Handle(), shot);
    EXPECT_EQ(PixelAt(&shot, 3, 3), ColorToRGB(FrameColour(c.Frame))) << "that frame is on the screen";
    // Inside the arrow, a pixel above its tip: the window text colour, or the shadow when disabled.
    EXPECT_EQ(PixelAt(&shot, arrow[0].x, arrow[0].y - 1), ColorToRGB(c.Disabled ? clBtnShadow : clWindowText));
    EXPECT_EQ(PixelAt(&shot, arrow[1].x - 2, arrow[1].y), ColorToRGB(FrameColour(c.Frame))) << "left of the arrow";
  }
}

TEST(MenuButtonLayout, TheCaptionIsCentredLeftOfTheArrowStrip) {
  struct TCase {
    int W, H;
    SIZE Text;
    RECT Box;
  };
  // x = (W - 17 - text width) div 2 + 2, y = (H - text height + 1) div 2.
  const TCase cases[] = {
      {130, 32, {40, 13}, {38, 10, 78, 23}},
      {130, 32, {0, 0}, {58, 16, 58, 16}},
      {60, 40, {30, 26}, {8, 7, 38, 33}},
      // (21 - 17 - 9) div 2 truncates toward zero: -2, so the caption starts at 0.
      {21, 20, {9, 13}, {0, 4, 9, 17}},
  };
  for (const TCase& c : cases) {
    const RECT r = TSkinMenuButton::CaptionBox(c.W, c.H, c.Text);
    EXPECT_EQ(r.left, c.Box.left) << c.W;
    EXPECT_EQ(r.top, c.Box.top) << c.W;
    EXPECT_EQ(r.right, c.Box.right) << c.W;
    EXPECT_EQ(r.bottom, c.Box.bottom) << c.W;
  }
  POINT a[3];
  TSkinMenuButton::ArrowCorners(130, 32, a);
  EXPECT_EQ(a[0].x, 118);
  EXPECT_EQ(a[0].y, 18);
  EXPECT_EQ(a[1].x, 115);
  EXPECT_EQ(a[2].x, 121);
  EXPECT_EQ(a[1].y, 15);
}

TEST_F(ButtonForm, AMenuButtonsCaptionBreaksAtTheDoubleBarAndItsClickDropsItsMenu) {
  Skin();
  EXPECT_EQ(SkinnerOf<TSkinMenuButton>(MenuOff)->Caption, L"Two\r\nlines");
  // The press and release reach the control's own click through the skinner, which drops the menu;
  // the menu is looked for from timers of its own loop and closed in any case.
  bool seen = false;
  auto look = [&] {
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
      if (!seen) SaveScreenshot(F->Handle(), std::string(ORV_BUILD_DIR) + "skinned_menu_button_dropped.bmp");
      seen = true;
      EndMenu();
    }
  };
  {
    etk::TModalScript script({look, look, look, look, look, [] { EndMenu(); }});
    const HWND b = Menu->Handle();
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(SkinnerOf<TSkinMenuButton>(Menu)->Pressed());
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  }
  EXPECT_TRUE(seen) << "the menu was open";
  EXPECT_EQ(Menu->Clicks, 1);
  EXPECT_FALSE(SkinnerOf<TSkinMenuButton>(Menu)->Pressed());
}

// ---- speed buttons ----

TEST_F(ButtonForm, SpeedButtonFramesCellsAndTheFlatLookFollowTheState) {
  UsePlainFrames(data);
  Skin();
  auto* s = SkinnerOf<TSkinSpeedButton>(Flat);
  ASSERT_NE(s, nullptr);
  Flat->SetCaption("");
  struct TCase {
    bool Down, Disabled, Pressed, Hot, IsFlat;
    int Frame, Cell;
    bool Element;
  };
  const TCase cases[] = {
      {false, false, false, false, false, bfNormal, 1, true},
      {false, false, false, false, true, bfNormal, 1, false},
      {false, false, false, true, true, bfHot, 1, true},
      {false, false, true, true, true, bfPressed, 3, true},
      {false, true, true, true, false, bfDisabled, 2, true},
      {false, true, false, true, true, bfDisabled, 2, false},
      {true, false, false, false, true, bfPressed, 4, true},
      {true, true, false, false, true, bfPressed, 4, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Down << c.Disabled << c.Pressed << c.Hot << c.IsFlat);
    Flat->SetDown(c.Down);
    Flat->SetEnabled(!c.Disabled);
    Flat->SetFlat(c.IsFlat);
    s->SetFlag(sfPressed, c.Pressed);
    s->SetFlag(sfHot, c.Hot);
    const int frame = s->ElementFrame();
    EXPECT_EQ(frame, c.Frame);
    EXPECT_EQ(s->GlyphCell(frame), c.Cell);
    EXPECT_EQ(s->DrawsElement(frame), c.Element);
    EXPECT_EQ(FormPixel(Flat->GetLeft() + 3, Flat->GetTop() + 3),
              ColorToRGB(c.Element ? FrameColour(c.Frame) : data->ButtonFace));
  }
}

TEST_F(ButtonForm, SpeedButtonsFollowTheMouseAndKeepTheirOwnClick) {
  UsePlainFrames(data);
  Skin();
  auto* s = SkinnerOf<TSkinSpeedButton>(Speed);
  int clicks = 0;
  Speed->OnClick = [&](TObject*) { ++clicks; };
  const int x = Speed->GetLeft() + 3, y = Speed->GetTop() + 3;
  // The mouse over the button, so that whatever mouse moves arrive keep it there.
  const POINT centre = Speed->ClientToScreen(POINT{Speed->GetWidth() / 2, Speed->GetHeight() / 2});
  SetCursorPos(centre.x, centre.y);
  Speed->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(s->Hot());
  EXPECT_EQ(FormPixel(x, y), ColorToRGB(FrameColour(bfHot)));
  SendMessageA(F->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_TRUE(s->Pressed());
  EXPECT_EQ(FormPixel(x, y), ColorToRGB(FrameColour(bfPressed)));
  SendMessageA(F->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_FALSE(s->Pressed());
  EXPECT_EQ(clicks, 1) << "the button's own click, once";
  SetCursorPos(0, 0);
  Speed->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(s->Hot());
  EXPECT_EQ(FormPixel(x, y), ColorToRGB(FrameColour(bfNormal)));
  // The space key holds the pressed frame until it is released.
  Speed->Perform(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(FormPixel(x, y), ColorToRGB(FrameColour(bfPressed)));
  Speed->Perform(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(FormPixel(x, y), ColorToRGB(FrameColour(bfNormal)));
}

TEST_F(ButtonForm, ASpeedButtonsLoneGlyphStandsCentredOnePixelIn) {
  Skin();
  Speed->SetCaption("");
  // Without a caption the spacing counts 0, so Margin -1 centres the glyph: (width - 16) div 2 + 1.
  const int margin = (Speed->GetWidth() - 16) / 2 + 1, gy = (Speed->GetHeight() - 16 + 1) / 2;
  const int x = Speed->GetLeft() + margin, y = Speed->GetTop() + gy;
  EXPECT_EQ(FormPixel(x + 1, y + 1), RGB(0, 0, 255)) << "the glyph's inside";
  EXPECT_EQ(FormPixel(x + 14, y + 14), RGB(0, 0, 255));
  EXPECT_NE(FormPixel(x, y + 1), RGB(0, 0, 255)) << "its frame is transparent";
  EXPECT_NE(FormPixel(x + 15, y + 1), RGB(0, 0, 255));
  EXPECT_NE(FormPixel(x - 1, y + 1), RGB(0, 0, 255));
}

TEST(GlyphLayout, MarginAndSpacingPlaceGlyphAndCaption) {
  struct TCase {
    const char* Name;
    TGlyphLayout Layout;
    int Margin, Spacing;
    SIZE Client, Text;
    bool Centred;
    int Shift;
    POINT Glyph, TextAt;
    UINT Flags;
  };
  const SIZE glyph{16, 16};
  const UINT wb = DT_WORDBREAK;
  // Client 100 x 30 unless given; glyph 16 x 16; across the axis both are centred:
  // (30 - 16 + 1) div 2 = 7 and (30 - 13 + 1) div 2 = 9.
  const TCase cases[] = {
      // (100 - 16 - 30) div 3 = 18 on each side and between.
      {"thirds", glGlyphLeft, -1, -1, {100, 30}, {30, 13}, false, 1, {18, 7}, {52, 9}, wb},
      // (100 - 16 - 4 - 30) div 2 = 25, one further in for a speed button.
      {"centred pair, speed button", glGlyphLeft, -1, 4, {100, 30}, {30, 13}, false, 1, {26, 7}, {46, 9}, wb},
      {"centred pair, bitmap button", glGlyphLeft, -1, 4, {100, 30}, {30, 13}, false, 0, {25, 7}, {45, 9}, wb},
      {"alignment centres as margin -1", glGlyphLeft, 5, 4, {100, 30}, {30, 13}, true, 0, {25, 7}, {45, 9}, wb},
      // (100 - 5 - 16 - 30) div 2 = 24.
      {"caption centred in the rest", glGlyphLeft, 5, -1, {100, 30}, {30, 13}, false, 1, {5, 7}, {45, 9}, wb},
      {"glyph right", glGlyphRight, 5, 4, {100, 30}, {30, 13}, false, 1, {79, 7}, {45, 9}, wb | DT_RIGHT},
      // Across: (60 - 16 + 1) div 2 = 22, (60 - 30 + 1) div 2 = 15.
      {"glyph on top", glGlyphTop, 3, 2, {60, 60}, {30, 13}, false, 1, {22, 3}, {15, 21}, wb | DT_CENTER},
      {"glyph below", glGlyphBottom, 3, 2, {60, 60}, {30, 13}, false, 1, {22, 41}, {15, 26}, wb | DT_CENTER},
      // No caption: the spacing counts 0; (100 - 16) div 2 + 1 = 43; (30 + 1) div 2 = 15.
      {"no caption", glGlyphLeft, -1, 4, {100, 30}, {0, 0}, false, 1, {43, 7}, {59, 15}, wb},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TGlyphPlacement p = PlaceGlyphAndText(c.Layout, c.Margin, c.Spacing, c.Client, glyph, c.Text, c.Centred, c.Shift);
    EXPECT_EQ(p.Glyph.x, c.Glyph.x);
    EXPECT_EQ(p.Glyph.y, c.Glyph.y);
    EXPECT_EQ(p.Text.x, c.TextAt.x);
    EXPECT_EQ(p.Text.y, c.TextAt.y);
    EXPECT_EQ(p.TextFlags, c.Flags);
  }
}

// ---- the media player ----

class PlayerPanel : public ButtonForm {
protected:
  void SetUp() override {
    ButtonForm::SetUp();
    UsePlainFrames(data);
    // Three buttons in 100 pixels: 33 each, the last column left over.
    Player->SetBounds(10, 104, 100, 30);
    Player->SetVisibleButtons(Buttons({btPlay, btStop, btEject}));
    Player->SetEnabledButtons(Buttons({btPlay, btStop}));
    Player->SetColoredButtons(Buttons({btStop}));
  }
  void Press(int x) { SendMessageA(Panel()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10)); }
  void Release(int x) { SendMessageA(Panel()->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 10)); }
  COLORREF PanelPixel(int x, int y) { return FormPixel(Player->GetLeft() + x, Player->GetTop() + y); }
};

TEST_F(PlayerPanel, ButtonsShareTheWidthAndASharedEdgeBelongsToTheLeftButton) {
  Skin();
  TWMediaPlayer* p = Panel();
  ASSERT_NE(p, nullptr);
  struct TCase {
    int X, Button;
  };
  const TCase cases[] = {{0, btPlay},   {32, btPlay},  {33, btPlay},  {34, btStop},   {66, btStop},
                         {67, btEject}, {99, btEject}, {100, NoMediaButton}, {-1, NoMediaButton}};
  for (const TCase& c : cases) EXPECT_EQ(p->ButtonAt(c.X), c.Button) << c.X;
  EXPECT_EQ(p->VisibleCount, 3);
  EXPECT_EQ(p->ButtonWidth, 33);
  EXPECT_EQ(PanelPixel(98, 2), ColorToRGB(FrameColour(3))) << "the disabled eject button";
  EXPECT_EQ(PanelPixel(99, 2), ColorToRGB(data->ButtonFace)) << "the last column is face-coloured";
}

TEST_F(PlayerPanel, AReleaseReachesThePlayerOnlyOverThePressedButton) {
  Skin();
  struct TCase {
    int Down, Up;
    bool Released;  // the player saw the release
    int DownButton;
  };
  const TCase cases[] = {
      {10, 20, true, btPlay},    // within one button
      {33, 33, true, btPlay},    // on the shared edge: the left button's
      {33, 34, false, btStop},   // the edge, then the next button
      {10, 50, false, btStop},   // released over another button
      {50, 90, false, btEject},  // onto the disabled one
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Down << " to " << c.Up);
    Player->Mouse.clear();
    Press(c.Down);
    Release(c.Up);
    std::vector<std::pair<UINT, int>> expected{{WM_LBUTTONDOWN, c.Down}};
    if (c.Released) expected.push_back({WM_LBUTTONUP, c.Up});
    EXPECT_EQ(Player->Mouse, expected);
    EXPECT_EQ(Panel()->DownButton, c.DownButton);
    EXPECT_FALSE(Panel()->Pressed);
    EXPECT_EQ(GetCapture(), nullptr) << "nobody keeps the mouse";
  }
}

TEST_F(PlayerPanel, ThePressedButtonTheDisabledOneAndTheGlyphSetsShowOnTheScreen) {
  Skin();
  TWMediaPlayer* p = Panel();
  // The glyphs stand centred: (33 - 16) div 2 = 8 in, (30 - 16) div 2 = 7 down; the play and stop
  // glyphs are inked at their centre (8, 8).
  const int gx = 8 + 8, gy = 7 + 8;
  EXPECT_EQ(p->GlyphSet(btPlay), mgEnabled);
  EXPECT_EQ(p->GlyphSet(btStop), mgColoured);
  EXPECT_EQ(p->GlyphSet(btEject), mgDisabled);
  const COLORREF playInk = PixelAt(p->Glyphs[btPlay][mgEnabled], 8, 8);
  const COLORREF stopInk = PixelAt(p->Glyphs[btStop][mgColoured], 8, 8);
  ASSERT_NE(playInk, ColorToRGB(MediaGlyphTransparent)) << "the player's glyphs are there";
  ASSERT_NE(stopInk, playInk);
  EXPECT_EQ(PanelPixel(gx, gy), playInk);
  EXPECT_EQ(PanelPixel(33 + gx, gy), stopInk);
  EXPECT_EQ(PanelPixel(2, 2), ColorToRGB(FrameColour(1)));
  EXPECT_EQ(PanelPixel(33 + 2, 2), ColorToRGB(FrameColour(1)));
  EXPECT_EQ(PanelPixel(66 + 2, 2), ColorToRGB(FrameColour(3)));

  // While the stop button is held: its frame 2, its glyph one pixel down and right.
  Press(40);
  EXPECT_TRUE(p->Pressed);
  EXPECT_EQ(PanelPixel(33 + 2, 2), ColorToRGB(FrameColour(2)));
  EXPECT_EQ(PanelPixel(2, 2), ColorToRGB(FrameColour(1)));
  TBitmap shot;
  CaptureClient(F->Handle(), shot);
  bool movedGlyph = true;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const COLORREF g = PixelAt(p->Glyphs[btStop][mgColoured], x, y);
      if (g == ColorToRGB(MediaGlyphTransparent)) continue;
      movedGlyph &= PixelAt(&shot, Player->GetLeft() + 33 + 8 + 1 + x, Player->GetTop() + 7 + 1 + y) == g;
    }
  EXPECT_TRUE(movedGlyph);
  Release(40);
  EXPECT_EQ(PanelPixel(33 + 2, 2), ColorToRGB(FrameColour(1)));

  // Held, then the mouse leaves the panel (the release is not seen): the held look goes, and a
  // release back over the held button still reaches the player.
  Press(40);
  p->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(p->Pressed);
  EXPECT_EQ(PanelPixel(33 + 2, 2), ColorToRGB(FrameColour(1)));
  Player->Mouse.clear();
  Release(45);
  EXPECT_EQ(Player->Mouse, (std::vector<std::pair<UINT, int>>{{WM_LBUTTONUP, 45}}));
}

// ---- the tables' ways to the three kinds ----

struct TKindCase {
  const char* Name;
  std::function<TControl*(TForm*)> Make;
  std::function<void(TSkinData&)> Setup;  // may be empty
  const char* Skinner;
  bool ByAction = false;  // the row's own work picks another skinner than the row names
};

template <class T>
TControl* Place(TForm* f) {
  auto* c = new T(f);
  c->SetParent(f);
  c->SetBounds(10, 10, 120, 28);
  return c;
}
void Without(TSkinData& d, TSkinControlType kind) { d.SetSkinControls(d.GetSkinControls() & ~Bit(kind)); }
void WithPlayerRow(TSkinData& d) {
  std::vector<std::string> rows = d.GetSkin3rd();
  rows.push_back(PlayerRow);
  d.SetSkin3rd(rows);
}

const TKindCase KindCases[] = {
    {"menu button", Place<TFcMenuButton>, nullptr, "TSkinMenuButton"},
    {"menu button without xcButton", Place<TFcMenuButton>, [](TSkinData& d) { Without(d, xcButton); }, ""},
    {"drop-down kind of a bitmap button",
     [](TForm* f) {
       auto* c = Place<TcxButton>(f);
       SetPropByText(c, "Kind", "cxbkDropDownButton");
       return c;
     },
     nullptr, "TSkinMenuButton", true},
    {"standard kind of a bitmap button", Place<TcxButton>, nullptr, "TSkinBitButton"},
    {"speed button", Place<TRxSpeedButton>, nullptr, "TSkinSpeedButton"},
    {"speed button without xcSpeedButton", Place<TRxSpeedButton>, [](TSkinData& d) { Without(d, xcSpeedButton); }, ""},
    {"picture speed button", Place<TPngSpeedbutton>, nullptr, "TSkinSpeedButton"},
    {"picture speed button without xcButton", Place<TPngSpeedbutton>, [](TSkinData& d) { Without(d, xcButton); }, ""},
    {"media player by its row", Place<TMmPlayer>, WithPlayerRow, "TSkinMP"},
    {"media player without xcButton", Place<TMmPlayer>,
     [](TSkinData& d) {
       WithPlayerRow(d);
       Without(d, xcButton);
     },
     ""},
    {"media player without a row", Place<TMmPlayer>, nullptr, ""},
};

class Kinds : public SkinEngine, public ::testing::WithParamInterface<TKindCase> {};

TEST_P(Kinds, TheSkin3rdRowsChooseTheSkinner) {
  const TKindCase& c = GetParam();
  if (c.Setup) c.Setup(*data);
  auto* form = NewTestForm();
  TControl* control = c.Make(form);
  ASSERT_TRUE(ShowSkinned(form));
  if (!c.ByAction) {
    EXPECT_EQ(PlannedSkinner(data, control), c.Skinner);
  }
  TSkinControl* s = SkinnerOf(Manager().FindForm(form->Handle()), control);
  EXPECT_EQ(SkinnerName(s), c.Skinner);
  if (auto* speed = dynamic_cast<TSkinSpeedButton*>(s)) {
    EXPECT_EQ(speed->PictureProperty, As<TPngSpeedbutton>(control) ? "PngImage" : "");
  }
  form->Free();
}
INSTANTIATE_TEST_SUITE_P(Cases, Kinds, ::testing::ValuesIn(KindCases), CaseName());

}  // namespace
