// Profile folders and profile lists: one folder per output format below Options.ProfileDir, profile
// files named <profile>.<ext> where ext is the first two letters of the format's short name plus "o".
// The main window's CreateProfileDirs, ProfileExt, FillProfileCombo and LoadProfileLists are built on
// these routines.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "globals.h"

struct TProfileFolder {
    TOutputFormat Format;
    const char* ShortName;            // the folder's name: "avi", "mp4", "3gp", "mpg", ...
    std::string TOptions::*Folder;    // the Options field that holds the folder
};

// The sixteen formats in the order their folders are stored and created.
const std::vector<TProfileFolder>& ProfileFolders();
const TProfileFolder& ProfileFolderOf(TOutputFormat format);
// The order in which the main window fills its sixteen lists.
const std::vector<TOutputFormat>& ProfileListFillOrder();

// First two characters of the short name followed by "o" (avi -> avo, rm -> rmo).
std::string ProfileExt(const std::string& shortName);
// Options folder of the format (set by CreateProfileDirs).
std::string ProfileFolderPath(TOutputFormat format);
// <folder>*.<ext>: the pattern a format's list is filled from.
std::string ProfilePattern(TOutputFormat format);
// <folder><name>.<ext>: the file of one profile.
std::string ProfileFilePath(TOutputFormat format, const std::string& name);

// Sets the sixteen Options folders from Options.ProfileDir and creates each (with missing parents), in
// table order; stops at the first that cannot be created. True when all sixteen exist.
bool CreateProfileDirs();

// The names (without the part from the last dot on) of every entry matching the pattern, in the file
// system's order; folders whose names match count as well.
std::vector<std::string> ListProfileNames(const std::string& pattern);
// The entry to select after a fill: the one equal to `select` ignoring case, the first when `select` is
// empty, -1 for none.
int ProfileIndexToSelect(const std::vector<std::string>& names, const std::string& select);

// What the main window's LoadProfileLists does without its combo boxes: creates the folders and calls
// `fill` with each format and its pattern in fill order. When a folder cannot be created it shows
// "Create profile directory error!" (owned by `owner`), asks the application to end and returns false
// without filling anything.
bool LoadProfileLists(HWND owner, const std::function<void(TOutputFormat format, const std::string& pattern)>& fill);

// The two outside effects of LoadProfileLists' failure path; tests replace them.
struct TProfileListActions {
    std::function<void(HWND owner, const std::string& text, const std::string& caption)> ShowWarning;
    std::function<void()> TerminateApplication;
};
TProfileListActions& ProfileListActions();
