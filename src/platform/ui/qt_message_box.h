#pragma once
// The message box of a program with windows: a modal QMessageBox.

#include "platform/message_box.h"

namespace tavo::platform {

class QtMessageBox : public MessageBox {
public:
    MsgResult Show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
};

}  // namespace tavo::platform
