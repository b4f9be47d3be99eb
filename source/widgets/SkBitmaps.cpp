#include "SkBitmaps.h"

#include "Errors.h"
#include "Resources.h"

void LoadSkinFormBitmap(const std::string& name, TBitmap* bitmap) {
  const TEmbeddedFile* file = FindEmbeddedFile("pictures/styles/" + name + ".bmp");
  if (!file) throw Exception("Resource " + name + " not found");
  bitmap->LoadFromBytes(std::vector<uint8_t>(file->Data, file->Data + file->Size));
}
