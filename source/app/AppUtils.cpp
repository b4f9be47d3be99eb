#include "AppUtils.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "EnterValueWnd.h"
#include "FileUtils.h"
#include "MultiLanguages.h"
#include "Strings.h"

// --- time texts ---

int64_t HMSToMilliseconds(int32_t hours, int32_t minutes, double seconds)
{
    return int64_t(hours) * 3600000 + int64_t(minutes) * 60000 + RoundHalfEven(seconds * 1000);
}

int64_t HMSZToMilliseconds(int32_t hours, int32_t minutes, int32_t seconds, int32_t milliseconds)
{
    return int64_t(hours) * 3600000 + int64_t(minutes) * 60000 + int64_t(seconds) * 1000 + milliseconds;
}

void SplitMilliseconds(int64_t value, int32_t& hours, int32_t& minutes, int32_t& seconds, int32_t& milliseconds)
{
    hours = int32_t(value / 1000 / 3600);
    minutes = int32_t(value / 1000 % 3600 / 60);
    seconds = int32_t(value / 1000 % 60);
    milliseconds = int32_t(value % 1000);
}

namespace {

// At least `digits` digits, a minus sign in front of the padding (as "%.2d" does).
std::string PaddedNumber(int64_t value, int digits)
{
    std::string text = IntToStr(value < 0 ? -value : value);
    if (int(text.size()) < digits) text.insert(0, size_t(digits) - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

// One part of a time text: digits or nothing. Empty counts as 0; a part too long for 32 bits as the
// largest 32-bit value (the sum then lies far beyond any accepted time instead of wrapping).
int32_t TimePart(const std::string& part)
{
    if (part.empty()) return 0;
    int32_t value;
    if (TryStrToInt(part, value)) return value;
    return IsDigitsOnly(part) ? std::numeric_limits<int32_t>::max() : 0;
}

// The parts of "a:b:c" (or fewer), each converted; missing parts are 0.
void ColonParts(const std::string& text, int32_t* parts, int count)
{
    const TStringList pieces = SplitString(text, ':');
    for (int i = 0; i < count; ++i) parts[i] = i < pieces.Count() ? TimePart(pieces[i]) : 0;
}

// Splits "before.after" at its one dot.
void DotParts(const std::string& text, std::string& before, std::string& after)
{
    const TStringList pieces = SplitString(text, '.');
    before = pieces[0];
    after = pieces.Count() > 1 ? pieces[1] : std::string();
}

bool OnlyChars(const std::string& text, const char* allowed)
{
    if (text.empty()) return false;
    for (char c : text)
        if (!(c >= '0' && c <= '9') && !std::strchr(allowed, c)) return false;
    return true;
}

}  // namespace

std::string MillisecondsToTimeText(int64_t value)
{
    // Hours are taken in 64 bits here so that a very long value never prints wrapped hours.
    const int64_t hours = value / 1000 / 3600;
    int32_t hours32, minutes, seconds, milliseconds;
    SplitMilliseconds(value, hours32, minutes, seconds, milliseconds);
    static_cast<void>(hours32);
    return PaddedNumber(hours, 1) + ":" + PaddedNumber(minutes, 2) + ":" + PaddedNumber(seconds, 2) + "." +
           PaddedNumber(milliseconds, 3);
}

bool IsTimeChars(const std::string& text) { return OnlyChars(text, ":."); }
bool IsDigitsAndDots(const std::string& text) { return OnlyChars(text, "."); }
bool IsDigitsOnly(const std::string& text) { return OnlyChars(text, ""); }
bool IsDigitsAndColons(const std::string& text) { return OnlyChars(text, ":"); }

bool IsDotAfterLastColon(const std::string& text)
{
    // Positions counted from 1, 0 for "none".
    const size_t colon = text.rfind(':');
    const size_t dot = text.find('.');
    const size_t colonPos = colon == std::string::npos ? 0 : colon + 1;
    const size_t dotPos = dot == std::string::npos ? 0 : dot + 1;
    return colonPos < dotPos;
}

int32_t CountOccurrences(const std::string& text, const std::string& sub)
{
    if (sub.empty()) return 0;
    int32_t count = 0;
    for (size_t at = text.find(sub); at != std::string::npos; at = text.find(sub, at + sub.size())) ++count;
    return count;
}

int64_t ParseHMSZ(const std::string& text)
{
    std::string hms, z;
    DotParts(text, hms, z);
    int32_t p[3];
    ColonParts(hms, p, 3);
    return HMSZToMilliseconds(p[0], p[1], p[2], TimePart(z));
}

int64_t ParseMSZ(const std::string& text)
{
    std::string ms, z;
    DotParts(text, ms, z);
    int32_t p[2];
    ColonParts(ms, p, 2);
    return HMSZToMilliseconds(0, p[0], p[1], TimePart(z));
}

int64_t ParseSZ(const std::string& text)
{
    std::string s, z;
    DotParts(text, s, z);
    return HMSZToMilliseconds(0, 0, TimePart(s), TimePart(z));
}

int64_t ParseS(const std::string& text) { return HMSZToMilliseconds(0, 0, TimePart(text), 0); }

int64_t ParseMS(const std::string& text)
{
    int32_t p[2];
    ColonParts(text, p, 2);
    return HMSZToMilliseconds(0, p[0], p[1], 0);
}

int64_t ParseHMS(const std::string& text)
{
    int32_t p[3];
    ColonParts(text, p, 3);
    return HMSZToMilliseconds(p[0], p[1], p[2], 0);
}

int64_t TimeTextToMilliseconds(const std::string& text)
{
    const int32_t colons = CountOccurrences(text, ":");
    const int32_t dots = CountOccurrences(text, ".");
    if (IsTimeChars(text) && colons == 2 && dots == 1 && IsDotAfterLastColon(text)) return ParseHMSZ(text);
    if (IsTimeChars(text) && colons == 1 && dots == 1 && IsDotAfterLastColon(text)) return ParseMSZ(text);
    if (IsDigitsAndDots(text) && dots == 1) return ParseSZ(text);
    if (IsDigitsOnly(text)) return ParseS(text);
    if (IsDigitsAndColons(text) && colons == 1) return ParseMS(text);
    if (IsDigitsAndColons(text) && colons == 2) return ParseHMS(text);
    return -1;
}

int64_t DurationToMilliseconds(const std::string& text)
{
    const TStringList parts = SplitString(text, ':');
    if (parts.Count() < 3) return 0;
    return HMSToMilliseconds(StrToIntDef(parts[0], 0), StrToIntDef(parts[1], 0), StrToFloatDef(parts[2], 0.0));
}

// --- texts and file names ---

TStringList SplitString(const std::string& text, char delimiter)
{
    TStringList pieces;
    size_t start = 0;
    for (size_t at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, start)) {
        pieces.Add(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.Add(text.substr(start));
    return pieces;
}

std::string ExtractBetween(const std::string& text, const std::string& startMark, const std::string& endMark)
{
    const size_t mark = startMark.empty() ? std::string::npos : text.find(startMark);
    if (mark == std::string::npos || endMark.empty()) return std::string();
    const size_t from = mark + startMark.size();
    // The end mark is looked for one character on, so something always lies between the two marks.
    const size_t end = text.find(endMark, from + 1);
    if (end == std::string::npos) return std::string();
    return Trim(text.substr(from, end - from));
}

std::string BuildFilterString(const TStringList& list)
{
    std::string filter;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string name = list.Names(i);
        filter += name + "|" + list.Values(name) + "|";
    }
    return filter + IDS_FILEINFORMATION_LABEL_AllFile + "|*.*";
}

bool ContainsAnyChar(const std::string& text, const std::string& chars)
{
    return !chars.empty() && text.find_first_of(chars) != std::string::npos;
}

bool IsValidFileName(const std::string& name) { return !name.empty() && !ContainsAnyChar(name, "\\/:*?\"<>|"); }

std::string ReplaceFileName(const std::string& path, const std::string& newName)
{
    return ExtractFilePath(path) + newName + ExtractFileExt(path);
}

int64_t GetFileSize64(const std::string& path)
{
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(path.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return -1;
    FindClose(search);
    return int64_t((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool DeleteFileIfEmpty(const std::string& fileName)
{
    if (!FileExists(fileName) || GetFileSize64(fileName) != 0) return false;
    return DeleteFileA(fileName.c_str()) != 0;
}

// --- the shell's folder browser ---

int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM param, LPARAM data)
{
    if (message == BFFM_INITIALIZED) {
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    } else if (message == BFFM_SELCHANGED) {
        char path[MAX_PATH] = "";
        if (!SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(param), path)) path[0] = '\0';
        SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        if (path[0] == '\0') SendMessageA(window, BFFM_ENABLEOK, 0, FALSE);
    }
    return 0;
}

bool BrowseForFolder(HWND ownerWindow, std::string& path, const std::string& title, const std::string& root,
                     uint32_t flags)
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return false;
    char* displayName = static_cast<char*>(allocator->Alloc(MAX_PATH));
    bool picked = false;
    if (displayName) {
        LPITEMIDLIST rootList = nullptr;
        if (!root.empty()) {
            IShellFolder* desktop = nullptr;
            if (SUCCEEDED(SHGetDesktopFolder(&desktop)) && desktop) {
                std::wstring wide(root.size() + 1, L'\0');
                const int n = MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, &wide[0], int(wide.size()));
                if (n > 0) desktop->ParseDisplayName(ownerWindow, nullptr, &wide[0], nullptr, &rootList, nullptr);
                desktop->Release();
            }
        }
        BROWSEINFOA info = {};
        info.hwndOwner = ownerWindow;
        info.pidlRoot = rootList;
        info.pszDisplayName = displayName;
        info.lpszTitle = title.c_str();
        info.ulFlags = flags;
        info.lpfn = BrowseCallbackProc;
        info.lParam = reinterpret_cast<LPARAM>(path.c_str());
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        if (chosen) {
            SHGetPathFromIDListA(chosen, displayName);
            allocator->Free(chosen);
            path = displayName;
            picked = true;
        }
        if (rootList) allocator->Free(rootList);
        allocator->Free(displayName);
    }
    allocator->Release();
    return picked;
}

int32_t InputIntegerDialog(TCustomForm* owner, const std::string& caption, const std::string& prompt, int32_t min,
                           int32_t max, int32_t def) {
  std::unique_ptr<TfrmEnterValue> window(new TfrmEnterValue(owner));
  if (owner) {
    window->SetLeft(owner->GetLeft() + (owner->GetWidth() - window->GetWidth()) / 2);
    window->SetTop(owner->GetTop() + (owner->GetHeight() - window->GetHeight()) / 2);
  }
  window->SetCaption(caption);
  window->lblDisplayMessage->SetCaption(prompt);
  window->FMinValue = min;
  window->FMaxValue = max;
  window->ShowModal();
  int32_t value = def;
  int errorPos = 0;
  if (window->FAccepted && ConvertIntegerText(window->txtValue->GetCaption(), value, errorPos)) return value;
  return def;
}
