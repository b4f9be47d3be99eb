#include "FcFrameController.h"

namespace {

using FC = TFcFrameController;

// The property names the settings are pushed under: the member names without "fcp".
std::string SettingName(TFcFrameControllerProperty p) { return FrameControllerPropertyNames()[p].substr(3); }

// The order of a full push.
const TFcFrameControllerProperty FullPushOrder[] = {
    fcpParentColor, fcpColor,      fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides,  fcpFrameStyle, fcpFrameVisible,  fcpFramingPreference};

}  // namespace

ORV_DEFINE_CLASS(
    TFcFrameController, TComponent, FactoryOf<TFcFrameController>(),
    {IntProp<FC>("Color", &FC::GetColor, &FC::SetColor, &ColorIdents()),
     BoolProp<FC>("ParentColor", &FC::GetParentColor, &FC::SetParentColor),
     IntProp<FC>("DisabledColor", &FC::GetDisabledColor, &FC::SetDisabledColor, &ColorIdents()),
     IntProp<FC>("ReadOnlyColor", &FC::GetReadOnlyColor, &FC::SetReadOnlyColor, &ColorIdents()),
     BoolProp<FC>("ReadOnlyColorOnFocus", &FC::GetReadOnlyColorOnFocus, &FC::SetReadOnlyColorOnFocus),
     IntProp<FC>("FlatButtonColor", &FC::GetFlatButtonColor, &FC::SetFlatButtonColor, &ColorIdents()),
     BoolProp<FC>("FlatButtons", &FC::GetFlatButtons, &FC::SetFlatButtons),
     IntProp<FC>("FocusColor", &FC::GetFocusColor, &FC::SetFocusColor, &ColorIdents()),
     IntProp<FC>("FrameColor", &FC::GetFrameColor, &FC::SetFrameColor, &ColorIdents()),
     IntProp<FC>("FrameHotColor", &FC::GetFrameHotColor, &FC::SetFrameHotColor, &ColorIdents()),
     EnumProp<FC, TFrameStyle>("FrameHotStyle", FrameStyleNames(), &FC::GetFrameHotStyle, &FC::SetFrameHotStyle),
     BoolProp<FC>("FrameHotTrack", &FC::GetFrameHotTrack, &FC::SetFrameHotTrack),
     SetProp<FC>("FrameSides", SideNames(), &FC::GetFrameSides, &FC::SetFrameSides),
     EnumProp<FC, TFrameStyle>("FrameStyle", FrameStyleNames(), &FC::GetFrameStyle, &FC::SetFrameStyle),
     BoolProp<FC>("FrameVisible", &FC::GetFrameVisible, &FC::SetFrameVisible),
     EnumProp<FC, TFramingPreference>("FramingPreference", FramingPreferenceNames(), &FC::GetFramingPreference,
                                      &FC::SetFramingPreference),
     RefProp<FC, TFcRegIniFile>("RegIniFile", &FC::GetRegIniFile, &FC::SetRegIniFile),
     FrameFlatProp<FC>(),
     EnumProp<FC, TFrameStyle>("FrameFocusStyle", FrameStyleNames(), &FC::GetFrameHotStyle, &FC::SetFrameHotStyle),
     TFcOldPropReader::Identifier("FrameFlatStyle", FrameStyleNames())})

TFcFrameController::TFcFrameController(TComponent* owner) : TComponent(owner) {}

TFcFrameController::~TFcFrameController() {
  // The controls hear of it through their removal notice and clear their links.
  FControls.clear();
}

void TFcFrameController::SetColor(TColor v) {
  if (FColor == v) return;
  if (FFocusColor == FColor) FFocusColor = v;  // a focus colour that was the colour moves along
  FColor = v;
  FParentColor = false;
  Push(fcpColor);
}

void TFcFrameController::SetParentColor(bool v) {
  if (FParentColor == v) return;
  FParentColor = v;
  Push(fcpParentColor);
  if (!v) Push(fcpColor);
}

void TFcFrameController::SetFrameHotTrack(bool v) {
  if (FFrameHotTrack == v) return;
  FFrameHotTrack = v;
  if (v) {
    FFrameVisible = true;
    if (!IsLoading()) FFrameSides = AllSides;
  }
  Push(fcpFrameHotTrack);
}

void TFcFrameController::SetRegIniFile(TFcRegIniFile* v) {
  if (FRegIniFile == v) return;
  if (FRegIniFile) RemoveFreeNotification(FRegIniFile);
  FRegIniFile = v;
  if (v) FreeNotification(v);
}

void TFcFrameController::Notification(TComponent* component, TOperation op) {
  TComponent::Notification(component, op);
  if (op != opRemove) return;
  if (component == FRegIniFile) FRegIniFile = nullptr;
  FControls.erase(std::remove(FControls.begin(), FControls.end(), component), FControls.end());
}

void TFcFrameController::Assign(TPersistent* source) {
  auto* c = As<TFcFrameController>(source);
  if (!c) return TComponent::Assign(source);
  BeginUpdate();
  FColor = c->FColor, FParentColor = c->FParentColor, FDisabledColor = c->FDisabledColor;
  FReadOnlyColor = c->FReadOnlyColor, FReadOnlyColorOnFocus = c->FReadOnlyColorOnFocus;
  FFlatButtonColor = c->FFlatButtonColor, FFlatButtons = c->FFlatButtons, FFocusColor = c->FFocusColor;
  FFrameColor = c->FFrameColor, FFrameHotColor = c->FFrameHotColor, FFrameHotStyle = c->FFrameHotStyle;
  FFrameHotTrack = c->FFrameHotTrack, FFrameSides = c->FFrameSides, FFrameStyle = c->FFrameStyle;
  FFrameVisible = c->FFrameVisible, FFramingPreference = c->FFramingPreference;
  EndUpdate();
}

void TFcFrameController::Loaded() {
  TComponent::Loaded();
  PushAll();
}

void TFcFrameController::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) PushAll();
}

void TFcFrameController::AddControl(TControl* control) {
  if (!control || std::find(FControls.begin(), FControls.end(), control) != FControls.end()) return;
  FControls.push_back(control);
  if (FUpdateCount == 0 && !IsLoading()) PushAllTo(control);
}

void TFcFrameController::RemoveControl(TControl* control) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
  if (FControls.empty()) std::vector<TControl*>().swap(FControls);
}

int64_t TFcFrameController::Setting(TFcFrameControllerProperty p) const {
  return GetOrdProp(const_cast<TFcFrameController*>(this), SettingName(p));
}

void TFcFrameController::Push(TFcFrameControllerProperty p) {
  if (FUpdateCount > 0 || IsLoading()) return;
  std::vector<TControl*> controls = FControls;  // a control may leave while it takes the setting
  for (TControl* c : controls) PushTo(c, p);
}

void TFcFrameController::PushTo(TControl* control, TFcFrameControllerProperty p) {
  if (auto* notify = dynamic_cast<IFcFrameNotify*>(control)) return notify->UpdateFrame(this);
  const std::string name = SettingName(p);
  if (!HasProp(control, name)) return;
  int64_t takes = HasProp(control, "FrameControllerNotifications")
                      ? GetOrdProp(control, "FrameControllerNotifications")
                      : int64_t(AllFrameNotifications);
  if ((takes >> p) & 1) SetOrdProp(control, name, Setting(p));
}

void TFcFrameController::PushAllTo(TControl* control) {
  if (dynamic_cast<IFcFrameNotify*>(control)) return PushTo(control, fcpColor);  // it takes them all at once
  for (TFcFrameControllerProperty p : FullPushOrder)
    if (p != fcpColor || !FParentColor) PushTo(control, p);
}

void TFcFrameController::PushAll() {
  if (FUpdateCount > 0 || IsLoading()) return;
  std::vector<TControl*> controls = FControls;
  for (TControl* c : controls) PushAllTo(c);
}

void TFcFrameControllerLink::Set(TFcFrameController* controller) {
  if (controller == FController) return;
  if (FController) {
    FController->RemoveControl(FControl);
    FControl->RemoveFreeNotification(FController);
  }
  FController = controller;
  if (controller) {
    FControl->FreeNotification(controller);
    controller->AddControl(FControl);
  }
}
