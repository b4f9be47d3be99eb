// Panels, paint boxes, images, bevels and radio groups.
#pragma once

#include <string>
#include <vector>

#include "Controls.h"
#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
  ORV_CLASS(TCustomPanel)
public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v);
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  void Paint() override;

protected:
  void AdjustClientRect(RECT& r) const override;
  TBevelCut FBevelInner = bvNone, FBevelOuter = bvRaised;
  int FBevelWidth = 1, FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
  ORV_CLASS(TPanel)
public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

class TPaintBox : public TGraphicControl {
  ORV_CLASS(TPaintBox)
public:
  explicit TPaintBox(TComponent* owner);
  void Paint() override;
  TNotifyEvent OnPaint;
};

class TImage : public TGraphicControl {
  ORV_CLASS(TImage)
public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* p) { FPicture->Assign(p); }
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  void Paint() override;

protected:
  bool CanAutoSize(int& w, int& h) override;
  TPicture* FPicture;
  bool FStretch = false, FCenter = false, FTransparent = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
  ORV_CLASS(TBevel)
public:
  explicit TBevel(TComponent* owner);
  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape v);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle v);
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// A group box holding one radio button per entry of Items, laid out in Columns (filled column by column).
// ItemIndex is the checked entry, -1 for none; set from code it is limited to -1..Count-1 (a larger index
// checks the last entry). OnClick runs when an entry becomes checked, by the user or from code; setting
// -1 or the index already checked runs nothing. Changing the entries keeps the index if it still exists
// and otherwise lowers it to the last entry (-1 when the list is empty), silently.
class TCustomRadioGroup : public TCustomGroupBox {
  ORV_CLASS(TCustomRadioGroup)
public:
  explicit TCustomRadioGroup(TComponent* owner);
  std::vector<std::string> GetItems() const { return FItems; }
  void SetItems(const std::vector<std::string>& items);
  int ItemCount() const { return int(FItems.size()); }
  void AddItem(const std::string& text);
  void ClearItems();
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  int GetColumns() const { return FColumns; }
  void SetColumns(int v);  // 1..16
  TRadioButton* Buttons(int i) const { return FButtons.at(size_t(i)); }
  void SetEnabled(bool v) override;
  void Loaded() override;

protected:
  void DoSetBounds(int l, int t, int w, int h) override;
  void UpdateButtons();    // one button per entry, captions from the entries
  void ArrangeButtons();
  void ButtonClicked(TObject* sender);
  void FontChanged() override;
  std::vector<std::string> FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;  // checking a button from SetItemIndex
};

class TRadioGroup : public TCustomRadioGroup {
  ORV_CLASS(TRadioGroup)
public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
