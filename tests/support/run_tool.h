#pragma once
// Runs the built programs (tavo-tool, the art generators) as a user would:
// arguments (and standard input) in, UTF-8 text or bytes out.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace tavo::test {

struct ToolRun {
    int code;         // exit code; -1 when it did not finish within 60 s
    QString out;      // standard output as UTF-8 text
    QString err;      // standard error
    QByteArray bytes;  // standard output as it came
};

// Runs the built program `name` (tavo-tool, an art generator...).
inline ToolRun RunProgram(const QString& name, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/") + name, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) return {-1, {}, {}, {}};
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitCode(), QString::fromUtf8(out), QString::fromUtf8(p.readAllStandardError()), out};
}

inline ToolRun RunTool(const QStringList& args, const QByteArray& input = {}) {
    return RunProgram(QStringLiteral("tavo-tool"), args, input);
}

}  // namespace tavo::test
