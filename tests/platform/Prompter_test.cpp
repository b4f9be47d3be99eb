// Every message box and question goes through the prompter; tests answer them.
#include <gtest/gtest.h>

#include <windows.h>

#include "Forms.h"
#include "Prompter.h"

namespace {

struct TBoxCase {
  unsigned Flags;
  TMsgDlgButtons Buttons;
  TMsgDlgType Type;
  int DefaultAnswer;  // the recording prompter picks the first button in TMsgDlgBtn order
};

const TBoxCase kBoxes[] = {
    {MB_OK, Buttons({mbOK}), mtCustom, IDOK},
    {MB_OKCANCEL | MB_ICONQUESTION, Buttons({mbOK, mbCancel}), mtConfirmation, IDOK},
    {MB_YESNO | MB_ICONWARNING, Buttons({mbYes, mbNo}), mtWarning, IDYES},
    {MB_YESNOCANCEL | MB_ICONERROR, Buttons({mbYes, mbNo, mbCancel}), mtError, IDYES},
    {MB_RETRYCANCEL | MB_ICONINFORMATION, Buttons({mbRetry, mbCancel}), mtInformation, IDCANCEL},
    {MB_ABORTRETRYIGNORE, Buttons({mbAbort, mbRetry, mbIgnore}), mtCustom, IDABORT},
};

TEST(Prompter, MessageBoxCallsBecomePrompts) {
  TRecordingPrompter rec;
  TPrompter* old = SetPrompter(&rec);
  for (const auto& c : kBoxes) {
    EXPECT_EQ(PromptMessageBox("text", "caption", c.Flags), c.DefaultAnswer);
    ASSERT_FALSE(rec.Prompts.empty());
    EXPECT_EQ(rec.Prompts.back().Buttons, c.Buttons);
    EXPECT_EQ(rec.Prompts.back().Type, c.Type);
    EXPECT_EQ(rec.Prompts.back().Caption, "caption");
  }
  rec.Answers = {mrNo, mrYesToAll};
  EXPECT_EQ(MessageDlg("q1", mtConfirmation, Buttons({mbYes, mbNo})), mrNo);
  EXPECT_EQ(MessageDlg("q2", mtConfirmation, Buttons({mbYes, mbNo, mbYesToAll})), mrYesToAll);
  ShowMessage("note");
  EXPECT_EQ(rec.Prompts.back().Text, "note");
  EXPECT_EQ(&Prompter(), &rec);
  SetPrompter(old);
  EXPECT_NE(&Prompter(), &rec);
}

TEST(Prompter, TheDefaultExceptionReportGoesThroughThePrompter) {
  TRecordingPrompter rec;
  TPrompter* old = SetPrompter(&rec);
  try {
    throw Exception("Disk full");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  try {
    throw Exception("Ends with a dot.");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  SetPrompter(old);
  ASSERT_EQ(rec.Prompts.size(), 2u);
  EXPECT_EQ(rec.Prompts[0].Text, "Disk full.");
  EXPECT_EQ(rec.Prompts[1].Text, "Ends with a dot.");
  EXPECT_EQ(rec.Prompts[0].Type, mtError);
}

}  // namespace
