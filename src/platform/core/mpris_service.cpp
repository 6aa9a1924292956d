#include "platform/core/mpris_service.h"

#include "platform/core/mpris_adaptors.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace tavo::platform {

namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString StatusName(MprisStatus status) {
    switch (status) {
        case MprisStatus::Playing: return QStringLiteral("Playing");
        case MprisStatus::Paused: return QStringLiteral("Paused");
        case MprisStatus::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

}  // namespace

std::optional<QDBusConnection> SessionBus() {
    // Without an address or the usual socket there is no bus; asking for one
    // would try to start one.
    const bool address = !qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").isEmpty();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!address && (runtime.isEmpty() || !QFileInfo::exists(runtime + QStringLiteral("/bus")))) return std::nullopt;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return std::nullopt;
    return bus;
}

// ---------------------------------------------------------------- adaptors

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), s_(*service) {
    connect(service, &MprisService::Seeked, this, &MprisPlayerAdaptor::Seeked);
}

void MprisPlayerAdaptor::Next() {
    if (s_.Target().Can().next) s_.Target().Next();
    s_.AfterCommand();
}

void MprisPlayerAdaptor::Previous() {
    if (s_.Target().Can().previous) s_.Target().Previous();
    s_.AfterCommand();
}

void MprisPlayerAdaptor::Pause() {
    if (s_.Target().Can().pause) s_.Target().Pause();
    s_.AfterCommand();
}

void MprisPlayerAdaptor::PlayPause() { s_.PlayPause(); }

void MprisPlayerAdaptor::Stop() {
    s_.Target().Stop();
    s_.AfterCommand();
}

void MprisPlayerAdaptor::Play() {
    if (s_.Target().Can().play && s_.Target().Status() != MprisStatus::Playing) s_.Target().Play();
    s_.AfterCommand();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset) { s_.Seek(Offset); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    s_.SetPosition(TrackId.path(), Position);
}

// ---------------------------------------------------------------- service

MprisService::MprisService(MprisTarget& target, const QString& identity, const QString& desktopEntry,
                           QObject* parent)
    : QObject(parent), target_(target), identity_(identity), desktopEntry_(desktopEntry) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
}

MprisService::~MprisService() { Unregister(); }

bool MprisService::Register(const QDBusConnection& bus, const QString& name) {
    Unregister();
    if (!bus.isConnected()) return false;
    QDBusConnection b = bus;
    if (!b.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return false;
    QString wanted = QStringLiteral("org.mpris.MediaPlayer2.") + name;
    if (!b.registerService(wanted)) {
        // Another player of this name (a copy outside this user's guard):
        // the name MPRIS gives to further instances.
        wanted += QStringLiteral(".instance%1").arg(::getpid());
        if (!b.registerService(wanted)) {
            b.unregisterObject(kObjectPath);
            return false;
        }
    }
    bus_ = b;
    busName_ = wanted;
    last_ = Read();
    return true;
}

void MprisService::Unregister() {
    if (!bus_) return;
    bus_->unregisterService(busName_);
    bus_->unregisterObject(kObjectPath);
    bus_.reset();
    busName_.clear();
}

QString MprisService::PlaybackStatus() const { return StatusName(target_.Status()); }

QString MprisService::TrackPath(const MprisTrack& track) const {
    if (track.id.isEmpty()) return kNoTrack;
    return QStringLiteral("/org/tavo/MusicBox/track/") + track.id;
}

QVariantMap MprisService::Metadata() const { return MetadataOf(target_.Track()); }

QVariantMap MprisService::MetadataOf(const MprisTrack& t) const {
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackPath(t))));
    if (t.id.isEmpty()) return m;
    if (t.lengthUs > 0) m.insert(QStringLiteral("mpris:length"), QVariant::fromValue<qlonglong>(t.lengthUs));
    if (!t.title.isEmpty()) m.insert(QStringLiteral("xesam:title"), t.title);
    if (!t.artists.isEmpty()) m.insert(QStringLiteral("xesam:artist"), t.artists);
    if (!t.url.isEmpty()) m.insert(QStringLiteral("xesam:url"), t.url);
    const QString& text = t.lyricText.isEmpty() ? t.lyricLine : t.lyricText;
    if (!text.isEmpty()) m.insert(QStringLiteral("xesam:asText"), text);
    if (!t.artUrl.isEmpty()) m.insert(QStringLiteral("mpris:artUrl"), t.artUrl);
    return m;
}

void MprisService::PlayPause() {
    const MprisAbilities can = target_.Can();
    if (target_.Status() == MprisStatus::Playing) {
        if (can.pause) target_.Pause();
    } else if (can.play) {
        target_.Play();
    }
    Refresh();
}

void MprisService::JumpTo(qint64 positionUs) {
    target_.SetPositionUs(positionUs);
    Refresh();
    Q_EMIT Seeked(target_.PositionUs());
}

void MprisService::Seek(qint64 offsetUs) {
    if (!target_.Can().seek) return;
    const MprisTrack t = target_.Track();
    const qint64 to = std::max<qint64>(0, target_.PositionUs() + offsetUs);
    // Past the end is the next song.
    if (t.lengthUs > 0 && to >= t.lengthUs) {
        if (target_.Can().next) target_.Next();
        Refresh();
        return;
    }
    JumpTo(to);
}

void MprisService::SetPosition(const QString& trackPath, qint64 positionUs) {
    if (!target_.Can().seek) return;
    const MprisTrack t = target_.Track();
    // Only for the song that plays, and only within it.
    if (trackPath != TrackPath(t) || t.id.isEmpty() || positionUs < 0) return;
    if (t.lengthUs > 0 && positionUs > t.lengthUs) return;
    JumpTo(positionUs);
}

void MprisService::SetVolume(double volume) {
    if (!std::isfinite(volume)) return;
    target_.SetVolume(std::clamp(volume, 0.0, 1.0));
    Refresh();
}

MprisService::Snapshot MprisService::Read() const {
    return {target_.Status(), target_.Track(), target_.Volume(), target_.Can()};
}

void MprisService::Refresh() {
    if (!bus_) return;
    const Snapshot now = Read();
    QVariantMap changed;
    if (now.status != last_.status) changed.insert(QStringLiteral("PlaybackStatus"), StatusName(now.status));
    if (!(now.track == last_.track)) changed.insert(QStringLiteral("Metadata"), MetadataOf(now.track));
    if (now.volume != last_.volume) changed.insert(QStringLiteral("Volume"), now.volume);
    if (now.can.play != last_.can.play) changed.insert(QStringLiteral("CanPlay"), now.can.play);
    if (now.can.pause != last_.can.pause) changed.insert(QStringLiteral("CanPause"), now.can.pause);
    if (now.can.next != last_.can.next) changed.insert(QStringLiteral("CanGoNext"), now.can.next);
    if (now.can.previous != last_.can.previous) changed.insert(QStringLiteral("CanGoPrevious"), now.can.previous);
    if (now.can.seek != last_.can.seek) changed.insert(QStringLiteral("CanSeek"), now.can.seek);
    // A new song starts at its own position: clients that keep a clock
    // from the last Seeked start it again.
    const bool newSong = now.track.id != last_.track.id && !now.track.id.isEmpty();
    last_ = now;
    if (!changed.isEmpty()) SendChanged(kPlayerInterface, changed);
    if (newSong) Q_EMIT Seeked(target_.PositionUs());
}

void MprisService::SendChanged(const QString& interface, const QVariantMap& changed) {
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    bus_->send(signal);
}

}  // namespace tavo::platform
