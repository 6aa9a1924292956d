#include "platform/core/cover_file.h"

#include "platform/core/tag_reader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>
#include <QUrl>

#include <system_error>

namespace tavo::platform {

namespace fs = std::filesystem;

QString CoverExtension(const QByteArray& b) {
    if (b.startsWith("\xFF\xD8\xFF")) return QStringLiteral("jpg");
    if (b.startsWith("\x89PNG\r\n\x1A\n")) return QStringLiteral("png");
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a")) return QStringLiteral("gif");
    if (b.size() >= 12 && b.startsWith("RIFF") && b.mid(8, 4) == "WEBP") return QStringLiteral("webp");
    return {};
}

QString CoverFileUrl(const fs::path& folder, const fs::path& song, const CoverReader& read) {
    std::error_code ec;
    if (!read || !fs::is_regular_file(song, ec)) return {};
    const auto size = fs::file_size(song, ec);
    if (ec) return {};
    const auto changed = fs::last_write_time(song, ec).time_since_epoch().count();
    if (ec) return {};
    QByteArray identity = QByteArray::fromStdString(song.string());
    identity += '\0' + QByteArray::number(static_cast<qulonglong>(size)) + '\0' + QByteArray::number(static_cast<qlonglong>(changed));
    const QString stem = QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex());

    // Written before: any of the picture types under this name.
    for (const char* ext : {"jpg", "png", "gif", "webp"}) {
        const fs::path file = folder / (stem.toStdString() + "." + ext);
        if (fs::is_regular_file(file, ec)) return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
    }
    const std::optional<QByteArray> bytes = read(song);
    if (!bytes || bytes->isEmpty() || bytes->size() > kMaxCoverBytes) return {};
    const QString ext = CoverExtension(*bytes);
    if (ext.isEmpty()) return {};
    fs::create_directories(folder, ec);
    const fs::path file = folder / (stem + QLatin1Char('.') + ext).toStdString();
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly) || out.write(*bytes) != bytes->size() || !out.commit()) return {};
    return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
}

fs::path LocalSongPath(const QString& address) {
    if (address.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        const QUrl url(address);
        return url.isLocalFile() && url.host().isEmpty() ? fs::path(url.toLocalFile().toStdString()) : fs::path();
    }
    return address.startsWith(QLatin1Char('/')) ? fs::path(address.toStdString()) : fs::path();
}

QString SongCoverUrl(const QString& address) {
    const fs::path song = LocalSongPath(address);
    if (song.empty()) return {};
    return CoverFileUrl(UserCoverFolder(), song, [](const fs::path& file) -> std::optional<QByteArray> {
        TagReadResult r = ReadTags(file, kTagCover);
        if (r.error != TagReadError::None || r.info.cover.isEmpty()) return std::nullopt;
        return std::move(r.info.cover);
    });
}

fs::path UserCoverFolder() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.cache");
    return fs::path(base.toStdString()) / "tavo-musicbox" / "covers";
}

}  // namespace tavo::platform
