// Matches of every short length at every short distance, the cases where the
// decoder's chunked copies read close behind (or ahead of) what they write.
// Each stream is expanded here byte by byte, by the definition of a match,
// and checked with zlib as well.
#include "imaging/inflate.h"

#include "deflate_bit_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace tavo::imaging {
namespace {

using Bytes = std::vector<uint8_t>;

// A length (3..258) as its fixed-code symbol and extra bits.
void WriteLength(deflate_writer::BitWriter& w, int length) {
    if (length == 258) {
        w.Fixed(285);
        return;
    }
    int base = 3;
    for (int sym = 257; sym <= 284; ++sym) {
        const int extra = sym < 265 ? 0 : (sym - 261) / 4;
        if (length < base + (1 << extra)) {
            w.Fixed(sym);
            w.Bits(static_cast<uint32_t>(length - base), extra);
            return;
        }
        base += 1 << extra;
    }
    FAIL() << "no symbol for length " << length;
}

// A distance (1..32768) as its 5-bit fixed code and extra bits.
void WriteDistance(deflate_writer::BitWriter& w, int dist) {
    int base = 1;
    for (int code = 0; code < 30; ++code) {
        const int extra = code < 4 ? 0 : code / 2 - 1;
        if (dist < base + (1 << extra)) {
            w.Code(static_cast<uint32_t>(code), 5);
            w.Bits(static_cast<uint32_t>(dist - base), extra);
            return;
        }
        base += 1 << extra;
    }
    FAIL() << "no code for distance " << dist;
}

struct MatchStream {
    Bytes deflate;
    Bytes plain;
};

// One fixed-code block: random literals, as many as the farthest distance
// and more, then for each (length, distance) a few random literals and the
// match. The output never repeats itself by
// chance, so a copy that reads a byte not yet final shows.
MatchStream MakeMatchStream(const std::vector<int>& lengths, const std::vector<int>& dists, uint32_t seed) {
    std::mt19937 rng(seed);
    deflate_writer::BitWriter w;
    MatchStream s;
    w.Bits(1, 1);  // last block
    w.Bits(1, 2);  // fixed codes
    auto literals = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const auto b = static_cast<uint8_t>(rng());
            w.Fixed(b);
            s.plain.push_back(b);
        }
    };
    literals(*std::max_element(dists.begin(), dists.end()) + 64);
    for (int dist : dists) {
        for (int length : lengths) {
            literals(1 + static_cast<int>(rng() % 4));
            WriteLength(w, length);
            WriteDistance(w, dist);
            for (int i = 0; i < length; ++i) s.plain.push_back(s.plain[s.plain.size() - static_cast<size_t>(dist)]);
        }
    }
    w.Fixed(256);
    s.deflate = w.bytes;
    return s;
}

Bytes ZlibInflate(const Bytes& stream, size_t expect) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    Bytes out(expect + 16);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

// The output buffer starts filled with a byte pattern unlike the data, so a
// read of a byte that was never written changes the result.
Bytes DecodeIntoPatternedBuffer(const MatchStream& s, int32_t& status) {
    const size_t capacity = s.plain.size() + 1;
    Bytes out(capacity + Inflater::kOutputSlack, 0xA5);
    Inflater inf;
    const InflateResult r = inf.DecodeInto(s.deflate.data(), s.deflate.size(), out.data(), capacity, false);
    status = r.status;
    out.resize(r.produced);
    return out;
}

TEST(InflateMatchCopies, EveryShortLengthAtEveryShortDistance) {
    // Distances around the copy strides (1..7 periods, 8 and 16 byte
    // chunks, twice those), lengths on both sides of each.
    const MatchStream s = MakeMatchStream(Range(3, 40), Range(1, 40), 7);
    ASSERT_EQ(ZlibInflate(s.deflate, s.plain.size()), s.plain);  // the stream is valid as written
    int32_t status = 99;
    EXPECT_EQ(DecodeIntoPatternedBuffer(s, status), s.plain);
    EXPECT_EQ(status, kInflateOk);
}

TEST(InflateMatchCopies, LongMatchesAtShortAndLongDistances) {
    const std::vector<int> lengths = {41, 47, 48, 63, 64, 65, 100, 127, 129, 200, 255, 256, 257, 258};
    struct Case {
        const char* name;
        std::vector<int> dists;
    };
    const Case cases[] = {
        {"periods below a word", Range(1, 7)},
        {"between one and two chunks", {8, 9, 12, 15, 16, 17, 24, 31, 32, 33}},
        {"far back", {100, 255, 256, 1000, 4096, 20000}},
    };
    for (const Case& c : cases) {
        const MatchStream s = MakeMatchStream(lengths, c.dists, 11);
        ASSERT_EQ(ZlibInflate(s.deflate, s.plain.size()), s.plain) << c.name;
        int32_t status = 99;
        EXPECT_EQ(DecodeIntoPatternedBuffer(s, status), s.plain) << c.name;
        EXPECT_EQ(status, kInflateOk) << c.name;
    }
}

}  // namespace
}  // namespace tavo::imaging
