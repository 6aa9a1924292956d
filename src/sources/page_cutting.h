#pragma once
// The marker cutting shared by the page parsers, and the pump that keeps the
// window responsive while a long page is cut.

#include <QElapsedTimer>
#include <QString>
#include <QStringView>

namespace tavo::detail {

// Processes the window system's pending events while a page is cut: on the
// first piece of the outermost cut, then at most once every kIntervalMs
// (nested cuts, such as a block's links, share the clock). Pumping on every
// piece would make a page of many small pieces cost an event-loop pass each.
class PiecePump {
public:
    static constexpr qint64 kIntervalMs = 8;
    PiecePump();
    ~PiecePump();
    PiecePump(const PiecePump&) = delete;
    PiecePump& operator=(const PiecePump&) = delete;
    void Piece() {
        // The clock is read every few pieces only: a page may hold hundreds
        // of thousands of them.
        if ((count_++ & 31) == 0) Pump();
    }

private:
    void Pump();
    unsigned count_ = 0;
};

// The first `marker` in `text` at or after `from`; -1 when there is none.
// Markers are short and their first character is rare in a page: a fast
// scan for that character, then a comparison of the rest. Linear in the
// text for a marker of fixed length.
qsizetype FindMarker(QStringView text, QStringView marker, qsizetype from);

// Appends `piece` to `out` without any occurrence of `marker`.
void AppendWithout(QString& out, QStringView piece, QStringView marker);

// Cuts `text` between `start` and `end`: a = the first `start` at or after
// the search position, b = the first `end` at or after a + |start|; stops
// when either is missing. `onPiece` receives the text from a up to b (a view
// into `text`, which still holds the start marker; AppendWithout takes the
// markers out). The search position then moves to b, or past the end marker
// when `pastEnd`. `onPiece` returns false to stop the cut. Empty markers cut
// nothing.
template <class OnPiece>
void CutPieces(const QString& text, const QString& start, const QString& end, bool pastEnd, OnPiece&& onPiece) {
    if (start.isEmpty() || end.isEmpty()) return;
    PiecePump pump;
    qsizetype p = 0;
    for (;;) {
        const qsizetype a = FindMarker(text, start, p);
        if (a < 0) return;
        const qsizetype b = FindMarker(text, end, a + start.size());
        if (b < 0) return;
        if (!onPiece(QStringView(text).sliced(a, b - a))) return;
        pump.Piece();
        p = pastEnd ? b + end.size() : b;
    }
}

}  // namespace tavo::detail
