#include "lyrics/core/lyrics_model.h"

#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_timing.h"

#include <algorithm>

namespace tavo {

void LyricsModel::SetLines(const QStringList& lines) {
    lines_ = lines;
    texts_.clear();
    times_.clear();
    texts_.reserve(lines_.size());
    times_.reserve(static_cast<size_t>(lines_.size()));
    for (const QString& line : lines_) {
        texts_.push_back(LyricLineText(line));
        times_.push_back(FirstTagTimeMs(line));
    }
    current_ = -1;
    Q_EMIT Changed();
}

void LyricsModel::Clear() {
    if (lines_.isEmpty()) return;  // no line, so no current one either
    SetLines({});
}

QString LyricsModel::Text(int index) const {
    return index >= 0 && index < texts_.size() ? texts_[index] : QString();
}

int LyricsModel::TimeMs(int index) const {
    return index >= 0 && static_cast<size_t>(index) < times_.size() ? times_[static_cast<size_t>(index)] : -1;
}

int LyricsModel::Follow(const QString& position) {
    const int found = ListIdx(lines_, position, Count());
    if (found >= 0 && found != current_) {
        current_ = found;
        Q_EMIT CurrentLineChanged(found);
    }
    return found;
}

QStringList LyricsModel::Around(int before, int after) const {
    if (texts_.isEmpty()) return {};
    const int at = std::max(current_, 0);
    const int from = std::max(0, at - std::max(before, 0));
    const int to = std::min(Count() - 1, at + std::max(after, 0));
    return texts_.mid(from, to - from + 1);
}

}  // namespace tavo
