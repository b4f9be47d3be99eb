#include "SkinnerIni.h"

#include "Strings.h"

std::vector<std::string> SplitSkinLines(const std::string& text) {
  std::vector<std::string> lines;
  const size_t end = std::min(text.find('\0'), text.size());
  size_t start = 0, i = 0;
  while (i < end) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < end) lines.push_back(text.substr(start, end - start));
  return lines;
}

void TQuickIni::LoadFromStream(TMemoryStream* stream) {
  if (!stream) return;
  std::string text(size_t(stream->Size() - stream->Position()), '\0');
  stream->Read(text.data(), int64_t(text.size()));
  LoadFromText(text);
}

void TQuickIni::LoadFromText(const std::string& text) {
  Lines.clear();
  Sections.clear();
  for (const std::string& raw : SplitSkinLines(text)) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    Lines.push_back(line);
    if (IsSectionLine(line)) Sections.push_back({line, int(Lines.size()) - 1});
  }
}

bool TQuickIni::IsSectionLine(const std::string& line) {
  const std::string s = Trim(line);
  return s.size() >= 2 && s.front() == '[' && s.back() == ']';
}

std::string TQuickIni::KeyOfLine(const std::string& line) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return "";
  return LowerCase(Trim(line.substr(0, eq)));
}

std::string TQuickIni::ValueOfLine(const std::string& line, const std::string& key) {
  if (line.empty() || key.empty()) return "";
  const size_t eq = line.find('=');
  if (eq == std::string::npos || KeyOfLine(line) != key) return "";
  return Trim(line.substr(eq + 1));
}

int TQuickIni::SectionLine(const std::string& name) const {
  const std::string header = "[" + name + "]";
  for (const TSectionHeader& s : Sections)
    if (SameText(s.Line, header)) return s.LineIndex;
  return -1;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const std::string wanted = LowerCase(key);
  const int header = Lines.empty() ? -1 : SectionLine(section);
  if (header < 0) return def;
  for (size_t i = size_t(header) + 1; i < Lines.size() && !IsSectionLine(Lines[i]); ++i) {
    if (KeyOfLine(Lines[i]) != wanted) continue;
    const std::string value = ValueOfLine(Lines[i], wanted);
    return value.empty() ? def : value;
  }
  return def;
}

namespace {
// Integer text as the class library's StrToIntDef takes it: optional sign, then decimal digits or "$"
// and hexadecimal digits, 32 bits.
bool ParseIniInteger(const std::string& s, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const bool hex = i < s.size() && s[i] == '$';
  if (hex) ++i;
  if (i >= s.size()) return false;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + uint64_t(digit);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (hex) {  // hexadecimal text may spell any 32-bit pattern
    value = int32_t(uint32_t(v));
    if (negative) value = int32_t(0u - uint32_t(value));
    return true;
  }
  if (negative ? v > 0x80000000ull : v > 0x7FFFFFFFull) return false;
  value = negative ? int32_t(0u - uint32_t(v)) : int32_t(v);
  return true;
}
}  // namespace

int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  std::string value = ReadString(section, key, "");
  if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) value = "$" + value.substr(2);
  int32_t result;
  return ParseIniInteger(value, result) ? result : def;
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
  list.clear();
  for (const TSectionHeader& s : Sections) {
    const std::string t = Trim(s.Line);
    list.push_back(Trim(t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string()));
  }
}
