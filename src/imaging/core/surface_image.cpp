#include "imaging/core/surface_image.h"

#include <cstring>

namespace tavo::imaging {

namespace {

using Keeper = std::shared_ptr<const Argb[]>;

void ReleaseBuffer(void* keeper) { delete static_cast<Keeper*>(keeper); }

}  // namespace

QImage ToQImage(const PixelSurface& surface) {
    if (surface.IsNull()) return {};
    auto* keeper = new Keeper(surface.Buffer());
    const auto* bits = reinterpret_cast<const uchar*>(keeper->get());
    // A surface's size and row length are always valid for an image.
    return QImage(bits, surface.Width(), surface.Height(), qsizetype{surface.Width()} * qsizetype{sizeof(Argb)},
                  QImage::Format_RGB32, &ReleaseBuffer, keeper);
}

PixelSurface FromQImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    PixelSurface surface = PixelSurface::ForOverwrite(rgb.width(), rgb.height());
    if (surface.IsNull()) return {};
    const size_t rowBytes = static_cast<size_t>(rgb.width()) * sizeof(Argb);
    for (int y = 0; y < rgb.height(); ++y) std::memcpy(surface.MutableRow(y).data(), rgb.constScanLine(y), rowBytes);
    return surface;
}

}  // namespace tavo::imaging
