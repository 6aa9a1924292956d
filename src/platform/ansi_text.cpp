#include "platform/ansi_text.h"

#include "platform/codepage.h"

#include <QSaveFile>
#include <QStringDecoder>

#include <cstdint>
#include <fstream>
#include <system_error>

namespace tavo::platform {

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

// Calls onLine(bytes) for every line of `bytes` (see the header for the
// rules), without its ending; a byte-order mark at the file start is gone.
template <class OnLine>
void ForEachLine(QByteArrayView bytes, OnLine&& onLine) {
    if (bytes.startsWith(kUtf8Bom)) bytes = bytes.sliced(kUtf8Bom.size());
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        onLine(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) onLine(bytes.sliced(start));
}

// Appends one line, decoded by itself, to `out`: UTF-8 when it is valid
// UTF-8 (a byte-order mark at its start dropped), else GB18030. A valid line
// is decoded straight into `out`, without a text of its own: a page holds
// tens of thousands of lines.
void AppendDecodedLine(QString& out, QByteArrayView line) {
    if (!IsValidUtf8(line)) {
        out.append(DecodeGb18030(line));
        return;
    }
    if (line.startsWith(kUtf8Bom)) line = line.sliced(kUtf8Bom.size());
    // Never more UTF-16 units than UTF-8 bytes.
    const qsizetype at = out.size();
    out.resize(at + line.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QChar* begin = out.data();
    QChar* end = utf8.appendToBuffer(begin + at, line);
    out.truncate(end - begin);
}

}  // namespace

std::vector<QByteArrayView> SplitTextLines(QByteArrayView bytes) {
    std::vector<QByteArrayView> lines;
    ForEachLine(bytes, [&lines](QByteArrayView line) { lines.push_back(line); });
    return lines;
}

QString DecodeTextLine(QByteArrayView line) {
    QString text;
    AppendDecodedLine(text, line);
    return text;
}

QStringList DecodeTextLines(QByteArrayView bytes) {
    QStringList lines;
    ForEachLine(bytes, [&lines](QByteArrayView line) { lines.append(DecodeTextLine(line)); });
    return lines;
}

QString DecodeTextJoined(QByteArrayView bytes, const QString& joiner) {
    if (joiner.isEmpty()) {
        // A page that is UTF-8 throughout decodes at once, its line breaks
        // then dropped: the same text as line by line, since a break cannot
        // fall inside a UTF-8 sequence. Not when a byte-order mark follows
        // the start: line by line drops it at a line start.
        const QByteArrayView body = bytes.startsWith(kUtf8Bom) ? bytes.sliced(kUtf8Bom.size()) : bytes;
        if (!body.contains(kUtf8Bom) && IsValidUtf8(body)) {
            QString text = QString::fromUtf8(body);
            text.remove(QLatin1Char('\r'));
            text.remove(QLatin1Char('\n'));
            return text;
        }
    }
    QString text;
    text.reserve(bytes.size());
    bool first = true;
    ForEachLine(bytes, [&](QByteArrayView line) {
        if (!first) text.append(joiner);
        first = false;
        AppendDecodedLine(text, line);
    });
    return text;
}

void RemoveFile(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

std::optional<QByteArray> ReadFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    QByteArray data;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size < (std::uintmax_t{1} << 31)) data.reserve(static_cast<qsizetype>(size));
    char buf[65536];
    while (in) {
        in.read(buf, sizeof(buf));
        data.append(buf, static_cast<qsizetype>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return data;
}

std::optional<QStringList> ReadTextLines(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return DecodeTextLines(*bytes);
}

QString ReadTextJoined(const std::filesystem::path& path, const QString& joiner) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return {};
    return DecodeTextJoined(*bytes, joiner);
}

bool WriteTextLines(const std::filesystem::path& path, const QStringList& lines) {
    QByteArray data;
    for (const QString& line : lines) {
        data.append(line.toUtf8());
        data.append("\r\n", 2);
    }
    return WriteFileAtomically(path, data);
}

bool WriteFileAtomically(const std::filesystem::path& path, QByteArrayView bytes) {
    QSaveFile file(PathToQString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString PathToQString(const std::filesystem::path& path) {
    const std::string s = path.string();
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::filesystem::path QStringToPath(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::filesystem::path(std::string(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace tavo::platform
