#include "sources/ui/radio_directory_window.h"

#include "app/list_files.h"
#include "app/favourites_file.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tavo {

namespace {

struct Choice {
    const char16_t* caption;
    const char* value;
};

const Choice kRegions[] = {{u"中国大陆", "CN"}, {u"香港", "HK"}, {u"台湾", "TW"}, {u"全部", ""}};
const Choice kLanguages[] = {
    {u"全部语言", ""}, {u"中文", "chinese"}, {u"普通话", "mandarin"}, {u"粤语", "cantonese"}, {u"英语", "english"},
};

enum Column { kName, kCountry, kCodec, kBitrate, kTags, kVotes, kColumnCount };

void Fill(QComboBox* box, const Choice* choices, size_t n) {
    for (size_t i = 0; i < n; ++i)
        box->addItem(QString::fromUtf16(choices[i].caption), QString::fromLatin1(choices[i].value));
}

}  // namespace

RadioDirectoryWindow::RadioDirectoryWindow(RadioDirectory* directory, std::filesystem::path radioFile, QWidget* parent)
    : QWidget(parent), directory_(directory), radioFile_(std::move(radioFile)) {
    setWindowTitle(QStringLiteral("电台目录"));
    resize(760, 480);

    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("电台名称"));
    region_ = new QComboBox(this);
    Fill(region_, kRegions, std::size(kRegions));
    language_ = new QComboBox(this);
    Fill(language_, kLanguages, std::size(kLanguages));
    order_ = new QComboBox(this);
    order_->addItem(QStringLiteral("按投票排序"));
    order_->addItem(QStringLiteral("按点击排序"));
    searchButton_ = new QPushButton(QStringLiteral("搜索"), this);

    results_ = new QTreeWidget(this);
    results_->setColumnCount(kColumnCount);
    results_->setHeaderLabels({QStringLiteral("名称"), QStringLiteral("国家/地区"), QStringLiteral("编码"),
                               QStringLiteral("码率"), QStringLiteral("标签"), QStringLiteral("投票")});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setIconSize(QSize(16, 16));
    results_->header()->setStretchLastSection(false);
    results_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
    results_->header()->setSectionResizeMode(kTags, QHeaderView::Stretch);
    results_->setColumnWidth(kCountry, 90);
    results_->setColumnWidth(kCodec, 56);
    results_->setColumnWidth(kBitrate, 64);
    results_->setColumnWidth(kVotes, 64);

    previous_ = new QPushButton(QStringLiteral("上一页"), this);
    next_ = new QPushButton(QStringLiteral("下一页"), this);
    pageLabel_ = new QLabel(this);
    listen_ = new QPushButton(QStringLiteral("试听"), this);
    add_ = new QPushButton(QStringLiteral("添加到在线电台"), this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);

    auto* form = new QHBoxLayout;
    form->addWidget(search_, 1);
    form->addWidget(region_);
    form->addWidget(language_);
    form->addWidget(order_);
    form->addWidget(searchButton_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(previous_);
    bottom->addWidget(pageLabel_);
    bottom->addWidget(next_);
    bottom->addStretch(1);
    bottom->addWidget(listen_);
    bottom->addWidget(add_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(results_, 1);
    layout->addLayout(bottom);
    layout->addWidget(status_);

    connect(search_, &QLineEdit::returnPressed, this, &RadioDirectoryWindow::StartSearch);
    connect(searchButton_, &QPushButton::clicked, this, &RadioDirectoryWindow::StartSearch);
    connect(previous_, &QPushButton::clicked, this, &RadioDirectoryWindow::PreviousPage);
    connect(next_, &QPushButton::clicked, this, &RadioDirectoryWindow::NextPage);
    connect(listen_, &QPushButton::clicked, this, &RadioDirectoryWindow::Listen);
    connect(add_, &QPushButton::clicked, this, [this] { AddSelected(); });
    connect(results_, &QTreeWidget::itemDoubleClicked, this, [this] { Listen(); });
    connect(results_, &QTreeWidget::itemSelectionChanged, this, &RadioDirectoryWindow::UpdateButtons);
    connect(directory_, &RadioDirectory::StationsFound, this, &RadioDirectoryWindow::OnStations);
    connect(directory_, &RadioDirectory::SearchFailed, this, &RadioDirectoryWindow::OnFailed);
    connect(directory_, &RadioDirectory::IconReady, this, &RadioDirectoryWindow::OnIcon);
    UpdateButtons();
}

StationQuery RadioDirectoryWindow::QueryFromForm() const {
    StationQuery q;
    q.name = search_->text().trimmed();
    q.countrycode = region_->currentData().toString();
    q.language = language_->currentData().toString();
    q.order = order_->currentIndex() == 1 ? StationOrder::kClicks : StationOrder::kVotes;
    q.reverse = true;
    q.limit = pageSize_;
    return q;
}

void RadioDirectoryWindow::StartSearch() {
    query_ = QueryFromForm();
    page_ = 0;
    Ask();
}

void RadioDirectoryWindow::NextPage() {
    if (showingStationList_ || !lastPageFull_) return;
    ++page_;
    Ask();
}

void RadioDirectoryWindow::PreviousPage() {
    if (showingStationList_ || page_ == 0) return;
    --page_;
    Ask();
}

void RadioDirectoryWindow::Ask() {
    query_.offset = page_ * pageSize_;
    status_->setText(QStringLiteral("正在搜索电台目录..."));
    request_ = directory_->Search(query_);
    UpdateButtons();
}

void RadioDirectoryWindow::OnStations(std::uint64_t request, const StationQuery&, const std::vector<RadioStation>& stations) {
    if (request != request_) return;
    request_ = 0;
    showingStationList_ = false;
    lastPageFull_ = static_cast<int>(stations.size()) >= pageSize_;
    std::vector<Row> rows;
    std::vector<QStringList> columns;
    rows.reserve(stations.size());
    columns.reserve(stations.size());
    for (const RadioStation& s : stations) {
        rows.push_back({s.name, s.PlayAddress(), s.stationuuid, s.favicon});
        columns.push_back({s.name, s.country, s.codec, s.bitrate > 0 ? QStringLiteral("%1 kbps").arg(s.bitrate) : QString(),
                           s.tags, QString::number(s.votes)});
    }
    ShowRows(std::move(rows), columns);
    status_->setText(stations.empty() ? QStringLiteral("没有找到电台") : QStringLiteral("找到 %1 个电台").arg(stations.size()));
    for (const Row& r : rows_)
        if (!r.favicon.isEmpty()) directory_->Icon(r.favicon);
}

void RadioDirectoryWindow::OnFailed(std::uint64_t request, const QString& message, bool unreachable) {
    if (request != request_) return;
    request_ = 0;
    if (!unreachable) {
        // A hostile or broken answer: what is shown stays.
        status_->setText(message);
        UpdateButtons();
        return;
    }
    ShowStationList();
    status_->setText(QStringLiteral("无法连接电台目录。下面是“在线电台”中已有的电台。"));
}

void RadioDirectoryWindow::ShowStationList() {
    const ListFile list = ReadListFile(radioFile_);
    std::vector<Row> rows;
    std::vector<QStringList> columns;
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        rows.push_back({list.entries[i], list.links.value(i), QString(), QString()});
        columns.push_back({list.entries[i]});
    }
    showingStationList_ = true;
    lastPageFull_ = false;
    page_ = 0;
    ShowRows(std::move(rows), columns);
}

void RadioDirectoryWindow::ShowRows(std::vector<Row> rows, const std::vector<QStringList>& columns) {
    rows_ = std::move(rows);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(columns.size()));
    for (const QStringList& c : columns) {
        auto* item = new QTreeWidgetItem(c);
        item->setTextAlignment(kBitrate, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kVotes, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    results_->setUpdatesEnabled(false);
    results_->clear();
    results_->addTopLevelItems(items);
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        const QImage icon = rows_[static_cast<size_t>(i)].favicon.isEmpty()
                                ? QImage()
                                : directory_->KeptIcon(rows_[static_cast<size_t>(i)].favicon);
        if (!icon.isNull()) items[i]->setIcon(kName, QPixmap::fromImage(icon.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    results_->setUpdatesEnabled(true);
    if (!items.isEmpty()) results_->setCurrentItem(items.first());
    UpdateButtons();
    Q_EMIT RowsShown();
}

void RadioDirectoryWindow::OnIcon(const QString& address, const QImage& icon) {
    const QPixmap pixmap = QPixmap::fromImage(icon.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    for (int i = 0; i < static_cast<int>(rows_.size()) && i < results_->topLevelItemCount(); ++i)
        if (rows_[static_cast<size_t>(i)].favicon == address) results_->topLevelItem(i)->setIcon(kName, pixmap);
}

int RadioDirectoryWindow::SelectedRow() const {
    const QTreeWidgetItem* item = results_->currentItem();
    if (!item) return -1;
    const int row = results_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
    return row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

void RadioDirectoryWindow::Listen() {
    const int row = SelectedRow();
    if (row < 0) return;
    const Row& r = rows_[static_cast<size_t>(row)];
    if (onListen) onListen(r.name, r.address);
    // The directory counts the stations its users start.
    if (!r.stationuuid.isEmpty()) directory_->Click(r.stationuuid);
}

bool RadioDirectoryWindow::AddSelected() {
    const int row = SelectedRow();
    if (row < 0 || showingStationList_) return false;
    const Row& r = rows_[static_cast<size_t>(row)];
    const bool ok = FavouritesEditor(radioFile_).Append({FavouriteLine(r.name, r.address)});
    status_->setText(ok ? QStringLiteral("已添加到在线电台：%1").arg(r.name)
                        : QStringLiteral("无法写入“radio.txt”，电台没有添加"));
    if (ok && onAdded) onAdded();
    return ok;
}

void RadioDirectoryWindow::UpdateButtons() {
    const bool busy = request_ != 0;
    const bool selected = SelectedRow() >= 0;
    previous_->setEnabled(!busy && !showingStationList_ && page_ > 0);
    next_->setEnabled(!busy && !showingStationList_ && lastPageFull_);
    listen_->setEnabled(selected);
    add_->setEnabled(selected && !showingStationList_);
    pageLabel_->setText(showingStationList_ ? QString() : QStringLiteral("第 %1 页").arg(page_ + 1));
}

}  // namespace tavo
