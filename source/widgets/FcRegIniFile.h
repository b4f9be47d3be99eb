// Where the framed controls' settings may be kept: an INI file or a registry key (TFcRegIniFile).
// Nothing in the program stores settings through it; the frame controller publishes it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "Component.h"
#include "IniFile.h"

enum TFcPathType { ptIniFile, ptRegistry };
enum TFcRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig,
  hkeyDynData
};
enum TFcRegAccessItem {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
  keyExecute, keyAllAccess
};
using TFcRegAccess = unsigned;  // bit (1 << TFcRegAccessItem)
enum TFcSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };

// Where settings are kept: an INI file (Path, below a special folder when one is chosen) or a registry key
// (Path under RegKey, opened with RegAccess). The INI object or the key is made on first use and made
// again after any change.
class TFcRegIniFile : public TComponent {
  ORV_CLASS(TFcRegIniFile)
public:
  explicit TFcRegIniFile(TComponent* owner) : TComponent(owner) {}
  ~TFcRegIniFile() override;

  std::string GetPath() const { return FPath; }
  void SetPath(const std::string& v) { Change(FPath, v); }
  TFcPathType GetPathType() const { return FPathType; }
  void SetPathType(TFcPathType v) { Change(FPathType, v); }
  TFcRegKey GetRegKey() const { return FRegKey; }
  void SetRegKey(TFcRegKey v) { Change(FRegKey, v); }
  TFcRegAccess GetRegAccess() const { return FRegAccess; }
  void SetRegAccess(TFcRegAccess v) { Change(FRegAccess, v); }
  TFcSpecialFolder GetSpecialFolder() const { return FSpecialFolder; }
  void SetSpecialFolder(TFcSpecialFolder v) { Change(FSpecialFolder, v); }

  // The INI file's full name (the special folder, a backslash and Path).
  std::string IniFileName() const;
  // The INI object (null unless PathType is ptIniFile).
  TIniFile* IniFile();
  // The opened key (null unless PathType is ptRegistry or when it cannot be opened).
  HKEY RegistryKey();
  // The access rights RegAccess stands for.
  REGSAM AccessRights() const;

private:
  template <class T>
  void Change(T& field, const T& v) {
    if (field == v) return;
    field = v;
    Release();  // made again on next use
  }
  void Release();

  std::string FPath;
  TFcPathType FPathType = ptIniFile;
  TFcRegKey FRegKey = hkeyCurrentUser;
  TFcRegAccess FRegAccess = 1u << keyAllAccess;
  TFcSpecialFolder FSpecialFolder = sfNone;
  std::unique_ptr<TIniFile> FIniFile;
  HKEY FKey = nullptr;
};
