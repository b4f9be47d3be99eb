// Program entry.
#include <windows.h>

#include "globals.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InitGlobals();
    LoadOptions();
    return 0;
}
