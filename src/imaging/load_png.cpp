#include "imaging/load_png.h"

#include "imaging/cbitmap.h"
#include "imaging/png_background.h"
#include "imaging/png_filters.h"
#include "imaging/png_pixels.h"
#include "platform/codepage.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace tavo::imaging {

namespace {

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

inline uint32_t Be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// `n` bytes from `data` (length `len`) at `at`, missing bytes read as zero.
void ReadPadded(const uint8_t* data, size_t len, size_t at, uint8_t* out, size_t n) {
    for (size_t i = 0; i < n; ++i) out[i] = at + i < len ? data[at + i] : 0;
}

QString TwoDigits(int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); }

QString CodePageText(const uint8_t* data, size_t len) {
    return platform::DecodeGb18030(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(len)));
}

// Colour-type and bit-depth pairs that have a conversion.
bool Supported(int colorType, int depth) {
    switch (colorType) {
        case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 2:
        case 4:
        case 6: return depth == 8 || depth == 16;
        case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        default: return false;
    }
}

int Channels(int colorType) {
    switch (colorType) {
        case 0: return 1;
        case 2: return 3;
        case 3: return 1;
        case 4: return 2;
        case 6: return 4;
        default: return 0;
    }
}

// The d-bit sample `x` of a packed row, most significant first.
inline uint8_t PackedSample(const uint8_t* row, int64_t x, int d) {
    const int perByte = 8 / d;
    const int shift = 8 - d * static_cast<int>(x % perByte + 1);
    return static_cast<uint8_t>((row[x / perByte] >> shift) & ((1u << d) - 1));
}

}  // namespace

int32_t LoadPNG::OpenPNG(const QString& filename) {
    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly)) {
        // Per-image state is reset as for any open; a file that cannot be
        // read is not a PNG.
        hasBkgd_ = haveTransparence_ = false;
        outputBits_ = 0;
        stream_.clear();
        errorNumber_ = kErrorNotPng;
        return 0;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    return OpenPNGfromBytes(bytes);
}

int32_t LoadPNG::OpenPNGfromRes(const QString& Id, const QString& ResTyp) {
    return OpenPNG(QStringLiteral(":/") + ResTyp + QLatin1Char('/') + Id);
}

void LoadPNG::ReleaseBuffers() {
    std::vector<uint8_t>().swap(stream_);
    scratch_.reset();
    scratchSize_ = 0;
}

int32_t LoadPNG::OpenPNGfromBytes(QByteArrayView bytes) {
    hasBkgd_ = false;
    haveTransparence_ = false;
    outputBits_ = 0;
    stream_.clear();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t size = static_cast<size_t>(bytes.size());
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0) {
        errorNumber_ = kErrorNotPng;
        return 0;
    }
    ReadChunks(data, size);
    return 0;
}

void LoadPNG::ReadChunks(const uint8_t* file, size_t size) {
    size_t pos = 8;
    for (;;) {
        uint8_t head[8];
        ReadPadded(file, size, pos, head, 8);
        const uint32_t length = Be32(head);
        // The data must end before the file's last byte; a length of 2^31
        // or more is refused outright.
        if (length >= 0x80000000u || pos + 8 + length + 1 > size) {
            errorNumber_ = kErrorChunkPastEnd;
            return;
        }
        const uint8_t* d = file + pos + 8;
        const char* type = reinterpret_cast<const char*>(head + 4);
        auto is = [type](const char* name) { return std::memcmp(type, name, 4) == 0; };
        // The CRC that follows is not checked.
        pos += size_t{12} + length;

        if (is("IHDR")) {
            uint8_t h[13];
            ReadPadded(d, length, 0, h, 13);
            width_ = static_cast<int32_t>(Be32(h));
            height_ = static_cast<int32_t>(Be32(h + 4));
            bitDepth_ = h[8];
            colorType_ = h[9];
            compression_ = h[10];
            filter_ = h[11];
            interlacing_ = h[12];
        } else if (is("PLTE")) {
            palette_.assign(d, d + length);
        } else if (is("IDAT")) {
            stream_.insert(stream_.end(), d, d + length);
        } else if (is("IEND")) {
            break;
        } else if (is("bKGD")) {
            bkgd_.assign(d, d + length);
            hasBkgd_ = true;
            ComputeBkgdColor();
        } else if (is("gAMA")) {
            uint8_t g[4];
            ReadPadded(d, length, 0, g, 4);
            gamma_ = static_cast<int32_t>(Be32(g));
        } else if (is("tEXt")) {
            text_ += CodePageText(d, length);
            text_ += QChar(0);
        } else if (is("zTXt")) {
            AppendZText(d, length);
        } else if (is("tIME")) {
            uint8_t t[7];
            ReadPadded(d, length, 0, t, 7);
            const int year = (t[0] << 8) | t[1];
            modiTime_ = TwoDigits(t[3]) + QLatin1Char('.') + TwoDigits(t[2]) + QLatin1Char('.') + QString::number(year) +
                        QLatin1Char(' ') + TwoDigits(t[4]) + QLatin1Char(':') + TwoDigits(t[5]) + QLatin1Char(':') +
                        TwoDigits(t[6]);
        } else if (is("tRNS")) {
            trns_.assign(d, d + length);
            haveTransparence_ = true;
        }
        // cHRM, oFFs, pCaL, sCAL, hIST, pHYs, sBIT, gIFg, gIFx, cTXt and any
        // other type: skipped.
    }
    if (stream_.empty()) {
        errorNumber_ = kErrorNoImageData;
        return;
    }
    Decode();
}

void LoadPNG::ComputeBkgdColor() { bkgdColor_ = BkgdChunkColor(bkgd_, colorType_, bitDepth_, palette_); }

void LoadPNG::AppendZText(const uint8_t* data, size_t len) {
    const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, len));
    const size_t keywordLen = nul ? static_cast<size_t>(nul - data) : len;
    zText_ += CodePageText(data, keywordLen);
    zText_ += QChar(0);
    // NUL, compression method and the two zlib header bytes are passed over.
    const size_t start = keywordLen + 4;
    std::vector<uint8_t> text;
    if (start < len) text.assign(data + start, data + len);
    int32_t expected = static_cast<int32_t>(std::min<int64_t>(12 * (static_cast<int64_t>(text.size()) - 1), INT32_MAX - 200));
    int32_t status = 0;
    inflater_.Inflate(text, expected, false, status);
    // A refused tree hands the compressed bytes back: they are not text.
    if (inflater_.LastTreeRefused()) text.clear();
    zText_ += CodePageText(text.data(), text.size());
    zText_ += QChar(0);
}

void LoadPNG::Decode() {
    haveAlpha_ = false;
    paletteEntryCount_ = 0;
    const int ct = colorType_;
    const int d = bitDepth_;
    if (!Supported(ct, d)) return;
    if (compression_ != 0 || (interlacing_ != 0 && interlacing_ != 1)) return;
    if (width_ <= 0 || height_ <= 0 || static_cast<int64_t>(width_) * height_ > maxPixels_) {
        errorNumber_ = kErrorTooLarge;
        return;
    }
    const int64_t W = width_, H = height_;
    const bool interlaced = interlacing_ == 1;
    const int bits = d * Channels(ct);
    const int64_t rowBytes = (W * bits + 7) / 8;
    const int64_t R = rowBytes + 1;
    int64_t expected = interlaced ? H * R + H : H * R;
    // Narrow interlaced images can need more than that: every pass row has
    // its own filter byte.
    const int64_t needed = interlaced ? ExpectedInterlacedSize(width_, height_, bits) : expected;
    expected = std::max(expected, needed);
    if (expected > INT32_MAX - 200) {
        errorNumber_ = kErrorTooLarge;
        return;
    }

    // Decompress (the zlib header's two bytes skipped).
    const size_t bufSize = static_cast<size_t>(expected) + 101;
    // The stream buffer is kept between images of moderate size, so that a
    // run of skin images does not allocate (and fault in) one each time.
    if (scratchSize_ < bufSize + Inflater::kOutputSlack) {
        scratch_.reset();
        scratch_.reset(new uint8_t[bufSize + Inflater::kOutputSlack]);
        scratchSize_ = bufSize + Inflater::kOutputSlack;
    }
    struct Release {
        LoadPNG* self;
        ~Release() {
            if (self->scratchSize_ > kKeptScratch) {
                self->scratch_.reset();
                self->scratchSize_ = 0;
            }
        }
    } release{this};
    uint8_t* const buf = scratch_.get();
    const uint8_t* in = stream_.size() > 2 ? stream_.data() + 2 : nullptr;
    const size_t inLen = stream_.size() > 2 ? stream_.size() - 2 : 0;
    const size_t capacity = std::min(bufSize, Inflater::MaxOutput(inLen, false));
    const InflateResult r = inflater_.DecodeInto(in, inLen, buf, capacity, false);
    if (r.treeRefused) return;  // the message was shown; nothing is painted
    // Image data shorter than the header promises reads as zeros.
    if (r.produced < static_cast<size_t>(needed)) std::memset(buf + r.produced, 0, static_cast<size_t>(needed) - r.produced);

    // Rows: unfiltered in place (plain) or deinterlaced into `plane`.
    const size_t bppFilter = bits >= 8 ? static_cast<size_t>(bits / 8) : 1;
    const bool unpacked = interlaced && d < 8;
    std::unique_ptr<uint8_t[]> plane;
    size_t planeStride = 0;
    if (interlaced) {
        planeStride = unpacked ? static_cast<size_t>(W) : static_cast<size_t>(rowBytes);
        plane.reset(new uint8_t[planeStride * static_cast<size_t>(H)]());
        Deinterlace(buf, static_cast<size_t>(needed), width_, height_, bits, unpacked, plane.get(), planeStride);
    }
    std::vector<uint8_t> zeroRow(static_cast<size_t>(rowBytes), 0);
    // Row y (top first), unfiltered. Must be called for y = 0, 1, 2, ... in
    // order; two rows are unfiltered together where that is faster.
    int64_t unfilteredTo = 0;  // rows below this one are done
    auto row = [&](int64_t y) -> const uint8_t* {
        if (interlaced) return plane.get() + static_cast<size_t>(y) * planeStride;
        uint8_t* p = buf + static_cast<size_t>(y * R);
        if (y < unfilteredTo) return p + 1;
        const uint8_t* prev = y == 0 ? zeroRow.data() : p - R + 1;
        if (y + 1 < H && UnfilterPair(p[0], p + 1, p[R], p + R + 1, prev, static_cast<size_t>(rowBytes), bppFilter)) {
            unfilteredTo = y + 2;
            return p + 1;
        }
        Unfilter(p[0], p + 1, prev, static_cast<size_t>(rowBytes), bppFilter);
        unfilteredTo = y + 1;
        return p + 1;
    };
    // Sample x of a grey or palette row, reduced to 8 bits or fewer.
    auto sample = [&](const uint8_t* rw, int64_t x) -> uint8_t {
        if (unpacked || d == 8) return rw[x];
        if (d == 16) return rw[2 * x];
        return PackedSample(rw, x, d);
    };

    const bool indexed = ct == 0 || ct == 3;
    const bool useTrans = haveTransparence_ && transOn_ && (ct == 0 || ct == 2 || ct == 3);
    if (ct == 4 || ct == 6) haveAlpha_ = true;
    const bool blend = useTrans || ((ct == 4 || ct == 6) && alphaOn_);

    // Grey and palette images without transparency: 1-, 4- or 8-bit DIBs.
    if (indexed && !useTrans) {
        int outBits;
        if (!interlaced && (d == 1 || d == 4)) {
            outBits = d;
        } else {
            outBits = 8;
        }
        const size_t stride = CBitmap::DibStride(width_, outBits);
        std::vector<uint8_t> dib(stride * static_cast<size_t>(H), 0);
        for (int64_t y = 0; y < H; ++y) {
            const uint8_t* rw = row(y);
            uint8_t* dst = dib.data() + static_cast<size_t>(y) * stride;
            if (outBits != 8 || (d == 8) || unpacked) {
                std::memcpy(dst, rw, outBits == 8 ? static_cast<size_t>(W) : static_cast<size_t>(rowBytes));
            } else {
                for (int64_t x = 0; x < W; ++x) dst[x] = sample(rw, x);  // 2 and 16 bits
            }
        }
        if (ct == 0) {
            if (outBits == 1) {
                CBitmap::SetMonoColors(1);
            } else {
                CBitmap::SetGreyPalette(static_cast<int16_t>(d), outBits == 8);
            }
        } else if (outBits == 1) {
            // The first two palette entries (black where the palette is shorter).
            std::vector<uint8_t> two(6, 0);
            std::copy_n(palette_.begin(), std::min<size_t>(6, palette_.size() / 3 * 3), two.begin());
            CBitmap::SetMonoPalette(two);
        } else if (outBits == 4) {
            CBitmap::SetPalette16(palette_);
        } else {
            CBitmap::SetPalette256(palette_);
        }
        outputBits_ = outBits;
        if (outBits == 1) CBitmap::MakeDIB1(dib, width_, height_, true, paletteEntryCount_);
        else if (outBits == 4) CBitmap::MakeDIB4(dib, width_, height_, true, paletteEntryCount_);
        else CBitmap::MakeDIB8(dib, width_, height_, true, paletteEntryCount_);
        CBitmap::PaintDIB(width_, height_, picBox_, true, x_, y_, setToBkgrnd_);
        return;
    }

    // Everything else becomes RGB32, blended over the background when
    // transparency or alpha applies.
    PixelSurface out = PixelSurface::ForOverwrite(width_, height_);
    if (out.IsNull()) return;  // allocation refused

    // Lookup of grey levels and palette indices (8 bits or fewer) to RGBA.
    uint8_t lut[256][4] = {};
    if (indexed) {
        if (ct == 0) {
            const int16_t rampDepth = static_cast<int16_t>(d == 16 ? 8 : d);
            const std::vector<uint8_t> ramp = CBitmap::SetGreyPalette(rampDepth, true);
            int key = -1;  // the transparent level, if the tRNS value has one
            if (trns_.size() >= 2) key = d == 16 ? trns_[0] : trns_[1];
            for (size_t i = 0; i < 256; ++i) {
                const uint8_t v = 3 * i < ramp.size() ? ramp[3 * i] : 0;
                lut[i][0] = lut[i][1] = lut[i][2] = v;
                lut[i][3] = static_cast<int>(i) == key ? 0 : 255;
            }
        } else {
            CBitmap::SetPalette256(palette_);
            paletteEntryCount_ = static_cast<int32_t>(palette_.size() / 3);
            const auto& table = CBitmap::Table256();
            for (size_t i = 0; i < 256; ++i) {
                lut[i][0] = table[i].red;
                lut[i][1] = table[i].green;
                lut[i][2] = table[i].blue;
                lut[i][3] = i < trns_.size() ? trns_[i] : 255;
            }
        }
    }
    bool keyValid = false;
    uint8_t key[3] = {};
    if (ct == 2 && useTrans && trns_.size() >= 6) {
        keyValid = true;
        for (int i = 0; i < 3; ++i) key[i] = d == 16 ? trns_[2 * i] : trns_[2 * i + 1];
    }

    // The background: the background picture under the image, or a colour.
    std::vector<Argb> bgRow;
    PixelSurface bgImage;
    Argb fill = kOpaqueBlack;
    if (blend) {
        bgRow.resize(static_cast<size_t>(W));
        if (background_) {
            const int tpx = platform::TwipsPerPixelX(), tpy = platform::TwipsPerPixelY();
            if (background_->Width() < W * tpx) background_->SetWidth(static_cast<int>(W * tpx + 100));
            if (background_->Height() < H * tpy) background_->SetHeight(static_cast<int>(H * tpy + 100));
            bgImage = background_->Image();
        } else {
            const int32_t c = ownBkgndColor_ != 0 ? ownBkgndColor_ : bkgdColor_;
            fill = Rgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    auto loadBackground = [&](int64_t y) {
        if (bgImage.IsNull()) {
            std::fill(bgRow.begin(), bgRow.end(), fill);
            return;
        }
        std::fill(bgRow.begin(), bgRow.end(), kOpaqueBlack);
        const int64_t sy = y_ + y;
        if (sy < 0 || sy >= bgImage.Height()) return;
        const Argb* src = bgImage.Row(static_cast<int>(sy)).data();
        const int64_t from = std::max<int64_t>(0, -static_cast<int64_t>(x_));
        const int64_t to = std::min<int64_t>(W, bgImage.Width() - static_cast<int64_t>(x_));
        if (to > from) std::memcpy(bgRow.data() + from, src + x_ + from, static_cast<size_t>(to - from) * sizeof(Argb));
    };

    std::vector<uint8_t> rgbaRow(static_cast<size_t>(W) * 4);
    for (int64_t y = 0; y < H; ++y) {
        const uint8_t* rw = row(y);
        Argb* dst = out.MutableRow(static_cast<int>(y)).data();
        // Bring the row to R G B A bytes (8-bit RGBA rows already are).
        const uint8_t* px = rw;
        if (!(ct == 6 && d == 8)) {
            uint8_t* o = rgbaRow.data();
            px = o;
            if (indexed) {
                for (int64_t x = 0; x < W; ++x) std::memcpy(o + 4 * x, lut[sample(rw, x)], 4);
            } else if (ct == 2) {
                const int step = d == 16 ? 6 : 3, lo = d == 16 ? 2 : 1;
                for (int64_t x = 0; x < W; ++x) {
                    const uint8_t* s = rw + step * x;
                    o[4 * x] = s[0];
                    o[4 * x + 1] = s[lo];
                    o[4 * x + 2] = s[2 * lo];
                    o[4 * x + 3] = (keyValid && s[0] == key[0] && s[lo] == key[1] && s[2 * lo] == key[2]) ? 0 : 255;
                }
            } else if (ct == 4) {
                const int step = d == 16 ? 4 : 2, a = d == 16 ? 2 : 1;
                for (int64_t x = 0; x < W; ++x) {
                    const uint8_t* s = rw + step * x;
                    o[4 * x] = o[4 * x + 1] = o[4 * x + 2] = s[0];
                    o[4 * x + 3] = s[a];
                }
            } else {  // 16-bit RGBA: high bytes
                for (int64_t x = 0; x < W; ++x) {
                    const uint8_t* s = rw + 8 * x;
                    o[4 * x] = s[0];
                    o[4 * x + 1] = s[2];
                    o[4 * x + 2] = s[4];
                    o[4 * x + 3] = s[6];
                }
            }
        }
        if (!blend) {
            RgbaToRgb32(px, dst, W);
            continue;
        }
        loadBackground(y);
        BlendRow(px, bgRow.data(), dst, W);
    }
    outputBits_ = blend ? 24 : (ct == 2 ? 24 : 32);
    bgImage = PixelSurface();  // let the picture box reuse its surface
    CBitmap::AdoptBitmap(std::move(out), outputBits_);
    CBitmap::PaintDIB(width_, height_, picBox_, true, x_, y_, setToBkgrnd_);
}

}  // namespace tavo::imaging
