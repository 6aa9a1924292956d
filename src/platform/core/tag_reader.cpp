#include "platform/core/tag_reader.h"

#include "platform/codepage.h"

#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tdebuglistener.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <QStringList>

#include <mutex>
#include <system_error>

namespace tavo::platform {

namespace fs = std::filesystem;

namespace {

// TagLib reports every odd frame on stderr; a scan of a large collection
// would flood it. The outcome is carried by the result instead.
class QuietListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void SilenceTagLib() {
    static QuietListener listener;
    static std::once_flag once;
    std::call_once(once, [] { TagLib::setDebugListener(&listener); });
}

QString FromTagLib(const TagLib::String& s) { return QString::fromStdString(s.to8Bit(true)); }

// True when every non-ASCII character is one Chinese text uses: CJK
// ideographs, CJK punctuation, full-width forms and the GB2312 symbol rows.
bool ReadsAsChinese(const QString& text) {
    bool any = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) continue;
        const bool cjk = (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) ||
                         (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF) ||
                         (u >= 0x2000 && u <= 0x206F) || (u >= 0x3040 && u <= 0x30FF) ||
                         (u >= 0x0391 && u <= 0x03C9) || (u >= 0x0401 && u <= 0x0451) ||
                         (u >= 0x2460 && u <= 0x24FF) || (u >= 0x2500 && u <= 0x257F);
        if (!cjk) return false;
        any = true;
    }
    return any;
}

// True when the high bytes pair up as double-byte characters whose trail
// byte is itself high, as in every GB2312 character. GBK's rarer characters
// with an ASCII trail byte are left out: "\xF6r" is far likelier Latin-1.
bool PairsAsDoubleByte(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) continue;
        if (b == 0x80 || b == 0xFF || i + 1 >= bytes.size()) return false;
        const auto t = static_cast<unsigned char>(bytes[i + 1]);
        if (t < 0x80 || t == 0xFF) return false;
        ++i;
    }
    return true;
}

// A string TagLib decoded as Latin-1: its characters are its bytes.
QString RepairLatin1(const TagLib::String& s) {
    for (auto it = s.begin(); it != s.end(); ++it)
        if (static_cast<unsigned>(*it) > 0xFF) return FromTagLib(s);
    const TagLib::ByteVector v = s.data(TagLib::String::Latin1);
    return DecodeLegacyTagText(QByteArray(v.data(), static_cast<qsizetype>(v.size())));
}

// Keeps `text` in `field` when it is within the limit; otherwise notes it.
void KeepText(QString text, QString& field, TagInfo& info) {
    text = text.trimmed();
    if (text.size() > kMaxTagTextChars) {
        info.dropped |= kDroppedText;
        return;
    }
    if (!text.isEmpty()) field = std::move(text);
}

void KeepLyrics(QString text, TagInfo& info) {
    if (text.trimmed().isEmpty() || !info.lyrics.isEmpty()) return;
    if (text.size() > kMaxTagLyricsChars) {
        info.dropped |= kDroppedLyrics;
        return;
    }
    info.lyrics = std::move(text);
}

void KeepCover(const TagLib::ByteVector& data, const TagLib::String& mime, TagInfo& info) {
    if (data.isEmpty() || !info.cover.isEmpty()) return;
    if (static_cast<qsizetype>(data.size()) > kMaxTagCoverBytes) {
        info.dropped |= kDroppedCover;
        return;
    }
    info.cover = QByteArray(data.data(), static_cast<qsizetype>(data.size()));
    info.coverMime = FromTagLib(mime);
}

QString LrcTime(unsigned ms) {
    const unsigned cs = (ms / 10) % 100, s = (ms / 1000) % 60, m = ms / 60000;
    return QStringLiteral("[%1:%2.%3]")
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .arg(cs, 2, 10, QLatin1Char('0'));
}

// One ID3v2 text frame, repaired when it declares Latin-1.
QString Id3Text(const TagLib::ID3v2::Tag& tag, const char* id) {
    const auto& frames = tag.frameListMap()[id];
    if (frames.isEmpty()) return {};
    const auto* frame = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frames.front());
    if (!frame) return FromTagLib(frames.front()->toString());
    if (frame->textEncoding() == TagLib::String::Latin1) return RepairLatin1(frame->toString());
    return FromTagLib(frame->toString());
}

void ReadId3v2(const TagLib::ID3v2::Tag& tag, unsigned parts, TagInfo& info) {
    KeepText(Id3Text(tag, "TIT2"), info.title, info);
    KeepText(Id3Text(tag, "TPE1"), info.artist, info);
    KeepText(Id3Text(tag, "TALB"), info.album, info);
    if (parts & kTagLyrics) {
        for (const auto* f : tag.frameListMap()["USLT"]) {
            const auto* uslt = dynamic_cast<const TagLib::ID3v2::UnsynchronizedLyricsFrame*>(f);
            if (!uslt) continue;
            KeepLyrics(uslt->textEncoding() == TagLib::String::Latin1 ? RepairLatin1(uslt->text())
                                                                      : FromTagLib(uslt->text()),
                       info);
        }
        for (const auto* f : tag.frameListMap()["SYLT"]) {
            const auto* sylt = dynamic_cast<const TagLib::ID3v2::SynchronizedLyricsFrame*>(f);
            // Times counted in MPEG frames cannot be placed without the frame
            // rate; only millisecond times are taken.
            if (!sylt || sylt->timestampFormat() != TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds)
                continue;
            QString lrc;
            for (const auto& line : sylt->synchedText()) {
                const QString text = sylt->textEncoding() == TagLib::String::Latin1 ? RepairLatin1(line.text)
                                                                                     : FromTagLib(line.text);
                lrc += LrcTime(line.time) + text.trimmed() + QStringLiteral("\r\n");
                if (lrc.size() > kMaxTagLyricsChars) break;
            }
            KeepLyrics(lrc, info);
        }
    }
    if (parts & kTagCover) {
        const TagLib::ID3v2::AttachedPictureFrame* chosen = nullptr;
        for (const auto* f : tag.frameListMap()["APIC"]) {
            const auto* pic = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(f);
            if (!pic) continue;
            if (!chosen || pic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) chosen = pic;
        }
        if (chosen) KeepCover(chosen->picture(), chosen->mimeType(), info);
    }
}

void ReadId3v1(const TagLib::ID3v1::Tag& tag, TagInfo& info) {
    if (info.title.isEmpty()) KeepText(RepairLatin1(tag.title()), info.title, info);
    if (info.artist.isEmpty()) KeepText(RepairLatin1(tag.artist()), info.artist, info);
    if (info.album.isEmpty()) KeepText(RepairLatin1(tag.album()), info.album, info);
    if (info.track == 0) info.track = static_cast<int>(tag.track());
}

void ReadXiph(const TagLib::Ogg::XiphComment& tag, unsigned parts, TagInfo& info) {
    if (parts & kTagLyrics) {
        const auto& map = tag.fieldListMap();
        for (const char* key : {"LYRICS", "UNSYNCEDLYRICS"}) {
            const auto it = map.find(key);
            if (it != map.end() && !it->second.isEmpty()) KeepLyrics(FromTagLib(it->second.front()), info);
        }
    }
    if (parts & kTagCover) {
        for (const auto* pic : const_cast<TagLib::Ogg::XiphComment&>(tag).pictureList())
            if (pic->type() == TagLib::FLAC::Picture::FrontCover) KeepCover(pic->data(), pic->mimeType(), info);
        for (const auto* pic : const_cast<TagLib::Ogg::XiphComment&>(tag).pictureList())
            KeepCover(pic->data(), pic->mimeType(), info);
    }
}

// The format-specific parts: ID3 repair, lyrics and pictures.
void ReadSpecific(TagLib::File* file, unsigned parts, TagInfo& info) {
    if (auto* mp3 = dynamic_cast<TagLib::MPEG::File*>(file)) {
        if (mp3->hasID3v2Tag()) ReadId3v2(*mp3->ID3v2Tag(), parts, info);
        if (mp3->hasID3v1Tag()) ReadId3v1(*mp3->ID3v1Tag(), info);
    } else if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
        if (wav->hasID3v2Tag()) ReadId3v2(*wav->ID3v2Tag(), parts, info);
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        if (flac->hasID3v2Tag()) ReadId3v2(*flac->ID3v2Tag(), parts, info);
        if (flac->hasXiphComment()) ReadXiph(*flac->xiphComment(), parts, info);
        if (parts & kTagCover)
            for (const auto* pic : flac->pictureList()) KeepCover(pic->data(), pic->mimeType(), info);
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
        if (vorbis->tag()) ReadXiph(*vorbis->tag(), parts, info);
    } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
        if (opus->tag()) ReadXiph(*opus->tag(), parts, info);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        if (auto* tag = mp4->tag()) {
            if ((parts & kTagLyrics) && tag->contains("\251lyr")) {
                const auto list = tag->item("\251lyr").toStringList();
                if (!list.isEmpty()) KeepLyrics(FromTagLib(list.front()), info);
            }
            if ((parts & kTagCover) && tag->contains("covr")) {
                const auto covers = tag->item("covr").toCoverArtList();
                if (!covers.isEmpty()) {
                    const auto& c = covers.front();
                    KeepCover(c.data(), c.format() == TagLib::MP4::CoverArt::PNG ? "image/png" : "image/jpeg", info);
                }
            }
        }
    } else if (parts & kTagLyrics) {
        // APE, WavPack, ASF: their property maps name lyrics "LYRICS".
        const TagLib::PropertyMap props = file->properties();
        const auto it = props.find("LYRICS");
        if (it != props.end() && !it->second.isEmpty()) KeepLyrics(FromTagLib(it->second.front()), info);
    }
}

}  // namespace

QString DecodeLegacyTagText(const QByteArray& bytes) {
    bool ascii = true;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return QString::fromLatin1(bytes);
    if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes);
    if (!PairsAsDoubleByte(bytes)) return QString::fromLatin1(bytes);
    const QString gb = DecodeGb18030(bytes);
    if (!gb.contains(QChar(0xFFFD)) && ReadsAsChinese(gb)) return gb;
    return QString::fromLatin1(bytes);
}

TagReadResult ReadTags(const fs::path& file, unsigned parts) {
    SilenceTagLib();
    TagReadResult out;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        out.error = TagReadError::Missing;
        return out;
    }
    TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Fast);
    if (ref.isNull()) {
        // FileRef is null both for names it has no reader for and for files
        // it could not parse; a reader that exists tells them apart.
        const QString ext = QString::fromStdString(file.extension().string()).toLower();
        static const QStringList known = {".mp3", ".flac", ".ogg", ".oga", ".opus", ".m4a", ".mp4", ".aac",
                                          ".wav", ".ape", ".wma", ".asf", ".wv"};
        out.error = known.contains(ext) ? TagReadError::Unreadable : TagReadError::Unsupported;
        return out;
    }
    TagInfo& info = out.info;
    if (const TagLib::Tag* tag = ref.tag()) {
        KeepText(FromTagLib(tag->title()), info.title, info);
        KeepText(FromTagLib(tag->artist()), info.artist, info);
        KeepText(FromTagLib(tag->album()), info.album, info);
        info.track = static_cast<int>(tag->track());
    }
    // The specific readers come after the generic one and override its
    // Latin-1 texts with repaired ones.
    TagInfo specific;
    ReadSpecific(ref.file(), parts, specific);
    if (!specific.title.isEmpty()) info.title = specific.title;
    if (!specific.artist.isEmpty()) info.artist = specific.artist;
    if (!specific.album.isEmpty()) info.album = specific.album;
    if (info.track == 0) info.track = specific.track;
    info.lyrics = std::move(specific.lyrics);
    info.cover = std::move(specific.cover);
    info.coverMime = std::move(specific.coverMime);
    info.dropped |= specific.dropped;
    if (info.track < 0 || info.track > 100000) info.track = 0;
    if (const TagLib::AudioProperties* props = ref.audioProperties())
        info.durationMs = std::max(0, props->lengthInMilliseconds());
    return out;
}

}  // namespace tavo::platform
