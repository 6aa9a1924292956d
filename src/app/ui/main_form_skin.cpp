// The main window's skin: painting every picture from the current skin and
// giving them, with the skin's colours, to the controls.
#include "app/ui/main_form.h"

#include "app/ui/skinned_controls.h"
#include "lyrics/ui/lrc_box.h"
#include "skin/command.h"
#include "skin/skin_colour.h"
#include "skin/skin_module.h"
#include "skin/window_shape.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>

#include <map>

namespace tavo {

namespace {

QColor Colour(int32_t value) { return ToQColor(value); }

void SetTextColour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    w->setPalette(pal);
}

}  // namespace

void MainForm::goSkin(const QString& skin_Name) {
    core_.CurrentSkin = skin_Name;
    label3_->setText(core_.AppTitle + QStringLiteral(" - 正在调入皮肤，请稍后..."));
    label3_->repaint();
    SkinModule::Image1 = QImage();
    core_.hooks.ApplySkin();  // LoadSkin of CurrentSkin, then ApplySkin
    core_.OutList();
    core_.ui.Label3 = core_.AppTitle;
    label3_->setText(core_.AppTitle);
    Sync();
}

void MainForm::ApplySkin() {
    const MainLayout l = MainWindowLayout(SkinModule::ShowCalendar != 0);
    if (l.window != layout_.window) {
        layout_ = l;
        PlaceControls(layout_);
    }
    pictures_ = PaintCurrentSkin(layout_.ForSkin(lrc_->size()));
    // Every picture the windows show is painted: the decoded skin picture
    // is not needed again until the next skin change loads it anew.
    const bool pictured = !SkinModule::Image1.isNull();
    SkinModule::Image1 = QImage();
    ApplyColours(pictures_);
    ApplyFaces(pictures_);
    for (SkinTrack* track : {socl_, ybg_}) track->SetBackground(PictureUnder(pictures_, track->geometry()));

    const SkinColours& c = SkinModule::Colours;
    ListLook look;
    look.background = pictures_.list;
    look.rows = pictures_.rows;
    look.rowHeight = layout_.rowHeight;
    look.rowTop = RowTop + 1;
    look.text = Colour(c.SongListTextColor);
    look.selected = Colour(c.SongListSelectedTextColor);
    look.font = font();
    look.font.setPixelSize(13);
    picture1_->SetLook(look);
    SetTextColour(playIco_, look.selected);
    lrc_->SetSkin({pictured ? pictures_.lyrics : QImage(), Colour(c.BackgroundColor),
                   pictures_.lyricsFrame, pictures_.lyricsText});

    // The offscreen platform (tests, benchmarks) has no window shapes.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) setMask(WindowOutline(size()));
    update();
    if (core_.hooks.CalendarCaptions) core_.hooks.CalendarCaptions();
}

void MainForm::ApplyColours(const SkinPictures& p) {
    std::map<QString, std::pair<QColor, QColor>> combos;  // back, text
    TrackLook time, volume;
    time.font = font();
    time.font.setPixelSize(11);
    for (const ControlColour& e : p.colours) {
        const QColor colour = Colour(e.colour);
        if (e.control == u"Shape4") time.frame = colour;
        else if (e.control == u"subsocl") time.fill = colour;
        else if (e.control == u"socl") time.text = colour;
        else if (e.control == u"Shape5") volume.frame = colour;
        else if (e.control == u"Yl") volume.fill = colour;
        if (e.control.startsWith(u"Combo") || e.control == u"PHcombo") {
            (e.role == ColourRole::Back ? combos[e.control].first : combos[e.control].second) = colour;
            continue;
        }
        if (e.role != ColourRole::Text) continue;
        // The controls of that name: this window's, and the calendar's.
        for (QWidget* w : findChildren<QWidget*>(e.control)) {
            if (auto* b = qobject_cast<Command*>(w)) b->SetForeColor(e.colour);
            else if (w != picture1_ && w != socl_) SetTextColour(w, colour);
        }
    }
    socl_->SetLook(time);
    ybg_->SetLook(volume);
    const QColor edge = Colour(SkinModule::FloatBorderColor);
    for (SkinCombo* box : {phcombo_, combo1_, combo2_}) {
        const auto& [back, text] = combos[box->objectName()];
        box->SetLook({back, text, edge});
    }
}

void MainForm::ApplyFaces(const SkinPictures& p) {
    for (int i = 0; i < kPageButtons; ++i) {
        Command* b = pageA_[static_cast<size_t>(i)];
        const QImage& face = p.pageA[static_cast<size_t>(i)];
        b->SetFaces(face, face, face);
        b->SetHotUpBorderColor(p.pageABorder);
        b->SetHotDownBorderColor(p.pageABorder);
        b->SetBackColor(SkinModule::BackgroundColor);
        b->SetHotUpBackColor(SkinModule::BackgroundColor);
    }
    for (int i = 0; i < kPlayButtons; ++i) {
        Command* b = playS_[static_cast<size_t>(i)];
        const ButtonFaces& f = p.playS[static_cast<size_t>(i)];
        b->SetFaces(f.normal, f.hot, f.down);
        b->SetForeColor(FromQColor(p.playSymbol[static_cast<size_t>(i)]));
        b->SetBackColor(SkinModule::BackgroundColor);
        b->SetHotUpBackColor(SkinModule::BackgroundColor);
    }
}

void MainForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (pictures_.window.isNull()) p.fillRect(rect(), QColor(236, 240, 246));
    else p.drawImage(QPoint(0, 0), pictures_.window);
}

}  // namespace tavo
