// The owner drawing of the skinned menus' items (the skinned system menu, and every menu whose items
// the engine takes over): the skin's MenuItem element behind the item, or the skin's menu colours
// without one; the image or check mark, the caption and the short cut drawn over it.
#include <algorithm>
#include <memory>

#include "Forms.h"
#include "Menus.h"
#include "SkinImageUtils.h"
#include "SkinManage.h"
#include "SkinnerData.h"
#include "SkinnerForm.h"
#include "SkinnerMenu.h"

namespace {

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

// A bitmap the item is composed in, with the menu font on its canvas.
std::unique_ptr<TBitmap> ItemBitmap(const RECT& r) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(WidthOf(r), HeightOf(r), pf24bit);
  b->Canvas()->Font()->Assign(Screen->MenuFont());
  return b;
}

TImageList* ImagesOf(TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  return menu ? menu->GetImages() : nullptr;
}

// The separator from the MenuItem picture's second frame: its ends at their width, its middle
// stretched, the bottom rows when the item is lower than the picture; magenta stays transparent.
void DrawMenuSeparator(TCanvas* canvas, const RECT& r, const TDataSkinObject* e) {
  TBitmap* image = e->Bitmap;
  if (image->Empty()) return;
  const int frameWidth = image->GetWidth() / 5, w = WidthOf(r);
  const int h = std::min(HeightOf(r), image->GetHeight());
  if (frameWidth <= 0 || w <= 0 || h <= 0) return;
  const int sx = frameWidth, sy = image->GetHeight() - h;
  const int left = std::min(e->Margins.Left, w), right = std::min(e->Margins.Right, w - left);
  auto strip = std::make_unique<TBitmap>();
  strip->SetSize(w, h, pf24bit);
  HDC d = strip->Canvas()->GetHandle(), s = image->Canvas()->GetHandle();
  SetStretchBltMode(d, COLORONCOLOR);
  BitBlt(d, 0, 0, left, h, s, sx, sy, SRCCOPY);
  StretchBlt(d, left, 0, w - left - right, h, s, sx + left, sy, std::max(1, frameWidth - left - right), h, SRCCOPY);
  BitBlt(d, w - right, 0, right, h, s, sx + frameWidth - right, sy, SRCCOPY);
  DrawTransparent(canvas->GetHandle(), RECT{r.left, r.top, r.left + w, r.top + h}, strip.get(), SkinTransparentColor);
}

}  // namespace

void TSkinnerForm::MeasureMenuItemWidth(TObject* sender, TCanvas* canvas, int& width, int& height) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (FSkinData->MenuItem) width += FSkinData->MenuItem->Margins.Left;
  width += 12;
  if (!item || !ImagesOf(item)) width += 23;
}

// The item's own size (without this very handler, which may be its OnMeasureItem), widened for the
// skin's item margin and the glyph column.
void TSkinnerForm::MeasureMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item) return;
  TMenuMeasureItemEvent own = item->OnMeasureItem;
  item->OnMeasureItem = nullptr;
  item->MeasureItem(canvas, width, height);
  item->OnMeasureItem = own;
  if (FSkinData->MenuItem) width += FSkinData->MenuItem->Margins.Left;
  width += 10;
  if (!ImagesOf(item)) width += 25;
}

namespace {

// The picture behind an item drawn into the DC: the skinned popup window's background at the item's
// place, or null when the popup has none.
TBitmap* PopupBackground(HDC dc, HMENU menu, POINT& offset) {
  if (!SkinManager) return nullptr;
  if (TSkinnerPopMenu* popup = SkinManager->FindPopupMenu(WindowFromDC(dc))) {
    offset = popup->ClientOffset();
    return popup->CurrentBackground();
  }
  offset = POINT{3, 3};  // the menu window's frame
  return SkinManager->PopupBitmap(menu);
}

}  // namespace

void TSkinnerForm::DrawMenuItem(TObject* sender, TCanvas* canvas, const RECT& rect, bool selected) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || WidthOf(rect) <= 0 || HeightOf(rect) <= 0) return;
  if (SkinManager) SkinManager->PopupMode = 1;  // the menu's popups are skinned as the menu bar's
  const TDataSkinObject* e = FSkinData->MenuItem;
  if (!e) {
    DrawPlainMenuItem(item, canvas, selected, rect);
    return;
  }
  HMENU parent = item->Parent() && item->Parent()->HandleAllocated() ? item->Parent()->Handle() : nullptr;
  if (parent && SkinManager) SkinManager->SetPopupMenuHandle(parent);
  DrawNativeMenuItem(parent, item, selected, rect, canvas);
}

void TSkinnerForm::DrawNativeMenuItem(HMENU menu, TMenuItem* item, bool selected, const RECT& rect, TCanvas* canvas) {
  const TDataSkinObject* e = FSkinData->MenuItem;
  if (!e) {
    DrawPlainMenuItem(item, canvas, selected, rect);
    return;
  }
  std::unique_ptr<TBitmap> work = ItemBitmap(rect);
  TCanvas* c = work->Canvas();
  const RECT local{0, 0, WidthOf(rect), HeightOf(rect)};
  POINT offset{0, 0};
  if (TBitmap* background = PopupBackground(canvas->GetHandle(), menu, offset)) {
    BitBlt(c->GetHandle(), 0, 0, local.right, local.bottom, background->Canvas()->GetHandle(), rect.left + offset.x,
           rect.top + offset.y, SRCCOPY);
  } else {
    c->Brush()->SetColor(FSkinData->Menu);
    c->FillRect(local);
  }
  if (item->IsLine()) {
    DrawMenuSeparator(c, local, e);
  } else {
    DrawSkinImage(c->GetHandle(), local, e->Bitmap, false, e->Tile, e->Trans == 1, 5, selected ? 4 : 1, e->Margins);
    DrawMenuItemContent(item, c, selected, local);
  }
  BitBlt(canvas->GetHandle(), rect.left, rect.top, local.right, local.bottom, c->GetHandle(), 0, 0, SRCCOPY);
}

void TSkinnerForm::DrawPlainMenuItem(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect) {
  std::unique_ptr<TBitmap> work = ItemBitmap(rect);
  TCanvas* c = work->Canvas();
  const RECT local{0, 0, WidthOf(rect), HeightOf(rect)};
  c->Brush()->SetColor(selected && !item->IsLine() ? FSkinData->Hilight : FSkinData->Menu);
  c->FillRect(local);
  DrawMenuItemContent(item, c, selected, local);
  BitBlt(canvas->GetHandle(), rect.left, rect.top, local.right, local.bottom, c->GetHandle(), 0, 0, SRCCOPY);
}

// ---- the owner-draw messages of a window with a skinned menu bar ----

namespace {

// A canvas on a DC with the menu font.
class TItemCanvas : public TCanvas {
public:
  explicit TItemCanvas(HDC dc) {
    SetHandle(dc);
    Font()->Assign(Screen->MenuFont());
  }
  ~TItemCanvas() override { SetHandle(nullptr); }
};

// Identifiers that belong to items of ours or to the program's own command range go to the window's
// own procedure; the others (0, the system commands) are native entries the skin draws itself.
bool BelongsToWindow(UINT id) { return FindItemByCommand(id) || (id >= 1 && id <= 4095); }

std::string NativeText(HMENU menu, UINT id) {
  char text[80] = {};
  if (menu && GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND) > 0) return text;
  return OwnerDrawnText(menu, id);
}

// An item of ours standing for a native entry, for the drawing routines.
std::unique_ptr<TMenuItem> MenuItemFromNative(HMENU menu, UINT id) {
  auto item = std::make_unique<TMenuItem>(nullptr);
  const std::string text = NativeText(menu, id);
  item->SetCaption(text.empty() ? "-" : text);
  const UINT state = menu ? GetMenuState(menu, id, MF_BYCOMMAND) : 0;
  if (state != UINT(-1)) {
    item->SetEnabled(!(state & (MFS_GRAYED | MFS_DISABLED)));
    item->SetChecked(state & MFS_CHECKED);
  }
  return item;
}

}  // namespace

bool TSkinnerForm::WMMeasureItem(TMessage& m) {
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (!mi || mi->CtlType != ODT_MENU || !NativeMenu) return Previous(m);
  auto* form = As<TCustomForm>(FForm);
  if (form) {
    TMenuItem* item = form->GetMenu() ? form->GetMenu()->FindItem(mi->itemID, fkCommand) : nullptr;
    if (!item) {
      if (BelongsToWindow(mi->itemID)) return Previous(m);
      MeasureNativeMenuItem(mi);
      m.Result = 1;
      return true;
    }
    HDC dc = GetWindowDC(WindowHandle);
    {
      TItemCanvas canvas(dc);
      int w = int(mi->itemWidth), h = int(mi->itemHeight);
      MeasureMenuItem(item, &canvas, w, h);
      mi->itemWidth = UINT(std::max(0, w));
      mi->itemHeight = UINT(std::max(0, h));
    }
    ReleaseDC(WindowHandle, dc);
  } else {
    MeasureNativeMenuItem(mi);
  }
  m.Result = 1;
  return true;
}

void TSkinnerForm::MeasureNativeMenuItem(MEASUREITEMSTRUCT* mi) {
  const std::string text = NativeText(TrackedPopup, mi->itemID);
  HDC dc = GetWindowDC(WindowHandle);
  HGDIOBJ old = SelectObject(dc, Screen->MenuFont()->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(WindowHandle, dc);
  int width = size.cx + 26;
  if (FSkinData->MenuItem) width += FSkinData->MenuItem->Margins.Left;
  int height = text.empty() ? 8 : size.cy + 4;
  if (GetVersion() & 0x80000000u) height += 4;
  mi->itemWidth = UINT(width);
  mi->itemHeight = UINT(height);
}

bool TSkinnerForm::WMDrawItem(TMessage& m) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!d || d->CtlType != ODT_MENU || !NativeMenu) return Previous(m);
  const DWORD v = GetVersion();
  if (WindowKind == wkMdiFrame && !(v & 0x80000000u) && LOBYTE(LOWORD(v)) == 4) return Previous(m);
  const HMENU menu = HMENU(d->hwndItem);
  if (SkinManager) {
    SkinManager->SetPopupMenuHandle(menu);
    SkinManager->PopupMode = 1;
  }
  const bool selected = d->itemState & ODS_SELECTED;
  const int saved = SaveDC(d->hDC);
  {
    TItemCanvas canvas(d->hDC);
    auto* form = As<TCustomForm>(FForm);
    TMenuItem* item = form && form->GetMenu() ? form->GetMenu()->FindItem(d->itemID, fkCommand) : nullptr;
    if (item) {
      if (FSkinData->MenuItem)
        DrawMenuItem(item, &canvas, d->rcItem, selected);
      else
        DrawPlainMenuItem(item, &canvas, selected, d->rcItem);
    } else if (form && BelongsToWindow(d->itemID)) {
      RestoreDC(d->hDC, saved);
      return Previous(m);
    } else {
      std::unique_ptr<TMenuItem> native = MenuItemFromNative(menu, d->itemID);
      DrawNativeMenuItem(menu, native.get(), selected, d->rcItem, &canvas);
    }
  }
  RestoreDC(d->hDC, saved);
  m.Result = 1;
  return true;
}

// The item's glyph in its box: the image (a checked one on a sunken, patterned square), or the
// system's check mark for a checked item without one.
void TSkinnerForm::DrawMenuItemGlyph(TMenuItem* item, TCanvas* canvas, RECT box, const RECT& rect) {
  TImageList* images = ImagesOf(item);
  const bool checked = item->ShownChecked();
  const int glyph = WidthOf(box);
  HDC dc = canvas->GetHandle();
  const int index = item->GetImageIndex();
  if (images && index >= 0 && index < images->Count()) {
    if (checked) {
      OffsetRect(&box, 0, (HeightOf(rect) - 16) / 2 - 1);
      const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
      HBITMAP bits = CreateBitmap(8, 8, 1, 1, pattern);
      HBRUSH brush = CreatePatternBrush(bits);
      const COLORREF oldText = SetTextColor(dc, ColorToRGB(clBtnFace));
      const COLORREF oldBk = SetBkColor(dc, ColorToRGB(clBtnHighlight));
      FillRect(dc, &box, brush);
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBk);
      DeleteObject(brush);
      DeleteObject(bits);
      DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    } else {
      box.top = rect.top + (HeightOf(rect) - images->GetHeight()) / 2;
      box.bottom = box.top + glyph;
    }
    images->Draw(canvas, box.left, box.top, index, item->ShownEnabled());
  } else if (checked) {
    // The system's check mark in the button text colour, its white drawn transparent.
    HBITMAP mark = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32760));  // OBM_CHECK
    BITMAP info{};
    if (mark && GetObjectA(mark, sizeof info, &info)) {
      auto b = std::make_unique<TBitmap>();
      b->SetSize(info.bmWidth, info.bmHeight, pf24bit);
      HDC bdc = b->Canvas()->GetHandle();
      HDC mdc = CreateCompatibleDC(bdc);
      HGDIOBJ old = SelectObject(mdc, mark);
      SetTextColor(bdc, ColorToRGB(clBtnText));
      SetBkColor(bdc, RGB(255, 255, 255));
      BitBlt(bdc, 0, 0, info.bmWidth, info.bmHeight, mdc, 0, 0, SRCCOPY);
      SelectObject(mdc, old);
      DeleteDC(mdc);
      const int x = box.left + (WidthOf(box) - info.bmWidth) / 2 + 1;
      const int y = rect.top + (HeightOf(rect) - info.bmHeight) / 2 + 1;
      DrawTransparent(dc, RECT{x, y, x + info.bmWidth, y + info.bmHeight}, b.get(), clWhite);
    }
    if (mark) DeleteObject(mark);
  }
}

namespace {

// The menu whose direction an item follows: its own, or the menu bar's for an item of no menu.
TMenu* DirectionMenu(TMenuItem* item, TSkinnerMenu* bar) {
  if (TMenu* menu = item->GetParentMenu()) return menu;
  return bar ? bar->VclMenu : nullptr;
}

int GlyphSize(TMenuItem* item) {
  TImageList* images = ImagesOf(item);
  int glyph = images ? images->GetWidth() : 16;
  if (item->ShownChecked()) glyph = std::max(glyph, 16);
  return glyph;
}

}  // namespace

void TSkinnerForm::DrawMenuItemContent(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect) {
  if (TMenu* menu = DirectionMenu(item, FMenuBar); menu && menu->IsRightToLeft()) {
    DrawMenuItemContentRtl(item, canvas, selected, rect);
    return;
  }
  const std::wstring caption = AnsiToWide(item->ShownCaption());
  const int glyph = GlyphSize(item);
  const int margin = FSkinData->MenuItem ? FSkinData->MenuItem->Margins.Left : 0;
  RECT box{0, 0, 0, 0};
  if (!item->IsLine()) {
    const int left = rect.left + 1 + margin, top = rect.top + 1;
    box = RECT{left, top, left + glyph, top + glyph};
    DrawMenuItemGlyph(item, canvas, box, rect);
  }
  const RECT textRect{box.right + 3, rect.top, rect.right - 1, rect.bottom};
  RECT measured = textRect;
  DrawMenuItemText(item, canvas, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE, selected, measured, caption);
  OffsetRect(&measured, 0, (HeightOf(textRect) - HeightOf(measured)) / 2);
  DrawMenuItemText(item, canvas, DT_EXPANDTABS | DT_SINGLELINE, selected, measured, caption);
  if (const int shortCut = item->ShownShortCut()) {
    RECT s{measured.right, measured.top, rect.right - 11, measured.bottom};
    DrawMenuItemText(item, canvas, DT_RIGHT | DT_SINGLELINE, selected, s, AnsiToWide(ShortCutToText(shortCut)));
  }
}

// The mirror of the left-to-right look: the glyph box at the right end, the caption right-aligned
// and read right to left left of it, the short cut at the left.
void TSkinnerForm::DrawMenuItemContentRtl(TMenuItem* item, TCanvas* canvas, bool selected, const RECT& rect) {
  const std::wstring caption = AnsiToWide(item->ShownCaption());
  const int glyph = GlyphSize(item);
  const int margin = FSkinData->MenuItem ? FSkinData->MenuItem->Margins.Left : 0;
  RECT box{rect.right, 0, rect.right, 0};  // a separator's line runs the whole width
  if (!item->IsLine()) {
    const int right = rect.right - 1 - margin, top = rect.top + 1;
    box = RECT{right - glyph, top, right, top + glyph};
    DrawMenuItemGlyph(item, canvas, box, rect);
  }
  const RECT textRect{rect.left + 1, rect.top, box.left - 3, rect.bottom};
  RECT measured = textRect;
  DrawMenuItemText(item, canvas, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | DT_RTLREADING, selected,
                   measured, caption);
  const int top = textRect.top + (HeightOf(textRect) - HeightOf(measured)) / 2;
  RECT line{textRect.left, top, textRect.right, top + HeightOf(measured)};
  DrawMenuItemText(item, canvas, DT_RIGHT | DT_EXPANDTABS | DT_SINGLELINE | DT_RTLREADING, selected, line, caption);
  if (const int shortCut = item->ShownShortCut()) {
    RECT s{textRect.left + 10, line.top, line.right - WidthOf(measured), line.bottom};
    DrawMenuItemText(item, canvas, 0, selected, s, AnsiToWide(ShortCutToText(shortCut)));
  }
}

void TSkinnerForm::DrawMenuItemText(TMenuItem* item, TCanvas* canvas, UINT flags, bool selected, RECT& r,
                                    const std::wstring& text) {
  HDC dc = canvas->GetHandle();
  const bool measuring = flags & DT_CALCRECT;
  if (text == L"-") {
    if (measuring) return;
    // The line stands in the item's middle when the item is too low for the usual 4 pixels.
    RECT line = r;
    OffsetRect(&line, 0, std::min(4, std::max(0, (HeightOf(r) - 2) / 2)));
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  std::wstring shown = text;
  if (measuring && (shown.empty() || shown == L"&")) shown += L' ';
  TFont font;
  font.Assign(Screen->MenuFont());
  if (item->GetDefault()) font.SetStyle(font.GetStyle() | (1u << fsBold));
  TColor colour;
  if (item->ShownEnabled())
    colour = selected ? FSkinData->HilightText : FSkinData->MenuText;
  else
    colour = ColorToRGB(FSkinData->ButtonShadow) == ColorToRGB(FSkinData->MenuText) ? clGrayText
                                                                                    : FSkinData->ButtonShadow;
  HGDIOBJ oldFont = SelectObject(dc, font.Handle());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, ColorToRGB(colour));
  DrawTextWide(dc, shown, r, flags);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}
