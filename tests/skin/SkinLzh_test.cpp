// The skin file decoder: round trips through the skin-pack tool's encoder, hand-derived streams, and
// damaged input that must end in an error or exactly the promised number of bytes.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "LzhEncoder.h"
#include "SkinLzh.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Unpack(const Bytes& stream, int32_t length) {
  TMemoryStream source, target;
  source.SetBytes(stream);
  TLZH lzh;
  lzh.Source = &source;
  lzh.Target = &target;
  lzh.Unpack(length);
  return target.Bytes();
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Random(size_t n, unsigned seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = uint8_t(rng() % unsigned(alphabet));
  return b;
}

struct RoundTripCase {
  const char* Name;
  Bytes Data;
};

std::vector<RoundTripCase> RoundTripCases() {
  Bytes allValues(256);
  for (int i = 0; i < 256; ++i) allValues[size_t(i)] = uint8_t(i);
  Bytes allValuesThrice;
  for (int k = 0; k < 3; ++k) allValuesThrice.insert(allValuesThrice.end(), allValues.begin(), allValues.end());
  Bytes runs;  // runs longer than the longest match, of several bytes including the ring's blank
  for (uint8_t b : {uint8_t('x'), uint8_t(' '), uint8_t(0), uint8_t(0xFF)}) runs.insert(runs.end(), 150, b);
  Bytes text;
  for (int i = 0; i < 300; ++i) {
    const std::string line = "[Button" + std::to_string(i % 17) + "]\r\nImage=btn" + std::to_string(i) + ".bmp\r\n";
    text.insert(text.end(), line.begin(), line.end());
  }
  // More than 32768 symbols: the tree is rebuilt (its counts halved) at least once.
  Bytes manySymbols = Random(40000, 7);
  Bytes far = Random(5000, 3, 4);  // small alphabet: many matches, distances across the whole ring
  return {
      {"empty", {}},
      {"one byte", {'A'}},
      {"one blank", {' '}},
      {"two bytes", {0, 0xFF}},
      {"run of 61", Bytes(61, 'q')},
      {"run of 200 blanks", Bytes(200, ' ')},
      {"runs", runs},
      {"all byte values", allValues},
      {"all byte values thrice", allValuesThrice},
      {"text", text},
      {"random", Random(3000, 1)},
      {"small alphabet", far},
      {"many symbols", manySymbols},
  };
}

TEST(SkinLzh, RoundTripsThroughTheEncoder) {
  for (const RoundTripCase& c : RoundTripCases()) {
    SCOPED_TRACE(c.Name);
    const Bytes stream = LzhCompress(c.Data);
    EXPECT_EQ(Unpack(stream, int32_t(c.Data.size())), c.Data);
  }
}

TEST(SkinLzh, SkinFileCarriesTheLengthInFront) {
  const Bytes data = Text("[Personality]\r\nLeft=left.bmp\r\n");
  const Bytes file = MakeSkinFile(data);
  ASSERT_GE(file.size(), 4u);
  EXPECT_EQ(file[0] | (file[1] << 8) | (file[2] << 16) | (file[3] << 24), int(data.size()));
  EXPECT_EQ(Unpack(Bytes(file.begin() + 4, file.end()), int32_t(data.size())), data);
}

// Streams worked out by hand from the initial tree, where node n's parent is 314 + n div 2 and the side
// is n's lowest bit: 'A' (leaf 65) has the path 1 1 1 0 0 1 1 0 1; the length-3 symbol (256) has
// 1 0 0 0 1 1 0 0; a distance below 64 has the prefix 000, distance 100 the prefix 0010, each followed by
// the low six bits. After the first 'A' its count of 2 moves its leaf past all other leaves to node 313
// (node 65 takes symbol 313), so the second 'A' has the path 1 1 0 0 0 1 0 1 through 625, 623, 618, 608,
// 588, 549 and 470; no inner node overtakes its neighbour on the way up.
struct GoldenCase {
  const char* Name;
  Bytes Stream;
  int32_t Length;
  Bytes Expected;
};

TEST(SkinLzh, DecodesHandDerivedStreams) {
  const GoldenCase cases[] = {
      {"literal A", {0xE6, 0x80}, 1, {'A'}},
      {"A twice: the tree after one update", {0xE6, 0xE2, 0x80}, 2, {'A', 'A'}},
      {"match of 3 at distance 0 into the blank ring", {0x8C, 0x00, 0x00}, 3, Bytes(3, ' ')},
      {"match of 3 at distance 100", {0x8C, 0x29, 0x00}, 3, Bytes(3, ' ')},
      {"first byte of a match when the length stops it", {0x8C, 0x00, 0x00}, 1, Bytes(1, ' ')},
  };
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Unpack(c.Stream, c.Length), c.Expected);
  }
}

TEST(SkinLzh, EncoderProducesTheHandDerivedStreams) {
  EXPECT_EQ(LzhCompress({'A'}), Bytes({0xE6, 0x80}));
  EXPECT_EQ(LzhCompress({'A', 'A'}), Bytes({0xE6, 0xE2, 0x80}));
  // The nearest blank is the one just before the first position.
  EXPECT_EQ(LzhCompress(Bytes(3, ' ')), Bytes({0x8C, 0x00, 0x00}));
  EXPECT_TRUE(LzhCompress({}).empty());
}

TEST(SkinLzh, LengthOfZeroOrBelowWritesNothing) {
  const Bytes stream = LzhCompress(Text("hello"));
  for (int32_t length : {0, -1, -5, INT_MIN}) {
    SCOPED_TRACE(length);
    EXPECT_TRUE(Unpack(stream, length).empty());
    EXPECT_TRUE(Unpack({}, length).empty());
  }
}

TEST(SkinLzh, ShorterLengthGivesExactlyThatPrefix) {
  // Ten equal bytes: one literal and one overlapping match of nine; every cut lands inside the match.
  const Bytes data = Text("xxxxxxxxxx");
  const Bytes stream = LzhCompress(data);
  for (int32_t length = 1; length <= 10; ++length) {
    SCOPED_TRACE(length);
    EXPECT_EQ(Unpack(stream, length), Bytes(data.begin(), data.begin() + length));
  }
}

TEST(SkinLzh, TruncatedStreamRaises) {
  const Bytes data = Random(1000, 11, 16);
  const Bytes stream = LzhCompress(data);
  for (size_t keep : {size_t(0), size_t(1), stream.size() / 2, stream.size() - 1}) {
    SCOPED_TRACE(keep);
    EXPECT_THROW(Unpack(Bytes(stream.begin(), stream.begin() + long(keep)), int32_t(data.size())), ElzhException);
  }
}

TEST(SkinLzh, LengthBeyondTheDataRaisesInsteadOfInventingBytes) {
  const Bytes data = Text("a short description");
  const Bytes stream = LzhCompress(data);
  for (int32_t length : {int32_t(data.size()) + 100, INT_MAX}) {
    SCOPED_TRACE(length);
    try {
      Unpack(stream, length);
      ADD_FAILURE() << "no error";
    } catch (const ElzhException& e) {
      EXPECT_EQ(e.Message(), "LZH : Compressed data ends before the unpacked length");
    }
  }
}

TEST(SkinLzh, GarbageEndsInAnErrorOrExactlyTheLength) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    const Bytes garbage = Random(1500, 100 + seed);
    for (int32_t length : {10, 5000, 1 << 24}) {
      try {
        EXPECT_EQ(Unpack(garbage, length).size(), size_t(length));
      } catch (const ElzhException&) {
        // a clear error is the other acceptable outcome
      }
    }
  }
}

TEST(SkinLzh, DecoderWritesAtTheTargetsPosition) {
  const Bytes data = Text("payload");
  TMemoryStream source, target;
  source.SetBytes(LzhCompress(data));
  target.SetBytes(Text("head:"));
  target.Seek(target.Size());
  TLZH lzh;
  lzh.Source = &source;
  lzh.Target = &target;
  lzh.Unpack(int32_t(data.size()));
  EXPECT_EQ(target.Bytes(), Text("head:payload"));
}

TEST(SkinLzh, DistanceTableMatchesThePublishedRanges) {
  const TLzhPositionTable& t = LzhPositionTable();
  struct Range {
    int First, Last, UpperFirst, PerUpper, Bits;
  };
  const Range ranges[] = {{0x00, 0x1F, 0, 32, 3},  {0x20, 0x4F, 1, 16, 4},  {0x50, 0x8F, 4, 8, 5},
                          {0x90, 0xBF, 12, 4, 6},  {0xC0, 0xEF, 24, 2, 7},  {0xF0, 0xFF, 48, 1, 8}};
  for (const Range& r : ranges) {
    for (int b = r.First; b <= r.Last; ++b) {
      SCOPED_TRACE(b);
      EXPECT_EQ(t.Upper[b], r.UpperFirst + (b - r.First) / r.PerUpper);
      EXPECT_EQ(t.Bits[b], r.Bits);
    }
  }
}

}  // namespace
