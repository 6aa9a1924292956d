#include "imaging/cbitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tavo::imaging::CBitmap {

namespace {

struct State {
    std::array<RgbQuad, 2> mono{};
    std::array<RgbQuad, 16> table16{};
    std::array<RgbQuad, 256> table256{};
    BitmapInfoHeader h1, h4, h8, h24, h32;
    PixelSurface bitmap;  // null when no bitmap is held
};

State& S() {
    static State s;
    return s;
}

RgbQuad Quad(uint8_t r, uint8_t g, uint8_t b) { return RgbQuad{b, g, r, 0}; }

template <size_t N>
void FillFromPalette(std::array<RgbQuad, N>& table, std::span<const uint8_t> palette) {
    const size_t entries = std::min(N, palette.size() / 3);
    for (size_t i = 0; i < N; ++i)
        table[i] = i < entries ? Quad(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]) : RgbQuad{};
}

void FillHeader(BitmapInfoHeader& h, int width, int height, bool topDown, int bits, int colorCount) {
    h = BitmapInfoHeader{};
    h.biWidth = width;
    h.biHeight = topDown ? -height : height;
    h.biBitCount = static_cast<int16_t>(bits);
    h.biClrUsed = colorCount;
}

// The colours a bitmap shows for its pixel values: the table's first
// entries, those at or beyond a non-zero `colorCount` black, and every value
// beyond the table black.
using Colours = std::array<Argb, 256>;

template <size_t N>
Colours ShownColours(const std::array<RgbQuad, N>& table, int colorCount) {
    Colours shown;
    shown.fill(Rgb(0, 0, 0));
    const size_t used = (colorCount > 0) ? std::min<size_t>(N, static_cast<size_t>(colorCount)) : N;
    for (size_t i = 0; i < used; ++i) shown[i] = Rgb(table[i].red, table[i].green, table[i].blue);
    return shown;
}

// Row `y` of the image (0 = top) from a DIB buffer; null when the buffer
// ends before the row does (the caller then reads zeros).
const uint8_t* SourceRow(std::span<const uint8_t> pixels, size_t stride, int height, bool topDown, int y,
                         size_t& available) {
    const size_t row = topDown ? static_cast<size_t>(y) : static_cast<size_t>(height - 1 - y);
    const size_t start = row * stride;
    if (start >= pixels.size()) {
        available = 0;
        return nullptr;
    }
    available = std::min(stride, pixels.size() - start);
    return pixels.data() + start;
}

bool ValidSize(int width, int height) { return width > 0 && height > 0; }

}  // namespace

size_t DibStride(int width, int bitCount) {
    return ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
}

const std::array<RgbQuad, 2>& MonoTable() { return S().mono; }
const std::array<RgbQuad, 16>& Table16() { return S().table16; }
const std::array<RgbQuad, 256>& Table256() { return S().table256; }
const BitmapInfoHeader& Header(int bitCount) {
    switch (bitCount) {
        case 1: return S().h1;
        case 4: return S().h4;
        case 8: return S().h8;
        case 24: return S().h24;
        default: return S().h32;
    }
}

void SetMonoColors(int16_t mode) {
    const RgbQuad black{}, white = Quad(255, 255, 255);
    S().mono[0] = mode == 1 ? black : white;
    S().mono[1] = mode == 1 ? white : black;
}

void SetMonoPalette(std::span<const uint8_t> palette) {
    if (palette.size() == 6) {
        FillFromPalette(S().mono, palette);
    } else {
        SetMonoColors(1);
    }
}

void SetPalette16(std::span<const uint8_t> palette) { FillFromPalette(S().table16, palette); }
void SetPalette256(std::span<const uint8_t> palette) { FillFromPalette(S().table256, palette); }

std::vector<uint8_t> SetGreyPalette(int16_t depth, bool into256) {
    const int entries = (depth >= 8) ? 256 : (1 << std::max<int16_t>(depth, 1));
    const int levels = (depth >= 8) ? 255 : entries - 1;
    const int step = static_cast<int>(std::lround(255.0 / levels));
    std::vector<uint8_t> ramp(static_cast<size_t>(entries) * 3);
    for (int i = 0; i < entries; ++i) {
        const uint8_t v = static_cast<uint8_t>(std::min(255, i * step));
        ramp[3 * i] = ramp[3 * i + 1] = ramp[3 * i + 2] = v;
        const RgbQuad q = Quad(v, v, v);
        if (depth == 4 && !into256) {
            S().table16[static_cast<size_t>(i)] = q;
        } else {
            S().table256[static_cast<size_t>(i)] = q;
        }
    }
    return ramp;
}

namespace {

// Rows of `bits`-bit colour indices (1, 4 or 8; most significant first)
// through `colours` into the bitmap.
void MakeIndexed(std::span<const uint8_t> pixels, int width, int height, bool topDown, int bits,
                 const Colours& colours) {
    PixelSurface img = PixelSurface::ForOverwrite(width, height);
    if (img.IsNull()) {  // no memory: no bitmap rather than the previous one
        ReleaseBitmap();
        return;
    }
    const size_t stride = DibStride(width, bits);
    const int perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int y = 0; y < height; ++y) {
        size_t available;
        const uint8_t* src = SourceRow(pixels, stride, height, topDown, y, available);
        const std::span<Argb> dst = img.MutableRow(y);
        if (bits == 8) {
            const size_t n = std::min(static_cast<size_t>(width), available);
            for (size_t x = 0; x < n; ++x) dst[x] = colours[src[x]];
            std::fill(dst.begin() + static_cast<std::ptrdiff_t>(n), dst.end(), colours[0]);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const size_t b = static_cast<size_t>(x / perByte);
            const unsigned byte = b < available ? src[b] : 0;
            const int shift = 8 - bits * (x % perByte + 1);
            dst[static_cast<size_t>(x)] = colours[(byte >> shift) & mask];
        }
    }
    S().bitmap = std::move(img);
}

}  // namespace

void MakeDIB1(std::span<const uint8_t> pixels, int width, int height, bool topDown, int colorCount) {
    FillHeader(S().h1, width, height, topDown, 1, colorCount);
    if (!ValidSize(width, height)) return;
    MakeIndexed(pixels, width, height, topDown, 1, ShownColours(S().mono, colorCount));
}

void MakeDIB4(std::span<const uint8_t> pixels, int width, int height, bool topDown, int colorCount) {
    FillHeader(S().h4, width, height, topDown, 4, colorCount);
    if (!ValidSize(width, height)) return;
    MakeIndexed(pixels, width, height, topDown, 4, ShownColours(S().table16, colorCount));
}

void MakeDIB8(std::span<const uint8_t> pixels, int width, int height, bool topDown, int colorCount) {
    FillHeader(S().h8, width, height, topDown, 8, colorCount);
    if (!ValidSize(width, height)) return;
    MakeIndexed(pixels, width, height, topDown, 8, ShownColours(S().table256, colorCount));
}

void MakeDIB24or32(std::span<const uint8_t> pixels, int width, int height, bool topDown, int mode) {
    const int bits = mode == 0 ? 32 : 24;
    FillHeader(mode == 0 ? S().h32 : S().h24, width, height, topDown, bits, 0);
    if (!ValidSize(width, height)) return;
    PixelSurface img = PixelSurface::ForOverwrite(width, height);
    if (img.IsNull()) {  // no memory: no bitmap rather than the previous one
        ReleaseBitmap();
        return;
    }
    const size_t stride = DibStride(width, bits);
    const size_t bpp = static_cast<size_t>(bits / 8);
    for (int y = 0; y < height; ++y) {
        size_t available;
        const uint8_t* src = SourceRow(pixels, stride, height, topDown, y, available);
        const std::span<Argb> dst = img.MutableRow(y);
        const size_t whole = std::min(static_cast<size_t>(width), available / bpp);
        for (size_t x = 0; x < whole; ++x) dst[x] = Rgb(src[x * bpp + 2], src[x * bpp + 1], src[x * bpp]);
        for (size_t x = whole; x < static_cast<size_t>(width); ++x) dst[x] = Rgb(0, 0, 0);
    }
    S().bitmap = std::move(img);
}

void AdoptBitmap(PixelSurface image, int bitCount) {
    FillHeader(bitCount == 24 ? S().h24 : S().h32, image.Width(), image.Height(), true, bitCount, 0);
    S().bitmap = std::move(image);
}

bool HasBitmap() { return !S().bitmap.IsNull(); }
const PixelSurface& Bitmap() { return S().bitmap; }
void ReleaseBitmap() { S().bitmap = PixelSurface(); }

void PixelsToTwips(int& width, int& height) {
    width *= platform::TwipsPerPixelX();
    height *= platform::TwipsPerPixelY();
}

void TwipsToPixels(int& width, int& height) {
    width /= platform::TwipsPerPixelX();
    height /= platform::TwipsPerPixelY();
}

void PaintDIB(int width, int height, platform::PictureBox* box, bool resize, int x, int y, bool keepSize) {
    if (!box) {
        ReleaseBitmap();
        return;
    }
    box->Cls();
    platform::PictureBox* parent = box->Parent();
    const int parentMode = parent ? parent->ScaleMode() : 0;
    if (parent) parent->SetScaleMode(platform::kScaleTwips);
    const int boxMode = box->ScaleMode();
    box->SetScaleMode(platform::kScaleTwips);

    if (resize) {
        int tw = width, th = height;
        PixelsToTwips(tw, th);
        if (!keepSize) {
            box->SetHeight(th);
            box->SetWidth(tw);
        }
    }
    int targetW = width, targetH = height;
    if (!keepSize) {
        if (box->Height() == box->ScaleHeight()) {
            box->SetScaleMode(platform::kScalePixels);
            targetW = box->ScaleWidth();
            targetH = box->ScaleHeight();
        } else {
            targetW = box->Width();
            targetH = box->Height();
            TwipsToPixels(targetW, targetH);
            box->SetHeight(box->Height() + (box->Height() - box->ScaleHeight()));
            box->SetWidth(box->Width() + (box->Width() - box->ScaleWidth()));
        }
    }
    if (HasBitmap()) {
        box->DrawImage(QRect(x, y, targetW, targetH), S().bitmap);
        ReleaseBitmap();
    }
    if (parent) parent->SetScaleMode(parentMode);
    box->SetScaleMode(boxMode);
    box->SetPicture(box->Image());
}

}  // namespace tavo::imaging::CBitmap
