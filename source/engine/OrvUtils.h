// Small routines used across the program: path helpers, the line-break form of the language files,
// the nesting wait cursor, shell folders, process privileges and the after-batch power actions.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Prompter.h"

std::string ExtractFileNameOnly(const std::string& path);
// Decode: "#13" -> CR LF (after trimming). Encode: CR LF, then LF, then CR -> "#13" (after trimming).
std::string TranslateLineBreaks(const std::string& text, bool decode);
std::string AddTrailingBackslash(const std::string& path);

void BeginWaitCursor();
void EndWaitCursor();
int WaitCursorDepth();

// The standard message dialog with the caller's button captions: the i-th caption names the i-th
// button of the set, the buttons taken in the fixed order of TMsgDlgBtn (Yes, No, OK, Cancel, Abort,
// Retry, Ignore, All, No to all, Yes to all, Help); a missing caption keeps the standard one. The buttons share one width wide enough for the
// longest caption (at least 88) and are centred as a block 12 pixels apart. Returns the pressed
// button's modal result, mrCancel (2) when the dialog is closed otherwise, and also mrCancel when the
// dialog cannot be built or shown: callers act only on the answers they ask for, so a failure reads as
// a refusal. With a test prompter installed the question goes to it instead.
int CustomMessageDlg(const std::string& message, const std::string& caption, TMsgDlgType type,
                     const std::vector<std::string>& captions, TMsgDlgButtons buttons);

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
