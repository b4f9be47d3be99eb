// The main window in process: the sixteen-format table, start with a stored format, first start and
// the ways the window ends (options that cannot be written included), the file list with real media
// (details, refusals, duplicates, a media library that cannot be loaded), deleting, moving, the summary,
// the media panel and its caption column, and a screenshot with two files listed.
#include "MainWnd.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "AppTestKit.h"
#include "FileList.h"
#include "FileUtils.h"
#include "IniFile.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "OrvUtils.h"
#include "ProfileLists.h"
#include "Prompter.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "ShellOpen.h"
#include "TempDir.h"
#include "Strings.h"
#include "UnixShell.h"
#include "globals.h"

namespace {

using namespace apptest;

// Real media made once for the whole file by Debian's ffmpeg (clip.avi, clip.mp4, clip.mp3, clip.wav)
// and random bytes named random.avi.
std::string MediaFolder() {
  static std::string folder = [] {
    std::string f = MakeScratchFolder("orv-mainwnd-");
    WriteWholeFile(f + "params.txt", "");
    std::string unixFolder = UnixPathOf(f + "params.txt");
    unixFolder.erase(unixFolder.size() - std::string("params.txt").size());
    TUnixCommandResult run =
        RunUnixCommand("sh " + ShellQuote(UnixPathOf(DataFile("make-media.sh"))) + " " + ShellQuote(unixFolder));
    return run.Finished && run.ExitCode == 0 ? f : std::string();
  }();
  return folder;
}

// A program folder of its own per test: the language file, then the paths, the texts and the library.
class MainWindow : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* form = nullptr;
  std::vector<std::string> shellOpened;

  void SetUp() override {
    ASSERT_TRUE(StartProgramFolderInEnglish(dir));
    WriteLanguageFile();
    ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
    oldPrompter = SetPrompter(&prompter);
    SetShellOpen([this](HWND, const std::string& verb, const std::string& file) { shellOpened.push_back(verb + "|" + file); });
  }

  void TearDown() override {
    if (form) form->Free();
    form = nullptr;
    SetPrompter(oldPrompter);
    SetMenuChooser(nullptr);
    Application->ClearTerminated();
  }

  TfrmMain* NewForm() {
    form = new TfrmMain(Application);
    form->Show();
    return form;
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> c;
    for (int i = 0; i < form->lsvFileName->Count(); ++i) c.push_back(form->lsvFileName->Item(i)->GetCaption());
    return c;
  }

  // What the list shows after adding files: entries, their details and images, the summary, the media
  // panel and the messages given (in order).
  struct TShown {
    std::vector<std::string> Captions;
    std::vector<std::vector<std::string>> Details;
    std::vector<int> Images;
    std::string Summary, PanelName;
    std::vector<std::string> Prompts;
    size_t PromptCount() const { return Prompts.size(); }
    bool operator==(const TShown& o) const {
      return Captions == o.Captions && Details == o.Details && Images == o.Images && Summary == o.Summary &&
             PanelName == o.PanelName && Prompts == o.Prompts;
    }
  };
  TShown Shown() const {
    TShown s;
    s.Captions = Captions();
    for (int i = 0; i < form->lsvFileName->Count(); ++i) {
      s.Details.push_back(form->lsvFileName->Item(i)->SubItems);
      s.Images.push_back(form->lsvFileName->Item(i)->GetImageIndex());
    }
    s.Summary = form->lblStatus->GetCaption();
    s.PanelName = form->lblCompleteNameText->GetCaption();
    for (const auto& p : prompter.Prompts) s.Prompts.push_back(p.Caption + "|" + p.Text);
    return s;
  }

  int StoredOutputFormat() const { return TIniFile(OptionsIniFile).ReadInteger("Orvaneoptions", "OutputFormat", -1); }

  // The combo box that lies on top of the other fifteen in the window's z-order.
  TComboBox* TopCombo() const {
    for (HWND h = GetTopWindow(form->Handle()); h; h = GetWindow(h, GW_HWNDNEXT))
      for (int f = 0; f < FormatCount; ++f)
        if (form->ProfileCombo(f)->HandleAllocated() && form->ProfileCombo(f)->Handle() == h) return form->ProfileCombo(f);
    return nullptr;
  }

  // Copies of clip.mp3 under the given names in the test folder; their paths.
  std::vector<std::string> Mp3Copies(std::initializer_list<const char*> names) {
    std::vector<std::string> paths;
    for (const char* n : names) {
      CopyFileA((MediaFolder() + "clip.mp3").c_str(), (dir / n).c_str(), FALSE);
      paths.push_back(dir / n);
    }
    return paths;
  }

  // State the window shows for the current format, checked against the table for every format.
  void ExpectFormatState(int current) {
    for (const TFormatChoice& f : FormatChoices) {
      TAction* a = form->FormatAction(f.Format);
      SCOPED_TRACE(std::string("format ") + f.Name + ", current " + std::to_string(current));
      if (f.Direct) {
        EXPECT_EQ(a->GetEnabled(), f.Format != current);
        EXPECT_FALSE(a->GetChecked());
        EXPECT_TRUE(form->FormatRadio(f.Format)->GetEnabled());
        EXPECT_EQ(form->FormatRadio(f.Format)->GetChecked(), f.Format == current);
      } else {
        EXPECT_TRUE(a->GetEnabled());
        EXPECT_EQ(a->GetChecked(), f.Format == current);
      }
    }
    EXPECT_TRUE(form->actOthers->GetEnabled());
    EXPECT_EQ(form->CurrentFormat(), current);
    if (current >= 0) {
      EXPECT_EQ(int(Options.OutputFormat), current);
      EXPECT_EQ(form->FrontProfileCombo(), form->ProfileCombo(current));
      EXPECT_EQ(TopCombo(), form->ProfileCombo(current));
      // Only the current format's list shows.
      for (int f = 0; f < FormatCount; ++f) EXPECT_EQ(form->ProfileCombo(f)->GetVisible(), f == current) << f;
      EXPECT_TRUE(IsWindowVisible(form->ProfileCombo(current)->Handle()));
    }
  }
};

}  // namespace

TEST_F(MainWindow, SixteenFormatTable) {
  NewForm();
  ExpectFormatState(0);
  // Every format through its own action, in an order that crosses between direct and "others".
  for (int f : {13, 0, 8, 7, 15, 1, 2, 10, 3, 11, 4, 12, 5, 14, 6, 9}) {
    form->FormatAction(f)->Execute();
    ExpectFormatState(f);
  }
}

// The focus never lands in a list the user cannot see: Tab walks past the hidden ones, and a list that
// had the focus hands it to the list that takes its place.
TEST_F(MainWindow, TheFocusStaysInTheProfileListThatShows) {
  NewForm();
  SetForegroundWindow(form->Handle());
  form->ProfileCombo(0)->SetFocus();
  Application->ProcessMessages();
  ASSERT_TRUE(form->ProfileCombo(0)->Focused());
  form->FormatAction(13)->Execute();  // MP3, from the "others" menu: the focus stays where it was
  Application->ProcessMessages();
  EXPECT_TRUE(form->ProfileCombo(13)->Focused());
  EXPECT_EQ(GetFocus(), form->ProfileCombo(13)->Handle());
  std::set<TWinControl*> reached;
  for (int i = 0; i < 60; ++i) {
    form->SelectNext(form->GetActiveControl(), true, true);
    TWinControl* now = form->GetActiveControl();
    ASSERT_NE(now, nullptr);
    reached.insert(now);
    EXPECT_TRUE(IsWindowVisible(GetFocus())) << now->GetName();
  }
  for (int f = 0; f < FormatCount; ++f) EXPECT_EQ(reached.count(form->ProfileCombo(f)), f == 13 ? 1u : 0u) << f;
}

TEST_F(MainWindow, OthersMenuChoosesMp3ThenAviRadio) {
  NewForm();
  SetMenuChooser([](TPopupMenu* menu, int, int) { return FindMenuItem(menu->Items(), "miMP3"); });
  form->actOthers->Execute();
  ExpectFormatState(13);
  // The radio button's click runs its action.
  form->FormatRadio(0)->Click();
  ExpectFormatState(0);
  EXPECT_FALSE(form->FormatAction(13)->GetChecked());
}

TEST_F(MainWindow, ProfileListsAreFilledFromTheProfileFolders) {
  InitGlobals(dir.Path());
  ASSERT_TRUE(CreateProfileDirs());
  WriteWholeFile(ProfileFilePath(13, "Voice"), "");
  WriteWholeFile(ProfileFilePath(13, "Music"), "");
  WriteWholeFile(ProfileFilePath(0, "Default"), "");
  NewForm();
  std::vector<std::string> mp3 = form->ProfileCombo(13)->GetItems();
  std::sort(mp3.begin(), mp3.end());
  EXPECT_EQ(mp3, (std::vector<std::string>{"Music", "Voice"}));
  EXPECT_EQ(form->ProfileCombo(0)->GetItems(), std::vector<std::string>{"Default"});
  EXPECT_EQ(form->ProfileCombo(0)->GetItemIndex(), 0);
  EXPECT_EQ(form->ProfileCombo(5)->ItemCount(), 0);
}

TEST_F(MainWindow, StartWithAStoredFormatRestoresIt) {
  const int stored[] = {0, 9, 13, 15, 4, 16, 200};
  for (int value : stored) {
    SCOPED_TRACE(value);
    TIniFile(OptionsIniFile).WriteInteger("Orvaneoptions", "OutputFormat", value);
    TIniFile(OptionsIniFile).WriteString("Orvaneoptions", "LastOutputOpenDir", "D:\\Out\\" + std::to_string(value));
    NewForm();
    if (value < FormatCount)
      ExpectFormatState(value);
    else
      EXPECT_EQ(form->CurrentFormat(), -1);
    EXPECT_EQ(form->txtOutputDir->GetText(), "D:\\Out\\" + std::to_string(value));
    form->Free();
    form = nullptr;
  }
}

TEST_F(MainWindow, FirstStartWritesOptionsFillsTheLanguageFileAndCreatesProfileFolders) {
  // Before: only the language file, holding its name and its two lists.
  EXPECT_FALSE(Exists(dir / "options.ini"));
  NewForm();
  EXPECT_TRUE(Exists(dir / "options.ini"));
  EXPECT_EQ(StoredOutputFormat(), 0);
  EXPECT_EQ(form->CurrentFormat(), 0);
  // The language file was written back with every text.
  TIniFile lang(dir / "langs\\English.ini");
  EXPECT_EQ(lang.ReadString("VideoAPP_Convert", "IDS_None", "?"), "<None>");
  EXPECT_EQ(lang.ReadString("VideoAPP_Convert", "IDS_MAIN_LABEL_SummaryFile", "?"), "Summary: %d files");
  for (const TProfileFolder& f : ProfileFolders())
    EXPECT_TRUE(Exists(dir / (std::string("langs\\English_Profile\\") + f.ShortName))) << f.ShortName;
}

TEST_F(MainWindow, OnlyTheExitActionSavesTheOptions) {
  NewForm();
  ASSERT_EQ(StoredOutputFormat(), 0);
  // Closing in any other way keeps the file as it was.
  form->FormatAction(13)->Execute();
  form->miTrayExitClick(form);
  PumpMessagesUntil([] { return true; });
  EXPECT_EQ(StoredOutputFormat(), 0);
  if (form && !form->IsDestroying()) form->Free();
  form = nullptr;
  Application->ClearTerminated();

  Options = TOptions();
  NewForm();
  EXPECT_EQ(form->CurrentFormat(), 0);
  form->FormatAction(1)->Execute();
  Options.LastOutputOpenDir = "E:\\Converted\\";
  form->actExit->Execute();
  // The application was told to end: the loop finds the quit message.
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(StoredOutputFormat(), 1);
  EXPECT_EQ(TIniFile(OptionsIniFile).ReadString("Orvaneoptions", "LastOutputOpenDir", ""), "E:\\Converted\\");
}

// A program folder without write rights (a folder where "options.ini" should be makes the write fail
// also where the system lets an administrator write anywhere): the failed write is reported, the window
// is set up all the same, and Exit still ends the program after saying that the options were not saved.
TEST_F(MainWindow, OptionsThatCannotBeWrittenAreReportedAndTheWindowIsSetUpAllTheSame) {
  ASSERT_TRUE(CreateDirectoryA((dir / "options.ini").c_str(), nullptr));
  ASSERT_TRUE(ForceDirectories(dir / "langs\\English_Profile\\avi"));
  WriteWholeFile(dir / "langs\\English_Profile\\avi\\Fast.avo", "[General]\r\n");
  const std::string failure = "Unable to write to " + OptionsIniFile + ".";
  try {
    NewForm();
  } catch (...) {
    FAIL() << "the failed write left the window's creation";
  }
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, failure);
  EXPECT_EQ(prompter.Prompts[0].Type, mtError);
  // Set up to the end: the format and its profiles, the texts, the caption.
  ExpectFormatState(0);
  EXPECT_EQ(form->ProfileCombo(0)->GetItems(), std::vector<std::string>{"Fast"});
  EXPECT_EQ(form->lblStatus->GetCaption(), "Summary: No files");
  EXPECT_EQ(form->GetCaption(), std::to_string(reinterpret_cast<uintptr_t>(form->Handle())));

  form->actExit->Execute();
  ASSERT_EQ(prompter.Prompts.size(), 2u);
  EXPECT_EQ(prompter.Prompts[1].Text, failure);
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// A media library that cannot be loaded (missing, or a file without its functions) is reported once per
// batch with the reason, not as one damaged file after another.
TEST_F(MainWindow, AMediaLibraryThatCannotBeLoadedIsReportedOncePerBatch) {
  ASSERT_FALSE(MediaFolder().empty());
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  CreateDirectoryA((dir / "nolib").c_str(), nullptr);
  CreateDirectoryA((dir / "badlib").c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((std::string(system) + "\\version.dll").c_str(), (dir / "badlib\\videoinfo.Dll").c_str(), FALSE));
  struct {
    const char* Folder;
    const char* Reason;  // part of the reason
  } cases[] = {{"nolib\\", "(126)"}, {"badlib\\", "(MediaInfoA_New)"}};
  NewForm();
  const std::string media = MediaFolder();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    UnloadMediaInfoDll();
    ASSERT_FALSE(LoadMediaInfoDll(dir / c.Folder));
    for (int batch = 0; batch < 2; ++batch) {
      prompter.Prompts.clear();
      form->AddFiles({media + "clip.avi", media + "clip.mp4", media + "clip.mp3"});
      EXPECT_EQ(form->lsvFileName->Count(), 0);
      ASSERT_EQ(prompter.Prompts.size(), 1u);
      const std::string& text = prompter.Prompts[0].Text;
      EXPECT_EQ(text, Format(IDS_MESSAGEBOX_MediaLibraryError, {dir / c.Folder + "videoinfo.Dll", MediaInfoDllFailure().Reason}));
      EXPECT_NE(text.find(c.Reason), std::string::npos) << text;
      EXPECT_EQ(prompter.Prompts[0].Type, mtError);
      EXPECT_EQ(prompter.Prompts[0].Caption, "Error");
    }
  }
  // A fresh window over the library loaded again adds files as before. The old window goes first: under
  // an emulator the library does not map again while a window that used it is still there.
  UnloadMediaInfoDll();
  form->Free();
  form = nullptr;
  ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
  NewForm();
  prompter.Prompts.clear();
  form->AddFiles({media + "clip.avi"});
  EXPECT_EQ(form->lsvFileName->Count(), 1);
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(MainWindow, RealMediaGiveTheirDetailsAndRandomBytesAreRefused) {
  ASSERT_FALSE(MediaFolder().empty()) << "make-media.sh failed";
  NewForm();
  const std::string media = MediaFolder();
  form->AddFiles({media + "clip.avi", media + "clip.mp4", media + "clip.mp3", media + "random.avi"});
  EXPECT_EQ(Captions(), (std::vector<std::string>{media + "clip.avi", media + "clip.mp4", media + "clip.mp3"}));
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  EXPECT_EQ(prompter.Prompts[0].Text, Format(IDS_MESSAGEBOX_FormatError, {media + "random.avi"}));
  EXPECT_EQ(prompter.Prompts[0].Caption, "Error");

  struct {
    int Index;
    std::string TFileItem::*Field;
    std::string Expected;  // empty: anything but the "none" text
  } values[] = {
      {0, &TFileItem::FileName, "clip.avi"}, {0, &TFileItem::FilePath, media}, {0, &TFileItem::Width, "320"},
      {0, &TFileItem::Height, "240"},        {0, &TFileItem::VideoCount, "1"}, {0, &TFileItem::AudioCount, "1"},
      {0, &TFileItem::CompleteName, media + "clip.avi"}, {0, &TFileItem::VideoCodec, ""}, {0, &TFileItem::AudioCodec, ""},
      {1, &TFileItem::Width, "320"},         {1, &TFileItem::Format, "MPEG-4"}, {1, &TFileItem::Channels, "2"},
      {2, &TFileItem::VideoCodec, "<None>"}, {2, &TFileItem::Width, "<None>"}, {2, &TFileItem::SamplingRate, "44100"},
      {2, &TFileItem::AudioCodec, ""},       {2, &TFileItem::PlayTime, ""},    {2, &TFileItem::FileSize, ""},
  };
  for (const auto& v : values) {
    TFileItem* item = form->FileItemOf(v.Index);
    ASSERT_NE(item, nullptr);
    if (v.Expected.empty())
      EXPECT_NE(item->*v.Field, "<None>") << v.Index;
    else
      EXPECT_EQ(item->*v.Field, v.Expected) << v.Index;
  }
  // Sub-items hold the sixteen values in order.
  for (int i = 0; i < FileItemValueCount; ++i)
    EXPECT_EQ(form->lsvFileName->Item(0)->SubItems.at(size_t(i)), form->FileItemOf(0)->*FileItemValues[i]);
  EXPECT_EQ(form->lblStatus->GetCaption(), "Summary: 3 files");
}

TEST_F(MainWindow, DuplicatesMissingFilesFoldersAndOtherExtensionsAreSkippedSilently) {
  ASSERT_FALSE(MediaFolder().empty());
  NewForm();
  std::vector<std::string> mp3 = Mp3Copies({"Clip.mp3"});
  WriteWholeFile(dir / "notes.txt", "not media");
  WriteWholeFile(dir / "clip.m", "not media");
  CreateDirectoryA((dir / "folder.avi").c_str(), nullptr);
  std::string lower = dir / "clip.mp3", upper = dir / "CLIP.MP3";
  form->DropFiles({mp3[0], lower, upper, dir / "notes.txt", dir / "clip.m", dir / "missing.mp3", dir / "folder.avi"});
  EXPECT_EQ(Captions(), std::vector<std::string>{mp3[0]});
  EXPECT_TRUE(prompter.Prompts.empty());
  EXPECT_EQ(form->lsvFileName->Selected(), form->lsvFileName->Item(0));
}

// A batch brings the list up to date once at its end; what it lists must be what adding the same
// files one by one lists: the same entries in the same order with the same details, refusals and summary.
TEST_F(MainWindow, BatchAddListsWhatAddingOneByOneLists) {
  ASSERT_FALSE(MediaFolder().empty());
  const std::string media = MediaFolder();
  std::vector<std::string> files = Mp3Copies({"b.mp3", "a.mp3", "c.mp3"});
  const std::string upper = dir / "A.MP3";
  files.insert(files.begin() + 1, media + "clip.avi");
  files.insert(files.end(), {upper, media + "random.avi", dir / "missing.mp3", media + "clip.mp4", files[0]});
  NewForm();
  form->AddFiles(files);
  const TShown batch = Shown();
  form->AddFiles(files);  // a second batch finds every file listed already
  EXPECT_TRUE(Shown().Captions == batch.Captions);
  form->ClearFileList();
  prompter.Prompts.clear();
  for (const std::string& f : files) form->AddFile(f);
  const TShown single = Shown();
  EXPECT_TRUE(batch == single);
  EXPECT_EQ(batch.Captions, (std::vector<std::string>{files[0], media + "clip.avi", files[2], files[3], media + "clip.mp4"}));
  EXPECT_EQ(batch.Summary, "Summary: 5 files");
  EXPECT_EQ(batch.PromptCount(), 1u);
  EXPECT_EQ(WaitCursorDepth(), 0);
}

// The library reads a batch's files ahead on several threads: however their reads interleave, the
// list shows exactly what adding the files one by one shows, refusals in the same order, for a long
// mix of good, damaged, truncated, empty, missing, repeated and unsupported files.
TEST_F(MainWindow, ReadAheadOfAMixListsWhatAddingOneByOneLists) {
  ASSERT_FALSE(MediaFolder().empty());
  const std::string media = MediaFolder();
  const std::string mp4 = ReadWholeFile(media + "clip.mp4");
  std::vector<std::string> files;
  for (int round = 0; round < 6; ++round) {
    const std::string r = std::to_string(round);
    std::vector<std::string> copies = Mp3Copies({("a" + r + ".mp3").c_str(), ("b" + r + ".mp3").c_str()});
    for (size_t cut : {size_t(0), size_t(100), size_t(1000), mp4.size() / 2}) {
      const std::string name = dir / ("cut" + std::to_string(cut) + "_" + r + ".mp4");
      WriteWholeFile(name, mp4.substr(0, cut));
      files.push_back(name);
    }
    WriteWholeFile(dir / ("notes" + r + ".txt"), "not media");
    CopyFileA((media + "random.avi").c_str(), (dir / ("random" + r + ".avi")).c_str(), FALSE);
    files.insert(files.end(), {copies[0], media + "clip.avi", dir / ("random" + r + ".avi"), media + "clip.mp4",
                               dir / ("notes" + r + ".txt"), dir / ("missing" + r + ".mp3"), copies[1],
                               media + "clip.wav", media + "random.avi", copies[0]});
    std::string upper = copies[1];
    CharUpperBuffA(&upper[upper.size() - 6], 6);  // "B0.MP3": the same file in another case
    files.push_back(upper);
  }
  NewForm();
  form->AddFiles(files);
  const TShown batch = Shown();
  form->ClearFileList();
  prompter.Prompts.clear();
  form->DropFiles(files);
  const TShown dropped = Shown();
  form->ClearFileList();
  prompter.Prompts.clear();
  for (const std::string& f : files) form->AddFile(f);
  const TShown single = Shown();
  EXPECT_TRUE(batch == single);
  EXPECT_EQ(dropped.Captions, single.Captions);
  EXPECT_EQ(dropped.Details, single.Details);
  EXPECT_EQ(dropped.Prompts, single.Prompts);
  // The mix lists each round's two copies and the three good clips once, and refuses both random
  // files of every round (a refused file is refused again each time it comes).
  EXPECT_GE(single.Captions.size(), 6u * 2 + 3);
  EXPECT_GE(single.PromptCount(), 6u * 2);
  EXPECT_EQ(WaitCursorDepth(), 0);
}

// While a long batch is added, the window answers messages: another thread asks the list for its
// count and gets answers that show the list half filled.
TEST_F(MainWindow, WindowAnswersWhileABatchIsAdded) {
  ASSERT_FALSE(MediaFolder().empty());
  std::vector<std::string> files;
  for (int i = 0; i < 200; ++i) {
    const std::string name = dir / ("clip" + std::to_string(i) + ".mp3");
    CopyFileA((MediaFolder() + "clip.mp3").c_str(), name.c_str(), FALSE);
    files.push_back(name);
  }
  NewForm();
  const HWND list = form->lsvFileName->Handle();
  std::atomic<bool> done{false};
  std::vector<LRESULT> counts;  // the asking thread's own until it is joined
  std::thread asker([&] {
    while (!done) {
      DWORD_PTR count = 0;
      if (SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) counts.push_back(LRESULT(count));
      Sleep(1);
    }
  });
  form->AddFiles(files);
  done = true;
  asker.join();
  EXPECT_EQ(form->lsvFileName->Count(), 200);
  EXPECT_TRUE(std::any_of(counts.begin(), counts.end(), [](LRESULT c) { return c > 0 && c < 200; }))
      << counts.size() << " answers, none in the middle of the batch";
}

TEST_F(MainWindow, DeleteTable) {
  ASSERT_FALSE(MediaFolder().empty());
  struct {
    std::vector<int> Selected;
    std::vector<int> Remaining;  // indexes of the original five
    int SelectedAfter;           // -1: nothing selected
    const char* Summary;
  } cases[] = {
      {{1, 3}, {0, 2, 4}, 1, "Summary: 3 files"},
      {{4}, {0, 1, 2, 3}, 3, "Summary: 4 files"},
      {{0}, {1, 2, 3, 4}, 0, "Summary: 4 files"},
      {{0, 1, 2, 3}, {4}, 0, "Summary: One file"},
      {{0, 1, 2, 3, 4}, {}, -1, "Summary: No files"},
      {{}, {0, 1, 2, 3, 4}, -1, "Summary: 5 files"},
  };
  std::vector<std::string> files = Mp3Copies({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"});
  NewForm();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Summary);
    form->ClearFileList();
    form->AddFiles(files);
    form->lsvFileName->ClearSelection();
    for (int i : c.Selected) form->lsvFileName->Item(i)->SetSelected(true);
    form->actDelete->Execute();
    PumpMessagesUntil([] { return true; });
    std::vector<std::string> expected;
    for (int i : c.Remaining) expected.push_back(files[size_t(i)]);
    EXPECT_EQ(Captions(), expected);
    TListItem* sel = form->lsvFileName->Selected();
    EXPECT_EQ(sel ? sel->Index() : -1, c.SelectedAfter);
    EXPECT_EQ(form->lsvFileName->SelCount(), c.SelectedAfter < 0 ? 0 : 1);
    EXPECT_EQ(form->lblStatus->GetCaption(), c.Summary);
    for (int i = 0; i < form->lsvFileName->Count(); ++i) EXPECT_EQ(form->FileItemOf(i)->FilePath + form->FileItemOf(i)->FileName, Captions()[size_t(i)]);
  }
}

TEST_F(MainWindow, MoveTable) {
  ASSERT_FALSE(MediaFolder().empty());
  struct {
    int Selected;
    bool Up;
    std::vector<int> Order;
    int SelectedAfter;
  } cases[] = {
      {0, true, {0, 1, 2}, 0},  {2, false, {0, 1, 2}, 2}, {1, true, {1, 0, 2}, 0},
      {1, false, {0, 2, 1}, 2}, {0, false, {1, 0, 2}, 1}, {2, true, {0, 2, 1}, 1},
  };
  std::vector<std::string> files = Mp3Copies({"a.mp3", "b.mp3", "c.mp3"});
  NewForm();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Selected) + (c.Up ? " up" : " down"));
    form->ClearFileList();
    form->AddFiles(files);
    form->SelectListItem(form->lsvFileName, c.Selected);
    (c.Up ? form->actMoveUp : form->actMoveDown)->Execute();
    std::vector<std::string> expected;
    for (int i : c.Order) expected.push_back(files[size_t(i)]);
    EXPECT_EQ(Captions(), expected);
    ASSERT_NE(form->lsvFileName->Selected(), nullptr);
    EXPECT_EQ(form->lsvFileName->Selected()->Index(), c.SelectedAfter);
    // The data moved with its entry.
    for (int i = 0; i < form->lsvFileName->Count(); ++i)
      EXPECT_EQ(form->FileItemOf(i)->FilePath + form->FileItemOf(i)->FileName, Captions()[size_t(i)]);
  }
}

TEST_F(MainWindow, RemoveFileAndSummaryTable) {
  ASSERT_FALSE(MediaFolder().empty());
  std::vector<std::string> files = Mp3Copies({"a.mp3", "b.mp3", "c.mp3"});
  NewForm();
  EXPECT_EQ(form->lblStatus->GetCaption(), "Summary: No files");
  form->AddFiles(files);
  form->UpdateSummary();
  const char* summaries[] = {"Summary: 2 files", "Summary: One file", "Summary: No files"};
  for (int i = 0; i < 3; ++i) {
    form->RemoveFile(files[size_t(i)]);
    EXPECT_EQ(form->lblStatus->GetCaption(), summaries[i]);
    EXPECT_EQ(form->lsvFileName->Count(), 2 - i);
  }
  // A path that is not listed changes nothing.
  form->AddFiles({files[0]});
  form->RemoveFile(dir / "other.mp3");
  EXPECT_EQ(form->lsvFileName->Count(), 1);
}

TEST_F(MainWindow, MediaPanelFollowsTheSelection) {
  ASSERT_FALSE(MediaFolder().empty());
  NewForm();
  EXPECT_FALSE(form->pnlMediaInfo->GetVisible());
  const std::string media = MediaFolder();
  form->AddFiles({media + "clip.avi", media + "clip.mp3"});
  form->UpdateSummary();
  EXPECT_TRUE(form->pnlMediaInfo->GetVisible());
  form->SelectListItem(form->lsvFileName, 0);
  TFileItem* avi = form->FileItemOf(0);
  EXPECT_EQ(form->lblCompleteNameText->GetCaption(), avi->CompleteName);
  EXPECT_EQ(form->lblWidthText->GetCaption(), "320");
  EXPECT_EQ(form->lblCodecText->GetCaption(), avi->VideoCodec);
  EXPECT_EQ(form->lblCodecsText->GetCaption(), avi->AudioCodec);
  EXPECT_NE(avi->VideoCodec, avi->AudioCodec);
  form->SelectListItem(form->lsvFileName, 1);
  EXPECT_EQ(form->lblWidthText->GetCaption(), "<None>");
  EXPECT_EQ(form->lblSamplingRateText->GetCaption(), "44100");
  form->lsvFileName->ClearSelection();
  for (TOrvLabel* l : {form->lblCompleteNameText, form->lblPlayTimeText, form->lblFormatText, form->lblAudioCountText,
                       form->lblVideoCountText, form->lblCodecText, form->lblWidthText, form->lblHeightText,
                       form->lblBitratesText, form->lblAspectRatioText, form->lblFrameRateText, form->lblCodecsText,
                       form->lblBitrateText, form->lblChannelsText, form->lblSamplingRateText})
    EXPECT_EQ(l->GetCaption(), "<None>") << l->GetName();
}

// Each caption of the media panel fits its column, the column is as wide as the longest caption in the
// current language (measured again when the language changes), and the values lie beside it.
TEST_F(MainWindow, MediaPanelCaptionsFitTheirColumnInEveryLanguage) {
  NewForm();
  const auto textWidth = [](TOrvLabel* label) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->GetFont()->Handle());
    RECT r{0, 0, 0, 0};
    const std::string text = label->GetCaption();
    DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return int(r.right);
  };
  const std::vector<TOrvLabel*> values = {
      form->lblCompleteNameText, form->lblPlayTimeText, form->lblFormatText, form->lblAudioCountText,
      form->lblVideoCountText, form->lblCodecText, form->lblWidthText, form->lblHeightText, form->lblBitratesText,
      form->lblAspectRatioText, form->lblFrameRateText, form->lblCodecsText, form->lblBitrateText,
      form->lblChannelsText, form->lblSamplingRateText};
  const std::vector<std::string*> captionTexts = {
      &IDS_MAIN_LABEL_CompleteName, &IDS_MAIN_LABEL_PlayTime, &IDS_MAIN_LABEL_Format, &IDS_MAIN_LABEL_AudioCount,
      &IDS_MAIN_LABEL_VideoCount, &IDS_MAIN_LABEL_Codec, &IDS_MAIN_LABEL_Width, &IDS_MAIN_LABEL_Height,
      &IDS_MAIN_LABEL_Bitrate, &IDS_MAIN_LABEL_AspectRatio, &IDS_MAIN_LABEL_FrameRate, &IDS_MAIN_LABEL_Channels,
      &IDS_MAIN_LABEL_SamplingRate};
  enum TFit { Fits, Capped };
  struct {
    const char* Language;
    std::function<void()> SetTexts;
    TFit Fit;
  } languages[] = {
      {"built-in", [] {}, Fits},
      {"short", [&] { for (std::string* t : captionTexts) *t = "N:"; }, Fits},
      {"one long caption", [] { IDS_MAIN_LABEL_CompleteName = "Kompletter Name:"; }, Fits},
      {"one caption longer than the panel allows",
       [] { IDS_MAIN_LABEL_SamplingRate = "Abtastrate des Tons in Hertz und noch viel mehr:"; }, Capped},
  };
  const int panelWidth = form->pnlMediaInfo->GetWidth();
  std::vector<int> columns;
  for (const auto& language : languages) {
    SCOPED_TRACE(language.Language);
    ResetLanguageTexts();
    language.SetTexts();
    form->ApplyLanguage();
    int longest = 0, column = -1;
    for (TOrvLabel* value : values) {
      TOrvLabel* caption = form->MediaCaption(value);
      ASSERT_NE(caption, nullptr) << value->GetName();
      longest = std::max(longest, textWidth(caption));
      if (column < 0) column = caption->GetWidth();
      EXPECT_EQ(caption->GetWidth(), column) << caption->GetName();  // one column
      EXPECT_GE(value->GetLeft(), caption->GetLeft() + caption->GetWidth()) << value->GetName();
      EXPECT_LE(value->GetLeft() + value->GetWidth(), panelWidth) << value->GetName();
      EXPECT_GE(value->GetWidth(), panelWidth / 3 - 1) << value->GetName();  // the values keep room
    }
    if (language.Fit == Fits) {
      EXPECT_EQ(column, longest);
    } else {
      EXPECT_LT(column, longest);
      EXPECT_LE(values[0]->GetWidth(), panelWidth / 3 + 1);  // no narrower than the values need
    }
    columns.push_back(column);
  }
  EXPECT_LT(columns[1], columns[0]);  // measured again for every language
  EXPECT_GT(columns[2], columns[0]);
  ResetLanguageTexts();
}

TEST_F(MainWindow, PlaySourceOpensTheSelectedFile) {
  ASSERT_FALSE(MediaFolder().empty());
  NewForm();
  form->actPlaySource->Execute();
  EXPECT_TRUE(shellOpened.empty());
  form->AddFiles({MediaFolder() + "clip.mp3"});
  form->SelectListItem(form->lsvFileName, 0);
  form->actPlaySource->Execute();
  EXPECT_EQ(shellOpened, std::vector<std::string>{"|" + MediaFolder() + "clip.mp3"});
}

// Help Content (F1 and the menu items) opens the help file; a missing one is named in a message
// instead of nothing happening.
TEST_F(MainWindow, HelpContentSaysWhenTheHelpFileIsMissing) {
  NewForm();
  ASSERT_FALSE(Exists(HelpFile));
  PostMessageA(form->Handle(), WM_KEYDOWN, VK_F1, 0);  // through the message loop's short-cut handling
  Application->ProcessMessages();
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  form->actHelpContent->Execute();
  ASSERT_EQ(prompter.Prompts.size(), 2u);
  for (const TPrompt& p : prompter.Prompts) {
    EXPECT_EQ(p.Text, "The file \"" + HelpFile + "\" couldn't be found.");
    EXPECT_EQ(p.Caption, "Hint");
    EXPECT_EQ(p.Type, mtWarning);
  }
  EXPECT_TRUE(shellOpened.empty());

  ASSERT_TRUE(WriteWholeFile(HelpFile, "help"));
  const size_t before = prompter.Prompts.size();
  form->actHelpContent->Execute();
  EXPECT_EQ(prompter.Prompts.size(), before);
  EXPECT_EQ(shellOpened, std::vector<std::string>{"Open|" + HelpFile});
}

TEST_F(MainWindow, ScreenshotWithTwoFiles) {
  ASSERT_FALSE(MediaFolder().empty());
  NewForm();
  const std::string media = MediaFolder();
  form->AddFiles({media + "clip.avi", media + "clip.mp4"});
  form->UpdateSummary();
  form->SelectListItem(form->lsvFileName, 0);
  SetForegroundWindow(form->Handle());
  PumpMessagesUntil([] { return true; });
  form->Repaint();
  PumpMessagesUntil([] { return true; });
  SaveScreenshot(form->Handle(), std::string(ORV_BUILD_DIR) + "main_window.bmp");
  // The shape: the corner lies outside the window, the title bar inside.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form->Handle(), rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, 300, 10));
  DeleteObject(rgn);
}
