#pragma once
// Decoded PNG rows of 8-bit R G B A pixels brought to the painter's RGB32
// pixels: as they are, or blended over a background row.

#include "imaging/pixel_surface.h"

#include <cstdint>

namespace tavo::imaging {

// 8-bit R G B A pixels to RGB32, the alpha byte not used.
void RgbaToRgb32(const uint8_t* px, Argb* dst, int64_t w);

// 8-bit R G B A pixels blended over `bg`: each component
// (image * a + background * (255 - a) + 255) / 256, which gives the image's
// colour at a = 255 and the background's at a = 0 exactly.
void BlendRow(const uint8_t* px, const Argb* bg, Argb* dst, int64_t w);

}  // namespace tavo::imaging
