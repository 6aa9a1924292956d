// Simplified and traditional Chinese through ICU's transliterators.
#include "platform/core/han_variants.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

TEST(HanVariants, HanCharactersAreFound) {
    EXPECT_TRUE(HasHan(QStringLiteral("后来")));
    EXPECT_TRUE(HasHan(QStringLiteral("Live 版 2010")));
    EXPECT_TRUE(HasHan(QString::fromUcs4(U"\U00020000")));  // extension B, a surrogate pair
    EXPECT_FALSE(HasHan(QStringLiteral("Yesterday")));
    EXPECT_FALSE(HasHan(QStringLiteral("ひらがな カタカナ")));
    EXPECT_FALSE(HasHan(QString()));
}

TEST(HanVariants, EachScriptTurnsIntoTheOther) {
    const struct {
        const char* text;
        const char* other;  // null: no other variant
    } cases[] = {
        {"后来 ┈ 刘若英", "後來 ┈ 劉若英"},
        {"愛情轉移", "爱情转移"},
        {"头发乱了 (Live)", "頭髮亂了 (Live)"},
        {"Yesterday", nullptr},
        {"中文", nullptr},  // the same in both scripts
    };
    for (const auto& c : cases) {
        const auto other = OtherHanVariant(QString::fromUtf8(c.text));
        if (!c.other) {
            EXPECT_FALSE(other) << c.text;
            continue;
        }
        ASSERT_TRUE(other) << c.text;
        EXPECT_EQ(*other, QString::fromUtf8(c.other)) << c.text;
    }
    EXPECT_EQ(ToSimplified(QStringLiteral("後來")), QStringLiteral("后来"));
    EXPECT_EQ(ToTraditional(QStringLiteral("后来")), QStringLiteral("後來"));
}

}  // namespace
}  // namespace tavo::platform
