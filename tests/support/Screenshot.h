// What the screen shows of a window, for checks on real pixels and as a picture left in the build
// folder for a person to look at.
#pragma once
#include <windows.h>

#include <string>

#include "Graphics.h"

// Copies the window's screen rectangle (frame included) into `shot` as a 24-bit bitmap.
inline void CaptureWindow(HWND window, TBitmap& shot)
{
    RECT wr;
    GetWindowRect(window, &wr);
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(wr.right - wr.left, wr.bottom - wr.top);
    // Only the part on the screen is read (a maximized window reaches past its edges); the rest
    // stays black. Large windows are read in bands: one read of the whole screen is more than the
    // emulated display connection takes at once.
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, seen;
    if (!IntersectRect(&seen, &wr, &screen)) return;
    HDC sdc = GetDC(nullptr);
    for (int top = seen.top; top < seen.bottom; top += 64) {
        const int rows = seen.bottom - top < 64 ? seen.bottom - top : 64;
        BitBlt(shot.Canvas()->GetHandle(), seen.left - wr.left, top - wr.top, seen.right - seen.left, rows, sdc,
               seen.left, top, SRCCOPY);
    }
    ReleaseDC(nullptr, sdc);
}

inline void SaveScreenshot(HWND window, const std::string& path)
{
    TBitmap shot;
    CaptureWindow(window, shot);
    shot.SaveToFile(path);
}
