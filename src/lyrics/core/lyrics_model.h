#pragma once
// The playing song's lyrics as data: the lines as fetched (`list1`, time
// tags included), each line's shown text and first time worked out once,
// and the line being sung now.
//
// The line for a play position is the first line, from the top, whose text
// contains the position "mm:ss" (ListIdx): what the user has always seen.
// A position no line names leaves the current line as it was, so a line
// stays up until the next one starts.
//
// Every change is one step with one notice: `Changed` when the lines are
// replaced or emptied (the current line goes back to none with them),
// `CurrentLineChanged` when another line becomes the current one.

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavo {

class LyricsModel : public QObject {
    Q_OBJECT
public:
    explicit LyricsModel(QObject* parent = nullptr) : QObject(parent) {}

    void SetLines(const QStringList& lines);
    void Clear();

    const QStringList& Lines() const { return lines_; }
    bool IsEmpty() const { return lines_.isEmpty(); }
    int Count() const { return static_cast<int>(lines_.size()); }
    // The text a line shows (LyricLineText), empty for a tag-only line.
    QString Text(int index) const;
    // The line's first time tag in milliseconds, -1 for a line without one.
    int TimeMs(int index) const;
    // The whole lyric text, one line per line, tags included.
    QString WholeText() const { return lines_.join(QLatin1Char('\n')); }

    // Moves the current line to the one for `position` ("mm:ss") and returns
    // the line found for it, -1 when none names it (the current line stays).
    int Follow(const QString& position);
    int Current() const { return current_; }
    // The texts of up to `before` lines before the current one, the current
    // line and up to `after` lines after it (from the first line while no
    // line is current).
    QStringList Around(int before, int after) const;

Q_SIGNALS:
    void Changed();
    void CurrentLineChanged(int index);

private:
    QStringList lines_;
    QStringList texts_;
    std::vector<int> times_;
    int current_ = -1;
};

}  // namespace tavo
