#pragma once
// A station's icon as fetched: PNG is read by the program's own decoder,
// JPEG and ICO by Qt's image reader; anything else, or a picture larger than
// an icon may be, is refused.

#include <QByteArray>
#include <QImage>

namespace tavo {

inline constexpr int kMaxStationIconSide = 1024;

// The icon, or a null image when the bytes are not an icon we accept.
QImage DecodeStationIcon(const QByteArray& bytes);

}  // namespace tavo
