#include "sdcard/CardFiles.h"

#include "platform/CardDevices.h"
#include "sdcard/CardTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

class FolderFiles : public CardFiles
{
public:
    explicit FolderFiles(QString root)
        : m_root(std::move(root))
    {
    }
    bool exists(const QString& rel) const override { return QFileInfo(QDir(m_root).filePath(rel)).isFile(); }
    std::optional<QByteArray> read(const QString& rel) const override
    {
        QFile file(QDir(m_root).filePath(rel));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }
    bool write(const QString& rel, const QByteArray& data) override
    {
        const QString path = QDir(m_root).filePath(rel);
        if (!QDir().mkpath(QFileInfo(path).path()))
            return false;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const bool ok = file.write(data) == data.size() && file.flush();
        file.close();
        return ok && file.error() == QFile::NoError;
    }

private:
    QString m_root;
};

// mtools reach files inside a FAT image or an unmounted device without a mount (and so without root).
class ImageFiles : public CardFiles
{
public:
    explicit ImageFiles(QString image)
        : m_image(std::move(image))
    {
    }
    bool exists(const QString& rel) const override
    {
        return run(QStringLiteral("mdir"), { QStringLiteral("-b"), QStringLiteral("-i"), m_image, fatPath(rel) });
    }
    std::optional<QByteArray> read(const QString& rel) const override
    {
        QTemporaryDir dir;
        if (!dir.isValid())
            return std::nullopt;
        const QString out = dir.filePath(QStringLiteral("file"));
        if (!run(QStringLiteral("mcopy"),
                { QStringLiteral("-n"), QStringLiteral("-o"), QStringLiteral("-i"), m_image, fatPath(rel), out }))
            return std::nullopt;
        QFile file(out);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }
    bool write(const QString& rel, const QByteArray& data) override
    {
        QTemporaryDir dir;
        if (!dir.isValid())
            return false;
        const QString in = dir.filePath(QStringLiteral("file"));
        QFile file(in);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return false;
        file.close();
        // Create each missing parent folder; mmd fails on an existing one, which is fine.
        const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        QString folder;
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            folder += QLatin1Char('/') + parts[i];
            run(QStringLiteral("mmd"),
                { QStringLiteral("-D"), QStringLiteral("s"), QStringLiteral("-i"), m_image,
                    QStringLiteral("::") + folder });
        }
        return run(QStringLiteral("mcopy"),
            { QStringLiteral("-n"), QStringLiteral("-o"), QStringLiteral("-i"), m_image, in, fatPath(rel) });
    }

private:
    static QString fatPath(const QString& rel) { return QStringLiteral("::/") + rel; }
    static bool run(const QString& program, const QStringList& args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Small or odd-sized cards fail mtools' geometry sanity checks that do not matter for file access.
        env.insert(QStringLiteral("MTOOLS_SKIP_CHECK"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, args);
        if (!process.waitForFinished(60000))
            return false;
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString m_image;
};

} // namespace

std::unique_ptr<CardFiles> CardFilesInFolder(const QString& root)
{
    return std::make_unique<FolderFiles>(root);
}

std::unique_ptr<CardFiles> CardFilesInImage(const QString& imageOrDevice)
{
    return std::make_unique<ImageFiles>(imageOrDevice);
}

std::unique_ptr<CardFiles> CardFilesOf(const CardTarget& target)
{
    if (target.mounted())
        return CardFilesInFolder(target.mountPoint);
    return CardFilesInImage(target.path);
}

std::unique_ptr<CardFiles> CardFilesAfterFormat(
    const CardTarget& target, const platform::CardDevices& devices, QString* why)
{
    if (target.mounted() && devices.isMountOf(target.mountPoint, target.path))
        return CardFilesInFolder(target.mountPoint);
    if (const std::optional<QString> elsewhere = devices.mountPointOf(target.path)) {
        if (devices.isMountOf(*elsewhere, target.path))
            return CardFilesInFolder(*elsewhere);
        if (why)
            *why = QStringLiteral("%1 is mounted at %2, which the mount table does not confirm")
                       .arg(target.path, *elsewhere);
        return nullptr;
    }
    if (devices.mayAccess(target.path, true))
        return CardFilesInImage(target.path);
    if (why)
        *why = target.mounted() ? QStringLiteral("%1 was not mounted again at %2").arg(target.path, target.mountPoint)
                                : QStringLiteral("%1 is not mounted and cannot be written here").arg(target.path);
    return nullptr;
}
