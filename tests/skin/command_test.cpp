// The skin button: its looks on images, its look transitions under the
// mouse, its access key and its stored properties.
#include "skin/command.h"
#include "skin/skin_symbols.h"

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace tavo;

namespace {

constexpr QSize kSize(60, 30);

CommandProperties Plain() {
    CommandProperties p;
    p.BackColor = SkinRgb(200, 210, 220);
    p.HotUpBackColor = SkinRgb(230, 240, 250);
    p.ForeColor = SkinRgb(0, 0, 0);
    p.Bordercolor = SkinRgb(10, 20, 30);
    p.HotUpBorderColor = SkinRgb(255, 255, 255);
    p.HotDownBorderColor = SkinRgb(50, 50, 50);
    p.Caption = QString();
    return p;
}

QImage Draw(const CommandProperties& props, int look, QSize size = kSize) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    PaintCommand(p, size, props, look);
    return img;
}

// The bounding box of pixels of `colour`.
QRect Ink(const QImage& img, QRgb colour) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == colour) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(CommandLooks, BackgroundsAndEdges) {
    const CommandProperties p = Plain();
    const QRgb back = qRgb(200, 210, 220), hotBack = qRgb(230, 240, 250), border = qRgb(10, 20, 30);
    const QRgb light = qRgb(255, 255, 255), dark = qRgb(50, 50, 50);
    const struct {
        int look;
        QRgb topLeft, top, left, bottom, right, inside;
    } cases[] = {
        {kLookNormal, border, border, border, border, border, back},
        {kLookHot, light, light, light, dark, dark, hotBack},
        {kLookPressed, dark, dark, dark, light, light, back},
        {kLookDisabled, qRgb(0xCF, 0xCF, 0xCF), qRgb(0xCF, 0xCF, 0xCF), qRgb(0xCF, 0xCF, 0xCF),
         qRgb(0xCF, 0xCF, 0xCF), qRgb(0xCF, 0xCF, 0xCF), qRgb(255, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.look);
        const QImage img = Draw(p, c.look);
        EXPECT_EQ(img.pixel(0, 0), c.topLeft);
        EXPECT_EQ(img.pixel(30, 0), c.top);
        EXPECT_EQ(img.pixel(0, 15), c.left);
        EXPECT_EQ(img.pixel(30, 29), c.bottom);
        EXPECT_EQ(img.pixel(59, 15), c.right);
        EXPECT_EQ(img.pixel(30, 15), c.inside);
    }
    // Bordercolor 0: no border in the normal and the disabled look.
    CommandProperties none = p;
    none.Bordercolor = 0;
    EXPECT_EQ(Draw(none, kLookNormal).pixel(0, 0), back);
    EXPECT_EQ(Draw(none, kLookDisabled).pixel(0, 0), qRgb(255, 255, 255));
    // Edge colours 0 draw no edges in the hot look.
    none.HotUpBorderColor = none.HotDownBorderColor = 0;
    EXPECT_EQ(Draw(none, kLookHot).pixel(0, 0), hotBack);
}

TEST(CommandLooks, PicturesCoverTheWholeButton) {
    CommandProperties p = Plain();
    p.Bordercolor = 0;
    auto solid = [](QRgb c) {
        QImage i(10, 5, QImage::Format_RGB32);
        i.fill(c);
        return i;
    };
    p.Picture = solid(qRgb(1, 1, 1));
    p.PictureMouseOn = solid(qRgb(2, 2, 2));
    p.PictureDown = solid(qRgb(3, 3, 3));
    EXPECT_EQ(Draw(p, kLookNormal).pixel(59, 29), qRgb(1, 1, 1));
    EXPECT_EQ(Draw(p, kLookHot).pixel(30, 15), qRgb(2, 2, 2));
    EXPECT_EQ(Draw(p, kLookPressed).pixel(30, 15), qRgb(3, 3, 3));
    EXPECT_EQ(Draw(p, kLookDisabled).pixel(30, 15), qRgb(3, 3, 3));
}

TEST(CommandLooks, PressedMovesIconAndCaptionByOnePixel) {
    CommandProperties p = Plain();
    p.Bordercolor = p.HotUpBorderColor = p.HotDownBorderColor = 0;
    p.Caption = "Go";
    p.ForeColor = SkinRgb(0, 0, 0);
    const QRect text = Ink(Draw(p, kLookNormal), qRgb(0, 0, 0));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(Ink(Draw(p, kLookPressed), qRgb(0, 0, 0)), text.translated(1, 1));
    EXPECT_EQ(Ink(Draw(p, kLookHot), qRgb(0, 0, 0)), text);

    // A symbol icon without a caption sits in the middle, and moves too.
    p.Caption.clear();
    p.Icon = SymbolIcon(SkinSymbol::Stop, {16, 16});
    p.ForeColor = SkinRgb(255, 0, 0);
    const QRect icon = Ink(Draw(p, kLookNormal), qRgb(255, 0, 0));
    ASSERT_FALSE(icon.isEmpty());
    EXPECT_NEAR(icon.center().x(), 30, 1);
    EXPECT_NEAR(icon.center().y(), 15, 1);
    EXPECT_EQ(Ink(Draw(p, kLookPressed), qRgb(255, 0, 0)), icon.translated(1, 1));
}

TEST(CommandLooks, DisabledCaptionIsGreyAndTheAccessKeyUnderlined) {
    CommandProperties p = Plain();
    p.Caption = "&Play";
    EXPECT_EQ(Ink(Draw(p, kLookDisabled), qRgb(0, 0, 0)), QRect());  // no black text
    // "&Play" shows "Play" with a line under the P only.
    CommandProperties bare = p;
    bare.Caption = "Play";
    const QImage a = Draw(p, kLookNormal), b = Draw(bare, kLookNormal);
    const QRect inkA = Ink(a, qRgb(0, 0, 0)), inkB = Ink(b, qRgb(0, 0, 0));
    EXPECT_GT(inkA.bottom(), inkB.bottom());
    const QRect underline = Ink(a.copy(0, inkB.bottom() + 1, a.width(), a.height() - inkB.bottom() - 1), qRgb(0, 0, 0));
    ASSERT_FALSE(underline.isEmpty());
    EXPECT_LE(underline.left(), inkB.left());
    EXPECT_LT(underline.right(), inkB.left() + inkB.width() / 3);
}

TEST(CommandCaption, SplitAtTheAccessKey) {
    const struct {
        const char* caption;
        const char *before, *key, *after;
    } cases[] = {
        {"&Play", "", "P", "lay"}, {"Play", "Play", "", ""}, {"a&bc", "a", "b", "c"},
        {"end&", "end", "", ""},   {"a&&b", "a", "&", "b"},
    };
    for (const auto& c : cases) {
        const CaptionParts parts = SplitCaption(c.caption);
        EXPECT_EQ(parts.before, c.before) << c.caption;
        EXPECT_EQ(parts.key, c.key) << c.caption;
        EXPECT_EQ(parts.after, c.after) << c.caption;
    }
}

class CommandWidget : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 100);
        button = new Command(&window);
        button->setGeometry(10, 10, 60, 30);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        clicks = std::make_unique<QSignalSpy>(button, &Command::Click);
    }
    QWidget window;
    Command* button = nullptr;
    std::unique_ptr<QSignalSpy> clicks;
};

TEST_F(CommandWidget, LooksFollowTheMouse) {
    EXPECT_EQ(button->DrawState(), kLookNormal);
    QTest::mouseMove(button, {20, 15});
    EXPECT_EQ(button->DrawState(), kLookHot);
    QTest::mousePress(button, Qt::LeftButton, {}, {20, 15});
    EXPECT_EQ(button->DrawState(), kLookPressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {20, 15});
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(button->DrawState(), kLookPressed);  // until the pointer moves
    QTest::mouseMove(button, {22, 15});
    EXPECT_EQ(button->DrawState(), kLookHot);
    // Leaving with no button held: normal again.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->DrawState(), kLookNormal);
    EXPECT_FALSE(button->MouseIn());
    // A release outside the button is no click.
    QTest::mousePress(button, Qt::LeftButton, {}, {20, 15});
    QTest::mouseRelease(button, Qt::LeftButton, {}, {100, 80});
    EXPECT_EQ(clicks->count(), 1);
}

// New faces (a skin change) show at once in the look the button is in: a
// button under the pointer shows the new skin's hover face, not the old one.
TEST_F(CommandWidget, NewFacesShowInTheCurrentLook) {
    const auto face = [](QColor c) {
        QImage img(kSize, QImage::Format_RGB32);
        img.fill(c);
        return img;
    };
    button->SetFaces(face(Qt::red), face(Qt::green), face(Qt::blue));
    QTest::mouseMove(button, {20, 15});
    ASSERT_EQ(button->DrawState(), kLookHot);
    EXPECT_EQ(button->grab().toImage().pixel(30, 15), QColor(Qt::green).rgb());
    button->SetFaces(face(Qt::yellow), face(Qt::cyan), face(Qt::magenta));
    EXPECT_EQ(button->DrawState(), kLookHot);
    EXPECT_EQ(button->grab().toImage().pixel(30, 15), QColor(Qt::cyan).rgb());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->grab().toImage().pixel(30, 15), QColor(Qt::yellow).rgb());
}

TEST_F(CommandWidget, EnabledSwitchesTheDisabledLook) {
    button->SetEnabled(false);
    EXPECT_EQ(button->DrawState(), kLookDisabled);
    // Setting a colour while disabled draws the normal look.
    button->SetBackColor(SkinRgb(1, 2, 3));
    EXPECT_EQ(button->DrawState(), kLookNormal);
    button->SetEnabled(true);
    EXPECT_EQ(button->DrawState(), kLookNormal);
    button->setFocus();
    button->SetEnabled(false);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks->count(), 0);
}

TEST_F(CommandWidget, EnterSpaceAndTheAccessKeyClick) {
    button->SetCaption("&Play");
    EXPECT_EQ(button->Parts().key, "P");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks->count(), 2);
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_P);
    EXPECT_EQ(clicks->count(), 4);
    // Without "&" no key.
    button->SetCaption("Play");
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(clicks->count(), 4);
}

TEST_F(CommandWidget, PropertiesReadInAnyLetterCase) {
    QImage face(4, 4, QImage::Format_RGB32);
    face.fill(Qt::red);
    button->ReadProperties({{"backcolor", 0x123456},
                            {"HOTUPBORDERCOLOR", 0x80000012u},
                            {"caption", "&Stop"},
                            {"picture", face},
                            {"enabled", false}});
    EXPECT_EQ(button->BackColor(), 0x123456);
    EXPECT_EQ(button->HotUpBorderColor(), kSysButtonText);
    EXPECT_EQ(button->Caption(), "&Stop");
    EXPECT_EQ(button->Parts().key, "S");
    EXPECT_EQ(button->DrawState(), kLookDisabled);
    // Missing keys take their defaults.
    EXPECT_EQ(button->ForeColor(), kSysButtonText);
    EXPECT_EQ(button->Bordercolor(), kSysButtonFace);
    EXPECT_FALSE(button->PropertiesChanged());

    button->SetForeColor(SkinRgb(9, 9, 9));
    EXPECT_TRUE(button->PropertiesChanged());
    const QVariantMap saved = button->WriteProperties();
    Command copy(&window);
    copy.ReadProperties(saved);
    EXPECT_EQ(copy.ForeColor(), SkinRgb(9, 9, 9));
    EXPECT_EQ(copy.HotUpBorderColor(), kSysButtonText);
    EXPECT_EQ(copy.Caption(), "&Stop");
    EXPECT_FALSE(copy.Enabled());
}

}  // namespace
