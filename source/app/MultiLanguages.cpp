#include "MultiLanguages.h"

#include <windows.h>

#include <map>

#include "Errors.h"
#include "FileUtils.h"
#include "IniFile.h"
#include "OrvUtils.h"
#include "Settings.h"
#include "Strings.h"
#include "globals.h"

#define LANG_TEXT(name, text) std::string name = text;
#define LANG_TEXT_BLANK(name, text) std::string name = text;
#define LANG_TEXT_READ_ONLY(name, text) std::string name = text;
#define LANG_ENGINE_TEXT_BLANK(name, text)  // defined in Settings.cpp with the same built-in text
#define LANG_EDITOR_TEXT(name)               // defined in EditorTexts.cpp
#define LANG_EDITOR_TEXT_BLANK(name)
#include "LanguageCatalogue.inc"

const char* const LanguageTextSection = "VideoAPP_Convert";
const char* const LanguageAVSExtSection = "VideoAPP_AVSExt";
const char* const LanguageFilterSection = "VideoAPP_Filters";

namespace {

void ShowPlainMessage(const std::string& text) { MessageBoxA(GetActiveWindow(), text.c_str(), AppTitle, MB_OK); }

// A translation is taken only when it has the placeholders of the built-in text, in the same order, so
// that formatting it with the arguments the windows pass cannot fail.
bool FitsBuiltInPattern(const std::string& text, const char* builtIn)
{
    const std::string pattern = builtIn;
    if (pattern.find('%') == std::string::npos) return true;
    std::string expected, actual;
    PatternPlaceholders(pattern, expected);
    return PatternPlaceholders(text, actual) && actual == expected;
}

// The text of an entry as the file holds it (line breaks decoded); `missing` when the file has no such key.
std::string StoredText(const TIniSection& texts, const TLanguageText& entry, const std::string& missing)
{
    return TranslateLineBreaks(texts.ReadString(entry.Key, missing), true);
}

}  // namespace

TLanguageMessage ShowLanguageMessage = ShowPlainMessage;

const std::vector<TLanguageText>& LanguageCatalogue()
{
    static const std::vector<TLanguageText> catalogue = {
#define LANG_TEXT(name, text) {#name, &name, text, true},
#define LANG_TEXT_BLANK(name, text) {#name " ", &name, text, true},
#define LANG_TEXT_READ_ONLY(name, text) {#name, &name, text, false},
#define LANG_ENGINE_TEXT_BLANK(name, text) {#name " ", &name, text, true},
#define LANG_EDITOR_TEXT(name) {#name, &name, EditorBuiltIn::name, true},
#define LANG_EDITOR_TEXT_BLANK(name) {#name " ", &name, EditorBuiltIn::name, true},
#include "LanguageCatalogue.inc"
    };
    return catalogue;
}

const TLanguageText* FindLanguageText(const std::string& key)
{
    for (const TLanguageText& entry : LanguageCatalogue())
        if (SameText(Trim(entry.Key), Trim(key))) return &entry;
    return nullptr;
}

void ResetLanguageTexts()
{
    for (const TLanguageText& entry : LanguageCatalogue()) *entry.Text = entry.BuiltIn;
}

namespace {

// What one language file holds, read completely before any of it is used, so that a broken file leaves
// the current lists and texts as they are.
struct TLanguageData {
    std::vector<std::string> AVSExt, Filters, Texts;  // Texts parallel to LanguageCatalogue()
};

enum class TLanguageFault { None, NoAVSExt, NoFilters };

// Reads File into Data; Data is to be used only when no fault is returned.
TLanguageFault LoadLanguageData(const std::string& file, TLanguageData& data)
{
    const TIniFile ini(file);
    // The list ends at the first missing key; the "<None>" text doubles as its end marker.
    const std::string endMarker = IDS_None;
    const TIniSection extensions(ini, LanguageAVSExtSection);
    for (int n = 1;; ++n) {
        const std::string ext = extensions.ReadString(IntToStr(n), endMarker);
        if (ext == endMarker) break;
        data.AVSExt.push_back(ext);
    }
    if (data.AVSExt.empty()) return TLanguageFault::NoAVSExt;
    data.Filters = ini.ReadSectionValues(LanguageFilterSection);
    if (data.Filters.empty()) return TLanguageFault::NoFilters;
    const TIniSection texts(ini, LanguageTextSection);
    for (const TLanguageText& entry : LanguageCatalogue()) {
        const std::string text = StoredText(texts, entry, *entry.Text);
        // A text that does not fit is shown as the built-in one; the file keeps it (WriteLanguageFile).
        data.Texts.push_back(FitsBuiltInPattern(text, entry.BuiltIn) ? text : Trim(entry.BuiltIn));
    }
    return TLanguageFault::None;
}

void UseLanguageData(const TLanguageData& data)
{
    AVSExtList.Clear();
    for (const std::string& ext : data.AVSExt) AVSExtList.Add(ext);
    FilterList.Clear();
    for (const std::string& line : data.Filters) FilterList.Add(line);
    const std::vector<TLanguageText>& catalogue = LanguageCatalogue();
    for (size_t i = 0; i < catalogue.size(); ++i) *catalogue[i].Text = data.Texts[i];
}

}  // namespace

bool ReadLanguageFile()
{
    if (!FileExists(LanguageFile)) WriteLanguageFile();
    TLanguageData data;
    switch (LoadLanguageData(LanguageFile, data)) {
    case TLanguageFault::NoAVSExt: ShowLanguageMessage(IDS_NoAVSExtersionAllow); return false;
    case TLanguageFault::NoFilters: ShowLanguageMessage(IDS_NoInputFilesAllow); return false;
    case TLanguageFault::None: break;
    }
    UseLanguageData(data);
    return true;
}

bool SwitchLanguageFile(const std::string& file)
{
    // The start-up messages announce the program's end; a switch keeps the running language instead,
    // so it says what is wrong with the chosen file in its own words.
    TLanguageData data;
    std::string fault;
    if (!FileExists(file))
        fault = "cannot be found";
    else
        switch (LoadLanguageData(file, data)) {
        case TLanguageFault::NoAVSExt: fault = "has no DirectShow extension list [" + std::string(LanguageAVSExtSection) + "]"; break;
        case TLanguageFault::NoFilters: fault = "has no open-dialog filter list [" + std::string(LanguageFilterSection) + "]"; break;
        case TLanguageFault::None: break;
        }
    if (!fault.empty()) {
        ShowLanguageMessage("The language file \"" + file + "\" " + fault + ".\r\nThe current language is kept.");
        return false;
    }
    // Remember the choice first: when "config.ini" cannot be written, the exception leaves everything
    // as it was.
    TIniFile config(ConfigIniFile);
    config.WriteString("VideoAPP_Form", "LanguageFile", ExtractFileName(file));
    LanguageFile = file;
    UseLanguageData(data);
    return true;
}

void WriteLanguageFile()
{
    // A translator marks a finished file read-only; it is left alone even where the system would still
    // let us write (an administrator's account, some file systems).
    const DWORD attributes = GetFileAttributesA(LanguageFile.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
    TIniFile ini(LanguageFile);
    try {
        // Every write opens and rewrites the file: a text the file already holds as it would be
        // written is left alone, which gives the same file.
        std::map<std::string, std::string> stored;  // upper-case key -> value as stored; the first wins
        for (const std::string& line : ini.ReadSectionLines(LanguageTextSection)) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos) stored.emplace(UpperCase(Trim(line.substr(0, eq))), line.substr(eq + 1));
        }
        const TIniSection texts(ini, LanguageTextSection);
        for (const TLanguageText& entry : LanguageCatalogue()) {
            if (!entry.WrittenBack) continue;
            const std::string text = TranslateLineBreaks(*entry.Text, false);
            const auto found = stored.find(UpperCase(Trim(entry.Key)));
            if (found != stored.end()) {
                if (found->second == text) continue;
                // A translation the read set aside (its placeholders do not fit, or it is empty) is still
                // a person's work: the built-in text shown in its place never replaces it in the file.
                if (!FitsBuiltInPattern(StoredText(texts, entry, ""), entry.BuiltIn)) continue;
            }
            ini.WriteString(LanguageTextSection, entry.Key, text);
        }
    } catch (const Exception&) {
        // A language file that cannot be written keeps what it has; the program goes on with its texts.
    }
}
