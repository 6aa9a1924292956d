#include "lyrics/ui/lyric_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

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


QColor EdgeColorFor(const QColor& text) {
    return qGray(text.rgb()) > 128 ? QColor(0, 0, 0, 210) : QColor(255, 255, 255, 210);
}

}  // namespace

// A text's glyphs drawn once: with its edge in the unsung colour (`ink`)
// and, for a line that fills, in the played colour (`sung`). The text's
// left edge and top sit `pad` logical pixels inside the images.
struct GlyphLayer {
    QImage ink;
    QImage sung;
    double pad = 0;
    double width = 0;   // the text's advance
    double height = 0;  // the font's line height
    double indent = 0;  // half an average character: the gap to a side
    // For a line that fills: where each character starts (and, last, where
    // the text ends), measured once so that a frame measures nothing.
    std::vector<double> edges;
};

namespace {

// How far into the text `chars` characters reach, a part character in
// proportion.
double AdvanceTo(const GlyphLayer& layer, double chars) {
    if (layer.edges.empty()) return 0;
    const qsizetype last = static_cast<qsizetype>(layer.edges.size()) - 1;
    const qsizetype whole = std::clamp<qsizetype>(static_cast<qsizetype>(chars), 0, last);
    const double base = layer.edges[static_cast<size_t>(whole)];
    if (whole >= last) return base;
    return base + (chars - whole) * (layer.edges[static_cast<size_t>(whole + 1)] - base);
}

}  // namespace

class LyricGlyphCache {
public:
    // The layer of `text`, drawn now or found among the recent ones. A copy
    // (its images are shared, not copied): a later Get may move or drop the
    // entry it came from.
    GlyphLayer Get(const QString& text, const QFont& font, const QColor& ink, const QColor* played,
                          LyricEdge edge, double scale) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            Entry& e = entries_[i];
            if (e.text == text && e.font == font && e.ink == ink && e.played == (played ? *played : QColor()) &&
                e.edge == edge && e.scale == scale) {
                std::rotate(entries_.begin() + i, entries_.begin() + i + 1, entries_.end());
                return entries_.back().layer;
            }
        }
        if (entries_.size() >= kEntries) entries_.erase(entries_.begin());
        entries_.push_back({text, font, ink, played ? *played : QColor(), edge, scale,
                            Draw(text, font, ink, played, edge, scale)});
        return entries_.back().layer;
    }

private:
    // Enough for five lines and their translations, as the view rises.
    static constexpr size_t kEntries = 16;
    struct Entry {
        QString text;
        QFont font;
        QColor ink, played;
        LyricEdge edge;
        double scale;
        GlyphLayer layer;
    };
    std::vector<Entry> entries_;

    static QImage DrawOne(const QString& text, const QFont& font, QPointF baseline, QSizeF size, const QColor& fill,
                          LyricEdge edge, double scale) {
        QImage img(QSize(static_cast<int>(std::ceil(size.width() * scale)), static_cast<int>(std::ceil(size.height() * scale))),
                   QImage::Format_ARGB32_Premultiplied);
        img.setDevicePixelRatio(scale);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(font);
        const QColor edgeColor = EdgeColorFor(fill);
        const double px = font.pixelSize();
        p.setPen(edgeColor);
        if (edge == LyricEdge::Outline) {
            // The text drawn around itself at eight offsets: the ring a
            // stroke would give, through the glyph cache instead of a
            // path rasteriser (which costs milliseconds on CJK glyphs).
            const double r = std::max(1.0, px / 16);
            for (int k = 0; k < 8; ++k) {
                const double a = k * M_PI / 4;
                p.drawText(baseline + QPointF(r * std::cos(a), r * std::sin(a)), text);
            }
        } else if (edge == LyricEdge::Shadow) {
            const double d = std::max(1.0, px / 14);
            p.drawText(baseline + QPointF(d, d), text);
        }
        p.setPen(fill);
        p.drawText(baseline, text);
        return img;
    }

    static GlyphLayer Draw(const QString& text, const QFont& font, const QColor& ink, const QColor* played,
                           LyricEdge edge, double scale) {
        const QFontMetricsF fm(font);
        GlyphLayer layer;
        layer.pad = std::ceil(font.pixelSize() / 6.0) + 2;
        layer.width = fm.horizontalAdvance(text);
        layer.height = fm.height();
        layer.indent = fm.averageCharWidth() / 2;
        if (played) {
            QTextLayout lay(text, font);
            lay.beginLayout();
            const QTextLine line = lay.createLine();
            lay.endLayout();
            layer.edges.reserve(static_cast<size_t>(text.size()) + 1);
            for (qsizetype k = 0; k <= text.size(); ++k)
                layer.edges.push_back(line.isValid() ? line.cursorToX(static_cast<int>(k)) : 0.0);
        }
        const QPointF baseline(layer.pad, layer.pad + fm.ascent());
        const QSizeF size(layer.width + 2 * layer.pad, layer.height + 2 * layer.pad);
        layer.ink = DrawOne(text, font, baseline, size, ink, edge, scale);
        if (played) layer.sung = DrawOne(text, font, baseline, size, *played, edge, scale);
        return layer;
    }
};

namespace {

// Draws one row: its line (filled up to the sung point when karaoke is on)
// and its translation under it.
void DrawRow(QPainter& p, LyricGlyphCache& cache, double scale, const Row& row, const LyricFrame& frame,
             const LyricOptions& look, const QFont& mainFont, const QFont& smallFont) {
    const LyricLine* line = row.line >= 0 ? &frame.doc->lines[row.line] : nullptr;
    const QString text = (line ? line->text : row.text).left(kMaxDrawnChars);
    const QString translation = line && look.translation ? line->translation.left(kMaxDrawnChars) : QString();
    if (text.isEmpty() && translation.isEmpty()) return;

    const bool fills = line && row.current && look.karaoke;
    const QColor color = QColor::fromRgba(look.color), played = QColor::fromRgba(look.playedColor);
    // Five lines without karaoke mark the current line by colour alone.
    const QColor ink = row.current && look.lines == 5 && !look.karaoke ? played : color;
    const GlyphLayer main = cache.Get(text, mainFont, ink, fills ? &played : nullptr, look.edge, scale);
    const GlyphLayer small =
        translation.isEmpty() ? GlyphLayer{} : cache.Get(translation, smallFont, color, nullptr, look.edge, scale);
    const double smallH = translation.isEmpty() ? 0 : small.height;
    const double top = row.rect.top() + (row.rect.height() - main.height - smallH) / 2;
    const double fillX = fills ? AdvanceTo(main, std::min<double>(SungChars(*frame.doc, row.line, frame.timeMs), text.size())) : -1;

    auto leftFor = [&](double w) {
        const QRectF& r = row.rect;
        if (w > r.width()) {
            // Too wide: scroll so that the fill point stays in view.
            const double shift = fillX > 0 ? std::clamp(fillX - r.width() / 2, 0.0, w - r.width()) : 0;
            return r.left() - shift;
        }
        if (row.align & Qt::AlignLeft) return r.left() + main.indent;
        if (row.align & Qt::AlignRight) return r.right() - w - main.indent;
        return r.left() + (r.width() - w) / 2;
    };

    p.save();
    if (!row.current && look.lines != 1) p.setOpacity(kOtherLineOpacity);
    const double left = leftFor(main.width);
    const QPointF at(left - main.pad, top - main.pad);
    p.drawImage(at, main.ink);
    if (fillX > 0) {
        const double w = std::min(main.pad + fillX, main.sung.width() / scale);
        p.drawImage(QRectF(at.x(), at.y(), w, main.sung.height() / scale), main.sung,
                    QRectF(0, 0, w * scale, main.sung.height()));
    }
    if (!translation.isEmpty()) {
        const double tl = small.width > row.rect.width() ? row.rect.left() : leftFor(small.width);
        p.drawImage(QPointF(tl - small.pad, top + main.height - small.pad), small.ink);
    }
    p.restore();
}

}  // namespace

LyricPainter::LyricPainter() : cache_(std::make_unique<LyricGlyphCache>()) {}
LyricPainter::~LyricPainter() = default;

void LyricPainter::Paint(QPainter& p, const QRectF& box, const LyricFrame& frame, const LyricOptions& look) {
    const double scale = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    p.save();
    if (frame.paintBack) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        QColor back = QColor::fromRgba(frame.backColor);
        back.setAlpha(std::clamp(look.backAlpha, 0, 255));
        p.fillRect(box, back);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setClipRect(box, Qt::IntersectClip);
    const QFont mainFont = MainFont(look), smallFont = TranslationFont(look);
    for (const Row& row : LayoutRows(box, frame, look))
        DrawRow(p, *cache_, scale, row, frame, look, mainFont, smallFont);
    p.restore();
}

QImage LyricPainter::Render(QSize size, double scale, const LyricFrame& frame, const LyricOptions& look) {
    scale = std::clamp(scale, 0.5, 8.0);
    QImage image(QSize(static_cast<int>(std::ceil(size.width() * scale)), static_cast<int>(std::ceil(size.height() * scale))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    Paint(p, QRectF(QPointF(0, 0), QSizeF(size)), frame, look);
    return image;
}

void PaintLyricFrame(QPainter& p, const QRectF& box, const LyricFrame& frame, const LyricOptions& look) {
    LyricPainter().Paint(p, box, frame, look);
}

QImage RenderLyricFrame(QSize size, double scale, const LyricFrame& frame, const LyricOptions& look) {
    return LyricPainter().Render(size, scale, frame, look);
}

int LyricRowAt(const QRectF& box, const LyricFrame& frame, const LyricOptions& look, QPointF point) {
    if (!box.contains(point)) return -1;
    for (const Row& row : LayoutRows(box, frame, look))
        if (row.line >= 0 && row.rect.contains(point)) return row.line;
    return -1;
}

}  // namespace tavo
