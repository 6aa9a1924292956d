#include "imaging/png_background.h"

#include "imaging/cbitmap.h"

namespace tavo::imaging {

namespace {

// sample * 255 / (2^depth - 1), rounded to nearest, halves to even.
int ScaleSample(uint32_t sample, int depth) {
    const uint64_t den = (uint64_t{1} << depth) - 1;
    const uint64_t num = uint64_t{sample} * 255;
    uint64_t q = num / den;
    const uint64_t r2 = (num % den) * 2;
    if (r2 > den || (r2 == den && (q & 1))) ++q;
    return static_cast<int>(q);
}

}  // namespace

int32_t BkgdChunkColor(const std::vector<uint8_t>& bkgd, int colorType, int depth, const std::vector<uint8_t>& palette) {
    const size_t n = bkgd.size();
    switch (colorType) {
        case 0:
        case 4: {
            if (n != 2 || depth < 1 || depth > 16) return 0;
            const uint32_t level = (uint32_t{bkgd[0]} << 8) | bkgd[1];
            if (level > (uint32_t{1} << depth) - 1) return 0;
            int16_t rampDepth = static_cast<int16_t>(depth);
            uint32_t index = level;
            if (depth == 16) {
                // The 16-bit ramp has 256 entries: the level is scaled to 8 bits.
                index = static_cast<uint32_t>(ScaleSample(level, 16));
                rampDepth = 8;
            }
            const std::vector<uint8_t> ramp = CBitmap::SetGreyPalette(rampDepth, false);
            if (3 * index + 2 >= ramp.size()) return 0;
            return ramp[3 * index] | (ramp[3 * index + 1] << 8) | (ramp[3 * index + 2] << 16);
        }
        case 2:
        case 6: {
            if (n != 6 || depth < 1 || depth > 16) return 0;
            int c[3];
            for (int i = 0; i < 3; ++i) {
                const uint32_t s = (uint32_t{bkgd[2 * i]} << 8) | bkgd[2 * i + 1];
                if (s > (uint32_t{1} << depth) - 1) return 0;
                c[i] = ScaleSample(s, depth);
            }
            return c[0] | (c[1] << 8) | (c[2] << 16);
        }
        case 3: {
            if (n != 1) return 0;
            const size_t i = bkgd[0];
            if (i >= palette.size() / 3) return 0;
            return palette[3 * i] | (palette[3 * i + 1] << 8) | (palette[3 * i + 2] << 16);
        }
        default: return 0;
    }
}

}  // namespace tavo::imaging
