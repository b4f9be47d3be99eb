// Skinned combo boxes and date-time pickers. The combo box keeps painting its own text and list; the
// skinner paints the skin's frame and drop button over its border after every paint, and gives the
// drop-down list's scroll bar the skin (a simple combo's list gets overlays). A date-time picker gets a
// frame and a small skinned button of ours over its own drop button.
#pragma once

#include "Controls.h"
#include "SkinnerControl.h"
#include "Subclass.h"

class TSkinScrollbarH;
class TComboxScrollBar;

// GetComboBoxInfo when the system has it.
bool SafeGetComboBoxInfo(HWND window, COMBOBOXINFO& info);

class TSkinComBox : public TSkinControl {
  ORV_CLASS(TSkinComBox)
public:
  explicit TSkinComBox(TComponent* owner);
  ~TSkinComBox() override;

  LONG Style = 0, ExStyle = 0;
  COMBOBOXINFO ComboInfo{};
  RECT ButtonRect{};  // where the drop button was last drawn (client coordinates)
  HWND ListWindow = nullptr;
  HWND EditWindow = nullptr;
  TSkinScrollbarH* ListScroll = nullptr;   // a simple combo's list
  TComboxScrollBar* DropScroll = nullptr;  // a drop-down combo's list
  bool ExMode = false;                     // an extended combo box (its arrow covers the edit part)

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;

  // The frame to draw now: 1 normal, 2 pressed, 3 disabled, 4 focused or hot.
  int StateFrame() const;

protected:
  // The list's skinner may go first (its window destroyed with the combo's).
  void Notification(TComponent* component, TOperation op) override;

private:
  class TEditHook : public TWindowSubclass {
  public:
    explicit TEditHook(TSkinComBox* owner) : FOwner(owner) {}

  protected:
    LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override;

  private:
    TSkinComBox* FOwner;
  };
  TEditHook FEditHook{this};

  bool IsLeftButton() const { return ExStyle & WS_EX_LEFTSCROLLBAR; }
  void SubclassEdit();
  void ReleaseEdit();
  void FreeScrollSkinners();
  void DrawPlain(HDC dc, const RECT& r);
  void DrawEx(HDC dc, const RECT& r, int frame);
};

class TSkinDateTime;

// The skinned button over a date-time picker's own drop button.
class TArrowButton : public TCustomControl {
  ORV_CLASS(TArrowButton)
public:
  explicit TArrowButton(TComponent* owner);

  TSkinDateTime* Skinner = nullptr;
  TWinControl* Picker = nullptr;
  HWND PickerWindow = nullptr;
  int ArrowWidth;
  bool Hot = false;

  void AttachArrow(TSkinDateTime* skinner, TWinControl* picker);
  void PlaceArrow(const RECT& r);
  void Paint() override;
  void WndProc(TMessage& m) override;
};

class TSkinDateTime : public TSkinControl {
  ORV_CLASS(TSkinDateTime)
public:
  using TSkinControl::TSkinControl;
  ~TSkinDateTime() override;
  TArrowButton* Arrow = nullptr;

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};
