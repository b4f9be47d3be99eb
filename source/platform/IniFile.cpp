#include "IniFile.h"

#include <windows.h>

#include <cstring>

#include "Errors.h"
#include "Strings.h"

namespace {

// The longest value the program reads; longer values arrive cut to this length.
constexpr DWORD kValueBuffer = 2048;

std::vector<std::string> SplitNulList(const char* buffer, DWORD length)
{
    std::vector<std::string> items;
    const char* p = buffer;
    const char* end = buffer + length;
    while (p < end && *p) {
        // An item cut off by a full buffer ends at the buffer's end, not at the next zero in memory.
        std::string item(p, strnlen(p, size_t(end - p)));
        p += item.size() + 1;
        items.push_back(item);
    }
    return items;
}

// Reads a double-NUL-terminated list, growing the buffer until it fits.
template <typename Read>
std::vector<std::string> ReadNulList(Read read)
{
    for (DWORD size = 16384;; size *= 4) {
        std::string buffer(size, '\0');
        const DWORD n = read(&buffer[0], size);
        if (n < size - 2 || size >= (1u << 26)) return SplitNulList(buffer.data(), n);
    }
}

}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    char buffer[kValueBuffer];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, kValueBuffer, FileName.c_str());
    return buffer;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const
{
    const std::string text = ReadString(section, key, "");
    return text.empty() ? def : StrToIntDef(text, def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), FileName.c_str()))
        throw EIniFileException("Unable to write to " + FileName);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    return ReadNulList([&](char* buf, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), nullptr, "", buf, size, FileName.c_str());
    });
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const
{
    std::vector<std::string> lines;
    for (const std::string& key : ReadSection(section)) lines.push_back(key + "=" + ReadString(section, key, ""));
    return lines;
}

std::vector<std::string> TIniFile::ReadSectionLines(const std::string& section) const
{
    return ReadNulList([&](char* buf, DWORD size) {
        return GetPrivateProfileSectionA(section.c_str(), buf, size, FileName.c_str());
    });
}

std::vector<std::string> TIniFile::ReadSections() const
{
    return ReadNulList([&](char* buf, DWORD size) {
        return GetPrivateProfileStringA(nullptr, nullptr, "", buf, size, FileName.c_str());
    });
}

bool TIniFile::SectionExists(const std::string& section) const
{
    for (const std::string& s : ReadSections())
        if (SameText(s, section)) return true;
    return false;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    for (const std::string& k : ReadSection(section))
        if (SameText(k, key)) return true;
    return false;
}

void TIniFile::EraseSection(const std::string& section)
{
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FileName.c_str()))
        throw EIniFileException("Unable to write to " + FileName);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, FileName.c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName.c_str()); }

TIniSection::TIniSection(const TIniFile& ini, const std::string& section)
{
    for (const std::string& line : ini.ReadSectionLines(section)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;  // a name without "=" holds no value: its reader gets the default
        std::string value = Trim(line.substr(eq + 1));
        // The system drops one pair of matching quotes around a value and cuts it to the reader's buffer.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.size() > kValueBuffer - 1) value.resize(kValueBuffer - 1);
        values_.emplace(UpperCase(Trim(line.substr(0, eq))), value);
    }
}

std::string TIniSection::ReadString(const std::string& key, const std::string& def) const
{
    const auto found = values_.find(UpperCase(Trim(key)));
    return found == values_.end() ? def : found->second;
}
