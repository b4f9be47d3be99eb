#include "ShellOpen.h"

#include <shellapi.h>

namespace {
TShellOpen& ShellOpenFn() {
  static TShellOpen fn = [](HWND owner, const std::string& verb, const std::string& file) {
    ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  return fn;
}
}  // namespace

TShellOpen SetShellOpen(TShellOpen open) {
  TShellOpen old = ShellOpenFn();
  if (open) ShellOpenFn() = std::move(open);
  return old;
}

void OpenWithShell(HWND owner, const std::string& verb, const std::string& file) { ShellOpenFn()(owner, verb, file); }
