#include "lyrics/lyric_doc.h"

#include "lyrics/line_breaks.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

namespace tavo {
namespace {

// A tag is at most this long; a "[" without a "]" this close is text.
constexpr qsizetype kMaxTagLength = 40;

// One time-tagged line as written, before lines are sorted and paired.
struct RawLine {
    int timeMs = 0;
    QString text;
    std::vector<LyricWord> words;  // times as written, not yet clamped
};

int DigitsValue(QStringView s) {
    int v = 0;
    for (QChar c : s) v = v * 10 + (c.unicode() - '0');
    return v;
}

bool AllDigits(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "mm:ss", "mm:ss.f", "mm:ss.ff", "mm:ss.fff" or "mm:ss:ff": minutes of one
// to four digits, seconds below 60.
std::optional<int> ParseTime(QStringView s) {
    const qsizetype colon = s.indexOf(u':');
    if (colon < 1 || colon > 4) return std::nullopt;
    const QStringView minutes = s.left(colon);
    QStringView rest = s.mid(colon + 1);
    qsizetype sep = rest.indexOf(u'.');
    if (sep < 0) sep = rest.indexOf(u':');
    const QStringView seconds = sep < 0 ? rest : rest.left(sep);
    const QStringView fraction = sep < 0 ? QStringView() : rest.mid(sep + 1);
    if (!AllDigits(minutes) || !AllDigits(seconds) || seconds.size() > 2) return std::nullopt;
    if (sep >= 0 && (!AllDigits(fraction) || fraction.size() > 3)) return std::nullopt;
    const int sec = DigitsValue(seconds);
    if (sec >= 60) return std::nullopt;
    int ms = 0;
    if (!fraction.isEmpty()) {
        ms = DigitsValue(fraction);
        for (qsizetype i = fraction.size(); i < 3; ++i) ms *= 10;
    }
    return DigitsValue(minutes) * 60000 + sec * 1000 + ms;
}

// "+500", "-250", " 40 ": clamped to the offset limit; nullopt without digits.
std::optional<int> ParseOffset(QStringView s) {
    s = s.trimmed();
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'+' || s.front() == u'-')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    if (!AllDigits(s)) return std::nullopt;
    long long v = 0;
    for (QChar c : s) {
        v = v * 10 + (c.unicode() - '0');
        if (v > kMaxLyricOffsetMs) {
            v = kMaxLyricOffsetMs;
            break;
        }
    }
    return static_cast<int>(negative ? -v : v);
}

// A metadata tag: letters, a colon, anything ("ti:Song", "offset:+500").
bool IsMetaTag(QStringView s) {
    const qsizetype colon = s.indexOf(u':');
    if (colon < 1) return false;
    return std::all_of(s.begin(), s.begin() + colon, [](QChar c) { return c.isLetter(); });
}

// The text of a timed line, split at its word times. Text before the first
// word time belongs to a word at the line's own time. No word times: no words.
void ParseWords(QStringView rest, int lineMs, RawLine& out) {
    QString current;
    int currentMs = lineMs;
    bool anyWordTime = false;
    qsizetype i = 0;
    while (i < rest.size()) {
        if (rest[i] == u'<') {
            // Only a short stretch is searched, so a line of "<" stays linear.
            const qsizetype found = rest.mid(i + 1, kMaxTagLength).indexOf(u'>');
            const qsizetype close = found < 0 ? -1 : i + 1 + found;
            if (close > 0) {
                if (const auto t = ParseTime(rest.mid(i + 1, close - i - 1))) {
                    if (!current.isEmpty()) out.words.push_back({currentMs, current});
                    current.clear();
                    currentMs = *t;
                    anyWordTime = true;
                    i = close + 1;
                    continue;
                }
            }
        }
        current += rest[i];
        ++i;
    }
    if (!current.isEmpty()) out.words.push_back({currentMs, current});
    if (!anyWordTime) {
        out.words.clear();
        out.text = rest.trimmed().toString();
        return;
    }
    // Outer spaces are not sung; the word texts still add up to the line.
    while (!out.words.empty()) {
        QString& first = out.words.front().text;
        qsizetype n = 0;
        while (n < first.size() && first[n].isSpace()) ++n;
        first.remove(0, n);
        if (!first.isEmpty()) break;
        out.words.erase(out.words.begin());
    }
    while (!out.words.empty()) {
        QString& last = out.words.back().text;
        qsizetype n = last.size();
        while (n > 0 && last[n - 1].isSpace()) --n;
        last.truncate(n);
        if (!last.isEmpty()) break;
        out.words.pop_back();
    }
    for (const LyricWord& w : out.words) out.text += w.text;
}

// Word times clamped into the line's span and made non-decreasing: a word
// written before the line, after its end or before the word ahead of it
// starts at the nearest time that keeps the order.
void ClampWords(LyricDoc& doc) {
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        LyricLine& line = doc.lines[i];
        const int end = LineEndMs(doc, static_cast<int>(i));
        int previous = line.timeMs;
        for (LyricWord& w : line.words) {
            w.startMs = std::clamp(w.startMs, previous, end);
            previous = w.startMs;
        }
    }
}

QString TimeTag(int ms) {
    const int minutes = ms / 60000;
    const int seconds = ms / 1000 % 60;
    const int hundredths = ms % 1000 / 10;
    return QStringLiteral("[%1:%2.%3]")
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'))
        .arg(hundredths, 2, 10, QLatin1Char('0'));
}

}  // namespace

int FirstTagTimeMs(const QString& line) {
    if (!line.startsWith(u'[')) return -1;
    const qsizetype close = line.indexOf(u']');
    if (close < 0 || close > kMaxTagLength) return -1;
    return ParseTime(QStringView(line).mid(1, close - 1)).value_or(-1);
}

LyricDoc ParseLyricDoc(const QString& lrcText) {
    LyricDoc doc;
    std::vector<RawLine> raw;
    QStringList untimed;
    for (const QStringView view : BreakLines(lrcText)) {
        std::vector<int> times;
        bool anyTag = false;
        qsizetype pos = 0;
        while (pos < view.size() && view[pos] == u'[') {
            const qsizetype found = view.mid(pos + 1, kMaxTagLength).indexOf(u']');
            if (found < 0) break;
            const qsizetype close = pos + 1 + found;
            const QStringView tag = view.mid(pos + 1, close - pos - 1);
            if (const auto t = ParseTime(tag)) {
                if (times.size() < static_cast<size_t>(kMaxTagsPerLine)) times.push_back(*t);
            } else if (IsMetaTag(tag)) {
                if (tag.startsWith(u"offset:", Qt::CaseInsensitive))
                    if (const auto o = ParseOffset(tag.mid(7))) doc.offsetMs = *o;
            } else {
                break;  // "[Chorus]" and the like are text
            }
            anyTag = true;
            pos = close + 1;
        }
        const QStringView rest = view.mid(pos);
        if (times.empty()) {
            if (!anyTag) untimed.push_back(rest.trimmed().toString());
            continue;
        }
        RawLine parsed;
        ParseWords(rest, times.front(), parsed);
        for (int t : times) {
            if (raw.size() >= static_cast<size_t>(kMaxLyricLines)) {
                doc.truncated = true;
                break;
            }
            RawLine copy = parsed;
            copy.timeMs = t;
            for (LyricWord& w : copy.words) w.startMs += t - times.front();  // a repeat sings the words as often
            raw.push_back(std::move(copy));
        }
    }

    if (raw.empty()) {
        while (!untimed.isEmpty() && untimed.back().isEmpty()) untimed.pop_back();
        while (!untimed.isEmpty() && untimed.front().isEmpty()) untimed.pop_front();
        doc.plain = std::move(untimed);
        return doc;
    }
    doc.synced = true;
    std::stable_sort(raw.begin(), raw.end(), [](const RawLine& a, const RawLine& b) { return a.timeMs < b.timeMs; });
    // The first line at a time is the original; the ones after it at the
    // same time are its translation.
    for (RawLine& r : raw) {
        if (!doc.lines.empty() && doc.lines.back().timeMs == r.timeMs) {
            if (r.text.isEmpty()) continue;
            QString& tr = doc.lines.back().translation;
            if (!tr.isEmpty()) tr += QStringLiteral(" / ");
            tr += r.text;
            continue;
        }
        doc.lines.push_back({r.timeMs, std::move(r.text), QString(), std::move(r.words)});
    }
    ClampWords(doc);
    return doc;
}

int LyricTime(const LyricDoc& doc, int positionMs, int userOffsetMs) {
    const long long t = static_cast<long long>(positionMs) + doc.offsetMs + userOffsetMs;
    return static_cast<int>(std::clamp<long long>(t, 0, INT_MAX));
}

int LineAt(const LyricDoc& doc, int positionMs) {
    if (!doc.synced) return -1;
    const int t = LyricTime(doc, positionMs);
    const auto after = std::upper_bound(doc.lines.begin(), doc.lines.end(), t,
                                        [](int time, const LyricLine& l) { return time < l.timeMs; });
    return static_cast<int>(after - doc.lines.begin()) - 1;
}

int LineEndMs(const LyricDoc& doc, int index) {
    if (index < 0 || index >= static_cast<int>(doc.lines.size())) return 0;
    if (index + 1 < static_cast<int>(doc.lines.size())) return doc.lines[index + 1].timeMs;
    return doc.lines[index].timeMs + kLastLineMs;
}

double SungChars(const LyricDoc& doc, int index, int timeMs) {
    if (index < 0 || index >= static_cast<int>(doc.lines.size())) return 0;
    const LyricLine& line = doc.lines[index];
    const int end = LineEndMs(doc, index);
    const double length = static_cast<double>(line.text.size());
    if (timeMs <= line.timeMs) return 0;
    if (timeMs >= end) return length;
    if (line.words.empty()) return length * (timeMs - line.timeMs) / (end - line.timeMs);
    double sung = 0;
    for (size_t k = 0; k < line.words.size(); ++k) {
        const LyricWord& w = line.words[k];
        const int wordEnd = k + 1 < line.words.size() ? line.words[k + 1].startMs : end;
        if (timeMs >= wordEnd) {
            sung += w.text.size();
            continue;
        }
        if (timeMs > w.startMs) sung += static_cast<double>(w.text.size()) * (timeMs - w.startMs) / (wordEnd - w.startMs);
        break;
    }
    return std::min(sung, length);
}

QString LyricDocText(const LyricDoc& doc) {
    if (!doc.synced) return doc.plain.join(QLatin1Char('\n'));
    QString out;
    for (const LyricLine& line : doc.lines) {
        const QString tag = TimeTag(line.timeMs);
        out += tag + line.text + QLatin1Char('\n');
        if (!line.translation.isEmpty()) out += tag + line.translation + QLatin1Char('\n');
    }
    return out;
}

}  // namespace tavo
