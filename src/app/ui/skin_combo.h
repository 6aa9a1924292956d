#pragma once
// A drop-down selector of the main window drawn from the skin
// (combo_paint.h) instead of the platform's style: flat, in the skin's
// drop-down colours, with no arrow of its own.

#include "skin/combo_paint.h"

#include <QComboBox>

namespace tavo {

class SkinCombo : public QComboBox {
    Q_OBJECT
public:
    explicit SkinCombo(QWidget* parent = nullptr);

    // The closed box's colours and its open list's.
    void SetLook(const ComboLook& look);
    const ComboLook& Look() const { return look_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ComboLook look_;
};

}  // namespace tavo
