#include "imaging/pixel_surface.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tavo::imaging {

namespace {

std::shared_ptr<Argb[]> Allocate(int width, int height) {
    if (width <= 0 || height <= 0 || int64_t{width} * height > PixelSurface::kMaxPixels) return {};
    return std::shared_ptr<Argb[]>(new (std::nothrow) Argb[static_cast<size_t>(width) * static_cast<size_t>(height)]);
}

}  // namespace

PixelSurface::PixelSurface(int width, int height, std::shared_ptr<Argb[]> pixels)
    : pixels_(std::move(pixels)), width_(pixels_ ? width : 0), height_(pixels_ ? height : 0) {}

PixelSurface::PixelSurface(int width, int height, Argb fill) : PixelSurface(width, height, Allocate(width, height)) {
    Fill(fill);
}

PixelSurface PixelSurface::ForOverwrite(int width, int height) { return {width, height, Allocate(width, height)}; }

void PixelSurface::Detach() {
    if (!pixels_ || pixels_.use_count() == 1) return;
    std::shared_ptr<Argb[]> own = Allocate(width_, height_);
    if (!own) {
        // No memory for a copy: this surface becomes null rather than
        // writing into pixels that another surface shows.
        *this = PixelSurface();
        return;
    }
    std::memcpy(own.get(), pixels_.get(), static_cast<size_t>(width_) * static_cast<size_t>(height_) * sizeof(Argb));
    pixels_ = std::move(own);
}

Argb PixelSurface::Pixel(int x, int y) const {
    return Contains(x, y) ? pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]
                          : kOpaqueBlack;
}

void PixelSurface::SetPixel(int x, int y, Argb colour) {
    if (!Contains(x, y)) return;
    Detach();
    if (IsNull()) return;
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = colour;
}

void PixelSurface::Fill(Argb colour) {
    if (IsNull()) return;
    if (pixels_.use_count() > 1) *this = PixelSurface(width_, height_, Allocate(width_, height_));  // nothing to keep
    if (IsNull()) return;
    std::fill_n(pixels_.get(), static_cast<size_t>(width_) * static_cast<size_t>(height_), colour);
}

std::span<const Argb> PixelSurface::Row(int y) const {
    if (IsNull() || y < 0 || y >= height_) return {};
    return {pixels_.get() + static_cast<size_t>(y) * static_cast<size_t>(width_), static_cast<size_t>(width_)};
}

std::span<Argb> PixelSurface::MutableRow(int y) {
    if (IsNull() || y < 0 || y >= height_) return {};
    Detach();
    if (IsNull()) return {};
    return {pixels_.get() + static_cast<size_t>(y) * static_cast<size_t>(width_), static_cast<size_t>(width_)};
}

void PixelSurface::Draw(const QRect& target, const PixelSurface& source) {
    if (IsNull() || source.IsNull() || target.isEmpty()) return;
    const QRect clip = target.intersected(Rect());
    if (clip.isEmpty()) return;
    // A picture of this surface's size over all of it: share its pixels.
    if (target == Rect() && source.Size() == Size()) {
        pixels_ = source.pixels_;
        return;
    }
    const PixelSurface src = source;  // keeps the pixels read while this surface is written
    Detach();
    if (IsNull()) return;
    const int64_t tw = target.width(), th = target.height(), sw = src.width_, sh = src.height_;
    const bool natural = tw == sw && th == sh;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const int64_t dy = y - int64_t{target.top()};
        // Nearest pixel: the source pixel under this pixel's centre.
        const int64_t sy = natural ? dy : (2 * dy + 1) * sh / (2 * th);
        const Argb* in = src.pixels_.get() + sy * sw;
        Argb* out = pixels_.get() + int64_t{y} * width_;
        if (natural) {
            std::memcpy(out + clip.left(), in + (clip.left() - int64_t{target.left()}),
                        static_cast<size_t>(clip.width()) * sizeof(Argb));
            continue;
        }
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const int64_t dx = x - int64_t{target.left()};
            out[x] = in[(2 * dx + 1) * sw / (2 * tw)];
        }
    }
}

bool PixelSurface::operator==(const PixelSurface& other) const {
    if (width_ != other.width_ || height_ != other.height_ || IsNull() != other.IsNull()) return false;
    if (IsNull() || pixels_ == other.pixels_) return true;
    return std::memcmp(pixels_.get(), other.pixels_.get(),
                       static_cast<size_t>(width_) * static_cast<size_t>(height_) * sizeof(Argb)) == 0;
}

}  // namespace tavo::imaging
