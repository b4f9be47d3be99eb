// Column headers in the skin: every column from the skin's Headerbar image, the column under the mouse
// in its hot frame, and the space right of the last column filled from the image as well. The list
// view skinner attaches one to its list view's header window.
#pragma once

#include <vector>

#include "SkinnerControl.h"

class TSkinHeader : public TSkinControl {
  ORV_CLASS(TSkinHeader)
public:
  using TSkinControl::TSkinControl;
  int HotItem = -1;              // the column under the mouse, -1 none
  std::vector<RECT> ItemRects;   // the columns as last painted, 3 pixels in from both sides

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinnerForm* form, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

// For the list view skinner: a header skinner on the list view's header window (owned by the list
// view skinner's owner), or null when the list view has no header.
TSkinHeader* SkinListViewHeader(TSkinControl* listViewSkinner);
