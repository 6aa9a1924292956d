#include "shell/local_music_commands.h"

#include "app/favourites_exchange.h"
#include "app/favourites_file.h"
#include "app/list_files.h"
#include "app/open_items.h"
#include "app/ui/import_progress.h"
#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "sources/playlist_formats.h"

#include <QSaveFile>
#include <QSet>

namespace tavo {

namespace fs = std::filesystem;

namespace {

using platform::MsgButtons;
using platform::MsgIcon;

QString LinkOf(const QString& line) {
    const std::optional<ListRecord> record = ParseListLine(line);
    return record ? record->link : QString();
}

QString PlaylistReadError(PlaylistError error) {
    switch (error) {
        case PlaylistError::Missing: return QStringLiteral("找不到这个播放列表文件。");
        case PlaylistError::TooLarge: return QStringLiteral("播放列表文件太大，没有导入。");
        case PlaylistError::Unreadable: return QStringLiteral("无法读取这个播放列表文件。");
        case PlaylistError::NotPlaylist:
            return QStringLiteral("这个文件不是可以识别的播放列表（M3U、M3U8、PLS、XSPF）。");
        case PlaylistError::None: break;
    }
    return {};
}

// "已导入 n 首歌曲；跳过：…。"
QString PlaylistSummary(int added, const PlaylistRead& read, int duplicates, int refused) {
    QString text = QStringLiteral("已导入 %1 首歌曲").arg(added);
    QStringList skipped;
    if (read.skipped) skipped << QStringLiteral("%1 行无法识别").arg(read.skipped);
    if (duplicates) skipped << QStringLiteral("%1 首已在收藏列表中").arg(duplicates);
    if (refused) skipped << QStringLiteral("%1 个路径含有列表分隔符或换行，无法收藏").arg(refused);
    if (!skipped.isEmpty()) text += QStringLiteral("；跳过：") + skipped.join(QStringLiteral("，"));
    if (read.truncated) text += QStringLiteral("；列表太长，只取了前 %1 首").arg(kMaxPlaylistEntries);
    return text + QStringLiteral("。");
}

}  // namespace

LocalMusicCommands::LocalMusicCommands(ShellHost& host, QObject* parent) : QObject(parent), host_(host) {
    connect(&import_, &LocalImport::Finished, this, &LocalMusicCommands::OnImportFinished);
}

LocalMusicCommands::~LocalMusicCommands() { delete progress_.data(); }

void LocalMusicCommands::Tell(const QString& text) {
    platform::Messages().Show(text, host_.AppTitle(), MsgButtons::Ok, MsgIcon::Information);
}

void LocalMusicCommands::RefreshView() {
    // Shown or playing: the new lines appear, and the play list follows.
    if (host_.SourceIndex() == 0 || host_.YNPlaySongList()) host_.MySongList();
    if (host_.YNPlaySongList()) host_.Play_List();
}

bool LocalMusicCommands::AppendNew(const QStringList& lines, QStringList* added, int* duplicates) {
    // The file may have changed while the lines were read: the links are
    // taken again just before the one rewrite.
    const QStringList known = ReadListFile(host_.FavouritesPath()).links;
    QSet<QString> seen(known.cbegin(), known.cend());
    QStringList fresh;
    for (const QString& line : lines) {
        const QString link = LinkOf(line);
        if (!link.isEmpty() && seen.contains(link)) {
            ++*duplicates;
            continue;
        }
        seen.insert(link);
        fresh.append(line);
    }
    if (fresh.isEmpty()) return true;
    if (FavouritesEditor(host_.FavouritesPath()).Append(fresh)) {
        *added = std::move(fresh);
        return true;
    }
    platform::Messages().Show(QStringLiteral("收藏列表（%1）无法写入，没有加入任何歌曲。")
                                  .arg(platform::PathToQString(host_.FavouritesPath())),
                              host_.AppTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

// ---------------------------------------------------------------- files

void LocalMusicCommands::AddFiles() {
    const QStringList files = ChooseFiles ? ChooseFiles() : QStringList();
    if (files.isEmpty()) return;
    QStringList lines;
    int refused = 0;
    int unreadable = 0;
    for (const QString& path : files) {
        if (IsRefusedPath(path)) {
            ++refused;
            continue;
        }
        // Named from its tags; a file that cannot be read as music is left out.
        if (const std::optional<QString> line = ReadLocalSongLine(platform::QStringToPath(path)))
            lines.append(*line);
        else
            ++unreadable;
    }
    QStringList added;
    int duplicates = 0;
    if (!AppendNew(lines, &added, &duplicates)) return;
    if (!added.isEmpty()) RefreshView();
    // One message for everything that was left out.
    QStringList skipped;
    if (refused > 0)
        skipped << QStringLiteral("有 %1 个文件的路径含有换行或列表分隔符，无法加入收藏列表。").arg(refused);
    if (unreadable > 0) skipped << QStringLiteral("有 %1 个文件无法读取为音乐，没有加入收藏列表。").arg(unreadable);
    if (duplicates > 0) skipped << QStringLiteral("有 %1 首歌曲已在收藏列表中，没有重复加入。").arg(duplicates);
    if (!skipped.isEmpty()) Tell(skipped.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------- folders

void LocalMusicCommands::AddFolder() {
    const QString folder = ChooseFolder ? ChooseFolder() : QString();
    if (folder.isEmpty()) return;
    AddFolders({platform::QStringToPath(folder)});
}

void LocalMusicCommands::AddFolders(const std::vector<fs::path>& folders, bool playFirst) {
    if (folders.empty()) return;
    const bool idle = !import_.IsRunning();
    if (idle) {
        total_ = ImportResult{};
        playFirst_ = playFirst;
    }
    folders_.insert(folders_.end(), folders.begin(), folders.end());
    if (idle) StartNextFolder();
}

void LocalMusicCommands::StartNextFolder() {
    const fs::path folder = folders_.front();
    folders_.pop_front();
    import_.Start(folder, ReadListFile(host_.FavouritesPath()).links);
    if (!progress_) {
        progress_ = new ImportProgressDialog(import_, host_.MainWindow());
        progress_->setObjectName(QStringLiteral("ImportProgress"));
        // The dialog closes itself when a result arrives; the next folder
        // opens it again.
        disconnect(&import_, &LocalImport::Finished, progress_.data(), nullptr);
    }
    progress_->setLabelText(QStringLiteral("正在查找音乐文件：%1").arg(platform::PathToQString(folder)));
}

void LocalMusicCommands::OnImportFinished(const ImportResult& result) {
    if (result.cancelled) {
        folders_.clear();
        total_.cancelled = true;
    } else {
        QStringList added;
        int duplicates = 0;
        if (!AppendNew(result.lines, &added, &duplicates)) {
            folders_.clear();
            delete progress_.data();
            emit FoldersDone();
            return;
        }
        total_.lines.append(added);
        total_.found += result.found;
        total_.duplicates += result.duplicates + duplicates;
        total_.unreadable += result.unreadable;
        total_.refused += result.refused;
        total_.truncated = total_.truncated || result.truncated;
        if (!added.isEmpty()) RefreshView();
        // The first song of a folder handed over to play (one already in
        // the favourites too).
        if (playFirst_ && !result.firstLink.isEmpty() && PlayLink) {
            playFirst_ = false;
            PlayLink(result.firstLink);
        }
    }
    if (!folders_.empty()) {
        StartNextFolder();
        return;
    }
    delete progress_.data();
    // Cancelled: what earlier folders added stays, and is said.
    if (total_.cancelled && !total_.lines.isEmpty()) total_.cancelled = false;
    Tell(ImportSummary(total_));
    emit FoldersDone();
}

// ---------------------------------------------------------------- playlists

void LocalMusicCommands::ImportPlaylist() {
    const QString file = ChoosePlaylist ? ChoosePlaylist() : QString();
    if (file.isEmpty()) return;
    // Read whole before anything is written.
    const PlaylistRead read = ReadPlaylistFile(platform::QStringToPath(file));
    if (read.error != PlaylistError::None) {
        platform::Messages().Show(PlaylistReadError(read.error), host_.AppTitle(), MsgButtons::Ok,
                                  MsgIcon::Exclamation);
        return;
    }
    const PlaylistImport lines = FavouritesFromPlaylist(read.entries, ReadListFile(host_.FavouritesPath()).links);
    QStringList added;
    int duplicates = lines.duplicates;
    if (!AppendNew(lines.lines, &added, &duplicates)) return;
    if (!added.isEmpty()) RefreshView();
    Tell(PlaylistSummary(static_cast<int>(added.size()), read, duplicates, lines.refused));
}

void LocalMusicCommands::ExportFavourites() {
    QStringList entries;
    QStringList links;
    QList<int> seconds;
    for (const FavouritesEditor::Line& line : FavouritesEditor(host_.FavouritesPath()).Lines()) {
        const std::optional<ListRecord> record = ParseListLine(line.text);
        if (!record) continue;
        entries.append(record->entry);
        links.append(record->link);
        seconds.append(FavouriteLineSeconds(line.text));
    }
    int leftOut = 0;
    const std::vector<PlaylistEntry> songs = PlaylistFromFavourites(entries, links, seconds, &leftOut);
    if (songs.empty()) {
        Tell(QStringLiteral("收藏列表中没有可以导出的歌曲（只有带有文件或网址的歌曲才能导出）。"));
        return;
    }
    const QString file = ChooseExportFile ? ChooseExportFile() : QString();
    if (file.isEmpty()) return;
    const bool xspf = file.endsWith(QStringLiteral(".xspf"), Qt::CaseInsensitive);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(xspf ? WriteXspf(songs) : WriteM3u8(songs)) < 0 ||
        !out.commit()) {
        platform::Messages().Show(QStringLiteral("无法写入文件 %1，收藏列表没有导出。").arg(file), host_.AppTitle(),
                                  MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    QString text = QStringLiteral("已导出 %1 首歌曲到 %2").arg(songs.size()).arg(file);
    if (leftOut > 0) text += QStringLiteral("；%1 首在线搜索的歌曲没有文件或网址，没有导出").arg(leftOut);
    Tell(text + QStringLiteral("。"));
}

// ---------------------------------------------------------------- opened items

void LocalMusicCommands::Open(const QStringList& items) {
    if (items.isEmpty()) return;
    const OpenPlan plan = PlanOpen(items, ReadListFile(host_.FavouritesPath()).links);
    QStringList added;
    int duplicates = 0;
    if (!AppendNew(plan.lines, &added, &duplicates)) return;
    if (!added.isEmpty()) RefreshView();
    if (!plan.playFirst.isEmpty() && PlayLink) PlayLink(plan.playFirst);
    AddFolders(plan.folders, plan.playFirstIsFolder);
    if (plan.unusable > 0)
        Tell(QStringLiteral("有 %1 项无法打开（不存在、不是音乐文件、无法读取或路径无法收藏）。").arg(plan.unusable));
}

}  // namespace tavo
