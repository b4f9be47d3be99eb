// Common controls: the list view, the track bar, the page control with its tab sheets and the
// animation player.
//
// The list view (report style with one column): entries with a caption, an image, sub-items kept but
// not shown, and a data pointer. The entries live in this object; the system control mirrors them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

class TListView;

class TListItem {
public:
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  std::vector<std::string> SubItems;
  void* Data = nullptr;
  int Index() const;
  bool GetSelected() const;
  void SetSelected(bool v);
  bool GetFocused() const;
  void SetFocused(bool v);
  // Scrolls the entry into view; with partialOK an entry already partly visible stays where it is.
  void MakeVisible(bool partialOK);
  TListView* Owner() const { return FOwner; }

private:
  friend class TListView;
  explicit TListItem(TListView* owner) : FOwner(owner) {}
  TListView* FOwner;
  std::string FCaption;
  int FImageIndex = 0;
  bool FSelected = false, FFocused = false;  // kept while the control has no window
};

enum TItemChange { ctText, ctImage, ctState };
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;

class TListView : public TWinControl {
  ORV_CLASS(TListView)
public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  void BeforeDestruction() override;

  // ---- entries ----
  int Count() const { return int(FItems.size()); }
  TListItem* Item(int i) const { return FItems.at(size_t(i)); }
  TListItem* Add() { return Insert(Count()); }
  TListItem* Insert(int index);  // index is clamped to 0..Count
  // An entry that arrives with its text and picture: one insertion into the control, no change event.
  TListItem* Add(const std::string& caption, int imageIndex);
  // Removes the entry from the control and the list, then runs OnDeletion (the row is gone by then),
  // then frees the entry object.
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const;
  void BeginUpdate();
  void EndUpdate();

  // ---- selection ----
  TListItem* Selected() const;  // the first selected entry
  int SelCount() const;
  void SelectAll();
  void ClearSelection();
  TListItem* ItemFocused() const;

  // ---- properties ----
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool v);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v);
  int GetColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(int v);
  TImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TImageList* v);

  TLVChangeEvent OnChange;
  TLVDeletedEvent OnDeletion;

  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void DestroyWnd() override;

private:
  friend class TListItem;
  void InsertNative(int index);
  void UpdateNative(int index);
  std::vector<TListItem*> FItems;
  bool FMultiSelect = false, FShowColumnHeaders = true, FHideSelection = true, FRowSelect = false;
  int FColumnWidth = 200;
  TImageList* FSmallImages = nullptr;
  int FUpdateCount = 0;
  bool FFilling = false;  // mirroring into a new window: no change events
};

// ---- track bar ----

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// A slider: window class "TTrackBar" built on "msctls_trackbar32". Min, Max and Position live here and
// the window mirrors them. Every change keeps Min <= Position <= Max: a Position outside the range is
// put at the nearer end; a Min above the current Max, or a Max below the current Min, is ignored; a
// range that shuts the position out moves it to the nearer end. OnChange runs once whenever Position
// really changes, whether the user dragged the slider or code set Position, Min or Max. While a layout
// is read the values are taken as given and brought in line once it is loaded, without OnChange.
class TTrackBar : public TWinControl {
  ORV_CLASS(TTrackBar)
public:
  explicit TTrackBar(TComponent* owner);
  int GetMin() const { return FMin; }
  void SetMin(int v);
  int GetMax() const { return FMax; }
  void SetMax(int v);
  int GetPosition() const { return FPosition; }
  void SetPosition(int v);
  void SetRange(int min, int max);  // both at once; ignored when min > max
  int GetFrequency() const { return FFrequency; }
  void SetFrequency(int v);
  int GetLineSize() const { return FLineSize; }
  void SetLineSize(int v);
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int v);
  TTrackBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation v);
  TTickStyle GetTickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle v);
  TTickMark GetTickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark v);
  bool GetSliderVisible() const { return FSliderVisible; }
  void SetSliderVisible(bool v);
  TNotifyEvent OnChange;
  void Loaded() override;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  virtual void Changed();  // runs OnChange
  // Stores the range and position, clamped, mirrors them and runs OnChange when the position moved.
  void ApplyParams(int position, int min, int max);
  void MirrorToWindow();
  int FMin = 0, FMax = 10, FPosition = 0;
  int FFrequency = 1, FLineSize = 1, FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickStyle FTickStyle = tsAuto;
  TTickMark FTickMarks = tmBottomRight;
  bool FSliderVisible = true;
};

// ---- page control ----

class TPageControl;

// One page of a page control: a window that holds the page's controls and fills the page control's
// display area. Its tab shows only while TabVisible; a page whose tab is hidden can still be the active
// page, and then its contents show without a tab. Placing a sheet in a page control (layout nesting or
// SetPageControl) appends it as the last page.
class TTabSheet : public TWinControl {
  ORV_CLASS(TTabSheet)
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* p);
  int GetPageIndex() const;  // position among all pages, -1 without a page control
  void SetPageIndex(int v);
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  int TabIndex() const;  // position among the visible tabs, -1 when the tab is hidden
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  void SetText(const std::string& v) override;  // the caption is the tab's text
  void SetParent(TWinControl* p) override;
  TNotifyEvent OnShow, OnHide;

protected:
  void CreateParams(TCreateParams& p) override;
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
};

// Tabs over pages: window class "TPageControl" built on "SysTabControl32". The tab row lists the pages
// whose tab is visible, in page order. ActivePage is the page whose contents show (null: none, then
// ActivePageIndex is -1); setting it or ActivePageIndex from code runs no event, and an index outside the
// pages means none. A layout that names no ActivePage opens on the first page. Clicking a tab runs OnChanging (which may refuse) and then OnChange. When the active
// page's tab is hidden and other tabs remain, the page whose tab then stands at its place becomes active,
// or the last visible tab's page if none does; with no tab left the page stays active without a tab.
// Ctrl+Tab (Ctrl+Shift+Tab) while the focus is on the tabs or inside a page turns to the next (previous)
// page with a tab, with the events of a click on its tab.
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
  ORV_CLASS(TPageControl)
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int i) const { return FPages.at(size_t(i)); }
  TTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* p);
  int GetActivePageIndex() const;
  void SetActivePageIndex(int v);
  // The next (or previous) page with a visible tab after `current`, wrapping around; null if none.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  void SelectNextPage(bool goForward);
  int TabCount() const;  // visible tabs
  TTabSheet* PageForTab(int tabIndex) const;
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  void WndProc(TMessage& m) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void AlignControls(TControl* control, RECT& r) override;
  void AdjustClientRect(RECT& r) const override;  // the display area under the tabs
  void PaintWindow(HDC dc) override;
  virtual void Change();
  virtual bool CanChange();
  friend class TTabSheet;
  void InsertPage(TTabSheet* p);
  void RemovePage(TTabSheet* p);
  void MovePage(TTabSheet* p, int index);
  void TabVisibilityChanged(TTabSheet* p);
  void UpdateTabs();          // rebuilds the tab row from the pages
  void ShowActivePage();      // shows the active page, hides the others, selects its tab
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  bool FUpdatingTabs = false;
};

// ---- animation ----

// Plays a silent AVI clip (uncompressed or RLE8): window class "TAnimate" built on "SysAnimate32".
// The clip is the "AVI" resource ResName of the module ResHandle (the program itself when null), or the
// file FileName when no resource is named. The system control plays on a thread of its own. Active
// plays the frames StartFrame to StopFrame (-1: the last), Repetitions times (0: until stopped); it
// falls back to False when the clip has played out. The clip is opened when the window is created
// and again whenever its source changes.
class TAnimate : public TWinControl {
  ORV_CLASS(TAnimate)
public:
  explicit TAnimate(TComponent* owner);
  std::string GetResName() const { return FResName; }
  void SetResName(const std::string& v);
  HINSTANCE GetResHandle() const { return FResHandle; }
  void SetResHandle(HINSTANCE v);
  std::string GetFileName() const { return FFileName; }
  void SetFileName(const std::string& v);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  int GetRepetitions() const { return FRepetitions; }
  void SetRepetitions(int v) { FRepetitions = v; }
  int GetStartFrame() const { return FStartFrame; }
  void SetStartFrame(int v) { FStartFrame = v; }
  int GetStopFrame() const { return FStopFrame; }
  void SetStopFrame(int v) { FStopFrame = v; }
  bool GetActive() const { return FActive; }
  void SetActive(bool v);
  // True while a clip is open in the window.
  bool Opened() const { return FOpened; }

  void Play(int fromFrame, int toFrame, int count);
  void Stop();
  void Seek(int frame);  // shows one frame, stopped
  void Reset();          // stopped at the first frame
  TNotifyEvent OnStart, OnStop;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void OpenClip();
  std::string FResName, FFileName;
  HINSTANCE FResHandle = nullptr;
  bool FCenter = true, FTransparent = true, FActive = false, FOpened = false;
  int FRepetitions = 0, FStartFrame = 0, FStopFrame = -1;
};

// ---- tool bar ----

class TToolBar;
class TMenuItem;
class TMenu;
class TPopupMenu;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

// The state a custom-drawn tool bar button is in (bits).
enum TCustomDrawStateFlag : unsigned {
  cdsSelected = 1,
  cdsGrayed = 2,
  cdsDisabled = 4,
  cdsChecked = 8,
  cdsFocused = 16,
  cdsDefault = 32,
  cdsHot = 64,
  cdsMarked = 128,
  cdsIndeterminate = 256
};
using TCustomDrawState = unsigned;
// The item state bits of a custom-draw notification as the class library's set.
TCustomDrawState CustomDrawStateOf(UINT itemState);

// One button of a tool bar. It has no window: the bar's system control draws it and takes its mouse,
// and its bounds follow the place the system control gives it. Placed in a tool bar (layout nesting or
// SetParent) it becomes the bar's last button. Clicking it runs its menu item's sub-menu, its menu
// item, or OnClick; the arrow of a drop-down button opens DropdownMenu (or the menu item's sub-menu).
class TToolButton : public TControl {
  ORV_CLASS(TToolButton)
public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  TToolBar* ToolBar() const { return FToolBar; }
  int Index() const;
  TToolButtonStyle GetStyle() const { return FStyle; }
  void SetStyle(TToolButtonStyle v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  bool GetDown() const;
  void SetDown(bool v);
  TMenuItem* GetMenuItem() const { return FMenuItem; }
  void SetMenuItem(TMenuItem* v);
  TPopupMenu* GetDropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* v);
  void SetParent(TWinControl* p) override;
  void SetText(const std::string& v) override;
  void SetEnabled(bool v) override;
  void SetVisible(bool v) override;
  // The identifier the system control knows the button by.
  UINT Command() const { return FCommand; }
  void Click() override;
  // Opens the button's menu under it; false when it has none.
  bool DropDown();
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;

private:
  friend class TToolBar;
  void Changed();
  TToolBar* FToolBar = nullptr;
  TToolButtonStyle FStyle = tbsButton;
  int FImageIndex = -1;
  bool FDown = false;
  TMenuItem* FMenuItem = nullptr;
  TPopupMenu* FDropdownMenu = nullptr;
  UINT FCommand;
};

using TToolBarCustomDrawEvent = std::function<void(TToolBar* Sender, const RECT& ARect, bool& DefaultDraw)>;
using TToolBarCustomDrawBtnEvent =
    std::function<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw)>;

// A row of buttons: window class "TToolBar" built on "ToolbarWindow32". The buttons are TToolButton
// children, in the order they were placed; the system control mirrors them and is rebuilt when one
// changes. Menu gives the bar one button per top-level item of that menu (each opening its item's
// sub-menu). OnCustomDraw runs before the bar paints (ARect: the client area) and OnCustomDrawButton
// before each button, on Canvas. A handler that clears DefaultDraw paints the bar or the button
// itself; a button handler that leaves it set paints the button's background (or leaves the bar's
// showing), and the bar then adds the button's image and its text in the font colour the handler
// left on Canvas.
class TToolBar : public TWinControl {
  ORV_CLASS(TToolBar)
public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  int ButtonCount() const { return int(FButtons.size()); }
  TToolButton* Buttons(int i) const { return FButtons.at(size_t(i)); }
  TToolButton* ButtonByCommand(UINT command) const;
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  bool GetShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool v);
  int GetButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int v);
  int GetButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int v);
  TImageList* GetImages() const { return FImages; }
  void SetImages(TImageList* v);
  TMenu* GetMenu() const { return FMenu; }
  void SetMenu(TMenu* v);
  TCanvas* Canvas() const { return FCanvas; }
  TToolBarCustomDrawEvent OnCustomDraw;
  TToolBarCustomDrawBtnEvent OnCustomDrawButton;
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;
  // Puts the buttons into the system control again (with their current captions and states).
  void RebuildButtons();

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void DoSetBounds(int l, int t, int w, int h) override;

private:
  friend class TToolButton;
  void InsertButton(TToolButton* b);
  void RemoveButton(TToolButton* b);
  void UpdateButtonBounds();
  LRESULT CustomDraw(NMTBCUSTOMDRAW& cd);
  std::vector<TToolButton*> FButtons;
  std::vector<TToolButton*> FMenuButtons;  // the buttons made for Menu's items
  bool FFlat = false, FShowCaptions = false;
  int FButtonWidth = 23, FButtonHeight = 22;
  TImageList* FImages = nullptr;
  TMenu* FMenu = nullptr;
  TControlCanvas* FCanvas;
  bool FRebuilding = false;
};
