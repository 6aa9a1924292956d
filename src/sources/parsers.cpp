// The feed and page parsers of GetSongList. None of them understands the
// markup: each cuts the page between fixed markers and cleans the pieces
// with fixed replacements, in a fixed order.
#include "sources/get_song_list.h"

#include "platform/ansi_text.h"
#include "platform/codepage.h"
#include "sources/page_cutting.h"
#include "sources/text_codecs.h"

#include <QFile>

#include <optional>
#include <system_error>

namespace tavo {

namespace {

// The whole file in one read; nullopt when it cannot be read.
std::optional<QByteArray> ReadWholeFile(const std::filesystem::path& file) {
    QFile f(platform::PathToQString(file));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

bool FileExists(const std::filesystem::path& file) {
    std::error_code ec;
    return !file.empty() && std::filesystem::exists(file, ec);
}

// A page read as lines in the system code page, joined with nothing
// between them: each line UTF-8 when it is valid UTF-8, else GB18030, and
// the line breaks gone. The same as decoding line by line and joining, in
// one pass and without a text per line.
QString ReadPage(const std::filesystem::path& file) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) return {};
    QByteArrayView rest(*bytes);
    if (rest.startsWith("\xEF\xBB\xBF")) rest = rest.sliced(3);
    if (platform::IsValidUtf8(rest)) {
        // Line breaks cannot fall inside a UTF-8 sequence: decode the whole
        // page at once and drop them in place.
        QString page = QString::fromUtf8(rest);
        page.remove(QLatin1Char('\r'));
        page.remove(QLatin1Char('\n'));
        return page;
    }
    auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    QString page;
    page.reserve(rest.size());
    for (qsizetype i = 0; i < rest.size();) {
        qsizetype j = i;
        while (j < rest.size() && !isBreak(rest[j])) ++j;
        const QByteArrayView line = rest.sliced(i, j - i);
        if (platform::IsValidUtf8(line)) page.append(QString::fromUtf8(line));
        else page.append(platform::DecodeGb18030(line));
        while (j < rest.size() && isBreak(rest[j])) ++j;
        i = j;
    }
    return page;
}

// The file as UTF-8 text, a leading byte-order mark dropped.
QString ReadUtf8Page(const std::filesystem::path& file) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) return {};
    QByteArrayView view(*bytes);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    return QString::fromUtf8(view);
}

// The longest title or artist a chart song page may give.
constexpr qsizetype kMaxNameUnits = 4096;

QString FieldOr(const QStringList& fields, qsizetype i) { return i < fields.size() ? fields[i] : QString(); }

}  // namespace

QString GetSongList::ParseXmlFeed(const std::filesystem::path& file) {
    if (!FileExists(file)) return {};
    QString list = CutBetween(ReadPage(file), QStringLiteral("<song>"), QStringLiteral("</artist>"));
    if (TrimSpaces(list).isEmpty()) return {};
    list.remove(QStringLiteral("<artist>"));
    list.remove(QLatin1Char('\r'));
    list.remove(QLatin1Char('\n'));
    list.remove(QLatin1Char('\t'));
    list.remove(QLatin1Char('"'));
    list.remove(QLatin1Char(' '));
    list.replace(QStringLiteral("</song>"), kTitleArtistSep);
    return list;
}

QString GetSongList::ParseJsonPlaylist(const std::filesystem::path& file) {
    if (!FileExists(file)) return {};
    const QString text = ReadUtf8Page(file);
    if (TrimSpaces(text).isEmpty()) return {};

    static const QString kItemSep = QStringLiteral("},{");
    static const QString kFieldSep = QStringLiteral("\",\"");
    // Items are the pieces between "},{"; in each, fields 6, 7 and 8 (the
    // pieces between "\",\"") are the artist, the address and the title.
    QStringView rest(text);
    QList<QStringView> items;
    for (;;) {
        const qsizetype at = detail::FindMarker(rest, kItemSep, 0);
        if (at < 0) break;
        items.append(rest.first(at));
        rest = rest.sliced(at + kItemSep.size());
    }
    items.append(rest);

    QStringList urls(items.size() + 1);
    QString list;
    list.reserve(text.size() / 2);
    detail::PiecePump pump;
    for (qsizetype i = 0; i < items.size(); ++i) {
        QStringView fields[9];
        QStringView item = items[i];
        int count = 0;
        while (count < 9) {
            const qsizetype at = detail::FindMarker(item, kFieldSep, 0);
            fields[count++] = at < 0 ? item : item.first(at);
            if (at < 0) break;
            item = item.sliced(at + kFieldSep.size());
        }
        // An item without a title field ends the list: the songs so far stay
        // parallel to their addresses.
        if (count < 9) break;
        QString title = fields[8].toString();
        title.remove(QLatin1Char('"'));
        title.remove(QStringLiteral("title:"));
        title.remove(QStringLiteral("&nbsp;"));
        QString artist = fields[6].toString();
        artist.remove(QLatin1Char('"'));
        artist.remove(QStringLiteral("artist:"));
        artist.replace(QStringLiteral("&nbsp"), QStringLiteral("/"));
        for (QString* s : {&artist, &title}) {
            s->remove(QLatin1Char(';'));
            s->remove(QLatin1Char('/'));
        }
        QString url = fields[7].toString();
        url.remove(QLatin1Char('"'));
        url.remove(QStringLiteral("url:"));
        url.remove(QLatin1Char('\\'));

        list += title;
        list += kTitleArtistSep;
        list += artist;
        list += kEntrySep;
        urls[i] = url;
        pump.Piece();
    }
    RadioUrls = urls;
    return list;
}

void GetSongList::ParseChartIndex(const std::filesystem::path& file) {
    if (!FileExists(file)) return;
    Combo1.Clear();
    const QString records = CutChartBlocks(ReadPage(file), QStringLiteral("<div class='rankblock'><h2><code>"),
                                           QStringLiteral("</ul>"));
    if (TrimSpaces(records).isEmpty()) return;

    QStringList blocks = records.split(QStringLiteral("{-}"));
    blocks.removeLast();  // after the final "{-}"
    QStringList links;
    QStringList titles;
    links.reserve(blocks.size());
    titles.reserve(blocks.size());
    for (const QString& record : std::as_const(blocks)) {
        const QStringList parts = record.split(kEntrySep);
        links.append(FieldOr(parts, 1));
        titles.append(parts[0]);
    }
    ChartPeriodLinks = links;
    for (const QString& title : std::as_const(titles)) Combo1.AddItem(title);
    Combo1.SetListIndex(0);
}

QString GetSongList::ParseChartSongPage(const std::filesystem::path& file, const QString& start, const QString& end) {
    if (!FileExists(file)) return {};
    QString list;
    QString piece;
    detail::CutPieces(ReadPage(file), start, end, true, [&](QStringView view) {
        piece.truncate(0);
        detail::AppendWithout(piece, view, start);
        const QStringList fields = piece.split(QLatin1Char('|'));
        // A piece without title and artist fields ends the list; what was
        // read so far is the result. So does a name longer than any song's:
        // removing bracketed groups costs the name's length once per group.
        if (fields.size() < 4) return false;
        if (fields[2].size() > kMaxNameUnits || fields[3].size() > kMaxNameUnits) return false;
        QString title = RemoveBracketed(fields[2], QStringLiteral("("), QStringLiteral(")"));
        title = UrlDecodeAnsi(title);
        title.replace(QLatin1Char('&'), QLatin1Char(' '));
        title.remove(QLatin1Char('#'));
        title.remove(QLatin1Char('\\'));
        title.remove(QLatin1Char('"'));
        title.remove(QChar(u'\0'));

        QString artist = fields[3];
        artist.replace(QLatin1Char('&'), QLatin1Char(' '));
        artist.replace(QLatin1Char('/'), QLatin1Char(' '));
        artist = RemoveBracketed(artist, QStringLiteral("("), QStringLiteral(")"));
        artist = UrlDecodeAnsi(artist);
        artist.replace(QLatin1Char('&'), QLatin1Char(' '));
        artist.remove(QLatin1Char('#'));
        artist.replace(QLatin1Char('\\'), QLatin1Char('/'));
        artist.remove(QLatin1Char('"'));
        artist.remove(QChar(u'\0'));

        list += TrimSpaces(title);
        list += kTitleArtistSep;
        list += TrimSpaces(artist);
        list += kEntrySep;
        return true;
    });
    return list;
}

}  // namespace tavo
