// Any bytes as a station page and as a server list of the directory: either
// refused whole with a named error, or stations with http(s) addresses and
// texts that fit one line of the station list.
#include "sources/radio_directory_reply.h"

#include <QByteArray>
#include <QUrl>

#include <cstdlib>

namespace {

bool IsWeb(const QString& address) {
    const QString scheme = QUrl(address).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const tavo::StationPageReply page = tavo::ParseStationPage(bytes);
    if (page.error != tavo::DirectoryError::kNone && !page.stations.empty()) std::abort();
    if (static_cast<int>(page.stations.size()) > tavo::kMaxStationsPerPage) std::abort();
    for (const tavo::RadioStation& s : page.stations) {
        if (!IsWeb(s.PlayAddress())) std::abort();
        if (!s.favicon.isEmpty() && !IsWeb(s.favicon)) std::abort();
        const QString line = tavo::RadioListLine(s);
        if (line.count(QStringLiteral("<|>")) != 1 || line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            std::abort();
        if (s.votes < 0 || s.bitrate < 0 || s.clickcount < 0) std::abort();
    }
    const tavo::ServerListReply servers = tavo::ParseServerList(bytes);
    if (servers.error == tavo::DirectoryError::kNone && servers.servers.isEmpty()) std::abort();
    for (const QString& name : servers.servers)
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('@'))) std::abort();
    return 0;
}
