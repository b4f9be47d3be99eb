#include "ProfileLists.h"

#include "Errors.h"
#include "FileUtils.h"
#include "MultiLanguages.h"
#include "Strings.h"

const std::vector<TProfileFolder>& ProfileFolders()
{
    static const std::vector<TProfileFolder> folders = {
        {0, "avi", &TOptions::AVIProfileDir},  {1, "mp4", &TOptions::MP4ProfileDir},
        {2, "3gp", &TOptions::TGPProfileDir},  {3, "mpg", &TOptions::MPEGProfileDir},
        {4, "mov", &TOptions::MovProfileDir},  {5, "wmv", &TOptions::WmvProfileDir},
        {6, "rm", &TOptions::RmProfileDir},    {7, "swf", &TOptions::SwfProfileDir},
        {10, "aac", &TOptions::AacProfileDir}, {8, "vob", &TOptions::VobProfileDir},
        {11, "ac3", &TOptions::Ac3ProfileDir}, {12, "mp2", &TOptions::Mp2ProfileDir},
        {13, "mp3", &TOptions::Mp3ProfileDir}, {14, "amr", &TOptions::AmrProfileDir},
        {15, "wav", &TOptions::WavProfileDir}, {9, "asf", &TOptions::AsfProfileDir},
    };
    return folders;
}

const TProfileFolder& ProfileFolderOf(TOutputFormat format)
{
    for (const TProfileFolder& folder : ProfileFolders())
        if (folder.Format == format) return folder;
    throw Exception("Unknown output format " + std::to_string(int(format)));
}

const std::vector<TOutputFormat>& ProfileListFillOrder()
{
    // AVI, MP4, 3GP, MPEG, MOV, WMV, RM, SWF, AAC, AC3, MP2, AMR, WAV, MP3, VOB, ASF.
    static const std::vector<TOutputFormat> order = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 14, 15, 13, 8, 9};
    return order;
}

std::string ProfileExt(const std::string& shortName) { return shortName.substr(0, 2) + "o"; }

std::string ProfileFolderPath(TOutputFormat format) { return Options.*ProfileFolderOf(format).Folder; }

std::string ProfilePattern(TOutputFormat format)
{
    return ProfileFolderPath(format) + "*." + ProfileExt(ProfileFolderOf(format).ShortName);
}

std::string ProfileFilePath(TOutputFormat format, const std::string& name)
{
    return ProfileFolderPath(format) + name + "." + ProfileExt(ProfileFolderOf(format).ShortName);
}

bool CreateProfileDirs()
{
    for (const TProfileFolder& folder : ProfileFolders())
        Options.*folder.Folder = Options.ProfileDir + folder.ShortName + "\\";
    for (const TProfileFolder& folder : ProfileFolders())
        if (!ForceDirectories(Options.*folder.Folder)) return false;
    return true;
}

std::vector<std::string> ListProfileNames(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const size_t dot = name.rfind('.');
        names.push_back(dot == std::string::npos ? name : name.substr(0, dot));
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

int ProfileIndexToSelect(const std::vector<std::string>& names, const std::string& select)
{
    if (names.empty()) return -1;
    if (select.empty()) return 0;
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], select)) return int(i);
    return -1;
}

TProfileListActions& ProfileListActions()
{
    static TProfileListActions actions = {
        [](HWND owner, const std::string& text, const std::string& caption) {
            MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
        },
        [] { PostQuitMessage(0); },
    };
    return actions;
}

bool LoadProfileLists(HWND owner, const std::function<void(TOutputFormat format, const std::string& pattern)>& fill)
{
    if (!CreateProfileDirs()) {
        ProfileListActions().ShowWarning(owner, IDS_MESSAGEBOX_CreateDirError, IDS_MESSAGEBOX_Error);
        ProfileListActions().TerminateApplication();
        return false;
    }
    for (TOutputFormat format : ProfileListFillOrder()) fill(format, ProfilePattern(format));
    return true;
}
