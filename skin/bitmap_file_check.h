#pragma once
// Whether a skin's bitmap file holds the pixels its header promises. A header that claims more
// (a file cut short, or one that claims an absurd size) would have the system make a bitmap of the
// claimed size, and a Background1 of 12000 by 12000 pixels would size the window far past the
// screen. Plain logic: the caller reads the file's first bytes and its size.
#include <cstddef>
#include <cstdint>

// The file header and the part of the information header the check reads.
constexpr size_t BITMAP_HEADER_BYTES = 54;

// Whether `header`, the first `count` bytes of a file of `fileSize` bytes, starts a Windows
// bitmap ("BM", a core or an information header, a width above 0, a height other than 0, 1 to 32
// bits a pixel) whose pixel data, from its offset on, fits in the file.
bool HoldsItsPixels(const uint8_t* header, size_t count, uint64_t fileSize);
