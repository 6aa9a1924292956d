#include "sources/text_codecs.h"

#include "platform/ansi_text.h"
#include "platform/codepage.h"

#include <QRandomGenerator>

#include <array>
#include <atomic>
#include <memory>
#include <chrono>

namespace tavo {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexByte(QString& out, unsigned byte) {
    out.append(QLatin1Char('%'));
    out.append(QLatin1Char(kHexDigits[(byte >> 4) & 0xF]));
    out.append(QLatin1Char(kHexDigits[byte & 0xF]));
}

bool IsAsciiAlnum(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// The value of the longest run of hex digits at the start of the (up to) two
// units at `pos`; 0 when there is none or `pos` is past the end.
unsigned ReadHexPair(const QString& text, qsizetype pos) {
    unsigned value = 0;
    for (qsizetype k = pos; k < pos + 2 && k < text.size(); ++k) {
        int d = HexValue(text[k].unicode());
        if (d < 0) break;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return value;
}

// A random number in [0, 1) held as a single-precision value.
float RandomSingle(QRandomGenerator& gen) {
    float f = static_cast<float>(gen.generateDouble());
    return f >= 1.0f ? 0.99999994f : f;
}

// The shortest decimal text of a single-precision value in [0, 1), with up
// to seven significant digits and a leading "0": 0.5316321, 0.25, 0.
QString ShortSingleText(float f) {
    QString s = QString::number(static_cast<double>(f), 'g', 7);
    if (s.contains(QLatin1Char('e'))) s = QString::number(static_cast<double>(f), 'f', 9);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    return s;
}

// A double-byte code page 936 character (lead byte from 0x80), "?" when
// the code page has none. Each code is converted once per thread: a page
// holds thousands of names, and opening a converter per character costs
// more than the rest of the decoding.
QChar Cp936DoubleByte(unsigned code) {
    constexpr char16_t kUnknown = 0;
    constexpr char16_t kNone = 0xFFFF;  // a noncharacter: never a conversion result
    thread_local std::unique_ptr<std::array<char16_t, 65536>> cache;
    if (!cache) cache = std::make_unique<std::array<char16_t, 65536>>();
    char16_t& slot = (*cache)[code & 0xFFFF];
    if (slot == kUnknown) {
        const QString ch = platform::Cp936CodeToString(code);
        slot = ch.size() == 1 && ch[0].unicode() != kNone ? ch[0].unicode() : kNone;
    }
    return slot == kNone ? QLatin1Char('?') : QChar(slot);
}

}  // namespace

QString UrlEncodeUtf8(QString& text) {
    text = TrimSpaces(text);
    QString out;
    out.reserve(text.size() * 3);
    for (QChar qc : std::as_const(text)) {
        const char16_t c = qc.unicode();
        if (IsAsciiAlnum(c)) {
            out.append(qc);
        } else if (c <= 0xFF) {
            AppendHexByte(out, c);
        } else {
            AppendHexByte(out, 0xE0 | (c >> 12));
            AppendHexByte(out, 0x80 | ((c >> 6) & 0x3F));
            AppendHexByte(out, 0x80 | (c & 0x3F));
        }
    }
    return out;
}

QString UrlDecodeAnsi(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('+')) {
            out.append(QLatin1Char(' '));
        } else if (c == QLatin1Char('%')) {
            const unsigned lead = ReadHexPair(text, i + 1);
            if (lead < 128) {
                out.append(QChar(static_cast<char16_t>(lead)));
                i += 2;
            } else {
                // The unit at i + 3 (normally a second "%") is skipped unread.
                const unsigned trail = ReadHexPair(text, i + 4);
                out.append(Cp936DoubleByte(lead * 256 + trail));
                i += 5;
            }
        } else {
            out.append(c);
        }
    }
    return out;
}

QString RndToken() {
    // Seeded from the clock and a call counter, so that two calls within the
    // same clock tick still differ.
    static std::atomic<quint64> calls{0};
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    QRandomGenerator gen(static_cast<quint32>(now) ^ static_cast<quint32>(now >> 32) ^
                         static_cast<quint32>(++calls * 0x9E3779B9u));
    const float r1 = RandomSingle(gen);
    const float r2 = RandomSingle(gen);
    const float r3 = RandomSingle(gen);
    QString token = QString::number(static_cast<double>(r1), 'f', 7);
    token += ShortSingleText(r2).remove(QLatin1Char('.'));
    token += ShortSingleText(r3).left(3);
    return token;
}

QString ReadUtf8File(const std::filesystem::path& path) {
    auto bytes = platform::ReadFileBytes(path);
    if (!bytes) return {};
    QByteArrayView view(*bytes);
    if (view.size() >= 3 && view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    return QString::fromUtf8(view.data(), view.size());
}

QString RemoveBracketed(const QString& text, const QString& open, const QString& close) {
    if (open.isEmpty() || close.isEmpty()) return text;
    QString result = text;
    qsizetype p = 0;
    for (;;) {
        const qsizetype a = result.indexOf(open, p);
        if (a < 0) break;
        const qsizetype b = result.indexOf(close, a + 1);
        if (b < 0) break;
        // The inner text starts one unit after the opening delimiter's start.
        const QString inner = result.mid(a + 1, b - a - 1);
        result.remove(open + inner + close);
        // The search goes on from where the closing delimiter was found, in
        // the text before the removal; groups that slid before it stay.
        p = b;
    }
    return result;
}

QString TrimSpaces(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    qsizetype start = 0;
    while (start < end && text[start] == QLatin1Char(' ')) ++start;
    return text.sliced(start, end - start);
}

}  // namespace tavo
