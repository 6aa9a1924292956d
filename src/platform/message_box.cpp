#include "platform/message_box.h"

#include <cstdio>

namespace tavo::platform {

MsgResult ConsoleMessageBox::Show(const QString& text, const QString&, MsgButtons, MsgIcon) {
    if (out_) std::fprintf(out_, "%s\n", text.toUtf8().constData());
    return MsgResult::Ok;
}

namespace {
std::unique_ptr<MessageBox>& Current() {
    static std::unique_ptr<MessageBox> box;
    return box;
}
}  // namespace

MessageBox& Messages() {
    auto& box = Current();
    if (!box) box = std::make_unique<ConsoleMessageBox>();
    return *box;
}

void SetMessages(std::unique_ptr<MessageBox> box) { Current() = std::move(box); }

}  // namespace tavo::platform
