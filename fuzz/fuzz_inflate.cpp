// Arbitrary bytes as a deflate stream, with and without Deflate64 and with a
// small and a large output estimate: decoding must never read or write out
// of bounds, hang, or return more than the output buffer holds.
#include "imaging/inflate.h"
#include "platform/message_box.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = [] {
        tavo::platform::SetMessages(std::make_unique<tavo::platform::ConsoleMessageBox>(nullptr));
        return true;
    }();
    (void)init;
    if (size < 1) return 0;
    // First byte: switches and the output estimate.
    const bool deflate64 = data[0] & 1;
    const int32_t estimate = (data[0] & 2) ? static_cast<int32_t>(data[0] >> 2) * 37 : 1 << 20;
    tavo::imaging::Inflater inf;
    std::vector<uint8_t> stream(data + 1, data + size);
    int32_t expected = estimate;
    int32_t status = 0;
    inf.Inflate(stream, expected, deflate64, status);
    if (expected != estimate + 100) std::abort();
    if (!inf.LastTreeRefused() && stream.size() > static_cast<size_t>(estimate) + 101) std::abort();
    if (status != 0 && status != -1 && status != -2) std::abort();
    // The same stream decoded twice by one object gives the same bytes
    // (fixed trees cached).
    std::vector<uint8_t> again(data + 1, data + size);
    int32_t expected2 = estimate;
    int32_t status2 = 0;
    inf.Inflate(again, expected2, deflate64, status2);
    if (again != stream || status2 != status) std::abort();
    return 0;
}
