#include "lyrics/ui/lyrics_search_dialog.h"

#include "platform/ansi_text.h"
#include "platform/codepage.h"
#include "platform/core/media_player.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <system_error>

namespace tavo {

std::optional<QString> ReadLrcFile(const std::filesystem::path& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > static_cast<std::uintmax_t>(kMaxLrcFileBytes)) return std::nullopt;
    QFile f(platform::PathToQString(file));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = f.read(kMaxLrcFileBytes + 1);
    if (bytes.size() > kMaxLrcFileBytes) return std::nullopt;
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    if (platform::IsValidUtf8(bytes)) return QString::fromUtf8(bytes);
    return platform::DecodeGb18030(bytes);
}

QString LyricTextOf(const LibraryTrack& track) {
    if (!track.syncedLyrics.isEmpty()) return track.syncedLyrics;
    if (!track.plainLyrics.isEmpty()) return track.plainLyrics;
    return track.instrumental ? QString::fromLatin1(kInstrumentalMark) : QString();
}

LyricsSearchDialog::LyricsSearchDialog(LyricsFinder* finder, const QString& libraryBase, LyricsSong song, QWidget* parent)
    : QDialog(parent), finder_(finder), library_(libraryBase), song_(std::move(song)) {
    setWindowTitle(QStringLiteral("搜索歌词 - ") + song_.name);
    resize(640, 360);
    results_ = new QTreeWidget(this);
    results_->setColumnCount(5);
    results_->setHeaderLabels({QStringLiteral("歌名"), QStringLiteral("歌手"), QStringLiteral("专辑"),
                               QStringLiteral("时长"), QStringLiteral("歌词")});
    results_->setRootIsDecorated(false);
    results_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    results_->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    use_ = new QPushButton(QStringLiteral("使用所选歌词"), this);
    load_ = new QPushButton(QStringLiteral("载入LRC文件..."), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    status_ = new QLabel(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(load_);
    buttons->addWidget(use_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(results_, 1);
    layout->addLayout(buttons);

    askFile = [this]() -> std::optional<std::filesystem::path> {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("载入歌词"), QString(),
                                                          QStringLiteral("歌词文件 (*.lrc);;所有文件 (*)"));
        if (file.isEmpty()) return std::nullopt;
        return platform::QStringToPath(file);
    };
    connect(use_, &QPushButton::clicked, this, [this] {
        if (UseSelected()) accept();
    });
    connect(results_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (UseSelected()) accept();
    });
    connect(load_, &QPushButton::clicked, this, [this] {
        const auto file = askFile ? askFile() : std::nullopt;
        if (file && LoadFile(*file)) accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(&library_, &LyricsLibraryClient::Listed, this, &LyricsSearchDialog::OnListed);
    connect(&library_, &LyricsLibraryClient::ListFailed, this, &LyricsSearchDialog::OnFailed);
    Search();
}

void LyricsSearchDialog::Search() {
    status_->setText(QStringLiteral("正在搜索歌词库..."));
    use_->setEnabled(false);
    request_ = library_.List(LibraryQueryFor(song_.name, song_.album, song_.durationS));
}

void LyricsSearchDialog::OnListed(std::uint64_t request, const std::vector<LibraryTrack>& tracks) {
    if (request != request_) return;
    tracks_.clear();
    QList<QTreeWidgetItem*> items;
    for (const LibraryTrack& t : tracks) {
        if (!t.HasLyrics()) continue;
        tracks_.push_back(t);
        const QString kind = !t.syncedLyrics.isEmpty() ? QStringLiteral("同步")
                             : !t.plainLyrics.isEmpty() ? QStringLiteral("文本")
                                                        : QStringLiteral("纯音乐");
        items.append(new QTreeWidgetItem(
            {t.trackName, t.artistName, t.albumName, platform::FormatMinutesSeconds(std::floor(t.duration)), kind}));
    }
    results_->clear();
    results_->addTopLevelItems(items);
    if (!items.isEmpty()) results_->setCurrentItem(items.first());
    use_->setEnabled(!items.isEmpty());
    status_->setText(items.isEmpty() ? QStringLiteral("歌词库中没有这首歌") : QStringLiteral("找到 %1 个结果").arg(items.size()));
    Q_EMIT ResultsShown();
}

void LyricsSearchDialog::OnFailed(std::uint64_t request, const QString& reason, bool) {
    if (request != request_) return;
    status_->setText(reason);
    Q_EMIT ResultsShown();
}

bool LyricsSearchDialog::UseSelected() {
    const QTreeWidgetItem* item = results_->currentItem();
    const int row = item ? results_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
    if (row < 0 || row >= static_cast<int>(tracks_.size())) return false;
    finder_->Choose(song_, LyricTextOf(tracks_[static_cast<size_t>(row)]));
    return true;
}

bool LyricsSearchDialog::LoadFile(const std::filesystem::path& file) {
    const auto text = ReadLrcFile(file);
    if (!text || !ReadLyricText(*text)) {
        status_->setText(QStringLiteral("无法读取这个歌词文件"));
        return false;
    }
    finder_->Choose(song_, *text);
    return true;
}

}  // namespace tavo
