// Arbitrary bytes as a deflate stream, with and without Deflate64 and with a
// small and a large output estimate: decoding must never read or write out
// of bounds, hang, or return more than the output buffer holds. Without
// Deflate64 the bytes must be zlib's, wherever zlib decodes the stream.
#include "imaging/inflate.h"
#include "platform/message_box.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// zlib's raw inflate as the reference. A stream zlib decodes completely
// within the buffer decodes to the same bytes with status 0; one that runs
// past the buffer gives the buffer's first capacity - 1 bytes. Where either
// side stops on an error, one output is a prefix of the other (the own
// decoder also takes the Deflate64 distance codes 30 and 31 and distances
// beyond zlib's 32 KiB window; zlib also takes a lone 1-bit literal/length
// code, which the own decoder refuses before this check).
void CompareWithZlib(const uint8_t* in, size_t len, int32_t estimate, const std::vector<uint8_t>& got, int32_t status) {
    const size_t capacity = static_cast<size_t>(estimate) + 101;
    std::vector<uint8_t> ref(capacity + 1);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) std::abort();
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = static_cast<uInt>(len);
    z.next_out = ref.data();
    z.avail_out = static_cast<uInt>(ref.size());
    const int rc = inflate(&z, Z_FINISH);
    ref.resize(z.total_out);
    inflateEnd(&z);
    if (ref.size() > capacity) {  // zlib needed more room than the buffer has
        if (status == 0) {
            if (got.size() != capacity - 1 || !std::equal(got.begin(), got.end(), ref.begin())) std::abort();
            return;
        }
    } else if (rc == Z_STREAM_END) {
        if (status != 0 || got != ref) std::abort();
        return;
    }
    const size_t common = std::min(got.size(), ref.size());
    if (!std::equal(got.begin(), got.begin() + static_cast<long>(common), ref.begin())) std::abort();
}

// One stream decoded twice by one object (fixed trees cached, tables of the
// last block left behind): the same bytes both times, within the buffer, and
// zlib's bytes wherever zlib decodes the stream.
void DecodeAndCheck(tavo::imaging::Inflater& inf, const std::vector<uint8_t>& in, bool deflate64, int32_t estimate) {
    std::vector<uint8_t> stream = in;
    int32_t expected = estimate;
    int32_t status = 0;
    inf.Inflate(stream, expected, deflate64, status);
    if (expected != estimate + 100) std::abort();
    if (!inf.LastTreeRefused() && stream.size() > static_cast<size_t>(estimate) + 101) std::abort();
    if (status != 0 && status != -1 && status != -2) std::abort();
    std::vector<uint8_t> again = in;
    int32_t expected2 = estimate;
    int32_t status2 = 0;
    inf.Inflate(again, expected2, deflate64, status2);
    if (again != stream || status2 != status) std::abort();
    if (!deflate64 && !inf.LastTreeRefused()) CompareWithZlib(in.data(), in.size(), estimate, stream, status);
}

}  // namespace

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
    DecodeAndCheck(inf, std::vector<uint8_t>(data + 1, data + size), deflate64, estimate);
    // The same stream with zeros after it: its blocks have enough input ahead
    // to get literal pairs (bytes after the last block are never read as
    // data; a stream cut short reads the zeros instead).
    std::vector<uint8_t> padded(data + 1, data + size);
    padded.resize(padded.size() + tavo::imaging::Inflater::kPairsMinInput);
    DecodeAndCheck(inf, padded, deflate64, estimate);
    return 0;
}
