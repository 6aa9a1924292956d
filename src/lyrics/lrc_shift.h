#pragma once
// A lyric file's own "[offset:+/-ms]" applied to its time tags, so that
// whatever reads the lines afterwards (the line for a play position, the
// painter) needs to know nothing of it.
//
// A positive offset shows the lyrics earlier: every time tag "[mm:ss.xx]"
// at the start of a line and every word time "<mm:ss.xx>" inside it moves
// back by the offset (never below 0) and is written again as "[mm:ss.xx]"
// with two-digit minutes, the form the play position is matched against.
// Of the lines moved wholly before the start, only the last stays (at 0).
// The offset tag itself goes, so that it is not applied twice. Text without
// an offset tag (or with +0) comes back unchanged.

#include <QStringList>

namespace tavo {

QStringList ApplyLrcOffset(const QStringList& lines);

}  // namespace tavo
