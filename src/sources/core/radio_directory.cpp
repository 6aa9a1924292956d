#include "sources/core/radio_directory.h"

#include "platform/ansi_text.h"
#include "platform/program_folder.h"
#include "sources/core/station_icon.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <random>
#include <system_error>

namespace tavo {

namespace {

constexpr int kMaxQueuedIcons = 200;
constexpr int kMaxKeptIcons = 2000;
constexpr int kKeptIconSide = 32;  // icons are kept this small: a list shows them at 16
constexpr int kIconTimeoutMs = 8000;

const QString kUnreachableText = QStringLiteral("无法连接电台目录");

// A request that got no reply, or a server error: worth another server.
bool ServerFailed(const WebAnswer& a) {
    return a.failure == WebFailure::kConnection || a.failure == WebFailure::kTimedOut ||
           (a.failure == WebFailure::kHttpStatus && a.httpStatus >= 500);
}

}  // namespace

RadioDirectory::RadioDirectory(RadioDirectoryOptions options, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      web_({kMaxStationPageBytes, kDirectoryTimeoutMs}),
      clicks_({64 * 1024, kDirectoryTimeoutMs}),
      iconWeb_({kMaxStationIconBytes, kIconTimeoutMs}) {
    scheme_ = QUrl(options_.base).scheme().toLower();
    if (scheme_ != QLatin1String("http")) scheme_ = QStringLiteral("https");
    connect(&web_, &WebQuery::Answered, this, &RadioDirectory::OnAnswered);
    connect(&iconWeb_, &WebQuery::Answered, this, &RadioDirectory::OnIcon);
}

std::filesystem::path RadioDirectory::DefaultServerListFile() {
    return platform::XdgFolder("XDG_CACHE_HOME", ".cache") / "tavo-musicbox" / "radio-directory-servers.json";
}

qint64 RadioDirectory::Now() const {
    return options_.nowSeconds ? options_.nowSeconds() : QDateTime::currentSecsSinceEpoch();
}

// The kept list, when it is younger than a day and still reads as a list.
bool RadioDirectory::LoadKeptServers() {
    if (options_.serverListFile.empty()) return false;
    const QString path = platform::PathToQString(options_.serverListFile);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxServerListBytes) return false;
    const qint64 age = Now() - info.lastModified().toSecsSinceEpoch();
    if (age < 0 || age > kServerListDays * 24 * 3600) return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    ServerListReply reply = ParseServerList(f.read(kMaxServerListBytes));
    if (reply.error != DirectoryError::kNone) return false;
    UseServers(std::move(reply.servers));
    return true;
}

void RadioDirectory::KeepServers(const QByteArray& reply) {
    if (options_.serverListFile.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(options_.serverListFile.parent_path(), ec);
    QSaveFile f(platform::PathToQString(options_.serverListFile));
    if (!f.open(QIODevice::WriteOnly)) return;
    f.write(reply);
    f.commit();
}

void RadioDirectory::UseServers(QStringList servers) {
    if (options_.shuffle) {
        options_.shuffle(servers);
    } else {
        static std::mt19937 random{std::random_device{}()};
        std::shuffle(servers.begin(), servers.end(), random);
    }
    servers_ = std::move(servers);
    serverIndex_ = 0;
}

QString RadioDirectory::ServerBase() const {
    if (servers_.isEmpty()) return options_.base;
    return scheme_ + QStringLiteral("://") + servers_.at(serverIndex_ % servers_.size());
}

std::uint64_t RadioDirectory::Search(const StationQuery& query) {
    searching_ = NextRequestId();
    query_ = query;
    triedServers_ = 0;
    if (!serversAsked_ && servers_.isEmpty() && !LoadKeptServers()) {
        AskServers();
    } else {
        AskPage();
    }
    return searching_;
}

void RadioDirectory::CancelSearch() {
    web_.Cancel();
    step_ = Step::kIdle;
    searching_ = 0;
}

void RadioDirectory::AskServers() {
    step_ = Step::kServers;
    serversAsked_ = true;
    web_.Get(options_.base + QStringLiteral("/json/servers"));
}

void RadioDirectory::AskPage() {
    step_ = Step::kSearch;
    web_.Get(ServerBase() + StationSearchPath(query_));
}

void RadioDirectory::OnAnswered(const WebAnswer& answer) {
    if (step_ == Step::kServers)
        OnServers(answer);
    else if (step_ == Step::kSearch)
        OnPage(answer);
}

void RadioDirectory::OnServers(const WebAnswer& answer) {
    if (answer.failure == WebFailure::kNone) {
        ServerListReply reply = ParseServerList(answer.body);
        if (reply.error == DirectoryError::kNone) {
            KeepServers(answer.body);
            UseServers(std::move(reply.servers));
        }
    } else if (answer.failure == WebFailure::kConnection || answer.failure == WebFailure::kTimedOut ||
               answer.failure == WebFailure::kCannotStart) {
        // The directory's own name does not answer: nothing else will.
        serversAsked_ = false;
        const std::uint64_t request = searching_;
        step_ = Step::kIdle;
        searching_ = 0;
        Q_EMIT SearchFailed(request, kUnreachableText, true);
        return;
    }
    // Without a usable list the configured address is the one server.
    AskPage();
}

void RadioDirectory::OnPage(const WebAnswer& answer) {
    const std::uint64_t request = searching_;
    if (ServerFailed(answer) && ++triedServers_ < std::max<qsizetype>(1, servers_.size())) {
        ++serverIndex_;
        AskPage();
        return;
    }
    step_ = Step::kIdle;
    searching_ = 0;
    if (answer.failure != WebFailure::kNone) {
        const bool unreachable = ServerFailed(answer) || answer.failure == WebFailure::kCannotStart;
        const QString text = answer.failure == WebFailure::kBroken ? QStringLiteral("电台目录的回复过大或不完整")
                             : unreachable                         ? kUnreachableText
                                           : QStringLiteral("电台目录出错（HTTP %1）").arg(answer.httpStatus);
        Q_EMIT SearchFailed(request, text, unreachable);
        return;
    }
    const StationPageReply page = ParseStationPage(answer.body);
    if (page.error != DirectoryError::kNone) {
        Q_EMIT SearchFailed(request, DirectoryErrorText(page.error), false);
        return;
    }
    Q_EMIT StationsFound(request, query_, page.stations);
}

void RadioDirectory::Click(const QString& stationuuid) {
    const QString path = StationClickPath(stationuuid);
    if (path.isEmpty()) return;
    clicks_.Get(ServerBase() + path);
}

void RadioDirectory::Icon(const QString& address) {
    if (icons_.contains(address)) {
        Q_EMIT IconReady(address, icons_.value(address));
        return;
    }
    const QUrl url(address);
    const QString scheme = url.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty()) return;
    if (iconsTried_.contains(address) || iconQueue_.size() >= kMaxQueuedIcons) return;
    iconsTried_.insert(address);
    iconQueue_.enqueue(address);
    if (iconInFlight_.isEmpty()) NextIcon();
}

void RadioDirectory::NextIcon() {
    if (iconQueue_.isEmpty()) {
        iconInFlight_.clear();
        return;
    }
    iconInFlight_ = iconQueue_.dequeue();
    iconWeb_.Get(iconInFlight_);
}

void RadioDirectory::OnIcon(const WebAnswer& answer) {
    const QString address = iconInFlight_;
    iconInFlight_.clear();
    if (answer.failure == WebFailure::kNone) {
        QImage icon = DecodeStationIcon(answer.body);
        if (icon.width() > kKeptIconSide || icon.height() > kKeptIconSide)
            icon = icon.scaled(kKeptIconSide, kKeptIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (!icon.isNull() && icons_.size() < kMaxKeptIcons) {
            icons_.insert(address, icon);
            Q_EMIT IconReady(address, icon);
        }
    }
    NextIcon();
}

}  // namespace tavo
