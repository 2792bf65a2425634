#include "incident/PackageManifest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <set>

namespace packagemanifest {

QString sha256OfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

static QStringList packageFiles(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    names.removeAll(kFileName);
    return names;
}

bool write(const QString& folder, QString& error)
{
    QByteArray text;
    for (const QString& name : packageFiles(folder)) {
        const QString sum = sha256OfFile(QDir(folder).filePath(name));
        if (sum.isEmpty()) {
            error = QStringLiteral("cannot read \"%1\"").arg(name);
            return false;
        }
        text += sum.toLatin1() + "  " + name.toUtf8() + '\n';
    }
    QSaveFile file(QDir(folder).filePath(kFileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = QStringLiteral("cannot write the manifest");
        return false;
    }
    return true;
}

VerifyResult verify(const QString& folder)
{
    VerifyResult result;
    QFile file(QDir(folder).filePath(kFileName));
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("no manifest in \"%1\"").arg(folder);
        return result;
    }
    static const QRegularExpression line(QStringLiteral("^([0-9a-f]{64}) [ *](.+)$"));
    std::set<QString> listed;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        if (raw.isEmpty())
            continue;
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(raw));
        // A name with a path in it would let a doctored manifest check files outside the package.
        if (!m.hasMatch() || m.captured(2).contains(QLatin1Char('/')) || m.captured(2) == QLatin1String("..")) {
            result.error = QStringLiteral("the manifest holds a line that is not a sum and a file name");
            return result;
        }
        const QString name = m.captured(2);
        listed.insert(name);
        const QString path = QDir(folder).filePath(name);
        if (!QFile::exists(path)) {
            result.missing << name;
            continue;
        }
        ++result.filesChecked;
        if (sha256OfFile(path) != m.captured(1))
            result.changed << name;
    }
    result.manifestReadable = true;
    for (const QString& name : packageFiles(folder)) {
        if (!listed.count(name))
            result.unlisted << name;
    }
    result.ok = !listed.empty() && result.changed.isEmpty() && result.missing.isEmpty() && result.unlisted.isEmpty();
    if (listed.empty())
        result.error = QStringLiteral("the manifest lists no file");
    return result;
}

} // namespace packagemanifest
