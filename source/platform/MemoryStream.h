// A growable byte buffer with a read/write position, the stream the skin loader passes around.
// Plain C++ (no Windows headers), so build-machine tools can use it too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TMemoryStream {
public:
  int64_t Size() const { return int64_t(FBytes.size()); }
  int64_t Position() const { return FPosition; }
  // Positions outside 0..Size are clamped; reading past the end reads nothing.
  void Seek(int64_t position);
  void SetSize(int64_t size);  // keeps the position inside the new size
  void Clear();
  // Reads up to count bytes from the position; returns how many were read.
  int64_t Read(void* buffer, int64_t count);
  // Reads exactly count bytes or nothing (returns false, position unchanged).
  bool ReadExact(void* buffer, int64_t count);
  void Write(const void* buffer, int64_t count);
  void WriteByte(uint8_t b) { Write(&b, 1); }
  // Copies count bytes (or all remaining when count is negative) from the source's position.
  int64_t CopyFrom(TMemoryStream& source, int64_t count);
  bool LoadFromFile(const std::string& fileName);  // false when the file cannot be read
  bool SaveToFile(const std::string& fileName) const;

  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  void SetBytes(std::vector<uint8_t> bytes);  // position 0

private:
  std::vector<uint8_t> FBytes;
  int64_t FPosition = 0;
};
