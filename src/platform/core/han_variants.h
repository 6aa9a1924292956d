#pragma once
// Simplified and traditional Chinese: telling whether a text holds Han
// characters, and converting it to the other script with ICU's
// transliterators "Hans-Hant" and "Hant-Hans".
//
// A service may file a song under either script; a request that found
// nothing is worth one more try in the other.

#include <QString>

#include <optional>

namespace tavo::platform {

// True when the text holds at least one Han character (any CJK ideograph
// block, the supplementary planes included).
bool HasHan(const QString& text);

QString ToTraditional(const QString& text);  // through "Hans-Hant"
QString ToSimplified(const QString& text);   // through "Hant-Hans"

// The text in the other script: its traditional form when that differs
// from it, otherwise its simplified form when that differs; nullopt when
// the text has no Han characters or neither conversion changes it (or ICU
// lacks the transliterators).
std::optional<QString> OtherHanVariant(const QString& text);

}  // namespace tavo::platform
