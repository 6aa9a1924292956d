#pragma once
// Colour values as the skin and the button control keep them: 32-bit
// numbers red + green*256 + blue*65536 (0x00BBGGRR), or a system colour
// written as 0x80000000 + the system colour number, which follows the
// desktop's palette.

#include <QColor>

#include <cstdint>

class QPalette;

namespace tavo {

inline constexpr int32_t kSystemColourFlag = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t kSysButtonFace = kSystemColourFlag | 0x0F;
inline constexpr int32_t kSysGrayText = kSystemColourFlag | 0x11;
inline constexpr int32_t kSysButtonText = kSystemColourFlag | 0x12;

// R + G*256 + B*65536, each component clamped to 0..255.
constexpr int32_t SkinRgb(int r, int g, int b) {
    auto c = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return c(r) | (c(g) << 8) | (c(b) << 16);
}

constexpr bool IsSystemColour(int32_t value) { return (value & kSystemColourFlag) != 0; }

// The colour a value stands for: plain values by their components, system
// colours from `palette` (the application's palette when null).
QColor ToQColor(int32_t value, const QPalette* palette = nullptr);

// A plain value from an opaque colour.
int32_t FromQColor(const QColor& colour);

}  // namespace tavo
