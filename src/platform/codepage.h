#pragma once
// Conversions between Unicode and the Chinese double-byte code pages.
//
// The program's "ANSI" code page is code page 936 (simplified Chinese). Text
// that old tools wrote in it is read as GB18030, its superset, so that every
// byte sequence they can produce decodes. Conversions go through glibc iconv.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tavo::platform {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Empty input is valid.
bool IsValidUtf8(QByteArrayView bytes);

// Decodes GB18030 bytes. A byte sequence that is not valid GB18030 becomes
// one U+FFFD per offending byte and decoding goes on; never fails.
QString DecodeGb18030(QByteArrayView bytes);

// Converts one double-byte code of code page 936 (lead * 256 + trail) to its
// character. Returns an empty string when the code is not a character of
// the code page.
QString Cp936CodeToString(unsigned code);

// Encodes text in code page 936. A character the code page cannot hold
// becomes "?".
QByteArray EncodeCp936(const QString& text);

}  // namespace tavo::platform
