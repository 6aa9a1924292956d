#pragma once
// OpenFileDog: the open-file dialog behind the favourites' "添加本地文件".
//
// ShowOpen returns the chosen files as one text buffer, in the classic form
// of the platform's dialog: one file is its full path; several are the
// folder, then each name, each piece followed by U+0000, and one more
// U+0000 at the end. SplitSelection turns a buffer back into full paths.
// There is no length limit: every chosen file comes back.

#include <QString>
#include <QStringList>

#include <cstdint>

class QWidget;

namespace tavo {

// The filter of the favourites' dialog: description "|" patterns, pairs
// joined by "|", patterns by ";".
inline const QString kMusicFileFilter = QStringLiteral(
    "音乐文件(*.mp3;*.flac;*.ogg;*.opus;*.m4a;*.aac;*.wav;*.ape;*.wma;*.wv;*.dsf)"
    "|*.mp3;*.flac;*.ogg;*.opus;*.m4a;*.aac;*.wav;*.ape;*.wma;*.wv;*.dsf");

// Shows the dialog (native where the desktop offers one) and returns the
// buffer, or empty text when the user cancels. MultiSelect 1 allows several
// files. MaxLen is kept for callers of the classic interface; a value of 0
// becomes 255, and it limits nothing.
QString ShowOpen(QWidget* hWndOwner, const QString& Title, const QString& Filter, std::int32_t MultiSelect,
                 std::int32_t& MaxLen);

// Splits a buffer: fills SelectedFiles() with the full paths and returns the
// index of the last one (0 for one file). Empty text gives -1 and no file.
// A folder and a name are joined with one "/" (none when the folder already
// ends in "/" or "\"). At most 32768 files are taken, the most a 16-bit
// index can count.
std::int16_t SplitSelection(const QString& Buffer);

// The full paths of the last SplitSelection.
QStringList& SelectedFiles();

// The buffer for a list of full paths (what ShowOpen returns for them):
// the nearest common folder and the names below it.
QString SelectionBuffer(const QStringList& paths);

// "desc(*.a;*.b)|*.a;*.b|..." as a Qt name filter list: "desc (*.a *.b)".
QStringList QtNameFilters(const QString& filter);

}  // namespace tavo
