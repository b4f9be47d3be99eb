#include "FileList.h"

#include <windows.h>

#include <algorithm>

#include "MultiLanguages.h"
#include "Strings.h"

namespace {
std::string LowerAnsi(std::string s) {
  if (!s.empty()) CharLowerBuffA(&s[0], DWORD(s.size()));
  return s;
}
}  // namespace

bool IsSupportedExtension(const std::string& ext, const TStringList& filters) {
  if (ext.size() < 2 || ext[0] != '.') return false;
  const std::string wanted = LowerAnsi(ext);
  for (int i = 0; i < filters.Count(); ++i) {
    std::string line = filters[i];
    size_t eq = line.find('=');
    std::string patterns = eq == std::string::npos ? line : line.substr(eq + 1);
    size_t start = 0;
    while (start <= patterns.size()) {
      size_t end = patterns.find(';', start);
      if (end == std::string::npos) end = patterns.size();
      std::string pattern = LowerAnsi(Trim(patterns.substr(start, end - start)));
      // "*.ext": the part after the star is the extension with its dot.
      if (pattern.size() > 2 && pattern[0] == '*' && pattern.substr(1) == wanted) return true;
      start = end + 1;
    }
  }
  return false;
}

bool SameFilePath(const std::string& a, const std::string& b) {
  // Compared in place: the list runs this against every entry for each file it adds.
  return a.size() == b.size() &&
         CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(), int(b.size())) ==
             CSTR_EQUAL;
}

std::string FilePathKey(const std::string& path) {
  if (path.empty()) return std::string();
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int size = LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, path.data(), int(path.size()), nullptr, 0);
  if (size <= 0) return std::string();
  std::string key(size_t(size), '\0');
  LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, path.data(), int(path.size()), &key[0], size);
  return key;
}

std::string TFileItem::* const FileItemValues[FileItemValueCount] = {
    &TFileItem::CompleteName, &TFileItem::FileSize,     &TFileItem::Format,      &TFileItem::PlayTime,
    &TFileItem::AudioCount,   &TFileItem::VideoCount,   &TFileItem::VideoCodec,  &TFileItem::Width,
    &TFileItem::Height,       &TFileItem::VideoBitrate, &TFileItem::AspectRatio, &TFileItem::FrameRate,
    &TFileItem::AudioCodec,   &TFileItem::AudioBitRate, &TFileItem::Channels,    &TFileItem::SamplingRate};

std::string SummaryText(int count) {
  if (count <= 0) return IDS_MAIN_LABEL_SummaryNoFile;
  if (count == 1) return IDS_MAIN_LABEL_SummaryOneFile;
  return Format(IDS_MAIN_LABEL_SummaryFile, {count});
}

int SelectionAfterDelete(const std::vector<int>& deleted) {
  if (deleted.empty()) return -1;
  return *std::min_element(deleted.begin(), deleted.end());
}

int MoveInsertIndex(int index, int count, bool up) {
  if (index < 0 || index >= count) return -1;
  if (up) return index == 0 ? -1 : index - 1;
  return index == count - 1 ? -1 : index + 2;
}
