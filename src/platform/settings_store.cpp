#include "platform/settings_store.h"

#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"

#include <QSettings>

#include <limits>
#include <system_error>

namespace tavo::platform {

namespace fs = std::filesystem;

IniSettingsStore::IniSettingsStore(fs::path folder) : folder_(std::move(folder)) {}

fs::path IniSettingsStore::FileFor(const QString& appName) const {
    // The application name becomes the file name; characters that a file
    // name cannot hold are replaced.
    QString name = appName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) name = QStringLiteral("_");
    return folder_ / QStringToPath(name + QStringLiteral(".ini"));
}

QString IniSettingsStore::GetSetting(const QString& appName, const QString& section, const QString& key) {
    const fs::path file = FileFor(appName);
    std::error_code ec;
    if (!fs::exists(file, ec)) return {};
    QSettings ini(PathToQString(file), QSettings::IniFormat);
    return ini.value(section + QLatin1Char('/') + key).toString();
}

bool IniSettingsStore::SaveSetting(const QString& appName, const QString& section, const QString& key,
                                   const QString& value) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const fs::path file = FileFor(appName);
    QSettings ini(PathToQString(file), QSettings::IniFormat);
    ini.setValue(section + QLatin1Char('/') + key, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString IniSettingsStore::Location() const { return PathToQString(folder_); }

long long ConfigNumber(const QString& appName, const QString& key) {
    return SettingNumber(Settings().GetSetting(appName, QStringLiteral("Config"), key));
}

void ReportSettingNotSaved() {
    Messages().Show(QStringLiteral("无法保存设置到 %1 ，这次的更改在程序退出后会丢失。请检查该位置是否可写。")
                        .arg(Settings().Location()),
                    QString(), MsgButtons::Ok, MsgIcon::Exclamation);
}

fs::path UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config") / "tavo-musicbox"; }

namespace {
std::unique_ptr<SettingsStore>& Current() {
    static std::unique_ptr<SettingsStore> store;
    return store;
}
}  // namespace

SettingsStore& Settings() {
    auto& store = Current();
    if (!store) store = std::make_unique<IniSettingsStore>(UserConfigFolder());
    return *store;
}

void SetSettings(std::unique_ptr<SettingsStore> store) { Current() = std::move(store); }

long long SettingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max() / 10 - 9;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        if (value < kMax) value = value * 10 + (text[i].unicode() - '0');
    }
    return negative ? -value : value;
}

}  // namespace tavo::platform
