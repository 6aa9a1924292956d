// tavo-calendar-demo [--today YYYY-MM-DD] [--search TEXT] [--grab FOLDER]
//
// Shows the calendar strip (in a frame as wide as the main window) and the
// notes window on a sample notes database in a temporary folder. --search
// runs an all-notes search for TEXT in the notes window. With --grab, writes
// strip.png and notes-window.png into FOLDER and exits.
#include "calendar/ui/calendar_strip.h"
#include "calendar/core/notes_store.h"
#include "calendar/ui/notes_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <clocale>
#include <cstdio>

namespace {

using namespace tavo;

// A few notes around `today`, one of them long, one with several lines.
void FillSample(const QDate& today) {
    auto db = NotesDb::Open(NotesDbPath);
    if (!db) return;
    const struct {
        int offset;
        const char16_t* text;
    } notes[] = {
        {-12, u"交房租，顺便把水电费一起交了。"},
        {-5, u"和小王去看电影，晚上七点半，万达影城 5 号厅。记得提前取票，带上学生证。"},
        {-1, u"买菜：西红柿、鸡蛋、青菜\n给妈妈打电话"},
        {0, u"今天要做的事：\n1. 整理歌单\n2. 备份记事\n3. 早点睡觉"},
        {3, u"同学聚会"},
        {9, u"还图书馆的书"},
        {-40, u"上个月的记事"},
        {-400, u"去年的一条记事"},
    };
    for (const auto& n : notes) {
        const QDate d = today.addDays(n.offset);
        const QString date = d.toString(QStringLiteral("yyyy-MM-dd"));
        db->AddDay(date.left(4), date.left(7), date);
        db->SaveNote(date, QString::fromUtf16(n.text));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"today", "The day taken as today.", "YYYY-MM-DD"});
    parser.addOption({"search", "Search all notes for TEXT.", "TEXT"});
    parser.addOption({"grab", "Write strip.png and notes-window.png into FOLDER and exit.", "FOLDER"});
    parser.process(app);

    QDate today = QDate::fromString(parser.value("today"), QStringLiteral("yyyy-MM-dd"));
    if (!today.isValid()) today = QDate::currentDate();
    QTemporaryDir temp;
    NotesDbPath = std::filesystem::path(temp.path().toStdString()) / "notepad" / "notepad.mdb";
    if (!CreateNotesDb(NotesDbPath)) {
        std::fprintf(stderr, "tavo-calendar-demo: cannot make the sample notes\n");
        return 1;
    }
    FillSample(today);

    // The strip in a frame of the main window's width and background.
    QWidget frame;
    frame.setWindowTitle(QStringLiteral("Calendar strip"));
    QPalette pal = frame.palette();
    pal.setColor(QPalette::Window, QColor(236, 240, 246));
    frame.setPalette(pal);
    frame.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(12, 8, 12, 8);
    auto* strip = new CalendarStrip(&frame);
    const DateClock clock = [today] { return today; };
    strip->SetClock([today] { return QDateTime(today, QTime::currentTime()); });
    layout->addWidget(strip);
    frame.setFixedWidth(330);
    frame.move(20, 20);
    frame.show();
    QObject::connect(strip, &CalendarStrip::DayClicked, strip,
                     [strip, clock](const QDate& day) { OpenNotesWindow(day, [strip] { strip->RefillShownMonth(); }, clock); });
    QObject::connect(strip, &CalendarStrip::NotesRequested, strip,
                     [strip, clock](const QDate& day) { OpenNotesWindow(day, [strip] { strip->RefillShownMonth(); }, clock); });

    OpenNotesWindow(today, [strip] { strip->RefillShownMonth(); }, clock);
    if (menuFrm* w = NotesWindow()) {
        w->move(380, 20);
        if (parser.isSet("search")) {
            w->Text2()->setText(parser.value("search"));
            w->Check1()->setChecked(true);
            w->Command2()->click();
        }
    }

    if (parser.isSet("grab")) {
        const QString folder = parser.value("grab");
        QTimer::singleShot(300, [folder, &frame] {
            QDir().mkpath(folder);
            bool ok = frame.grab().save(folder + "/strip.png");
            if (menuFrm* w = NotesWindow()) ok = w->grab().save(folder + "/notes-window.png") && ok;
            SaveUnsavedNotes();
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
