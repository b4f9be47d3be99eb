// The frame controller: one component that sets the frame look of many framed controls, the link
// a control keeps to it, and the property-table entries every framed control publishes for it.
#pragma once

#include <vector>

#include "FcCommon.h"
#include "FcRegIniFile.h"

class TFcFrameController;

// The framing-notification interface: a control that takes a controller's settings itself.
class IFcFrameNotify {
public:
  virtual void UpdateFrame(TFcFrameController* controller) = 0;

protected:
  ~IFcFrameNotify() = default;
};

// One place to set the frame look of many controls. Every change of a setting is pushed to the listed
// controls: a control with IFcFrameNotify runs its UpdateFrame, any other gets the setting written into its
// published property of the same name when its FrameControllerNotifications hold that setting.
class TFcFrameController : public TComponent {
  ORV_CLASS(TFcFrameController)
public:
  explicit TFcFrameController(TComponent* owner);
  ~TFcFrameController() override;
  void Assign(TPersistent* source) override;  // all settings of another controller, in one update
  void Loaded() override;
  void Notification(TComponent* component, TOperation op) override;

  // Pushes are held back while updating; ending the last update pushes everything.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void AddControl(TControl* control);  // and pushes everything to it
  void RemoveControl(TControl* control);
  const std::vector<TControl*>& Controls() const { return FControls; }
  // The setting as an ordinal, as its property reads it.
  int64_t Setting(TFcFrameControllerProperty p) const;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TColor GetDisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor v) { Set(FDisabledColor, v, fcpDisabledColor); }
  TColor GetReadOnlyColor() const { return FReadOnlyColor; }
  void SetReadOnlyColor(TColor v) { Set(FReadOnlyColor, v, fcpReadOnlyColor); }
  bool GetReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
  void SetReadOnlyColorOnFocus(bool v) { Set(FReadOnlyColorOnFocus, v, fcpReadOnlyColorOnFocus); }
  TColor GetFlatButtonColor() const { return FFlatButtonColor; }
  void SetFlatButtonColor(TColor v) { Set(FFlatButtonColor, v, fcpFlatButtonColor); }
  bool GetFlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool v) { Set(FFlatButtons, v, fcpFlatButtons); }
  TColor GetFocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v) { Set(FFocusColor, v, fcpFocusColor); }
  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v) { Set(FFrameColor, v, fcpFrameColor); }
  TColor GetFrameHotColor() const { return FFrameHotColor; }
  void SetFrameHotColor(TColor v) { Set(FFrameHotColor, v, fcpFrameHotColor); }
  TFrameStyle GetFrameHotStyle() const { return FFrameHotStyle; }
  void SetFrameHotStyle(TFrameStyle v) { Set(FFrameHotStyle, v, fcpFrameHotStyle); }
  bool GetFrameHotTrack() const { return FFrameHotTrack; }
  void SetFrameHotTrack(bool v);
  TSides GetFrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides v) { Set(FFrameSides, v & AllSides, fcpFrameSides); }
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v, fcpFrameStyle); }
  bool GetFrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool v) { Set(FFrameVisible, v, fcpFrameVisible); }
  TFramingPreference GetFramingPreference() const { return FFramingPreference; }
  void SetFramingPreference(TFramingPreference v) { Set(FFramingPreference, v, fcpFramingPreference); }
  TFcRegIniFile* GetRegIniFile() const { return FRegIniFile; }
  void SetRegIniFile(TFcRegIniFile* v);

private:
  template <class T>
  void Set(T& field, T v, TFcFrameControllerProperty p) {
    if (field == v) return;
    field = v;
    Push(p);
  }
  void Push(TFcFrameControllerProperty p);
  void PushTo(TControl* control, TFcFrameControllerProperty p);
  void PushAll();
  void PushAllTo(TControl* control);

  TColor FColor = clWindow;
  bool FParentColor = false;
  TColor FDisabledColor = clBtnFace, FReadOnlyColor = clInfoBk;
  bool FReadOnlyColorOnFocus = false;
  TColor FFlatButtonColor = clBtnFace;
  bool FFlatButtons = true;
  TColor FFocusColor = clWindow, FFrameColor = clBtnShadow, FFrameHotColor = clBtnShadow;
  TFrameStyle FFrameHotStyle = fsFlatBold;
  bool FFrameHotTrack = false;
  TSides FFrameSides = AllSides;
  TFrameStyle FFrameStyle = fsFlat;
  bool FFrameVisible = false;
  TFramingPreference FFramingPreference = fpXPThemes;
  TFcRegIniFile* FRegIniFile = nullptr;
  int FUpdateCount = 0;
  std::vector<TControl*> FControls;
};

// A control's link to its frame controller: joins and leaves the controller's list and asks for its removal
// notice, so that the control never keeps a controller that has gone. The control forwards its
// Notification here and frees the link before it goes.
class TFcFrameControllerLink {
public:
  explicit TFcFrameControllerLink(TControl* control) : FControl(control) {}
  ~TFcFrameControllerLink() { Set(nullptr); }
  TFcFrameControllerLink(const TFcFrameControllerLink&) = delete;
  TFcFrameControllerLink& operator=(const TFcFrameControllerLink&) = delete;
  TFcFrameController* Get() const { return FController; }
  void Set(TFcFrameController* controller);
  void Removed(TComponent* component) {
    if (component == FController) FController = nullptr;
  }
  // Which settings the controller may push (bit n for TFcFrameControllerProperty n).
  TFcFrameControllerNotifications Notifications = AllFrameNotifications;
  bool Takes(TFcFrameControllerProperty p) const { return (Notifications >> p) & 1u; }

private:
  TControl* FControl;
  TFcFrameController* FController = nullptr;
};

// The properties every framed control publishes for its controller; C has FrameLink().
template <class C>
TPropInfo FrameControllerProp() {
  TPropInfo p;
  p.Name = "FrameController";
  p.Kind = pkComponent;
  p.ObjectClass = &TFcFrameController::StaticClassInfo();
  p.GetObj = [](TObject* o) -> TObject* { return static_cast<C*>(o)->FrameLink().Get(); };
  p.SetObj = [](TObject* o, TObject* v) { static_cast<C*>(o)->FrameLink().Set(static_cast<TFcFrameController*>(v)); };
  return p;
}
template <class C>
TPropInfo FrameControllerNotificationsProp() {
  TPropInfo p;
  p.Name = "FrameControllerNotifications";
  p.Kind = pkSet;
  p.EnumNames = FrameControllerPropertyNames();
  p.GetOrd = [](TObject* o) -> int64_t { return static_cast<C*>(o)->FrameLink().Notifications; };
  p.SetOrd = [](TObject* o, int64_t v) {
    static_cast<C*>(o)->FrameLink().Notifications = TFcFrameControllerNotifications(v);
  };
  return p;
}

// Older form data of the controller and the edits: "FrameFlat" turned on hot tracking with a status frame
// and a lowered hot frame.
template <class C>
TPropInfo FrameFlatProp() {
  TPropInfo p = BoolProp<C>("FrameFlat", &C::GetFrameHotTrack, nullptr);
  p.SetOrd = [](TObject* o, int64_t v) {
    auto* c = static_cast<C*>(o);
    c->SetFrameHotTrack(v != 0);
    if (v) {
      c->SetFrameStyle(fsStatus);
      c->SetFrameHotStyle(fsLowered);
    }
  };
  return p;
}
