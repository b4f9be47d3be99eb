#include "StringList.h"

#include <windows.h>

#include "Errors.h"
#include "Strings.h"

int TStringList::Add(const std::string& s)
{
    items_.push_back(s);
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& s) { items_.insert(items_.begin() + index, s); }

void TStringList::Delete(int index) { items_.erase(items_.begin() + index); }

int TStringList::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(items_[size_t(i)], s)) return i;
    return -1;
}

std::string TStringList::Names(int index) const
{
    const std::string& s = items_.at(size_t(index));
    const size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const
{
    const std::string& s = items_.at(size_t(index));
    const size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStringList::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const size_t eq = items_[size_t(i)].find('=');
        if (eq != std::string::npos && SameText(items_[size_t(i)].substr(0, eq), name)) return i;
    }
    return -1;
}

std::string TStringList::Values(const std::string& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::string& name, const std::string& value)
{
    const int i = IndexOfName(name);
    if (i < 0) Add(name + "=" + value);
    else items_[size_t(i)] = name + "=" + value;
}

std::string TStringList::Text() const
{
    std::string text;
    for (const std::string& s : items_) text += s + "\r\n";
    return text;
}

void TStringList::SetText(const std::string& text) { items_ = SplitLines(text); }

bool TStringList::LoadFromFile(const std::string& fileName)
{
    HANDLE f = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(f);
    SetText(data);
    return true;
}

void TStringList::SaveToFile(const std::string& fileName) const
{
    HANDLE f = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw Exception("Cannot create file \"" + fileName + "\"");
    const std::string data = Text();
    DWORD written = 0;
    const BOOL ok = WriteFile(f, data.data(), DWORD(data.size()), &written, nullptr);
    CloseHandle(f);
    if (!ok || written != data.size()) throw Exception("Cannot write file \"" + fileName + "\"");
}
