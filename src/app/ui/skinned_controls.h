#pragma once
// Two skinned controls of the main window, as thin glue over their logic
// and their drawing:
//  - SkinList, the song list `Picture1`: ten rows drawn from the skin
//    (list_paint.h) with the hover highlight and fade of RowFade, the hand
//    pointer over rows, presses reported to the window;
//  - SkinTrack, the time track `socl` and the volume track `YBG`: drawn
//    from the skin (track_paint.h), presses and drags with the left button
//    reported in the track's pixels.

#include "app/row_fade.h"
#include "skin/list_paint.h"
#include "skin/track_paint.h"

#include <QTimer>
#include <QWidget>

namespace tavo {

class SkinList : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFadeMs = 20;

    explicit SkinList(QWidget* parent = nullptr);

    void SetLook(const ListLook& look);
    const ListLook& Look() const { return look_; }
    // The rows of the page and the playing row (-1: none on this page).
    void SetRows(const QStringList& rows, int playingRow);
    const RowFade& Fade() const { return fade_; }
    // The 20 ms fade tick: runs only while something fades, or until the
    // tick after the pointer moved, left or the page changed under it.
    QTimer& FadeTimer() { return timer_; }
    void FadeTick();
    // What the list shows now.
    const QImage& Picture();

Q_SIGNALS:
    // A press: button 1 left, 2 right; list pixels.
    void Pressed(int button, int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void Changed();
    void PageChanged();
    void StartFade();
    void ShowHand(bool on);

    ListLook look_;
    QStringList rows_;
    int playingRow_ = -1;
    RowFade fade_;
    QTimer timer_;
    QImage picture_;
    bool dirty_ = true;
    bool hand_ = false;  // the hand pointer is set
};

class SkinTrack : public QWidget {
    Q_OBJECT
public:
    explicit SkinTrack(QWidget* parent = nullptr);

    void SetLook(const TrackLook& look);
    // The window's picture under the track: with it the track paints all of
    // itself, and the window under it is not painted again with each change
    // (null: the window shows through).
    void SetBackground(const QImage& background);
    // The filled part in the track's pixels. While a song plays its fill
    // moves a pixel at a time, often several times a second: with
    // `withText` the change is painted together with the next text change
    // (once a second) instead of at once. Fill() reads the new fill at once.
    void SetFill(const QRect& fill, bool withText = false);
    const QRect& Fill() const { return fill_; }
    void SetText(const QString& text);
    const QString& Text() const { return text_; }

Q_SIGNALS:
    // The left button pressed at, or dragged to, `at` (track pixels).
    void Pressed(QPoint at);
    void Dragged(QPoint at);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    TrackLook look_;
    QImage background_;
    QRect fill_;
    QRect unpainted_;  // fill changes waiting for the next text change
    QString text_;
    QStaticText staticText_;  // text_ laid out in the look's font
};

}  // namespace tavo
