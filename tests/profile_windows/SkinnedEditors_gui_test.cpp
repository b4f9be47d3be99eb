// All sixteen profile editors with the skin engine at work: each window is shown, used through its
// sliders (keyboard), its spin edits' arrows (mouse) and its description (typing), and saved; the record
// must come out exactly as from the same steps on the unskinned window. The skinned window carries
// the slider and edit skinners, and every spin edit's arrows got theirs.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "../skin/SkinEngineKit.h"
#include "ComCtrls.h"
#include "EditorTestKit.h"
#include "EditorTexts.h"
#include "FcSpnEdt.h"
#include "ProfileEditor.h"
#include "ProfileEditors.h"
#include "PumpMessages.h"
#include "Screenshot.h"
#include "SkinnerControl.h"
#include "SkinnerEdit.h"
#include "StdCtrls.h"
#include "profiles.h"

namespace {

using etk::TFields;

void AllControls(TControl* c, std::vector<TControl*>& out) {
  out.push_back(c);
  if (auto* w = As<TWinControl>(c))
    for (TControl* child : w->ControlList()) AllControls(child, out);
}

template <class T>
std::vector<T*> ControlsOfKind(TWinControl* form) {
  std::vector<TControl*> all;
  AllControls(form, all);
  std::vector<T*> found;
  for (TControl* c : all)
    if (auto* t = As<T>(c)) found.push_back(t);
  return found;
}

// Every tab of the window brought to the front in turn, as the user would click through them.
void ShowEveryTab(TfrmProfileEditor* editor, const std::function<void(TTabSheet*)>& onPage) {
  for (TPageControl* pages : ControlsOfKind<TPageControl>(editor))
    for (int i = 0; i < pages->PageCount(); ++i) {
      if (!pages->Pages(i)->GetTabVisible()) continue;  // a codec page, chosen by its list
      pages->SetActivePage(pages->Pages(i));
      RedrawWindow(editor->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      PumpMessagesUntil([] { return true; });
      onPage(pages->Pages(i));
    }
}

// The same steps on every window: each slider one step right, each spin edit's upper arrow clicked
// once, a word typed into the description.
void UseWindow(TfrmProfileEditor* editor) {
  for (TTrackBar* bar : ControlsOfKind<TTrackBar>(editor)) {
    SendMessageA(bar->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(bar->Handle(), WM_KEYUP, VK_RIGHT, LPARAM(0xC0000001));
  }
  for (TFcSpinEdit* spin : ControlsOfKind<TFcSpinEdit>(editor)) {
    HWND arrows = spin->Buttons()->Handle();
    RECT r;
    GetClientRect(arrows, &r);
    const LPARAM upper = MAKELPARAM(r.right / 2, r.bottom / 4);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, upper);
    SendMessageA(arrows, WM_LBUTTONUP, 0, upper);
  }
  for (char ch : std::string("Skin ")) SendMessageA(editor->EditDescription->Handle(), WM_CHAR, WPARAM(ch), 1);
  PumpMessagesUntil([] { return true; });
}

class SkinnedEditors : public skintest::SkinEngine {
protected:
  size_t sliders = 0;  // of the window of the last round trip

  void SetUp() override {
    SkinEngine::SetUp();
    ResetEditorTexts();
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    ResetEditorTexts();
    SkinEngine::TearDown();
  }

  // The record after the window was loaded from the defaults, shown, used and saved.
  TFields RoundTrip(TOutputFormat format, bool skinned) {
    OutputFormatInfo(format).Reset();
    TfrmProfileEditor* editor = ProfileEditorFactory(format)(Application);
    editor->SetPosition(poDesigned);
    editor->SetBounds(40, 40, editor->GetWidth(), editor->GetHeight());
    editor->LoadSettings();
    editor->Show();
    SetForegroundWindow(editor->Handle());
    if (skinned) {
      Manager().Started = 1;
      EXPECT_TRUE(Manager().SkinWindow(editor->Handle()));
      Finish(editor->Handle());
      PumpMessagesUntil([] { return true; });
      ExpectSkinned(editor);
    } else {
      EXPECT_EQ(Manager().FindForm(editor->Handle()), nullptr);
    }
    ShowEveryTab(editor, [&](TTabSheet* page) {
      if (!skinned) return;
      // Spin arrows are found when their edit first paints.
      for (TFcSpinEdit* spin : ControlsOfKind<TFcSpinEdit>(editor))
        if (IsWindowVisible(spin->Handle())) {
          EXPECT_EQ(SendMessageA(spin->Buttons()->Handle(), SM_ISSKINNED, 0, 0), 1) << spin->GetName();
        }
      if (format == ofAVI || format == ofMP4 || format == ofMPEG)
        SaveScreenshot(editor->Handle(), std::string(ORV_BUILD_DIR) + "skinned_editor_" + OutputFormatInfo(format).Name +
                                             "_" + page->GetName() + ".bmp");
    });
    UseWindow(editor);
    sliders = ControlsOfKind<TTrackBar>(editor).size();
    etk::ScrambleRecord(format);
    editor->SaveSettings();
    editor->Free();
    PumpMessagesUntil([] { return true; });
    return etk::RecordFields(format);
  }

  void ExpectSkinned(TfrmProfileEditor* editor) {
    TSkinnerForm* fs = Manager().FindForm(editor->Handle());
    ASSERT_NE(fs, nullptr);
    auto skinnerOf = [&](TControl* c) -> std::string {
      for (TSkinControl* s : fs->ControlSkinners())
        if (s->Control == c) return s->ClassName();
      return "";
    };
    for (TTrackBar* bar : ControlsOfKind<TTrackBar>(editor)) EXPECT_EQ(skinnerOf(bar), "TSkinTrackBar") << bar->GetName();
    for (TCustomEdit* edit : ControlsOfKind<TCustomEdit>(editor)) EXPECT_EQ(skinnerOf(edit), "TSkinEdit") << edit->GetName();
  }
};

TEST_F(SkinnedEditors, EveryEditorSavesTheSameRecordAsUnskinned) {
  for (int f = ofAVI; f <= ofWav; ++f) {
    const TOutputFormat format = TOutputFormat(f);
    SCOPED_TRACE(OutputFormatInfo(format).Name);
    OutputFormatInfo(format).Reset();
    const TFields defaults = etk::RecordFields(format);
    const TFields plain = RoundTrip(format, false);
    const TFields skinned = RoundTrip(format, true);
    EXPECT_NE(plain.at("Description"), defaults.at("Description")) << "the steps reached the window";
    for (const auto& [key, value] : plain) EXPECT_EQ(skinned.at(key), value) << key;
    // The description took the typing, and a slider or spin edit moved its value where there is one.
    size_t changed = 0;
    for (const auto& [key, value] : plain) changed += defaults.at(key) != value;
    EXPECT_GE(changed, sliders > 0 ? 2u : 1u);
  }
}

}  // namespace
