// LoadPNG's container rules, size limits and painting rules on built files.
#include "imaging/load_png.h"
#include "platform/picture_box.h"

#include "png_builder.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace tavo::imaging {
namespace {

using test::Bytes;
using test::PngBuilder;

// A 4x2 8-bit grey image, filter None.
Bytes GreyRows() { return {0, 10, 20, 30, 40, 0, 50, 60, 70, 80}; }

PngBuilder GreyImage() {
    PngBuilder b;
    b.Ihdr(4, 2, 8, 0).Idat(GreyRows());
    return b;
}

struct Decoded {
    int32_t error;
    PixelSurface picture;
    std::vector<test::ShownMessage> messages;
};

// Decodes with the skin painter's switches; optionally over a background
// picture of one colour.
Decoded Decode(LoadPNG& png, const QByteArray& file, platform::PictureBox* background = nullptr,
               bool alpha = true, bool trans = true) {
    test::ScopedFakeMessageBox box;
    platform::PictureBox pic;
    png.PicBox(&pic);
    png.SetToBkgrnd(false, 0, 0);
    png.BackgroundPicture(background);
    png.SetAlpha(alpha);
    png.SetTrans(trans);
    EXPECT_EQ(png.OpenPNGfromBytes(file), 0);  // always 0
    return {png.ErrorNumber(), pic.Picture(), box.shown()};
}

Decoded Decode(const QByteArray& file) {
    LoadPNG png;
    return Decode(png, file);
}

TEST(LoadPngContainer, ErrorNumbers) {
    struct Case {
        const char* name;
        QByteArray file;
        int32_t error;
    };
    QByteArray badSignature = GreyImage().Iend().Data();
    badSignature[7] = 11;
    QByteArray cut = GreyImage().Iend().Data();
    cut.chop(20);
    PngBuilder noIdat;
    noIdat.Ihdr(4, 2, 8, 0).Iend();
    PngBuilder noIend = GreyImage();
    PngBuilder hugeLength = GreyImage();
    test::PutBe32(hugeLength.bytes, 0x80000000u);
    hugeLength.bytes.insert(hugeLength.bytes.end(), {'t', 'E', 'X', 't', 0, 0, 0, 0});
    PngBuilder wide, zeroWidth, negative;
    wide.Ihdr(9000, 8000, 8, 6).Idat(Bytes(10, 0)).Iend();
    zeroWidth.Ihdr(0, 5, 8, 0).Idat(Bytes(10, 0)).Iend();
    negative.Ihdr(0x80000001u, 1, 8, 0).Idat(Bytes(10, 0)).Iend();
    const Case cases[] = {
        {"eighth signature byte not 10", badSignature, 1},
        {"too short for a signature", QByteArray("\x89PNG"), 1},
        {"cut short inside a chunk", cut, 3},
        {"no IEND", noIend.Data(), 3},
        {"chunk length 2^31", hugeLength.Data(), 3},
        {"only IHDR and IEND", noIdat.Data(), 4},
        {"72 megapixels", wide.Data(), LoadPNG::kErrorTooLarge},
        {"width 0", zeroWidth.Data(), LoadPNG::kErrorTooLarge},
        {"width 2^31 + 1 (negative)", negative.Data(), LoadPNG::kErrorTooLarge},
    };
    for (const Case& c : cases) {
        const Decoded d = Decode(c.file);
        EXPECT_EQ(d.error, c.error) << c.name;
        EXPECT_TRUE(d.picture.IsNull()) << c.name;
    }
}

TEST(LoadPngContainer, MissingFileOrResourceIsNotAPngAndNothingIsCreated) {
    test::TempDir dir;
    const QString path = QString::fromStdString((dir.path() / "none.png").string());
    LoadPNG png;
    EXPECT_EQ(png.OpenPNG(path), 0);
    EXPECT_EQ(png.ErrorNumber(), 1);
    EXPECT_FALSE(QFile::exists(path));
    LoadPNG res;
    EXPECT_EQ(res.OpenPNGfromRes(QStringLiteral("none"), QStringLiteral("PNG")), 0);
    EXPECT_EQ(res.ErrorNumber(), 1);
}

TEST(LoadPngContainer, PixelLimitIsConfigurable) {
    LoadPNG png;
    png.SetMaxPixels(7);
    EXPECT_EQ(Decode(png, GreyImage().Iend().Data()).error, LoadPNG::kErrorTooLarge);
    LoadPNG png8;
    png8.SetMaxPixels(8);
    const Decoded d = Decode(png8, GreyImage().Iend().Data());
    EXPECT_EQ(d.error, 0);
    EXPECT_EQ(d.picture.Size(), QSize(4, 2));
}

TEST(LoadPngContainer, SplitIdatAndBadCrcsDecodeTheSame) {
    const PixelSurface one = Decode(GreyImage().Iend().Data()).picture;
    PngBuilder split;
    split.Ihdr(4, 2, 8, 0).Idat(GreyRows(), 3).Iend();
    PngBuilder badCrc;
    badCrc.Chunk("IHDR", Bytes{0, 0, 0, 4, 0, 0, 0, 2, 8, 0, 0, 0, 0}, true).Idat(GreyRows()).Iend();
    ASSERT_FALSE(one.IsNull());
    EXPECT_EQ(Red(one.Pixel(1, 0)), 20);
    EXPECT_EQ(Red(one.Pixel(3, 1)), 80);
    EXPECT_EQ(Decode(split.Data()).picture, one);
    EXPECT_EQ(Decode(badCrc.Data()).picture, one);
}

TEST(LoadPngContainer, SuccessLeavesAnEarlierErrorNumber) {
    LoadPNG png;
    EXPECT_EQ(Decode(png, QByteArray("nope")).error, 1);
    const Decoded d = Decode(png, GreyImage().Iend().Data());
    EXPECT_EQ(d.error, 1);
    EXPECT_FALSE(d.picture.IsNull());
}

TEST(LoadPngChunks, AncillaryValues) {
    LoadPNG png;
    PngBuilder a = GreyImage();
    a.Chunk("tEXt", Bytes{'A', 0, 'o', 'n', 'e'})
        .Chunk("tIME", Bytes{0x07, 0xD9, 3, 7, 14, 5, 9})
        .Chunk("gAMA", Bytes{0, 0, 0xB1, 0x8F})
        .Iend();
    Decode(png, a.Data());
    EXPECT_EQ(png.ModiTime(), QStringLiteral("07.03.2009 14:05:09"));
    EXPECT_DOUBLE_EQ(png.gama(), 0.45455);
    PngBuilder b = GreyImage();
    b.Chunk("tEXt", Bytes{'B', 0, 0xD2, 0xF4}).Iend();  // code page 936 text
    Decode(png, b.Data());
    EXPECT_EQ(png.Text(), QStringLiteral("A") + QChar(0) + QStringLiteral("one") + QChar(0) + QStringLiteral("B") +
                              QChar(0) + QStringLiteral("音") + QChar(0));
    EXPECT_EQ(png.ModiTime(), QStringLiteral("07.03.2009 14:05:09"));  // kept from the last image that had one
}

TEST(LoadPngChunks, BackgroundColours) {
    struct Case {
        const char* name;
        uint8_t depth, colorType;
        Bytes palette, bkgd;
        int32_t colour;
    };
    const Case cases[] = {
        {"16-bit colour", 16, 2, {}, {0xFF, 0xFF, 0, 0, 0x80, 0}, 255 + 128 * 65536},
        {"8-bit colour", 8, 6, {}, {0, 1, 0, 2, 0, 3}, 1 + 2 * 256 + 3 * 65536},
        {"8-bit colour out of range", 8, 2, {}, {1, 0, 0, 0, 0, 0}, 0},
        {"colour, wrong size", 8, 2, {}, {0, 1}, 0},
        {"2-bit grey level 2", 2, 0, {}, {0, 2}, 170 * 0x010101},
        {"2-bit grey level 4: out of range", 2, 0, {}, {0, 4}, 0},
        {"16-bit grey scaled to 8 bits", 16, 4, {}, {0xAB, 0x84}, 171 * 0x010101},
        {"palette index", 8, 3, {1, 2, 3, 4, 5, 6}, {1}, 4 + 5 * 256 + 6 * 65536},
        {"palette index beyond the palette", 8, 3, {1, 2, 3}, {1}, 0},
    };
    for (const Case& c : cases) {
        PngBuilder b;
        b.Ihdr(1, 1, c.depth, c.colorType);
        if (!c.palette.empty()) b.Chunk("PLTE", c.palette);
        b.Chunk("bKGD", c.bkgd).Idat(Bytes(10, 0)).Iend();
        LoadPNG png;
        Decode(png, b.Data());
        EXPECT_TRUE(png.HasBKGDChunk()) << c.name;
        EXPECT_EQ(png.BkgdColor(), c.colour) << c.name;
    }
}

TEST(LoadPngChunks, ZTextKeywordAndText) {
    const Bytes words = {'s', 'k', 'i', 'n', ' ', 's', 'k', 'i', 'n'};
    Bytes chunk = {'K', 'e', 'y', 0, 0};
    const Bytes z = PngBuilder::Zlib(words);
    chunk.insert(chunk.end(), z.begin(), z.end());
    // A broken stream: dynamic block whose code-length code is incomplete.
    const Bytes broken = {'B', 'a', 'd', 0, 0, 0x78, 0x9C, 0x05, 0x00, 0x00, 0x08, 0, 0, 0, 0};
    PngBuilder b = GreyImage();
    b.Chunk("zTXt", chunk).Chunk("zTXt", broken).Iend();
    LoadPNG png;
    const Decoded d = Decode(png, b.Data());
    EXPECT_EQ(png.zText(), QStringLiteral("Key") + QChar(0) + QStringLiteral("skin skin") + QChar(0) +
                               QStringLiteral("Bad") + QChar(0) + QChar(0));
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(d.messages[0].text, QStringLiteral("Error in tree creation (Static)"));
    EXPECT_FALSE(d.picture.IsNull());
}

TEST(LoadPngDecode, ShortImageDataReadsAsZeros) {
    PngBuilder b;
    b.Ihdr(4, 3, 8, 0).Idat(Bytes{0, 10, 20, 30, 40, 2, 1, 1}).Iend();  // row 2 partly, row 3 missing
    const PixelSurface p = Decode(b.Data()).picture;
    ASSERT_EQ(p.Size(), QSize(4, 3));
    EXPECT_EQ(Red(p.Pixel(1, 1)), 21);  // Up filter over the first row
    EXPECT_EQ(Red(p.Pixel(2, 1)), 30);  // missing byte 0 + up
    EXPECT_EQ(Red(p.Pixel(3, 2)), 0);
}

TEST(LoadPngDecode, FailedDecompressionPaintsNothing) {
    PngBuilder b;
    b.Ihdr(4, 2, 8, 0).Chunk("IDAT", Bytes{0x78, 0x9C, 0x05, 0x00, 0x00, 0x08, 0, 0, 0, 0}).Iend();
    test::ScopedFakeMessageBox box;
    LoadPNG png;
    platform::PictureBox pic(3, 3);
    pic.SetBackColor(Rgb(1, 2, 3));
    pic.Cls();
    png.PicBox(&pic);
    png.OpenPNGfromBytes(b.Data());
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].text, QStringLiteral("Error in tree creation (Static)"));
    EXPECT_EQ(pic.InnerWidthPx(), 3);
    EXPECT_EQ(pic.Pixel(1, 1), Rgb(1, 2, 3));
    EXPECT_TRUE(pic.Picture().IsNull());
}

TEST(LoadPngDecode, UnsupportedFormatsPaintNothingAndReportNothing) {
    struct Case {
        const char* name;
        uint8_t depth, colorType, interlace, compression;
    };
    const Case cases[] = {{"colour type 5", 8, 5, 0, 0},  {"4-bit colour", 4, 2, 0, 0},
                          {"16-bit palette", 16, 3, 0, 0}, {"compression 1", 8, 0, 0, 1},
                          {"interlace 2", 8, 0, 2, 0}};
    for (const Case& c : cases) {
        PngBuilder b;
        b.Ihdr(2, 2, c.depth, c.colorType, c.interlace, c.compression).Idat(Bytes(40, 0)).Iend();
        const Decoded d = Decode(b.Data());
        EXPECT_EQ(d.error, 0) << c.name;
        EXPECT_TRUE(d.picture.IsNull()) << c.name;
    }
}

// Black or the bKGD colour without a background picture: the PngSuite.
TEST(LoadPngDecode, OwnColourWinsOverTheBkgdChunk) {
    PngBuilder withBkgd;
    withBkgd.Ihdr(1, 1, 8, 6).Chunk("bKGD", Bytes{0, 9, 0, 8, 0, 7}).Idat(Bytes{0, 1, 2, 3, 0}).Iend();
    LoadPNG png;
    png.SetOwnBkgndColor(true, 0x00300201);
    EXPECT_EQ(Decode(png, withBkgd.Data()).picture.Pixel(0, 0), Rgb(1, 2, 0x30));
}

TEST(LoadPngDecode, BackgroundPictureIsReadAtTheOffsetAndEnlarged) {
    platform::PictureBox bg(2, 2);
    bg.SetBackColor(Rgb(0, 0, 200));
    bg.Cls();
    bg.Image().SetPixel(1, 1, Rgb(50, 60, 70));
    PngBuilder b;
    b.Ihdr(3, 3, 8, 4).Idat(Bytes(12, 0)).Iend();  // grey 0, alpha 0 everywhere
    LoadPNG png;
    platform::PictureBox pic;
    png.PicBox(&pic);
    png.BackgroundPicture(&bg);
    png.SetAlpha(true);
    png.SetToBkgrnd(false, 1, 1);
    png.OpenPNGfromBytes(b.Data());
    // Enlarged to W x twips + 100, the new area in its back colour.
    EXPECT_EQ(bg.Width(), 3 * 15 + 90);
    // The box is sized to the image and the image painted at (1, 1): its
    // first pixel, taken from the background at (1, 1), lands there.
    const PixelSurface p = pic.Picture();
    ASSERT_EQ(p.Size(), QSize(3, 3));
    EXPECT_EQ(p.Pixel(1, 1), Rgb(50, 60, 70));
    EXPECT_EQ(p.Pixel(2, 2), Rgb(0, 0, 200));
}

// tRNS of every colour type, and the switch, are compared with libpng on the
// PngSuite; here what only a reused decoder shows.
TEST(LoadPngDecode, APaletteTrnsDoesNotCutTheNextImagesPalette) {
    LoadPNG png;
    platform::PictureBox bg(4, 4);
    bg.SetBackColor(Rgb(1, 2, 3));
    bg.Cls();
    // Palette: entry alpha from tRNS, 255 beyond it.
    PngBuilder pal;
    pal.Ihdr(3, 1, 8, 3).Chunk("PLTE", Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255}).Chunk("tRNS", Bytes{0}).Idat(Bytes{0, 0, 1, 2}).Iend();
    const PixelSurface p = Decode(png, pal.Data(), &bg).picture;
    EXPECT_EQ(p.Pixel(0, 0), Rgb(1, 2, 3));
    EXPECT_EQ(p.Pixel(2, 0), Rgb(0, 0, 255));
    // The palette entry count set for the tRNS image does not cut the next
    // image's colour table short.
    PngBuilder pal5;
    Bytes plte(30, 0);
    plte[15] = 90;  // entry 5 red 90
    pal5.Ihdr(1, 1, 8, 3).Chunk("PLTE", plte).Idat(Bytes{0, 5}).Iend();
    EXPECT_EQ(Decode(png, pal5.Data(), &bg).picture.Pixel(0, 0), Rgb(90, 0, 0));
    // Its kept buffers given back, the decoder decodes as before.
    const PixelSurface before = Decode(png, pal.Data(), &bg).picture;
    png.ReleaseBuffers();
    const PixelSurface after = Decode(png, pal.Data(), &bg).picture;
    ASSERT_EQ(after.Size(), before.Size());
    for (int x = 0; x < 3; ++x) EXPECT_EQ(after.Pixel(x, 0), before.Pixel(x, 0)) << x;
}

TEST(LoadPngDecode, LowBitDepths) {
    // Grey ramps and interlaced low depths in general are checked against
    // libpng on the PngSuite. A tall narrow interlaced image needs more bytes than H x (row + 1) + H.
    std::vector<Bytes> tall;
    for (int y = 0; y < 400; ++y) tall.push_back(Bytes{static_cast<uint8_t>((y * 37) & 0xE0)});
    EXPECT_EQ(Decode(test::AsQByteArray(test::EncodeWithLibpng(3, 400, 1, 0, tall, true))).picture,
              Decode(test::AsQByteArray(test::EncodeWithLibpng(3, 400, 1, 0, tall, false))).picture);
    // 1-bit palette with a one-entry palette shows that entry.
    const PixelSurface one = Decode(test::AsQByteArray(test::EncodeWithLibpng(2, 1, 1, 3, {Bytes{0}}, false, Bytes{9, 99, 199}))).picture;
    EXPECT_EQ(one.Pixel(1, 0), Rgb(9, 99, 199));
}

TEST(LoadPngDecode, UnknownFilterTypeLeavesTheRow) {
    PngBuilder b;
    b.Ihdr(2, 2, 8, 0).Idat(Bytes{0, 5, 6, 7, 1, 2}).Iend();
    const PixelSurface p = Decode(b.Data()).picture;
    EXPECT_EQ(p.Pixel(0, 1), Rgb(1, 1, 1));
    EXPECT_EQ(p.Pixel(1, 1), Rgb(2, 2, 2));
}

TEST(LoadPngDecode, FiltersMatchLibpng) {
    // Every filter type on every filter width: libpng writes (choosing its
    // filters per row), both decoders read.
    for (int ct : {0, 2, 4, 6}) {
        for (int depth : {8, 16}) {
            const int channels = ct == 0 ? 1 : ct == 2 ? 3 : ct == 4 ? 2 : 4;
            const int w = 13, h = 11, bpp = channels * depth / 8;
            std::vector<Bytes> rows;
            for (int y = 0; y < h; ++y) {
                Bytes r(static_cast<size_t>(w * bpp));
                for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>((i * 7 + static_cast<size_t>(y) * 13 + (i * y) % 5) & 0xFF);
                rows.push_back(r);
            }
            const PixelSurface p = Decode(test::AsQByteArray(test::EncodeWithLibpng(w, h, depth, ct, rows, false))).picture;
            ASSERT_EQ(p.Size(), QSize(w, h)) << ct << " " << depth;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const uint8_t* s = rows[static_cast<size_t>(y)].data() + x * bpp;
                    const int step = depth / 8;
                    const int cr = s[0], cg = ct >= 2 && ct != 4 ? s[step] : s[0], cb = ct >= 2 && ct != 4 ? s[2 * step] : s[0];
                    const int a = ct == 4 ? s[step] : ct == 6 ? s[3 * step] : 255;
                    auto mix = [a](int c) { return a == 255 ? c : a == 0 ? 0 : (c * a + 255) / 256; };
                    ASSERT_EQ(p.Pixel(x, y), Rgb(mix(cr), mix(cg), mix(cb))) << ct << " " << depth << " at " << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tavo::imaging
