// Row filters against the predictor as the PNG format defines it, computed
// here byte by byte: the vector versions and the two-row Paeth must give
// exactly its bytes.
#include "imaging/png_filters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace tavo::imaging {
namespace {

using Bytes = std::vector<uint8_t>;

// Reverses one row by the definition: a left, b up, c up-left (zero off the
// row's start).
Bytes Reference(uint8_t type, const Bytes& filtered, const Bytes& prev, size_t bpp) {
    Bytes out(filtered.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const int a = i >= bpp ? out[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
        int pred = 0;
        if (type == 1) pred = a;
        if (type == 2) pred = b;
        if (type == 3) pred = (a + b) / 2;
        if (type == 4) {
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            pred = (pa <= pb && pa <= pc) ? a : pb <= pc ? b : c;
        }
        out[i] = static_cast<uint8_t>(filtered[i] + pred);
    }
    return out;
}

// Rows of random bytes, or of only 0 and 255 (ties and the largest
// differences in every predictor).
Bytes RandomRow(std::mt19937& rng, size_t n, bool extremes) {
    Bytes r(n);
    for (auto& v : r) v = extremes ? static_cast<uint8_t>((rng() & 1) ? 255 : 0) : static_cast<uint8_t>(rng());
    return r;
}

TEST(PngFilters, EveryTypeAndPixelWidthMatchesTheDefinition) {
    std::mt19937 rng(11);
    for (size_t bpp : {1, 2, 3, 4, 6, 8}) {
        for (size_t pixels : {1, 2, 5, 33}) {
            for (bool extremes : {false, true}) {
                for (uint8_t type = 1; type <= 4; ++type) {
                    const size_t n = bpp * pixels;
                    const Bytes prev = RandomRow(rng, n, extremes), filtered = RandomRow(rng, n, extremes);
                    Bytes got = filtered;
                    Unfilter(type, got.data(), prev.data(), n, bpp);
                    ASSERT_EQ(got, Reference(type, filtered, prev, bpp))
                        << "type " << int{type} << " bpp " << bpp << " pixels " << pixels;
                }
            }
        }
    }
}

TEST(PngFilters, TwoRowsTogetherEqualOneAfterTheOther) {
    std::mt19937 rng(12);
    for (size_t pixels : {1, 2, 3, 33, 1920}) {
        for (bool extremes : {false, true}) {
            const size_t n = 4 * pixels;
            const Bytes prev = RandomRow(rng, n, extremes);
            const Bytes f1 = RandomRow(rng, n, extremes), f2 = RandomRow(rng, n, extremes);
            Bytes r1 = f1, r2 = f2;
            ASSERT_TRUE(UnfilterPair(4, r1.data(), 4, r2.data(), prev.data(), n, 4));
            const Bytes want1 = Reference(4, f1, prev, 4);
            EXPECT_EQ(r1, want1) << pixels;
            EXPECT_EQ(r2, Reference(4, f2, want1, 4)) << pixels;
        }
    }
}

TEST(PngFilters, PairsOnlyWhereThereIsAFasterWay) {
    // Anything else is left to Unfilter, row by row, untouched here.
    const Bytes prev(12, 9), f(12, 5);
    struct Case {
        uint8_t t1, t2;
        size_t bpp;
    };
    for (const Case& c : {Case{4, 1, 4}, Case{2, 4, 4}, Case{4, 4, 3}, Case{0, 0, 4}}) {
        Bytes r1 = f, r2 = f;
        EXPECT_FALSE(UnfilterPair(c.t1, r1.data(), c.t2, r2.data(), prev.data(), 12, c.bpp));
        EXPECT_EQ(r1, f);
        EXPECT_EQ(r2, f);
    }
}

}  // namespace
}  // namespace tavo::imaging
