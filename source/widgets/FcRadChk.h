// Owner-drawn radio buttons: a 13 x 13 glyph and a caption composed off screen, optionally over the
// parent's image (Transparent). Checking one unchecks every other TFcRadioButton of the same parent;
// a bound action's Checked state is followed without clicking.
#pragma once

#include <string>
#include <vector>

#include "FcButton.h"
#include "FcFrameController.h"

class TFcCustomGlyphButton;

// What the checked-action link needs of an action. The class library has no action list yet, so the
// radio button binds to this small interface; an action class implements it and tells its links when
// its Checked state changes (TFcCheckedActionLink::ActionCheckedChanged).
class TFcLinkedAction {
public:
  virtual ~TFcLinkedAction();
  virtual bool ActionChecked() const = 0;
  virtual bool ActionEnabled() const = 0;
  virtual std::string ActionCaption() const = 0;
  virtual bool IsCustomAction() const { return true; }
  virtual void ActionExecute() = 0;
  void AddLink(class TFcCheckedActionLink* link);
  void RemoveLink(class TFcCheckedActionLink* link);
  // Call before storing a new Checked value (ActionChecked still answers the old one): every linked
  // button that agreed with the action follows it.
  void NotifyCheckedChanging(bool value);
  // Call after Caption or Enabled changed: the buttons take them over.
  void NotifyChanged();

private:
  std::vector<class TFcCheckedActionLink*> FLinks;
};

class TFcCheckedActionLink {
public:
  TFcCheckedActionLink(TFcCustomGlyphButton* client, TFcLinkedAction* action);
  ~TFcCheckedActionLink();
  TFcLinkedAction* Action() const { return FAction; }
  TFcCustomGlyphButton* Client() const { return FClient; }
  // The platform's own test (an action is linked) and the client agreeing with the action.
  bool IsCheckedLinked() const;
  void ActionCheckedChanged(bool value);
  void Detach() { FAction = nullptr; }

private:
  TFcCustomGlyphButton* FClient;
  TFcLinkedAction* FAction;
  friend class TFcCustomGlyphButton;
};

class TFcCustomGlyphButton : public TFcCustomButton, public IFcFrameNotify {
  ORV_CLASS(TFcCustomGlyphButton)
public:
  explicit TFcCustomGlyphButton(TComponent* owner);
  ~TFcCustomGlyphButton() override;

  TAlignment GetAlignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment v);
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool v) { (void)v; }
  TBitmap* GetCustomGlyphs() const { return FCustomGlyphs; }
  void SetCustomGlyphs(TBitmap* v);
  bool GetUseCustomGlyphs() const { return FUseCustomGlyphs; }
  virtual void SetUseCustomGlyphs(bool v);
  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v) { StoreAndInvalidate(FFrameColor, v); }
  TColor GetTransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor v) { StoreAndInvalidate(FTransparentColor, v); }
  TColor GetWinMaskColor() const { return FWinMaskColor; }
  void SetWinMaskColor(TColor v) { StoreAndInvalidate(FWinMaskColor, v); }
  TColor GetFillColor() const { return FFillColor; }
  void SetFillColor(TColor v) { StoreAndInvalidate(FFillColor, v); }
  TColor GetFocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v) { StoreAndInvalidate(FFocusColor, v); }
  TColor GetDisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor v) { StoreAndInvalidate(FDisabledColor, v); }
  bool GetReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool v);
  bool GetReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
  void SetReadOnlyColorOnFocus(bool v) { StoreAndInvalidate(FReadOnlyColorOnFocus, v); }
  TColor GetReadOnlyColor() const { return FReadOnlyColor; }
  void SetReadOnlyColor(TColor v) { StoreAndInvalidate(FReadOnlyColor, v); }
  bool GetTabOnEnter() const { return FTabOnEnter; }
  void SetTabOnEnter(bool v) { FTabOnEnter = v; }
  TFcButtonHotTrackStyle GetHotTrackStyle() const { return FHotTrackStyle; }
  void SetHotTrackStyle(TFcButtonHotTrackStyle v) { StoreAndInvalidate(FHotTrackStyle, v); }
  void SetTransparent(bool v) override;
  TFcFrameControllerLink& FrameLink() { return FFrameLink; }
  // Takes the controller's settings (only while its FrameVisible is on): hot tracking and, for each
  // setting the notifications allow, the matching colour or hot-track style.
  void UpdateFrame(TFcFrameController* controller) override;
  void Notification(TComponent* component, TOperation op) override;

  int GlyphCellWidth() const { return FGlyphWidth; }
  int GlyphCellHeight() const { return FGlyphHeight; }
  RECT GlyphRect() const;
  bool BackgroundStale() const { return FBackgroundStale; }

  // Binding to an action (null unbinds). The button takes the action's caption, enabled and checked
  // state; its click executes the action.
  TFcLinkedAction* GetAction() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TFcLinkedAction* action);
  // The platform's action-change handling: `checkDefaults` restricts the update to defaults.
  virtual void ActionChange(TFcLinkedAction* action, bool checkDefaults);
  bool SuppressClick() const { return FSuppressClick; }
  void SetSuppressClick(bool v) { FSuppressClick = v; }

  void Click() override;
  void Paint() override;
  void WndProc(TMessage& m) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
  virtual void DrawGlyphImage(TBitmap* bitmap) = 0;
  virtual void SmoothGlyphEdges(TBitmap* bitmap) { (void)bitmap; }
  virtual void DrawGlyph(TCanvas* canvas);
  void ExtractCustomGlyph(int index, TBitmap* bitmap, TBitmap* strip, int width, int height);
  void EraseTransparentBackground(HDC dc) override;
  void RepaintState() override { Repaint(); }
  void RepaintFocusChange() override { Repaint(); }
  void GetHotTrackRect(RECT& r) override { r = GlyphRect(); }
  bool GlyphOnLeft() const;
  void UpdateGlyphSize();

  TFcFrameControllerLink FFrameLink{this};
  TAlignment FAlignment = taRightJustify;
  TColor FFrameColor = clBtnShadow;
  TBitmap* FCustomGlyphs;
  bool FUseCustomGlyphs = false;
  TColor FTransparentColor = clOlive;
  TColor FWinMaskColor = clLime;
  TColor FFillColor = clWindow, FFocusColor = clWindow, FDisabledColor = clBtnFace;
  bool FReadOnly = false, FReadOnlyColorOnFocus = false;
  TColor FReadOnlyColor = clInfoBk;
  bool FTabOnEnter = false;
  TFcButtonHotTrackStyle FHotTrackStyle = htsInterior;
  int FGlyphStateCount = 2;
  int FGlyphWidth = 13, FGlyphHeight = 13;
  TBitmap* FBackgroundCache;
  bool FBackgroundStale = true;
  bool FMousePressActive = false;
  bool FSuppressClick = false;
  TFcCheckedActionLink* FActionLink = nullptr;
  friend class TFcCheckedActionLink;
};

class TFcRadioButton : public TFcCustomGlyphButton {
  ORV_CLASS(TFcRadioButton)
public:
  explicit TFcRadioButton(TComponent* owner);
  bool GetChecked() const override { return FChecked; }
  void SetChecked(bool v) override;
  void SetReadOnly(bool v) override;
  void WndProc(TMessage& m) override;
  void KeyPress(char& key) override;

protected:
  void ChangeState() override;
  void DrawGlyphImage(TBitmap* bitmap) override;
  void SmoothGlyphEdges(TBitmap* bitmap) override;
  bool FChecked = false;
};
