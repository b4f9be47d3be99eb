#include "SkinManage.h"

#include <algorithm>
#include <memory>

#include "Forms.h"
#include "SkinImageUtils.h"
#include "SkinnerData.h"
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
          if (TSkinnedWindow* f = m->FindSkinned(cs->hwndParent)) f->SkinChildWindow(window);
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

namespace {

// What the skin data components tell the manager.
class TManagerObserver : public TSkinDataObserver {
public:
  TManagerObserver() { SkinDataObserver = this; }

  void SkinDataLoaded(TSkinData* data) override {
    TSkinManage& m = CreateSkinManager();
    m.AddSkinData(data);
    if (data->GetSkinFormtype() != sfMainform) {
      m.Active = true;
      ++m.Started;
      auto* form = As<TCustomForm>(data->Owner());
      if (form && data->GetActive()) m.SkinWindow(form->Handle());
      return;
    }
    m.InstallHook();
    if (data->GetActive()) m.QueueAction(saSkinAll, 250);
  }

  void SkinDataActivated(TSkinData* data, bool active) override {
    TSkinManage& m = CreateSkinManager();
    if (data->GetSkinFormtype() == sfOnlyThisForm) {
      m.ActionData = data;
      if (active && data->NoSkin) return;
      m.QueueAction(active ? saSkinAll : saUnskinAll, 250);
      return;
    }
    if (active) {
      if (data->NoSkin) return;
      m.ActionData = data;
      m.QueueAction(saSkinAll, 250);
      m.Started = 1;
    } else {
      m.ActionData = data;
      m.QueueAction(saUnskinAll, 250);
    }
  }

  void SkinDataReapplied(TSkinData* data) override {
    if (!SkinManager) data->Loaded();
    TSkinManage& m = CreateSkinManager();
    m.ActionData = data;
    m.RefreshSkinData();
    if (m.Started == 1) m.QueueAction(saReapplySkin, 250);
  }

  void SkinDataRemoved(TSkinData* data) override {
    if (SkinManager) SkinManager->RemoveSkinData(data);
  }
};

TManagerObserver ManagerObserver;

}  // namespace

TSkinnedWindow* (*MakeSkinnedWindow)(HWND, TControl*, TSkinData*, const std::string&) = nullptr;

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
    TSkinnedWindow* f = Forms.back();
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

  TSkinnedWindow* f = MakeSkinnedWindow ? MakeSkinnedWindow(window, vcl, data, className) : nullptr;
  if (!f) return false;
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

void TSkinManage::UnskinAndFree(TSkinnedWindow* f) {
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
  auto usesData = [data](TSkinnedWindow* f) { return f->SkinData() == data; };
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
      std::vector<TSkinnedWindow*> using_;
      std::copy_if(Forms.begin(), Forms.end(), std::back_inserter(using_), usesData);
      if (onlyOwner && using_.size() > 1) using_.resize(1);
      for (TSkinnedWindow* f : using_) {
        f->FreeSysButtons();
        f->BuildSysButtons();
      }
      for (TSkinnedWindow* f : using_) f->ApplySkinChange();
      break;
    }
  }
  data->DoSkinChanged();
  ActionData = nullptr;
}

// ---- the lists ----

TSkinnedWindow* TSkinManage::FindSkinned(HWND window) {
  for (TSkinnedWindow* f : Forms)
    if (f->WindowHandle == window) return f;
  return nullptr;
}

TSkinnerForm* TSkinManage::FindForm(HWND window) {
  TSkinnedWindow* f = FindSkinned(window);
  return f ? f->FormSkinner() : nullptr;
}

void TSkinManage::Remove(TSkinnedWindow* form) { Forms.erase(std::remove(Forms.begin(), Forms.end(), form), Forms.end()); }

void TSkinManage::RemoveWindow(HWND window) {
  if (Started == 4) return;
  if (TSkinnedWindow* f = FindSkinned(window)) Remove(f);
}

void TSkinManage::PurgeForms() {
  if (Started == 4) return;
  for (size_t i = Forms.size(); i-- > 0;) {
    TSkinnedWindow* f = Forms[i];
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
  std::vector<TSkinnedWindow*> users;
  for (TSkinnedWindow* f : Forms)
    if (f->SkinData() == data) users.push_back(f);
  for (TSkinnedWindow* f : users) {
    Remove(f);
    if (f->State() != skReleased) f->Unskin();
    f->Free();
  }
}

void TSkinManage::RefreshSkinData() {
  for (TSkinnedWindow* f : Forms)
    if (f->SkinData() == ActionData) f->FreeSysButtons();
}

// While an MDI child is maximized its frame is the system's (hidden outside the client): the
// children drop their regions; afterwards they take them again.
void TSkinManage::SetMenuMode(bool on) {
  if (on == MenuMode) return;
  MenuMode = on;
  if (MainSkinData && MainSkinData->Has(xoMDIChildBorder)) return;
  for (TSkinnedWindow* f : Forms) f->MenuModeChanged(on);
}

namespace {

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

bool NineXFamily() { return GetVersion() & 0x80000000u; }

// A WM_NCPAINT wParam that names a region (the system passes 1 for the whole window).
bool IsRegion(WPARAM w) { return w > 1 && GetObjectType(HGDIOBJ(w)) == OBJ_REGION; }

// The three-pixel frame strips of the window-sized picture.
void DrawFrameStrips(HDC dc, TBitmap* b) {
  const int W = b->GetWidth(), H = b->GetHeight();
  HDC src = b->Canvas()->GetHandle();
  BitBlt(dc, 0, 0, W, 3, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, H - 3, W, 3, src, 0, H - 3, SRCCOPY);
  BitBlt(dc, 0, 0, 3, H, src, 0, 0, SRCCOPY);
  BitBlt(dc, W - 3, 0, 3, H, src, W - 3, 0, SRCCOPY);
}

}  // namespace

// ---- the popup-menu window ----

TSkinnerPopMenu::TSkinnerPopMenu() : Background(new TBitmap) {}

TSkinnerPopMenu::~TSkinnerPopMenu() {
  Detach();
  delete Background;
}

void TSkinnerPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu) {
  WindowHandle = window;
  SkinData = skinData;
  MenuHandle = menu;
  Install(window);
}

void TSkinnerPopMenu::Detach() {
  if (!Installed()) return;
  Remove();
  Background->SetSize(0, 0);
}

bool TSkinnerPopMenu::CanPaint() const {
  return SkinData && !SkinData->NoSkin && SkinData->MenuBackground && !SkinData->MenuBackground->Bitmap->Empty();
}

POINT TSkinnerPopMenu::ClientOffset() const {
  RECT wr{};
  GetWindowRect(WindowHandle, &wr);
  POINT origin{0, 0};
  ClientToScreen(WindowHandle, &origin);
  return POINT{origin.x - wr.left, origin.y - wr.top};
}

void TSkinnerPopMenu::BuildBackground() {
  RECT wr{};
  GetWindowRect(WindowHandle, &wr);
  const TDataSkinObject* e = SkinData->MenuBackground;
  std::unique_ptr<TBitmap> b(
      BuildSkinBitmap(RECT{0, 0, WidthOf(wr), HeightOf(wr)}, e->Bitmap, e->Margins, false, e->Tile, 1, 1));
  Background->Assign(b.get());
}

TBitmap* TSkinnerPopMenu::CurrentBackground() {
  if (!CanPaint() || !IsWindow(WindowHandle)) return nullptr;
  RECT wr{};
  GetWindowRect(WindowHandle, &wr);
  if (Background->GetWidth() != WidthOf(wr) || Background->GetHeight() != HeightOf(wr)) BuildBackground();
  return Background->Empty() ? nullptr : Background;
}

LRESULT TSkinnerPopMenu::SubclassProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == SM_ISSKINNED) return 1;
  if (!SkinManager || !SkinManager->Active) return CallPrevious(msg, w, l);
  try {
    switch (msg) {
      case WM_DESTROY:
        // The window's own procedure gets its last messages without this object in front.
        Detach();
        return CallPrevious(msg, w, l);
      case WM_ERASEBKGND:
        if (NineXFamily()) return 0;
        return WMEraseBkgnd(msg, w, l);
      case WM_NCPAINT: return WMNCPaint(msg, w, l);
      case WM_PRINT: return WMPrint(msg, w, l);
      case WM_PAINT: return WMPaint(msg, w, l);
    }
  } catch (...) {
    // Painting raises nothing out of the engine.
  }
  return CallPrevious(msg, w, l);
}

LRESULT TSkinnerPopMenu::WMEraseBkgnd(UINT msg, WPARAM w, LPARAM l) {
  if (!SkinData || !SkinData->Has(xoMenuBG)) CallPrevious(msg, w, l);
  return 1;
}

// The whole window, frame and client alike, from the background. The DC is always the whole window's;
// a real update region (not the 1 that stands for the whole window) only clips it.
LRESULT TSkinnerPopMenu::WMNCPaint(UINT msg, WPARAM w, LPARAM l) {
  if (!CanPaint()) return CallPrevious(msg, w, l);
  HDC dc = GetWindowDC(WindowHandle);
  if (!dc) return 0;
  if (IsRegion(w)) {
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(clip, HRGN(w), nullptr, RGN_COPY);
    OffsetRgn(clip, -wr.left, -wr.top);  // the update region is in screen coordinates
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
  }
  BuildBackground();
  // The frame strips first, then the whole picture.
  DrawFrameStrips(dc, Background);
  BitBlt(dc, 0, 0, Background->GetWidth(), Background->GetHeight(), Background->Canvas()->GetHandle(), 0, 0, SRCCOPY);
  ReleaseDC(WindowHandle, dc);
  return 0;
}

LRESULT TSkinnerPopMenu::WMPrint(UINT msg, WPARAM w, LPARAM l) {
  if (!CanPaint()) return CallPrevious(msg, w, l);
  RECT wr{};
  if (!GetWindowRect(WindowHandle, &wr)) return 0;
  HDC dc = HDC(w);
  BuildBackground();
  const int W = WidthOf(wr), H = HeightOf(wr);
  BitBlt(dc, 0, 0, W, H, Background->Canvas()->GetHandle(), 0, 0, SRCCOPY);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HRGN clip = CreateRectRgn(3, 3, W - 3, H - 3);
  SelectClipRgn(dc, clip);
  const LRESULT result = CallPrevious(msg, w, l);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  SetBkMode(dc, oldMode);
  return result;
}

// A menu window without a non-client area (the platform draws the menu's frame inside the client):
// the frame strips come from the background once the window painted itself.
LRESULT TSkinnerPopMenu::WMPaint(UINT msg, WPARAM w, LPARAM l) {
  const LRESULT result = CallPrevious(msg, w, l);
  if (!CanPaint()) return result;
  RECT wr{}, cr{};
  GetWindowRect(WindowHandle, &wr);
  GetClientRect(WindowHandle, &cr);
  if (WidthOf(cr) != WidthOf(wr) || HeightOf(cr) != HeightOf(wr)) return result;
  TBitmap* b = CurrentBackground();
  if (!b) return result;
  HDC dc = GetDC(WindowHandle);
  DrawFrameStrips(dc, b);
  ReleaseDC(WindowHandle, dc);
  return result;
}

// ---- the popup-menu windows ----

void TSkinManage::SkinPopupMenu(HWND window) {
  if (!Active || !IsWindow(window) || IsPopupSkinned(window)) return;
  if (SendMessageA(window, SM_ISSKINNED, 0, 0) == 1) return;
  TSkinData* data = nullptr;
  ChooseSkinData(data, window);
  if (!data || data->NoSkin) return;
  switch (PopupMode) {
    case 0:
      if (!data->Has(xcPopupMenu)) return;
      break;
    case 1:
      if (!data->Has(xcMainMenu) && !data->Has(xcMenuItem)) return;
      break;
    case 2:
      if (!data->Has(xcSystemMenu)) return;
      break;
  }
  auto* skinner = new TSkinnerPopMenu;
  skinner->Attach(window, data, nullptr);
  PopupMenus.push_back(skinner);
}

bool TSkinManage::RemovePopupMenu(HWND window) {
  bool found = false;
  for (size_t i = 0; i < PopupMenus.size(); ++i)
    if (PopupMenus[i]->WindowHandle == window) {
      TSkinnerPopMenu* s = PopupMenus[i];
      PopupMenus.erase(PopupMenus.begin() + ptrdiff_t(i));
      s->Detach();
      delete s;
      found = true;
      break;
    }
  if (PopupMenus.empty()) PopupMode = 0;
  return found;
}

bool TSkinManage::IsPopupSkinned(HWND window) const { return FindPopupMenu(window) != nullptr; }

TSkinnerPopMenu* TSkinManage::FindPopupMenu(HWND window) const {
  for (TSkinnerPopMenu* s : PopupMenus)
    if (s->WindowHandle == window) return s;
  return nullptr;
}

void TSkinManage::SetPopupMenuHandle(HMENU menu) {
  for (auto it = PopupMenus.rbegin(); it != PopupMenus.rend(); ++it) {
    if ((*it)->MenuHandle == menu) return;  // told already
    if (!(*it)->MenuHandle) {
      (*it)->MenuHandle = menu;
      return;
    }
  }
}

TBitmap* TSkinManage::PopupBitmap(HMENU menu) {
  for (TSkinnerPopMenu* s : PopupMenus)
    if (menu && s->MenuHandle == menu) return s->CurrentBackground();
  return nullptr;
}

void TSkinManage::FreePopupMenus() {
  while (!PopupMenus.empty()) {
    TSkinnerPopMenu* s = PopupMenus.back();
    PopupMenus.pop_back();
    s->Detach();
    delete s;
  }
}
