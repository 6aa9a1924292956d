#include "lyrics/lrc_cleanup.h"

#include "lyrics/line_breaks.h"
#include "sources/get_song_list.h"

namespace tavo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCdataOpen = QStringLiteral("<![CDATA[");
const QString kCdataClose = QStringLiteral("]]>");

// Query values go in as written, but a character that would end the value
// ("&"), start the fragment ("#"), read as a space ("+") or start an escape
// ("%") must not change which song is asked for.
QString EscapeQueryValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
            case u'%': out += QStringLiteral("%25"); break;
            case u'&': out += QStringLiteral("%26"); break;
            case u'#': out += QStringLiteral("%23"); break;
            case u'+': out += QStringLiteral("%2B"); break;
            default: out += c; break;
        }
    }
    return out;
}

// One CR LF for every line break: the reader already split at CR LF, CR and
// LF, but a line handed in by another caller may still hold some.
void AppendLineWithBreak(QString& text, const QString& line) {
    for (const QStringView part : BreakLines(line)) {
        text += part;
        text += kCrLf;
    }
}

}  // namespace

LrcSongParts SplitLrcSongName(const QString& name) {
    const qsizetype sep = name.indexOf(kTitleArtistSep);
    if (sep < 0) return {name, QString()};
    LrcSongParts parts;
    parts.song = name.left(sep);
    const qsizetype from = sep + kTitleArtistSep.size();
    const qsizetype next = name.indexOf(kTitleArtistSep, from);
    parts.singer = next < 0 ? name.mid(from) : name.mid(from, next - from);
    const qsizetype slash = parts.singer.indexOf(QLatin1Char('\\'));
    if (slash >= 0) parts.singer.truncate(slash);
    return parts;
}

QString LrcRequestAddress(const QString& host, const QString& name) {
    const LrcSongParts parts = SplitLrcSongName(name);
    return host + QStringLiteral("/fcgi-bin/fcg_download_lrc.q?song=") + EscapeQueryValue(parts.song) +
           QStringLiteral("&singer=") + EscapeQueryValue(parts.singer) + QStringLiteral("&down=2");
}

std::optional<QStringList> CleanLyricsReply(const QStringList& replyLines) {
    QString text;
    for (const QString& line : replyLines) AppendLineWithBreak(text, line);

    static const QString kTags[] = {
        QStringLiteral("<p>"),  QStringLiteral("<P>"),  QStringLiteral("</br>"),  QStringLiteral("<br>"),
        QStringLiteral("<BR>"), QStringLiteral("</BR>"), QStringLiteral("</ br>"), QStringLiteral("</ BR>"),
    };
    for (const QString& tag : kTags) text.replace(tag, kCrLf);

    if (text.isEmpty()) return std::nullopt;
    const qsizetype open = text.indexOf(kCdataOpen);
    if (open < 0) return std::nullopt;
    const qsizetype start = open + kCdataOpen.size();
    const qsizetype close = text.indexOf(kCdataClose, start);
    if (close < 0) return std::nullopt;

    const QString lyric = text.mid(start, close - start);
    if (lyric.isEmpty()) return QStringList();
    return lyric.split(kCrLf, Qt::KeepEmptyParts);
}

QString LrcFetchingText() { return QStringLiteral("正在获取歌词..."); }

QString LrcPlayingText(const QString& name) { return QStringLiteral("正在播放：") + name; }

QString LrcNotFoundText(const QString& name) {
    return QStringLiteral("没有找到“") + name + QStringLiteral("”的歌词");
}

}  // namespace tavo
