#include "lyrics/ui/lrc_stage.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavo {
namespace {

constexpr int kOneLineHeight = 28;
// The five-line view rises for this long after a line begins (the painter's
// scroll time, with a frame to spare).
constexpr int kRiseMs = 340;

}  // namespace

LrcStage::LrcStage(QWidget* parent) : QLabel(parent) {
    noteTimer_.setSingleShot(true);
    noteTimer_.setInterval(kNoteMs);
    connect(&noteTimer_, &QTimer::timeout, this, [this] {
        note_.clear();
        update();
    });
}

void LrcStage::SetDoc(LyricDoc doc) {
    doc_ = std::move(doc);
    shownLine_ = -1;
    update();
}

void LrcStage::SetLook(const LyricOptions& look) {
    look_ = look;
    update();
}

LyricFrame LrcStage::Frame() const {
    LyricFrame f;
    f.doc = &doc_;
    f.timeMs = timeMs_;
    f.status = text();
    f.paintBack = false;  // the window's background is under the text
    return f;
}

bool LrcStage::Moving() const {
    return doc_.synced && (look_.karaoke || look_.lines == 5);
}

void LrcStage::SetLyricTimeMs(int timeMs) {
    timeMs_ = std::max(timeMs, 0);
    // LineAt applies the file's offset to a play position; the lyric time
    // has it already.
    const int line = tavo::LineAt(doc_, timeMs_ - doc_.offsetMs);
    bool changed = line != shownLine_;
    if (!changed && line >= 0 && doc_.synced) {
        const int since = timeMs_ - doc_.lines[static_cast<size_t>(line)].timeMs;
        changed = look_.karaoke || (look_.lines == 5 && since < kRiseMs);
    }
    const bool sameLine = line == shownLine_;
    shownLine_ = line;
    if (!changed) return;
    if (!sameLine || line < 0 || !look_.karaoke) {
        update();
        return;
    }
    // Only the fill moves: the current line's row alone is drawn again. The
    // painter splits the area into equal rows; the current line sits in the
    // middle row of five (once risen) and in row line % 2 of two.
    const int since = timeMs_ - doc_.lines[static_cast<size_t>(line)].timeMs;
    const QRect box = contentsRect();
    if (look_.lines == 5 && since >= kRiseMs) {
        update(QRect(box.left(), box.top() + box.height() * 2 / 5 - 1, box.width(), box.height() / 5 + 3));
    } else if (look_.lines == 2) {
        const int half = box.height() / 2;
        update(QRect(box.left(), box.top() + (line % 2) * half - 1, box.width(), box.height() - half + 2));
    } else {
        update();
    }
}

void LrcStage::ShowNote(const QString& note) {
    note_ = note;
    noteTimer_.start();
    update();
}

int LrcStage::LineAt(QPoint point) const {
    return LyricRowAt(QRectF(rect()), Frame(), look_, QPointF(point));
}

void LrcStage::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter p(this);
    painter_.Paint(p, QRectF(contentsRect()), Frame(), look_);
    if (note_.isEmpty()) return;
    QFont f = font();
    f.setPixelSize(std::max(kMinLyricFontPx, look_.fontPx * 3 / 4));
    f.setBold(true);
    p.setFont(f);
    const QFontMetrics fm(f);
    const QRect box(width() - fm.horizontalAdvance(note_) - 10, 0, fm.horizontalAdvance(note_) + 8, fm.height() + 2);
    QColor back = QColor::fromRgba(look_.color);
    back.setAlpha(200);
    p.fillRect(box, back);
    p.setPen(qGray(back.rgb()) > 128 ? Qt::black : Qt::white);
    p.drawText(box, Qt::AlignCenter, note_);
}

int LrcStageHeight(const LyricOptions& look, bool translated) {
    QFont main;
    if (!look.fontFamily.isEmpty()) main.setFamily(look.fontFamily);
    main.setPixelSize(std::clamp(look.fontPx, kMinLyricFontPx, kMaxLyricFontPx));
    main.setBold(true);
    double row = QFontMetricsF(main).height();
    if (translated && look.translation) {
        QFont small = main;
        small.setPixelSize(std::max(kMinLyricFontPx, static_cast<int>(std::lround(main.pixelSize() * 0.7))));
        row += QFontMetricsF(small).height();
    }
    const int lines = look.lines == 2 || look.lines == 5 ? look.lines : 1;
    return std::max(kOneLineHeight, static_cast<int>(std::ceil(row * lines + 4)));
}

}  // namespace tavo
