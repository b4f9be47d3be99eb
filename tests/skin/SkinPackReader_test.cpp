// The skin pack reader: directories of every known layout, lookups by name and by part of a name,
// and packs whose directory does not fit their bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LzhEncoder.h"
#include "Prompter.h"
#include "SkinLzh.h"
#include "SkinPackReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void PutInt32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// A pack written field by field, for directories the tool would never write.
Bytes RawPack(int32_t magic, int32_t namesLength, const std::string& names, const std::vector<int32_t>& sizes,
              const Bytes& data, int skip = 0) {
  Bytes b;
  PutInt32(b, magic);
  PutInt32(b, namesLength);
  b.insert(b.end(), 8 + size_t(skip), 0xEE);
  b.insert(b.end(), names.begin(), names.end());
  for (int32_t s : sizes) PutInt32(b, s);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

class SkinPackReaderTest : public testing::Test {
protected:
  void SetUp() override { previous = SetPrompter(&prompter); }
  void TearDown() override { SetPrompter(previous); }

  bool Read(const Bytes& pack) {
    TMemoryStream file;
    file.SetBytes(MakeSkinFile(pack));
    return reader.ReadPack(file);
  }
  Bytes Entry(const std::string& name) {
    TMemoryStream target;
    reader.GetEntry(name, target);
    EXPECT_EQ(target.Position(), 0);
    return target.Bytes();
  }

  TRecordingPrompter prompter;
  TPrompter* previous = nullptr;
  TSkinReader reader;
};

const std::vector<TPackEntry> ThreeEntries = {
    {"Skin.INI", Text("[Personality]\r\n")}, {"Left.bmp", Text("BMleft")}, {"right.bmp", Text("BMright!")}};

TEST_F(SkinPackReaderTest, ReadsEveryKnownMagic) {
  for (int32_t magic : {20000, 30000, 40000, 50000}) {
    SCOPED_TRACE(magic);
    ASSERT_TRUE(Read(BuildSkinPack(ThreeEntries, magic)));
    EXPECT_EQ(reader.Header.Magic, magic);
    EXPECT_EQ(reader.EntryCount, 3);
    EXPECT_EQ(reader.Names, (std::vector<std::string>{"skin.ini", "left.bmp", "right.bmp"}));
    EXPECT_EQ(reader.Sizes, (std::vector<int32_t>{15, 6, 8}));
    for (const TPackEntry& e : ThreeEntries) EXPECT_EQ(Entry(e.Name), e.Bytes);
  }
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(SkinPackReaderTest, NamesAreComparedWithoutLetterCase) {
  ASSERT_TRUE(Read(BuildSkinPack(ThreeEntries)));
  EXPECT_EQ(Entry("SKIN.ini"), Text("[Personality]\r\n"));
  EXPECT_EQ(Entry("LEFT.BMP"), Text("BMleft"));
  EXPECT_TRUE(Entry("left").empty());  // GetEntry wants the whole name
  EXPECT_TRUE(Entry("missing.bmp").empty());
}

TEST_F(SkinPackReaderTest, FindEntryTakesTheFirstNameHoldingTheText) {
  ASSERT_TRUE(Read(BuildSkinPack({{"a.ini.bmp", Text("first")}, {"skin.ini", Text("second")}})));
  TMemoryStream target;
  std::string name = "unchanged";
  EXPECT_TRUE(reader.FindEntry(".ini", target, name));
  EXPECT_EQ(name, "a.ini.bmp");
  EXPECT_EQ(target.Bytes(), Text("first"));
  EXPECT_EQ(target.Position(), 0);

  name = "unchanged";
  EXPECT_TRUE(reader.FindEntry("skin", target, name));
  EXPECT_EQ(name, "skin.ini");

  name = "unchanged";
  target.SetBytes(Text("old"));
  EXPECT_FALSE(reader.FindEntry(".INI", target, name));  // the text is not lower-cased
  EXPECT_EQ(name, "unchanged");
  EXPECT_TRUE(target.Bytes().empty());
}

TEST_F(SkinPackReaderTest, EmptyNameInTheMiddleIsAnEntryOfItsOwn) {
  const std::string names = "a.bmp\r\n\r\nb.bmp\r\n";
  ASSERT_TRUE(Read(RawPack(20000, int32_t(names.size()), names, {1, 2, 3}, Text("abbccc"))));
  EXPECT_EQ(reader.Names, (std::vector<std::string>{"a.bmp", "", "b.bmp"}));
  EXPECT_EQ(Entry(""), Text("bb"));
  EXPECT_EQ(Entry("b.bmp"), Text("ccc"));
}

TEST_F(SkinPackReaderTest, EntryOfSizeZeroIsEmptyAndBytesAfterTheLastEntryBelongToNone) {
  const std::string names = "empty.bmp\nfull.bmp";
  ASSERT_TRUE(Read(RawPack(20000, int32_t(names.size()), names, {0, 4}, Text("dataTRAILING"))));
  EXPECT_TRUE(Entry("empty.bmp").empty());
  EXPECT_EQ(Entry("full.bmp"), Text("data"));
}

TEST_F(SkinPackReaderTest, UnknownMagicTellsTheUserAndKeepsTheDirectoryEmpty) {
  for (int32_t magic : {10000, 0, -20000, 20001}) {
    SCOPED_TRACE(magic);
    prompter.Prompts.clear();
    EXPECT_FALSE(Read(BuildSkinPack(ThreeEntries, magic)));
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Text, "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.EntryCount, 0);
    EXPECT_TRUE(Entry("skin.ini").empty());
  }
}

TEST_F(SkinPackReaderTest, DirectoryThatDoesNotFitIsRefused) {
  std::string manyNames;
  for (int i = 0; i < 1002; ++i) manyNames += "n" + std::to_string(i) + "\r\n";
  const std::string names = "a.bmp\r\nb.bmp\r\n";
  const int32_t len = int32_t(names.size());
  struct Case {
    const char* Name;
    Bytes Pack;
  };
  const Case cases[] = {
      {"names length negative", RawPack(20000, -5, names, {1, 1}, Text("ab"))},
      {"names length past the end", RawPack(20000, 1000, names, {1, 1}, Text("ab"))},
      {"sizes cut off", RawPack(20000, len, names, {1}, {})},
      {"negative size", RawPack(20000, len, names, {-1, 3}, Text("ab"))},
      {"sizes past the end", RawPack(20000, len, names, {1, 5}, Text("ab"))},
      {"sizes that overflow together", RawPack(20000, len, names, {0x7FFFFFFF, 0x7FFFFFFF}, Text("ab"))},
      {"more than 1001 names", RawPack(20000, int32_t(manyNames.size()), manyNames, std::vector<int32_t>(1002, 0), {})},
      {"skipped block missing", RawPack(30000, 0, "", {}, {})},
  };
  // A good pack first, so a refused one must also clear what was there.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(Read(BuildSkinPack(ThreeEntries)));
    EXPECT_FALSE(Read(c.Pack));
    EXPECT_EQ(reader.EntryCount, 0);
    EXPECT_TRUE(Entry("skin.ini").empty());
  }
  EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(SkinPackReaderTest, PackWithoutEntriesIsWellFormed) {
  ASSERT_TRUE(Read(RawPack(20000, 0, "", {}, {})));
  EXPECT_EQ(reader.EntryCount, 0);
}

TEST_F(SkinPackReaderTest, DamagedSkinFileRaisesTheDecoderError) {
  Bytes file = MakeSkinFile(BuildSkinPack(ThreeEntries));
  file.resize(file.size() / 2);
  TMemoryStream stream;
  stream.SetBytes(file);
  EXPECT_THROW(reader.ReadPack(stream), ElzhException);
}

TEST_F(SkinPackReaderTest, FileShorterThanItsLengthFieldIsAnUnknownPack) {
  for (size_t n : {size_t(0), size_t(3)}) {
    SCOPED_TRACE(n);
    prompter.Prompts.clear();
    TMemoryStream stream;
    stream.SetBytes(Bytes(n, 0x11));
    EXPECT_FALSE(reader.ReadPack(stream));
    EXPECT_EQ(prompter.Prompts.size(), 1u);
  }
}

TEST_F(SkinPackReaderTest, UnpackReadsTheLengthAtTheStart) {
  const Bytes data = Text("some pack bytes");
  TMemoryStream source, target;
  source.SetBytes(MakeSkinFile(data));
  source.Seek(7);  // Unpack starts from the beginning whatever the position
  TSkinReader::Unpack(source, target);
  EXPECT_EQ(target.Bytes(), data);
}

}  // namespace
