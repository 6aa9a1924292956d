#include "imaging/inflate.h"

#include "platform/message_box.h"

#include <QString>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <memory>

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

namespace tavo::imaging {

namespace {

// Table entry layout (32 bits), the same for every alphabet:
//   bits 0-5   bits to consume: the code, the extra bits that follow it, and
//              for a pair of literals the second literal's code as well
//              (at most 31, so a 64-bit shift by the entry's low six bits
//              needs no masking)
//   bits 6-7   zero: the low byte alone is the consume count
//   bits 8-11  length of the (first) code alone; the extra bits of a length
//              or distance are the consumed bits above it
//   bit 13     kSubtable: a code longer than the direct table (see below)
//   bit 14     literal entries: kPair, two literals; other entries: kSpecial
//   bit 15     kNonLiteral: anything but a literal
//   bits 16-31 literals: the literal, and the second one in bits 24-31;
//              others: the length base, distance base or code-length symbol,
//              or for kSpecial entries what is special (kEndValue ...).
// Lengths and distances decode as base + the extra bits found right after
// the code.
// A code longer than the direct table's index bits has a subtable entry
// there (kSpecial and kSubtable, consuming nothing), whose value is where
// its subtable starts in the same array; the subtable is indexed by the
// stream bits that follow the direct table's and holds the code's entry as
// the direct table would, its code length being the whole code's.
constexpr uint32_t kNonLiteral = 1u << 15;
constexpr uint32_t kSpecial = 1u << 14;
constexpr uint32_t kPair = 1u << 14;
constexpr uint32_t kSubtable = 1u << 13;
constexpr uint32_t kEndValue = 0;      // end of block
constexpr uint32_t kInvalidValue = 2;  // symbol 286 or 287, or an unused distance code

constexpr int kLitLenBits = 10;
constexpr int kDistBits = 8;
constexpr int kCodeLenBits = 7;  // code-length codes are at most 7 bits long

inline unsigned Consume(uint32_t e) { return e & 63; }
inline unsigned CodeLen(uint32_t e) { return (e >> 8) & 15; }
inline uint32_t Value(uint32_t e) { return e >> 16; }
inline bool IsSpecial(uint32_t e) { return (e & (kNonLiteral | kSpecial)) == (kNonLiteral | kSpecial); }
// What a symbol means before its code length is known: the extra bit count
// stands in the consume field, to which WithLength adds the code length.
constexpr uint32_t MakeInfo(uint32_t value, unsigned extra, uint32_t flags) { return (value << 16) | extra | flags; }
inline uint32_t SubtableEntry(size_t start) {
    return MakeInfo(static_cast<uint32_t>(start), 0, kNonLiteral | kSpecial | kSubtable);
}
constexpr uint32_t kInvalidEntry = MakeInfo(kInvalidValue, 0, kNonLiteral | kSpecial);
// The table entry of a symbol whose code has `len` bits.
inline uint32_t WithLength(uint32_t info, unsigned len) { return info + (len << 8) + len; }
// The extra bits of entry `e` in `bits`, the stream bits its code starts.
// `e` is a length or distance entry (no subtable, no pair), so bits 12-13
// are zero and the shift count needs only its low six bits; the mask by the
// low byte and the shift by a register are one instruction each with BMI2.
// The block loop compiled for BMI2 passes kBmi2, and the mask is then the
// processor's bit-field instruction, whose count is the entry's low byte
// (the compiler does not always find it by itself).
template <bool kBmi2 = false>
[[gnu::always_inline]] inline uint32_t ExtraOf(uint64_t bits, uint32_t e) {
    uint64_t consumed;
#if defined(__x86_64__)
    if constexpr (kBmi2) {
        asm("bzhi %2, %1, %0" : "=r"(consumed) : "r"(bits), "r"(uint64_t{e}));
    } else
#endif
    {
        consumed = bits & ((uint64_t{1} << static_cast<uint8_t>(e)) - 1);
    }
    return static_cast<uint32_t>(consumed >> ((e >> 8) & 63));
}

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
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// What each symbol means, without its code length.
struct SymbolInfo {
    uint32_t litlen[2][288];  // [deflate64][symbol]
    uint32_t dist[32];
    uint32_t codelen[19];
    SymbolInfo() {
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
};
const SymbolInfo& Symbols() {
    static const SymbolInfo info;
    return info;
}

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

// Which incomplete code-length sets an alphabet accepts.
enum class Completeness {
    Required,        // literal/length and code-length codes
    DistanceSparse,  // distances: also no code at all, or a single 1-bit code
};

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
                Completeness rule = Completeness::Required) {
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
// fit are visited.
void AddLiteralPairs(HuffTable& t, const uint8_t* lens) {
    const unsigned bits = static_cast<unsigned>(t.bits);
    unsigned shortest = 1;
    while (shortest <= bits && t.count[shortest] == 0) ++shortest;
    if (2 * shortest > bits) return;
    // Literals whose code leaves room for another one, shortest first.
    uint16_t lits[256];
    unsigned nlits = 0;
    unsigned at = 0;
    for (unsigned len = 1; len <= bits - shortest; ++len) {
        for (unsigned k = 0; k < t.count[len]; ++k) {
            const uint16_t sym = t.sorted[at + k];
            if (sym < 256) lits[nlits++] = sym;
        }
        at += t.count[len];
    }
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

// The entry of a code longer than the direct table, whose direct entry `e`
// is a subtable entry; `bits` are the stream bits the code starts with.
inline uint32_t LookupLong(const HuffTable& t, uint32_t e, uint64_t bits) {
    const uint64_t index = (bits >> t.bits) & ((uint64_t{1} << t.subBits) - 1);
    return t.fast[Value(e) + index];
}

// LSB-first bit reader over [in, end). Past the end it supplies zero bytes
// and counts them in `overrun`; consuming any of those bits is detected by
// Truncated(), so nothing decoded from them is ever written.
struct BitReader {
    const uint8_t* in;
    const uint8_t* end;
    uint64_t buf = 0;   // bits above `count` are zero or the stream's next bits
    unsigned count = 0;
    unsigned overrun = 0;

    // Leaves at least 56 bits in the buffer.
    inline void Refill() {
        if (end - in >= 8) {
            RefillFast();
        } else {
            while (count < 56) {
                uint64_t byte = 0;
                if (in < end) {
                    byte = *in++;
                } else {
                    ++overrun;
                }
                buf |= byte << count;
                count += 8;
            }
        }
    }
    // Needs 8 readable bytes at `in`.
    inline void RefillFast() {
        uint64_t word;
        std::memcpy(&word, in, 8);
        buf |= word << count;
        in += (63 - count) >> 3;
        count |= 56;
    }
    inline void Drop(unsigned n) {
        buf >>= n;
        count -= n;
    }
    // The block loop's variants, which spare the masking of an entry's
    // consume field: only the low six bits of `count` are the count there,
    // and subtracting a whole entry keeps them right, since a borrow only
    // ever moves upwards. Settle() makes `count` plain again.
    inline void DropEntry(uint32_t e) {
        buf >>= (e & 63);  // the shift instruction masks by itself
        count -= e;
    }
    inline void RefillFastLoose() {
        uint64_t word;
        std::memcpy(&word, in, 8);
        buf |= word << (count & 63);
        in += 7 - ((count >> 3) & 7);
        count |= 56;
    }
    inline void Settle() { count &= 63; }
    inline uint32_t Take(unsigned n) {
        const uint32_t v = static_cast<uint32_t>(buf & ((uint64_t{1} << n) - 1));
        Drop(n);
        return v;
    }
    inline bool Truncated() const { return count < overrun * 8; }
};

// Copies a match of `length` bytes from `dist` bytes back, in whole chunks:
// may write up to 29 bytes past o + length (the output slack). A chunk only
// ever reads bytes that are already final: for a distance below the chunk
// size, it reads from a whole multiple of the period back instead.
template <size_t kChunk>
inline void CopyChunks(uint8_t* o, const uint8_t* s, const uint8_t* stop) {
    // Two chunks first: most matches end within them.
    std::memcpy(o, s, kChunk);
    std::memcpy(o + kChunk, s + kChunk, kChunk);
    o += 2 * kChunk;
    s += 2 * kChunk;
    while (o < stop) {
        std::memcpy(o, s, kChunk);
        o += kChunk;
        s += kChunk;
    }
}

inline void CopyMatch(uint8_t* o, size_t dist, size_t length) {
    uint8_t* const stop = o + length;
    if (dist >= 16) {
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

// Writes the one or two literals of a literal entry (two bytes always: the
// caller has room) and advances the output position over them.
inline void StoreLiterals(uint8_t*& o, uint32_t e) {
    const uint16_t bytes = static_cast<uint16_t>(Value(e));
    std::memcpy(o, &bytes, 2);
    o += 1 + ((e >> 14) & 1);
}

enum class BlockEnd { EndOfBlock, OutputFull, Bad };

// A match that runs past the buffer's end: fills the buffer, then stops.
inline BlockEnd CopyMatchToEnd(uint8_t*& o, uint8_t* outEnd, size_t dist) {
    for (; o < outEnd; ++o) *o = *(o - dist);
    return BlockEnd::OutputFull;
}

// One Huffman-coded block. `o` advances over what was written. `br` and `o`
// must be the caller's own locals: a byte stored through `o` may alias
// anything whose address is known elsewhere, which would force the bit
// buffer back to memory after every store.
template <bool kDeflate64, bool kBmi2>
[[gnu::always_inline]] inline BlockEnd DecodeBlockLocal(BitReader& br, uint8_t*& o, uint8_t* const outStart,
                                                        uint8_t* const outEnd, const HuffTable& ll,
                                                        const HuffTable& dt) {
    const uint32_t* const L = ll.fast.data();
    const uint32_t* const D = dt.fast.data();
    // Literal/length and distance tables always have their full size, so
    // their index masks are constants (two registers fewer in the loop).
    constexpr uint64_t lmask = (uint64_t{1} << kLitLenBits) - 1;
    constexpr uint64_t dmask = (uint64_t{1} << kDistBits) - 1;

    // Fast loop: enough input that every refill reads real bytes (a round
    // refills at most twice, each moving on at most 7 bytes and reading 8),
    // and room for what one round writes: six literals, or one match of at
    // most 258 bytes (a Deflate64 match, which can be longer, is checked
    // against the room left). Chunk copies may run into the slack after the
    // buffer. The limits are tested once a round, not per byte.
    constexpr ptrdiff_t kInMargin = 24;
    constexpr ptrdiff_t kOutMargin = 8 + 258;
    if (br.end - br.in > kInMargin && outEnd - o > kOutMargin) {
        const uint8_t* const inFast = br.end - kInMargin;
        uint8_t* const outFast = outEnd - kOutMargin;
        // Every entry's bits are dropped as soon as it is looked up, before
        // anything branches on it; `saved` keeps the buffer as it was, for the
        // extra bits and the rare long codes. At the top of each round `e` is
        // the next entry, already dropped, and a match's code, extra bits and
        // distance (at most 15 + 5 + 15 + 14 = 49 bits) are all in the buffer.
        auto next = [&](uint64_t& saved) {
            const uint32_t entry = L[br.buf & lmask];
            saved = br.buf;
            br.DropEntry(entry);
            return entry;
        };
        uint64_t saved;
        br.RefillFastLoose();
        uint32_t e = next(saved);
        for (;;) {
            // Two rarely taken branches, cheaper than one on both tests.
            if (br.in >= inFast) [[unlikely]]
                break;
            if (o >= outFast) [[unlikely]]
                break;
            if (!(e & kNonLiteral)) {
                // Up to three literal entries (up to six literals) per
                // refill: each takes at most kLitLenBits of the 56 bits.
                StoreLiterals(o, e);
                e = next(saved);
                if (!(e & kNonLiteral)) {
                    StoreLiterals(o, e);
                    e = next(saved);
                    if (!(e & kNonLiteral)) {
                        StoreLiterals(o, e);
                        br.RefillFastLoose();
                        e = next(saved);
                        continue;
                    }
                }
                br.RefillFastLoose();  // only adds bits above the ones in `saved`
            }
            if (e & kSpecial) {
                if (e & kSubtable) {  // dropped nothing yet
                    e = LookupLong(ll, e, saved);
                    br.Drop(Consume(e));
                    if (!(e & kNonLiteral)) {
                        *o++ = static_cast<uint8_t>(Value(e));
                        br.RefillFastLoose();
                        e = next(saved);
                        continue;
                    }
                }
                if (IsSpecial(e)) return Value(e) == kEndValue ? BlockEnd::EndOfBlock : BlockEnd::Bad;
            }
            const size_t length = Value(e) + ExtraOf<kBmi2>(saved, e);
            if constexpr (kDeflate64) br.RefillFastLoose();  // 16 extra bits: the 49 above do not hold
            const uint64_t savedDist = br.buf;
            uint32_t de = D[br.buf & dmask];
            br.DropEntry(de);
            if (de & kSpecial) {
                if (!(de & kSubtable)) return BlockEnd::Bad;  // an unused distance code
                de = LookupLong(dt, de, savedDist);
                if (de & kSpecial) return BlockEnd::Bad;
                br.Drop(Consume(de));
            }
            const size_t dist = Value(de) + ExtraOf<kBmi2>(savedDist, de);
            if (dist > static_cast<size_t>(o - outStart)) return BlockEnd::Bad;
            if constexpr (kDeflate64) {
                if (length > static_cast<size_t>(outEnd - o)) return CopyMatchToEnd(o, outEnd, dist);
            }
            // The next round's entry is looked up before the copy, whose
            // branches depend on the match.
            br.RefillFastLoose();
            e = next(saved);
            CopyMatch(o, dist, length);
            o += length;
        }
        // Hand the careful loop the buffer as it was before the entry.
        br.count += Consume(e);
        br.Settle();
        br.buf = saved;
    }

    // Careful loop: near the end of the input or of the output. One symbol
    // at a time (the first literal of a pair only), every limit checked.
    for (;;) {
        br.Refill();
        uint32_t e = L[br.buf & lmask];
        if (e & kSubtable) e = LookupLong(ll, e, br.buf);
        if (!(e & kNonLiteral)) {
            br.Drop(CodeLen(e));
            if (br.Truncated()) return BlockEnd::Bad;
            if (o >= outEnd) return BlockEnd::OutputFull;
            *o++ = static_cast<uint8_t>(Value(e));
            continue;
        }
        if (IsSpecial(e)) {
            br.Drop(Consume(e));
            if (br.Truncated()) return BlockEnd::Bad;
            return Value(e) == kEndValue ? BlockEnd::EndOfBlock : BlockEnd::Bad;
        }
        uint64_t bits = br.buf;
        br.Drop(Consume(e));
        const size_t length = Value(e) + ExtraOf(bits, e);
        br.Refill();
        uint32_t de = D[br.buf & dmask];
        if (de & kSubtable) de = LookupLong(dt, de, br.buf);
        if (IsSpecial(de)) return BlockEnd::Bad;  // an unused distance code
        bits = br.buf;
        br.Drop(Consume(de));
        const size_t dist = Value(de) + ExtraOf(bits, de);
        if (br.Truncated()) return BlockEnd::Bad;
        if (dist > static_cast<size_t>(o - outStart)) return BlockEnd::Bad;
        if (length > static_cast<size_t>(outEnd - o)) return CopyMatchToEnd(o, outEnd, dist);
        for (uint8_t* const stop = o + length; o < stop; ++o) *o = *(o - dist);
    }
}

// The block decoder is compiled twice: for any x86-64, and for processors
// with BMI2, whose shifts and masks by a register count take one simple
// instruction each. The choice is made once, at run time.
using BlockDecoder = BlockEnd (*)(BitReader&, uint8_t*&, uint8_t*, uint8_t*, const HuffTable&, const HuffTable&);
template <bool kDeflate64, bool kBmi2>
[[gnu::always_inline]] inline BlockEnd DecodeBlockBody(BitReader& state, uint8_t*& out, uint8_t* outStart,
                                                       uint8_t* outEnd, const HuffTable& ll, const HuffTable& dt) {
    BitReader br = state;
    uint8_t* o = out;
    const BlockEnd end = DecodeBlockLocal<kDeflate64, kBmi2>(br, o, outStart, outEnd, ll, dt);
    br.Settle();  // the fast loop may have returned with a loose count
    state = br;
    out = o;
    return end;
}
template <bool kDeflate64>
BlockEnd DecodeBlockPlain(BitReader& br, uint8_t*& o, uint8_t* outStart, uint8_t* outEnd, const HuffTable& ll,
                          const HuffTable& dt) {
    return DecodeBlockBody<kDeflate64, false>(br, o, outStart, outEnd, ll, dt);
}
#if defined(__x86_64__)
template <bool kDeflate64>
[[gnu::target("bmi2")]] BlockEnd DecodeBlockBmi2(BitReader& br, uint8_t*& o, uint8_t* outStart, uint8_t* outEnd,
                                                 const HuffTable& ll, const HuffTable& dt) {
    return DecodeBlockBody<kDeflate64, true>(br, o, outStart, outEnd, ll, dt);
}
#endif

BlockDecoder ChooseBlockDecoder(bool deflate64) {
#if defined(__x86_64__)
    static const bool kBmi2 = __builtin_cpu_supports("bmi2");
    if (kBmi2) return deflate64 ? DecodeBlockBmi2<true> : DecodeBlockBmi2<false>;
#endif
    return deflate64 ? DecodeBlockPlain<true> : DecodeBlockPlain<false>;
}

enum class TreeRead { Ok, Refused, Truncated };

TreeRead ReadDynamicTrees(BitReader& br, HuffTable& codeLengths, HuffTable& litlen, HuffTable& dist,
                          const uint32_t* llInfo) {
    const SymbolInfo& info = Symbols();
    br.Refill();
    const int hlit = static_cast<int>(br.Take(5)) + 257;
    const int hdist = static_cast<int>(br.Take(5)) + 1;
    const int hclen = static_cast<int>(br.Take(4)) + 4;
    uint8_t clens[19] = {};
    for (int i = 0; i < hclen; ++i) {
        if (br.count < 3) br.Refill();
        clens[kCodeLengthOrder[i]] = static_cast<uint8_t>(br.Take(3));
    }
    if (br.Truncated()) return TreeRead::Truncated;
    if (!BuildTable(codeLengths, clens, 19, kCodeLenBits, true, info.codelen)) return TreeRead::Refused;

    uint8_t lens[288 + 32];
    const int total = hlit + hdist;
    int n = 0;
    while (n < total) {
        br.Refill();
        const uint32_t e = codeLengths.fast[br.buf & ((uint64_t{1} << codeLengths.bits) - 1)];
        br.Drop(Consume(e));
        const unsigned sym = Value(e);
        if (sym < 16) {
            lens[n++] = static_cast<uint8_t>(sym);
            continue;
        }
        uint8_t fill = 0;
        int repeat;
        if (sym == 16) {
            if (n == 0) return TreeRead::Refused;  // nothing to repeat
            fill = lens[n - 1];
            repeat = 3 + static_cast<int>(br.Take(2));
        } else if (sym == 17) {
            repeat = 3 + static_cast<int>(br.Take(3));
        } else {
            repeat = 11 + static_cast<int>(br.Take(7));
        }
        if (n + repeat > total) return br.Truncated() ? TreeRead::Truncated : TreeRead::Refused;
        std::memset(lens + n, fill, static_cast<size_t>(repeat));
        n += repeat;
    }
    if (br.Truncated()) return TreeRead::Truncated;
    // Both tables always have their full size: the pairs need the room, and
    // the block loop's index masks are constants.
    if (!BuildTable(litlen, lens, hlit, kLitLenBits, false, llInfo)) return TreeRead::Refused;
    AddLiteralPairs(litlen, lens);
    if (!BuildTable(dist, lens + hlit, hdist, kDistBits, false, info.dist, Completeness::DistanceSparse))
        return TreeRead::Refused;
    return TreeRead::Ok;
}

}  // namespace

Inflater::Inflater() = default;

size_t Inflater::MaxOutput(size_t inLen, bool deflate64) {
    // A match needs at least a 1-bit length code and a 1-bit distance code
    // (no distance code has zero bits): 258 bytes per 2 bits. A
    // Deflate64 match adds 16 extra bits for up to 65538 bytes.
    const size_t perByte = deflate64 ? 29200 : 1040;
    const size_t extra = deflate64 ? 70000 : 1100;
    if (inLen > (SIZE_MAX - extra) / perByte) return SIZE_MAX / 2;
    return inLen * perByte + extra;
}

const Inflater::Tables& Inflater::FixedTables(bool deflate64) {
    const int k = deflate64 ? 1 : 0;
    if (!fixedBuilt_[k]) {
        uint8_t lens[288];
        std::memset(lens, 8, 144);
        std::memset(lens + 144, 9, 112);
        std::memset(lens + 256, 7, 24);
        std::memset(lens + 280, 8, 8);
        uint8_t dlens[32];
        std::memset(dlens, 5, sizeof dlens);
        // Kept for every later fixed block of this object: full size, with pairs.
        BuildTable(fixed_[k].litlen, lens, 288, kLitLenBits, false, Symbols().litlen[k]);
        AddLiteralPairs(fixed_[k].litlen, lens);
        BuildTable(fixed_[k].dist, dlens, 32, kDistBits, false, Symbols().dist);
        fixedBuilt_[k] = true;
    }
    return fixed_[k];
}

InflateResult Inflater::DecodeInto(const uint8_t* in, size_t inLen, uint8_t* out, size_t capacity, bool deflate64) {
    InflateResult r;
    lastRefused_ = false;
    BitReader br{in, in + inLen};
    uint8_t* o = out;
    uint8_t* const outEnd = out + capacity;
    const uint32_t* llInfo = Symbols().litlen[deflate64 ? 1 : 0];
    const BlockDecoder decodeBlock = ChooseBlockDecoder(deflate64);

    bool last = false;
    while (!last) {
        br.Refill();
        last = br.Take(1) != 0;
        const unsigned type = br.Take(2);
        if (br.Truncated() || type == 3) {
            r.status = kInflateBadStream;
            break;
        }
        if (type == 0) {
            // Stored: skip to a byte boundary, hand whole buffered bytes back.
            br.Drop(br.count & 7);
            const unsigned whole = br.count / 8;
            if (whole < br.overrun) {
                r.status = kInflateBadStream;
                break;
            }
            br.in -= whole - br.overrun;
            br.buf = 0;
            br.count = 0;
            br.overrun = 0;
            if (br.end - br.in < 4) {
                r.status = kInflateBadStream;
                break;
            }
            const unsigned len = br.in[0] | (br.in[1] << 8);
            const unsigned nlen = br.in[2] | (br.in[3] << 8);
            br.in += 4;
            if (len != (nlen ^ 0xFFFFu)) r.status = kInflateStoredLength;
            if (len > static_cast<size_t>(br.end - br.in) || len > static_cast<size_t>(outEnd - o)) {
                r.status = kInflateBadStream;
                break;
            }
            std::memcpy(o, br.in, len);
            o += len;
            br.in += len;
            continue;
        }
        const HuffTable* ll;
        const HuffTable* dt;
        if (type == 1) {
            const Tables& t = FixedTables(deflate64);
            ll = &t.litlen;
            dt = &t.dist;
        } else {
            const TreeRead tr = ReadDynamicTrees(br, codeLengths_, dynamic_.litlen, dynamic_.dist, llInfo);
            if (tr == TreeRead::Truncated) {
                r.status = kInflateBadStream;
                break;
            }
            if (tr == TreeRead::Refused) {
                platform::Messages().Show(QStringLiteral("Error in tree creation (Static)"), QString(),
                                          platform::MsgButtons::Ok, platform::MsgIcon::None);
                r.treeRefused = true;
                lastRefused_ = true;
                r.produced = static_cast<size_t>(o - out);
                return r;
            }
            ll = &dynamic_.litlen;
            dt = &dynamic_.dist;
        }
        const BlockEnd end = decodeBlock(br, o, out, outEnd, *ll, *dt);
        if (end == BlockEnd::Bad) {
            r.status = kInflateBadStream;
            break;
        }
        if (end == BlockEnd::OutputFull) {
            // The position had passed the buffer's last index: it is set back
            // to that index and decoding ends normally.
            r.produced = capacity ? capacity - 1 : 0;
            return r;
        }
    }
    r.produced = static_cast<size_t>(o - out);
    return r;
}

void Inflater::Inflate(std::vector<uint8_t>& data, int32_t& expectedSize, bool deflate64, int32_t& status) {
    const int64_t expected = static_cast<int64_t>(expectedSize) + 100;
    expectedSize = static_cast<int32_t>(std::clamp<int64_t>(expected, INT32_MIN, INT32_MAX));
    const size_t logical = expected + 1 > 0 ? static_cast<size_t>(expected + 1) : 0;
    // Nothing can decode to more than MaxOutput, so a smaller buffer behaves
    // identically and a huge estimate costs no memory.
    const size_t capacity = std::min(logical, MaxOutput(data.size(), deflate64));
    std::vector<uint8_t> out(capacity + kOutputSlack);
    status = kInflateOk;
    const InflateResult r = DecodeInto(data.data(), data.size(), out.data(), capacity, deflate64);
    status = r.status;
    if (r.treeRefused) return;
    out.resize(r.produced);
    data.swap(out);
}

}  // namespace tavo::imaging
