#include "sources/core/station_icon.h"

#include "imaging/core/surface_image.h"
#include "imaging/load_png.h"
#include "platform/picture_box.h"

#include <QBuffer>
#include <QImageReader>

namespace tavo {

namespace {

bool IsPng(const QByteArray& b) { return b.startsWith("\x89PNG\r\n\x1a\n"); }
bool IsJpeg(const QByteArray& b) { return b.startsWith("\xFF\xD8\xFF"); }
bool IsIco(const QByteArray& b) { return b.size() >= 6 && b.startsWith(QByteArray("\0\0\1\0", 4)); }

// The width or height of the IHDR chunk that must follow the signature.
quint32 PngSide(const QByteArray& b, int at) {
    if (b.size() < at + 4) return 0;
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

QImage DecodePng(const QByteArray& bytes) {
    if (PngSide(bytes, 16) > kMaxStationIconSide || PngSide(bytes, 20) > kMaxStationIconSide) return {};
    imaging::LoadPNG png;
    platform::PictureBox box(1, 1);
    png.SetMaxPixels(int64_t{kMaxStationIconSide} * kMaxStationIconSide);
    png.PicBox(&box);
    png.SetToBkgrnd(false, 0, 0);
    png.SetOwnBkgndColor(true, 0xFFFFFF);
    png.SetAlpha(true);
    png.SetTrans(true);
    png.OpenPNGfromBytes(bytes);
    // The decoder makes what it painted the box's picture; none means it
    // could not decode the bytes.
    if (box.Picture().IsNull()) return {};
    return imaging::ToQImage(box.Image());
}

QImage DecodeWithReader(const QByteArray& bytes, const char* format) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxStationIconSide || size.height() > kMaxStationIconSide) return {};
    QImage image;
    if (!reader.read(&image)) return {};
    return image;
}

}  // namespace

QImage DecodeStationIcon(const QByteArray& bytes) {
    if (IsPng(bytes)) return DecodePng(bytes);
    if (IsJpeg(bytes)) return DecodeWithReader(bytes, "jpeg");
    if (IsIco(bytes)) return DecodeWithReader(bytes, "ico");
    return {};
}

}  // namespace tavo
