#include "imaging/inflate_tables.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tavo::imaging::inflate_detail {

namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Codes 30 and 31 are the Deflate64 distances; they are accepted in both modes.
constexpr uint16_t kDistBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr uint8_t kDistExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,  6,
                                    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

// Bit reversal of each byte value.
constexpr std::array<uint8_t, 256> MakeByteReversal() {
    std::array<uint8_t, 256> r{};
    for (unsigned v = 0; v < 256; ++v) {
        unsigned x = 0;
        for (unsigned b = 0; b < 8; ++b) x |= ((v >> b) & 1u) << (7 - b);
        r[v] = static_cast<uint8_t>(x);
    }
    return r;
}
constexpr std::array<uint8_t, 256> kByteReversal = MakeByteReversal();

// The low `length` bits (1..15) of `code` in reverse order.
inline unsigned Reverse(unsigned code, unsigned length) {
    const unsigned r16 = (unsigned{kByteReversal[code & 0xFF]} << 8) | kByteReversal[(code >> 8) & 0xFF];
    return r16 >> (16 - length);
}

// A table gets literal pairs when at least one entry in kPairShare is one.
constexpr size_t kPairShare = 16;

// How many entries of a direct table of `bits` index bits hold a pair of
// literals, from the number of literals of each code length: a pair of codes
// of lengths a and b fills 2^(bits - a - b) of them.
size_t PairEntries(const unsigned* literals, unsigned bits) {
    size_t entries = 0;
    for (unsigned a = 1; a < bits; ++a)
        for (unsigned b = 1; a + b <= bits; ++b) entries += size_t{literals[a] * literals[b]} << (bits - a - b);
    return entries;
}

}  // namespace

SymbolInfo::SymbolInfo() {
    for (int d64 = 0; d64 < 2; ++d64) {
        for (int s = 0; s < 256; ++s) litlen[d64][s] = MakeInfo(s, 0, 0);
        litlen[d64][256] = MakeInfo(kEndValue, 0, kNonLiteral | kSpecial);
        for (int s = 257; s <= 285; ++s)
            litlen[d64][s] = MakeInfo(kLengthBase[s - 257], kLengthExtra[s - 257], kNonLiteral);
        litlen[d64][286] = litlen[d64][287] = kInvalidEntry;
    }
    // Deflate64: code 285 is followed by 16 bits, the length being their value + 3.
    litlen[1][285] = MakeInfo(3, 16, kNonLiteral);
    for (int s = 0; s < 32; ++s) dist[s] = MakeInfo(kDistBase[s], kDistExtra[s], kNonLiteral);
    for (int s = 0; s < 19; ++s) codelen[s] = MakeInfo(s, 0, kNonLiteral);
}

const SymbolInfo& Symbols() {
    static const SymbolInfo info;
    return info;
}

// Builds the canonical code of RFC 1951 3.2.2 from `lens` (each 0..15).
// Refuses (returns false) an over-full set and an incomplete one. The
// distance alphabet is the exception RFC 1951 3.2.7 makes: a single used
// distance code is sent with one bit (the other 1-bit code is unused), and a
// lone distance length of zero means the block has no matches. Unused codes
// get invalid entries, so a stream that sends one is refused when decoded.
//
// The direct table has 2^maxBits entries, or with `shrink` only as many as
// the longest code needs (less to fill for a small block).
bool BuildTable(HuffTable& t, const uint8_t* lens, int n, int maxBits, bool shrink, const uint32_t* info,
                Completeness rule) {
    t.pairs = false;  // AddLiteralPairs may add them afterwards
    uint16_t count[HuffTable::kMaxBits + 1] = {};
    for (int i = 0; i < n; ++i) ++count[lens[i]];
    count[0] = 0;
    int longest = 0;
    for (int len = HuffTable::kMaxBits; len >= 1; --len) {
        if (count[len]) {
            longest = len;
            break;
        }
    }
    int remaining = 1;
    for (int len = 1; len <= longest; ++len) {
        remaining = remaining * 2 - count[len];
        if (remaining < 0) return false;  // over-full
    }
    // After the loop `remaining` counts the unused codes of the longest
    // length; with no codes at all it is 1 (the loop did not run).
    const bool sparseDistances = rule == Completeness::DistanceSparse && longest <= 1 && remaining == 1;
    if (remaining != 0 && !sparseDistances) return false;  // incomplete

    uint16_t offset[HuffTable::kMaxBits + 2] = {};
    uint16_t next[HuffTable::kMaxBits + 1] = {};
    unsigned code = 0;
    for (int len = 1; len <= HuffTable::kMaxBits; ++len) {
        offset[len + 1] = static_cast<uint16_t>(offset[len] + count[len]);
        code = (code + count[len - 1]) << 1;
        next[len] = static_cast<uint16_t>(code);
    }
    std::memcpy(t.count, count, sizeof count);
    const int bits = shrink ? std::clamp(longest, 1, maxBits) : maxBits;
    t.bits = bits;
    const size_t size = size_t{1} << bits;
    // Every long code gets at most one subtable of its own: room for all of
    // them after the direct table (the values stay below 2^16).
    const int subBits = longest > bits ? longest - bits : 0;
    t.subBits = subBits;
    const size_t subSize = size_t{1} << subBits;
    size_t longCodes = 0;
    for (int len = bits + 1; len <= HuffTable::kMaxBits; ++len) longCodes += count[len];
    const size_t need = size + longCodes * subSize;
    if (t.fast.size() < need) t.fast.resize(need);  // never shrinks: no refill of zeros later
    uint32_t* fast = t.fast.data();
    size_t nextSubtable = size;

    // Symbols in canonical order: by code length, then by symbol.
    for (int sym = 0; sym < n; ++sym)
        if (lens[sym]) t.sorted[offset[lens[sym]]++] = static_cast<uint16_t>(sym);
    // The table is filled by doubling: before the codes of length `len` go
    // in, its first 2^(len-1) entries hold every shorter code; copying them
    // to the next 2^(len-1) entries makes them right for the first 2^len,
    // where each code of length `len` then takes the one entry left for it.
    // Entries no code reaches (a sparse distance set) stay invalid. Long
    // codes come last; a direct entry they share gets its subtable on the
    // first of them, which the rest then find there.
    fast[0] = kInvalidEntry;
    unsigned at = 0;
    for (int len = 1; len <= HuffTable::kMaxBits; ++len) {
        const size_t half = size_t{1} << (len - 1);
        if (len <= bits) std::memcpy(fast + half, fast, half * sizeof *fast);
        for (unsigned k = 0; k < count[len]; ++k) {
            const unsigned sym = t.sorted[at + k];
            const unsigned rev = Reverse(next[len]++, static_cast<unsigned>(len));
            t.code[sym] = static_cast<uint16_t>(rev);
            const uint32_t entry = WithLength(info[sym], static_cast<unsigned>(len));
            if (len <= bits) {
                fast[rev] = entry;
                continue;
            }
            uint32_t& direct = fast[rev & (size - 1)];
            if (!(direct & kSubtable)) {
                std::fill(fast + nextSubtable, fast + nextSubtable + subSize, kInvalidEntry);
                direct = SubtableEntry(nextSubtable);
                nextSubtable += subSize;
            }
            uint32_t* const sub = fast + Value(direct);
            for (size_t i = rev >> bits; i < subSize; i += size_t{1} << (len - bits)) sub[i] = entry;
        }
        at += count[len];
    }
    return true;
}

// Adds literal pairs to a literal/length table: wherever the table's index
// bits hold a whole literal code followed by the whole code of a second
// literal, the entry yields both. The work is one store per pair entry
// written: literals are taken in order of code length, and only pairs that
// fit are visited. A table where pairs would be rare (noisy image rows,
// binary records: long literal codes) gets none; `pairs` tells which.
void AddLiteralPairs(HuffTable& t, const uint8_t* lens) {
    const unsigned bits = static_cast<unsigned>(t.bits);
    unsigned shortest = 1;
    while (shortest <= bits && t.count[shortest] == 0) ++shortest;
    if (2 * shortest > bits) return;
    // Literals whose code leaves room for another one, shortest first.
    uint16_t lits[256];
    unsigned nlits = 0;
    unsigned literals[HuffTable::kMaxBits + 1] = {};  // of each code length
    unsigned at = 0;
    for (unsigned len = 1; len <= bits - shortest; ++len) {
        for (unsigned k = 0; k < t.count[len]; ++k) {
            const uint16_t sym = t.sorted[at + k];
            if (sym < 256) {
                lits[nlits++] = sym;
                ++literals[len];
            }
        }
        at += t.count[len];
    }
    // Pairs pay only where they are met often: with pairs, every literal
    // entry takes a few more steps to write. Below one lookup in kPairShare
    // the table keeps single literals.
    if (PairEntries(literals, bits) < (size_t{1} << bits) / kPairShare) return;
    t.pairs = true;
    uint32_t* const fast = t.fast.data();
    const size_t size = size_t{1} << bits;
    for (unsigned a = 0; a < nlits; ++a) {
        const unsigned first = lits[a], la = lens[first];
        for (unsigned b = 0; b < nlits && lens[lits[b]] + la <= bits; ++b) {
            const unsigned second = lits[b], lb = lens[second];
            const uint32_t e = ((first | (second << 8)) << 16) | kPair | (la << 8) | (la + lb);
            const size_t step = size_t{1} << (la + lb);
            for (size_t i = t.code[first] | (size_t{t.code[second]} << la); i < size; i += step) fast[i] = e;
        }
    }
}

}  // namespace tavo::imaging::inflate_detail
