#pragma once
// The station directory's client: its servers, station searches page by
// page, the click a played station reports, and the stations' icons.
//
// Servers. The configured address (RadioDirectory= of services.ini) names
// the directory; at first use its server list (GET /json/servers) is asked,
// shuffled, and one server is used; a request that gets no reply, or an
// HTTP 5xx, moves to the next server and asks again. The list is kept in a
// file of the cache folder and used for a day. When the list cannot be had,
// the configured address itself is the one server.
//
// Searches. Search() asks one page of stations; a new Search() drops the
// one in flight, which then answers nothing. Every answer carries the id
// Search() returned and the query it answers. A page over 5 MB is refused
// as it arrives; a hostile page is refused with the parser's message and
// nothing else happens.
//
// Click. Click(stationuuid) tells the directory a station was started
// (GET /json/url/{stationuuid}); its answer is not used.
//
// Icons. Icon(address) fetches a station's icon once, over http or https
// only, at most 256 KB, and checks it (station_icon.h); the icon is kept,
// at most 32 pixels a side, for the rest of the run, a failing one as
// absent. Icons are fetched one at a time in the order asked.

#include "download/web_query.h"
#include "sources/radio_directory_reply.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QQueue>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace tavo {

inline constexpr qint64 kMaxStationPageBytes = 5LL * 1024 * 1024;
inline constexpr qint64 kMaxServerListBytes = 64 * 1024;
inline constexpr qint64 kMaxStationIconBytes = 256 * 1024;
inline constexpr int kDirectoryTimeoutMs = 10000;
inline constexpr int kServerListDays = 1;

struct RadioDirectoryOptions {
    QString base;                           // e.g. https://all.api.radio-browser.info
    std::filesystem::path serverListFile;   // where the server list is kept; empty: not kept
    std::function<qint64()> nowSeconds;     // the clock; empty: the system's
    std::function<void(QStringList&)> shuffle;  // empty: a random order
};

class RadioDirectory : public QObject {
    Q_OBJECT
public:
    explicit RadioDirectory(RadioDirectoryOptions options, QObject* parent = nullptr);

    // The default place of the server list: the user's cache folder.
    static std::filesystem::path DefaultServerListFile();

    std::uint64_t Search(const StationQuery& query);
    void CancelSearch();
    bool Searching() const { return searching_ != 0; }

    void Click(const QString& stationuuid);

    // Fetches (or answers from what is kept) the icon at `address`.
    void Icon(const QString& address);
    // The icon at `address` when it has been fetched and checked.
    QImage KeptIcon(const QString& address) const { return icons_.value(address); }

    // The servers in use, in the order they are tried (for tests).
    const QStringList& Servers() const { return servers_; }
    int ServerIndex() const { return serverIndex_; }

Q_SIGNALS:
    void StationsFound(std::uint64_t request, const tavo::StationQuery& query,
                       const std::vector<tavo::RadioStation>& stations);
    // `unreachable` when no server of the directory answered.
    void SearchFailed(std::uint64_t request, const QString& message, bool unreachable);
    void IconReady(const QString& address, const QImage& icon);

private:
    enum class Step { kIdle, kServers, kSearch };

    qint64 Now() const;
    bool LoadKeptServers();
    void KeepServers(const QByteArray& reply);
    void UseServers(QStringList servers);
    QString ServerBase() const;
    void AskServers();
    void AskPage();
    void OnAnswered(const WebAnswer& answer);
    void OnServers(const WebAnswer& answer);
    void OnPage(const WebAnswer& answer);
    void NextIcon();
    void OnIcon(const WebAnswer& answer);

    RadioDirectoryOptions options_;
    QString scheme_;  // the configured address's scheme, for every server
    QStringList servers_;
    int serverIndex_ = 0;
    int triedServers_ = 0;   // servers that failed this search
    bool serversAsked_ = false;

    WebQuery web_;
    Step step_ = Step::kIdle;
    std::uint64_t searching_ = 0;
    StationQuery query_;

    WebQuery clicks_;
    WebQuery iconWeb_;
    QQueue<QString> iconQueue_;
    QString iconInFlight_;
    QSet<QString> iconsTried_;
    QHash<QString, QImage> icons_;
};

}  // namespace tavo
