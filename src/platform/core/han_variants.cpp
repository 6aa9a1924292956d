#include "platform/core/han_variants.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <memory>

namespace tavo::platform {

namespace {

// One transliterator per direction, made on first use (building one reads
// its rules, which takes a few milliseconds). Null when ICU has none.
// Only the UI thread converts.
icu::Transliterator* Transliterator(const char* id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status)) return nullptr;
    return t.release();
}

icu::Transliterator* HansToHant() {
    static icu::Transliterator* const t = Transliterator("Hans-Hant");
    return t;
}

icu::Transliterator* HantToHans() {
    static icu::Transliterator* const t = Transliterator("Hant-Hans");
    return t;
}

QString Convert(icu::Transliterator* t, const QString& text) {
    if (!t || text.isEmpty()) return text;
    icu::UnicodeString s(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
    t->transliterate(s);
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

}  // namespace

bool HasHan(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        UErrorCode status = U_ZERO_ERROR;
        if (uscript_getScript(static_cast<UChar32>(c), &status) == USCRIPT_HAN && U_SUCCESS(status)) return true;
    }
    return false;
}

QString ToTraditional(const QString& text) { return Convert(HansToHant(), text); }

QString ToSimplified(const QString& text) { return Convert(HantToHans(), text); }

std::optional<QString> OtherHanVariant(const QString& text) {
    if (!HasHan(text)) return std::nullopt;
    const QString traditional = ToTraditional(text);
    if (traditional != text) return traditional;
    const QString simplified = ToSimplified(text);
    if (simplified != text) return simplified;
    return std::nullopt;
}

}  // namespace tavo::platform
