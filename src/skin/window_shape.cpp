#include "skin/window_shape.h"

#include <QRect>

#include <cmath>

namespace tavo {

QRegion WindowOutline(QSize size) {
    const int W = size.width(), H = size.height();
    if (W <= 0 || H <= 0) return {};
    // Row by row: the inset of each of the first rows follows a circle of
    // radius 4.5 centred 4.5 pixels in from the corner, sampled at pixel
    // centres.
    constexpr double r = 4.5;
    QRegion region(0, 0, W, H);
    for (int y = 0; y < static_cast<int>(r) && y < H; ++y) {
        const double dy = r - (y + 0.5);
        const int inset = static_cast<int>(std::ceil(r - std::sqrt(std::max(0.0, r * r - dy * dy)) - 0.5));
        if (inset <= 0) continue;
        region -= QRegion(0, y, inset, 1);
        region -= QRegion(W - inset, y, inset, 1);
    }
    return region;
}

}  // namespace tavo
