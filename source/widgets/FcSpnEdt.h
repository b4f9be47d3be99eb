// TFcSpinEdit: a numeric framed edit with two step buttons at its right edge. The value lives in the
// text; typed characters are filtered to a number, pasted text goes through a strict parser (no hex,
// "inf" or "nan"; huge numbers saturate), and writes are clamped to Min..Max.
// TFcSpinButtons: the buttons' window (class "TFcSpinButtons", which the skin engine looks for).
#pragma once

#include <functional>

#include "FcButton.h"
#include "FcEdit.h"

enum TSpinDirection { sdUpDown, sdLeftRight };
enum TSpinButtonType { sbUp, sbDown };
using TSpinChangingEvent = std::function<void(TObject* Sender, double NewValue, bool& AllowChange)>;
using TSpinButtonEvent = std::function<void(TObject* Sender, TSpinButtonType Button)>;

// Number text as the spin edit reads it: blanks around, an optional sign, decimal digits with at most
// one "." and an optional exponent. Values beyond the double range come back as infinities.
bool ParseSpinNumber(const std::string& text, double& value);

class TFcSpinButtons : public TWinControl {
  ORV_CLASS(TFcSpinButtons)
public:
  explicit TFcSpinButtons(TComponent* owner);

  TFcControlButton* UpRightButton() const { return FUpButton; }
  TFcControlButton* DownLeftButton() const { return FDownButton; }
  TSpinDirection GetDirection() const { return FDirection; }
  void SetDirection(TSpinDirection v);
  TOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TOrientation v);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  int GetDelay() const { return FUpButton->GetDelay(); }
  void SetDelay(int v);
  int GetInitialDelay() const { return FUpButton->GetInitialDelay(); }
  void SetInitialDelay(int v);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* c);
  TBitmap* GetGlyphUpRight() const { return FUpButton->GetGlyph(); }
  void SetGlyphUpRight(TBitmap* b) { FUpButton->SetGlyph(b); }
  TBitmap* GetGlyphDownLeft() const { return FDownButton->GetGlyph(); }
  void SetGlyphDownLeft(TBitmap* b) { FDownButton->SetGlyph(b); }
  int GetNumGlyphsUpRight() const { return FUpButton->GetNumGlyphs(); }
  void SetNumGlyphsUpRight(int v) { FUpButton->SetNumGlyphs(v); }
  int GetNumGlyphsDownLeft() const { return FDownButton->GetNumGlyphs(); }
  void SetNumGlyphsDownLeft(int v) { FDownButton->SetNumGlyphs(v); }
  bool CustomUpGlyph() const { return FCustomUp; }
  bool CustomDownGlyph() const { return FCustomDown; }
  void SetEnabled(bool v) override;
  void SetColor(TColor v) override;

  TNotifyEvent OnUpRightClick, OnDownLeftClick;

  void SetBounds(int l, int t, int w, int h) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;
  void WndProc(TMessage& m) override;

protected:
  void LayOutButtons(int w, int h);
  void GlyphChanged(TFcControlButton* b);
  bool ButtonMouseDown(TFcControlButton* b);

  TFcControlButton *FUpButton, *FDownButton;
  TSpinDirection FDirection = sdUpDown;
  TOrientation FOrientation = orVertical;
  bool FFlat = false;
  bool FCustomUp = false, FCustomDown = false;
  TWinControl* FFocusControl = nullptr;
};

class TFcSpinEdit : public TFcCustomEdit {
  ORV_CLASS(TFcSpinEdit)
public:
  explicit TFcSpinEdit(TComponent* owner);

  double GetValue();
  void SetValue(double v);
  int GetIntValue();
  void SetIntValue(int v) { SetValue(v); }
  double GetMin() const { return FMin; }
  void SetMin(double v);
  double GetMax() const { return FMax; }
  void SetMax(double v);
  bool GetCheckRange() const { return FCheckRange; }
  void SetCheckRange(bool v);
  double GetIncrement() const { return FIncrement; }
  void SetIncrement(double v) { FIncrement = v; }
  double GetPageSize() const { return FPageSize; }
  void SetPageSize(double v) { FPageSize = v; }
  int GetDecimals() const { return FDecimals; }
  void SetDecimals(int v);
  bool GetIntegersOnly() const { return FIntegersOnly; }
  void SetIntegersOnly(bool v);
  bool GetAllowKeyEdit() const { return FAllowKeyEdit; }
  void SetAllowKeyEdit(bool v) { FAllowKeyEdit = v; }
  bool GetAllowBlank() const { return FAllowBlank; }
  void SetAllowBlank(bool v) { FAllowBlank = v; }
  double GetBlankValue() const { return FBlankValue; }
  void SetBlankValue(double v) { FBlankValue = v; }
  int GetButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int v);
  TBitmap* GetButtonUpGlyph() const { return FButtons->GetGlyphUpRight(); }
  void SetButtonUpGlyph(TBitmap* b) { FButtons->SetGlyphUpRight(b); }
  TBitmap* GetButtonDownGlyph() const { return FButtons->GetGlyphDownLeft(); }
  void SetButtonDownGlyph(TBitmap* b) { FButtons->SetGlyphDownLeft(b); }
  int GetButtonUpNumGlyphs() const { return FButtons->GetNumGlyphsUpRight(); }
  void SetButtonUpNumGlyphs(int v) { FButtons->SetNumGlyphsUpRight(v); }
  int GetButtonDownNumGlyphs() const { return FButtons->GetNumGlyphsDownLeft(); }
  void SetButtonDownNumGlyphs(int v) { FButtons->SetNumGlyphsDownLeft(v); }
  TSpinDirection GetDirection() const { return FButtons->GetDirection(); }
  void SetDirection(TSpinDirection v) { FButtons->SetDirection(v); }
  TOrientation GetOrientation() const { return FButtons->GetOrientation(); }
  void SetOrientation(TOrientation v);
  void SetFlatButtons(bool v) override;
  void SetFrameStyle(TFrameStyleEx v) override;
  TFcSpinButtons* Buttons() const { return FButtons; }
  TFcControlButton* ButtonOf(TSpinButtonType kind) const;

  TSpinChangingEvent OnChanging;
  TSpinButtonEvent OnButtonClick;

  // The input filter for one typed character.
  virtual bool AcceptsChar(char ch);
  virtual void StepUp(double amount);
  virtual void StepDown(double amount);
  double ClampValue(double x) const;

  void Loaded() override;
  void WndProc(TMessage& m) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  RECT TextArea() override;
  void ReadOnlyStateChanged() override;
  void SetActiveState(bool viaMouse, bool active) override;
  virtual void PlaceButtons();
  virtual void ApplyTextMargins();
  bool QueryChange(double newValue);
  void NotifyButtonClick(TSpinButtonType kind);

  TFcSpinButtons* FButtons;
  double FMin = 0, FMax = 100, FIncrement = 1, FPageSize = 10, FBlankValue = 0;
  bool FCheckRange = false, FIntegersOnly = true, FAllowKeyEdit = false, FAllowBlank = false;
  int FDecimals = 0;
  int FButtonWidth = 17;
};
