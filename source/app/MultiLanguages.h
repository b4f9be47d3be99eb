// The language string table and the language file it is read from and written back to.
// Every text the user sees is one of the IDS_ variables below; each starts with its built-in English
// text and is replaced by ReadLanguageFile. Windows copy them when they apply their texts.
#pragma once
#include <string>
#include <vector>

#include "EditorTexts.h"  // the profile editors' texts, which the catalogue below names too

#define LANG_TEXT(name, text) extern std::string name;
#define LANG_TEXT_BLANK(name, text) extern std::string name;
#define LANG_TEXT_READ_ONLY(name, text) extern std::string name;
#define LANG_ENGINE_TEXT_BLANK(name, text) extern std::string name;
#define LANG_EDITOR_TEXT(name)
#define LANG_EDITOR_TEXT_BLANK(name)
#include "LanguageCatalogue.inc"

// Sections of a language file.
extern const char* const LanguageTextSection;     // "VideoAPP_Convert": LanguageName and the texts
extern const char* const LanguageAVSExtSection;   // "VideoAPP_AVSExt": 1=.ext, 2=.ext, ...
extern const char* const LanguageFilterSection;   // "VideoAPP_Filters": name=pattern lines

// One entry of the catalogue.
struct TLanguageText {
    const char* Key;        // as stored in the file (ten keys end in one blank)
    std::string* Text;      // the variable every window reads
    const char* BuiltIn;    // English text, line breaks as CR LF
    bool WrittenBack;       // false for the two about-window texts that only a translator sets
};

// All 300 entries in file order.
const std::vector<TLanguageText>& LanguageCatalogue();
// The entry of a key (compared without regard to case or surrounding blanks), or null.
const TLanguageText* FindLanguageText(const std::string& key);
// Puts the built-in text back into every variable (a fresh start; used by tests).
void ResetLanguageTexts();

// Fills AVSExtList, FilterList and every text from LanguageFile (creating the file with the current
// texts first when it does not exist). False, after a message, when the file has no extension list or
// no filter list; the caller then ends the program. A translated text whose "%s"/"%d" placeholders differ
// from those of its built-in text (an empty one included) is not taken: the built-in text is shown
// instead, and the file keeps the translation.
bool ReadLanguageFile();
// Makes File (a full path) the language: reads it completely first and only when it holds both lists
// writes its name to "config.ini" and takes its lists and texts. Otherwise a message says why and the
// current language, "config.ini" and every text stay as they were (false). A failed write of
// "config.ini" raises and changes nothing either.
bool SwitchLanguageFile(const std::string& file);
// Writes every text except the two read-only ones back into LanguageFile, on one line each ("#13" for a
// line break), except over a text of the file that the read set aside: what a person wrote stays. Stops
// silently at the first failed write (a read-only file, a missing folder).
void WriteLanguageFile();

// How ReadLanguageFile shows its two failure messages; tests replace it.
using TLanguageMessage = void (*)(const std::string& text);
extern TLanguageMessage ShowLanguageMessage;
