#include "incident/PackageManifest.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <set>

#include <openssl/evp.h>

namespace packagemanifest {

// OpenSSL's SHA-256 uses the processor's SHA instructions where it has them: hashing a clip costs a small
// part of writing it, where a portable implementation costs several times the write.
QString sha256(const QByteArray& bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.constData(), static_cast<size_t>(bytes.size()), digest, &length, EVP_sha256(), nullptr) != 1)
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)).toHex());
}

QString sha256OfFile(const QString& path, const std::function<void(const char*, qsizetype)>& alsoSee)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (!context)
        return {};
    bool ok = EVP_DigestInit_ex(context, EVP_sha256(), nullptr) == 1;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    while (ok) {
        const qint64 n = file.read(buffer.data(), buffer.size());
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        ok = EVP_DigestUpdate(context, buffer.constData(), static_cast<size_t>(n)) == 1;
        if (alsoSee)
            alsoSee(buffer.constData(), n);
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    ok = ok && EVP_DigestFinal_ex(context, digest, &length) == 1;
    EVP_MD_CTX_free(context);
    if (!ok)
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)).toHex());
}

static QStringList packageFiles(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    names.removeAll(kFileName);
    return names;
}

bool write(const QString& folder, QString& error, const QHash<QString, QString>& known)
{
    QByteArray text;
    for (const QString& name : packageFiles(folder)) {
        const QString sum = known.contains(name) ? known.value(name) : sha256OfFile(QDir(folder).filePath(name));
        if (sum.isEmpty()) {
            error = QStringLiteral("cannot read \"%1\"").arg(name);
            return false;
        }
        text += sum.toLatin1() + "  " + name.toUtf8() + '\n';
    }
    // Written in place: the manifest goes into a package folder that keeps a temporary name until it is whole
    // and synced.
    QFile file(QDir(folder).filePath(kFileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush()) {
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
