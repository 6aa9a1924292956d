#include "lyrics/lyric_file.h"

#include "platform/ansi_text.h"
#include "platform/bounded_file.h"
#include "platform/codepage.h"

#include <QByteArray>
#include <QStringDecoder>

#include <system_error>

namespace tavo::lyrics {

namespace fs = std::filesystem;

namespace {

bool StartsWith(QByteArrayView bytes, std::initializer_list<unsigned char> prefix) {
    if (bytes.size() < static_cast<qsizetype>(prefix.size())) return false;
    qsizetype i = 0;
    for (const unsigned char b : prefix)
        if (static_cast<unsigned char>(bytes[i++]) != b) return false;
    return true;
}

QString DecodeUtf16(QByteArrayView bytes, QStringDecoder::Encoding enc) {
    QStringDecoder decoder(enc, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

// A name for a file: the characters a folder name may not hold become "_".
QString FileSafe(QString text) {
    text.replace(QLatin1Char('/'), QLatin1Char('_'));
    text.replace(QChar(u'\0'), QLatin1Char('_'));
    return text.trimmed();
}

bool IsFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

}  // namespace

QString DecodeLyricBytes(QByteArrayView bytes) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return QString::fromUtf8(bytes.sliced(3));
    if (StartsWith(bytes, {0xFF, 0xFE})) return DecodeUtf16(bytes.sliced(2), QStringDecoder::Utf16LE);
    if (StartsWith(bytes, {0xFE, 0xFF})) return DecodeUtf16(bytes.sliced(2), QStringDecoder::Utf16BE);
    if (platform::IsValidUtf8(bytes)) return QString::fromUtf8(bytes);
    return platform::DecodeGb18030(bytes);
}

LyricFile ReadLyricFile(const fs::path& file) {
    LyricFile out;
    platform::BoundedRead read = platform::ReadFileUpTo(file, kMaxLyricFileBytes);
    switch (read.error) {
        case platform::BoundedReadError::None: break;
        case platform::BoundedReadError::Missing: out.error = LyricFileError::Missing; return out;
        case platform::BoundedReadError::TooLarge: out.error = LyricFileError::TooLarge; return out;
        case platform::BoundedReadError::Unreadable: out.error = LyricFileError::Unreadable; return out;
    }
    QString text = DecodeLyricBytes(read.bytes);
    if (text.contains(QChar(u'\0'))) {
        out.error = LyricFileError::NotText;
        return out;
    }
    out.text = std::move(text);
    return out;
}

std::optional<fs::path> OwnLyricFile(const fs::path& song) {
    for (const char* ext : {".lrc", ".LRC"}) {
        fs::path same = song;
        same.replace_extension(ext);
        if (same != song && IsFile(same)) return same;
    }
    return std::nullopt;
}

std::optional<fs::path> NamedLyricFile(const fs::path& song, const QString& artist, const QString& title) {
    const QString a = FileSafe(artist), t = FileSafe(title);
    if (a.isEmpty() || t.isEmpty()) return std::nullopt;
    const QString name = a + QStringLiteral(" - ") + t + QStringLiteral(".lrc");
    const fs::path named = song.parent_path() / platform::QStringToPath(name);
    if (IsFile(named)) return named;
    return std::nullopt;
}

std::optional<fs::path> FindLyricFileBeside(const fs::path& song, const QString& artist, const QString& title) {
    if (auto own = OwnLyricFile(song)) return own;
    return NamedLyricFile(song, artist, title);
}

}  // namespace tavo::lyrics
