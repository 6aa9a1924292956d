#pragma once
// The notes window's decisions, without the window: which years and days are
// listed, which day's note the editor holds, when an edit is saved, the two
// searches, and the closing steps. The window (menuFrm) shows `ui` and hands
// user input to the handlers, which are named after their control and event.
//
// Storage goes through the notes window's connection, NotesConn.
//
// Invariant: the visible editor (Text1, or Text3 while the search-result
// panel is open) holds the note of CurDate. Before CurDate changes or the
// other editor is shown, the visible editor is saved when its text differs
// from the text loaded or last saved (SavedText1, SavedText3); when that
// save fails the change does not happen, so typed text is never replaced.
// When no day is shown, CurDate is empty and the editor is read-only.

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace tavo {

class NotesDb;

// Today's date; injected so that tests can choose it.
using DateClock = std::function<QDate()>;

inline const QString kNotesTitle = QStringLiteral("Tavo音乐盒2010 - 记事便笺");
inline const QString kTodayMark = QStringLiteral("(今日)");

// One multi-line editor (Text1 or Text3). The revisions count changes made
// by the logic, so that the window copies only what changed.
struct NotesEditor {
    QString text;
    int selStart = 0;
    int selLength = 0;
    bool visible = false;
    bool readOnly = true;
    int textRevision = 0;
    int selRevision = 0;
};

// What the window shows.
struct NotesControls {
    QStringList Combo1;  // "2010年", ...
    QString Combo1Text;
    QStringList list1;   // "YYYY-MM-DD", today's followed by "(今日)"
    int list1Index = -1;
    NotesEditor Text1;
    QString Text2;       // search text
    bool Check1 = false; // search all notes
    bool Frame1Visible = false;
    QStringList List2;   // dates found by the all-notes search
    int List2Index = -1;
    NotesEditor Text3;
    enum class Focus { None, Text1, Text3 };
    Focus focus = Focus::None;
    int focusRevision = 0;
};

class NotesLogic {
public:
    explicit NotesLogic(DateClock today = {});

    NotesControls ui;

    // ---- state of the window
    bool Ready = false;
    QString CurYearText;
    QString CurDate;
    QString SavedText1;
    QString SavedText3;
    std::int16_t FindCount() const;
    QString LastKey;

    // ---- what the user did in the editors (the window reports it before a handler runs)
    void Typed(NotesEditor& editor, const QString& text);
    void Selected(NotesEditor& editor, int start, int length);

    // ---- handlers
    // Fills the lists and shows the note of `day`; on today, makes today's
    // row when it is missing. False when an unsaved edit could not be saved
    // (nothing changed then).
    bool goToDay(const QDate& day);
    void Combo1_Click(const QString& text);
    void list1_Click(int index);
    void List2_Click(int index);
    void Text1_LostFocus();
    void Text3_LostFocus();
    void Text2_GotFocus();
    void Command2_Click();
    void command3_Click();
    // The closing steps. False when the window must stay open (a save failed
    // and the user chose to keep the text).
    bool Unload();

    // Saves the visible editor when it differs from the text stored and
    // removes empty notes, leaving the window as it is: what must happen
    // before the program ends. False when the save failed (the message has
    // been shown).
    bool SaveUnsaved();

    // Saves the visible editor when it differs from the text stored.
    // Failure shows a message (once for the same text) and returns false.
    bool LeaveEditor();
    // The same without a message: the window calls it when typing pauses,
    // so that a crash loses at most the last few seconds of typing. A
    // failure is reported by the next LeaveEditor.
    void AutoSave();

    // The date of a day-list entry ("(今日)" removed, spaces trimmed).
    static QString EntryDate(const QString& entry);

private:
    QDate Today() const;
    NotesEditor& Visible() { return ui.Text1.visible ? ui.Text1 : ui.Text3; }
    // The text an editor was loaded with or last saved as.
    QString& SavedOf(const NotesEditor& editor) { return &editor == &ui.Text1 ? SavedText1 : SavedText3; }
    QString& SavedOfVisible() { return SavedOf(Visible()); }
    void SetText(NotesEditor& editor, const QString& text);
    void Select(NotesEditor& editor, int start, int length);
    void Focus(NotesControls::Focus f);
    void ShowNothing(NotesEditor& editor);
    bool Store(const QString& text, bool quiet);
    QStringList DayEntries(const QString& year) const;
    // Shows the note of `date` in `editor`, the caret at its end or start;
    // false (and nothing shown) when the note cannot be read.
    bool LoadNote(NotesEditor& editor, const QString& date, bool caretAtEnd);
    bool SelectList1(int index);
    bool SelectList2(int index);
    void ShowSingleView();
    void SearchOneNote();
    void SearchAllNotes();

    DateClock today_;
    int findCount_ = 0;
    std::optional<QString> failedText_;  // the text whose failed save was last reported
};

// Short messages of the notes window (title "提示", information icon).
void NotesInfo(const QString& text);

}  // namespace tavo
