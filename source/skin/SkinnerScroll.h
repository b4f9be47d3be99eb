// Skinned scroll bars. The system draws a control's scroll bars in its non-client area, where a skinner
// cannot paint without fighting it; so each visible bar is covered by a small window of ours,
// TWScrollbar, that paints the bar from the skin and hands every click to the real bar underneath: the
// control keeps its own scrolling, the system's scroll loop does the work.
//
//   TSkinScrollbar   a control of ours with window scroll bars (memos and the like), two overlays.
//   TSkinListView    the same for a list view (its header goes to the header skinner when there is one).
//   TSkinScrollbarH  the same two overlays for a raw window (a simple combo box's list).
//   TComboxScrollBar paints a drop-down list's vertical bar straight into the list's frame and runs its
//                    own thumb drag (the list holds the capture while it is open).
#pragma once

#include "Controls.h"
#include "SkinnerControl.h"

class TSkinData;

// The parts of a bar, numbered like the SB_ codes of the scroll messages.
constexpr int sbNone = -1, sbFirstArrow = SB_LINEUP, sbSecondArrow = SB_LINEDOWN, sbTrackBefore = SB_PAGEUP,
              sbTrackAfter = SB_PAGEDOWN, sbThumb = SB_THUMBTRACK;

// How one bar looks now: where along its axis the arrows and the thumb lie and which part is hot.
struct TScrollBarLook {
  bool Vertical = true;
  int ArrowSize = 0;  // SM_CXHSCROLL
  // The length the arrows are measured against (0: the bar's): shorter than two arrows, each arrow
  // takes half of it.
  int ArrowRoom = 0;
  int ThumbStart = 0, ThumbEnd = 0;
  bool Enabled = true;
  int HotPart = sbNone;
  bool Pressed = false;
  int Limit = 0;  // thumb and grip are drawn only when they end before this
};

// Whether the skin has what a bar of that direction needs (the arrow strip, its track and thumb).
bool SkinHasScrollBar(TSkinData* data, bool vertical);
// Paints a bar of `size` (the bar's rectangle at the origin) into the DC at `at` from the skin.
void PaintSkinScrollBar(TSkinData* data, HDC dc, POINT at, SIZE size, const TScrollBarLook& look);
// The part of the bar under a position `a` along its axis.
int ScrollBarPartAt(int a, int arrowSize, int thumbStart, int thumbEnd, int barLength);

class TSkinScrollbar;

// The overlay over one scroll bar of a target window; its parent window is the target's parent.
class TWScrollbar : public TCustomControl {
  ORV_CLASS(TWScrollbar)
public:
  explicit TWScrollbar(TComponent* owner);

  int Kind = SB_HORZ;  // SB_HORZ or SB_VERT of the target
  bool Vertical() const { return Kind == SB_VERT; }
  HWND Target = nullptr;
  TControl* TargetControl = nullptr;
  TSkinControl* Skinner = nullptr;
  int ArrowSize;
  int BarLength = 0;
  int ThumbStart = 0, ThumbEnd = 0;
  int HotPart = sbNone;
  bool Pressed = false;
  POINT DownCursor{};
  int DownThumbStart = 0;
  POINT BarScreenOrigin{};
  RECT BarRect{};  // in the target's client coordinates
  bool Shown = false;

  void AttachOverlay(TSkinControl* skinner, TWinControl* control, int kind);
  void AttachOverlayToWindow(TSkinControl* skinner, HWND target, int kind);
  // Covers the bar as the system shows it now, or hides when the target or the bar is not visible.
  void Reposition(HWND target);
  void HideOverlay();
  void RepaintNow();
  int HitTest(POINT p) const;

  void Paint() override;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;

private:
  bool ReadBar(SCROLLBARINFO& info) const;
  void PressBar(TMessage& m);
};

class TSkinScrollbar : public TSkinControl {
  ORV_CLASS(TSkinScrollbar)
public:
  explicit TSkinScrollbar(TComponent* owner);
  ~TSkinScrollbar() override;

  TWScrollbar* HorzBar = nullptr;
  TWScrollbar* VertBar = nullptr;
  bool DrawBorder = true;
  bool RestoreFixedColor = false;
  TColor SavedFixedColor = clBtnFace;

  // The dispatch attaches every skinner the same way; a scroll bar skinner attaches its overlays.
  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  virtual void AttachScrollbars(TWinControl* control, TSkinData* data, TSkinnerForm* form, TCanvas* canvas);
  void Detach() override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  void SkinChanged() override;

  void RepositionBars();
  void PaintBorder(HDC dc);
};

class TSkinListView : public TSkinScrollbar {
  ORV_CLASS(TSkinListView)
public:
  using TSkinScrollbar::TSkinScrollbar;
  TSkinControl* Header = nullptr;  // the header's skinner, when the engine has one
  void AttachScrollbars(TWinControl* control, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) override;

protected:
  void Notification(TComponent* component, TOperation op) override;
};

class TSkinScrollbarH : public TSkinControl {
  ORV_CLASS(TSkinScrollbarH)
public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbarH() override;

  TWScrollbar* HorzBar = nullptr;
  TWScrollbar* VertBar = nullptr;

  void AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

class TComboxScrollBar : public TSkinControl {
  ORV_CLASS(TComboxScrollBar)
public:
  explicit TComboxScrollBar(TComponent* owner);
  int ArrowSize;

  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  // The thumb drag of a press at the screen point; false when the press was not on the thumb.
  bool DragThumb(POINT screen);
};
