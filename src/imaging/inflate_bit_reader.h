#pragma once
// The inflate decoder's bit reader: least significant bit first, refilled
// 64 bits at a time.

#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

namespace tavo::imaging::inflate_detail {

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

}  // namespace tavo::imaging::inflate_detail
