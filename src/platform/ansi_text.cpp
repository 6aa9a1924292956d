#include "platform/ansi_text.h"

#include "platform/codepage.h"

#include <QSaveFile>

#include <fstream>
#include <system_error>

namespace tavo::platform {

namespace {

QString DecodeLine(QByteArrayView line) {
    if (IsValidUtf8(line)) return QString::fromUtf8(line.data(), line.size());
    return DecodeGb18030(line);
}

}  // namespace

QStringList DecodeTextLines(QByteArrayView bytes) {
    QStringList lines;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    if (n >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF && static_cast<unsigned char>(bytes[1]) == 0xBB &&
        static_cast<unsigned char>(bytes[2]) == 0xBF)
        i = 3;
    qsizetype start = i;
    while (i < n) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(DecodeLine(bytes.sliced(start, i - start)));
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.append(DecodeLine(bytes.sliced(start, n - start)));
    return lines;
}

std::optional<QByteArray> ReadFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    QByteArray data;
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
    auto lines = ReadTextLines(path);
    if (!lines) return {};
    return lines->join(joiner);
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
