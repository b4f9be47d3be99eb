// Helpers of the editor window tests that work on a format's whole settings record: reading and
// writing its fields by key, the load -> show -> save round trip, the option string the builder makes of
// the record (to check that the editor's lists hold the builder's choices in the builder's order), and
// the main window's Add and Edit driven with the test's answers.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "EditorTestKit.h"
#include "IniFile.h"
#include "MainWnd.h"
#include "OptionDetails.h"
#include "ProfileEditor.h"
#include "ProfileEditors.h"
#include "ProfileLists.h"
#include "Strings.h"
#include "TempDir.h"
#include "globals.h"
#include "profiles.h"

namespace rrt {

using etk::RecordFields;
using etk::SetRecordFields;
using etk::TFields;

// Position among the parent's children; later is further in front.
inline int ZOrder(TControl* c) {
  TWinControl* parent = c->GetParent();
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (parent->Controls(i) == c) return i;
  return -1;
}

// The editor as the main window uses it: created, loaded, shown (FormShow runs the rules).
inline TfrmProfileEditor* OpenEditor(TOutputFormat format) {
  const TProfileEditorFactory factory = ProfileEditorFactory(format);
  if (!factory) {
    ADD_FAILURE() << "no editor for format " << int(format);
    return nullptr;
  }
  TfrmProfileEditor* editor = factory(Application);
  editor->LoadSettings();
  editor->FormShow(editor);
  return editor;
}

// One round trip: the record reset and given `stored`, loaded, shown and saved into a scrambled record.
// Every field must come back as stored, except those `changed` names (values the controls cannot show).
struct TRoundTrip {
  const char* Name;
  TFields Stored;
  TFields Changed;
};

inline void CheckRoundTrip(TOutputFormat format, const TRoundTrip& c) {
  SCOPED_TRACE(c.Name);
  OutputFormatInfo(format).Reset();
  SetRecordFields(format, c.Stored);
  TFields expected = RecordFields(format);
  for (const auto& [key, value] : c.Changed) {
    ASSERT_TRUE(expected.count(key)) << key;
    expected[key] = value;
  }
  TfrmProfileEditor* editor = OpenEditor(format);
  ASSERT_NE(editor, nullptr);
  etk::ScrambleRecord(format);
  editor->SaveSettings();
  editor->Free();
  const TFields saved = RecordFields(format);
  for (const auto& [key, value] : expected) EXPECT_EQ(saved.at(key), value) << key;
}

// The option string the format's builder makes of the current record (written to a temporary profile
// file first, as the main window would). The builder reloads the record from that file.
inline std::string BuildOptions(TOutputFormat format, const TempDir& dir) {
  const std::string file = dir / "profile.ini";
  OutputFormatInfo(format).Save(file);
  const TOutputFormat oldFormat = Options.OutputFormat;
  Options.OutputFormat = format;
  std::string options;
  BuildEncoderOptions(file, options);
  Options.OutputFormat = oldFormat;
  return options;
}

inline std::string BuildOptions(TOutputFormat format) {
  TempDir dir;
  return BuildOptions(format, dir);
}

// For every item of an editor list: the record with `base` and the field `key` set to the item's index
// gives an option string holding the fragment that `fragmentOf` makes of the item's text. So the list
// holds the builder's choices in the builder's order.
inline void ExpectListAgreesWithBuilder(TOutputFormat format, const std::vector<std::string>& items,
                                        const std::string& key, const TFields& base,
                                        const std::function<std::string(const std::string&)>& fragmentOf) {
  ASSERT_FALSE(items.empty()) << key;
  for (size_t i = 0; i < items.size(); ++i) {
    OutputFormatInfo(format).Reset();
    SetRecordFields(format, base);
    SetRecordFields(format, {{key, IntToStr(int(i))}});
    const std::string options = BuildOptions(format);
    const std::string fragment = fragmentOf(items[i]);
    EXPECT_NE((" " + options).find(" " + fragment), std::string::npos)
        << key << " " << i << " \"" << items[i] << "\": no \"" << fragment << "\" in \"" << options << "\"";
  }
}

// Fragments of the usual lists: a sample rate, a frame rate, a channel choice ("6 (...)" is 5.1).
inline std::string SampleRateFragment(const std::string& item) { return "-ar " + Trim(item) + " "; }
inline std::string FrameRateFragment(const std::string& item) { return "-r " + Trim(item) + " "; }
inline std::string ChannelsFragment(const std::string& item) {
  const std::string count = item.substr(0, item.find(' '));
  return "-ac " + (count == "6" ? std::string("5:1") : count) + " ";
}
// The encoder's codec for the codec names of the built-in language texts.
inline std::string CodecFragment(const std::string& item) {
  static const std::map<std::string, std::string> codecs = {
      {"Divx", "-vcodec msmpeg4 "},       {"Xvid", "-vcodec xvid "},          {"H263", "-vcodec h263 "},
      {"Mpeg-2", "-vcodec mpeg2video "},  {"Real Video 7", "-vcodec rv10 "},  {"Flv", "-vcodec flv "},
      {"Mp2", "-acodec mp2 "},            {"Mp3", "-acodec mp3 "},            {"AC3", "-acodec ac3 "},
      {"AAC", "-acodec aac "},            {"AMR Narrow-Band", "-acodec amr_nb "},
      {"AMR Narrow-Wide", "-acodec amr_wb "},
  };
  auto it = codecs.find(item);
  return it == codecs.end() ? "unknown codec " + item : it->second;
}

// The main window over a fresh program folder, its two modal steps answered by the test: the editor
// step runs `onEditor` on the window the main window made (its result is the modal result), the name
// step gives `name`.
class TMainWindowDriver {
public:
  TMainWindowDriver() {
    InitGlobals(FDir.Path());
    CreateDirectoryA((FDir / "langs").c_str(), nullptr);
    EXPECT_TRUE(CreateProfileDirs());
    Form = new TfrmMain(Application);
    Form->AskProfileName = [this](const std::string&, std::string& name) {
      name = Name;
      return true;
    };
    Form->RunProfileEditor = [this](TfrmProfileEditor* editor) {
      ++EditorRuns;
      return OnEditor(editor);
    };
  }
  ~TMainWindowDriver() { Form->Free(); }

  TfrmMain* Form;
  std::string Name = "Test";
  int EditorRuns = 0;
  std::function<int(TfrmProfileEditor*)> OnEditor = [](TfrmProfileEditor*) { return 1; };

private:
  TempDir FDir;
};

}  // namespace rrt
