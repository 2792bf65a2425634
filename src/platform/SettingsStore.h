#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class QSettings;

// The viewer's persistent settings under the key "Software\Velmora Korvane".
// On Linux the key is an INI file named after the key's last component ("Velmora Korvane.ini") in the
// user's configuration folder. Values keep the registry's typing: numbers are 32-bit DWORDs, texts are
// REG_MULTI_SZ, and each operation follows the registry's rules: it reports success and leaves its
// output untouched when it fails.
class SettingsStore
{
public:
    static constexpr const char* kViewerKey = "Software\\Velmora Korvane";
    // ReadRegistryText queries into a buffer of this many bytes: 129 UTF-16 characters and the terminator.
    static constexpr int kTextBufferBytes = 260;
    static constexpr int kMaxTextLength = kTextBufferBytes / 2 - 1;

    // A store whose keys live as INI files in `folder`. Tests pass a temporary folder.
    explicit SettingsStore(const QString& folder);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The user's store (QStandardPaths::GenericConfigLocation), or the folder named by
    // KORVANE_SETTINGS_DIR when that is set.
    static SettingsStore& user();

    bool ReadRegistryNumber(const QString& key, const QString& name, int32_t& out) const;
    bool WriteRegistryNumber(const QString& key, const QString& name, int32_t value);
    bool ReadRegistryText(const QString& key, const QString& name, QString& out) const;
    bool WriteRegistryText(const QString& key, const QString& name, const QString& text);

    QString filePathForKey(const QString& key) const;

private:
    std::unique_ptr<QSettings> open(const QString& key) const;

    QString m_folder;
};
