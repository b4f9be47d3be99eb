// The skin pack: an LZHUF-compressed archive of named entries (one INI description and the bitmaps it
// names). TSkinReader unpacks a skin file, reads the directory and hands out entries by exact name or
// by a part of a name, comparing names lower-cased.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MemoryStream.h"

class TSkinReader {
public:
  static constexpr int MaxEntries = 1001;

  struct THeader {
    int32_t Magic = 0;
    int32_t NamesLength = 0;
    uint8_t Reserved[8] = {};
  };

  std::vector<std::string> Names;  // lower-cased entry names
  int EntryCount = 0;
  std::vector<int32_t> Sizes;      // one per entry
  TMemoryStream Data;              // the entry block
  THeader Header;

  // Unpacks the skin file and reads the directory. False for an unknown magic (after telling the user
  // that the skin file is too old) and for a pack whose directory does not fit its own bytes (the
  // directory then stays empty). Decompression errors (ElzhException) pass through.
  bool ReadPack(TMemoryStream& skinFile);
  // Decompresses a skin file (int32 unpacked length, then the bit stream) into the target.
  static void Unpack(TMemoryStream& source, TMemoryStream& target);
  // Copies the entry of that name (any letter case) into the target at position 0; false when absent
  // (the target is left empty).
  bool GetEntry(const std::string& name, TMemoryStream& target);
  // Copies the first entry whose name contains the text (case-sensitive against the lower-cased names)
  // and sets name to it; when none does, the target is empty and name unchanged.
  bool FindEntry(const std::string& text, TMemoryStream& target, std::string& name);

private:
  void ClearDirectory();
  void CopyEntry(int index, TMemoryStream& target);
};
