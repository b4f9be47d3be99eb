// The media player's skinner. A media player control paints a row of buttons with pictures of its own;
// TSkinMP lays a panel of its own, TWMediaPlayer, exactly over the player. The panel draws the visible
// buttons from the skin's [Buttons] element with the engine's player glyphs on top (the bitmaps
// EN_MPPLAY, DI_MPPLAY, CL_MPPLAY ... of tools/artwork/make_player_glyphs.py) and hands the mouse to the
// player underneath: the press always, the release only over the button that was pressed.
//
// The player is reached by its published sets "VisibleButtons", "EnabledButtons" and "ColoredButtons",
// whose members are named after the buttons (btPlay, btPause, btStop, btNext, btPrev, btStep, btBack,
// btRecord, btEject).
#pragma once

#include "ExtCtrls.h"
#include "SkinnerControl.h"

class TSkinMP;

// The buttons in the player's order.
enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int MediaButtonCount = 9;
constexpr int NoMediaButton = 9;
// The glyph sets: enabled, disabled, coloured (enabled and coloured).
enum TMediaGlyphSet { mgEnabled, mgDisabled, mgColoured };
// The colour the glyphs leave transparent (olive).
constexpr TColor MediaGlyphTransparent = TColor(0x008080);

class TWMediaPlayer : public TCustomPanel {
  ORV_CLASS(TWMediaPlayer)
public:
  explicit TWMediaPlayer(TComponent* owner);
  ~TWMediaPlayer() override;

  // [button][set]; a glyph whose bitmap is missing stays empty.
  TBitmap* Glyphs[MediaButtonCount][3];
  // Refreshed from the player at every paint and every press.
  bool ButtonVisible[MediaButtonCount] = {};
  bool ButtonEnabled[MediaButtonCount] = {};
  bool ButtonColoured[MediaButtonCount] = {};
  int VisibleCount = 0;
  int ButtonWidth = 0;  // client width div VisibleCount
  bool Pressed = false;
  int DownButton = NoMediaButton, HitButton = NoMediaButton;
  TControl* Player = nullptr;
  TSkinMP* Skinner = nullptr;
  TSkinData* SkinData = nullptr;

  void AttachPanel(TSkinMP* skinner, TControl* player);
  // Takes the player's place and size.
  void PlacePanel(TControl* player);
  // The visible button under the client x (its right edge, shared with the next, included), or
  // NoMediaButton.
  int ButtonAt(int x);
  // The player's three sets into the button flags, VisibleCount and ButtonWidth.
  void ReadButtons();
  // The [Buttons] frame of a button: 2 while it is pressed, 3 when disabled, else 1.
  int ButtonFrame(int button) const;
  TMediaGlyphSet GlyphSet(int button) const;

  void Paint() override;
  void WndProc(TMessage& m) override;
};

class TSkinMP : public TSkinControl {
  ORV_CLASS(TSkinMP)
public:
  explicit TSkinMP(TComponent* owner) : TSkinControl(owner) {}
  ~TSkinMP() override;

  TWMediaPlayer* Panel = nullptr;

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void AfterMessage(TMessage& m) override;
  void Detach() override;
  void Notification(TComponent* component, TOperation op) override;
};
