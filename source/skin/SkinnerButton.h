// Push buttons and bitmap buttons painted from the skin's [Buttons] element (five state frames:
// normal, pressed, disabled, hot, focused or default). The skinner takes over the mouse press, so the
// control's own pressed look never shows, and produces the click itself on the release.
#pragma once

#include <string>

#include "SkinnerControl.h"

// Frames of the [Buttons] image.
enum TButtonFrame { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfFocused = 5 };

class TSkinButton : public TSkinControl {
  ORV_CLASS(TSkinButton)
public:
  explicit TSkinButton(TComponent* owner);
  ~TSkinButton() override;

  TBitmap* Work;  // every paint is composed here first
  bool Transparent = false;

  void AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;

  // The state frame to draw now (reads focus, enabled and Default first).
  int CurrentFrame(bool honourDefault);
  // The caption with its first "||" as a line break, centred (alignment DT_CENTER) or from the left.
  void DrawCaption(HDC dc, const RECT& r, UINT alignment, const std::wstring& caption);

protected:
  // The work bitmap of the rectangle's size with the background and (unless `element` is off) the
  // frame of the skin image; its DC with the button's font selected (the old font is returned for
  // restoring).
  HDC PrepareWork(const RECT& r, int frame, HGDIOBJ& oldFont, bool element = true);
  COLORREF TextColour(int frame);
  void Click();
};

// A button with a picture beside its caption: a Glyph strip or an image list entry, laid out as the
// class library lays out bitmap buttons; or, with a picture property name, that picture.
class TSkinBitButton : public TSkinButton {
  ORV_CLASS(TSkinBitButton)
public:
  explicit TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}
  std::string PictureProperty;  // "PngImage" for the kind "pngbitbtn"

  void DrawControl(HDC dc, const RECT& r) override;
  // Cell `cell` (from 1; the first when above count) of the strip, transparent; cell 2 is grayed.
  void DrawGlyph(HDC dc, POINT at, int count, int cell, TBitmap* glyph);
  void DrawPictureButton(HDC dc, const RECT& r);

private:
  void DrawWithPicture(HDC dc, const RECT& r, bool picture);
};

// ---- a glyph beside a caption, as the class library lays out bitmap and speed buttons ----

// Layouts: glyph left 0, right 1, on top 2, below 3 (the "Layout" property; anything else is 0).
enum TGlyphLayout { glGlyphLeft = 0, glGlyphRight = 1, glGlyphTop = 2, glGlyphBottom = 3 };
TGlyphLayout GlyphLayoutOf(TObject* control);
// The caption's size as it wraps in the client area less 2 on every side and less the glyph's room
// (its size + 2 along the layout's axis); 0 x 0 for an empty caption.
SIZE MeasureBesideGlyph(HDC dc, const std::wstring& caption, SIZE client, SIZE glyph, TGlyphLayout layout);

struct TGlyphPlacement {
  POINT Glyph, Text;
  UINT TextFlags;  // DT_WORDBREAK, with DT_RIGHT or DT_CENTER by the layout
};
// Where glyph and caption go. A Margin or Spacing of -1 asks for centring: both -1 split the free
// space along the axis into thirds; Margin alone -1 centres the pair (moved by `centreShift`; the
// speed buttons' pair sits one pixel further in); Spacing alone -1 centres the caption in what the
// margin and glyph leave. `centred` (an Alignment of taCenter) centres as a Margin of -1 does.
TGlyphPlacement PlaceGlyphAndText(TGlyphLayout layout, int margin, int spacing, SIZE client, SIZE glyph, SIZE text,
                                  bool centred, int centreShift);
