#pragma once

#include "sensor/DatBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A card folder in a temporary directory, filled name by name.
class CardFolder
{
public:
    CardFolder() { EXPECT_TRUE(m_dir.isValid()); }

    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString path() const { return m_dir.path(); }

    void add(const QString& name, const QByteArray& bytes = QByteArray("video"))
    {
        ASSERT_TRUE(datbytes::writeFile(root() + name, bytes)) << name.toStdString();
    }
    void addFolder(const QString& name) { ASSERT_TRUE(QDir(root()).mkpath(name)); }
    void addSetup(const QByteArray& bytes)
    {
        addFolder(QStringLiteral("Setup"));
        add(QStringLiteral("Setup/setup.bin"), bytes);
    }
    // A parking data file whose trailing byte is `type`.
    void addParkingData(const QString& base, uint8_t type)
    {
        add(QStringLiteral("pmr_") + base + QStringLiteral(".dat"),
            datbytes::dataFile(datbytes::sensorRecord(1), datbytes::gpsRecord(1, 1, 1, 1), type));
    }

private:
    QTemporaryDir m_dir;
};

inline QByteArray setupWithCode(int length, int code)
{
    QByteArray bytes(length, '\0');
    if (length > 18)
        bytes[18] = static_cast<char>(code);
    return bytes;
}
