#pragma once

#include <QByteArray>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <thread>
#include <vector>

class AviSourceReader;
class QFileDevice;
class QIODevice;

// Appends to the target of a repair sequentially. Kept chunks are copied from the source by position;
// neighbouring pieces are joined, so a clean stretch of the file becomes one copy.
//
// Between two plain files the copies are made inside the kernel (one sequential read and one sequential
// write, like `cp`) by a helper thread, so that walking the chunk headers overlaps with moving the data; the
// caller's thread only queues the copies and waits for them at the end. Where the kernel cannot copy whole
// pages, or cannot copy at all, the helper thread copies through a buffer of its own. A second helper hands
// what was written to the disk while the copying goes on, so that the sync at the end has little left to
// wait for. Other devices go through a buffer in the caller's thread. A null device makes every call a no-op
// (a check without output).
class AviTargetWriter
{
public:
    AviTargetWriter(QIODevice* device, AviSourceReader* source, std::function<void()> pump);
    ~AviTargetWriter();
    AviTargetWriter(const AviTargetWriter&) = delete;
    AviTargetWriter& operator=(const AviTargetWriter&) = delete;

    void copyFromSource(int64_t pos, int64_t size);
    void append(const QByteArray& bytes);
    void appendZeros(int64_t size) { append(QByteArray(int(size), '\0')); }
    // Hands the pending copy on (to the helper thread, or does it here).
    bool flush();
    // Waits until everything queued is in the target, keeping the caller's pump going.
    bool settle();
    bool overwrite(int64_t offset, const QByteArray& bytes);

    bool failed() const { return m_failed.load(); }
    bool active() const { return m_device != nullptr; }

    void stopWorker();

private:
    static constexpr int64_t kCopyBufferBytes = 8 * 1024 * 1024;
    static constexpr int64_t kRunPieceBytes = 8 * 1024 * 1024;
    static constexpr int64_t kAlignBytes = 2 * 1024 * 1024;
    static constexpr int64_t kPageBytes = 4096;
    static constexpr int64_t kWorkerBufferBytes = 4 * 1024 * 1024;
    static constexpr int64_t kWritePieceBytes = 256 * 1024;
    static constexpr uint32_t kQueueLength = 256;
    static constexpr int64_t kMaxQueuedBytes = 32 * 1024 * 1024;
    // Written pages are handed to the disk in pieces of at least this size.
    static constexpr int64_t kWriteBackBytes = 16 * 1024 * 1024;

    // A copy of `size` source bytes from `sourcePos`, or (sourcePos 0 with bytes) a literal write, or
    // (sourcePos -1) the end of the helper thread.
    struct Op
    {
        int64_t sourcePos;
        int64_t size;
        int64_t targetPos;
        QByteArray bytes;
    };

    void push(Op op);
    void idle();
    void work();
    void copyOnHelperThread(const Op& op);
    void handToDisk();
    void copyThroughBuffer(const Op& op);
    void copyHere(const Op& op);
    void writeHere(int64_t offset, const char* data, int64_t size);

    QIODevice* m_device;
    QFileDevice* m_file;
    AviSourceReader* m_source;
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
    int64_t m_workerBufferBytes = 0; // helper thread only
    // The helper thread's writes reach this far, in order (-1: the helper has ended).
    std::atomic<int64_t> m_copiedTo {0};
    std::thread m_writeBack;
};
