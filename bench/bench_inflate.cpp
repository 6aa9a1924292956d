// The decoder's inflate against zlib's and libdeflate's on the same ~12 MB
// corpus of text, binary and image data, compressed once by zlib at its
// default level. The ratio lines at the end compare the rows; the last ones
// take the two decoders in turns, round after round, which a machine whose
// speed drifts disturbs less.
#include "imaging/inflate.h"
#include "peer_ratio.h"

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes MakeCorpus() {
    std::mt19937 rng(2010);
    Bytes d;
    d.reserve(12u << 20);
    // Text: words and numbers in lines, about 4 MB.
    static const char* words[] = {"音乐", "盒", "lyrics", "the", "play", "list", "skin", "calendar",
                                  "radio", "chart", "song", "artist", "title", "download", "2010"};
    while (d.size() < (4u << 20)) {
        const int n = 3 + static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) {
            const char* w = words[rng() % 15];
            d.insert(d.end(), w, w + std::strlen(w));
            d.push_back(' ');
        }
        const unsigned number = rng() % 100000;
        for (char c : std::to_string(number)) d.push_back(static_cast<uint8_t>(c));
        d.push_back('\r');
        d.push_back('\n');
    }
    // Binary: records with small integers, a little random noise, about 3 MB.
    while (d.size() < (7u << 20)) {
        const uint32_t id = static_cast<uint32_t>(d.size() / 16);
        const uint8_t rec[16] = {uint8_t(id), uint8_t(id >> 8), uint8_t(id >> 16), 0, uint8_t(rng() % 4), 0, 0, 0,
                                 1, 0, 0, 0, uint8_t(rng()), uint8_t(rng() % 2), 0, 0};
        d.insert(d.end(), rec, rec + 16);
    }
    // Random bytes (stored blocks), 1 MB.
    for (int i = 0; i < (1 << 20); ++i) d.push_back(static_cast<uint8_t>(rng()));
    // Image rows: RGBA gradients with noise and flat areas, about 4 MB.
    const int w = 1024;
    for (int y = 0; d.size() < (12u << 20); ++y) {
        for (int x = 0; x < w; ++x) {
            const bool flat = ((x / 64) + (y / 64)) % 3 == 0;
            d.push_back(flat ? 200 : static_cast<uint8_t>(x / 4 + rng() % 4));
            d.push_back(flat ? 180 : static_cast<uint8_t>(y / 3 + rng() % 4));
            d.push_back(flat ? 40 : static_cast<uint8_t>((x + y) / 8));
            d.push_back(flat ? 255 : static_cast<uint8_t>(128 + (x % 128)));
        }
    }
    return d;
}

struct Corpus {
    Bytes plain;
    Bytes raw;  // raw deflate stream
    Corpus() : Corpus(MakeCorpus()) {}
    explicit Corpus(Bytes data) : plain(std::move(data)) {
        z_stream z{};
        deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        raw.resize(deflateBound(&z, plain.size()));
        z.next_in = plain.data();
        z.avail_in = static_cast<uInt>(plain.size());
        z.next_out = raw.data();
        z.avail_out = static_cast<uInt>(raw.size());
        deflate(&z, Z_FINISH);
        raw.resize(z.total_out);
        deflateEnd(&z);
    }
};

const Corpus& TheCorpus() {
    static const Corpus c;
    return c;
}

// The corpus cut into its four kinds of data, each compressed on its own, to
// see where a difference to a peer comes from.
constexpr size_t kPartEnds[4] = {4u << 20, 7u << 20, 8u << 20, 12u << 20};
const char* const kPartNames[4] = {"text", "records", "random", "image"};

struct CorpusParts {
    Corpus parts[4];
    CorpusParts() {
        const Bytes& all = TheCorpus().plain;
        size_t from = 0;
        for (int i = 0; i < 4; ++i) {
            // The generator overshoots each target a little: cut at the mark.
            const size_t to = std::min(kPartEnds[i], all.size());
            parts[i] = Corpus(Bytes(all.begin() + static_cast<ptrdiff_t>(from), all.begin() + static_cast<ptrdiff_t>(to)));
            from = to;
        }
    }
};

const Corpus& ThePart(int64_t i) {
    static const CorpusParts p;
    return p.parts[i];
}

void BM_ZlibInflate(benchmark::State& state) {
    const Corpus& c = TheCorpus();
    std::unique_ptr<uint8_t[]> out(new uint8_t[c.plain.size() + 64]);
    for (auto _ : state) {
        z_stream z{};
        inflateInit2(&z, -15);
        z.next_in = const_cast<Bytef*>(c.raw.data());
        z.avail_in = static_cast<uInt>(c.raw.size());
        z.next_out = out.get();
        z.avail_out = static_cast<uInt>(c.plain.size() + 64);
        if (inflate(&z, Z_FINISH) != Z_STREAM_END || z.total_out != c.plain.size()) state.SkipWithError("zlib failed");
        inflateEnd(&z);
        benchmark::DoNotOptimize(out.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.plain.size()));
    state.counters["compressed_MB"] = c.raw.size() / 1048576.0;
    state.counters["plain_MB"] = c.plain.size() / 1048576.0;
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

// libdeflate over one corpus, the peer's own buffers and checks.
void RunLibdeflate(benchmark::State& state, const Corpus& c) {
    std::unique_ptr<uint8_t[]> out(new uint8_t[c.plain.size() + 64]);
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        size_t produced = 0;
        if (libdeflate_deflate_decompress(d, c.raw.data(), c.raw.size(), out.get(), c.plain.size() + 64,
                                          &produced) != LIBDEFLATE_SUCCESS ||
            produced != c.plain.size())
            state.SkipWithError("libdeflate failed");
        benchmark::DoNotOptimize(out.get());
    }
    libdeflate_free_decompressor(d);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.plain.size()));
}

void BM_LibdeflateInflate(benchmark::State& state) { RunLibdeflate(state, TheCorpus()); }
BENCHMARK(BM_LibdeflateInflate)->Unit(benchmark::kMillisecond);

// The own inflate over one corpus, into a buffer with the decoder's slack.
void RunOwn(benchmark::State& state, const Corpus& c) {
    std::unique_ptr<uint8_t[]> out(new uint8_t[c.plain.size() + 101 + tavo::imaging::Inflater::kOutputSlack]);
    tavo::imaging::Inflater inf;
    for (auto _ : state) {
        const auto r = inf.DecodeInto(c.raw.data(), c.raw.size(), out.get(), c.plain.size() + 101, false);
        if (r.status != 0 || r.produced != c.plain.size()) state.SkipWithError("own inflate failed");
        benchmark::DoNotOptimize(out.get());
    }
    if (std::memcmp(out.get(), c.plain.data(), c.plain.size()) != 0) state.SkipWithError("output differs");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.plain.size()));
}

void BM_OwnInflate(benchmark::State& state) { RunOwn(state, TheCorpus()); }
BENCHMARK(BM_OwnInflate)->Unit(benchmark::kMillisecond);

// The class-level call as zTXt uses it: allocation and the returned array included.
void BM_OwnInflateArray(benchmark::State& state) {
    const Corpus& c = TheCorpus();
    tavo::imaging::Inflater inf;
    for (auto _ : state) {
        std::vector<uint8_t> data = c.raw;
        int32_t expected = static_cast<int32_t>(c.plain.size());
        int32_t status = 0;
        inf.Inflate(data, expected, false, status);
        if (data.size() != c.plain.size()) state.SkipWithError("own inflate failed");
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.plain.size()));
}
BENCHMARK(BM_OwnInflateArray)->Unit(benchmark::kMillisecond);

void BM_LibdeflatePart(benchmark::State& state) {
    RunLibdeflate(state, ThePart(state.range(0)));
    state.SetLabel(kPartNames[state.range(0)]);
}
BENCHMARK(BM_LibdeflatePart)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_OwnPart(benchmark::State& state) {
    RunOwn(state, ThePart(state.range(0)));
    state.SetLabel(kPartNames[state.range(0)]);
}
BENCHMARK(BM_OwnPart)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// One decode of `c` by each side, for the measure in turns; false when
// either side fails.
bool PairedOverCorpus(const Corpus& c, const std::string& label, int rounds) {
    std::unique_ptr<uint8_t[]> out(new uint8_t[c.plain.size() + 101 + tavo::imaging::Inflater::kOutputSlack]);
    tavo::imaging::Inflater inf;
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    bool ok = true;
    const auto own = [&] {
        const auto r = inf.DecodeInto(c.raw.data(), c.raw.size(), out.get(), c.plain.size() + 101, false);
        ok = ok && r.status == 0 && r.produced == c.plain.size();
        benchmark::DoNotOptimize(out.get());
    };
    const auto peer = [&] {
        size_t produced = 0;
        ok = ok && libdeflate_deflate_decompress(d, c.raw.data(), c.raw.size(), out.get(), c.plain.size() + 64,
                                                 &produced) == LIBDEFLATE_SUCCESS &&
             produced == c.plain.size();
        benchmark::DoNotOptimize(out.get());
    };
    const tavo::bench::PairedResult r = tavo::bench::PairedRatio(own, peer, rounds);
    libdeflate_free_decompressor(d);
    if (ok) tavo::bench::PrintPaired(label, "libdeflate", r, rounds, 1.0);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int rc = tavo::bench::RunWithRatios(
        argc, argv,
        {{"inflate 12 MB mixed corpus vs zlib", "BM_OwnInflate", "BM_ZlibInflate", "zlib", 1.0},
         {"inflate 12 MB mixed corpus vs libdeflate", "BM_OwnInflate", "BM_LibdeflateInflate", "libdeflate", 1.0},
         {"inflate, text part vs libdeflate", "BM_OwnPart/0", "BM_LibdeflatePart/0", "libdeflate", 1.0},
         {"inflate, records part vs libdeflate", "BM_OwnPart/1", "BM_LibdeflatePart/1", "libdeflate", 1.0},
         {"inflate, random part vs libdeflate", "BM_OwnPart/2", "BM_LibdeflatePart/2", "libdeflate", 1.0},
         {"inflate, image part vs libdeflate", "BM_OwnPart/3", "BM_LibdeflatePart/3", "libdeflate", 1.0}});
    if (rc != 0) return rc;
    constexpr int kRounds = 41;
    if (!PairedOverCorpus(TheCorpus(), "inflate 12 MB mixed corpus vs libdeflate", kRounds)) return 1;
    for (int64_t i = 0; i < 4; ++i)
        if (!PairedOverCorpus(ThePart(i), std::string("inflate, ") + kPartNames[i] + " part vs libdeflate", kRounds))
            return 1;
    return 0;
}
