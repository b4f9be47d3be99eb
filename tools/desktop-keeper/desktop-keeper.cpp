// Holds Wine's desktop open for a test session. The desktop process (explorer.exe) starts with the first
// program that uses windows and inherits that program's standard handles; it then lives until the last
// such program has ended. Started once, with no handles attached, this keeper makes sure no test's pipes
// end up held by the desktop. It sleeps until the session's wineserver ends it.
#include <windows.h>

int main()
{
    GetDesktopWindow();
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(window);
    return 0;
}
