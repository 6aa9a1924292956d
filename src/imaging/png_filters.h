#pragma once
// PNG scanline filters and Adam7 interlacing.

#include <cstddef>
#include <cstdint>

namespace tavo::imaging {

// Reverses filter `type` on one row of `len` bytes in place. `prev` is the
// previous row, already unfiltered (all zeros for the first row); `bpp` is
// the filter's bytes per pixel (at least 1). Types 1 Sub, 2 Up, 3 Average,
// 4 Paeth (ties to the left byte, then the upper byte); 0 and every unknown
// type leave the row unchanged.
void Unfilter(uint8_t type, uint8_t* row, const uint8_t* prev, size_t len, size_t bpp);

// Reverses the filters of two consecutive rows together where that is
// faster than one after the other (both Paeth, four bytes per pixel): the
// result is the same as Unfilter on `row1` (over `prev`) and then on `row2`
// (over `row1`). Returns false, doing nothing, where there is no such way.
bool UnfilterPair(uint8_t type1, uint8_t* row1, uint8_t type2, uint8_t* row2, const uint8_t* prev, size_t len,
                  size_t bpp);

struct Adam7Pass {
    int firstRow, rowStep;
    int firstCol, colStep;
};
inline constexpr Adam7Pass kAdam7[7] = {{0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4},
                                        {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};

// Pixels of a pass along one dimension of `size` pixels.
inline int64_t PassCount(int64_t size, int first, int step) { return size > first ? (size - first + step - 1) / step : 0; }

// Undoes Adam7 interlacing. `data` holds the seven passes as stored: each
// row a filter byte and the filtered bytes; `dataLen` bytes are available
// (the caller pads missing bytes with zeros up to ExpectedInterlacedSize).
// The passes are unfiltered in place, and their pixels placed into `out`,
// rows of `outStride` bytes, top row first: with one byte per pixel for bit
// depths 1, 2 and 4 (`unpack`), else `bitsPerPixel` / 8 bytes per pixel.
void Deinterlace(uint8_t* data, size_t dataLen, int width, int height, int bitsPerPixel, bool unpack,
                 uint8_t* out, size_t outStride);

// Bytes of the seven passes with their filter bytes.
int64_t ExpectedInterlacedSize(int width, int height, int bitsPerPixel);

}  // namespace tavo::imaging
