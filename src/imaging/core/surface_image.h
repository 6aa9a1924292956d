#pragma once
// The imaging engine's pixel surfaces as the window toolkit's images and
// back.

#include "imaging/pixel_surface.h"

#include <QImage>

namespace tavo::imaging {

// An RGB32 image over the surface's own pixels, no copy: the image keeps the
// buffer alive and is read-only over it (painting into the image gives the
// image its own copy; the surface never changes under it, since writing to
// a surface whose buffer is shared gives the surface a new one). Null for a
// null surface.
QImage ToQImage(const PixelSurface& surface);

// The image's pixels as RGB32 (an image with alpha as drawn over black), one
// copy. Null for a null image or one larger than a surface may be.
PixelSurface FromQImage(const QImage& image);

}  // namespace tavo::imaging
