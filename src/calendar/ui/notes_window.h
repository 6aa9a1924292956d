#pragma once
// The notes window `menuFrm` ("Tavo音乐盒2010 - 记事便笺"): the years and
// days that have notes, the chosen day's note in an editor, the searches.
// Thin glue: NotesLogic decides, the window copies `NotesLogic::ui` onto its
// controls and reports what the user did.
//
// There is at most one notes window. The main window opens it through
// OpenNotesWindow; the program's exit path calls SaveUnsavedNotes.

#include "calendar/core/notes_logic.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavo {

class menuFrm : public QWidget {
    Q_OBJECT
public:
    explicit menuFrm(DateClock today = {}, QWidget* parent = nullptr);
    ~menuFrm() override;

    NotesLogic& logic() { return logic_; }

    // Shows the note of `day` (the lists filled for its year).
    bool goToDay(const QDate& day);
    // SaveUnsaved of the logic, with the editors' current text.
    bool SaveUnsaved();

    // Controls, by their names.
    QComboBox* Combo1() const { return combo1_; }
    QListWidget* list1() const { return list1_; }
    QPlainTextEdit* Text1() const { return text1_; }
    QLineEdit* Text2() const { return text2_; }
    QCheckBox* Check1() const { return check1_; }
    QPushButton* Command2() const { return command2_; }
    QFrame* Frame1() const { return frame1_; }
    QListWidget* List2() const { return list2_; }
    QLabel* command3() const { return command3_; }
    QPlainTextEdit* Text3() const { return text3_; }
    QPushButton* Command1(int index) const { return index == 1 ? command1_ : nullptr; }
    // Saves the editor this long after the last key stroke.
    QTimer& AutoSaveTimer() { return autoSave_; }

Q_SIGNALS:
    // The window has run its closing steps (notes may have been added or
    // removed): the month grid refills.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildControls();
    // Reports the editors' and search controls' state to the logic.
    void Pull();
    // Copies the logic's state onto the controls.
    void Push();
    // Runs one handler between Pull and Push (not re-entered).
    void Handle(const std::function<void()>& handler);

    NotesLogic logic_;
    QTimer autoSave_;
    bool busy_ = false;
    int text1Revision_ = -1, text1Sel_ = -1, text3Revision_ = -1, text3Sel_ = -1, focusRevision_ = 0;

    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QListWidget* list1_ = nullptr;
    QPlainTextEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QFrame* frame1_ = nullptr;
    QLabel* label2_ = nullptr;
    QListWidget* list2_ = nullptr;
    QLabel* command3_ = nullptr;
    QPlainTextEdit* text3_ = nullptr;
    QPushButton* command1_ = nullptr;
};

// The open notes window, or null.
menuFrm* NotesWindow();

// What the main window does to show the notes of `day` (a click on a day
// with a note, or the notes button with today): opens the notes database
// unless the window already holds it; on failure shows "记事数据库丢失或损坏！"
// (title "出错啦！") and returns false. A minimised window is only restored;
// otherwise it goes to the day and is shown. `refillGrid` runs after the
// window has closed. `today` is used only when the window is created.
bool OpenNotesWindow(const QDate& day, const std::function<void()>& refillGrid, DateClock today = {});

// The program's "save what is unsaved" step for the notes: when the notes
// window is open, its edit is saved (a failure shows a message) and empty
// notes are removed. True when nothing was left unsaved. Also run
// automatically when the application is about to quit.
bool SaveUnsavedNotes();

}  // namespace tavo
