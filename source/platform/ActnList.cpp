#include "ActnList.h"

#include <algorithm>
#include <cctype>

#include "Strings.h"

namespace {
struct TKeyName {
  int Key;
  const char* Name;
};
const TKeyName kKeyNames[] = {{VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"},
                              {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
                              {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
                              {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}};

std::string KeyName(int key) {
  for (const TKeyName& k : kKeyNames)
    if (k.Key == key) return k.Name;
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  return "";
}
}  // namespace

int TextToShortCut(const std::string& text) {
  std::string rest = Trim(text);
  int mods = 0;
  for (;;) {
    size_t plus = rest.find('+');
    if (plus == std::string::npos || plus == rest.size() - 1) break;
    std::string mod = rest.substr(0, plus);
    if (SameText(mod, "Shift")) mods |= scShift;
    else if (SameText(mod, "Ctrl")) mods |= scCtrl;
    else if (SameText(mod, "Alt")) mods |= scAlt;
    else return 0;
    rest = rest.substr(plus + 1);
  }
  if (rest.empty()) return 0;
  for (int key = 1; key < 256; ++key) {
    std::string name = KeyName(key);
    if (!name.empty() && SameText(name, rest)) return mods | key;
  }
  return 0;
}

int ShortCutOfKeyMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return 0;
  int sc = int(msg.wParam & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) sc |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) sc |= scCtrl;
  if ((msg.lParam & (1 << 29)) || GetKeyState(VK_MENU) < 0) sc |= scAlt;  // bit 29: Alt held
  return sc;
}

std::string ShortCutToText(int shortCut) {
  std::string name = KeyName(shortCut & 0xFF);
  if (name.empty()) return "";
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

ORV_DEFINE_CLASS(TBasicAction, TComponent, nullptr,
                 {EventProp("OnExecute", &TBasicAction::OnExecute), EventProp("OnUpdate", &TBasicAction::OnUpdate)})

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

ORV_DEFINE_CLASS(TAction, TBasicAction, FactoryOf<TAction>(),
                 {StrProp<TAction>("Caption", &TAction::GetCaption, &TAction::SetCaption),
                  BoolProp<TAction>("Checked", &TAction::GetChecked, &TAction::SetChecked),
                  BoolProp<TAction>("Enabled", &TAction::GetEnabled, &TAction::SetEnabled),
                  StrProp<TAction>("Hint", &TAction::GetHint, &TAction::SetHint),
                  StrProp<TAction>("ShortCut", &TAction::GetShortCutText, &TAction::SetShortCutText),
                  BoolProp<TAction>("Visible", &TAction::GetVisible, &TAction::SetVisible)})

TAction::~TAction() {
  for (TClient& c : FClients) c.Component->RemoveFreeNotification(this);
  if (FActionList) FActionList->RemoveAction(this);
}

void TAction::SetActionList(TActionList* list) {
  if (FActionList == list) return;
  if (FActionList) FActionList->RemoveAction(this);
  FActionList = list;
  if (list) list->AddAction(this);
}

void TAction::SetParentComponent(TComponent* parent) {
  if (auto* list = As<TActionList>(parent)) SetActionList(list);
}

bool TAction::Execute() {
  if (!FEnabled) return false;
  return TBasicAction::Execute();
}

bool TAction::Update() {
  if (TBasicAction::Update()) return true;
  if (!FActionList || !FActionList->OnUpdate) return false;
  bool handled = false;
  FActionList->OnUpdate(this, handled);
  return handled;
}

void TAction::AddClient(TComponent* client, TClientUpdate update) {
  RemoveClient(client);
  FClients.push_back({client, std::move(update)});
  client->FreeNotification(this);
  FClients.back().Update(this);
}

void TAction::RemoveClient(TComponent* client) {
  FClients.erase(std::remove_if(FClients.begin(), FClients.end(),
                                [client](const TClient& c) { return c.Component == client; }),
                 FClients.end());
}

void TAction::Notification(TComponent* c, TOperation op) {
  TBasicAction::Notification(c, op);
  if (op == opRemove) RemoveClient(c);
}

void TAction::Changed() {
  std::vector<TClient> clients = FClients;  // a client may unlink itself while it updates
  for (TClient& c : clients) c.Update(this);
}

ORV_DEFINE_CLASS(TActionList, TComponent, FactoryOf<TActionList>(), {EventProp("OnUpdate", &TActionList::OnUpdate)})

TActionList::~TActionList() {
  for (TAction* a : std::vector<TAction*>(FActions)) a->SetActionList(nullptr);
}

void TActionList::AddAction(TAction* a) {
  if (std::find(FActions.begin(), FActions.end(), a) == FActions.end()) FActions.push_back(a);
}

void TActionList::RemoveAction(TAction* a) { FActions.erase(std::remove(FActions.begin(), FActions.end(), a), FActions.end()); }

void TActionList::UpdateActions() {
  bool handled = false;
  if (OnUpdate) OnUpdate(nullptr, handled);
}

bool TActionList::IsShortCut(int shortCut) {
  if (shortCut == 0) return false;
  for (TAction* a : FActions)
    if (a->GetShortCut() == shortCut && a->GetEnabled() && a->GetVisible()) {
      a->Execute();
      return true;
    }
  return false;
}

void LinkAction(TControl* control, TAction* action, std::function<void(bool)> setChecked) {
  control->OnClick = [action](TObject*) { action->Execute(); };
  action->AddClient(control, [control, setChecked](TAction* a) {
    control->SetEnabled(a->GetEnabled());
    control->SetVisible(a->GetVisible());
    if (setChecked) setChecked(a->GetChecked());
  });
}
