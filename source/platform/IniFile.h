// INI files through the system's private-profile routines: section and key names match without regard
// to case, values lose surrounding blanks, at most 2047 characters of a value arrive, a missing key
// gives the caller's default, and a failed write raises "Unable to write to <path>".
// Paths must be absolute: a bare name would address the Windows folder.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FileName(std::move(fileName)) {}

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"

    std::vector<std::string> ReadSection(const std::string& section) const;        // key names
    std::vector<std::string> ReadSectionValues(const std::string& section) const;  // "key=value" lines
    // The section's lines as the file stores them ("key=value", values with their quotes), in one call.
    std::vector<std::string> ReadSectionLines(const std::string& section) const;
    std::vector<std::string> ReadSections() const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);
    // Writes cached changes to disk (the system may cache INI files).
    void UpdateFile();

    const std::string FileName;
};

// One section read in one call, answering as TIniFile::ReadString answers for it (the one difference: a
// line starting with ";" is a comment, not a key). For reading many keys of one section: each
// private-profile call opens and parses the whole file again.
class TIniSection {
public:
    TIniSection(const TIniFile& ini, const std::string& section);

    std::string ReadString(const std::string& key, const std::string& def) const;

private:
    std::map<std::string, std::string> values_;  // upper-case key -> value; the first line of a key wins
};
