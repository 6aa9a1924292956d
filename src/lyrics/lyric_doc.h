#pragma once
// A lyric text read once into timed lines.
//
// The text is LRC: lines beginning with one or more time tags "[mm:ss.xx]"
// (a line with several tags is sung at each of its times), metadata tags
// such as "[ti:...]" and "[offset:+500]", and inside a line optional word
// times "<mm:ss.xx>" giving the moment each following word starts. Two lines
// at the same time are an original and its translation. A text without any
// time tag is unsynchronised: its lines are kept as plain text to show
// still.
//
// Limits keep the cost bounded for hostile files: at most kMaxLyricLines
// timed lines (further ones are dropped and `truncated` is set), at most
// kMaxTagsPerLine time tags on one line, offsets clamped to
// +/- kMaxLyricOffsetMs. Times are non-negative ints in milliseconds.

#include <QString>
#include <QStringList>

#include <vector>

namespace tavo {

inline constexpr int kMaxLyricLines = 20000;
inline constexpr int kMaxTagsPerLine = 64;
inline constexpr int kMaxLyricOffsetMs = 10 * 60 * 1000;
// How long the last line is taken to last when nothing follows it.
inline constexpr int kLastLineMs = 5000;

struct LyricWord {
    int startMs = 0;  // absolute song time; non-decreasing within a line
    QString text;
};

struct LyricLine {
    int timeMs = 0;
    QString text;         // the whole line, word texts concatenated
    QString translation;  // the line(s) sharing this time, joined with " / "
    std::vector<LyricWord> words;  // empty unless the line carries word times
};

struct LyricDoc {
    std::vector<LyricLine> lines;  // sorted by time, one line per time
    int offsetMs = 0;              // the file's [offset:]; positive shows lines earlier
    bool synced = false;           // false: plain text, shown static
    bool truncated = false;        // more timed lines than kMaxLyricLines
    QStringList plain;             // unsynced lyric text, one entry per line
};

LyricDoc ParseLyricDoc(const QString& lrcText);

// The time of a line's first tag in milliseconds ("[mm:ss.xx]text"), -1
// when the line does not begin with a time tag.
int FirstTagTimeMs(const QString& line);

// The lyric time for a play position: position + the file's offset +
// the user's own offset, never below 0.
int LyricTime(const LyricDoc& doc, int positionMs, int userOffsetMs = 0);

// The line sung at `positionMs` (the file's offset applied), -1 before the
// first line or for an unsynced text.
int LineAt(const LyricDoc& doc, int positionMs);

// When line `index` stops: the next line's time, or kLastLineMs after it.
int LineEndMs(const LyricDoc& doc, int index);

// How much of line `index` is sung at lyric time `timeMs` (LyricTime, not
// the play position), in characters of its text, from 0 to text.size().
// With word times the fill follows the words (a word fills evenly from its
// start to the next word's start, the last word to the line's end);
// without, it runs evenly over the whole line.
double SungChars(const LyricDoc& doc, int index, int timeMs);

// The lyric text back in LRC form (one "[mm:ss.xx]text" line per line,
// translations on a second line with the same tag) or the plain lines.
QString LyricDocText(const LyricDoc& doc);

}  // namespace tavo
