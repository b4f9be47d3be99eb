#include "Prompter.h"

#include <windows.h>

#include "Controls.h"  // the modal results

namespace {

// A function: the application object sets it during static initialisation, possibly before this file's
// variables are constructed.
std::function<std::string()>& DefaultCaption() {
  static std::function<std::string()> caption;
  return caption;
}

// The system message box: standard button sets map to MB_* flags; custom captions rename the
// buttons through a hook while the box is created.
class TSystemPrompter : public TPrompter {
public:
  int Ask(const TPrompt& p) override;
};

struct TCaptionHook {
  HHOOK Hook = nullptr;
  std::vector<std::pair<int, std::string>> Captions;  // control id -> text
};
thread_local TCaptionHook* gHook = nullptr;

LRESULT CALLBACK CaptionHookProc(int code, WPARAM w, LPARAM l) {
  TCaptionHook* h = gHook;
  if (code == HCBT_ACTIVATE && h) {
    for (const auto& c : h->Captions) SetDlgItemTextA(HWND(w), c.first, c.second.c_str());
  }
  return CallNextHookEx(h ? h->Hook : nullptr, code, w, l);
}

int TSystemPrompter::Ask(const TPrompt& p) {
  auto has = [&](TMsgDlgBtn b) { return (p.Buttons >> b) & 1u; };
  UINT flags;
  if (has(mbYes) && has(mbNo) && has(mbCancel))
    flags = MB_YESNOCANCEL;
  else if (has(mbYes) && has(mbNo))
    flags = MB_YESNO;
  else if (has(mbAbort) && has(mbRetry) && has(mbIgnore))
    flags = MB_ABORTRETRYIGNORE;
  else if (has(mbRetry) && has(mbCancel))
    flags = MB_RETRYCANCEL;
  else if (has(mbOK) && has(mbCancel))
    flags = MB_OKCANCEL;
  else
    flags = MB_OK;
  switch (p.Type) {
    case mtWarning: flags |= MB_ICONWARNING; break;
    case mtError: flags |= MB_ICONERROR; break;
    case mtInformation: flags |= MB_ICONINFORMATION; break;
    case mtConfirmation: flags |= MB_ICONQUESTION; break;
    default: break;
  }
  TCaptionHook hook;
  static const int ids[] = {IDYES, IDNO, IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, 0, 0, 0, 0};
  for (size_t i = 0; i < p.ButtonCaptions.size() && i < 11; ++i)
    if (ids[i] && !p.ButtonCaptions[i].empty()) hook.Captions.push_back({ids[i], p.ButtonCaptions[i]});
  if (!hook.Captions.empty()) {
    hook.Hook = SetWindowsHookExA(WH_CBT, CaptionHookProc, nullptr, GetCurrentThreadId());
    gHook = &hook;
  }
  std::string caption = p.Caption.empty() && DefaultCaption() ? DefaultCaption()() : p.Caption;
  HWND owner = GetActiveWindow();
  int r = MessageBoxA(owner, p.Text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
  if (hook.Hook) UnhookWindowsHookEx(hook.Hook);
  gHook = nullptr;
  return r;
}

TSystemPrompter gSystemPrompter;
TPrompter* gPrompter = nullptr;

}  // namespace

TPrompter& Prompter() { return gPrompter ? *gPrompter : gSystemPrompter; }

bool PrompterReplaced() { return gPrompter != nullptr; }

TPrompter* SetPrompter(TPrompter* prompter) {
  TPrompter* old = gPrompter;
  gPrompter = prompter;
  return old;
}

void ShowMessage(const std::string& text) {
  TPrompt p;
  p.Text = text;
  p.Type = mtCustom;
  Prompter().Ask(p);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  TPrompt p;
  p.Text = text;
  p.Type = type;
  p.Buttons = buttons;
  return Prompter().Ask(p);
}

int PromptMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TPrompt p;
  p.Text = text;
  p.Caption = caption;
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: p.Buttons = Buttons({mbOK, mbCancel}); break;
    case MB_ABORTRETRYIGNORE: p.Buttons = Buttons({mbAbort, mbRetry, mbIgnore}); break;
    case MB_YESNOCANCEL: p.Buttons = Buttons({mbYes, mbNo, mbCancel}); break;
    case MB_YESNO: p.Buttons = Buttons({mbYes, mbNo}); break;
    case MB_RETRYCANCEL: p.Buttons = Buttons({mbRetry, mbCancel}); break;
    default: p.Buttons = Buttons({mbOK});
  }
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND: p.Type = mtError; break;
    case MB_ICONQUESTION: p.Type = mtConfirmation; break;
    case MB_ICONEXCLAMATION: p.Type = mtWarning; break;
    case MB_ICONASTERISK: p.Type = mtInformation; break;
    default: p.Type = mtCustom;
  }
  return Prompter().Ask(p);
}

int TRecordingPrompter::Ask(const TPrompt& prompt) {
  Prompts.push_back(prompt);
  if (!Answers.empty()) {
    int a = Answers.front();
    Answers.erase(Answers.begin());
    return a;
  }
  static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  for (int b = 0; b <= mbHelp; ++b)
    if ((prompt.Buttons >> b) & 1u) return results[b];
  return mrOk;
}

void SetDefaultPromptCaption(std::function<std::string()> caption) { DefaultCaption() = std::move(caption); }
