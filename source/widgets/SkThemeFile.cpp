#include "SkThemeFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "CheckedSize.h"
#include "Errors.h"
#include "Strings.h"

namespace {

const char kMagic[] = "SkPack_TB";
constexpr size_t kMagicSize = 12, kRecordSize = 77, kNameSize = 64;

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

bool HasMagic(const uint8_t* p, size_t n) {
  if (n < kMagicSize) return false;
  std::string text(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), kMagicSize));
  return text == kMagic;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) RaiseLastOSError("Cannot open " + path);
  std::vector<uint8_t> data;
  DWORD size = GetFileSize(f, nullptr);
  if (size != INVALID_FILE_SIZE) {
    data.resize(size);
    DWORD got = 0;
    if (size && !ReadFile(f, data.data(), size, &got, nullptr)) got = 0;
    data.resize(got);
  }
  CloseHandle(f);
  return data;
}

}  // namespace

bool TskThemeFileReader::TNoCase::operator()(const std::string& a, const std::string& b) const {
  return _stricmp(a.c_str(), b.c_str()) < 0;
}

bool TskThemeFileReader::IsThemeFile(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  uint8_t head[kMagicSize] = {0};
  DWORD got = 0;
  bool ok = ReadFile(f, head, DWORD(kMagicSize), &got, nullptr) && HasMagic(head, got);
  CloseHandle(f);
  return ok;
}

TskThemeFileReader::TskThemeFileReader(const std::string& path) {
  std::vector<uint8_t> file = ReadWholeFile(path);
  // A damaged file yields the entries read so far: every offset and size is checked against the file,
  // and a chain that comes back to a record it passed ends there.
  if (file.size() < 24) return;
  uint32_t headerSize = Le32(&file[12]);
  if (headerSize < 24 || headerSize > file.size()) return;
  uint32_t offset = Le32(&file[20]);
  std::set<uint32_t> seen;
  while (offset != 0 && RangeInside(offset, kRecordSize, file.size()) && seen.insert(offset).second) {
    const uint8_t* rec = &file[offset];
    uint32_t next = Le32(rec + 73);
    if (next == 0) break;  // the closing record carries no entry
    std::string name(reinterpret_cast<const char*>(rec), strnlen(reinterpret_cast<const char*>(rec), kNameSize));
    uint8_t kind = rec[64];
    uint32_t at = Le32(rec + 65), size = Le32(rec + 69);
    if (RangeInside(at, size, file.size())) {
      const uint8_t* data = file.data() + at;
      switch (kind) {
        case tfBitmap:
          FBitmaps[name] = std::vector<uint8_t>(data, data + size);
          break;
        case tfInteger: {
          int32_t v = 0;
          memcpy(&v, data, std::min<size_t>(size, sizeof v));
          FIntegers[name] = IntToStr(v);
          break;
        }
        case tfBoolean:
          FBooleans[name] = IntToStr(size > 0 ? data[0] : 0);
          break;
        case tfText:
          FTexts[name] = std::string(reinterpret_cast<const char*>(data), size);
          break;
        default:
          break;
      }
    }
    offset = next;
  }
}

const std::vector<uint8_t>* TskThemeFileReader::GetStream(const std::string& name) const {
  auto it = FBitmaps.find(name);
  return it == FBitmaps.end() ? nullptr : &it->second;
}

int TskThemeFileReader::GetInt(const std::string& name) const {
  auto it = FIntegers.find(name);
  return it == FIntegers.end() ? -1 : StrToIntDef(it->second, -1);
}

int TskThemeFileReader::GetBool(const std::string& name) const {
  auto it = FBooleans.find(name);
  return it == FBooleans.end() ? 0 : StrToIntDef(it->second, 0);
}

std::string TskThemeFileReader::GetText(const std::string& name) const {
  auto it = FTexts.find(name);
  return it == FTexts.end() ? std::string() : it->second;
}

size_t TskThemeFileReader::EntryCount() const { return FBitmaps.size() + FIntegers.size() + FBooleans.size() + FTexts.size(); }

// ---- writer ----

void TskThemeFileWriter::Add(const std::string& name, TskThemeFileEntryKind kind, const std::vector<uint8_t>& data) {
  FEntries.push_back({name.substr(0, kNameSize - 1), kind, data});
}

void TskThemeFileWriter::AddInt(const std::string& name, int32_t value) {
  std::vector<uint8_t> d(4);
  PutLe32(d, 0, uint32_t(value));
  Add(name, tfInteger, d);
}

void TskThemeFileWriter::AddBool(const std::string& name, bool value) { Add(name, tfBoolean, {uint8_t(value ? 1 : 0)}); }

void TskThemeFileWriter::AddText(const std::string& name, const std::string& text) {
  Add(name, tfText, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> TskThemeFileWriter::Bytes() const {
  // Header, then each record followed by its data, then the closing record.
  const size_t header = 24;
  std::vector<uint8_t> out(header, 0);
  memcpy(out.data(), kMagic, sizeof kMagic - 1);
  PutLe32(out, 12, uint32_t(header));
  PutLe32(out, 20, uint32_t(header));
  for (const TEntry& e : FEntries) {
    size_t rec = out.size();
    out.resize(rec + kRecordSize + e.Data.size(), 0);
    memcpy(&out[rec], e.Name.data(), e.Name.size());
    out[rec + 64] = e.Kind;
    PutLe32(out, rec + 65, uint32_t(rec + kRecordSize));
    PutLe32(out, rec + 69, uint32_t(e.Data.size()));
    if (!e.Data.empty()) memcpy(&out[rec + kRecordSize], e.Data.data(), e.Data.size());
    PutLe32(out, rec + 73, uint32_t(out.size()));
  }
  out.resize(out.size() + kRecordSize, 0);  // the closing record: next offset 0
  return out;
}
