// Small routines used across the program: path helpers, the line-break form of the language files,
// the nesting wait cursor, shell folders, process privileges and the after-batch power actions.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

std::string ExtractFileNameOnly(const std::string& path);
// Decode: "#13" -> CR LF (after trimming). Encode: CR LF, then LF, then CR -> "#13" (after trimming).
std::string TranslateLineBreaks(const std::string& text, bool decode);
std::string AddTrailingBackslash(const std::string& path);

void BeginWaitCursor();
void EndWaitCursor();
int WaitCursorDepth();

// A value under HKCU "\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"; empty when the
// key or the value is missing or the value is not text.
std::string GetShellFolder(const std::string& name);

// Enables or disables one privilege of a process (null: the current one). False when the privilege
// could not be looked up, the token could not be adjusted, or the privilege is not held.
bool SetProcessPrivilege(HANDLE process, const std::string& name, bool enable);

// After-batch actions, in the order of the settings window's list.
enum TShutdownAction {
    saCloseProgram = 0,
    saShutdown = 1,
    saLogOff = 2,
    saRestart = 3,
    saHibernate = 4,
    saSuspend = 5,
};

// The system calls behind ShutdownComputer; tests replace them so that nothing really shuts down.
struct TPowerApi {
    std::function<bool(HANDLE, const std::string&, bool)> SetPrivilege;
    std::function<void()> TerminateApplication;
    std::function<void(UINT flags)> ExitSession;
    std::function<void(bool suspend, bool force)> SetPowerState;
};
TPowerApi& PowerApi();
void ResetPowerApi();

void ShutdownComputer(int action);
