#pragma once
// Match copies for the inflate decoder: whole chunks, with care for matches
// that overlap their own output.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tavo::imaging::inflate_detail {

// One chunk through a register: the source may overlap the destination
// (a short match's chunk reads into what it writes, past the match's end).
template <size_t kChunk>
inline void MoveChunk(uint8_t* o, const uint8_t* s) {
    uint8_t chunk[kChunk];
    std::memcpy(chunk, s, kChunk);
    std::memcpy(o, chunk, kChunk);
}

// Copies a match of `length` bytes from `dist` bytes back, in whole chunks:
// may write up to 29 bytes past o + length (the output slack). A chunk only
// ever reads bytes that are already final: for a distance below the chunk
// size, it reads from a whole multiple of the period back instead.
template <size_t kChunk>
inline void CopyChunks(uint8_t* o, const uint8_t* s, const uint8_t* stop) {
    // Two chunks first: most matches end within them.
    MoveChunk<kChunk>(o, s);
    MoveChunk<kChunk>(o + kChunk, s + kChunk);
    o += 2 * kChunk;
    s += 2 * kChunk;
    while (o < stop) {
        MoveChunk<kChunk>(o, s);
        o += kChunk;
        s += kChunk;
    }
}

inline void CopyMatch(uint8_t* o, size_t dist, size_t length) {
    uint8_t* const stop = o + length;
    // Whole 16-byte chunks are right for a match that does not overlap its
    // source, whatever the distance: what they read beyond the source is
    // written beyond the match's end, into bytes written again later. Most
    // matches are tested by that alone; the distance, hard to predict in
    // image data, only for the overlapping ones, for which 16-byte chunks
    // are right from 16 bytes back.
    if (dist >= length || dist >= 16) {
        CopyChunks<16>(o, o - dist, stop);
    } else if (dist >= 8) {
        CopyChunks<8>(o, o - dist, stop);
    } else if (dist == 1) {
        const uint64_t v = uint64_t{o[-1]} * 0x0101010101010101u;
        do {
            std::memcpy(o, &v, 8);
            o += 8;
        } while (o < stop);
    } else {
        // Periods 2..7: the stride is the smallest multiple of the period of
        // at least 8 bytes. The first stride - dist bytes go one at a time;
        // after them a whole stride of final bytes lies behind each chunk.
        static constexpr uint8_t kStride[8] = {0, 8, 8, 9, 8, 10, 12, 14};
        const size_t stride = kStride[dist];
        uint8_t* const head = o + std::min(stride - dist, length);
        while (o < head) {
            *o = *(o - dist);
            ++o;
        }
        while (o < stop) {
            std::memcpy(o, o - stride, 8);
            o += 8;
        }
    }
}

}  // namespace tavo::imaging::inflate_detail
