#pragma once
// Reading a music file's tags through TagLib: title, artist, album, track
// number, duration, embedded lyrics and the embedded cover picture.
//
// Every text that comes out is bounded (see the limits below); a tag that
// breaks a limit is dropped and named in `dropped`, the rest still read.
// Text frames that declare Latin-1 (ID3v1, and ID3v2 frames with encoding 0)
// often hold code page 936 bytes written by old Chinese tools; such text is
// decoded as GB18030 when it reads as Chinese that way, or as UTF-8 when the
// bytes are well-formed UTF-8, and as Latin-1 otherwise.

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace tavo::platform {

inline constexpr qsizetype kMaxTagTextChars = 1024;        // title, artist, album
inline constexpr qsizetype kMaxTagLyricsChars = 512 * 1024;
inline constexpr qsizetype kMaxTagCoverBytes = 16 * 1024 * 1024;

enum class TagReadError {
    None,         // the file was read (its tags may still be empty)
    Missing,      // no such file, or not a regular file
    Unsupported,  // a name TagLib has no reader for (the file may still play)
    Unreadable,   // TagLib could not open or parse it
};

// Which parts of a read were left out because they broke a limit.
enum TagDropped : unsigned {
    kDroppedNone = 0,
    kDroppedText = 1u << 0,    // a title, artist or album longer than kMaxTagTextChars
    kDroppedLyrics = 1u << 1,  // lyrics longer than kMaxTagLyricsChars
    kDroppedCover = 1u << 2,   // a picture larger than kMaxTagCoverBytes
};

// What a caller wants besides the plain tags; the cover and the lyrics cost
// a copy of their bytes, so a folder scan leaves them out.
enum TagParts : unsigned {
    kTagsOnly = 0,
    kTagLyrics = 1u << 0,
    kTagCover = 1u << 1,
};

struct TagInfo {
    QString title;
    QString artist;
    QString album;
    int track = 0;       // 0 when unknown
    int durationMs = 0;  // 0 when unknown
    // Embedded lyrics: unsynchronised text as stored, or synchronised lyrics
    // as LRC lines "[mm:ss.xx]text". Empty when there are none.
    QString lyrics;
    QByteArray cover;    // picture bytes, front cover preferred
    QString coverMime;   // as the tag declares it ("image/jpeg", ...)
    unsigned dropped = kDroppedNone;
};

struct TagReadResult {
    TagReadError error = TagReadError::None;
    TagInfo info;
};

TagReadResult ReadTags(const std::filesystem::path& file, unsigned parts = kTagsOnly);

// Decodes text a tag declares as Latin-1, given as its bytes (see above).
QString DecodeLegacyTagText(const QByteArray& bytes);

}  // namespace tavo::platform
