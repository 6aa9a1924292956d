#pragma once
// The viewed list: the list shown ten rows a page in the list picture, the
// list files it loads, the paging buttons, presses on the rows, and going
// back to the list that plays.
//
// The entries themselves are GetSongList::ListItems (with its trailing
// empty element) and the page GetSongList::CurPage; the rows drawn are
// MainControls::rows.

#include "app/list_files.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tavo {

class PlayerCore;

class ListView {
public:
    explicit ListView(PlayerCore& core) : c_(core) {}

    QStringList PageText;    // the entries of the page shown
    QStringList FavLinks;    // the favourites' links, beside ListItems while they are viewed
    QStringList RadioLinks;  // the radio file's links
    std::int32_t SelIndex = 0;  // list index of the row last right-clicked

    // Entries of the viewed list.
    int Count() const;
    QString Entry(int i) const;
    QStringList Entries() const;
    // The links beside them, for the lists that carry their own (the
    // favourites, the radio file, the radio playlist); empty for the rest.
    QStringList Links() const;
    // Loads a list text ("{@}" after each entry) as the viewed list, page 0.
    void loadGetSongList(const QString& text);
    // The same with the entries themselves (at most kMaxListEntries kept).
    void LoadEntries(const QStringList& entries);
    // Empties the viewed list and shows it (no rows, "1/1"): a new fetch.
    void Clear();

    void MySongList();
    void radioList();
    void GoPage();
    void OutList();
    void ClearListArea();
    // The viewed list becomes the play list: its entries and links...
    void Play_List();
    // ...and what it is: source, period, entry, page (and the chart
    // selectors' content, to show them again later).
    void ClickPlay();
    // Both of the above, then song `index` of the new play list starts.
    void PlayViewed(int index);
    void rdcheck();
    void ReloadPlayList();
    bool Reloading() const { return reloading_; }

    // Paging buttons PageA(0) to PageA(3), and PageA(15) (back to the
    // playing list).
    void PageA_Click(int index);
    // Commands on the rows of the viewed page: `row` counts from 0 at the
    // page's top; -1 is the free space below the rows.
    // A left click: the viewed list becomes the play list and the row's
    // song starts (nothing for the free space).
    void PlayRow(int row);
    // A right click: which menu opens ("M_RightClick" on a row of an online
    // list, "M_MySongRight" on a favourites row, "M_MySongRightS" on the
    // favourites' free space, empty for none). A menu on a row makes the
    // row's list index SelIndex.
    QString RowMenu(int row);
    // Rows drawn on the page.
    int PageEntryCount() const { return static_cast<int>(PageText.size()); }

private:
    bool ShowListFile(const ListFile& file, QStringList& links);
    void AutoStart();

    PlayerCore& c_;
    bool reloading_ = false;
};

}  // namespace tavo
