#pragma once
// The shipped skins, drawn with QPainter: each skin's colour file, its
// background picture (drawn for the main window's layout) and its three
// round button faces (normal, lit, pressed) with real alpha. Everything is
// drawn in logical pixels and rendered at scale 1 and 2 ("@2x").

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

namespace tavo::art {

// The look of the round glass button faces.
struct FaceStyle {
    QColor top, bottom;  // body gradient
    QColor rim;          // the thin outer ring
    QColor glow;         // the lit face's halo
    int gloss = 120;     // alpha of the top highlight
};

enum class FaceState { Normal, Lit, Pressed };

// One face, `size` logical pixels square, at `scale`.
QImage GlassFace(const FaceStyle& style, FaceState state, int size, int scale);

struct SkinArt {
    QString name;        // the folder name
    QStringList ini;     // skin.ini lines
    QString picture;     // background file name, empty for none
    std::function<void(QPainter&, const QSize&)> paintBackground;  // logical pixels
    FaceStyle face;
};

QList<SkinArt> ShippedSkins();

// The backgrounds.
void PaintBlueTech(QPainter& p, const QSize& size);
void PaintWarmSun(QPainter& p, const QSize& size);

}  // namespace tavo::art
