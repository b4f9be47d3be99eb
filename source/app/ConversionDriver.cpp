#include "ConversionDriver.h"

#include <set>

#include "AppUtils.h"
#include "ConversionCore.h"
#include "Errors.h"
#include "FileUtils.h"
#include "OrvUtils.h"
#include "Strings.h"
#include "Thread.h"
#include "profiles.h"

TEncoderOutputParser::TClock TConversionDriver::NowDaysClock()
{
    return [] { return NowDays(); };
}

TConversionDriver::TConversionDriver(TConversionHost& host, TRedirector& runner)
    : host_(host), runner_(runner), parser_(Options, Texts, [this] { return Now(); })
{
    parser_.OnProgress = [this](const TProgressUpdate& update) { ShowProgress(update); };
    parser_.OnTrayHint = [this](const std::string& hint) { ShowTrayHint(hint); };
}

TConversionDriver::~TConversionDriver()
{
    // The runner outlives us in the main window: no event may reach a driver that is gone.
    runner_.OnData = nullptr;
    runner_.OnErrorData = nullptr;
    runner_.OnTerminated = nullptr;
}

// --- the Convert action -------------------------------------------------------------------------------

bool TConversionDriver::Convert()
{
    // An encoder stopped at the end of the previous batch must be gone before the next one starts.
    if (runner_.Active() && !WaitForRunnerEnd()) {
        host_.ShowMessage(Texts.IDS_MESSAGEBOX_EncoderStillRunning, Texts.IDS_LABEL_Hint, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!CheckEncoderExists()) return false;
    if (host_.FileCount() == 0) {
        host_.ShowMessage(Texts.IDS_NoFiles, Texts.IDS_LABEL_Hint, MB_OK | MB_ICONWARNING);
        return false;
    }
    const std::string ext = GetOutputExt();
    if (!CheckInputOutputDiffer(ext) || !ConfirmOverwrite(ext) || !CheckOutputDir()) return false;
    Options.LastOutputOpenDir = Trim(host_.OutputFolderText());
    StartConversion(ext);
    return true;
}

bool TConversionDriver::CheckEncoderExists()
{
    const std::string& path = Options.EncoderPath;
    // A bare name or a relative path beginning with ".." means the program folder.
    if (path.compare(0, 2, "..") == 0 || ExtractFilePath(path).empty()) SetCurrentDirectoryA(ExeDir.c_str());
    if (FileExists(path)) return true;
    host_.ShowMessage(FormatText(Texts.IDS_NoEncoder, {path}), Texts.IDS_LABEL_Hint, MB_OK | MB_ICONWARNING);
    return false;
}

bool TConversionDriver::CheckInputOutputDiffer(const std::string& ext)
{
    // Full paths in one case, so that "C:\A\x.avi" and "c:\a\.\X.AVI" are the same file.
    const auto key = [](const std::string& path) { return UpperCase(ExpandFileName(path)); };
    std::set<std::string> sources, outputs;
    for (int i = 0; i < host_.FileCount(); ++i) sources.insert(key(host_.FileCaption(i)));
    for (int i = 0; i < host_.FileCount(); ++i) {
        const std::string output = OutputFileOf(host_.FileCaption(i), ext);
        const std::string k = key(output);
        const std::string* problem = nullptr;
        if (sources.count(k)) problem = &Texts.IDS_MESSAGE_MustBeDiffer;  // would overwrite a source of the list
        else if (!outputs.insert(k).second) problem = &Texts.DuplicateOutput;
        if (problem) {
            host_.ShowMessage(FormatText(*problem, {output}), Texts.IDS_MESSAGEBOX_DifferTitle, MB_OK | MB_ICONINFORMATION);
            return false;
        }
    }
    return true;
}

bool TConversionDriver::ConfirmOverwrite(const std::string& ext)
{
    for (int i = 0; i < host_.FileCount(); ++i) {
        const std::string output = OutputFileOf(host_.FileCaption(i), ext);
        if (!FileExists(output)) continue;
        const int answer = host_.AskQuestion(
            FormatText(Texts.IDS_MESSAGEBOX_FileExists, {output}), Texts.IDS_MESSAGEBOX_Overwrite,
            {Texts.IDS_MESSAGE_BUTTON_Yes, Texts.IDS_MESSAGE_BUTTON_No, Texts.IDS_SHUTDOWN_BUTTON_Cancel,
             Texts.IDS_MESSAGE_BUTTON_YesToAll});
        if (answer == mrYes) continue;
        if (answer == mrYesToAll)
            return host_.ShowMessage(Texts.IDS_MESSAGEBOX_SureTOOverwrite, Texts.IDS_MESSAGEBOX_Overwrite,
                                     MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
        return false;  // No, Cancel or closed: the batch does not start
    }
    return true;
}

bool TConversionDriver::CheckOutputDir()
{
    const std::string folder = Trim(host_.OutputFolderText());
    if (folder.empty()) {
        host_.ShowMessage(Texts.IDS_MESSAGEBOX_EmptyDir, Texts.IDS_MESSAGEBOX_Empty, MB_OK | MB_ICONQUESTION);
        return false;
    }
    if (DirectoryExists(folder)) return true;
    if (host_.ShowMessage(Texts.IDS_MESSAGEBOX_SureToCreateDir, Texts.IDS_MESSAGEBOX_CreatDir,
                          MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return false;
    if (ForceDirectories(folder)) return true;
    host_.ShowMessage(Texts.IDS_MESSAGEBOX_FallToCreateDir, Texts.IDS_MESSAGEBOX_FallCreateDir, MB_OK | MB_ICONQUESTION);
    return false;
}

std::string TConversionDriver::GetOutputExt() { return ::GetOutputExt(host_.ProfileName(ofTGP)); }

std::string TConversionDriver::GetProfileOptions()
{
    const std::string name = host_.ProfileName(Options.OutputFormat);
    if (!batchOptionsBuilt_ || name != batchProfileName_ || Options.OutputFormat != batchFormat_) {
        batchOptions_ = ::GetProfileOptions(name);
        batchProfileName_ = name;
        batchFormat_ = Options.OutputFormat;
        batchOptionsBuilt_ = true;
    }
    return batchOptions_;
}

std::string TConversionDriver::OutputFileOf(const std::string& source, const std::string& ext) const
{
    return OutputFileFor(host_.OutputFolderText(), source, ext);
}

// --- the batch ------------------------------------------------------------------------------------------

void TConversionDriver::ConfigureRunner()
{
    runner_.SetInitialPriority(ToInitialPriority(Options.Priority));
    runner_.SetDefaultErrorMode(true);
    const TDataEvent parse = [this](TRedirector* sender, const char* buffer, DWORD size) {
        ParseEncoderOutput(sender, buffer, size);
    };
    runner_.OnData = parse;  // the encoder's standard output and standard error alike
    runner_.OnErrorData = parse;
    runner_.OnTerminated = [this](TRedirector* sender, DWORD exitCode) { EncoderTerminated(sender, exitCode); };
    runner_.KillOnDestroy = true;
}

int TConversionDriver::StartConversion(const std::string& ext)
{
    outputExt_ = ext;
    batchOptionsBuilt_ = false;  // a new batch reads its profile afresh
    ConfigureRunner();
    host_.SetTrayHint(Texts.IDS_MESSAGEBOX_TrayEncodingStart);
    host_.CreateProgress(Texts.IDS_ID_EncodingInProgress, Texts.IDS_ID_StopEncoding);

    // The progress window goes, and no late event counts, however the batch ends.
    struct BatchScope {
        TConversionDriver& d;
        ~BatchScope()
        {
            d.batchRunning_ = false;
            d.parser_.BatchRunning = false;
            d.holdingProgress_ = false;  // nothing held is shown after the window has gone
            d.showHeldWithOutput_ = false;
            d.heldProgress_ = TProgressUpdate();
            d.heldTrayHint_.clear();
            d.ReleaseList();
            d.host_.FreeProgress();
        }
    } scope{*this};

    TOptions& o = Options;
    o.ErrorOccurred = false;
    failedFiles_.clear();
    o.StopWhenDone = false;
    o.TotalFiles = host_.FileCount();
    o.FilesDone = 0;
    o.FilesFailed = 0;
    o.TotalBytes = 0;
    for (int i = 0; i < host_.FileCount(); ++i) o.TotalBytes += StrToInt64Def(host_.FileSizeText(i), 0);
    o.CurrentFileBytes = 0;
    o.BytesDone = 0;
    o.BytesProgress = 0;
    o.BatchPercent = 0;
    o.BatchStartTime = Now();
    batchRunning_ = true;
    batchFinished_ = false;
    parser_.BatchRunning = true;

    if (!StartNextFile()) EndBatch();
    const int result = batchFinished_ ? mrOk : host_.ShowProgressModal();
    batchRunning_ = false;
    parser_.BatchRunning = false;

    if (runner_.Active()) {  // "Stop now": the encoder is killed; its partial output stays
        try {
            runner_.Terminate(0);
        } catch (const Exception&) {
            // it ended on its own meanwhile
        }
        WaitForRunnerEnd();
        DeleteDirectShowScript();
    }

    // Every end of a batch without an error is reported in the tray, "Stop now" included: the
    // balloon tells the user the program has come back to rest.
    if (o.ErrorOccurred)
        host_.ShowMessage(FailureMessage(Texts, failedFiles_), Texts.IDS_MESSAGEBOX_Oops, MB_OK | MB_ICONWARNING);
    else
        host_.ShowBalloon(FormatText(Texts.IDS_LABEL_TrayInformation, {AppTitle}), Texts.IDS_MESSAGEBOX_TrayConvertComplete);
    if (o.ShutdownWindowsWhenDone && result != mrCancel) {
        if (host_.ShowShutdownCountdown() == mrOk) ShutdownComputer(o.ShutdownFlag);
    }
    return result;
}

bool TConversionDriver::StartNextFile()
{
    DeleteDirectShowScript();
    // Failed entries wait at the end of the list; the files still to do come first.
    if (host_.FileCount() - Options.FilesFailed <= 0) return false;

    TOptions& o = Options;
    o.CurrentFileFailed = false;
    o.FileStartTime = Now();
    o.FilePercent = 0;
    o.PendingOutput.clear();
    o.CurrentInputFile = host_.FileCaption(0);
    o.CurrentFileBytes = StrToInt64Def(host_.FileSizeText(0), 0);
    // Nothing of the previous file may show as this one's progress.
    o.DurationMs = 0;
    o.TimeMs = 0;
    o.SourceName = o.CurrentInputFile;
    currentOutput_ = OutputFileOf(o.CurrentInputFile, outputExt_);
    o.TargetName = currentOutput_;
    outputBefore_ = TakeOutputSnapshot(currentOutput_);
    parser_.Errors.Clear();
    currentCommandLine_.clear();
    try {
        if (!SetCurrentDirectoryA(ExeDir.c_str())) RaiseLastOSError("Cannot change to the program folder : ");
        const std::string options = GetProfileOptions();
        parser_.EncoderOptions = options;
        std::string input = o.CurrentInputFile;
        if (NeedsDirectShow(input)) {
            WriteDirectShowScript(input);
            input = DirectShowScriptFile();
        }
        currentCommandLine_ = BuildEncoderCommandLine(ExpandFileName(o.EncoderPath), input, options, currentOutput_);
        runner_.SetCommandLine(currentCommandLine_);
        runner_.Execute();
    } catch (const std::exception& e) {
        DeleteDirectShowScript();
        FileEnded(true, e.what());  // counts as failed; the batch goes on
    }
    return true;
}

void TConversionDriver::StartNextFileMessage()
{
    if (batchRunning_ && !batchFinished_ && !runner_.Active()) {  // else late or doubled: nothing to do
        // "When done" chosen between two files: the current file is done already.
        if (Options.StopWhenDone || !StartNextFile()) EndBatch();
    }
    // The last file's end waits until the next encoder has started up: painting the window and the
    // list while its process starts makes that start slower (under Wine both need the same server), and
    // its first output comes once it has. Without a running encoder there is nothing to wait for.
    if (runner_.Active() && !batchFinished_) {
        showHeldWithOutput_ = true;
        host_.ScheduleHeldProgress(HeldProgressWaitMs);
    } else {
        ShowHeldProgress();
    }
}

void TConversionDriver::HeldProgressDue()
{
    if (showHeldWithOutput_) ShowHeldProgress();
}

void TConversionDriver::ParseEncoderOutput(TRedirector* sender, const char* buffer, DWORD size)
{
    if (showHeldWithOutput_) ShowHeldProgress();  // the last file's end comes before this one's output
    const bool exited = sender ? sender->Exited() : runner_.Exited();
    if (exited) holdingProgress_ = true;  // its last words: shown once the next file has started
    parser_.Feed(buffer, size, exited);
}

void TConversionDriver::EncoderTerminated(TRedirector* sender, DWORD exitCode)
{
    if (!batchRunning_ || batchFinished_) return;  // the end of an encoder stopped with the batch
    if (showHeldWithOutput_) ShowHeldProgress();  // an encoder without output: the last file's end first
    holdingProgress_ = true;
    parser_.Flush();
    DeleteDirectShowScript();
    const TRedirector& runner = sender ? *sender : runner_;
    const bool failed = exitCode != 0 || !runner.ReaderError().empty() || OutputFileMissingOrEmpty(currentOutput_);
    FileEnded(failed, failed ? FailureReason(runner, exitCode) : std::string());
}

// What the user is told about a failed run: the encoder's own last word on it where it said one.
std::string TConversionDriver::FailureReason(const TRedirector& runner, DWORD exitCode) const
{
    if (!parser_.Errors.LastErrorLine().empty()) return parser_.Errors.LastErrorLine();
    if (!runner.ReaderError().empty()) return runner.ReaderError();
    if (exitCode != 0) return FormatText(Texts.IDS_MESSAGEBOX_EncoderExitCode, {ExitCodeText(exitCode)});
    return Texts.IDS_MESSAGEBOX_NoOutputFile;
}

int TConversionDriver::CurrentEntry() const
{
    for (int i = 0; i < host_.FileCount(); ++i)
        if (host_.FileCaption(i) == Options.CurrentInputFile) return i;
    return -1;
}

void TConversionDriver::FileEnded(bool failed, const std::string& reason)
{
    TOptions& o = Options;
    const int entry = CurrentEntry();
    HoldList();  // a list entry changes now; the list shows it once the next encoder is started
    if (failed) {
        o.CurrentFileFailed = true;
        o.ErrorOccurred = true;
        ++o.FilesFailed;
        // The source stays, whatever the options say; what the run wrote is no result.
        RemoveFailedOutput(currentOutput_, outputBefore_);
        failedFiles_.push_back({ExtractFileName(o.CurrentInputFile),
                                ReasonWithFileNames(reason, {currentOutput_, o.CurrentInputFile})});
        if (entry >= 0) host_.FileFailed(entry);
    } else {
        if (o.DeleteFileAfterProcessing) DeleteFileA(o.CurrentInputFile.c_str());  // a failure is ignored
        if (entry >= 0) host_.RemoveFile(entry);
        ++o.FilesDone;
        if (o.FilesDone == o.TotalFiles) {
            TProgressUpdate update;
            update.Batch = Texts.IDS_CONVERTING_BUTTON_Status + "100%";
            update.FileBar = 100;
            update.Caption = Texts.IDS_LABEL_EncodingFinished;
            ShowProgress(update);
        }
    }
    if (o.StopWhenDone || o.FilesDone + o.FilesFailed >= o.TotalFiles) {
        EndBatch();
        return;
    }
    o.BytesDone += o.CurrentFileBytes;
    o.BytesProgress = o.BytesDone;
    TProgressUpdate update;
    if (o.TotalBytes != 0) {
        o.BatchPercent = int32_t(o.BytesDone * 100 / o.TotalBytes);
        update.Batch = Texts.IDS_ID_BATCH + IntToStr(o.BatchPercent) + "%";
        update.BatchBar = o.BatchPercent;
    }
    if (o.BytesProgress > 0) {
        const double elapsed = Now() - o.BatchStartTime;
        const double estimated = double(o.TotalBytes) * elapsed / double(o.BytesProgress);
        update.BatchEstimated = FormatSpan(estimated);
        update.BatchRemaining = FormatSpan(estimated - elapsed);
    }
    ShowProgress(update);
    // The next file starts from the message loop, after this handler has returned.
    if (host_.FileCount() - o.FilesFailed > 0) host_.PostStartNextFile();
    else EndBatch();
}

void TConversionDriver::EndBatch()
{
    batchFinished_ = true;
    ShowHeldProgress();
    host_.FinishProgress();
    host_.SetTrayHint(Texts.IDS_MESSAGEBOX_TrayEncodingDone);
}

// Between an encoder's exit and the next one's start the window is not painted or told anything: the
// updates of that time are gathered and shown as one once the next encoder is started.
void TConversionDriver::ShowProgress(const TProgressUpdate& update)
{
    if (holdingProgress_)
        heldProgress_.Take(update);
    else
        host_.UpdateProgress(update);
}

void TConversionDriver::ShowTrayHint(const std::string& hint)
{
    if (holdingProgress_)
        heldTrayHint_ = hint;
    else
        host_.SetTrayHint(hint);
}

void TConversionDriver::ShowHeldProgress()
{
    ReleaseList();
    holdingProgress_ = false;
    showHeldWithOutput_ = false;
    TProgressUpdate update;
    std::swap(update, heldProgress_);
    std::string hint;
    std::swap(hint, heldTrayHint_);
    if (!update.Empty()) host_.UpdateProgress(update);
    if (!hint.empty()) host_.SetTrayHint(hint);
}

void TConversionDriver::HoldList()
{
    if (listHeld_) return;
    listHeld_ = true;
    host_.BeginListUpdate();
}

void TConversionDriver::ReleaseList()
{
    if (!listHeld_) return;
    listHeld_ = false;
    host_.EndListUpdate();
}

bool TConversionDriver::AskStop()
{
    if (!batchRunning_ || batchFinished_) return true;
    const int answer = host_.AskQuestion(Texts.IDS_CONVERTING_StopEncoding, Texts.IDS_CONVERTING_Question,
                                         {Texts.IDS_CONVERTING_StopNow, Texts.IDS_CONVERTING_Whendone,
                                          Texts.IDS_CONVERTING_Cancel});
    Options.StopWhenDone = answer == mrNo;
    return answer == mrYes || batchFinished_;
}

bool TConversionDriver::WaitForRunnerEnd()
{
    // The end arrives as a synchronised call from the reader thread; nothing else is dispatched here.
    const DWORD start = GetTickCount();
    while (runner_.Active()) {
        if (GetTickCount() - start > StopWaitMs) return false;
        CheckSynchronize();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
    }
    return true;
}
