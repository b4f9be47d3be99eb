// Checks shared by the tests of the video editor windows built from a TVideoEditorSpec (all nine):
//   - the record by key (read, write, scramble) and the load -> show -> save round trip over a table of
//     stored records and the fields that come back otherwise;
//   - the lists against the option builder: every item of a codec, sample-rate, channel or frame-rate
//     list, chosen in the window and saved, must make the builder emit the option that item names;
//   - the main window's Add and Edit reaching the format's window through the editor table.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>
#include <map>
#include <string>
#include <vector>

#include "EditorTestKit.h"
#include "EditorTexts.h"
#include "MainWnd.h"
#include "OptionDetails.h"
#include "ProfileEditors.h"
#include "ProfileLists.h"
#include "RecordRoundTrip.h"
#include "Settings.h"
#include "Strings.h"
#include "TempDir.h"
#include "VideoProfileEditor.h"
#include "globals.h"

namespace vtk {

using etk::RecordFields;
using etk::ScrambleRecord;
using etk::SetRecordFields;
using etk::TFields;

// The window as the main window leaves it when shown: created, loaded, shown (FormShow's rules).
inline TfrmVideoProfileEditor* OpenEditor(TOutputFormat format) {
  TfrmProfileEditor* editor = rrt::OpenEditor(format);
  auto* form = dynamic_cast<TfrmVideoProfileEditor*>(editor);
  EXPECT_NE(form, nullptr);
  return form;
}

// One stored record and the fields that come back otherwise; all others come back as stored.
using TRoundTripCase = rrt::TRoundTrip;

inline void CheckRoundTrips(TOutputFormat format, const std::vector<TRoundTripCase>& cases) {
  for (const TRoundTripCase& c : cases) rrt::CheckRoundTrip(format, c);
}

// The fixture of a video editor window's tests: texts and the format's record reset before each test,
// the window freed after it. `W` is the window class the tests reach into.
template <TOutputFormat Format, class W = TfrmVideoProfileEditor>
class TVideoEditorTest : public ::testing::Test {
protected:
  W* form = nullptr;

  void SetUp() override {
    ResetEditorTexts();
    OutputFormatInfo(Format).Reset();
  }
  void TearDown() override {
    if (form) form->Free();
    ResetEditorTexts();
  }
  // Opens the window as the main window leaves it when shown; one open from before is freed first.
  W* Open() {
    if (form) form->Free();
    form = dynamic_cast<W*>(OpenEditor(Format));
    EXPECT_NE(form, nullptr);
    return form;
  }
};

// Sets every video page's fields away from the defaults, each within what the controls show (a preset
// within the slider). Fixed-size (H.263) pages get one of their sizes and one of their extra aspects.
inline void VaryVideoPages(TFields& fields, const std::vector<TVideoPage>& pages) {
  for (size_t i = 0; i < pages.size(); ++i) {
    const TVideoPage& p = pages[i];
    const std::string& k = p.KeySuffix;
    const int n = int(i);
    fields["VideoBitRateUsePresert" + k] = IntToStr(n % 2);
    fields["VideoBitRatePreset" + k] = p.Table->Entry(1 + (n + 3) % p.SliderLength);
    fields["VideoBitRateSpecify" + k] = IntToStr(100 + 7 * n);
    fields["VideoKeepFrameRate" + k] = IntToStr((n + 1) % 2);
    fields["VideoFrameRate" + k] = IntToStr((3 * n + 1) % 13);
    if (p.FixedSize) {
      fields["VideoWidth" + k] = "176";
      fields["VideoHeight" + k] = "144";
      fields["VideoAspect" + k] = "3";
    } else {
      fields["VideoSizeUseSource" + k] = IntToStr(n % 2);
      fields["VideoWidth" + k] = IntToStr(2 * (n + 100));
      fields["VideoHeight" + k] = IntToStr(2 * (n + 60) + 1);
      fields["VideoAspect" + k] = IntToStr((n + 1) % 3);
    }
  }
}

// ---- lists against the option builder ----

// The encoder options the builder makes of the record as the window saved it.
inline std::string BuildFromRecord(TOutputFormat format, const TempDir& dir) { return rrt::BuildOptions(format, dir); }

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What the builder must emit for a list item, from the item's text (these formats' builders send the
// channel count as it stands).
using rrt::FrameRateFragment;
using rrt::SampleRateFragment;
inline std::string ChannelsOption(const std::string& item) { return "-ac " + item.substr(0, item.find(' ')) + " "; }

// Chooses list item `index` as the user would (the list's change binding runs) and saves.
inline void Choose(TComboBox* list, int index) {
  list->SetItemIndex(index);
  if (list->OnChange) list->OnChange(list);
}

inline void ExpectCodec(const std::string& options, const std::string& kind, const std::string& expected) {
  if (expected.empty())
    EXPECT_FALSE(Contains(options, kind)) << options;
  else
    EXPECT_TRUE(Contains(options, expected)) << options;
}

// How a window shows audio page p: by its audio codec list, or otherwise (MP4: the device type).
using TShowAudioPage = std::function<void(TfrmVideoProfileEditor* form, int page)>;
inline void ShowAudioPageByList(TfrmVideoProfileEditor* form, int page) { Choose(form->AudioCodec->List, page); }

// Every item of every list the builder reads, in every page: the saved index must make the builder emit
// the option the item names. `videoCodecs` and `audioCodecs` give the codec option of each list item; an
// empty one means the builder names no codec for it ("-vcodec " / "-acodec " absent).
inline void CheckListsAgainstBuilder(TOutputFormat format, const std::vector<std::string>& videoCodecs,
                                     const std::vector<std::string>& audioCodecs,
                                     const TShowAudioPage& showAudioPage = ShowAudioPageByList) {
  TempDir dir;
  OutputFormatInfo(format).Reset();
  TfrmVideoProfileEditor* form = OpenEditor(format);
  auto build = [&] {
    form->SaveSettings();
    return BuildFromRecord(format, dir);
  };
  // Video codecs and, on each codec's page, frame rates and aspects.
  ASSERT_EQ(form->VideoCodec->List->GetItems().size(), videoCodecs.size());
  for (int c = 0; c < int(videoCodecs.size()); ++c) {
    Choose(form->VideoCodec->List, c);
    SCOPED_TRACE("video codec " + form->VideoCodec->List->GetText());
    ExpectCodec(build(), "-vcodec ", videoCodecs[size_t(c)]);
    TVideoPageGroup* page = form->Video[size_t(c)];
    ASSERT_NE(form->VideoCodec->Pages->GetActivePage(), nullptr);
    ASSERT_TRUE(form->VideoCodec->Pages->GetActivePage()->ContainsControl(page->Header));
    page->FrameRate.RadioButtonChangeFrameRate->SetChecked(true);
    TComboBox* rates = page->FrameRate.ComboBoxVideoFrameRate;
    for (int i = 0; i < int(rates->GetItems().size()); ++i) {
      rates->SetItemIndex(i);
      EXPECT_TRUE(Contains(build(), FrameRateFragment(rates->GetItems()[size_t(i)]))) << i << ": " << build();
    }
    // An aspect button makes the builder send its own ratio, or none (Auto, and ratios it leaves out).
    for (TRadioButton* b : page->Aspect.Buttons) {
      b->SetChecked(true);
      const std::string options = build();
      const bool own = Contains(options, "-aspect " + b->GetCaption() + " ");
      EXPECT_TRUE(own || !Contains(options, "-aspect ")) << b->GetName() << ": " << options;
    }
    page->Aspect.Buttons[0]->SetChecked(true);
  }
  // Audio codecs and, on each codec's page, sample rates and channels.
  ASSERT_EQ(form->AudioCodec->List->GetItems().size(), audioCodecs.size());
  for (int c = 0; c < int(audioCodecs.size()); ++c) {
    Choose(form->AudioCodec->List, c);
    SCOPED_TRACE("audio codec " + form->AudioCodec->List->GetText());
    ExpectCodec(build(), "-acodec ", audioCodecs[size_t(c)]);
  }
  for (int p = 0; p < int(form->Audio.size()); ++p) {
    showAudioPage(form, p);
    TAudioPageGroup* page = form->Audio[size_t(p)];
    SCOPED_TRACE("audio page " + page->Suffix());
    ASSERT_NE(form->AudioCodec->Pages->GetActivePage(), nullptr);
    ASSERT_TRUE(form->AudioCodec->Pages->GetActivePage()->ContainsControl(page->Header));
    TComboBox* rates = page->ComboBoxSampleRate;
    for (int i = 0; i < int(rates->GetItems().size()); ++i) {
      rates->SetItemIndex(i);
      EXPECT_TRUE(Contains(build(), SampleRateFragment(rates->GetItems()[size_t(i)]))) << i << ": " << build();
    }
    TComboBox* channels = page->ComboBoxAudioChannels;
    for (int i = 0; i < int(channels->GetItems().size()); ++i) {
      channels->SetItemIndex(i);
      EXPECT_TRUE(Contains(build(), ChannelsOption(channels->GetItems()[size_t(i)]))) << i << ": " << build();
    }
  }
  form->Free();
}

// ---- every page of a window ----

// Each item of the video codec list shows the page of the same number and no page shows a tab.
inline void CheckVideoCodecPages(TfrmVideoProfileEditor* form) {
  TComboBox* list = form->VideoCodec->List;
  for (int i = int(list->GetItems().size()) - 1; i >= 0; --i) {
    Choose(list, i);
    ASSERT_NE(form->VideoCodec->Pages->GetActivePage(), nullptr);
    EXPECT_TRUE(form->VideoCodec->Pages->GetActivePage()->ContainsControl(form->Video[size_t(i)]->Header)) << i;
  }
  EXPECT_EQ(form->VideoCodec->Pages->TabCount(), 0);
  EXPECT_EQ(form->AudioCodec->Pages->TabCount(), 0);
}

// What the value dialog was asked; it answers with `Answer`.
struct TDialogRecord {
  int Calls = 0;
  int32_t Min = 0, Max = 0, Default = 0;
};
inline TDialogRecord gDialog;
inline int32_t gDialogAnswer = 0;
inline int32_t RecordDialog(TCustomForm*, const std::string&, const std::string&, int32_t min, int32_t max,
                            int32_t def) {
  ++gDialog.Calls;
  gDialog.Min = min;
  gDialog.Max = max;
  gDialog.Default = def;
  return gDialogAnswer;
}

// Configure on every video page asks between `min` and `max` with the shown value as the default, and
// the answer becomes the specified value.
inline void CheckConfigureOnEveryPage(TfrmVideoProfileEditor* form, int32_t min, int32_t max) {
  SetEditorInputInteger(&RecordDialog);
  for (TVideoPageGroup* page : form->Video) {
    SCOPED_TRACE(page->Suffix());
    TVideoBitrateGroup& g = page->Bitrate;
    g.RadioButtonVideoSpecify->SetChecked(true);
    EXPECT_TRUE(g.ButtonVideoBitrateConfigure->GetEnabled());
    gDialog = TDialogRecord();
    gDialogAnswer = 4321;
    const std::string shown = g.LabelBitrateSpecify->GetCaption();
    g.ButtonVideoBitrateConfigure->Click();
    EXPECT_EQ(gDialog.Calls, 1);
    EXPECT_EQ(gDialog.Min, min);
    EXPECT_EQ(gDialog.Max, max);
    EXPECT_EQ(IntToStr(gDialog.Default), shown);
    EXPECT_EQ(g.LabelBitrateSpecify->GetCaption(), "4321");
  }
  SetEditorInputInteger(nullptr);
}

// Shows the window (not modally), so that fields can take the focus as they do for the user.
inline void ShowForTyping(TfrmProfileEditor* form) {
  form->Show();
  SetForegroundWindow(form->Handle());
  Application->ProcessMessages();
}

// Types into a field and moves the focus on, as the user leaves the field.
inline void TypeAndLeave(TWinControl* field, const std::string& text, TWinControl* next) {
  field->SetFocus();
  Application->ProcessMessages();
  field->SetText(text);
  next->SetFocus();
  Application->ProcessMessages();
}

// On every page with size fields: an odd width or height typed and left becomes even, and the size list
// then shows the pair's item or "...".
inline void CheckEvenSizesOnEveryPage(TfrmVideoProfileEditor* form) {
  ShowForTyping(form);
  form->PageControlOptions->SetActivePage(dynamic_cast<TTabSheet*>(form->FindComponent("TabSheetVideo")));
  for (size_t i = 0; i < form->Video.size(); ++i) {
    TVideoPageGroup* page = form->Video[i];
    if (!page->Size || int(i) >= int(form->VideoCodec->List->GetItems().size())) continue;
    SCOPED_TRACE(page->Suffix());
    Choose(form->VideoCodec->List, int(i));
    TVideoSizeGroup& g = *page->Size;
    g.RadioButtonChangVideoSize->SetChecked(true);
    TypeAndLeave(g.EditVideoWidth, "641", g.EditVideoHeight);
    EXPECT_EQ(g.EditVideoWidth->GetText(), "642");
    EXPECT_EQ(g.ComboBoxVideoSize->GetText(), "...");
    const TVideoSize first = g.Sizes().front();
    TypeAndLeave(g.EditVideoWidth, IntToStr(first.Width - 1), g.EditVideoHeight);
    TypeAndLeave(g.EditVideoHeight, IntToStr(first.Height - 1), g.EditVideoWidth);
    EXPECT_EQ(g.EditVideoWidth->GetText(), IntToStr(first.Width));
    EXPECT_EQ(g.EditVideoHeight->GetText(), IntToStr(first.Height));
    EXPECT_EQ(g.ComboBoxVideoSize->GetItemIndex(), 0);
  }
}

// ---- the main window's Add and Edit ----

// Adds a profile through the main window (the editor sets a description and ticks Same Quality, Save, a
// name), then edits it (the editor shows both, changes the description, Save): the profile file holds
// what the window's controls held each time.
inline void CheckMainWindowAddAndEdit(TOutputFormat format, const std::type_info& windowType) {
  TempDir dir;
  Options = TOptions();
  InitGlobals(dir.Path());
  ASSERT_TRUE(CreateProfileDirs());
  auto* main = new TfrmMain(Application);
  main->AskProfileName = [](const std::string&, std::string& name) {
    name = "Made here";
    return true;
  };
  int runs = 0;
  std::string shownDescription;
  bool shownSameQuality = false;
  main->RunProfileEditor = [&](TfrmProfileEditor* editor) {
    ++runs;
    EXPECT_EQ(typeid(*editor), windowType);
    EXPECT_EQ(editor->Format(), format);
    auto* video = dynamic_cast<TfrmVideoProfileEditor*>(editor);
    if (!video) return int(mrCancel);
    shownDescription = editor->EditDescription->GetText();
    shownSameQuality = video->SameQuality->CheckBox->GetChecked();
    video->SameQuality->CheckBox->SetChecked(true);
    editor->EditDescription->SetText("edited " + IntToStr(runs));
    return int(mrOk);
  };
  main->AddNewProfile(format);
  const std::string file = ProfileFilePath(format, "Made here");
  OutputFormatInfo(format).Reset();
  OutputFormatInfo(format).Load(file);
  TFields fields = RecordFields(format);
  EXPECT_EQ(fields["Description"], "edited 1");
  EXPECT_EQ(fields["VideoSameQuality"], "1");
  EXPECT_EQ(main->ProfileCombo(format)->GetText(), "Made here");
  OutputFormatInfo(format).Reset();  // the edit must load the file itself
  main->EditProfile(format);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(shownDescription, "edited 1");
  EXPECT_TRUE(shownSameQuality);
  OutputFormatInfo(format).Reset();
  OutputFormatInfo(format).Load(file);
  EXPECT_EQ(RecordFields(format)["Description"], "edited 2");
  main->Free();
}

}  // namespace vtk
