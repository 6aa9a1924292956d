#include "platform/codepage.h"

#include <cerrno>
#include <iconv.h>

namespace tavo::platform {

namespace {

// An iconv descriptor that closes itself. Conversions are made on the UI
// thread only, but each call opens its own descriptor so that the state of
// a failed conversion never leaks into the next one.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Runs one iconv step on [in, in + inLeft) into a stack buffer and appends the
// UTF-16 result. Returns the iconv errno (0 when all input was consumed).
int ConvertChunk(iconv_t cd, const char*& in, size_t& inLeft, QString& out) {
    char16_t buf[512];
    while (inLeft > 0) {
        char* dst = reinterpret_cast<char*>(buf);
        size_t dstLeft = sizeof(buf);
        size_t r = iconv(cd, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
        const size_t produced = (sizeof(buf) - dstLeft) / sizeof(char16_t);
        out.append(reinterpret_cast<const QChar*>(buf), static_cast<qsizetype>(produced));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            return errno;
        }
    }
    return 0;
}

}  // namespace

bool IsValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;       // no overlong forms
            if (c == 0xED) hi = 0x9F;       // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;       // no overlong forms
            if (c == 0xF4) hi = 0x8F;       // nothing above U+10FFFF
        } else {
            return false;
        }
        if (n - i < len) return false;
        if (p[i + 1] < lo || p[i + 1] > hi) return false;
        for (int k = 2; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

QString DecodeGb18030(QByteArrayView bytes) {
    QString out;
    if (bytes.isEmpty()) return out;
    Converter conv("UTF-16LE", "GB18030");
    if (!conv.ok()) return QString::fromLatin1(bytes.data(), bytes.size());
    out.reserve(bytes.size());
    const char* in = bytes.data();
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        int err = ConvertChunk(conv.get(), in, inLeft, out);
        if (err == 0) break;
        // EILSEQ (invalid) or EINVAL (truncated at the end): skip one byte.
        out.append(QChar(0xFFFD));
        ++in;
        --inLeft;
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

QString Cp936CodeToString(unsigned code) {
    if (code > 0xFFFF) return {};
    Converter conv("UTF-16LE", "CP936");
    if (!conv.ok()) return {};
    char bytes[2];
    size_t n = 0;
    if (code > 0xFF) bytes[n++] = static_cast<char>(code >> 8);
    bytes[n++] = static_cast<char>(code & 0xFF);
    const char* in = bytes;
    size_t inLeft = n;
    QString out;
    if (ConvertChunk(conv.get(), in, inLeft, out) != 0) return {};
    // Two single-byte characters are not one double-byte character.
    if (code > 0xFF && out.size() != 1) return {};
    return out;
}

QByteArray EncodeCp936(const QString& text) {
    QByteArray out;
    Converter conv("CP936", "UTF-16LE");
    if (!conv.ok()) return text.toLatin1();
    out.reserve(text.size() * 2);
    // Character by character, so that one unmappable character becomes "?"
    // without disturbing its neighbours. A surrogate pair goes as one unit.
    for (qsizetype i = 0; i < text.size();) {
        qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const char* in = reinterpret_cast<const char*>(text.utf16() + i);
        size_t inLeft = static_cast<size_t>(len) * sizeof(char16_t);
        char buf[16];
        char* dst = buf;
        size_t dstLeft = sizeof(buf);
        size_t r = iconv(conv.get(), const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
        if (r == static_cast<size_t>(-1) || inLeft != 0) {
            out.append('?');
            iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buf, static_cast<qsizetype>(sizeof(buf) - dstLeft));
        }
        i += len;
    }
    return out;
}

}  // namespace tavo::platform
