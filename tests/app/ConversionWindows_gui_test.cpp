// The windows of a batch in process, with the test encoder as the program's encoder: the main window
// converts its list through the driver, the progress window shows a file under way and stops it, the
// settings window round-trips the options, and the shutdown window counts down or is cancelled.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "FileUtils.h"
#include "Graphics.h"
#include "IniFile.h"
#include "LoopAction.h"
#include "MainWnd.h"
#include "MultiLanguages.h"
#include "OrvUtils.h"
#include "ProgressWnd.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SettingsWnd.h"
#include "ShutdownWnd.h"
#include "Strings.h"
#include "TempDir.h"
#include "TestEncoder.h"
#include "globals.h"

namespace {

using namespace apptest;

// A program folder of its own per test (language file, options, the encoder as "avcore.dll"), input
// and output folders, the main window, and the power actions recorded instead of run.
class ConversionWindows : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* form = nullptr;
  std::string inDir, outDir, log;
  std::vector<std::string> powerCalls;

  void SetUp() override {
    ASSERT_TRUE(StartProgramFolderInEnglish(dir));
    WriteLanguageFile();
    InstallTestEncoder(dir);
    inDir = dir / "in\\";
    outDir = dir / "out\\";
    CreateDirectoryA(inDir.c_str(), nullptr);
    CreateDirectoryA(outDir.c_str(), nullptr);
    log = dir / "log.txt";
    SetTestEncoderSettings("log=" + log);
    oldPrompter = SetPrompter(&prompter);
    ResetPowerApi();
    PowerApi().SetPrivilege = [](HANDLE, const std::string&, bool) { return true; };
    PowerApi().TerminateApplication = [this] { powerCalls.push_back("terminate"); };
    PowerApi().ExitSession = [this](UINT flags) { powerCalls.push_back("exit " + IntToStr(flags)); };
    PowerApi().SetPowerState = [this](bool suspend, bool) { powerCalls.push_back(suspend ? "suspend" : "hibernate"); };
  }

  void TearDown() override {
    if (form) form->Free();
    form = nullptr;
    SetPrompter(oldPrompter);
    SetTestEncoderSettings("");
    ResetPowerApi();
    Application->ClearTerminated();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);  // the batch made the program folder current; let it go
  }

  TfrmMain* NewForm() {
    form = new TfrmMain(Application);
    form->Show();
    form->txtOutputDir->SetText(outDir);
    return form;
  }

  // Source files listed as the file list holds them after adding: caption = full path, data = its
  // TFileItem with the size in bytes.
  std::vector<std::string> ListSources(std::initializer_list<const char*> names) {
    std::vector<std::string> paths;
    for (const char* name : names) {
      const std::string path = inDir + name;
      const std::string content = std::string("source ") + name + std::string(200 * (paths.size() + 1), '.');
      WriteFileText(path, content);
      auto* item = new TFileItem;
      item->FileName = name;
      item->FilePath = inDir;
      item->FileSize = IntToStr(int64_t(content.size()));
      TListItem* entry = form->lsvFileName->Add();
      entry->SetCaption(path);
      entry->SetImageIndex(0);
      entry->Data = item;
      paths.push_back(path);
    }
    form->UpdateSummary();
    return paths;
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> c;
    for (int i = 0; i < form->lsvFileName->Count(); ++i) c.push_back(form->lsvFileName->Item(i)->GetCaption());
    return c;
  }

  // The sources the encoder was started on, in order (the log holds each run's command line).
  std::vector<std::string> EncodedSources(const std::vector<std::string>& candidates) const {
    std::string text;
    std::vector<std::string> result;
    if (!ReadFileText(log, text)) return result;
    for (const std::string& line : SplitLines(text))
      for (const std::string& c : candidates)
        if (!line.empty() && line.find("-i \"" + c + "\"") != std::string::npos) result.push_back(c);
    return result;
  }

  std::string OutputOf(const std::string& source) const { return outDir + ChangeFileExt(ExtractFileName(source), ".avi"); }
};

}  // namespace

TEST_F(ConversionWindows, ThreeFilesConvertInListOrderAndLeaveTheListEmpty) {
  NewForm();
  const std::vector<std::string> sources = ListSources({"b.mpg", "a.wmv", "c.mov"});
  form->actConvert->Execute();

  EXPECT_EQ(Captions(), std::vector<std::string>{});
  EXPECT_EQ(EncodedSources(sources), sources);
  for (const std::string& s : sources) {
    EXPECT_TRUE(Exists(OutputOf(s))) << OutputOf(s);
    EXPECT_TRUE(Exists(s)) << "sources are kept unless the option says otherwise";
  }
  EXPECT_EQ(frmProgress, nullptr);
  EXPECT_EQ(Options.FilesDone, 3);
  EXPECT_FALSE(Options.ErrorOccurred);
  // Nothing to ask, nothing went wrong, no countdown.
  EXPECT_TRUE(prompter.Prompts.empty());
  EXPECT_TRUE(powerCalls.empty());
  EXPECT_EQ(Options.LastOutputOpenDir, outDir);
}

TEST_F(ConversionWindows, ExistingOutputsAreConfirmedThroughThePrompterAndNoStopsTheBatch) {
  NewForm();
  const std::vector<std::string> sources = ListSources({"one.mpg", "two.mpg"});
  for (const std::string& s : sources) WriteFileText(OutputOf(s), "old");
  prompter.Answers = {mrYes, mrNo};
  form->actConvert->Execute();

  ASSERT_EQ(prompter.Prompts.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NE(prompter.Prompts[i].Text.find(OutputOf(sources[i])), std::string::npos);
    EXPECT_EQ(prompter.Prompts[i].Caption, IDS_MESSAGEBOX_Overwrite);
    EXPECT_EQ(prompter.Prompts[i].Buttons, Buttons({mbYes, mbNo, mbCancel, mbYesToAll}));
    EXPECT_EQ(prompter.Prompts[i].ButtonCaptions.at(mbYesToAll), IDS_MESSAGE_BUTTON_YesToAll);
  }
  EXPECT_EQ(Captions(), sources);
  EXPECT_TRUE(EncodedSources(sources).empty());
}

// A failed batch names each failed file with the encoder's last error line, in the language's texts,
// and leaves no output under their names; the entries stay, marked as failed.
TEST_F(ConversionWindows, FailedFilesAreNamedInTheMessageInTheLanguagesTexts) {
  NewForm();
  const std::string builtIn = IDS_MESSAGEBOX_FailedFiles;
  IDS_MESSAGEBOX_FailedFiles = "Nicht umgewandelt:";  // as a translated language file gives it
  const std::vector<std::string> sources = ListSources({"one.mpg", "two.mpg"});
  SetTestEncoderSettings("outputsize=20000;room=5000;log=" + log);  // the disk fills part-way
  form->actConvert->Execute();
  IDS_MESSAGEBOX_FailedFiles = builtIn;

  ASSERT_EQ(prompter.Prompts.size(), 1u);
  std::string expected = IDS_MESSAGEBOX_AnErrorOccurred + "\r\n\r\nNicht umgewandelt:";
  for (const std::string& s : sources)
    expected += "\r\n" + ExtractFileName(s) + ": Error writing trailer of " + ExtractFileName(OutputOf(s)) +
                ": No space left on device";
  EXPECT_EQ(prompter.Prompts[0].Text, expected);
  EXPECT_EQ(prompter.Prompts[0].Caption, IDS_MESSAGEBOX_Oops);
  EXPECT_EQ(prompter.Prompts[0].Type, mtWarning);
  EXPECT_EQ(Captions(), sources);
  for (int i = 0; i < form->lsvFileName->Count(); ++i) EXPECT_EQ(form->lsvFileName->Item(i)->GetImageIndex(), 1);
  for (const std::string& s : sources) {
    EXPECT_FALSE(Exists(OutputOf(s))) << "a broken output is left under the output's name";
    EXPECT_TRUE(Exists(s));
  }
}

// The message of many failures as the user sees it: the files that fit, the long reasons shortened in
// their middle, and how many more failed.
TEST_F(ConversionWindows, TheFailureMessageOfManyFilesFitsTheScreen) {
  NewForm();
  std::vector<const char*> names = {"a clip with a rather long name from a camera 2026-12-11 10-30-00.mpg",
                                    "b.mpg", "c.mpg", "d.mpg", "e.mpg", "f.mpg", "g.mpg", "h.mpg", "i.mpg", "j.mpg",
                                    "k.mpg", "l.mpg"};
  for (const char* name : names) ListSources({name});
  SetTestEncoderSettings("room=0;log=" + log);
  SetPrompter(nullptr);  // the message box itself
  RECT box = {};
  std::string shown;
  const std::string caption = IDS_MESSAGEBOX_Oops;
  auto findBox = [&] { return FindWindowA("#32770", caption.c_str()); };
  TLoopAction look(
      [&] { return findBox() && IsWindowVisible(findBox()); },
      [&] {
        HWND h = findBox();
        GetWindowRect(h, &box);
        char text[4096] = "";
        GetDlgItemTextA(h, 0xFFFF, text, sizeof text);  // the box's static text
        shown = text;
        PumpMessagesUntil([] { return true; });
        SaveScreenshot(h, std::string(ORV_BUILD_DIR) + "failure_message.bmp");
        PostMessageA(h, WM_COMMAND, IDOK, 0);
      },
      [&] {
        if (HWND h = findBox()) PostMessageA(h, WM_COMMAND, IDOK, 0);
      });
  form->actConvert->Execute();
  SetPrompter(&prompter);

  ASSERT_TRUE(look.Acted()) << "no failure message appeared";
  EXPECT_NE(shown.find("... and 4 more."), std::string::npos) << shown;
  EXPECT_NE(shown.find("b.mpg: Error writing trailer of "), std::string::npos) << shown;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(box.right - box.left, screenWidth);
  EXPECT_LE(box.bottom - box.top, screenHeight);
  EXPECT_EQ(Captions().size(), names.size());
}

TEST_F(ConversionWindows, ProgressWindowMidFileShowsProgressAndStopNowKeepsTheRest) {
  NewForm();
  // Progress lines come slowly, so that the window is seen with the first file under way; the file
  // is long enough (a minute) that a loaded machine still stops it before it ends.
  SetTestEncoderSettings("pace=300;frames=200;log=" + log);
  const std::vector<std::string> sources = ListSources({"first.avi", "second.avi"});
  std::string statusShown, workingShown, outputShown;
  int barShown = -1;
  bool clipPlaying = false;
  // "Stop now" is the question's first button: the recording prompter's default answer.
  TLoopAction midFile(
      [&] {
        return frmProgress && frmProgress->GetVisible() && frmProgress->prgStatus->GetPercent() > 0 &&
               frmProgress->prgStatus->GetPercent() < 100 &&
               frmProgress->lblWorking->GetCaption().find(ExtractFileName(sources[0])) != std::string::npos;
      },
      [&] {
        statusShown = frmProgress->lblStatus->GetCaption();
        workingShown = frmProgress->lblWorking->GetCaption();
        outputShown = frmProgress->lblOutput->GetCaption();
        barShown = frmProgress->prgStatus->GetPercent();
        // The header clip plays, shown, once the encoder's output arrives.
        clipPlaying = frmProgress->anmConvert->Opened() && frmProgress->anmConvert->GetActive() &&
                      IsWindowVisible(frmProgress->anmConvert->Handle());
        frmProgress->Repaint();
        PumpMessagesUntil([] { return true; });
        SaveScreenshot(frmProgress->Handle(), std::string(ORV_BUILD_DIR) + "progress_window.bmp");
        frmProgress->btnCancel->Click();
      },
      [] {
        if (frmProgress) frmProgress->btnCancel->Click();
      });
  form->actConvert->Execute();

  ASSERT_TRUE(midFile.Acted()) << "the progress window never showed the file under way";
  EXPECT_GT(barShown, 0);
  EXPECT_TRUE(clipPlaying);
  EXPECT_EQ(statusShown, IDS_CONVERTING_BUTTON_Status + IntToStr(barShown) + "%");
  EXPECT_NE(workingShown.find(ExtractFileName(sources[0])), std::string::npos) << workingShown;
  EXPECT_NE(outputShown.find(ExtractFileName(OutputOf(sources[0]))), std::string::npos) << outputShown;
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, IDS_CONVERTING_StopEncoding);
  EXPECT_EQ(prompter.Prompts[0].ButtonCaptions.at(mbYes), IDS_CONVERTING_StopNow);
  EXPECT_EQ(prompter.Prompts[0].ButtonCaptions.at(mbNo), IDS_CONVERTING_Whendone);
  // Stopped at once: both entries stay, only the first was started.
  EXPECT_EQ(Captions(), sources);
  EXPECT_EQ(EncodedSources(sources), std::vector<std::string>{sources[0]});
  EXPECT_EQ(frmProgress, nullptr);
  EXPECT_TRUE(Exists(std::string(ORV_BUILD_DIR) + "progress_window.bmp"));
}

TEST_F(ConversionWindows, SendToTrayHidesBothWindowsAndTheIconBringsThemBack) {
  NewForm();
  SetTestEncoderSettings("pace=300;frames=20;log=" + log);
  const std::vector<std::string> sources = ListSources({"tray.avi"});
  bool mainHidden = false, progressHidden = false, iconShown = false, hintDuringBatch = false;
  bool mainBack = false, progressBack = false, iconGone = false, trayExitAsked = false;
  TLoopAction tray(
      [&] { return frmProgress && frmProgress->GetVisible(); },
      [&] {
        frmProgress->btnTray->Click();
        mainHidden = !IsWindowVisible(form->Handle());
        progressHidden = !IsWindowVisible(frmProgress->Handle());
        // The icon in the notification area is the program's own (none would leave nothing to click).
        iconShown = form->TrayIcon->GetIconVisible() && form->TrayIcon->NotifyData().hIcon != nullptr;
        // A double click on the icon, as the shell reports it to the icon's window.
        SendMessageA(TTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, WPARAM(form->TrayIcon->NotifyData().uID),
                     WM_LBUTTONDBLCLK);
        mainBack = IsWindowVisible(form->Handle()) != FALSE;
        progressBack = IsWindowVisible(frmProgress->Handle()) != FALSE;
        iconGone = !form->TrayIcon->GetIconVisible();
        hintDuringBatch = !form->TrayIcon->GetHint().empty();
        // The tray menu's exit during a batch closes the progress window, which asks how to stop.
        form->miTrayExitClick(form->TrayIcon);
        trayExitAsked = true;
      },
      [] {
        if (frmProgress) frmProgress->btnCancel->Click();
      });
  form->actConvert->Execute();

  ASSERT_TRUE(tray.Acted());
  EXPECT_TRUE(mainHidden);
  EXPECT_TRUE(progressHidden);
  EXPECT_TRUE(iconShown);
  EXPECT_TRUE(mainBack);
  EXPECT_TRUE(progressBack);
  EXPECT_TRUE(iconGone);
  EXPECT_TRUE(hintDuringBatch);
  EXPECT_TRUE(trayExitAsked);
  // "Stop now" (the prompter's first button) ended the batch with the file still listed.
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, IDS_CONVERTING_StopEncoding);
  EXPECT_EQ(Captions(), sources);
  EXPECT_FALSE(Application->Terminated());
}

TEST_F(ConversionWindows, ProgressCheckBoxesChangeTheOptionsAtOnce) {
  Options.DeleteFileAfterProcessing = true;
  Options.ShutdownWindowsWhenDone = false;
  TfrmProgress* progress = new TfrmProgress(Application);
  EXPECT_TRUE(progress->chkDelSource->GetChecked());
  EXPECT_FALSE(progress->chkShutdown->GetChecked());
  progress->Show();
  // A click on the box itself, as the user makes it.
  SendMessageA(progress->chkShutdown->Handle(), BM_CLICK, 0, 0);
  SendMessageA(progress->chkDelSource->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(Options.ShutdownWindowsWhenDone);
  EXPECT_FALSE(Options.DeleteFileAfterProcessing);
  EXPECT_EQ(progress->btnTray->GetCaption(), IDS_CONVERTING_BUTTON_SendToTray);
  progress->Free();
}

TEST_F(ConversionWindows, WhenDoneWithShutdownRunsTheCountdownAndTheChosenAction) {
  NewForm();
  Options.ShutdownWindowsWhenDone = true;
  Options.ShutdownFlag = 4;  // hibernate
  const std::vector<std::string> sources = ListSources({"x.avi", "y.avi"});
  prompter.Answers = {mrNo};  // "When done"
  // Each file takes a while, so that the question comes during the first.
  SetTestEncoderSettings("pace=300;frames=4;log=" + log);
  bool noticeShown = false, closedAtOnce = true;
  int countdownStart = -1;
  TLoopAction askStop([&] { return frmProgress && frmProgress->GetVisible(); },
                      [&] {
                        closedAtOnce = frmProgress->CloseQuery();  // what Cancel and the close box run
                        noticeShown = frmProgress->lblStopWhenDone->GetVisible();
                      },
                      [] {});
  // The countdown window: its timer is fired by hand until the time is up.
  TLoopAction countdown(
      [&] { return askStop.Acted() && OwnedForm<TfrmShutdown>(form) && OwnedForm<TfrmShutdown>(form)->GetVisible(); },
      [&] {
        TfrmShutdown* s = OwnedForm<TfrmShutdown>(form);
        s->tmrShutdown->SetEnabled(false);  // ticks are fired by hand
        countdownStart = s->SecondsLeft();
        for (int i = 0; i <= TShutdownCountdown::StartSeconds; ++i) s->tmrShutdownTimer(s->tmrShutdown);
      },
      [&] {
        if (TfrmShutdown* s = OwnedForm<TfrmShutdown>(form)) s->btnCancel->Click();
      });
  form->actConvert->Execute();

  EXPECT_TRUE(noticeShown);
  EXPECT_FALSE(closedAtOnce);
  EXPECT_EQ(Captions(), std::vector<std::string>{sources[1]});
  EXPECT_EQ(countdownStart, 30);
  EXPECT_EQ(powerCalls, std::vector<std::string>{"hibernate"});
}

TEST_F(ConversionWindows, SettingsRoundTripTheOptionsOnOkAndKeepThemOnCancel) {
  struct Case {
    uint8_t priority, flag;
    bool directShow;
    int choosePriority, chooseFlag;
    bool chooseDirectShow;
    TModalResult close;
    uint8_t wantPriority, wantFlag;
    bool wantDirectShow;
  };
  const Case cases[] = {
      {1, 0, false, 3, 4, true, mrOk, 3, 4, true},     // Realtime, Hibernate, DirectShow
      {1, 0, false, 3, 4, true, mrCancel, 1, 0, false}, // Cancel keeps everything
      {0, 5, true, 2, 1, false, mrOk, 2, 1, false},
      {9, 2, false, -1, 2, false, mrOk, 255, 2, false}, // stored outside the list: nothing selected
  };
  NewForm();
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.priority) * 100 + c.choosePriority);
    Options.Priority = c.priority;
    Options.ShutdownFlag = c.flag;
    Options.UseDirectShow = c.directShow;
    SaveOptions();
    int shownPriority = -2, shownFlag = -2;
    bool shownDirectShow = !c.directShow;
    std::vector<std::string> flagItems;
    TLoopAction edit([&] { return OwnedForm<TfrmSettings>(form) && OwnedForm<TfrmSettings>(form)->GetVisible(); },
                     [&] {
                       TfrmSettings* s = OwnedForm<TfrmSettings>(form);
                       shownPriority = s->ComboBoxPriority->GetItemIndex();
                       shownFlag = s->ComboBoxShutdownFlag->GetItemIndex();
                       shownDirectShow = s->CheckBoxDirectShow->GetChecked();
                       flagItems = s->ComboBoxShutdownFlag->GetItems();
                       s->ComboBoxPriority->SetItemIndex(c.choosePriority);
                       s->ComboBoxShutdownFlag->SetItemIndex(c.chooseFlag);
                       s->CheckBoxDirectShow->SetChecked(c.chooseDirectShow);
                       (c.close == mrOk ? s->ButtonOK : s->ButtonCancel)->Click();
                     },
                     [&] {
                       if (TfrmSettings* s = OwnedForm<TfrmSettings>(form)) s->ButtonCancel->Click();
                     });
    form->actSettingsExecute->Execute();
    ASSERT_TRUE(edit.Acted());
    EXPECT_EQ(shownPriority, c.priority < 4 ? int(c.priority) : -1);
    EXPECT_EQ(shownFlag, int(c.flag));
    EXPECT_EQ(shownDirectShow, c.directShow);
    ASSERT_EQ(flagItems.size(), 6u);
    EXPECT_EQ(flagItems[0], Format(IDS_SETTINGS_COMBOBOX_Close, {std::string(AppTitle)}));
    EXPECT_EQ(int(Options.Priority), int(c.wantPriority));
    EXPECT_EQ(int(Options.ShutdownFlag), int(c.wantFlag));
    EXPECT_EQ(Options.UseDirectShow, c.wantDirectShow);
    TIniFile ini(OptionsIniFile);
    EXPECT_EQ(ini.ReadInteger("Orvaneoptions", "Priority", -1), int(c.wantPriority));
    EXPECT_EQ(ini.ReadInteger("Orvaneoptions", "ShutdownFlag", -1), int(c.wantFlag));
    EXPECT_EQ(ini.ReadInteger("Orvaneoptions", "UseDirectShow", -1), c.wantDirectShow ? 1 : 0);
    EXPECT_EQ(OwnedForm<TfrmSettings>(form), nullptr) << "the window is freed after use";
  }
}

TEST_F(ConversionWindows, ShutdownWindowCountsDownThenCloses) {
  TfrmShutdown* s = new TfrmShutdown(Application);
  EXPECT_TRUE(s->tmrShutdown->GetEnabled());
  s->tmrShutdown->SetEnabled(false);  // ticks are fired by hand
  std::vector<std::string> shown{s->lblTimeOut->GetCaption()};
  int closedAfter = -1;
  for (int tick = 1; tick <= 40 && closedAfter < 0; ++tick) {
    s->tmrShutdownTimer(s->tmrShutdown);
    if (s->GetModalResult() == mrOk)
      closedAfter = tick;
    else
      shown.push_back(s->lblTimeOut->GetCaption());
  }
  // "Time left: 30" down to "Time left: 0", then the tick after closes with OK.
  ASSERT_EQ(shown.size(), 31u);
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(shown[size_t(i)], Format(IDS_SHUTDOWN_LABEL_TimeLeft, {30 - i}));
  EXPECT_EQ(closedAfter, 31);
  s->Free();
}

TEST_F(ConversionWindows, ShutdownCancelStopsTheCountdownAtAnyTime) {
  for (int ticksBefore : {0, 1, 17, 30}) {
    SCOPED_TRACE(ticksBefore);
    TfrmShutdown* s = new TfrmShutdown(Application);
    s->tmrShutdown->SetEnabled(false);  // ticks are fired by hand
    TModalResult result = mrNone;
    TLoopAction cancel([&] { return s->GetVisible(); },
                       [&] {
                         for (int i = 0; i < ticksBefore; ++i) s->tmrShutdownTimer(s->tmrShutdown);
                         s->btnCancel->Click();
                       },
                       [&] { s->btnCancel->Click(); });
    result = s->ShowModal();
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(s->SecondsLeft(), 30 - ticksBefore);
    s->Free();
  }
}
