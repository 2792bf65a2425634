#include "incident/PackageZip.h"

#include "incident/WriteBackPacer.h"
#include "platform/FileTransfer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <vector>

#include <zip.h>
#include <libdeflate.h>

namespace packagezip {

namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint16 kStore = 0;
constexpr quint16 kDeflate = 8;
constexpr quint16 kUtf8Names = 0x0800;
constexpr quint16 kVersion = 20; // 2.0: deflate, folders
constexpr quint16 kMadeOnUnix = 3 << 8;
constexpr quint32 kRegularFileMode = 0100644;
// Below this the plain records hold every size and offset; beyond it libzip writes the zip64 ones.
constexpr qint64 kPlainLimit = std::numeric_limits<quint32>::max() - (1 << 20);
// Text is deflated whole in memory; anything larger (a clip in a container not named below) is stored.
constexpr qint64 kDeflateLimit = 16 << 20;

bool isCompressedAlready(const QString& name)
{
    return name.endsWith(QLatin1String(".avi"), Qt::CaseInsensitive) || name.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

void put16(QByteArray& b, quint16 v)
{
    b.append(char(v & 0xff)).append(char(v >> 8));
}

void put32(QByteArray& b, quint32 v)
{
    put16(b, quint16(v & 0xffff));
    put16(b, quint16(v >> 16));
}

struct Entry
{
    QString name; // in the folder
    QByteArray zipName; // UTF-8, below the folder's name
    qint64 size = 0;
    quint32 crc = 0;
    quint16 method = kStore;
    QByteArray deflated; // the compressed bytes of a deflated entry
    quint16 dosTime = 0;
    quint16 dosDate = 0;
    qint64 offset = 0; // of its local header
};

void setDosTime(Entry& e, const QDateTime& modified)
{
    QDateTime t = modified.toLocalTime();
    if (!t.isValid() || t.date().year() < 1980)
        t = QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    e.dosDate = quint16(((t.date().year() - 1980) << 9) | (t.date().month() << 5) | t.date().day());
    e.dosTime = quint16((t.time().hour() << 11) | (t.time().minute() << 5) | (t.time().second() / 2));
}

// Raw deflate (no zlib wrapper), as zip entries hold it; empty when it does not make the data smaller.
QByteArray deflated(const QByteArray& data)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    if (!compressor)
        return {};
    QByteArray out(qsizetype(libdeflate_deflate_compress_bound(compressor, size_t(data.size()))), Qt::Uninitialized);
    const size_t written = libdeflate_deflate_compress(compressor, data.constData(), size_t(data.size()), out.data(), size_t(out.size()));
    libdeflate_free_compressor(compressor);
    if (written == 0 || qsizetype(written) >= data.size())
        return {};
    out.truncate(qsizetype(written));
    return out;
}

QByteArray localHeader(const Entry& e)
{
    QByteArray h;
    put32(h, kLocalHeader);
    put16(h, kVersion);
    put16(h, kUtf8Names);
    put16(h, e.method);
    put16(h, e.dosTime);
    put16(h, e.dosDate);
    put32(h, e.crc);
    put32(h, quint32(e.method == kDeflate ? e.deflated.size() : e.size));
    put32(h, quint32(e.size));
    put16(h, quint16(e.zipName.size()));
    put16(h, 0);
    return h + e.zipName;
}

QByteArray centralHeader(const Entry& e)
{
    QByteArray h;
    put32(h, kCentralHeader);
    put16(h, kMadeOnUnix | kVersion);
    put16(h, kVersion);
    put16(h, kUtf8Names);
    put16(h, e.method);
    put16(h, e.dosTime);
    put16(h, e.dosDate);
    put32(h, e.crc);
    put32(h, quint32(e.method == kDeflate ? e.deflated.size() : e.size));
    put32(h, quint32(e.size));
    put16(h, quint16(e.zipName.size()));
    put16(h, 0); // extra
    put16(h, 0); // comment
    put16(h, 0); // disk
    put16(h, 0); // internal attributes
    put32(h, kRegularFileMode << 16);
    put32(h, quint32(e.offset));
    return h + e.zipName;
}

// Copies a stored file's bytes to `at` in the zip: inside the kernel when no CRC is asked for (it is known
// already), else through a buffer that takes the CRC on the way.
bool copyBytes(QFile& from, QFile& zip, qint64 at, qint64 size, quint32* crcOut)
{
    if (!crcOut) {
        const platform::RangeCopy r = platform::copyFileRange(from, 0, zip, at, size);
        if (r != platform::RangeCopy::Unsupported)
            return r == platform::RangeCopy::Done;
    }
    std::vector<char> buffer(size_t(std::min<qint64>(std::max<qint64>(size, 1), 1 << 20)));
    quint32 crc = 0;
    for (qint64 done = 0; done < size;) {
        const qint64 n = std::min<qint64>(size - done, qint64(buffer.size()));
        if (platform::readAt(from, done, buffer.data(), n) != n || platform::writeAt(zip, at + done, buffer.data(), n) != n)
            return false;
        crc = crc32(crc, buffer.data(), n);
        done += n;
    }
    if (crcOut)
        *crcOut = crc;
    return true;
}

qint64 localHeaderSize(const QByteArray& zipName)
{
    return 30 + zipName.size();
}

bool writeWithLibzip(const QString& folder, const QStringList& names, const QString& entryFolderName, const QString& zipPath, QString& error)
{
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!archive) {
        error = QStringLiteral("cannot create \"%1\"").arg(zipPath);
        return false;
    }
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
        if (isCompressedAlready(name))
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

} // namespace

quint32 crc32(quint32 crc, const char* data, qsizetype size)
{
    return quint32(libdeflate_crc32(crc, data, size_t(size)));
}

Begun begin(const QString& folder, const QString& entryFolderName, const QString& name, const QString& zipPath)
{
    Begun b;
    b.name = name;
    QFile::remove(zipPath);
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return b;
    b.size = file.size();
    if (b.size >= kPlainLimit)
        return b; // write() leaves it to libzip
    QFile zip(zipPath);
    if (!zip.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return b;
    const qint64 at = localHeaderSize((entryFolderName + QLatin1Char('/') + name).toUtf8());
    bool copied = false;
    {
        const WriteBackPacer pacer(zipPath);
        copied = copyBytes(file, zip, at, b.size, nullptr);
    }
    if (!copied) {
        zip.close();
        QFile::remove(zipPath);
        return b;
    }
    // The disk starts on the large copy while the rest of the package is made.
    platform::startWriteBack(zip);
    b.ok = true;
    return b;
}

bool write(const QString& folder, const QString& entryFolderName, const QString& zipPath, QString& error,
    const KnownCrcs& known, const Begun* begun)
{
    // A begun zip is carried on when the sum of its entry is known; otherwise it is written afresh.
    bool carryOn = begun && begun->ok && known.contains(begun->name) && QFileInfo::exists(zipPath);
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    std::vector<Entry> entries;
    qint64 total = 0;
    for (const QString& name : names) {
        const QFileInfo info(QDir(folder).filePath(name));
        Entry e;
        e.name = name;
        e.zipName = (entryFolderName + QLatin1Char('/') + name).toUtf8();
        e.size = info.size();
        setDosTime(e, info.lastModified());
        total += e.size + 2 * (46 + e.zipName.size());
        if (carryOn && name == begun->name) {
            carryOn = e.size == begun->size;
            entries.insert(entries.begin(), std::move(e)); // the begun entry's bytes lie first in the zip
        } else {
            entries.push_back(std::move(e));
        }
    }
    if (!carryOn)
        QFile::remove(zipPath);
    if (total >= kPlainLimit || entries.size() >= 0xffff) {
        QFile::remove(zipPath);
        return writeWithLibzip(folder, names, entryFolderName, zipPath, error);
    }

    QFile zip(zipPath);
    if (!zip.open(carryOn ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::NewOnly)) {
        error = QStringLiteral("cannot create \"%1\"").arg(zipPath);
        return false;
    }
    auto fail = [&](const QString& message) {
        error = message;
        zip.close();
        QFile::remove(zipPath);
        return false;
    };
    qint64 at = 0;
    for (Entry& e : entries) {
        e.offset = at;
        const qint64 headerSize = localHeaderSize(e.zipName);
        if (carryOn && at == 0) {
            e.crc = known.value(e.name);
        } else {
            QFile file(QDir(folder).filePath(e.name));
            if (!file.open(QIODevice::ReadOnly))
                return fail(QStringLiteral("cannot read \"%1\"").arg(e.name));
            if (!isCompressedAlready(e.name) && e.size <= kDeflateLimit) {
                const QByteArray data = file.readAll();
                if (data.size() != e.size)
                    return fail(QStringLiteral("cannot read \"%1\"").arg(e.name));
                e.crc = crc32(0, data.constData(), data.size());
                e.deflated = deflated(data);
                e.method = e.deflated.isEmpty() ? kStore : kDeflate;
                const QByteArray bytes = localHeader(e) + (e.method == kDeflate ? e.deflated : data);
                if (platform::writeAt(zip, at, bytes.constData(), bytes.size()) != bytes.size())
                    return fail(QStringLiteral("cannot write \"%1\"").arg(zipPath));
                at += bytes.size();
                continue;
            }
            const bool crcKnown = known.contains(e.name);
            e.crc = known.value(e.name);
            if (!copyBytes(file, zip, at + headerSize, e.size, crcKnown ? nullptr : &e.crc))
                return fail(QStringLiteral("cannot add \"%1\" to the zip").arg(e.name));
        }
        // The header goes in once the CRC is sure.
        const QByteArray header = localHeader(e);
        if (platform::writeAt(zip, at, header.constData(), header.size()) != header.size())
            return fail(QStringLiteral("cannot write \"%1\"").arg(zipPath));
        at += headerSize + e.size;
    }
    QByteArray directory;
    for (const Entry& e : entries)
        directory += centralHeader(e);
    QByteArray end;
    put32(end, kEndOfDirectory);
    put16(end, 0); // this disk
    put16(end, 0); // the disk the directory starts on
    put16(end, quint16(entries.size()));
    put16(end, quint16(entries.size()));
    put32(end, quint32(directory.size()));
    put32(end, quint32(at));
    put16(end, 0); // comment
    directory += end;
    if (platform::writeAt(zip, at, directory.constData(), directory.size()) != directory.size()
        || !zip.resize(at + directory.size()))
        return fail(QStringLiteral("cannot write \"%1\"").arg(zipPath));
    zip.close();
    if (zip.error() != QFileDevice::NoError) {
        QFile::remove(zipPath);
        error = QStringLiteral("cannot write \"%1\"").arg(zipPath);
        return false;
    }
    return true;
}

} // namespace packagezip
