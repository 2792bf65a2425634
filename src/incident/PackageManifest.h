#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

// The package's list of SHA-256 sums, one line per file as sha256sum writes them ("<hex>  <name>"), so a
// receiver without this program can check it with `sha256sum -c manifest.sha256` as well.
namespace packagemanifest {

inline const QString kFileName = QStringLiteral("manifest.sha256");

// Lower-case hex SHA-256 of a file; empty when it cannot be read. `alsoSee` is shown every block read, so
// another sum (the zip's CRC-32) can be taken in the same single read of a large file.
QString sha256OfFile(const QString& path, const std::function<void(const char*, qsizetype)>& alsoSee = {});

// Lower-case hex SHA-256 of bytes in memory.
QString sha256(const QByteArray& bytes);

// Writes the manifest of every file directly in `folder` (the manifest itself aside), names sorted. Sums
// already taken (name -> hex) are used as they are.
bool write(const QString& folder, QString& error, const QHash<QString, QString>& known = {});

struct VerifyResult
{
    bool ok = false;
    bool manifestReadable = false;
    int filesChecked = 0;
    QStringList changed; // listed, present, different sum
    QStringList missing; // listed, gone
    QStringList unlisted; // present, not listed
    QString error;
};

VerifyResult verify(const QString& folder);

} // namespace packagemanifest
