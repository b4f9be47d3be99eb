// TFcCustomEdit / TFcEdit: a one-line edit with state colours (disabled, focused, read-only), an
// optional self-painted frame with hot tracking, Enter-as-Tab, the optional beep for rejected keys and
// an optional drop button at its right edge. Built on the platform's masked edit without a mask (window
// class "TFcEdit" on the system EDIT class), so its text is the plain window text; what the platform
// edit lacks (alignment, auto-select) is kept here.
//
// The drop button lives in the non-client area: showing it narrows the client area by a scroll bar's
// width, the edit paints the button there and answers the hit test over it as client area, so the
// mouse messages come here with points right of the client rectangle. A press on it, Alt+Down and F4
// run the drop-down sequence: OnDropDown, then OnCloseUp, with the button drawn down in between.
#pragma once

#include <functional>
#include <string>

#include "FcCommon.h"
#include "FcFrameController.h"
#include "StdCtrls.h"

enum TDropButtonState { dbsUp, dbsDown };
// A masked text that fails its mask: the handler may give the message to raise (empty: the masked
// edit's own report).
using TFcValidateErrorEvent = std::function<void(TObject* Sender, std::string& Message)>;

class TFcCustomEdit : public TCustomMaskEdit {
  ORV_CLASS(TFcCustomEdit)
public:
  explicit TFcCustomEdit(TComponent* owner);
  ~TFcCustomEdit() override;

  TAlignment GetAlignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment v);
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  TColor GetDisabledColor() const { return FDisabledColor; }
  virtual void SetDisabledColor(TColor v);
  TColor GetFocusColor() const { return FFocusColor; }
  virtual void SetFocusColor(TColor v);
  TColor GetReadOnlyColor() const { return FReadOnlyColor; }
  virtual void SetReadOnlyColor(TColor v);
  bool GetReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
  void SetReadOnlyColorOnFocus(bool v) { FReadOnlyColorOnFocus = v; }
  bool GetFrameVisible() const { return FFrameVisible; }
  virtual void SetFrameVisible(bool v);
  TFrameStyleEx GetFrameStyle() const { return FFrameStyle; }
  virtual void SetFrameStyle(TFrameStyleEx v);
  TColor GetFrameColor() const { return FFrameColor; }
  virtual void SetFrameColor(TColor v);
  bool GetFrameHotTrack() const { return FFrameHotTrack; }
  virtual void SetFrameHotTrack(bool v);
  TFrameStyleEx GetFrameHotStyle() const { return FFrameHotStyle; }
  virtual void SetFrameHotStyle(TFrameStyleEx v);
  TColor GetFrameHotColor() const { return FFrameHotColor; }
  virtual void SetFrameHotColor(TColor v);
  unsigned GetFrameSides() const { return FFrameSides; }
  virtual void SetFrameSides(unsigned v);
  TFramingPreference GetFramingPreference() const { return FFramingPreference; }
  virtual void SetFramingPreference(TFramingPreference v);
  bool GetTabOnEnter() const { return FTabOnEnter; }
  void SetTabOnEnter(bool v) { FTabOnEnter = v; }
  bool GetBeepOnInvalidKey() const { return FBeepOnInvalidKey; }
  void SetBeepOnInvalidKey(bool v) { FBeepOnInvalidKey = v; }
  TColor GetFlatButtonColor() const { return FFlatButtonColor; }
  void SetFlatButtonColor(TColor v) { FFlatButtonColor = v; }
  bool GetFlatButtons() const { return FFlatButtons; }
  virtual void SetFlatButtons(bool v);
  bool GetEdReadOnly() const { return FReadOnly; }
  void SetEdReadOnly(bool v);

  int GetSelStart();
  int GetSelLength();
  void SetSel(int start, int length);

  // The drop button (none on the program's windows).
  bool GetDropButtonShown() const { return FDropButtonShown; }
  virtual void SetDropButtonShown(bool v);  // recreates the window
  TDropButtonState GetDropButtonState() const { return FDropButtonState; }
  virtual void SetDropButtonState(TDropButtonState v);  // repaints the button when shown and changed
  bool DroppedDown() const { return FDroppedDown; }
  bool PointerOnButton() const { return FPointerOnButton; }
  // The button's rectangle in window coordinates (origin at the window's top-left corner); empty
  // without the button or a window.
  RECT DropButtonRect() const;
  // The text as shown (the masked edit's text).
  virtual std::string DisplayText() { return GetText(); }
  TNotifyEvent OnDropDown, OnCloseUp;
  TFcValidateErrorEvent OnValidateError;

  // The state the colours follow.
  bool FocusActive() const { return FFocusActive; }
  bool MouseInside() const { return FMouseInside; }
  bool Hot() const { return FFocusActive || FMouseInside; }
  TColor IdleColor() const { return FIdleColor; }
  // Sounds the system beep when BeepOnInvalidKey is on (tests replace the sound).
  void BeepIfAllowed();
  static void SetBeepHook(std::function<void()> hook);

  // The controller writes its settings into the published properties of the same names.
  TFcFrameControllerLink& FrameLink() { return FFrameLink; }
  void Notification(TComponent* component, TOperation op) override;

  void Loaded() override;
  void WndProc(TMessage& m) override;
  void KeyPress(char& key) override;
  void KeyDown(WORD& key, TShiftState shift) override;

protected:
  void CreateParams(TCreateParams& p) override;
  virtual void ApplyStateColor();
  virtual void SetActiveState(bool viaMouse, bool active);
  virtual void InvalidateNonClientFrame();
  virtual RECT TextArea();
  virtual bool EffectiveReadOnly() const { return FReadOnly; }
  virtual void ReadOnlyStateChanged();
  virtual void ReadOnlyOnHook() {}
  virtual void ReadOnlyOffHook() {}
  virtual void PaintDropButton(const RECT& r);
  void ValidateError(int position) override;
  bool ThemedFrameInUse() const;
  // Runs `paint` with the non-client canvas on the window's DC, and gives the DC back also on failure.
  void PaintOnWindowDC(const std::function<void(HDC)>& paint);
  void PaintNonClient();
  // The drop button's width: a vertical scroll bar's, one less with visual themes.
  int DropButtonWidth() const;
  void PaintDropButtonArea();
  void RedrawButtonStrip();
  // OnDropDown then OnCloseUp, the button down in between.
  void RunDropDown(bool fromMouse);

  TFcFrameControllerLink FFrameLink{this};
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSelect = true;
  TColor FDisabledColor = clBtnFace, FFocusColor = clWindow, FReadOnlyColor = clInfoBk;
  bool FReadOnlyColorOnFocus = false;
  bool FFrameVisible = false;
  TFrameStyleEx FFrameStyle = fsFlat, FFrameHotStyle = fsFlatBold;
  TColor FFrameColor = clBtnShadow, FFrameHotColor = clBtnShadow;
  bool FFrameHotTrack = false;
  unsigned FFrameSides = AllSides;
  TFramingPreference FFramingPreference = fpXPThemes;
  bool FTabOnEnter = false, FBeepOnInvalidKey = true;
  TColor FFlatButtonColor = clBtnFace;
  bool FFlatButtons = false;
  TColor FIdleColor = clWindow;
  bool FColorUpdating = false, FFocusActive = false, FMouseInside = false;
  bool FDropButtonShown = false, FDroppedDown = false, FPointerOnButton = false;
  TDropButtonState FDropButtonState = dbsUp;
  TCanvas FNonClientCanvas;  // on the window's DC while the non-client area is painted
};

class TFcEdit : public TFcCustomEdit {
  ORV_CLASS(TFcEdit)
public:
  explicit TFcEdit(TComponent* owner) : TFcCustomEdit(owner) {}
};
