// The control skinners' base: TSkinControl hooks one child control of a skinned window (a control of
// ours through its WindowProc, any other window through a subclass), lets the control's own procedure
// run when it should, and paints the control from the skin. The form skinner keeps the skinners of its
// window, frees the ones whose window went (state 6) and all of them when it unskins.
//
// Also here: the small routines every skinner uses (text, colours, properties by name) and the drawing
// helpers shared by the skinner families (painting a WM_PAINT, erasing behind a transparent control,
// one frame of a skin image, captions).
#pragma once

#include <windows.h>

#include <string>

#include "Component.h"
#include "Controls.h"
#include "Graphics.h"
#include "SkinMessages.h"
#include "SkinnerForm.h"
#include "Subclass.h"

class TSkinData;
class TDataSkinObject;

// State flags.
constexpr uint8_t sfHot = 1, sfPressed = 2;
// The Tag that makes a button draw its parent's background through the image's transparent parts.
constexpr int TransparentButtonTag = 5555;

class TSkinControl : public TComponent, public TControlSkinnerLink {
  ORV_CLASS(TSkinControl)
public:
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  uint8_t StateFlags = 0;
  TCanvas* Canvas = nullptr;      // the form skinner's control canvas
  bool Enabled = true;            // refreshed while drawing
  bool Focused = false;
  std::wstring Caption;
  bool Active = true;             // False: every message goes straight on
  bool Unicode = false;
  TSkinData* SkinData = nullptr;
  // WindowHandle, Control, SkinnerState and Mode come with the form skinner's link (the base sets Mode
  // to 1 when ParentBackground was on).
  RECT WindowRect{};              // screen coordinates, taken at every paint
  TControl* RepaintComponent = nullptr;  // invalidated instead of the window when set
  bool SetColour = false;         // the control's Color becomes the skin's face colour
  TColor SavedColour = clBtnFace;
  bool Attached = false;
  TSkinnerForm* Form = nullptr;
  bool ParentBackground = false;  // ParentBackground was True and has been switched off

  bool Hot() const { return StateFlags & sfHot; }
  bool Pressed() const { return StateFlags & sfPressed; }
  void SetFlag(uint8_t flag, bool on) { StateFlags = on ? StateFlags | flag : StateFlags & ~flag; }
  // Sets or clears the pressed state and paints the control with it at once.
  void ShowPressed(bool pressed) {
    SetFlag(sfPressed, pressed);
    PaintWindow(nullptr);
  }
  // A press the control handles itself (stepping its value, capturing the mouse, clicking on the
  // release): its own procedure runs first, then the pressed look shows. The message is done.
  bool PressAfterControl(TMessage& m) {
    CallDefault(m);
    ShowPressed(true);
    return false;
  }

  // The skinner's owner is the control.
  virtual void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas);
  virtual void AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas);
  // Gives the control back its colour and parent background (the hook goes in the destructor).
  void Detach() override;
  // Before the control's own procedure: False when the message is done here.
  virtual bool BeforeMessage(TMessage& m);
  virtual void AfterMessage(TMessage& m);
  // Paints through the given DC, or the window DC for 0.
  virtual void PaintWindow(HDC dc);
  virtual void DrawControl(HDC dc, const RECT& r) { (void)dc; (void)r; }
  void SkinChanged() override;
  virtual bool CanSkin() { return true; }
  std::string SkinnerClass() const override { return ClassName(); }
  TSkinControl* Skinner() override { return this; }
  void Free() override { TComponent::Free(); }

  void WndProc(TMessage& m);
  // The control's own procedure (the saved WindowProc, or the window procedure under the subclass).
  void CallDefault(TMessage& m);
  void Repaint();
  bool Hooked() const { return FHook.Installed() || FSubclass.Installed(); }

  // ---- the toolkit ----
  void FillFace(HDC dc, const RECT& r);
  void FillParentColor(HDC dc, const RECT& r);
  TColor GetParentColor(TColor def);
  LONG GetWindowLongAW(HWND window, int index);
  // A focus rectangle around the caption as DrawText would place it with those flags.
  void DrawCaptionFocus(HDC dc, UINT flags, const RECT& r);
  // The control's OnMouseDown for a left press (WM_LBUTTONDOWN).
  void ForwardMouseDown(const TMessage& m);
  void SetParentBackground(bool on);
  // The fields every skinner fills on attaching; false when the owner is no control.
  bool BindControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas);
  // With SetColour: the control takes the skin's face colour; its own is kept for detaching.
  void TakeFaceColour();

private:
  class TSkinnerSubclass : public TWindowSubclass {
  public:
    explicit TSkinnerSubclass(TSkinControl* skinner) : FSkinner(skinner) {}
    using TWindowSubclass::CallPrevious;

  protected:
    LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override;

  private:
    TSkinControl* FSkinner;
  };
  TWindowProcHook FHook;        // a control of ours
  TSkinnerSubclass FSubclass{this};  // a plain window
  bool FParentBackgroundRemembered = false;
};

// ---- unit routines ----
void SendMouseLeave(TSkinControl* skinner);
bool IsPopupOrTopLevel(HWND window);
void CopyBitmap(TBitmap* source, TBitmap* target);
std::wstring GetWindowTextWide(HWND window);
std::string GetWindowTextAnsi(HWND window);
std::string GetClassNameText(HWND window);
// Published properties by name; all of them fail soft (-1, empty text, null, nothing written).
int GetOrdPropByName(TObject* instance, const std::string& name);
std::string GetEnumPropText(TObject* instance, const std::string& name);
std::wstring GetWidePropText(TObject* instance, const std::string& name);
TObject* GetObjectPropByName(TObject* instance, const std::string& name, const TClassInfo* cls = nullptr);
void SetPropByText(TObject* instance, const std::string& name, const std::string& text);
std::wstring ReplaceFirst(const std::wstring& text, const std::wstring& find, const std::wstring& replacement);
std::string LowerText(const std::string& text);

// ---- drawing helpers shared by the skinner families ----
// The flags with DT_RTLREADING when the control reads right to left.
UINT AddRtlReading(TSkinControl* skinner, UINT flags);
// A WM_PAINT or WM_PRINT: the wParam DC or BeginPaint, DrawControl over the whole window. Returns False,
// as BeforeMessage does for a message it has done.
bool HandleSkinPaint(TSkinControl* skinner, TMessage& m);
// A WM_ERASEBKGND of a transparent control: the parent's background (or the face colour); result 1.
void EraseSkinBackground(TSkinControl* skinner, TMessage& m);
// Frame `frame` of the element's image over the rectangle through its margins.
void DrawSkinElement(TSkinControl* skinner, HDC dc, const RECT& r, int frameCount, int frame, TDataSkinObject* element);
// Frame `frame` of the image stretched into the rectangle, magenta transparent.
void DrawImageFrame(TSkinControl* skinner, HDC dc, const RECT& r, int frameCount, int frame, TBitmap* image);
// A caption in the rectangle: DT_LEFT, DT_CENTER or DT_RIGHT; gray when disabled.
void DrawSkinCaption(TSkinControl* skinner, TCanvas* canvas, const RECT& r, UINT align, bool enabled,
                     const std::wstring& text);
// An icon of the image list (index -1: none) and a caption after it; alignment 0 left, 1 centre, 2 right.
void DrawIconCaption(TSkinControl* skinner, TCanvas* canvas, const RECT& r, int alignment, const std::wstring& text,
                     int imageIndex, TImageList* images);
// The same with a system image list (a common control's own, as its messages hand it out).
void DrawIconCaption(TSkinControl* skinner, TCanvas* canvas, const RECT& r, int alignment, const std::wstring& text,
                     int imageIndex, HIMAGELIST images);
// A small arrow in the canvas's pen: 0 up, 1 down (a stub and three chevrons), 2 left, 3 right (a
// triangle outline); any other direction draws nothing.
void DrawArrowGlyph(TCanvas* canvas, int x, int y, int direction);
// A copy of the window's font (WM_GETFONT; the system's GUI font when it has none) on the canvas. The
// canvas owns its copy: the window's own font is never handed over.
void UseWindowFont(TCanvas* canvas, HWND window);
