// The skin's bitmap check and decoder over any file: the input is the whole file, its first bytes
// the header. Accepted or not, neither reads past what it is given; an accepted file holds at least
// its rows of pixels, only an accepted one decodes, and a decoded picture has its stated size,
// within the bound, in 24-bit colours.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "skin/bitmap_decode.h"
#include "skin/bitmap_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t count = size < BITMAP_HEADER_BYTES ? size : BITMAP_HEADER_BYTES;
  // A copy of exactly `count` bytes, so AddressSanitizer sees any read beyond them.
  std::vector<uint8_t> header(data, data + count);
  bool whole = HoldsItsPixels(header.data(), count, size);
  DecodedBitmap bitmap;
  bool decoded = DecodeBitmapFile(data, size, &bitmap);
  FUZZ_CHECK(whole || !decoded);
  if (decoded) {
    FUZZ_CHECK(bitmap.width > 0 && bitmap.height > 0);
    FUZZ_CHECK(int64_t{bitmap.width} * bitmap.height <= BITMAP_MAX_PIXELS);
    FUZZ_CHECK(bitmap.pixels.size() == static_cast<size_t>(bitmap.width) * bitmap.height);
    for (uint32_t pixel : bitmap.pixels) FUZZ_CHECK(pixel <= 0xFFFFFF);
  }
  if (!whole) return 0;
  FUZZ_CHECK(count >= 26 && header[0] == 'B' && header[1] == 'M');
  uint32_t offset = 0;
  std::memcpy(&offset, &header[10], sizeof offset);
  FUZZ_CHECK(offset <= size);
  // A larger file of the same header holds its pixels too.
  FUZZ_CHECK(HoldsItsPixels(header.data(), count, uint64_t{size} + 1));
  return 0;
}
