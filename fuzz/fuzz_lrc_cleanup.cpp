// Arbitrary bytes as a lyrics reply: the clean-up must never read out of
// bounds or hang, and what it keeps must be clean lyric lines.
#include "lyrics/lrc_cleanup.h"
#include "lyrics/lyric_timing.h"
#include "platform/ansi_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList reply = tavo::platform::DecodeTextLines(bytes);
    const auto lines = tavo::CleanLyricsReply(reply);

    // The same text handed over as one piece (lone breaks inside) gives the
    // same lines.
    const auto joined = tavo::CleanLyricsReply(QStringList{reply.join(QLatin1Char('\n'))});
    Check(lines.has_value() == joined.has_value());
    if (!lines) return 0;
    Check(*lines == *joined);

    // Lines hold no line break and none of the break tags, and the reply
    // held a section marker.
    const QString all = reply.join(QString());
    Check(all.contains(QStringLiteral("<![CDATA[")));
    static const QString kTags[] = {
        QStringLiteral("<p>"),  QStringLiteral("<P>"),  QStringLiteral("</br>"),  QStringLiteral("<br>"),
        QStringLiteral("<BR>"), QStringLiteral("</BR>"), QStringLiteral("</ br>"), QStringLiteral("</ BR>"),
    };
    qsizetype total = 0;
    for (const QString& line : *lines) {
        Check(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        for (const QString& tag : kTags) Check(!line.contains(tag));
        total += line.size();
        (void)tavo::LyricLineText(line);
    }
    Check(total <= all.size());

    // The timing lookup on what was kept.
    const int k = tavo::ListIdx(*lines, QStringLiteral("00:01"), static_cast<int>(lines->size()));
    Check(k >= -1 && k < static_cast<int>(lines->size()));
    if (k >= 0) Check((*lines)[k].contains(QStringLiteral("00:01")));
    return 0;
}
