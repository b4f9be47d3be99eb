// Files under resources/ embedded into the executable (layouts, pictures, the skin pack).
// The build generates the table from the folder; names are paths relative to resources/ with
// forward slashes, compared without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TEmbeddedFile {
  const char* Name;
  const uint8_t* Data;
  size_t Size;
};

// Defined in the generated source; empty when resources/ holds nothing.
const TEmbeddedFile* EmbeddedFiles(size_t& count);

const TEmbeddedFile* FindEmbeddedFile(const std::string& name);
// The file's bytes; raises EPropertyError naming the file when it is missing.
std::vector<uint8_t> EmbeddedFileBytes(const std::string& name);
