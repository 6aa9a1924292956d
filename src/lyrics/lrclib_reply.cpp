#include "lyrics/lrclib_reply.h"

#include "lyrics/lrc_cleanup.h"
#include "sources/text_codecs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <utility>
#include <optional>

namespace tavo {

namespace {

constexpr qsizetype kMaxLibraryName = 500;
constexpr double kMaxDurationS = 24 * 3600;

std::optional<QString> Text(const QJsonObject& o, const char* key, qsizetype maxLength) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return QString();
    if (!v.isString()) return std::nullopt;
    QString s = v.toString();
    if (s.size() > maxLength) return std::nullopt;
    return s;
}

// One track object, or nullopt when a field has the wrong type.
std::optional<LibraryTrack> ReadTrack(const QJsonObject& o) {
    LibraryTrack t;
    const QJsonValue id = o.value(QLatin1String("id"));
    if (!id.isUndefined() && !id.isNull()) {
        if (!id.isDouble() || id.toDouble() < 0 || id.toDouble() > 9e15) return std::nullopt;
        t.id = static_cast<std::int64_t>(id.toDouble());
    }
    const QJsonValue duration = o.value(QLatin1String("duration"));
    if (!duration.isUndefined() && !duration.isNull()) {
        const double d = duration.toDouble(-1);
        if (!duration.isDouble() || !std::isfinite(d) || d < 0 || d > kMaxDurationS) return std::nullopt;
        t.duration = d;
    }
    const QJsonValue instrumental = o.value(QLatin1String("instrumental"));
    if (!instrumental.isUndefined() && !instrumental.isNull()) {
        if (!instrumental.isBool()) return std::nullopt;
        t.instrumental = instrumental.toBool();
    }
    const auto track = Text(o, "trackName", kMaxLibraryName);
    const auto artist = Text(o, "artistName", kMaxLibraryName);
    const auto album = Text(o, "albumName", kMaxLibraryName);
    const auto plain = Text(o, "plainLyrics", kMaxLibraryText);
    const auto synced = Text(o, "syncedLyrics", kMaxLibraryText);
    if (!track || !artist || !album || !plain || !synced) return std::nullopt;
    t.trackName = *track;
    t.artistName = *artist;
    t.albumName = *album;
    t.plainLyrics = *plain;
    t.syncedLyrics = *synced;
    return t;
}

QString QueryValue(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

// A title or artist without its bracketed annotations, spaces collapsed.
QString WithoutAnnotations(QString text) {
    static const std::pair<const char16_t*, const char16_t*> kBrackets[] = {
        {u"(", u")"}, {u"（", u"）"}, {u"[", u"]"}, {u"【", u"】"},
    };
    // RemoveBracketed goes on from where its last group closed, so a group
    // that slid before that point needs another pass; each pass that changes
    // the text makes it shorter.
    for (QString before; before != text;) {
        before = text;
        for (const auto& [open, close] : kBrackets)
            text = RemoveBracketed(text, QString::fromUtf16(open), QString::fromUtf16(close));
    }
    return text.simplified();
}

}  // namespace

QString LibraryErrorText(LibraryError error) {
    switch (error) {
        case LibraryError::kNone: return {};
        case LibraryError::kNotJson: return QStringLiteral("歌词库的回复无法解析");
        case LibraryError::kWrongShape: return QStringLiteral("歌词库的回复格式不对");
        case LibraryError::kWrongType: return QStringLiteral("歌词库的回复含有错误类型的字段");
        case LibraryError::kNotFound: return QStringLiteral("歌词库中没有这首歌");
    }
    return {};
}

LibraryGetReply ParseLibraryGet(const QByteArray& json) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) return {LibraryError::kNotJson, {}};
    if (!doc.isObject()) return {LibraryError::kWrongShape, {}};
    const QJsonObject o = doc.object();
    const QJsonValue code = o.value(QLatin1String("code"));
    if (code.isDouble() && code.toInt() == 404) return {LibraryError::kNotFound, {}};
    if (o.value(QLatin1String("name")).toString() == QLatin1String("TrackNotFound")) return {LibraryError::kNotFound, {}};
    auto track = ReadTrack(o);
    if (!track) return {LibraryError::kWrongType, {}};
    return {LibraryError::kNone, std::move(*track)};
}

LibrarySearchReply ParseLibrarySearch(const QByteArray& json) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) return {LibraryError::kNotJson, {}};
    if (!doc.isArray()) return {LibraryError::kWrongShape, {}};
    const QJsonArray entries = doc.array();
    LibrarySearchReply reply;
    const qsizetype n = std::min<qsizetype>(entries.size(), kMaxSearchResults);
    reply.tracks.reserve(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        if (!entries[i].isObject()) return {LibraryError::kWrongType, {}};
        auto track = ReadTrack(entries[i].toObject());
        if (!track) return {LibraryError::kWrongType, {}};
        reply.tracks.push_back(std::move(*track));
    }
    return reply;
}

int NearestByDuration(const std::vector<LibraryTrack>& tracks, int durationS) {
    int best = -1;
    double bestGap = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (!tracks[i].HasLyrics()) continue;
        if (durationS <= 0) return static_cast<int>(i);
        const double gap = std::abs(tracks[i].duration - durationS);
        if (gap > kNearestDurationS) continue;
        if (best < 0 || gap < bestGap) {
            best = static_cast<int>(i);
            bestGap = gap;
        }
    }
    return best;
}

LibraryQuery LibraryQueryFor(const QString& displayName, const QString& album, int durationS) {
    const LrcSongParts parts = SplitLrcSongName(displayName);
    LibraryQuery query;
    query.title = WithoutAnnotations(parts.song);
    if (query.title.isEmpty()) query.title = parts.song.simplified();
    query.artist = WithoutAnnotations(parts.singer);
    query.album = album.simplified();
    query.durationS = std::max(0, durationS);
    return query;
}

QString LibraryGetPath(const LibraryQuery& query) {
    QString path = QStringLiteral("/api/get?track_name=") + QueryValue(query.title) + QStringLiteral("&artist_name=") +
                   QueryValue(query.artist);
    path += QStringLiteral("&album_name=") + QueryValue(query.album);
    if (query.durationS > 0) path += QStringLiteral("&duration=%1").arg(query.durationS);
    return path;
}

QString LibrarySearchPath(const LibraryQuery& query) {
    QString path = QStringLiteral("/api/search?track_name=") + QueryValue(query.title);
    if (!query.artist.isEmpty()) path += QStringLiteral("&artist_name=") + QueryValue(query.artist);
    return path;
}

}  // namespace tavo
