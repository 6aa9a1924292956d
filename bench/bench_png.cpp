// The decoder's PNG decode against libpng's on the same files: a 1920x1080
// RGBA image and a 33x33 RGBA button face, both written by libpng with its
// default compression and filter choice. Compare rows with the same image
// argument:
//   BM_Libpng        libpng decode to RGBA rows
//   BM_Libspng       libspng decode to RGBA rows
//   BM_Own           OpenPNG with alpha off: decode and paint into a picture box
//   BM_LibpngBlend   libpng decode, then the same blend over a background
//   BM_OwnSkin       OpenPNG as the skin painter calls it (alpha and tRNS on,
//                    blended over the picture box's own content)
#include "imaging/load_png.h"
#include "peer_ratio.h"
#include "platform/picture_box.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <spng.h>

#include <QByteArray>
#include <QImage>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes MakeRgba(int w, int h) {
    std::mt19937 rng(7);
    Bytes px(static_cast<size_t>(w) * h * 4);
    const double cx = w / 2.0, cy = h / 2.0, radius = std::min(w, h) * 0.45;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = px.data() + (static_cast<size_t>(y) * w + x) * 4;
            const double dist = std::hypot(x - cx, y - cy);
            // A soft-edged disc with a gradient, flat panels and a little noise.
            const bool panel = ((x / 97) + (y / 61)) % 4 == 0;
            p[0] = panel ? 30 : static_cast<uint8_t>(x * 255 / w);
            p[1] = panel ? 60 : static_cast<uint8_t>(y * 255 / h);
            p[2] = static_cast<uint8_t>(128 + ((x ^ y) & 31) + (rng() & 3));
            const double edge = radius - dist;
            p[3] = edge > 2 ? 255 : edge < -2 ? 0 : static_cast<uint8_t>((edge + 2) * 63.75);
        }
    }
    return px;
}

Bytes EncodePng(const Bytes& rgba, int w, int h) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep d, png_size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), d, d + n);
        },
        nullptr);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, rgba.data() + static_cast<size_t>(y) * w * 4);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct Image {
    int w, h;
    Bytes file;
};

const Image& TestImage(int which) {
    static const Image big{1920, 1080, EncodePng(MakeRgba(1920, 1080), 1920, 1080)};
    static const Image button{33, 33, EncodePng(MakeRgba(33, 33), 33, 33)};
    return which == 0 ? big : button;
}

struct Reader {
    const Bytes* data;
    size_t pos;
};

// libpng's decode of `file` to RGBA rows in a fresh buffer.
std::unique_ptr<uint8_t[]> LibpngDecode(const Bytes& file, int& w, int& h) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader r{&file, 0};
    png_set_read_fn(png, &r, [](png_structp p, png_bytep out, png_size_t n) {
        auto* rd = static_cast<Reader*>(png_get_io_ptr(p));
        std::memcpy(out, rd->data->data() + rd->pos, n);
        rd->pos += n;
    });
    png_read_info(png, info);
    w = static_cast<int>(png_get_image_width(png, info));
    h = static_cast<int>(png_get_image_height(png, info));
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[static_cast<size_t>(w) * h * 4]);
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) rows[static_cast<size_t>(y)] = pixels.get() + static_cast<size_t>(y) * w * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return pixels;
}

void BM_Libpng(benchmark::State& state) {
    const Image& img = TestImage(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int w, h;
        auto px = LibpngDecode(img.file, w, h);
        benchmark::DoNotOptimize(px.get());
    }
    state.SetLabel(std::to_string(img.w) + "x" + std::to_string(img.h));
}
BENCHMARK(BM_Libpng)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// libspng's decode of `file` to RGBA in a fresh buffer, checksums skipped as
// the own decoder skips them; false on failure.
bool LibspngDecode(const Bytes& file) {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_IGNORE_ADLER32);
    spng_set_crc_action(ctx, SPNG_CRC_USE, SPNG_CRC_USE);
    spng_set_png_buffer(ctx, file.data(), file.size());
    size_t size = 0;
    spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
    std::unique_ptr<uint8_t[]> px(new uint8_t[size]);
    const bool ok = spng_decode_image(ctx, px.get(), size, SPNG_FMT_RGBA8, 0) == 0;
    spng_ctx_free(ctx);
    benchmark::DoNotOptimize(px.get());
    return ok;
}

void BM_Libspng(benchmark::State& state) {
    const Image& img = TestImage(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!LibspngDecode(img.file)) state.SkipWithError("libspng failed");
    }
    state.SetLabel(std::to_string(img.w) + "x" + std::to_string(img.h));
}
BENCHMARK(BM_Libspng)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The own decoder set up as BM_Own times it: alpha and transparency off,
// painting into a picture box of its own.
struct OwnDecoder {
    const Image& img;
    const QByteArray file;
    tavo::imaging::LoadPNG png;
    tavo::platform::PictureBox box;
    explicit OwnDecoder(const Image& image)
        : img(image),
          file(reinterpret_cast<const char*>(image.file.data()), static_cast<qsizetype>(image.file.size())) {
        png.PicBox(&box);
        png.SetAlpha(false);
        png.SetTrans(false);
    }
    void Decode() { png.OpenPNGfromBytes(file); }
    bool Painted() const { return box.Picture().Size() == QSize(img.w, img.h); }
};

void BM_Own(benchmark::State& state) {
    const Image& img = TestImage(static_cast<int>(state.range(0)));
    OwnDecoder own(img);
    for (auto _ : state) {
        own.Decode();
        benchmark::DoNotOptimize(own.box.Picture().Row(0).data());
    }
    if (!own.Painted()) state.SkipWithError("not painted");
    state.SetLabel(std::to_string(img.w) + "x" + std::to_string(img.h));
}
BENCHMARK(BM_Own)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LibpngBlend(benchmark::State& state) {
    const Image& img = TestImage(static_cast<int>(state.range(0)));
    QImage background(img.w, img.h, QImage::Format_RGB32);
    background.fill(qRgb(40, 90, 200));
    for (auto _ : state) {
        int w, h;
        auto px = LibpngDecode(img.file, w, h);
        QImage out(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            const uint8_t* s = px.get() + static_cast<size_t>(y) * w * 4;
            const QRgb* bg = reinterpret_cast<const QRgb*>(background.constScanLine(y));
            QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x, s += 4) {
                const unsigned a = s[3];
                if (a == 255) d[x] = qRgb(s[0], s[1], s[2]);
                else if (a == 0) d[x] = bg[x];
                else
                    d[x] = qRgb((s[0] * a + qRed(bg[x]) * (255 - a) + 255) >> 8, (s[1] * a + qGreen(bg[x]) * (255 - a) + 255) >> 8,
                                (s[2] * a + qBlue(bg[x]) * (255 - a) + 255) >> 8);
            }
        }
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetLabel(std::to_string(img.w) + "x" + std::to_string(img.h));
}
BENCHMARK(BM_LibpngBlend)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OwnSkin(benchmark::State& state) {
    const Image& img = TestImage(static_cast<int>(state.range(0)));
    const QByteArray file(reinterpret_cast<const char*>(img.file.data()), static_cast<qsizetype>(img.file.size()));
    tavo::imaging::LoadPNG png;
    tavo::platform::PictureBox box(img.w, img.h);
    png.PicBox(&box);
    png.SetToBkgrnd(false, 0, 0);
    png.BackgroundPicture(&box);
    png.SetAlpha(true);
    png.SetTrans(true);
    for (auto _ : state) {
        state.PauseTiming();
        box.SetBackColor(tavo::imaging::Rgb(40, 90, 200));
        box.SetPicture({});
        box.Cls();
        state.ResumeTiming();
        png.OpenPNGfromBytes(file);
        benchmark::DoNotOptimize(box.Picture().Row(0).data());
    }
    state.SetLabel(std::to_string(img.w) + "x" + std::to_string(img.h));
}
BENCHMARK(BM_OwnSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The own decode (as BM_Own) against a peer's, taken in turns; each turn
// decodes `perTurn` times, so that a turn of the small image lasts long
// enough to time.
void PairedOverImage(int which, const char* label, const char* peerName, bool spng, int perTurn, double goal) {
    const Image& img = TestImage(which);
    OwnDecoder decoder(img);
    bool ok = true;
    const auto own = [&] {
        for (int i = 0; i < perTurn; ++i) decoder.Decode();
        ok = ok && decoder.Painted();
    };
    const auto peer = [&] {
        for (int i = 0; i < perTurn; ++i) {
            if (spng) {
                ok = LibspngDecode(img.file) && ok;
            } else {
                int w = 0, h = 0;
                benchmark::DoNotOptimize(LibpngDecode(img.file, w, h).get());
            }
        }
    };
    constexpr int kRounds = 41;
    tavo::bench::PairedResult r = tavo::bench::PairedRatio(own, peer, kRounds);
    r.ownSeconds /= perTurn;  // shown per decode
    r.peerSeconds /= perTurn;
    if (ok) tavo::bench::PrintPaired(label, peerName, r, kRounds, goal);
}

}  // namespace

int main(int argc, char** argv) {
    const int rc = tavo::bench::RunWithRatios(
        argc, argv,
        {{"PNG decode 1920x1080 RGBA vs libpng", "BM_Own/0", "BM_Libpng/0", "libpng", 1.0},
         {"PNG decode 1920x1080 RGBA vs libspng", "BM_Own/0", "BM_Libspng/0", "libspng", 1.0},
         {"PNG decode 33x33 RGBA vs libpng", "BM_Own/1", "BM_Libpng/1", "libpng", 0.5},
         {"PNG decode 33x33 RGBA vs libspng", "BM_Own/1", "BM_Libspng/1", "libspng", 1.0},
         {"PNG skin face 1920x1080 vs libpng + blend", "BM_OwnSkin/0", "BM_LibpngBlend/0", "libpng+blend", 1.0},
         {"PNG skin face 33x33 vs libpng + blend", "BM_OwnSkin/1", "BM_LibpngBlend/1", "libpng+blend", 0.5}});
    if (rc != 0) return rc;
    // The two decoders in turns, which a machine whose speed drifts disturbs less.
    PairedOverImage(0, "PNG decode 1920x1080 RGBA vs libspng", "libspng", true, 1, 1.0);
    PairedOverImage(1, "PNG decode 33x33 RGBA vs libpng", "libpng", false, 200, 0.5);
    return 0;
}
