#include "shell/local_music_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace tavo {

namespace {

const QString kXspfFilter = QStringLiteral("XSPF 播放列表 (*.xspf)");

QString MusicFolder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return QDir(music).exists() ? music : QDir::homePath();
}

}  // namespace

QString ChooseMusicFolder(QWidget* owner) {
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("添加本地文件夹"), MusicFolder());
}

QString ChoosePlaylistFile(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QStringLiteral("导入播放列表"), MusicFolder(),
                                        QStringLiteral("播放列表 (*.m3u *.m3u8 *.pls *.xspf);;所有文件 (*)"));
}

QString ChooseExportFile(QWidget* owner) {
    QString chosenFilter;
    const QString file = QFileDialog::getSaveFileName(
        owner, QStringLiteral("导出收藏列表"), QDir(MusicFolder()).filePath(QStringLiteral("我的收藏.m3u8")),
        QStringLiteral("M3U8 播放列表 (*.m3u8);;") + kXspfFilter, &chosenFilter);
    return file.isEmpty() ? file : WithPlaylistExtension(file, chosenFilter == kXspfFilter);
}

QString WithPlaylistExtension(const QString& file, bool xspf) {
    if (file.endsWith(QStringLiteral(".m3u8"), Qt::CaseInsensitive) ||
        file.endsWith(QStringLiteral(".xspf"), Qt::CaseInsensitive))
        return file;
    return file + (xspf ? QStringLiteral(".xspf") : QStringLiteral(".m3u8"));
}

}  // namespace tavo
