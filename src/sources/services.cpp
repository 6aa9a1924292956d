#include "sources/services.h"

#include "platform/ansi_text.h"
#include "platform/program_folder.h"

#include <optional>

namespace tavo {

namespace {

std::optional<ServiceHosts>& Current() {
    static std::optional<ServiceHosts> hosts;
    return hosts;
}

// "http://host:port/" -> "http://host:port"; anything without a scheme is
// ignored (the fallback stays).
std::optional<QString> CleanAddress(QString value) {
    value = value.trimmed();
    while (value.endsWith(QLatin1Char('/'))) value.chop(1);
    if (!value.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !value.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return std::nullopt;
    if (value.indexOf(QLatin1Char('/'), value.indexOf(QLatin1String("//")) + 2) >= 0) return std::nullopt;
    return value;
}

}  // namespace

ServiceHosts LocalServiceHosts(int port) {
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    return {base, base, base, base, base, base, base, base};
}

ServiceHosts ReadServiceHosts(const std::filesystem::path& file, const ServiceHosts& fallback) {
    ServiceHosts hosts = fallback;
    const auto lines = platform::ReadTextLines(file);
    if (!lines) return hosts;
    for (const QString& line : *lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        const auto value = CleanAddress(line.mid(eq + 1));
        if (!value) continue;
        if (key.compare(QLatin1String("RadioPlaylist"), Qt::CaseInsensitive) == 0) hosts.radioPlaylist = *value;
        else if (key.compare(QLatin1String("RadioFeed"), Qt::CaseInsensitive) == 0) hosts.radioFeed = *value;
        else if (key.compare(QLatin1String("ChartSite"), Qt::CaseInsensitive) == 0) hosts.chartSite = *value;
        else if (key.compare(QLatin1String("SongSearch"), Qt::CaseInsensitive) == 0) hosts.songSearch = *value;
        else if (key.compare(QLatin1String("Lyrics"), Qt::CaseInsensitive) == 0) hosts.lyrics = *value;
        else if (key.compare(QLatin1String("MakerSite"), Qt::CaseInsensitive) == 0) hosts.makerSite = *value;
        else if (key.compare(QLatin1String("RadioDirectory"), Qt::CaseInsensitive) == 0) hosts.radioDirectory = *value;
        else if (key.compare(QLatin1String("LyricsLibrary"), Qt::CaseInsensitive) == 0) hosts.lyricsLibrary = *value;
    }
    return hosts;
}

const ServiceHosts& Services() {
    auto& hosts = Current();
    if (!hosts) hosts = ReadServiceHosts(platform::InProgramFolder("services.ini"));
    return *hosts;
}

void SetServices(const ServiceHosts& hosts) { Current() = hosts; }

void ResetServices() { Current().reset(); }

}  // namespace tavo
