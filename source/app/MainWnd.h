// TfrmMain: the program's main window. Borderless and shaped by its background picture; holds the
// file list with the media panel, the output-format choice (one table of the sixteen formats drives
// the actions, radio buttons, menu items and profile lists), the output folder and the tray icon.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "ActnList.h"
#include "ComCtrls.h"
#include "ConversionHost.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "FcRadChk.h"
#include "Forms.h"
#include "Menus.h"
#include "OrvButton.h"
#include "OrvLabel.h"
#include "OrvMultiLanguages.h"
#include "ProfileEditor.h"
#include "Redirect.h"
#include "SkButton.h"
#include "SkImagePanel.h"
#include "SkSkinForm.h"
#include "SkinnerData.h"
#include "StdCtrls.h"
#include "TrayIcon.h"
#include "globals.h"

class TMediaReadAhead;
class TTimer;

constexpr UINT WM_UPDATESUMMARY = WM_USER + 1;
constexpr UINT WM_STARTNEXTFILE = WM_USER + 2;

// One output format as the main window offers it: its index, the name its components carry
// (actAVI, cmbAVI, rdoAVI or miAAC) and whether it has a radio button of its own (a direct format)
// or sits in the "others" menu.
struct TFormatChoice {
  TOutputFormat Format;
  const char* Name;
  bool Direct;
};
constexpr int FormatCount = 16;
extern const TFormatChoice FormatChoices[FormatCount];  // in output-format order

class TConversionDriver;

class TfrmMain : public TForm, public TConversionHost {
  ORV_CLASS(TfrmMain)
public:
  explicit TfrmMain(TComponent* owner);

  // ---- output format ----
  void SelectOutputFormat(TAction* action);
  void RestoreOutputFormat();
  // The current format by the window's rule (a direct format's action is disabled, an "others"
  // format's action is checked); -1 when none is current.
  int CurrentFormat() const;
  TAction* FormatAction(int format) const { return FFormatActions.at(size_t(format)); }
  TComboBox* ProfileCombo(int format) const { return FProfileCombos.at(size_t(format)); }
  TFcRadioButton* FormatRadio(int format) const { return FFormatRadios.at(size_t(format)); }
  // The profile list that lies in front (the last one brought there, the only one shown), or null.
  TComboBox* FrontProfileCombo() const { return FFrontCombo; }

  // ---- file list ----
  // Files are added in batches (AddFile is a batch of one): the list neither draws nor reports its
  // changes entry by entry, and the list, the summary and the media panel are brought up to date once
  // at the end of the outermost batch, under the wait cursor. Messages are let through before each file
  // and while the list waits for the media library, which reads the batch's files ahead on a worker
  // thread; the list is still filled one file after the other, in order.
  void AddFile(const std::string& path);
  void AddFiles(const std::vector<std::string>& paths);
  bool IsSupportedExt(const std::string& ext) const;
  std::string ValueOrNone(const std::string& value) const;
  void OpenFiles(bool clearFirst);
  void DropFiles(const std::vector<std::string>& paths);
  void RemoveFile(const std::string& path);
  void ClearFileList();
  void UpdateSummary();
  void SelectListItem(TListView* list, int index);
  void MoveListItem(TListView* list, TListItem* item, bool up);
  void ShowMediaInfo();
  TFileItem* FileItemOf(int index) const;

  // ---- language texts and profile lists ----
  void ApplyLanguage();
  // Sizes "Convert To" and the format radio buttons to their texts in the font the window really
  // gets and lays them out in one row before the "others" button, or in two when one is too short.
  void ArrangeFormatRadios();
  // Sizes the media panel's caption column to its longest caption in the current language and puts
  // the values beside it (run again whenever the texts change).
  void ArrangeMediaPanel();
  // The caption beside one of the panel's value labels.
  TOrvLabel* MediaCaption(TOrvLabel* value) const;
  // One item per language file of LangsDir under mniLanguages; the current file's item is checked.
  void BuildLanguageMenu();
  // Makes the clicked item's language current (a broken file keeps the current one) and applies it.
  void LanguageMenuClick(TObject* Sender);
  TOrvMultiLanguages* Languages() const { return FLanguages.get(); }
  void FillProfileCombo(TComboBox* combo, const std::string& pattern, const std::string& select);
  void LoadProfileLists();

  // ---- components ----
  TskSkinForm* imgBackground = nullptr;
  TOrvLabel *lblTitle = nullptr, *lblStatus = nullptr, *lblOutputDir = nullptr, *lblProFile = nullptr;
  TOrvLabel* Label1 = nullptr;
  TOrvButton *btnMin = nullptr, *btnHelp = nullptr, *btnClose = nullptr;
  TOrvButton *btnOpen = nullptr, *btnAdd = nullptr, *btnDelete = nullptr, *btnUp = nullptr, *btnDown = nullptr;
  TListView* lsvFileName = nullptr;
  TskImagePanel* pnlMediaInfo = nullptr;
  TOrvButton* btnMore = nullptr;
  TOrvLabel *lblCompleteNameText = nullptr, *lblPlayTimeText = nullptr, *lblFormatText = nullptr,
            *lblAudioCountText = nullptr, *lblVideoCountText = nullptr, *lblCodecText = nullptr,
            *lblWidthText = nullptr, *lblHeightText = nullptr, *lblBitratesText = nullptr,
            *lblAspectRatioText = nullptr, *lblFrameRateText = nullptr, *lblCodecsText = nullptr,
            *lblBitrateText = nullptr, *lblChannelsText = nullptr, *lblSamplingRateText = nullptr;
  TOrvButton* rdoOthers = nullptr;
  TOrvButton *btnEditProfile = nullptr, *btnProfileAdditional = nullptr, *btnOutputDir = nullptr;
  TskImageButton* btnConvert = nullptr;
  TEdit* txtOutputDir = nullptr;
  TActionList* aclAction = nullptr;
  TAction *actHelpContent = nullptr, *actMin = nullptr, *actExit = nullptr, *actOnlineResources = nullptr,
          *actTechnicalSupport = nullptr, *actAbout = nullptr, *actOthers = nullptr, *actBrowse = nullptr,
          *actConvert = nullptr, *actOpen = nullptr, *actAdd = nullptr, *actDelete = nullptr,
          *actClearList = nullptr, *actSelectAll = nullptr, *actPlaySource = nullptr, *actMoveUp = nullptr,
          *actMoveDown = nullptr, *actMore = nullptr, *actSettingsExecute = nullptr,
          *actOpenDestinationFolder = nullptr, *actEditProfile = nullptr, *actAddNewProfile = nullptr,
          *actRenameProfileExecute = nullptr, *actDeleteProfiles = nullptr, *actProfileAdditional = nullptr,
          *actHelp = nullptr;
  TPopupMenu *mnuHelp = nullptr, *mnuOthers = nullptr, *mnuListViewNoFile = nullptr, *mnuListViewHaveFile = nullptr,
             *mnuProfileAdditional = nullptr, *mnuTray = nullptr;
  TMenuItem *mniLanguages = nullptr, *miSelectAll = nullptr, *miTrayShowWindow = nullptr, *miTrayExit = nullptr;
  TTrayIcon* TrayIcon = nullptr;
  TOpenDialog* dlgOpenDialog = nullptr;
  TImageList* ImgListIcon = nullptr;
  TSkinData* SkinData1 = nullptr;  // the skin engine: nothing here touches it

  // ---- handlers ----
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void aclActionUpdate(TBasicAction* Action, bool& Handled);
  void actFormatExecute(TObject* Sender);
  void actHelpContentExecute(TObject* Sender);
  void actMinExecute(TObject* Sender);
  void actExitExecute(TObject* Sender);
  void actOnlineResourcesExecute(TObject* Sender);
  void actTechnicalSupportExecute(TObject* Sender);
  void actAboutExecute(TObject* Sender);
  void actOthersExecute(TObject* Sender);
  void actBrowseExecute(TObject* Sender);
  void actConvertExecute(TObject* Sender);
  void actOpenExecute(TObject* Sender);
  void actAddExecute(TObject* Sender);
  void actDeleteExecute(TObject* Sender);
  void actClearListExecute(TObject* Sender);
  void actSelectAllExecute(TObject* Sender);
  void actPlaySourceExecute(TObject* Sender);
  void actMoveUpExecute(TObject* Sender);
  void actMoveDownExecute(TObject* Sender);
  void actMoreExecute(TObject* Sender);
  void actSettingsExecuteExecute(TObject* Sender);
  void actOpenDestinationFolderExecute(TObject* Sender);
  void actEditProfileExecute(TObject* Sender);
  void actAddNewProfileExecute(TObject* Sender);
  void actRenameProfileExecuteExecute(TObject* Sender);
  void actDeleteProfilesExecute(TObject* Sender);
  void actProfileAdditionalExecute(TObject* Sender);
  void actHelpExecute(TObject* Sender);
  void lsvFileNameChange(TObject* Sender, TListItem* Item, TItemChange Change);
  void lsvFileNameDblClick(TObject* Sender);
  void lsvFileNameDeletion(TObject* Sender, TListItem* Item);
  void lsvFileNameMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void TrayIconDblClick(TObject* Sender);
  void miTrayExitClick(TObject* Sender);
  void mnuTrayPopup(TObject* Sender);

  TRedirector* Redirector() const { return FRedirector; }

  // ---- profile management: one routine per operation for all sixteen formats (MainWndProfiles.cpp) ----
  // The four profile actions run these for the current format.
  void AddNewProfile(TOutputFormat format);
  void EditProfile(TOutputFormat format);
  void RenameProfile(TOutputFormat format);
  void DeleteProfile(TOutputFormat format);
  // The profile's file: the format's folder, the list's text as it stands, "." and the extension.
  std::string SelectedProfilePath(TOutputFormat format) const;
  // The two modal steps, replaceable by tests. AskProfileName shows the name window with `initial` in
  // its edit; true and `name` (as typed) when a name was accepted. RunProfileEditor shows the editor
  // modally and returns its modal result. Empty: the real windows.
  std::function<bool(const std::string& initial, std::string& name)> AskProfileName;
  std::function<int(TfrmProfileEditor* editor)> RunProfileEditor;

  // ---- conversion: the driver runs batches through the window (MainWndConversion.cpp) ----
  TConversionDriver* Driver() const { return FDriver; }
  void SendToTray(TObject* Sender);
  int FileCount() const override;
  std::string FileCaption(int index) const override;
  std::string FileSizeText(int index) const override;
  void RemoveFile(int index) override;
  void BeginListUpdate() override;
  void EndListUpdate() override;
  void FileFailed(int index) override;
  std::string OutputFolderText() const override;
  std::string ProfileName(TOutputFormat format) const override;
  void PostStartNextFile() override;
  void ScheduleHeldProgress(UINT afterMs) override;
  int ShowMessage(const std::string& text, const std::string& caption, UINT flags) override;
  int AskQuestion(const std::string& text, const std::string& caption,
                  const std::vector<std::string>& buttonCaptions) override;
  void SetTrayHint(const std::string& hint) override;
  void ShowBalloon(const std::string& title, const std::string& text) override;
  void CreateProgress(const std::string& caption, const std::string& stopWhenDoneText) override;
  void UpdateProgress(const TProgressUpdate& update) override;
  int ShowProgressModal() override;
  void FinishProgress() override;
  void FreeProgress() override;
  int ShowShutdownCountdown() override;

protected:
  void DeclareLayout(TLayoutBinder& binder) override;

private:
  void ShowProfileCombo(TComboBox* front);
  void WMDropFiles(TMessage& m);
  void WMUpdateSummary(TMessage& m);
  void RunAddBatch(const std::function<void()>& add);
  void BeginAddBatch();
  void EndAddBatch();
  // The batch's files in order; the media library reads the likely ones ahead on a worker thread.
  void AddPaths(const std::vector<std::string>& paths, bool skipFolders);
  std::vector<bool> ReadAheadWanted(const std::vector<std::string>& paths) const;
  // readAhead: the batch's read-ahead, whose file `index` this is; null to read the file here.
  void AddFileInBatch(const std::string& path, TMediaReadAhead* readAhead, size_t index);
  bool IsListed(const std::string& path, const std::string& key) const;
  void RememberListed(const std::string& key);
  void WMStartNextFile(TMessage& m);
  void LinkControls();
  bool HandleShortCut(MSG& msg);
  void ShellOpen(const std::string& verb, const std::string& file);
  void CenterOver(TCustomForm* form) const;
  bool AskName(const std::string& initial, std::string& name);
  int RunEditor(TfrmProfileEditor* editor);
  std::array<TAction*, FormatCount> FFormatActions{};
  std::array<TComboBox*, FormatCount> FProfileCombos{};
  std::array<TFcRadioButton*, FormatCount> FFormatRadios{};  // null for the "others" formats
  TComboBox* FFrontCombo = nullptr;
  TRedirector* FRedirector = nullptr;
  std::unique_ptr<TOrvMultiLanguages> FLanguages;
  TConversionDriver* FDriver = nullptr;
  TTimer* FHeldProgressTimer = nullptr;  // made with the first batch that needs it
  int FAddBatchDepth = 0;
  bool FSummaryPending = false;  // a deletion has asked for the summary and it is not up to date yet
  // While a batch runs: the keys (FilePathKey) of every path listed, unless one had none.
  std::unordered_set<std::string> FListedKeys;
  bool FListedKeysComplete = false;
  static constexpr DWORD AddBatchPumpMs = 40;
  bool FAddBatchPumped = false;
  DWORD FLastAddBatchPump = 0;
  bool FMediaLibraryReported = false;  // this batch has said that the media library is missing
};

extern TfrmMain* frmMain;
