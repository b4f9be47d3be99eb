// For the skin engine's tests: the program's own skin, a skin manager of the test's own with one
// registered skin data component, and plain windows that record what reaches their own procedure.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "PumpMessages.h"
#include "Resources.h"
#include "SkinManage.h"
#include "SkinnerControl.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinTestKit.h"

namespace skintest {

// The skin the build generates and embeds for the main window.
inline std::vector<uint8_t> ProgramSkinFile() { return EmbeddedFileBytes("skins/Orvane.skn"); }

// The SkinStream property's payload: int32 size, then the bytes.
inline TMemoryStream SkinStreamPayload(const std::vector<uint8_t>& skinFile, int32_t size) {
  TMemoryStream s;
  s.Write(&size, 4);
  if (!skinFile.empty()) s.Write(skinFile.data(), int64_t(skinFile.size()));
  s.Seek(0);
  return s;
}

// The messages a plain window's own procedure received, in order.
struct TMessageLog {
  std::vector<UINT> Messages;
  std::vector<LPARAM> Params;
  size_t Count(UINT msg, LPARAM l) const {
    size_t n = 0;
    for (size_t i = 0; i < Messages.size(); ++i) n += Messages[i] == msg && Params[i] == l;
    return n;
  }
};

inline TMessageLog*& LogOf(HWND h) {
  static std::map<HWND, TMessageLog*> logs;
  return logs[h];
}

inline LRESULT CALLBACK RecordingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (TMessageLog* log = LogOf(h)) {
    log->Messages.push_back(msg);
    log->Params.push_back(l);
  }
  return DefWindowProcA(h, msg, w, l);
}

// A top-level window of a class of this program (or of `instance`), recording its messages.
inline HWND MakeRawWindow(TMessageLog* log, int width = 200, int height = 120, DWORD style = WS_OVERLAPPEDWINDOW,
                          const char* className = "OrvSkinTestWindow", HINSTANCE instance = nullptr) {
  if (!instance) instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, className, &wc)) {
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
  }
  HWND h = CreateWindowExA(0, className, "Skin test", style, 40, 40, width, height, nullptr, nullptr, instance, nullptr);
  LogOf(h) = log;
  return h;
}

inline void DestroyRawWindow(HWND h) {
  if (IsWindow(h)) DestroyWindow(h);
  LogOf(h) = nullptr;
}

// Names a parameterised case after its Name field, anything but letters and digits as "_".
struct CaseName {
  template <class Info>
  std::string operator()(const Info& info) const {
    std::string n = info.param.Name;
    for (char& ch : n)
      if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
  }
};

// The skinner a form skinner keeps for a control, or null.
inline TSkinControl* SkinnerOf(TSkinnerForm* form, TControl* control) {
  if (!form) return nullptr;
  for (TSkinControl* s : form->ControlSkinners())
    if (s->Control == control) return s;
  return nullptr;
}

inline std::string SkinnerName(TSkinControl* s) { return s ? s->ClassName() : std::string(); }

// The client area of a window as the screen shows it.
inline void CaptureClient(HWND h, TBitmap& shot) {
  RECT r;
  GetClientRect(h, &r);
  POINT o{0, 0};
  ClientToScreen(h, &o);
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(r.right, r.bottom);
  HDC sdc = GetDC(nullptr);
  BitBlt(shot.Canvas()->GetHandle(), 0, 0, r.right, r.bottom, sdc, o.x, o.y, SRCCOPY);
  ReleaseDC(nullptr, sdc);
}

// The number of pixels in which two pictures differ (-1 when their sizes do).
inline int Differences(TBitmap& a, TBitmap& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return -1;
  int n = 0;
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x) n += PixelAt(&a, x, y) != PixelAt(&b, x, y);
  return n;
}

// Repaints a window with its frame and children now.
inline void RedrawAll(HWND h) {
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  PumpMessagesUntil([] { return true; });
}

// A fresh manager with one sfMainform component holding the program's skin; both go in TearDown.
class SkinEngine : public ::testing::Test {
protected:
  TSkinData* data = nullptr;

  void SetUp() override {
    FreeSkinManager();
    CreateSkinManager();
    data = new TSkinData(nullptr);
    data->SkinData.SetBytes(ProgramSkinFile());
    ASSERT_TRUE(data->LoadSkin());
    SkinManager->AddSkinData(data);
    SkinManager->Active = true;
  }
  void TearDown() override {
    FreeSkinManager();
    delete data;
  }
  TSkinManage& Manager() { return *SkinManager; }
  // A test form at the usual place and size, for controls to be put on before ShowSkinned.
  static TForm* NewTestForm() {
    auto* form = new TForm(nullptr);
    form->SetBounds(60, 60, 200, 120);
    return form;
  }
  // Skins a window as the manager's timer would, up to the finish.
  bool SkinWindowNow(HWND h) {
    Manager().Started = 1;
    if (!Manager().SkinWindow(h)) return false;
    Finish(h);
    return true;
  }
  bool ShowSkinned(TForm* form) {
    form->Show();
    return SkinWindowNow(form->Handle());
  }
  // As ShowSkinned, in the foreground and repainted whole, for tests that look at the screen.
  bool ShowSkinnedInFront(TForm* form) {
    form->Show();
    SetForegroundWindow(form->Handle());
    if (!SkinWindowNow(form->Handle())) return false;
    RedrawAll(form->Handle());
    return true;
  }
  // Lets the posted finish message arrive.
  void Finish(HWND h) {
    PumpMessagesUntil([&] {
      TSkinnerForm* f = Manager().FindForm(h);
      return !f || f->State() == skSkinned;
    });
  }
};

}  // namespace skintest
