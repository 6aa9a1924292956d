// The feed and page parsers of GetSongList. None of them understands the
// markup: each cuts the page between fixed markers and cleans the pieces
// with fixed replacements, in a fixed order.
#include "sources/get_song_list.h"

#include "platform/ansi_text.h"
#include "sources/page_cutting.h"
#include "sources/text_codecs.h"

#include <system_error>

namespace tavo {

namespace {

bool FileExists(const std::filesystem::path& file) {
    std::error_code ec;
    return !file.empty() && std::filesystem::exists(file, ec);
}

// A page read as lines in the system code page, joined with nothing between
// them: the line breaks vanish.
QString ReadPage(const std::filesystem::path& file) { return platform::ReadTextJoined(file); }

// The longest title or artist a chart song page may give.
constexpr qsizetype kMaxNameUnits = 4096;

QString FieldOr(const QStringList& fields, qsizetype i) { return i < fields.size() ? fields[i] : QString(); }

}  // namespace

QString GetSongList::ParseXmlFeed(const std::filesystem::path& file) {
    if (!FileExists(file)) return {};
    static const QString kStart = QStringLiteral("<song>");
    QString list;
    QString piece;
    detail::CutPieces(ReadPage(file), kStart, QStringLiteral("</artist>"), false, [&](QStringView view) {
        piece.truncate(0);
        detail::AppendWithout(piece, view, kStart);
        piece.remove(QStringLiteral("<artist>"));
        for (QChar c : {QLatin1Char('\r'), QLatin1Char('\n'), QLatin1Char('\t'), QLatin1Char('"'), QLatin1Char(' ')})
            piece.remove(c);
        piece = ListSafeText(piece);
        piece.remove(QLatin1Char(' '));
        piece.replace(QStringLiteral("</song>"), kTitleArtistSep);
        list += piece;
        list += kEntrySep;
        return true;
    });
    if (TrimSpaces(list).isEmpty()) return {};
    return list;
}

QString GetSongList::ParseJsonPlaylist(const std::filesystem::path& file) {
    if (!FileExists(file)) return {};
    const QString text = ReadUtf8File(file);
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

        list += ListSafeText(title);
        list += kTitleArtistSep;
        list += ListSafeText(artist);
        list += kEntrySep;
        urls[i] = url;
        pump.Piece();
    }
    RadioUrls = urls;
    return list;
}

void GetSongList::ParseChartIndex(const std::filesystem::path& file) {
    if (!FileExists(file)) return;
    const QString records = CutChartBlocks(ReadPage(file), QStringLiteral("<div class='rankblock'><h2><code>"),
                                           QStringLiteral("</ul>"));
    if (TrimSpaces(records).isEmpty()) {
        Combo1.SetItems({});
        return;
    }

    QStringList blocks = records.split(QStringLiteral("{-}"));
    blocks.removeLast();  // after the final "{-}"
    if (blocks.size() > kMaxChartItems) blocks.resize(kMaxChartItems);
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
    Combo1.SetItems(titles);
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

        list += TrimSpaces(ListSafeText(title));
        list += kTitleArtistSep;
        list += TrimSpaces(ListSafeText(artist));
        list += kEntrySep;
        return true;
    });
    return list;
}

}  // namespace tavo
