#include "lyrics/core/lrclib_client.h"

#include "platform/core/han_variants.h"
#include "platform/core/user_agent.h"

namespace tavo {

namespace {

// A request that got no reply at all: the library is out of reach.
bool Unreachable(WebFailure f) {
    return f == WebFailure::kConnection || f == WebFailure::kTimedOut || f == WebFailure::kCannotStart;
}

QString FailureText(const WebAnswer& answer) {
    if (Unreachable(answer.failure)) return QStringLiteral("无法连接歌词库");
    if (answer.failure == WebFailure::kBroken) return QStringLiteral("歌词库的回复过大或不完整");
    return QStringLiteral("歌词库出错（HTTP %1）").arg(answer.httpStatus);
}

}  // namespace

LyricsLibraryClient::LyricsLibraryClient(QString base, QObject* parent)
    : QObject(parent), base_(std::move(base)), web_({kMaxLibraryReplyBytes, kLibraryTimeoutMs}) {
    web_.SetHeaders({{"Lrclib-Client", platform::kUserAgent}});
    connect(&web_, &WebQuery::Answered, this, &LyricsLibraryClient::OnAnswered);
}

std::uint64_t LyricsLibraryClient::Find(const LibraryQuery& query) {
    request_ = NextRequestId();
    asked_ = query_ = query;
    otherScriptTried_ = false;
    Ask(Step::kGet);
    return request_;
}

std::uint64_t LyricsLibraryClient::List(const LibraryQuery& query) {
    request_ = NextRequestId();
    asked_ = query_ = query;
    otherScriptTried_ = true;
    Ask(Step::kList);
    return request_;
}

void LyricsLibraryClient::Cancel() {
    web_.Cancel();
    step_ = Step::kIdle;
    request_ = 0;
}

void LyricsLibraryClient::Ask(Step step) {
    step_ = step;
    web_.Get(base_ + (step == Step::kGet ? LibraryGetPath(query_) : LibrarySearchPath(query_)));
}

void LyricsLibraryClient::OnAnswered(const WebAnswer& answer) {
    switch (step_) {
        case Step::kGet: OnGet(answer); break;
        case Step::kSearch: OnSearch(answer); break;
        case Step::kList: OnList(answer); break;
        case Step::kIdle: break;
    }
}

void LyricsLibraryClient::OnGet(const WebAnswer& answer) {
    if (Unreachable(answer.failure) || answer.failure == WebFailure::kBroken) {
        Fail(FailureText(answer), Unreachable(answer.failure));
        return;
    }
    if (answer.failure == WebFailure::kNone) {
        LibraryGetReply reply = ParseLibraryGet(answer.body);
        if (reply.error == LibraryError::kNone && reply.track.HasLyrics()) {
            step_ = Step::kIdle;
            Q_EMIT Found(request_, reply.track);
            return;
        }
    }
    // Not found, an HTTP error, a hostile or empty track: ask the search.
    Ask(Step::kSearch);
}

void LyricsLibraryClient::OnSearch(const WebAnswer& answer) {
    if (answer.failure != WebFailure::kNone) {
        if (Unreachable(answer.failure))
            Fail(FailureText(answer), true);
        else
            TryOtherScript(FailureText(answer));
        return;
    }
    const LibrarySearchReply reply = ParseLibrarySearch(answer.body);
    if (reply.error != LibraryError::kNone) {
        TryOtherScript(LibraryErrorText(reply.error));
        return;
    }
    const int best = NearestByDuration(reply.tracks, query_.durationS);
    if (best < 0) {
        TryOtherScript(LibraryErrorText(LibraryError::kNotFound));
        return;
    }
    step_ = Step::kIdle;
    Q_EMIT Found(request_, reply.tracks[static_cast<size_t>(best)]);
}

void LyricsLibraryClient::TryOtherScript(const QString& reason) {
    if (!otherScriptTried_) {
        otherScriptTried_ = true;
        const auto title = platform::OtherHanVariant(asked_.title);
        const auto artist = platform::OtherHanVariant(asked_.artist);
        if (title || artist) {
            query_ = asked_;
            if (title) query_.title = *title;
            if (artist) query_.artist = *artist;
            Ask(Step::kGet);
            return;
        }
    }
    Fail(reason, false);
}

void LyricsLibraryClient::OnList(const WebAnswer& answer) {
    const std::uint64_t request = request_;
    step_ = Step::kIdle;
    if (answer.failure != WebFailure::kNone) {
        Q_EMIT ListFailed(request, FailureText(answer), Unreachable(answer.failure));
        return;
    }
    const LibrarySearchReply reply = ParseLibrarySearch(answer.body);
    if (reply.error != LibraryError::kNone) {
        Q_EMIT ListFailed(request, LibraryErrorText(reply.error), false);
        return;
    }
    Q_EMIT Listed(request, reply.tracks);
}

void LyricsLibraryClient::Fail(const QString& reason, bool unreachable) {
    step_ = Step::kIdle;
    Q_EMIT NotFound(request_, reason, unreachable);
}

}  // namespace tavo
