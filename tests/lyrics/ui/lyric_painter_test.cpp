#include "lyrics/ui/lyric_painter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace tavo {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

LyricOptions Look(int lines, bool karaoke) {
    LyricOptions o;
    o.fontPx = 24;
    o.playedColor = kRed;
    o.color = kBlue;
    o.backAlpha = 0;
    o.edge = LyricEdge::None;
    o.lines = lines;
    o.karaoke = karaoke;
    return o;
}

bool Red(QRgb c) { return qAlpha(c) > 128 && qRed(c) > 100 && qRed(c) > 2 * qBlue(c); }
bool Blue(QRgb c) { return qAlpha(c) > 128 && qBlue(c) > 100 && qBlue(c) > 2 * qRed(c); }
bool Ink(QRgb c) { return qAlpha(c) > 128; }

// The bounding box, in device pixels, of the pixels that pass `test` inside `area`.
QRect Extent(const QImage& img, const std::function<bool(QRgb)>& test, QRect area = QRect()) {
    if (area.isNull()) area = img.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(img.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

int Count(const QImage& img, const std::function<bool(QRgb)>& test) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += test(img.pixel(x, y));
    return n;
}

QImage Render(const LyricDoc& doc, int timeMs, const LyricOptions& look, QSize size = {400, 60}, double scale = 1) {
    LyricFrame frame;
    frame.doc = &doc;
    frame.timeMs = timeMs;
    return RenderLyricFrame(size, scale, frame, look);
}

// Where the sung part ends, as a share of the line's ink width.
double FillShare(const QImage& img) {
    const QRect ink = Extent(img, Ink), red = Extent(img, Red);
    if (red.isEmpty()) return 0;
    return double(red.right() + 1 - ink.left()) / ink.width();
}

TEST(LyricPainter, KaraokeFillRunsFromTheLineStartToTheNextLine) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:10.00]MMMMMMMMMM\n[00:20.00]next"));
    const struct {
        int timeMs;
        double share;
    } cases[] = {{12500, 0.25}, {15000, 0.5}, {17500, 0.75}, {19900, 0.99}};
    for (const auto& c : cases) EXPECT_NEAR(FillShare(Render(doc, c.timeMs, Look(1, true))), c.share, 0.06) << c.timeMs;
    EXPECT_EQ(Count(Render(doc, 10000, Look(1, true)), Red), 0);
    EXPECT_EQ(Count(Render(doc, 15000, Look(1, false)), Red), 0);  // karaoke off: one colour
}

TEST(LyricPainter, KaraokeFillFollowsWordTimes) {
    // Two M's sung in the first second, eight over the next nine.
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:10.00]<00:10.00>MM<00:11.00>MMMMMMMM\n[00:20.00]x"));
    EXPECT_NEAR(FillShare(Render(doc, 11000, Look(1, true))), 0.2, 0.06);  // evenly it would be 0.1
    EXPECT_NEAR(FillShare(Render(doc, 15500, Look(1, true))), 0.6, 0.06);
}

TEST(LyricPainter, OutlineAndShadowDrawADarkEdgeAroundLightText) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:01.00]MMMM"));
    LyricOptions look = Look(1, false);
    look.color = kWhite;
    auto dark = [](QRgb c) { return qAlpha(c) > 200 && qGray(c) < 60; };
    auto light = [](QRgb c) { return qAlpha(c) > 200 && qGray(c) > 200; };
    look.edge = LyricEdge::None;
    EXPECT_EQ(Count(Render(doc, 2000, look), dark), 0);
    look.edge = LyricEdge::Outline;
    const QImage outlined = Render(doc, 2000, look);
    EXPECT_GT(Count(outlined, dark), 100);
    EXPECT_GT(Extent(outlined, dark).width(), Extent(outlined, light).width());  // around, on both sides
    look.edge = LyricEdge::Shadow;
    const QImage shadowed = Render(doc, 2000, look);
    EXPECT_GT(Count(shadowed, dark), 50);
    EXPECT_GT(Extent(shadowed, dark).right(), Extent(shadowed, light).right());   // below and to the right
    EXPECT_GT(Extent(shadowed, dark).left(), Extent(shadowed, light).left());  // not around: offset
}

TEST(LyricPainter, BackgroundRunsFromClearToOpaque) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:01.00]MMMM"));
    for (int alpha : {0, 128, 255}) {
        LyricOptions look = Look(1, false);
        look.backAlpha = alpha;
        const QImage img = Render(doc, 2000, look);
        for (QPoint corner : {QPoint(1, 1), QPoint(img.width() - 2, img.height() - 2)})
            EXPECT_NEAR(qAlpha(img.pixel(corner)), alpha, 2) << alpha;
    }
}

TEST(LyricPainter, WithoutItsBackgroundOnlyTheTextCoversTheDevice) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:01.00]words"));
    QImage img(QSize(300, 50), QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(0, 200, 0));
    LyricFrame frame;
    frame.doc = &doc;
    frame.timeMs = 1500;
    frame.paintBack = false;
    LyricOptions look = Look(1, false);
    look.backAlpha = 255;  // would cover the green if the background were painted
    {
        QPainter p(&img);
        LyricPainter().Paint(p, QRectF(0, 0, 300, 50), frame, look);
    }
    EXPECT_EQ(img.pixel(2, 2), QColor(0, 200, 0).rgb());
    EXPECT_GT(Count(img, Blue), 20);
    frame.paintBack = true;
    {
        QPainter p(&img);
        LyricPainter().Paint(p, QRectF(0, 0, 300, 50), frame, look);
    }
    EXPECT_EQ(img.pixel(2, 2), QColor(Qt::white).rgb());
}

TEST(LyricPainter, TwoLinesAlternateSidesLikeAKaraokeScreen) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:10.00]MMMM\n[00:20.00]MMMM\n[00:30.00]MMMM\n[00:40.00]end"));
    const QSize size(400, 100);
    const QRect top(0, 0, 400, 50), bottom(0, 50, 400, 50);
    // Line 0 sung on the top row, on the left; line 1 waits on the bottom row, on the right.
    const QImage first = Render(doc, 15000, Look(2, true), size);
    EXPECT_FALSE(Extent(first, Red, top).isEmpty());
    EXPECT_TRUE(Extent(first, Red, bottom).isEmpty());
    EXPECT_LT(Extent(first, Ink, top).right(), 200);
    EXPECT_GT(Extent(first, Ink, bottom).left(), 200);
    // Line 1 sung on the bottom row; line 2 now waits on the top row.
    const QImage second = Render(doc, 25000, Look(2, true), size);
    EXPECT_FALSE(Extent(second, Red, bottom).isEmpty());
    EXPECT_TRUE(Extent(second, Red, top).isEmpty());
    EXPECT_FALSE(Extent(second, Ink, top).isEmpty());
    EXPECT_LT(Extent(second, Ink, top).right(), 200);
}

// The runs of rows holding ink, top to bottom.
std::vector<std::pair<int, int>> InkBands(const QImage& img) {
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < img.height(); ++y) {
        bool any = false;
        for (int x = 0; x < img.width() && !any; ++x) any = Ink(img.pixel(x, y));
        if (!any) continue;
        if (!bands.empty() && bands.back().second == y - 1) bands.back().second = y;
        else bands.push_back({y, y});
    }
    return bands;
}

TEST(LyricPainter, TranslationSitsUnderTheLineSmaller) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:10.00]MMMM\n[00:10.00]MMMM"));
    LyricOptions look = Look(1, false);
    const auto bands = InkBands(Render(doc, 11000, look, {400, 80}));
    ASSERT_EQ(bands.size(), 2u);
    const int mainH = bands[0].second - bands[0].first, smallH = bands[1].second - bands[1].first;
    EXPECT_LT(smallH, mainH);
    EXPECT_GT(smallH, mainH / 2);
    look.translation = false;
    EXPECT_EQ(InkBands(Render(doc, 11000, look, {400, 80})).size(), 1u);
}

TEST(LyricPainter, FiveLinesHighlightTheCurrentLineAndAClickFindsItsRow) {
    QString text;
    for (int i = 0; i < 10; ++i) text += QStringLiteral("[00:%1.00]MMM\n").arg(10 + i * 2);
    const LyricDoc doc = ParseLyricDoc(text);
    const QSize size(400, 200);
    const QImage img = Render(doc, 20500, Look(5, false), size);  // line 5, risen into place
    const QRect red = Extent(img, Red);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_GE(red.top(), 80);
    EXPECT_LE(red.bottom(), 120);
    EXPECT_GT(Count(img, Blue), 0);
    EXPECT_EQ(InkBands(img).size(), 5u);

    LyricFrame frame;
    frame.doc = &doc;
    frame.timeMs = 20500;
    const QRectF box(0, 0, 400, 200);
    const struct {
        double y;
        int line;
    } clicks[] = {{100, 5}, {20, 3}, {60, 4}, {179, 7}, {-5, -1}, {205, -1}};
    for (const auto& c : clicks) EXPECT_EQ(LyricRowAt(box, frame, Look(5, false), {200, c.y}), c.line) << c.y;
    frame.timeMs = 10500;  // the first line: no lines above it to click
    EXPECT_EQ(LyricRowAt(box, frame, Look(5, false), {200, 20}), -1);
    EXPECT_EQ(LyricRowAt(box, frame, Look(5, false), {200, 100}), 0);
}

TEST(LyricPainter, ScalesWithTheScreen) {
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[00:01.00]MMMM"));
    const QImage one = Render(doc, 2000, Look(1, false), {300, 50}, 1);
    const QImage two = Render(doc, 2000, Look(1, false), {300, 50}, 2);
    EXPECT_EQ(two.size(), QSize(600, 100));
    EXPECT_NEAR(double(Extent(two, Ink).width()) / Extent(one, Ink).width(), 2.0, 0.1);
    EXPECT_NEAR(double(Extent(two, Ink).height()) / Extent(one, Ink).height(), 2.0, 0.15);
}

TEST(LyricPainter, StatusTextAndHostileLinesAreDrawnWithinTheWindow) {
    LyricFrame status;
    status.status = QStringLiteral("正在获取歌词...");
    EXPECT_GT(Count(RenderLyricFrame({300, 50}, 1, status, Look(1, false)), Ink), 0);

    const LyricDoc huge = ParseLyricDoc(QStringLiteral("[00:01.00]") + QString(10000, QLatin1Char('M')) +
                                        QStringLiteral("\n[00:01.00]") + QString(10000, QLatin1Char('W')));
    for (int lines : {1, 2, 5}) {
        const QImage img = Render(huge, 3000, Look(lines, true), {300, 100});
        EXPECT_GT(Count(img, Red), 0) << lines;  // the fill point is scrolled into view
    }
}

}  // namespace
}  // namespace tavo
