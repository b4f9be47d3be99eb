// The message dialog with caller-given captions: button widths, gaps and centring, widening of a
// narrow dialog, the icon of each type, the result of every button, and the test-prompter seam.
#include <gtest/gtest.h>

#include <functional>

#include "MessageForm.h"
#include "OrvUtils.h"

namespace {

// Runs while the dialog's modal loop runs: `look` sees the shown dialog, then `act` answers it.
std::function<void(TMessageForm*)> gWhileShown;
UINT_PTR gTimer = 0;

TMessageForm* ShownMessageForm() {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->ClassName() == "TMessageForm" && f->GetVisible() && IsWindowVisible(f->Handle()))
      return static_cast<TMessageForm*>(f);
  }
  return nullptr;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  TMessageForm* f = ShownMessageForm();
  if (!f) return;  // not shown yet
  KillTimer(nullptr, gTimer);
  gTimer = 0;
  auto step = std::move(gWhileShown);
  gWhileShown = nullptr;
  step(f);
}

// Shows the dialog; `whileShown` inspects it and must answer it (click or close).
int RunDialog(const std::vector<std::string>& captions, TMsgDlgButtons buttons, std::function<void(TMessageForm*)> whileShown,
              const std::string& message = "Overwrite the file?", TMsgDlgType type = mtConfirmation) {
  gWhileShown = std::move(whileShown);
  gTimer = SetTimer(nullptr, 0, 1, OnTick);
  return CustomMessageDlg(message, "Question", type, captions, buttons);
}

void Click(TButton* b) { PostMessageA(b->Handle(), BM_CLICK, 0, 0); }
void CloseBox(TMessageForm* f) { PostMessageA(f->Handle(), WM_CLOSE, 0, 0); }

struct TGeometry {
  int DialogWidth = 0;
  std::vector<int> Lefts, Widths;
  std::vector<std::string> Captions;
  int ExpectedW = 0;  // the width the captions call for, measured in the dialog's font
};

TGeometry Measure(TMessageForm* f, const std::vector<std::string>& captions) {
  TGeometry g;
  g.DialogWidth = f->GetWidth();
  int widest = 0;
  for (const auto& c : captions) widest = std::max(widest, f->TextWidth(c));
  g.ExpectedW = std::max(widest + 16, 88);
  for (TButton* b : f->ButtonList) {
    g.Lefts.push_back(b->GetLeft());
    g.Widths.push_back(b->GetWidth());
    g.Captions.push_back(b->GetCaption());
  }
  return g;
}

struct TLayoutCase {
  const char* Name;
  std::vector<std::string> Captions;
  TMsgDlgButtons Buttons;
  std::string Message;
  bool Widened;  // the dialog must come out exactly as wide as the button block calls for
};

TEST(CustomMessageDlg, ButtonsShareOneWidthAndAreCentredWithTwelvePixelGaps) {
  const std::string longText(40, 'W');
  const std::string longMessage =
      "This message is long enough to make the dialog much wider than its two buttons need, so that the "
      "block of buttons is centred in a wide dialog.";
  const TLayoutCase cases[] = {
      {"four short captions", {"Yes", "No", "Stop", "All"}, Buttons({mbYes, mbNo, mbCancel, mbYesToAll}), "Go on?", true},
      {"one long caption", {"Yes", "No", "Yes, overwrite every file of the batch"},
       Buttons({mbYes, mbNo, mbCancel}), "Go on?", true},
      {"many buttons", {"A", "B", "C", "D", "E", "F"},
       Buttons({mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry}), "?", true},
      {"long message", {"Yes", "No"}, Buttons({mbYes, mbNo}), longMessage, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGeometry g;
    int r = RunDialog(c.Captions, c.Buttons, [&](TMessageForm* f) {
      g = Measure(f, c.Captions);
      CloseBox(f);
    }, c.Message);
    EXPECT_EQ(r, mrCancel);
    const int n = int(c.Captions.size());
    ASSERT_EQ(int(g.Lefts.size()), n);
    EXPECT_EQ(g.Captions, c.Captions);
    const int step = g.ExpectedW + 12;
    if (c.Widened)
      EXPECT_EQ(g.DialogWidth, step * n + 32);
    else
      EXPECT_GT(g.DialogWidth, step * n + 32);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(g.Widths[size_t(i)], g.ExpectedW) << "button " << i;
      EXPECT_EQ(g.Lefts[size_t(i)], (g.DialogWidth - step * n) / 2 + step * i) << "button " << i;
    }
  }
}

TEST(CustomMessageDlg, FourShortCaptionsGiveEightyEightPixelButtons) {
  std::vector<int> widths, lefts;
  int dialogWidth = 0;
  RunDialog({"Yes", "No", "Stop", "All"}, Buttons({mbYes, mbNo, mbCancel, mbYesToAll}), [&](TMessageForm* f) {
    dialogWidth = f->GetWidth();
    for (TButton* b : f->ButtonList) {
      widths.push_back(b->GetWidth());
      lefts.push_back(b->GetLeft());
    }
    CloseBox(f);
  });
  EXPECT_EQ(widths, (std::vector<int>{88, 88, 88, 88}));
  ASSERT_EQ(lefts.size(), 4u);
  for (size_t i = 1; i < lefts.size(); ++i) EXPECT_EQ(lefts[i] - lefts[i - 1], 100);
  // Centred: equal room on both sides up to the truncation of one odd pixel.
  const int leftRoom = lefts[0], rightRoom = dialogWidth - (lefts[3] + 88 + 12);
  EXPECT_LE(std::abs(leftRoom - rightRoom), 1);
}

TEST(CustomMessageDlg, EveryButtonReturnsItsStandardResult) {
  const TMsgDlgButtons all = Buttons({mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
                                      mbYesToAll, mbHelp});
  const std::vector<std::string> captions = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
  const struct {
    TMsgDlgBtn Button;
    int Result;
  } cases[] = {{mbYes, 6}, {mbNo, 7}, {mbOK, 1}, {mbCancel, 2}, {mbAbort, 3}, {mbRetry, 4},
               {mbIgnore, 5}, {mbAll, 8}, {mbNoToAll, 9}, {mbYesToAll, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Button);
    int r = RunDialog(captions, all, [&](TMessageForm* f) {
      ASSERT_EQ(f->ButtonKinds.size(), 11u);
      EXPECT_EQ(f->ButtonKinds[size_t(c.Button)], c.Button);
      Click(f->ButtonList[size_t(c.Button)]);
    });
    EXPECT_EQ(r, c.Result);
  }
}

TEST(CustomMessageDlg, HelpDoesNotAnswerAndClosingGivesCancel) {
  bool stillShownAfterHelp = false;
  int r = RunDialog({"Yes", "Help"}, Buttons({mbYes, mbHelp}), [&](TMessageForm* f) {
    f->ButtonList[1]->Click();
    stillShownAfterHelp = f->GetModalResult() == mrNone;
    CloseBox(f);
  });
  EXPECT_TRUE(stillShownAfterHelp);
  EXPECT_EQ(r, mrCancel);
}

TEST(CustomMessageDlg, EachTypeShowsItsIconAndCustomNone) {
  const struct {
    TMsgDlgType Type;
    bool Icon;
  } cases[] = {{mtWarning, true}, {mtError, true}, {mtInformation, true}, {mtConfirmation, true}, {mtCustom, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Type);
    bool hasIcon = !c.Icon;
    std::string text, caption;
    RunDialog({"OK"}, Buttons({mbOK}), [&](TMessageForm* f) {
      hasIcon = f->imgIcon->GetVisible() && f->imgIcon->GetPicture()->HasGraphic();
      text = f->lblMessage->GetCaption();
      caption = f->GetCaption();
      Click(f->ButtonList[0]);
    }, "The message", c.Type);
    EXPECT_EQ(hasIcon, c.Icon);
    EXPECT_EQ(text, "The message");
    EXPECT_EQ(caption, "Question");
  }
}

TEST(CustomMessageDlg, MissingCaptionsKeepTheStandardOnes) {
  std::vector<std::string> shown;
  RunDialog({"Replace"}, Buttons({mbYes, mbNo}), [&](TMessageForm* f) {
    for (TButton* b : f->ButtonList) shown.push_back(b->GetCaption());
    CloseBox(f);
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"Replace", "&No"}));
}

TEST(CustomMessageDlg, AnInstalledPrompterAnswersWithCaptionsByButtonKind) {
  TRecordingPrompter prompter;
  prompter.Answers = {mrYesToAll};
  TPrompter* old = SetPrompter(&prompter);
  int r = CustomMessageDlg("Overwrite?", "Question", mtConfirmation, {"Y", "N", "C", "YA"},
                           Buttons({mbYes, mbNo, mbCancel, mbYesToAll}));
  SetPrompter(old);
  EXPECT_EQ(r, mrYesToAll);
  ASSERT_EQ(prompter.Prompts.size(), 1u);
  const TPrompt& p = prompter.Prompts[0];
  EXPECT_EQ(p.Text, "Overwrite?");
  EXPECT_EQ(p.Caption, "Question");
  EXPECT_EQ(p.Type, mtConfirmation);
  EXPECT_EQ(p.Buttons, Buttons({mbYes, mbNo, mbCancel, mbYesToAll}));
  std::vector<std::string> expected(size_t(mbHelp) + 1);
  expected[mbYes] = "Y";
  expected[mbNo] = "N";
  expected[mbCancel] = "C";
  expected[mbYesToAll] = "YA";
  EXPECT_EQ(p.ButtonCaptions, expected);
}

}  // namespace
