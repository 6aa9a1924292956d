#pragma once
// The station directory's replies and requests, as pure functions.
//
// Server list (GET /json/servers): a JSON array of objects, each with a
// "name", the host name of one server of the directory (others fields, such
// as "ip", are ignored).
//
// Station page (GET /json/stations/search?...): a JSON array of station
// objects with, among others, "stationuuid", "name", "url", "url_resolved",
// "country", "countrycode", "codec", "bitrate", "tags" (comma separated),
// "votes", "clickcount", "favicon".
//
// Nothing in a reply is trusted: a reply that is not JSON, is not an array,
// holds more entries than a page may, or has a field of the wrong type is
// refused whole, with a named error. A station whose addresses are not http
// or https is left out (it could not be played); texts are cut to a bounded
// length and cleared of line breaks and the list file's separator, so that
// a station can be written to "radio.txt" as it is.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavo {

// Every way a directory reply can be refused.
enum class DirectoryError {
    kNone,
    kNotJson,      // the bytes do not parse as JSON
    kNotArray,     // the top level is not an array
    kTooMany,      // more entries than a reply may hold
    kWrongType,    // an entry or one of its fields has the wrong type
    kNoServers,    // a server list without one usable name
};

// A readable (Chinese) sentence for an error, for the window's status line.
QString DirectoryErrorText(DirectoryError error);

inline constexpr int kMaxDirectoryServers = 64;
inline constexpr int kMaxStationsPerPage = 500;
inline constexpr int kMaxStationText = 200;     // name, country, tags... in UTF-16 units
inline constexpr int kMaxStationAddress = 2048;

struct ServerListReply {
    DirectoryError error = DirectoryError::kNone;
    // "host" or "host:port", letters, digits, "-" and "." only; in the
    // reply's order, duplicates dropped.
    QStringList servers;
};
ServerListReply ParseServerList(const QByteArray& json);

struct RadioStation {
    QString stationuuid;
    QString name;
    QString url;
    QString urlResolved;
    QString country;
    QString countrycode;
    QString language;
    QString codec;
    int bitrate = 0;
    QString tags;
    int votes = 0;
    int clickcount = 0;
    QString favicon;  // empty unless an http or https address

    // What to play and to write down: url_resolved, else url.
    QString PlayAddress() const { return urlResolved.isEmpty() ? url : urlResolved; }
};

struct StationPageReply {
    DirectoryError error = DirectoryError::kNone;
    std::vector<RadioStation> stations;
    int skipped = 0;  // stations left out for want of an http(s) address
};
StationPageReply ParseStationPage(const QByteArray& json);

// How a search sorts.
enum class StationOrder { kVotes, kClicks };

struct StationQuery {
    QString name;
    QString countrycode;  // "CN", "HK", "TW"; empty for every country
    QString language;     // e.g. "chinese"; empty for every language
    QString tag;
    StationOrder order = StationOrder::kVotes;
    bool reverse = true;  // most votes (clicks) first
    int limit = 50;
    int offset = 0;

    bool operator==(const StationQuery&) const = default;
};

// "/json/stations/search?..." with the query's filters (empty ones left
// out), always with hidebroken=true and limit; values percent-encoded as
// UTF-8. limit is held to 1..kMaxStationsPerPage, offset to 0 and above.
QString StationSearchPath(const StationQuery& query);

// "/json/url/" + the station's uuid (letters, digits and "-" only; empty
// when the uuid holds anything else).
QString StationClickPath(const QString& stationuuid);

// The line that "radio.txt" gets for a station: name "<|>" address.
QString RadioListLine(const RadioStation& station);

}  // namespace tavo
