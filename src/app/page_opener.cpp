#include "app/page_opener.h"

#include <utility>

namespace tavo {

namespace {
PageOpener& Opener() {
    static PageOpener open;
    return open;
}
}  // namespace

void SetPageOpener(PageOpener open) { Opener() = std::move(open); }

bool OpenPage(const QString& address) {
    const PageOpener& open = Opener();
    return open ? open(address) : false;
}

}  // namespace tavo
