// Program entry: GDI+ before any window, paths, the language file, the media library (loaded with the
// first file), the splash window for one timer tick with the language file written back (missing keys
// filled in) and the main window made meanwhile, then the message loop until the application terminates.
#include <windows.h>

#include <exception>

#include "DelayLoad.h"
#include "Forms.h"
#include "GdiPlusObjects.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "SplashWnd.h"
#include "Thread.h"
#include "globals.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    StartGdiPlus();  // the layered windows draw through it
    Application->Initialize();
    InitGlobals();
    if (!ReadLanguageFile()) {  // it has shown its message
        ShutdownGdiPlus();
        return 0;
    }
    // Loaded with the first file; when it cannot be loaded, adding files says so once.
    LoadMediaInfoDllOnFirstUse();
    // Owned by the application, which frees it at the end; shown once.
    frmSplash = new TfrmSplash(Application);
    // While the splash window shows, the libraries that only the main window needs come into memory.
    LoadDelayedLibrariesInBackground();
    // The main window is made while the splash shows; it stays hidden until the message loop shows it,
    // after the splash has closed. A failure surfaces where it always did: once the splash has gone.
    // The language file is written back (missing keys filled in) first; nothing shows whether it could
    // be, so it need not hold up the splash.
    std::exception_ptr mainFailed;
    auto prepareMain = [&mainFailed] {
        WriteLanguageFile();
        try {
            InitSynchronize();  // before any thread; made here, it does not hold up the splash
            Application->CreateForm(frmMain);
        } catch (...) {
            mainFailed = std::current_exception();
        }
    };
    frmSplash->WhileShown = prepareMain;
    frmSplash->ShowModal();
    if (!frmMain && !mainFailed) prepareMain();
    if (mainFailed) std::rethrow_exception(mainFailed);
    Application->Run();
    // The windows (the splash window, the main window and the about window it owns) go before GDI+.
    Application->DestroyComponents();
    ShutdownGdiPlus();
    return 0;
}
