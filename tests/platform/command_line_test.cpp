// The player's command line: its two options, Qt's own passing through, and
// everything else refused.
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
        {{"song.mp3"}, Action::Refuse},
        {{"-"}, Action::Refuse},
        {{"--"}, Action::Refuse},
        {{"--bogus", "--help"}, Action::Refuse},  // the first word that is wrong decides
    };
    for (const auto& c : cases) {
        const CommandLine cl = ParseCommandLine(c.args);
        EXPECT_EQ(cl.action, c.action) << c.args.join(' ').toStdString();
        EXPECT_EQ(cl.exitCode, c.action == Action::Refuse ? 2 : 0) << c.args.join(' ').toStdString();
        if (c.action == Action::Refuse) {
            EXPECT_TRUE(cl.output.endsWith(QStringLiteral("usage: tavo-musicbox [--help] [--version]\n")));
        }
    }
}

}  // namespace
}  // namespace tavo::platform
