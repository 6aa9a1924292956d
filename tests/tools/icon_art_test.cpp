// The program's icon is made by tavo-icon-art: the committed files must be
// what the generator writes today.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>

namespace tavo {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(IconArt, CommittedIconIsTheGeneratorsOutput) {
    test::TempDir dir;
    const QString out = QString::fromStdString(dir.path().string());
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-icon-art"), {out});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const QString committed = QStringLiteral(TAVO_SOURCE_DIR "/data/icons/");
    const QByteArray svg = ReadAll(out + QStringLiteral("/tavo-musicbox.svg"));
    ASSERT_FALSE(svg.isEmpty());
    EXPECT_EQ(svg, ReadAll(committed + QStringLiteral("tavo-musicbox.svg")))
        << "regenerate with: build/bin/tavo-icon-art data/icons";

    // Each size: the right dimensions, see-through corners, an opaque tile.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("tavo-musicbox-%1.png").arg(size);
        const QImage image(committed + name);
        ASSERT_EQ(image.size(), QSize(size, size)) << name.toStdString();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name.toStdString();
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size - size / 8)), 255) << name.toStdString();
    }
}

}  // namespace
}  // namespace tavo
