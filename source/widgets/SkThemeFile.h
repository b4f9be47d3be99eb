// TskThemeFileReader: the entries of one theme file, by name.
//
// File layout (little-endian): magic "SkPack_TB" padded with zeros to 12 bytes, header size (4 bytes),
// 4 unused bytes, offset of the first entry record (4). Entry records of 77 bytes form a chain: name
// (64, zero-terminated), kind (1: 0 bitmap, 1 integer, 2 Boolean, 3 text), data offset (4), data size
// (4), next record offset (4; 0 ends the chain, and that last record carries no entry).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

enum TskThemeFileEntryKind : uint8_t { tfBitmap = 0, tfInteger = 1, tfBoolean = 2, tfText = 3 };

class TskThemeFileReader {
public:
  // True when the file exists, opens for shared reading and starts with the magic.
  static bool IsThemeFile(const std::string& path);
  explicit TskThemeFileReader(const std::string& path);

  // The bitmap entry's data (a BMP file image), or null when absent.
  const std::vector<uint8_t>* GetStream(const std::string& name) const;
  int GetInt(const std::string& name) const;   // -1 when absent or not a number
  int GetBool(const std::string& name) const;  // 0 when absent or not a number
  std::string GetText(const std::string& name) const;
  size_t EntryCount() const;

private:
  // Names compare without regard to case; integer, Boolean and text values are kept as texts.
  struct TNoCase {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::map<std::string, std::vector<uint8_t>, TNoCase> FBitmaps;
  std::map<std::string, std::string, TNoCase> FIntegers, FBooleans, FTexts;
};

// Builds theme files (used by tools and tests).
class TskThemeFileWriter {
public:
  void Add(const std::string& name, TskThemeFileEntryKind kind, const std::vector<uint8_t>& data);
  void AddInt(const std::string& name, int32_t value);
  void AddBool(const std::string& name, bool value);
  void AddText(const std::string& name, const std::string& text);
  std::vector<uint8_t> Bytes() const;

private:
  struct TEntry {
    std::string Name;
    TskThemeFileEntryKind Kind;
    std::vector<uint8_t> Data;
  };
  std::vector<TEntry> FEntries;
};
