#include "platform/qt_platform_choice.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

TEST(ChooseQtPlatform, RunsThroughXWaylandOnAWaylandSessionUnlessTheUserChose) {
    const struct {
        const char* name;
        PlatformEnvironment env;
        const char* choice;  // nullptr: Qt's own choice
    } cases[] = {
        {"wayland session with XWayland", {"", "wayland", "wayland-0", ":0", {}}, "xcb"},
        {"session type alone", {"", "Wayland", "", ":1", {}}, "xcb"},
        {"wayland display alone", {"", "", "wayland-1", ":0", {}}, "xcb"},
        {"user chose wayland", {"wayland", "wayland", "wayland-0", ":0", {}}, nullptr},
        {"user chose offscreen", {"offscreen", "wayland", "wayland-0", ":0", {}}, nullptr},
        {"-platform argument", {"", "wayland", "wayland-0", ":0", {"-platform", "wayland"}}, nullptr},
        {"--platform= argument", {"", "wayland", "wayland-0", ":0", {"--platform=wayland"}}, nullptr},
        {"no XWayland", {"", "wayland", "wayland-0", "", {}}, nullptr},
        {"X11 session", {"", "x11", "", ":0", {}}, nullptr},
        {"tty", {"", "tty", "", "", {}}, nullptr},
        {"a song named -platform is still a song", {"", "wayland", "wayland-0", ":0", {"/m/-platform.mp3"}}, "xcb"},
    };
    for (const auto& c : cases) {
        const auto got = ChooseQtPlatform(c.env);
        if (c.choice) {
            ASSERT_TRUE(got.has_value()) << c.name;
            EXPECT_EQ(*got, QString::fromLatin1(c.choice)) << c.name;
        } else {
            EXPECT_FALSE(got.has_value()) << c.name;
        }
    }
}

TEST(ApplyQtPlatformChoice, SetsTheVariableOnlyWhenAChoiceIsMade) {
    const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    ApplyQtPlatformChoice({"", "wayland", "wayland-0", ":0", {}});
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
    qunsetenv("QT_QPA_PLATFORM");
    ApplyQtPlatformChoice({"", "x11", "", ":0", {}});
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    qputenv("QT_QPA_PLATFORM", saved);
}

}  // namespace
}  // namespace tavo::platform
