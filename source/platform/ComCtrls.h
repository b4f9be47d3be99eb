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
