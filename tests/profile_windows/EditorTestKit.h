// Helpers of the profile editor tests: extra layouts laid over the embedded ones and keyboard input
// (steps inside a modal loop: ModalScript.h).
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

namespace etk {

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
