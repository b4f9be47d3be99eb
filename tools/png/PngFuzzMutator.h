// The mutator of the PNG fuzz targets (the core's, natively under libFuzzer and in the 32-bit build, and
// the picture's in the 32-bit build); a target includes this header once to have it. The usual edits,
// then, for three edits in four, each whole chunk's CRC written afresh, so that edits of chunk bodies
// reach the chunk's reader instead of stopping at its CRC check.
#pragma once

#include <cstddef>
#include <cstdint>

#include "PngCore.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 4 == 0) return size;
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t length = (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) |
                                (uint32_t(data[at + 2]) << 8) | data[at + 3];
        if (length > size - at - 12) break;
        const uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, data + at + 4, 4 + size_t(length)) ^ 0xFFFFFFFFu;
        uint8_t* stored = data + at + 8 + length;
        stored[0] = uint8_t(crc >> 24), stored[1] = uint8_t(crc >> 16), stored[2] = uint8_t(crc >> 8);
        stored[3] = uint8_t(crc);
        at += 12 + size_t(length);
    }
    return size;
}
