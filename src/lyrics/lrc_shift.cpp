#include "lyrics/lrc_shift.h"

#include "lyrics/lyric_doc.h"

#include <QRegularExpression>

#include <algorithm>

namespace tavo {

namespace {

// One time in a tag: minutes, seconds, an optional fraction of up to three digits.
const QRegularExpression& TimeTag() {
    static const QRegularExpression re(QStringLiteral("([\\[<])(\\d{1,3}):(\\d{1,2})(?:[.:](\\d{1,3}))?([\\]>])"));
    return re;
}

const QRegularExpression& OffsetTag() {
    static const QRegularExpression re(QStringLiteral("^\\s*\\[offset:[^\\]]*\\]\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

int TagMs(const QRegularExpressionMatch& m) {
    int ms = 0;
    const QString fraction = m.captured(4);
    if (!fraction.isEmpty()) {
        ms = fraction.toInt();
        for (qsizetype i = fraction.size(); i < 3; ++i) ms *= 10;
    }
    return m.captured(2).toInt() * 60000 + m.captured(3).toInt() * 1000 + ms;
}

QString TagText(int ms, QChar open, QChar close) {
    const int cs = ms / 10;
    return QStringLiteral("%1%2:%3.%4%5")
        .arg(open)
        .arg(cs / 6000, 2, 10, QLatin1Char('0'))
        .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs % 100, 2, 10, QLatin1Char('0'))
        .arg(close);
}

// The line with each time tag moved by `shiftMs`. Only the tags that lead
// the line (time tags, one after another) and word times inside it are
// times; a "[12:30]" inside the text after the leading tags is not.
// `beforeStart` tells whether the line has leading tags and every one of
// them moved before the start (each then reads 0).
QString Shifted(const QString& line, int shiftMs, bool& beforeStart) {
    QString out;
    out.reserve(line.size() + 8);
    qsizetype at = 0;
    bool leading = true;
    int leadingTags = 0, leadingBefore = 0;
    QRegularExpressionMatchIterator it = TimeTag().globalMatch(line);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const bool square = m.captured(1) == QLatin1String("[");
        const bool pair = square == (m.captured(5) == QLatin1String("]"));
        const bool isLeading = leading && square && line.mid(at, m.capturedStart() - at).trimmed().isEmpty();
        if (!pair || (square && !isLeading)) {
            leading = false;
            continue;
        }
        leading = isLeading;
        const int ms = TagMs(m) - shiftMs;
        if (isLeading) {
            ++leadingTags;
            if (ms < 0) ++leadingBefore;
        }
        out += QStringView(line).mid(at, m.capturedStart() - at);
        out += TagText(std::max(0, ms), m.captured(1).front(), m.captured(5).front());
        at = m.capturedEnd();
    }
    out += QStringView(line).mid(at);
    beforeStart = leadingTags > 0 && leadingBefore == leadingTags;
    return out;
}

}  // namespace

QStringList ApplyLrcOffset(const QStringList& lines) {
    const int offset = ParseLyricDoc(lines.filter(OffsetTag()).join(QLatin1Char('\n'))).offsetMs;
    if (offset == 0) return lines;
    // Lines moved wholly before the start would all read 0 and be taken for
    // one line with its translations: only the last of them (the one sung
    // when the song starts) is kept.
    QStringList out;
    out.reserve(lines.size());
    qsizetype lastBefore = -1;
    for (const QString& line : lines) {
        if (OffsetTag().match(line).hasMatch()) continue;
        bool beforeStart = false;
        out.append(Shifted(line, offset, beforeStart));
        if (!beforeStart) continue;
        if (lastBefore >= 0) out.removeAt(lastBefore);
        lastBefore = out.size() - 1;
    }
    return out;
}

}  // namespace tavo
