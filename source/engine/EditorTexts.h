// The language texts of the profile editor windows. The editors read these variables (never write
// them); the application's language catalogue fills them from the language file like its own texts.
// They live here, below both, because the editors may not reach into the application.
#pragma once
#include <string>

// The built-in English texts, as constants the catalogue and the langs\English.ini generator share.
namespace EditorBuiltIn {
#define EDITOR_TEXT(name, text) inline constexpr const char name[] = text;
#include "EditorTexts.inc"
#undef EDITOR_TEXT
}  // namespace EditorBuiltIn

#define EDITOR_TEXT(name, text) extern std::string name;
#include "EditorTexts.inc"
#undef EDITOR_TEXT

// Puts every editor text back to its built-in text.
void ResetEditorTexts();
