// Tab controls in the skin: the tab strip drawn off-screen from the skin's Tabs image (lying and turned
// for tabs on the left or right), captions with their icons, the pane border round the display area
// and, on a page control tagged for it, a close box on every tab. Also the button-style page control,
// the tab set whose tabs hang from its top edge, the tab sheets on the face colour, and the page
// control of another family that takes tab backgrounds built from the skin.
//
// The tab skinners keep the control's own procedure for everything but painting, so the keyboard and
// the mouse switch pages exactly as without the skin.
#pragma once

#include <vector>

#include "SkinnerControl.h"

// The Tag of a page control whose tabs carry close boxes.
constexpr int CloseBoxTag = 7777;

// Where the tabs stand.
enum TTabPosition { tpTopTabs, tpBottomTabs, tpLeftTabs, tpRightTabs };

class TSkinTab : public TSkinControl {
  ORV_CLASS(TSkinTab)
public:
  explicit TSkinTab(TComponent* owner);
  ~TSkinTab() override;

  TBitmap* TabImage;   // the Tabs image, 24-bit, turned for the tab position
  TBitmap* PaneImage;  // the pane image, likewise
  TBitmap* Strip;      // the tab strip is drawn here first
  int Position = tpTopTabs;
  bool CloseBoxes = false;
  std::vector<RECT> CloseRects;  // the close box of each tab as last painted
  TSkinControl* Scroller = nullptr;  // the skinner of the tab row's scroll arrows
  bool UnicodeWindow = false;
  // The Mode of a skinner made for a tab control that is no page control: it paints the control's
  // windowless children as well.
  static constexpr int PaintsChildrenMode = 2;

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  void SkinChanged() override;
  void Notification(TComponent* c, TOperation op) override;

  // Copies the skin's images, turned for the tabs' position (an image the skin lacks keeps the copy
  // from before).
  void PrepareImages();
  // Skins the tab row's scroll arrows once they exist; their window while they are visible, else null.
  HWND FindScroller();
  // The page of the tab whose close box holds the client point was offered to the form: true when
  // a close box held it (the click is then used up).
  bool CloseBoxClick(POINT p);

private:
  void SkinningOn();
  // The tabs into Strip and Strip onto the DC; p is the pane's rectangle.
  void DrawStrip(HDC dc, const RECT& r, const RECT& p, int focus, HIMAGELIST images);
};

// A page control whose tabs are buttons: the buttons from the skin's [Buttons] image, no pane.
class TSkinTabBtn : public TSkinControl {
  ORV_CLASS(TSkinTabBtn)
public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

// A tab set (tabs hanging from its top edge), read through its published Tabs, TabIndex, FirstIndex,
// StartMargin, EndMargin and Font.
class TSkinTab31 : public TSkinControl {
  ORV_CLASS(TSkinTab31)
public:
  explicit TSkinTab31(TComponent* owner);
  ~TSkinTab31() override;
  TBitmap* TabImage;  // the Tabs image upside down

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  void SkinChanged() override;
  void PrepareImage();
};

// A tab sheet on the face colour, with its windowless controls painted over it. The sheet's own colour
// becomes the face colour while skinned, so that labels drawn on their parent's colour match it.
class TSkinTabSheet : public TSkinControl {
  ORV_CLASS(TSkinTabSheet)
public:
  using TSkinControl::TSkinControl;
  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void Detach() override;
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  void SkinChanged() override;

private:
  bool FRecoloured = false;
};

// A page control of another family that paints its tabs from the bitmaps in its TabBackGround and
// TabBackGroundActive properties: it gets frames 1 and 2 of the skin's Tabs image.
class TSkinAdvPage : public TSkinControl {
  ORV_CLASS(TSkinAdvPage)
public:
  using TSkinControl::TSkinControl;
  // Set to BuildBackgroundsMode by the dispatch; other values leave the control's backgrounds alone.
  int PageMode = 0;
  static constexpr int BuildBackgroundsMode = 4;
  TSkinControl* Scroller = nullptr;

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void Detach() override;
  void DrawControl(HDC dc, const RECT& r) override;
  void SkinChanged() override;
  void Notification(TComponent* c, TOperation op) override;
  void BuildBackgrounds();
};
