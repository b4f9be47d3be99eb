// Whole batches with the real process runner and the test encoder, driven without windows.
#include <gtest/gtest.h>

#include "ConversionCore.h"
#include "ConversionFixture.h"
#include "UnixShell.h"

namespace {

const std::string DefaultAviOptions = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ";

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

class ConversionBatch : public ConversionFixture {
protected:
    void SetUp() override
    {
        ConversionFixture::SetUp();
        InstallEncoder();
    }

    std::string ExpectedLine(const std::string& input, const std::string& output,
                             const std::string& options = DefaultAviOptions) const
    {
        return "\"" + programDir + "avcore.dll\" -p 4730615 -i \"" + input + "\" " + options + " \"" + output + "\"";
    }

    bool SawWorkingOn(int file) const
    {
        for (const TProgressUpdate& u : host.Updates)
            if (u.Working && StartsWith(*u.Working, "Working on file " + IntToStr(file) + " of ")) return true;
        return false;
    }

    // After every batch: the window is gone and no encoder is left running.
    void ExpectBatchOver(int modalShown = 1)
    {
        EXPECT_EQ(1, host.ProgressCreated);
        EXPECT_EQ(1, host.ProgressFreed);
        EXPECT_EQ(modalShown, host.ModalShown);
        EXPECT_FALSE(driver.BatchRunning());
        EXPECT_FALSE(runner.Active());
        EXPECT_FALSE(FileExists(DirectShowScriptFile()));
        EXPECT_EQ(0, host.ListUpdates) << "the file list was left unpainted";
    }

    std::string Read(const std::string& path) const
    {
        std::string text;
        ReadFileText(path, text);
        return text;
    }
};

TEST_F(ConversionBatch, ThreeFilesRunInListOrder)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg"), c = AddSource("c.mpg");
    Options.Priority = 2;
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();

    EXPECT_EQ((std::vector<std::string>{ExpectedLine(a, OutputOf(a)), ExpectedLine(b, OutputOf(b)),
                                        ExpectedLine(c, OutputOf(c))}),
              LoggedCommandLines());
    EXPECT_TRUE(host.Files.empty());
    for (const std::string& s : {a, b, c}) {
        EXPECT_TRUE(FileExists(s)) << s;  // "delete source" is off
        EXPECT_FALSE(OutputFileMissingOrEmpty(OutputOf(s))) << s;
    }
    EXPECT_EQ(3, Options.FilesDone);
    EXPECT_EQ(0, Options.FilesFailed);
    EXPECT_EQ(3, Options.TotalFiles);
    EXPECT_EQ(3, ToInitialPriority(Options.Priority));
    EXPECT_EQ(3, runner.InitialPriority());
    EXPECT_EQ(Trim(outDir), Options.LastOutputOpenDir);

    EXPECT_EQ(1, host.Finished);
    EXPECT_EQ("Encoding finished", host.ProgressCaption);
    EXPECT_EQ("Status= 100%", host.Updates.back().Batch.value_or(""));
    EXPECT_TRUE(SawWorkingOn(1) && SawWorkingOn(2) && SawWorkingOn(3));
    EXPECT_EQ("Starting...", host.TrayHints.front());
    EXPECT_EQ("Finished converting", host.TrayHint);
    ASSERT_EQ(1u, host.Balloons.size());
    EXPECT_EQ(std::string(AppTitle) + " Information", host.Balloons[0].first);
    EXPECT_EQ("Convertion complete!", host.Balloons[0].second);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(0, host.Countdowns);
}

// From one encoder's exit to the next one's start the window is told nothing; what came in that time
// (the encoder's last output, the file's end) reaches it as one update once the next encoder runs.
TEST_F(ConversionBatch, TheWindowAndItsListHearOfAFilesEndOnlyOnceTheNextEncoderRuns)
{
    AddSource("a.mpg");
    AddSource("b.mpg");
    AddSource("c.mpg");
    const int64_t total = StrToInt64Def(host.Files[0].Size, 0) + StrToInt64Def(host.Files[1].Size, 0) +
                          StrToInt64Def(host.Files[2].Size, 0);
    int64_t done = 0;
    std::vector<std::string> batchAfterEnds;
    bool fileJustEnded = false;
    host.OnRemove = [&](const FakeConversionHost::Entry& e) {
        done += StrToInt64Def(e.Size, 0);
        fileJustEnded = !host.Files.empty();
        EXPECT_EQ(1, host.ListUpdates) << "the list is painted before the next encoder was started";
    };
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (!fileJustEnded) return;
        fileJustEnded = false;
        EXPECT_TRUE(runner.Active()) << "an update came before the next encoder was started";
        EXPECT_EQ(0, host.ListUpdates) << "the list is still held while the next encoder runs";
        EXPECT_EQ("Batch=" + IntToStr(int32_t(done * 100 / total)) + "%", u.Batch.value_or("-"));
        batchAfterEnds.push_back(u.Batch.value_or("-"));
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(2u, batchAfterEnds.size());  // after the first and the second file
    EXPECT_TRUE(host.Files.empty());
    EXPECT_EQ("Status= 100%", host.Updates.back().Batch.value_or(""));
    EXPECT_EQ("Finished converting", host.TrayHint);
}

// The last file's end waits for the next encoder's first output, but an encoder that keeps silent
// holds it back only for the host's short wait: the window and the list hear of it while it runs.
TEST_F(ConversionBatch, ASilentNextEncoderHoldsTheLastFilesEndOnlyForTheHostsWait)
{
    AddSource("a.mpg");
    AddSource("b.mpg");
    const int64_t firstSize = StrToInt64Def(host.Files[0].Size, 0);
    const int64_t total = firstSize + StrToInt64Def(host.Files[1].Size, 0);
    bool fileJustEnded = false, endShown = false;
    host.OnRemove = [&](const FakeConversionHost::Entry&) {
        fileJustEnded = true;
        SetTestEncoderSettings("quiet=120000;log=" + log);  // b.mpg says nothing for two minutes
    };
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (!fileJustEnded) return;
        fileJustEnded = false;
        endShown = true;
        EXPECT_TRUE(runner.Active()) << "the end was shown before the next encoder was started";
        EXPECT_EQ(0, host.ListUpdates) << "the list is still held";
        EXPECT_EQ("Batch=" + IntToStr(int32_t(firstSize * 100 / total)) + "%", u.Batch.value_or("-"));
        host.QuestionAnswers.push_back(mrYes);  // "Stop now": the quiet encoder would keep the batch for minutes
        host.PostRequestClose();
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_TRUE(endShown) << "the first file's end never reached the window";
    ASSERT_EQ(1u, host.HeldProgressWaits.size());
    EXPECT_LT(host.HeldProgressWaits[0], 1000u) << "a silent encoder holds the window back too long";
    EXPECT_EQ(2u, LoggedCommandLines().size());
}

TEST_F(ConversionBatch, PathsWithBlanksPercentAndOptionFragments)
{
    // The program folder holds a blank, the input folder a "%" and " -ac 5:1 ", the output folder " -ab ".
    programDir = dir / "my prog\\";
    CreateDirectoryA(programDir.c_str(), nullptr);
    ExeDir = programDir;
    InstallEncoder();
    // A decoy where an unquoted program path would be cut at its first blank; it fails every file.
    InstallTestEncoderAt(dir / "my.exe");
    WriteFileText(dir / "test-encoder.ini", "mode=fail\r\n");
    const std::string odd = dir / "in 100% -ac 5:1 x\\";
    CreateDirectoryA(odd.c_str(), nullptr);
    outDir = dir / "out -ab 1 %s\\";
    CreateDirectoryA(outDir.c_str(), nullptr);
    host.OutputFolder = outDir;
    const std::string a = AddSource("%d -vcodec ffvhuff .mpg", odd);
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(std::vector<std::string>{ExpectedLine(a, OutputOf(a))}, LoggedCommandLines());
    EXPECT_FALSE(OutputFileMissingOrEmpty(OutputOf(a)));
    EXPECT_TRUE(host.Files.empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ConversionBatch, StopNowDuringTheSecondFile)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg"), c = AddSource("c.mpg");
    Options.ShutdownWindowsWhenDone = true;  // a stopped batch never counts down
    Options.DeleteFileAfterProcessing = true;
    // File 2 never ends by itself.
    host.OnRemove = [&](const FakeConversionHost::Entry&) { SetTestEncoderSettings("mode=hang;log=" + log); };
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (u.Working && StartsWith(*u.Working, "Working on file 2 of 3") && !host.CloseRequested) {
            host.QuestionAnswers.push_back(mrYes);  // "Stop now"
            host.RequestClose();
        }
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(0, host.Finished);
    EXPECT_EQ((std::vector<std::string>{b, c}), host.Captions());
    EXPECT_FALSE(FileExists(a));  // finished, and deleted as asked
    EXPECT_TRUE(FileExists(b));   // stopped: kept
    EXPECT_TRUE(FileExists(c));
    ASSERT_EQ(1u, host.Questions.size());
    EXPECT_EQ("Do you want to stop encoding now or stop encoding when the currently processed file is done?",
              host.Questions[0].Text);
    EXPECT_EQ("Question [Stop now|When done|Cancel]", host.Questions[0].Caption);
    // "Stop now" ends like every other batch without an error: with the completion balloon.
    ASSERT_EQ(1u, host.Balloons.size());
    EXPECT_EQ(std::string(AppTitle) + " Information", host.Balloons[0].first);
    EXPECT_EQ("Convertion complete!", host.Balloons[0].second);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(0, host.Countdowns);
    EXPECT_TRUE(powerCalls.empty());
    EXPECT_EQ(2u, LoggedCommandLines().size());

    // A next-file message that arrives after the batch starts nothing.
    SetTestEncoderSettings("log=" + log);
    host.PostStartNextFile();
    driver.StartNextFileMessage();
    PumpMessagesUntil([] { return true; });
    EXPECT_EQ(2u, LoggedCommandLines().size());
    EXPECT_FALSE(runner.Active());
}

TEST_F(ConversionBatch, WhenDoneEndsAfterTheCurrentFileAndCountsDown)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg"), c = AddSource("c.mpg");
    Options.ShutdownWindowsWhenDone = true;
    Options.ShutdownFlag = saRestart;
    SetTestEncoderSettings("pace=150;log=" + log);  // the question comes while the first file runs
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (u.Working && host.Questions.empty()) {
            host.QuestionAnswers.push_back(mrNo);  // "When done"
            host.RequestClose();
        }
    };
    int ticks = 0;
    host.Countdown = [&] {
        TShutdownCountdown countdown;
        countdown.Start();
        do ++ticks;
        while (!countdown.Tick());
        return int(mrOk);
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_FALSE(host.CloseRequested);  // "When done" does not close the window
    EXPECT_TRUE(Options.StopWhenDone);
    EXPECT_EQ(1, host.Finished);
    EXPECT_EQ((std::vector<std::string>{b, c}), host.Captions());
    EXPECT_EQ(1u, LoggedCommandLines().size());
    ASSERT_EQ(1u, host.Balloons.size());
    EXPECT_EQ(1, host.Countdowns);
    EXPECT_EQ(31, ticks);
    EXPECT_EQ(std::vector<std::string>{"exit " + IntToStr(EWX_REBOOT)}, powerCalls);
}

TEST_F(ConversionBatch, CancelWithdrawsAnEarlierWhenDone)
{
    AddSource("a.mpg");
    AddSource("b.mpg");
    // Both questions come while the first file runs: its lines arrive apart, so it reports more than once.
    SetTestEncoderSettings("pace=150;log=" + log);
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (!u.Working || host.Questions.size() >= 2) return;
        host.QuestionAnswers.push_back(host.Questions.empty() ? mrNo : mrCancel);  // "When done", then "Cancel"
        host.RequestClose();
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(2u, host.Questions.size());
    EXPECT_FALSE(Options.StopWhenDone);
    EXPECT_TRUE(host.Files.empty());  // the batch ran to its end
    EXPECT_EQ(2u, LoggedCommandLines().size());
    EXPECT_EQ(1u, host.Balloons.size());
}

TEST_F(ConversionBatch, LastFileEndsWhileTheStopQuestionIsOpen)
{
    const std::string a = AddSource("a.mpg");
    // The file must still be running when the posted close request is handled.
    SetTestEncoderSettings("pace=300;log=" + log);
    Options.ShutdownWindowsWhenDone = true;
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (u.Working && host.Questions.empty() && !host.AnswerNow) {
            host.AnswerNow = [&] {
                // The question stays open until the batch has ended by itself.
                PumpMessagesUntil([&] { return driver.BatchFinished(); });
                return int(mrNo);
            };
            host.PostRequestClose();
        }
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    ASSERT_EQ(1u, host.Questions.size());
    EXPECT_TRUE(host.CloseRequested);  // the window closes after any answer ...
    EXPECT_EQ(1, host.Finished);
    EXPECT_TRUE(host.Files.empty());
    EXPECT_EQ(1u, host.Balloons.size());  // ... the file was done
    EXPECT_EQ(0, host.Countdowns);        // ... but no countdown follows a close by the user
}

TEST_F(ConversionBatch, CancelledCountdownRunsNoAction)
{
    AddSource("a.mpg");
    Options.ShutdownWindowsWhenDone = true;
    Options.ShutdownFlag = saShutdown;
    int ticks = 0;
    host.Countdown = [&] {
        TShutdownCountdown countdown;
        countdown.Start();
        while (ticks < 10 && !countdown.Tick()) ++ticks;
        return int(mrCancel);  // the user pressed Cancel
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(1, host.Countdowns);
    EXPECT_TRUE(powerCalls.empty());
}

// Every way the encoder can fail keeps the source, even with "delete source" on, leaves no output under
// the output's name, and is named in the message with what the encoder said last about it.
struct FailureCase {
    const char* name;
    const char* settings;
    const char* reason;  // what the message says of the failed file
};

class ConversionFailure : public ConversionBatch, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConversionFailure, KeepsTheSourceAndGoesOn)
{
    const FailureCase& k = GetParam();
    Options.DeleteFileAfterProcessing = true;
    Options.ShutdownWindowsWhenDone = true;
    host.Countdown = [] { return int(mrOk); };
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg");
    SetTestEncoderSettings(std::string(k.settings) + ";log=" + log);
    host.OnFailed = [&](const FakeConversionHost::Entry&) { SetTestEncoderSettings("log=" + log); };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();

    EXPECT_EQ(2u, LoggedCommandLines().size());  // the batch went on
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(FileExists(OutputOf(a))) << "a broken output stays as if it were the result";
    EXPECT_FALSE(FileExists(b));  // converted and deleted
    EXPECT_FALSE(OutputFileMissingOrEmpty(OutputOf(b)));
    ASSERT_EQ(1u, host.Files.size());
    EXPECT_EQ(a, host.Files[0].Caption);
    EXPECT_TRUE(host.Files[0].Failed);
    EXPECT_TRUE(Options.ErrorOccurred);
    EXPECT_EQ(1, Options.FilesFailed);
    EXPECT_EQ(1, Options.FilesDone);
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("At least one error occurred.\r\n\r\nThese files could not be converted:\r\na.mpg: " + std::string(k.reason),
              Messages()[0].Text);
    EXPECT_EQ("Oops, something wasn't as expected!", Messages()[0].Caption);
    EXPECT_EQ(UINT(MB_ICONWARNING), Messages()[0].Flags & MB_ICONMASK);
    ASSERT_EQ(1u, driver.FailedFiles().size());
    EXPECT_EQ("a.mpg", driver.FailedFiles()[0].File);
    EXPECT_TRUE(host.Balloons.empty());
    EXPECT_EQ(1, host.Countdowns);  // the after-batch action still follows
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ConversionFailure,
    ::testing::Values(FailureCase{"ExitCodeAndEmptyOutput", "mode=fail", "Error while encoding: test failure"},
                      FailureCase{"NoOutput", "output=none", "The encoder made no output file."},
                      FailureCase{"EmptyOutputExitZero", "output=empty", "The encoder made no output file."},
                      FailureCase{"ExitCodeWithOutput", "exitcode=3", "The encoder ended with exit code 3."},
                      FailureCase{"Crash", "mode=crash;output=none", "The encoder ended with exit code 0xC0000005."},
                      // A disk that fills part-way: part of the output was written.
                      // (The encoder names the output in full; the message by its name.)
                      FailureCase{"DiskFullPartWay", "outputsize=30000;room=9000",
                                  "Error writing trailer of a.avi: No space left on device"},
                      FailureCase{"DiskFullAtOnce", "room=0", "Error writing trailer of a.avi: No space left on device"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// An output that was there before (the user chose to overwrite it): a failed run that rewrote it leaves
// nothing under its name; one that failed before it touched the file leaves the file as it was.
TEST_F(ConversionBatch, AnOverwrittenOutputGoesOnlyWhenTheFailedRunRewroteIt)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg");
    const std::string earlier = "an earlier result of a";
    WriteFileText(OutputOf(a), earlier);
    WriteFileText(OutputOf(b), "an earlier result of b");
    host.QuestionAnswers = {mrYesToAll};
    host.MessageAnswer = IDYES;
    // a: fails before it writes; b: the disk fills while it writes.
    SetTestEncoderSettings("mode=fail;output=none;log=" + log);
    host.OnFailed = [&](const FakeConversionHost::Entry&) { SetTestEncoderSettings("outputsize=30000;room=9000;log=" + log); };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(2u, LoggedCommandLines().size());
    EXPECT_EQ(earlier, Read(OutputOf(a)));
    EXPECT_FALSE(FileExists(OutputOf(b)));
    EXPECT_TRUE(FileExists(a) && FileExists(b));
    EXPECT_EQ(2, Options.FilesFailed);
    ASSERT_EQ(2u, Messages().size());  // "Are you sure to overwrite all existing files?", then the failures
    const std::string& text = Messages()[1].Text;
    EXPECT_NE(std::string::npos, text.find("\r\na.mpg: Error while encoding: test failure\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\nb.mpg: Error writing trailer of ")) << text;
}

// Many failed files: the message names as many as fit and says how many more there are.
TEST_F(ConversionBatch, TheFailureMessageStaysOfASensibleSize)
{
    const size_t count = MaxListedFailures + 3;
    for (size_t i = 0; i < count; ++i) AddSource("file" + IntToStr(int64_t(i)) + ".mpg");
    SetTestEncoderSettings("mode=silent;output=none;log=" + log);
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(count, LoggedCommandLines().size());
    EXPECT_EQ(count, driver.FailedFiles().size());
    ASSERT_EQ(1u, Messages().size());
    const std::vector<std::string> lines = SplitLines(Messages()[0].Text);
    ASSERT_EQ(3 + MaxListedFailures + 1, lines.size());
    EXPECT_EQ("file0.mpg: The encoder made no output file.", lines[3]);
    EXPECT_EQ("... and 3 more.", lines.back());
}

// A real nearly full disk: a small file system mounted on the output folder. Mounting needs root on
// Linux (as CI runs); elsewhere the test says why it cannot run. The simulated full disk of
// ConversionFailure.KeepsTheSourceAndGoesOn/DiskFull* runs everywhere.
TEST_F(ConversionBatch, ANearlyFullDiskLeavesNoFileUnderTheOutputName)
{
    const std::string small = dir / "small disk\\";
    CreateDirectoryA(small.c_str(), nullptr);
    const std::string smallUnix = UnixPathOf(small);
    ASSERT_FALSE(smallUnix.empty());
    const TUnixCommandResult mount = RunUnixCommand("mount -t tmpfs -o size=64k orv-small-disk " + ShellQuote(smallUnix), 60000);
    if (!mount.Finished || mount.ExitCode != 0)
        GTEST_SKIP() << "no small file system can be mounted on " << smallUnix << " (this needs root): " << mount.Output;
    struct Unmount {
        std::string folder;
        ~Unmount() { RunUnixCommand("umount " + ShellQuote(folder), 60000); }
    } unmount{smallUnix};
    ASSERT_TRUE(WriteFileText(small + "filler", std::string(48 * 1024, 'f')));  // nearly full
    outDir = small;
    host.OutputFolder = small;
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg");
    SetTestEncoderSettings("outputsize=65536;log=" + log);  // more than the room left
    host.OnFailed = [&](const FakeConversionHost::Entry&) { SetTestEncoderSettings("log=" + log); };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_FALSE(FileExists(OutputOf(a)));
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(OutputFileMissingOrEmpty(OutputOf(b)));  // a small output still fits
    ASSERT_EQ(1u, Messages().size());
    EXPECT_NE(std::string::npos, Messages()[0].Text.find("\r\na.mpg: Error writing trailer of ")) << Messages()[0].Text;
    EXPECT_NE(std::string::npos, Messages()[0].Text.find(": No space left on device")) << Messages()[0].Text;
}

// Convert while the encoder of a stopped batch has not ended yet (it did not die within the wait):
// the user is told, and nothing starts.
TEST_F(ConversionBatch, ConvertSaysSoWhenThePreviousEncoderHasNotEnded)
{
    const std::string a = AddSource("a.mpg");
    const std::string ready = dir / "ready";
    SetTestEncoderSettings("mode=hang;ready=" + ready + ";log=" + log);
    runner.SetCommandLine("\"" + programDir + "avcore.dll\" -i \"" + a + "\" \"" + OutputOf(a) + "\"");
    runner.Execute();
    ASSERT_TRUE(PumpMessagesUntil([&] { return FileExists(ready); }));  // it runs, and hangs from now on
    driver.StopWaitMs = 0;  // no wait would see it end
    EXPECT_FALSE(driver.Convert());
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("The encoder of the previous conversion has not ended yet. Please wait a moment and try again.",
              Messages()[0].Text);
    EXPECT_EQ("Hint", Messages()[0].Caption);
    EXPECT_EQ(UINT(MB_ICONWARNING), Messages()[0].Flags & MB_ICONMASK);
    EXPECT_EQ(0, host.ProgressCreated);
    EXPECT_EQ(1u, LoggedCommandLines().size());

    // Once it has ended, Convert runs the batch.
    runner.Terminate(0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !runner.Active(); }));
    SetTestEncoderSettings("log=" + log);
    host.QuestionAnswers = {mrYes};  // the stopped run's output, if it made one
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_TRUE(host.Files.empty());
    EXPECT_EQ(1u, Messages().size());
}

// "Stop now" is no failure: the stopped file's partial output stays, as it always has.
TEST_F(ConversionBatch, StopNowKeepsThePartialOutput)
{
    const std::string a = AddSource("a.mpg");
    // It writes 5000 bytes of output, then the tail's lines, and hangs: the lines come after the output.
    SetTestEncoderSettings("mode=hang;outputsize=5000;tail=100;log=" + log);
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (u.Working && !host.CloseRequested && Read(OutputOf(a)).size() == 5000) {
            host.QuestionAnswers.push_back(mrYes);  // "Stop now"
            host.RequestClose();
        }
    };
    EXPECT_TRUE(driver.Convert());
    EXPECT_FALSE(runner.Active());
    EXPECT_EQ(std::vector<std::string>{a}, host.Captions());
    EXPECT_EQ(5000u, Read(OutputOf(a)).size());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ConversionBatch, AFileThatCannotStartCountsAsFailed)
{
    AVSExtList.Add(".rmvb");  // goes through the DirectShow script, whose template is missing
    const std::string a = AddSource("a.rmvb"), b = AddSource("b.mpg");
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ(std::vector<std::string>{ExpectedLine(b, OutputOf(b))}, LoggedCommandLines());
    ASSERT_EQ(1u, host.Files.size());
    EXPECT_EQ(a, host.Files[0].Caption);
    EXPECT_TRUE(host.Files[0].Failed);
    EXPECT_TRUE(FileExists(a));
    ASSERT_EQ(1u, Messages().size());
    // Named with why it could not start.
    const std::string& text = Messages()[0].Text;
    EXPECT_EQ(0u, text.find("At least one error occurred.\r\n\r\nThese files could not be converted:\r\n"
                            "a.rmvb: Cannot open file \"")) << text;
    EXPECT_EQ("DirectShow.avs\"", text.substr(text.size() - 15)) << text;
}

TEST_F(ConversionBatch, OnlyFileCannotStart)
{
    AVSExtList.Add(".rmvb");
    const std::string a = AddSource("a.rmvb");
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver(0);  // over before the window was shown
    EXPECT_TRUE(LoggedCommandLines().empty());
    EXPECT_EQ(1, host.Finished);
    ASSERT_EQ(1u, Messages().size());
}

TEST_F(ConversionBatch, DirectShowInputIsTheFilledScript)
{
    WriteFileText(Options.ProfileDir + "DirectShow.avs", "DirectShowSource(\"<%INPUTFILE%>\")\r\n# <%InputFile%>\r\n");
    AVSExtList.Add(".mkv");
    const std::string a = AddSource("a.mkv"), b = AddSource("b.MKV");  // the same extension in another case goes directly
    std::string scriptWhileRunning;
    SetTestEncoderSettings("pace=150;log=" + log);  // the first file reports while it runs
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (scriptWhileRunning.empty() && FileExists(DirectShowScriptFile())) scriptWhileRunning = Read(DirectShowScriptFile());
    };
    EXPECT_TRUE(driver.Convert());
    ExpectBatchOver();
    EXPECT_EQ((std::vector<std::string>{ExpectedLine(programDir + "DirectShow.avs", OutputOf(a)),
                                        ExpectedLine(b, OutputOf(b))}),
              LoggedCommandLines());
    EXPECT_EQ("DirectShowSource(\"" + a + "\")\r\n# " + a + "\r\n", scriptWhileRunning);
    EXPECT_TRUE(SawWorkingOn(1));
    bool sawRealName = false;
    for (const TProgressUpdate& u : host.Updates)
        if (u.Working && *u.Working == "Working on file 1 of 2: a.mkv") sawRealName = true;
    EXPECT_TRUE(sawRealName);  // the script's name is never shown
    EXPECT_TRUE(host.Files.empty());
}

TEST_F(ConversionBatch, AnotherBatchAfterAStop)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg");
    SetTestEncoderSettings("mode=hang;log=" + log);
    host.OnUpdate = [&](const TProgressUpdate& u) {
        if (u.Working && !host.CloseRequested) {
            host.QuestionAnswers.push_back(mrYes);
            host.RequestClose();
        }
    };
    EXPECT_TRUE(driver.Convert());
    EXPECT_FALSE(runner.Active());
    EXPECT_EQ(2, host.FileCount());

    // The stopped file's partial output is there; the next batch overwrites it after asking.
    SetTestEncoderSettings("log=" + log);
    host.OnUpdate = nullptr;
    host.QuestionAnswers = {mrYesToAll};
    host.MessageAnswer = IDYES;
    const bool partial = FileExists(OutputOf(a));
    EXPECT_TRUE(driver.Convert());
    EXPECT_EQ(partial ? 1u : 0u, host.Questions.size() - 1);
    EXPECT_TRUE(host.Files.empty());
    EXPECT_EQ(3u, LoggedCommandLines().size());
    EXPECT_EQ(2, host.ProgressFreed);
}

}  // namespace
