// Which control skinner each child control of a skinned window gets. Three tables decide:
//   by class of ours (first matching row; a row holds only while its SkinControls gate holds),
//   by the skin data's Skin3rd rows ("class=kind"; a class named there is never looked up by class),
//   and by window class for windows without an object of ours (system dialogs, message boxes).
// A control whose Tag is the skin data's DisableTag, and a control that already answers SM_ISSKINNED,
// keeps what it has; OnSkinControl, when assigned, decides instead of the tables.
//
// Each row names the skinner class it makes; a skinner family adds itself by filling in the factory
// of its rows (a row whose factory is still empty matches, and so decides, but makes nothing).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class TComponent;
class TControl;
class TWinControl;
class TSkinControl;
class TSkinData;
class TSkinnerForm;
class TCanvas;

using TSkinnerFactory = TSkinControl* (*)(TComponent* owner);
template <class T>
TSkinControl* MakeSkinner(TComponent* owner) {
  return new T(owner);
}

class TControlDispatch;
struct TSkinRule;
// A row's own work (children first, a property set before attaching, several skinners); null: attach
// one skinner of the rule.
using TControlAction = void (*)(TControlDispatch& d, TControl* control, const TSkinRule& rule);
using TWindowAction = void (*)(TControlDispatch& d, HWND window, const TSkinRule& rule);

struct TSkinRule {
  const char* Skinner;   // the skinner class the row makes, "" for none
  TSkinnerFactory Make;  // null while that skinner is not part of the engine
  bool SetColour;        // the control's Color becomes the skin's face colour while skinned
  TControlAction Action;
  TWindowAction WindowAction;
};

// The rules the tables choose (null: none), without attaching anything.
// By Skin3rd: `named` tells whether a row names the class; then the result is its kind's rule, or null
// when the kind makes nothing or its gate fails.
const TSkinRule* ChooseByKind(TSkinData* data, const std::string& classText, bool& named);
const TSkinRule* ChooseByClass(TSkinData* data, TControl* control, const std::string& classText);
const TSkinRule* ChooseByWindowClass(TSkinData* data, HWND window);
// The skinner class that SkinControl would give the control ("" for none), from the same tables.
std::string PlannedSkinner(TSkinData* data, TControl* control);
std::string PlannedWindowSkinner(TSkinData* data, HWND window);
// The Skin3rd kind of a class ("" when no row names it): the text after "=" of the first row that
// starts with the lower-case class name and "=", at most 50 characters.
std::string Skin3rdKind(TSkinData* data, const std::string& classText);

class TControlDispatch {
public:
  TControlDispatch(TSkinnerForm* form, TSkinData* data);

  // The finish of a form skinner: the controls of a form of ours, or the child windows of any other.
  void SkinWindowControls(TControl* form, HWND window);
  void SkinFormControls(TWinControl* form);
  void SkinComponents(TComponent* owner);
  void SkinChildWindows(HWND window);
  void SkinChildWindow(HWND window);
  void SkinControl(TControl* control, TControl* parent);
  void SkinChildren(TControl* control);

  bool IsWindowSkinned(TControl* control);
  bool IsControlSkinned(TControl* control);
  void PropagateDisableTag(TControl* control);

  // Makes the rule's skinner (owned by the control) and attaches it; null when it makes none.
  TSkinControl* Attach(TControl* control, const TSkinRule& rule);
  TSkinControl* Attach(TControl* control, const TSkinRule& rule, bool setColour,
                       const std::function<void(TSkinControl*)>& prepare = {});
  TSkinControl* AttachWindow(HWND window, const TSkinRule& rule);
  // A rule of the class table's skinners by name (for rows that attach more than one kind).
  static const TSkinRule& Rule(const char* skinner);

  TSkinnerForm* Form() const { return FForm; }
  TSkinData* Data() const { return FData; }

private:
  TSkinnerForm* FForm;
  TSkinData* FData;
};
