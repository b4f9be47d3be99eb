// The byte stream the skin loader passes around: sizes beyond what this build's size_t holds (32 bits in
// the program) are refused rather than cut down to a small size the stream then pretends to hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <vector>

#include "MemoryStream.h"

namespace {

TEST(MemoryStream, SizesBeyondTheAddressSpaceAreRefusedNotCut) {
  if (sizeof(size_t) > 4) GTEST_SKIP() << "a 64-bit size_t holds these sizes";
  TMemoryStream s;
  s.SetSize(16);
  s.Seek(16);
  const std::vector<uint8_t> bytes(16, 0xAB);
  const int64_t beyond = (int64_t(1) << 32) + 8;  // 8 once cut to 32 bits
  EXPECT_THROW(s.SetSize(beyond), std::bad_alloc);
  EXPECT_EQ(s.Size(), 16);
  EXPECT_THROW(s.Write(bytes.data(), beyond), std::bad_alloc);
  EXPECT_EQ(s.Size(), 16);
  EXPECT_EQ(s.Position(), 16);
  s.Write(bytes.data(), 8);  // an ordinary write still grows it
  EXPECT_EQ(s.Size(), 24);
}

}  // namespace
