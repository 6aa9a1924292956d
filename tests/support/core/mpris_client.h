#pragma once
// The client side of the MPRIS tests: what a desktop hears from the player
// (PropertiesChanged, Seeked) and how it reads the metadata's D-Bus types.

#include "platform/core/mpris_service.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace tavo::test {

class MprisListener : public QObject {
    Q_OBJECT
public:
    struct Change {
        QString interface;
        QVariantMap changed;
    };
    std::vector<Change> changes;
    std::vector<qlonglong> seeks;

    // The newest value of `property` heard in PropertiesChanged (invalid if none).
    QVariant Heard(const QString& property) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->changed.contains(property)) return it->changed.value(property);
        return {};
    }

    // Listens to PropertiesChanged and Seeked of the player `name` on `bus`.
    bool Listen(QDBusConnection& bus, const QString& name) {
        const QString& path = platform::MprisService::kObjectPath;
        return bus.connect(name, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                           QStringLiteral("PropertiesChanged"), this, SLOT(OnChanged(QString, QVariantMap, QStringList))) &&
               bus.connect(name, path, QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Seeked"), this,
                           SLOT(OnSeeked(qlonglong)));
    }

public Q_SLOTS:
    void OnChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        changes.push_back({interface, changed});
    }
    void OnSeeked(qlonglong position) { seeks.push_back(position); }
};

// a{sv} arrives as a QDBusArgument inside a variant.
inline QVariantMap AsMap(const QVariant& v) {
    if (v.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(v.value<QDBusArgument>());
    return v.toMap();
}

inline QString TrackIdOf(const QVariantMap& metadata) {
    const QVariant v = metadata.value(QStringLiteral("mpris:trackid"));
    if (v.canConvert<QDBusObjectPath>()) return v.value<QDBusObjectPath>().path();
    return qdbus_cast<QDBusObjectPath>(v.value<QDBusArgument>()).path();
}

}  // namespace tavo::test
