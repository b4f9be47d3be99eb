// The conversion driver: the Convert checks, the batch with one encoder run per file, the end of each
// file, stopping, and what follows the batch.
//
// The driver knows no window. What it needs from the main window, its file list, the progress window,
// the tray icon and the shutdown window it asks of a TConversionHost, which the main window implements
// (and tests fake). The whole batch runs inside the host's modal progress loop (ShowProgressModal):
// the runner's events arrive there, each file's end posts the start of the next (PostStartNextFile),
// and the driver ends the loop through FinishProgress.
//
// The main window keeps one driver beside its runner and forwards to it:
//   actConvertExecute            -> Convert()
//   WMStartNextFile              -> StartNextFileMessage()
//   ScheduleHeldProgress's timer -> HeldProgressDue()
//   CheckOutputDir (open folder) -> CheckOutputDir()
// The progress window knows no driver: the main window gives it an OnAskStop that calls AskStop(). Its
// FormCloseQuery asks unless FFinished is set, shows lblStopWhenDone exactly when Options.StopWhenDone
// is set afterwards, and closes with modal result 2 when AskStop() allows it. The shutdown window runs
// a TShutdownCountdown (ConversionCore.h) from its timer.
//
// A file fails when the encoder's exit code is not 0, its output is missing or empty, or the output
// could not be read to the end, or when it cannot be started. A failed file keeps its source (also with
// "delete source" on), loses the output its run made (ConversionFailures.h: a file that was there
// before and that the run left untouched stays), stays in the list marked as failed (moved behind
// the files still to do), and the batch ends, instead of the completion balloon, with a message that
// names the failed files, each with the encoder's last error line. "Stop now" is no failure: the
// stopped file's partial output stays.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ConversionCore.h"
#include "ConversionFailures.h"
#include "ConversionHost.h"
#include "ConversionTexts.h"
#include "Controls.h"
#include "EncoderOutputParser.h"
#include "Redirect.h"
#include "globals.h"

class TConversionDriver {
public:
    // Configures `runner`'s events to come here (when a batch starts).
    TConversionDriver(TConversionHost& host, TRedirector& runner);
    ~TConversionDriver();
    TConversionDriver(const TConversionDriver&) = delete;
    TConversionDriver& operator=(const TConversionDriver&) = delete;

    TConversionTexts Texts;
    TEncoderOutputParser::TClock Now = NowDaysClock();
    // How long "Stop now" waits for the killed encoder's end before the next batch may start.
    DWORD StopWaitMs = 10000;

    // The Convert action: the checks in order, then the batch. True when a batch ran. When the encoder
    // of the previous batch has not ended within StopWaitMs, a message says so and nothing starts.
    bool Convert();
    bool CheckEncoderExists();
    // No output may be a file of the list (its own source or another entry's), and no two entries may
    // write the same output. Paths are compared in full and without regard to case.
    bool CheckInputOutputDiffer(const std::string& ext);
    bool ConfirmOverwrite(const std::string& ext);
    bool CheckOutputDir();

    std::string GetOutputExt();
    std::string GetProfileOptions();
    std::string OutputFileOf(const std::string& source, const std::string& ext) const;

    // Runs a batch with the output extension `ext`; returns when it is over with the progress window's
    // modal result (mrNone when it ended before the window was shown).
    int StartConversion(const std::string& ext);
    // Starts the encoder on the first file still to do; false when there is none. A file that cannot be
    // started is counted as failed and the batch goes on.
    bool StartNextFile();
    // The WM_STARTNEXTFILE handler: ignored unless a batch runs and waits for its next file.
    void StartNextFileMessage();
    // The host's ScheduleHeldProgress has run out: what the last file's end held back is shown now,
    // unless the next encoder's output has shown it already.
    void HeldProgressDue();

    // The runner's events.
    void ParseEncoderOutput(TRedirector* sender, const char* buffer, DWORD size);
    void EncoderTerminated(TRedirector* sender, DWORD exitCode);

    // The progress window's question when it is about to close during a batch. Sets
    // Options.StopWhenDone to (answer is "When done"); true when the window may close ("Stop now", or
    // the batch ended while the question was open: then the window closes with modal result 2).
    bool AskStop();

    bool BatchRunning() const { return batchRunning_; }
    bool BatchFinished() const { return batchFinished_; }
    const std::string& CurrentOutputFile() const { return currentOutput_; }
    const std::string& CurrentCommandLine() const { return currentCommandLine_; }
    // The files of the running or last batch that failed, in the order they failed, with their reasons.
    const std::vector<TFailedFile>& FailedFiles() const { return failedFiles_; }

    static TEncoderOutputParser::TClock NowDaysClock();

private:
    void ConfigureRunner();
    void FileEnded(bool failed, const std::string& reason = std::string());
    std::string FailureReason(const TRedirector& runner, DWORD exitCode) const;
    void EndBatch();
    void ShowProgress(const TProgressUpdate& update);
    void ShowTrayHint(const std::string& hint);
    void ShowHeldProgress();
    void HoldList();
    void ReleaseList();
    int CurrentEntry() const;
    bool WaitForRunnerEnd();

    TConversionHost& host_;
    TRedirector& runner_;
    TEncoderOutputParser parser_;
    bool batchRunning_ = false;
    bool batchFinished_ = false;
    std::string outputExt_;
    // The encoder options of the batch's profile, built once per batch: reading the profile file and
    // building them again for every file cost time between two encoders.
    std::string batchProfileName_, batchOptions_;
    int batchFormat_ = -1;
    bool batchOptionsBuilt_ = false;
    std::string currentOutput_;
    TOutputSnapshot outputBefore_;  // the current output as it was before its encoder started
    std::vector<TFailedFile> failedFiles_;
    std::string currentCommandLine_;
    // From an encoder's exit to the next one's start, what the window and the tray would be told, and
    // whether the file list is kept from painting.
    bool holdingProgress_ = false;
    TProgressUpdate heldProgress_;
    std::string heldTrayHint_;
    bool listHeld_ = false;
    // The next encoder has been started with the last file's end still held: it shows with that
    // encoder's first output or its end, or when HeldProgressDue comes, whichever is first.
    bool showHeldWithOutput_ = false;
    // How long a silent encoder may keep the last file's end from showing.
    static constexpr UINT HeldProgressWaitMs = 250;
};
