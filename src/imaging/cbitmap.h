#pragma once
// CBitmap: the bitmap helpers that the PNG decoder paints with. They fill
// the colour tables of device-independent bitmaps (DIBs), make a bitmap from
// a pixel buffer, and paint that bitmap into a picture box.
//
// Module state, as the decoder expects it: one header and colour table per
// format, kept between images (a table not refilled keeps the previous
// image's colours), and the bitmap made by the last create call, which
// PaintDIB paints and releases. One image is in flight at a time, on the
// user-interface thread.
//
// A bitmap is held as an opaque PixelSurface with the colours it shows:
// 1-, 4- and 8-bit rows are looked up in their colour table when the bitmap
// is made; the fourth byte of a 32-bit DIB pixel is not used for painting.

#include "imaging/pixel_surface.h"
#include "platform/picture_box.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavo::imaging::CBitmap {

struct RgbQuad {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

struct BitmapInfoHeader {
    int32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // negative for top-down rows
    int16_t biPlanes = 1;
    int16_t biBitCount = 0;
    int32_t biCompression = 0;
    int32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    int32_t biClrUsed = 0;
    int32_t biClrImportant = 0;
};

// Bytes per row of a DIB: rows padded to a multiple of 4 bytes.
size_t DibStride(int width, int bitCount);

// The colour tables and headers (read-only views for callers and tests).
const std::array<RgbQuad, 2>& MonoTable();
const std::array<RgbQuad, 16>& Table16();
const std::array<RgbQuad, 256>& Table256();
const BitmapInfoHeader& Header(int bitCount);  // 1, 4, 8, 24 or 32

// Mode 1: entry 0 black, entry 1 white; mode 0: the reverse.
void SetMonoColors(int16_t mode);
// Exactly two entries (6 bytes R G B): their colours; otherwise SetMonoColors(1).
void SetMonoPalette(std::span<const uint8_t> palette);
// Up to 16 / 256 entries from R G B triplets in order; entries beyond the
// palette are black.
void SetPalette16(std::span<const uint8_t> palette);
void SetPalette256(std::span<const uint8_t> palette);
// A grey ramp of 2^depth entries (256 for 8 and 16), step 255 / (2^depth - 1)
// rounded; copied into the 8-bit table (depths 1, 2, 8, 16, and 4 when
// `into256`), or into the 4-bit table (depth 4). Returns the ramp as R G B.
std::vector<uint8_t> SetGreyPalette(int16_t depth, bool into256);

// Make the bitmap from rows padded to DibStride (missing bytes read as 0).
// `colorCount` is the number of table entries used (0 = all); pixels naming
// an entry beyond it show black.
void MakeDIB1(std::span<const uint8_t> pixels, int width, int height, bool topDown, int colorCount);
void MakeDIB4(std::span<const uint8_t> pixels, int width, int height, bool topDown, int colorCount);
void MakeDIB8(std::span<const uint8_t> pixels, int width, int height, bool topDown, int colorCount);
// mode 0: 32 bits (B G R x), mode 1: 24 bits (B G R).
void MakeDIB24or32(std::span<const uint8_t> pixels, int width, int height, bool topDown, int mode);
// The decoder's direct path: a finished picture (top row first) becomes
// the bitmap; `bitCount` (24 or 32) goes into the header.
void AdoptBitmap(PixelSurface image, int bitCount);

bool HasBitmap();
const PixelSurface& Bitmap();
void ReleaseBitmap();

// Paints the held bitmap into `box` at (x, y) and releases it; sizes the box
// first when `resize` is set (unless `keepSize`), and makes the painting the
// box's persistent picture. Without a held bitmap it only clears and sizes.
void PaintDIB(int width, int height, platform::PictureBox* box, bool resize, int x, int y, bool keepSize);

void PixelsToTwips(int& width, int& height);
void TwipsToPixels(int& width, int& height);

}  // namespace tavo::imaging::CBitmap
