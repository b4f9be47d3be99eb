// System libraries that only the main window and later actions need (common controls, common dialogs,
// the shell, visual styles, transparent blits) are bound on the first call of one of their functions
// rather than when the process starts, so the program reaches its first window without waiting for
// them. The calls themselves are written as usual; DelayLoad.cpp supplies their import slots.
#pragma once

#include <vector>

// The libraries bound on first use, by file name.
const std::vector<const char*>& DelayLoadedLibraries();

// Loads those libraries on a background thread, so that they are in memory by the time their first
// function is called. Returns at once; calling it again does nothing.
void LoadDelayedLibrariesInBackground();
