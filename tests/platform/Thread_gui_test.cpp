// Synchronised calls inside the system's own modal loops.
#include "Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

class TBoxThread : public TThread {
public:
    explicit TBoxThread(std::string caption) : caption_(std::move(caption)) {}
    ~TBoxThread() override
    {
        Terminate();
        WaitFor();
    }

    // Filled on the main thread inside the call.
    DWORD callThread = 0;
    bool boxWasOpen = false;

protected:
    void Execute() override
    {
        HWND box = nullptr;
        while (!box && !Terminated()) {  // the main thread is inside MessageBox once its window exists
            box = FindWindowA(nullptr, caption_.c_str());
            if (!box) Sleep(5);
        }
        if (!box) return;
        Synchronize([&] {
            callThread = GetCurrentThreadId();
            boxWasOpen = IsWindow(box) && IsWindowVisible(box);
        });
        PostMessageA(box, WM_COMMAND, IDOK, 0);  // close it only once the call has been serviced
    }

private:
    std::string caption_;
};

}  // namespace

TEST(ThreadGui, SynchronizedCallIsServicedWhileAMessageBoxIsOpen)
{
    const std::string caption = "Synchronize test " + std::to_string(GetCurrentProcessId());
    TBoxThread thread(caption);
    thread.Start();
    const int result = MessageBoxA(nullptr, "Waiting for a synchronised call", caption.c_str(), MB_OK);
    thread.WaitFor();
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(thread.callThread, GetCurrentThreadId());
    EXPECT_TRUE(thread.boxWasOpen);
}

TEST(ThreadGui, SynchronizedCallIsServicedInsideAPopupMenu)
{
    HWND owner = CreateWindowExA(0, "STATIC", "menu owner", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "First");
    AppendMenuA(menu, MF_STRING, 2, "Second");

    class TMenuThread : public TThread {
    public:
        ~TMenuThread() override
        {
            Terminate();
            WaitFor();
        }
        DWORD callThread = 0;
        std::atomic<bool> menuOpen{false};

    protected:
        void Execute() override
        {
            HWND popup = nullptr;
            while (!popup && !Terminated()) {  // "#32768" is the class of an open popup menu
                popup = FindWindowA("#32768", nullptr);
                if (!popup) Sleep(5);
            }
            Synchronize([&] { callThread = GetCurrentThreadId(); });
            menuOpen = popup && IsWindowVisible(popup);
            if (popup) PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    } thread;

    SetForegroundWindow(owner);
    thread.Start();
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
    thread.Terminate();  // a menu that closed on its own leaves the thread looking for it
    thread.WaitFor();
    DestroyMenu(menu);
    DestroyWindow(owner);
    EXPECT_EQ(thread.callThread, GetCurrentThreadId());
    EXPECT_TRUE(thread.menuOpen);
}
