// Runs the test's main-thread message loop until a condition holds, as the program's own loop would:
// posted messages are dispatched and calls sent from other threads (TThread::Synchronize) are serviced.
#pragma once
#include <windows.h>

#include <functional>

// Returns false when the condition still fails after `safetyMs` (a guard against a hanging test, not
// a timing check: pick it far above any normal run).
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD safetyMs = 60000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > safetyMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
