#pragma once

#include <QHash>
#include <QString>

// The package folder as one zip file, for sending by mail or upload. Entries sit below the folder's name, so
// unpacking gives the folder back.
//
// The clip and the report, compressed already, are stored; the text files are deflated. libdeflate gives the
// deflate and the CRC-32, which it takes with the processor's carry-less multiply, about three times as fast
// as zlib on a clip. A stored entry whose CRC-32 the caller already took (alongside its SHA-256, in one read)
// is copied into the zip inside the kernel, as `cp` copies, so the clip's bytes never pass through the process
// a second time. A package of 4 GiB or more is written by libzip, which writes the zip64 records it needs.
namespace packagezip {

// The zip format's CRC-32 of `size` more bytes, continuing `crc` (start with 0).
quint32 crc32(quint32 crc, const char* data, qsizetype size);

// name -> CRC-32 of a file in the folder whose sum is known already.
using KnownCrcs = QHash<QString, quint32>;

// A zip begun with one large stored entry (the clip), its bytes copied before their CRC-32 is known, so the
// copy runs while the file is summed; write() carries it on.
struct Begun
{
    QString name;
    qint64 size = 0;
    bool ok = false;
};
Begun begin(const QString& folder, const QString& entryFolderName, const QString& name, const QString& zipPath);

// Writes the zip of every file in `folder`, carrying on `begun` (when given, whole, and its CRC-32 known);
// removes the zip when it fails.
bool write(const QString& folder, const QString& entryFolderName, const QString& zipPath, QString& error,
    const KnownCrcs& known = {}, const Begun* begun = nullptr);

} // namespace packagezip
