#pragma once
// Small pieces the splash and the about window share: picture and text
// labels laid over a background picture, and centring on the screen.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace tavo {

// A label showing `picture` stretched over `r`.
QLabel* NewPictureLabel(QWidget* parent, const QString& name, const QPixmap& picture, const QRect& r);
// A label of plain text (never read as markup) with a soft shadow.
QLabel* NewTextLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                     const QColor& color, const QRect& r);
// A soft shadow under a widget (the icon over the picture).
void AddShadow(QWidget* widget, qreal blur, qreal offset);
// Places a window in the middle of the primary screen.
void CentreOnScreen(QWidget* window);

}  // namespace tavo
