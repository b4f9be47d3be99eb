#include "MainWnd.h"

#include "ProgressWnd.h"

#include <shellapi.h>

#include <algorithm>

#include "AboutWnd.h"
#include "AppUtils.h"
#include "BuildInfo.h"
#include "ConversionDriver.h"
#include "Errors.h"
#include "FileInfoWnd.h"
#include "FileList.h"
#include "FileUtils.h"
#include "MediaInfoDll.h"
#include "MediaReadAhead.h"
#include "MultiLanguages.h"
#include "OrvUtils.h"
#include "PngPicture.h"
#include "ProfileLists.h"
#include "Prompter.h"
#include "ShellOpen.h"
#include "Strings.h"

TfrmMain* frmMain = nullptr;

const TFormatChoice FormatChoices[FormatCount] = {
    {0, "AVI", true},   {1, "MP4", true},   {2, "3GP", true},   {3, "MPEG", true},
    {4, "MOV", true},   {5, "WMV", true},   {6, "RM", true},    {7, "SWF", true},
    {8, "VOB", false},  {9, "ASF", false},  {10, "AAC", false}, {11, "AC3", false},
    {12, "MP2", false}, {13, "MP3", false}, {14, "AMR", false}, {15, "WAV", false}};

namespace {
// The media panel's value labels and the TFileItem field each shows.
struct TMediaLabel {
  TOrvLabel* TfrmMain::*Label;
  std::string TFileItem::*Value;
};
const TMediaLabel kMediaLabels[] = {
    {&TfrmMain::lblCompleteNameText, &TFileItem::CompleteName}, {&TfrmMain::lblPlayTimeText, &TFileItem::PlayTime},
    {&TfrmMain::lblFormatText, &TFileItem::Format},             {&TfrmMain::lblAudioCountText, &TFileItem::AudioCount},
    {&TfrmMain::lblVideoCountText, &TFileItem::VideoCount},     {&TfrmMain::lblCodecText, &TFileItem::VideoCodec},
    {&TfrmMain::lblWidthText, &TFileItem::Width},               {&TfrmMain::lblHeightText, &TFileItem::Height},
    {&TfrmMain::lblBitratesText, &TFileItem::VideoBitrate},     {&TfrmMain::lblAspectRatioText, &TFileItem::AspectRatio},
    {&TfrmMain::lblFrameRateText, &TFileItem::FrameRate},       {&TfrmMain::lblCodecsText, &TFileItem::AudioCodec},
    {&TfrmMain::lblBitrateText, &TFileItem::AudioBitRate},      {&TfrmMain::lblChannelsText, &TFileItem::Channels},
    {&TfrmMain::lblSamplingRateText, &TFileItem::SamplingRate}};

// Fixed texts of the window and the string each takes from the language table.
struct TCaptionText {
  const char* Component;
  const std::string* Text;
};
const TCaptionText kCaptionTexts[] = {
    {"btnOpen", &IDS_MAIN_BUTTON_Open},
    {"lblOutputDir", &IDS_MAIN_ARBUTTON_OutputDir}, {"lblProFile", &IDS_MAIN_LABEL_ProFile},
    {"btnEditProfile", &IDS_MAIN_ARBUTTON_EditProFile},
    {"btnOutputDir", &IDS_MAIN_ARBUTTON_Browse},    {"btnConvert", &IDS_MAIN_ARBUTTON_Convert},
    {"rdoAVI", &IDS_MAIN_RADIOBUTTON_ToAVI},        {"rdoMP4", &IDS_MAIN_RADIOBUTTON_ToMP4},
    {"rdo3GP", &IDS_MAIN_RADIOBUTTON_To3GP},        {"rdoMPEG", &IDS_MAIN_RADIOBUTTON_ToMPEG},
    {"rdoMOV", &IDS_MAIN_RADIOBUTTON_ToMOV},        {"rdoWMV", &IDS_MAIN_RADIOBUTTON_ToWMV},
    {"rdoRM", &IDS_MAIN_RADIOBUTTON_ToRM},          {"rdoSWF", &IDS_MAIN_RADIOBUTTON_ToSWF},
    {"rdoOthers", &IDS_MAIN_RADIOBUTTON_ToOthers},  {"miAAC", &IDS_MAIN_MENUITEM_ToAAC},
    {"miAC3", &IDS_MAIN_MENUITEM_ToAC3},            {"miMP2", &IDS_MAIN_MENUITEM_ToMP2},
    {"miMP3", &IDS_MAIN_MENUITEM_ToMP3},            {"miAMR", &IDS_MAIN_MENUITEM_ToAMR},
    {"miWAV", &IDS_MAIN_MENUITEM_ToWAV},            {"miVOB", &IDS_MAIN_MENUITEM_ToVOB},
    {"miASF", &IDS_MAIN_MENUITEM_ToASF},            {"miHelpContent", &IDS_MAIN_MENUITEM_HelpContent},
    {"mniLanguages", &IDS_MAIN_MENUITEM_Language},  {"mniOnlineResources", &IDS_MAIN_MENUITEM_OnlineResources},
    {"mniTechnicalSupport", &IDS_MAIN_MENUITEM_TechnicalSupport}, {"miAbout", &IDS_MAIN_MENUITEM_About},
    {"miAdd", &IDS_MAIN_MENUITEM_AddFiles},         {"miSetting", &IDS_MAIN_MENUITEM_Setting},
    {"miHelp", &IDS_MAIN_MENUITEM_HelpContent},     {"miPlaySource", &IDS_MAIN_MENUITEM_PlaySource},
    {"miOpenDestinationFolder", &IDS_MAIN_MENUITEM_OpenDes}, {"miDelete", &IDS_MAIN_MENUITEM_Delete},
    {"miClearList", &IDS_MAIN_MENUITEM_ClearList},  {"miAddFiles", &IDS_MAIN_MENUITEM_AddFiles},
    {"miAddNewOne", &IDS_MAIN_MENUITEM_Add},
    {"miDeleteProfiles", &IDS_MAIN_MENUITEM_DeleteFile}, {"miRename", &IDS_MAIN_MENUITEM_Rename},
    {"miTrayExit", &IDS_MAIN_MENUITEM_StopEncoding}, {"btnMore", &IDS_MAIN_LABEL_More},
    {"lblGeneral", &IDS_MAIN_LABEL_General},        {"lblCompleteName", &IDS_MAIN_LABEL_CompleteName},
    {"lblFormat", &IDS_MAIN_LABEL_Format},          {"lblVideo", &IDS_MAIN_LABEL_Video},
    {"lblCodec", &IDS_MAIN_LABEL_Codec},            {"lblCodecs", &IDS_MAIN_LABEL_Codec},
    {"lblWidth", &IDS_MAIN_LABEL_Width},            {"lblHeight", &IDS_MAIN_LABEL_Height},
    {"lblAudio", &IDS_MAIN_LABEL_Audio},            {"lblBitrates", &IDS_MAIN_LABEL_Bitrate},
    {"lblBitrate", &IDS_MAIN_LABEL_Bitrate},        {"lblPlayTime", &IDS_MAIN_LABEL_PlayTime},
    {"lblAudioCount", &IDS_MAIN_LABEL_AudioCount},  {"lblVideoCount", &IDS_MAIN_LABEL_VideoCount},
    {"lblAspectRatio", &IDS_MAIN_LABEL_AspectRatio}, {"lblFrameRate", &IDS_MAIN_LABEL_FrameRate},
    {"lblChannels", &IDS_MAIN_LABEL_Channels},      {"lblSamplingRate", &IDS_MAIN_LABEL_SamplingRate}};

// Puts a text on whatever kind of component carries it.
void SetComponentText(TComponent* c, const std::string& text) {
  if (auto* b = As<TOrvCustomButton>(c))
    b->SetCaption(text);
  else if (auto* sb = As<TskCustomButton>(c))
    sb->SetCaption(text);
  else if (auto* m = As<TMenuItem>(c))
    m->SetCaption(text);
  else if (auto* a = As<TAction>(c))
    a->SetCaption(text);
  else if (auto* ctl = As<TControl>(c))
    ctl->SetCaption(text);
}

// The width of a control's caption in its own font.
int TextWidth(TControl* control) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, control->GetFont()->Handle());
  const std::string text = control->GetCaption();
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return int(size.cx);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}
std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
std::string ExtOf(const std::string& path) {
  std::string name = NameOf(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot);
}
bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

ORV_DEFINE_CLASS(TfrmMain, TForm, nullptr, {})

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {
  // The layout's pictures are PNG: keep the PNG class (and its registration) in the program.
  (void)TPngPicture::StaticClassInfo();
  if (!frmMain) frmMain = this;
  SetEditorInputInteger(InputIntegerDialog);  // the editors' Configure buttons ask through it
  InitLayout();
}

void TfrmMain::DeclareLayout(TLayoutBinder& b) {
  b.Field("imgBackground", imgBackground);
  b.Field("lblTitle", lblTitle);
  b.Field("lblStatus", lblStatus);
  b.Field("lblOutputDir", lblOutputDir);
  b.Field("lblProFile", lblProFile);
  b.Field("Label1", Label1);
  b.Field("btnMin", btnMin);
  b.Field("btnHelp", btnHelp);
  b.Field("btnClose", btnClose);
  b.Field("btnOpen", btnOpen);
  b.Field("btnAdd", btnAdd);
  b.Field("btnDelete", btnDelete);
  b.Field("btnUp", btnUp);
  b.Field("btnDown", btnDown);
  b.Field("lsvFileName", lsvFileName);
  b.Field("pnlMediaInfo", pnlMediaInfo);
  b.Field("btnMore", btnMore);
  b.Field("lblCompleteNameText", lblCompleteNameText);
  b.Field("lblPlayTimeText", lblPlayTimeText);
  b.Field("lblFormatText", lblFormatText);
  b.Field("lblAudioCountText", lblAudioCountText);
  b.Field("lblVideoCountText", lblVideoCountText);
  b.Field("lblCodecText", lblCodecText);
  b.Field("lblWidthText", lblWidthText);
  b.Field("lblHeightText", lblHeightText);
  b.Field("lblBitratesText", lblBitratesText);
  b.Field("lblAspectRatioText", lblAspectRatioText);
  b.Field("lblFrameRateText", lblFrameRateText);
  b.Field("lblCodecsText", lblCodecsText);
  b.Field("lblBitrateText", lblBitrateText);
  b.Field("lblChannelsText", lblChannelsText);
  b.Field("lblSamplingRateText", lblSamplingRateText);
  b.Field("rdoOthers", rdoOthers);
  b.Field("btnEditProfile", btnEditProfile);
  b.Field("btnProfileAdditional", btnProfileAdditional);
  b.Field("btnOutputDir", btnOutputDir);
  b.Field("btnConvert", btnConvert);
  b.Field("txtOutputDir", txtOutputDir);
  b.Field("aclAction", aclAction);
  b.Field("actHelpContent", actHelpContent);
  b.Field("actMin", actMin);
  b.Field("actExit", actExit);
  b.Field("actOnlineResources", actOnlineResources);
  b.Field("actTechnicalSupport", actTechnicalSupport);
  b.Field("actAbout", actAbout);
  b.Field("actOthers", actOthers);
  b.Field("actBrowse", actBrowse);
  b.Field("actConvert", actConvert);
  b.Field("actOpen", actOpen);
  b.Field("actAdd", actAdd);
  b.Field("actDelete", actDelete);
  b.Field("actClearList", actClearList);
  b.Field("actSelectAll", actSelectAll);
  b.Field("actPlaySource", actPlaySource);
  b.Field("actMoveUp", actMoveUp);
  b.Field("actMoveDown", actMoveDown);
  b.Field("actMore", actMore);
  b.Field("actSettingsExecute", actSettingsExecute);
  b.Field("actOpenDestinationFolder", actOpenDestinationFolder);
  b.Field("actEditProfile", actEditProfile);
  b.Field("actAddNewProfile", actAddNewProfile);
  b.Field("actRenameProfileExecute", actRenameProfileExecute);
  b.Field("actDeleteProfiles", actDeleteProfiles);
  b.Field("actProfileAdditional", actProfileAdditional);
  b.Field("actHelp", actHelp);
  b.Field("mnuHelp", mnuHelp);
  b.Field("mnuOthers", mnuOthers);
  b.Field("mnuListViewNoFile", mnuListViewNoFile);
  b.Field("mnuListViewHaveFile", mnuListViewHaveFile);
  b.Field("mnuProfileAdditional", mnuProfileAdditional);
  b.Field("mnuTray", mnuTray);
  b.Field("mniLanguages", mniLanguages);
  b.Field("miSelectAll", miSelectAll);
  b.Field("miTrayShowWindow", miTrayShowWindow);
  b.Field("miTrayExit", miTrayExit);
  b.Field("TrayIcon", TrayIcon);
  b.Field("dlgOpenDialog", dlgOpenDialog);
  b.Field("ImgListIcon", ImgListIcon);
  b.Field("SkinData1", SkinData1);
  // The sixteen formats: one action and one profile list each, a radio button for the direct ones.
  for (const TFormatChoice& f : FormatChoices) {
    b.Field(std::string("act") + f.Name, FFormatActions[f.Format]);
    b.Field(std::string("cmb") + f.Name, FProfileCombos[f.Format]);
    if (f.Direct) b.Field(std::string("rdo") + f.Name, FFormatRadios[f.Format]);
  }

  b.Handler("FormCreate", this, &TfrmMain::FormCreate);
  b.Handler("FormDestroy", this, &TfrmMain::FormDestroy);
  b.Handler("aclActionUpdate", this, &TfrmMain::aclActionUpdate);
  b.Handler("actFormatExecute", this, &TfrmMain::actFormatExecute);
  b.Handler("actHelpContentExecute", this, &TfrmMain::actHelpContentExecute);
  b.Handler("actMinExecute", this, &TfrmMain::actMinExecute);
  b.Handler("actExitExecute", this, &TfrmMain::actExitExecute);
  b.Handler("actOnlineResourcesExecute", this, &TfrmMain::actOnlineResourcesExecute);
  b.Handler("actTechnicalSupportExecute", this, &TfrmMain::actTechnicalSupportExecute);
  b.Handler("actAboutExecute", this, &TfrmMain::actAboutExecute);
  b.Handler("actOthersExecute", this, &TfrmMain::actOthersExecute);
  b.Handler("actBrowseExecute", this, &TfrmMain::actBrowseExecute);
  b.Handler("actConvertExecute", this, &TfrmMain::actConvertExecute);
  b.Handler("actOpenExecute", this, &TfrmMain::actOpenExecute);
  b.Handler("actAddExecute", this, &TfrmMain::actAddExecute);
  b.Handler("actDeleteExecute", this, &TfrmMain::actDeleteExecute);
  b.Handler("actClearListExecute", this, &TfrmMain::actClearListExecute);
  b.Handler("actSelectAllExecute", this, &TfrmMain::actSelectAllExecute);
  b.Handler("actPlaySourceExecute", this, &TfrmMain::actPlaySourceExecute);
  b.Handler("actMoveUpExecute", this, &TfrmMain::actMoveUpExecute);
  b.Handler("actMoveDownExecute", this, &TfrmMain::actMoveDownExecute);
  b.Handler("actMoreExecute", this, &TfrmMain::actMoreExecute);
  b.Handler("actSettingsExecuteExecute", this, &TfrmMain::actSettingsExecuteExecute);
  b.Handler("actOpenDestinationFolderExecute", this, &TfrmMain::actOpenDestinationFolderExecute);
  b.Handler("actEditProfileExecute", this, &TfrmMain::actEditProfileExecute);
  b.Handler("actAddNewProfileExecute", this, &TfrmMain::actAddNewProfileExecute);
  b.Handler("actRenameProfileExecuteExecute", this, &TfrmMain::actRenameProfileExecuteExecute);
  b.Handler("actDeleteProfilesExecute", this, &TfrmMain::actDeleteProfilesExecute);
  b.Handler("actProfileAdditionalExecute", this, &TfrmMain::actProfileAdditionalExecute);
  b.Handler("actHelpExecute", this, &TfrmMain::actHelpExecute);
  b.Handler("lsvFileNameChange", this, &TfrmMain::lsvFileNameChange);
  b.Handler("lsvFileNameDblClick", this, &TfrmMain::lsvFileNameDblClick);
  b.Handler("lsvFileNameDeletion", this, &TfrmMain::lsvFileNameDeletion);
  b.Handler("lsvFileNameMouseDown", this, &TfrmMain::lsvFileNameMouseDown);
  b.Handler("TrayIconDblClick", this, &TfrmMain::TrayIconDblClick);
  b.Handler("miTrayExitClick", this, &TfrmMain::miTrayExitClick);
  b.Handler("mnuTrayPopup", this, &TfrmMain::mnuTrayPopup);
}

// ---- creation and destruction ----

void TfrmMain::FormCreate(TObject*) {
  // The forced "." decimal separator stays for the whole run.
  Application->UpdateFormatSettings = false;
  FRedirector = new TRedirector();
  FDriver = new TConversionDriver(*this, *FRedirector);
  SetMessageHandler(WM_STARTNEXTFILE, [this](TMessage& m) { WMStartNextFile(m); });
  SetMessageHandler(WM_DROPFILES, [this](TMessage& m) { WMDropFiles(m); });
  SetMessageHandler(WM_UPDATESUMMARY, [this](TMessage& m) { WMUpdateSummary(m); });
  LinkControls();
  Application->OnMessage = [this](MSG& msg, bool& handled) {
    if (!handled) handled = HandleShortCut(msg);
  };
  // The tray icon opens this program's popup menus.
  TrayMenuServices().Popup = [](TComponent* menu, TComponent* popupComponent, int x, int y) {
    if (auto* m = As<TPopupMenu>(menu)) {
      m->PopupComponent = popupComponent;
      m->Popup(x, y);
    }
  };
  TrayMenuServices().AutoPopup = [](TComponent* menu) {
    auto* m = As<TPopupMenu>(menu);
    return m && m->GetAutoPopup();
  };
  TrayMenuServices().ClickDefaultItem = [](TComponent* menu) {
    auto* m = As<TPopupMenu>(menu);
    TMenuItem* item = m ? m->DefaultItem() : nullptr;
    if (!item) return false;
    item->Click();
    return true;
  };

  // Options that cannot be written (a program folder without write rights) are reported and the
  // window is set up with them all the same: the program works, it only cannot keep its options.
  try {
    LoadOptions();
  } catch (const Exception&) {
    Application->HandleException(this);
  }
  RestoreOutputFormat();
  BuildLanguageMenu();
  ApplyLanguage();
  DragAcceptFiles(Handle(), TRUE);
  UpdateSummary();
  if (FFormatRadios[0]) FFormatRadios[0]->SetEnabled(true);
  SetCaption(std::to_string(reinterpret_cast<uintptr_t>(Handle())));
}

void TfrmMain::FormDestroy(TObject*) {
  Application->OnMessage = nullptr;
  if (HandleAllocated()) DragAcceptFiles(Handle(), FALSE);
  frmAbout = nullptr;  // freed with this window, its owner
  delete FDriver;  // first: it unhooks itself from the runner
  FDriver = nullptr;
  delete FRedirector;  // kills an encoder that still runs
  FRedirector = nullptr;
  if (frmMain == this) frmMain = nullptr;
}

// Buttons, radio buttons and the "others" button follow their actions.
void TfrmMain::LinkControls() {
  const std::pair<TControl*, TAction*> links[] = {
      {btnMin, actMin},     {btnHelp, actHelp},         {btnClose, actExit},       {btnOpen, actOpen},
      {btnAdd, actAdd},     {btnDelete, actDelete},     {btnUp, actMoveUp},        {btnDown, actMoveDown},
      {btnMore, actMore},   {rdoOthers, actOthers},     {btnEditProfile, actEditProfile},
      {btnProfileAdditional, actProfileAdditional},     {btnOutputDir, actBrowse}, {btnConvert, actConvert}};
  for (const auto& link : links) LinkAction(link.first, link.second);
  for (const TFormatChoice& f : FormatChoices)
    if (f.Direct) LinkAction(FFormatRadios[f.Format], FFormatActions[f.Format]);
}

bool TfrmMain::HandleShortCut(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (!HandleAllocated() || !IsWindowEnabled(Handle()) || GetAncestor(msg.hwnd, GA_ROOT) != Handle()) return false;
  int sc = ShortCutOfKeyMessage(msg);
  // Keys that edit text stay with the output folder box.
  char cls[32] = "";
  GetClassNameA(msg.hwnd, cls, sizeof(cls));
  bool inEdit = SameText(cls, "TEdit") || SameText(cls, "Edit");
  bool editKey = !(sc & (scCtrl | scAlt)) && !((sc & 0xFF) >= VK_F1 && (sc & 0xFF) <= VK_F12);
  if (inEdit && (editKey || sc == (scCtrl | 'A'))) return false;
  return aclAction->IsShortCut(sc);
}

void TfrmMain::ShellOpen(const std::string& verb, const std::string& file) {
  OpenWithShell(HandleAllocated() ? Handle() : nullptr, verb, file);
}

void TfrmMain::CenterOver(TCustomForm* form) const {
  form->SetBounds(GetLeft() + (GetWidth() - form->GetWidth()) / 2, GetTop() + (GetHeight() - form->GetHeight()) / 2,
                  form->GetWidth(), form->GetHeight());
}

void TfrmMain::aclActionUpdate(TBasicAction*, bool&) { pnlMediaInfo->SetVisible(lsvFileName->Count() > 0); }

// ---- output format ----

void TfrmMain::SelectOutputFormat(TAction* action) {
  for (const TFormatChoice& f : FormatChoices) {
    TAction* a = FFormatActions[f.Format];
    if (f.Direct)
      a->SetEnabled(true);
    else
      a->SetChecked(false);
  }
  actOthers->SetEnabled(true);
  for (const TFormatChoice& f : FormatChoices) {
    if (FFormatActions[f.Format] != action) continue;
    if (f.Direct)
      action->SetEnabled(false);
    else
      action->SetChecked(true);
    ShowProfileCombo(FProfileCombos[f.Format]);
    Options.OutputFormat = f.Format;
    if (f.Direct) FFormatRadios[f.Format]->SetEnabled(true);
  }
  // The current direct format's radio button shows as chosen; an "others" format leaves all eight clear.
  for (const TFormatChoice& f : FormatChoices)
    if (f.Direct) FFormatRadios[f.Format]->SetChecked(FFormatActions[f.Format] == action);
}

// The lists lie at one place and only the current format's shows: a list behind it would still take the
// focus on Tab without the user seeing it. Hidden lists make their windows when first shown.
void TfrmMain::ShowProfileCombo(TComboBox* front) {
  const bool hadFocus = FFrontCombo && FFrontCombo != front && FFrontCombo->Focused();
  front->SetVisible(true);
  front->BringToFront();
  for (TComboBox* c : FProfileCombos)
    if (c && c != front) c->SetVisible(false);
  FFrontCombo = front;
  if (hadFocus && front->CanFocus()) front->SetFocus();
}

void TfrmMain::RestoreOutputFormat() {
  if (Options.OutputFormat < FormatCount) SelectOutputFormat(FFormatActions[Options.OutputFormat]);
  txtOutputDir->SetText(Options.LastOutputOpenDir);
}

int TfrmMain::CurrentFormat() const {
  for (const TFormatChoice& f : FormatChoices) {
    TAction* a = FFormatActions[f.Format];
    if (f.Direct ? !a->GetEnabled() : a->GetChecked()) return f.Format;
  }
  return -1;
}

void TfrmMain::actFormatExecute(TObject* Sender) {
  if (auto* a = As<TAction>(Sender)) SelectOutputFormat(a);
}

void TfrmMain::actOthersExecute(TObject*) {
  POINT p;
  GetCursorPos(&p);
  mnuOthers->Popup(p.x, p.y);
}

// ---- language texts and profile lists ----

void TfrmMain::ApplyLanguage() {
  for (const TCaptionText& t : kCaptionTexts)
    if (TComponent* c = FindComponent(t.Component)) SetComponentText(c, *t.Text);
  lblTitle->SetCaption(AppTitle);
  std::string filter = BuildFilterString(FilterList);
  dlgOpenDialog->SetFilter(filter);
  ShowMediaInfo();
  UpdateSummary();
  LoadProfileLists();
  ArrangeFormatRadios();
  ArrangeMediaPanel();
}

TOrvLabel* TfrmMain::MediaCaption(TOrvLabel* value) const {
  // Each value label is named after its caption with "Text" added.
  const std::string name = value->GetName();
  return As<TOrvLabel>(FindComponent(name.substr(0, name.size() - 4)));
}

void TfrmMain::ArrangeMediaPanel() {
  // The captions' column is as wide as its longest caption in this language, the values take the rest
  // of the panel; a caption never takes more than would leave the values a third of the panel.
  const int gap = 4, margin = 4;
  int column = 0, left = 0;
  for (const TMediaLabel& l : kMediaLabels)
    if (TOrvLabel* caption = MediaCaption(this->*l.Label)) {
      column = std::max(column, TextWidth(caption));
      left = caption->GetLeft();
    }
  column = std::min(column, pnlMediaInfo->GetWidth() * 2 / 3 - left - gap - margin);
  const int valueLeft = left + column + gap;
  for (const TMediaLabel& l : kMediaLabels) {
    TOrvLabel* value = this->*l.Label;
    if (TOrvLabel* caption = MediaCaption(value)) caption->SetWidth(column);
    value->SetBounds(valueLeft, value->GetTop(), pnlMediaInfo->GetWidth() - margin - valueLeft, value->GetHeight());
  }
}

void TfrmMain::ArrangeFormatRadios() {
  const int firstTop = 343, rowHeight = 19, gap = 4;
  const int box = GetSystemMetrics(SM_CXMENUCHECK) + 6;  // the round box and the space before the text
  const int rowLeft = Label1->GetLeft() + TextWidth(Label1) + gap;
  const int right = rdoOthers->GetLeft() - gap;
  Label1->SetTop(firstTop + 1);
  int x = rowLeft, top = firstTop;
  for (const TFormatChoice& f : FormatChoices) {
    TFcRadioButton* radio = f.Direct ? FFormatRadios[f.Format] : nullptr;
    if (!radio) continue;
    const int width = box + TextWidth(radio) + 2;
    if (x > rowLeft && x + width > right) {
      x = rowLeft;
      top += rowHeight;
    }
    radio->SetBounds(x, top, width, 17);
    x += width + gap;
  }
}

void TfrmMain::BuildLanguageMenu() {
  // Our menus add no accelerator characters, so item captions stay the display names the click compares.
  FLanguages = std::make_unique<TOrvMultiLanguages>(LangsDir, "LanguageName", LanguageTextSection);
  const std::string current = ExtractFileName(LanguageFile);
  for (int i = 0; i < FLanguages->GetCount(); ++i) {
    auto* item = new TMenuItem(mniLanguages);
    item->SetCaption(FLanguages->GetLanguageName(i));
    item->OnClick = [this](TObject* sender) { LanguageMenuClick(sender); };
    mniLanguages->Add(item);
    if (SameText(current, FLanguages->GetLanguageName(i) + ".ini")) {
      item->SetChecked(true);
      FLanguages->SetItemIndex(i);
    }
  }
}

void TfrmMain::LanguageMenuClick(TObject* Sender) {
  auto* clicked = As<TMenuItem>(Sender);
  if (!clicked || !FLanguages || FLanguages->GetCount() == 0) return;
  // Equal display names: the last file of the enumeration wins.
  int chosen = -1;
  for (int i = 0; i < mniLanguages->Count(); ++i)
    if (SameText(FLanguages->GetLanguageName(i), clicked->GetCaption())) chosen = i;
  if (chosen < 0) return;
  if (!SwitchLanguageFile(FLanguages->GetFileName(chosen))) return;  // it said why; nothing changed
  FLanguages->SetItemIndex(chosen);
  for (int i = 0; i < mniLanguages->Count(); ++i) mniLanguages->Items(i)->SetChecked(false);
  clicked->SetChecked(true);
  ApplyLanguage();
}

void TfrmMain::FillProfileCombo(TComboBox* combo, const std::string& pattern, const std::string& select) {
  std::vector<std::string> names = ListProfileNames(pattern);
  combo->SetItems(names);
  combo->SetItemIndex(ProfileIndexToSelect(names, select));
}

void TfrmMain::LoadProfileLists() {
  // Each fill (start-up, language switch) shows every list's first profile, whatever was chosen before.
  ::LoadProfileLists(HandleAllocated() ? Handle() : nullptr, [this](TOutputFormat format, const std::string& pattern) {
    FillProfileCombo(FProfileCombos.at(format), pattern, "");
  });
}

// ---- file list ----

bool TfrmMain::IsSupportedExt(const std::string& ext) const { return IsSupportedExtension(ext, FilterList); }

std::string TfrmMain::ValueOrNone(const std::string& value) const { return value.empty() ? IDS_None : value; }

TFileItem* TfrmMain::FileItemOf(int index) const {
  return index >= 0 && index < lsvFileName->Count() ? static_cast<TFileItem*>(lsvFileName->Item(index)->Data)
                                                    : nullptr;
}

void TfrmMain::AddFile(const std::string& path) {
  RunAddBatch([&] { AddFileInBatch(path, nullptr, 0); });
}

void TfrmMain::AddFiles(const std::vector<std::string>& paths) { AddPaths(paths, false); }

void TfrmMain::AddPaths(const std::vector<std::string>& paths, bool skipFolders) {
  RunAddBatch([&] {
    TMediaReadAhead readAhead(paths, ReadAheadWanted(paths), [] { Application->ProcessMessages(); });
    for (size_t i = 0; i < paths.size(); ++i)
      if (!skipFolders || !IsFolder(paths[i])) AddFileInBatch(paths[i], &readAhead, i);
  });
}

std::vector<bool> TfrmMain::ReadAheadWanted(const std::vector<std::string>& paths) const {
  // The files that would be added if nothing changed meanwhile: supported, not listed yet and not
  // named earlier in the batch. A guess only: AddFileInBatch decides as before.
  std::vector<bool> wanted(paths.size(), false);
  std::unordered_set<std::string> seen;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!IsSupportedExt(ExtOf(paths[i]))) continue;
    const std::string key = FilePathKey(paths[i]);
    if (key.empty() || !seen.insert(key).second || IsListed(paths[i], key)) continue;
    wanted[i] = true;
  }
  return wanted;
}

void TfrmMain::RunAddBatch(const std::function<void()>& add) {
  BeginAddBatch();
  try {
    add();
  } catch (...) {
    EndAddBatch();
    throw;
  }
  EndAddBatch();
}

void TfrmMain::BeginAddBatch() {
  if (FAddBatchDepth++ > 0) return;
  BeginWaitCursor();
  FAddBatchPumped = false;
  FMediaLibraryReported = false;
  FListedKeys.clear();
  FListedKeysComplete = true;
  for (int i = 0; i < lsvFileName->Count(); ++i) RememberListed(FilePathKey(lsvFileName->Item(i)->GetCaption()));
  lsvFileName->BeginUpdate();
}

void TfrmMain::EndAddBatch() {
  if (FAddBatchDepth == 0 || --FAddBatchDepth > 0) return;
  FListedKeys.clear();
  lsvFileName->EndUpdate();
  UpdateSummary();
  ShowMediaInfo();
  lsvFileName->Repaint();
  EndWaitCursor();
}

void TfrmMain::RememberListed(const std::string& key) {
  if (key.empty())
    FListedKeysComplete = false;
  else
    FListedKeys.insert(key);
}

bool TfrmMain::IsListed(const std::string& path, const std::string& key) const {
  // Comparing with every entry for every added file would cost the square of the list's length: the
  // batch's keys tell a new file at once. Keys of entries deleted meanwhile only cost the scan below.
  if (FAddBatchDepth > 0 && FListedKeysComplete && !key.empty() && !FListedKeys.count(key)) return false;
  for (int i = 0; i < lsvFileName->Count(); ++i)
    if (SameFilePath(lsvFileName->Item(i)->GetCaption(), path)) return true;
  return false;
}

void TfrmMain::AddFileInBatch(const std::string& path, TMediaReadAhead* readAhead, size_t index) {
  // Messages get through before the first file and then at least every AddBatchPumpMs, so the window
  // keeps repainting and taking input; letting them through before every file costs more than that.
  if (!FAddBatchPumped || GetTickCount() - FLastAddBatchPump >= AddBatchPumpMs) {
    Application->ProcessMessages();
    FAddBatchPumped = true;
    FLastAddBatchPump = GetTickCount();
  }
  if (!IsFile(path) || !IsSupportedExt(ExtOf(path))) return;
  // One entry per file: the file system ignores letter case, so does the list.
  const std::string key = FilePathKey(path);
  if (IsListed(path, key)) return;
  auto* item = new TFileItem;
  item->FileName = NameOf(path);
  item->FilePath = FolderOf(path);
  TMediaValues values = readAhead ? readAhead->Take(index) : ReadMediaValues(path);
  for (int i = 0; i < FileItemValueCount; ++i) item->*FileItemValues[i] = ValueOrNone(values[size_t(i)]);
  // Current libraries name and size any file they can open, media or not; a file whose container
  // they do not recognise (no Format) is refused as well.
  if (item->CompleteName == IDS_None || item->FileSize == IDS_None || item->Format == IDS_None) {
    delete item;
    if (!MediaInfoDllLoaded() && !MediaInfoDllFailure().Path.empty()) {
      // Without the library no file has details: one message says so, not one per file.
      if (!FMediaLibraryReported)
        PromptMessageBox(Format(IDS_MESSAGEBOX_MediaLibraryError, {MediaInfoDllFailure().Path, MediaInfoDllFailure().Reason}),
                         IDS_MESSAGEBOX_Error, MB_ICONERROR | MB_OK);
      FMediaLibraryReported = true;
      return;
    }
    PromptMessageBox(Format(IDS_MESSAGEBOX_FormatError, {path}), IDS_MESSAGEBOX_Error, MB_ICONINFORMATION | MB_OK);
    return;
  }
  TListItem* entry = lsvFileName->Add(item->FilePath + item->FileName, 0);
  for (int i = 0; i < FileItemValueCount; ++i) entry->SubItems.push_back(item->*FileItemValues[i]);
  entry->Data = item;
  RememberListed(key);
}

void TfrmMain::OpenFiles(bool clearFirst) {
  dlgOpenDialog->SetInitialDir(Options.LastInputOpenDir);
  if (!dlgOpenDialog->Execute()) return;
  std::vector<std::string> files = dlgOpenDialog->Files();
  BeginWaitCursor();
  try {
    if (clearFirst) ClearFileList();
    AddFiles(files);
    SelectListItem(lsvFileName, lsvFileName->Count());
    if (!files.empty()) Options.LastInputOpenDir = FolderOf(files[0]);
    if (files.size() > 1) dlgOpenDialog->SetFileName("");
  } catch (...) {
    EndWaitCursor();
    throw;
  }
  EndWaitCursor();
}

void TfrmMain::DropFiles(const std::vector<std::string>& paths) {
  AddPaths(paths, true);  // folders are skipped, not searched
  SelectListItem(lsvFileName, lsvFileName->Count());
}

void TfrmMain::WMDropFiles(TMessage& m) {
  auto drop = reinterpret_cast<HDROP>(m.WParam);
  std::vector<std::string> paths;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // The whole path, however long.
    UINT len = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(len + 1, '\0');
    DragQueryFileA(drop, i, &path[0], len + 1);
    path.resize(len);
    paths.push_back(path);
  }
  DragFinish(drop);
  DropFiles(paths);
  m.Result = 0;
}

void TfrmMain::RemoveFile(const std::string& path) {
  for (int i = 0; i < lsvFileName->Count(); ++i)
    if (lsvFileName->Item(i)->GetCaption() == path) {
      lsvFileName->Delete(i);  // the deletion handler frees the entry's data once the row is gone
      UpdateSummary();
      return;
    }
}

void TfrmMain::ClearFileList() {
  lsvFileName->BeginUpdate();
  lsvFileName->Clear();
  lsvFileName->EndUpdate();
  UpdateSummary();
}

void TfrmMain::UpdateSummary() {
  FSummaryPending = false;
  lblStatus->SetCaption(SummaryText(lsvFileName->Count()));
  aclAction->UpdateActions();
}

void TfrmMain::WMUpdateSummary(TMessage& m) {
  if (FSummaryPending) UpdateSummary();  // not when brought up to date since (a batch's next file waits)
  m.Result = 0;
}

void TfrmMain::SelectListItem(TListView* list, int index) {
  if (list->Count() == 0) return;
  list->ClearSelection();
  if (index > list->Count() - 1) index = list->Count() - 1;
  if (index < 0) index = 0;
  TListItem* item = list->Item(index);
  item->MakeVisible(true);
  item->SetSelected(true);
  item->SetFocused(true);
}

void TfrmMain::MoveListItem(TListView* list, TListItem* item, bool up) {
  if (!item) return;
  int target = MoveInsertIndex(item->Index(), list->Count(), up);
  if (target < 0) return;
  list->BeginUpdate();
  TListItem* moved = list->Insert(target);
  moved->SetCaption(item->GetCaption());
  moved->SetImageIndex(item->GetImageIndex());
  moved->SubItems = item->SubItems;
  moved->Data = item->Data;
  item->Data = nullptr;  // the data moved with the copy
  list->ClearSelection();
  moved->SetSelected(true);
  moved->SetFocused(true);
  list->Delete(item->Index());
  list->EndUpdate();
  moved->MakeVisible(false);
}

void TfrmMain::ShowMediaInfo() {
  TListItem* sel = lsvFileName->Selected();
  auto* info = sel ? static_cast<TFileItem*>(sel->Data) : nullptr;
  if (info) pnlMediaInfo->SetVisible(true);
  for (const TMediaLabel& l : kMediaLabels) (this->*l.Label)->SetCaption(info ? info->*l.Value : IDS_None);
}

void TfrmMain::actOpenExecute(TObject*) { OpenFiles(true); }
void TfrmMain::actAddExecute(TObject*) { OpenFiles(false); }

void TfrmMain::actDeleteExecute(TObject*) {
  if (lsvFileName->SelCount() == 0) return;
  std::vector<int> deleted;
  lsvFileName->BeginUpdate();
  for (int i = lsvFileName->Count() - 1; i >= 0; --i)
    if (lsvFileName->Item(i)->GetSelected()) {
      deleted.push_back(i);
      lsvFileName->Delete(i);
    }
  lsvFileName->EndUpdate();
  SelectListItem(lsvFileName, SelectionAfterDelete(deleted));
}

void TfrmMain::actClearListExecute(TObject*) { ClearFileList(); }
void TfrmMain::actSelectAllExecute(TObject*) { lsvFileName->SelectAll(); }

void TfrmMain::actPlaySourceExecute(TObject*) {
  TListItem* sel = lsvFileName->Selected();
  if (!sel || !sel->Data) return;
  auto* info = static_cast<TFileItem*>(sel->Data);
  ShellOpen("", AddTrailingBackslash(info->FilePath) + info->FileName);
}

void TfrmMain::actMoveUpExecute(TObject*) { MoveListItem(lsvFileName, lsvFileName->Selected(), true); }
void TfrmMain::actMoveDownExecute(TObject*) { MoveListItem(lsvFileName, lsvFileName->Selected(), false); }

void TfrmMain::actMoreExecute(TObject*) {
  TListItem* sel = lsvFileName->Selected();
  if (!sel || !sel->Data) return;
  auto* info = static_cast<TFileItem*>(sel->Data);
  std::string path = AddTrailingBackslash(info->FilePath) + info->FileName;
  if (!IsFile(path)) return;
  if (!frmFileInfo) frmFileInfo = new TfrmFileInfo(this);
  CenterOver(frmFileInfo);
  frmFileInfo->SetCaption(Format(IDS_LABEL_FileInformation, {info->FileName}));
  frmFileInfo->ShowFileInfo(path);
  frmFileInfo->ShowModal();
}

void TfrmMain::lsvFileNameChange(TObject*, TListItem*, TItemChange) {
  if (FAddBatchDepth > 0) return;  // the batch's end brings both up to date once
  UpdateSummary();
  ShowMediaInfo();
}

void TfrmMain::lsvFileNameDblClick(TObject* Sender) { actPlaySourceExecute(Sender); }

void TfrmMain::lsvFileNameDeletion(TObject*, TListItem* Item) {
  // The row is gone by now: its data can go too.
  delete static_cast<TFileItem*>(Item->Data);
  Item->Data = nullptr;
  if (HandleAllocated() && !FSummaryPending) {
    FSummaryPending = true;
    PostMessageA(Handle(), WM_UPDATESUMMARY, 0, 0);
  }
}

void TfrmMain::lsvFileNameMouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  Application->ProcessMessages();
  if (Button != mbRight) return;
  POINT p;
  GetCursorPos(&p);
  (lsvFileName->Selected() ? mnuListViewHaveFile : mnuListViewNoFile)->Popup(p.x, p.y);
}

// ---- window, tray and shell actions ----

void TfrmMain::actHelpContentExecute(TObject*) {
  // Opening a missing file does nothing visible: say which file is missing instead.
  if (!IsFile(HelpFile)) {
    PromptMessageBox(Format(IDS_NoEncoder, {HelpFile}), IDS_LABEL_Hint, MB_OK | MB_ICONWARNING);
    return;
  }
  ShellOpen("Open", HelpFile);
}
void TfrmMain::actMinExecute(TObject*) { Application->Minimize(); }

void TfrmMain::actExitExecute(TObject*) {
  // Exit ends the program also when the options cannot be written; the user is told so first.
  try {
    SaveOptions();
  } catch (const Exception&) {
    Application->HandleException(this);
  }
  Application->Terminate();
}

void TfrmMain::actOnlineResourcesExecute(TObject*) { ShellOpen("Open", OnlineResourcesAddress); }
void TfrmMain::actTechnicalSupportExecute(TObject*) {
  ShellOpen("Open", std::string("mailto:") + TechnicalSupportAddress);
}

void TfrmMain::actBrowseExecute(TObject*) {
  std::string folder = Options.LastOutputOpenDir;
  if (BrowseForFolder(Handle(), folder, IDS_SelectFolder, "", 65)) {
    Options.LastOutputOpenDir = folder;
    txtOutputDir->SetText(folder);
  }
}

void TfrmMain::actOpenDestinationFolderExecute(TObject*) {
  // The check may offer to create the folder.
  if (FDriver->CheckOutputDir()) ShellOpen("Open", Trim(txtOutputDir->GetText()));
}

void TfrmMain::actHelpExecute(TObject*) {
  POINT p = btnHelp->ClientToScreen(POINT{0, btnHelp->GetHeight()});
  mnuHelp->Popup(p.x, p.y);
}

void TfrmMain::actProfileAdditionalExecute(TObject*) {
  POINT p = btnProfileAdditional->ClientToScreen(POINT{0, btnProfileAdditional->GetHeight()});
  mnuProfileAdditional->Popup(p.x, p.y);
}

// Created once, owned by this window and kept: it reopens where it was last dragged to.
void TfrmMain::actAboutExecute(TObject*) {
  if (!frmAbout) frmAbout = new TfrmAbout(this);
  frmAbout->ShowModal();
}

void TfrmMain::TrayIconDblClick(TObject*) {
  ShowWindow(Application->Handle(), SW_SHOW);
  Show();
  if (frmProgress) frmProgress->Show();
  TrayIcon->SetIconVisible(false);
}

void TfrmMain::miTrayExitClick(TObject*) {
  // During a batch the progress window asks how to stop.
  if (frmProgress)
    frmProgress->Close();
  else
    Close();
}
void TfrmMain::mnuTrayPopup(TObject*) {}
