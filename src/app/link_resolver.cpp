#include "app/link_resolver.h"

#include "app/play_list.h"
#include "app/status_texts.h"
#include "platform/ansi_text.h"
#include "platform/program_folder.h"
#include "sources/get_song_list.h"
#include "sources/services.h"
#include "sources/text_codecs.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

fs::path LinkResolver::SearchFile() { return platform::InProgramFolder("YQ.txt"); }

LinkResolver::LinkResolver() {
    retry_.setSingleShot(true);
    gap_.setSingleShot(true);
    gap_.setTimerType(Qt::PreciseTimer);
    connect(&SongYQDown, &QelDown::DLEnded, this, &LinkResolver::OnFinished);
    connect(&retry_, &QTimer::timeout, this, [this] {
        Q_EMIT Retrying(song_.tag);
        if (search_.Pending()) Request();
    });
    connect(&gap_, &QTimer::timeout, this, &LinkResolver::Request);
}

QString LinkResolver::SearchQuery(const QString& displayText) {
    QString q = displayText;
    q.replace(kTitleArtistSep, QStringLiteral("+"));
    q.replace(QLatin1Char('_'), QLatin1Char('+'));
    q.replace(QLatin1Char('-'), QLatin1Char('+'));
    return UrlEncodeUtf8(q);
}

// "1", six decimals of one random number, six of another: 13 digits. The
// decimals are truncated, so a number close to 1 never carries into a
// seventh digit.
QString LinkResolver::CallbackSuffix() {
    auto six = [] {
        const double a = QRandomGenerator::global()->generateDouble();
        const int v = std::clamp(static_cast<int>(std::floor(a * 1e6)), 0, 999999);
        return QStringLiteral("%1").arg(v, 6, 10, QLatin1Char('0'));
    };
    const QString a = six();
    return QStringLiteral("1") + a + six();
}

QString LinkResolver::SearchAddress(const QString& host, const QString& displayText) {
    return host + QStringLiteral("/api/links?query=") + SearchQuery(displayText) +
           QStringLiteral("&jsoncallback=jsonp") + CallbackSuffix();
}

bool LinkResolver::NextCandidate() {
    if (LinkIndex + 1 >= LinkCandidates.size()) return false;
    ++LinkIndex;
    return true;
}

void LinkResolver::Resolve(const Song& song) {
    Cancel();
    song_ = song;
    search_.Hold(song.tag != 0 ? song.tag : NextRequestId());
    Q_EMIT Status(texts::kSearching);
    // Right after a failed request, the next one waits its turn.
    if (lastFailure_.isValid() && lastFailure_.elapsed() < FailGapMs) {
        gap_.start(FailGapMs - static_cast<int>(lastFailure_.elapsed()));
        return;
    }
    Request();
}

void LinkResolver::Cancel() {
    search_.Cancel();
    retries_ = 0;
    retry_.stop();
    gap_.stop();
    SongYQDown.CancelDownload();
}

void LinkResolver::Request() {
    if (!search_.Pending()) return;
    Q_EMIT Status(texts::kSearching);
    const QString address = SearchAddress(Services().songSearch, song_.name);
    platform::RemoveFile(SearchFile());
    SongYQDown.CancelDownload();
    SongYQDown.setFileURL(address);
    SongYQDown.setSaveFileName(platform::PathToQString(SearchFile()));
    SongYQDown.setRequest(search_.Current());
    SongYQDown.BeginDownload();
}

void LinkResolver::OnFinished(RequestId request, std::int32_t, std::int16_t error) {
    if (!search_.Answers(request)) return;
    const QString stored = TrimSpaces(song_.storedLink);
    const bool storedPlays = song_.favourites && MayPlay(stored, AddressOrigin::Favourites);
    if (error != 0) {
        platform::RemoveFile(SearchFile());
        // A favourite's own link plays although the search failed.
        if (storedPlays) {
            LinkCandidates = QStringList{stored};
            Done(true);
            return;
        }
        RequestFailed();
        return;
    }
    QStringList found;
    if (LinkSource == QStringLiteral("SeekUp")) {
        // Cutting the reply lets pending events run: a stop or another song
        // meanwhile makes this reply an old one.
        QString cut = CutBetween(platform::ReadTextJoined(SearchFile()), QStringLiteral("\"url\":\""),
                                 QStringLiteral("\",\""));
        if (!search_.Answers(request)) return;
        cut.remove(QLatin1Char('"'));
        found = cut.split(kEntrySep);
        found.removeLast();
        // Only addresses the player may open from the network.
        found.removeIf([](const QString& a) { return !MayPlay(a, AddressOrigin::Network); });
    }
    platform::RemoveFile(SearchFile());
    if (storedPlays) {
        found.prepend(stored);
    } else if (song_.favourites && stored.isEmpty()) {
        Q_EMIT Status(texts::kNoLocalLink);
    }
    if (found.isEmpty()) {
        Q_EMIT Status(texts::kNoNetLink);
        lastFailure_.start();
        Done(false);
        return;
    }
    LinkCandidates = found;
    Done(true);
}

// A request that failed and played no stored link: tried again a moment
// later, at most kMaxSearchRetries times, then the song is given up.
void LinkResolver::RequestFailed() {
    lastFailure_.start();
    Q_EMIT Status(texts::kNoLink);
    if (retries_ < kMaxSearchRetries) {
        ++retries_;
        retry_.start(std::max(SearchRetryMs, FailGapMs));
        return;
    }
    Done(false);
}

void LinkResolver::Done(bool found) {
    search_.Cancel();
    retries_ = 0;
    const RequestId tag = song_.tag;
    if (found) {
        lastFailure_.invalidate();
        LinkIndex = 0;
        Q_EMIT Resolved(tag);
    } else {
        Q_EMIT Unresolvable(tag);
    }
}

}  // namespace tavo
