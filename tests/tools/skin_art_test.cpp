// The shipped skins are made by tavo-skin-art: the committed files must be
// what the generator draws today, with real alpha in the button faces and
// "@2x" pictures twice the size.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

namespace tavo {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SkinArt, CommittedSkinsAreTheGeneratorsOutput) {
    test::TempDir dir;
    const QString out = QString::fromStdString(dir.path().string());
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-skin-art"), {out});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const QString committed = QStringLiteral(TAVO_SOURCE_DIR "/data/skin/");
    const QStringList skins = QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(skins.size(), 3);
    for (const QString& skin : skins) {
        SCOPED_TRACE(skin.toStdString());
        const QString made = out + u'/' + skin + u'/', kept = committed + skin + u'/';
        EXPECT_EQ(ReadAll(made + "skin.ini"), ReadAll(kept + "skin.ini"));
        for (const QString& file : QDir(made).entryList({"*.png"}, QDir::Files)) {
            const QImage a(made + file), b(kept + file);
            EXPECT_EQ(a.convertToFormat(QImage::Format_ARGB32), b.convertToFormat(QImage::Format_ARGB32))
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
