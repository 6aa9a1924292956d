// tavo-tool as a user runs it: arguments in, UTF-8 JSON out.
#include "support/run_tool.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace {

using tavo::test::ToolRun;

ToolRun Tool(const QStringList& args) { return tavo::test::RunTool(args); }

TEST(TavoTool, TextCommandsPrintJsonStrings) {
    struct Case {
        QStringList args;
        QString out;
    } cases[] = {
        {{"urlencode", QStringLiteral("音乐 box")}, "\"%E9%9F%B3%E4%B9%90%20box\"\n"},
        {{"urldecode", "%D2%F4"}, QStringLiteral("\"音\"\n")},
        {{"urldecode", "a%"}, "\"a\\u0000\"\n"},  // U+0000 is visible
        {{"remove-bracketed", "A(x)B(y)C", "(", ")"}, "\"AB(y)C\"\n"},
    };
    for (const auto& c : cases) {
        ToolRun r = Tool(c.args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
    }
}

TEST(TavoTool, RndTokenIsFresh) {
    ToolRun a = Tool({"rnd-token"});
    ToolRun b = Tool({"rnd-token"});
    EXPECT_EQ(a.code, 0);
    EXPECT_TRUE(a.out.startsWith("\"0.")) << a.out.toStdString();
    EXPECT_NE(a.out, b.out);
}

TEST(TavoTool, HelpListsCommandsAndMistakesFailOnStderr) {
    ToolRun help = Tool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("urlencode TEXT"));
    EXPECT_TRUE(help.out.contains("remove-bracketed"));

    ToolRun unknown = Tool({"no-such-command"});
    EXPECT_NE(unknown.code, 0);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_TRUE(unknown.err.contains("unknown command"));

    ToolRun missing = Tool({"urlencode"});
    EXPECT_NE(missing.code, 0);
    EXPECT_TRUE(missing.err.contains("usage"));
}

}  // namespace
