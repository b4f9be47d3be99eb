// The one way to show a message box or ask a question. Tests install their own TPrompter to answer
// without a person; the program's default shows the system's message box.
#pragma once

#include <functional>
#include <string>
#include <vector>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned;  // bits (1 << TMsgDlgBtn)
constexpr TMsgDlgButtons Buttons(std::initializer_list<TMsgDlgBtn> list) {
  TMsgDlgButtons r = 0;
  for (TMsgDlgBtn b : list) r |= 1u << b;
  return r;
}

struct TPrompt {
  std::string Text;
  std::string Caption;  // empty: the application's title
  TMsgDlgType Type = mtInformation;
  TMsgDlgButtons Buttons = 1u << mbOK;
  // One caption per button in the fixed order of TMsgDlgBtn; empty keeps the standard captions.
  std::vector<std::string> ButtonCaptions;
};

class TPrompter {
public:
  virtual ~TPrompter() = default;
  // Returns the modal result of the chosen button (mrOk 1, mrCancel 2, mrYes 6, mrNo 7, mrYesToAll 10 ...).
  virtual int Ask(const TPrompt& prompt) = 0;
};

TPrompter& Prompter();
// Installs a prompter (not owned); null restores the default. Returns the previous one.
TPrompter* SetPrompter(TPrompter* prompter);
// True while a prompter other than the default is installed (routines that show their own dialog
// hand the question to it then).
bool PrompterReplaced();

// Where the default prompter takes the caption of a prompt that names none: the application object sets
// its title here when it is made (Forms sits above this file). Until then, and with nothing set, the
// caption stays empty.
void SetDefaultPromptCaption(std::function<std::string()> caption);

// Helpers over Prompter().
void ShowMessage(const std::string& text);
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// MessageBox-style call: MB_* flags in, ID* result out (the numbers equal the modal results).
int PromptMessageBox(const std::string& text, const std::string& caption, unsigned flags);

// A prompter for tests: records every prompt and answers from a queue; with the queue empty it
// answers with the first of the prompt's buttons in TMsgDlgBtn order (Yes, No, OK, Cancel, ...).
class TRecordingPrompter : public TPrompter {
public:
  int Ask(const TPrompt& prompt) override;
  std::vector<TPrompt> Prompts;
  std::vector<int> Answers;
};
