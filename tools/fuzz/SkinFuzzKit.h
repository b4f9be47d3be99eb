// What the skin fuzz targets share: loading a skin file the way the main window's skin component does
// (unpack, read the directory, read the description, load the bitmaps it names, build the elements),
// with the message about old skin files answered by nobody.
#pragma once

#include <cstdint>
#include <vector>

#include "Prompter.h"
#include "SkinnerData.h"

inline void LoadSkinFile(const std::vector<uint8_t>& skinFile) {
  static TRecordingPrompter silent;
  silent.Prompts.clear();
  SetPrompter(&silent);
  TSkinData skin(nullptr);
  TLayoutData data;
  data.Bytes = skinFile;
  skin.SetSkinStreamData(data);  // failures leave the component without a skin and are not raised
}
