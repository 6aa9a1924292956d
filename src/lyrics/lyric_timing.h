#pragma once
// Choosing the lyric line for a play position.
//
// The current line is the first entry, from the top, whose text contains the
// position text mm:ss anywhere. A line with several time tags is found at
// each of its times; a tag written with a one-digit minute ([1:23.45]) never
// matches, since the player always writes two digits.

#include <QString>
#include <QStringList>

namespace tavo {

// Index of the first line containing `position`, or -1. Only the first
// `count` lines are searched (all when count is larger).
int ListIdx(const QStringList& lines, const QString& position, int count);

// The text to show for a line: what follows its last "]", without CR and
// LF, trimmed of spaces. Empty for a tag-only line.
QString LyricLineText(const QString& line);

}  // namespace tavo
