#include "platform/command_line.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include <array>

#ifndef TAVO_VERSION
#error "TAVO_VERSION must name the program's version (the build defines it)"
#endif

namespace tavo::platform {

namespace {

const QString kUsage = QStringLiteral("usage: tavo-musicbox [--help] [--version] [FILE|FOLDER|URL...]\n");

// Qt's own options, written with one or two dashes; those that take a value
// take the next argument.
constexpr std::array kQtWithValue = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                     "qwindowicon", "qwindowtitle", "display", "geometry", "name", "title",
                                     "style", "stylesheet", "session", "qmljsdebugger"};
constexpr std::array kQtFlags = {"reverse", "widgetcount", "sync", "nograb", "dograb"};

// "-x", "--x" -> "x"; "-x=v" -> "x" with the value inline.
QString OptionName(const QString& arg, bool* inlineValue) {
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype eq = name.indexOf(QLatin1Char('='));
    *inlineValue = eq >= 0;
    return eq >= 0 ? name.left(eq) : name;
}

template <size_t N>
bool Among(const QString& name, const std::array<const char*, N>& list) {
    for (const char* o : list)
        if (name == QLatin1String(o)) return true;
    return false;
}

CommandLine Refuse(const QString& why) {
    return {CommandLine::Action::Refuse, QStringLiteral("tavo-musicbox: ") + why + QLatin1Char('\n') + kUsage, 2, {}};
}

}  // namespace

QString OpenTarget(const QString& word, const QString& workingFolder) {
    static const QRegularExpression kScheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const auto scheme = kScheme.match(word);
    if (scheme.hasMatch()) {
        const QString name = scheme.captured(1).toLower();
        if (name == QLatin1String("file")) {
            const QString local = QUrl(word).toLocalFile();
            return local.startsWith(QLatin1Char('/')) ? QDir::cleanPath(local) : QString();
        }
        static const QStringList kWeb = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mms"),
                                         QStringLiteral("rtsp"), QStringLiteral("rtmp")};
        const QUrl url(word, QUrl::StrictMode);
        return kWeb.contains(name) && url.isValid() && !url.host().isEmpty() ? word : QString();
    }
    const QDir base(workingFolder.isEmpty() ? QDir::currentPath() : workingFolder);
    return QDir::cleanPath(base.absoluteFilePath(word));
}

CommandLine ParseCommandLine(const QStringList& args, const QString& workingFolder) {
    QStringList open;
    bool operandsOnly = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (operandsOnly || (!arg.startsWith(QLatin1Char('-')) && !arg.isEmpty())) {
            const QString target = OpenTarget(arg, workingFolder);
            if (target.isEmpty()) return Refuse(QStringLiteral("cannot open '%1'").arg(arg));
            open.append(target);
            continue;
        }
        if (arg == QLatin1String("--")) {
            operandsOnly = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            return {CommandLine::Action::Help,
                    kUsage + QStringLiteral("\n"
                                            "Tavo音乐盒2010: songs from chart pages, radio feeds and song search,\n"
                                            "with synced lyrics and a lunar calendar.\n"
                                            "\n"
                                            "  --help       show this help and exit\n"
                                            "  --version    show the version and exit\n"
                                            "\n"
                                            "Files, folders and addresses given are added to the favourites and\n"
                                            "the first is played. Starting it again while it runs shows the\n"
                                            "running player and hands it what was given.\n"
                                            "\n"
                                            "Environment:\n"
                                            "  TAVO_HOME           the program folder to use (skins, lists, notes)\n"
                                            "  TAVO_AUDIO_OUTPUT   the audio output (\"null\" plays silently)\n"
                                            "  http_proxy, https_proxy, no_proxy   the proxy for downloads and songs\n"),
                    0, {}};
        }
        if (arg == QLatin1String("--version")) {
            return {CommandLine::Action::Version, QStringLiteral("Tavo音乐盒2010 " TAVO_VERSION "\n"), 0, {}};
        }
        if (arg.isEmpty() || arg == QLatin1String("-")) return Refuse(QStringLiteral("unexpected argument '%1'").arg(arg));
        bool inlineValue = false;
        const QString name = OptionName(arg, &inlineValue);
        if (Among(name, kQtWithValue)) {
            if (!inlineValue && ++i >= args.size()) return Refuse(QStringLiteral("option '%1' needs a value").arg(arg));
            continue;
        }
        if (Among(name, kQtFlags) && !inlineValue) continue;
        return Refuse(QStringLiteral("unknown option '%1'").arg(arg));
    }
    CommandLine run;
    run.open = std::move(open);
    return run;
}

}  // namespace tavo::platform
