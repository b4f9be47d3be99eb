#include "Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "Forms.h"

static std::vector<std::string> OptionNames() {
  return {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofAllowMultiSelect",
          "ofPathMustExist", "ofFileMustExist", "ofEnableSizing"};
}

ORV_DEFINE_CLASS(TOpenDialog, TComponent, FactoryOf<TOpenDialog>(),
                 {StrProp<TOpenDialog>("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt),
                  StrProp<TOpenDialog>("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName),
                  StrProp<TOpenDialog>("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter),
                  StrProp<TOpenDialog>("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir),
                  SetProp<TOpenDialog>("Options", OptionNames(), &TOpenDialog::GetOptions, &TOpenDialog::SetOptions),
                  StrProp<TOpenDialog>("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle)})
ORV_DEFINE_CLASS(TSaveDialog, TOpenDialog, FactoryOf<TSaveDialog>(), {})

static TOpenDialog::TDialogChooser& Chooser() {
  static TOpenDialog::TDialogChooser chooser;
  return chooser;
}

TOpenDialog::TDialogChooser TOpenDialog::SetChooser(TDialogChooser chooser) {
  TDialogChooser old = Chooser();
  Chooser() = std::move(chooser);
  return old;
}

std::vector<std::string> SplitMultiSelection(const char* buffer) {
  std::vector<std::string> parts;
  for (const char* p = buffer; *p; p += strlen(p) + 1) parts.push_back(p);
  if (parts.size() <= 1) return parts;
  std::string folder = parts[0];
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  std::vector<std::string> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  return files;
}

bool TOpenDialog::Execute() {
  FFiles.clear();
  if (Chooser()) {
    std::vector<std::string> files;
    if (!Chooser()(this, files)) return false;
    FFiles = files;
    if (!FFiles.empty()) FFileName = FFiles[0];
    return true;
  }
  std::string filter = FFilter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  // Room for many long names in one multi-selection.
  std::vector<char> buffer(size_t(1) << 20, '\0');
  FFileName.copy(buffer.data(), std::min(FFileName.size(), buffer.size() - 2));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
  ofn.hwndOwner = active && active->HandleAllocated() ? active->Handle() : Application->Handle();
  ofn.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = DWORD(buffer.size());
  ofn.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
  ofn.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
  ofn.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (FOptions & (1u << ofOverwritePrompt)) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (FOptions & (1u << ofHideReadOnly)) ofn.Flags |= OFN_HIDEREADONLY;
  if (FOptions & (1u << ofAllowMultiSelect)) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (FOptions & (1u << ofPathMustExist)) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (FOptions & (1u << ofFileMustExist)) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (FOptions & (1u << ofEnableSizing)) ofn.Flags |= OFN_ENABLESIZING;
  BOOL ok = IsSave() ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!ok) return false;
  FFiles = (FOptions & (1u << ofAllowMultiSelect)) ? SplitMultiSelection(buffer.data())
                                                     : std::vector<std::string>{buffer.data()};
  FFileName = FFiles.empty() ? "" : FFiles[0];
  return !FFiles.empty();
}
