#include "sources/get_song_list.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

TEST(ChartPeriods, ChoosingAPeriodListsItsEntriesAndSelectsTheFirst) {
    GetSongList s;
    s.ChartPeriodLinks = {"'/a/1.htm',First|'/a/2.htm',Second|", ""};
    QList<int> entryChanges;
    QObject::connect(&s.Combo2, &Selector::ListIndexChanged, [&](int i) { entryChanges.append(i); });
    s.Combo1.AddItem("2010-01");
    s.Combo1.AddItem("2010-02");
    s.Combo1.SetListIndex(0);
    EXPECT_EQ(s.ChartEntries, (QStringList{"'/a/1.htm',First", "'/a/2.htm',Second"}));
    EXPECT_EQ(s.Combo2.Items(), (QStringList{"First", "Second"}));
    EXPECT_EQ(s.Combo2.ListIndex(), 0);
    EXPECT_EQ(entryChanges, QList<int>{0});

    // A period without links leaves the entry selector empty, nothing selected.
    s.Combo1.SetListIndex(1);
    EXPECT_TRUE(s.ChartEntries.isEmpty());
    EXPECT_EQ(s.Combo2.ListCount(), 0);
    EXPECT_EQ(s.Combo2.ListIndex(), -1);
    EXPECT_EQ(entryChanges, QList<int>{0});
}

TEST(SelectorModel, SettingTheIndexRaisesTheChangeEvenWhenUnchanged) {
    Selector sel;
    QList<int> changes;
    QObject::connect(&sel, &Selector::ListIndexChanged, [&](int i) { changes.append(i); });
    sel.AddItem("a");
    sel.AddItem("b");
    sel.SetListIndex(1);
    sel.SetListIndex(1);
    sel.SetListIndex(7);   // outside the list: ignored
    sel.SetListIndex(-1);  // no selection
    EXPECT_EQ(changes, (QList<int>{1, 1, -1}));
    EXPECT_EQ(sel.Text(), QString());
    sel.SetListIndex(0);
    EXPECT_EQ(sel.Text(), "a");
    sel.Clear();
    EXPECT_EQ(sel.ListIndex(), -1);
    EXPECT_EQ(sel.ListCount(), 0);
}

}  // namespace
}  // namespace tavo
