// fetch URL FILE: runs the download control and prints its events in order.
#include "command.h"
#include "json.h"

#include "download/qel_down.h"

#include <QCoreApplication>

namespace tavo::tool {
namespace {

int Fetch(const QStringList& args) {
    if (args.size() != 2) return UsageError("fetch URL FILE");
    QelDown d;
    QObject::connect(&d, &QelDown::DLConnected, [](const QString& a) { PrintLine("DLConnected " + JsonString(a)); });
    QObject::connect(&d, &QelDown::DLRedirect, [](const QString& a) { PrintLine("DLRedirect " + JsonString(a)); });
    QObject::connect(&d, &QelDown::DLMIMEType, [](const QString& m) { PrintLine("DLMIMEType " + JsonString(m)); });
    QObject::connect(&d, &QelDown::DLCacheFile, [](const QString& f) { PrintLine("DLCacheFile " + JsonString(f)); });
    QObject::connect(&d, &QelDown::DLFileSize, [](int32_t b) { PrintLine(QStringLiteral("DLFileSize %1").arg(b)); });
    QObject::connect(&d, &QelDown::DLBeginDownload, [] { PrintLine("DLBeginDownload"); });
    QObject::connect(&d, &QelDown::DLProgress, [](float p, int32_t r, int32_t t) {
        PrintLine(QStringLiteral("DLProgress %1 %2 %3").arg(static_cast<double>(p)).arg(r).arg(t));
    });
    QObject::connect(&d, &QelDown::DLCanceled, [] { PrintLine("DLCanceled"); });
    QObject::connect(&d, &QelDown::DLError, [](int32_t e, const QString& text) {
        PrintLine(QStringLiteral("DLError %1 ").arg(e) + JsonString(text));
    });
    int16_t result = -1;
    QObject::connect(&d, &QelDown::DLComplete, [&result](int32_t b, int16_t e) {
        PrintLine(QStringLiteral("DLComplete %1 %2").arg(b).arg(e));
        result = e;
    });
    d.setFileURL(args[0]);
    d.setSaveFileName(args[1]);
    d.BeginDownload(true);
    return result == 0 ? 0 : 1;
}

const Registration reg{"fetch", "fetch URL FILE", "download URL into FILE, printing the control's events", &Fetch};

}  // namespace
}  // namespace tavo::tool
