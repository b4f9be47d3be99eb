// Helpers of the audio-only editor windows' tests: the format's record as the profile file holds it,
// records set up by key, and the load -> show -> save round trip over a table of records.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "EditorTestKit.h"
#include "EditorTexts.h"
#include "Forms.h"
#include "ProfileEditor.h"
#include "Strings.h"
#include "profiles.h"

namespace aek {

// Field values by key, as the profile file writes them ("1", "128", "0:00:05").
using TFieldValues = std::vector<std::pair<std::string, std::string>>;

inline TSettingsFields& Fields(TOutputFormat f) { return OutputFormatInfo(f).Fields(); }

// Every field of the format's record as "Key=Value", in record order.
inline std::vector<std::string> RecordTexts(TOutputFormat f) {
  TSettingsFields& fields = Fields(f);
  std::vector<std::string> texts;
  for (size_t i = 0; i < fields.Count(); ++i) texts.push_back(std::string(fields.Key(i)) + "=" + fields.Text(i));
  return texts;
}

inline void SetFields(TOutputFormat f, const TFieldValues& values) {
  for (const auto& [key, value] : values) etk::SetRecordField(f, key, value);
}

using etk::ScrambleRecord;

// What the main window does before ShowModal, and what showing the window runs.
template <class W>
W* OpenEditor() {
  W* w = new W(Application);
  w->LoadSettings();
  w->FormShow(w);
  return w;
}

// One record: the fields stored (over the defaults) and those the window saves differently.
struct TRoundTrip {
  const char* Name;
  TFieldValues Stored;
  TFieldValues Saved;
};

// For every case: reset, store, open the window, scramble the record, save; the record must hold what
// was stored, changed only where the case says. The table must move every field away from its default
// at least once, so that every field is seen to reach its control and come back.
template <class W>
void CheckRoundTrips(TOutputFormat f, const std::vector<TRoundTrip>& cases) {
  TSettingsFields& fields = Fields(f);
  OutputFormatInfo(f).Reset();
  const std::vector<std::string> defaults = RecordTexts(f);
  std::vector<bool> moved(fields.Count(), false);
  for (const TRoundTrip& c : cases) {
    SCOPED_TRACE(c.Name);
    OutputFormatInfo(f).Reset();
    SetFields(f, c.Stored);
    const std::vector<std::string> stored = RecordTexts(f);
    for (size_t i = 0; i < moved.size(); ++i) moved[i] = moved[i] || stored[i] != defaults[i];
    SetFields(f, c.Saved);
    const std::vector<std::string> expected = RecordTexts(f);
    OutputFormatInfo(f).Reset();
    SetFields(f, c.Stored);
    W* w = OpenEditor<W>();
    ScrambleRecord(f);
    w->SaveSettings();
    EXPECT_EQ(RecordTexts(f), expected);
    w->Free();
  }
  for (size_t i = 0; i < moved.size(); ++i) EXPECT_TRUE(moved[i]) << "no case changes " << fields.Key(i);
}

}  // namespace aek
