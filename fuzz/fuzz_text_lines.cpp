// Arbitrary bytes as a list file and as percent-encoded page text: decoding
// must never read out of bounds, hang or lose lines.
#include "platform/ansi_text.h"
#include "sources/text_codecs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = tavo::platform::DecodeTextLines(bytes);
    qsizetype breaks = 0;
    for (char c : bytes) breaks += (c == '\n' || c == '\r');
    if (lines.size() > breaks + 1) std::abort();  // never more lines than endings + 1

    const QString text = lines.join(QString());
    (void)tavo::UrlDecodeAnsi(text);
    (void)tavo::RemoveBracketed(text, QStringLiteral("("), QStringLiteral(")"));
    QString copy = text;
    (void)tavo::UrlEncodeUtf8(copy);
    return 0;
}
