// The hot objects of a skinned window's non-client area: caption buttons (TWinSysButton) and, with
// the skinned menu bar, its items. Each has a rectangle in window coordinates and a state; the form
// skinner keeps one slot for the object that is hot or pressed, and the mouse handlers of the frame
// move the objects through normal -> hot -> pressed -> hot -> normal.
#pragma once

#include <windows.h>

#include "Component.h"

class TSkinnerForm;
class TDataSkinSysButton;

enum TNCState { ncNormal = 1, ncPressed = 2, ncHot = 3 };

class TNCObject : public TObject {
public:
  explicit TNCObject(TSkinnerForm* form) : Form(form) {}
  // The mouse went down or up on it, came over it or left it; each repaints when the state changes.
  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}
  // After the mouse went down on it: a menu-bar item opens its popup (and stays the hot object).
  virtual void OpenPopup() {}

  TSkinnerForm* Form;
  RECT Rect{};  // window coordinates
  bool Visible = false;
  int State = ncNormal;
  bool Enabled = true;
};

// One caption button, drawn from its element of the skin's title buttons.
class TWinSysButton : public TNCObject {
public:
  TWinSysButton(TSkinnerForm* form, TDataSkinSysButton* element) : TNCObject(form), Element(element) {}
  void Paint() override;
  TDataSkinSysButton* Element;
};

// Hit-test code of a caption button's Action: the system's code for the button it stands for,
// HTCAPTION for the skin's own buttons.
int SysButtonHitCode(int action);
