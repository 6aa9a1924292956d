#pragma once
// The player's command line: --help and --version print and end the
// program; it takes nothing else of its own. Qt's standard options
// (-platform, -style, -display ...) pass through to the toolkit; anything
// else is refused with a short usage line.

#include <QString>
#include <QStringList>

namespace tavo::platform {

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    QString output;  // what to print (stdout for Help and Version, stderr for Refuse)
    int exitCode = 0;  // for every action but Run
};

// `args` without the program name.
CommandLine ParseCommandLine(const QStringList& args);

}  // namespace tavo::platform
