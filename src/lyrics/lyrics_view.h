#pragma once
// What the main window needs of the lyrics window. The lyrics window
// (`lrcBox`) implements it; the main window's logic holds a pointer to it,
// so that the logic can be driven in tests with a stand-in.

#include <QString>
#include <QStringList>

namespace tavo {

class LyricsView {
public:
    virtual ~LyricsView() = default;

    // The one line shown (`Label1`): the current lyric line or a status.
    virtual QString Label1Text() const = 0;
    virtual void SetLabel1Text(const QString& text) = 0;
    // Tool tip of the window's surface image (the playing song's name).
    virtual void SetSongToolTip(const QString& text) = 0;

    // Glyph button 0: true shows ";" (playing), false "4" (paused/stopped).
    virtual void SetPlayGlyph(bool playing) = 0;
    // Glyph button 4: coloured 128 (dark red) while muted, 0 otherwise.
    virtual void SetMuteGlyph(bool muted) = 0;

    // Shows the window at the top edge of the screen, centred; or hides it.
    virtual void ShowLyrics(bool show) = 0;
};

}  // namespace tavo
