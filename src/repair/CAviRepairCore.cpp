#include "repair/CAviRepairCore.h"

#include "platform/FileTransfer.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <thread>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <filesystem>

namespace {

// The damage search and the header copy read this much at a time.
constexpr int64_t kScanBlock = 4 * 1024 * 1024;
// Chunk data bytes the key-frame rules look at.
constexpr int64_t kKeyFrameBytes = 64;
// Header bytes kept in memory for the header correction; a longer header is still copied whole.
constexpr int64_t kMaxHeaderInMemory = 64 * 1024 * 1024;
// idx1 offsets and the RIFF size are 32-bit: chunks stop being taken before they would overflow.
constexpr int64_t kMaxOutputBytes = 0xFFFFFFFFll - 8192;
constexpr int64_t kPumpIntervalMs = 15;
constexpr uint32_t kAvifHasIndex = 0x10;

uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

QByteArray le32Bytes(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Two decimal digits followed by "dc", "db" or "wb".
bool isStreamId(const unsigned char* p)
{
    return isDigit(p[0]) && isDigit(p[1])
        && ((p[2] == 'd' && (p[3] == 'c' || p[3] == 'b')) || (p[2] == 'w' && p[3] == 'b'));
}

bool isFourcc(const unsigned char* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

bool isIndexChunkId(const unsigned char* p)
{
    return p[0] == 'i' && p[1] == 'x' && isDigit(p[2]) && isDigit(p[3]);
}

int streamNumber(const unsigned char* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Reads the source: small peeks at chunk headers, and larger blocks where damage has to be searched byte by
// byte. The data of kept chunks is never read here; the writer moves it from file to file.
class CAviRepairCore::SourceReader
{
public:
    SourceReader(QIODevice* device, int64_t fileSize)
        : m_device(device)
        , m_file(qobject_cast<QFileDevice*>(device))
        , m_fileSize(fileSize)
        , m_peek(size_t(kPeekBytes))
    {
        if (m_file)
            platform::adviseSequential(*m_file);
    }

    // Up to `wanted` (at most kPeekBytes) bytes at `pos`; *available tells how many are there, fewer only at
    // the end of the file or after a read failure. Valid until the next peek.
    const unsigned char* peek(int64_t pos, int64_t wanted, int64_t* available)
    {
        wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kPeekBytes);
        if (pos < m_peekStart || pos + wanted > m_peekStart + m_peekLength) {
            m_peekStart = pos;
            m_peekLength = read(pos, m_peek.data(), std::min<int64_t>(kPeekBytes, m_fileSize - pos));
            if (m_file && pos + kPrefetchBytes / 2 > m_prefetchedTo) {
                // keep the card reading ahead of the walk in large pieces
                platform::prefetch(*m_file, pos, kPrefetchBytes);
                m_prefetchedTo = pos + kPrefetchBytes;
            }
        }
        *available = std::min(wanted, m_peekLength);
        return m_peek.data() + (pos - m_peekStart);
    }

    // Up to `wanted` (at most kBlockBytes) bytes at `pos`, valid until the next block() call.
    const unsigned char* block(int64_t pos, int64_t wanted, int64_t* available)
    {
        if (m_block.empty())
            m_block.resize(size_t(kBlockBytes));
        wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kBlockBytes);
        *available = read(pos, m_block.data(), wanted);
        return m_block.data();
    }

    // Reads `size` bytes at `pos` into `into`; returns how many were read.
    int64_t read(int64_t pos, unsigned char* into, int64_t size)
    {
        if (m_file && m_file->handle() >= 0 && !m_failed) {
            const int64_t n = platform::readAt(*m_file, pos, into, size);
            if (n != size)
                m_failed = true;
            return std::max<int64_t>(n, 0);
        }
        int64_t done = 0;
        if (size > 0 && !m_failed && !m_device->seek(pos))
            m_failed = true;
        while (done < size && !m_failed) {
            const qint64 n = m_device->read(reinterpret_cast<char*>(into + done), size - done);
            if (n <= 0)
                m_failed = true;
            else
                done += n;
        }
        return done;
    }

    QFileDevice* file() const { return m_file; }
    bool failed() const { return m_failed; }

private:
    static constexpr int64_t kPeekBytes = 4096;
    static constexpr int64_t kBlockBytes = 4 * 1024 * 1024;
    static constexpr int64_t kPrefetchBytes = 32 * 1024 * 1024;

    QIODevice* m_device;
    QFileDevice* m_file;
    int64_t m_fileSize;
    std::vector<unsigned char> m_peek;
    std::vector<unsigned char> m_block;
    int64_t m_peekStart = 0;
    int64_t m_peekLength = 0;
    int64_t m_prefetchedTo = 0;
    bool m_failed = false;
};

// ---------------------------------------------------------------------------------------------------------
// Appends to the target sequentially. Kept chunks are copied from the source by position; neighbouring
// pieces are joined, so a clean stretch of the file becomes one copy.
//
// Between two plain files the copies are made inside the kernel (one sequential read and one sequential
// write, like `cp`) by a helper thread, so that walking the chunk headers overlaps with moving the data; the
// caller's thread only queues the copies and waits for them at the end. Where the kernel cannot copy whole
// pages, or cannot copy at all, the helper thread copies through a buffer of its own. Other devices go through
// a buffer in the caller's thread.
class CAviRepairCore::TargetWriter
{
public:
    TargetWriter(QIODevice* device, SourceReader* source, std::function<void()> pump)
        : m_device(device)
        , m_file(qobject_cast<QFileDevice*>(device))
        , m_source(source)
        , m_pump(std::move(pump))
    {
        if (m_device && m_file && m_file->handle() >= 0 && source->file() && source->file()->handle() >= 0)
            m_worker = std::thread([this] { work(); });
    }

    ~TargetWriter() { stopWorker(); }

    void copyFromSource(int64_t pos, int64_t size)
    {
        if (!m_device || failed() || size <= 0)
            return;
        if (m_runSize > 0 && m_runStart + m_runSize == pos) {
            m_runSize += size;
            // Hand long runs on in pieces, so the copying keeps pace with the walk instead of waiting for it.
            // Pieces end where the target reaches a multiple of 2 MiB: the kernel writes a copy that starts
            // there in large blocks of memory, and one that starts elsewhere page by page, far more slowly.
            if (m_runSize >= kRunPieceBytes) {
                const int64_t piece = ((m_pos + m_runSize) & ~(kAlignBytes - 1)) - m_pos;
                if (piece > 0) {
                    const int64_t rest = m_runSize - piece;
                    m_runSize = piece;
                    flush();
                    m_runStart += piece;
                    m_runSize = rest;
                }
            }
            return;
        }
        flush();
        m_runStart = pos;
        m_runSize = size;
    }

    void append(const QByteArray& bytes)
    {
        if (!m_device || !flush() || bytes.isEmpty())
            return;
        if (m_worker.joinable())
            push(Op {0, bytes.size(), m_pos, bytes});
        else
            writeHere(m_pos, bytes.constData(), bytes.size());
        m_pos += bytes.size();
    }

    void appendZeros(int64_t size) { append(QByteArray(int(size), '\0')); }

    // Hands the pending copy on (to the helper thread, or does it here).
    bool flush()
    {
        if (!m_device || failed() || m_runSize == 0) {
            m_runSize = 0;
            return !failed();
        }
        const Op op {m_runStart, m_runSize, m_pos, {}};
        m_pos += m_runSize;
        m_runSize = 0;
        if (m_worker.joinable())
            push(op);
        else
            copyHere(op);
        return !failed();
    }

    // Waits until everything queued is in the target, keeping the caller's pump going.
    bool settle()
    {
        flush();
        if (m_worker.joinable()) {
            while (m_head.load() != m_tail.load())
                idle();
        }
        return !failed();
    }

    bool overwrite(int64_t offset, const QByteArray& bytes)
    {
        if (!m_device || !settle())
            return !failed();
        if (m_worker.joinable()) {
            if (platform::writeAt(*m_file, offset, bytes.constData(), bytes.size()) != bytes.size())
                m_failed = true;
        } else {
            writeHere(offset, bytes.constData(), bytes.size());
        }
        return !failed();
    }

    bool failed() const { return m_failed.load(); }
    bool active() const { return m_device != nullptr; }

    void stopWorker()
    {
        if (!m_worker.joinable())
            return;
        push(Op {-1, 0, 0, {}});
        m_worker.join();
    }

private:
    static constexpr int64_t kCopyBufferBytes = 8 * 1024 * 1024;
    static constexpr int64_t kRunPieceBytes = 8 * 1024 * 1024;
    static constexpr int64_t kAlignBytes = 2 * 1024 * 1024;
    static constexpr int64_t kPageBytes = 4096;
    static constexpr int64_t kWorkerBufferBytes = 4 * 1024 * 1024;
    static constexpr int64_t kWritePieceBytes = 256 * 1024;
    static constexpr uint32_t kQueueLength = 256;
    static constexpr int64_t kMaxQueuedBytes = 32 * 1024 * 1024;

    // A copy of `size` source bytes from `sourcePos`, or (sourcePos 0 with bytes) a literal write, or
    // (sourcePos -1) the end of the helper thread.
    struct Op
    {
        int64_t sourcePos;
        int64_t size;
        int64_t targetPos;
        QByteArray bytes;
    };

    // Single producer (the caller's thread), single consumer (the helper thread); the two positions are the
    // only shared state.
    void push(Op op)
    {
        // The walk stays at most a few pieces ahead of the copying, so that the caller's thread never has
        // to wait long without pumping (at the end, or when the card is slow).
        const uint32_t tail = m_tail.load();
        while (tail - m_head.load() == kQueueLength || (op.sourcePos >= 0 && m_queuedBytes.load() > kMaxQueuedBytes))
            idle();
        m_queuedBytes += op.size;
        m_queue[tail % kQueueLength] = std::move(op);
        m_tail.store(tail + 1);
        m_tail.notify_one();
    }

    void idle()
    {
        if (m_pump)
            m_pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    void work()
    {
        for (;;) {
            const uint32_t head = m_head.load();
            uint32_t tail = m_tail.load();
            while (tail == head) {
                m_tail.wait(tail);
                tail = m_tail.load();
            }
            Op op = std::move(m_queue[head % kQueueLength]);
            const bool last = op.sourcePos < 0;
            if (!last && !m_failed.load()) {
                if (!op.bytes.isEmpty()) {
                    if (platform::writeAt(*m_file, op.targetPos, op.bytes.constData(), op.size) != op.size)
                        m_failed = true;
                } else {
                    copyOnHelperThread(op);
                }
            }
            m_queuedBytes -= op.size;
            m_head.store(head + 1);
            if (last)
                return;
        }
    }

    // Runs on the helper thread; reads the source only by position, so the caller's thread may keep reading it.
    void copyOnHelperThread(const Op& op)
    {
        // The kernel copies whole pages only when both offsets lie at the same place within a page; otherwise
        // (a chunk found at an odd offset after damage, which can never be put at an odd target offset) it
        // takes up to three times as long as through a buffer of our own.
        const bool congruent = (op.sourcePos - op.targetPos) % kPageBytes == 0;
        if (m_kernelCopy && congruent) {
            switch (platform::copyFileRange(*m_source->file(), op.sourcePos, *m_file, op.targetPos, op.size)) {
            case platform::RangeCopy::Done:
                return;
            case platform::RangeCopy::Failed:
                m_failed = true;
                return;
            case platform::RangeCopy::Unsupported:
                m_kernelCopy = false;
                break;
            }
        }
        copyThroughBuffer(op);
    }

    // Large reads, and writes that start on page boundaries of the target (all but the first) from the same
    // place within a page of the buffer. The writes are kept to kWritePieceBytes: for one long write the
    // kernel takes large blocks of fresh memory for the file's pages, which were measured to fill several
    // times more slowly than the blocks it takes for the pieces of a kernel copy.
    void copyThroughBuffer(const Op& op)
    {
        if (!m_workerBuffer)
            m_workerBuffer.reset(static_cast<unsigned char*>(
                ::operator new(size_t(kWorkerBufferBytes + kPageBytes), std::align_val_t(size_t(kPageBytes)))));
        for (int64_t done = 0; done < op.size;) {
            unsigned char* const buffer = m_workerBuffer.get() + (op.targetPos + done) % kPageBytes;
            const int64_t n = std::min(op.size - done, kWorkerBufferBytes);
            if (platform::readAt(*m_source->file(), op.sourcePos + done, buffer, n) != n) {
                m_failed = true;
                return;
            }
            for (int64_t written = 0; written < n;) {
                const int64_t target = op.targetPos + done + written;
                const int64_t piece = std::min(n - written, kWritePieceBytes - target % kWritePieceBytes);
                if (platform::writeAt(*m_file, target, buffer + written, piece) != piece) {
                    m_failed = true;
                    return;
                }
                written += piece;
            }
            done += n;
        }
    }

    void copyHere(const Op& op)
    {
        if (m_buffer.empty())
            m_buffer.resize(size_t(kCopyBufferBytes));
        for (int64_t done = 0; done < op.size && !failed();) {
            const int64_t n = std::min(op.size - done, kCopyBufferBytes);
            if (m_source->read(op.sourcePos + done, m_buffer.data(), n) != n) {
                m_failed = true;
                break;
            }
            writeHere(op.targetPos + done, reinterpret_cast<const char*>(m_buffer.data()), n);
            done += n;
        }
    }

    void writeHere(int64_t offset, const char* data, int64_t size)
    {
        if (failed())
            return;
        if (m_device->pos() != offset && !m_device->seek(offset)) {
            m_failed = true;
            return;
        }
        while (size > 0) {
            const qint64 n = m_device->write(data, size);
            if (n <= 0) {
                m_failed = true;
                return;
            }
            data += n;
            size -= n;
        }
    }

    QIODevice* m_device;
    QFileDevice* m_file;
    SourceReader* m_source;
    int64_t m_pos = 0;
    int64_t m_runStart = 0;
    int64_t m_runSize = 0;
    std::vector<unsigned char> m_buffer;
    std::atomic<bool> m_failed {false};

    std::thread m_worker;
    std::array<Op, kQueueLength> m_queue;
    std::atomic<uint32_t> m_head {0};
    std::atomic<uint32_t> m_tail {0};
    std::atomic<int64_t> m_queuedBytes {0};
    std::function<void()> m_pump;
    bool m_kernelCopy = true; // helper thread only
    struct AlignedDelete
    {
        void operator()(unsigned char* p) const { ::operator delete(p, std::align_val_t(size_t(kPageBytes))); }
    };
    std::unique_ptr<unsigned char[], AlignedDelete> m_workerBuffer; // helper thread only
};

// ---------------------------------------------------------------------------------------------------------
// Where the header pieces that get corrected lie (offsets from the start of the file).
struct CAviRepairCore::HeaderLayout
{
    int64_t avih = -1;
    std::array<int64_t, 2> strh {-1, -1};
    std::array<QByteArray, 2> strhType;
    std::array<uint32_t, 2> sampleSize {0, 0};
    int64_t dmlh = -1;
    uint32_t dmlhSize = 0;
    std::vector<int64_t> superIndexes; // "indx" chunk ids
    QByteArray videoCodec;
    int streamLists = 0;

    void parse(const QByteArray& header, int64_t begin, int64_t end) { parseList(header, begin, end, -1); }

private:
    void parseList(const QByteArray& header, int64_t begin, int64_t end, int stream)
    {
        const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
        end = std::min<int64_t>(end, header.size());
        int64_t pos = begin;
        while (pos + 8 <= end) {
            const unsigned char* id = h + pos;
            const uint32_t size = le32(h + pos + 4);
            const int64_t body = pos + 8;
            const int64_t bodyEnd = body + int64_t(size);
            if (isFourcc(id, "LIST")) {
                if (body + 4 > end || isFourcc(h + body, "movi"))
                    return;
                if (isFourcc(h + body, "strl"))
                    parseList(header, body + 4, std::min(bodyEnd, end), streamLists++);
                else
                    parseList(header, body + 4, std::min(bodyEnd, end), stream);
            } else if (isFourcc(id, "avih") && size == 56 && bodyEnd <= end && avih < 0) {
                avih = body;
            } else if (isFourcc(id, "strh") && size == 56 && bodyEnd <= end && stream >= 0 && stream < 2
                && strh[size_t(stream)] < 0) {
                strh[size_t(stream)] = body;
                strhType[size_t(stream)] = QByteArray(reinterpret_cast<const char*>(h + body), 4);
                sampleSize[size_t(stream)] = le32(h + body + 44);
            } else if (isFourcc(id, "strf") && stream >= 0 && stream < 2 && size >= 20 && bodyEnd <= end
                && strhType[size_t(stream)] == "vids" && videoCodec.isEmpty()) {
                videoCodec = QByteArray(reinterpret_cast<const char*>(h + body + 16), 4);
            } else if (isFourcc(id, "dmlh") && size >= 4 && bodyEnd <= end && dmlh < 0) {
                dmlh = body;
                dmlhSize = size;
            } else if (isFourcc(id, "indx")) {
                superIndexes.push_back(pos);
            }
            // Everything else ("strf" of audio, "JUNK", "vprp", "strn", "indx", ...) is passed over by size.
            pos = bodyEnd + (size & 1);
        }
    }
};

// ---------------------------------------------------------------------------------------------------------

CAviRepairCore::CAviRepairCore(Pump pump)
    : m_pump(std::move(pump))
{
}

CAviRepairCore::~CAviRepairCore() = default;

uint32_t CAviRepairCore::streamChunkCount(int stream) const
{
    return stream >= 0 && stream < int(m_streamChunks.size()) ? m_streamChunks[size_t(stream)] : 0;
}

void CAviRepairCore::reset()
{
    m_in.reset();
    m_out.reset();
    m_error.clear();
    m_keyRule = AviKeyFrameRule();
    m_index.clear();
    m_streamChunks.fill(0);
    m_streamBytes.fill(0);
    m_header.clear();
    m_fileSize = m_readPos = m_outPos = m_movieRef = 0;
    m_endMarkers = 0;
    m_needKeyFrame = m_afterOddChunk = m_indexFull = false;
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

    const QFileInfo sourceInfo(source);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == sourceInfo.canonicalFilePath())
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
    out.close();
    if (ok && out.error() != QFileDevice::NoError)
        ok = fail(QStringLiteral("writing %1 failed: %2").arg(target, out.errorString()));
    if (ok) {
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther);
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(out.fileName()).toStdString(),
            QFile::encodeName(targetInfo.absoluteFilePath()).toStdString(), ec);
        if (ec)
            ok = fail(QStringLiteral("cannot move the result to %1: %2")
                          .arg(target, QString::fromLocal8Bit(ec.message().c_str())));
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
    m_in = std::make_unique<SourceReader>(source, m_fileSize);
    m_out = std::make_unique<TargetWriter>(target, m_in.get(), [this] { pumpIfDue(); });
    m_lastPumpMs = nowMs();
    const bool ok = repairOpened(source);
    // No copy may still be running once the caller gets the devices back.
    m_out->stopWorker();
    return ok;
}

bool CAviRepairCore::repairOpened(QIODevice* source)
{
    if (!identify(source))
        return false;
    if (!findMovieList())
        return fail(QStringLiteral("the file has no movie list"));
    if (!copyHeader())
        return fail(m_in->failed() ? QStringLiteral("reading the source failed")
                                   : QStringLiteral("writing the target failed"));
    walk();
    if (m_in->failed())
        return fail(QStringLiteral("reading the source failed"));
    if (!finish() || m_out->failed())
        return fail(QStringLiteral("writing the target failed"));
    return true;
}

bool CAviRepairCore::identify(QIODevice* source)
{
    unsigned char head[16] = {};
    if (m_in) {
        int64_t available = 0;
        const unsigned char* p = m_in->peek(0, 16, &available);
        std::memcpy(head, p, size_t(available));
        if (available < 16 && !(available >= 4 && head[0] == 0x1A))
            return fail(QStringLiteral("not an AVI file"));
    } else {
        if (!source->seek(0) || source->read(reinterpret_cast<char*>(head), 16) < 4)
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
    const int64_t headerEnd = m_movieRef + 4;
    for (int64_t pos = 0; pos < headerEnd;) {
        int64_t available = 0;
        const int64_t wanted = std::min(headerEnd, kMaxHeaderInMemory) - pos;
        if (wanted <= 0)
            break;
        const unsigned char* p = m_in->block(pos, std::min(wanted, kScanBlock), &available);
        if (available <= 0)
            return false;
        m_header.append(reinterpret_cast<const char*>(p), int(available));
        pos += available;
    }
    m_out->copyFromSource(0, headerEnd);
    m_readPos = m_outPos = headerEnd;

    HeaderLayout layout;
    layout.parse(m_header, 12, m_movieRef - 8);
    QByteArray codec = layout.videoCodec;
    if (codec.size() != 4 && m_header.size() >= 192)
        codec = m_header.mid(188, 4);
    m_keyRule.setCodec(codec);
    return !m_out->failed();
}

bool CAviRepairCore::copyThrough(int64_t from, int64_t to)
{
    if (to > from) {
        m_out->copyFromSource(from, to - from);
        m_outPos += to - from;
    }
    return true;
}

bool CAviRepairCore::structuralAt(int64_t pos)
{
    int64_t available = 0;
    const unsigned char* p = m_in->peek(pos, 12, &available);
    if (available < 8)
        return false;
    const uint32_t size = le32(p + 4);
    const bool fits = pos + 8 + int64_t(size) <= m_fileSize;
    if (isFourcc(p, "LIST") || isFourcc(p, "RIFF")) {
        if (available < 12)
            return false;
        return isFourcc(p + 8, "rec ") || isFourcc(p + 8, "movi") || isFourcc(p + 8, "AVIX");
    }
    if (isFourcc(p, "idx1"))
        return size % 16 == 0;
    if (isIndexChunkId(p) || isFourcc(p, "JUNK"))
        return fits;
    return false;
}

bool CAviRepairCore::streamCandidateAt(int64_t pos, bool keyFrameOnly)
{
    int64_t available = 0;
    const unsigned char* p = m_in->peek(pos, 8, &available);
    if (available < 8 || !isStreamId(p))
        return false;
    const bool audio = p[2] == 'w';
    const bool compressedVideo = p[3] == 'c';
    const int stream = streamNumber(p);
    const uint32_t size = le32(p + 4);
    if (size >= kMaxChunkSize || pos + 8 + int64_t(size) > m_fileSize)
        return false;
    if (!keyFrameOnly)
        return true;
    if (audio)
        return false;
    if (!compressedVideo)
        return true;
    p = m_in->peek(pos, 8 + std::min<int64_t>(size, kKeyFrameBytes), &available);
    return m_keyRule.isKeyFrame(p + 8, uint32_t(available - 8), size, m_streamChunks[size_t(stream)]);
}

bool CAviRepairCore::acceptableAt(int64_t pos)
{
    return streamCandidateAt(pos, m_restartAtKeyFrame) || structuralAt(pos);
}

int64_t CAviRepairCore::searchFrom(int64_t from)
{
    int64_t pos = from;
    while (pos + 8 <= m_fileSize && !m_in->failed()) {
        pumpIfDue();
        int64_t available = 0;
        const unsigned char* p = m_in->block(pos, kScanBlock, &available);
        const int64_t last = available - 8;
        if (last < 0)
            break;
        int64_t k = 0;
        for (; k <= last; ++k) {
            const unsigned char* q = p + k;
            // Cheap filter on every byte alignment; the full test follows.
            if (isStreamId(q) || ((q[0] == 'L' || q[0] == 'R' || q[0] == 'i' || q[0] == 'J') && (isFourcc(q, "LIST")
                   || isFourcc(q, "RIFF") || isFourcc(q, "idx1") || isIndexChunkId(q) || isFourcc(q, "JUNK"))))
                break;
        }
        if (k > last) {
            pos += last + 1;
            continue;
        }
        const int64_t candidate = pos + k;
        if (acceptableAt(candidate))
            return candidate;
        // Passed over: the search goes on beyond it, never testing the same place twice.
        pos = candidate + 1;
    }
    return -1;
}

int64_t CAviRepairCore::firstStreamChunk(int64_t from, int64_t to)
{
    int64_t available = 0;
    const unsigned char* head = m_in->peek(from, 8, &available);
    if (available == 8 && from + 8 <= to && isStreamId(head))
        return from; // the usual case, without reading the list's data
    for (int64_t pos = from; pos + 8 <= to && !m_in->failed();) {
        const unsigned char* p = m_in->block(pos, std::min(to - pos, kScanBlock), &available);
        if (available < 8)
            break;
        for (int64_t k = 0; k + 8 <= available; ++k) {
            if (isStreamId(p + k))
                return pos + k;
        }
        pos += available - 7;
    }
    return -1;
}

void CAviRepairCore::resynchronise()
{
    const int64_t from = m_readPos;
    const int64_t found = searchFrom(from + 1);
    const int64_t to = found < 0 ? m_fileSize : found;
    if (!m_cutOutDamage)
        copyThrough(from, to);
    m_readPos = to;
    m_afterOddChunk = false;
    if (m_restartAtKeyFrame)
        m_needKeyFrame = true;
    if (m_cutOutDamage)
        realign();
}

void CAviRepairCore::realign()
{
    // Copies between files are far cheaper when source and target offsets lie at the same place within a
    // memory page (the kernel then moves whole pages). After bytes were dropped, a long remainder is worth a
    // "JUNK" filler of under 4 KiB that restores that; short files are left exactly as cut.
    constexpr int64_t kPage = 4096;
    constexpr int64_t kWorthIt = 8 * 1024 * 1024;
    if (!m_out->active() || m_fileSize - m_readPos < kWorthIt || (m_readPos & 1))
        return;
    if (m_outPos & 1) {
        m_out->appendZeros(1); // the pad byte the next chunk would get
        ++m_outPos;
    }
    int64_t gap = ((m_readPos - m_outPos) % kPage + kPage) % kPage;
    if (gap == 0)
        return;
    if (gap < 8)
        gap += kPage;
    QByteArray junk("JUNK", 4);
    junk.append(le32Bytes(uint32_t(gap - 8)));
    junk.append(QByteArray(int(gap - 8), '\0'));
    m_out->append(junk);
    m_outPos += gap;
}

bool CAviRepairCore::takeStreamChunk(int64_t pos, uint32_t size)
{
    if (int64_t(m_index.size()) >= kMaxIndexEntries
        || m_outPos + 1 + 8 + int64_t(size) + int64_t(m_index.size() + 1) * 16 + 8 > kMaxOutputBytes) {
        m_indexFull = true;
        return false;
    }
    int64_t available = 0;
    const int64_t total = 8 + int64_t(size);
    if (m_outPos & 1) {
        // Keep every chunk on an even offset. The source's own pad byte is used when it is zero, so that
        // the copy stays one piece.
        const unsigned char* pad = m_in->peek(pos - 1, 1, &available);
        if (available == 1 && pad[0] == 0)
            m_out->copyFromSource(pos - 1, 1);
        else
            m_out->appendZeros(1);
        ++m_outPos;
    }
    const unsigned char* p = m_in->peek(pos, 8 + std::min<int64_t>(size, kKeyFrameBytes), &available);
    if (available < 8 + std::min<int64_t>(size, kKeyFrameBytes))
        return false; // read failure; the walk ends on it
    const unsigned char* data = p + 8;
    const uint32_t head = uint32_t(available - 8);
    const int stream = streamNumber(p);
    uint32_t flags = AviKeyFrameRule::kKeyFrameFlag;
    if (p[2] == 'd' && p[3] == 'c') {
        flags = m_keyRule.indexFlags(data, head, size, m_streamChunks[size_t(stream)]);
        m_keyRule.noteTaken(data, head, size);
    }
    IndexEntry entry;
    std::memcpy(entry.id.data(), p, 4);
    entry.flags = flags;
    entry.offset = uint32_t(m_outPos - m_movieRef);
    entry.size = size;
    m_index.push_back(entry);
    ++m_streamChunks[size_t(stream)];
    m_streamBytes[size_t(stream)] += size;

    m_out->copyFromSource(pos, total);
    m_outPos += total;
    m_readPos = pos + total;
    m_afterOddChunk = (size & 1) != 0;
    m_needKeyFrame = false;
    return true;
}

void CAviRepairCore::walk()
{
    while (m_readPos < m_fileSize && m_endMarkers == 0 && !m_indexFull && !m_in->failed() && !m_out->failed()) {
        pumpIfDue();
        if (m_afterOddChunk) {
            // An odd-sized chunk is followed by a pad byte. A writer that left it out is recognised by a
            // chunk id right here where there is none one byte on.
            m_afterOddChunk = false;
            const bool idHere = streamCandidateAt(m_readPos, false) || structuralAt(m_readPos);
            if (!idHere || streamCandidateAt(m_readPos + 1, false) || structuralAt(m_readPos + 1))
                ++m_readPos;
            continue;
        }
        int64_t available = 0;
        const unsigned char* p = m_in->peek(m_readPos, 20, &available);
        if (available < 8) {
            resynchronise();
            continue;
        }
        const uint32_t size = le32(p + 4);
        const bool fits = m_readPos + 8 + int64_t(size) <= m_fileSize;
        if (isStreamId(p)) {
            if (size < 0x80000000u && (size == 0 || size == 16) && available >= 20 && isStreamId(p + 16)) {
                ++m_endMarkers;
                break;
            }
            if (size < kMaxChunkSize && fits && (!m_needKeyFrame || streamCandidateAt(m_readPos, true))) {
                if (!takeStreamChunk(m_readPos, size))
                    break;
                continue;
            }
        } else if (isFourcc(p, "LIST") && available >= 12) {
            // The chunks of a list ("rec ", the "movi" of an extension RIFF) are walked like any others,
            // from the first stream chunk inside it; a list without one is passed over.
            // A list whose size was never written (0, or past the end) reaches to the end of the file.
            const bool bounded = size >= 4 && fits;
            const int64_t bodyEnd = bounded ? m_readPos + 8 + int64_t(size) : m_fileSize;
            const int64_t first = firstStreamChunk(m_readPos + 12, bodyEnd);
            m_readPos = first >= 0 ? first : bodyEnd + (bounded ? (size & 1) : 0);
            continue;
        } else if (isFourcc(p, "rec ")) {
            m_readPos += 4;
            continue;
        } else if (isFourcc(p, "idx1")) {
            // An old index ends the first RIFF; an OpenDML extension RIFF may follow it.
            m_readPos = fits ? m_readPos + 8 + int64_t(size) + (size & 1) : m_fileSize;
            const unsigned char* x = m_in->peek(m_readPos, 24, &available);
            if (available == 24 && isFourcc(x, "RIFF") && isFourcc(x + 8, "AVIX") && isFourcc(x + 12, "LIST")
                && isFourcc(x + 20, "movi"))
                m_readPos += 24;
            realign();
            continue;
        } else if (isFourcc(p, "RIFF") && available >= 12 && isFourcc(p + 8, "AVIX")) {
            m_readPos += 12;
            continue;
        } else if (((p[0] == 'i' && p[1] == 'x') || isFourcc(p, "JUNK")) && fits) {
            m_readPos += 8 + int64_t(size) + (size & 1);
            realign();
            continue;
        }
        resynchronise();
    }
}

bool CAviRepairCore::patch(int64_t offset, const QByteArray& bytes)
{
    if (offset < m_header.size())
        m_header.replace(int(offset), int(bytes.size()), bytes);
    return m_out->overwrite(offset, bytes);
}

bool CAviRepairCore::finish()
{
    if (m_outPos & 1) {
        m_out->appendZeros(1);
        ++m_outPos;
    }
    const int64_t movieSize = m_outPos - m_movieRef;

    QByteArray index;
    index.reserve(int(8 + m_index.size() * 16));
    index.append("idx1", 4);
    index.append(le32Bytes(uint32_t(m_index.size() * 16)));
    for (const IndexEntry& e : m_index) {
        index.append(e.id.data(), 4);
        index.append(le32Bytes(e.flags));
        index.append(le32Bytes(e.offset));
        index.append(le32Bytes(e.size));
    }
    m_out->append(index);
    m_outPos += index.size();
    const int64_t riffSize = m_outPos - 8;

    // The file ends on a multiple of 2048 bytes; a "JUNK" chunk needs 8 bytes of its own, so content that
    // ends fewer than 8 bytes before a multiple is padded to the one after.
    const int64_t rest = m_outPos % 2048;
    if (rest != 0) {
        const int64_t junkSize = rest <= 2040 ? 2040 - rest : 4088 - rest;
        QByteArray junk("JUNK", 4);
        junk.append(le32Bytes(uint32_t(junkSize)));
        junk.append(QByteArray(int(junkSize), '\0'));
        m_out->append(junk);
        m_outPos += junk.size();
    }
    if (!m_out->settle())
        return false;
    if (!m_out->active())
        return true;

    patch(4, le32Bytes(uint32_t(riffSize)));
    patch(m_movieRef - 4, le32Bytes(uint32_t(movieSize)));

    HeaderLayout layout;
    layout.parse(m_header, 12, m_movieRef - 8);
    const auto* h = reinterpret_cast<const unsigned char*>(m_header.constData());
    if (layout.avih >= 0) {
        patch(layout.avih + 12, le32Bytes(le32(h + layout.avih + 12) | kAvifHasIndex));
        patch(layout.avih + 16, le32Bytes(m_streamChunks[0]));
    }
    for (size_t s = 0; s < 2; ++s) {
        if (layout.strh[s] < 0)
            continue;
        // Audio with a fixed sample size counts its length in samples, not in chunks.
        uint32_t length = m_streamChunks[s];
        if (layout.strhType[s] == "auds" && layout.sampleSize[s] > 0)
            length = uint32_t(m_streamBytes[s] / layout.sampleSize[s]);
        patch(layout.strh[s] + 32, le32Bytes(length));
    }
    if (layout.dmlh >= 0)
        patch(layout.dmlh, le32Bytes(m_streamChunks[0]));
    // The OpenDML super indexes point at the old "ix" chunks, which are not copied: readers that trust them
    // would find nothing there, so they become filler and readers use the new idx1.
    for (int64_t at : layout.superIndexes)
        patch(at, QByteArray("JUNK", 4));
    const bool written = m_out->settle();
    m_out->stopWorker();
    return written;
}
