#include "SkinPackReader.h"

#include "Prompter.h"
#include "SkinLzh.h"
#include "SkinPackFormat.h"
#include "SkinnerIni.h"
#include "Strings.h"

void TSkinReader::Unpack(TMemoryStream& source, TMemoryStream& target) {
  source.Seek(0);
  target.Seek(0);
  int32_t length = 0;
  if (!source.ReadExact(&length, 4)) length = 0;  // a file shorter than its length field unpacks to nothing
  TLZH lzh;
  lzh.Source = &source;
  lzh.Target = &target;
  lzh.Unpack(length);
}

void TSkinReader::ClearDirectory() {
  Names.clear();
  Sizes.clear();
  EntryCount = 0;
  Data.Clear();
}

bool TSkinReader::ReadPack(TMemoryStream& skinFile) {
  ClearDirectory();
  TMemoryStream pack;
  Unpack(skinFile, pack);
  pack.Seek(0);
  Header = THeader();
  pack.Read(&Header, sizeof(Header));

  const int skip = SkinPackSkip(Header.Magic);
  if (skip < 0) {
    ShowMessage("This is Older Skin File\rPlease update to new version !");
    return false;
  }
  // The directory must fit the pack's own bytes: a names text inside the pack, at most MaxEntries
  // names, sizes that are not negative and entries that end inside the pack.
  pack.Seek(16 + skip);
  std::string namesText;
  if (Header.NamesLength < 0 || pack.Position() != 16 + skip || Header.NamesLength > pack.Size() - pack.Position())
    return false;
  namesText.resize(size_t(Header.NamesLength));
  pack.Read(namesText.data(), Header.NamesLength);
  std::vector<std::string> names = SplitSkinLines(LowerCase(namesText));
  if (int(names.size()) > MaxEntries) return false;
  std::vector<int32_t> sizes(names.size());
  if (!sizes.empty() && !pack.ReadExact(sizes.data(), int64_t(4 * sizes.size()))) return false;
  int64_t total = 0;
  for (int32_t s : sizes) {
    if (s < 0) return false;
    total += s;
  }
  if (total > pack.Size() - pack.Position()) return false;

  Names = std::move(names);
  Sizes = std::move(sizes);
  EntryCount = int(Names.size());
  Data.CopyFrom(pack, -1);
  Data.Seek(0);
  return true;
}

void TSkinReader::CopyEntry(int index, TMemoryStream& target) {
  int64_t offset = 0;
  for (int i = 0; i < index; ++i) offset += Sizes[size_t(i)];
  Data.Seek(offset);
  target.CopyFrom(Data, Sizes[size_t(index)]);
  target.Seek(0);
}

bool TSkinReader::GetEntry(const std::string& name, TMemoryStream& target) {
  target.Clear();
  const std::string wanted = LowerCase(name);
  for (int i = 0; i < EntryCount; ++i) {
    if (Names[size_t(i)] == wanted) {
      CopyEntry(i, target);
      return true;
    }
  }
  return false;
}

bool TSkinReader::FindEntry(const std::string& text, TMemoryStream& target, std::string& name) {
  target.Clear();
  for (int i = 0; i < EntryCount; ++i) {
    if (Names[size_t(i)].find(text) != std::string::npos) {
      CopyEntry(i, target);
      name = Names[size_t(i)];
      return true;
    }
  }
  return false;
}
