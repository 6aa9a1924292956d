#pragma once
// "歌词设置…": the lyrics window's look chosen in one place (font family and
// size, the sung and the not-yet-sung colour, outline or shadow, how opaque
// the background is, the number of lines, karaoke fill, translations), with
// a preview painted as the window will paint it, kept up to date as the
// user changes anything. "恢复默认" goes back to the skin's look.

#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_options.h"
#include "lyrics/ui/lyric_painter.h"

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QPushButton;
class QSlider;
class QSpinBox;

namespace tavo {

// A sample lyric (a line with word times and a translation, and the lines
// around it) shown half sung, over a chequered ground so that a clear
// background shows as clear.
class LyricLookPreview : public QWidget {
    Q_OBJECT
public:
    explicit LyricLookPreview(uint32_t backColor, QWidget* parent = nullptr);
    void SetLook(const LyricOptions& look);
    const LyricOptions& Look() const { return look_; }
    QSize sizeHint() const override { return {460, 150}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    LyricPainter painter_;
    LyricDoc sample_;
    LyricOptions look_;
    uint32_t backColor_;
};

class LyricLookDialog : public QDialog {
    Q_OBJECT
public:
    // `defaults` is the skin's look ("恢复默认"); `backColor` the window's
    // background colour (0xAARRGGBB) for the preview.
    LyricLookDialog(const LyricOptions& current, const LyricOptions& defaults, uint32_t backColor,
                    QWidget* parent = nullptr);

    LyricOptions Chosen() const;
    void Show(const LyricOptions& look);  // sets every control
    LyricLookPreview* Preview() const { return preview_; }

    // The controls, for tests.
    QFontComboBox* FontBox() const { return font_; }
    QSpinBox* SizeBox() const { return size_; }
    QComboBox* EdgeBox() const { return edge_; }
    QSlider* AlphaSlider() const { return alpha_; }
    QComboBox* LinesBox() const { return lines_; }
    QCheckBox* KaraokeBox() const { return karaoke_; }
    QCheckBox* TranslationBox() const { return translation_; }
    void SetPlayedColor(uint32_t argb);
    void SetColor(uint32_t argb);

private:
    void Changed();
    void PickColour(uint32_t& colour, const QString& title);
    static void PaintSwatch(QPushButton* b, uint32_t argb);

    LyricOptions base_;  // what the dialog does not show (the lock)
    LyricOptions defaults_;
    uint32_t played_ = 0, color_ = 0;
    bool filling_ = false;
    LyricLookPreview* preview_ = nullptr;
    QFontComboBox* font_ = nullptr;
    QSpinBox* size_ = nullptr;
    QPushButton* playedButton_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    QComboBox* edge_ = nullptr;
    QSlider* alpha_ = nullptr;
    QComboBox* lines_ = nullptr;
    QCheckBox* karaoke_ = nullptr;
    QCheckBox* translation_ = nullptr;
};

}  // namespace tavo
