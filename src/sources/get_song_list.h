#pragma once
// The song sources: the catalogue of sources, the parsers that turn a
// downloaded page or feed into song-list text, and what they leave behind
// for later selections (chart periods and entries, the radio playlist's
// addresses), plus the viewed list.
//
// Song-list text: for each song "title ┈ artist" followed by "{@}".

#include "sources/selector.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>

namespace tavo {

inline const QString kEntrySep = QStringLiteral("{@}");
inline const QString kTitleArtistSep = QStringLiteral(" \u2508 ");  // " ┈ "

// A song text as lists may hold it: the separators of the list text ("{@}")
// and of the list files ("<|>") and line breaks become spaces, so that a
// name from a page, a feed or a reply can add neither an entry, a link nor a
// line. Every parser's songs and every favourites line go through it.
QString ListSafeText(QString text);

// Marker cutting: every piece between a start and the next end marker, each
// followed by "{@}" (CutBetween) or as chart-block records (CutChartBlocks).
QString CutBetween(const QString& text, const QString& start, const QString& end);
QString CutChartBlocks(const QString& text, const QString& start, const QString& end);
// A chart block's links: "link,text|" for each.
QString CutLinks(const QString& block);
// Creates the folders along an absolute path; false (creating nothing) for a
// relative one.
bool MakePath(const QString& path);

class GetSongList : public QObject {
    Q_OBJECT
public:
    explicit GetSongList(QObject* parent = nullptr);

    // The catalogue: rows 0..18 filled, row 19 empty. Column 0 the label,
    // column 1 the address template.
    static constexpr int kCatalogueRows = 20;
    QString SourceCatalogue[kCatalogueRows][2];
    // The chart site's scheme and host, no trailing slash.
    QString ChartSiteBase;

    // A chart page lists at most this many periods, and a period at most
    // this many entries; the rest of a longer page is ignored. Nobody picks
    // from a longer drop-down, and a hostile page cannot make one.
    static constexpr int kMaxChartItems = 500;

    // What the parsers leave behind.
    QStringList ChartPeriodLinks;
    QStringList ChartEntries;
    QStringList RadioUrls;

    // The viewed list: the split of its list text at "{@}", trailing empty
    // element included; the empty list is the single empty element.
    QStringList ListItems{QString()};
    std::int16_t CurPage = 0;

    // The selectors the main window shows: sources, chart periods, entries.
    Selector PHcombo;
    Selector Combo1;
    Selector Combo2;

    // Fills rows 0..18 from the service hosts in use (Services()) and adds
    // their labels to PHcombo. Sets ChartSiteBase to the chart site when it
    // is still empty.
    void BuildSourceCatalogue();
    // Column 1 of `row` with every "{*rnd}" replaced by a fresh token.
    // Throws std::out_of_range outside 0..19.
    QString SourceAddress(int row) const;
    // The link of ChartEntries[entry], every "'" removed, resolved on
    // ChartSiteBase (ResolveSiteLink). Empty outside the list, and for a link
    // that would leave the chart site (another scheme or host, "//host",
    // "javascript:", "file:"): such an entry is not fetched.
    QString ChartEntryAddress(int entry) const;

    // The parsers. A missing file gives the empty result. A JSON item or a
    // chart song piece with too few fields ends the list there (the songs
    // before it are the result); so does a chart song whose title or artist
    // field is over 4096 units long. Long pages keep the window responsive:
    // pending events are processed now and then while a page is cut.
    QString ParseXmlFeed(const std::filesystem::path& file);
    QString ParseJsonPlaylist(const std::filesystem::path& file);  // fills RadioUrls
    // Fills Combo1 and ChartPeriodLinks (at most kMaxChartItems periods, each
    // selector filled in one step) and selects period 0. A page without
    // periods empties Combo1 and keeps ChartPeriodLinks.
    void ParseChartIndex(const std::filesystem::path& file);
    QString ParseChartSongPage(const std::filesystem::path& file, const QString& start, const QString& end);

    // The period level: ChartEntries and Combo2 (in one step, at most
    // kMaxChartItems entries) from ChartPeriodLinks[period]; the first entry
    // is selected when there is one. Runs when Combo1's index changes.
    void SelectPeriod(int period);
};

}  // namespace tavo
