#include "lyrics/ui/lyric_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tavo {
namespace {

// Only this much of a line is ever drawn: more never fits a window, and a
// 10,000-character line must not cost a frame its budget.
constexpr qsizetype kMaxDrawnChars = 400;
// How long the five-line view takes to rise by one row as a line begins.
constexpr int kScrollMs = 300;
constexpr double kTranslationScale = 0.7;
constexpr double kOtherLineOpacity = 0.55;

// One row of the layout: which line it shows and where.
struct Row {
    int line = -1;           // index into doc->lines; -1 shows `text`
    QString text;            // the text when line is -1 (status, plain lyrics)
    QRectF rect;
    Qt::Alignment align = Qt::AlignHCenter;
    bool current = false;    // highlighted, and filled when karaoke is on
};

QFont MainFont(const LyricOptions& look) {
    QFont f;
    if (!look.fontFamily.isEmpty()) f.setFamily(look.fontFamily);
    f.setPixelSize(std::clamp(look.fontPx, kMinLyricFontPx, kMaxLyricFontPx));
    f.setBold(true);
    return f;
}

QFont TranslationFont(const LyricOptions& look) {
    QFont f = MainFont(look);
    f.setPixelSize(std::max(kMinLyricFontPx, static_cast<int>(std::lround(f.pixelSize() * kTranslationScale))));
    f.setBold(false);
    return f;
}

// The line at a lyric time (the offsets are already in it): -1 before the first.
int LineAtTime(const LyricDoc& doc, int timeMs) {
    const auto after = std::upper_bound(doc.lines.begin(), doc.lines.end(), timeMs,
                                        [](int t, const LyricLine& l) { return t < l.timeMs; });
    return static_cast<int>(after - doc.lines.begin()) - 1;
}

bool Timed(const LyricFrame& f) { return f.doc && f.doc->synced && !f.doc->lines.empty(); }

int LineCount(const LyricFrame& f) { return Timed(f) ? static_cast<int>(f.doc->lines.size()) : 0; }

std::vector<Row> LayoutRows(const QRectF& box, const LyricFrame& frame, const LyricOptions& look) {
    std::vector<Row> rows;
    const int count = LineCount(frame);
    const int cur = count ? LineAtTime(*frame.doc, frame.timeMs) : -1;
    auto text = [&](int k) {  // untimed rows: the status, then the plain lines
        if (!frame.status.isEmpty()) {
            if (k == 0) return frame.status;
            --k;
        }
        const QStringList empty;
        const QStringList& plain = frame.doc ? frame.doc->plain : empty;
        return k >= 0 && k < plain.size() ? plain[k] : QString();
    };
    if (look.lines == 2) {
        const double h = box.height() / 2;
        const QRectF top(box.left(), box.top(), box.width(), h), bottom(box.left(), box.top() + h, box.width(), h);
        const int first = std::max(cur, 0);
        for (int line : {first, first + 1}) {
            Row r;
            r.rect = line % 2 == 0 ? top : bottom;
            r.align = line % 2 == 0 ? Qt::AlignLeft : Qt::AlignRight;
            if (count) {
                r.line = line < count ? line : -1;
                r.current = line == cur;
            } else {
                r.text = text(line);
            }
            rows.push_back(r);
        }
        return rows;
    }
    if (look.lines == 5) {
        const double h = box.height() / 5;
        double rise = 0;
        if (cur >= 0) {
            const double f = std::clamp((frame.timeMs - frame.doc->lines[cur].timeMs) / double(kScrollMs), 0.0, 1.0);
            rise = (1 - f) * h;
        }
        const int centre = count ? cur : 2;  // untimed text stands still from the top row
        for (int k = -3; k <= 2; ++k) {
            Row r;
            r.rect = QRectF(box.left(), box.top() + (k + 2) * h + rise, box.width(), h);
            if (!r.rect.intersects(box)) continue;
            const int line = centre + k;
            if (count) {
                if (line < 0 || line >= count) continue;
                r.line = line;
                r.current = line == cur;
            } else {
                r.text = text(line);
            }
            rows.push_back(r);
        }
        return rows;
    }
    Row r;
    r.rect = box;
    if (cur >= 0) {
        r.line = cur;
        r.current = true;
    } else {
        r.text = text(0);
    }
    rows.push_back(r);
    return rows;
}

double AdvanceTo(const QFontMetricsF& fm, const QString& text, double chars) {
    const qsizetype whole = std::clamp<qsizetype>(static_cast<qsizetype>(chars), 0, text.size());
    const double base = fm.horizontalAdvance(text.left(whole));
    if (whole >= text.size()) return base;
    const double next = fm.horizontalAdvance(text.left(whole + 1));
    return base + (chars - whole) * (next - base);
}

QColor EdgeColorFor(const QColor& text) {
    return qGray(text.rgb()) > 128 ? QColor(0, 0, 0, 210) : QColor(255, 255, 255, 210);
}

// One text line at baseline y: its edge, its colour, then the sung part
// (up to fillX from its left, when fillX >= 0) in the played colour.
void DrawText(QPainter& p, const QPainterPath& path, double left, double fillX, const QColor& color,
              const QColor& played, const LyricOptions& look, double px) {
    const QColor edge = EdgeColorFor(color);
    if (look.edge == LyricEdge::Outline) {
        p.strokePath(path, QPen(edge, std::max(1.0, px / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    } else if (look.edge == LyricEdge::Shadow) {
        const double d = std::max(1.0, px / 14);
        p.fillPath(path.translated(d, d), edge);
    }
    p.fillPath(path, color);
    if (fillX > 0) {
        p.save();
        const QRectF b = path.boundingRect().adjusted(-2, -2, 2, 2);
        p.setClipRect(QRectF(b.left(), b.top(), left + fillX - b.left(), b.height()), Qt::IntersectClip);
        p.fillPath(path, played);
        p.restore();
    }
}

void DrawRow(QPainter& p, const Row& row, const LyricFrame& frame, const LyricOptions& look, const QFont& mainFont,
             const QFont& smallFont) {
    const LyricLine* line = row.line >= 0 ? &frame.doc->lines[row.line] : nullptr;
    const QString text = (line ? line->text : row.text).left(kMaxDrawnChars);
    const QString translation =
        line && look.translation ? line->translation.left(kMaxDrawnChars) : QString();
    if (text.isEmpty() && translation.isEmpty()) return;

    const QFontMetricsF fm(mainFont), sm(smallFont);
    const double mainH = fm.height(), smallH = translation.isEmpty() ? 0 : sm.height();
    const double top = row.rect.top() + (row.rect.height() - mainH - smallH) / 2;
    const double width = fm.horizontalAdvance(text);

    double fillX = -1;
    if (line && row.current && look.karaoke)
        fillX = AdvanceTo(fm, text, std::min<double>(SungChars(*frame.doc, row.line, frame.timeMs), text.size()));

    auto leftFor = [&](double w) {
        const QRectF& r = row.rect;
        if (w > r.width()) {
            // Too wide: scroll so that the fill point stays in view.
            const double shift = fillX > 0 ? std::clamp(fillX - r.width() / 2, 0.0, w - r.width()) : 0;
            return r.left() - shift;
        }
        if (row.align & Qt::AlignLeft) return r.left() + fm.averageCharWidth() / 2;
        if (row.align & Qt::AlignRight) return r.right() - w - fm.averageCharWidth() / 2;
        return r.left() + (r.width() - w) / 2;
    };

    const QColor color = QColor::fromRgba(look.color), played = QColor::fromRgba(look.playedColor);
    p.save();
    if (!row.current && look.lines != 1) p.setOpacity(kOtherLineOpacity);
    // Five lines without karaoke mark the current line by colour alone.
    const QColor ink = row.current && look.lines == 5 && !look.karaoke ? played : color;
    const double left = leftFor(width);
    QPainterPath path;
    path.addText(left, top + fm.ascent(), mainFont, text);
    DrawText(p, path, left, fillX, ink, played, look, mainFont.pixelSize());
    if (!translation.isEmpty()) {
        const double tw = sm.horizontalAdvance(translation);
        const double tl = tw > row.rect.width() ? row.rect.left() : leftFor(tw);
        QPainterPath small;
        small.addText(tl, top + mainH + sm.ascent(), smallFont, translation);
        DrawText(p, small, tl, -1, color, played, look, smallFont.pixelSize());
    }
    p.restore();
}

}  // namespace

void PaintLyricFrame(QPainter& p, const QRectF& box, const LyricFrame& frame, const LyricOptions& look) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    QColor back = QColor::fromRgba(frame.backColor);
    back.setAlpha(std::clamp(look.backAlpha, 0, 255));
    p.fillRect(box, back);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(box, Qt::IntersectClip);
    const QFont mainFont = MainFont(look), smallFont = TranslationFont(look);
    for (const Row& row : LayoutRows(box, frame, look)) DrawRow(p, row, frame, look, mainFont, smallFont);
    p.restore();
}

QImage RenderLyricFrame(QSize size, double scale, const LyricFrame& frame, const LyricOptions& look) {
    scale = std::clamp(scale, 0.5, 8.0);
    QImage image(QSize(static_cast<int>(std::ceil(size.width() * scale)), static_cast<int>(std::ceil(size.height() * scale))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    PaintLyricFrame(p, QRectF(QPointF(0, 0), QSizeF(size)), frame, look);
    return image;
}

int LyricRowAt(const QRectF& box, const LyricFrame& frame, const LyricOptions& look, QPointF point) {
    if (!box.contains(point)) return -1;
    for (const Row& row : LayoutRows(box, frame, look))
        if (row.line >= 0 && row.rect.contains(point)) return row.line;
    return -1;
}

}  // namespace tavo
