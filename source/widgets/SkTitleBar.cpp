#include "SkTitleBar.h"

#include <algorithm>

#include "Prompter.h"
#include "SkThemeMgr.h"

namespace {

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

// Draws a bitmap with its magenta pixels left out.
void DrawKeyed(TCanvas* canvas, int x, int y, TBitmap* b) {
  if (b->Empty()) return;
  GdiTransparentBlt(canvas->GetHandle(), x, y, b->GetWidth(), b->GetHeight(), b->Canvas()->GetHandle(), 0, 0,
                    b->GetWidth(), b->GetHeight(), RGB(255, 0, 255));
}

// The frame keeps its own maximized state (the system's would ask a window manager).
bool IsMaximized(const TskTitleBar* bar) {
  auto* frame = dynamic_cast<IskTitleBarHost*>(bar->GetParent());
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
  off.SetSize(client.right, client.bottom, pf24bit);
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
  if (auto* frame = dynamic_cast<IskTitleBarHost*>(GetParent())) frame->SetMaximized(!frame->Maximized());
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
