// Every image of the PngSuite, decoded by LoadPNG and painted, against
// libpng's decode of the same file run through the painting rules by hand:
// 16-bit samples by their high byte, grey ramps, palette colours (black
// beyond the palette), tRNS and alpha blended as
// (image * a + background * (255 - a) + 255) / 256.
#include "imaging/load_png.h"
#include "platform/picture_box.h"

#include "support/fake_message_box.h"

#include <gtest/gtest.h>
#include <png.h>

#include <QDir>
#include <QFile>

#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

namespace tavo::imaging {
namespace {

const QString kSuite = QStringLiteral(TAVO_TEST_DATA_DIR "/pngsuite/");

// What libpng reads: samples unpacked to one per byte below 8 bits, 16-bit
// samples kept whole, interlacing undone.
struct Reference {
    int width = 0, height = 0, depth = 0, colorType = 0;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_color> palette;
    std::vector<uint8_t> transAlpha;  // palette tRNS
    std::optional<png_color_16> transColor;
    std::optional<png_color_16> background;
};

struct MemReader {
    const std::vector<uint8_t>* data;
    size_t pos;
};

void ReadFn(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<MemReader*>(png_get_io_ptr(png));
    if (r->pos + n > r->data->size()) png_error(png, "read past end");
    std::memcpy(out, r->data->data() + r->pos, n);
    r->pos += n;
}

bool ReadWithLibpng(const std::vector<uint8_t>& file, Reference& ref) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemReader reader{&file, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);  // CRCs are not checked
    png_set_read_fn(png, &reader, ReadFn);
    png_read_info(png, info);
    ref.width = static_cast<int>(png_get_image_width(png, info));
    ref.height = static_cast<int>(png_get_image_height(png, info));
    ref.depth = png_get_bit_depth(png, info);
    ref.colorType = png_get_color_type(png, info);
    png_colorp pal = nullptr;
    int npal = 0;
    if (png_get_PLTE(png, info, &pal, &npal)) ref.palette.assign(pal, pal + npal);
    png_bytep ta = nullptr;
    int nt = 0;
    png_color_16p tc = nullptr;
    if (png_get_tRNS(png, info, &ta, &nt, &tc)) {
        if (ref.colorType == PNG_COLOR_TYPE_PALETTE) ref.transAlpha.assign(ta, ta + nt);
        else if (tc) ref.transColor = *tc;
    }
    png_color_16p bg = nullptr;
    if (png_get_bKGD(png, info, &bg)) ref.background = *bg;
    if (ref.depth < 8) png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    ref.rows.assign(static_cast<size_t>(ref.height), std::vector<uint8_t>(rowBytes));
    std::vector<png_bytep> ptrs;
    for (auto& r : ref.rows) ptrs.push_back(r.data());
    png_read_image(png, ptrs.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

int Scale(unsigned sample, int depth) {  // sample * 255 / (2^d - 1), halves to even
    const uint64_t den = (uint64_t{1} << depth) - 1, num = uint64_t{sample} * 255;
    uint64_t q = num / den;
    const uint64_t r2 = (num % den) * 2;
    if (r2 > den || (r2 == den && (q & 1))) ++q;
    return static_cast<int>(q);
}

struct Settings {
    bool alpha, trans;
    std::optional<Argb> backgroundPicture;  // filled with this colour; else none
};

// The picture the rules define for `ref` under `s`.
PixelSurface Expected(const Reference& ref, const Settings& s) {
    PixelSurface img(ref.width, ref.height, kOpaqueBlack);
    const int d = ref.depth, ct = ref.colorType;
    Argb back = Rgb(0, 0, 0);
    if (s.backgroundPicture) {
        back = *s.backgroundPicture;
    } else if (ref.background) {
        const png_color_16& b = *ref.background;
        if (ct == 3) {
            if (b.index < ref.palette.size()) back = Rgb(ref.palette[b.index].red, ref.palette[b.index].green, ref.palette[b.index].blue);
        } else if (ct == 0 || ct == 4) {
            const int steps[] = {0, 255, 85, 0, 17, 0, 0, 0, 1};
            const int v = d == 16 ? Scale(b.gray, 16) : b.gray * steps[d];
            back = Rgb(v, v, v);
        } else {
            back = Rgb(Scale(b.red, d), Scale(b.green, d), Scale(b.blue, d));
        }
    }
    const int bytes = d == 16 ? 2 : 1;
    for (int y = 0; y < ref.height; ++y) {
        const uint8_t* row = ref.rows[static_cast<size_t>(y)].data();
        for (int x = 0; x < ref.width; ++x) {
            int r = 0, g = 0, b = 0, a = 255;
            bool blend = false;
            auto at = [&](int channel, int channels) { return row[(x * channels + channel) * bytes]; };  // high byte
            switch (ct) {
                case 0: {
                    const int v = at(0, 1);
                    const int steps[] = {0, 255, 85, 0, 17, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1};
                    r = g = b = v * steps[d];
                    if (s.trans && ref.transColor) {
                        blend = true;
                        const int key = d == 16 ? ref.transColor->gray >> 8 : ref.transColor->gray & 0xFF;
                        a = v == key ? 0 : 255;
                    }
                    break;
                }
                case 2:
                    r = at(0, 3), g = at(1, 3), b = at(2, 3);
                    if (s.trans && ref.transColor) {
                        blend = true;
                        const auto k = [&](png_uint_16 v) { return d == 16 ? v >> 8 : v & 0xFF; };
                        a = (r == k(ref.transColor->red) && g == k(ref.transColor->green) && b == k(ref.transColor->blue)) ? 0 : 255;
                    }
                    break;
                case 3: {
                    const size_t i = row[x];
                    if (i < ref.palette.size()) r = ref.palette[i].red, g = ref.palette[i].green, b = ref.palette[i].blue;
                    if (s.trans && !ref.transAlpha.empty()) {
                        blend = true;
                        a = i < ref.transAlpha.size() ? ref.transAlpha[i] : 255;
                    }
                    break;
                }
                case 4:
                    r = g = b = at(0, 2);
                    a = at(1, 2);
                    blend = s.alpha;
                    break;
                case 6:
                    r = at(0, 4), g = at(1, 4), b = at(2, 4);
                    a = at(3, 4);
                    blend = s.alpha;
                    break;
            }
            if (blend && a != 255) {
                if (a == 0) {
                    r = Red(back), g = Green(back), b = Blue(back);
                } else {
                    r = (r * a + Red(back) * (255 - a) + 255) / 256;
                    g = (g * a + Green(back) * (255 - a) + 255) / 256;
                    b = (b * a + Blue(back) * (255 - a) + 255) / 256;
                }
            }
            img.SetPixel(x, y, Rgb(r, g, b));
        }
    }
    return img;
}

std::vector<uint8_t> ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return std::vector<uint8_t>(b.begin(), b.end());
}

// Decodes `path` as the skin painter would, into a fresh picture box.
PixelSurface Painted(const QString& path, const Settings& s, LoadPNG& png) {
    platform::PictureBox box;
    platform::PictureBox background(100, 100);
    if (s.backgroundPicture) {
        background.SetBackColor(*s.backgroundPicture);
        background.Cls();
    }
    png.PicBox(&box);
    png.SetToBkgrnd(false, 0, 0);
    png.BackgroundPicture(s.backgroundPicture ? &background : nullptr);
    png.SetAlpha(s.alpha);
    png.SetTrans(s.trans);
    png.OpenPNG(path);
    return box.Picture();
}

QStringList SuiteFiles(bool corrupt) {
    QStringList out;
    for (const QString& f : QDir(kSuite).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        if (f.startsWith(QLatin1Char('x')) == corrupt) out << f;
    return out;
}

TEST(PngSuite, EveryImageMatchesLibpngUnderThePaintingRules) {
    const Settings settings[] = {
        {true, true, Rgb(40, 90, 200)},  // as the skin painter: over a background picture
        {true, true, std::nullopt},       // no background picture: bKGD colour or black
        {false, false, std::nullopt},     // switches off: alpha not used, tRNS ignored
    };
    const QStringList files = SuiteFiles(false);
    ASSERT_GE(files.size(), 150);
    for (const QString& name : files) {
        Reference ref;
        ASSERT_TRUE(ReadWithLibpng(ReadFile(kSuite + name), ref)) << name.toStdString();
        for (size_t k = 0; k < std::size(settings); ++k) {
            test::ScopedFakeMessageBox box;
            LoadPNG png;
            const PixelSurface got = Painted(kSuite + name, settings[k], png);
            SCOPED_TRACE(name.toStdString() + " settings " + std::to_string(k));
            EXPECT_EQ(png.ErrorNumber(), 0);
            EXPECT_TRUE(box.shown().empty());
            ASSERT_EQ(got.Size(), QSize(ref.width, ref.height));
            const PixelSurface want = Expected(ref, settings[k]);
            int mismatches = 0;
            for (int y = 0; y < ref.height; ++y) {
                for (int x = 0; x < ref.width; ++x) {
                    if ((got.Pixel(x, y) & 0xFFFFFF) != (want.Pixel(x, y) & 0xFFFFFF) && mismatches++ < 3) {
                        ADD_FAILURE() << "pixel " << x << "," << y << " got " << std::hex << got.Pixel(x, y)
                                      << " want " << want.Pixel(x, y);
                    }
                }
            }
            EXPECT_EQ(mismatches, 0);
        }
    }
}

TEST(PngSuite, CorruptImagesFailCleanly) {
    struct Case {
        const char* file;
        int32_t error;
        bool painted;
    };
    const Case cases[] = {
        {"xc1n0g08.png", 0, false},  // colour type 1: unsupported, nothing painted
        {"xc9n2c08.png", 0, false},  // colour type 9
        {"xcrn0g04.png", 1, false},  // signature with CR LF mangled
        {"xcsn0g01.png", 0, true},   // bad IDAT CRC: CRCs are not checked
        {"xd0n2c08.png", 0, false},  // bit depth 0
        {"xd3n2c08.png", 0, false},  // bit depth 3
        {"xd9n2c08.png", 0, false},  // bit depth 99
        {"xdtn0g01.png", 4, false},  // no IDAT
        {"xhdn0g08.png", 0, true},   // bad IHDR CRC
        {"xlfn0g04.png", 1, false},  // LF mangled
        {"xs1n0g01.png", 1, false},  // signature bytes wrong
        {"xs2n0g01.png", 1, false},
        {"xs4n0g01.png", 1, false},
        {"xs7n0g01.png", 1, false},
    };
    EXPECT_EQ(SuiteFiles(true).size(), static_cast<qsizetype>(std::size(cases)));
    for (const Case& c : cases) {
        test::ScopedFakeMessageBox box;
        LoadPNG png;
        const PixelSurface got = Painted(kSuite + c.file, {true, true, std::nullopt}, png);
        EXPECT_EQ(png.ErrorNumber(), c.error) << c.file;
        EXPECT_EQ(!got.IsNull(), c.painted) << c.file;
        EXPECT_TRUE(box.shown().empty()) << c.file;
    }
}

TEST(PngSuite, AncillaryChunksAreReported) {
    LoadPNG png;
    platform::PictureBox box;
    png.PicBox(&box);
    // The text, time and gamma chunks' values are checked on built files
    // (LoadPngChunks); here the suite's real zTXt stream.
    png.OpenPNG(kSuite + QStringLiteral("ctzn0g04.png"));
    EXPECT_EQ(png.zText().count(QChar(0)), 8);  // keyword and text of four chunks
    EXPECT_TRUE(png.zText().contains(QStringLiteral("Copyright")));
    png.OpenPNG(kSuite + QStringLiteral("tbrn2c08.png"));
    EXPECT_TRUE(png.HaveTransparence());
    EXPECT_TRUE(png.HasBKGDChunk());
    EXPECT_EQ(png.BkgdColor(), 255);  // red
    png.OpenPNG(kSuite + QStringLiteral("basn6a08.png"));
    EXPECT_TRUE(png.HaveAlpha());
    EXPECT_FALSE(png.HaveTransparence());
    EXPECT_FALSE(png.HasBKGDChunk());
    EXPECT_EQ(png.Width(), 32);
    EXPECT_EQ(png.Bitdepht(), 8);
    EXPECT_EQ(png.ColorType(), 6);
    EXPECT_EQ(png.ErrorNumber(), 0);
}

}  // namespace
}  // namespace tavo::imaging
