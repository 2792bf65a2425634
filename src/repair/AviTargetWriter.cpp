#include "repair/AviTargetWriter.h"

#include "platform/FileTransfer.h"
#include "repair/AviSourceReader.h"

#include <QFileDevice>
#include <QIODevice>

#include <algorithm>
#include <chrono>

AviTargetWriter::AviTargetWriter(QIODevice* device, AviSourceReader* source, std::function<void()> pump)
    : m_device(device)
    , m_file(qobject_cast<QFileDevice*>(device))
    , m_source(source)
    , m_pump(std::move(pump))
{
    if (m_device && m_file && m_file->handle() >= 0 && source->file() && source->file()->handle() >= 0)
    {
        m_worker = std::thread([this] { work(); });
        m_writeBack = std::thread([this] { handToDisk(); });
    }
}

AviTargetWriter::~AviTargetWriter()
{
    stopWorker();
}

void AviTargetWriter::copyFromSource(int64_t pos, int64_t size)
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

void AviTargetWriter::append(const QByteArray& bytes)
{
    if (!m_device || !flush() || bytes.isEmpty())
        return;
    if (m_worker.joinable())
        push(Op {0, bytes.size(), m_pos, bytes});
    else
        writeHere(m_pos, bytes.constData(), bytes.size());
    m_pos += bytes.size();
}

bool AviTargetWriter::flush()
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

bool AviTargetWriter::settle()
{
    flush();
    if (m_worker.joinable()) {
        while (m_head.load() != m_tail.load())
            idle();
    }
    return !failed();
}

bool AviTargetWriter::overwrite(int64_t offset, const QByteArray& bytes)
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

void AviTargetWriter::stopWorker()
{
    if (!m_worker.joinable())
        return;
    push(Op {-1, 0, 0, {}});
    m_worker.join();
    m_copiedTo.store(-1);
    m_copiedTo.notify_one();
    m_writeBack.join();
}

// Single producer (the caller's thread), single consumer (the helper thread); the two positions are the
// only shared state.
void AviTargetWriter::push(Op op)
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

void AviTargetWriter::idle()
{
    if (m_pump)
        m_pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void AviTargetWriter::work()
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
            m_copiedTo.store(op.targetPos + op.size);
            m_copiedTo.notify_one();
        }
        m_queuedBytes -= op.size;
        m_head.store(head + 1);
        if (last)
            return;
    }
}

// The result is synced before it takes its name. What the helper thread has written is handed to the disk
// while the copying goes on, so that the disk writes beside the copy instead of all of it at the sync, which
// then only waits for the rest (what cp followed by sync cannot do). A thread of its own does it: starting
// the writes waits whenever the disk's queue is full, and neither the copying nor the walk that feeds it may
// wait for that. It ends when m_copiedTo is set to -1.
void AviTargetWriter::handToDisk()
{
    int64_t from = 0;
    for (;;) {
        int64_t end = m_copiedTo.load();
        while (end >= 0 && end - from < kWriteBackBytes) {
            m_copiedTo.wait(end);
            end = m_copiedTo.load();
        }
        if (end < 0)
            return;
        if (!m_failed.load())
            platform::startWriteBack(*m_file, from, end - from);
        from = end;
    }
}

// Runs on the helper thread; reads the source only by position, so the caller's thread may keep reading it.
void AviTargetWriter::copyOnHelperThread(const Op& op)
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
            // A read error in the source or a write error in the target: the copy through the buffer tells
            // which, steps over unreadable source pieces and fails only on the target or a source that is gone.
            break;
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
void AviTargetWriter::copyThroughBuffer(const Op& op)
{
    // The buffer grows with the copies up to its full size, so a small file never takes megabytes.
    const int64_t wanted = std::clamp<int64_t>((op.size + kPageBytes - 1) / kPageBytes * kPageBytes, kPageBytes,
        kWorkerBufferBytes);
    if (!m_workerBuffer || m_workerBufferBytes < wanted) {
        m_workerBufferBytes = std::max(wanted, std::min(m_workerBufferBytes * 2, kWorkerBufferBytes));
        m_workerBuffer.reset(static_cast<unsigned char*>(
            ::operator new(size_t(m_workerBufferBytes + kPageBytes), std::align_val_t(size_t(kPageBytes)))));
    }
    for (int64_t done = 0; done < op.size;) {
        unsigned char* const buffer = m_workerBuffer.get() + (op.targetPos + done) % kPageBytes;
        const int64_t n = std::min(op.size - done, m_workerBufferBytes);
        if (m_source->read(op.sourcePos + done, buffer, n) != n) {
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

void AviTargetWriter::copyHere(const Op& op)
{
    if (int64_t(m_buffer.size()) < std::min(op.size, kCopyBufferBytes))
        m_buffer.resize(size_t(std::min(op.size, kCopyBufferBytes)));
    for (int64_t done = 0; done < op.size && !failed();) {
        const int64_t n = std::min(op.size - done, int64_t(m_buffer.size()));
        if (m_source->read(op.sourcePos + done, m_buffer.data(), n) != n) {
            m_failed = true;
            break;
        }
        writeHere(op.targetPos + done, reinterpret_cast<const char*>(m_buffer.data()), n);
        done += n;
    }
}

void AviTargetWriter::writeHere(int64_t offset, const char* data, int64_t size)
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
