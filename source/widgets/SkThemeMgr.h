// The theme component (TskFileTheme) and its manager: skinned controls that name a theme component
// draw from the theme file it loaded.
#pragma once

#include <memory>
#include <string>

#include "Graphics.h"
#include "SkStyles.h"
#include "SkThemeFile.h"

class TskFileThemeMgr {
public:
  // False when the file does not exist; otherwise replaces the reader by one on the file.
  bool LoadThemeFile(const std::string& path);
  // The graphic loads itself from the bitmap entry's data; unchanged without the entry.
  void GetBitmap(const std::string& entry, TGraphic* graphic) const;
  bool GetBool(const std::string& entry) const;   // false without a reader
  int GetInt(const std::string& entry) const;     // 0 without a reader
  TColor GetColor(const std::string& entry) const;  // colours are integer entries; 0 without a reader
  const TskThemeFileReader* Reader() const { return FReader.get(); }

private:
  std::unique_ptr<TskThemeFileReader> FReader;
};

class TskFileTheme : public TComponent {
  ORV_CLASS(TskFileTheme)
public:
  explicit TskFileTheme(TComponent* owner);
  std::string GetThemeFile() const { return FThemeFile; }
  // Finds the file (as given, then by name in the program, Windows and system folders; not found:
  // nothing changes), raises for a file that is not a theme file, loads it and has every skinned
  // component of the owner form that uses this theme read it again.
  void SetThemeFile(const std::string& path);
  bool IsLoaded() const { return FLoaded; }

  // Entries by their number in the style table (1..48).
  void GetBitmap(int entry, TGraphic* graphic) const;
  void GetFrame(int entry, TGraphic* graphic, int frame, int frameCount) const;
  bool GetBool(int entry) const;
  int GetInt(int entry) const;
  TColor GetColor(int entry) const;

private:
  std::string FThemeFile;
  TskFileThemeMgr FManager;
  bool FLoaded = false;
};

// Whether to draw from the theme file: only for FromThemeFile with a loaded theme. Without one the
// effective style falls back to DeepBlue.
bool UseFileTheme(TskFileTheme* theme, TskUIStyle style, TskUIStyle& effectiveStyle);
// The style's value of an entry, from the theme file when the style says so (UseFileTheme), else from
// the built-in table; StyleFrame takes frame `frame` (from 1) of `frames` equal horizontal frames.
int StyleInt(TskFileTheme* theme, TskUIStyle style, int entry);
TColor StyleColor(TskFileTheme* theme, TskUIStyle style, int entry);
void StyleFrame(TskFileTheme* theme, TskUIStyle style, int entry, TBitmap* bitmap, int frame, int frames);
