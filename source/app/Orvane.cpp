// Program entry: paths, the language file (read, then written back so missing keys are filled in),
// the media library, then the main window and the message loop until the application terminates.
#include <windows.h>

#include "Forms.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "globals.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Application->Initialize();
    InitGlobals();
    if (!ReadLanguageFile()) return 0;  // it has shown its message
    WriteLanguageFile();
    // A missing library shows up as files the list refuses with the format message.
    LoadMediaInfoDll();
    Application->CreateForm(frmMain);
    Application->Run();
    return 0;
}
