#pragma once
// A deflate bit writer for hand-made test streams.
#include <cstdint>
#include <vector>

namespace tavo::imaging::deflate_writer {

// Writes deflate bits LSB first; Huffman codes are given most significant
// bit first, as RFC 1951 prints them.
class BitWriter {
public:
    void Bits(uint32_t value, int n) {
        for (int i = 0; i < n; ++i) Bit((value >> i) & 1);
    }
    void Code(uint32_t code, int n) {
        for (int i = n - 1; i >= 0; --i) Bit((code >> i) & 1);
    }
    // Fixed-code literal/length symbol.
    void Fixed(int sym) {
        if (sym < 144) Code(0x30 + sym, 8);
        else if (sym < 256) Code(0x190 + sym - 144, 9);
        else if (sym < 280) Code(sym - 256, 7);
        else Code(0xC0 + sym - 280, 8);
    }
    void AlignByte() { nbits_ = 0; }
    void Byte(uint8_t b) {
        AlignByte();
        bytes.push_back(b);
    }
    std::vector<uint8_t> bytes;

private:
    void Bit(uint32_t b) {
        if (nbits_ == 0) bytes.push_back(0);
        bytes.back() |= static_cast<uint8_t>(b << nbits_);
        nbits_ = (nbits_ + 1) % 8;
    }
    int nbits_ = 0;
};

}  // namespace tavo::imaging::deflate_writer
