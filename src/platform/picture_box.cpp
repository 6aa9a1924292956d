#include "platform/picture_box.h"

#include <QPainter>

#include <algorithm>

namespace tavo::platform {

int TwipsPerPixelX() { return 15; }
int TwipsPerPixelY() { return 15; }

PictureBox::PictureBox(int innerWidthPx, int innerHeightPx, int borderPx, PictureBox* parent)
    : border_(std::max(0, borderPx)), parent_(parent) {
    ResizeInner(innerWidthPx, innerHeightPx);
}

int PictureBox::Width() const { return (innerW_ + 2 * border_) * TwipsPerPixelX(); }
int PictureBox::Height() const { return (innerH_ + 2 * border_) * TwipsPerPixelY(); }

void PictureBox::SetWidth(int twips) { ResizeInner(twips / TwipsPerPixelX() - 2 * border_, innerH_); }
void PictureBox::SetHeight(int twips) { ResizeInner(innerW_, twips / TwipsPerPixelY() - 2 * border_); }

int PictureBox::ScaleWidth() const { return scaleMode_ == kScalePixels ? innerW_ : innerW_ * TwipsPerPixelX(); }
int PictureBox::ScaleHeight() const { return scaleMode_ == kScalePixels ? innerH_ : innerH_ * TwipsPerPixelY(); }

void PictureBox::ResizeInner(int w, int h) {
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == innerW_ && h == innerH_ && (image_.isNull() == (w == 0 || h == 0))) return;
    innerW_ = w;
    innerH_ = h;
    if (w == 0 || h == 0) {
        image_ = QImage();
        return;
    }
    QImage next(w, h, QImage::Format_RGB32);
    next.fill(backColor_);
    if (!image_.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, image_);
    }
    image_ = next;
}

void PictureBox::Cls() {
    if (image_.isNull()) return;
    // A picture that covers the whole surface is simply shown again.
    if (picture_.size() == image_.size() && picture_.format() == QImage::Format_RGB32) {
        image_ = picture_;
        return;
    }
    if (!image_.isDetached()) image_ = QImage(image_.size(), QImage::Format_RGB32);  // no copy to overwrite
    image_.fill(backColor_);
    if (!picture_.isNull()) {
        QPainter p(&image_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, picture_);
    }
}

void PictureBox::DrawImage(const QRect& target, const QImage& source) {
    if (image_.isNull() || source.isNull() || target.isEmpty()) return;
    // The whole surface replaced by a picture of its own size and format:
    // share it instead of copying pixel by pixel.
    if (target == image_.rect() && source.size() == target.size() && source.format() == QImage::Format_RGB32) {
        image_ = source;
        return;
    }
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(target, source);
}

QRgb PictureBox::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0xFF000000u;
    return reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
}

}  // namespace tavo::platform
