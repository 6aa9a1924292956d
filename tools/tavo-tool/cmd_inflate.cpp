// inflate: the decoder's own inflate on a raw deflate stream.
//   tavo-tool inflate [--expected N] [--deflate64] < stream > bytes
// "status N" goes to stderr (0 normal end, -1 cut off or malformed, -2 a
// stored block's length check failed); a refused tree prints the decoder's
// message and no bytes.
#include "command.h"

#include "imaging/inflate.h"
#include "platform/message_box.h"

#include <QByteArray>
#include <QFile>

#include <climits>
#include <cstdio>
#include <memory>

namespace tavo::tool {
namespace {

// The decoder's messages on stderr instead of a dialog.

constexpr const char* kUsage = "inflate [--expected N] [--deflate64]";

int Run(const QStringList& args) {
    int32_t expected = INT32_MAX - 101;
    bool deflate64 = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--deflate64")) {
            deflate64 = true;
        } else if (args[i] == QLatin1String("--expected") && i + 1 < args.size()) {
            bool ok = false;
            const qlonglong v = args[++i].toLongLong(&ok);
            if (!ok || v < 0 || v > INT32_MAX - 101) return UsageError(kUsage);
            expected = static_cast<int32_t>(v);
        } else {
            return UsageError(kUsage);
        }
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read stdin"));
    const QByteArray input = in.readAll();
    platform::SetMessages(std::make_unique<platform::ConsoleMessageBox>());
    std::vector<uint8_t> data(input.begin(), input.end());
    imaging::Inflater inflater;
    int32_t status = 0;
    inflater.Inflate(data, expected, deflate64, status);
    if (inflater.LastTreeRefused()) {
        std::fprintf(stderr, "status %d\n", status);
        return 1;
    }
    std::fwrite(data.data(), 1, data.size(), stdout);
    std::fflush(stdout);
    std::fprintf(stderr, "status %d\n", status);
    return status == 0 ? 0 : 1;
}

const Registration reg{"inflate", kUsage, "inflate a raw deflate stream from stdin to stdout", &Run};

}  // namespace
}  // namespace tavo::tool
