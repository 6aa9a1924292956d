#pragma once
// Builds PNG files for tests: chunks by hand (for container rules) and whole
// images through libpng's writer (for interlaced and odd formats).
#include <png.h>
#include <zlib.h>

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tavo::test {

using Bytes = std::vector<uint8_t>;

inline void PutBe32(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v >> 24));
    b.push_back(static_cast<uint8_t>(v >> 16));
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

class PngBuilder {
public:
    PngBuilder() { bytes = {137, 80, 78, 71, 13, 10, 26, 10}; }

    PngBuilder& Chunk(const char* type, const Bytes& data, bool badCrc = false) {
        PutBe32(bytes, static_cast<uint32_t>(data.size()));
        const size_t typeAt = bytes.size();
        bytes.insert(bytes.end(), type, type + 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        uint32_t crc = static_cast<uint32_t>(crc32(0, bytes.data() + typeAt, static_cast<uInt>(4 + data.size())));
        if (badCrc) crc ^= 0xDEADBEEF;
        PutBe32(bytes, crc);
        return *this;
    }
    PngBuilder& Ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t colorType, uint8_t interlace = 0,
                     uint8_t compression = 0) {
        Bytes d;
        PutBe32(d, w);
        PutBe32(d, h);
        d.insert(d.end(), {depth, colorType, compression, 0, interlace});
        return Chunk("IHDR", d);
    }
    // `raw`: filtered rows (filter byte first), zlib-compressed into IDAT
    // chunks of at most `split` bytes.
    PngBuilder& Idat(const Bytes& raw, size_t split = SIZE_MAX) {
        const Bytes z = Zlib(raw);
        for (size_t at = 0; at < z.size(); at += split) {
            const size_t n = std::min(split, z.size() - at);
            Chunk("IDAT", Bytes(z.begin() + static_cast<long>(at), z.begin() + static_cast<long>(at + n)));
        }
        return *this;
    }
    PngBuilder& Iend() { return Chunk("IEND", {}); }

    static Bytes Zlib(const Bytes& raw) {
        uLongf n = compressBound(static_cast<uLong>(raw.size()));
        Bytes z(n);
        compress2(z.data(), &n, raw.data(), static_cast<uLong>(raw.size()), 6);
        z.resize(n);
        return z;
    }
    QByteArray Data() const { return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())); }

    Bytes bytes;
};

// Rows of samples (already packed as the format wants, no filter bytes)
// written by libpng, optionally interlaced.
inline Bytes EncodeWithLibpng(int w, int h, int depth, int colorType, const std::vector<Bytes>& rows,
                              bool interlace, const Bytes& palette = {}, const Bytes& trns = {}) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), d, d + n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), depth, colorType,
                 interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> pal;
    for (size_t i = 0; i + 2 < palette.size(); i += 3) pal.push_back({palette[i], palette[i + 1], palette[i + 2]});
    if (!pal.empty()) png_set_PLTE(png, info, pal.data(), static_cast<int>(pal.size()));
    if (!trns.empty()) png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> ptrs;
    for (const Bytes& r : rows) ptrs.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, ptrs.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

inline QByteArray AsQByteArray(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

}  // namespace tavo::test
