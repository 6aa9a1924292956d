#pragma once
// The player on the session bus as an MPRIS media player: the bus name
// "org.mpris.MediaPlayer2.<name>", the object /org/mpris/MediaPlayer2 with
// the interfaces org.mpris.MediaPlayer2 and org.mpris.MediaPlayer2.Player.
// Media keys, sound applets and any MPRIS client read the state and send
// commands through it; commands go to the MprisTarget.
//
// Refresh() re-reads the target and tells the bus what changed, in one
// PropertiesChanged signal per interface (the position never: clients ask
// for it; a jump in it, and the start of a new song, is the Seeked signal).

#include "platform/core/mpris_target.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace tavo::platform {

// The session bus when one is running, without starting one. No bus: no
// connection and no message.
std::optional<QDBusConnection> SessionBus();

class MprisService : public QObject {
    Q_OBJECT
public:
    static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
    static inline const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

    // `identity`: the player's name as people read it; `desktopEntry`: the
    // desktop entry's id without ".desktop".
    MprisService(MprisTarget& target, const QString& identity, const QString& desktopEntry, QObject* parent = nullptr);
    ~MprisService() override;

    // Exports the object and takes "org.mpris.MediaPlayer2.<name>" (with
    // ".instance<pid>" when that is taken). False when the bus refuses.
    bool Register(const QDBusConnection& bus, const QString& name);
    void Unregister();
    QString BusName() const { return busName_; }

    // Tells the bus what changed since the last call.
    void Refresh();

    // ---- what the bus interfaces read and do (the adaptors call these)
    MprisTarget& Target() { return target_; }
    const QString& Identity() const { return identity_; }
    const QString& DesktopEntry() const { return desktopEntry_; }
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    QString TrackPath(const MprisTrack& track) const;
    void PlayPause();
    void Seek(qint64 offsetUs);
    void SetPosition(const QString& trackPath, qint64 positionUs);
    void SetVolume(double volume);
    // After any command: what it changed at once goes out now.
    void AfterCommand() { Refresh(); }

Q_SIGNALS:
    void Seeked(qint64 positionUs);

private:
    struct Snapshot {
        MprisStatus status = MprisStatus::Stopped;
        MprisTrack track;
        double volume = 0;
        MprisAbilities can;
    };
    Snapshot Read() const;
    QVariantMap MetadataOf(const MprisTrack& track) const;
    void SendChanged(const QString& interface, const QVariantMap& changed);
    void JumpTo(qint64 positionUs);

    MprisTarget& target_;
    QString identity_;
    QString desktopEntry_;
    std::optional<QDBusConnection> bus_;
    QString busName_;
    Snapshot last_;
};

}  // namespace tavo::platform
