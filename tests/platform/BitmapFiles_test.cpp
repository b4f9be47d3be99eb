// Bitmap and icon file images from outside the program: hostile sizes that wrap in 32-bit arithmetic,
// headers, masks, palettes and run-length data that end past the file, and files cut at every length
// are refused as "not valid" without reading a byte past the end (every input sits flush against a page
// the process may not touch) and without asking the system for a bitmap first. Valid files of every
// layout still load with their pixels.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "GuardedBytes.h"
#include "Graphics.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
void Append32(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  Put32(b, b.size() - 4, v);
}

// A BMP file image: file header, a 40-byte info header, then `extra` (a longer header's rest, masks,
// palette as stored) and the pixel data. Every header field can be set to a hostile value.
struct TBmp {
  int32_t Width = 4, Height = 4;
  uint16_t Bits = 8;
  uint32_t Compression = BI_RGB;
  uint32_t HeaderSize = 40;
  uint32_t SizeImage = 0, ClrUsed = 0;
  Bytes Extra, Pixels;
  int64_t OffBits = -1;  // default: where the pixels start

  Bytes File() const {
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M';
    const size_t pixelsAt = 54 + Extra.size();
    Put32(b, 2, uint32_t(pixelsAt + Pixels.size()));
    Put32(b, 10, OffBits < 0 ? uint32_t(pixelsAt) : uint32_t(OffBits));
    Put32(b, 14, HeaderSize);
    Put32(b, 18, uint32_t(Width));
    Put32(b, 22, uint32_t(Height));
    Put16(b, 26, 1);
    Put16(b, 28, Bits);
    Put32(b, 30, Compression);
    Put32(b, 34, SizeImage);
    Put32(b, 46, ClrUsed);
    b.insert(b.end(), Extra.begin(), Extra.end());
    b.insert(b.end(), Pixels.begin(), Pixels.end());
    return b;
  }
};

Bytes GreyPalette(int entries) {
  Bytes p;
  for (int i = 0; i < entries; ++i) Append32(p, uint32_t(i * 0x010101));
  return p;
}

Bytes Masks565() {
  Bytes m;
  for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) Append32(m, mask);
  return m;
}

// Loads the bytes in place, flush against an untouchable page; the error text, or "" when loaded.
std::string LoadGuarded(TBitmap& b, const Bytes& file) {
  TGuardedBytes guarded(file);
  try {
    b.LoadFromMemory(guarded.Data(), guarded.Size());
  } catch (const EPropertyError& e) {
    return e.what();
  }
  return "";
}

const char* const NotValid = "Bitmap image is not valid";

TEST(BitmapFiles, HostileHeadersAreRefusedBeforeABitmapIsMade) {
  struct TCase {
    const char* Name;
    TBmp File;
  };
  TBmp palette8{4, 4, 8, BI_RGB, 40, 0, 0, GreyPalette(256), Bytes(16, 1)};
  std::vector<TCase> cases;
  auto add = [&](const char* name, TBmp bmp) { cases.push_back({name, bmp}); };
  // Colour counts whose palette size wraps to almost nothing in 32 bits (4 x 0x40000000 = 2^32).
  for (uint32_t used : {0x40000000u, 0x40000001u, 0xFFFFFFFFu}) {
    TBmp b{4, 4, 8, BI_RGB, 40, 0, used, {}, Bytes(16, 1)};
    add("colour count wraps the palette size", b);
  }
  // A palette that runs past the end of the file.
  add("palette cut short", TBmp{4, 4, 8, BI_RGB, 40, 0, 0, GreyPalette(20), Bytes(16, 1)});
  // Bit-field masks past the end: a version-5 header cut short, and a plain header whose masks are cut.
  add("long header cut short", TBmp{1, 1, 16, BI_BITFIELDS, 124, 0, 0, {}, Bytes(4, 1)});
  {
    TBmp b{1, 1, 16, BI_BITFIELDS, 40, 0, 0, {}, {}};
    b.Extra = Masks565();
    b.Extra.resize(10);  // the file ends 10 bytes after the header; its last 4 are the pixels
    b.OffBits = 60;
    add("masks cut short", b);
  }
  // A header size that wraps the offset of the colour table (14 + 0xFFFFFFF0 = 2).
  add("header size wraps", TBmp{4, 4, 8, BI_RGB, 0xFFFFFFF0u, 0, 0, GreyPalette(256), Bytes(16, 1)});
  // Width x bits wraps to 0 in 32 bits (2^27 x 32 = 2^32), stride x height wraps (2^18 x 2^14 = 2^32),
  // and offset + size wraps (16 x (2^28 - 1) = 2^32 - 16 bytes of pixels after the header and palette).
  add("width x bits wraps", TBmp{1 << 27, 1, 32, BI_RGB, 40, 0, 0, {}, Bytes(16, 1)});
  add("stride x height wraps", TBmp{1 << 16, 1 << 14, 32, BI_RGB, 40, 0, 0, {}, Bytes(16, 1)});
  add("offset + size wraps", TBmp{16, 0x0FFFFFFF, 8, BI_RGB, 40, 0, 0, GreyPalette(256), Bytes(16, 1)});
  // The most negative height has no positive counterpart.
  add("height INT_MIN", TBmp{4, INT_MIN, 8, BI_RGB, 40, 0, 0, GreyPalette(256), Bytes(16, 1)});
  // Run-length data whose stated size runs past the end of the file (an absolute run of 255 pixels).
  {
    TBmp b{16, 16, 8, BI_RLE8, 40, 4096, 0, GreyPalette(256), {0, 255, 1, 2}};
    add("run-length size past the end", b);
  }
  // Compression that does not go with the depth.
  add("run-length 8 at depth 4", TBmp{4, 4, 4, BI_RLE8, 40, 4, 0, GreyPalette(16), {0, 1, 0, 1}});
  add("bit fields at depth 8", TBmp{4, 4, 8, BI_BITFIELDS, 40, 0, 0, GreyPalette(256), Bytes(16, 1)});
  for (const TCase& c : cases) {
    TBitmap b;
    EXPECT_EQ(LoadGuarded(b, c.File.File()), NotValid) << c.Name;
    EXPECT_TRUE(b.Empty()) << c.Name;
  }
  // The well-formed neighbour of the cases above loads.
  TBitmap good;
  EXPECT_EQ(LoadGuarded(good, palette8.File()), "");
  EXPECT_EQ(good.GetWidth(), 4);
}

// One valid file of each layout the loader takes, with the colour of its bottom-left pixel.
struct TLayout {
  const char* Name;
  TBmp File;
  TColor BottomLeft;
};

std::vector<TLayout> ValidLayouts() {
  std::vector<TLayout> layouts;
  TBmp b;
  b = TBmp{3, 2, 1, BI_RGB, 40, 0, 2, GreyPalette(2), {}};
  b.Extra = {0, 0, 0, 0, 0, 0, 255, 0};  // black, red
  b.Pixels = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
  layouts.push_back({"1 bit", b, clRed});
  b = TBmp{3, 2, 4, BI_RGB, 40, 0, 0, GreyPalette(16), {0x50, 0, 0, 0, 0x5F, 0xF0, 0, 0}};
  layouts.push_back({"4 bit", b, TColor(0x050505)});
  b = TBmp{3, 2, 8, BI_RGB, 40, 0, 0, GreyPalette(256), {9, 8, 7, 0, 1, 2, 3, 0}};
  layouts.push_back({"8 bit", b, TColor(0x090909)});
  b = TBmp{2, 2, 24, BI_RGB, 40, 0, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0}};
  layouts.push_back({"24 bit", b, clRed});
  b = TBmp{1, 2, 32, BI_RGB, 40, 0, 0, {}, {255, 0, 0, 0, 0, 255, 0, 0}};
  layouts.push_back({"32 bit", b, clBlue});
  b = TBmp{2, 1, 16, BI_BITFIELDS, 40, 0, 0, Masks565(), {0x00, 0xF8, 0x1F, 0x00}};
  layouts.push_back({"16 bit 5-6-5", b, clRed});
  // A version-5 header holds its masks itself, at the same place the masks follow a short header.
  b = TBmp{2, 1, 16, BI_BITFIELDS, 124, 0, 0, Masks565(), {0x00, 0xF8, 0x1F, 0x00}};
  b.Extra.resize(124 - 40, 0);
  layouts.push_back({"16 bit 5-6-5, version-5 header", b, clRed});
  b = TBmp{2, -2, 24, BI_RGB, 40, 0, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0}};
  layouts.push_back({"24 bit top-down", b, clLime});
  // Run-length 8: row 0 is two pixels of index 5 and one of 9, row 1 three of 7, end of bitmap.
  b = TBmp{3, 2, 8, BI_RLE8, 40, 0, 0, GreyPalette(256), {2, 5, 1, 9, 0, 0, 3, 7, 0, 1}};
  b.SizeImage = uint32_t(b.Pixels.size());
  layouts.push_back({"run-length 8", b, TColor(0x050505)});
  // Run-length 4: row 0 three pixels alternating 1 and 2, row 1 absolute 3, 4, 5.
  b = TBmp{3, 2, 4, BI_RLE4, 40, 0, 0, GreyPalette(16), {3, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1}};
  b.SizeImage = uint32_t(b.Pixels.size());
  layouts.push_back({"run-length 4", b, TColor(0x010101)});
  b.SizeImage = 0;  // no stated size: the data runs to the end of the file
  layouts.push_back({"run-length 4 without a size", b, TColor(0x010101)});
  return layouts;
}

TEST(BitmapFiles, EveryLayoutLoadsAndEveryCutOfItIsRefusedInBounds) {
  for (const TLayout& layout : ValidLayouts()) {
    const Bytes file = layout.File.File();
    TBitmap b;
    ASSERT_EQ(LoadGuarded(b, file), "") << layout.Name;
    EXPECT_EQ(b.GetWidth(), layout.File.Width) << layout.Name;
    EXPECT_EQ(b.GetHeight(), std::abs(layout.File.Height)) << layout.Name;
    EXPECT_EQ(b.Canvas()->GetPixel(0, b.GetHeight() - 1), layout.BottomLeft) << layout.Name;
    // Cut short anywhere: refused, or (run-length data without a stated size) loaded from what is
    // there; never read past the end.
    const bool openEnded = layout.File.Compression == BI_RLE4 && layout.File.SizeImage == 0;
    for (size_t cut = 0; cut < file.size(); ++cut) {
      TBitmap t;
      const std::string error = LoadGuarded(t, Bytes(file.begin(), file.begin() + std::ptrdiff_t(cut)));
      if (!openEnded || cut <= 54 + layout.File.Extra.size()) {
        EXPECT_EQ(error, NotValid) << layout.Name << " cut at " << cut;
      }
    }
  }
}

TEST(IconFiles, ImagesOutsideTheFileAreRefused) {
  // One directory entry whose image lies past the end, and one whose offset + size wraps in 32 bits to
  // 16 (2^31 + 2^31 + 16) while the offset points 2 GB past the file.
  struct TCase {
    uint32_t Offset, Size;
  };
  for (const TCase& c : {TCase{22, 0x200}, TCase{0x80000000u, 0x80000010u}}) {
    Bytes file(22 + 40, 0);
    Put16(file, 2, 1);  // type: icon
    Put16(file, 4, 1);  // one image
    file[6] = 16, file[7] = 16;
    Put32(file, 6 + 8, c.Size);
    Put32(file, 6 + 12, c.Offset);
    TIcon icon;
    EXPECT_THROW(icon.LoadFromBytes(file), EPropertyError) << c.Offset;
  }
}

}  // namespace
