#pragma once
// The player's command line: --help and --version print and end the
// program; any other word that is not an option is something to open (a
// file, a folder or an address; after "--" every word is one). Qt's standard options
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
    // What to open, in order: local paths made absolute, "file:" addresses
    // turned into paths, web addresses as given.
    QStringList open;
};

// `args` without the program name; relative paths are taken from
// `workingFolder` (the current folder when empty).
CommandLine ParseCommandLine(const QStringList& args, const QString& workingFolder = QString());

// One word to open, as ParseCommandLine takes it: an absolute path or a web
// address (http, https, mms, rtsp, rtmp); empty for another scheme.
QString OpenTarget(const QString& word, const QString& workingFolder);

}  // namespace tavo::platform
