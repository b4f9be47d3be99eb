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

// --- time texts (the rest are in TimeText.cpp) ---

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
    for (const std::string& piece : SplitText(text, delimiter)) pieces.Add(piece);
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
