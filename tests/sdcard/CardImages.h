#pragma once

// Card images made by the tests themselves with mkfs.fat and mtools: no loop devices, no mounts, no root.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace card_test {

inline bool runTool(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MTOOLS_SKIP_CHECK"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    const bool done = process.waitForFinished(60000);
    if (output)
        *output = process.readAll();
    return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A sparse image of `bytes` bytes holding a FAT32 file system (mkfs.fat writes only its tables).
inline bool makeFatImage(const QString& path, int64_t bytes, int sectorsPerCluster, const QString& label = QString())
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !file.resize(bytes))
        return false;
    file.close();
    QStringList args { QStringLiteral("-F"), QStringLiteral("32"), QStringLiteral("-s"),
        QString::number(sectorsPerCluster) };
    if (!label.isEmpty())
        args << QStringLiteral("-n") << label;
    args << path;
    return runTool(QStringLiteral("mkfs.fat"), args);
}

// Puts a file into the image (creating its folder).
inline bool putFile(
    const QString& image, const QString& folder, const QString& name, const QByteArray& data, const QString& scratch)
{
    QFile file(scratch);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        return false;
    file.close();
    runTool(QStringLiteral("mmd"),
        { QStringLiteral("-D"), QStringLiteral("s"), QStringLiteral("-i"), image, QStringLiteral("::/") + folder });
    return runTool(QStringLiteral("mcopy"),
        { QStringLiteral("-n"), QStringLiteral("-o"), QStringLiteral("-i"), image, scratch,
            QStringLiteral("::/") + folder + QLatin1Char('/') + name });
}

inline QByteArray getFile(const QString& image, const QString& path, const QString& scratch)
{
    QFile::remove(scratch);
    if (!runTool(QStringLiteral("mcopy"),
            { QStringLiteral("-n"), QStringLiteral("-o"), QStringLiteral("-i"), image, QStringLiteral("::/") + path,
                scratch }))
        return {};
    QFile file(scratch);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bytes that look like a settings file: every value different, so a shifted or truncated copy shows.
inline QByteArray settingsBytes(int size = 1000)
{
    QByteArray b(size, 0);
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>((i * 37 + 11) & 0xff);
    return b;
}

} // namespace card_test
