// Fuzz target: skin descriptions. The text is parsed and every key of every section read as a string
// and as an integer; then it is packed as the description of a skin file, with a small bitmap under each
// ".bmp" name it mentions, and applied, so that every value the skin engine reads from a description
// meets the engine's own use of it.
#include <cstdint>
#include <set>
#include <string>

#include "Graphics.h"
#include "LzhEncoder.h"
#include "SkinFuzzKit.h"
#include "SkinnerIni.h"

namespace {
const std::vector<uint8_t>& SmallBitmap() {
  static const std::vector<uint8_t> bytes = [] {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(12, 6);
    b.Canvas()->SetPixel(0, 0, clFuchsia);
    return b.SaveToBytes();
  }();
  return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TQuickIni ini;
  ini.LoadFromText(text);
  std::vector<std::string> sections;
  ini.ReadSections(sections);
  std::set<std::string> images;
  for (const std::string& section : sections) {
    const int header = ini.SectionLine(section);
    for (size_t i = size_t(header) + 1; header >= 0 && i < ini.Lines.size() && !TQuickIni::IsSectionLine(ini.Lines[i]);
         ++i) {
      const std::string key = TQuickIni::KeyOfLine(ini.Lines[i]);
      const std::string value = ini.ReadString(section, key, "default");
      (void)ini.ReadInteger(section, key, -7);
      const size_t cut = value.find_last_of("\\:");
      const std::string name = cut == std::string::npos ? value : value.substr(cut + 1);
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0) images.insert(name);
    }
  }
  std::vector<TPackEntry> entries{{"skin.ini", std::vector<uint8_t>(data, data + size)}};
  for (const std::string& name : images) entries.push_back({name, SmallBitmap()});
  if (entries.size() <= 1001) LoadSkinFile(MakeSkinFile(BuildSkinPack(entries)));
  return 0;
}
