#include "lyrics/core/lrc_fetcher.h"

#include "lyrics/lrc_cleanup.h"
#include "platform/ansi_text.h"
#include "platform/program_folder.h"
#include "sources/services.h"

#include <filesystem>
#include <system_error>

namespace tavo {

LrcFetcher::LrcFetcher(LyricsModel& lines, std::function<RequestId()> playingNow, QObject* parent)
    : QObject(parent), playingNow_(std::move(playingNow)), lines_(lines) {
    connect(&lrcDown_, &QelDown::DLEnded, this, &LrcFetcher::OnFinished);
}

void LrcFetcher::Begin(const QString& name, RequestId tag) {
    lines_.Clear();
    const std::filesystem::path target = platform::InProgramFolder("lrc.tmp");
    std::error_code ec;
    std::filesystem::remove(target, ec);

    lrcDown_.CancelDownload();
    name_ = name;
    tag_ = tag;
    fetch_.Hold(tag);
    lrcDown_.setRequest(tag);
    lrcDown_.setFileURL(LrcRequestAddress(Services().lyrics, name));
    lrcDown_.setSaveFileName(platform::PathToQString(target));
    lrcDown_.BeginDownload();
}

void LrcFetcher::Cancel() {
    fetch_.Cancel();
    lrcDown_.CancelDownload();
}

void LrcFetcher::Clear() {
    lines_.Clear();
    Cancel();
}

void LrcFetcher::OnFinished(RequestId request, std::int32_t, std::int16_t error) {
    if (!fetch_.Take(request)) return;
    const QString name = name_;
    if (playingNow_ && playingNow_() != request) return;
    if (error != 0) {
        Q_EMIT NotFound(name);
        return;
    }
    const auto replyLines = platform::ReadTextLines(platform::QStringToPath(lrcDown_.SaveFileName()));
    const auto lines = replyLines ? CleanLyricsReply(*replyLines) : std::nullopt;
    if (!lines) {
        Q_EMIT NotFound(name);
        return;
    }
    lines_.SetLines(*lines);
    Q_EMIT Found(name);
}

}  // namespace tavo
