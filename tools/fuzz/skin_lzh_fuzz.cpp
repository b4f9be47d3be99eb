// Fuzz target: skin files through the decompressor alone (an int32 unpacked length, then the LZHUF bit
// stream): any input either unpacks to exactly its stated length or fails with the decoder's exception.
#include <cstdint>

#include "SkinLzh.h"
#include "SkinPackReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream source, target;
  source.SetBytes(std::vector<uint8_t>(data, data + size));
  int32_t length = 0;
  source.ReadExact(&length, 4);
  try {
    TSkinReader::Unpack(source, target);
  } catch (const ElzhException&) {
    return 0;
  }
  if (target.Size() != (length > 0 ? length : 0)) __builtin_trap();  // the promised length, no more, no less
  return 0;
}
