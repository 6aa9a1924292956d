#pragma once
// The "电台目录" window: searches the station directory and lets the user
// listen to a station at once ("试听") or add it to the station list
// "radio.txt" ("添加到在线电台").
//
// A search names a text, a region (中国大陆 CN, 香港 HK, 台湾 TW, 全部), a
// language and an order (votes or clicks); results come a page at a time
// and show name, country, codec, bitrate, tags, votes and, once loaded, the
// station's icon. Without the directory (no network) the window says so and
// offers the stations already in "radio.txt" instead.
//
// The rows change in one step per answer; a late answer for an earlier
// search never reaches the window (the directory drops it).

#include "sources/core/radio_directory.h"

#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tavo {

class RadioDirectoryWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPageSize = 20;  // stations a page, unless set

    // `directory` must outlive the window; `radioFile` is "radio.txt".
    RadioDirectoryWindow(RadioDirectory* directory, std::filesystem::path radioFile, QWidget* parent = nullptr);

    // Plays a station now: its name and address.
    std::function<void(const QString& name, const QString& address)> onListen;
    // "radio.txt" has a new line.
    std::function<void()> onAdded;

    // One row: a directory station, or (offline) a line of "radio.txt".
    struct Row {
        QString name;
        QString address;
        QString stationuuid;  // empty for a "radio.txt" line
        QString favicon;
    };

    // Searches from the first page with what the form says.
    void StartSearch();
    void NextPage();
    void PreviousPage();
    // The selected row's actions.
    void Listen();
    bool AddSelected();

    void SetPageSize(int stations) { pageSize_ = std::clamp(stations, 1, kMaxStationsPerPage); }
    int Page() const { return page_; }
    const std::vector<Row>& Rows() const { return rows_; }
    bool ShowingStationList() const { return showingStationList_; }
    StationQuery QueryFromForm() const;

    QLineEdit* SearchText() const { return search_; }
    QComboBox* Region() const { return region_; }
    QComboBox* Language() const { return language_; }
    QComboBox* Order() const { return order_; }
    QTreeWidget* Results() const { return results_; }
    QLabel* Status() const { return status_; }

Q_SIGNALS:
    // The rows were replaced (one step per answer).
    void RowsShown();

private:
    void Ask();
    void OnStations(std::uint64_t request, const StationQuery& query, const std::vector<RadioStation>& stations);
    void OnFailed(std::uint64_t request, const QString& message, bool unreachable);
    void OnIcon(const QString& address, const QImage& icon);
    void ShowRows(std::vector<Row> rows, const std::vector<QStringList>& columns);
    void ShowStationList();
    void UpdateButtons();
    int SelectedRow() const;

    RadioDirectory* directory_;
    std::filesystem::path radioFile_;
    StationQuery query_;
    int page_ = 0;
    int pageSize_ = kPageSize;
    std::uint64_t request_ = 0;
    bool lastPageFull_ = false;
    bool showingStationList_ = false;
    std::vector<Row> rows_;

    QLineEdit* search_;
    QComboBox* region_;
    QComboBox* language_;
    QComboBox* order_;
    QPushButton* searchButton_;
    QTreeWidget* results_;
    QPushButton* previous_;
    QPushButton* next_;
    QLabel* pageLabel_;
    QPushButton* listen_;
    QPushButton* add_;
    QLabel* status_;
};

}  // namespace tavo
