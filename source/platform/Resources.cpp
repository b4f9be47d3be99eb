#include "Resources.h"

#include "Component.h"

const TEmbeddedFile* FindEmbeddedFile(const std::string& name) {
  std::string n = name;
  for (auto& c : n)
    if (c == '\\') c = '/';
  size_t count = 0;
  const TEmbeddedFile* files = EmbeddedFiles(count);
  for (size_t i = 0; i < count; ++i)
    if (SameTextCI(files[i].Name, n)) return &files[i];
  return nullptr;
}

std::vector<uint8_t> EmbeddedFileBytes(const std::string& name) {
  const TEmbeddedFile* f = FindEmbeddedFile(name);
  if (!f) throw EPropertyError("Resource \"" + name + "\" is not embedded in the program");
  return std::vector<uint8_t>(f->Data, f->Data + f->Size);
}
