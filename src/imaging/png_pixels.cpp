#include "imaging/png_pixels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavo::imaging {

namespace {

inline uint8_t Blend(uint32_t img, uint32_t bg, uint32_t a) { return static_cast<uint8_t>((img * a + bg * (255 - a) + 255) >> 8); }

}  // namespace

void RgbaToRgb32(const uint8_t* px, Argb* dst, int64_t w) {
    int64_t x = 0;
#if defined(__SSE2__)
    const __m128i ga = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m128i rb = _mm_set1_epi32(0x00FF00FF);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; x + 4 <= w; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 4 * x));
        const __m128i r_b = _mm_and_si128(v, rb);
        const __m128i swapped = _mm_or_si128(_mm_slli_epi32(r_b, 16), _mm_srli_epi32(r_b, 16));
        const __m128i out = _mm_or_si128(_mm_or_si128(_mm_and_si128(v, ga), swapped), opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), out);
    }
#endif
    for (; x < w; ++x) dst[x] = 0xFF000000u | (uint32_t{px[4 * x]} << 16) | (uint32_t{px[4 * x + 1]} << 8) | px[4 * x + 2];
}

void BlendRow(const uint8_t* px, const Argb* bg, Argb* dst, int64_t w) {
    int64_t x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    auto half = [&](__m128i img8, __m128i bg8) {
        // Two pixels in 16-bit lanes; image R G B A reordered to B G R A as the background.
        __m128i img = _mm_unpacklo_epi8(img8, zero);
        img = _mm_shufflehi_epi16(_mm_shufflelo_epi16(img, _MM_SHUFFLE(3, 0, 1, 2)), _MM_SHUFFLE(3, 0, 1, 2));
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(img, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
        const __m128i b = _mm_unpacklo_epi8(bg8, zero);
        __m128i sum = _mm_add_epi16(_mm_mullo_epi16(img, a), _mm_mullo_epi16(b, _mm_sub_epi16(c255, a)));
        return _mm_srli_epi16(_mm_add_epi16(sum, c255), 8);
    };
    for (; x + 4 <= w; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 4 * x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bg + x));
        const __m128i lo = half(v, b);
        const __m128i hi = half(_mm_srli_si128(v, 8), _mm_srli_si128(b, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
    }
#endif
    for (; x < w; ++x) {
        const uint8_t* s = px + 4 * x;
        const uint32_t a = s[3];
        const Argb b = bg[x];
        dst[x] = Rgb(Blend(s[0], Red(b), a), Blend(s[1], Green(b), a), Blend(s[2], Blue(b), a));
    }
}

}  // namespace tavo::imaging
