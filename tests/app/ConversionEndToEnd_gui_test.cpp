// The whole road with the real encoder: real media made by Debian's ffmpeg are added to the main
// window's list, a format and a profile of our own are chosen, Convert runs the batch through the
// encoder bridge ("avcore.dll", which runs Debian's ffmpeg), and Debian's mediainfo checks what came out.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "AppTestKit.h"
#include "FileUtils.h"
#include "LoopAction.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "ProfileLists.h"
#include "ProgressWnd.h"
#include "Prompter.h"
#include "Strings.h"
#include "TempDir.h"
#include "UnixShell.h"
#include "globals.h"
#include "profiles.h"

namespace {

using apptest::Exists;

// Sources made once for the whole file: clip.avi (320x240 test picture with a sine tone, MPEG-4 video
// and MP3 audio), tone.wav (the tone alone) and silent.avi (the picture alone), two seconds each.
// Empty when ffmpeg failed.
const std::string& MediaFolder() {
  static const struct TMedia {
    std::string Folder = MakeScratchFolder("orv-e2e-");
    bool Made = [this] {
      WriteWholeFile(Folder + "clip.avi", "");  // so that the folder's Linux path can be asked for
      std::string unixFolder = UnixPathOf(Folder + "clip.avi");
      unixFolder.erase(unixFolder.size() - std::string("clip.avi").size());
      const std::string gen = "ffmpeg -nostdin -v error -y ";
      const std::string tone = "-f lavfi -i sine=frequency=440:sample_rate=44100 -t 2 ";
      const TUnixCommandResult run = RunUnixCommand(
          "cd " + ShellQuote(unixFolder) + " && " + gen + "-f lavfi -i testsrc=size=320x240:rate=25 " + tone +
          "-c:v mpeg4 -b:v 300k -c:a libmp3lame -b:a 96k -ac 2 clip.avi && " + gen + tone +
          "-c:a pcm_s16le -ac 1 tone.wav && " + gen + "-f lavfi -i testsrc=size=320x240:rate=25 -t 2 " +
          "-c:v mpeg4 -b:v 300k silent.avi");
      return run.Finished && run.ExitCode == 0;
    }();
    ~TMedia() { RemoveScratchFolder(Folder); }
  } media;
  static const std::string none;
  return media.Made ? media.Folder : none;
}

// What Debian's mediainfo says for each (file, --Inform template such as "General;%Format%"), in order;
// one shell for all of them, since every Linux program started from here costs a second or so.
std::vector<std::string> MediainfoSays(const std::vector<std::pair<std::string, std::string>>& questions) {
  std::string command;
  for (const auto& q : questions)
    command += "mediainfo " + ShellQuote("--Inform=" + q.second) + " " + ShellQuote(UnixPathOf(q.first)) +
               " | tr -d '\\r\\n'; echo; ";
  const TUnixCommandResult run = RunUnixCommand(command);
  std::vector<std::string> answers;
  size_t begin = 0;
  for (size_t end; (end = run.Output.find('\n', begin)) != std::string::npos; begin = end + 1)
    answers.push_back(run.Output.substr(begin, end - begin));
  answers.resize(questions.size(), "(no answer: " + run.Output + ")");
  return answers;
}

int Milliseconds(const std::string& mediainfoDuration) { return int(std::atof(mediainfoDuration.c_str()) + 0.5); }

// One batch: a source, the format and a profile of our own whose settings must show in the output.
struct TEndToEndCase {
  const char* Source;
  TOutputFormat Format;
  const char* Ext;
  const char* Profile;
  std::vector<std::pair<const char*, const char*>> ProfileKeys;  // on top of the format's defaults
  const char* Container;  // mediainfo General;%Format%
  const char* Streams;    // mediainfo General;%VideoCount%|%AudioCount%
  const char* FrameSize;  // mediainfo Video;%Width%x%Height% ("" for audio only)
  int LimitMs;            // the profile's time limit; 0: the whole source
};

const TEndToEndCase Cases[] = {
    {"clip.avi", ofAVI, ".avi", "Small",
     {{"VideoCodec", "0"}, {"VideoSizeUseSourceDivX", "0"}, {"VideoWidthDivX", "176"}, {"VideoHeightDivX", "144"}},
     "AVI", "1|1", "176x144", 0},
    {"tone.wav", ofMp3, ".mp3", "One second",
     {{"EnableTimeControl", "1"}, {"Duration", "0:00:01.000"}, {"StartTime", "0:00:00.000"}},
     "MPEG Audio", "|1", "", 1000},
};

// Converted durations may differ from the source's by the container's and codec's granularity
// (frames of 40 ms, MP3 frames of 26 ms and the encoder's padding).
const int DurationToleranceMs = 150;

class ConversionEndToEnd : public ::testing::Test {
protected:
  TempDir dir;
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  TfrmMain* form = nullptr;

  void SetUp() override {
    ASSERT_FALSE(MediaFolder().empty()) << "Debian's ffmpeg could not make the sources";
    ASSERT_TRUE(apptest::StartProgramFolderInEnglish(dir));
    WriteLanguageFile();
    ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
    // The bridge under the encoder's name in this test's program folder.
    ASSERT_TRUE(CopyFileA((std::string(ORV_PROGRAM_DIR) + "avcore.dll").c_str(), (dir / "avcore.dll").c_str(), FALSE));
    oldPrompter = SetPrompter(&prompter);
  }

  void TearDown() override {
    if (form) form->Free();
    form = nullptr;
    SetPrompter(oldPrompter);
    Application->ClearTerminated();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);  // the batch made the program folder current; let it go
  }

  // The format's defaults with the case's keys on top, saved as a profile of that format.
  static void SaveProfile(const TEndToEndCase& c) {
    TSettingsFields& fields = OutputFormatInfo(c.Format).Fields();
    fields.Reset();
    for (const auto& key : c.ProfileKeys) {
      const size_t i = fields.IndexOf(key.first);
      ASSERT_LT(i, fields.Count()) << key.first;
      fields.SetText(i, key.second);
    }
    fields.Save(ProfileFilePath(c.Format, c.Profile));
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> c;
    for (int i = 0; i < form->lsvFileName->Count(); ++i) c.push_back(form->lsvFileName->Item(i)->GetCaption());
    return c;
  }
};

}  // namespace

// Both batches run in one main window, one after the other, as a user would convert them.
TEST_F(ConversionEndToEnd, VideoAndAudioConvertThroughTheBridgeIntoWhatTheProfilesAsk) {
  ASSERT_TRUE(CreateProfileDirs());
  for (const TEndToEndCase& c : Cases) SaveProfile(c);
  const std::string outDir = dir / "out\\";
  form = new TfrmMain(Application);
  form->Show();
  form->txtOutputDir->SetText(outDir);

  for (const TEndToEndCase& c : Cases) {
    SCOPED_TRACE(c.Source);
    const std::string source = dir / c.Source;
    ASSERT_TRUE(CopyFileA((MediaFolder() + c.Source).c_str(), source.c_str(), FALSE));
    const std::string output = outDir + ChangeFileExt(c.Source, c.Ext);
    form->AddFiles({source});
    ASSERT_EQ(Captions(), std::vector<std::string>{source}) << "the list refused the source";
    form->FormatAction(c.Format)->Execute();
    const std::vector<std::string> profiles = form->ProfileCombo(c.Format)->GetItems();
    const auto chosen = std::find(profiles.begin(), profiles.end(), std::string(c.Profile));
    ASSERT_NE(chosen, profiles.end());
    form->ProfileCombo(c.Format)->SetItemIndex(int(chosen - profiles.begin()));

    // The batch runs inside the progress window's modal loop; a batch that hangs is stopped.
    TLoopAction guard([] { return false; }, [] {},
                      [] {
                        if (frmProgress) frmProgress->btnCancel->Click();
                      });
    prompter.Prompts.clear();
    prompter.Answers = {mrYes};  // "Create directory?" for the output folder that is missing at first
    form->actConvert->Execute();

    ASSERT_FALSE(guard.TimedOut()) << "the batch did not end";
    EXPECT_EQ(frmProgress, nullptr);
    EXPECT_FALSE(Options.ErrorOccurred);
    EXPECT_EQ(Options.FilesDone, 1);
    for (const TPrompt& p : prompter.Prompts)
      EXPECT_EQ(p.Text, IDS_MESSAGEBOX_SureToCreateDir) << "nothing else is asked";
    EXPECT_EQ(Captions(), std::vector<std::string>{});
    EXPECT_TRUE(Exists(source)) << "the source is kept";
    ASSERT_TRUE(Exists(output));

    const std::vector<std::string> says =
        MediainfoSays({{source, "General;%Duration%"},
                       {output, "General;%Format%"},
                       {output, "General;%VideoCount%|%AudioCount%"},
                       {output, "Video;%Width%x%Height%"},
                       {output, "General;%Duration%"}});
    EXPECT_EQ(says[1], c.Container);
    EXPECT_EQ(says[2], c.Streams);
    EXPECT_EQ(says[3], c.FrameSize);
    const int expectedMs = c.LimitMs ? c.LimitMs : Milliseconds(says[0]);
    EXPECT_GT(expectedMs, 0) << says[0];
    EXPECT_NEAR(Milliseconds(says[4]), expectedMs, DurationToleranceMs) << says[4];
    // The encoder's own lines reached the parser: the duration it read (cut to the profile's limit)
    // and a last position at the end of the file.
    EXPECT_NEAR(Options.DurationMs, expectedMs, DurationToleranceMs);
    EXPECT_NEAR(Options.TimeMs, expectedMs, DurationToleranceMs);
    EXPECT_GE(Options.FilePercent, 90);
  }
  EXPECT_EQ(prompter.Prompts.size(), 0u) << "the output folder exists for the second batch";
}

// A clip without sound, as a user converts it: to 3GP (whose sound would be AMR) it gives its picture
// alone; to MP3 it cannot be converted, and the message says so in the encoder's words, with no output
// left under the file's name.
TEST_F(ConversionEndToEnd, AClipWithoutSoundConvertsToWhatCanHoldItsPicture) {
  ASSERT_TRUE(CreateProfileDirs());
  const TEndToEndCase plain3gp = {"silent.avi", ofTGP, ".3gp", "Plain", {}, "MPEG-4", "1|", "176x144", 0};
  const TEndToEndCase plainMp3 = {"silent.avi", ofMp3, ".mp3", "Plain", {}, "", "", "", 0};
  SaveProfile(plain3gp);
  SaveProfile(plainMp3);
  const std::string outDir = dir / "out\\";
  CreateDirectoryA(outDir.c_str(), nullptr);
  const std::string source = dir / "silent.avi";
  ASSERT_TRUE(CopyFileA((MediaFolder() + "silent.avi").c_str(), source.c_str(), FALSE));
  form = new TfrmMain(Application);
  form->Show();
  form->txtOutputDir->SetText(outDir);

  for (const TEndToEndCase* c : {&plain3gp, &plainMp3}) {
    SCOPED_TRACE(c->Ext);
    form->AddFiles({source});
    ASSERT_EQ(Captions(), std::vector<std::string>{source}) << "the list refused the source";
    form->FormatAction(c->Format)->Execute();
    const std::vector<std::string> profiles = form->ProfileCombo(c->Format)->GetItems();
    const auto chosen = std::find(profiles.begin(), profiles.end(), std::string(c->Profile));
    ASSERT_NE(chosen, profiles.end());
    form->ProfileCombo(c->Format)->SetItemIndex(int(chosen - profiles.begin()));
    TLoopAction guard([] { return false; }, [] {},
                      [] {
                        if (frmProgress) frmProgress->btnCancel->Click();
                      });
    prompter.Prompts.clear();
    form->actConvert->Execute();
    ASSERT_FALSE(guard.TimedOut()) << "the batch did not end";
    const std::string output = outDir + ChangeFileExt("silent.avi", c->Ext);
    if (*c->Container) {
      EXPECT_FALSE(Options.ErrorOccurred);
      EXPECT_TRUE(prompter.Prompts.empty());
      EXPECT_EQ(Captions(), std::vector<std::string>{});
      const std::vector<std::string> says = MediainfoSays({{output, "General;%Format%"},
                                                           {output, "General;%VideoCount%|%AudioCount%"},
                                                           {output, "Video;%Width%x%Height%"}});
      EXPECT_EQ(says[0], c->Container);
      EXPECT_EQ(says[1], c->Streams);
      EXPECT_EQ(says[2], c->FrameSize);
    } else {
      EXPECT_TRUE(Options.ErrorOccurred);
      EXPECT_EQ(Captions(), std::vector<std::string>{source}) << "the failed file stays in the list";
      EXPECT_FALSE(Exists(output));
      ASSERT_EQ(prompter.Prompts.size(), 1u);
      EXPECT_EQ(prompter.Prompts[0].Text,
                IDS_MESSAGEBOX_AnErrorOccurred + "\r\n\r\n" + IDS_MESSAGEBOX_FailedFiles +
                    "\r\nsilent.avi: avcore: the source has no sound stream, and MP3 files hold only sound: it "
                    "cannot be converted to MP3.");
    }
    EXPECT_TRUE(Exists(source)) << "the source is kept";
  }
}
