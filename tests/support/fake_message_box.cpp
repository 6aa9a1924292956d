#include "support/fake_message_box.h"

#include <memory>

namespace tavo::test {

ScopedFakeMessageBox::ScopedFakeMessageBox() {
    auto box = std::make_unique<FakeMessageBox>();
    box_ = box.get();
    platform::SetMessages(std::move(box));
}

ScopedFakeMessageBox::~ScopedFakeMessageBox() { platform::SetMessages(nullptr); }

}  // namespace tavo::test
