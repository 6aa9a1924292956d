#include "lyrics/core/lyrics_finder.h"

#include "lyrics/lrc_cleanup.h"

#include <QMetaObject>
#include <QRegularExpression>

namespace tavo {

namespace {

// A line that begins with a time tag such as [01:23.45] or [1:23].
bool HasTimeTag(const QString& line) {
    static const QRegularExpression tag(QStringLiteral("^\\s*\\[\\d{1,3}:\\d{1,2}([.:]\\d{1,3})?\\]"));
    return tag.match(line).hasMatch();
}

// The line-break tags some lyric sources write inside their text.
const QString kBreakTags[] = {
    QStringLiteral("<p>"),  QStringLiteral("<P>"),  QStringLiteral("</br>"),  QStringLiteral("<br>"),
    QStringLiteral("<BR>"), QStringLiteral("</BR>"), QStringLiteral("</ br>"), QStringLiteral("</ BR>"),
};

}  // namespace

QString InstrumentalText() { return QStringLiteral("纯音乐，请欣赏"); }

std::optional<LyricText> ReadLyricText(const QString& text) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    if (text.trimmed() == QLatin1String(kInstrumentalMark)) return LyricText{LyricsShape::kInstrumental, {}};
    QString t = text;
    for (const QString& tag : kBreakTags) t.replace(tag, QStringLiteral("\n"));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    LyricText out;
    out.lines = t.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
    out.shape = LyricsShape::kPlain;
    for (const QString& line : out.lines) {
        if (HasTimeTag(line)) {
            out.shape = LyricsShape::kSynced;
            break;
        }
    }
    return out;
}

LyricsFinder::LyricsFinder(LyricsFinderOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), service_(serviceLines_, [this] { return find_.Current(); }) {
    if (!options_.cacheFolder.empty()) cache_ = std::make_unique<LyricsCache>(options_.cacheFolder);
    if (!options_.libraryBase.isEmpty()) {
        library_ = std::make_unique<LyricsLibraryClient>(options_.libraryBase);
        connect(library_.get(), &LyricsLibraryClient::Found, this, &LyricsFinder::OnLibraryFound);
        connect(library_.get(), &LyricsLibraryClient::NotFound, this,
                [this](RequestId request, const QString&, bool) { OnLibraryNotFound(request); });
    }
    connect(&service_, &LrcFetcher::Found, this, &LyricsFinder::OnServiceFound);
    connect(&service_, &LrcFetcher::NotFound, this, &LyricsFinder::OnServiceNotFound);
}

LyricsFinder::~LyricsFinder() = default;

RequestId LyricsFinder::Find(const LyricsSong& song) {
    StopNetwork();
    song_ = song;
    const RequestId request = find_.Begin();
    // The file steps run from the event loop, so that the caller holds the
    // id before any answer.
    QMetaObject::invokeMethod(this, [this, request] { FromFiles(request); }, Qt::QueuedConnection);
    return request;
}

void LyricsFinder::Cancel() {
    StopNetwork();
    find_.Cancel();
}

void LyricsFinder::StopNetwork() {
    if (service_.Fetching()) service_.Cancel();
    if (library_) library_->Cancel();
    libraryAsk_.Cancel();
}

void LyricsFinder::FromFiles(RequestId request) {
    if (!find_.Answers(request)) return;
    const LrcSongParts parts = SplitLrcSongName(song_.name);
    if (cache_) {
        if (auto choice = cache_->Choice(parts.singer, parts.song); choice && Answer(LyricsOrigin::kChoice, *choice))
            return;
    }
    if (options_.localLyrics && !song_.localFile.empty()) {
        if (auto local = options_.localLyrics(song_.localFile); local && Answer(LyricsOrigin::kLocal, *local)) return;
    }
    if (cache_) {
        if (auto kept = cache_->Read(parts.singer, parts.song); kept && Answer(LyricsOrigin::kCache, *kept)) return;
    }
    AskService();
}

void LyricsFinder::AskService() {
    if (!options_.askService || song_.name.isEmpty()) {
        AskLibrary();
        return;
    }
    // The fetch is keyed to this request: a later Find() or Cancel() leaves
    // its reply nobody to answer.
    service_.Begin(song_.name, find_.Current());
}

void LyricsFinder::OnServiceFound(const QString& name) {
    if (!find_.Pending() || name != song_.name) return;
    const QString text = serviceLines_.WholeText();
    if (!Answer(LyricsOrigin::kService, text)) {
        AskLibrary();
        return;
    }
    const LrcSongParts parts = SplitLrcSongName(song_.name);
    if (cache_) cache_->Store(parts.singer, parts.song, text);
}

void LyricsFinder::OnServiceNotFound(const QString& name) {
    if (!find_.Pending() || name != song_.name) return;
    AskLibrary();
}

void LyricsFinder::AskLibrary() {
    if (!library_ || song_.name.isEmpty()) {
        AnswerNotFound();
        return;
    }
    libraryAsk_.Hold(library_->Find(LibraryQueryFor(song_.name, song_.album, song_.durationS)));
}

void LyricsFinder::OnLibraryFound(RequestId request, const LibraryTrack& track) {
    if (!find_.Pending() || !libraryAsk_.Take(request)) return;
    const QString text = track.instrumental              ? QString::fromLatin1(kInstrumentalMark)
                         : !track.syncedLyrics.isEmpty() ? track.syncedLyrics
                                                         : track.plainLyrics;
    const LrcSongParts parts = SplitLrcSongName(song_.name);
    if (!Answer(LyricsOrigin::kLibrary, text)) {
        AnswerNotFound();
        return;
    }
    if (cache_) cache_->Store(parts.singer, parts.song, text);
}

void LyricsFinder::OnLibraryNotFound(RequestId request) {
    if (!find_.Pending() || !libraryAsk_.Take(request)) return;
    AnswerNotFound();
}

bool LyricsFinder::Answer(LyricsOrigin origin, const QString& text) {
    const auto read = ReadLyricText(text);
    if (!read) return false;
    LyricsAnswer answer{find_.Current(), song_.name, origin, read->shape, read->lines, {}};
    if (read->shape == LyricsShape::kInstrumental) answer.status = InstrumentalText();
    find_.Cancel();
    Q_EMIT Answered(answer);
    return true;
}

void LyricsFinder::AnswerNotFound() {
    LyricsAnswer answer{find_.Current(), song_.name, LyricsOrigin::kNowhere, LyricsShape::kNone, {},
                        LrcNotFoundText(song_.name)};
    find_.Cancel();
    Q_EMIT Answered(answer);
}

void LyricsFinder::Choose(const LyricsSong& song, const QString& text) {
    // A pick without lyrics (an empty library row) is no choice: nothing is
    // remembered and the search in flight goes on.
    if (!ReadLyricText(text)) return;
    const LrcSongParts parts = SplitLrcSongName(song.name);
    if (cache_) cache_->Remember(parts.singer, parts.song, text);
    if (song.name != song_.name) return;
    StopNetwork();
    find_.Begin();
    Answer(LyricsOrigin::kChoice, text);
}

}  // namespace tavo
