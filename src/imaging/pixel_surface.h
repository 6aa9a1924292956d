#pragma once
// PixelSurface: the pixels the imaging code decodes into and paints with.
//
// Rows of 32-bit pixels 0xAARRGGBB, top row first, `Width()` pixels a row
// with no padding between rows. The decoder writes opaque pixels (alpha
// 0xFF), the layout a window toolkit calls RGB32, so a window can show the
// buffer as it is (see imaging/core/surface_image.h).
//
// A surface is a value that shares its buffer with its copies until one of
// them is written to (the writer then gets its own buffer): handing a
// decoded picture to a picture box and keeping it as its persistent picture
// costs no copy. Every accessor checks its coordinates: a pixel outside
// reads as opaque black and a write outside does nothing.

#include <QRect>

#include <cstdint>
#include <memory>
#include <span>

namespace tavo::imaging {

using Argb = uint32_t;

constexpr Argb kOpaqueBlack = 0xFF000000u;

constexpr Argb Rgb(int r, int g, int b) {
    return kOpaqueBlack | (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           static_cast<uint32_t>(b & 0xFF);
}
constexpr int Red(Argb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int Green(Argb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int Blue(Argb c) { return static_cast<int>(c & 0xFF); }

class PixelSurface {
public:
    // The most pixels one surface holds (its bytes fit a signed 32-bit size).
    static constexpr int64_t kMaxPixels = (int64_t{1} << 29) - 1;

    // A null surface: no pixels.
    PixelSurface() = default;
    // A surface filled with `fill`; null when a side is not positive, the
    // size is above kMaxPixels or the memory is refused.
    PixelSurface(int width, int height, Argb fill);
    // The same with the pixels left as the allocator gives them, for a
    // writer that sets every pixel.
    static PixelSurface ForOverwrite(int width, int height);

    bool IsNull() const { return !pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    QSize Size() const { return {width_, height_}; }
    QRect Rect() const { return {0, 0, width_, height_}; }

    Argb Pixel(int x, int y) const;
    void SetPixel(int x, int y, Argb colour);
    void Fill(Argb colour);

    // Row `y` (top 0); empty outside the surface. MutableRow gives this
    // surface its own buffer first when it shares one.
    std::span<const Argb> Row(int y) const;
    std::span<Argb> MutableRow(int y);

    // Draws `source` stretched into `target` (nearest pixel, no blending),
    // clipped to this surface.
    void Draw(const QRect& target, const PixelSurface& source);

    // The buffer, for a reader that keeps it alive beyond this surface
    // (the returned pointer shares ownership).
    std::shared_ptr<const Argb[]> Buffer() const { return pixels_; }
    bool SharesBufferWith(const PixelSurface& other) const { return pixels_ && pixels_ == other.pixels_; }

    // Same size and the same pixels.
    bool operator==(const PixelSurface& other) const;

private:
    PixelSurface(int width, int height, std::shared_ptr<Argb[]> pixels);
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void Detach();

    std::shared_ptr<Argb[]> pixels_;
    int width_ = 0, height_ = 0;
};

}  // namespace tavo::imaging
