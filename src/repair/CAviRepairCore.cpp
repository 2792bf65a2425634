#include "repair/CAviRepairCore.h"

#include "platform/FileTransfer.h"
#include "repair/AviBytes.h"
#include "repair/AviHeaderLayout.h"
#include "repair/AviSourceReader.h"
#include "repair/AviTargetWriter.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

using namespace avibytes;

namespace {

// The header copy reads this much at a time.
constexpr int64_t kScanBlock = 4 * 1024 * 1024;
// Header bytes kept in memory for the header correction; a longer header is still copied whole.
constexpr int64_t kMaxHeaderInMemory = 64 * 1024 * 1024;
constexpr int64_t kPumpIntervalMs = 15;
constexpr uint32_t kAvifHasIndex = 0x10;

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

CAviRepairCore::CAviRepairCore(Pump pump)
    : m_pump(std::move(pump))
{
}

CAviRepairCore::~CAviRepairCore() = default;

uint32_t CAviRepairCore::streamChunkCount(int stream) const
{
    return m_walk && stream >= 0 && stream < 100 ? m_walk->streamChunks(size_t(stream)) : 0;
}

const std::vector<CAviRepairCore::IndexEntry>& CAviRepairCore::indexEntries() const
{
    static const std::vector<IndexEntry> none;
    return m_walk ? m_walk->index() : none;
}

void CAviRepairCore::reset()
{
    m_walk.reset();
    m_out.reset();
    m_in.reset();
    m_error.clear();
    m_unreadableBytes = 0;
    m_keyRule = AviKeyFrameRule();
    m_header.clear();
    m_fileSize = m_movieRef = 0;
    m_lastPumpMs = 0;
}

bool CAviRepairCore::fail(const QString& message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

void CAviRepairCore::pumpIfDue()
{
    if (!m_pump)
        return;
    const int64_t now = nowMs();
    if (now - m_lastPumpMs >= kPumpIntervalMs) {
        m_lastPumpMs = now;
        m_pump();
    }
}

bool CAviRepairCore::RepairFile(const QString& source, const QString& target, bool separateTarget,
    bool cutOutDamage, bool checkOnly, bool restartAtKeyFrame)
{
    reset();
    if (!separateTarget && !checkOnly)
        return fail(QStringLiteral("repairing in place is refused: the damaged file would be overwritten"));

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(QStringLiteral("cannot open %1: %2").arg(source, in.errorString()));
    if (!identify(&in))
        return false;
    if (checkOnly)
        return RepairDevice(&in, nullptr, cutOutDamage, restartAtKeyFrame);

    // The same file by any name (letter case on a card, a link) is refused by what it is, not by its name.
    const QFileInfo targetInfo(target);
    const std::optional<platform::FileIdentity> sourceIdentity = platform::fileIdentity(in);
    const auto isSource = [&] {
        const std::optional<platform::FileIdentity> t = platform::fileIdentity(targetInfo.absoluteFilePath());
        return t && (!sourceIdentity || *t == *sourceIdentity);
    };
    if (!sourceIdentity)
        return fail(QStringLiteral("cannot read %1: %2").arg(source, QString::fromLocal8Bit(std::strerror(errno))));
    if (isSource())
        return fail(QStringLiteral("the target is the source file itself"));

    // The result is built under a temporary name beside the target and renamed only when complete.
    const QDir dir = targetInfo.absoluteDir();
    QFile out;
    for (int attempt = 0; attempt < 100 && !out.isOpen(); ++attempt) {
        out.setFileName(dir.filePath(QStringLiteral(".%1.%2.repairing")
                                         .arg(targetInfo.fileName())
                                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        if (out.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (out.exists())
            continue;
        return fail(QStringLiteral("cannot create %1: %2").arg(target, out.errorString()));
    }
    if (!out.isOpen())
        return fail(QStringLiteral("cannot create %1").arg(target));

    std::unique_ptr<QIODevice> wrapped = m_targetWrapper ? m_targetWrapper(&out) : nullptr;
    bool ok = RepairDevice(&in, wrapped ? wrapped.get() : &out, cutOutDamage, restartAtKeyFrame);
    wrapped.reset();
    if (ok && !out.flush())
        ok = fail(QStringLiteral("writing %1 failed: %2").arg(target, out.errorString()));
    // The data reaches the card before the result takes the recording's name: a card pulled right after a
    // repair that said done must not leave an empty or partial file under that name.
    if (ok && !platform::syncFile(out))
        ok = fail(QStringLiteral("writing %1 failed: %2").arg(target, QString::fromLocal8Bit(std::strerror(errno))));
    out.close();
    if (ok && out.error() != QFileDevice::NoError)
        ok = fail(QStringLiteral("writing %1 failed: %2").arg(target, out.errorString()));
    if (ok && isSource())
        ok = fail(QStringLiteral("the target is the source file itself"));
    if (ok) {
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther);
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(out.fileName()).toStdString(),
            QFile::encodeName(targetInfo.absoluteFilePath()).toStdString(), ec);
        if (ec) {
            ok = fail(QStringLiteral("cannot move the result to %1: %2")
                          .arg(target, QString::fromLocal8Bit(ec.message().c_str())));
        } else if (!platform::syncDirectory(dir.absolutePath())) {
            // The name may not be on the card: the repair is not done. The file under the name is complete
            // (it was synced), so it is left for the user rather than removed.
            return fail(QStringLiteral("writing the folder of %1 failed: %2")
                            .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
        }
    }
    if (!ok)
        out.remove();
    return ok;
}

bool CAviRepairCore::RepairDevice(QIODevice* source, QIODevice* target, bool cutOutDamage, bool restartAtKeyFrame)
{
    reset();
    m_cutOutDamage = cutOutDamage;
    m_restartAtKeyFrame = restartAtKeyFrame;
    if (!source || !source->isOpen() || !source->isReadable())
        return fail(QStringLiteral("the source is not readable"));
    if (target && (!target->isOpen() || !target->isWritable()))
        return fail(QStringLiteral("the target is not writable"));
    m_fileSize = source->size();
    m_in = std::make_unique<AviSourceReader>(source, m_fileSize);
    m_out = std::make_unique<AviTargetWriter>(target, m_in.get(), [this] { pumpIfDue(); });
    m_lastPumpMs = nowMs();
    const bool ok = repairOpened(source);
    // No copy may still be running once the caller gets the devices back.
    m_out->stopWorker();
    return ok;
}

bool CAviRepairCore::repairOpened(QIODevice* source)
{
    // The header stage must read cleanly: without the header there is nothing to rebuild the file on.
    const auto headerUnreadable = [this] { return m_in->failed() || m_in->unreadableBytes() > 0; };
    const QString readFailed = QStringLiteral("reading the source failed");
    if (!identify(source))
        return false;
    if (!findMovieList())
        return fail(headerUnreadable() ? readFailed : QStringLiteral("the file has no movie list"));
    if (!copyHeader() || headerUnreadable())
        return fail(headerUnreadable() ? readFailed : QStringLiteral("writing the target failed"));
    m_walk = std::make_unique<AviMovieWalk>(*m_in, *m_out, m_keyRule, [this] { pumpIfDue(); }, m_fileSize,
        m_movieRef, AviMovieWalk::Options {m_cutOutDamage, m_restartAtKeyFrame});
    m_walk->run();
    const bool finished = !m_in->failed() && finish() && !m_out->failed();
    m_unreadableBytes = m_in->unreadableBytes();
    // Unreadable pieces of the movie data were stepped over like damage; only a source that is gone fails.
    if (m_in->failed())
        return fail(QStringLiteral("reading the source failed: the file can no longer be read"));
    if (!finished)
        return fail(QStringLiteral("writing the target failed"));
    return true;
}

bool CAviRepairCore::identify(QIODevice* source)
{
    unsigned char head[16] = {};
    if (m_in) {
        int64_t available = 0;
        const unsigned char* p = m_in->peek(0, 16, &available);
        if (m_in->failed() || m_in->unreadableBytes() > 0)
            return fail(QStringLiteral("reading the source failed"));
        std::memcpy(head, p, size_t(available));
        if (available < 16 && !(available >= 4 && head[0] == 0x1A))
            return fail(QStringLiteral("not an AVI file"));
    } else {
        if (!source->seek(0))
            return fail(QStringLiteral("reading the source failed"));
        const qint64 n = source->read(reinterpret_cast<char*>(head), 16);
        if (n < 0)
            return fail(QStringLiteral("reading the source failed"));
        if (n < 4)
            return fail(QStringLiteral("not an AVI file"));
    }
    if (head[0] == 0x1A && head[1] == 0x45 && head[2] == 0xDF && head[3] == 0xA3)
        return fail(QStringLiteral("a Matroska file is not repaired"));
    if (std::memcmp(head + 8, "AVI LIST", 8) != 0)
        return fail(QStringLiteral("not an AVI file"));
    return true;
}

bool CAviRepairCore::findMovieList()
{
    int64_t p = 16;
    while (p + 8 <= m_fileSize) {
        int64_t available = 0;
        const unsigned char* b = m_in->peek(p, 8, &available);
        if (available < 8)
            return false;
        if (isFourcc(b + 4, "movi")) {
            m_movieRef = p + 4;
            return true;
        }
        const uint32_t size = le32(b);
        p += 8 + int64_t(size) + (size & 1);
        pumpIfDue();
    }
    return false;
}

bool CAviRepairCore::copyHeader()
{
    // The whole header is read, so that an unreadable piece of it is found; what is kept in memory is bounded.
    const int64_t headerEnd = m_movieRef + 4;
    for (int64_t pos = 0; pos < headerEnd;) {
        int64_t available = 0;
        const unsigned char* p = m_in->block(pos, std::min(headerEnd - pos, kScanBlock), &available);
        if (available <= 0)
            return false;
        const int64_t keep = std::clamp<int64_t>(kMaxHeaderInMemory - pos, 0, available);
        if (keep > 0)
            m_header.append(reinterpret_cast<const char*>(p), int(keep));
        pos += available;
        pumpIfDue();
    }
    m_out->copyFromSource(0, headerEnd);

    AviHeaderLayout layout;
    layout.parse(m_header, 12, m_movieRef - 8);
    QByteArray codec = layout.videoCodec;
    if (codec.size() != 4 && m_header.size() >= 192)
        codec = m_header.mid(188, 4);
    m_keyRule.setCodec(codec);
    return !m_out->failed();
}

bool CAviRepairCore::patch(int64_t offset, const QByteArray& bytes)
{
    if (offset < m_header.size())
        m_header.replace(int(offset), int(bytes.size()), bytes);
    return m_out->overwrite(offset, bytes);
}

bool CAviRepairCore::finish()
{
    const std::vector<IndexEntry>& entries = m_walk->index();
    int64_t outPos = m_walk->outPos();
    if (outPos & 1) {
        m_out->appendZeros(1);
        ++outPos;
    }
    const int64_t movieSize = outPos - m_movieRef;

    QByteArray index;
    index.reserve(int(8 + entries.size() * 16));
    index.append("idx1", 4);
    index.append(le32Bytes(uint32_t(entries.size() * 16)));
    for (const IndexEntry& e : entries) {
        index.append(e.id.data(), 4);
        index.append(le32Bytes(e.flags));
        index.append(le32Bytes(e.offset));
        index.append(le32Bytes(e.size));
    }
    m_out->append(index);
    outPos += index.size();
    const int64_t riffSize = outPos - 8;

    // The file ends on a multiple of 2048 bytes; a "JUNK" chunk needs 8 bytes of its own, so content that
    // ends fewer than 8 bytes before a multiple is padded to the one after.
    const int64_t rest = outPos % 2048;
    if (rest != 0) {
        const int64_t junkSize = rest <= 2040 ? 2040 - rest : 4088 - rest;
        QByteArray junk("JUNK", 4);
        junk.append(le32Bytes(uint32_t(junkSize)));
        junk.append(QByteArray(int(junkSize), '\0'));
        m_out->append(junk);
        outPos += junk.size();
    }
    if (!m_out->settle())
        return false;
    if (!m_out->active())
        return true;
    if (m_in->unreadableBytes() > 0) {
        // The copy may have met a piece the walk could still read (a sector that fails now and then, or one
        // that shares the rescue piece with good bytes): the copy holds zeros there. The header must be whole;
        // a chunk header among the zeros is written again from the index, which knows its id and size, so the
        // file stays valid and only chunk data carries the damage.
        if (m_in->unreadableWithin(0, m_movieRef + 4))
            return fail(QStringLiteral("reading the source failed"));
        for (size_t i = 0; i < entries.size(); ++i) {
            if (m_in->unreadableWithin(m_walk->sourcePosition(i), 8)) {
                QByteArray head(entries[i].id.data(), 4);
                head.append(le32Bytes(entries[i].size));
                patch(m_movieRef + int64_t(entries[i].offset), head);
            }
        }
    }

    // The first bytes may be damaged like any others (the file was recognised by "AVI LIST"): the result
    // is a RIFF file again.
    patch(0, QByteArray("RIFF", 4));
    patch(4, le32Bytes(uint32_t(riffSize)));
    patch(m_movieRef - 4, le32Bytes(uint32_t(movieSize)));

    AviHeaderLayout layout;
    layout.parse(m_header, 12, m_movieRef - 8);
    const auto* h = reinterpret_cast<const unsigned char*>(m_header.constData());
    if (layout.avih >= 0) {
        patch(layout.avih + 12, le32Bytes(le32(h + layout.avih + 12) | kAvifHasIndex));
        patch(layout.avih + 16, le32Bytes(m_walk->streamChunks(0)));
    }
    for (size_t s = 0; s < 2; ++s) {
        if (layout.strh[s] < 0)
            continue;
        // Audio with a fixed sample size counts its length in samples, not in chunks.
        uint32_t length = m_walk->streamChunks(s);
        if (layout.strhType[s] == "auds" && layout.sampleSize[s] > 0)
            length = uint32_t(m_walk->streamBytes(s) / layout.sampleSize[s]);
        patch(layout.strh[s] + 32, le32Bytes(length));
    }
    if (layout.dmlh >= 0)
        patch(layout.dmlh, le32Bytes(m_walk->streamChunks(0)));
    // The OpenDML super indexes point at the old "ix" chunks, which are not copied: readers that trust them
    // would find nothing there, so they become filler and readers use the new idx1.
    for (int64_t at : layout.superIndexes)
        patch(at, QByteArray("JUNK", 4));
    const bool written = m_out->settle();
    m_out->stopWorker();
    return written;
}
