#pragma once
// The lyrics window's right-click menu: lock, the number of lines, karaoke
// fill, translations, the offset steps, the look dialog, and the player's
// settings menu. Each item has an object name for tests and scripts; the
// menu reports what was chosen and leaves the doing to the window.

#include "lyrics/lyric_options.h"

#include <QMenu>

class QAction;

namespace tavo {

class LrcMenu : public QMenu {
    Q_OBJECT
public:
    explicit LrcMenu(QWidget* parent = nullptr);

    // Ticks the items as the options are now.
    void Prepare(const LyricOptions& look);
    QAction* Item(const QString& name) const;

Q_SIGNALS:
    void LockChosen(bool locked);
    void LinesChosen(int lines);
    void KaraokeChosen(bool on);
    void TranslationChosen(bool shown);
    void OffsetStep(int deltaMs);
    void SearchAsked();
    void LookDialogAsked();
    void PlayerMenuAsked();

private:
    QAction* Add(const QString& name, const QString& caption, bool checkable);
};

}  // namespace tavo
