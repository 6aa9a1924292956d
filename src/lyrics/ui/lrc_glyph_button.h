#pragma once

#include <QChar>
#include <QColor>
#include <QString>
#include <QWidget>

namespace tavo {

// One glyph button: a one-character caption drawn as a symbol, a colour,
// a tool tip; reports a left click.
class LrcGlyphButton : public QWidget {
    Q_OBJECT
public:
    LrcGlyphButton(QChar caption, const QString& toolTip, QWidget* parent = nullptr);

    QChar Caption() const { return caption_; }
    void SetCaption(QChar caption);
    QColor ForeColor() const { return color_; }
    void SetForeColor(const QColor& color);

    QSize sizeHint() const override { return {20, 20}; }

Q_SIGNALS:
    void Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QChar caption_;
    QColor color_ = Qt::black;
    bool pressed_ = false;
};

// The mute glyph's colour while muted without a skin: dark red.
inline const QColor kMutedGlyphColour{128, 0, 0};

// The mute glyph's colour while muted in a skin of back colour `back` and
// glyph colour `text`: a red that stands apart from both, so that muted
// reads at a glance in every skin.
QColor MutedGlyphColour(const QColor& back, const QColor& text);

}  // namespace tavo
