#include "platform/request_slot.h"

#include <atomic>

namespace tavo {

RequestId NextRequestId() {
    static std::atomic<RequestId> next{0};
    return ++next;
}

}  // namespace tavo
