// Size and offset arithmetic for the readers of files the program did not write (bitmaps, PNG pictures,
// skin packs, INI texts). The program is a 32-bit build: size_t has 32 bits, so width x bits,
// stride x height or offset + size taken from a file can wrap to a small number that passes a bounds
// check and lets the reader run past its buffer. These helpers report the wrap instead of hiding it.
// Plain C++ (no Windows headers), so the natively built tools use them too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// sum = a + b and product = a x b of unsigned values; false, with the result unset, when it does not
// fit its type.
template <class T>
[[nodiscard]] bool CheckedAdd(T a, T b, T& sum) {
  static_assert(std::is_unsigned<T>::value, "sizes are unsigned");
  T result;
  if (__builtin_add_overflow(a, b, &result)) return false;
  sum = result;
  return true;
}

template <class T>
[[nodiscard]] bool CheckedMul(T a, T b, T& product) {
  static_assert(std::is_unsigned<T>::value, "sizes are unsigned");
  T result;
  if (__builtin_mul_overflow(a, b, &result)) return false;
  product = result;
  return true;
}

// A count taken as a size_t; false when this build's size_t cannot hold it.
[[nodiscard]] inline bool ToSize(uint64_t value, size_t& size) {
  if (value > SIZE_MAX) return false;
  size = size_t(value);
  return true;
}

// True when `count` bytes from `offset` lie inside a buffer of `size` bytes (computed without a sum
// that could wrap).
constexpr bool RangeInside(uint64_t offset, uint64_t count, uint64_t size) {
  return offset <= size && count <= size - offset;
}

// Copies `count` bytes at `offset` of an untrusted buffer; false, copying nothing, when they do not all
// lie inside it.
[[nodiscard]] inline bool ReadBytesAt(const void* data, size_t size, uint64_t offset, void* out, size_t count) {
  if (!RangeInside(offset, count, size)) return false;
  if (count) std::memcpy(out, static_cast<const uint8_t*>(data) + size_t(offset), count);
  return true;
}

// Bytes of one row of a device-independent bitmap: width x bits per pixel, rounded up to whole 32-bit
// words. False when that does not fit a size_t.
[[nodiscard]] inline bool DibRowBytes(uint64_t width, unsigned bitsPerPixel, size_t& rowBytes) {
  uint64_t bits;
  if (!CheckedMul<uint64_t>(width, bitsPerPixel, bits) || bits > UINT64_MAX - 31) return false;
  return ToSize((bits + 31) / 32 * 4, rowBytes);
}

// Bytes of `rows` rows of `rowBytes` each; false when that does not fit a size_t.
[[nodiscard]] inline bool ImageBytes(size_t rowBytes, uint64_t rows, size_t& bytes) {
  uint64_t total;
  return CheckedMul<uint64_t>(rowBytes, rows, total) && ToSize(total, bytes);
}
