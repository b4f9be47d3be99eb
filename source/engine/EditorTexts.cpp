#include "EditorTexts.h"

#define EDITOR_TEXT(name, text) std::string name = EditorBuiltIn::name;
#include "EditorTexts.inc"
#undef EDITOR_TEXT

void ResetEditorTexts()
{
#define EDITOR_TEXT(name, text) name = EditorBuiltIn::name;
#include "EditorTexts.inc"
#undef EDITOR_TEXT
}
