#pragma once
// The list being played, as a value the play state holds while the user
// browses other lists, and the rules for the addresses its songs play.
//
// Lists are kept as entries (display texts, "title ┈ artist" for online
// lists) with their links beside them; the "{@}" list text is read and
// written only where lists are exchanged as text (the parsers, the tray's
// favourites commands).

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tavo {

// The most entries a list holds: entries past it are dropped when a list is
// loaded, so that no page number (16-bit) or index can wrap.
inline constexpr int kMaxListEntries = 100000;

// The entries of a list text (each entry followed by "{@}"), at most
// kMaxListEntries; a text without "{@}" has none.
QStringList SplitListText(const QString& text);
// Each entry followed by "{@}".
QString JoinListText(const QStringList& entries);

// What a list is. The source selector holds the favourites (index 0), the
// radio-station file (1), the radio playlist (2), the two radio feeds (3
// and 4) and the charts (5 on); where a kind has one index the kind's
// number is that index. None: nothing is chosen (index -1).
enum class SourceKind { None = -1, Favourites = 0, RadioFile = 1, RadioPlaylist = 2, RadioFeed = 3, Chart = 5 };
constexpr SourceKind KindOfSource(int index) {
    if (index < 0) return SourceKind::None;
    if (index == 0) return SourceKind::Favourites;
    if (index == 1) return SourceKind::RadioFile;
    if (index == 2) return SourceKind::RadioPlaylist;
    if (index <= 4) return SourceKind::RadioFeed;
    return SourceKind::Chart;
}

// Where an address to play comes from.
enum class AddressOrigin {
    Network,     // a search reply, a radio playlist
    RadioFile,   // "radio.txt", shipped with the program
    Favourites,  // the user's own "MySongList.txt"
};

// Whether the media player may open `address` coming from `origin`: http and
// https from anywhere; mms and rtsp also from the radio file; a local file
// (an absolute path, or a file: address) only from the favourites.
bool MayPlay(const QString& address, AddressOrigin origin);

// The chart selectors as they stood when a chart's song was started, so
// that going back to the playing list shows them again.
struct ChartSelection {
    QStringList periods;      // Combo1's items
    QStringList periodLinks;  // each period's entries (Combo2 is rebuilt from them)
};

struct PlayList {
    QStringList entries;  // display texts
    QStringList links;    // the songs' own addresses, beside entries (empty where a song has none)
    std::int16_t source = 0;   // `PlaySource`: the source selector index
    std::int16_t period = -1;  // `PlayingPeriod`
    std::int16_t entry = -1;   // `PlayingEntry`
    std::int16_t page = 0;     // `PlayingPage`
    ChartSelection chart;

    SourceKind Kind() const { return KindOfSource(source); }
    int Count() const { return static_cast<int>(entries.size()); }
    QString Name(int i) const { return i >= 0 && i < entries.size() ? entries[i] : QString(); }
    QString Link(int i) const { return i >= 0 && i < links.size() ? links[i] : QString(); }

    // The one rule for where a song's address comes from: the radio file
    // (1) and the radio playlist (2) carry their own; every other list's
    // songs are found by the song search.
    static bool PlaysDirectly(int source) {
        return KindOfSource(source) == SourceKind::RadioFile || KindOfSource(source) == SourceKind::RadioPlaylist;
    }
    bool PlaysDirectly() const { return PlaysDirectly(source); }
    // Where the own address of a song of this list comes from.
    AddressOrigin LinkOrigin() const {
        switch (Kind()) {
            case SourceKind::Favourites: return AddressOrigin::Favourites;
            case SourceKind::RadioFile: return AddressOrigin::RadioFile;
            default: return AddressOrigin::Network;
        }
    }
};

}  // namespace tavo
