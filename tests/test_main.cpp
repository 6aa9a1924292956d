#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"

#include <gtest/gtest.h>

#ifdef TAVO_TEST_WINDOWS
#include "app/page_opener.h"
#include "platform/core/network_access.h"
#include "shell/web_page.h"

#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <clocale>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    // Widget tests run headless unless the caller chose a platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    // Nothing a test does reaches the user's own files or blocks on a dialog:
    // the program folder and the settings live in a temporary folder, and
    // message boxes are recorded instead of shown.
    tavo::test::TempDir home;
    std::filesystem::create_directories(home.path() / "program");
    tavo::platform::SetProgramFolder(home.path() / "program");
    // The lyrics cache and the station directory's server list too.
    setenv("XDG_CACHE_HOME", (home.path() / "cache").c_str(), 1);
    tavo::platform::SetSettings(std::make_unique<tavo::platform::IniSettingsStore>(home.path() / "config"));
    tavo::platform::SetMessages(std::make_unique<tavo::test::FakeMessageBox>());
#ifdef TAVO_TEST_WINDOWS
    // Pages open as in the program (tests catch them with a URL handler).
    tavo::SetPageOpener(&tavo::OpenWebPage);
#endif

    const int rc = RUN_ALL_TESTS();
#ifdef TAVO_TEST_WINDOWS
    tavo::platform::CloseNetworkAccess();
#endif
    tavo::platform::SetSettings(nullptr);
    tavo::platform::SetMessages(nullptr);
    return rc;
}
