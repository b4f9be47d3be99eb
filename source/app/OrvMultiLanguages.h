// TOrvMultiLanguages: the language files of one folder with their display names, for the Language menu.
#pragma once

#include <memory>
#include <string>

#include "StringList.h"

class TOrvMultiLanguages {
public:
  // Dir ends in "\"; Key of Section holds a file's display name. A missing folder gives no entries.
  TOrvMultiLanguages(const std::string& dir, const std::string& key, const std::string& section);

  int GetCount() const { return Count; }
  // Empty text for an index outside 0 .. Count - 1.
  std::string GetFileName(int index) const;
  std::string GetLanguageName(int index) const;
  // An index outside 0 .. Count - 1 is ignored.
  void SetItemIndex(int index);
  int GetItemIndex() const { return ItemIndex; }

  int Count = 0;
  int ItemIndex = 0;
  // Created only when the folder exists.
  std::unique_ptr<TStringList> FileNames, LanguageNames;
};
