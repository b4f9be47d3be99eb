#include "SkinnerMediaPlayer.h"

#include <cctype>

#include "SkinImageUtils.h"
#include "SkinnerData.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TWMediaPlayer, TCustomPanel, nullptr, {})
ORV_DEFINE_CLASS(TSkinMP, TSkinControl, nullptr, {})

namespace {

const char* const ButtonIdents[MediaButtonCount] = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                    "btStep", "btBack",  "btRecord", "btEject"};
const char* const GlyphNames[MediaButtonCount] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                  "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
const char* const SetPrefixes[3] = {"EN", "DI", "CL"};  // in the order of TMediaGlyphSet

// The members of a set property's text ("[btPlay, btStop]"), each looked up as a whole word.
void ReadMembers(TObject* player, const char* property, bool (&members)[MediaButtonCount]) {
  const std::string text = GetEnumPropText(player, property);
  for (int i = 0; i < MediaButtonCount; ++i) members[i] = false;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && !std::isalnum(static_cast<unsigned char>(text[at]))) ++at;
    size_t end = at;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
    const std::string word = text.substr(at, end - at);
    for (int i = 0; i < MediaButtonCount; ++i)
      if (SameText(word, ButtonIdents[i])) members[i] = true;
    at = end;
  }
}

}  // namespace

// ---- the panel ----

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomPanel(owner) {
  for (int b = 0; b < MediaButtonCount; ++b)
    for (int s = 0; s < 3; ++s) {
      Glyphs[b][s] = new TBitmap;
      try {
        Glyphs[b][s]->LoadFromResourceName(Format("%s_%s", {SetPrefixes[s], GlyphNames[b]}));
      } catch (const Exception&) {
        // A missing picture leaves that glyph blank.
      }
    }
  SetBevelOuter(bvNone);
}

TWMediaPlayer::~TWMediaPlayer() {
  for (auto& sets : Glyphs)
    for (TBitmap* b : sets) delete b;
}

void TWMediaPlayer::AttachPanel(TSkinMP* skinner, TControl* player) {
  Skinner = skinner;
  Player = player;
  SkinData = skinner->SkinData;
  // The panel itself is never skinned.
  SetTag(SkinData->GetDisableTag());
  PlacePanel(player);
  SetParent(player->GetParent());
  BringToFront();
}

void TWMediaPlayer::PlacePanel(TControl* player) {
  SetBounds(player->GetLeft(), player->GetTop(), player->GetWidth(), player->GetHeight());
}

void TWMediaPlayer::ReadButtons() {
  ReadMembers(Player, "VisibleButtons", ButtonVisible);
  ReadMembers(Player, "EnabledButtons", ButtonEnabled);
  ReadMembers(Player, "ColoredButtons", ButtonColoured);
  VisibleCount = 0;
  for (bool v : ButtonVisible) VisibleCount += v;
  ButtonWidth = VisibleCount ? GetClientWidth() / VisibleCount : 0;
}

int TWMediaPlayer::ButtonAt(int x) {
  ReadButtons();
  int offset = 0;
  for (int b = 0; b < MediaButtonCount; ++b) {
    if (!ButtonVisible[b]) continue;
    if (x >= offset && x <= offset + ButtonWidth) return b;
    offset += ButtonWidth;
  }
  return NoMediaButton;
}

int TWMediaPlayer::ButtonFrame(int button) const {
  if (!ButtonEnabled[button]) return 3;
  return Pressed && button == DownButton ? 2 : 1;
}

TMediaGlyphSet TWMediaPlayer::GlyphSet(int button) const {
  if (!ButtonEnabled[button]) return mgDisabled;
  return ButtonColoured[button] ? mgColoured : mgEnabled;
}

void TWMediaPlayer::Paint() {
  if (!SkinData || !Player) return;
  ReadButtons();
  const int w = GetClientWidth(), h = GetClientHeight();
  HDC target = Canvas()->GetHandle();
  if (VisibleCount == 0) {
    FillRectColor(target, RECT{0, 0, w, h}, SkinData->ButtonFace);
    return;
  }
  TBitmap work;
  work.SetSize(w, h, pf24bit);
  HDC dc = work.Canvas()->GetHandle();
  FillRectColor(dc, RECT{0, 0, w, h}, SkinData->ButtonFace);
  const TDataSkinButton* element = SkinData->Buttons;
  int offset = 0;
  for (int b = 0; b < MediaButtonCount; ++b) {
    if (!ButtonVisible[b]) continue;
    const RECT r{offset, 0, offset + ButtonWidth, h};
    offset += ButtonWidth;
    const int frame = ButtonFrame(b);
    if (element && !element->Bitmap->Empty())
      DrawSkinImage(dc, r, element->Bitmap, false, element->Tile, element->Trans == 1, 5, frame, element->Margins);
    TBitmap* glyph = Glyphs[b][GlyphSet(b)];
    if (glyph->Empty()) continue;
    const int gw = glyph->GetWidth(), gh = glyph->GetHeight();
    const int shift = frame == 2 ? 1 : 0;
    TransparentBlt(dc, r.left + (ButtonWidth - gw) / 2 + shift, (h - gh) / 2 + shift, gw, gh,
                   glyph->Canvas()->GetHandle(), 0, 0, gw, gh, ColorToRGB(MediaGlyphTransparent));
  }
  BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      Pressed = true;
      TCustomPanel::WndProc(m);
      if (Player) Player->Perform(WM_LBUTTONDOWN, m.WParam, m.LParam);
      // Neither the panel nor the player keeps the mouse: the release comes to whatever is under it.
      ReleaseCapture();
      HitButton = ButtonAt(short(LOWORD(m.LParam)));
      DownButton = HitButton;
      Invalidate();
      return;
    }
    case WM_LBUTTONUP: {
      Pressed = false;
      TCustomPanel::WndProc(m);
      HitButton = ButtonAt(short(LOWORD(m.LParam)));
      // A release over another button than the pressed one is no click of the player's.
      if (HitButton == DownButton && Player) Player->Perform(WM_LBUTTONUP, m.WParam, m.LParam);
      DownButton = HitButton;
      Invalidate();
      return;
    }
    case CM_MOUSELEAVE:
      // The release may come outside, where nothing sees it: the held look ends with the mouse leaving.
      // The pressed button is kept, so a release back over it still reaches the player.
      if (Pressed) {
        Pressed = false;
        Invalidate();
      }
      break;
    case WM_ERASEBKGND:
      // Paint covers everything.
      m.Result = 1;
      return;
  }
  TCustomPanel::WndProc(m);
}

// ---- the skinner ----

TSkinMP::~TSkinMP() {
  if (Panel) Panel->Free();
}

void TSkinMP::AttachControl(TSkinnerForm* form, TSkinData* data, bool setColour, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, setColour, canvas);
  if (!Attached || !Control || !Control->GetParent()) return;
  // Owned by this skinner, so that it goes with it; its parent, the player's, may free it first.
  Panel = new TWMediaPlayer(this);
  Panel->AttachPanel(this, Control);
  Panel->SetVisible(Control->GetVisible());
}

void TSkinMP::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (Panel) Panel->PlacePanel(Control);
      break;
    case CM_VISIBLECHANGED:
      if (Panel) Panel->SetVisible(Control->GetVisible());
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinMP::Detach() {
  TSkinControl::Detach();
  // While the player's window is being destroyed its parent may be going too; the panel then goes
  // with this skinner or with that parent.
  if (SkinnerState != ssWindowDestroyed && Panel) {
    TWMediaPlayer* p = Panel;
    Panel = nullptr;
    p->Free();
  }
}

void TSkinMP::Notification(TComponent* component, TOperation op) {
  TSkinControl::Notification(component, op);
  if (op == opRemove && component == Panel) Panel = nullptr;
}
