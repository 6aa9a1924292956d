#pragma once
// A stand-in for the main window as the lyrics window sees it: records what
// the lyrics window asks of it.

#include "lyrics/lyrics_host.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <vector>

namespace tavo::test {

class FakeLyricsHost : public LyricsHost {
public:
    void PlayS_Click(int Index) override {
        clicks.push_back(Index);
        // As the player does: 5 mutes, 6 unmutes.
        if (Index == 5) muted = true;
        if (Index == 6) muted = false;
    }
    bool IsPlaying() const override { return playing; }
    bool IsMuted() const override { return muted; }
    QWidget* MainWindow() override { return &main; }
    bool IsShown() const override { return shown; }
    void SetIsShown(bool s) override { shown = s; }
    void ShowSettingsMenu(const QPoint& global) override { menus.push_back(global); }
    int PlayPositionMs() const override { return position; }
    void SeekToMs(int positionMs) override {
        seeks.push_back(positionMs);
        position = positionMs;
    }
    QString PlayingSong() const override { return song; }
    QString SettingsName() const override { return settingsName; }

    std::vector<int> clicks;
    bool playing = false;
    bool muted = false;
    bool shown = false;
    QWidget main;
    std::vector<QPoint> menus;
    int position = -1;
    std::vector<int> seeks;
    QString song;
    QString settingsName;  // empty: the lyrics window keeps no settings
};

}  // namespace tavo::test
