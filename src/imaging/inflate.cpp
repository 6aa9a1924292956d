#include "imaging/inflate.h"

#include "imaging/inflate_bit_reader.h"
#include "imaging/inflate_match_copy.h"
#include "imaging/inflate_tables.h"
#include "platform/message_box.h"

#include <QString>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace tavo::imaging {

namespace {

using namespace inflate_detail;

constexpr int kLitLenBits = 11;
constexpr int kDistBits = 8;
constexpr int kCodeLenBits = 7;  // code-length codes are at most 7 bits long

constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Writes the one or two literals of a literal entry (with pairs two bytes
// always: the caller has room) and advances the output position over them.
template <bool kPairs>
inline void StoreLiterals(uint8_t*& o, uint32_t e) {
    if constexpr (kPairs) {
        const uint16_t bytes = static_cast<uint16_t>(Value(e));
        std::memcpy(o, &bytes, 2);
        o += 1 + ((e >> 14) & 1);
    } else {
        *o++ = static_cast<uint8_t>(Value(e));
    }
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
template <bool kDeflate64, bool kBmi2, bool kPairs>
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
    // refills at most twice, three times with Deflate64, each moving on at
    // most 7 bytes and reading 8: 7 + 7 + 8 < 24),
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
        // The same with a refill, the entry looked up before it: a refill
        // fills all 64 bits of the buffer, so after dropping at most 49 bits
        // since the last one, the index bits are already there, and the
        // lookup need not wait for the refill.
        auto refillNext = [&](uint64_t& saved) {
            const uint32_t entry = L[br.buf & lmask];
            br.RefillFastLoose();
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
            // The bits the distance is looked up by: the buffer as it is,
            // or after literals, as it was before their refill (at most 42
            // bits dropped since the one before), which spares the lookup
            // the wait for that refill.
            uint64_t ahead = br.buf;
            if (!(e & kNonLiteral)) {
                // Up to three literal entries (up to six literals) per
                // refill: each takes at most kLitLenBits of the 56 bits.
                StoreLiterals<kPairs>(o, e);
                e = next(saved);
                if (!(e & kNonLiteral)) {
                    StoreLiterals<kPairs>(o, e);
                    e = next(saved);
                    if (!(e & kNonLiteral)) {
                        StoreLiterals<kPairs>(o, e);
                        e = refillNext(saved);  // 33 bits dropped at most
                        continue;
                    }
                }
                ahead = br.buf;
                br.RefillFastLoose();  // only adds bits above the ones in `saved`
            }
            if (e & kSpecial) {
                if (e & kSubtable) {  // dropped nothing yet
                    e = LookupLong(ll, e, saved);
                    br.Drop(Consume(e));
                    ahead = br.buf;
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
            if constexpr (kDeflate64) {
                br.RefillFastLoose();  // 16 extra bits: the 49 above do not hold
                ahead = br.buf;
            }
            const uint64_t savedDist = br.buf;
            uint32_t de = D[ahead & dmask];
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
            e = refillNext(saved);  // 49 bits dropped at most
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

// The block decoder is compiled for any x86-64 and for processors with
// BMI2, whose shifts and masks by a register count take one simple
// instruction each; that choice is made once, at run time. Each is compiled
// again without literal pairs, whose single literals take fewer steps: a
// block is decoded by the one that fits its literal/length table.
using BlockDecoder = BlockEnd (*)(BitReader&, uint8_t*&, uint8_t*, uint8_t*, const HuffTable&, const HuffTable&);
// [0] for tables without literal pairs, [1] for tables with them.
using BlockDecoders = std::array<BlockDecoder, 2>;
template <bool kDeflate64, bool kBmi2, bool kPairs>
[[gnu::always_inline]] inline BlockEnd DecodeBlockBody(BitReader& state, uint8_t*& out, uint8_t* outStart,
                                                       uint8_t* outEnd, const HuffTable& ll, const HuffTable& dt) {
    BitReader br = state;
    uint8_t* o = out;
    const BlockEnd end = DecodeBlockLocal<kDeflate64, kBmi2, kPairs>(br, o, outStart, outEnd, ll, dt);
    br.Settle();  // the fast loop may have returned with a loose count
    state = br;
    out = o;
    return end;
}
template <bool kDeflate64, bool kPairs>
BlockEnd DecodeBlockPlain(BitReader& br, uint8_t*& o, uint8_t* outStart, uint8_t* outEnd, const HuffTable& ll,
                          const HuffTable& dt) {
    return DecodeBlockBody<kDeflate64, false, kPairs>(br, o, outStart, outEnd, ll, dt);
}
#if defined(__x86_64__)
template <bool kDeflate64, bool kPairs>
[[gnu::target("bmi2")]] BlockEnd DecodeBlockBmi2(BitReader& br, uint8_t*& o, uint8_t* outStart, uint8_t* outEnd,
                                                 const HuffTable& ll, const HuffTable& dt) {
    return DecodeBlockBody<kDeflate64, true, kPairs>(br, o, outStart, outEnd, ll, dt);
}
#endif

// TAVO_INFLATE_PORTABLE=1 keeps the any-processor decoder, so that both
// builds of the loop are checked on a processor with BMI2.
BlockDecoders ChooseBlockDecoders(bool deflate64) {
#if defined(__x86_64__)
    static const bool kBmi2 = __builtin_cpu_supports("bmi2") && !std::getenv("TAVO_INFLATE_PORTABLE");
    if (kBmi2) {
        if (deflate64) return {DecodeBlockBmi2<true, false>, DecodeBlockBmi2<true, true>};
        return {DecodeBlockBmi2<false, false>, DecodeBlockBmi2<false, true>};
    }
#endif
    if (deflate64) return {DecodeBlockPlain<true, false>, DecodeBlockPlain<true, true>};
    return {DecodeBlockPlain<false, false>, DecodeBlockPlain<false, true>};
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
    if (br.end - br.in >= static_cast<ptrdiff_t>(Inflater::kPairsMinInput)) AddLiteralPairs(litlen, lens);
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
    const BlockDecoders decodeBlock = ChooseBlockDecoders(deflate64);

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
        const BlockEnd end = decodeBlock[ll->pairs](br, o, out, outEnd, *ll, *dt);
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
