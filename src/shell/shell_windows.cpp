#include "shell/shell_windows.h"

#include <QGraphicsDropShadowEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace tavo {

QLabel* NewPictureLabel(QWidget* parent, const QString& name, const QPixmap& picture, const QRect& r) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(r);
    label->setPixmap(picture);
    label->setScaledContents(true);
    return label;
}

QLabel* NewTextLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                     const QColor& color, const QRect& r) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setGeometry(r);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    AddShadow(label, 6, 1);
    return label;
}

void AddShadow(QWidget* widget, qreal blur, qreal offset) {
    auto* shadow = new QGraphicsDropShadowEffect(widget);
    shadow->setBlurRadius(blur);
    shadow->setOffset(0, offset);
    shadow->setColor(QColor(0, 16, 48, 150));
    widget->setGraphicsEffect(shadow);
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    window->move(area.left() + (area.width() - window->width()) / 2,
                 area.top() + (area.height() - window->height()) / 2);
}

}  // namespace tavo
