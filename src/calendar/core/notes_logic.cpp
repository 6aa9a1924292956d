#include "calendar/core/notes_logic.h"

#include "calendar/date_day.h"
#include "calendar/core/notes_store.h"
#include "platform/message_box.h"

#include <limits>

namespace tavo {

using platform::Messages;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

const QString kYearSuffix = QStringLiteral("年");
const QString kErrorTitle = QStringLiteral("出错啦！");
const QString kSaveFailed =
    QStringLiteral("记事没有保存成功（记事数据库无法写入，可能是磁盘已满或文件只读）。\n"
                   "您输入的内容仍在编辑框中，请稍后再试。");
const QString kCloseUnsaved =
    QStringLiteral("记事没有保存成功（记事数据库无法写入，可能是磁盘已满或文件只读）。\n"
                   "现在关闭将丢失这次的修改。仍然关闭吗？");

bool IsDay(const QString& date) { return QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid(); }

}  // namespace

void NotesInfo(const QString& text) {
    Messages().Show(text, QStringLiteral("提示"), MsgButtons::Ok, MsgIcon::Information);
}

NotesLogic::NotesLogic(DateClock today) : today_(std::move(today)) {
    ui.Text1.visible = true;
}

QDate NotesLogic::Today() const { return today_ ? today_() : QDate::currentDate(); }

std::int16_t NotesLogic::FindCount() const {
    return static_cast<std::int16_t>(std::min(findCount_, int{std::numeric_limits<std::int16_t>::max()}));
}

QString NotesLogic::EntryDate(const QString& entry) {
    QString date = entry;
    date.remove(kTodayMark);
    return date.trimmed();
}

// ---------------------------------------------------------------- editors

void NotesLogic::Typed(NotesEditor& editor, const QString& text) { editor.text = text; }

void NotesLogic::Selected(NotesEditor& editor, int start, int length) {
    editor.selStart = start;
    editor.selLength = length;
}

void NotesLogic::SetText(NotesEditor& editor, const QString& text) {
    editor.text = text;
    ++editor.textRevision;
}

void NotesLogic::Select(NotesEditor& editor, int start, int length) {
    editor.selStart = start;
    editor.selLength = length;
    ++editor.selRevision;
}

void NotesLogic::Focus(NotesControls::Focus f) {
    ui.focus = f;
    ++ui.focusRevision;
}

void NotesLogic::ShowNothing(NotesEditor& editor) {
    SetText(editor, QString());
    Select(editor, 0, 0);
    editor.readOnly = true;
    CurDate.clear();
    SavedOf(editor).clear();
}

bool NotesLogic::Store(const QString& text, bool quiet) {
    if (!IsDay(CurDate)) return true;  // no day shown: nothing to save
    NotesDb* db = NotesConn.get();
    if (db != nullptr && db->StoreNote(CurDate, text) != NotesDb::StoreResult::Failed) {
        // What is stored now is the text to compare with: a later edit back
        // to the text first loaded is a change again.
        SavedOfVisible() = text;
        failedText_.reset();
        return true;
    }
    if (!quiet && failedText_ != text) {
        Messages().Show(kSaveFailed, kErrorTitle, MsgButtons::Ok, MsgIcon::Exclamation);
        failedText_ = text;
    }
    return false;
}

bool NotesLogic::LeaveEditor() {
    const NotesEditor& editor = Visible();
    if (editor.text == SavedOfVisible()) return true;
    return Store(editor.text, false);
}

void NotesLogic::AutoSave() {
    const NotesEditor& editor = Visible();
    if (Ready && !editor.readOnly && editor.text != SavedOfVisible()) Store(editor.text, true);
}

void NotesLogic::Text1_LostFocus() {
    if (ui.Text1.visible) LeaveEditor();
}

void NotesLogic::Text3_LostFocus() {
    if (ui.Text3.visible) LeaveEditor();
}

void NotesLogic::Text2_GotFocus() { Select(ui.Text1, 0, 0); }

// ---------------------------------------------------------------- lists

QStringList NotesLogic::DayEntries(const QString& year) const {
    QStringList entries;
    if (NotesDb* db = NotesConn.get()) entries = db->DaysOfYear(year);
    const QString today = DateDay::DateText(Today());
    for (QString& e : entries)
        if (e.trimmed() == today) e += kTodayMark;
    return entries;
}

bool NotesLogic::LoadNote(NotesEditor& editor, const QString& date, bool caretAtEnd) {
    bool ok = false;
    const std::optional<QString> note = NotesConn ? NotesConn->FindNote(date, &ok) : std::nullopt;
    if (!ok) {
        // Unreadable: show nothing rather than let an edit overwrite the stored note.
        ShowNothing(editor);
        return false;
    }
    // A day whose row has gone meanwhile shows an empty note.
    SetText(editor, note.value_or(QString()));
    Select(editor, caretAtEnd ? static_cast<int>(editor.text.size()) : 0, 0);
    editor.readOnly = false;
    CurDate = date;
    SavedOf(editor) = editor.text;
    return true;
}

bool NotesLogic::SelectList1(int index) {
    if (index < 0 || index >= ui.list1.size()) return false;
    if (!LeaveEditor()) return false;
    ui.list1Index = index;
    if (LoadNote(ui.Text1, EntryDate(ui.list1[index]), true) && Ready) Focus(NotesControls::Focus::Text1);
    return true;
}

bool NotesLogic::SelectList2(int index) {
    if (index < 0 || index >= ui.List2.size()) return false;
    if (!LeaveEditor()) return false;
    ui.List2Index = index;
    if (LoadNote(ui.Text3, ui.List2[index].trimmed(), false)) Focus(NotesControls::Focus::Text3);
    return true;
}

bool NotesLogic::goToDay(const QDate& day) {
    if (!LeaveEditor()) return false;
    const QString date = DateDay::DateText(day);
    NotesDb* db = NotesConn.get();
    const QDate today = Today();
    if (day == today && db != nullptr) {
        bool ok = false;
        if (!db->FindNote(date, &ok) && ok) db->AddDay(today.toString(QStringLiteral("yyyy")),
                                                       today.toString(QStringLiteral("yyyy-MM")), date);
    }
    // A fresh view: the search-result panel closes.
    ui.Frame1Visible = false;
    ui.Text3.visible = false;
    ui.Text1.visible = true;
    ui.List2.clear();
    ui.List2Index = -1;
    LastKey.clear();

    ui.Combo1.clear();
    ui.list1.clear();
    ui.list1Index = -1;
    if (db != nullptr)
        for (const QString& y : db->Years()) ui.Combo1.append(y + kYearSuffix);
    ui.Combo1Text = day.toString(QStringLiteral("yyyy")) + kYearSuffix;
    ui.list1 = DayEntries(day.toString(QStringLiteral("yyyy")));
    int chosen = 0;
    for (int i = 0; i < ui.list1.size(); ++i)
        if (EntryDate(ui.list1[i]) == date) {
            chosen = i;
            break;
        }
    if (!SelectList1(chosen)) ShowNothing(ui.Text1);
    Ready = true;
    CurYearText = ui.Combo1Text;
    return true;
}

void NotesLogic::Combo1_Click(const QString& text) {
    ui.Combo1Text = text;
    if (text == CurYearText || !Ready) return;
    if (!LeaveEditor()) {
        ui.Combo1Text = CurYearText;
        return;
    }
    QString year = text;
    year.remove(kYearSuffix);
    ui.list1 = DayEntries(year.trimmed());
    ui.list1Index = -1;
    if (!ui.list1.isEmpty()) SelectList1(0);
    CurYearText = text;
}

void NotesLogic::list1_Click(int index) { SelectList1(index); }

void NotesLogic::List2_Click(int index) { SelectList2(index); }

// ---------------------------------------------------------------- search

void NotesLogic::Command2_Click() {
    if (ui.Text2.trimmed().isEmpty()) return;
    if (ui.Check1)
        SearchAllNotes();
    else
        SearchOneNote();
}

void NotesLogic::ShowSingleView() {
    ui.Frame1Visible = false;
    if (!ui.Text3.visible) return;
    ui.Text3.visible = false;
    ui.Text1.visible = true;
    // Text1 shows the day list's note again, reloaded: it may have been edited in Text3.
    if (!SelectList1(ui.list1Index)) ShowNothing(ui.Text1);
}

void NotesLogic::SearchOneNote() {
    if (ui.Text3.visible && !LeaveEditor()) return;
    ShowSingleView();
    Focus(NotesControls::Focus::Text1);
    NotesEditor& t = ui.Text1;
    if (findCount_ == 0) Select(t, 0, 0);
    const qsizetype at = t.text.indexOf(ui.Text2, t.selStart + t.selLength, Qt::CaseSensitive);
    if (at >= 0) {
        Select(t, static_cast<int>(at), static_cast<int>(ui.Text2.size()));
        ++findCount_;
        return;
    }
    NotesInfo(QStringLiteral("查找完成，共到到 ") + QString::number(findCount_) + QStringLiteral(" 处。"));
    findCount_ = 0;
}

void NotesLogic::SearchAllNotes() {
    if (!LeaveEditor()) return;
    const bool wasSingle = ui.Text1.visible;
    ui.Frame1Visible = true;
    ui.Text3.visible = true;
    ui.Text1.visible = false;
    const QString key = ui.Text2;
    if (key != LastKey) {
        ui.List2.clear();
        ui.List2Index = -1;
        if (NotesDb* db = NotesConn.get())
            for (const QString& d : db->SearchDays(key)) ui.List2.append(d.trimmed());
        if (!SelectList2(0)) ShowNothing(ui.Text3);
    } else if (wasSingle) {
        // Back to the panel: Text3 shows its day's note again, reloaded.
        if (!SelectList2(ui.List2Index)) ShowNothing(ui.Text3);
    }
    NotesEditor& t = ui.Text3;
    for (;;) {
        Focus(NotesControls::Focus::Text3);
        const qsizetype at =
            ui.List2Index < 0 ? -1 : t.text.indexOf(key, t.selStart + t.selLength, Qt::CaseSensitive);
        if (at >= 0) {
            Select(t, static_cast<int>(at), static_cast<int>(key.size()));
            break;
        }
        if (ui.List2Index >= 0 && ui.List2Index < ui.List2.size() - 1) {
            if (!SelectList2(ui.List2Index + 1)) break;  // an edit could not be saved
            Select(t, 0, 0);
            continue;
        }
        NotesInfo(QStringLiteral("己经完成所有查找！"));
        break;
    }
    LastKey = key;
}

void NotesLogic::command3_Click() {
    if (!LeaveEditor()) return;
    ui.Frame1Visible = false;
    ui.Text3.visible = false;
    ui.Text1.visible = true;
    ui.List2.clear();
    ui.List2Index = -1;
    LastKey.clear();
    if (!SelectList1(ui.list1Index)) ShowNothing(ui.Text1);
}

// ---------------------------------------------------------------- closing

bool NotesLogic::Unload() {
    const NotesEditor& editor = Visible();
    if (editor.text != SavedOfVisible() && !Store(editor.text, true)) {
        if (Messages().Show(kCloseUnsaved, kErrorTitle, MsgButtons::YesNo, MsgIcon::Exclamation) != MsgResult::Yes)
            return false;
    }
    SavedText1.clear();
    SavedText3.clear();
    if (NotesConn) NotesConn->RemoveEmptyNotes();
    Ready = false;
    failedText_.reset();
    CloseNotesDb();
    return true;
}

bool NotesLogic::SaveUnsaved() {
    const bool saved = LeaveEditor();
    if (saved && NotesConn) NotesConn->RemoveEmptyNotes();
    return saved;
}

}  // namespace tavo
