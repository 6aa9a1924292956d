#pragma once
// Text routines of the web side: percent-encoding a search query as UTF-8,
// decoding percent-encoded code page 936 names, random query tokens, reading
// a UTF-8 file, removing bracketed annotations and trimming spaces.
//
// All work on UTF-16 code units (QString). Texts of any length are handled:
// there is no 32767-unit limit.

#include <QString>

#include <filesystem>

namespace tavo {

// Trims spaces (U+0020) from `text` in place, then percent-encodes it:
// ASCII letters and digits stay; any other unit up to 255 is "%XX" (one byte);
// a unit above 255 is its three-byte UTF-8 form "%XX%XX%XX", whatever its
// value (each surrogate of a pair is encoded by itself).
QString UrlEncodeUtf8(QString& text);

// Decodes "+" as a space and "%XX" escapes: below 128 one character; from 128
// a double-byte code page 936 character whose trail byte is the "%XX" that
// follows. A character the code page does not have becomes "?".
QString UrlDecodeAnsi(const QString& text);

// A fresh random token such as 0.5316321071328703, different on every call.
QString RndToken();

// The whole file decoded as UTF-8 (a leading byte-order mark dropped);
// empty text when the path is empty or no readable file exists there.
QString ReadUtf8File(const std::filesystem::path& path);

// Removes groups open + inner + close, one distinct inner text at a time,
// scanning forward from where the previous group's closing delimiter was.
QString RemoveBracketed(const QString& text, const QString& open, const QString& close);

// Removes trailing, then leading, spaces (U+0020 only).
QString TrimSpaces(const QString& text);

}  // namespace tavo
