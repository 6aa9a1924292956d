// The "电台目录" window against a fake directory on 127.0.0.1: search and
// paging, listening, adding to "radio.txt", and what it offers offline.
#include "sources/ui/radio_directory_window.h"

#include "../print_qstring.h"
#include "support/event_loop.h"
#include "support/fake_radio_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace tavo {
namespace {

using test::WaitFor;

class DirectoryWindowTest : public ::testing::Test {
protected:
    void Open(const QString& base) {
        RadioDirectoryOptions o;
        o.base = base;
        o.shuffle = [](QStringList&) {};
        directory = std::make_unique<RadioDirectory>(o);
        window = std::make_unique<RadioDirectoryWindow>(directory.get(), radioFile);
        window->onListen = [this](const QString& n, const QString& a) { listened.emplace_back(n, a); };
        QObject::connect(window.get(), &RadioDirectoryWindow::RowsShown, [this] { ++shown; });
    }
    // Runs `action` and waits for the rows it brings.
    void AndWait(const std::function<void()>& action) {
        const int before = shown;
        action();
        ASSERT_TRUE(WaitFor([&] { return shown > before; }, 5000)) << window->Status()->text().toStdString();
    }
    QString Cell(int row, int column) const { return window->Results()->topLevelItem(row)->text(column); }

    test::TempDir dir;
    std::filesystem::path radioFile = dir.Write("radio.txt", "演示电台<|>http://127.0.0.1:17380/radio/1\r\n");
    test::FakeRadioDirectory fake{45};
    std::unique_ptr<RadioDirectory> directory;
    std::unique_ptr<RadioDirectoryWindow> window;
    std::vector<std::pair<QString, QString>> listened;
    int shown = 0;
};

TEST_F(DirectoryWindowTest, ResultsComeAPageAtATime) {
    Open(fake.Base());
    window->Region()->setCurrentIndex(3);  // 全部
    window->Order()->setCurrentIndex(0);   // by votes
    AndWait([&] { window->StartSearch(); });
    ASSERT_EQ(window->Results()->topLevelItemCount(), RadioDirectoryWindow::kPageSize);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("电台 44"));
    EXPECT_EQ(Cell(0, 1), "China");
    EXPECT_EQ(Cell(0, 2), "MP3");
    EXPECT_EQ(Cell(0, 3), "128 kbps");
    EXPECT_EQ(Cell(0, 4), "news,music");
    EXPECT_EQ(Cell(0, 5), "44");
    AndWait([&] { window->NextPage(); });
    AndWait([&] { window->NextPage(); });
    EXPECT_EQ(window->Page(), 2);
    EXPECT_EQ(window->Results()->topLevelItemCount(), 5);
    window->NextPage();  // a short page is the last
    EXPECT_EQ(window->Page(), 2);
    AndWait([&] { window->PreviousPage(); });
    EXPECT_EQ(Cell(0, 0), QStringLiteral("电台 24"));
    // What the form says is what is asked.
    window->SearchText()->setText(QStringLiteral(" 电台 1 "));
    window->Region()->setCurrentIndex(1);  // 香港
    window->Language()->setCurrentIndex(3);
    window->Order()->setCurrentIndex(1);
    AndWait([&] { window->StartSearch(); });
    const std::string last = fake.GoodRequests().back();
    EXPECT_EQ(last, "/json/stations/search?name=%E7%94%B5%E5%8F%B0%201&countrycode=HK&language=cantonese"
                    "&order=clickcount&reverse=true&hidebroken=true&limit=20&offset=0");
}

TEST_F(DirectoryWindowTest, ListeningPlaysAtOnceAndAddingWritesTheStationList) {
    Open(fake.Base());
    AndWait([&] { window->StartSearch(); });
    window->Results()->setCurrentItem(window->Results()->topLevelItem(1));
    window->Listen();
    ASSERT_EQ(listened.size(), 1u);
    EXPECT_EQ(listened[0].first, QStringLiteral("电台 42"));
    EXPECT_EQ(listened[0].second, "http://127.0.0.1:9/stream/42");
    EXPECT_TRUE(WaitFor([&] { return fake.Clicks(fake.Stations()[42].uuid) == 1; }, 3000));

    int added = 0;
    window->onAdded = [&] { ++added; };
    ASSERT_TRUE(window->AddSelected());
    EXPECT_EQ(added, 1);
    EXPECT_EQ(test::TempDir::Read(radioFile),
              "演示电台<|>http://127.0.0.1:17380/radio/1\r\n电台 42<|>http://127.0.0.1:9/stream/42\r\n");
}

TEST_F(DirectoryWindowTest, OfflineTheStationListIsOffered) {
    Open(QStringLiteral("http://127.0.0.1:1"));
    AndWait([&] { window->StartSearch(); });
    EXPECT_TRUE(window->ShowingStationList());
    EXPECT_TRUE(window->Status()->text().contains(QStringLiteral("无法连接电台目录")));
    ASSERT_EQ(window->Results()->topLevelItemCount(), 1);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("演示电台"));
    window->Listen();
    ASSERT_EQ(listened.size(), 1u);
    EXPECT_EQ(listened[0].second, "http://127.0.0.1:17380/radio/1");
    EXPECT_FALSE(window->AddSelected());  // already there
}

TEST_F(DirectoryWindowTest, AHostileAnswerChangesNothingShown) {
    Open(fake.Base());
    AndWait([&] { window->StartSearch(); });
    const QString first = Cell(0, 0);
    fake.SetPageBody(R"([{"name":"x","votes":"lots"}])");
    window->NextPage();
    ASSERT_TRUE(WaitFor([&] { return window->Status()->text() == DirectoryErrorText(DirectoryError::kWrongType); }, 3000));
    EXPECT_EQ(window->Results()->topLevelItemCount(), RadioDirectoryWindow::kPageSize);
    EXPECT_EQ(Cell(0, 0), first);
}

}  // namespace
}  // namespace tavo
