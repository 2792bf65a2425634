#include "sdcard/CapacityTest.h"

#include "platform/CardDevices.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace capacitytest {
namespace {

constexpr char kMagic[8] = { 'K', 'R', 'V', 'C', 'A', 'P', 'T', '1' };
constexpr int kHeaderBytes = 32; // magic, run id, offset, checksum of the payload, 4 spare
constexpr uint64_t kFileBytes = 1ULL << 30;

uint64_t mix(uint64_t x)
{
    // splitmix64: a different, reproducible stream for every (run, offset).
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

uint32_t fnv1a(const char* data, qsizetype size)
{
    uint32_t h = 2166136261u;
    for (qsizetype i = 0; i < size; ++i)
        h = (h ^ static_cast<uint8_t>(data[i])) * 16777619u;
    return h;
}

class Folder : public Medium
{
public:
    Folder(QString root, QString dir)
        : m_root(std::move(root))
        , m_dir(std::move(dir))
    {
    }
    ~Folder() override { removeAll(); }

    uint64_t freeBytes() const override
    {
        QStorageInfo info(m_root);
        return info.isValid() ? static_cast<uint64_t>(info.bytesFree()) : 0;
    }
    bool write(uint64_t offset, const QByteArray& block) override
    {
        const uint64_t index = offset / kFileBytes;
        if (!m_writing || m_writingIndex != index) {
            if (m_writing && !closeWriting())
                return false;
            m_writing = std::make_unique<QFile>(fileName(index));
            m_writingIndex = index;
            if (!m_writing->open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return false;
            m_files = std::max<uint64_t>(m_files, index + 1);
        }
        return m_writing->write(block) == block.size();
    }
    bool finishWriting() override
    {
        const bool ok = !m_writing || closeWriting();
        m_writing.reset();
        return ok;
    }
    QByteArray read(uint64_t offset, int size) override
    {
        const uint64_t index = offset / kFileBytes;
        if (!m_reading || m_readingIndex != index) {
            m_reading = std::make_unique<QFile>(fileName(index));
            m_readingIndex = index;
            if (!m_reading->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                return {};
            platform::SyncAndDropCache(m_reading->handle());
        }
        if (!m_reading->seek(static_cast<qint64>(offset % kFileBytes)))
            return {};
        return m_reading->read(size);
    }
    void removeAll() override
    {
        m_writing.reset();
        m_reading.reset();
        for (uint64_t i = 0; i < m_files; ++i)
            QFile::remove(fileName(i));
        m_files = 0;
        QDir(m_root).rmdir(m_dir);
    }

private:
    QString fileName(uint64_t index) const
    {
        return QDir(QDir(m_root).filePath(m_dir))
            .filePath(QStringLiteral("%1.krv").arg(index, 4, 10, QLatin1Char('0')));
    }
    bool closeWriting()
    {
        const bool ok = m_writing->flush() && platform::SyncAndDropCache(m_writing->handle());
        m_writing->close();
        return ok && m_writing->error() == QFile::NoError;
    }

    QString m_root, m_dir;
    std::unique_ptr<QFile> m_writing, m_reading;
    uint64_t m_writingIndex = 0, m_readingIndex = 0, m_files = 0;
};

} // namespace

std::unique_ptr<Medium> FolderMedium(const QString& root, QString* error)
{
    const QDir dir(root);
    // A fresh folder of our own, so that no existing file can be overwritten or removed.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name
            = QStringLiteral("KRVTEST%1").arg(QRandomGenerator::global()->bounded(100000), 5, 10, QLatin1Char('0'));
        if (dir.exists(name))
            continue;
        if (!dir.mkdir(name))
            break;
        return std::make_unique<Folder>(root, name);
    }
    if (error)
        *error = QStringLiteral("cannot create a test folder in %1").arg(root);
    return nullptr;
}

QByteArray MakeBlock(uint64_t runId, uint64_t offset)
{
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    char* p = block.data();
    std::memcpy(p, kMagic, 8);
    qToLittleEndian<quint64>(runId, p + 8);
    qToLittleEndian<quint64>(offset, p + 16);
    uint64_t state = mix(runId ^ mix(offset));
    for (int i = kHeaderBytes; i < kBlockBytes; i += 8) {
        state = mix(state);
        qToLittleEndian<quint64>(state, p + i);
    }
    qToLittleEndian<quint32>(fnv1a(p + kHeaderBytes, kBlockBytes - kHeaderBytes), p + 24);
    qToLittleEndian<quint32>(0, p + 28);
    return block;
}

BlockState CheckBlock(const QByteArray& block, uint64_t runId, uint64_t offset, uint64_t* describedOffset)
{
    if (block.size() != kBlockBytes || std::memcmp(block.constData(), kMagic, 8) != 0)
        return BlockState::Corrupt;
    const char* p = block.constData();
    const uint64_t run = qFromLittleEndian<quint64>(p + 8);
    const uint64_t described = qFromLittleEndian<quint64>(p + 16);
    if (describedOffset)
        *describedOffset = described;
    if (run != runId || qFromLittleEndian<quint32>(p + 24) != fnv1a(p + kHeaderBytes, kBlockBytes - kHeaderBytes))
        return BlockState::Corrupt;
    if (block != MakeBlock(runId, described))
        return BlockState::Corrupt;
    return described == offset ? BlockState::Good : BlockState::Aliased;
}

Result Run(Medium& medium, const Options& options)
{
    Result result;
    const uint64_t runId = options.runId != 0 ? options.runId : (QRandomGenerator::global()->generate64() | 1);
    uint64_t budget = medium.freeBytes();
    // Leave room for the file system's own records (directory entries, the FAT's last updates).
    const uint64_t reserve = std::max<uint64_t>(1 << 20, budget / 1000);
    budget = budget > reserve ? budget - reserve : 0;
    if (options.maxBytes > 0)
        budget = std::min(budget, options.maxBytes);
    const uint64_t blocks = budget / kBlockBytes;
    if (blocks == 0) {
        result.error = QStringLiteral("no free space to test");
        return result;
    }

    auto report = [&](uint64_t done, uint64_t total, int base) {
        if (options.progress)
            options.progress(base + static_cast<int>(done * 50 / std::max<uint64_t>(total, 1)));
    };

    QElapsedTimer timer;
    timer.start();
    uint64_t written = 0;
    for (uint64_t i = 0; i < blocks; ++i) {
        if (!medium.write(i * kBlockBytes, MakeBlock(runId, i * kBlockBytes)))
            break; // the card is full sooner than it said: what was written is what gets checked
        ++written;
        if ((i & 63) == 0) {
            report(i, blocks, 0);
            if (options.pump)
                options.pump();
        }
    }
    medium.finishWriting();
    const double writeSeconds = std::max<double>(timer.nsecsElapsed() / 1e9, 1e-9);
    result.testedBytes = written * kBlockBytes;
    result.writeMBps = result.testedBytes / 1e6 / writeSeconds;

    timer.restart();
    for (uint64_t i = 0; i < written; ++i) {
        const uint64_t offset = i * kBlockBytes;
        switch (CheckBlock(medium.read(offset, kBlockBytes), runId, offset)) {
        case BlockState::Good:
            result.goodBytes += kBlockBytes;
            break;
        case BlockState::Aliased:
            result.aliasedBytes += kBlockBytes;
            result.badBytes += kBlockBytes;
            break;
        case BlockState::Corrupt:
            result.badBytes += kBlockBytes;
            break;
        }
        if ((i & 63) == 0) {
            report(i, written, 50);
            if (options.pump)
                options.pump();
        }
    }
    const double readSeconds = std::max<double>(timer.nsecsElapsed() / 1e9, 1e-9);
    result.readMBps = result.testedBytes / 1e6 / readSeconds;
    medium.removeAll();
    if (options.progress)
        options.progress(100);
    result.ran = written > 0;
    return result;
}

} // namespace capacitytest
