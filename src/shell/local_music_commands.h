#pragma once
// The listener's own music in the favourites: "添加本地文件", "添加本地文件夹" (a folder
// scanned off the window thread, with a progress dialog that can cancel),
// "导入播放列表…" and "导出收藏列表…", and what the player is handed to open
// (its command line, a second start, files dropped on its window).
//
// Every change to the favourites is one atomic rewrite of the whole file,
// made only once everything to add has been read; links already in the
// file are skipped. The favourites view is reloaded when it is shown.
//
// The dialogs are functions the tray window supplies, so tests can answer
// them without a desktop.

#include "app/local_import.h"
#include "app/ui/import_progress.h"
#include "shell/shell_host.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

namespace tavo {


class LocalMusicCommands : public QObject {
    Q_OBJECT
public:
    explicit LocalMusicCommands(ShellHost& host, QObject* parent = nullptr);
    ~LocalMusicCommands() override;

    // The files to add; empty when cancelled.
    std::function<QStringList()> ChooseFiles;
    // The folder to add; empty when cancelled.
    std::function<QString()> ChooseFolder;
    // The playlist file to import; empty when cancelled.
    std::function<QString()> ChoosePlaylist;
    // Where to export; its extension chooses the format (".xspf" gives XSPF,
    // anything else M3U8). Empty when cancelled.
    std::function<QString()> ChooseExportFile;
    // Shows the favourites and plays the one with this link.
    std::function<void(const QString& link)> PlayLink;

    // "添加本地文件" (M_M_MySongRightS_BDF): the chosen files, named from
    // their tags, in the dialog's order.
    void AddFiles();
    // "添加本地文件夹".
    void AddFolder();
    // Imports folders one after the other; the last one ends with one
    // message for all. With `playFirst`, the first song added is played.
    void AddFolders(const std::vector<std::filesystem::path>& folders, bool playFirst = false);
    // "导入播放列表…".
    void ImportPlaylist();
    // "导出收藏列表…".
    void ExportFavourites();
    // Files, folders, playlists and web addresses to add and play (the
    // first one handed over plays).
    void Open(const QStringList& items);

    LocalImport& Import() { return import_; }
    // The progress dialog while a folder import runs.
    ImportProgressDialog* Progress() const { return progress_.data(); }

signals:
    // A folder import (all queued folders) has ended, and the favourites
    // hold what it added.
    void FoldersDone();

private:
    void StartNextFolder();
    void OnImportFinished(const ImportResult& result);
    // Appends the lines whose links are not yet in the favourites (they go
    // to `added`); those already there are counted in `duplicates`. False
    // when the file could not be written (the message is shown).
    bool AppendNew(const QStringList& lines, QStringList* added, int* duplicates);
    void RefreshView();
    void Tell(const QString& text);

    ShellHost& host_;
    LocalImport import_;
    QPointer<ImportProgressDialog> progress_;
    std::deque<std::filesystem::path> folders_;
    ImportResult total_;   // the counts of the folders imported so far
    bool playFirst_ = false;
};

}  // namespace tavo
