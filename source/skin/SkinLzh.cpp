#include "SkinLzh.h"

#include <cstring>
#include <new>

using namespace Lzh;

// ---- adaptive Huffman tree ----

void TLzhTree::StartHuff() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = int16_t(i + T);
    prnt[i + T] = int16_t(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = uint16_t(freq[i] + freq[i + 1]);
    son[j] = int16_t(i);
    prnt[i] = prnt[i + 1] = int16_t(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

void TLzhTree::Reconst() {
  // Leaves to the front, counts halved (rounding up so none becomes 0).
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = uint16_t((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  // Inner nodes rebuilt by pairing neighbours, each inserted where its count keeps the order.
  for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
    const unsigned f = unsigned(freq[i]) + freq[i + 1];
    int k = n - 1;
    while (k > 0 && f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], sizeof(freq[0]) * size_t(n - k));
    std::memmove(&son[k + 1], &son[k], sizeof(son[0]) * size_t(n - k));
    freq[k] = uint16_t(f);
    son[k] = int16_t(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T)
      prnt[k] = int16_t(i);
    else
      prnt[k] = prnt[k + 1] = int16_t(i);
  }
}

void TLzhTree::Update(int c) {
  if (freq[R] == MAX_FREQ) Reconst();
  c = prnt[c + T];
  do {
    const unsigned k = ++freq[c];
    // Keep the order: swap with the last node that now counts less.
    if (k > freq[c + 1]) {
      int l = c + 1;
      while (k > freq[l + 1]) ++l;
      freq[c] = freq[l];
      freq[l] = uint16_t(k);
      const int i = son[c];
      prnt[i] = int16_t(l);
      if (i < T) prnt[i + 1] = int16_t(l);
      const int j = son[l];
      son[l] = int16_t(i);
      prnt[j] = int16_t(c);
      if (j < T) prnt[j + 1] = int16_t(c);
      son[c] = int16_t(j);
      c = l;
    }
    c = prnt[c];
  } while (c != 0);
}

// ---- distance table ----

const TLzhPositionTable& LzhPositionTable() {
  static const TLzhPositionTable table = [] {
    // How many upper values share each prefix length: 1 of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7,
    // 16 of 8. A prefix of b bits covers 2^(8 - b) values of the first byte.
    struct Group {
      int Count, Bits;
    };
    static const Group groups[] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};
    TLzhPositionTable t{};
    int upper = 0, byte = 0;
    for (const Group& g : groups) {
      for (int n = 0; n < g.Count; ++n, ++upper) {
        t.Code[upper] = uint8_t(byte);
        t.CodeBits[upper] = uint8_t(g.Bits);
        for (int k = 0; k < (1 << (8 - g.Bits)); ++k, ++byte) {
          t.Upper[byte] = uint8_t(upper);
          t.Bits[byte] = uint8_t(g.Bits);
        }
      }
    }
    return t;
  }();
  return table;
}

// ---- decoder ----

TLZH::TLZH() = default;

TLZH::~TLZH() { FreeTables(); }

void TLZH::AllocTables() {
  FreeTables();
  FTree = new (std::nothrow) TLzhTree;
  FRing = new (std::nothrow) uint8_t[N + F - 1];
  if (!FTree || !FRing) {
    FreeTables();
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

void TLZH::FreeTables() {
  delete FTree;
  delete[] FRing;
  FTree = nullptr;
  FRing = nullptr;
}

void TLZH::ReadSource(uint8_t* buffer, uint16_t count, uint16_t& actual) {
  actual = count;
  if (!Source) {
    actual = 0;
    return;
  }
  const int64_t remaining = Source->Size() - Source->Position();
  if (remaining < actual) actual = uint16_t(remaining < 0 ? 0 : remaining);
  Source->Read(buffer, actual);
}

void TLZH::WriteTarget(const uint8_t* buffer, uint16_t count, uint16_t& actual) {
  if (Target) Target->Write(buffer, count);
  actual = count;
}

void TLZH::FillBits() {
  while (FBitCount < 9) {
    uint8_t b = 0;
    uint16_t got = 0;
    ReadSource(&b, 1, got);
    if (got == 0) {
      b = 0;  // read-ahead past the end; an error only when such a bit is actually used
      FPhantomBits = uint8_t(FPhantomBits + 8);
    }
    FBitBuf = uint16_t(FBitBuf | (unsigned(b) << (8 - FBitCount)));
    FBitCount = uint8_t(FBitCount + 8);
  }
}

int TLZH::GetBit() {
  FillBits();
  if (FBitCount - 1 < FPhantomBits) throw ElzhException("LZH : Compressed data ends before the unpacked length");
  const int bit = FBitBuf >> 15;
  FBitBuf = uint16_t(FBitBuf << 1);
  --FBitCount;
  return bit;
}

int TLZH::GetByte() {
  FillBits();
  if (FBitCount - 8 < FPhantomBits) throw ElzhException("LZH : Compressed data ends before the unpacked length");
  const int byte = FBitBuf >> 8;
  FBitBuf = uint16_t(FBitBuf << 8);
  FBitCount = uint8_t(FBitCount - 8);
  return byte;
}

int TLZH::DecodeChar() {
  int c = FTree->son[R];
  while (c < T) c = FTree->son[c + GetBit()];
  c -= T;
  FTree->Update(c);
  return c;
}

int TLZH::DecodePosition() {
  const TLzhPositionTable& table = LzhPositionTable();
  int i = GetByte();
  const int upper = table.Upper[i] << 6;
  for (int j = table.Bits[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
  return upper | (i & 0x3F);
}

void TLZH::Emit(uint8_t b) {
  FOut[FOutCount++] = b;
  if (FOutCount == sizeof(FOut)) FlushOutput();
}

void TLZH::FlushOutput() {
  uint16_t written = 0;
  if (FOutCount) WriteTarget(FOut, FOutCount, written);
  FOutCount = 0;
}

void TLZH::Unpack(int32_t length) {
  AllocTables();
  FBitBuf = 0;
  FBitCount = 0;
  FPhantomBits = 0;
  FOutCount = 0;
  try {
    FTree->StartHuff();
    // The whole ring starts blank; positions 4036.. are never read by a well-formed stream anyway.
    std::memset(FRing, ' ', N + F - 1);
    int r = RingStart;
    int32_t count = 0;
    while (count < length) {
      const int c = DecodeChar();
      if (c < 256) {
        Emit(uint8_t(c));
        FRing[r] = uint8_t(c);
        r = (r + 1) & (N - 1);
        ++count;
      } else {
        const int p = (r - DecodePosition() - 1) & (N - 1);
        const int matchLength = c - 255 + THRESHOLD;
        // A match never runs past the stated length: the output is exactly what the header promises.
        for (int k = 0; k < matchLength && count < length; ++k) {
          const uint8_t b = FRing[(p + k) & (N - 1)];
          Emit(b);
          FRing[r] = b;
          r = (r + 1) & (N - 1);
          ++count;
        }
      }
    }
    FlushOutput();
  } catch (...) {
    FlushOutput();
    FreeTables();
    throw;
  }
  FreeTables();
}
