// Fuzz target: skin files as the skin component loads them: unpacked, the pack's directory read, its
// description parsed and applied, the bitmaps it names loaded. Random edits of a compressed file mostly
// break the compression, so the mutator edits the unpacked pack and compresses it again (and edits the
// compressed bytes themselves one time in four).
#include <cstdint>
#include <cstring>

#include "LzhEncoder.h"
#include "SkinFuzzKit.h"
#include "SkinLzh.h"
#include "SkinPackReader.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
  if (seed % 4 == 0) return LLVMFuzzerMutate(data, size, maxSize);
  TMemoryStream source, pack;
  source.SetBytes(std::vector<uint8_t>(data, data + size));
  try {
    TSkinReader::Unpack(source, pack);
  } catch (const ElzhException&) {
    return LLVMFuzzerMutate(data, size, maxSize);
  }
  std::vector<uint8_t> unpacked = pack.Bytes();
  const size_t unpackedSize = unpacked.size();
  unpacked.resize(unpackedSize + 4096);
  unpacked.resize(LLVMFuzzerMutate(unpacked.data(), unpackedSize, unpacked.size()));
  const std::vector<uint8_t> file = MakeSkinFile(unpacked);
  if (file.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, file.data(), file.size());
  return file.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadSkinFile(std::vector<uint8_t>(data, data + size));
  return 0;
}
