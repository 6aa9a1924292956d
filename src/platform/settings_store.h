#pragma once
// The per-user settings store: text values keyed by application name,
// section and key.
//
// Every value is text; a missing key reads as the empty text. Nothing is
// ever deleted or enumerated. A saved value is on disk when SaveSetting
// returns, so it survives a crash right after saving.

#include <QString>

#include <filesystem>
#include <memory>

namespace tavo::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString GetSetting(const QString& appName, const QString& section, const QString& key) = 0;
    // False when the value could not be kept; the caller tells the user,
    // where the user acted, every time.
    virtual bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                             const QString& value) = 0;
    // Where the values are kept, for the message that a save failed.
    virtual QString Location() const { return {}; }
};

// Settings kept in INI files, one per application name, in `folder`. A value
// that cannot be written (the folder cannot be made, the file is read-only,
// the disk is full) makes SaveSetting false.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path folder);
    QString GetSetting(const QString& appName, const QString& section, const QString& key) override;
    bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                     const QString& value) override;
    QString Location() const override;

    // The file that holds the settings of one application name.
    std::filesystem::path FileFor(const QString& appName) const;

private:
    std::filesystem::path folder_;
};

// The per-user configuration folder: $XDG_CONFIG_HOME/tavo-musicbox, by
// default ~/.config/tavo-musicbox.
std::filesystem::path UserConfigFolder();

// The store the program uses (an IniSettingsStore on UserConfigFolder()
// unless replaced).
SettingsStore& Settings();
void SetSettings(std::unique_ptr<SettingsStore> store);

// A value of section "Config" of application `appName`, as a number
// (SettingNumber).
long long ConfigNumber(const QString& appName, const QString& key);

// Tells the user that a setting could not be saved (the store's location
// named), through the message box.
void ReportSettingNotSaved();

// The numeric value of a setting: optional spaces, an optional sign, then
// the leading decimal digits. "12abc" is 12; "", "abc" and "-" are 0.
long long SettingNumber(const QString& text);

}  // namespace tavo::platform
