// The decoder's inflate against zlib on generated streams, and the edge cases
// of its own rules (output cap, stored-block checks, refused trees).
#include "imaging/inflate.h"
#include "imaging/load_png.h"

#include "deflate_bit_writer.h"
#include "png_builder.h"
#include "support/fake_message_box.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tavo::imaging {
namespace {

using Bytes = std::vector<uint8_t>;

// Test data of several kinds, deterministic.
Bytes MakeData(int kind, size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes d(n);
    switch (kind) {
        case 0:  // random bytes: stored or nearly so
            for (auto& b : d) b = static_cast<uint8_t>(rng());
            break;
        case 1: {  // words: many matches of all lengths
            static const char* words[] = {"music ", "box ", "lyrics ", "skin ", "calendar ", "the ",
                                          "play ",  "list ", "\r\n",     "radio ", "chart "};
            size_t i = 0;
            while (i < n) {
                const char* w = words[rng() % 11];
                for (const char* p = w; *p && i < n; ++p) d[i++] = static_cast<uint8_t>(*p);
            }
            break;
        }
        case 2:  // long runs: distance 1 and short periods
            for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((i / 700) % 3 == 0 ? 7 : (i % (1 + (i / 300) % 7)));
            break;
        case 4:  // skewed bytes: each group of eight values half as frequent as the one before,
                 // so literal codes run up to the longest, 15 bits
            for (auto& b : d) {
                const int group = std::min(31, std::countr_zero(static_cast<uint32_t>(rng()) | 0x80000000u));
                b = static_cast<uint8_t>(group * 8 + static_cast<int>(rng() % 8));
            }
            break;
        default:  // image-like rows: smooth gradient plus noise, RGBA
            for (size_t i = 0; i < n; ++i)
                d[i] = static_cast<uint8_t>((i % 4 == 3) ? 255 : ((i / 4) % 512) / 2 + (rng() % 3));
            break;
    }
    return d;
}

// zlib's deflate of `src`; raw = no header and no trailer.
Bytes ZlibDeflate(const Bytes& src, int level, int strategy, bool raw) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, raw ? -15 : 15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&z, src.size()) + 64);
    z.next_in = const_cast<Bytef*>(src.data());
    z.avail_in = static_cast<uInt>(src.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes ZlibInflateRaw(const Bytes& src, size_t expect) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    Bytes out(expect + 16);
    z.next_in = const_cast<Bytef*>(src.data());
    z.avail_in = static_cast<uInt>(src.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

// As the decoder's callers do: the stream without its two zlib header bytes,
// the Adler-32 trailer left at the end.
Bytes RunInflate(Inflater& inf, const Bytes& stream, int32_t expected, int32_t& status, bool deflate64 = false) {
    Bytes data = stream;
    inf.Inflate(data, expected, deflate64, status);
    return data;
}

TEST(InflateVsZlib, EveryLevelStrategyAndDataKind) {
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    // One decoder for every stream: trees built for one stream (the fixed
    // ones included) must not change the next stream's result.
    Inflater inf;
    for (int kind = 0; kind < 5; ++kind) {
        for (size_t n : {size_t{0}, size_t{1}, size_t{300}, size_t{70000}}) {
            const Bytes src = MakeData(kind, n, static_cast<uint32_t>(kind * 7 + n));
            for (int level = 0; level <= 9; ++level) {
                for (int strategy : strategies) {
                    SCOPED_TRACE(testing::Message() << "kind " << kind << " n " << n << " level " << level
                                                    << " strategy " << strategy);
                    const Bytes z = ZlibDeflate(src, level, strategy, false);
                    const Bytes stream(z.begin() + 2, z.end());
                    const Bytes ref = ZlibInflateRaw(stream, src.size());
                    ASSERT_EQ(ref, src);
                    int32_t status = 99;
                    const Bytes got = RunInflate(inf, stream, static_cast<int32_t>(n), status);
                    EXPECT_EQ(status, kInflateOk);
                    EXPECT_EQ(got, ref);
                }
            }
        }
    }
}

TEST(InflateVsZlib, RawStreamsEndingExactlyAtTheLastByte) {
    Inflater inf;
    for (int kind = 0; kind < 4; ++kind) {
        const Bytes src = MakeData(kind, 100000, 99u + kind);
        for (int level : {0, 1, 6, 9}) {
            const Bytes raw = ZlibDeflate(src, level, Z_DEFAULT_STRATEGY, true);
            int32_t status = 99;
            EXPECT_EQ(RunInflate(inf, raw, 100000, status), src) << "kind " << kind << " level " << level;
            EXPECT_EQ(status, kInflateOk);
        }
    }
}

TEST(InflateVsZlib, SyncFlushedBlocksOfMixedTypes) {
    // Blocks of every type in one stream: level and strategy change between
    // flushes, and flushes add empty stored blocks. The data switches
    // between words and noisy image rows, so a block whose literal table
    // has pairs and one whose table has none follow each other.
    Bytes src;
    for (int i = 0; i < 10; ++i) {
        const Bytes part = MakeData(i % 3 == 2 ? 3 : 1, 20000, static_cast<uint32_t>(5 + i));
        src.insert(src.end(), part.begin(), part.end());
    }
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes out(400000);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int params[][2] = {{0, Z_DEFAULT_STRATEGY}, {1, Z_FIXED}, {9, Z_FILTERED}, {6, Z_RLE}, {3, Z_HUFFMAN_ONLY}};
    size_t pos = 0;
    for (int i = 0; i < 10; ++i) {
        deflateParams(&z, params[i % 5][0], params[i % 5][1]);
        z.next_in = const_cast<Bytef*>(src.data() + pos);
        z.avail_in = 20000;
        pos += 20000;
        ASSERT_NE(deflate(&z, i == 9 ? Z_FINISH : Z_SYNC_FLUSH), Z_STREAM_ERROR);
    }
    out.resize(z.total_out);
    deflateEnd(&z);
    Inflater inf;
    int32_t status = 99;
    EXPECT_EQ(RunInflate(inf, out, 200000, status), src);
    EXPECT_EQ(status, kInflateOk);
}

using deflate_writer::BitWriter;

void StoredBlock(BitWriter& w, bool last, const Bytes& data, uint16_t nlenXor = 0xFFFF) {
    w.Bits(last, 1);
    w.Bits(0, 2);
    const uint16_t len = static_cast<uint16_t>(data.size());
    const uint16_t nlen = static_cast<uint16_t>(len ^ nlenXor);
    w.Byte(len & 0xFF);
    w.Byte(len >> 8);
    w.Byte(nlen & 0xFF);
    w.Byte(nlen >> 8);
    for (uint8_t b : data) w.Byte(b);
}

TEST(InflateRules, StoredBlocks) {
    Inflater inf;
    struct Case {
        const char* name;
        Bytes data;
        uint16_t nlenXor;
        int32_t status;
    };
    const Case cases[] = {
        {"empty block yields nothing", {}, 0xFFFF, kInflateOk},
        {"data copied", {1, 2, 3, 250}, 0xFFFF, kInflateOk},
        {"NLEN mismatch still copies and reports -2", {9, 8, 7}, 0x1234, kInflateStoredLength},
    };
    for (const Case& c : cases) {
        BitWriter w;
        StoredBlock(w, true, c.data, c.nlenXor);
        for (int i = 0; i < 4; ++i) w.Byte(0);  // the trailer a zlib stream carries
        int32_t status = 99;
        EXPECT_EQ(RunInflate(inf, w.bytes, 10, status), c.data) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
    }
}

TEST(InflateRules, StoredBlockBeyondInputOrOutputIsMinusOne) {
    Inflater inf;
    {
        BitWriter w;
        StoredBlock(w, true, Bytes(50, 7));
        w.bytes.resize(w.bytes.size() - 10);  // data cut short
        int32_t status = 0;
        EXPECT_TRUE(RunInflate(inf, w.bytes, 100, status).empty());
        EXPECT_EQ(status, kInflateBadStream);
    }
    {
        BitWriter w;
        StoredBlock(w, false, Bytes(30, 1));
        StoredBlock(w, true, Bytes(300, 2));  // more than the room left
        int32_t status = 0;
        EXPECT_EQ(RunInflate(inf, w.bytes, 0, status), Bytes(30, 1));  // room: 0 + 100 + 1 bytes
        EXPECT_EQ(status, kInflateBadStream);
    }
    {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(0, 2);
        w.Byte(5);  // LEN without NLEN
        int32_t status = 0;
        EXPECT_TRUE(RunInflate(inf, w.bytes, 10, status).empty());
        EXPECT_EQ(status, kInflateBadStream);
    }
}

Bytes FixedBlockOneLiteralThenLongMatch(int lengthSym, int extraBits, uint32_t extra) {
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(1, 2);
    w.Fixed('x');
    w.Fixed(lengthSym);
    w.Bits(extra, extraBits);
    w.Code(0, 5);  // distance code 0: distance 1
    w.Fixed(256);
    return w.bytes;
}

TEST(InflateRules, Deflate64SwitchOnlyChangesCode285) {
    Inflater inf;
    int32_t status = 99;
    // Off: 285 is 258 and the next bits are the distance code (distance 1
    // repeats the literal).
    EXPECT_EQ(RunInflate(inf, FixedBlockOneLiteralThenLongMatch(285, 0, 0), 1000, status, false), Bytes(259, 'x'));
    EXPECT_EQ(status, kInflateOk);
    // On: 16 more bits, length = value + 3.
    EXPECT_EQ(RunInflate(inf, FixedBlockOneLiteralThenLongMatch(285, 16, 1000), 5000, status, true),
              Bytes(1004, 'x'));
    EXPECT_EQ(status, kInflateOk);
    // A Deflate64 match is cut at the buffer's end like any other.
    int32_t expected = 10;
    Bytes data = FixedBlockOneLiteralThenLongMatch(285, 16, 1000);
    inf.Inflate(data, expected, true, status);
    EXPECT_EQ(data, Bytes(110, 'x'));
    // Code 284 with all extra bits set is 258 in both modes.
    EXPECT_EQ(RunInflate(inf, FixedBlockOneLiteralThenLongMatch(284, 5, 31), 1000, status, true).size(), 259u);
}

TEST(InflateRules, OutputIsCutAtTheBuffersEnd) {
    Inflater inf;
    int32_t status = 99;
    Bytes data = FixedBlockOneLiteralThenLongMatch(285, 0, 0);  // 259 bytes
    int32_t expected = 50;
    inf.Inflate(data, expected, false, status);
    EXPECT_EQ(expected, 150);
    EXPECT_EQ(data, Bytes(150, 'x'));
    EXPECT_EQ(status, kInflateOk);

    // Exactly filling the buffer (expected + 101 bytes) keeps every byte.
    data = FixedBlockOneLiteralThenLongMatch(285, 0, 0);
    expected = 158;
    inf.Inflate(data, expected, false, status);
    EXPECT_EQ(data.size(), 259u);

    // Large zlib output cut short the same way.
    const Bytes src = MakeData(1, 100000, 3);
    const Bytes z = ZlibDeflate(src, 6, Z_DEFAULT_STRATEGY, true);
    data = z;
    expected = 1000;
    inf.Inflate(data, expected, false, status);
    EXPECT_EQ(data, Bytes(src.begin(), src.begin() + 1100));
}

// Streams cut short anywhere (no end-of-block code, no input at all) are
// covered by EveryPrefixOfAStreamDecodesToAPrefix.
TEST(InflateRules, MalformedStreamsEndWithMinusOne) {
    Inflater inf;
    struct Case {
        const char* name;
        Bytes stream;
        Bytes output;
    };
    std::vector<Case> cases;
    {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(3, 2);
        cases.push_back({"block type 3", w.bytes, {}});
    }
    {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(1, 2);
        w.Fixed('a');
        w.Fixed(286);
        cases.push_back({"length symbol 286", w.bytes, {'a'}});
    }
    {
        BitWriter w;
        w.Bits(1, 1);
        w.Bits(1, 2);
        w.Fixed('a');
        w.Fixed(257);
        w.Code(1, 5);  // distance 2 with one byte written
        cases.push_back({"distance before the first byte", w.bytes, {'a'}});
    }
    {
        BitWriter w;
        w.Bits(0, 1);
        w.Bits(1, 2);
        w.Fixed('q');
        w.Fixed(256);
        cases.push_back({"no final block", w.bytes, {'q'}});
    }
    for (const Case& c : cases) {
        test::ScopedFakeMessageBox box;
        int32_t status = 0;
        EXPECT_EQ(RunInflate(inf, c.stream, 100, status), c.output) << c.name;
        EXPECT_EQ(status, kInflateBadStream) << c.name;
        EXPECT_TRUE(box.shown().empty()) << c.name;
    }
}

TEST(InflateRules, EveryPrefixOfAStreamDecodesToAPrefix) {
    Inflater inf;
    const Bytes src = MakeData(1, 3000, 21);
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
        const Bytes raw = ZlibDeflate(src, 9, strategy, true);
        for (size_t cut = 0; cut < raw.size(); ++cut) {
            test::ScopedFakeMessageBox box;
            const Bytes part(raw.begin(), raw.begin() + cut);
            int32_t status = 0;
            const Bytes got = RunInflate(inf, part, 3000, status);
            ASSERT_TRUE(box.shown().empty()) << "cut " << cut;  // running out is not a refused tree
            ASSERT_EQ(status, kInflateBadStream) << "cut " << cut;
            ASSERT_LE(got.size(), src.size());
            ASSERT_TRUE(std::equal(got.begin(), got.end(), src.begin())) << "cut " << cut;
        }
    }
}

// A dynamic block: its code-length code and the code-length symbols (with
// their extra bits) that follow it.
struct DynamicHeader {
    std::vector<uint8_t> clens;  // 19 entries, symbol order
    std::vector<int> symbols;    // code-length symbols to emit (with extra bits following)
    std::vector<std::pair<uint32_t, int>> extras;  // per symbol: value, bit count
    int hlit = 257, hdist = 1;
};

// Canonical code of one symbol, given all lengths.
uint32_t CanonicalCode(const std::vector<uint8_t>& lens, int sym) {
    int count[16] = {}, next[16] = {};
    for (uint8_t l : lens) ++count[l];
    count[0] = 0;
    int code = 0;
    for (int len = 1; len < 16; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }
    for (int s = 0; s < sym; ++s)
        if (lens[s] == lens[sym]) ++next[lens[sym]];
    return static_cast<uint32_t>(next[lens[sym]]);
}

Bytes DynamicBlock(const DynamicHeader& h) {
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(2, 2);
    w.Bits(h.hlit - 257, 5);
    w.Bits(h.hdist - 1, 5);
    w.Bits(15, 4);
    for (int i = 0; i < 19; ++i) w.Bits(h.clens[order[i]], 3);
    for (size_t i = 0; i < h.symbols.size(); ++i) {
        const int s = h.symbols[i];
        w.Code(CanonicalCode(h.clens, s), h.clens[s]);
        w.Bits(h.extras[i].first, h.extras[i].second);
    }
    for (int i = 0; i < 8; ++i) w.Byte(0);
    return w.bytes;
}

// A complete code-length code: 1 -> 1 bit, 18 -> 2, 0 -> 3, 16 and 17 -> 4.
std::vector<uint8_t> SmallCodeLengthCode() {
    std::vector<uint8_t> c(19, 0);
    c[1] = 1;
    c[18] = 2;
    c[0] = 3;
    c[16] = 4;
    c[17] = 4;
    return c;
}

TEST(InflateRules, RefusedTreesShowTheMessageAndLeaveTheDataUnchanged) {
    struct Case {
        const char* name;
        DynamicHeader h;
    };
    std::vector<Case> cases;
    {
        // 257 literal/length codes and one distance code, all of length 1:
        // over-full literal/length set.
        DynamicHeader h;
        h.clens = SmallCodeLengthCode();
        h.hdist = 1;
        for (int i = 0; i < 258; ++i) {
            h.symbols.push_back(1);
            h.extras.push_back({0, 0});
        }
        cases.push_back({"over-full literal/length lengths", h});
    }
    {
        DynamicHeader h;
        h.clens = SmallCodeLengthCode();
        h.symbols = {16};
        h.extras = {{0, 2}};
        cases.push_back({"repeat with nothing to repeat", h});
    }
    {
        DynamicHeader h;
        h.clens = SmallCodeLengthCode();
        h.symbols = {18, 18, 18};
        h.extras = {{127, 7}, {127, 7}, {127, 7}};  // 414 zeros for 258 entries
        cases.push_back({"run past the end of the lengths", h});
    }
    {
        DynamicHeader h;
        h.clens = std::vector<uint8_t>(19, 0);
        h.clens[1] = 1;
        cases.push_back({"incomplete code-length code", h});
    }
    Inflater inf;
    for (const Case& c : cases) {
        test::ScopedFakeMessageBox box;
        const Bytes stream = DynamicBlock(c.h);
        int32_t status = 7;
        int32_t expected = 10;
        Bytes data = stream;
        inf.Inflate(data, expected, false, status);
        EXPECT_EQ(data, stream) << c.name;
        EXPECT_EQ(status, kInflateOk) << c.name;
        ASSERT_EQ(box.shown().size(), 1u) << c.name;
        EXPECT_EQ(box.shown()[0].text, QStringLiteral("Error in tree creation (Static)"));
        EXPECT_EQ(box.shown()[0].buttons, platform::MsgButtons::Ok);
    }
}

TEST(InflateRules, StatusOfAnEarlierStoredBlockSurvivesARefusedTree) {
    test::ScopedFakeMessageBox box;
    BitWriter w;
    StoredBlock(w, false, {1, 2}, 0x0F0F);
    w.Bits(1, 1);
    w.Bits(2, 2);
    w.Bits(0, 5);
    w.Bits(0, 5);
    w.Bits(0, 4);
    w.Bits(1, 3);  // code-length 16 has length 1, others none: incomplete
    for (int i = 0; i < 8; ++i) w.Byte(0);
    Inflater inf;
    int32_t status = 0;
    const Bytes data = RunInflate(inf, w.bytes, 10, status);
    EXPECT_EQ(data, w.bytes);
    EXPECT_EQ(status, kInflateStoredLength);
    EXPECT_EQ(box.shown().size(), 1u);
}

// zlib's verdict on a raw deflate stream: its output and its return code.
struct ZlibVerdict {
    Bytes out;
    int rc;
};
ZlibVerdict ZlibInflateVerdict(const Bytes& src) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    Bytes out(1 << 16);
    z.next_in = const_cast<Bytef*>(src.data());
    z.avail_in = static_cast<uInt>(src.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    return {out, rc};
}

// One final dynamic block written from explicit code lengths. The code-length
// code gives lengths 0..15 four bits each (complete), and every length is
// sent as itself, so any length set can be written, refused ones included.
class DynamicBlockWriter {
public:
    DynamicBlockWriter(std::vector<uint8_t> litlen, std::vector<uint8_t> dist)
        : litlen_(std::move(litlen)), dist_(std::move(dist)) {
        static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        w_.Bits(1, 1);
        w_.Bits(2, 2);
        w_.Bits(static_cast<uint32_t>(litlen_.size() - 257), 5);
        w_.Bits(static_cast<uint32_t>(dist_.size() - 1), 5);
        w_.Bits(15, 4);
        for (int sym : order) w_.Bits(sym < 16 ? 4 : 0, 3);
        for (uint8_t l : litlen_) w_.Code(l, 4);  // 4-bit code of length l is l itself
        for (uint8_t l : dist_) w_.Code(l, 4);
    }
    DynamicBlockWriter& Literals(const Bytes& bytes) {
        for (uint8_t b : bytes) Sym(b);
        return *this;
    }
    // A match by its symbols: length symbol with its extra bits, distance
    // symbol (any code, used or not) with its extra bits.
    DynamicBlockWriter& Match(int lengthSym, uint32_t lengthExtra, int lengthBits, uint32_t distCode, int distCodeBits,
                              uint32_t distExtra, int distBits) {
        Sym(lengthSym);
        w_.Bits(lengthExtra, lengthBits);
        w_.Code(distCode, distCodeBits);
        w_.Bits(distExtra, distBits);
        return *this;
    }
    DynamicBlockWriter& MatchWith(int lengthSym, uint32_t lengthExtra, int lengthBits, int distSym, uint32_t distExtra,
                                  int distBits) {
        return Match(lengthSym, lengthExtra, lengthBits, CanonicalCode(dist_, distSym), dist_[distSym], distExtra,
                     distBits);
    }
    Bytes Finish() {
        Sym(256);
        for (int i = 0; i < 4; ++i) w_.Byte(0);  // room for an Adler-32 trailer
        return w_.bytes;
    }

private:
    void Sym(int s) { w_.Code(CanonicalCode(litlen_, s), litlen_[s]); }
    std::vector<uint8_t> litlen_, dist_;
    BitWriter w_;
};

// Literal/length lengths: the given symbols with the given lengths, all
// other symbols unused; `n` entries in all.
std::vector<uint8_t> Lengths(size_t n, std::initializer_list<std::pair<int, uint8_t>> used) {
    std::vector<uint8_t> l(n, 0);
    for (const auto& [sym, len] : used) l[static_cast<size_t>(sym)] = len;
    return l;
}

// Literals 'a' 'b', end-of-block, length 3 (257) and length 258 (285):
// 2 + 2 + 2 + 3 + 3 bits, a complete code.
std::vector<uint8_t> SmallLitLen() { return Lengths(286, {{'a', 2}, {'b', 2}, {256, 2}, {257, 3}, {285, 3}}); }

// Blocks whose distance alphabet is sparse the way RFC 1951 3.2.7 allows: a
// single used code sent with one bit, or no code at all (one length of zero
// bits) in a block without matches. They decode as zlib decodes them; the
// unused half of a 1-bit code, or a match where no distance code exists,
// names no distance (zlib: invalid distance code), and what came before it
// is kept.
TEST(InflateSparseDistances, DecodeExactlyAsZlibDoes) {
    struct Case {
        const char* name;
        Bytes stream;
        Bytes expected;
        int zlibRc;
        int32_t status;
    };
    auto repeat = [](Bytes head, size_t total) {
        while (head.size() < total) head.push_back(head[head.size() - 2]);
        return head;
    };
    std::vector<Case> cases;
    // Distance symbol 1 (distance 2) is the only code: "ab", then 3 and 258
    // bytes from two back.
    cases.push_back({"single 1-bit distance code, used twice",
                     DynamicBlockWriter(SmallLitLen(), {0, 1})
                         .Literals({'a', 'b'})
                         .MatchWith(257, 0, 0, 1, 0, 0)
                         .MatchWith(285, 0, 0, 1, 0, 0)
                         .Finish(),
                     repeat({'a', 'b'}, 2 + 3 + 258), Z_STREAM_END, kInflateOk});
    // The only code is symbol 4 (distances 5-6, one extra bit): distance 6.
    {
        Bytes want = {'a', 'b', 'b', 'a', 'b', 'a'};
        for (int i = 0; i < 3; ++i) want.push_back(want[want.size() - 6]);
        cases.push_back({"single distance code with extra bits",
                         DynamicBlockWriter(SmallLitLen(), {0, 0, 0, 0, 1})
                             .Literals({'a', 'b', 'b', 'a', 'b', 'a'})
                             .MatchWith(257, 0, 0, 4, 1, 1)
                             .Finish(),
                         want, Z_STREAM_END, kInflateOk});
    }
    // The single code may be the last of 30 entries (distances 24577-32768).
    {
        std::vector<uint8_t> dist(30, 0);
        dist[29] = 1;
        cases.push_back({"single code among 30 distance entries",
                         DynamicBlockWriter(SmallLitLen(), dist).Literals({'b', 'a', 'b'}).Finish(),
                         {'b', 'a', 'b'}, Z_STREAM_END, kInflateOk});
    }
    cases.push_back({"one distance length of zero: literals only",
                     DynamicBlockWriter(SmallLitLen(), {0}).Literals({'b', 'b', 'a'}).Finish(),
                     {'b', 'b', 'a'}, Z_STREAM_END, kInflateOk});
    cases.push_back({"thirty distance lengths of zero",
                     DynamicBlockWriter(SmallLitLen(), std::vector<uint8_t>(30, 0)).Literals({'a'}).Finish(),
                     {'a'}, Z_STREAM_END, kInflateOk});
    cases.push_back({"no distance codes and no length symbols",
                     DynamicBlockWriter(Lengths(257, {{'z', 1}, {256, 1}}), {0}).Literals({'z', 'z', 'z'}).Finish(),
                     {'z', 'z', 'z'}, Z_STREAM_END, kInflateOk});
    cases.push_back({"unused code of a single-code set",
                     DynamicBlockWriter(SmallLitLen(), {0, 1}).Literals({'a', 'b'}).Match(257, 0, 0, 1, 1, 0, 0).Finish(),
                     {'a', 'b'}, Z_DATA_ERROR, kInflateBadStream});
    cases.push_back({"match in a block without distance codes",
                     DynamicBlockWriter(SmallLitLen(), {0}).Literals({'a', 'b'}).Match(257, 0, 0, 0, 1, 0, 0).Finish(),
                     {'a', 'b'}, Z_DATA_ERROR, kInflateBadStream});
    Inflater inf;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ZlibVerdict ref = ZlibInflateVerdict(c.stream);
        ASSERT_EQ(ref.rc, c.zlibRc);
        ASSERT_EQ(ref.out, c.expected);
        test::ScopedFakeMessageBox box;
        int32_t status = 99;
        EXPECT_EQ(RunInflate(inf, c.stream, 300, status), ref.out);
        EXPECT_EQ(status, c.status);
        EXPECT_TRUE(box.shown().empty());
    }
}

// Every other incomplete or over-full set is still refused, literal/length
// sets with a single code or none included.
TEST(InflateSparseDistances, OtherIncompleteOrOverfullSetsAreRefused) {
    struct Case {
        const char* name;
        std::vector<uint8_t> litlen, dist;
        int zlibRc;  // zlib also lets a lone 1-bit literal/length code through
    };
    const Case cases[] = {
        {"literal/length: incomplete", Lengths(286, {{'a', 1}, {256, 2}}), {1, 1}, Z_DATA_ERROR},
        {"literal/length: only end-of-block, one bit", Lengths(257, {{256, 1}}), {0}, Z_STREAM_END},
        {"distance: single code of two bits", SmallLitLen(), {0, 2}, Z_DATA_ERROR},
        {"distance: single code of fifteen bits", SmallLitLen(), {15}, Z_DATA_ERROR},
        {"distance: one 1-bit and one 2-bit code", SmallLitLen(), {1, 2}, Z_DATA_ERROR},
        {"distance: three 1-bit codes", SmallLitLen(), {1, 1, 1}, Z_DATA_ERROR},
        {"distance: over-full with longer codes", SmallLitLen(), {1, 2, 2, 2}, Z_DATA_ERROR},
    };
    Inflater inf;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes stream = DynamicBlockWriter(c.litlen, c.dist).Literals({}).Finish();
        EXPECT_EQ(ZlibInflateVerdict(stream).rc, c.zlibRc);
        test::ScopedFakeMessageBox box;
        int32_t status = 0;
        EXPECT_EQ(RunInflate(inf, stream, 100, status), stream);
        ASSERT_EQ(box.shown().size(), 1u);
        EXPECT_EQ(box.shown()[0].text, QStringLiteral("Error in tree creation (Static)"));
    }
}

// A button face whose image stream was written with a sparse distance code
// loads as the skin painter loads faces: alpha and transparency on, nothing
// behind it.
TEST(InflateSparseDistances, PngWrittenWithSuchStreamsLoadsAsASkinFace) {
    // 4x2 RGBA, filter None; the second row repeats the first (17 bytes back).
    const Bytes row = {0, 200, 10, 20, 255, 30, 40, 50, 255, 200, 10, 20, 255, 30, 40, 50, 255};
    Bytes raw = row;
    raw.insert(raw.end(), row.begin(), row.end());
    // Literals: the row's six byte values; length 17 is symbol 268 (17-18,
    // one extra bit). Six 3-bit and four 4-bit codes: complete.
    const std::vector<uint8_t> litlen =
        Lengths(269, {{0, 3}, {200, 3}, {10, 3}, {20, 3}, {255, 3}, {30, 3}, {40, 4}, {50, 4}, {256, 4}, {268, 4}});
    ASSERT_EQ(ZlibInflateVerdict(DynamicBlockWriter(litlen, {0}).Finish()).rc, Z_STREAM_END);
    std::vector<uint8_t> singleDist(9, 0);
    singleDist[8] = 1;  // distances 17-24, three extra bits
    struct Case {
        const char* name;
        Bytes deflate;
    };
    const Case cases[] = {
        {"single distance code",
         DynamicBlockWriter(litlen, singleDist).Literals(row).MatchWith(268, 0, 1, 8, 0, 3).Finish()},
        {"no distance code", DynamicBlockWriter(litlen, {0}).Literals(raw).Finish()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ZlibInflateVerdict(c.deflate).out, raw);
        Bytes zlibStream = {0x78, 0x01};
        zlibStream.insert(zlibStream.end(), c.deflate.begin(), c.deflate.end() - 4);
        test::PutBe32(zlibStream, static_cast<uint32_t>(adler32(1, raw.data(), static_cast<uInt>(raw.size()))));
        test::PngBuilder b;
        b.Ihdr(4, 2, 8, 6).Chunk("IDAT", zlibStream).Iend();

        test::ScopedFakeMessageBox box;
        platform::PictureBox pic;
        LoadPNG png;
        png.PicBox(&pic);
        png.SetToBkgrnd(false, 0, 0);
        png.BackgroundPicture(nullptr);
        png.SetAlpha(true);
        png.SetTrans(true);
        png.OpenPNGfromBytes(b.Data());
        EXPECT_EQ(png.ErrorNumber(), 0);
        EXPECT_TRUE(box.shown().empty());
        const PixelSurface face = pic.Picture();
        ASSERT_EQ(face.Size(), QSize(4, 2));
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(face.Pixel(0, y), Rgb(200, 10, 20)) << y;
            EXPECT_EQ(face.Pixel(1, y), Rgb(30, 40, 50)) << y;
            EXPECT_EQ(face.Pixel(2, y), Rgb(200, 10, 20)) << y;
            EXPECT_EQ(face.Pixel(3, y), Rgb(30, 40, 50)) << y;
        }
    }
}


// Codes longer than the decoder's direct tables (11 bits for literals and
// lengths, 8 for distances) are found through subtables. This block gives
// codes of every length from 1 to 15 bits in both alphabets, long literals,
// long length symbols and long distance symbols among them, and mixes them at
// random over a stream long enough for the decoder's fast loop and its
// careful tail both to meet them.
struct LongCodeSymbol {
    int sym;
    int base;
    int extraBits;
};
// Literal/length: one symbol of each length 1..14 and two of 15 (complete).
const LongCodeSymbol kLongLitLen[] = {
    {'a', 0, 0},  {'b', 0, 0},   {256, 0, 0},   {257, 3, 0},   {'c', 0, 0}, {266, 13, 1},
    {'d', 0, 0},  {269, 19, 2},  {'e', 0, 0},   {'f', 0, 0},   {'x', 0, 0}, {273, 35, 3},
    {'y', 0, 0},  {284, 227, 5}, {285, 258, 0}, {'z', 0, 0}};
// Distances 0..13 with codes 1..14 bits long, then two of 15 bits (complete)
// for the farthest distances, whose 13 extra bits make the longest match.
const LongCodeSymbol kLongDist[] = {{0, 1, 0},   {1, 2, 0},   {2, 3, 0},     {3, 4, 0},    {4, 5, 1},   {5, 7, 1},
                                    {6, 9, 2},   {7, 13, 2},  {8, 17, 3},    {9, 25, 3},   {10, 33, 4}, {11, 49, 4},
                                    {12, 65, 5}, {13, 97, 5}, {28, 16385, 13}, {29, 24577, 13}};

struct LongCodeStream {
    Bytes deflate;
    Bytes plain;  // what the stream decodes to, expanded here symbol by symbol
};

// With `deflate64`, symbol 285 is followed by 16 bits: the length is their
// value + 3 (kept below 2000 here, so that a match fits the output).
LongCodeStream MakeLongCodeStream(uint32_t seed, int symbols, bool deflate64 = false) {
    std::vector<uint8_t> litlen(286, 0), dist(30, 0);
    for (size_t i = 0; i < std::size(kLongLitLen); ++i)
        litlen[static_cast<size_t>(kLongLitLen[i].sym)] = static_cast<uint8_t>(std::min<size_t>(i + 1, 15));
    for (size_t i = 0; i < std::size(kLongDist); ++i)
        dist[static_cast<size_t>(kLongDist[i].sym)] = static_cast<uint8_t>(std::min<size_t>(i + 1, 15));
    DynamicBlockWriter w(litlen, dist);
    LongCodeStream s;
    std::mt19937 rng(seed);
    for (int n = 0; n < symbols; ++n) {
        const LongCodeSymbol& ll = kLongLitLen[rng() % std::size(kLongLitLen)];
        if (ll.sym < 256) {
            s.plain.push_back(static_cast<uint8_t>(ll.sym));
            w.Literals({static_cast<uint8_t>(ll.sym)});
            continue;
        }
        if (ll.sym == 256 || s.plain.empty()) continue;
        // A distance code whose whole range lies within what was written.
        const LongCodeSymbol* d = nullptr;
        do d = &kLongDist[rng() % std::size(kLongDist)];
        while (static_cast<size_t>(d->base + (1 << d->extraBits) - 1) > s.plain.size() && d != &kLongDist[0]);
        const bool long64 = deflate64 && ll.sym == 285;
        const int lengthBits = long64 ? 16 : ll.extraBits;
        const uint32_t lengthExtra = long64 ? rng() % 2000 : lengthBits ? rng() % ((1u << lengthBits) - 1) : 0;
        const uint32_t distExtra = d->extraBits ? rng() % (1u << d->extraBits) : 0;
        w.MatchWith(ll.sym, lengthExtra, lengthBits, d->sym, distExtra, d->extraBits);
        const size_t length = (long64 ? 3 : static_cast<size_t>(ll.base)) + lengthExtra;
        const size_t back = static_cast<size_t>(d->base) + distExtra;
        for (size_t k = 0; k < length; ++k) s.plain.push_back(s.plain[s.plain.size() - back]);
    }
    s.deflate = w.Finish();
    return s;
}

// Plain streams are checked against zlib as well; with Deflate64, code 285
// and its 16 extra bits come among the long literal and distance codes.
TEST(InflateLongCodes, DecodeAsExpandedWhereZlibAgrees) {
    struct Case {
        uint32_t seed;
        bool deflate64;
    };
    for (const Case& c : {Case{1, false}, Case{2, false}, Case{3, false}, Case{5, true}, Case{6, true}}) {
        SCOPED_TRACE(testing::Message() << "seed " << c.seed << (c.deflate64 ? " Deflate64" : ""));
        const LongCodeStream s = MakeLongCodeStream(c.seed, 400, c.deflate64);
        if (!c.deflate64) {
            ASSERT_EQ(ZlibInflateRaw(s.deflate, s.plain.size()), s.plain);  // valid as written
        }
        Inflater inf;
        std::vector<uint8_t> out(s.plain.size() + Inflater::kOutputSlack);
        const InflateResult r =
            inf.DecodeInto(s.deflate.data(), s.deflate.size(), out.data(), s.plain.size() + 1, c.deflate64);
        EXPECT_EQ(r.status, kInflateOk);
        ASSERT_EQ(r.produced, s.plain.size());
        EXPECT_TRUE(std::equal(s.plain.begin(), s.plain.end(), out.begin()));
    }
}

// The output buffer may end anywhere, inside a long literal's or a long
// match's bytes: what was decoded up to there is the stream's start.
TEST(InflateLongCodes, OutputCutAnywhereKeepsAPrefix) {
    const LongCodeStream s = MakeLongCodeStream(4, 120);
    Inflater inf;
    for (size_t capacity = 1; capacity < s.plain.size(); ++capacity) {
        std::vector<uint8_t> out(capacity + Inflater::kOutputSlack);
        const InflateResult r = inf.DecodeInto(s.deflate.data(), s.deflate.size(), out.data(), capacity, false);
        ASSERT_EQ(r.status, kInflateOk) << capacity;
        ASSERT_EQ(r.produced, capacity - 1) << capacity;
        ASSERT_TRUE(std::equal(out.begin(), out.begin() + static_cast<ptrdiff_t>(capacity), s.plain.begin()))
            << capacity;
    }
}

}  // namespace
}  // namespace tavo::imaging
