#include "MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "CheckedSize.h"

void TMemoryStream::Seek(int64_t position) { FPosition = std::clamp<int64_t>(position, 0, Size()); }

namespace {
// A stream size as this build's size_t; a larger one cannot be held at all (size_t has 32 bits in the
// program), and cutting it down would make a reader believe it holds bytes it does not.
size_t HoldableSize(uint64_t size) {
  size_t n;
  if (!ToSize(size, n)) throw std::bad_alloc();
  return n;
}
}  // namespace

void TMemoryStream::SetSize(int64_t size) {
  FBytes.resize(HoldableSize(uint64_t(std::max<int64_t>(size, 0))));
  FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
  FBytes.clear();
  FPosition = 0;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(count, 0, Size() - FPosition);
  if (n > 0) std::memcpy(buffer, FBytes.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

bool TMemoryStream::ReadExact(void* buffer, int64_t count) {
  if (count < 0 || count > Size() - FPosition) return false;
  Read(buffer, count);
  return true;
}

void TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return;
  uint64_t end;
  if (!CheckedAdd(uint64_t(FPosition), uint64_t(count), end)) throw std::bad_alloc();
  const size_t newSize = HoldableSize(end);
  if (newSize > FBytes.size()) FBytes.resize(newSize);
  std::memcpy(FBytes.data() + FPosition, buffer, size_t(count));
  FPosition += count;
}

int64_t TMemoryStream::CopyFrom(TMemoryStream& source, int64_t count) {
  const int64_t available = source.Size() - source.FPosition;
  const int64_t n = count < 0 ? available : std::min(count, available);
  Write(source.FBytes.data() + source.FPosition, n);
  source.FPosition += n;
  return n;
}

bool TMemoryStream::LoadFromFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  SetBytes(std::move(bytes));
  return true;
}

bool TMemoryStream::SaveToFile(const std::string& fileName) const {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(FBytes.data()), std::streamsize(FBytes.size()));
  return bool(out);
}

void TMemoryStream::SetBytes(std::vector<uint8_t> bytes) {
  FBytes = std::move(bytes);
  FPosition = 0;
}
