#include "SkForm.h"

#include <algorithm>

#include "ActnList.h"
#include "OrvWindowsUtils.h"
#include "Prompter.h"
#include "SkBitmaps.h"
#include "SkThemeMgr.h"
#include "SkUtils.h"

namespace {

// Entries of the style table the frame reads.
enum {
  eTitleButtonImage = 5, eTitleButtonTransparent = 6, eTitleButtonLeftOffset = 7, eTitleButtonRightOffset = 8,
  eTitleButtonTop = 9, eTitleLeft = 10, eTitleClient = 11, eTitleRight = 12, eFormMinWidth = 13,
  eFormRoundCorner = 14, eFormBackground = 15, eFormBorderColor = 16, eFormBorderWidth = 17,
  eMenuBarColor = 48, eTitleFontColor = 44, eFormLeftBorder = 45, eFormBottomBorder = 46
};

constexpr int kTitleFrames = 18;

struct TSkFormMessage {
  int Id;
  const char* Text;
};
const TSkFormMessage kSkFormMessages[] = {
    {SSkMinimize, "Mi&nimize"},
    {SSkMaximizeRestore, "Ma&ximize/Restore"},
    {SSkClose, "&Close"},
};

// First frame (from 1) of each button type's three pictures in "TitleBarButtonImage".
int FirstFrame(TskTitleBarBtnType type, bool maximized) {
  switch (type) {
    case skControlBox: return 1;
    case skHelp: return 4;
    case skMax: return maximized ? 10 : 7;
    case skMin: return 13;
    case skClose: return 16;
    case skCustom: break;
  }
  return 0;
}

const std::vector<std::string>& ButtonTypeNames() {
  static const std::vector<std::string> n = {"skMax", "skMin", "skClose", "skHelp", "skControlBox", "skCustom"};
  return n;
}
const std::vector<std::string>& AlignNames() {
  static const std::vector<std::string> n = {"skLeft", "skRight", "skClient"};
  return n;
}

// The style's value of an entry, from the theme file when the style says so.
int StyleInt(TskFileTheme* theme, TskUIStyle style, int entry) {
  TskUIStyle s;
  return UseFileTheme(theme, style, s) ? theme->GetInt(entry) : GetBuiltInThemeInt(s, entry);
}
TColor StyleColor(TskFileTheme* theme, TskUIStyle style, int entry) {
  TskUIStyle s;
  return UseFileTheme(theme, style, s) ? theme->GetColor(entry) : GetBuiltInThemeColor(s, entry);
}
void StyleFrame(TskFileTheme* theme, TskUIStyle style, int entry, TBitmap* bitmap, int frame, int frames) {
  TskUIStyle s;
  if (UseFileTheme(theme, style, s))
    theme->GetFrame(entry, bitmap, frame, frames);
  else
    GetBuiltInThemeBitmap(s, entry, bitmap, frame, frames);
}

// Has the system ask the window for its frame again (the client area follows).
void FrameChanged(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Draws a bitmap with its magenta pixels left out.
void DrawKeyed(TCanvas* canvas, int x, int y, TBitmap* b) {
  if (b->Empty()) return;
  GdiTransparentBlt(canvas->GetHandle(), x, y, b->GetWidth(), b->GetHeight(), b->Canvas()->GetHandle(), 0, 0,
                    b->GetWidth(), b->GetHeight(), RGB(255, 0, 255));
}

// The frame keeps its own maximized state (the system's would ask a window manager).
bool IsMaximized(const TskTitleBar* bar) {
  auto* frame = dynamic_cast<TskForm*>(bar->GetParent());
  return frame && frame->Maximized();
}

// Some values may be held by one item of a collection only: another item that already holds it makes
// the setter say so and refuse.
template <class Item, class Holds>
bool RefuseSecond(const Item* self, Holds holds, const char* message) {
  TCollection* c = self->Collection();
  for (int i = 0; c && i < c->Count(); ++i) {
    auto* other = static_cast<const Item*>(c->Items(i));
    if (other != self && holds(other)) {
      ShowMessage(message);
      return true;
    }
  }
  return false;
}

}  // namespace

const char* SkFormResourceString(int id) {
  for (const TSkFormMessage& m : kSkFormMessages)
    if (m.Id == id) return m.Text;
  return "";
}

// ---- buttons ----

ORV_DEFINE_CLASS(TskTitleBarButton, TCollectionItem, nullptr,
                 {EnumProp<TskTitleBarButton, TskUIStyle>("UIStyle", UIStyleNames(), &TskTitleBarButton::GetUIStyle,
                                                          &TskTitleBarButton::SetUIStyle),
                  EnumProp<TskTitleBarButton, TskTitleBarBtnType>("ButtonType", ButtonTypeNames(),
                                                                  &TskTitleBarButton::GetButtonType,
                                                                  &TskTitleBarButton::SetButtonType),
                  BoolProp<TskTitleBarButton>("Transparent", &TskTitleBarButton::GetTransparent, &TskTitleBarButton::SetTransparent),
                  IntProp<TskTitleBarButton>("Top", &TskTitleBarButton::GetTop, &TskTitleBarButton::SetTop),
                  RefProp<TskTitleBarButton, TPopupMenu>("ControlBoxMenu", &TskTitleBarButton::GetControlBoxMenu,
                                                         &TskTitleBarButton::SetControlBoxMenu),
                  BoolProp<TskTitleBarButton>("Visible", &TskTitleBarButton::GetVisible, &TskTitleBarButton::SetVisible),
                  ObjProp<TskTitleBarButton, TPicture>("PicNormal", &TskTitleBarButton::GetPicNormal),
                  ObjProp<TskTitleBarButton, TPicture>("PicMouseOn", &TskTitleBarButton::GetPicMouseOn),
                  ObjProp<TskTitleBarButton, TPicture>("PicMouseDown", &TskTitleBarButton::GetPicMouseDown)})

TskTitleBarButton::TskTitleBarButton(TCollection* collection) : TCollectionItem(collection) {
  for (TPicture*& p : FPics) {
    p = new TPicture();
    p->OnChange = [this](TObject*) { Changed(false); };
  }
}

TskTitleBarButton::~TskTitleBarButton() {
  for (TPicture* p : FPics) delete p;
}

TskTitleBar* TskTitleBarButton::TitleBar() const {
  return Collection() ? dynamic_cast<TskTitleBar*>(Collection()->Owner()) : nullptr;
}

void TskTitleBarButton::SetUIStyle(TskUIStyle v) {
  FUIStyle = v;
  Changed(false);
}

void TskTitleBarButton::SetButtonType(TskTitleBarBtnType v) {
  if (v == skControlBox && RefuseSecond(this, [](const TskTitleBarButton* b) { return b->FButtonType == skControlBox; },
                                        "Only one button's ButtonType property can be skControlBox."))
    return;
  FButtonType = v;
  Changed(false);
}

void TskTitleBarButton::SetTransparent(bool v) {
  FTransparent = v;
  Changed(false);
}
void TskTitleBarButton::SetTop(int v) {
  FTop = v;
  Changed(false);
}
void TskTitleBarButton::SetControlBoxMenu(TPopupMenu* v) {
  FControlBoxMenu = v;
  if (TskTitleBar* bar = TitleBar())
    if (v) v->FreeNotification(bar);
}
void TskTitleBarButton::SetVisible(bool v) {
  FVisible = v;
  Changed(false);
}

void TskTitleBarButton::GetPicture(int state, bool maximized, TBitmap* bitmap) const {
  if (FPics[state]->HasGraphic()) {
    bitmap->Assign(FPics[state]->Graphic());
    return;
  }
  if (FPics[0]->HasGraphic()) {
    bitmap->Assign(FPics[0]->Graphic());
    return;
  }
  int first = FirstFrame(FButtonType, maximized);
  if (!first) return;  // a custom button without pictures draws nothing
  TskTitleBar* bar = TitleBar();
  StyleFrame(bar ? bar->GetFileTheme() : nullptr, FUIStyle, eTitleButtonImage, bitmap, first + state, kTitleFrames);
}

ORV_DEFINE_CLASS(TskTitleBarButtons, TCollection, nullptr, {})

TskTitleBarButtons::TskTitleBarButtons(TskTitleBar* bar)
    : TCollection(bar, [](TCollection* c) { return new TskTitleBarButton(c); }) {}

void TskTitleBarButtons::Update(TCollectionItem*) {
  if (auto* bar = dynamic_cast<TskTitleBar*>(Owner())) bar->Invalidate();
}

// ---- sections ----

ORV_DEFINE_CLASS(TskTitleBarSection, TCollectionItem, nullptr,
                 {BoolProp<TskTitleBarSection>("AutoSize", &TskTitleBarSection::GetAutoSize, &TskTitleBarSection::SetAutoSize),
                  IntProp<TskTitleBarSection>("Width", &TskTitleBarSection::GetWidth, &TskTitleBarSection::SetWidth),
                  EnumProp<TskTitleBarSection, TskTitleBarAlign>("Align", AlignNames(), &TskTitleBarSection::GetAlign,
                                                                 &TskTitleBarSection::SetAlign),
                  ObjProp<TskTitleBarSection, TPicture>("Picture", &TskTitleBarSection::GetPicture),
                  BoolProp<TskTitleBarSection>("Stretch", &TskTitleBarSection::GetStretch, &TskTitleBarSection::SetStretch)})

TskTitleBarSection::TskTitleBarSection(TCollection* collection) : TCollectionItem(collection), FPicture(new TPicture()) {
  FPicture->OnChange = [this](TObject*) { Changed(false); };
}

TskTitleBarSection::~TskTitleBarSection() { delete FPicture; }

void TskTitleBarSection::SetAutoSize(bool v) {
  FAutoSize = v;
  Changed(false);
}
void TskTitleBarSection::SetWidth(int v) {
  FWidth = v;
  Changed(false);
}
void TskTitleBarSection::SetStretch(bool v) {
  FStretch = v;
  Changed(false);
}

void TskTitleBarSection::SetAlign(TskTitleBarAlign v) {
  if (v == skClient && RefuseSecond(this, [](const TskTitleBarSection* s) { return s->FAlign == skClient; },
                                    "Only one section's Align property can be skClient."))
    return;
  FAlign = v;
  Changed(false);
}

int TskTitleBarSection::ShownWidth() const { return FAutoSize && FPicture->HasGraphic() ? FPicture->GetWidth() : FWidth; }

ORV_DEFINE_CLASS(TskTitleBarSections, TCollection, nullptr, {})

TskTitleBarSections::TskTitleBarSections(TskTitleBar* bar)
    : TCollection(bar, [](TCollection* c) { return new TskTitleBarSection(c); }) {}

void TskTitleBarSections::Update(TCollectionItem*) {
  if (auto* bar = dynamic_cast<TskTitleBar*>(Owner())) bar->Invalidate();
}

// ---- window menu ----

ORV_DEFINE_CLASS(TskTitleBarPopupMenu, TskPopupMenu, nullptr, {})

TskTitleBarPopupMenu::TskTitleBarPopupMenu(TComponent* owner) : TskPopupMenu(owner) {
  auto add = [this](const char* caption) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    Items()->Add(item);
    return item;
  };
  Minimize = add(SkFormResourceString(SSkMinimize));
  Maximize = add(SkFormResourceString(SSkMaximizeRestore));
  Line = add("-");
  Close = add(SkFormResourceString(SSkClose));
}

void TskTitleBarPopupMenu::UpdateItems(TskTitleBar* bar) {
  auto visible = [bar](TskTitleBarBtnType type) {
    for (int i = 0; i < bar->GetButtons()->Count(); ++i)
      if (bar->GetButtons()->Items(i)->GetButtonType() == type && bar->GetButtons()->Items(i)->GetVisible()) return true;
    return false;
  };
  Minimize->SetEnabled(visible(skMin));
  Maximize->SetEnabled(visible(skMax));
  Close->SetEnabled(visible(skClose));
}

// ---- title bar ----

ORV_DEFINE_CLASS(TskTitleBar, TCustomPanel, FactoryOf<TskTitleBar>(),
                 {BoolProp<TskTitleBar>("Custom", &TskTitleBar::GetCustom, &TskTitleBar::SetCustom),
                  RefProp<TskTitleBar, TskFileTheme>("FileTheme", &TskTitleBar::GetFileTheme, &TskTitleBar::SetFileTheme),
                  EnumProp<TskTitleBar, TskUIStyle>("UIStyle", UIStyleNames(), &TskTitleBar::GetUIStyle, &TskTitleBar::SetUIStyle),
                  ObjProp<TskTitleBar, TskTitleBarSections>("Sections", &TskTitleBar::GetSections),
                  ObjProp<TskTitleBar, TskTitleBarButtons>("Buttons", &TskTitleBar::GetButtons),
                  IntProp<TskTitleBar>("ButtonInterval", &TskTitleBar::GetButtonInterval, &TskTitleBar::SetButtonInterval),
                  BoolProp<TskTitleBar>("FormActive", &TskTitleBar::GetFormActive, &TskTitleBar::SetFormActive),
                  IntProp<TskTitleBar>("LeftBtnXOffset", &TskTitleBar::GetLeftBtnXOffset, &TskTitleBar::SetLeftBtnXOffset),
                  IntProp<TskTitleBar>("RightBtnXOffset", &TskTitleBar::GetRightBtnXOffset, &TskTitleBar::SetRightBtnXOffset),
                  BoolProp<TskTitleBar>("DrawAppIcon", &TskTitleBar::GetDrawAppIcon, &TskTitleBar::SetDrawAppIcon),
                  IntProp<TskTitleBar>("RoundCorner", &TskTitleBar::GetRoundCorner, &TskTitleBar::SetRoundCorner),
                  IntProp<TskTitleBar>("RoundCornerBottom", &TskTitleBar::GetRoundCornerBottom, &TskTitleBar::SetRoundCornerBottom),
                  EventProp("OnCustomBtnsClick", &TskTitleBar::OnCustomBtnsClick),
                  EventProp("OnHelpBtnClick", &TskTitleBar::OnHelpBtnClick)})

TskTitleBar::TskTitleBar(TComponent* owner)
    : TCustomPanel(owner), FButtons(new TskTitleBarButtons(this)), FSections(new TskTitleBarSections(this)),
      FWindowMenu(new TskTitleBarPopupMenu(nullptr)) {
  FBevelOuter = bvNone;
  GetFont()->SetName("Tahoma");
  GetFont()->SetStyle(1u << fsBold);
  GetFont()->SetColor(clWhite);
  FUIStyle = DefaultUIStyleFor(owner);
  SetHeight(2 * ButtonTop() + 18);
  for (TskTitleBarBtnType type : {skControlBox, skClose, skMax, skMin}) {
    TskTitleBarButton* b = FButtons->Add();
    b->SetButtonType(type);
    b->SetUIStyle(FUIStyle);
  }
  FWindowMenu->Minimize->OnClick = [this](TObject*) { for (int i = 0; i < FButtons->Count(); ++i) if (FButtons->Items(i)->GetButtonType() == skMin) return ButtonAction(i); };
  FWindowMenu->Maximize->OnClick = [this](TObject*) { ToggleMaximize(); };
  FWindowMenu->Close->OnClick = [this](TObject*) { if (TCustomForm* f = Form()) f->Close(); };
}

TskTitleBar::~TskTitleBar() {
  delete FWindowMenu;
  delete FButtons;
  delete FSections;
}

TCustomForm* TskTitleBar::Form() const {
  for (TWinControl* p = GetParent(); p; p = p->GetParent())
    if (auto* f = As<TCustomForm>(p)) return f;
  return nullptr;
}

void TskTitleBar::SetCustom(bool v) {
  FCustom = v;
  Invalidate();
}
void TskTitleBar::SetFileTheme(TskFileTheme* v) {
  FFileTheme = v;
  if (v) v->FreeNotification(this);
  FWindowMenu->SetFileTheme(v);
  Invalidate();
}
void TskTitleBar::SetUIStyle(TskUIStyle v) {
  FUIStyle = v;
  FButtons->BeginUpdate();
  for (int i = 0; i < FButtons->Count(); ++i) FButtons->Items(i)->SetUIStyle(v);
  FButtons->EndUpdate();
  FWindowMenu->SetUIStyle(v);
  GetFont()->SetColor(StyleColor(FFileTheme, v, eTitleFontColor));
  SetHeight(2 * ButtonTop() + 18);
  Invalidate();
}
void TskTitleBar::SetButtonInterval(int v) {
  FButtonInterval = v;
  Invalidate();
}
void TskTitleBar::SetFormActive(bool v) {
  if (FFormActive == v) return;
  FFormActive = v;
  Invalidate();
}
void TskTitleBar::SetLeftBtnXOffset(int v) {
  FLeftBtnXOffset = v;
  Invalidate();
}
void TskTitleBar::SetRightBtnXOffset(int v) {
  FRightBtnXOffset = v;
  Invalidate();
}
void TskTitleBar::SetDrawAppIcon(bool v) {
  FDrawAppIcon = v;
  Invalidate();
}

void TskTitleBar::Notification(TComponent* c, TOperation op) {
  TCustomPanel::Notification(c, op);
  if (op != opRemove) return;
  if (c == FFileTheme) FFileTheme = nullptr;
  for (int i = 0; i < FButtons->Count(); ++i)
    if (FButtons->Items(i)->GetControlBoxMenu() == c) FButtons->Items(i)->SetControlBoxMenu(nullptr);
}

int TskTitleBar::ButtonTop() const { return std::max(0, StyleInt(FFileTheme, FUIStyle, eTitleButtonTop)); }

void TskTitleBar::StyleBitmap(int entry, TBitmap* bitmap) const {
  TskUIStyle s;
  if (UseFileTheme(FFileTheme, FUIStyle, s))
    FFileTheme->GetBitmap(entry, bitmap);
  else
    GetBuiltInThemeBitmap(s, entry, bitmap);
}

RECT TskTitleBar::ButtonRect(int index) const {
  bool maximized = IsMaximized(this);
  int right = GetWidth() - FRightBtnXOffset;
  int top = ButtonTop();
  for (int i = 0; i < FButtons->Count(); ++i) {
    TskTitleBarButton* b = FButtons->Items(i);
    if (!b->GetVisible()) {
      if (i == index) return RECT{0, 0, 0, 0};
      continue;
    }
    TBitmap pic;
    b->GetPicture(0, maximized, &pic);
    int w = pic.GetWidth(), h = pic.GetHeight();
    if (b->GetButtonType() == skControlBox) {
      if (i == index) return RECT{FLeftBtnXOffset, top, FLeftBtnXOffset + w, top + h};
      continue;
    }
    RECT r{right - w, top, right, top + h};
    right = r.left - FButtonInterval;
    if (i == index) return r;
  }
  return RECT{0, 0, 0, 0};
}

int TskTitleBar::ButtonAt(int x, int y) const {
  for (int i = 0; i < FButtons->Count(); ++i) {
    RECT r = ButtonRect(i);
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
  }
  return -1;
}

void TskTitleBar::Paint() {
  TCanvas* c = Canvas();
  RECT client = GetClientRect();
  TBitmap off;
  off.SetPixelFormat(pf24bit);
  off.SetSize(client.right, client.bottom);
  TCanvas* oc = off.Canvas();
  // Left, stretched client and right pictures of the style.
  TBitmap left, middle, right;
  StyleBitmap(eTitleLeft, &left);
  StyleBitmap(eTitleClient, &middle);
  StyleBitmap(eTitleRight, &right);
  oc->Brush()->SetColor(StyleColor(FFileTheme, FUIStyle, eFormBorderColor));
  oc->FillRect(client);
  oc->StretchDraw(RECT{left.GetWidth(), 0, client.right - right.GetWidth(), client.bottom}, &middle);
  DrawKeyed(oc, 0, 0, &left);
  DrawKeyed(oc, client.right - right.GetWidth(), 0, &right);
  // Sections: left ones from the left, right ones from the right, the client one between them.
  int l = left.GetWidth(), r = client.right - right.GetWidth();
  const TskTitleBarSection* clientSection = nullptr;
  for (int i = 0; i < FSections->Count(); ++i) {
    TskTitleBarSection* s = FSections->Items(i);
    if (s->GetAlign() == skClient) {
      clientSection = s;
      continue;
    }
    int w = s->ShownWidth();
    RECT at = s->GetAlign() == skLeft ? RECT{l, 0, l + w, client.bottom} : RECT{r - w, 0, r, client.bottom};
    if (s->GetAlign() == skLeft) l += w; else r -= w;
    if (s->GetPicture()->HasGraphic()) {
      if (s->GetStretch()) oc->StretchDraw(at, s->GetPicture()->Graphic()); else oc->Draw(at.left, 0, s->GetPicture()->Graphic());
    }
  }
  if (clientSection && clientSection->GetPicture()->HasGraphic())
    oc->StretchDraw(RECT{l, 0, r, client.bottom}, clientSection->GetPicture()->Graphic());
  // Buttons, then the icon and the caption in what is left.
  bool maximized = IsMaximized(this);
  int textLeft = 6, textRight = client.right - 6;
  for (int i = 0; i < FButtons->Count(); ++i) {
    TskTitleBarButton* b = FButtons->Items(i);
    RECT br = ButtonRect(i);
    if (br.right <= br.left) continue;
    TBitmap pic;
    b->GetPicture(i == FPressed && i == FHot ? 2 : i == FHot ? 1 : 0, maximized, &pic);
    DrawKeyed(oc, br.left, br.top, &pic);
    if (b->GetButtonType() == skControlBox)
      textLeft = std::max(textLeft, int(br.right + 4));
    else
      textRight = std::min(textRight, int(br.left - 4));
  }
  if (FDrawAppIcon) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    int top = (client.bottom - 16) / 2;
    DrawIconEx(oc->GetHandle(), textLeft, top, icon, 16, 16, 0, nullptr, DI_NORMAL);
    textLeft += 20;
  }
  oc->Font()->Assign(GetFont());
  if (!FFormActive) oc->Font()->SetColor(clInactiveCaptionText);
  oc->Brush()->SetStyle(bsClear);
  RECT text{textLeft, 0, textRight, client.bottom};
  oc->DrawText(GetCaption(), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  c->Draw(0, 0, &off);
}

void TskTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomPanel::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FPressed = ButtonAt(x, y);
  if (FPressed >= 0) {
    Invalidate();
    return;
  }
  TCustomForm* f = Form();
  if (f && f->HandleAllocated() && !IsMaximized(this) && !(shift & ssDouble)) {
    ReleaseCapture();
    SendMessageA(f->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
}

void TskTitleBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomPanel::MouseMove(shift, x, y);
  int hot = ButtonAt(x, y);
  if (hot != FHot) {
    FHot = hot;
    Invalidate();
  }
}

void TskTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomPanel::MouseUp(button, shift, x, y);
  int pressed = FPressed;
  FPressed = -1;
  Invalidate();
  if (button == mbLeft && pressed >= 0 && ButtonAt(x, y) == pressed) ButtonAction(pressed);
}

void TskTitleBar::DblClick() {
  TCustomPanel::DblClick();
  POINT p;
  GetCursorPos(&p);
  p = ScreenToClient(p);
  int i = ButtonAt(p.x, p.y);
  if (i >= 0 && FButtons->Items(i)->GetButtonType() == skControlBox) {
    if (TCustomForm* f = Form()) f->Close();
  } else if (i < 0) {
    ToggleMaximize();
  }
}

void TskTitleBar::ToggleMaximize() {
  if (auto* frame = dynamic_cast<TskForm*>(GetParent())) frame->SetMaximized(!frame->Maximized());
  Invalidate();
}

void TskTitleBar::ButtonAction(int index) {
  TskTitleBarButton* b = FButtons->Items(index);
  TCustomForm* f = Form();
  switch (b->GetButtonType()) {
    case skMax:
      ToggleMaximize();
      break;
    case skMin:
      if (f && f == Application->MainForm())
        SendMessageA(f->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
      else if (f)
        f->SetWindowState(wsMinimized);
      break;
    case skClose:
      if (f) f->Close();
      break;
    case skControlBox: {
      POINT p = ClientToScreen(POINT{0, GetHeight()});
      if (b->GetControlBoxMenu()) {
        b->GetControlBoxMenu()->Popup(p.x, p.y);
      } else {
        FWindowMenu->UpdateItems(this);
        FWindowMenu->Popup(p.x, p.y);
      }
      break;
    }
    case skHelp:
      if (OnHelpBtnClick) OnHelpBtnClick(this, index);
      break;
    case skCustom:
      if (OnCustomBtnsClick) OnCustomBtnsClick(this, index);
      break;
  }
}

// ---- menu bar ----

ORV_DEFINE_CLASS(TskMenuBar, TCustomControl, FactoryOf<TskMenuBar>(), {})

TskMenuBar::TskMenuBar(TComponent* owner) : TCustomControl(owner) { SetHeight(RowHeight); }

void TskMenuBar::SetMenu(TMainMenu* m) {
  FMenu = m;
  SetVisible(m != nullptr);
  Invalidate();
}

std::vector<TMenuItem*> TskMenuBar::VisibleItems() const {
  std::vector<TMenuItem*> items;
  if (FMenu)
    for (int i = 0; i < FMenu->Items()->Count(); ++i)
      if (FMenu->Items()->Items(i)->ShownVisible()) items.push_back(FMenu->Items()->Items(i));
  return items;
}

std::vector<RECT> TskMenuBar::ItemRects() {
  std::vector<RECT> rects;
  Canvas()->Font()->Assign(Screen->MenuFont());
  int x = 2, y = 0, width = std::max(1, GetWidth());
  for (TMenuItem* item : VisibleItems()) {
    int w = Canvas()->TextWidth(item->ShownCaption()) + 14;
    if (x + w > width && x > 2) {  // the bar wraps
      x = 2;
      y += RowHeight;
    }
    rects.push_back(RECT{x, y, x + w, y + RowHeight});
    x += w;
  }
  return rects;
}

int TskMenuBar::ItemAt(int x, int y) {
  std::vector<RECT> rects = ItemRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (x >= rects[i].left && x < rects[i].right && y >= rects[i].top && y < rects[i].bottom) return int(i);
  return -1;
}

int TskMenuBar::AcceleratorItem(char ch) const {
  std::vector<TMenuItem*> items = VisibleItems();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i]->ShownEnabled() && IsAccelerator(ch, items[i]->ShownCaption())) return int(i);
  return -1;
}

void TskMenuBar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(BarColor);
  c->FillRect(GetClientRect());
  std::vector<RECT> rects = ItemRects();
  std::vector<TMenuItem*> items = VisibleItems();
  c->Brush()->SetStyle(bsClear);
  for (size_t i = 0; i < items.size(); ++i) {
    c->Font()->SetColor(items[i]->ShownEnabled() ? clMenuText : clGrayText);
    RECT r = rects[i];
    c->DrawText(items[i]->ShownCaption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  c->Brush()->SetStyle(bsSolid);
}

void TskMenuBar::ClickItem(int index) {
  std::vector<TMenuItem*> items = VisibleItems();
  if (index < 0 || index >= int(items.size()) || !items[index]->ShownEnabled()) return;
  TMenuItem* item = items[index];
  if (item->Count() == 0) {
    item->Click();
    return;
  }
  RECT r = ItemRects()[size_t(index)];
  POINT p = ClientToScreen(POINT{r.left, r.bottom});
  TCustomForm* form = nullptr;
  for (TWinControl* w = GetParent(); w && !form; w = w->GetParent()) form = As<TCustomForm>(w);
  HWND owner = form && form->HandleAllocated() ? form->Handle() : Handle();
  // The chosen command reaches the form as WM_COMMAND and from there its item.
  TrackPopupMenu(item->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, 0, owner, nullptr);
}

void TskMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == mbLeft) ClickItem(ItemAt(x, y));
}

// ---- the frame ----

ORV_DEFINE_CLASS(TskForm, TCustomPanel, FactoryOf<TskForm>(),
                 {BoolProp<TskForm>("TitleBarCustom", &TskForm::GetTitleBarCustom, &TskForm::SetTitleBarCustom),
                  RefProp<TskForm, TskFileTheme>("FileTheme", &TskForm::GetFileTheme, &TskForm::SetFileTheme),
                  EnumProp<TskForm, TskUIStyle>("UIStyle", UIStyleNames(), &TskForm::GetUIStyle, &TskForm::SetUIStyle),
                  BoolProp<TskForm>("UIStyleAutoUpdateSub", &TskForm::GetUIStyleAutoUpdateSub, &TskForm::SetUIStyleAutoUpdateSub),
                  IntProp<TskForm>("BorderColor", &TskForm::GetBorderColor, &TskForm::SetBorderColor, &ColorIdents()),
                  IntProp<TskForm>("BorderWidth", &TskForm::GetFrameWidth, &TskForm::SetFrameWidth),
                  BoolProp<TskForm>("TitleBarVisible", &TskForm::GetTitleBarVisible, &TskForm::SetTitleBarVisible),
                  StrProp<TskForm>("Caption", &TskForm::GetCaption, &TskForm::SetCaption),
                  RefProp<TskForm, TWinControl>("FormPanel", &TskForm::GetFormPanel, &TskForm::SetFormPanel),
                  ObjProp<TskForm, TskTitleBarButtons>("TitleBarButtons", &TskForm::GetTitleBarButtons),
                  ObjProp<TskForm, TskTitleBarSections>("TitleBarSections", &TskForm::GetTitleBarSections),
                  BoolProp<TskForm>("TitleBarDrawAppIcon", &TskForm::GetTitleBarDrawAppIcon, &TskForm::SetTitleBarDrawAppIcon),
                  RefProp<TskForm, TMainMenu>("Menu", &TskForm::GetMenu, &TskForm::SetMenu),
                  IntProp<TskForm>("MenuBarColor", &TskForm::GetMenuBarColor, &TskForm::SetMenuBarColor, &ColorIdents()),
                  IntProp<TskForm>("MenuBarHeight", &TskForm::GetMenuBarHeight, &TskForm::SetMenuBarHeight),
                  IntProp<TskForm>("RoundCorner", &TskForm::GetRoundCorner, &TskForm::SetRoundCorner),
                  IntProp<TskForm>("RoundCornerBottom", &TskForm::GetRoundCornerBottom, &TskForm::SetRoundCornerBottom),
                  StrProp<TskForm>("Version", &TskForm::GetVersion, &TskForm::SetVersion),
                  EventProp("OnTitleBarCustomBtnsClick", &TskForm::OnTitleBarCustomBtnsClick),
                  EventProp("OnTitleBarHelpBtnClick", &TskForm::OnTitleBarHelpBtnClick)})

TskForm::TskForm(TComponent* owner) : TCustomPanel(owner) {
  FBevelOuter = bvNone;
  FTitleBar = new TskTitleBar(nullptr);
  FTitleBar->SetParent(this);
  FTitleBar->SetAlign(alTop);
  FTitleBar->OnCustomBtnsClick = [this](TObject*, int i) { if (OnTitleBarCustomBtnsClick) OnTitleBarCustomBtnsClick(this, i); };
  FTitleBar->OnHelpBtnClick = [this](TObject*, int i) { if (OnTitleBarHelpBtnClick) OnTitleBarHelpBtnClick(this, i); };
  FMenuBar = new TskMenuBar(nullptr);
  FMenuBar->SetParent(this);
  FMenuBar->SetAlign(alTop);
  FMenuBar->SetVisible(false);
  SetUIStyle(DeepBlue);
  if (auto* f = As<TCustomForm>(owner)) FTitleBar->SetCaption(f->GetCaption());
}

TskForm::~TskForm() {
  Detach();
  if (auto* sk = dynamic_cast<TskMainMenu*>(FMenuBar->Menu())) sk->OnChange = nullptr;
  delete FMenuBar;
  delete FTitleBar;
}

void TskForm::SetParent(TWinControl* parent) {
  TCustomPanel::SetParent(parent);
  if (!IsLoading()) Attach();
}

void TskForm::Loaded() {
  TCustomPanel::Loaded();
  Attach();
}

void TskForm::Attach() {
  auto* form = As<TCustomForm>(GetParent());
  if (FForm || !form || form != Owner()) return;
  for (TControl* c : form->ControlList())
    if (auto* other = As<TskForm>(c))
      if (other != this && other->Attached()) return;  // a second frame stays inert
  FForm = form;
  TFormBorderStyle bs = form->GetBorderStyle();
  if (bs == bsNone || bs == bsSingle || bs == bsToolWindow) form->SetBorderStyle(bsDialog);
  // The frame draws every border itself, and the layout's sizes are the frame's own.
  form->SetBorderWidth(0);
  form->SetScaled(false);
  SetAlign(alClient);
  FTitleBar->SetCaption(form->GetCaption());
  FPreviousWndProc = form->WindowProc;
  form->WindowProc = [this](TMessage& m) { FormWndProc(m); };
  FKeyHook = Application->HookMessages([this](MSG& msg) { return HandleKeyMessage(msg); });
  if (form->HandleAllocated()) {
    StripCaption();
    FrameChanged(form->Handle());
  }
}

void TskForm::Detach() {
  if (!FForm) return;
  Application->UnhookMessages(FKeyHook);
  FKeyHook = 0;
  FForm->WindowProc = FPreviousWndProc;
  FForm = nullptr;
}

bool TskForm::HandleKeyMessage(const MSG& msg) {
  bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (!FForm || !FForm->HandleAllocated() || (!keyDown && msg.message != WM_SYSCHAR)) return false;
  // Only the keys of this form while it is active (the focus window is one of its windows).
  if (!IsWindowEnabled(FForm->Handle()) || GetAncestor(msg.hwnd, GA_ROOT) != FForm->Handle()) return false;
  TMainMenu* menu = FMenuBar->Menu();
  if (msg.message == WM_SYSCHAR) {
    // Alt with a letter that no short cut took: the accelerators of the form's controls come first,
    // as they would before a menu bar of the system's.
    int index = menu ? FMenuBar->AcceleratorItem(char(msg.wParam)) : -1;
    if (index < 0) return false;
    if (FForm->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) == 0) FMenuBar->ClickItem(index);
    return true;
  }
  int sc = ShortCutOfKeyMessage(msg);
  if (sc == (scAlt | VK_SPACE)) {
    ShowWindowMenu();
    return true;
  }
  return menu && menu->IsShortCut(sc);
}

void TskForm::ShowWindowMenu() {
  POINT p = FTitleBar->ClientToScreen(POINT{0, FTitleBar->GetHeight()});
  FTitleBar->WindowMenu()->UpdateItems(FTitleBar);
  FTitleBar->WindowMenu()->Popup(p.x, p.y);
}

void TskForm::StripCaption() {
  HWND h = FForm->Handle();
  LONG style = GetWindowLongA(h, GWL_STYLE);
  if (!(style & WS_CAPTION) || (style & WS_CHILD)) return;
  // Keep the frame (a thin border) but not the caption strip.
  SetWindowLongA(h, GWL_STYLE, (style & ~WS_CAPTION) | WS_BORDER);
  FrameChanged(h);
}

void TskForm::FormWndProc(TMessage& m) {
  TCustomForm* form = FForm;
  switch (m.Msg) {
    case WM_CREATE:
    case WM_STYLECHANGED:
      FPreviousWndProc(m);
      if (FForm && (GetWindowLongA(form->Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION) StripCaption();
      return;
    case WM_SHOWWINDOW:
      StripCaption();
      break;
    case SK_SIDEBORDERWIDTH:
      m.Result = SideBorderWidth();
      return;
    case WM_NCCALCSIZE: {
      FPreviousWndProc(m);
      // Room for the border pictures inside the frame: both sides and the bottom.
      RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0];  // also the plain RECT form
      int side = SideBorderWidth();
      client.left += side;
      client.right = std::max(client.left, LONG(client.right - side));
      client.bottom = std::max(client.top, LONG(client.bottom - BottomBorderHeight()));
      return;
    }
    case WM_NCPAINT:
      if (!IsIconic(form->Handle())) {
        PaintFrame();
        m.Result = 0;
        return;
      }
      break;
    case WM_NCACTIVATE:
      FTitleBar->SetFormActive(m.WParam != 0);
      if (!IsIconic(form->Handle())) {
        PaintFrame();
        m.Result = TRUE;
        return;
      }
      break;
    case WM_GETMINMAXINFO: {
      FPreviousWndProc(m);
      auto* mm = reinterpret_cast<MINMAXINFO*>(m.LParam);
      mm->ptMinTrackSize.x = std::max<LONG>(mm->ptMinTrackSize.x, 125);
      mm->ptMinTrackSize.y = std::max<LONG>(mm->ptMinTrackSize.y, 50);
      // Maximized: the work area, 4 pixels wider on the left, top and right, one less at the bottom.
      RECT area;
      GetWorkArea(area);
      mm->ptMaxPosition = POINT{area.left - 4, area.top - 4};
      mm->ptMaxSize = POINT{area.right - area.left + 8, area.bottom - area.top + 3};
      mm->ptMaxTrackSize = POINT{std::max(mm->ptMaxTrackSize.x, mm->ptMaxSize.x), std::max(mm->ptMaxTrackSize.y, mm->ptMaxSize.y)};
      return;
    }
    case WM_SIZE:
      FPreviousWndProc(m);
      if (m.WParam == SIZE_MINIMIZED) return;
      UpdateRegion();
      FTitleBar->Invalidate();
      return;
    case WM_SETTEXT:
      FPreviousWndProc(m);
      FTitleBar->SetCaption(form->GetCaption());
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == ' ') {
        // Alt+Space: the title bar's window menu under the title bar.
        ShowWindowMenu();
        m.Result = 0;
        return;
      }
      break;
  }
  FPreviousWndProc(m);
}

void TskForm::PaintFrame() {
  HWND h = FForm->Handle();
  RECT wr, cr = ClientRectInWindow(h);
  GetWindowRect(h, &wr);
  OffsetRect(&wr, -wr.left, -wr.top);
  HDC dc = GetWindowDC(h);
  ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
  // The frame's outer BorderWidth pixels in BorderColor, the rest in the frame's own colour.
  FillSolidRect(dc, wr, GetColor());
  HBRUSH border = CreateSolidBrush(ColorToRGB(FBorderColor));
  RECT r = wr;
  for (int i = 0; i < FFrameWidth; ++i) {
    FrameRect(dc, &r, border);
    InflateRect(&r, -1, -1);
  }
  DeleteObject(border);
  // The border pictures hug the client area: the sides from its top down to the bottom picture's lower
  // edge, the bottom picture between them; each stretched along its side.
  int side = SideBorderWidth(), bottom = BottomBorderHeight();
  TCanvas canvas;
  canvas.SetHandle(dc);
  if (side > 0) {
    canvas.StretchDraw(RECT{cr.left - side, cr.top, cr.left, cr.bottom + bottom}, FLeftBorder.get());
    canvas.StretchDraw(RECT{cr.right, cr.top, cr.right + side, cr.bottom + bottom}, FRightBorder.get());
  }
  if (bottom > 0) canvas.StretchDraw(RECT{cr.left, cr.bottom, cr.right, cr.bottom + bottom}, FBottomBorder.get());
  canvas.SetHandle(nullptr);
  ReleaseDC(h, dc);
}

void TskForm::LoadBorderPictures() {
  FLeftBorder.reset();
  FRightBorder.reset();
  FBottomBorder.reset();
  TskUIStyle s;
  if (!UseFileTheme(FFileTheme, FUIStyle, s)) return;  // the built-in styles have none
  auto load = [this](int entry) {
    std::unique_ptr<TBitmap> b(new TBitmap);
    FFileTheme->GetBitmap(entry, b.get());
    if (b->Empty()) b.reset();
    return b;
  };
  FLeftBorder = load(eFormLeftBorder);
  FBottomBorder = load(eFormBottomBorder);
  if (FLeftBorder) {
    FRightBorder.reset(new TBitmap);
    FRightBorder->Assign(FLeftBorder.get());
    RotateBitmap180(FRightBorder.get());
  }
}

void TskForm::SetMaximized(bool v) {
  if (!FForm || !FForm->HandleAllocated() || v == FMaximized) return;
  if (v) {
    GetWindowRect(FForm->Handle(), &FNormalBounds);
    FMaximized = true;
    RECT area;
    GetWorkArea(area);
    SetWindowPos(FForm->Handle(), nullptr, area.left - 4, area.top - 4, area.right - area.left + 8,
                 area.bottom - area.top + 3, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FMaximized = false;
    const RECT& r = FNormalBounds;
    SetWindowPos(FForm->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FTitleBar->Invalidate();
}

void TskForm::UpdateRegion() {
  if (!FForm || !FForm->HandleAllocated()) return;
  RECT wr;
  GetWindowRect(FForm->Handle(), &wr);
  int w = wr.right - wr.left, hgt = wr.bottom - wr.top;
  if (FRoundCorner <= 0 && FRoundCornerBottom <= 0) {
    SetWindowRgn(FForm->Handle(), nullptr, TRUE);
    return;
  }
  HRGN upper = CreateRoundRectRgn(0, 0, w + 1, hgt / 2 + FRoundCorner + 1, FRoundCorner, FRoundCorner);
  HRGN lower = CreateRoundRectRgn(0, hgt / 2 - FRoundCornerBottom, w + 1, hgt + 1, FRoundCornerBottom, FRoundCornerBottom);
  // The halves overlap by a corner's height so that no seam is cut between them.
  HRGN upperHalf = CreateRectRgn(0, 0, w, hgt / 2);
  HRGN lowerHalf = CreateRectRgn(0, hgt / 2, w, hgt);
  CombineRgn(upper, upper, upperHalf, RGN_AND);
  CombineRgn(lower, lower, lowerHalf, RGN_AND);
  CombineRgn(upper, upper, lower, RGN_OR);
  DeleteObject(lower);
  DeleteObject(upperHalf);
  DeleteObject(lowerHalf);
  SetWindowRgn(FForm->Handle(), upper, TRUE);  // the window owns the region now
}

void TskForm::Notification(TComponent* c, TOperation op) {
  TCustomPanel::Notification(c, op);
  if (op != opRemove) return;
  if (c == FFileTheme) SetFileTheme(nullptr);
  if (c == FFormPanel) FFormPanel = nullptr;
  if (c == FMenuBar->Menu()) FMenuBar->SetMenu(nullptr);
}

void TskForm::SetFileTheme(TskFileTheme* v) {
  FFileTheme = v;
  if (v) v->FreeNotification(this);
  SetUIStyle(FUIStyle);
}

void TskForm::SetUIStyle(TskUIStyle v) {
  FUIStyle = v;
  int side = SideBorderWidth(), bottom = BottomBorderHeight();
  LoadBorderPictures();
  bool frameChanged = side != SideBorderWidth() || bottom != BottomBorderHeight();
  FTitleBar->SetFileTheme(FFileTheme);
  FTitleBar->SetUIStyle(v);
  FBorderColor = StyleColor(FFileTheme, v, eFormBorderColor);
  FFrameWidth = std::max(0, StyleInt(FFileTheme, v, eFormBorderWidth));
  FRoundCorner = std::max(0, StyleInt(FFileTheme, v, eFormRoundCorner));
  SetColor(StyleColor(FFileTheme, v, eFormBackground));
  FMenuBar->BarColor = StyleColor(FFileTheme, v, eMenuBarColor);
  if (auto* menu = dynamic_cast<TskMenuLook*>(FMenuBar->Menu())) {
    menu->SetFileTheme(FFileTheme);
    menu->SetUIStyle(v);
  }
  if (FAutoUpdateSub && FForm) ApplyUIStyleToChildren(FForm, v, FFileTheme);
  UpdateRegion();
  if (FForm && FForm->HandleAllocated()) {
    if (frameChanged) FrameChanged(FForm->Handle());  // the client area follows the pictures' sizes
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void TskForm::SetBorderColor(TColor v) {
  FBorderColor = v;
  if (FForm && FForm->HandleAllocated()) RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TskForm::SetFrameWidth(int v) {
  FFrameWidth = std::max(0, v);
  if (FForm && FForm->HandleAllocated()) RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

std::string TskForm::GetCaption() const { return FTitleBar->GetCaption(); }

void TskForm::SetCaption(const std::string& v) {
  FTitleBar->SetCaption(v);
  FTitleBar->Invalidate();
}

void TskForm::SetFormPanel(TWinControl* v) {
  if (v == this) {
    ShowMessage("Sorry, you can't select the Form assign to FormPanel property");
    return;
  }
  FFormPanel = v;
  if (v) v->FreeNotification(this);
}

void TskForm::SetMenu(TMainMenu* m) {
  if (auto* old = dynamic_cast<TskMainMenu*>(FMenuBar->Menu())) old->OnChange = nullptr;
  if (m) m->FreeNotification(this);
  FMenuBar->SetMenu(m);
  if (auto* sk = dynamic_cast<TskMainMenu*>(m)) {
    sk->OnChange = [this](TObject*) { FMenuBar->Invalidate(); };
    sk->SetFileTheme(FFileTheme);
    sk->SetUIStyle(FUIStyle);
  }
}

void TskForm::SetMenuBarColor(TColor v) {
  FMenuBar->BarColor = v;
  FMenuBar->Invalidate();
}

void TskForm::SetMenuBarHeight(int v) {
  FMenuBar->RowHeight = v;
  FMenuBar->SetHeight(v);
}

void TskForm::SetRoundCorner(int v) {
  FRoundCorner = std::max(0, v);
  UpdateRegion();
}

void TskForm::SetRoundCornerBottom(int v) {
  FRoundCornerBottom = std::max(0, v);
  UpdateRegion();
}
