#include "OrvUtils.h"

#include <algorithm>

#include "Cursor.h"
#include "Errors.h"
#include "MessageForm.h"
#include "Registry.h"
#include "Strings.h"

std::string ExtractFileNameOnly(const std::string& path)
{
    const size_t slash = path.find_last_of("\\:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string TranslateLineBreaks(const std::string& text, bool decode)
{
    const std::string t = Trim(text);
    if (decode) return StringReplaceAll(t, "#13", "\r\n");
    return StringReplaceAll(StringReplaceAll(StringReplaceAll(t, "\r\n", "#13"), "\n", "#13"), "\r", "#13");
}

std::string AddTrailingBackslash(const std::string& path)
{
    return (!path.empty() && path.back() == '\\') ? path : path + "\\";
}

namespace {
int waitCursorDepth = 0;
}

void BeginWaitCursor()
{
    ++waitCursorDepth;
    SetScreenCursor(crHourGlass);
}

void EndWaitCursor()
{
    if (waitCursorDepth == 0) return;
    if (--waitCursorDepth == 0) SetScreenCursor(crDefault);
}

int WaitCursorDepth() { return waitCursorDepth; }

std::string GetShellFolder(const std::string& name)
{
    try {
        return ReadRegistryString(HKEY_CURRENT_USER, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                  name)
            .value_or("");
    } catch (const ERegistryException&) {
        // A value of another type must not stop the program from starting.
        return "";
    }
}

bool SetProcessPrivilege(HANDLE process, const std::string& name, bool enable)
{
    HANDLE token;
    if (!OpenProcessToken(process ? process : GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    bool ok = false;
    if (LookupPrivilegeValueA(nullptr, name.c_str(), &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        // AdjustTokenPrivileges succeeds even when the privilege is not held; that is a failure here.
        ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
             GetLastError() != ERROR_NOT_ALL_ASSIGNED;
    }
    CloseHandle(token);
    return ok;
}

namespace {

TPowerApi SystemPowerApi()
{
    TPowerApi api;
    api.SetPrivilege = SetProcessPrivilege;
    api.TerminateApplication = [] { PostQuitMessage(0); };
    api.ExitSession = [](UINT flags) { ExitWindowsEx(flags, 0); };
    api.SetPowerState = [](bool suspend, bool force) { SetSystemPowerState(suspend, force); };
    return api;
}

TPowerApi& CurrentPowerApi()
{
    static TPowerApi api = SystemPowerApi();
    return api;
}

}  // namespace

TPowerApi& PowerApi() { return CurrentPowerApi(); }

void ResetPowerApi() { CurrentPowerApi() = SystemPowerApi(); }

void ShutdownComputer(int action)
{
    TPowerApi& api = PowerApi();
    // Closing the program needs no privilege and must work even when it cannot be had.
    if (action == saCloseProgram) {
        api.TerminateApplication();
        return;
    }
    if (action < saShutdown || action > saSuspend) return;
    if (!api.SetPrivilege(nullptr, "SeShutdownPrivilege", true)) return;
    switch (action) {
    case saShutdown: api.ExitSession(EWX_SHUTDOWN | EWX_POWEROFF); break;
    case saLogOff: api.ExitSession(EWX_LOGOFF); break;
    case saRestart: api.ExitSession(EWX_REBOOT); break;
    case saHibernate: api.SetPowerState(false, false); break;
    case saSuspend: api.SetPowerState(true, false); break;
    }
    api.SetPrivilege(nullptr, "SeShutdownPrivilege", false);
}

namespace {

UINT BeepOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return MB_ICONEXCLAMATION;
    case mtError: return MB_ICONHAND;
    case mtConfirmation: return MB_ICONQUESTION;
    default: return MB_OK;
  }
}

// Tests of other windows answer through the prompter; its captions are indexed by TMsgDlgBtn.
int AskPrompter(const std::string& message, const std::string& caption, TMsgDlgType type,
                const std::vector<std::string>& captions, TMsgDlgButtons buttons) {
  TPrompt p;
  p.Text = message;
  p.Caption = caption;
  p.Type = type;
  p.Buttons = buttons;
  p.ButtonCaptions.assign(size_t(mbHelp) + 1, std::string());
  size_t next = 0;
  for (int b = mbYes; b <= mbHelp && next < captions.size(); ++b)
    if ((buttons >> b) & 1u) p.ButtonCaptions[size_t(b)] = captions[next++];
  return Prompter().Ask(p);
}

}  // namespace

int CustomMessageDlg(const std::string& message, const std::string& caption, TMsgDlgType type,
                     const std::vector<std::string>& captions, TMsgDlgButtons buttons) {
  if (PrompterReplaced()) return AskPrompter(message, caption, type, captions, buttons);
  TMessageForm* dialog = nullptr;
  int result = mrCancel;
  try {
    dialog = CreateMessageDialog(message, type, buttons);
    dialog->SetCaption(caption);
    const int n = int(dialog->ButtonList.size());
    int w = 0;
    for (int i = 0; i < n && i < int(captions.size()); ++i) w = std::max(w, dialog->TextWidth(captions[size_t(i)]));
    w = std::max(w + 16, 88);
    const int blockWidth = (w + 12) * n;
    if (dialog->GetWidth() < blockWidth + 32) dialog->SetWidth(blockWidth + 32);
    const int left = (dialog->GetWidth() - blockWidth) / 2;
    for (int i = 0; i < n; ++i) {
      TButton* button = dialog->ButtonList[size_t(i)];
      if (i < int(captions.size())) button->SetCaption(captions[size_t(i)]);
      button->SetBounds(left + (w + 12) * i, button->GetTop(), w, button->GetHeight());
    }
    MessageBeep(BeepOf(type));
    result = dialog->ShowModal();
    if (result == mrNone) result = mrCancel;
  } catch (...) {
    // Callers only act on the answers they asked for; a dialog that failed counts as Cancel.
    result = mrCancel;
  }
  if (dialog) dialog->Free();
  return result;
}
