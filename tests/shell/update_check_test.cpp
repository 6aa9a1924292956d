// The update notices: the file's parts, the label's rotation driven tick by
// tick, clicks, and the bundled local services' notice file.
#include "app/update_check.h"

#include "demo_service.h"
#include "platform/program_folder.h"
#include "sources/services.h"
#include "support/event_loop.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

const QString kSite = QStringLiteral("http://maker.test");

// The maker's site of the tests, for the life of a fixture.
struct TestMakerSite {
    TestMakerSite() {
        ServiceHosts hosts = LocalServiceHosts();
        hosts.makerSite = kSite;
        SetServices(hosts);
    }
    ~TestMakerSite() { ResetServices(); }
};

class Update : public ::testing::Test {
protected:
    void SetUp() override {
        check.Timer1.stop();  // ticks are driven by hand
        check.OpenPage = [this](const QString& a) {
            opened << a;
            return true;
        };
    }

    // The file as the download leaves it, then the completion.
    void Arrive(const std::string& body, std::int16_t error = 0) {
        folder.dir().Write("up.!up", body);
        check.UpDown_DLComplete(static_cast<std::int32_t>(body.size()), error);
    }
    // Six ticks: one change of the label.
    QString Turn() {
        for (int i = 0; i < 5; ++i) {
            const QString before = check.Label1Text();
            check.Timer1_Timer();
            EXPECT_EQ(check.Label1Text(), before) << "changed before the sixth tick";
        }
        check.Timer1_Timer();
        return check.Label1Text();
    }

    TestMakerSite site;
    test::ScopedProgramFolder folder;
    UpdateCheck check;
    QStringList opened;
};

TEST_F(Update, CompletionStoresThePartsAndDeletesTheFile) {
    EXPECT_EQ(check.Label1Text(), kSite);
    Arrive("1.1{|}http://a/new{++}n1{|}http://a/1", 1);  // a failed download: nothing
    EXPECT_TRUE(check.UpdateInfo.isEmpty());
    Arrive("no separator here");  // ignored
    EXPECT_TRUE(check.UpdateInfo.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "up.!up"));
    Arrive("1.1{|}http://a/new{++}n1{|}http://a/1\n");
    EXPECT_EQ(check.UpdateInfo.size(), 2);
    EXPECT_EQ(UpdateCheck::Field(check.UpdateInfo[1], 1), QStringLiteral("http://a/1"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "up.!up"));
    Arrive("9.9{|}x{++}a{|}b");  // parsed once per check
    EXPECT_EQ(UpdateCheck::Field(check.UpdateInfo[0], 0), QStringLiteral("1.1"));
}

TEST_F(Update, PartZeroAnnouncesOnlyAGreaterVersion) {
    const struct {
        const char* version;
        bool announces;
    } cases[] = {{"1.1", true}, {"2", true}, {"1.0", false}, {"0.9", false}, {"abc", false}, {"", false}, {"1.0.1", true}};
    for (const auto& c : cases) {
        UpdateCheck fresh;
        fresh.Timer1.stop();
        folder.dir().Write("up.!up", std::string(c.version) + "{|}http://a/new{++}n{|}http://a/n");
        fresh.UpDown_DLComplete(1, 0);
        for (int i = 0; i < 6; ++i) fresh.Timer1_Timer();
        EXPECT_EQ(fresh.Label1Text(), c.announces ? UpdateCheck::kNewVersion : kSite) << c.version;
    }
    const struct {
        const char *a, *b;
        int order;
    } pairs[] = {{"1.10", "1.9", 1},     {"1.9", "1.10", -1}, {"1.0", "1", 0},       {"2", "1.99", 1},
                 {" 1.25beta", "1.25", 0}, {"1.1.2", "1.1", 1}, {"abc", "", 0},       {"0.1", "abc", 1},
                 {"99999999999999999999", "1", 1}, {"1.", "1.0", 0}, {"-2", "0", 0}};
    for (const auto& p : pairs) EXPECT_EQ(UpdateCheck::CompareVersions(p.a, p.b), p.order) << p.a << " : " << p.b;
}

TEST_F(Update, LabelCyclesThroughThePartsEveryTwelveSeconds) {
    Turn();  // before any file: the address stays
    EXPECT_EQ(check.Label1Text(), kSite);
    check.NoticeIndex = 0;
    check.NoticeTicks = 0;
    Arrive("1.1{|}http://a/new{++}第一条{|}http://a/1{++}第二条{|}http://a/2");
    const QString expected[] = {UpdateCheck::kNewVersion, "第一条", "第二条", UpdateCheck::kNewVersion, "第一条"};
    for (const QString& e : expected) EXPECT_EQ(Turn(), e);
}

TEST_F(Update, ClickOpensThePageOfTheItemShown) {
    check.Label1_Click();  // nothing stored: nothing opened
    EXPECT_TRUE(opened.isEmpty());
    Arrive("1.1{|}http://a/new{++}第一条{|}http://a/1{++}第二条{|}http://a/2");
    check.Label1_Click();  // before the first change: part 0
    Turn();
    check.Label1_Click();
    Turn();
    Turn();  // notice 2 has just appeared
    check.Label1_Click();
    EXPECT_EQ(opened, (QStringList{"http://a/new", "http://a/new", "http://a/2"}));

    // The default opener refuses anything but a web page.
    UpdateCheck plain;
    EXPECT_FALSE(plain.OpenPage(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(plain.OpenPage(QStringLiteral("javascript:alert(1)")));
}

TEST_F(Update, HostileFileIsCutDownToShortLines) {
    std::string body = "1.1{|}http://a/new";
    body += "{++}line\r\none\t" + std::string(500, 'x') + "{|}http://a/1";
    for (int i = 0; i < 100; ++i) body += "{++}n{|}http://a/n";
    Arrive(body);
    EXPECT_EQ(check.UpdateInfo.size(), UpdateCheck::kMaxParts);
    Turn();
    const QString notice = Turn();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("line one xxx"))) << notice.toStdString();
    EXPECT_EQ(notice.size(), UpdateCheck::kMaxTextLength);
    EXPECT_FALSE(notice.contains(QLatin1Char('\n')));
}

// The check downloads the notice file of the maker's site.
TEST_F(Update, BundledServicesAnnounceANewerVersion) {
    services::DemoService demo;
    ASSERT_TRUE(demo.Start(0));
    SetServices(LocalServiceHosts(demo.port()));
    check.UpApp();
    ASSERT_TRUE(test::WaitFor([this] { return !check.UpdateInfo.isEmpty(); }));
    EXPECT_EQ(Turn(), UpdateCheck::kNewVersion);
    demo.Stop();
}

}  // namespace
}  // namespace tavo
