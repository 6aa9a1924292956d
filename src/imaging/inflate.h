#pragma once
// The decoder's own inflate (RFC 1951 deflate streams, with the Deflate64
// long-match extension on request).
//
// Output goes into one buffer sized from the caller's estimate and never
// grows: a stream that would write past it is cut there (normal end). The
// caller strips any zlib header; a trailing Adler-32 is simply never reached.
//
// Statuses: 0 the last block ended normally; -1 the stream is cut off or
// malformed (block type 3, a stored block past the end of the input or
// larger than the room left, a symbol that names no length, a distance
// reaching before the first byte, input exhausted inside a block); -2 a
// stored block whose LEN and NLEN disagree (its data is copied anyway).
// A code-length set that is over-full or incomplete refuses the tree: the
// message "Error in tree creation (Static)" is shown and decoding stops at
// once, leaving the caller's data untouched. Distances alone may also have a
// single 1-bit code or none at all (RFC 1951 3.2.7); a match that sends a
// code no distance owns is a malformed stream (-1).

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace tavo::imaging {

inline constexpr int32_t kInflateOk = 0;
inline constexpr int32_t kInflateBadStream = -1;
inline constexpr int32_t kInflateStoredLength = -2;

struct InflateResult {
    size_t produced = 0;       // bytes written to the output
    int32_t status = kInflateOk;
    bool treeRefused = false;  // the message was shown; the output is meaningless
};

// Allocates whole cache lines, so that a table's first entries start one.
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t{64})); }
    void deallocate(T* p, size_t) { ::operator delete(p, std::align_val_t{64}); }
    friend bool operator==(const CacheLineAllocator&, const CacheLineAllocator&) { return true; }
};

// Huffman lookup tables for one alphabet: a direct table indexed by the next
// `bits` stream bits (codes are stored bit-reversed, as they arrive), and
// after it, in the same array, subtables for the rare codes longer than that,
// indexed by the next `subBits` stream bits.
struct HuffTable {
    static constexpr int kMaxBits = 15;
    uint16_t count[kMaxBits + 1] = {};  // codes of each length
    uint16_t sorted[320] = {};          // symbols ordered by (length, symbol)
    uint16_t code[320] = {};            // each used symbol's code, bit-reversed
    std::vector<uint32_t, CacheLineAllocator<uint32_t>> fast;  // 2^bits entries, then the subtables; see inflate.cpp
    int bits = 0;
    int subBits = 0;                    // longest code length - bits, or 0
    bool pairs = false;                 // some literal entries hold two literals
};

class Inflater {
public:
    // Extra bytes the output buffer must have beyond `capacity` for
    // DecodeInto: match copies may write a few bytes ahead of the output
    // position and overwrite them later.
    static constexpr size_t kOutputSlack = 64;

    // A dynamic block with less input than this left decodes literals one at
    // a time: setting up literal pairs costs about what they save on some
    // 20 KB of text (a small image's whole stream is less).
    static constexpr size_t kPairsMinInput = 8 * 1024;

    Inflater();

    // The class-level operation: `data` holds the deflate stream on entry and
    // the produced bytes on return (empty when none). `expectedSize` is the
    // caller's estimate; 100 is added to it, the output buffer holds that
    // many bytes plus one, and the increased value is left in the variable.
    // On a refused tree `data` is left as it came in and `status` keeps the
    // value it had.
    void Inflate(std::vector<uint8_t>& data, int32_t& expectedSize, bool deflate64, int32_t& status);

    // Decodes `in` into `out`, whose first `capacity` bytes form the output
    // buffer (the buffer's last index is capacity - 1) and which has
    // kOutputSlack more bytes allocated after them. Never reads or writes
    // outside these ranges.
    InflateResult DecodeInto(const uint8_t* in, size_t inLen, uint8_t* out, size_t capacity, bool deflate64);

    // True when the last call refused a tree (and showed the message).
    bool LastTreeRefused() const { return lastRefused_; }

    // Upper bound of what `inLen` input bytes can possibly decode to.
    static size_t MaxOutput(size_t inLen, bool deflate64);

private:
    struct Tables {
        HuffTable litlen;
        HuffTable dist;
    };
    const Tables& FixedTables(bool deflate64);

    Tables fixed_[2];  // kept once built: [0] plain, [1] Deflate64
    bool fixedBuilt_[2] = {false, false};
    Tables dynamic_;
    HuffTable codeLengths_;
    bool lastRefused_ = false;
};

}  // namespace tavo::imaging
