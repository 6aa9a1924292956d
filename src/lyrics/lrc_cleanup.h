#pragma once
// The lyrics service: the request address for a song, and turning its reply
// into lyric lines.
//
// The service answers with an XML document whose lyric text sits in one
// CDATA section, in LRC style ("[01:23.45]text" lines). The lines keep
// their time tags; the line for a play position is chosen later (see
// lyric_timing.h).

#include <QString>
#include <QStringList>

#include <optional>

namespace tavo {

// The song and singer asked for, taken from a display name "title ┈ artist"
// (or a bare title, whose singer is empty). The singer ends at a second
// " ┈ " and at the first backslash.
struct LrcSongParts {
    QString song;
    QString singer;
};
LrcSongParts SplitLrcSongName(const QString& name);

// host + "/fcgi-bin/fcg_download_lrc.q?song=" + song + "&singer=" + singer
// + "&down=2". Song and singer go in as written (the download control sends
// non-ASCII characters in code page 936), except the few characters that
// would change the query's shape ("%", "&", "#", "+"), which are escaped.
QString LrcRequestAddress(const QString& host, const QString& name);

// The lyric lines of a reply, given as the lines of the downloaded file.
// Every line break (CR LF, lone CR, lone LF) and each of the tags "<p>",
// "<P>", "</br>", "<br>", "<BR>", "</BR>", "</ br>", "</ BR>" ends a line;
// the lyric text is what stands between the first "<![CDATA[" and the first
// "]]>" after it. Every piece is kept, empty ones included; an empty CDATA
// section gives no lines. nullopt when the reply is empty or has no
// complete CDATA section.
std::optional<QStringList> CleanLyricsReply(const QStringList& replyLines);

// Status texts of the lyrics window.
QString LrcFetchingText();                      // "正在获取歌词..."
QString LrcPlayingText(const QString& name);    // "正在播放：" + name
QString LrcNotFoundText(const QString& name);   // "没有找到“" + name + "”的歌词"

}  // namespace tavo
