// Button bases of the framed-control family.
// TFcCustomButton: windowed owner-drawn base (mouse tracking with a pressed look, hover tracking,
// captions in four text styles). TFcControlButton: windowless small button with a glyph strip or a
// drawn arrow, flat or raised, repeating its click while held (the spin edits' up and down buttons).
#pragma once

#include <functional>
#include <memory>

#include "Controls.h"
#include "FcCommon.h"

class TFcCustomButton : public TCustomControl {
  ORV_CLASS(TFcCustomButton)
public:
  explicit TFcCustomButton(TComponent* owner);

  TAlignmentVertical GetAlignmentVertical() const { return FAlignmentVertical; }
  virtual void SetAlignmentVertical(TAlignmentVertical v);
  bool GetHotTrack() const { return FHotTrack; }
  virtual void SetHotTrack(bool v);
  TColor GetHotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(TColor v);
  TFcHotTrackColorType GetHotTrackColorType() const { return FHotTrackColorType; }
  void SetHotTrackColorType(TFcHotTrackColorType v);
  TColor GetHighlightColor() const { return FHighlightColor; }
  virtual void SetHighlightColor(TColor v);
  bool GetLightTextStyle() const { return FLightTextStyle; }
  virtual void SetLightTextStyle(bool v);
  TTextStyle GetTextStyle() const { return FTextStyle; }
  virtual void SetTextStyle(TTextStyle v);
  TColor GetTextHighlightColor() const { return FTextHighlightColor; }
  virtual void SetTextHighlightColor(TColor v);
  TColor GetTextShadowColor() const { return FTextShadowColor; }
  virtual void SetTextShadowColor(TColor v);
  int GetTextShadowDepth() const { return FTextShadowDepth; }
  virtual void SetTextShadowDepth(int v);
  bool GetThemeAware() const { return FThemeAware; }
  virtual void SetThemeAware(bool v);
  bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool v);

  bool PointerInside() const { return FPointerInside; }
  bool PressedLook() const { return FPressedLook; }
  bool Tracking() const { return FTracking; }

  void WndProc(TMessage& m) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  // Draws the caption into `r` of `canvas` in the text style; `flags` are DrawText flags.
  virtual void DrawCaption(TCanvas* canvas, RECT r, UINT flags);

protected:
  virtual void EraseTransparentBackground(HDC dc) { (void)dc; }
  virtual void RepaintState() {}
  virtual void RepaintFocusChange() { Repaint(); }
  virtual void GetHotTrackRect(RECT& r) { r = GetClientRect(); }
  virtual void ChangeState() = 0;
  bool RightToLeft() const { return FRightToLeft; }

  TAlignmentVertical FAlignmentVertical = avCenter;
  bool FHotTrack = false;
  TColor FHotTrackColor = 0x00149BF0;
  TFcHotTrackColorType FHotTrackColorType = htctActual;
  TColor FHighlightColor = clHighlight;
  bool FLightTextStyle = false;
  TTextStyle FTextStyle = tsNormal;
  TColor FTextHighlightColor = clBtnHighlight;
  TColor FTextShadowColor = clBtnShadow;
  int FTextShadowDepth = 2;
  bool FThemeAware = true;
  bool FTransparent = false;
  bool FPointerInside = false, FPressedLook = false, FTracking = false;
  bool FRightToLeft = false;  // the program never reads right to left

  template <class T>
  bool StoreAndInvalidate(T& field, T v) {
    if (field == v) return false;
    field = v;
    Invalidate();
    return true;
  }

private:
  void HoverChanged();
};

// ---- control button ----

enum TFcControlButtonStyle { cbsNone, cbsLeft, cbsUp, cbsRight, cbsDown, cbsDropDown };

// The repeat timer of a held button. The default runs on a platform TTimer; tests install a factory
// whose timers follow a clock they advance themselves.
class TFcRepeatTimer {
public:
  virtual ~TFcRepeatTimer() = default;
  virtual void SetInterval(unsigned ms) = 0;
  virtual void SetEnabled(bool on) = 0;
  std::function<void()> OnTick;
};
using TFcRepeatTimerFactory = std::function<std::unique_ptr<TFcRepeatTimer>()>;
void SetFcRepeatTimerFactory(TFcRepeatTimerFactory factory);  // null: the platform timer

class TFcControlButton : public TGraphicControl {
  ORV_CLASS(TFcControlButton)
public:
  explicit TFcControlButton(TComponent* owner);
  ~TFcControlButton() override;

  bool GetFlat() const { return FFlat; }
  virtual void SetFlat(bool v);
  TBitmap* GetGlyph() const { return FGlyph; }
  virtual void SetGlyph(TBitmap* v);
  int GetNumGlyphs() const { return FNumGlyphs; }
  virtual void SetNumGlyphs(int v);
  int GetDelay() const { return FDelay; }
  void SetDelay(int v) { FDelay = v; }
  int GetInitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(int v) { FInitialDelay = v; }
  bool GetRepeatClicks() const { return FRepeatClicks; }
  void SetRepeatClicks(bool v) { FRepeatClicks = v; }
  TFcControlButtonStyle GetStyle() const { return FStyle; }
  virtual void SetStyle(TFcControlButtonStyle v);
  bool ButtonPressed() const { return FButtonPressed; }
  bool PointerInside() const { return FPointerInside; }
  SIZE GetGlyphSize() const;
  // Asked before a left press takes effect; false cancels the press silently (the spin buttons use
  // it to move the focus first).
  std::function<bool()> PressFilter;
  // The glyph's own change handler; the spin buttons replace it with theirs.
  void GlyphChangedDefault();

  void Paint() override;
  void WndProc(TMessage& m) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
  virtual void DrawButtonFace(RECT& r);
  virtual void DrawArrowButton(RECT& r);
  virtual void DrawDropDownButton(RECT& r);
  virtual void DrawGlyph(const RECT& r);
  // The unthemed face: a flat button shows a border only while active and takes Color; a raised one
  // shows a pressed box or the `raised` frame and takes `raisedFace`. Fills the inside of the frame
  // (left in `r`) with that colour and returns it.
  TColor PaintClassicFace(RECT& r, TFrameStyleEx raised, TColor raisedFace);
  void RepeatTick();
  void RefreshHover();
  bool Active() const;

  bool FFlat = false;
  TBitmap* FGlyph;
  int FNumGlyphs = 1;
  int FDelay = 100, FInitialDelay = 400;
  bool FRepeatClicks = false;
  TFcControlButtonStyle FStyle = cbsNone;
  bool FButtonPressed = false, FTracking = false, FPointerInside = false;
  std::unique_ptr<TFcRepeatTimer> FRepeatClickTimer;
};
