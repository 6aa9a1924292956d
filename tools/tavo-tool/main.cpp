// tavo-tool: the player's engines on the command line, for scripting,
// debugging and comparison with other tools.
#include "command.h"
#include "platform/core/network_access.h"

#include <QCoreApplication>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>

namespace tavo::tool {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

int UsageError(const char* usage) {
    std::fprintf(stderr, "usage: tavo-tool %s\n", usage);
    return 2;
}

int UsageError(const Command& cmd) { return UsageError(cmd.usage); }

int Fail(const QString& message) {
    const QByteArray utf8 = message.toUtf8();
    std::fprintf(stderr, "tavo-tool: %s\n", utf8.constData());
    return 1;
}

void Print(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
}

void PrintLine(const QString& text) {
    Print(text);
    std::fputc('\n', stdout);
}

}  // namespace tavo::tool

namespace {

void PrintHelp(FILE* out) {
    using namespace tavo::tool;
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    std::fprintf(out, "usage: tavo-tool COMMAND [ARGS...]\n\ncommands:\n");
    for (const Command& c : commands) std::fprintf(out, "  %-48s %s\n", c.usage, c.summary);
    std::fprintf(out, "\nText results are JSON string literals; structures are JSON objects.\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        PrintHelp(stderr);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintHelp(stdout);
        return 0;
    }
    for (const auto& cmd : tavo::tool::Commands()) {
        if (name == QLatin1String(cmd.name)) {
            if (args.size() == 1 && args[0] == QLatin1String("--help")) {
                std::printf("usage: tavo-tool %s\n%s\n", cmd.usage, cmd.summary);
                return 0;
            }
            const int rc = cmd.run(args);
            tavo::platform::CloseNetworkAccess();
            return rc;
        }
    }
    std::fprintf(stderr, "tavo-tool: unknown command '%s' (try --help)\n", name.toUtf8().constData());
    return 2;
}
