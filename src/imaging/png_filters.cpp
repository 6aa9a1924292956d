#include "imaging/png_filters.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavo::imaging {

namespace {

inline uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// No dependency between bytes: sixteen at a time where the vector unit is
// there, the rest one by one.
void Up(uint8_t* row, const uint8_t* prev, size_t len) {
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= len; i += 16) {
        const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_add_epi8(r, p));
    }
#endif
    for (; i < len; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
}

template <size_t BPP>
void SubFixed(uint8_t* row, size_t len) {
    for (size_t i = BPP; i < len; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - BPP]);
}

template <size_t BPP>
void AverageFixed(uint8_t* row, const uint8_t* prev, size_t len) {
    const size_t first = len < BPP ? len : BPP;
    for (size_t i = 0; i < first; ++i) row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    for (size_t i = BPP; i < len; ++i) row[i] = static_cast<uint8_t>(row[i] + ((row[i - BPP] + prev[i]) >> 1));
}

template <size_t BPP>
void PaethFixed(uint8_t* row, const uint8_t* prev, size_t len) {
    const size_t first = len < BPP ? len : BPP;
    for (size_t i = 0; i < first; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);  // a = c = 0: b
    for (size_t i = BPP; i < len; ++i) row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - BPP], prev[i], prev[i - BPP]));
}

#if defined(__SSE2__)
// Four-byte pixels, one pixel at a time in 16-bit lanes.
inline __m128i Load4(const uint8_t* p) {
    int v;
    std::memcpy(&v, p, 4);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128());
}
inline void Store4(uint8_t* p, __m128i v) {
    const int out = _mm_cvtsi128_si32(_mm_packus_epi16(v, v));
    std::memcpy(p, &out, 4);
}
inline __m128i Abs16(__m128i v) {
    const __m128i neg = _mm_sub_epi16(_mm_setzero_si128(), v);
    return _mm_max_epi16(v, neg);
}

void Sub4(uint8_t* row, size_t len) {
    __m128i a = _mm_setzero_si128();
    const __m128i mask = _mm_set1_epi16(0xFF);
    size_t i = 0;
    for (; i + 4 <= len; i += 4) {
        a = _mm_and_si128(_mm_add_epi16(Load4(row + i), a), mask);
        Store4(row + i, a);
    }
}

void Average4(uint8_t* row, const uint8_t* prev, size_t len) {
    __m128i a = _mm_setzero_si128();
    const __m128i mask = _mm_set1_epi16(0xFF);
    for (size_t i = 0; i + 4 <= len; i += 4) {
        const __m128i b = Load4(prev + i);
        const __m128i avg = _mm_srli_epi16(_mm_add_epi16(a, b), 1);
        a = _mm_and_si128(_mm_add_epi16(Load4(row + i), avg), mask);
        Store4(row + i, a);
    }
}

// The predictor of one pixel, in 16-bit lanes: a left, b up, c up-left.
// Only `a` comes from the pixel just decoded; everything that needs b and c
// alone (b - c, |b - c|) is off that chain.
inline __m128i PaethPredict(__m128i a, __m128i b, __m128i c) {
    const __m128i q = _mm_sub_epi16(b, c);
    const __m128i pa = Abs16(q);             // |b - c|
    const __m128i p = _mm_sub_epi16(a, c);
    const __m128i pb = Abs16(p);             // |a - c|
    const __m128i pc = Abs16(_mm_add_epi16(p, q));  // |a + b - 2c|
    // Not a when pa exceeds pb or pc; then b unless pb exceeds pc.
    const __m128i notA = _mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc));
    const __m128i useC = _mm_cmpgt_epi16(pb, pc);
    const __m128i bc = _mm_xor_si128(c, _mm_andnot_si128(useC, _mm_xor_si128(b, c)));
    return _mm_xor_si128(a, _mm_and_si128(notA, _mm_xor_si128(a, bc)));
}

void Paeth4(uint8_t* row, const uint8_t* prev, size_t len) {
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    const __m128i mask = _mm_set1_epi16(0xFF);
    for (size_t i = 0; i + 4 <= len; i += 4) {
        const __m128i b = Load4(prev + i);
        a = _mm_and_si128(_mm_add_epi16(Load4(row + i), PaethPredict(a, b, c)), mask);
        c = b;
        Store4(row + i, a);
    }
}

// Two rows at once, the second one pixel behind the first: row 1's pixel x
// and row 2's pixel x - 1 do not depend on each other, so they share one
// register, row 1 in the low four lanes and row 2 in the high four, and one
// predictor serves both. Row 2's up pixel is row 1's pixel decoded in the
// round before.
void Paeth4Pair(uint8_t* row1, uint8_t* row2, const uint8_t* prev, size_t len) {
    const size_t n = len / 4;
    if (n == 0) return;
    const __m128i mask = _mm_set1_epi16(0xFF);
    const __m128i zero = _mm_setzero_si128();
    // Pixel 0 of row 1 alone.
    __m128i b = Load4(prev);
    __m128i a = _mm_and_si128(_mm_add_epi16(Load4(row1), PaethPredict(zero, b, zero)), mask);
    Store4(row1, a);
    // a: [row 1 pixel x - 1 | row 2 pixel x - 2], c: [prev x - 1 | row 1 x - 2].
    __m128i c = _mm_unpacklo_epi64(b, zero);
    a = _mm_unpacklo_epi64(a, zero);
    for (size_t x = 1; x < n; ++x) {
        b = _mm_unpacklo_epi64(Load4(prev + 4 * x), a);  // [prev x | row 1 x - 1]
        const __m128i raw = _mm_unpacklo_epi64(Load4(row1 + 4 * x), Load4(row2 + 4 * (x - 1)));
        a = _mm_and_si128(_mm_add_epi16(raw, PaethPredict(a, b, c)), mask);
        c = b;
        const __m128i bytes = _mm_packus_epi16(a, a);
        const int lo = _mm_cvtsi128_si32(bytes), hi = _mm_cvtsi128_si32(_mm_srli_si128(bytes, 4));
        std::memcpy(row1 + 4 * x, &lo, 4);
        std::memcpy(row2 + 4 * (x - 1), &hi, 4);
    }
    // The last pixel of row 2: left a.hi, up row 1's last pixel a.lo, up-left c.hi.
    const __m128i a2 = _mm_unpackhi_epi64(a, zero), b2 = a, c2 = _mm_unpackhi_epi64(c, zero);
    Store4(row2 + 4 * (n - 1), _mm_and_si128(_mm_add_epi16(Load4(row2 + 4 * (n - 1)), PaethPredict(a2, b2, c2)), mask));
}
#endif

}  // namespace

void Unfilter(uint8_t type, uint8_t* row, const uint8_t* prev, size_t len, size_t bpp) {
    switch (type) {
        case 1:  // Sub
            switch (bpp) {
                case 1: SubFixed<1>(row, len); break;
                case 2: SubFixed<2>(row, len); break;
                case 3: SubFixed<3>(row, len); break;
#if defined(__SSE2__)
                case 4: Sub4(row, len); break;
#else
                case 4: SubFixed<4>(row, len); break;
#endif
                case 6: SubFixed<6>(row, len); break;
                default: SubFixed<8>(row, len); break;
            }
            break;
        case 2:  // Up
            Up(row, prev, len);
            break;
        case 3:  // Average
            switch (bpp) {
                case 1: AverageFixed<1>(row, prev, len); break;
                case 2: AverageFixed<2>(row, prev, len); break;
                case 3: AverageFixed<3>(row, prev, len); break;
#if defined(__SSE2__)
                case 4: Average4(row, prev, len); break;
#else
                case 4: AverageFixed<4>(row, prev, len); break;
#endif
                case 6: AverageFixed<6>(row, prev, len); break;
                default: AverageFixed<8>(row, prev, len); break;
            }
            break;
        case 4:  // Paeth
            switch (bpp) {
                case 1: PaethFixed<1>(row, prev, len); break;
                case 2: PaethFixed<2>(row, prev, len); break;
                case 3: PaethFixed<3>(row, prev, len); break;
#if defined(__SSE2__)
                case 4: Paeth4(row, prev, len); break;
#else
                case 4: PaethFixed<4>(row, prev, len); break;
#endif
                case 6: PaethFixed<6>(row, prev, len); break;
                default: PaethFixed<8>(row, prev, len); break;
            }
            break;
        default:  // None and unknown types: unchanged
            break;
    }
}

bool UnfilterPair(uint8_t type1, uint8_t* row1, uint8_t type2, uint8_t* row2, const uint8_t* prev, size_t len,
                  size_t bpp) {
#if defined(__SSE2__)
    if (type1 == 4 && type2 == 4 && bpp == 4) {
        Paeth4Pair(row1, row2, prev, len);
        return true;
    }
#endif
    (void)type1, (void)row1, (void)type2, (void)row2, (void)prev, (void)len, (void)bpp;
    return false;
}

int64_t ExpectedInterlacedSize(int width, int height, int bitsPerPixel) {
    int64_t total = 0;
    for (const Adam7Pass& p : kAdam7) {
        const int64_t pw = PassCount(width, p.firstCol, p.colStep);
        const int64_t ph = PassCount(height, p.firstRow, p.rowStep);
        if (pw == 0 || ph == 0) continue;
        total += ph * ((pw * bitsPerPixel + 7) / 8 + 1);
    }
    return total;
}

void Deinterlace(uint8_t* data, size_t dataLen, int width, int height, int bitsPerPixel, bool unpack,
                 uint8_t* out, size_t outStride) {
    const size_t bpp = bitsPerPixel >= 8 ? static_cast<size_t>(bitsPerPixel / 8) : 1;
    size_t pos = 0;
    // The row above each pass's first row: zeros, as wide as the widest pass
    // row (the last pass has every column), allocated once.
    const int64_t widest = std::max<int64_t>(0, (int64_t{width} * bitsPerPixel + 7) / 8);
    const std::vector<uint8_t> zeros(static_cast<size_t>(widest) + 1, 0);
    for (const Adam7Pass& p : kAdam7) {
        const int64_t pw = PassCount(width, p.firstCol, p.colStep);
        const int64_t ph = PassCount(height, p.firstRow, p.rowStep);
        if (pw == 0 || ph == 0) continue;
        const size_t rowBytes = static_cast<size_t>((pw * bitsPerPixel + 7) / 8);
        const uint8_t* prev = zeros.data();
        for (int64_t r = 0; r < ph; ++r) {
            if (pos + 1 + rowBytes > dataLen) return;  // caller's buffer ends: the rest stays zero
            uint8_t* row = data + pos + 1;
            Unfilter(data[pos], row, prev, rowBytes, bpp);
            prev = row;
            pos += 1 + rowBytes;
            uint8_t* dst = out + static_cast<size_t>(p.firstRow + r * p.rowStep) * outStride;
            if (unpack) {
                const int d = bitsPerPixel;
                const int perByte = 8 / d;
                const unsigned mask = (1u << d) - 1;
                for (int64_t x = 0; x < pw; ++x) {
                    const uint8_t byte = row[x / perByte];
                    const int shift = 8 - d * static_cast<int>(x % perByte + 1);
                    dst[p.firstCol + x * p.colStep] = static_cast<uint8_t>((byte >> shift) & mask);
                }
            } else {
                for (int64_t x = 0; x < pw; ++x)
                    std::memcpy(dst + static_cast<size_t>(p.firstCol + x * p.colStep) * bpp, row + x * bpp, bpp);
            }
        }
    }
}

}  // namespace tavo::imaging
