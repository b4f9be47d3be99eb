// A stand-in for the main window, the progress window, the tray icon and the shutdown window that the
// conversion driver talks to. It keeps the file list in a vector, records what the driver shows, answers
// questions from a queue, and runs the batch's "modal loop" by pumping messages as the real one would.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ConversionDriver.h"
#include "PumpMessages.h"

class FakeConversionHost : public TConversionHost {
public:
    struct Entry {
        std::string Caption;
        std::string Size;
        bool Failed = false;
    };
    struct Message {
        std::string Text, Caption;
        UINT Flags;
    };

    FakeConversionHost()
    {
        static const char* const className = "OrvFakeConversionHost";
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);  // fails harmlessly when already registered
        window_ = CreateWindowA(className, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, LONG_PTR(this));
    }
    ~FakeConversionHost() override { DestroyWindow(window_); }

    TConversionDriver* Driver = nullptr;

    // --- state the tests set up and inspect
    std::vector<Entry> Files;
    std::string OutputFolder;
    std::map<TOutputFormat, std::string> Profiles;  // missing: "Default"
    std::deque<int> QuestionAnswers;                // AskQuestion's answers; empty: mrCancel
    int MessageAnswer = IDYES;                      // ShowMessage's answer
    std::vector<Message> Messages, Questions;
    std::vector<TProgressUpdate> Updates;
    std::vector<std::pair<std::string, std::string>> Balloons;
    std::string TrayHint;
    std::vector<std::string> TrayHints;
    int ProgressCreated = 0, ProgressFreed = 0, ModalShown = 0, Finished = 0, Countdowns = 0;
    std::string ProgressCaption, StopWhenDoneText;
    bool CloseRequested = false;
    int ListUpdates = 0;  // BeginListUpdate calls not yet ended
    std::vector<UINT> HeldProgressWaits;  // ScheduleHeldProgress's waits, in order

    // Hooks that let a test act at a given moment of the batch.
    std::function<void(const TProgressUpdate&)> OnUpdate;
    std::function<void(const Entry&)> OnRemove;
    std::function<void(const Entry&)> OnFailed;
    std::function<int()> Countdown = [] { return int(mrCancel); };

    // The progress window's closing during a batch (Cancel button, close box): asks the stop question.
    void RequestClose()
    {
        if (Driver->AskStop()) CloseRequested = true;
    }
    // The same from the message loop, as a click would come (never inside a runner event).
    void PostRequestClose() { PostMessageA(window_, WM_USER + 3, 0, 0); }
    // When set, answers AskQuestion instead of the queue (it may run the message loop meanwhile).
    std::function<int()> AnswerNow;

    std::vector<std::string> Captions() const
    {
        std::vector<std::string> result;
        for (const Entry& e : Files) result.push_back(e.Caption);
        return result;
    }

    // --- TConversionHost
    int FileCount() const override { return int(Files.size()); }
    std::string FileCaption(int index) const override { return Files.at(size_t(index)).Caption; }
    std::string FileSizeText(int index) const override { return Files.at(size_t(index)).Size; }
    void BeginListUpdate() override { ++ListUpdates; }
    void EndListUpdate() override { --ListUpdates; }
    void RemoveFile(int index) override
    {
        const Entry removed = Files.at(size_t(index));
        Files.erase(Files.begin() + index);
        if (OnRemove) OnRemove(removed);
    }
    void FileFailed(int index) override
    {
        Entry failed = Files.at(size_t(index));
        failed.Failed = true;
        Files.erase(Files.begin() + index);
        Files.push_back(failed);
        if (OnFailed) OnFailed(failed);
    }
    std::string OutputFolderText() const override { return OutputFolder; }
    std::string ProfileName(TOutputFormat format) const override
    {
        auto it = Profiles.find(format);
        return it == Profiles.end() ? "Default" : it->second;
    }
    void PostStartNextFile() override { PostMessageA(window_, WM_USER + 2, 0, 0); }
    void ScheduleHeldProgress(UINT afterMs) override
    {
        HeldProgressWaits.push_back(afterMs);
        SetTimer(window_, HeldProgressTimer, afterMs, nullptr);
    }
    int ShowMessage(const std::string& text, const std::string& caption, UINT flags) override
    {
        Messages.push_back({text, caption, flags});
        return MessageAnswer;
    }
    int AskQuestion(const std::string& text, const std::string& caption,
                    const std::vector<std::string>& buttonCaptions) override
    {
        std::string buttons;
        for (const std::string& b : buttonCaptions) buttons += (buttons.empty() ? "" : "|") + b;
        Questions.push_back({text, caption + " [" + buttons + "]", 0});
        if (AnswerNow) return AnswerNow();
        if (QuestionAnswers.empty()) return mrCancel;
        const int answer = QuestionAnswers.front();
        QuestionAnswers.pop_front();
        return answer;
    }
    void SetTrayHint(const std::string& hint) override
    {
        TrayHint = hint;
        TrayHints.push_back(hint);
    }
    void ShowBalloon(const std::string& title, const std::string& text) override { Balloons.push_back({title, text}); }
    void CreateProgress(const std::string& caption, const std::string& stopWhenDoneText) override
    {
        ++ProgressCreated;
        ProgressCaption = caption;
        StopWhenDoneText = stopWhenDoneText;
    }
    void UpdateProgress(const TProgressUpdate& update) override
    {
        Updates.push_back(update);
        if (update.Caption) ProgressCaption = *update.Caption;
        if (OnUpdate) OnUpdate(update);
    }
    int ShowProgressModal() override
    {
        ++ModalShown;
        CloseRequested = false;
        const bool ended = PumpMessagesUntil([this] { return Finished > 0 || CloseRequested; });
        if (!ended) return -1;  // the batch hung: the test sees a result no window gives
        // Closed by the user (also when the batch ended while the stop question was open): 2.
        return CloseRequested ? mrCancel : mrOk;
    }
    void FinishProgress() override { ++Finished; }
    void FreeProgress() override { ++ProgressFreed; }
    int ShowShutdownCountdown() override
    {
        ++Countdowns;
        return Countdown();
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_USER + 2) {
            auto* self = reinterpret_cast<FakeConversionHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self && self->Driver) self->Driver->StartNextFileMessage();
            return 0;
        }
        if (msg == WM_TIMER && wp == HeldProgressTimer) {
            KillTimer(hwnd, HeldProgressTimer);
            auto* self = reinterpret_cast<FakeConversionHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self && self->Driver) self->Driver->HeldProgressDue();
            return 0;
        }
        if (msg == WM_USER + 3) {
            auto* self = reinterpret_cast<FakeConversionHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self && self->Driver) self->RequestClose();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    static constexpr UINT_PTR HeldProgressTimer = 1;
    HWND window_ = nullptr;
};
