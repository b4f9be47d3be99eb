// The value-entry and name windows: the table of entries for a range of 64..9600 (accepted values, the
// 1-based error position, the range message), Enter acting as OK inside InputIntegerDialog, cancel
// returning the default, and the name window's table (blanks kept, blank-only and invalid names refused).
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "AppTestKit.h"
#include "AppUtils.h"
#include "EnterValueWnd.h"
#include "MultiLanguages.h"
#include "NameWnd.h"
#include "Prompter.h"
#include "Strings.h"

namespace {

class SmallWindows : public ::testing::Test {
protected:
  TRecordingPrompter prompter;
  TPrompter* oldPrompter = nullptr;
  void SetUp() override {
    ResetLanguageTexts();
    oldPrompter = SetPrompter(&prompter);
  }
  void TearDown() override { SetPrompter(oldPrompter); }
};

using apptest::WhileModal;

}  // namespace

TEST(ConvertIntegerText, Table) {
  struct TCase {
    const char* Text;
    bool Ok;
    int Value;  // or the error position
  };
  const TCase cases[] = {
      {"128", true, 128},      {" 100", true, 100},     {"$40", true, 64},        {"0x40", true, 64},
      {"x1F", true, 31},       {"X1f", true, 31},       {"-5", true, -5},         {"+7", true, 7},
      {"2147483647", true, 2147483647},                 {"-2147483648", true, -2147483647 - 1},
      {"", false, 1},          {"12a", false, 3},       {"a", false, 1},          {"100 ", false, 4},
      {"  ", false, 3},        {"-", false, 2},         {"$", false, 2},          {"$G", false, 2},
      {"2147483648", false, 10}, {"1 2", false, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.Text + "\"");
    int32_t value = -99;
    int pos = -99;
    ASSERT_EQ(ConvertIntegerText(c.Text, value, pos), c.Ok);
    EXPECT_EQ(c.Ok ? value : pos, c.Value);
  }
}

TEST_F(SmallWindows, ValueWindowTable) {
  struct TCase {
    const char* Text;
    bool Accepted;
    std::string Message;  // expected message when refused
  };
  const std::string range = Format(IDS_INVAILD_VALUE_BETWEEN, {64, 9600});
  const TCase cases[] = {{"128", true, ""},
                         {"64", true, ""},
                         {"9600", true, ""},
                         {"$40", true, ""},
                         {" 100", true, ""},
                         {"12a", false, Format(IDS_INVAILD_VALUE, {3})},
                         {"", false, Format(IDS_INVAILD_VALUE, {1})},
                         {"20000", false, range},
                         {"9601", false, range},
                         {"63", false, range},
                         {"-5", false, range}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.Text + "\"");
    std::unique_ptr<TfrmEnterValue> w(new TfrmEnterValue(Application));
    EXPECT_FALSE(w->FAccepted);
    EXPECT_EQ(w->txtValue->GetCaption(), "");
    w->FMinValue = 64;
    w->FMaxValue = 9600;
    w->Show();
    w->FAccepted = true;  // a refusal must clear it
    w->txtValue->SetCaption(c.Text);
    prompter.Prompts.clear();
    w->btnOK->Click();
    EXPECT_EQ(w->FAccepted, c.Accepted);
    if (c.Accepted) {
      EXPECT_TRUE(prompter.Prompts.empty());
    } else {
      ASSERT_EQ(prompter.Prompts.size(), 1u);
      EXPECT_EQ(prompter.Prompts[0].Text, c.Message);
      EXPECT_EQ(prompter.Prompts[0].Caption, Trim(IDS_INVAILD_VALUE_TITLE));
      EXPECT_EQ(prompter.Prompts[0].Type, mtWarning);
      EXPECT_TRUE(w->GetVisible()) << "the window stays open";
      EXPECT_EQ(GetFocus(), w->txtValue->Handle());
      DWORD from = 0, to = 0;
      SendMessageA(w->txtValue->Handle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
      EXPECT_EQ(int(to - from), int(std::string(c.Text).size())) << "the whole text is selected";
    }
  }
}

TEST_F(SmallWindows, InputIntegerDialogEnterActsAsOk) {
  WhileModal([&] {
    HWND edit = GetFocus();
    SetWindowTextA(edit, "256");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000000);
  });
  EXPECT_EQ(InputIntegerDialog(nullptr, "Enter value", "Please enter video bitrate", 64, 9600, 1000), 256);
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(SmallWindows, InputIntegerDialogShowsItsTextsAndCancelGivesTheDefault) {
  std::string caption, edit = "?", prompt;
  WhileModal([&] {
    HWND w = GetActiveWindow();
    char buf[256] = {};
    GetWindowTextA(w, buf, sizeof buf);
    caption = buf;
    if (auto* form = dynamic_cast<TfrmEnterValue*>(FindControl(w))) {
      prompt = form->lblDisplayMessage->GetCaption();
      edit = form->txtValue->GetCaption();
    }
    PostMessageA(w, WM_CLOSE, 0, 0);  // the close box acts as Cancel
  });
  EXPECT_EQ(InputIntegerDialog(nullptr, "Enter value", "Please enter video bitrate", 64, 9600, 1000), 1000);
  EXPECT_EQ(caption, "Enter value");
  EXPECT_EQ(prompt, "Please enter video bitrate");
  EXPECT_EQ(edit, "");
}

TEST_F(SmallWindows, NameWindowTable) {
  struct TCase {
    const char* Text;
    bool Accepted;
  };
  const TCase cases[] = {{"Default", true}, {"  My profile  ", true}, {"", false},  {"   ", false},
                         {"a:b", false},    {"a/b", false},           {"a*b", false}, {"a?b", false},
                         {"a\"b", false},   {"a<b", false},           {"a|b", false}, {"a\\b", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.Text + "\"");
    std::unique_ptr<TfrmName> w(new TfrmName(Application));
    EXPECT_FALSE(w->FAccepted);
    w->Show();
    w->FAccepted = true;
    w->txtFileName->SetCaption(c.Text);
    prompter.Prompts.clear();
    w->btnOK->Click();
    EXPECT_EQ(w->FAccepted, c.Accepted);
    // The caller takes the text as typed, blanks included.
    EXPECT_EQ(w->txtFileName->GetCaption(), c.Text);
    if (c.Accepted) {
      EXPECT_TRUE(prompter.Prompts.empty());
    } else {
      ASSERT_EQ(prompter.Prompts.size(), 1u);
      EXPECT_EQ(prompter.Prompts[0].Text, IDS_PROFILE_MESSAGEBOX_InvalidFileName);
      EXPECT_EQ(prompter.Prompts[0].Caption, IDS_PROFILE_MESSAGEBOX_InvalidFileNameTitle);
      EXPECT_EQ(prompter.Prompts[0].Buttons, Buttons({mbOK, mbCancel}));
      EXPECT_EQ(prompter.Prompts[0].ButtonCaptions.at(mbOK), IDS_OK);
      EXPECT_EQ(prompter.Prompts[0].ButtonCaptions.at(mbCancel), IDS_Cancel);
      EXPECT_EQ(GetFocus(), w->txtFileName->Handle());
    }
  }
}

TEST_F(SmallWindows, TextsComeFromTheLanguageTable) {
  IDS_NAME_FORM_ProfileName = "Profilname";
  IDS_SHUTDOWN_BUTTON_Cancel = "Abbrechen";
  std::unique_ptr<TfrmName> name(new TfrmName(Application));
  EXPECT_EQ(name->GetCaption(), "Profilname");
  EXPECT_EQ(name->btnCancel->GetCaption(), "Abbrechen");
  std::unique_ptr<TfrmEnterValue> value(new TfrmEnterValue(Application));
  EXPECT_EQ(value->btnCancel->GetCaption(), "Abbrechen");
  EXPECT_EQ(value->lblDisplayMessage->GetCaption(), IDS_NAME_LABEL_LabelDisplayMessage);
}
