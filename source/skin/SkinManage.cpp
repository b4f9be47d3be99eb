#include "SkinManage.h"

#include <algorithm>

#include "Forms.h"
#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "Strings.h"
#include "Timer.h"

TSkinManage* SkinManager = nullptr;

namespace {

HHOOK HookHandle = nullptr;
bool HookDisabled = false;
DWORD WindowsVersion = 0;

LRESULT CALLBACK SkinCbtProc(int code, WPARAM w, LPARAM l) {
  TSkinManage* m = SkinManager;
  if (!HookDisabled && m && code >= 0) {
    const HWND window = HWND(w);
    switch (code) {
      case HCBT_CREATEWND: {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs;
        // A size grip made inside a window that is skinned already gets its skinner at once.
        if ((cs->style & SBS_SIZEGRIP) && SameText(WindowClassName(window), "ScrollBar"))
          if (TSkinnerForm* f = m->FindForm(cs->hwndParent)) f->SkinChildWindow(window);
        if (!(cs->style & WS_CHILD) && WindowClassName(window) == "#32768") m->SkinPopupMenu(window);
        if (cs->dwExStyle & WS_EX_MDICHILD) m->SkinWindow(window);
        break;
      }
      case HCBT_DESTROYWND:
        m->RemovePopupMenu(window);
        break;
      case HCBT_ACTIVATE:
        if (m->Started == 0) m->Started = 1;
        m->SkinWindow(window);
        break;
    }
  }
  return CallNextHookEx(HookHandle, code, w, l);
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

std::string WindowClassName(HWND window) {
  char name[100] = {};
  if (!window || !GetClassNameA(window, name, int(sizeof name))) return std::string();
  return name;
}

TSkinManage& CreateSkinManager() {
  if (!SkinManager) SkinManager = new TSkinManage;
  return *SkinManager;
}

void FreeSkinManager() {
  delete SkinManager;
  SkinManager = nullptr;
}

TSkinManage::TSkinManage() : Timer(new TTimer(nullptr)) {
  Timer->SetEnabled(false);
  Timer->SetInterval(100);
  Timer->OnTimer = [this](TObject*) { DoAction(); };
}

TSkinManage::~TSkinManage() {
  Started = 4;
  Active = false;
  delete Timer;
  Timer = nullptr;
  while (!Forms.empty()) {
    TSkinnerForm* f = Forms.back();
    Forms.pop_back();
    f->Release();
    f->Free();
  }
  // A menu window that outlives the manager gets its own procedure back first.
  FreePopupMenus();
  if (HookHandle) UnhookWindowsHookEx(HookHandle);
  HookHandle = nullptr;
  HookDisabled = true;
}

void TSkinManage::InstallHook() {
  if (HookHandle) return;
  WindowsVersion = GetVersion();
  HookDisabled = false;
  HookHandle = SetWindowsHookExA(WH_CBT, SkinCbtProc, nullptr, GetCurrentThreadId());
}

bool TSkinManage::HookInstalled() const { return HookHandle != nullptr; }

// ---- qualification ----

bool TSkinManage::IsPlainChild(HWND window) {
  if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
  if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) return false;
  return LowerCase(WindowClassName(GetParent(window))) != "mdiclient";
}

TControl* TSkinManage::FindVclForm(HWND window) {
  // Only forms whose window exists can be this one: asking the others would create their windows.
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->HandleAllocated() && f->Handle() == window) return f;
  }
  return FindVclControl(window);
}

bool TSkinManage::SkinWindow(HWND window) {
  if (!Active || !IsWindow(window)) return false;
  PurgeForms();
  if (SendMessageA(window, SM_ISSKINNED, 0, 0) == 1 || FindForm(window)) return false;
  TControl* vcl = FindVclForm(window);
  if (!SkinningAll && IsPlainChild(window)) return false;
  const std::string className = WindowClassName(window);
  const bool ours = HINSTANCE(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == GetModuleHandleA(nullptr);
  if (!vcl && !ours && className != "#32770") return false;
  RECT r;
  GetWindowRect(window, &r);
  const bool mdiChild = GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD;
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild) return false;
  if (vcl && vcl->GetTag() == 99) return false;  // the fixed mark of a window that stays unskinned
  if (Contains(className, "TcxPopupEditPopupWindow") || Contains(className, "TTERenderWindow") ||
      className == "TApplication")
    return false;
  if (!CanSkinClass(window, className)) return false;
  TSkinData* data = nullptr;
  ChooseSkinData(data, window);
  if (!data || data->NoSkin) return false;

  auto* f = new TSkinnerForm(vcl);
  f->WindowHandle = window;
  f->Name = className;
  if (vcl)
    f->AttachForm(data, vcl);
  else
    f->AttachWindow(data);
  if (!f->Attached()) {
    f->Free();
    return false;
  }
  Forms.push_back(f);
  PostMessageA(window, SM_FINISHSKIN, 0, SkinFinishParam);
  return true;
}

void TSkinManage::SkinForm(TCustomForm* form) {
  if (!form->GetVisible() || !form->HandleAllocated()) return;
  if (GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CHILD) return;
  SkinWindow(form->Handle());
}

bool TSkinManage::CanSkinClass(HWND window, const std::string& className) {
  if (!MainSkinData) return true;
  bool doSkin = true;
  const std::string lower = LowerCase(className);
  if (!MainSkinData->Has(xoPreview) && Contains(lower, "preview")) doSkin = false;
  if (className == "#32770" && (GetWindowLongA(window, GWL_STYLE) & 0x200)) doSkin = false;
  if (lower == "tpopupdbtreeview") doSkin = false;
  MainSkinData->AskFormSkin(window, className, doSkin);
  return doSkin;
}

void TSkinManage::ChooseSkinData(TSkinData*& data, HWND window) {
  data = nullptr;
  auto last = [this](auto matches) -> TSkinData* {
    for (auto it = SkinDatas.rbegin(); it != SkinDatas.rend(); ++it)
      if (matches(*it)) return *it;
    return nullptr;
  };
  data = last([window](TSkinData* d) {
    auto* owner = As<TWinControl>(d->Owner());
    return d->GetSkinFormtype() == sfOnlyThisForm && owner && owner->HandleAllocated() && owner->Handle() == window;
  });
  const std::string lower = LowerCase(WindowClassName(window));
  if (!data && (lower == "tmessageform" || lower == "#32770"))
    data = last([](TSkinData* d) { return d->GetSkinFormtype() == sfDialog; });
  if (!data) data = last([](TSkinData* d) { return d->GetSkinFormtype() == sfMainform; });
  if (!data && !SkinDatas.empty()) data = SkinDatas.front();
}

// ---- queued actions ----

void TSkinManage::QueueAction(int action, int interval) {
  Action = action;
  Timer->SetInterval(interval);
  if (Started == 0) {
    if (action == saSkinAll) Active = true;
    if (action == saUnskinAll) Active = false;
    return;
  }
  Timer->SetEnabled(false);
  Timer->SetEnabled(true);
}

void TSkinManage::UnskinAndFree(TSkinnerForm* f) {
  Remove(f);
  f->Unskin();
  if (IsWindow(f->WindowHandle)) {
    InvalidateRect(f->WindowHandle, nullptr, TRUE);
    UpdateWindow(f->WindowHandle);
  }
  f->Free();
}

void TSkinManage::DoAction() {
  Timer->SetEnabled(false);
  TSkinData* data = ActionData;
  if (!data) return;
  auto usesData = [data](TSkinnerForm* f) { return f->SkinData() == data; };
  const bool onlyOwner = data->GetSkinFormtype() == sfOnlyThisForm;
  switch (Action) {
    case saSkinAll:
      Active = true;
      SkinningAll = true;
      PurgeForms();
      for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = Screen->Forms(i);
        if (!onlyOwner || form == data->Owner()) SkinForm(form);
        if (onlyOwner && form == data->Owner()) break;
      }
      SkinningAll = false;
      break;
    case saUnskinAll:
      Active = false;
      PurgeForms();
      if (onlyOwner) {
        auto it = std::find_if(Forms.rbegin(), Forms.rend(), usesData);
        if (it != Forms.rend()) UnskinAndFree(*it);
      } else {
        while (!Forms.empty()) UnskinAndFree(Forms.front());
      }
      break;
    case saReapplySkin: {
      PurgeForms();
      std::vector<TSkinnerForm*> using_;
      std::copy_if(Forms.begin(), Forms.end(), std::back_inserter(using_), usesData);
      if (onlyOwner && using_.size() > 1) using_.resize(1);
      for (TSkinnerForm* f : using_) {
        f->FreeSysButtons();
        f->BuildSysButtons();
      }
      for (TSkinnerForm* f : using_) f->ApplySkinChange();
      break;
    }
  }
  data->DoSkinChanged();
  ActionData = nullptr;
}

// ---- the lists ----

TSkinnerForm* TSkinManage::FindForm(HWND window) {
  for (TSkinnerForm* f : Forms)
    if (f->WindowHandle == window) return f;
  return nullptr;
}

void TSkinManage::Remove(TSkinnerForm* form) { Forms.erase(std::remove(Forms.begin(), Forms.end(), form), Forms.end()); }

void TSkinManage::RemoveWindow(HWND window) {
  if (Started == 4) return;
  if (TSkinnerForm* f = FindForm(window)) Remove(f);
}

void TSkinManage::PurgeForms() {
  if (Started == 4) return;
  for (size_t i = Forms.size(); i-- > 0;) {
    TSkinnerForm* f = Forms[i];
    if (f->State() == skReleased) {
      Forms.erase(Forms.begin() + ptrdiff_t(i));
      f->Free();
    }
  }
}

void TSkinManage::AddSkinData(TSkinData* data) {
  if (std::find(SkinDatas.begin(), SkinDatas.end(), data) != SkinDatas.end()) return;
  SkinDatas.push_back(data);
  if (!MainSkinData && data->GetSkinFormtype() == sfMainform) MainSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  SkinDatas.erase(std::remove(SkinDatas.begin(), SkinDatas.end(), data), SkinDatas.end());
  if (ActionData == data) ActionData = nullptr;
  if (MainSkinData == data) {
    MainSkinData = nullptr;
    for (TSkinData* d : SkinDatas)
      if (d->GetSkinFormtype() == sfMainform) {
        MainSkinData = d;
        break;
      }
  }
  // The windows skinned from it would go on reading a freed skin: they let go of it now.
  std::vector<TSkinnerForm*> users;
  for (TSkinnerForm* f : Forms)
    if (f->SkinData() == data) users.push_back(f);
  for (TSkinnerForm* f : users) {
    Remove(f);
    if (f->State() != skReleased) f->Unskin();
    f->Free();
  }
}

void TSkinManage::RefreshSkinData() {
  for (TSkinnerForm* f : Forms)
    if (f->SkinData() == ActionData) f->FreeSysButtons();
}

// While an MDI child is maximized its frame is the system's (hidden outside the client): the
// children drop their regions; afterwards they take them again.
void TSkinManage::SetMenuMode(bool on) {
  if (on == MenuMode) return;
  MenuMode = on;
  if (MainSkinData && MainSkinData->Has(xoMDIChildBorder)) return;
  for (TSkinnerForm* f : Forms) {
    if (f->WindowKind != wkMdiChild) continue;
    if (on) {
      f->DeleteRegion();
    } else if (f->ShowState != ssMinimizedWindow) {
      f->ShowState = ssNormalWindow;
      f->UpdateRegion();
      if (!f->OwnsRegion()) f->RefreshFrame();
    }
  }
}
