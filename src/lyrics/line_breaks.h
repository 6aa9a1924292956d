#pragma once
// Lyric text broken into lines.

#include <QStringView>

#include <vector>

namespace tavo {

// The text's lines, broken at "\r\n", "\r" or "\n", each without its break;
// the part after the last break is a line too (empty when the text ends
// with a break). The views point into `text`.
std::vector<QStringView> BreakLines(QStringView text);

}  // namespace tavo
