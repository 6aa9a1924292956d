#pragma once
// Subcommands of tavo-tool. Each lives in its own file and registers itself:
//
//   static const tavo::tool::Registration reg{
//       "urlencode", "urlencode TEXT", "percent-encode TEXT as UTF-8", &Run};
//
// Run receives the arguments after the subcommand's name and returns the
// process exit code. Results go to stdout as UTF-8; errors go to stderr with
// a non-zero exit.

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace tavo::tool {

using RunFn = int (*)(const QStringList& args);

struct Command {
    const char* name;
    const char* usage;    // e.g. "urlencode TEXT"
    const char* summary;  // one line
    RunFn run;
};

std::vector<Command>& Commands();

struct Registration {
    Registration(const char* name, const char* usage, const char* summary, RunFn run) {
        Commands().push_back({name, usage, summary, run});
    }
};

// Prints "usage: tavo-tool <usage>" to stderr and returns 2.
int UsageError(const Command& cmd);
int UsageError(const char* usage);

// Prints "tavo-tool: <message>" to stderr and returns 1.
int Fail(const QString& message);

// Writes UTF-8 text to stdout as is.
void Print(const QString& text);
void PrintLine(const QString& text);

}  // namespace tavo::tool
