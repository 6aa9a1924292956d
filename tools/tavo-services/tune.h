#pragma once
// Songs synthesised in code: a simple pentatonic melody over a bass line,
// as a 16-bit mono PCM WAV file. Everything derives from a 32-bit seed, so
// the same seed always gives the same tune; any byte range of the file can
// be produced on its own (for streaming and range requests).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavo::services {

inline constexpr int kSampleRate = 22050;

class Tune {
public:
    Tune(std::uint32_t seed, int seconds);

    int seconds() const { return seconds_; }
    std::size_t sampleCount() const { return samples_; }
    // The size of the WAV file: 44 header bytes and two per sample.
    std::size_t fileSize() const { return 44 + samples_ * 2; }

    // Appends bytes [offset, offset + length) of the WAV file to `out`
    // (clipped at the end of the file).
    void ReadBytes(std::size_t offset, std::size_t length, std::string& out) const;

    // The whole file.
    std::string File() const;

private:
    struct Note {
        std::size_t start;
        std::size_t length;
        double freq;
        double bassFreq;
    };
    std::int16_t Sample(std::size_t n, std::size_t& noteHint) const;
    std::string Header() const;

    int seconds_;
    std::size_t samples_;
    std::vector<Note> notes_;
};

// A song's length in seconds from its seed: 20 to 60.
int SongSeconds(std::uint32_t seed);

}  // namespace tavo::services
