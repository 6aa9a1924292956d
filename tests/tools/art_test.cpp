// The program's icon and the shipped skins are made by tavo-icon-art and
// tavo-skin-art: the committed files must be what the generators draw today.
#include "support/image_compare.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

namespace tavo {
namespace {

using test::TempDir;

TEST(IconArt, CommittedIconIsTheGeneratorsOutput) {
    TempDir dir;
    const test::ToolRun r = test::RunProgram(QStringLiteral("tavo-icon-art"), {QString::fromStdString(dir.path().string())});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    const std::string svg = TempDir::Read(dir / "tavo-musicbox.svg");
    ASSERT_FALSE(svg.empty());
    EXPECT_EQ(svg, TempDir::Read(TAVO_SOURCE_DIR "/data/icons/tavo-musicbox.svg"))
        << "regenerate with: build/bin/tavo-icon-art data/icons";

    // Each size: the right dimensions, see-through corners, an opaque tile.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("tavo-musicbox-%1.png").arg(size);
        const QImage image(QStringLiteral(TAVO_SOURCE_DIR "/data/icons/") + name);
        ASSERT_EQ(image.size(), QSize(size, size)) << name.toStdString();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name.toStdString();
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size - size / 8)), 255) << name.toStdString();
    }
}

// Real alpha in the button faces, "@2x" pictures twice the size.
TEST(SkinArt, CommittedSkinsAreTheGeneratorsOutput) {
    TempDir dir;
    const QString out = QString::fromStdString(dir.path().string());
    const test::ToolRun r = test::RunProgram(QStringLiteral("tavo-skin-art"), {out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    const QString committed = QStringLiteral(TAVO_SOURCE_DIR "/data/skin/");
    const QStringList skins = QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(skins.size(), 3);
    for (const QString& skin : skins) {
        SCOPED_TRACE(skin.toStdString());
        const QString made = out + u'/' + skin + u'/', kept = committed + skin + u'/';
        EXPECT_EQ(TempDir::Read((made + "skin.ini").toStdString()), TempDir::Read((kept + "skin.ini").toStdString()));
        for (const QString& file : QDir(made).entryList({"*.png"}, QDir::Files)) {
            // Drawn with floating point: alike within rounding, not to the bit.
            EXPECT_TRUE(test::ImagesAlike(QImage(made + file), QImage(kept + file)))
                << file.toStdString() << ": regenerate with build/bin/tavo-skin-art data/skin";
        }
        for (const char* face : {"A", "B", "C"}) {
            const QImage one(kept + face + ".png"), two(kept + face + "@2x.png");
            ASSERT_EQ(one.size(), QSize(33, 33)) << face;
            EXPECT_EQ(two.size(), QSize(66, 66)) << face;
            EXPECT_EQ(qAlpha(one.pixel(0, 0)), 0) << face;
            EXPECT_EQ(qAlpha(one.pixel(16, 16)), 255) << face;
        }
    }
}

}  // namespace
}  // namespace tavo
