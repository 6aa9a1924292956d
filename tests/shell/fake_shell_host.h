#pragma once
// A stand-in for the main window as the tray window sees it. Its viewed
// list is the favourites file when MySongList() loads it, read by the
// program's own list reader; every call the shell makes is recorded in
// `calls`.

#include "app/list_files.h"
#include "shell/shell_host.h"

#include <QStringList>
#include <QWidget>

namespace tavo::test {

class FakeShellHost : public ShellHost {
public:
    explicit FakeShellHost(std::filesystem::path favourites) : favourites(std::move(favourites)) {}

    QWidget* MainWindow() override { return &main; }
    bool IsShown() const override { return shown; }
    void SetIsShown(bool s) override { shown = s; }
    QString AppTitle() const override { return QStringLiteral("Tavo音乐盒2010"); }
    QString AppVersion() const override { return QStringLiteral("1.0"); }

    QString CurrentSkin() const override { return skin; }
    void GoSkin(const QString& name) override {
        skin = name;
        calls << QStringLiteral("skin:") + name;
    }

    void ShowLyrics(bool show) override { calls << (show ? QStringLiteral("lyrics:on") : QStringLiteral("lyrics:off")); }
    bool LyricsLocked() const override { return lyricsLocked; }
    void SetLyricsLocked(bool locked) override { lyricsLocked = locked; }

    int SourceIndex() const override { return source; }
    int SelIndex() const override { return sel; }
    int ListCount() const override { return static_cast<int>(items.size()); }
    QString ListItem(int i) const override { return items.value(i); }
    int PlaySource() const override { return playSource; }
    int PlayIndex() const override { return playIndex; }
    void SetPlayIndex(int i) override { playIndex = i; }
    bool YNPlaySongList() const override { return inList; }
    void MySongList() override {
        items = ReadListFile(favourites).entries;
        calls << QStringLiteral("MySongList");
    }
    void Play_List() override {
        playList = items;
        calls << QStringLiteral("Play_List");
    }
    void PlayStop() override { calls << QStringLiteral("PlayStop"); }
    std::filesystem::path FavouritesPath() const override { return favourites; }
    void ExitProgram() override { calls << QStringLiteral("exit"); }

    std::filesystem::path favourites;
    QWidget main;
    bool shown = false;
    bool lyricsLocked = false;
    QString skin;
    int source = 0;
    int sel = 0;
    QStringList items;
    QStringList playList;
    int playSource = 0;
    int playIndex = -1;
    bool inList = false;
    QStringList calls;
};

}  // namespace tavo::test
