#pragma once
// Text files "in the system's code page".
//
// Files this program reads line by line (list files, skin.ini, downloaded
// pages) may come from old tools that wrote code page 936, or from this
// program, which writes UTF-8. Each line is therefore decoded by itself: a
// line that is valid UTF-8 is UTF-8, any other line is GB18030 (a superset of
// code page 936). A UTF-8 byte-order mark at the start of the file is dropped.
// Lines end at CR LF, a lone LF or a lone CR; a final line without an ending
// still counts, an ending at the very end of the file does not start a line.
//
// Files this program writes are UTF-8 with CR LF line ends.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace tavo::platform {

// Splits file content into lines (see above), each without its ending: the
// views point into `bytes`.
std::vector<QByteArrayView> SplitTextLines(QByteArrayView bytes);
// Decodes one line by the rule above.
QString DecodeTextLine(QByteArrayView line);
// Splits and decodes file content into lines (see above).
QStringList DecodeTextLines(QByteArrayView bytes);
// The same lines joined with `joiner` between them, in one pass (no text per
// line): a downloaded page with its line breaks gone is
// DecodeTextJoined(bytes, {}).
QString DecodeTextJoined(QByteArrayView bytes, const QString& joiner = QString());

// Deletes a file the program made (a download target), if it is there; a
// file that cannot be deleted is left for the next download to replace.
void RemoveFile(const std::filesystem::path& file);

// Reads a whole file. nullopt when it does not exist or cannot be read.
std::optional<QByteArray> ReadFileBytes(const std::filesystem::path& path);

// Reads a text file as lines. nullopt when it does not exist or cannot be read.
std::optional<QStringList> ReadTextLines(const std::filesystem::path& path);

// Reads a text file and joins its lines with `joiner` between them.
// Empty text when the file is missing.
QString ReadTextJoined(const std::filesystem::path& path, const QString& joiner = QString());

// Writes lines as UTF-8, each followed by CR LF. The file is replaced
// atomically: a crash leaves either the old or the new content.
bool WriteTextLines(const std::filesystem::path& path, const QStringList& lines);

// Writes bytes to a file, replacing it atomically (temporary file in the same
// folder, then rename).
bool WriteFileAtomically(const std::filesystem::path& path, QByteArrayView bytes);

// The path as Qt text, and back. Paths are kept as std::filesystem::path in
// the program; these convert at the Qt boundary without losing characters.
QString PathToQString(const std::filesystem::path& path);
std::filesystem::path QStringToPath(const QString& text);

}  // namespace tavo::platform
