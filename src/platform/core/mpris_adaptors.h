#pragma once
// The two MPRIS interfaces as Qt D-Bus adaptors of an MprisService: every
// property, method and signal of org.mpris.MediaPlayer2 and
// org.mpris.MediaPlayer2.Player that the player has (no track list, no
// loop or shuffle modes, one playback rate).

#include "platform/core/mpris_service.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace tavo::platform {

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    explicit MprisRootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), s_(*service) {}

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return s_.Identity(); }
    QString DesktopEntry() const { return s_.DesktopEntry(); }
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

public Q_SLOTS:
    void Raise() { s_.Target().Raise(); }
    void Quit() { s_.Target().Quit(); }

private:
    MprisService& s_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    explicit MprisPlayerAdaptor(MprisService* service);

    QString PlaybackStatus() const { return s_.PlaybackStatus(); }
    double Rate() const { return 1.0; }
    void SetRate(double) {}  // one rate only
    QVariantMap Metadata() const { return s_.Metadata(); }
    double Volume() const { return s_.Target().Volume(); }
    void SetVolume(double v) { s_.SetVolume(v); }
    qlonglong Position() const { return s_.Target().PositionUs(); }
    bool CanGoNext() const { return s_.Target().Can().next; }
    bool CanGoPrevious() const { return s_.Target().Can().previous; }
    bool CanPlay() const { return s_.Target().Can().play; }
    bool CanPause() const { return s_.Target().Can().pause; }
    bool CanSeek() const { return s_.Target().Can().seek; }
    bool CanControl() const { return true; }

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString&) {}  // no URI schemes are offered

Q_SIGNALS:
    void Seeked(qlonglong Position);

private:
    MprisService& s_;
};

}  // namespace tavo::platform
