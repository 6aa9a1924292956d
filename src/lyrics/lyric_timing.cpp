#include "lyrics/lyric_timing.h"

#include "sources/text_codecs.h"

#include <algorithm>

namespace tavo {

int ListIdx(const QStringList& lines, const QString& position, int count) {
    const qsizetype n = std::min<qsizetype>(lines.size(), std::max(count, 0));
    for (qsizetype i = 0; i < n; ++i)
        if (lines[i].contains(position)) return static_cast<int>(i);
    return -1;
}

QString LyricLineText(const QString& line) {
    QString text = line.mid(line.lastIndexOf(QLatin1Char(']')) + 1);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return TrimSpaces(text);
}

}  // namespace tavo
