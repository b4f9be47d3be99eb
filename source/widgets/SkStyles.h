// The skin-form pack's looks: the style enumeration, the rule that picks a new control's style, and the
// 48-entry table of the five built-in styles (integers, colours, Booleans and bitmap resource names).
// Theme files (SkThemeFile, SkThemeMgr) carry the same entries by name.
#pragma once

#include <string>

#include "Controls.h"
#include "Graphics.h"

enum TskUIStyle { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };
const std::vector<std::string>& UIStyleNames();

// How a picture fills a skinned control.
enum TskDrawStyle { skNormal, skStretch, skTile };
const std::vector<std::string>& DrawStyleNames();

enum TskThemeEntryKind { tkInteger, tkColor, tkBoolean, tkBitmap };

struct TskThemeEntry {
  TskThemeEntryKind Kind = tkInteger;
  int Value = -1;          // integer, colour ($00BBGGRR) or Boolean (0/1)
  std::string BitmapName;  // resource name of a bitmap entry; empty when the style has none
};

constexpr int skThemeEntryCount = 48;
// Entry names 1..48 ("ButtonImage" ... "MenuMenuBarColor"); empty outside the range.
std::string ThemeEntryName(int entry);
// The entry of a built-in style; FromThemeFile, a style outside MacOS..BlueGlass or an entry outside
// 1..48 answer an integer of -1.
TskThemeEntry GetBuiltInThemeEntry(TskUIStyle style, int entry);
int GetBuiltInThemeInt(TskUIStyle style, int entry);      // -1 unless an integer entry
TColor GetBuiltInThemeColor(TskUIStyle style, int entry); // 0 unless a colour entry
bool GetBuiltInThemeBool(TskUIStyle style, int entry);    // false unless a Boolean entry
// Loads the entry's bitmap resource into `graphic`: whole when frameCount is 0, otherwise frame
// `frame` (from 1) of `frameCount` equal horizontal frames. Nothing for a null graphic or an entry
// that is not a bitmap; raises when the style has no bitmap for the entry.
void GetBuiltInThemeBitmap(TskUIStyle style, int entry, TGraphic* graphic, int frame = 0, int frameCount = 0);

// The style a new control takes: the UIStyle of the first skinned form frame ("TskForm") placed
// directly on the owner form; DeepBlue otherwise.
TskUIStyle DefaultUIStyleFor(TComponent* owner);

// Every direct child control of `form` that publishes both "FileTheme" and "UIStyle" gets the theme
// component, then the style.
void ApplyUIStyleToChildren(TWinControl* form, TskUIStyle style, TComponent* theme);
