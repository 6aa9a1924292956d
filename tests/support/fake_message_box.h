#pragma once
// A message box that records every message and answers with a preset
// result instead of blocking. Install it with ScopedFakeMessageBox.

#include "platform/message_box.h"

#include <QString>

#include <vector>

namespace tavo::test {

struct ShownMessage {
    QString text;
    QString title;
    platform::MsgButtons buttons;
    platform::MsgIcon icon;
};

class FakeMessageBox : public platform::MessageBox {
public:
    platform::MsgResult Show(const QString& text, const QString& title, platform::MsgButtons buttons,
                             platform::MsgIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        return answer;
    }
    std::vector<ShownMessage> shown;
    platform::MsgResult answer = platform::MsgResult::Ok;
};

// Installs a FakeMessageBox as the program's message box for one scope.
class ScopedFakeMessageBox {
public:
    ScopedFakeMessageBox();
    ~ScopedFakeMessageBox();
    FakeMessageBox& box() { return *box_; }
    const std::vector<ShownMessage>& shown() const { return box_->shown; }

private:
    FakeMessageBox* box_;
};

}  // namespace tavo::test
