#include "lyrics/lyric_offsets.h"

#include "lyrics/lyric_doc.h"
#include "platform/settings_store.h"

#include <QCryptographicHash>

#include <algorithm>

namespace tavo {
namespace {

const QString kSection = QStringLiteral("LrcOffset");

QString SongKey(const QString& song) {
    return QString::fromLatin1(QCryptographicHash::hash(song.toUtf8(), QCryptographicHash::Sha1).toHex());
}

int ClampOffset(long long ms) { return static_cast<int>(std::clamp<long long>(ms, -kMaxLyricOffsetMs, kMaxLyricOffsetMs)); }

}  // namespace

LyricOffsets::LyricOffsets(platform::SettingsStore& store, QString appName) : store_(store), appName_(std::move(appName)) {}

int LyricOffsets::OffsetFor(const QString& song) const {
    return ClampOffset(platform::SettingNumber(store_.GetSetting(appName_, kSection, SongKey(song))));
}

LyricOffsets::Change LyricOffsets::Shift(const QString& song, int deltaMs) {
    const int next = ClampOffset(static_cast<long long>(OffsetFor(song)) + deltaMs);
    return {next, store_.SaveSetting(appName_, kSection, SongKey(song), QString::number(next))};
}

QString LyricOffsetCaption(int offsetMs) {
    const int tenths = (std::abs(offsetMs) + 50) / 100;
    const QString sign = tenths == 0 ? QString() : offsetMs > 0 ? QStringLiteral("+") : QStringLiteral("-");
    return QStringLiteral("%1%2.%3 s").arg(sign).arg(tenths / 10).arg(tenths % 10);
}

}  // namespace tavo
