// The open-file dialog's buffer and, through the favourites' "添加本地文件",
// the real dialog (Qt's own, offscreen) choosing more files than the old
// 255-character buffer held.
#include "shell/ico_bar_s.h"
#include "shell/open_file_dog.h"

#include "fake_shell_host.h"
#include "support/core/test_media.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <functional>

namespace tavo {
namespace {

const QChar kNul(u'\0');

TEST(SplitSelection, GivesTheFullPathOfEveryChosenFile) {
    const struct {
        QString buffer;
        int last;
        QStringList files;
    } cases[] = {
        {QStringLiteral("/m/a.mp3") + kNul + kNul, 0, {"/m/a.mp3"}},
        {QStringLiteral("C:\\m\\a.mp3") + kNul + QStringLiteral("   "), 0, {"C:\\m\\a.mp3"}},
        {QStringLiteral("/m") + kNul + "a.mp3" + kNul + "b.mp3" + kNul + kNul, 1, {"/m/a.mp3", "/m/b.mp3"}},
        {QStringLiteral("/") + kNul + "a.mp3" + kNul + "b.mp3" + kNul + kNul, 1, {"/a.mp3", "/b.mp3"}},
        {QStringLiteral("C:\\") + kNul + "a.mp3" + kNul + "b.mp3" + kNul + kNul + "  ", 1, {"C:\\a.mp3", "C:\\b.mp3"}},
        {QString(), -1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitSelection(c.buffer), c.last) << c.buffer.toStdString();
        EXPECT_EQ(SelectedFiles(), c.files) << c.buffer.toStdString();
    }
}

TEST(SplitSelection, ReadsBackWhatTheDialogReturns) {
    const QStringList lists[] = {
        {"/home/u/Music/one.mp3"},
        {"/home/u/Music/a.mp3", "/home/u/Music/b c.flac"},
        {"/a.mp3", "/b.mp3"},
        {"/home/u/Music/x/1.mp3", "/home/u/Downloads/2.ogg"},  // different folders (recent files)
    };
    for (const QStringList& files : lists) {
        SplitSelection(SelectionBuffer(files));
        EXPECT_EQ(SelectedFiles(), files) << files.join(',').toStdString();
    }
}

TEST(OpenFileDog, FilterTextBecomesQtNameFilters) {
    EXPECT_EQ(QtNameFilters(QStringLiteral("A(*.a)|*.a|B|*.b;*.c")), (QStringList{"A (*.a)", "B (*.b *.c)"}));
}

// Answers the next modal file dialog with `answer` once it is up.
void WhenTheDialogOpens(std::function<void(QFileDialog*)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(10);
}

TEST(OpenFileDog, AddLocalFilesTakesEveryFileChosenInTheDialog) {
    test::TempDir dir;
    test::TempDir music;
    QStringList names;
    for (int i = 0; i < 30; ++i) {
        names << QStringLiteral("歌手%1-一首名字相当长的歌曲_%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
        music.Write(names.back().toStdString(), test::MakeMp3(0.1));
    }
    test::FakeShellHost host(dir / "MySongList.txt");
    icoBarS ico(host);
    test::ScopedFakeMessageBox messages;
    const QString folder = QString::fromStdString(music.path().string());

    WhenTheDialogOpens([](QFileDialog* d) { d->reject(); });
    ico.Item(QStringLiteral("M_M_MySongRightS_BDF"))->trigger();
    EXPECT_FALSE(std::filesystem::exists(dir / "MySongList.txt"));  // cancelled: not touched

    WhenTheDialogOpens([&](QFileDialog* d) {
        d->setDirectory(folder);
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QLatin1Char('"') + names.join(QStringLiteral("\" \"")) + QLatin1Char('"'));
        static_cast<QDialog*>(d)->accept();
    });
    ico.Item(QStringLiteral("M_M_MySongRightS_BDF"))->trigger();
    ASSERT_EQ(host.items.size(), names.size());  // far more than 255 characters of names
    EXPECT_EQ(host.items.first(), QStringLiteral("歌手00 ┈ 一首名字相当长的歌曲 ┈ 00"));
    const std::string file = test::TempDir::Read(dir / "MySongList.txt");
    EXPECT_NE(file.find((folder + QLatin1Char('/') + names.last()).toStdString()), std::string::npos);
}

}  // namespace
}  // namespace tavo
