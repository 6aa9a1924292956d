#include "sources/playlist_formats.h"

#include "platform/ansi_text.h"
#include "platform/bounded_file.h"
#include "platform/codepage.h"

#include <QMap>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

// Playlist text: a UTF-8 byte-order mark or well-formed UTF-8 is UTF-8;
// anything else was written in the old code page.
QString DecodePlaylistText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    if (platform::IsValidUtf8(bytes)) return QString::fromUtf8(bytes);
    return platform::DecodeGb18030(bytes);
}

QStringList Lines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
        l = l.trimmed();
    }
    return lines;
}

// A line holding control characters or undecodable bytes is not text a
// playlist writer produced: binary garbage.
bool IsCleanText(const QString& line) {
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || u == 0x7F || u == 0xFFFD) return false;
    }
    return true;
}

// "Artist - Title" as an #EXTINF or PLS title gives; without " - " it is
// the title alone.
void SplitArtistTitle(const QString& text, PlaylistEntry& e) {
    const qsizetype dash = text.indexOf(QStringLiteral(" - "));
    if (dash < 0) {
        e.title = text.trimmed();
        return;
    }
    e.artist = text.left(dash).trimmed();
    e.title = text.mid(dash + 3).trimmed();
}

// Whole seconds as milliseconds; negative or unreadable counts are unknown.
int SecondsToMs(const QString& text) {
    bool ok = false;
    const double s = text.trimmed().toDouble(&ok);
    if (!ok || s < 0 || s > 1e6) return -1;
    return static_cast<int>(s * 1000.0);
}

bool Add(PlaylistRead& out, PlaylistEntry e) {
    if (static_cast<int>(out.entries.size()) >= kMaxPlaylistEntries) {
        out.truncated = true;
        return false;
    }
    out.entries.push_back(std::move(e));
    return true;
}

void ReadM3u(const QString& text, const fs::path& folder, PlaylistRead& out) {
    PlaylistEntry pending;
    bool havePending = false;
    for (const QString& line : Lines(text)) {
        if (line.isEmpty()) continue;
        if (!IsCleanText(line)) {
            ++out.skipped;
            havePending = false;
            continue;
        }
        if (line.startsWith(QLatin1Char('#'))) {
            if (!line.startsWith(QStringLiteral("#EXTINF:"), Qt::CaseInsensitive)) continue;
            pending = PlaylistEntry{};
            const QString info = line.mid(8);
            const qsizetype comma = info.indexOf(QLatin1Char(','));
            if (comma < 0) {
                ++out.skipped;
                havePending = false;
                continue;
            }
            // The seconds may be followed by attributes (key="value").
            pending.durationMs = SecondsToMs(info.left(comma).section(QLatin1Char(' '), 0, 0));
            SplitArtistTitle(info.mid(comma + 1), pending);
            havePending = true;
            continue;
        }
        PlaylistEntry e = havePending ? pending : PlaylistEntry{};
        havePending = false;
        if (!ResolveLocation(line, folder, e)) {
            ++out.skipped;
            continue;
        }
        if (!Add(out, std::move(e))) return;
    }
}

void ReadPls(const QString& text, const fs::path& folder, PlaylistRead& out) {
    static const QRegularExpression kKey(QStringLiteral("^(File|Title|Length)(\\d{1,6})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    struct Slot {
        QString file, title, length;
    };
    QMap<int, Slot> bySlot;
    for (const QString& line : Lines(text)) {
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (!IsCleanText(line)) {
            ++out.skipped;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) continue;  // [playlist]
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            ++out.skipped;
            continue;
        }
        const QString key = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        if (key.compare(QStringLiteral("NumberOfEntries"), Qt::CaseInsensitive) == 0 ||
            key.compare(QStringLiteral("Version"), Qt::CaseInsensitive) == 0)
            continue;
        const auto m = kKey.match(key);
        const int n = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (n < 1 || n > kMaxPlaylistEntries) {
            ++out.skipped;
            continue;
        }
        if (!bySlot.contains(n) && bySlot.size() >= kMaxPlaylistEntries) {
            out.truncated = true;
            continue;
        }
        Slot& s = bySlot[n];
        const QString kind = m.captured(1).toLower();
        (kind == QLatin1String("file") ? s.file : kind == QLatin1String("title") ? s.title : s.length) = value;
    }
    for (auto it = bySlot.cbegin(); it != bySlot.cend(); ++it) {
        PlaylistEntry e;
        if (!it->title.isEmpty()) SplitArtistTitle(it->title, e);
        if (!it->length.isEmpty()) e.durationMs = SecondsToMs(it->length);
        if (it->file.isEmpty() || !ResolveLocation(it->file, folder, e)) {
            ++out.skipped;
            continue;
        }
        if (!Add(out, std::move(e))) return;
    }
}

void ReadXspf(const QByteArray& bytes, const fs::path& folder, PlaylistRead& out) {
    QXmlStreamReader xml(bytes);
    bool inTrack = false;
    PlaylistEntry e;
    QString location;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (name == QLatin1String("track")) {
                inTrack = true;
                e = PlaylistEntry{};
                location.clear();
            } else if (inTrack && name == QLatin1String("location") && location.isEmpty()) {
                location = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (inTrack && name == QLatin1String("title")) {
                e.title = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (inTrack && name == QLatin1String("creator")) {
                e.artist = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (inTrack && name == QLatin1String("duration")) {
                bool ok = false;
                const qlonglong ms = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toLongLong(&ok);
                e.durationMs = ok && ms >= 0 && ms < 1000000000 ? static_cast<int>(ms) : -1;
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("track")) {
            inTrack = false;
            if (location.isEmpty() || !ResolveLocation(location, folder, e)) {
                ++out.skipped;
                continue;
            }
            if (!Add(out, std::move(e))) return;
        }
    }
    // A document broken in the middle keeps the tracks before the break; the
    // track it broke in counts as skipped.
    if (xml.hasError() && inTrack) ++out.skipped;
}

bool IsAcceptedScheme(const QString& scheme) {
    static const QStringList kSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mms"),
                                         QStringLiteral("rtsp"), QStringLiteral("rtmp")};
    return kSchemes.contains(scheme.toLower());
}

QString Oneline(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

}  // namespace

bool ResolveLocation(const QString& raw, const fs::path& folder, PlaylistEntry& e) {
    static const QRegularExpression kScheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    static const QRegularExpression kDrive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    const QString text = raw.trimmed();
    if (text.isEmpty() || !IsCleanText(text)) return false;
    if (kDrive.match(text).hasMatch()) return false;  // another system's drive path
    const auto scheme = kScheme.match(text);
    if (scheme.hasMatch()) {
        const QUrl url(text, QUrl::StrictMode);
        if (!url.isValid()) return false;
        if (scheme.captured(1).compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0) {
            const QString local = url.toLocalFile();
            if (local.isEmpty() || !local.startsWith(QLatin1Char('/'))) return false;
            e.location = platform::PathToQString(fs::path(platform::QStringToPath(local)).lexically_normal());
            e.isAddress = false;
            return true;
        }
        if (!IsAcceptedScheme(url.scheme()) || url.host().isEmpty()) return false;
        e.location = text;
        e.isAddress = true;
        return true;
    }
    QString path = text;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    fs::path p = platform::QStringToPath(path);
    if (p.is_relative()) p = folder / p;
    e.location = platform::PathToQString(p.lexically_normal());
    e.isAddress = false;
    return true;
}

PlaylistFormat DetectPlaylistFormat(const QByteArray& bytes, const fs::path& name) {
    const QByteArray head = bytes.left(512).trimmed();
    QByteArray h = head.startsWith("\xEF\xBB\xBF") ? head.mid(3) : head;
    if (h.startsWith("#EXTM3U")) return PlaylistFormat::M3u;
    if (h.toLower().startsWith("[playlist]")) return PlaylistFormat::Pls;
    if (h.startsWith("<?xml") || h.startsWith("<playlist")) {
        if (h.contains("<playlist")) return PlaylistFormat::Xspf;
    }
    const QString ext = platform::PathToQString(name.extension()).toLower();
    if (ext == QLatin1String(".m3u") || ext == QLatin1String(".m3u8")) return PlaylistFormat::M3u;
    if (ext == QLatin1String(".pls")) return PlaylistFormat::Pls;
    if (ext == QLatin1String(".xspf")) return PlaylistFormat::Xspf;
    return PlaylistFormat::Unknown;
}

PlaylistRead ReadPlaylist(const QByteArray& bytes, PlaylistFormat format, const fs::path& folder) {
    PlaylistRead out;
    out.format = format;
    if (bytes.size() > kMaxPlaylistBytes) {
        out.error = PlaylistError::TooLarge;
        return out;
    }
    switch (format) {
        case PlaylistFormat::M3u: ReadM3u(DecodePlaylistText(bytes), folder, out); break;
        case PlaylistFormat::Pls: ReadPls(DecodePlaylistText(bytes), folder, out); break;
        case PlaylistFormat::Xspf: ReadXspf(bytes, folder, out); break;
        case PlaylistFormat::Unknown: out.error = PlaylistError::NotPlaylist; break;
    }
    return out;
}

PlaylistRead ReadPlaylistFile(const fs::path& file) {
    PlaylistRead out;
    const platform::BoundedRead read = platform::ReadFileUpTo(file, kMaxPlaylistBytes);
    switch (read.error) {
        case platform::BoundedReadError::None: break;
        case platform::BoundedReadError::Missing: out.error = PlaylistError::Missing; return out;
        case platform::BoundedReadError::TooLarge: out.error = PlaylistError::TooLarge; return out;
        case platform::BoundedReadError::Unreadable: out.error = PlaylistError::Unreadable; return out;
    }
    return ReadPlaylist(read.bytes, DetectPlaylistFormat(read.bytes, file), file.parent_path());
}

QByteArray WriteM3u8(const std::vector<PlaylistEntry>& entries) {
    QString text = QStringLiteral("#EXTM3U\n");
    for (const PlaylistEntry& e : entries) {
        if (e.location.isEmpty() || e.location.contains(QLatin1Char('\n')) || e.location.contains(QLatin1Char('\r')))
            continue;
        const QString name = e.artist.isEmpty() ? e.title : e.artist + QStringLiteral(" - ") + e.title;
        const int secs = e.durationMs < 0 ? -1 : (e.durationMs + 500) / 1000;
        text += QStringLiteral("#EXTINF:%1,%2\n").arg(secs).arg(Oneline(name));
        text += e.location + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QByteArray WriteXspf(const std::vector<PlaylistEntry>& entries) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("http://xspf.org/ns/0/"));
    xml.writeStartElement(QStringLiteral("trackList"));
    for (const PlaylistEntry& e : entries) {
        if (e.location.isEmpty()) continue;
        xml.writeStartElement(QStringLiteral("track"));
        const QString location = e.isAddress
                                     ? e.location
                                     : QString::fromUtf8(QUrl::fromLocalFile(e.location).toEncoded());
        xml.writeTextElement(QStringLiteral("location"), location);
        if (!e.title.isEmpty()) xml.writeTextElement(QStringLiteral("title"), e.title);
        if (!e.artist.isEmpty()) xml.writeTextElement(QStringLiteral("creator"), e.artist);
        if (e.durationMs >= 0) xml.writeTextElement(QStringLiteral("duration"), QString::number(e.durationMs));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

}  // namespace tavo
