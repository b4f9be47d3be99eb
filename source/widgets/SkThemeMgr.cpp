#include "SkThemeMgr.h"

#include <windows.h>

#include "Controls.h"
#include "Forms.h"
#include "SkUtils.h"

bool TskFileThemeMgr::LoadThemeFile(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  FReader.reset();
  FReader.reset(new TskThemeFileReader(path));
  return true;
}

void TskFileThemeMgr::GetBitmap(const std::string& entry, TGraphic* graphic) const {
  if (!FReader || !graphic) return;
  if (const std::vector<uint8_t>* data = FReader->GetStream(entry)) graphic->LoadFromBytes(*data);
}

bool TskFileThemeMgr::GetBool(const std::string& entry) const { return FReader && FReader->GetBool(entry) != 0; }
int TskFileThemeMgr::GetInt(const std::string& entry) const { return FReader ? FReader->GetInt(entry) : 0; }
TColor TskFileThemeMgr::GetColor(const std::string& entry) const { return FReader ? FReader->GetInt(entry) : 0; }

ORV_DEFINE_CLASS(TskFileTheme, TComponent, FactoryOf<TskFileTheme>(),
                 {StrProp<TskFileTheme>("ThemeFile", &TskFileTheme::GetThemeFile, &TskFileTheme::SetThemeFile)})

TskFileTheme::TskFileTheme(TComponent* owner) : TComponent(owner) {}

namespace {

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string FindThemeFile(const std::string& path) {
  if (FileExists(path)) return path;
  size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  char buf[MAX_PATH];
  std::vector<std::string> folders;
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  std::string exe(buf, n);
  folders.push_back(exe.substr(0, exe.find_last_of('\\') + 1));
  n = GetWindowsDirectoryA(buf, MAX_PATH);
  folders.push_back(WithBackslash(std::string(buf, n)));
  n = GetSystemDirectoryA(buf, MAX_PATH);
  folders.push_back(WithBackslash(std::string(buf, n)));
  for (const std::string& f : folders)
    if (FileExists(f + name)) return f + name;
  return std::string();
}

}  // namespace

void TskFileTheme::SetThemeFile(const std::string& path) {
  if (path == FThemeFile) return;
  std::string found = FindThemeFile(path);
  if (found.empty()) return;
  if (!TskThemeFileReader::IsThemeFile(found)) throw Exception("Invalid skin file: " + found);
  bool hadTheme = !FThemeFile.empty();
  FThemeFile = path;
  FLoaded = FManager.LoadThemeFile(found);
  auto* form = As<TCustomForm>(Owner());
  if (!FLoaded || !form) return;
  bool usedByFrame = false;
  auto components = form->ComponentList();
  for (TComponent* c : components) {
    const TPropInfo* p = c->ClassInfo().FindProp("FileTheme");
    if (!p || !p->GetObj || p->GetObj(c) != this) continue;
    if (c->InheritsFrom("TskForm")) usedByFrame = true;
    // Setting the reference again makes the component read the new theme.
    if (c->ClassName().compare(0, 3, "Tsk") == 0 && p->SetObj) p->SetObj(c, this);
  }
  if (usedByFrame && hadTheme && form->HandleAllocated())
    SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TskFileTheme::GetBitmap(int entry, TGraphic* graphic) const { FManager.GetBitmap(ThemeEntryName(entry), graphic); }

void TskFileTheme::GetFrame(int entry, TGraphic* graphic, int frame, int frameCount) const {
  if (!graphic) return;
  TBitmap whole, part;
  FManager.GetBitmap(ThemeEntryName(entry), &whole);
  ExtractFrame(&whole, &part, frameCount, frame);
  graphic->Assign(&part);
}

bool TskFileTheme::GetBool(int entry) const { return FManager.GetBool(ThemeEntryName(entry)); }
int TskFileTheme::GetInt(int entry) const { return FManager.GetInt(ThemeEntryName(entry)); }
TColor TskFileTheme::GetColor(int entry) const { return FManager.GetColor(ThemeEntryName(entry)); }

bool UseFileTheme(TskFileTheme* theme, TskUIStyle style, TskUIStyle& effectiveStyle) {
  effectiveStyle = style;
  if (style != FromThemeFile) return false;
  if (theme && theme->IsLoaded()) return true;
  effectiveStyle = DeepBlue;
  return false;
}

int StyleInt(TskFileTheme* theme, TskUIStyle style, int entry) {
  TskUIStyle s;
  return UseFileTheme(theme, style, s) ? theme->GetInt(entry) : GetBuiltInThemeInt(s, entry);
}
TColor StyleColor(TskFileTheme* theme, TskUIStyle style, int entry) {
  TskUIStyle s;
  return UseFileTheme(theme, style, s) ? theme->GetColor(entry) : GetBuiltInThemeColor(s, entry);
}
void StyleFrame(TskFileTheme* theme, TskUIStyle style, int entry, TBitmap* bitmap, int frame, int frames) {
  TskUIStyle s;
  if (UseFileTheme(theme, style, s))
    theme->GetFrame(entry, bitmap, frame, frames);
  else
    GetBuiltInThemeBitmap(s, entry, bitmap, frame, frames);
}
