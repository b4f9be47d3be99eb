// TfrmLayered: a borderless per-pixel-alpha window. Its whole look is a 32-bit off-screen memory
// surface: every repaint starts from a copy of the background surface (the background picture drawn
// once), the layered child controls draw into it with GDI+, and the surface is handed to the system
// with one UpdateLayeredWindow. Pixels whose alpha is 0 are invisible and let the mouse through.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "Forms.h"
#include "GdiPlusObjects.h"
#include "LayeredUtils.h"
#include "OrvWindowsUtils.h"

// Class infos of the layered classes are built and registered on first use (RegisterLayeredClasses,
// which every TfrmLayered calls) rather than during static initialisation: the class library's own
// class infos read name tables of their units, which may not be initialised yet at that time.
#define ORV_DEFINE_LAYERED_CLASS(Class, Parent, Factory, ...)                               \
  const TClassInfo& Class::StaticClassInfo() {                                             \
    static const TClassInfo info(#Class, &Parent::StaticClassInfo(), Factory, __VA_ARGS__); \
    return info;                                                                           \
  }
// Registers TfrmLayered, TLayeredControl and the listed layered control classes for the layouts (once).
void RegisterLayeredClasses();
// Lists a layered control class (the button's and label's units list themselves while the program
// starts); its class info is built and registered with the others on first use.
bool ListLayeredClass(const TClassInfo& (*classInfo)());

enum TTextQuality : uint8_t {
  TextQuality_SystemDefault,
  TextQuality_SingleBitPerPixelGridFit,
  TextQuality_SingleBitPerPixel,
  TextQuality_AntiAliasGridFit,
  TextQuality_AntiAlias,
  TextQuality_ClearTypeGridFit
};

class TfrmLayered;

// A control that draws itself into its layered window's memory surface.
class TLayeredChild {
public:
  virtual ~TLayeredChild() = default;
  virtual void SetLayeredParent(TfrmLayered* parent) = 0;
  // Draws the control's rectangle into the parent's memory surface without presenting it.
  virtual void DrawLayer() = 0;
};

class TfrmLayered : public TForm {
  ORV_CLASS(TfrmLayered)
public:
  explicit TfrmLayered(TComponent* owner);
  ~TfrmLayered() override;

  // Creates the two surfaces at the window's current size; False leaves the window without any.
  virtual bool CreateBuffers();
  // Memory surface := background surface.
  virtual void RestoreBackground();
  // Paints at once (nothing is invalidated).
  void Repaint();
  void Paint() override;
  // Hands the memory surface to the system with `blend` (one UpdateLayeredWindow).
  bool Present(BLENDFUNCTION blend);

  TGPGraphics* GetMemGraphics() const { return FMemGraphics; }
  HDC GetMemDC() const { return FMemDC; }
  HDC GetBackgroundDC() const { return FBackgroundDC; }
  HBITMAP GetMemBitmap() const { return FMemBitmap; }
  uint8_t GetBlendAlpha() const { return FBlendFunction.SourceConstantAlpha; }
  void SetBlendAlpha(uint8_t v) { FBlendFunction.SourceConstantAlpha = v; }  // seen at the next repaint
  BLENDFUNCTION GetBlendFunction() const { return FBlendFunction; }
  std::string GetBackgroundImage() const { return FBackgroundImage; }
  void SetBackgroundImage(const std::string& path);
  unsigned GetKeyColor() const { return FKeyColor; }
  void SetKeyColor(unsigned v);
  TTextQuality GetTextQuality() const { return FTextQuality; }
  void SetTextQuality(TTextQuality v);
  std::string GetResourcesTypeName() const { return FResourcesTypeName; }
  void SetResourcesTypeName(const std::string& v);
  std::string GetBackgroundResourcesName() const { return FBackgroundResourcesName; }
  void SetBackgroundResourcesName(const std::string& v);
  HMODULE ResourceModule = nullptr;  // where background resources are looked up (null: the program)
  TGPImage* GetBackgroundPicture() const { return FBackgroundPicture; }

  // The property table's integer views.
  int GetBlendAlphaInt() const { return GetBlendAlpha(); }
  void SetBlendAlphaInt(int v) { SetBlendAlpha(uint8_t(v)); }
  int GetKeyColorInt() const { return int(FKeyColor); }
  void SetKeyColorInt(int v) { SetKeyColor(unsigned(v)); }

  // Any button pressed on the window's own surface drags it.
  void FormMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

protected:
  void CreateParams(TCreateParams& params) override;
  // No caption and no frame, and owned by the application's window (never in the task switcher): the
  // icon would show nowhere, and handing it over holds up the splash by some milliseconds.
  bool ShowsProgramIcon() const override { return false; }
  void Loaded() override;
  void DeclareLayout(TLayoutBinder& binder) override;

private:
  void UseBackground(TGPImage* picture);
  void FreeBuffers();
  std::string FBackgroundImage;
  TGPImage* FBackgroundPicture = nullptr;
  HDC FBackgroundDC = nullptr;
  HBITMAP FBackgroundBitmap = nullptr;
  HDC FMemDC = nullptr;
  HBITMAP FMemBitmap = nullptr;
  TGPGraphics* FMemGraphics = nullptr;
  BLENDFUNCTION FBlendFunction;
  unsigned FKeyColor = 0xFF00FF;
  TTextQuality FTextQuality = TextQuality_SystemDefault;
  std::string FResourcesTypeName;
  std::string FBackgroundResourcesName;
  bool FBuffersTried = false;
};

// Base of the layered button and label: a windowed control for input and focus that draws into its
// layered parent's memory surface with GDI+ and presents the whole window after each change. Its own
// window is never painted by the platform.
class TLayeredControl : public TCustomControl, public TLayeredChild, public TStateFontsOwner {
  ORV_CLASS(TLayeredControl)
public:
  explicit TLayeredControl(TComponent* owner);
  ~TLayeredControl() override;

  // Takes the parent's BlendAlpha, then paints and presents at once.
  void Repaint();
  void Paint() override;
  void SetLayeredParent(TfrmLayered* parent) override { FLayeredParent = parent; }
  TfrmLayered* GetLayeredParent() const { return FLayeredParent; }
  void DrawLayer() override;
  void SetEnabled(bool v) override;
  // A left press shows the pressed look and takes the focus (presented once), then OnMouseDown.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // Any release ends the press; the pointer flag follows where it happened.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& m) override;

  bool GetHovered() const { return FHovered; }
  bool GetPressed() const { return FPressed; }
  BLENDFUNCTION GetBlendFunction() const { return FBlendFunction; }

  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v);
  TLayeredAlignment GetTextAlign() const { return FTextAlign; }
  void SetTextAlign(TLayeredAlignment v);
  int GetTextX() const { return FTextX; }
  void SetTextX(int v);
  int GetTextY() const { return FTextY; }
  void SetTextY(int v);
  bool GetMultiLines() const { return FMultiLines; }
  void SetMultiLines(bool v);
  bool GetDrawFocused() const { return FDrawFocused; }
  void SetDrawFocused(bool v);
  int GetFocusedRectMargin() const { return FFocusedRectMargin; }
  virtual void SetFocusedRectMargin(int v);

protected:
  virtual void RestoreBackground();
  // What a control draws over its restored rectangle (the label: focus rectangle and caption).
  virtual void DrawContent(TGPGraphics* g);
  virtual void DrawCaption(TGPGraphics* g, const std::string& text);
  virtual void DrawFocusRect(TGPGraphics* g);
  virtual bool FocusRectWanted() const;
  virtual bool CaptionFollowsPress() const { return false; }
  // The caption font of the current state.
  TFont* StateFont() const;
  void Changed() override { Repaint(); }
  void StateFontsChanged() override { Repaint(); }
  void PaintWindow(HDC dc) override { (void)dc; }
  // Sets the two state flags and repaints when either changed.
  void SetState(bool hovered, bool pressed);
  // Repaints inside a BeginChange/EndChange bracket are held back and done once at its end, so that
  // one change of state presents the window once.
  void BeginChange() { ++FChangeDepth; }
  void EndChange();
  // Takes the focus when the control can; a failure is ignored.
  void TakeFocus();
  bool Inside(int x, int y) const { return x >= 0 && x <= GetWidth() && y >= 0 && y <= GetHeight(); }

  bool FHovered = false, FPressed = false;
  std::string FCaption;
  TLayeredAlignment FTextAlign = Alignment_MiddleLeft;
  int FTextX = 0, FTextY = 0;
  bool FMultiLines = false;
  bool FDrawFocused = false;
  int FFocusedRectMargin = 2;
  TfrmLayered* FLayeredParent = nullptr;
  BLENDFUNCTION FBlendFunction;
  int FChangeDepth = 0;
  bool FRepaintHeld = false;
};

// The accelerator character of a caption ("&Open" -> 'o'), 0 for none.
char CaptionAccelerator(const std::string& caption);
char LowerChar(char c);  // in the system's ANSI code page
