#pragma once
// Message boxes. The logic asks through this interface, so that tests can
// observe (and answer) a message instead of blocking on a modal dialog.

#include <QString>

#include <cstdio>
#include <memory>

namespace tavo::platform {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Numbered as the classic message-box results.
enum class MsgResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // An empty title means the application's default title.
    virtual MsgResult Show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) = 0;
};

// For programs without windows (the command-line tool, fuzz targets): the
// text goes to `out` (nothing when null) and the answer is always OK.
class ConsoleMessageBox : public MessageBox {
public:
    explicit ConsoleMessageBox(std::FILE* out = stderr) : out_(out) {}
    MsgResult Show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;

private:
    std::FILE* out_;
};

// The message box the program uses: a ConsoleMessageBox on stderr until the
// windows set theirs (platform/ui/qt_message_box.h) at start-up.
MessageBox& Messages();
void SetMessages(std::unique_ptr<MessageBox> box);

}  // namespace tavo::platform
