// Helpers of the profile editor tests: a format's settings record read and written by key, extra layouts
// laid over the embedded ones and keyboard input (steps inside a modal loop: ModalScript.h).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "EditorTexts.h"
#include "Forms.h"
#include "Layout.h"
#include "ModalScript.h"
#include "Resources.h"
#include "profiles.h"

namespace etk {

using TFields = std::map<std::string, std::string>;

// Every field of the format's record as the profile file would hold it.
inline TFields RecordFields(TOutputFormat format) {
  TSettingsFields& f = OutputFormatInfo(format).Fields();
  TFields fields;
  for (size_t i = 0; i < f.Count(); ++i) fields[f.Key(i)] = f.Text(i);
  return fields;
}

inline void SetRecordField(TOutputFormat format, const std::string& key, const std::string& value) {
  TSettingsFields& f = OutputFormatInfo(format).Fields();
  const size_t i = f.IndexOf(key);
  ASSERT_LT(i, f.Count()) << "no field " << key;
  f.SetText(i, value);
}

inline void SetRecordFields(TOutputFormat format, const TFields& values) {
  for (const auto& [key, value] : values) SetRecordField(format, key, value);
}

// Gives every field a value it did not have, so that a field the window does not save shows.
inline void ScrambleRecord(TOutputFormat format) {
  TSettingsFields& f = OutputFormatInfo(format).Fields();
  for (size_t i = 0; i < f.Count(); ++i) {
    if (f.Kind(i) == TFieldKind::String)
      f.SetText(i, f.Text(i) + "x");
    else if (f.Kind(i) == TFieldKind::Boolean)
      f.SetText(i, f.Text(i) == "1" ? "0" : "1");
    else
      f.SetText(i, f.Text(i) == "77" ? "78" : "77");
  }
}

// Layouts given by the test win over the embedded files of the same name while the object lives.
class TLayoutOverlay {
public:
  explicit TLayoutOverlay(std::map<std::string, std::string> files) : FFiles(std::move(files)) {
    SetLayoutSource([this](const std::string& name) {
      auto it = FFiles.find(name);
      if (it == FFiles.end()) return EmbeddedFileBytes(name);
      return std::vector<uint8_t>(it->second.begin(), it->second.end());
    });
  }
  ~TLayoutOverlay() { SetLayoutSource(nullptr); }

private:
  std::map<std::string, std::string> FFiles;
};

// Types text into the window that has the focus, as the keyboard would (one WM_CHAR per character).
inline void TypeText(HWND target, const std::string& text) {
  for (char c : text) SendMessageA(target, WM_CHAR, WPARAM((unsigned char)c), 1);
}

inline void PressKey(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

}  // namespace etk
