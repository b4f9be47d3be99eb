// Containers in the skin's colours: group boxes and radio groups repainted with a face-coloured
// background, a thin rounded frame in the shadow colour and the caption cut into its top line; panels
// and embedded forms only recoloured while skinned; raw dialogs and tool bars on the face colour.
#pragma once

#include "SkinnerControl.h"

class TSkinGroupBox : public TSkinControl {
  ORV_CLASS(TSkinGroupBox)
public:
  using TSkinControl::TSkinControl;
  // Mode 1 (a control of ours): the skinner paints the whole control.
  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

// Hooks no messages: the container keeps its own painting in the face colour.
class TSkinBox : public TSkinControl {
  ORV_CLASS(TSkinBox)
public:
  using TSkinControl::TSkinControl;
  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  void Detach() override;
  void AfterMessage(TMessage& m) override { (void)m; }
};

// A raw window (a child dialog, a tool bar): its background and its static texts on the face colour.
class TSkinBoxH : public TSkinControl {
  ORV_CLASS(TSkinBoxH)
public:
  using TSkinControl::TSkinControl;
  bool BeforeMessage(TMessage& m) override;
};

// A dialog's size grip (a scroll-bar window without a tab stop) covered with the face colour after
// each of its own paints.
class TSkinSizer : public TSkinControl {
  ORV_CLASS(TSkinSizer)
public:
  using TSkinControl::TSkinControl;
  void DrawControl(HDC dc, const RECT& r) override;
};
