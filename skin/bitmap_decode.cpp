#include "skin/bitmap_decode.h"

#include <algorithm>

#include "skin/bitmap_file_check.h"

namespace {

constexpr int32_t MAX_PALETTE = 256;
// Where the three bit fields of an information header (or the masks of a V4 or V5 one) lie.
constexpr uint64_t MASKS_AT = BITMAP_FILE_HEADER_BYTES + BITMAP_INFO_HEADER_BYTES;

// The file's bytes; reads past its end give 0, so a table or a mask cut short reads as black.
class FileBytes {
 public:
  FileBytes(const uint8_t* file, size_t size) : file_(file), size_(size) {}
  uint32_t Byte(uint64_t at) const { return at < size_ ? file_[at] : 0; }
  uint32_t Word(uint64_t at) const { return Byte(at) | Byte(at + 1) << 8; }
  uint32_t Long(uint64_t at) const { return Word(at) | Word(at + 2) << 16; }

 private:
  const uint8_t* file_;
  size_t size_;
};

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red << 16 | green << 8 | blue;
}

struct Palette {
  uint32_t colours[MAX_PALETTE] = {};
  uint32_t count = 0;
  // An index beyond the table takes its first colour.
  uint32_t Colour(uint32_t index) const { return colours[index < count ? index : 0]; }
};

Palette ReadPalette(const FileBytes& bytes, const BitmapLayout& layout) {
  Palette palette;
  if (layout.bitsPerPixel > 8) return palette;
  uint32_t largest = 1u << layout.bitsPerPixel;
  palette.count =
      layout.coloursUsed > 0 && layout.coloursUsed < largest ? layout.coloursUsed : largest;
  bool core = layout.infoBytes == BITMAP_CORE_HEADER_BYTES;
  uint64_t entrySize = core ? 3 : 4;
  uint64_t at = uint64_t{BITMAP_FILE_HEADER_BYTES} + layout.infoBytes;
  for (uint32_t i = 0; i < palette.count; ++i, at += entrySize) {
    palette.colours[i] = Rgb(bytes.Byte(at + 2), bytes.Byte(at + 1), bytes.Byte(at));
  }
  return palette;
}

// One colour of a bit-field pixel, widened to 8 bits by repeating its bits, as the system does:
// 5 bits of 31 give 255, 16 give 132.
class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask_ == 0) return;
    while (!(mask_ >> shift_ & 1)) ++shift_;
    for (uint32_t rest = mask_ >> shift_; rest != 0; rest >>= 1) ++bits_;
  }
  uint32_t Of(uint32_t pixel) const {
    if (bits_ == 0) return 0;
    uint32_t value = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return value >> (bits_ - 8);
    uint32_t wide = 0;
    for (int32_t at = 8 - bits_; at > -bits_; at -= bits_) {
      wide |= at >= 0 ? value << at : value >> -at;
    }
    return wide & 0xFF;
  }

 private:
  uint32_t mask_;
  int32_t shift_ = 0;
  int32_t bits_ = 0;
};

struct BitFields {
  Channel red, green, blue;
  uint32_t Colour(uint32_t pixel) const {
    return Rgb(red.Of(pixel), green.Of(pixel), blue.Of(pixel));
  }
};

BitFields ReadBitFields(const FileBytes& bytes, const BitmapLayout& layout) {
  if (layout.compression == BITMAP_BITFIELDS) {
    return {Channel(bytes.Long(MASKS_AT)), Channel(bytes.Long(MASKS_AT + 4)),
            Channel(bytes.Long(MASKS_AT + 8))};
  }
  if (layout.bitsPerPixel == 16) return {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
  return {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF)};
}

// Rows stored as they are: the pixel of column x of a row starting at `row`.
uint32_t StoredPixel(const FileBytes& bytes, uint64_t row, int64_t x, const BitmapLayout& layout,
                     const Palette& palette, const BitFields& fields) {
  uint32_t bits = layout.bitsPerPixel;
  if (bits < 8) {
    uint64_t bit = static_cast<uint64_t>(x) * bits;
    uint32_t shift = 8 - bits - static_cast<uint32_t>(bit % 8);
    return palette.Colour(bytes.Byte(row + bit / 8) >> shift & ((1u << bits) - 1));
  }
  uint64_t at = row + static_cast<uint64_t>(x) * (bits / 8);
  switch (bits) {
    case 8:
      return palette.Colour(bytes.Byte(at));
    case 16:
      return fields.Colour(bytes.Word(at));
    case 24:
      return Rgb(bytes.Byte(at + 2), bytes.Byte(at + 1), bytes.Byte(at));
    default:
      return fields.Colour(bytes.Long(at));
  }
}

void DecodeStoredRows(const FileBytes& bytes, const BitmapLayout& layout, DecodedBitmap& out) {
  Palette palette = ReadPalette(bytes, layout);
  BitFields fields = ReadBitFields(bytes, layout);
  uint64_t rowBytes = (static_cast<uint64_t>(out.width) * layout.bitsPerPixel + 31) / 32 * 4;
  bool topDown = layout.height < 0;
  for (int32_t stored = 0; stored < out.height; ++stored) {
    uint64_t row = layout.pixelOffset + stored * rowBytes;
    int32_t y = topDown ? stored : out.height - 1 - stored;
    uint32_t* line = &out.pixels[static_cast<size_t>(y) * out.width];
    for (int32_t x = 0; x < out.width; ++x) {
      line[x] = StoredPixel(bytes, row, x, layout, palette, fields);
    }
  }
}

// Run-length data, RLE8 or RLE4, into colour indices; rows counted from the bottom. Pixels the
// data never reaches keep index 0.
class RunLengthDecoder {
 public:
  RunLengthDecoder(const FileBytes& bytes, const BitmapLayout& layout, int32_t width,
                   int32_t height)
      : bytes_(bytes),
        nibbles_(layout.compression == BITMAP_RLE4),
        width_(width),
        height_(height),
        indices_(static_cast<size_t>(width) * height, 0) {}

  std::vector<uint8_t> Decode(uint64_t at, uint64_t end) {
    while (at + 1 < end && y_ < height_) {
      uint32_t count = bytes_.Byte(at);
      uint32_t value = bytes_.Byte(at + 1);
      at += 2;
      if (count > 0) {
        for (uint32_t i = 0; i < count; ++i)
          Put(nibbles_ ? (i % 2 ? value & 15 : value >> 4) : value);
      } else if (value == 0) {  // end of the row
        x_ = 0;
        ++y_;
      } else if (value == 1) {  // end of the picture
        break;
      } else if (value == 2) {  // move on right and up
        x_ += bytes_.Byte(at);
        y_ += static_cast<int64_t>(bytes_.Byte(at + 1));
        at += 2;
      } else {  // `value` pixels as they are, padded to a whole 16-bit word
        uint64_t dataBytes = nibbles_ ? (value + 1) / 2 : value;
        for (uint32_t i = 0; i < value; ++i) {
          uint32_t byte = bytes_.Byte(at + (nibbles_ ? i / 2 : i));
          Put(nibbles_ ? (i % 2 ? byte & 15 : byte >> 4) : byte);
        }
        at += dataBytes + (dataBytes & 1);
      }
    }
    return std::move(indices_);
  }

 private:
  void Put(uint32_t index) {
    if (x_ < width_ && y_ < height_) {
      indices_[static_cast<size_t>(height_ - 1 - y_) * width_ + static_cast<size_t>(x_)] =
          static_cast<uint8_t>(index);
    }
    ++x_;
  }

  const FileBytes& bytes_;
  bool nibbles_;
  int64_t width_;
  int64_t height_;
  int64_t x_ = 0;
  int64_t y_ = 0;
  std::vector<uint8_t> indices_;
};

void DecodeRunLength(const FileBytes& bytes, const BitmapLayout& layout, size_t size,
                     DecodedBitmap& out) {
  Palette palette = ReadPalette(bytes, layout);
  uint64_t end = std::min<uint64_t>(uint64_t{layout.pixelOffset} + layout.imageBytes, size);
  RunLengthDecoder decoder(bytes, layout, out.width, out.height);
  std::vector<uint8_t> indices = decoder.Decode(layout.pixelOffset, end);
  for (size_t i = 0; i < indices.size(); ++i) out.pixels[i] = palette.Colour(indices[i]);
}

// The forms the system draws: stored rows (with bit fields only at 16 and 32 bits), and
// run-length data of its own depth with rows from the bottom.
bool IsDrawableForm(const BitmapLayout& layout) {
  switch (layout.compression) {
    case BITMAP_RGB:
      return true;
    case BITMAP_BITFIELDS:
      return layout.bitsPerPixel == 16 || layout.bitsPerPixel == 32;
    case BITMAP_RLE8:
      return layout.bitsPerPixel == 8 && layout.height > 0;
    case BITMAP_RLE4:
      return layout.bitsPerPixel == 4 && layout.height > 0;
    default:
      return false;
  }
}

}  // namespace

bool DecodeBitmapFile(const uint8_t* file, size_t size, DecodedBitmap* bitmap) {
  BitmapLayout layout;
  if (!HoldsItsPixels(file, size, size) || !ReadBitmapLayout(file, size, &layout) ||
      !IsDrawableForm(layout)) {
    return false;
  }
  int64_t height = layout.height < 0 ? -layout.height : layout.height;
  if (layout.width * height > BITMAP_MAX_PIXELS) return false;
  DecodedBitmap out;
  out.width = static_cast<int32_t>(layout.width);
  out.height = static_cast<int32_t>(height);
  out.pixels.assign(static_cast<size_t>(layout.width * height), 0);
  FileBytes bytes(file, size);
  if (layout.compression == BITMAP_RLE8 || layout.compression == BITMAP_RLE4) {
    DecodeRunLength(bytes, layout, size, out);
  } else {
    DecodeStoredRows(bytes, layout, out);
  }
  *bitmap = std::move(out);
  return true;
}
