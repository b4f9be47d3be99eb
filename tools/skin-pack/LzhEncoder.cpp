#include "LzhEncoder.h"

#include <algorithm>

#include "SkinLzh.h"
#include "SkinPackFormat.h"

using namespace Lzh;

namespace {

class TBitWriter {
public:
  // Appends the top `bits` bits of `code` (left-aligned in 16 bits), most significant first.
  void Put(int bits, unsigned code) {
    for (int i = 0; i < bits; ++i) PutBit((code >> (15 - i)) & 1);
  }
  void PutBit(unsigned bit) {
    FByte = uint8_t((FByte << 1) | bit);
    if (++FCount == 8) {
      FBytes.push_back(FByte);
      FByte = 0;
      FCount = 0;
    }
  }
  std::vector<uint8_t> Finish() {
    while (FCount != 0) PutBit(0);
    return std::move(FBytes);
  }

private:
  std::vector<uint8_t> FBytes;
  uint8_t FByte = 0;
  int FCount = 0;
};

class TEncoder {
public:
  explicit TEncoder(TBitWriter& out) : FOut(out) { FTree.StartHuff(); }

  void EncodeChar(int c) {
    // Walk from the leaf to the root collecting which side each node is on, then emit root first.
    int path[T];
    int depth = 0;
    for (int k = FTree.prnt[c + T]; k != R; k = FTree.prnt[k]) path[depth++] = k & 1;
    for (int i = depth - 1; i >= 0; --i) FOut.PutBit(unsigned(path[i]));
    FTree.Update(c);
  }

  void EncodePosition(int distance) {
    const TLzhPositionTable& table = LzhPositionTable();
    const int upper = distance >> 6;
    FOut.Put(table.CodeBits[upper], unsigned(table.Code[upper]) << 8);
    FOut.Put(6, unsigned(distance & 0x3F) << 10);
  }

private:
  TBitWriter& FOut;
  TLzhTree FTree;
};

constexpr int HashSize = 1 << 14;
constexpr int MaxChain = 256;

int Hash3(const uint8_t* p) { return ((p[0] << 6) ^ (p[1] << 3) ^ p[2]) & (HashSize - 1); }

}  // namespace

std::vector<uint8_t> LzhCompress(const std::vector<uint8_t>& data) {
  // The decoder's ring starts with blanks before the first byte; matching against one linear buffer
  // of those blanks followed by the data gives exactly the bytes the decoder finds in its ring
  // (a distance of at most N never reaches a position that was overwritten).
  std::vector<uint8_t> buf(size_t(RingStart), ' ');
  buf.insert(buf.end(), data.begin(), data.end());
  const int total = int(buf.size());
  std::vector<int> head(HashSize, -1), prev(size_t(total), -1);
  auto insert = [&](int pos) {
    if (pos + 2 >= total) return;
    const int h = Hash3(&buf[size_t(pos)]);
    prev[size_t(pos)] = head[size_t(h)];
    head[size_t(h)] = pos;
  };
  for (int pos = 0; pos < RingStart; ++pos) insert(pos);

  TBitWriter out;
  TEncoder encoder(out);
  int t = RingStart;
  while (t < total) {
    int bestLength = 0, bestPos = 0;
    const int limit = std::min(F, total - t);
    if (limit > THRESHOLD) {
      int chain = 0;
      for (int s = head[size_t(Hash3(&buf[size_t(t)]))]; s >= 0 && t - s <= N && chain < MaxChain;
           s = prev[size_t(s)], ++chain) {
        int length = 0;
        while (length < limit && buf[size_t(s + length)] == buf[size_t(t + length)]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestPos = s;
          if (length == limit) break;
        }
      }
    }
    if (bestLength > THRESHOLD) {
      encoder.EncodeChar(255 - THRESHOLD + bestLength);
      encoder.EncodePosition(t - bestPos - 1);
    } else {
      bestLength = 1;
      encoder.EncodeChar(buf[size_t(t)]);
    }
    for (int k = 0; k < bestLength; ++k) insert(t + k);
    t += bestLength;
  }
  return out.Finish();
}

namespace {
void PutInt32(std::vector<uint8_t>& out, int32_t v) {
  const uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(u >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> MakeSkinFile(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> file;
  PutInt32(file, int32_t(data.size()));
  const std::vector<uint8_t> stream = LzhCompress(data);
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

std::vector<uint8_t> BuildSkinPack(const std::vector<TPackEntry>& entries, int32_t magic) {
  std::string names;
  for (const TPackEntry& e : entries) names += e.Name + "\r\n";
  std::vector<uint8_t> pack;
  PutInt32(pack, magic);
  PutInt32(pack, int32_t(names.size()));
  pack.insert(pack.end(), 8 + size_t(std::max(0, SkinPackSkip(magic))), 0);
  pack.insert(pack.end(), names.begin(), names.end());
  for (const TPackEntry& e : entries) PutInt32(pack, int32_t(e.Bytes.size()));
  for (const TPackEntry& e : entries) pack.insert(pack.end(), e.Bytes.begin(), e.Bytes.end());
  return pack;
}
