// A dialog with one of each standard control, read from its layout; every handler writes a line into Log,
// so the tests compare what ran, in order, with what should have run.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Layout.h"
#include "StdCtrls.h"

class TfrmControlGallery : public TForm {
  ORV_CLASS(TfrmControlGallery)
public:
  explicit TfrmControlGallery(TComponent* owner) : TForm(owner) { InitLayout(); }

  TPanel* PanelBottom = nullptr;
  TButton *btnSave = nullptr, *btnClose = nullptr;
  TLabel *lblStatus = nullptr, *LabelAudioBitrate = nullptr;
  TPageControl *PageControlOptions = nullptr, *PageControlVCodec = nullptr;
  TTabSheet *TabSheetGeneral = nullptr, *TabSheetVideo = nullptr, *TabSheetAudio = nullptr, *TabSheetDivx = nullptr,
            *TabSheetXvid = nullptr;
  TEdit* EditDescription = nullptr;
  TComboBox *ComboBoxCodec = nullptr, *ComboBoxFree = nullptr;
  TCheckBox* CheckBoxDisableAudio = nullptr;
  TGroupBox* GroupBoxSize = nullptr;
  TRadioButton *RadioButtonKeep = nullptr, *RadioButtonChange = nullptr;
  TRadioGroup* RadioGroupType = nullptr;
  TMemo* MemoNotes = nullptr;
  TTrackBar* TrackBarAudioBitrate = nullptr;

  std::vector<std::string> Log;
  std::function<void()> OnSave;  // extra work inside btnSaveClick

  void Note(const std::string& s) { Log.push_back(s); }
  void btnSaveClick(TObject*) {
    Note("btnSave.click");
    if (OnSave) OnSave();
    Note("btnSave.click done");
  }
  void btnCloseClick(TObject*) { Note("btnClose.click"); }
  void PageControlOptionsChange(TObject*) { Note("PageControlOptions.change"); }
  void EditDescriptionEnter(TObject*) { Note("EditDescription.enter"); }
  void EditDescriptionExit(TObject*) { Note("EditDescription.exit"); }
  void ComboBoxCodecChange(TObject*) { Note("ComboBoxCodec.change"); }
  void ComboBoxFreeChange(TObject*) { Note("ComboBoxFree.change"); }
  void ComboBoxFreeExit(TObject*) { Note("ComboBoxFree.exit"); }
  void CheckBoxDisableAudioClick(TObject*) { Note("CheckBoxDisableAudio.click"); }
  void RadioButtonKeepClick(TObject*) { Note("RadioButtonKeep.click"); }
  void RadioButtonChangeClick(TObject*) { Note("RadioButtonChange.click"); }
  void RadioGroupTypeClick(TObject*) { Note("RadioGroupType.click"); }
  void TrackBarAudioBitrateChange(TObject*) {
    Note("TrackBarAudioBitrate.change");
    LabelAudioBitrate->SetCaption(std::to_string(TrackBarAudioBitrate->GetPosition()));
  }

protected:
  void DeclareLayout(TLayoutBinder& b) override {
    b.Field("PanelBottom", PanelBottom);
    b.Field("btnSave", btnSave);
    b.Field("btnClose", btnClose);
    b.Field("lblStatus", lblStatus);
    b.Field("LabelAudioBitrate", LabelAudioBitrate);
    b.Field("PageControlOptions", PageControlOptions);
    b.Field("PageControlVCodec", PageControlVCodec);
    b.Field("TabSheetGeneral", TabSheetGeneral);
    b.Field("TabSheetVideo", TabSheetVideo);
    b.Field("TabSheetAudio", TabSheetAudio);
    b.Field("TabSheetDivx", TabSheetDivx);
    b.Field("TabSheetXvid", TabSheetXvid);
    b.Field("EditDescription", EditDescription);
    b.Field("ComboBoxCodec", ComboBoxCodec);
    b.Field("ComboBoxFree", ComboBoxFree);
    b.Field("CheckBoxDisableAudio", CheckBoxDisableAudio);
    b.Field("GroupBoxSize", GroupBoxSize);
    b.Field("RadioButtonKeep", RadioButtonKeep);
    b.Field("RadioButtonChange", RadioButtonChange);
    b.Field("RadioGroupType", RadioGroupType);
    b.Field("MemoNotes", MemoNotes);
    b.Field("TrackBarAudioBitrate", TrackBarAudioBitrate);
    b.Handler("btnSaveClick", this, &TfrmControlGallery::btnSaveClick);
    b.Handler("btnCloseClick", this, &TfrmControlGallery::btnCloseClick);
    b.Handler("PageControlOptionsChange", this, &TfrmControlGallery::PageControlOptionsChange);
    b.Handler("EditDescriptionEnter", this, &TfrmControlGallery::EditDescriptionEnter);
    b.Handler("EditDescriptionExit", this, &TfrmControlGallery::EditDescriptionExit);
    b.Handler("ComboBoxCodecChange", this, &TfrmControlGallery::ComboBoxCodecChange);
    b.Handler("ComboBoxFreeChange", this, &TfrmControlGallery::ComboBoxFreeChange);
    b.Handler("ComboBoxFreeExit", this, &TfrmControlGallery::ComboBoxFreeExit);
    b.Handler("CheckBoxDisableAudioClick", this, &TfrmControlGallery::CheckBoxDisableAudioClick);
    b.Handler("RadioButtonKeepClick", this, &TfrmControlGallery::RadioButtonKeepClick);
    b.Handler("RadioButtonChangeClick", this, &TfrmControlGallery::RadioButtonChangeClick);
    b.Handler("RadioGroupTypeClick", this, &TfrmControlGallery::RadioGroupTypeClick);
    b.Handler("TrackBarAudioBitrateChange", this, &TfrmControlGallery::TrackBarAudioBitrateChange);
  }
};

ORV_DEFINE_CLASS(TfrmControlGallery, TForm, nullptr, {})

// A new gallery at (60, 60), shown in front; on its General page when asked, else on the layout's page.
inline TfrmControlGallery* ShowGallery(bool onGeneralPage) {
  auto* f = new TfrmControlGallery(Application);
  f->SetLeft(60);
  f->SetTop(60);
  if (onGeneralPage) f->PageControlOptions->SetActivePage(f->TabSheetGeneral);
  f->Show();
  SetForegroundWindow(f->Handle());
  return f;
}

// Shows the gallery from the test data's layouts; frees it at the end of the test.
class GalleryTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetLayoutSource(FolderLayoutSource(ORV_TEST_DATA_DIR));
    Application->ClearTerminated();
    F = ShowGallery(false);
    Pump();
  }
  void TearDown() override {
    F->Free();
    Pump();
    SetLayoutSource(nullptr);
  }
  static void Pump() { Application->ProcessMessages(); }
  // Takes what ran since the last call.
  std::vector<std::string> TakeLog() {
    std::vector<std::string> l;
    l.swap(F->Log);
    return l;
  }
  // A mouse press and release at a client point of a window, with the cursor put there first.
  static void ClickAt(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
  }
  // A key press as the keyboard delivers it: posted, so the application's loop sees it first.
  static void Key(HWND h, WORD vk) {
    PostMessageA(h, WM_KEYDOWN, vk, 1);
    PostMessageA(h, WM_KEYUP, vk, LPARAM(0xC0000001));
    Pump();
  }
  TfrmControlGallery* F = nullptr;
};

inline std::vector<std::string> Lines(std::initializer_list<const char*> l) { return {l.begin(), l.end()}; }
