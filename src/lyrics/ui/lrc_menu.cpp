#include "lyrics/ui/lrc_menu.h"

#include "lyrics/lyric_offsets.h"

#include <QActionGroup>

namespace tavo {

LrcMenu::LrcMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("M_Lrc"));
    connect(Add(QStringLiteral("M_LrcLock"), QStringLiteral("锁定歌词"), true), &QAction::triggered, this,
            &LrcMenu::LockChosen);
    addSeparator();
    auto* lines = new QActionGroup(this);
    const struct {
        const char* name;
        const char16_t* caption;
        int lines;
    } kLines[] = {{"M_LrcLines1", u"单行歌词", 1}, {"M_LrcLines2", u"双行歌词", 2}, {"M_LrcLines5", u"五行滚动歌词", 5}};
    for (const auto& l : kLines) {
        QAction* item = Add(QString::fromLatin1(l.name), QString::fromUtf16(l.caption), true);
        lines->addAction(item);
        const int n = l.lines;
        connect(item, &QAction::triggered, this, [this, n] { Q_EMIT LinesChosen(n); });
    }
    connect(Add(QStringLiteral("M_LrcKaraoke"), QStringLiteral("卡拉OK逐字填充"), true), &QAction::triggered, this,
            &LrcMenu::KaraokeChosen);
    connect(Add(QStringLiteral("M_LrcTranslation"), QStringLiteral("显示翻译"), true), &QAction::triggered, this,
            &LrcMenu::TranslationChosen);
    addSeparator();
    connect(Add(QStringLiteral("M_LrcEarlier"), QStringLiteral("歌词提前 0.5 秒"), false), &QAction::triggered, this,
            [this] { Q_EMIT OffsetStep(kLyricOffsetStepMs); });
    connect(Add(QStringLiteral("M_LrcLater"), QStringLiteral("歌词延后 0.5 秒"), false), &QAction::triggered, this,
            [this] { Q_EMIT OffsetStep(-kLyricOffsetStepMs); });
    addSeparator();
    connect(Add(QStringLiteral("M_LrcSearch"), QStringLiteral("搜索歌词…"), false), &QAction::triggered, this,
            &LrcMenu::SearchAsked);
    connect(Add(QStringLiteral("M_LrcLook"), QStringLiteral("歌词设置…"), false), &QAction::triggered, this,
            &LrcMenu::LookDialogAsked);
    connect(Add(QStringLiteral("M_LrcPlayerMenu"), QStringLiteral("播放器设置…"), false), &QAction::triggered, this,
            &LrcMenu::PlayerMenuAsked);
}

QAction* LrcMenu::Add(const QString& name, const QString& caption, bool checkable) {
    QAction* item = addAction(caption);
    item->setObjectName(name);
    item->setCheckable(checkable);
    return item;
}

QAction* LrcMenu::Item(const QString& name) const { return findChild<QAction*>(name); }

void LrcMenu::Prepare(const LyricOptions& look) {
    Item(QStringLiteral("M_LrcLock"))->setChecked(look.locked);
    Item(QStringLiteral("M_LrcLines%1").arg(look.lines == 2 || look.lines == 5 ? look.lines : 1))->setChecked(true);
    Item(QStringLiteral("M_LrcKaraoke"))->setChecked(look.karaoke);
    Item(QStringLiteral("M_LrcTranslation"))->setChecked(look.translation);
}

}  // namespace tavo
