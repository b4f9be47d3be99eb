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
    HDC sdc = GetDC(nullptr);
    BitBlt(shot.Canvas()->GetHandle(), 0, 0, shot.GetWidth(), shot.GetHeight(), sdc, wr.left, wr.top, SRCCOPY);
    ReleaseDC(nullptr, sdc);
}

inline void SaveScreenshot(HWND window, const std::string& path)
{
    TBitmap shot;
    CaptureWindow(window, shot);
    shot.SaveToFile(path);
}
