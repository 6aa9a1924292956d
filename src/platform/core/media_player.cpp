#include "platform/core/media_player.h"

#include "platform/codepage.h"
#include "platform/core/network_proxy.h"
#include "platform/core/user_agent.h"

#include "platform/core/mpv_library.h"

#include <QByteArray>
#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tavo::platform {

namespace {

// Observed properties, told apart by their reply id.
enum Observed : std::uint64_t {
    kObsTimePos = 1,
    kObsDuration,
    kObsPause,
    kObsPausedForCache,
    kObsMute,
    kObsVolume,
    kObsMetadata,
};

// Longest stream title kept, in UTF-16 units: a stream may send anything.
constexpr qsizetype kMaxStreamTitle = 256;

// The value of `key` (compared without case) in an mpv string map.
QString MapValue(const mpv_node& map, const char* key) {
    if (map.format != MPV_FORMAT_NODE_MAP || !map.u.list) return {};
    for (int i = 0; i < map.u.list->num; ++i) {
        const mpv_node& v = map.u.list->values[i];
        if (qstricmp(map.u.list->keys[i], key) == 0 && v.format == MPV_FORMAT_STRING && v.u.string) {
            // Streams of Chinese stations often send their titles in code
            // page 936 rather than UTF-8.
            const QByteArray bytes(v.u.string);
            QString text = (IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeGb18030(bytes)).left(kMaxStreamTitle);
            for (QChar& c : text)
                if (c.unicode() < 0x20) c = QLatin1Char(' ');
            return text.trimmed();
        }
    }
    return {};
}

const QString kConnecting = QStringLiteral("正在连接...");
const QString kBufferingText = QStringLiteral("正在缓冲...");
const QString kPlayingText = QStringLiteral("正在播放");
const QString kPausedText = QStringLiteral("已暂停");
const QString kStoppedText = QStringLiteral("已停止");
const QString kFailedText = QStringLiteral("无法播放此地址");
const QString kNoDataText = QStringLiteral("网络无响应");
const QString kUnavailableText = QStringLiteral("播放组件不可用");

void SetOption(mpv_handle* h, const char* name, const QByteArray& value) {
    Mpv().set_option_string(h, name, value.constData());
}

}  // namespace

QString FormatMinutesSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    const long long whole = static_cast<long long>(std::min(seconds, 1e12));
    return QStringLiteral("%1:%2")
        .arg(whole / 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

MpvMediaPlayer::MpvMediaPlayer(const MpvOptions& options, QObject* parent)
    : MediaPlayer(parent), options_(options), volume_(std::clamp(options.initialVolume, 0, 100)) {
    noData_.setSingleShot(true);
    noData_.setInterval(std::max(1, options_.noDataTimeoutMs));
    connect(&noData_, &QTimer::timeout, this, &MpvMediaPlayer::OnNoData);
    // Once the event loop runs: opening libmpv holds the loader's lock for
    // a tenth of a second, and the windows made before then load Qt's own
    // plug-ins through it.
    QMetaObject::invokeMethod(this, &MpvMediaPlayer::StartLoading, Qt::QueuedConnection);
}

void MpvMediaPlayer::StartLoading() {
    if (loadStarted_) return;
    loadStarted_ = true;
    starting_ = std::thread([this, options = options_, volume = volume_] {
        if (!Mpv().Loaded()) return;
        mpv_handle* h = Mpv().create();
        if (!h) return;
        SetOption(h, "config", "no");
        SetOption(h, "terminal", "no");
        SetOption(h, "input-default-bindings", "no");
        SetOption(h, "ytdl", "no");
        SetOption(h, "load-scripts", "no");
        // Nothing of the built-in on-screen scripts: no window to show them.
        SetOption(h, "osc", "no");
        SetOption(h, "load-stats-overlay", "no");
        SetOption(h, "load-osd-console", "no");
        SetOption(h, "load-auto-profiles", "no");
        SetOption(h, "video", "no");
        SetOption(h, "audio-display", "no");
        SetOption(h, "idle", "yes");
        SetOption(h, "keep-open", "no");
        SetOption(h, "audio-fallback-to-null", "yes");
        if (!options.audioOutput.isEmpty()) SetOption(h, "ao", options.audioOutput.toUtf8());
        SetOption(h, "network-timeout", QByteArray::number(std::max(1, options.networkTimeoutS)));
        // Streams say who asks, as the downloads do.
        SetOption(h, "user-agent", kUserAgent);
        SetOption(h, "volume", QByteArray::number(volume));
        if (Mpv().initialize(h) < 0) {
            Mpv().terminate_destroy(h);
            return;
        }
        Mpv().observe_property(h, kObsTimePos, "time-pos", MPV_FORMAT_DOUBLE);
        Mpv().observe_property(h, kObsDuration, "duration", MPV_FORMAT_DOUBLE);
        Mpv().observe_property(h, kObsPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
        Mpv().observe_property(h, kObsMute, "mute", MPV_FORMAT_FLAG);
        Mpv().observe_property(h, kObsVolume, "volume", MPV_FORMAT_DOUBLE);
        Mpv().observe_property(h, kObsMetadata, "metadata", MPV_FORMAT_NODE);
        Mpv().set_wakeup_callback(h, &MpvMediaPlayer::Wakeup, this);
        mpv_ = h;
    });
}

// Waits for libmpv to have started (once), starting it when it has not.
void MpvMediaPlayer::EnsureReady() {
    StartLoading();
    if (!starting_.joinable()) return;
    starting_.join();
    if (!mpv_) return;
    // What was set while it started.
    int flag = muted_ ? 1 : 0;
    if (muted_) Mpv().set_property(mpv_, "mute", MPV_FORMAT_FLAG, &flag);
    double v = volume_;
    Mpv().set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &v);
}

MpvMediaPlayer::~MpvMediaPlayer() {
    if (!loadStarted_) return;  // never started: nothing to end
    EnsureReady();
    if (!mpv_) return;
    // After this returns the callback no longer runs; calls it already queued
    // die with this object.
    Mpv().set_wakeup_callback(mpv_, nullptr, nullptr);
    Mpv().terminate_destroy(mpv_);
}

// On an mpv thread: only queue a drain on the UI thread, once.
void MpvMediaPlayer::Wakeup(void* self) {
    auto* player = static_cast<MpvMediaPlayer*>(self);
    if (player->wakePending_.exchange(true)) return;
    QMetaObject::invokeMethod(player, [player] { player->Drain(); }, Qt::QueuedConnection);
}

void MpvMediaPlayer::Drain() {
    wakePending_ = false;
    EnsureReady();
    if (!mpv_) return;
    for (;;) {
        mpv_event* event = Mpv().wait_event(mpv_, 0);
        if (!event || event->event_id == MPV_EVENT_NONE) break;
        Handle(*event);
    }
}

void MpvMediaPlayer::SetState(int state, const QString& status) {
    status_ = status;
    if (state == state_) return;
    state_ = state;
    Q_EMIT PlayStateChange(state);
}

void MpvMediaPlayer::SetStreamTitle(const QString& title, const QString& name) {
    if (title == streamTitle_ && name == streamName_) return;
    streamTitle_ = title;
    streamName_ = name;
    Q_EMIT StreamTitleChange(title, name);
}

// The metadata as it stands (its change may have been reported before the
// file counted as loaded).
void MpvMediaPlayer::ReadStreamTitle() {
    mpv_node node{};
    if (Mpv().get_property(mpv_, "metadata", MPV_FORMAT_NODE, &node) < 0) return;
    SetStreamTitle(MapValue(node, "icy-title"), MapValue(node, "icy-name"));
    Mpv().free_node_contents(&node);
}

void MpvMediaPlayer::Load() {
    SetStreamTitle(QString(), QString());
    loaded_ = false;
    paused_ = false;
    cacheWait_ = false;
    position_ = 0;
    duration_ = 0;
    entry_ = -1;
    EnsureReady();
    if (!mpv_) {
        SetState(kPlayReady, kUnavailableText);
        return;
    }
    if (url_.isEmpty()) {
        const char* stop[] = {"stop", nullptr};
        Mpv().command(mpv_, stop);
        SetState(kPlayReady, kFailedText);
        return;
    }
    const QByteArray url = url_.toUtf8();
    // Through the proxy the web layer would use for this address (none
    // clears the previous song's).
    Mpv().set_property_string(mpv_, "options/http-proxy", ProxyFor(QUrl(url_)).toUtf8().constData());
    int no = 0;
    Mpv().set_property(mpv_, "pause", MPV_FORMAT_FLAG, &no);
    const char* load[] = {"loadfile", url.constData(), "replace", nullptr};
    mpv_node result{};
    if (Mpv().command_ret(mpv_, load, &result) < 0) {
        SetState(kPlayReady, kFailedText);
        return;
    }
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry_ = result.u.list->values[i].u.int64;
        }
    }
    Mpv().free_node_contents(&result);
    SetState(kPlayTransitioning, kConnecting);
    noData_.start();
}

void MpvMediaPlayer::setURL(const QString& url) {
    url_ = url;
    Load();
}

void MpvMediaPlayer::Play() {
    switch (state_) {
        case kPlayPaused: {
            paused_ = false;
            EnsureReady();
            if (mpv_) {
                int no = 0;
                Mpv().set_property(mpv_, "pause", MPV_FORMAT_FLAG, &no);
            }
            if (loaded_)
                SetState(cacheWait_ ? kPlayBuffering : kPlayPlaying, cacheWait_ ? kBufferingText : kPlayingText);
            else
                SetState(kPlayTransitioning, kConnecting);
            noData_.start();
            break;
        }
        case kPlayPlaying:
        case kPlayBuffering:
        case kPlayTransitioning:
            break;
        default:
            // Stopped, ended, failed or never started: open the address again.
            if (!url_.isEmpty()) Load();
            break;
    }
}

void MpvMediaPlayer::Pause() {
    if (state_ != kPlayPlaying && state_ != kPlayBuffering && state_ != kPlayTransitioning) return;
    paused_ = true;
    EnsureReady();
    if (mpv_) {
        int yes = 1;
        Mpv().set_property(mpv_, "pause", MPV_FORMAT_FLAG, &yes);
    }
    noData_.stop();
    SetState(kPlayPaused, kPausedText);
}

void MpvMediaPlayer::Stop() {
    noData_.stop();
    entry_ = -1;
    loaded_ = false;
    position_ = 0;
    EnsureReady();
    if (mpv_) {
        const char* stop[] = {"stop", nullptr};
        Mpv().command(mpv_, stop);
    }
    SetState(kPlayStopped, kStoppedText);
}

void MpvMediaPlayer::Seek(double seconds) {
    EnsureReady();
    if (!mpv_ || !loaded_ || !std::isfinite(seconds)) return;
    seconds = std::clamp(seconds, 0.0, std::max(0.0, duration_));
    if (Mpv().set_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &seconds) >= 0) position_ = seconds;
}

void MpvMediaPlayer::SetMuted(bool muted) {
    muted_ = muted;
    EnsureReady();
    if (!mpv_) return;
    int flag = muted ? 1 : 0;
    Mpv().set_property(mpv_, "mute", MPV_FORMAT_FLAG, &flag);
}

void MpvMediaPlayer::SetVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
    EnsureReady();
    if (!mpv_) return;
    double v = volume_;
    Mpv().set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &v);
}

void MpvMediaPlayer::OnNoData() {
    if (state_ == kPlayTransitioning || state_ == kPlayBuffering || state_ == kPlayPlaying)
        SetState(kPlayWaiting, kNoDataText);
}

void MpvMediaPlayer::Handle(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_START_FILE: {
            // A loadfile that reported no entry id: the next file to start is ours.
            const auto* start = static_cast<const mpv_event_start_file*>(event.data);
            if (entry_ == -1 && state_ == kPlayTransitioning && start) entry_ = start->playlist_entry_id;
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            if (entry_ == -1 || state_ == kPlayStopped) break;
            loaded_ = true;
            noData_.start();
            if (state_ == kPlayTransitioning) status_ = kBufferingText;
            ReadStreamTitle();
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (!loaded_) break;
            if (state_ == kPlayTransitioning || state_ == kPlayBuffering || state_ == kPlayWaiting) {
                if (paused_)
                    SetState(kPlayPaused, kPausedText);
                else if (cacheWait_)
                    SetState(kPlayBuffering, kBufferingText);
                else
                    SetState(kPlayPlaying, kPlayingText);
                noData_.start();
            }
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (!end || entry_ == -1 || end->playlist_entry_id != entry_) break;
            if (end->reason == MPV_END_FILE_REASON_REDIRECT) break;
            noData_.stop();
            loaded_ = false;
            entry_ = -1;
            if (end->reason == MPV_END_FILE_REASON_ERROR)
                SetState(kPlayReady, kFailedText);
            else if (state_ != kPlayWaiting || end->reason == MPV_END_FILE_REASON_EOF)
                SetState(kPlayStopped, kStoppedText);
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* prop = static_cast<const mpv_event_property*>(event.data);
            if (!prop) break;
            const bool has = prop->format != MPV_FORMAT_NONE && prop->data;
            switch (event.reply_userdata) {
                case kObsTimePos:
                    if (!has || !loaded_) break;
                    position_ = *static_cast<double*>(prop->data);
                    if (state_ == kPlayPlaying || state_ == kPlayBuffering) noData_.start();
                    if (state_ == kPlayWaiting && !paused_) SetState(kPlayPlaying, kPlayingText);
                    break;
                case kObsDuration:
                    if (has && loaded_) duration_ = *static_cast<double*>(prop->data);
                    break;
                case kObsPausedForCache:
                    cacheWait_ = has && *static_cast<int*>(prop->data) != 0;
                    if (!loaded_) break;
                    if (cacheWait_ && state_ == kPlayPlaying) {
                        SetState(kPlayBuffering, kBufferingText);
                        noData_.start();
                    } else if (!cacheWait_ && state_ == kPlayBuffering) {
                        SetState(kPlayPlaying, kPlayingText);
                    }
                    break;
                case kObsMute:
                    if (has) muted_ = *static_cast<int*>(prop->data) != 0;
                    break;
                case kObsVolume:
                    if (has) volume_ = static_cast<int>(std::lround(std::clamp(*static_cast<double*>(prop->data), 0.0, 100.0)));
                    break;
                case kObsMetadata:
                    // Only the address we opened: the one it replaced may
                    // still report its last metadata.
                    if (!loaded_ || entry_ == -1) break;
                    if (has && prop->format == MPV_FORMAT_NODE) {
                        const auto& node = *static_cast<const mpv_node*>(prop->data);
                        SetStreamTitle(MapValue(node, "icy-title"), MapValue(node, "icy-name"));
                    }
                    break;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace tavo::platform
