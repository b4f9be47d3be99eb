// The skin manager and the form skinner on real windows: which windows qualify, the private messages,
// the queued actions, unskinning, and message boxes under the engine's hook.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MessageForm.h"
#include "ModalScript.h"
#include "OrvUtils.h"
#include "Prompter.h"
#include "Screenshot.h"
#include "SkinTestKit.h"
#include "SkinEngineKit.h"
#include "Subclass.h"
#include "Timer.h"

namespace {

using namespace skintest;

TForm* NewVisibleForm(int tag = 0) {
  auto* f = new TForm(nullptr);
  f->SetBounds(60, 60, 260, 180);
  f->SetCaption("Skinned form");
  f->SetTag(tag);
  f->Show();
  return f;
}

// ---- window qualification ----

struct TQualifyCase {
  const char* Name;
  // Makes the window (and whatever it needs); returns it.
  std::function<HWND(std::vector<std::function<void()>>& cleanup)> Make;
  std::function<void(TSkinManage&, TSkinData&)> Setup;  // may be empty
  bool Skinned;
};

HWND KeepForm(TForm* f, std::vector<std::function<void()>>& cleanup) {
  cleanup.push_back([f] { f->Free(); });
  return f->Handle();
}

HWND KeepRaw(HWND h, std::vector<std::function<void()>>& cleanup) {
  cleanup.push_back([h] { DestroyRawWindow(h); });
  return h;
}

// A dialog box of class "#32770" made from a template, with the instance of another module.
INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

HWND MakeDialog(HINSTANCE instance) {
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl{};
  tpl.t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  tpl.t.cx = 120;
  tpl.t.cy = 60;
  return CreateDialogIndirectParamA(instance, &tpl.t, nullptr, QuietDialogProc, 0);
}

HINSTANCE OtherModule() { return GetModuleHandleA("kernel32.dll"); }

const TQualifyCase QualifyCases[] = {
    {"form", [](auto& c) { return KeepForm(NewVisibleForm(), c); }, nullptr, true},
    {"form with Tag 99", [](auto& c) { return KeepForm(NewVisibleForm(99), c); }, nullptr, false},
    {"form with Tag 99 whatever DisableTag holds", [](auto& c) { return KeepForm(NewVisibleForm(99), c); },
     [](TSkinManage&, TSkinData& d) { d.SetDisableTag(5); }, false},
    {"zero-size window", [](auto& c) { return KeepRaw(MakeRawWindow(nullptr, 0, 0, WS_POPUP), c); }, nullptr, false},
    {"window of a width but no height",
     [](auto& c) { return KeepRaw(MakeRawWindow(nullptr, 90, 0, WS_POPUP), c); }, nullptr, false},
    {"plain child",
     [](auto& c) {
       HWND parent = KeepRaw(MakeRawWindow(nullptr), c);
       return CreateWindowExA(0, "STATIC", "child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
     },
     nullptr, false},
    {"plain child while all windows are skinned",
     [](auto& c) {
       HWND parent = KeepRaw(MakeRawWindow(nullptr), c);
       return CreateWindowExA(0, "STATIC", "child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
     },
     [](TSkinManage& m, TSkinData&) { m.SkinningAll = true; }, true},
    {"raw window of another module",
     [](auto& c) {
       HWND h = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_CAPTION, 0, 0, 120, 80, nullptr, nullptr,
                                OtherModule(), nullptr);
       return KeepRaw(h, c);
     },
     nullptr, false},
    {"dialog of another module", [](auto& c) { return KeepRaw(MakeDialog(OtherModule()), c); }, nullptr, true},
    {"application window", [](auto&) { return Application->Handle(); }, nullptr, false},
    {"preview window with xoPreview",
     [](auto& c) { return KeepRaw(MakeRawWindow(nullptr, 200, 120, WS_OVERLAPPEDWINDOW, "TPrintPreviewBox"), c); },
     nullptr, true},
    {"preview window without xoPreview",
     [](auto& c) { return KeepRaw(MakeRawWindow(nullptr, 200, 120, WS_OVERLAPPEDWINDOW, "TPrintPreviewBox"), c); },
     [](TSkinManage&, TSkinData& d) { d.SetOptions(d.GetOptions() & ~Bit(xoPreview)); }, false},
    {"month calendar refused by the built-in answer",
     [](auto& c) { return KeepRaw(MakeRawWindow(nullptr, 200, 120, WS_OVERLAPPEDWINDOW, "SysMonthCal32"), c); },
     nullptr, false},
    {"OnFormSkin takes the month calendar",
     [](auto& c) { return KeepRaw(MakeRawWindow(nullptr, 200, 120, WS_OVERLAPPEDWINDOW, "SysMonthCal32"), c); },
     [](TSkinManage&, TSkinData& d) { d.OnFormSkin = [](TObject*, const std::string&, bool& doSkin) { doSkin = true; }; },
     true},
    {"OnFormSkin refuses a form",
     [](auto& c) { return KeepForm(NewVisibleForm(), c); },
     [](TSkinManage&, TSkinData& d) {
       d.OnFormSkin = [](TObject*, const std::string& name, bool& doSkin) { doSkin = name != "TForm"; };
     },
     false},
    {"switched off", [](auto& c) { return KeepForm(NewVisibleForm(), c); },
     [](TSkinManage& m, TSkinData&) { m.Active = false; }, false},
};

class Qualification : public SkinEngine, public ::testing::WithParamInterface<TQualifyCase> {};

TEST_P(Qualification, DecidesWhichWindowsGetAFormSkinner) {
  const TQualifyCase& c = GetParam();
  std::vector<std::function<void()>> cleanup;
  data->SetOptions(Bit(xoPreview) | Bit(xoToolbarBK));
  Manager().MainSkinData = data;
  if (c.Setup) c.Setup(Manager(), *data);
  HWND h = c.Make(cleanup);
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(Manager().SkinWindow(h), c.Skinned);
  EXPECT_EQ(Manager().FindForm(h) != nullptr, c.Skinned);
  EXPECT_EQ(SendMessageA(h, SM_ISSKINNED, 0, 0), c.Skinned ? 1 : 0);
  FreeSkinManager();  // lets go of the window before it goes
  for (auto it = cleanup.rbegin(); it != cleanup.rend(); ++it) (*it)();
}

INSTANTIATE_TEST_SUITE_P(Windows, Qualification, ::testing::ValuesIn(QualifyCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.Name; *p; ++p) n += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return n;
                         });

// ---- the private messages ----

using FormSkinner = SkinEngine;

TEST_F(FormSkinner, AnswersTheSkinnedQuestionAndNoticesAfterFinishing) {
  TMessageLog own;
  HWND skinned = MakeRawWindow(&own), plain = MakeRawWindow(nullptr);
  ShowWindow(skinned, SW_SHOWNA);
  ASSERT_TRUE(Manager().SkinWindow(skinned));
  // A subclass put in front afterwards sees the finish message before the notice.
  struct TSpy : TWindowSubclass {
    std::vector<std::pair<UINT, LPARAM>> Seen;
    LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
      Seen.push_back({msg, l});
      return CallPrevious(msg, w, l);
    }
  } spy;
  ASSERT_TRUE(spy.Install(skinned));
  EXPECT_EQ(own.Count(CN_NOTIFY, SkinNoticeParam), 0u);
  Finish(skinned);
  EXPECT_EQ(Manager().FindForm(skinned)->State(), skSkinned);
  auto at = [&](UINT msg, LPARAM l) {
    for (size_t i = 0; i < spy.Seen.size(); ++i)
      if (spy.Seen[i] == std::make_pair(msg, l)) return int(i);
    return -1;
  };
  ASSERT_GE(at(SM_FINISHSKIN, SkinFinishParam), 0);
  EXPECT_GT(at(CN_NOTIFY, SkinNoticeParam), at(SM_FINISHSKIN, SkinFinishParam));
  EXPECT_EQ(own.Count(CN_NOTIFY, SkinNoticeParam), 1u);
  EXPECT_EQ(own.Count(SM_FINISHSKIN, SkinFinishParam), 0u) << "the finish message is the skinner's own";

  EXPECT_EQ(SendMessageA(skinned, SM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageA(plain, SM_ISSKINNED, 0, 0), 0);
  // Answering posts the notice once more.
  PumpMessagesUntil([&] { return own.Count(CN_NOTIFY, SkinNoticeParam) == 2; });
  EXPECT_EQ(own.Count(CN_NOTIFY, SkinNoticeParam), 2u);
  spy.Remove();
  FreeSkinManager();
  DestroyRawWindow(skinned);
  DestroyRawWindow(plain);
}

TEST_F(FormSkinner, SkinnedFormsAnswerTheEngineQueries) {
  TForm* form = NewVisibleForm();
  ASSERT_TRUE(Manager().SkinWindow(form->Handle()));
  Finish(form->Handle());
  struct TCase {
    UINT Msg;
    WPARAM W;
    LPARAM L;
    LRESULT Answer;
  };
  const HDC dc = GetWindowDC(form->Handle());
  const TCase cases[] = {{SM_SKINQUERY, 0, SkinNoticeParam, SkinNoticeParam},
                         {SM_SKINQUERY, 0, 0, 1},
                         {SM_SKINQUERY, 0, 16801, 1},
                         {SM_PAINTFRAMETO, WPARAM(dc), SkinNoticeParam, SkinNoticeParam},
                         {SM_PAINTFRAMETO, 0, SkinNoticeParam, SkinNoticeParam},
                         {SM_PAINTFRAMETO, WPARAM(dc), 7, 0}};
  for (const TCase& c : cases) {
    EXPECT_EQ(SendMessageA(form->Handle(), c.Msg, c.W, c.L), c.Answer) << std::hex << c.Msg << " " << c.L;
    EXPECT_EQ(form->Perform(c.Msg, c.W, c.L), c.Answer) << "through WindowProc: " << std::hex << c.Msg;
  }
  ReleaseDC(form->Handle(), dc);
  // An unskinned form answers none of them.
  TForm* plain = NewVisibleForm();
  EXPECT_EQ(SendMessageA(plain->Handle(), SM_SKINQUERY, 0, SkinNoticeParam), 0);
  FreeSkinManager();
  form->Free();
  plain->Free();
}

TEST_F(FormSkinner, WaitingForTheFinishMessageStillLetsTheActivationGo) {
  HWND h = MakeRawWindow(nullptr);
  ShowWindow(h, SW_SHOWNA);
  ASSERT_TRUE(Manager().SkinWindow(h));
  ASSERT_EQ(Manager().FindForm(h)->State(), skWaiting);
  // Answering 0 would keep the window from giving up the activation.
  EXPECT_EQ(SendMessageA(h, WM_NCACTIVATE, FALSE, 0), TRUE);
  EXPECT_EQ(SendMessageA(h, WM_NCPAINT, 1, 0), 0);
  FreeSkinManager();
  DestroyRawWindow(h);
}

TEST_F(FormSkinner, RepaintsTheFrameAfterTheIconOrTheTextChanged) {
  HWND h = MakeRawWindow(nullptr, 260, 140);
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  ASSERT_TRUE(Manager().SkinWindow(h));
  Finish(h);
  TSkinnerForm* f = Manager().FindForm(h);
  // The system's default procedure paints its own caption for both changes; the skinned one must be
  // on the screen afterwards. Sampled between the text's clip and the right-hand buttons.
  RECT wr;
  GetWindowRect(h, &wr);
  const int W = wr.right - wr.left, L = f->BorderLeft, T = f->BorderTop;
  TDataSkinBorder* top = data->BorderTop;
  std::unique_ptr<TBitmap> strip(BuildSkinBitmap(RECT{0, 0, W - L - f->BorderRight, T}, top->Bitmap, top->Margins,
                                                 true, top->Tile == 1 ? 0 : 1, top->FrameCount, 1));
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  for (UINT msg : {UINT(WM_SETICON), UINT(WM_SETTEXT)}) {
    if (msg == WM_SETICON)
      SendMessageA(h, WM_SETICON, ICON_SMALL, LPARAM(icon));
    else
      SetWindowTextA(h, "A new caption");
    const int x = ((W - f->BorderRight - data->Title->Margins.Right) + (W - f->RightButtonEdge())) / 2;
    PumpMessagesUntil([] { return true; });  // what was painted reaches the screen
    TBitmap shot;
    CaptureWindow(h, shot);
    for (int y = 1; y < T; y += 4) EXPECT_EQ(PixelAt(&shot, x, y), PixelAt(strip.get(), x - L, y)) << msg << " row " << y;
  }
  FreeSkinManager();
  DestroyRawWindow(h);
}

TEST_F(FormSkinner, ASecondActivationAddsNoSecondSkinner) {
  Manager().InstallHook();
  TForm* form = NewVisibleForm();
  TForm* other = NewVisibleForm();
  for (int i = 0; i < 2; ++i) {
    SetActiveWindow(form->Handle());
    SetActiveWindow(other->Handle());
  }
  PumpMessagesUntil([&] { return Manager().Forms.size() >= 2; }, 5000);
  EXPECT_EQ(Manager().Forms.size(), 2u);
  EXPECT_NE(Manager().FindForm(form->Handle()), nullptr);
  EXPECT_NE(Manager().FindForm(other->Handle()), nullptr);
  FreeSkinManager();
  form->Free();
  other->Free();
}

// ---- queued actions ----

TEST_F(FormSkinner, QueuedActionsRunInOrderFromTheTimer) {
  TForm* form = NewVisibleForm();
  Manager().Started = 1;
  std::vector<std::string> done;
  data->OnSkinChanged = [&](TObject*) {
    done.push_back(std::to_string(Manager().Action) + ":" + std::to_string(Manager().Forms.size()));
  };
  for (int action : {int(saSkinAll), int(saReapplySkin), int(saUnskinAll)}) {
    Manager().ActionData = data;
    Manager().QueueAction(action, 250);
    EXPECT_TRUE(done.size() < 3 && Manager().Timer->GetEnabled()) << "only the timer runs it";
    const size_t before = done.size();
    PumpMessagesUntil([&] { return done.size() > before; });
  }
  EXPECT_EQ(done, (std::vector<std::string>{"1:1", "3:1", "2:0"}));
  EXPECT_FALSE(Manager().Active);
  EXPECT_EQ(Manager().ActionData, nullptr);
  FreeSkinManager();
  form->Free();
}

TEST_F(FormSkinner, BeforeTheFirstActivationActionsOnlySwitchSkinning) {
  Manager().Active = false;
  Manager().QueueAction(saSkinAll, 250);
  EXPECT_TRUE(Manager().Active);
  EXPECT_FALSE(Manager().Timer->GetEnabled());
  Manager().QueueAction(saUnskinAll, 250);
  EXPECT_FALSE(Manager().Active);
  EXPECT_FALSE(Manager().Timer->GetEnabled());
}

// ---- unskinning ----

struct TUnskinWay {
  const char* Name;
  std::function<void(TSkinManage&, TSkinData&)> Run;
};

class Unskinning : public SkinEngine, public ::testing::WithParamInterface<TUnskinWay> {};

TEST_P(Unskinning, RestoresProceduresColourAndClientSize) {
  TForm* form = NewVisibleForm();
  form->SetColor(clAqua);
  const HWND h = form->Handle();
  const LONG_PTR procBefore = GetWindowLongPtrA(h, GWLP_WNDPROC);
  RECT clientBefore;
  GetClientRect(h, &clientBefore);
  data->SetActive(true);
  ASSERT_TRUE(SkinWindowNow(h));
  EXPECT_NE(GetWindowLongPtrA(h, GWLP_WNDPROC), procBefore);
  EXPECT_EQ(form->GetColor(), data->ButtonFace);
  // A handler put on the form's WindowProc after the skinner.
  int later = 0;
  TWindowProcHook laterHook;
  laterHook.Install(form, [&](TMessage& m) {
    if (m.Msg == WM_USER + 7) ++later;
    laterHook.CallSaved(m);
  });

  GetParam().Run(Manager(), *data);

  EXPECT_EQ(Manager().FindForm(h), nullptr);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), procBefore);
  EXPECT_EQ(form->GetColor(), clAqua);
  RECT clientAfter;
  GetClientRect(h, &clientAfter);
  EXPECT_EQ(clientAfter.right, clientBefore.right);
  EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
  EXPECT_EQ(form->Perform(SM_SKINQUERY, 0, SkinNoticeParam), 0) << "the skinner's hook is gone";
  SendMessageA(h, WM_USER + 7, 0, 0);
  EXPECT_EQ(later, 1) << "the later handler still fires";
  laterHook.Remove();
  form->Free();
}

const TUnskinWay UnskinWays[] = {
    {"Active_False",
     [](TSkinManage& m, TSkinData& d) {
       d.SetActive(false);
       PumpMessagesUntil([&] { return m.Forms.empty(); });
     }},
    {"the_skin_data_goes", [](TSkinManage& m, TSkinData& d) { m.RemoveSkinData(&d); }},
};
INSTANTIATE_TEST_SUITE_P(Ways, Unskinning, ::testing::ValuesIn(UnskinWays),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FormSkinner, TheFormsDestructionReleasesItsSkinner) {
  TForm* form = NewVisibleForm();
  const HWND h = form->Handle();
  ASSERT_TRUE(Manager().SkinWindow(h));
  Finish(h);
  bool destroyedSeen = false;
  struct TLast : TWindowSubclass {
    bool* Seen;
    LRESULT SubclassProc(UINT msg, WPARAM w, LPARAM l) override {
      if (msg == WM_NCDESTROY) *Seen = true;
      return CallPrevious(msg, w, l);
    }
  } last;
  last.Seen = &destroyedSeen;
  ASSERT_TRUE(last.Install(h));
  form->Free();
  EXPECT_TRUE(destroyedSeen);
  EXPECT_FALSE(IsWindow(h));
  Manager().PurgeForms();
  EXPECT_TRUE(Manager().Forms.empty());
}

// ---- message boxes under the engine's hook ----

TEST_F(FormSkinner, MessageBoxesKeepTheirButtonCaptions) {
  Manager().InstallHook();
  Manager().Started = 1;
  std::map<int, std::string> captions;
  LRESULT skinned = -1;
  etk::TModalScript script({[&] {
    HWND box = GetActiveWindow();
    for (int id : {IDYES, IDNO}) {
      char text[64] = {};
      GetDlgItemTextA(box, id, text, sizeof text);
      captions[id] = text;
    }
    skinned = SendMessageA(box, SM_ISSKINNED, 0, 0);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
  }});
  TPrompt p;
  p.Text = "Overwrite?";
  p.Caption = "Question";
  p.Buttons = Buttons({mbYes, mbNo});
  p.ButtonCaptions = {"&Replace", "&Keep"};
  SetPrompter(nullptr);
  EXPECT_EQ(Prompter().Ask(p), IDNO);
  EXPECT_EQ(captions[IDYES], "&Replace");
  EXPECT_EQ(captions[IDNO], "&Keep");
  EXPECT_EQ(skinned, 1) << "the box was skinned";
}

TEST_F(FormSkinner, TheProgramsMessageDialogsKeepTheirButtonCaptions) {
  Manager().InstallHook();
  Manager().Started = 1;
  std::vector<std::string> captions;
  LRESULT skinned = -1;
  auto shown = [] {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->ClassName() == "TMessageForm" && Screen->Forms(i)->GetVisible())
        return static_cast<TMessageForm*>(Screen->Forms(i));
    return static_cast<TMessageForm*>(nullptr);
  };
  etk::TModalScript script({[&] {
    TMessageForm* f = shown();
    if (!f) return;
    PumpMessagesUntil([&] { return SendMessageA(f->Handle(), SM_ISSKINNED, 0, 0) == 1; }, 5000);
    skinned = SendMessageA(f->Handle(), SM_ISSKINNED, 0, 0);
    for (TButton* b : f->ButtonList) captions.push_back(b->GetCaption());
    PostMessageA(f->ButtonList.back()->Handle(), BM_CLICK, 0, 0);
  }});
  SetPrompter(nullptr);
  EXPECT_EQ(CustomMessageDlg("Overwrite the file?", "Question", mtConfirmation, {"Replace", "Keep"},
                             Buttons({mbYes, mbNo})),
            mrNo);
  EXPECT_EQ(captions, (std::vector<std::string>{"Replace", "Keep"}));
  EXPECT_EQ(skinned, 1);
}

}  // namespace
