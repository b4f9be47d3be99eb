// Bytes placed flush against a page the process may not touch, so that a reader that runs even one byte
// past their end faults at once instead of quietly reading whatever follows on the heap. The decoder
// tests and the fuzz driver hand their inputs to the readers this way.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

class TGuardedBytes {
public:
  TGuardedBytes(const uint8_t* data, size_t size) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    const size_t used = (size + page - 1) / page * page;
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, used + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base_) throw std::bad_alloc();
    DWORD old;
    VirtualProtect(base_ + used, page, PAGE_NOACCESS, &old);
    data_ = base_ + used - size;
    size_ = size;
    if (size) std::memcpy(data_, data, size);
  }
  explicit TGuardedBytes(const std::vector<uint8_t>& bytes) : TGuardedBytes(bytes.data(), bytes.size()) {}
  ~TGuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
  TGuardedBytes(const TGuardedBytes&) = delete;
  TGuardedBytes& operator=(const TGuardedBytes&) = delete;

  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

private:
  uint8_t* base_ = nullptr;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};
