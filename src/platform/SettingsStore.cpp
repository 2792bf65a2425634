#include "platform/SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QtEndian>

#include <cstring>

namespace {

// Stored forms: "dword:<decimal>" and "multi_sz:<text>". The tag keeps the registry's type, which an INI
// file would otherwise lose, so that a read of the other kind behaves as the registry does.
const QString kNumberTag = QStringLiteral("dword:");
const QString kTextTag = QStringLiteral("multi_sz:");

struct RawValue
{
    QByteArray bytes; // the value's data as the registry would hold it
};

RawValue rawFromStored(const QString& stored)
{
    RawValue raw;
    if (stored.startsWith(kNumberTag)) {
        bool ok = false;
        const qint64 v = stored.mid(kNumberTag.size()).toLongLong(&ok);
        if (ok) {
            quint32 le = qToLittleEndian(static_cast<quint32>(v));
            raw.bytes = QByteArray(reinterpret_cast<const char*>(&le), 4);
            return raw;
        }
    }
    QString text = stored.startsWith(kTextTag) ? stored.mid(kTextTag.size()) : stored;
    // A hand-edited plain number counts as a number.
    bool isNumber = false;
    const qint64 asNumber = text.toLongLong(&isNumber);
    if (!stored.startsWith(kTextTag) && isNumber) {
        quint32 le = qToLittleEndian(static_cast<quint32>(asNumber));
        raw.bytes = QByteArray(reinterpret_cast<const char*>(&le), 4);
        return raw;
    }
    // UTF-16 little-endian with the terminating null character.
    raw.bytes.resize((text.size() + 1) * 2);
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        raw.bytes[2 * i] = static_cast<char>(c & 0xFF);
        raw.bytes[2 * i + 1] = static_cast<char>(c >> 8);
    }
    raw.bytes[2 * text.size()] = 0;
    raw.bytes[2 * text.size() + 1] = 0;
    return raw;
}

} // namespace

SettingsStore::SettingsStore(const QString& folder)
    : m_folder(folder)
{
}

SettingsStore::~SettingsStore() = default;

SettingsStore& SettingsStore::user()
{
    static SettingsStore store([] {
        const QByteArray overrideDir = qgetenv("KORVANE_SETTINGS_DIR");
        if (!overrideDir.isEmpty())
            return QString::fromLocal8Bit(overrideDir);
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }());
    return store;
}

QString SettingsStore::filePathForKey(const QString& key) const
{
    QString leaf = key.section(QLatin1Char('\\'), -1);
    if (leaf.isEmpty())
        leaf = key;
    return QDir(m_folder).filePath(leaf + QStringLiteral(".ini"));
}

std::unique_ptr<QSettings> SettingsStore::open(const QString& key) const
{
    return std::make_unique<QSettings>(filePathForKey(key), QSettings::IniFormat);
}

bool SettingsStore::ReadRegistryNumber(const QString& key, const QString& name, int32_t& out) const
{
    auto settings = open(key);
    const QVariant stored = settings->value(name);
    if (!stored.isValid())
        return false;
    const RawValue raw = rawFromStored(stored.toString());
    // The query asks for 4 bytes; larger data does not fit and the read fails.
    if (raw.bytes.size() > 4)
        return false;
    quint32 value = 0;
    std::memcpy(&value, raw.bytes.constData(), static_cast<size_t>(raw.bytes.size()));
    out = static_cast<int32_t>(qFromLittleEndian(value));
    return true;
}

bool SettingsStore::WriteRegistryNumber(const QString& key, const QString& name, int32_t value)
{
    if (!QDir().mkpath(m_folder))
        return false;
    auto settings = open(key);
    const QString stored = kNumberTag + QString::number(static_cast<quint32>(value));
    // Writing what is already there changes nothing but costs a locked rewrite of the file with two
    // flushes to the disk (start-up writes several such values before the first picture).
    if (settings->value(name) == QVariant(stored))
        return settings->status() == QSettings::NoError;
    settings->setValue(name, stored);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SettingsStore::ReadRegistryText(const QString& key, const QString& name, QString& out) const
{
    auto settings = open(key);
    const QVariant stored = settings->value(name);
    if (!stored.isValid())
        return false;
    const RawValue raw = rawFromStored(stored.toString());
    if (raw.bytes.size() > kTextBufferBytes)
        return false;
    // The data lands in a zeroed buffer and is read up to the first null character.
    QString text;
    for (int i = 0; i + 1 < raw.bytes.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(static_cast<uchar>(raw.bytes[i])
                                                 | (static_cast<uchar>(raw.bytes[i + 1]) << 8));
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    out = text;
    return true;
}

bool SettingsStore::WriteRegistryText(const QString& key, const QString& name, const QString& text)
{
    if (!QDir().mkpath(m_folder))
        return false;
    auto settings = open(key);
    const QString stored = kTextTag + text;
    if (settings->value(name) == QVariant(stored))
        return settings->status() == QSettings::NoError;
    settings->setValue(name, stored);
    settings->sync();
    return settings->status() == QSettings::NoError;
}
