#pragma once
// The inflate decoder's lookup tables: what an entry holds, and how the
// tables for one block's codes are built.

#include "imaging/inflate.h"

#include <cstddef>
#include <cstdint>

namespace tavo::imaging::inflate_detail {

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

// The entry of a code longer than the direct table, whose direct entry `e`
// is a subtable entry; `bits` are the stream bits the code starts with.
inline uint32_t LookupLong(const HuffTable& t, uint32_t e, uint64_t bits) {
    const uint64_t index = (bits >> t.bits) & ((uint64_t{1} << t.subBits) - 1);
    return t.fast[Value(e) + index];
}

// What each symbol means, without its code length.
struct SymbolInfo {
    uint32_t litlen[2][288];  // [deflate64][symbol]
    uint32_t dist[32];
    uint32_t codelen[19];
    SymbolInfo();
};
const SymbolInfo& Symbols();

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
                Completeness rule = Completeness::Required);

// Adds literal pairs to a literal/length table: wherever the table's index
// bits hold a whole literal code followed by the whole code of a second
// literal, the entry yields both. The work is one store per pair entry
// written: literals are taken in order of code length, and only pairs that
// fit are visited. A table where pairs would be rare (noisy image rows,
// binary records: long literal codes) gets none; `pairs` tells which.
void AddLiteralPairs(HuffTable& t, const uint8_t* lens);

}  // namespace tavo::imaging::inflate_detail
