#pragma once
// A picture box: a pixel surface that the imaging code and the skin painter
// draw into. It keeps what the window toolkit's picture box exposes to them:
// its outer size in twips (`Width`, `Height`), its inner size in the current
// scale units (`ScaleWidth`, `ScaleHeight`, `ScaleMode` 1 = twips,
// 3 = pixels), a border, an optional parent, `Cls`, the drawn surface
// (`Image`) and the persistent picture (`Picture`).
//
// The surface is an opaque PixelSurface of the inner size in pixels; a
// window shows it by painting it. No window code lives here.

#include "imaging/pixel_surface.h"

#include <QRect>

namespace tavo::platform {

using imaging::Argb;
using imaging::PixelSurface;

// The screen's twips per pixel (1440 twips an inch at 96 pixels an inch).
int TwipsPerPixelX();
int TwipsPerPixelY();

inline constexpr int kScaleTwips = 1;
inline constexpr int kScalePixels = 3;

class PictureBox {
public:
    // Inner size in pixels, border width in pixels on every side. A box
    // without a parent is itself a window.
    PictureBox(int innerWidthPx = 0, int innerHeightPx = 0, int borderPx = 0, PictureBox* parent = nullptr);

    // Outer size in twips (border included). Setting it resizes the surface:
    // the content stays at the top left, new area gets the back colour.
    int Width() const;
    int Height() const;
    void SetWidth(int twips);
    void SetHeight(int twips);

    // Inner size in the current scale units.
    int ScaleWidth() const;
    int ScaleHeight() const;
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode == kScalePixels ? kScalePixels : kScaleTwips; }

    int InnerWidthPx() const { return innerW_; }
    int InnerHeightPx() const { return innerH_; }
    int BorderPx() const { return border_; }
    PictureBox* Parent() const { return parent_; }

    Argb BackColor() const { return backColor_; }
    void SetBackColor(Argb c) { backColor_ = c | imaging::kOpaqueBlack; }

    // Clears the surface to the back colour and shows the persistent picture.
    void Cls();

    // The drawn surface (inner area).
    const PixelSurface& Image() const { return image_; }
    PixelSurface& Image() { return image_; }

    // The persistent picture, shown again by Cls and by a window's repaint.
    const PixelSurface& Picture() const { return picture_; }
    void SetPicture(const PixelSurface& picture) { picture_ = picture; }

    // Copies `source` stretched into `target` (pixels of the inner area),
    // nearest pixel, no blending.
    void DrawImage(const QRect& target, const PixelSurface& source) { image_.Draw(target, source); }

    // Colour of one pixel, black outside the surface.
    Argb Pixel(int x, int y) const { return image_.Pixel(x, y); }

private:
    void ResizeInner(int w, int h);

    PixelSurface image_;  // null while the inner size is 0 in either direction
    PixelSurface picture_;
    int innerW_ = 0, innerH_ = 0;
    int border_ = 0;
    int scaleMode_ = kScaleTwips;
    PictureBox* parent_ = nullptr;
    Argb backColor_ = 0xFFFFFFFFu;
};

}  // namespace tavo::platform
