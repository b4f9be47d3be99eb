// The skin description reader: an INI text parsed once from a stream, with lookups that follow the
// skin format's own rules (comments only at the start of a line, sections found without regard to
// case, keys compared lower-cased and trimmed, the first matching key wins even when empty, "0x"
// hexadecimal integers). Lookups never fail; anything missing gives the caller's default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MemoryStream.h"

// Splits a text into lines the way the skin formats do: a line ends at CR, LF or a CR LF pair; a break
// at the very end adds no empty line; the text ends at its first NUL byte.
std::vector<std::string> SplitSkinLines(const std::string& text);

class TQuickIni {
public:
  struct TSectionHeader {
    std::string Line;  // with its brackets, as kept
    int LineIndex;     // its index in Lines
  };

  std::vector<std::string> Lines;        // the kept lines, trimmed, in text order
  std::vector<TSectionHeader> Sections;  // the header lines in text order

  // Parses the text from the stream's position to its end; nothing happens for a null stream.
  void LoadFromStream(TMemoryStream* stream);
  void LoadFromText(const std::string& text);
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  // The section names without brackets, in text order.
  void ReadSections(std::vector<std::string>& list) const;

  int SectionLine(const std::string& name) const;  // index in Lines of the first such header, or -1
  static bool IsSectionLine(const std::string& line);
  static std::string KeyOfLine(const std::string& line);
  static std::string ValueOfLine(const std::string& line, const std::string& key);
};
