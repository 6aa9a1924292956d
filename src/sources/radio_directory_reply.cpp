#include "sources/radio_directory_reply.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace tavo {

namespace {

const QString kListSeparator = QStringLiteral("<|>");

// The top-level array of a reply, or the error that refuses it.
DirectoryError ReadArray(const QByteArray& json, int maxEntries, QJsonArray& out) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) return DirectoryError::kNotJson;
    if (!doc.isArray()) return DirectoryError::kNotArray;
    out = doc.array();
    if (out.size() > maxEntries) return DirectoryError::kTooMany;
    return DirectoryError::kNone;
}

// A text field: absent or null reads empty; anything but a string is the
// wrong type. The text loses control characters and the list separator and
// is cut to `maxLength`.
std::optional<QString> TextField(const QJsonObject& o, const char* key, int maxLength = kMaxStationText) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return QString();
    if (!v.isString()) return std::nullopt;
    QString s = v.toString().left(maxLength);
    s.replace(kListSeparator, QStringLiteral(" "));
    for (QChar& c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    return s.trimmed();
}

// A count field: absent or null reads 0; a non-number, a fraction, a
// negative or a count beyond int is the wrong type.
std::optional<int> CountField(const QJsonObject& o, const char* key) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return 0;
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d < 0 || d > INT_MAX || d != std::floor(d)) return std::nullopt;
    return static_cast<int>(d);
}

// An http or https address with a host, as written; empty otherwise.
QString WebAddress(const QString& address) {
    if (address.isEmpty()) return {};
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return address;
}

bool IsServerName(const QString& name) {
    if (name.isEmpty() || name.size() > 253) return false;
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    const QString host = colon < 0 ? name : name.left(colon);
    if (host.isEmpty() || host.startsWith(QLatin1Char('.')) || host.startsWith(QLatin1Char('-'))) return false;
    for (const QChar c : host)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('-') && c != QLatin1Char('.')) return false;
    if (colon < 0) return true;
    bool ok = false;
    const int port = name.mid(colon + 1).toInt(&ok);
    return ok && port > 0 && port < 65536;
}

// Percent-encodes a query value as UTF-8.
QString QueryValue(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

}  // namespace

QString DirectoryErrorText(DirectoryError error) {
    switch (error) {
        case DirectoryError::kNone: return {};
        case DirectoryError::kNotJson: return QStringLiteral("电台目录的回复无法解析");
        case DirectoryError::kNotArray: return QStringLiteral("电台目录的回复格式不对");
        case DirectoryError::kTooMany: return QStringLiteral("电台目录的回复条目过多");
        case DirectoryError::kWrongType: return QStringLiteral("电台目录的回复含有错误类型的字段");
        case DirectoryError::kNoServers: return QStringLiteral("电台目录没有可用的服务器");
    }
    return {};
}

ServerListReply ParseServerList(const QByteArray& json) {
    ServerListReply reply;
    QJsonArray entries;
    reply.error = ReadArray(json, kMaxDirectoryServers, entries);
    if (reply.error != DirectoryError::kNone) return reply;
    QSet<QString> seen;
    for (const QJsonValue& entry : entries) {
        if (!entry.isObject()) return {DirectoryError::kWrongType, {}};
        const auto name = TextField(entry.toObject(), "name", 260);
        if (!name) return {DirectoryError::kWrongType, {}};
        const QString host = name->toLower();
        if (!IsServerName(host) || seen.contains(host)) continue;
        seen.insert(host);
        reply.servers.append(host);
    }
    if (reply.servers.isEmpty()) reply.error = DirectoryError::kNoServers;
    return reply;
}

StationPageReply ParseStationPage(const QByteArray& json) {
    StationPageReply reply;
    QJsonArray entries;
    reply.error = ReadArray(json, kMaxStationsPerPage, entries);
    if (reply.error != DirectoryError::kNone) return reply;
    reply.stations.reserve(static_cast<size_t>(entries.size()));
    for (const QJsonValue& entry : entries) {
        if (!entry.isObject()) return {DirectoryError::kWrongType, {}, 0};
        const QJsonObject o = entry.toObject();
        const auto uuid = TextField(o, "stationuuid");
        const auto name = TextField(o, "name");
        const auto url = TextField(o, "url", kMaxStationAddress);
        const auto resolved = TextField(o, "url_resolved", kMaxStationAddress);
        const auto country = TextField(o, "country");
        const auto code = TextField(o, "countrycode");
        const auto language = TextField(o, "language");
        const auto codec = TextField(o, "codec");
        const auto tags = TextField(o, "tags");
        const auto favicon = TextField(o, "favicon", kMaxStationAddress);
        const auto bitrate = CountField(o, "bitrate");
        const auto votes = CountField(o, "votes");
        const auto clicks = CountField(o, "clickcount");
        if (!uuid || !name || !url || !resolved || !country || !code || !language || !codec || !tags || !favicon ||
            !bitrate || !votes || !clicks)
            return {DirectoryError::kWrongType, {}, 0};
        RadioStation s;
        s.url = WebAddress(*url);
        s.urlResolved = WebAddress(*resolved);
        if (s.PlayAddress().isEmpty()) {
            ++reply.skipped;
            continue;
        }
        s.stationuuid = *uuid;
        s.name = name->isEmpty() ? s.PlayAddress().left(kMaxStationText) : *name;
        s.country = *country;
        s.countrycode = *code;
        s.language = *language;
        s.codec = *codec;
        s.tags = *tags;
        s.favicon = WebAddress(*favicon);
        s.bitrate = *bitrate;
        s.votes = *votes;
        s.clickcount = *clicks;
        reply.stations.push_back(std::move(s));
    }
    return reply;
}

QString StationSearchPath(const StationQuery& query) {
    QString path = QStringLiteral("/json/stations/search?");
    const auto add = [&path](const char* key, const QString& value) {
        if (value.isEmpty()) return;
        path += QLatin1String(key) + QLatin1Char('=') + QueryValue(value) + QLatin1Char('&');
    };
    add("name", query.name.trimmed());
    add("countrycode", query.countrycode.trimmed());
    add("language", query.language.trimmed());
    add("tag", query.tag.trimmed());
    add("order", query.order == StationOrder::kClicks ? QStringLiteral("clickcount") : QStringLiteral("votes"));
    add("reverse", query.reverse ? QStringLiteral("true") : QStringLiteral("false"));
    path += QStringLiteral("hidebroken=true");
    path += QStringLiteral("&limit=%1").arg(std::clamp(query.limit, 1, kMaxStationsPerPage));
    path += QStringLiteral("&offset=%1").arg(std::max(0, query.offset));
    return path;
}

QString StationClickPath(const QString& stationuuid) {
    if (stationuuid.isEmpty() || stationuuid.size() > 64) return {};
    for (const QChar c : stationuuid)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('-')) return {};
    return QStringLiteral("/json/url/") + stationuuid;
}

QString RadioListLine(const RadioStation& station) { return station.name + kListSeparator + station.PlayAddress(); }

}  // namespace tavo
