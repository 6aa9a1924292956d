// tavo-tool's calendar commands as a user runs them.
#include "support/run_tool.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

using tavo::test::ToolRun;

ToolRun Tool(const QStringList& args) { return tavo::test::RunTool(args); }

TEST(LunarTool, LunarPrintsEveryFieldOfTheDay) {
    const ToolRun r = Tool({"lunar", "2010-02-13"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o.keys().size(), 19);
    // Each field under its own name (the values have the engine's own tests).
    EXPECT_EQ(o["sYear"].toInt(), 2010);
    EXPECT_EQ(o["lYear"].toInt(), 2009);
    EXPECT_EQ(o["lDay"].toInt(), 30);
    EXPECT_EQ(o["IsLeap"].toBool(true), false);
    EXPECT_EQ(o["CDayStr"].toString(), QStringLiteral("三十"));
    EXPECT_EQ(o["lHoliday"].toString(), QStringLiteral("除夕"));
    EXPECT_EQ(o["Era"].toString(), QStringLiteral("中华人民共和国成立六十一周年"));
}

TEST(LunarTool, RangePrintsOneObjectPerDayAcrossMonthAndYearEnds) {
    const ToolRun r = Tool({"lunar-range", "2009-12-30", "2010-03-02"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 63);
    const QJsonObject first = QJsonDocument::fromJson(lines.first().toUtf8()).object();
    const QJsonObject last = QJsonDocument::fromJson(lines.last().toUtf8()).object();
    EXPECT_EQ(first["sDay"].toInt(), 30);
    EXPECT_EQ(last["sMonth"].toInt(), 3);
    EXPECT_EQ(last["sDay"].toInt(), 2);
    int springFestival = 0;
    for (const QString& l : lines)
        springFestival += QJsonDocument::fromJson(l.toUtf8()).object()["lHoliday"].toString() == QStringLiteral("春节");
    EXPECT_EQ(springFestival, 1);
}

TEST(LunarTool, SolarConvertsLunarDates) {
    const struct {
        QStringList args;
        QString out;
    } cases[] = {
        {{"solar", "2009", "5", "1", "--leap"}, "\"2009-06-23\"\n"},
        {{"solar", "2009", "5", "1"}, "\"2009-05-24\"\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool(c.args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
    }
}

TEST(LunarTool, DayCaptionPrintsTheStripLinesOfEachDayAsToday) {
    const ToolRun r = Tool({"day-caption", "2010-02-12", "2010-02-14"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(
        "{\"date\":\"2010-02-12\",\"NLlabel\":\"己丑 牛年 腊月廿九 星期五\",\"Label7\":\" 明天 除夕 后天 春节\"}\n"));
    EXPECT_EQ(r.out.count(u'\n'), 3);
    const ToolRun year = Tool({"day-caption", "2009-12-31", "2010-12-31"});
    ASSERT_EQ(year.code, 0);
    EXPECT_EQ(year.out.count(u'\n'), 366);
}

TEST(LunarTool, BadInputFailsOnStderr) {
    const QStringList bad[] = {
        {"lunar", "2010-02-30"}, {"lunar", "1900-01-30"}, {"lunar", "2050-01-23"}, {"lunar", "yesterday"},
        {"lunar-range", "2010-01-02", "2010-01-01"}, {"solar", "2051", "1", "1"}, {"solar", "2010", "13", "1"},
        {"solar", "x", "1", "1"}, {"lunar"}, {"day-caption", "2010-01-02", "2010-01-01"},
        {"day-caption", "2010-02-30", "2010-03-01"}, {"day-caption", "1900-01-30", "1900-02-01"},
        {"day-caption", "2010-01-01"},
    };
    for (const auto& args : bad) {
        const ToolRun r = Tool(args);
        EXPECT_NE(r.code, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
}

}  // namespace
