#pragma once
// A picture as the bytes of a PNG file, written by Qt's image writer: what a
// server would send for an icon.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace tavo::test {

inline QByteArray PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace tavo::test
