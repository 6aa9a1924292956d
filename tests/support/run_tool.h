#pragma once
// Runs the built tavo-tool as a user would: arguments in, UTF-8 text out.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace tavo::test {

struct ToolRun {
    int code;     // exit code; -1 when it did not finish within 30 s
    QString out;  // standard output as UTF-8 text
    QString err;  // standard error
};

inline ToolRun RunTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TAVO_BIN_DIR "/tavo-tool"), args);
    if (!p.waitForFinished(30000)) return {-1, {}, {}};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace tavo::test
