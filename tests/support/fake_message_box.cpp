#include "support/fake_message_box.h"

#include <memory>

namespace tavo::test {

ScopedFakeMessageBox::ScopedFakeMessageBox() {
    auto box = std::make_unique<FakeMessageBox>();
    box_ = box.get();
    platform::SetMessages(std::move(box));
}

// A recording box again afterwards, never a real dialog: a test that shows
// a message later must not block on a modal window.
ScopedFakeMessageBox::~ScopedFakeMessageBox() { platform::SetMessages(std::make_unique<FakeMessageBox>()); }

}  // namespace tavo::test
