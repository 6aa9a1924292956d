// The splash and about windows, the browser opening rule and the shell's
// built-in pictures.
#include "shell/about.h"
#include "shell/shell_art.h"
#include "shell/web_page.h"
#include "shell/welcome.h"

#include "support/image_compare.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QUrl>

namespace tavo {
namespace {

// Records the addresses the desktop is asked to open, for the schemes a
// page may try.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() {
        for (const char* s : kSchemes) QDesktopServices::setUrlHandler(QString::fromLatin1(s), this, "Open");
    }
    ~OpenedUrls() override {
        for (const char* s : kSchemes) QDesktopServices::unsetUrlHandler(QString::fromLatin1(s));
    }
    Q_INVOKABLE void Open(const QUrl& url) { urls.append(url.toString()); }
    QStringList urls;

private:
    static constexpr const char* kSchemes[] = {"http", "https", "file", "javascript", "ftp"};
};

TEST(WebPage, OnlyHttpAndHttpsAddressesWithAHostOpen) {
    const struct {
        const char* address;
        bool opens;
    } cases[] = {
        {"http://127.0.0.1:17380/music/", true}, {"HTTPS://Example.org/a?b=1", true},
        {"  https://example.org/  ", true},      {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},          {"/usr/bin/xterm", false},
        {"ftp://example.org/x", false},          {"http:///no-host", false},
        {"", false},
    };
    OpenedUrls opened;
    for (const auto& c : cases) {
        opened.urls.clear();
        EXPECT_EQ(OpenWebPage(QString::fromLatin1(c.address)), c.opens) << c.address;
        EXPECT_EQ(opened.urls.size(), c.opens ? 1 : 0) << c.address;
    }
}

// The lyrics window that comes with the main window when "LrcShow" asks is
// ShellMainTest.SplashComesFirstAndShowsTheLoadedWindow.
TEST(Splash, WaitsForTheMainWindowThenShowsItAndClosesItself) {
    bool loaded = false;
    QStringList calls;
    welcome splash({[&] { return loaded; }, [&] { calls << "main"; }}, QStringLiteral("http://127.0.0.1:17380"));
    splash.Form_Load();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.Label1()->text(), QStringLiteral("Tavo音乐盒2010"));
    EXPECT_EQ(splash.Label2()->text(), QStringLiteral("http://127.0.0.1:17380"));

    splash.Timer1_Timer();  // still loading
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(splash.isVisible());

    loaded = true;  // ready between two ticks: the next one shows it
    splash.Timer1_Timer();
    EXPECT_EQ(calls, QStringList({"main"}));
    EXPECT_FALSE(splash.Timer1().isActive());
    EXPECT_FALSE(splash.isVisible());
}

TEST(About, ShowsTheVersionAndOpensOnlyAWebAddress) {
    OpenedUrls opened;
    for (const char* site : {"http://127.0.0.1:17380", "javascript:alert(1)"}) {
        about window(QStringLiteral("1.0"), QString::fromLatin1(site));
        window.show();
        EXPECT_EQ(window.Label1()->text(), QStringLiteral("Tavo音乐盒2010"));
        EXPECT_EQ(window.Label3()->text(), QStringLiteral("版本：V1.0"));
        EXPECT_EQ(window.Label2()->text(), QString::fromLatin1(site));
        opened.urls.clear();
        QTest::mouseClick(window.Label2(), Qt::LeftButton);
        EXPECT_EQ(opened.urls, std::string(site).starts_with("http") ? QStringList{site} : QStringList{}) << site;
        EXPECT_TRUE(window.isVisible());  // the link does not close the window
    }
}

TEST(About, ClickOnThePictureClosesIt) {
    about window(QStringLiteral("1.0"), QStringLiteral("http://127.0.0.1:17380"));
    window.show();
    window.resize(500, 300);
    EXPECT_EQ(window.Image1()->geometry(), window.rect());  // stretched over the window
    // A click on the name lands on the picture under it.
    const QPoint onName = window.Label1()->geometry().center();
    QWidget* target = window.childAt(onName);
    ASSERT_EQ(target, window.Image1());
    QTest::mouseClick(target, Qt::LeftButton, {}, onName);
    EXPECT_FALSE(window.isVisible());
}

// The pictures are what tools/shell-art draws, and they are built in.
TEST(ShellArt, CommittedPicturesAreTheGeneratorsOutputAndBuiltIn) {
    test::TempDir dir;
    const test::ToolRun r = test::RunProgram(QStringLiteral("tavo-shell-art"), {QString::fromStdString(dir.path().string())});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const struct {
        const char* file;
        QSize size;
        QPixmap builtIn;
    } pictures[] = {{"welcome.png", {440, 260}, WelcomePicture()}, {"about.png", {400, 250}, AboutPicture()}};
    for (const auto& pic : pictures) {
        const QImage drawn(QString::fromStdString((dir / pic.file).string()));
        const QImage committed(QStringLiteral(TAVO_SOURCE_DIR "/src/shell/art/") + QString::fromLatin1(pic.file));
        ASSERT_EQ(drawn.size(), pic.size) << pic.file;
        ASSERT_EQ(committed.size(), pic.size) << pic.file << ": regenerate with build/bin/tavo-shell-art src/shell/art";
        EXPECT_EQ(pic.builtIn.size(), pic.size) << pic.file;
        // Drawn with floating point, text included: another build may place a
        // glyph a fraction of a pixel off, which changes its edge pixels. Up
        // to 4 % of the pixels may differ, and little on average.
        EXPECT_TRUE(test::ImagesAlike(drawn, committed, 2, 0.04)) << pic.file << ": regenerate with build/bin/tavo-shell-art src/shell/art";
        EXPECT_LT(test::CompareImages(drawn, committed, 2).meanChannel, 1.0) << pic.file;
    }
    for (int size : {16, 22, 32, 256}) EXPECT_EQ(ProgramIconPixmap(size).size(), QSize(size, size)) << size;
    EXPECT_FALSE(ProgramIcon().isNull());
}

}  // namespace
}  // namespace tavo

#include "splash_about_test.moc"
