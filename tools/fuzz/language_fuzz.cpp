// Fuzz target: language files, read as at start-up (the DirectShow extension list, the open-dialog
// filters and every text of the catalogue); a file without one of the lists is refused with a message.
#include <cstdint>

#include "IniFileFuzzKit.h"
#include "MultiLanguages.h"
#include "globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ShowLanguageMessage = [](const std::string&) {};
  TInputIniFile file(data, size, ".ini");
  LanguageFile = file.Path;
  ResetLanguageTexts();
  ReadLanguageFile();
  return 0;
}
