#include "calendar/ui/notes_window.h"

#include "calendar/core/notes_store.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>

namespace tavo {

namespace {

QPointer<menuFrm> g_window;
std::function<void()> g_refillGrid;

// The editor's text as the logic keeps it: line breaks as "\n", every other
// character (a no-break space too) as typed.
QString EditorText(const QPlainTextEdit* edit) {
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void CopyListItems(QListWidget* list, const QStringList& items, int current) {
    const QSignalBlocker block(list);
    bool same = list->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = list->item(i)->text() == items[i];
    if (!same) {
        list->clear();
        list->addItems(items);
    }
    list->setCurrentRow(current);
}

void CopyEditor(QPlainTextEdit* edit, const NotesEditor& state, int& textRevision, int& selRevision) {
    if (state.textRevision != textRevision) {
        const QSignalBlocker block(edit);
        edit->setPlainText(state.text);
        edit->document()->setModified(false);
        textRevision = state.textRevision;
        selRevision = -1;
    }
    if (state.selRevision != selRevision) {
        QTextCursor c = edit->textCursor();
        const int end = edit->document()->characterCount() - 1;
        c.setPosition(std::clamp(state.selStart, 0, end));
        c.setPosition(std::clamp(state.selStart + state.selLength, 0, end), QTextCursor::KeepAnchor);
        edit->setTextCursor(c);
        edit->ensureCursorVisible();
        selRevision = state.selRevision;
    }
    edit->setReadOnly(state.readOnly);
    edit->setVisible(state.visible);
}

}  // namespace

menuFrm::menuFrm(DateClock today, QWidget* parent) : QWidget(parent, Qt::Window), logic_(std::move(today)) {
    setObjectName(QStringLiteral("menuFrm"));
    setWindowTitle(kNotesTitle);
    BuildControls();
    Push();
}

menuFrm::~menuFrm() = default;

void menuFrm::BuildControls() {
    // Left: the years and days that have notes, and the search results under
    // them; right: the note; below both: the search line and the exit button.
    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    label1_ = new QLabel(QStringLiteral("◆ 所有记事"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("list1"));
    frame1_ = new QFrame(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame1_);
    frameLayout->setContentsMargins(6, 4, 6, 6);
    auto* frameHead = new QHBoxLayout;
    label2_ = new QLabel(QStringLiteral("◆ 查找到的记事"), frame1_);
    label2_->setObjectName(QStringLiteral("Label2"));
    command3_ = new QLabel(QStringLiteral("×"), frame1_);
    command3_->setObjectName(QStringLiteral("command3"));
    command3_->setCursor(Qt::PointingHandCursor);
    command3_->setToolTip(QStringLiteral("关闭查找结果"));
    command3_->installEventFilter(this);
    frameHead->addWidget(label2_);
    frameHead->addStretch(1);
    frameHead->addWidget(command3_);
    list2_ = new QListWidget(frame1_);
    list2_->setObjectName(QStringLiteral("List2"));
    frameLayout->addLayout(frameHead);
    frameLayout->addWidget(list2_);
    left->addWidget(label1_);
    left->addWidget(combo1_);
    left->addWidget(list1_, 3);
    left->addWidget(frame1_, 2);

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text3_ = new QPlainTextEdit(this);
    text3_->setObjectName(QStringLiteral("Text3"));
    for (QPlainTextEdit* t : {text1_, text3_}) {
        t->setTabChangesFocus(true);
        t->installEventFilter(this);
    }
    auto* notes = new QVBoxLayout;
    notes->addWidget(text1_);
    notes->addWidget(text3_);

    auto* searchRow = new QHBoxLayout;
    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setPlaceholderText(QStringLiteral("要查找的文字"));
    text2_->installEventFilter(this);
    check1_ = new QCheckBox(QStringLiteral("查找所有"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    command2_ = new QPushButton(QStringLiteral("查找下一个"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command1_ = new QPushButton(QStringLiteral("退出记事"), this);
    command1_->setObjectName(QStringLiteral("Command1_1"));
    searchRow->addWidget(text2_, 1);
    searchRow->addWidget(check1_);
    searchRow->addWidget(command2_);
    searchRow->addSpacing(24);
    searchRow->addWidget(command1_);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addLayout(left, 0);
    top->addLayout(notes, 1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(8);
    root->addLayout(top, 1);
    root->addLayout(searchRow);
    for (QWidget* w : {static_cast<QWidget*>(combo1_), static_cast<QWidget*>(list1_), static_cast<QWidget*>(frame1_)})
        w->setFixedWidth(180);
    resize(620, 420);

    connect(combo1_, &QComboBox::activated, this,
            [this](int i) { Handle([this, i] { logic_.Combo1_Click(combo1_->itemText(i)); }); });
    connect(list1_, &QListWidget::currentRowChanged, this,
            [this](int row) { Handle([this, row] { logic_.list1_Click(row); }); });
    connect(list2_, &QListWidget::currentRowChanged, this,
            [this](int row) { Handle([this, row] { logic_.List2_Click(row); }); });
    connect(command2_, &QPushButton::clicked, this, [this] { Handle([this] { logic_.Command2_Click(); }); });
    connect(text2_, &QLineEdit::returnPressed, this, [this] { Handle([this] { logic_.Command2_Click(); }); });
    connect(command1_, &QPushButton::clicked, this, &QWidget::close);
    autoSave_.setSingleShot(true);
    autoSave_.setInterval(3000);
    connect(&autoSave_, &QTimer::timeout, this, [this] { Handle([this] { logic_.AutoSave(); }); });
    for (QPlainTextEdit* t : {text1_, text3_})
        connect(t, &QPlainTextEdit::textChanged, &autoSave_, qOverload<>(&QTimer::start));
}

void menuFrm::Pull() {
    NotesControls& ui = logic_.ui;
    const auto pullEditor = [this](QPlainTextEdit* edit, NotesEditor& state) {
        if (edit->document()->isModified()) {
            logic_.Typed(state, EditorText(edit));
            edit->document()->setModified(false);
        }
        const QTextCursor c = edit->textCursor();
        logic_.Selected(state, c.selectionStart(), c.selectionEnd() - c.selectionStart());
    };
    pullEditor(text1_, ui.Text1);
    pullEditor(text3_, ui.Text3);
    ui.Text2 = text2_->text();
    ui.Check1 = check1_->isChecked();
}

void menuFrm::Push() {
    const NotesControls& ui = logic_.ui;
    {
        const QSignalBlocker block(combo1_);
        QStringList items;
        for (int i = 0; i < combo1_->count(); ++i) items.append(combo1_->itemText(i));
        if (items != ui.Combo1) {
            combo1_->clear();
            combo1_->addItems(ui.Combo1);
        }
        combo1_->setCurrentIndex(combo1_->findText(ui.Combo1Text));
    }
    CopyListItems(list1_, ui.list1, ui.list1Index);
    CopyListItems(list2_, ui.List2, ui.List2Index);
    frame1_->setVisible(ui.Frame1Visible);
    CopyEditor(text1_, ui.Text1, text1Revision_, text1Sel_);
    CopyEditor(text3_, ui.Text3, text3Revision_, text3Sel_);
    if (ui.focusRevision != focusRevision_) {
        focusRevision_ = ui.focusRevision;
        if (ui.focus == NotesControls::Focus::Text1 && text1_->isVisibleTo(this)) text1_->setFocus();
        if (ui.focus == NotesControls::Focus::Text3 && text3_->isVisibleTo(this)) text3_->setFocus();
    }
}

void menuFrm::Handle(const std::function<void()>& handler) {
    if (busy_) return;
    busy_ = true;
    Pull();
    handler();
    Push();
    busy_ = false;
}

bool menuFrm::goToDay(const QDate& day) {
    bool ok = false;
    Handle([&] { ok = logic_.goToDay(day); });
    return ok;
}

bool menuFrm::SaveUnsaved() {
    if (!logic_.Ready) return true;
    Pull();
    const bool saved = logic_.SaveUnsaved();
    Push();
    return saved;
}

bool menuFrm::eventFilter(QObject* watched, QEvent* e) {
    if (logic_.Ready) {
        if (e->type() == QEvent::FocusOut && watched == text1_)
            Handle([this] { logic_.Text1_LostFocus(); });
        else if (e->type() == QEvent::FocusOut && watched == text3_)
            Handle([this] { logic_.Text3_LostFocus(); });
        else if (e->type() == QEvent::FocusIn && watched == text2_)
            Handle([this] { logic_.Text2_GotFocus(); });
        else if (e->type() == QEvent::MouseButtonRelease && watched == command3_)
            Handle([this] { logic_.command3_Click(); });
    }
    return QWidget::eventFilter(watched, e);
}

void menuFrm::closeEvent(QCloseEvent* e) {
    if (!logic_.Ready) {  // already unloaded (or never shown a day)
        e->accept();
        return;
    }
    if (busy_) {  // a message of a handler is open
        e->ignore();
        return;
    }
    bool unloaded = false;
    Handle([&] { unloaded = logic_.Unload(); });
    if (!unloaded) {
        e->ignore();
        return;
    }
    e->accept();
    Q_EMIT Unloaded();
}

// ---------------------------------------------------------------- opening and exit

menuFrm* NotesWindow() { return g_window.data(); }

bool OpenNotesWindow(const QDate& day, const std::function<void()>& refillGrid, DateClock today) {
    menuFrm* w = g_window.data();
    if (w == nullptr || !NotesConn) {
        // The window's own connection; the month grid opens separate ones.
        NotesDbOpen = OpenNotesDb(NotesDbPath);
        if (!NotesDbOpen) {
            platform::Messages().Show(QStringLiteral("记事数据库丢失或损坏！"), QStringLiteral("出错啦！"),
                                      platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
            return false;
        }
    }
    g_refillGrid = refillGrid;
    if (w == nullptr) {
        w = new menuFrm(std::move(today));
        w->setAttribute(Qt::WA_DeleteOnClose);
        if (const QScreen* screen = QGuiApplication::primaryScreen())  // a desktop without a window manager
            w->move(screen->availableGeometry().center() - w->rect().center());
        g_window = w;
        QObject::connect(w, &menuFrm::Unloaded, w, [] {
            if (g_refillGrid) g_refillGrid();
        });
        static bool quitHooked = false;
        if (!quitHooked && qApp != nullptr) {
            quitHooked = true;
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
                SaveUnsavedNotes();
                delete g_window.data();
                CloseNotesDb();
            });
        }
    }
    if (w->isMinimized()) {
        w->showNormal();
        return true;
    }
    if (!w->goToDay(day)) {  // an unsaved edit stays in the open window
        w->raise();
        return true;
    }
    w->show();
    w->raise();
    w->activateWindow();
    return true;
}

bool SaveUnsavedNotes() {
    menuFrm* w = g_window.data();
    return w == nullptr || w->SaveUnsaved();
}

}  // namespace tavo
