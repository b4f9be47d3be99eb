// How the windows open files, folders and addresses with the shell; tests record instead.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

using TShellOpen = std::function<void(HWND owner, const std::string& verb, const std::string& file)>;
// Replaces the opener and returns the one before; with nothing, only returns the current one.
TShellOpen SetShellOpen(TShellOpen open);
// Opens `file` with `verb` ("" for the default verb) through the current opener. The result is not
// examined: without a browser or mail program nothing happens.
void OpenWithShell(HWND owner, const std::string& verb, const std::string& file);
