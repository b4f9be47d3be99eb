// skin-pack: makes skin files for the program's skin engine.
//
//   skin-pack draw FOLDER            writes the program's own skin (skin.ini and its bitmaps) into FOLDER
//   skin-pack resources FOLDER       writes the engine's own pictures (TRACK, TRACKVERT, TARNWICKMENU), kept
//                                     in resources/bitmaps/
//   skin-pack pack FOLDER OUT [MAGIC] packs FOLDER's .ini description and .bmp images into the skin file
//                                     OUT (the description first, then the images by name); MAGIC is
//                                     20000 (default), 30000, 40000 or 50000
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "LzhEncoder.h"
#include "OrvaneSkin.h"
#include "SkinPackFormat.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
  std::fprintf(stderr, "usage: skin-pack draw|resources FOLDER | skin-pack pack FOLDER OUT [MAGIC]\n");
  return 2;
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

int Draw(const fs::path& folder, const std::vector<TSkinFile>& files) {
  fs::create_directories(folder);
  for (const TSkinFile& f : files) {
    if (!WriteFile(folder / f.Name, f.Bytes)) {
      std::fprintf(stderr, "skin-pack: cannot write %s\n", (folder / f.Name).string().c_str());
      return 1;
    }
  }
  return 0;
}

int Pack(const fs::path& folder, const fs::path& out, int32_t magic) {
  if (SkinPackSkip(magic) < 0) {
    std::fprintf(stderr, "skin-pack: unknown magic %d\n", int(magic));
    return 2;
  }
  std::vector<fs::path> inis, bitmaps;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = Lower(entry.path().extension().string());
    if (ext == ".ini") inis.push_back(entry.path());
    if (ext == ".bmp") bitmaps.push_back(entry.path());
  }
  if (inis.size() != 1) {
    std::fprintf(stderr, "skin-pack: %s must hold exactly one .ini description\n", folder.string().c_str());
    return 1;
  }
  std::sort(bitmaps.begin(), bitmaps.end());
  std::vector<TPackEntry> entries;
  inis.insert(inis.end(), bitmaps.begin(), bitmaps.end());
  for (const fs::path& p : inis) {
    std::ifstream in(p, std::ios::binary);
    entries.push_back({p.filename().string(),
                       std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>())});
  }
  if (!WriteFile(out, MakeSkinFile(BuildSkinPack(entries, magic)))) {
    std::fprintf(stderr, "skin-pack: cannot write %s\n", out.string().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  try {
    if (command == "draw" && argc == 3) return Draw(argv[2], DrawOrvaneSkin());
    if (command == "resources" && argc == 3) return Draw(argv[2], DrawEngineBitmaps());
    if (command == "pack" && (argc == 4 || argc == 5))
      return Pack(argv[2], argv[3], argc == 5 ? int32_t(std::atoi(argv[4])) : 20000);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin-pack: %s\n", e.what());
    return 1;
  }
  return Usage();
}
