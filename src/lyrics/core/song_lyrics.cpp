#include "lyrics/core/song_lyrics.h"

#include "lyrics/lrc_shift.h"
#include "platform/ansi_text.h"

#include <QUrl>

namespace tavo {

std::filesystem::path LocalSongFile(const QString& address) {
    const QString a = address.trimmed();
    if (a.isEmpty()) return {};
    if (a.startsWith(QLatin1Char('/'))) return platform::QStringToPath(a);
    const QUrl url(a);
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return platform::QStringToPath(url.toLocalFile());
    return {};
}

SongLyrics::SongLyrics(LyricsModel& model, std::function<LyricsFinder&()> finder, QObject* parent)
    : QObject(parent), model_(model), makeFinder_(std::move(finder)) {}

LyricsFinder& SongLyrics::Finder() {
    if (!finder_) {
        finder_ = &makeFinder_();
        connect(finder_, &LyricsFinder::Answered, this, &SongLyrics::OnAnswered);
    }
    return *finder_;
}

void SongLyrics::Begin(const QString& name, const QString& address, RequestId tag) {
    model_.Clear();
    shape_ = LyricsShape::kNone;
    origin_ = LyricsOrigin::kNowhere;
    song_ = LyricsSong(name, LocalSongFile(address));
    tag_ = tag;
    find_.Hold(Finder().Find(song_));
}

void SongLyrics::Cancel() {
    if (finder_) finder_->Cancel();
    find_.Cancel();
    tag_ = 0;
}

void SongLyrics::Clear() {
    Cancel();
    model_.Clear();
}

void SongLyrics::OnAnswered(const LyricsAnswer& answer) {
    const bool asked = find_.Answers(answer.request);
    // The user's pick for the song that plays now, at any time while it plays.
    const bool picked = tag_ != 0 && answer.origin == LyricsOrigin::kChoice && answer.name == song_.name;
    if (!asked && !picked) return;
    find_.Cancel();
    shape_ = answer.shape;
    origin_ = answer.origin;
    switch (answer.shape) {
        case LyricsShape::kSynced:
            model_.SetLines(ApplyLrcOffset(answer.lines));
            Q_EMIT Found(answer.name);
            return;
        case LyricsShape::kPlain:
            model_.SetLines(answer.lines);
            Q_EMIT Found(answer.name);
            return;
        case LyricsShape::kInstrumental:
        case LyricsShape::kNone:
            model_.Clear();
            Q_EMIT NotFound(answer.name, answer.status);
            return;
    }
}

}  // namespace tavo
