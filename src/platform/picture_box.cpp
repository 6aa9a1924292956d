#include "platform/picture_box.h"

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
    if (w == innerW_ && h == innerH_ && (image_.IsNull() == (w == 0 || h == 0))) return;
    innerW_ = w;
    innerH_ = h;
    if (w == 0 || h == 0) {
        image_ = PixelSurface();
        return;
    }
    PixelSurface next(w, h, backColor_);
    next.Draw(image_.Rect(), image_);
    image_ = next;
}

void PictureBox::Cls() {
    if (image_.IsNull()) return;
    // A picture that covers the whole surface is simply shown again.
    if (picture_.Size() == image_.Size()) {
        image_ = picture_;
        return;
    }
    image_.Fill(backColor_);  // a shared buffer is replaced, not copied
    image_.Draw(picture_.Rect(), picture_);
}

}  // namespace tavo::platform
