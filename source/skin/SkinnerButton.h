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
  // The work bitmap of the rectangle's size with the background and the frame of the skin image; its
  // DC with the button's font selected (the old font is returned for restoring).
  HDC PrepareWork(const RECT& r, int frame, HGDIOBJ& oldFont);
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
