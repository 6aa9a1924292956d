// The player's command line: its two options, Qt's own passing through,
// words to open, and everything else refused.
#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, OptionsAndRefusals) {
    const struct {
        QStringList args;
        Action action;
    } cases[] = {
        {{}, Action::Run},
        {{"--help"}, Action::Help},
        {{"-h"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"-platform", "offscreen"}, Action::Run},
        {{"--platform", "offscreen", "-reverse"}, Action::Run},
        {{"-style=fusion"}, Action::Run},
        {{"-platform", "offscreen", "--version"}, Action::Version},
        {{"-platform"}, Action::Refuse},        // its value is missing
        {{"--reverse=1"}, Action::Refuse},      // a flag takes no value
        {{"--verbose"}, Action::Refuse},
        {{"-v"}, Action::Refuse},
        {{"song.mp3"}, Action::Run},
        {{"ftp://host/song.mp3"}, Action::Refuse},  // a scheme it cannot play
        {{"-"}, Action::Refuse},
        {{"--"}, Action::Run},
        {{"--bogus", "--help"}, Action::Refuse},  // the first word that is wrong decides
    };
    for (const auto& c : cases) {
        const CommandLine cl = ParseCommandLine(c.args);
        EXPECT_EQ(cl.action, c.action) << c.args.join(' ').toStdString();
        EXPECT_EQ(cl.exitCode, c.action == Action::Refuse ? 2 : 0) << c.args.join(' ').toStdString();
        if (c.action == Action::Refuse) {
            EXPECT_TRUE(cl.output.endsWith(QStringLiteral("usage: tavo-musicbox [--help] [--version] [FILE|FOLDER|URL...]\n")));
        }
    }
}

TEST(CommandLine, WordsToOpenBecomeAbsolutePathsAndAddresses) {
    const CommandLine cl = ParseCommandLine(
        {"-platform", "offscreen", "a.mp3", "../b/c.flac", "/m/d.ogg", "file:///m/%E6%99%B4.mp3",
         "http://radio.example/s", "--", "--odd-name.mp3"},
        "/home/u/music");
    ASSERT_EQ(cl.action, Action::Run);
    EXPECT_EQ(cl.open, (QStringList{"/home/u/music/a.mp3", "/home/u/b/c.flac", "/m/d.ogg", "/m/晴.mp3",
                                    "http://radio.example/s", "/home/u/music/--odd-name.mp3"}));
    EXPECT_TRUE(ParseCommandLine({"file:relative.mp3"}).action == Action::Refuse);
    EXPECT_TRUE(ParseCommandLine({"http:///nohost"}).action == Action::Refuse);
}

}  // namespace
}  // namespace tavo::platform
