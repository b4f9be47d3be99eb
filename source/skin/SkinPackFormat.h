// Layout constants of the skin pack shared by the reader and the skin-pack tool.
#pragma once

#include <cstdint>

// Bytes that follow the 16-byte header before the names text, by the pack's magic; -1 for a magic the
// reader does not know.
constexpr int SkinPackSkip(int32_t magic) {
  return magic == 20000 ? 0 : magic == 30000 ? 256 : magic == 40000 ? 80 : magic == 50000 ? 48 : -1;
}
