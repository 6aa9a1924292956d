#pragma once
// The lyrics window's text area: the song's lyric drawn in the user's look
// at the lyric time it is given, through a LyricPainter that keeps the
// lines' glyphs between frames. Until the song's lyric has a timed line to
// show, the label's own text (a status such as "正在搜索歌词") is drawn in
// the same look. A short note (the offset just chosen, "+0.5 s") can sit in
// the top right corner for a moment.

#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_options.h"
#include "lyrics/ui/lyric_painter.h"

#include <QLabel>
#include <QTimer>

namespace tavo {

class LrcStage : public QLabel {
    Q_OBJECT
public:
    static constexpr int kNoteMs = 1500;

    explicit LrcStage(QWidget* parent = nullptr);

    void SetDoc(LyricDoc doc);
    const LyricDoc& Doc() const { return doc_; }
    void SetLook(const LyricOptions& look);
    const LyricOptions& Look() const { return look_; }

    // Moves to lyric time `timeMs` (LyricTime: the offsets already in it).
    // Repaints when the picture changes: every time for a moving look,
    // only on a new line for a still one.
    void SetLyricTimeMs(int timeMs);
    int LyricTimeMs() const { return timeMs_; }
    // Whether the look moves between line changes (the fill, the rising view).
    bool Moving() const;
    // Repaints done since creation (for tests of the repaint pacing).
    int Paints() const { return paints_; }

    void ShowNote(const QString& note);
    QString Note() const { return note_; }

    // The line whose row is at `point` (this widget's pixels), -1 for none.
    int LineAt(QPoint point) const;

    LyricFrame Frame() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    LyricPainter painter_;
    LyricDoc doc_;
    LyricOptions look_;
    int timeMs_ = 0;
    int shownLine_ = -1;
    int paints_ = 0;
    QString note_;
    QTimer noteTimer_;
};

// The height of the lyrics window's text area for a look: the one-line
// window's 28 pixels for the default look, more for a larger font, a
// translation under the line or more lines.
int LrcStageHeight(const LyricOptions& look, bool translated);

}  // namespace tavo
