#include "incident/PackageZip.h"

#include <QDir>
#include <QFile>

#include <zip.h>

namespace packagezip {

bool write(const QString& folder, const QString& entryFolderName, const QString& zipPath, QString& error)
{
    QFile::remove(zipPath);
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!archive) {
        error = QStringLiteral("cannot create \"%1\"").arg(zipPath);
        return false;
    }
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QByteArray source = QFile::encodeName(QDir(folder).filePath(name));
        zip_source_t* file = zip_source_file(archive, source.constData(), 0, -1);
        const QByteArray entry = (entryFolderName + QLatin1Char('/') + name).toUtf8();
        const zip_int64_t index = file ? zip_file_add(archive, entry.constData(), file, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (file)
                zip_source_free(file);
            error = QStringLiteral("cannot add \"%1\" to the zip").arg(name);
            zip_discard(archive);
            QFile::remove(zipPath);
            return false;
        }
        // The clip is compressed video already: storing it saves the time deflate would spend for nothing.
        if (name.endsWith(QLatin1String(".avi"), Qt::CaseInsensitive) || name.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive)
            || name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) < 0) {
        error = QStringLiteral("cannot write \"%1\": %2").arg(zipPath, QString::fromUtf8(zip_strerror(archive)));
        zip_discard(archive);
        QFile::remove(zipPath);
        return false;
    }
    return true;
}

} // namespace packagezip
