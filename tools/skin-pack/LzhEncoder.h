// The encoder side of skin files: LZSS matches over the decoder's 4096-byte ring, symbols through the
// same adaptive Huffman tree and distances through the same prefix table as the decoder in
// source/skin/SkinLzh (shared code, so the two cannot drift apart).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The compressed bit stream alone (no length in front); the last byte is padded with zero bits.
std::vector<uint8_t> LzhCompress(const std::vector<uint8_t>& data);
// A skin file: the unpacked length as a little-endian int32, then the bit stream.
std::vector<uint8_t> MakeSkinFile(const std::vector<uint8_t>& data);

struct TPackEntry {
  std::string Name;
  std::vector<uint8_t> Bytes;
};
// The unpacked skin pack: magic, names length, 8 zero bytes, the block the magic asks to skip (zeros),
// the names separated by CR LF with one after the last, the int32 sizes, the entries' bytes.
std::vector<uint8_t> BuildSkinPack(const std::vector<TPackEntry>& entries, int32_t magic = 20000);
