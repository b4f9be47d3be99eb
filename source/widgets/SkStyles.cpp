#include "SkStyles.h"

#include "Controls.h"
#include "Errors.h"
#include "Forms.h"
#include "SkBitmaps.h"
#include "SkUtils.h"

const std::vector<std::string>& UIStyleNames() {
  static const std::vector<std::string> names = {"FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
  return names;
}

const std::vector<std::string>& DrawStyleNames() {
  static const std::vector<std::string> names = {"skNormal", "skStretch", "skTile"};
  return names;
}

namespace {

// One row per entry. Bitmap rows name their resources as <STYLE>_<Suffix>; a row with explicit names
// lists them per style; a bitmap row with neither has no built-in bitmap.
struct TRow {
  const char* Name;
  TskThemeEntryKind Kind;
  int Values[5];
  const char* Suffix;
  const char* Names[5];
};

const char* const kStylePrefix[5] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};

const TRow kRows[skThemeEntryCount] = {
    {"ButtonImage", tkBitmap, {}, "BUTTON", {}},
    {"ButtonTransparentBool", tkBoolean, {1, 0, 0, 0, 1}, nullptr, {}},
    {"CheckBoxImage", tkBitmap, {}, "CHECKBOX", {}},
    {"RadioButtonImage", tkBitmap, {}, "RADIOBUTTON", {}},
    {"TitleBarButtonImage", tkBitmap, {}, "TITLEBTN", {}},
    {"TitleBarButtonTransparentBool", tkBoolean, {0, 0, 0, 1, 1}, nullptr, {}},
    {"TitleBarButtonLeftOffsetInt", tkInteger, {3, 2, 0, 0, 4}, nullptr, {}},
    {"TitleBarButtonRightOffsetInt", tkInteger, {-2, -2, 0, 0, -3}, nullptr, {}},
    {"TitleBarButtonTopInt", tkInteger, {4, 5, 2, 2, 6}, nullptr, {}},
    {"TitleBarLeftImage", tkBitmap, {}, "TITLE_LEFT", {}},
    {"TitleBarClientImage", tkBitmap, {}, "TITLE_CLIENT", {}},
    {"TitleBarRightImage", tkBitmap, {}, "TITLE_RIGHT", {}},
    {"FormMinWidthInt", tkInteger, {130, 150, 130, 130, 270}, nullptr, {}},
    {"FormRoundCornerInt", tkInteger, {0, 13, 0, 0, 11}, nullptr, {}},
    {"FormBackgroundColor", tkColor, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr, {}},
    {"FormBorderColor", tkColor, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}, nullptr, {}},
    {"FormBorderWidthInt", tkInteger, {1, 3, 1, 1, 1}, nullptr, {}},
    {"MenuSelectedBorderColor", tkColor, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}, nullptr, {}},
    {"MenuSelectedBackgroundColor", tkColor, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}, nullptr, {}},
    {"MenuSelectedFontColor", tkColor, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, nullptr, {}},
    {"MenuBackgroundColor", tkColor, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}, nullptr, {}},
    {"MenuFontColor", tkColor, {0, 0, 0, 0, 0}, nullptr, {}},
    {"MenuBarColor", tkColor, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}, nullptr, {}},
    {"ProgressBarImage", tkBitmap, {}, "PROGRESSBAR", {}},
    {"ControlBorderColor", tkColor, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}, nullptr, {}},
    {"ControlBackgroundColor", tkColor, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr, {}},
    {"ControlFontColor", tkColor, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}, nullptr, {}},
    {"TrackBarBarImage", tkBitmap, {}, "TRACKBAR_BAR", {}},
    {"TrackBarSliderImage", tkBitmap, {}, "TRACKBAR_SLIDER", {}},
    {"TrackBarSliderVImage", tkBitmap, {}, "TRACKBAR_SLIDER_V", {}},
    {"ScrollBarBackgroundColor", tkColor, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}, nullptr, {}},
    {"ScrollBarButtonImage", tkBitmap, {}, "SCROLLBAR_BUTTON", {}},
    {"ScrollBarSliderImage", tkBitmap, {}, "SCROLLBAR_TRACK", {}},
    {"CheckListBoxImage", tkBitmap, {}, "CHECKLIST", {}},
    {"ToolBarButtonBorderColor", tkColor, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}, nullptr, {}},
    {"ToolBarButtonBackgroundColor", tkColor, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}, nullptr, {}},
    {"ToolBarButtonDownBackgroundColor", tkColor, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}, nullptr, {}},
    {"ScrollButtonImage", tkBitmap, {}, nullptr,
     {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON"}},
    {"TabControlTabImage", tkBitmap, {}, "TAB", {}},
    {"TabControlBarImage", tkBitmap, {}, "TAB_LINE", {}},
    {"SideChannelHandleImage", tkBitmap, {}, "SIDECHENNEL_HANDLE", {}},
    {"SideChannelBarImage", tkBitmap, {}, "SIDECHENNEL_BAR", {}},
    {"TitleBarMinimizedImage", tkBitmap, {}, nullptr, {}},
    {"TitleBarFontColor", tkColor, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, nullptr, {}},
    {"FormLeftBorderImage", tkBitmap, {}, nullptr, {}},
    {"FormBottomBorderImage", tkBitmap, {}, nullptr, {}},
    {"FormBottomRoundCornerInt", tkInteger, {0, 0, 0, 0, 0}, nullptr, {}},
    {"MenuMenuBarColor", tkColor, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr, {}},
};

}  // namespace

std::string ThemeEntryName(int entry) {
  if (entry < 1 || entry > skThemeEntryCount) return std::string();
  return kRows[entry - 1].Name;
}

TskThemeEntry GetBuiltInThemeEntry(TskUIStyle style, int entry) {
  TskThemeEntry e;
  if (style < MacOS || style > BlueGlass || entry < 1 || entry > skThemeEntryCount) return e;
  const TRow& row = kRows[entry - 1];
  int s = int(style) - 1;
  e.Kind = row.Kind;
  if (row.Kind != tkBitmap) {
    e.Value = row.Values[s];
  } else {
    e.Value = 0;
    if (row.Suffix)
      e.BitmapName = std::string(kStylePrefix[s]) + "_" + row.Suffix;
    else if (row.Names[s])
      e.BitmapName = row.Names[s];
  }
  return e;
}

int GetBuiltInThemeInt(TskUIStyle style, int entry) {
  TskThemeEntry e = GetBuiltInThemeEntry(style, entry);
  return e.Kind == tkInteger ? e.Value : -1;
}

TColor GetBuiltInThemeColor(TskUIStyle style, int entry) {
  TskThemeEntry e = GetBuiltInThemeEntry(style, entry);
  return e.Kind == tkColor ? e.Value : 0;
}

bool GetBuiltInThemeBool(TskUIStyle style, int entry) {
  TskThemeEntry e = GetBuiltInThemeEntry(style, entry);
  return e.Kind == tkBoolean && e.Value != 0;
}

void GetBuiltInThemeBitmap(TskUIStyle style, int entry, TGraphic* graphic, int frame, int frameCount) {
  if (!graphic) return;
  TskThemeEntry e = GetBuiltInThemeEntry(style, entry);
  if (e.Kind != tkBitmap) return;
  if (e.BitmapName.empty())
    throw Exception("Resource for " + ThemeEntryName(entry) + " of style " + UIStyleNames()[style] + " not found");
  TBitmap whole;
  LoadSkinFormBitmap(e.BitmapName, &whole);
  if (frameCount == 0) {
    graphic->Assign(&whole);
    return;
  }
  TBitmap part;
  ExtractFrame(&whole, &part, frameCount, frame);
  graphic->Assign(&part);
}

TskUIStyle DefaultUIStyleFor(TComponent* owner) {
  if (auto* form = As<TCustomForm>(owner)) {
    for (TControl* c : form->ControlList())
      if (c->InheritsFrom("TskForm")) return TskUIStyle(GetOrdProp(c, "UIStyle"));
  }
  return DeepBlue;
}

void ApplyUIStyleToChildren(TWinControl* form, TskUIStyle style, TComponent* theme) {
  if (!form) return;
  auto children = form->ControlList();
  for (TControl* c : children) {
    const TPropInfo* fileTheme = c->ClassInfo().FindProp("FileTheme");
    if (!fileTheme || !c->ClassInfo().FindProp("UIStyle")) continue;
    if (fileTheme->SetObj) fileTheme->SetObj(c, theme);
    SetOrdProp(c, "UIStyle", style);
  }
}
