// startup-minimal: the smallest window program of ours, the yardstick of the start-up benchmark. It
// registers a class, shows one window and runs the message loop until the window is closed.
#include <windows.h>

namespace {
LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  wc.lpszClassName = "OrvStartupMinimal";
  if (!RegisterClassA(&wc)) return 1;
  HWND wnd = CreateWindowExA(0, wc.lpszClassName, "Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640,
                             480, nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  UpdateWindow(wnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
