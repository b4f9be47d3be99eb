// Actions: one command with its caption, enabled/checked state and short cut, executed from every
// control or menu item bound to it. A control follows its action through LinkAction.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

// Short cuts: a virtual-key code plus these modifier bits.
constexpr int scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+A", "Shift+Del", "F1", "Alt+N", "Ctrl+Del"; 0 for an empty or unknown text.
int TextToShortCut(const std::string& text);
std::string ShortCutToText(int shortCut);
// The short cut a WM_KEYDOWN or WM_SYSKEYDOWN stands for: its key with the Shift, Ctrl and Alt held;
// 0 for any other message.
int ShortCutOfKeyMessage(const MSG& msg);

class TActionList;

class TBasicAction : public TComponent {
  ORV_CLASS(TBasicAction)
public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  // Runs OnExecute; false when nothing handles the action.
  virtual bool Execute();
  // Brings the action's state up to date before it is shown: runs OnUpdate; false when nothing
  // handles it.
  virtual bool Update();
  TNotifyEvent OnExecute, OnUpdate;
};

// The caption and the three switches an action and a menu item both carry; a real change calls the
// class's Changed.
class TCaptionedState {
public:
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) { if (ChangeField(FCaption, v)) Changed(); }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v) { if (ChangeField(FChecked, v)) Changed(); }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { if (ChangeField(FEnabled, v)) Changed(); }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v) { if (ChangeField(FVisible, v)) Changed(); }

protected:
  ~TCaptionedState() = default;
  virtual void Changed() = 0;
  std::string FCaption;
  bool FChecked = false, FEnabled = true, FVisible = true;
};

class TAction : public TBasicAction, public TCaptionedState {
  ORV_CLASS(TAction)
public:
  explicit TAction(TComponent* owner) : TBasicAction(owner) {}
  ~TAction() override;
  std::string GetHint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  int GetShortCut() const { return FShortCut; }
  void SetShortCut(int v) { FShortCut = v; }
  std::string GetShortCutText() const { return ShortCutToText(FShortCut); }
  void SetShortCutText(const std::string& v) { FShortCut = TextToShortCut(v); }
  TActionList* ActionList() const { return FActionList; }
  void SetActionList(TActionList* list);
  void SetParentComponent(TComponent* parent) override;
  // A disabled action does nothing.
  bool Execute() override;
  // Its own OnUpdate, or else its list's OnUpdate with this action.
  bool Update() override;

  // Every client is told of each change of caption, state or visibility.
  using TClientUpdate = std::function<void(TAction*)>;
  void AddClient(TComponent* client, TClientUpdate update);
  void RemoveClient(TComponent* client);
  void Notification(TComponent* c, TOperation op) override;

private:
  void Changed() override;
  std::string FHint;
  int FShortCut = 0;
  TActionList* FActionList = nullptr;
  struct TClient {
    TComponent* Component;
    TClientUpdate Update;
  };
  std::vector<TClient> FClients;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TActionList : public TComponent {
  ORV_CLASS(TActionList)
public:
  explicit TActionList(TComponent* owner) : TComponent(owner) {}
  ~TActionList() override;
  int ActionCount() const { return int(FActions.size()); }
  TAction* Actions(int i) const { return FActions.at(size_t(i)); }
  void AddAction(TAction* a);
  void RemoveAction(TAction* a);
  // Runs OnUpdate (the program calls it when its state changed and when the loop is idle).
  void UpdateActions();
  // Executes the enabled action with this short cut; true when there was one.
  bool IsShortCut(int shortCut);
  TActionEvent OnUpdate;

private:
  std::vector<TAction*> FActions;
};

// Binds a control to an action: a click executes the action, and the control takes the action's
// enabled state and visibility now and at every change (check boxes and radio buttons also the
// checked state, through `setChecked` when given).
void LinkAction(TControl* control, TAction* action, std::function<void(bool)> setChecked = nullptr);
