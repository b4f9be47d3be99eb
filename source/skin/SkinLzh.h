// The decoder of skin files: LZSS over a 4096-byte ring whose symbols (literals and match lengths) are
// coded by an adaptive Huffman tree and whose match distances are coded by a fixed prefix table
// (the LZHUF scheme). The adaptive tree and the distance table are shared with the skin-pack tool's
// encoder, so both sides always agree on them.
//
// Plain C++ apart from the platform's exception and stream classes, so the build-machine tool can
// compile it as well.
#pragma once

#include <cstdint>

#include "Errors.h"
#include "MemoryStream.h"

namespace Lzh {
constexpr int N = 4096;            // ring size
constexpr int F = 60;              // longest match
constexpr int THRESHOLD = 2;       // shortest match is THRESHOLD + 1
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314: literals and match lengths
constexpr int T = N_CHAR * 2 - 1;  // 627 nodes
constexpr int R = T - 1;           // root
constexpr int MAX_FREQ = 0x8000;   // root frequency that halves all counts
constexpr int RingStart = N - F;   // 4036: where the first byte lands
}  // namespace Lzh

class ElzhException : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "ElzhException"; }
};

// The adaptive Huffman tree. Nodes sit in order of frequency; the children of inner node i are son[i]
// (bit 0) and son[i] + 1 (bit 1); a son of T or more is a leaf for symbol son - T.
struct TLzhTree {
  uint16_t freq[Lzh::T + 1];
  int16_t prnt[Lzh::T + Lzh::N_CHAR];
  int16_t son[Lzh::T];

  void StartHuff();
  void Reconst();
  void Update(int c);
};

// The distance prefix table, indexed by the first 8 bits of a distance code: the upper 6 bits of the
// distance and the length in bits of the prefix (3..8). Six plain bits of the distance follow.
struct TLzhPositionTable {
  uint8_t Upper[256];
  uint8_t Bits[256];
  // For the encoder: the prefix of each upper value, left-aligned in 8 bits, and its length.
  uint8_t Code[64];
  uint8_t CodeBits[64];
};
const TLzhPositionTable& LzhPositionTable();

class TLZH {
public:
  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Streams of one decode (not owned). The source is read from its position, the target written at its.
  TMemoryStream* Source = nullptr;
  TMemoryStream* Target = nullptr;

  // Decodes exactly Length bytes (nothing for 0 or below). Compressed data that ends before the last
  // byte was produced raises ElzhException: a skin file carries no checksum, so running out of input is
  // the one sign of a cut or wrong-length file, and inventing bytes from nothing would hide it.
  void Unpack(int32_t length);

  void ReadSource(uint8_t* buffer, uint16_t count, uint16_t& actual);
  void WriteTarget(const uint8_t* buffer, uint16_t count, uint16_t& actual);

private:
  void AllocTables();
  void FreeTables();
  void FillBits();
  int GetBit();
  int GetByte();
  int DecodeChar();
  int DecodePosition();
  void Emit(uint8_t b);
  void FlushOutput();

  TLzhTree* FTree = nullptr;
  uint8_t* FRing = nullptr;
  uint16_t FBitBuf = 0;
  uint8_t FBitCount = 0;
  uint8_t FPhantomBits = 0;  // bits at the bottom of the buffer that came from beyond the input
  uint8_t FOut[4096];
  uint16_t FOutCount = 0;
};
