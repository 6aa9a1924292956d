#pragma once
// Short music files made on the spot for tests and benchmarks: WAV, MP3,
// FLAC and Ogg Opus, each a valid stream of silence of the asked length, and
// their tags set through TagLib. Legacy tags (code page 936 bytes in frames
// that declare Latin-1) are written byte for byte, as old tools did.

#include "support/wav_file.h"

#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/attachedpictureframe.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tavo::test {

namespace media_detail {

inline void Put(std::string& out, std::uint64_t v, int bytes, bool bigEndian) {
    for (int i = 0; i < bytes; ++i) {
        const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

inline std::uint8_t Crc8(const std::string& s, size_t from) {
    std::uint8_t crc = 0;
    for (size_t i = from; i < s.size(); ++i) {
        crc ^= static_cast<std::uint8_t>(s[i]);
        for (int b = 0; b < 8; ++b) crc = static_cast<std::uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

inline std::uint16_t Crc16(const std::string& s, size_t from) {
    std::uint16_t crc = 0;
    for (size_t i = from; i < s.size(); ++i) {
        crc ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[i]) << 8);
        for (int b = 0; b < 8; ++b) crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

inline std::uint32_t OggCrc(const std::string& s) {
    std::uint32_t crc = 0;
    for (const char c : s) {
        crc ^= static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 24;
        for (int b = 0; b < 8; ++b) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// One Ogg page holding whole packets (each under 255 bytes).
inline std::string OggPage(const std::vector<std::string>& packets, std::uint8_t flags, std::uint64_t granule,
                           std::uint32_t seq) {
    std::string page = "OggS";
    page.push_back(0);
    page.push_back(static_cast<char>(flags));
    Put(page, granule, 8, false);
    Put(page, 0x7A766154u, 4, false);  // stream serial
    Put(page, seq, 4, false);
    Put(page, 0, 4, false);            // CRC, filled below
    page.push_back(static_cast<char>(packets.size()));
    for (const auto& p : packets) page.push_back(static_cast<char>(p.size()));
    for (const auto& p : packets) page += p;
    const std::uint32_t crc = OggCrc(page);
    for (int i = 0; i < 4; ++i) page[22 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    return page;
}

}  // namespace media_detail

// MPEG-1 layer III, 44.1 kHz, 128 kbit/s, mono: frames of silence (empty
// side information, no main data).
inline std::string MakeMp3(double seconds) {
    const int frames = std::max(1, static_cast<int>(seconds * 44100.0 / 1152.0 + 0.5));
    std::string frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0xC0);
    std::string out;
    out.reserve(static_cast<size_t>(frames) * frame.size());
    for (int i = 0; i < frames; ++i) out += frame;
    return out;
}

// FLAC, 8 kHz, 16-bit mono, blocks of 4096 samples each a constant
// subframe of zero; the length is rounded up to whole blocks.
inline std::string MakeFlac(double seconds) {
    using namespace media_detail;
    const std::uint64_t blocks = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(seconds * 8000 / 4096 + 0.999));
    std::string out = "fLaC";
    out.push_back(static_cast<char>(0x80));  // last metadata block, STREAMINFO
    Put(out, 34, 3, true);
    Put(out, 4096, 2, true);
    Put(out, 4096, 2, true);
    Put(out, 0, 3, true);
    Put(out, 0, 3, true);
    // 20 bits rate, 3 bits channels - 1, 5 bits bits - 1, 36 bits samples.
    const std::uint64_t packed = (std::uint64_t{8000} << 44) | (std::uint64_t{0} << 41) | (std::uint64_t{15} << 36) |
                                 (blocks * 4096);
    Put(out, packed, 8, true);
    out.append(16, '\0');  // MD5 unknown
    for (std::uint64_t n = 0; n < blocks; ++n) {
        const size_t start = out.size();
        out.push_back(static_cast<char>(0xFF));
        out.push_back(static_cast<char>(0xF8));
        out.push_back(static_cast<char>(0xC4));  // 4096 samples, 8 kHz
        out.push_back(static_cast<char>(0x08));  // mono, 16 bits
        out.push_back(static_cast<char>(n));     // frame number (below 128 here)
        out.push_back(static_cast<char>(Crc8(out, start)));
        out.push_back(0);  // constant subframe
        Put(out, 0, 2, true);
        Put(out, Crc16(out, start), 2, true);
    }
    return out;
}

// Ogg Opus, mono: a 20 ms packet a page group, each an empty frame.
inline std::string MakeOpus(double seconds) {
    using namespace media_detail;
    std::string head = "OpusHead";
    head.push_back(1);
    head.push_back(1);
    Put(head, 312, 2, false);
    Put(head, 48000, 4, false);
    Put(head, 0, 2, false);
    head.push_back(0);
    std::string tags = "OpusTags";
    Put(tags, 4, 4, false);
    tags += "test";
    Put(tags, 0, 4, false);
    std::string out = OggPage({head}, 0x02, 0, 0) + OggPage({tags}, 0, 0, 1);
    const int packets = std::max(1, static_cast<int>(seconds * 50));
    std::uint32_t seq = 2;
    for (int done = 0; done < packets;) {
        std::vector<std::string> page;
        while (done < packets && page.size() < 50) {
            page.emplace_back(1, static_cast<char>(0xF8));
            ++done;
        }
        const std::uint64_t granule = 312 + static_cast<std::uint64_t>(done) * 960;
        out += OggPage(page, done == packets ? 0x04 : 0, granule, seq++);
    }
    return out;
}

struct TestTags {
    std::string title;   // UTF-8
    std::string artist;  // UTF-8
    std::string album;
    unsigned track = 0;
    std::string lyrics;  // unsynchronised, UTF-8
};

inline TagLib::String Utf8(const std::string& s) { return TagLib::String(s, TagLib::String::UTF8); }

// Sets the common tags of any file TagLib opens. False when it cannot.
inline bool SetTags(const std::filesystem::path& file, const TestTags& t) {
    TagLib::FileRef ref(file.c_str());
    if (ref.isNull()) return false;
    TagLib::Tag* tag = ref.tag();
    if (!t.title.empty()) tag->setTitle(Utf8(t.title));
    if (!t.artist.empty()) tag->setArtist(Utf8(t.artist));
    if (!t.album.empty()) tag->setAlbum(Utf8(t.album));
    if (t.track) tag->setTrack(t.track);
    if (!t.lyrics.empty()) {
        TagLib::PropertyMap props = ref.file()->properties();
        props.replace("LYRICS", TagLib::StringList(Utf8(t.lyrics)));
        ref.file()->setProperties(props);
    }
    return ref.save();
}

// Writes an MP3's title and artist as raw bytes in Latin-1 frames, in an
// ID3v2 tag, an ID3v1 tag, or both: the way old tools stored GBK text.
inline bool SetLegacyMp3Tags(const std::filesystem::path& file, const std::string& titleBytes,
                             const std::string& artistBytes, bool v2, bool v1) {
    TagLib::MPEG::File mp3(file.c_str());
    if (!mp3.isValid()) return false;
    const auto raw = [](const std::string& b) {
        return TagLib::String(TagLib::ByteVector(b.data(), static_cast<unsigned>(b.size())), TagLib::String::Latin1);
    };
    if (v2) {
        TagLib::ID3v2::Tag* tag = mp3.ID3v2Tag(true);
        tag->removeFrames("TIT2");
        tag->removeFrames("TPE1");
        for (const auto& [id, bytes] : {std::pair{"TIT2", titleBytes}, std::pair{"TPE1", artistBytes}}) {
            auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::Latin1);
            frame->setText(raw(bytes));
            tag->addFrame(frame);
        }
    }
    if (v1) {
        TagLib::ID3v1::Tag* tag = mp3.ID3v1Tag(true);
        tag->setTitle(raw(titleBytes));
        tag->setArtist(raw(artistBytes));
    }
    return mp3.save(v2 && v1 ? TagLib::MPEG::File::AllTags
                             : v2 ? TagLib::MPEG::File::ID3v2 : TagLib::MPEG::File::ID3v1,
                    TagLib::File::StripNone);
}

// Adds an ID3v2 SYLT frame (millisecond times) to an MP3.
inline bool AddSyncedLyrics(const std::filesystem::path& file, const std::vector<std::pair<unsigned, std::string>>& lines) {
    TagLib::MPEG::File mp3(file.c_str());
    if (!mp3.isValid()) return false;
    auto* frame = new TagLib::ID3v2::SynchronizedLyricsFrame(TagLib::String::UTF8);
    frame->setTimestampFormat(TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds);
    TagLib::ID3v2::SynchronizedLyricsFrame::SynchedTextList list;
    for (const auto& [ms, text] : lines) list.append({ms, Utf8(text)});
    frame->setSynchedText(list);
    mp3.ID3v2Tag(true)->addFrame(frame);
    return mp3.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone);
}

// Adds an ID3v2 front cover picture to an MP3.
inline bool AddCover(const std::filesystem::path& file, const std::string& bytes, const std::string& mime) {
    TagLib::MPEG::File mp3(file.c_str());
    if (!mp3.isValid()) return false;
    auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    frame->setMimeType(mime);
    frame->setPicture(TagLib::ByteVector(bytes.data(), static_cast<unsigned>(bytes.size())));
    mp3.ID3v2Tag(true)->addFrame(frame);
    return mp3.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone);
}

}  // namespace tavo::test
