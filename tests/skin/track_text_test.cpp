// The time track's text, laid out once and drawn many times: it sits in the
// middle of the track, over its fill, for any text and track size.
#include "skin/track_paint.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace tavo {
namespace {

QImage Draw(QSize size, const TrackLook& look, const QString& text) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintTrack(p, size, look, QRect(0, 0, size.width() / 3, size.height()), TrackText(text, look.font));
    return image;
}

// The pixels where the two pictures differ: the text's ink.
QRect InkBetween(const QImage& a, const QImage& b) {
    QRect ink;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST(TrackText, SitsInTheMiddleOfTheTrack) {
    TrackLook look;
    look.frame = Qt::darkBlue;
    look.fill = Qt::blue;
    look.text = Qt::black;
    look.font.setPixelSize(11);
    const struct {
        int width, height;
        const char* text;
    } cases[] = {
        {200, 16, " 00:05 / 03:20  "},
        {260, 20, " 12:34 / 59:59  "},
        {120, 14, "00:00"},
    };
    for (const auto& c : cases) {
        const QSize size(c.width, c.height);
        const QImage with = Draw(size, look, QString::fromLatin1(c.text));
        const QImage without = Draw(size, look, QString());
        const QRect ink = InkBetween(with, without);
        ASSERT_FALSE(ink.isEmpty()) << c.text;
        // Leading and trailing spaces are part of the centred line, so the
        // ink may sit off the middle by their difference (one space).
        const QFontMetrics m(look.font);
        const int slack = m.horizontalAdvance(QLatin1Char(' ')) + 2;
        EXPECT_NEAR(ink.center().x(), c.width / 2.0, slack) << c.text;
        EXPECT_NEAR(ink.center().y(), c.height / 2.0, 3) << c.text;
        EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(ink)) << c.text;
    }
}

}  // namespace
}  // namespace tavo
