#include "FcRegIniFile.h"

#include <shlobj.h>

namespace {
using RI = TFcRegIniFile;
// Functions, not globals: the controller's class (FcFrameController.cpp) builds this class's description
// while this file's globals may not exist yet.
const std::vector<std::string>& PathTypeNames() {
  static const std::vector<std::string> n = {"ptIniFile", "ptRegistry"};
  return n;
}
const std::vector<std::string>& RegKeyNames() {
  static const std::vector<std::string> n = {"hkeyClassesRoot", "hkeyCurrentUser",     "hkeyLocalMachine",
                                             "hkeyUsers",       "hkeyPerformanceData", "hkeyCurrentConfig",
                                             "hkeyDynData"};
  return n;
}
const std::vector<std::string>& RegAccessNames() {
  static const std::vector<std::string> n = {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys",
                                             "keyNotify",     "keyCreateLink", "keyRead",       "keyWrite",
                                             "keyExecute",    "keyAllAccess"};
  return n;
}
const std::vector<std::string>& SpecialFolderNames() {
  static const std::vector<std::string> n = {"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal",
                                             "sfUserDocuments", "sfProgramData"};
  return n;
}
}  // namespace

ORV_DEFINE_CLASS(TFcRegIniFile, TComponent, FactoryOf<TFcRegIniFile>(),
                 {StrProp<RI>("Path", &RI::GetPath, &RI::SetPath),
                  EnumProp<RI, TFcPathType>("PathType", PathTypeNames(), &RI::GetPathType, &RI::SetPathType),
                  EnumProp<RI, TFcRegKey>("RegKey", RegKeyNames(), &RI::GetRegKey, &RI::SetRegKey),
                  SetProp<RI>("RegAccess", RegAccessNames(), &RI::GetRegAccess, &RI::SetRegAccess),
                  EnumProp<RI, TFcSpecialFolder>("SpecialFolder", SpecialFolderNames(), &RI::GetSpecialFolder,
                                                 &RI::SetSpecialFolder)})

TFcRegIniFile::~TFcRegIniFile() { Release(); }

void TFcRegIniFile::Release() {
  FIniFile.reset();
  if (FKey) RegCloseKey(FKey);
  FKey = nullptr;
}

std::string TFcRegIniFile::IniFileName() const {
  static const int Folders[] = {0, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_PERSONAL, CSIDL_COMMON_APPDATA};
  if (FSpecialFolder == sfNone) return FPath;
  char folder[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, Folders[FSpecialFolder], nullptr, 0, folder))) return FPath;
  std::string name = folder;
  if (!name.empty() && name.back() != '\\') name += '\\';
  return name + FPath;
}

TIniFile* TFcRegIniFile::IniFile() {
  if (FPathType != ptIniFile) return nullptr;
  if (!FIniFile) FIniFile.reset(new TIniFile(IniFileName()));
  return FIniFile.get();
}

REGSAM TFcRegIniFile::AccessRights() const {
  static const REGSAM Rights[] = {KEY_QUERY_VALUE, KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_ENUMERATE_SUB_KEYS,
                                  KEY_NOTIFY,      KEY_CREATE_LINK, KEY_READ,         KEY_WRITE,
                                  KEY_EXECUTE,     KEY_ALL_ACCESS};
  REGSAM rights = 0;
  for (int i = 0; i <= keyAllAccess; ++i)
    if (FRegAccess & (1u << i)) rights |= Rights[i];
  return rights;
}

HKEY TFcRegIniFile::RegistryKey() {
  if (FPathType != ptRegistry) return nullptr;
  if (!FKey) {
    static const HKEY Roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                                 HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    if (RegCreateKeyExA(Roots[FRegKey], FPath.c_str(), 0, nullptr, 0, AccessRights(), nullptr, &FKey, nullptr) !=
        ERROR_SUCCESS)
      FKey = nullptr;
  }
  return FKey;
}
