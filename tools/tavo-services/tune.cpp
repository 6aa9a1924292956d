#include "tune.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavo::services {

namespace {

// xorshift32: small, fast and fully determined by the seed.
struct Rng {
    std::uint32_t s;
    explicit Rng(std::uint32_t seed) : s(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
};

void PutLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

int SongSeconds(std::uint32_t seed) { return 20 + static_cast<int>(seed % 41); }

Tune::Tune(std::uint32_t seed, int seconds)
    : seconds_(std::max(1, seconds)), samples_(static_cast<std::size_t>(seconds_) * kSampleRate) {
    Rng rng(seed);
    // Major pentatonic steps (semitones above the root) over two octaves.
    static constexpr int kSteps[] = {0, 2, 4, 7, 9, 12, 14, 16, 19, 21};
    constexpr int kStepCount = static_cast<int>(std::size(kSteps));
    const double root = 196.0 * std::pow(2.0, rng.Below(8) / 12.0);  // G3 .. D4
    const int bpm = 84 + rng.Below(56);
    const std::size_t beat = static_cast<std::size_t>(kSampleRate * 60.0 / bpm);
    // A four-bar phrase, repeated with small variations, gives a tune that
    // sounds like one.
    std::vector<int> phrase;
    int pos = 2 + rng.Below(3);
    for (int i = 0; i < 16; ++i) {
        pos = std::clamp(pos + rng.Below(5) - 2, 0, kStepCount - 1);
        phrase.push_back(pos);
    }
    static constexpr int kBassSteps[] = {0, 7, 5, 7};  // root, fifth, fourth, fifth
    std::size_t at = 0;
    int index = 0;
    while (at < samples_) {
        int step = phrase[index % phrase.size()];
        if (index >= 16 && rng.Below(4) == 0) step = std::clamp(step + rng.Below(3) - 1, 0, kStepCount - 1);
        const std::size_t length = (rng.Below(5) == 0) ? beat / 2 : beat;
        const int bar = (index / 4) % 4;
        notes_.push_back({at, std::min(length, samples_ - at), root * std::pow(2.0, kSteps[step] / 12.0),
                          root / 2 * std::pow(2.0, kBassSteps[bar] / 12.0)});
        at += length;
        ++index;
    }
}

std::int16_t Tune::Sample(std::size_t n, std::size_t& hint) const {
    while (hint + 1 < notes_.size() && notes_[hint + 1].start <= n) ++hint;
    while (hint > 0 && notes_[hint].start > n) --hint;
    const Note& note = notes_[hint];
    const double t = static_cast<double>(n - note.start) / kSampleRate;
    const double len = static_cast<double>(note.length) / kSampleRate;
    const double attack = std::min(1.0, t / 0.012);
    const double release = std::min(1.0, (len - t) / 0.02);
    const double env = attack * std::max(0.0, release) * std::exp(-2.2 * t);
    constexpr double kTwoPi = 2 * std::numbers::pi;
    const double abs_t = static_cast<double>(n) / kSampleRate;
    const double melody = std::sin(kTwoPi * note.freq * abs_t) + 0.3 * std::sin(kTwoPi * 2 * note.freq * abs_t) +
                          0.1 * std::sin(kTwoPi * 3 * note.freq * abs_t);
    const double bass = std::sin(kTwoPi * note.bassFreq * abs_t) * std::max(0.0, release) * 0.6;
    // Fade in and out over half a second at the ends of the song.
    const double edge = std::min({1.0, abs_t / 0.5, (static_cast<double>(samples_ - n) / kSampleRate) / 0.5});
    const double v = (0.45 * env * melody + 0.2 * bass) * edge;
    return static_cast<std::int16_t>(std::clamp(v, -1.0, 1.0) * 30000);
}

std::string Tune::Header() const {
    std::string h;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples_ * 2);
    h += "RIFF";
    PutLe(h, 36 + dataBytes, 4);
    h += "WAVEfmt ";
    PutLe(h, 16, 4);
    PutLe(h, 1, 2);  // PCM
    PutLe(h, 1, 2);  // mono
    PutLe(h, kSampleRate, 4);
    PutLe(h, kSampleRate * 2, 4);
    PutLe(h, 2, 2);
    PutLe(h, 16, 2);
    h += "data";
    PutLe(h, dataBytes, 4);
    return h;
}

void Tune::ReadBytes(std::size_t offset, std::size_t length, std::string& out) const {
    const std::size_t end = std::min(fileSize(), offset + length);
    if (offset >= end) return;
    if (offset < 44) {
        const std::string h = Header();
        out.append(h, offset, std::min<std::size_t>(44, end) - offset);
        offset = 44;
    }
    std::size_t hint = 0;
    for (std::size_t byte = offset; byte < end;) {
        const std::size_t n = (byte - 44) / 2;
        const auto s = static_cast<std::uint16_t>(Sample(n, hint));
        if ((byte - 44) % 2 == 0) out.push_back(static_cast<char>(s & 0xFF)), ++byte;
        if (byte < end) out.push_back(static_cast<char>(s >> 8)), ++byte;
    }
}

std::string Tune::File() const {
    std::string out;
    out.reserve(fileSize());
    ReadBytes(0, fileSize(), out);
    return out;
}

}  // namespace tavo::services
