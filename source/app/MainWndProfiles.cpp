// The main window's profile management: add, edit, rename and delete a profile of any of the sixteen
// formats. Every format is handled by the same four routines: its folder, extension and record routines
// come from the format table (profiles.h), its list from the window, its editor from
// ProfileEditorFactory.
#include "MainWnd.h"

#include "AppUtils.h"
#include "FileUtils.h"
#include "MultiLanguages.h"
#include "NameWnd.h"
#include "OrvUtils.h"
#include "ProfileEditors.h"
#include "ProfileLists.h"
#include "Prompter.h"
#include "Strings.h"

namespace {

// The failed delete: the language file holds no text for it either.
const char* const kDeleteFailedText = "The profile \"%s\" could not be deleted.";

std::string FormatOne(const std::string& pattern, const std::string& arg) {
  size_t at = pattern.find("%s");
  return at == std::string::npos ? pattern : pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

// Frees a form when the operation ends, also when a step raised.
struct TFormGuard {
  TCustomForm* Form;
  ~TFormGuard() {
    if (Form) Form->Free();
  }
};

struct TWaitCursorGuard {
  TWaitCursorGuard() { BeginWaitCursor(); }
  ~TWaitCursorGuard() { EndWaitCursor(); }
};

bool AskYesNo(const std::string& text, const std::string& caption) {
  return CustomMessageDlg(text, caption, mtConfirmation, {IDS_MESSAGE_BUTTON_Yes, IDS_MESSAGE_BUTTON_No},
                          Buttons({mbYes, mbNo})) == mrYes;
}

std::string BaseName(const std::string& path) { return ChangeFileExt(ExtractFileName(path), ""); }

bool ShowNameWindow(TfrmMain* owner, const std::string& initial, std::string& name) {
  TfrmName* window = new TfrmName(owner);
  TFormGuard guard{window};
  window->txtFileName->SetText(initial);
  window->ShowModal();
  if (!window->FAccepted) return false;
  name = window->txtFileName->GetText();
  return true;
}

}  // namespace

bool TfrmMain::AskName(const std::string& initial, std::string& name) {
  return AskProfileName ? AskProfileName(initial, name) : ShowNameWindow(this, initial, name);
}

int TfrmMain::RunEditor(TfrmProfileEditor* editor) {
  return RunProfileEditor ? RunProfileEditor(editor) : editor->ShowModal();
}

std::string TfrmMain::SelectedProfilePath(TOutputFormat format) const {
  return ProfileFilePath(format, ProfileCombo(format)->GetText());
}

// The format's editor, or null for an index that names no format.
static TfrmProfileEditor* CreateProfileEditor(TfrmMain* main, TOutputFormat format) {
  TProfileEditorFactory factory = ProfileEditorFactory(format);
  return factory ? factory(main) : nullptr;
}

void TfrmMain::AddNewProfile(TOutputFormat format) {
  const TOutputFormatInfo& info = OutputFormatInfo(format);
  TfrmProfileEditor* editor = CreateProfileEditor(this, format);
  if (!editor) return;
  TFormGuard editorGuard{editor};
  CenterOver(editor);
  info.Reset();  // a new profile never starts from the selected one
  editor->LoadSettings();
  if (RunEditor(editor) != mrOk) return;
  std::string name;
  if (!AskName("", name)) return;
  const std::string path = ProfileFilePath(format, name);
  // Only an explicit Yes replaces an existing profile: closing the question keeps the file.
  if (FileExists(path) && !AskYesNo(FormatOne(IDS_MESSAGEBOX_FileExists, path), IDS_MESSAGEBOX_Overwrite)) return;
  editor->SaveSettings();
  info.Save(path);
  FillProfileCombo(ProfileCombo(format), ProfilePattern(format), BaseName(path));
}

void TfrmMain::EditProfile(TOutputFormat format) {
  // Without a profile name there is nothing to edit; saving would write a file named only ".ext".
  if (ProfileCombo(format)->GetText().empty()) {
    AddNewProfile(format);
    return;
  }
  TWaitCursorGuard wait;  // on for the whole time the editor is open
  const TOutputFormatInfo& info = OutputFormatInfo(format);
  TfrmProfileEditor* editor = CreateProfileEditor(this, format);
  if (!editor) return;
  TFormGuard editorGuard{editor};
  CenterOver(editor);
  const std::string path = SelectedProfilePath(format);
  info.Load(path);
  editor->LoadSettings();
  if (RunEditor(editor) != mrOk) return;
  editor->SaveSettings();
  info.Save(path);
}

void TfrmMain::RenameProfile(TOutputFormat format) {
  TComboBox* combo = ProfileCombo(format);
  std::string name;
  if (!AskName(combo->GetText(), name)) return;
  const std::string oldPath = SelectedProfilePath(format);
  const std::string newPath = ReplaceFileName(oldPath, name);
  // MoveFile refuses an existing target, so another profile of that name is never replaced.
  if (!MoveFileA(oldPath.c_str(), newPath.c_str())) {
    PromptMessageBox(IDS_MESSAGEBX_RenameFailed, IDS_MESSAGEBOX_RenameFailedTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  FillProfileCombo(combo, ProfilePattern(format), BaseName(newPath));
}

void TfrmMain::DeleteProfile(TOutputFormat format) {
  TComboBox* combo = ProfileCombo(format);
  if (combo->ItemCount() == 1) {
    PromptMessageBox(IDS_MESSAGEBOX_LastProfile, IDS_MESSAGEBOX_LastProfileTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!AskYesNo(FormatOne(IDS_MESSAGEBOX_SureDeleteProfile, combo->GetText()), IDS_MESSAGEBOX_SureDeleteProfileTitle))
    return;
  const std::string path = SelectedProfilePath(format);
  if (!DeleteFileA(path.c_str())) {
    PromptMessageBox(FormatOne(kDeleteFailedText, combo->GetText()), IDS_MESSAGEBOX_SureDeleteProfileTitle,
                     MB_OK | MB_ICONINFORMATION);
    return;
  }
  FillProfileCombo(combo, ProfilePattern(format), "");
}

// ---- the actions: the current format's routine ----

void TfrmMain::actEditProfileExecute(TObject*) {
  int f = CurrentFormat();
  if (f >= 0) EditProfile(TOutputFormat(f));
}
void TfrmMain::actAddNewProfileExecute(TObject*) {
  int f = CurrentFormat();
  if (f >= 0) AddNewProfile(TOutputFormat(f));
}
void TfrmMain::actRenameProfileExecuteExecute(TObject*) {
  int f = CurrentFormat();
  if (f >= 0) RenameProfile(TOutputFormat(f));
}
void TfrmMain::actDeleteProfilesExecute(TObject*) {
  int f = CurrentFormat();
  if (f >= 0) DeleteProfile(TOutputFormat(f));
}
