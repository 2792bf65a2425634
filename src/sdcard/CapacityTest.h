#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// The capacity test finds cards that claim more than they store (a "128 GB" card that keeps only 16 GB and
// silently overwrites the rest). It fills the free space with self-describing blocks, each carrying its own
// offset, the run's id and a checksum of its contents, reads everything back after the writes have reached the
// card, and removes what it wrote. A block that comes back holding another offset's block is aliased: the
// card wrapped round. Existing files are never touched.
namespace capacitytest {

inline constexpr int kBlockBytes = 64 * 1024;

// Where the blocks go: the free space of a mounted card as new files, or (tests) a simulated card.
class Medium
{
public:
    virtual ~Medium() = default;
    virtual uint64_t freeBytes() const = 0;
    // Appends one block at `offset` (offsets grow by the block size); false when the medium is full or fails.
    virtual bool write(uint64_t offset, const QByteArray& block) = 0;
    // Makes the writes reach the card and forgets cached copies.
    virtual bool finishWriting() = 0;
    virtual QByteArray read(uint64_t offset, int size) = 0;
    virtual void removeAll() = 0;
};

// New files in a folder of its own under the card's root, at most 1 GiB each (FAT32 holds files below 4 GiB).
std::unique_ptr<Medium> FolderMedium(const QString& root, QString* error);

// The block written at `offset` in run `runId`.
QByteArray MakeBlock(uint64_t runId, uint64_t offset);
enum class BlockState { Good, Aliased, Corrupt };
// Aliased when the block is intact but describes another offset of the same run.
BlockState CheckBlock(const QByteArray& block, uint64_t runId, uint64_t offset, uint64_t* describedOffset = nullptr);

struct Options
{
    uint64_t maxBytes = 0; // 0: all the free space (less a reserve for the file system's own records)
    uint64_t runId = 0; // 0: a random one
    std::function<void(int percent)> progress; // writing 0-50, reading 50-100
    std::function<void()> pump;
};

struct Result
{
    bool ran = false; // written, read back and removed
    uint64_t testedBytes = 0;
    uint64_t goodBytes = 0;
    uint64_t badBytes = 0; // corrupt or aliased
    uint64_t aliasedBytes = 0;
    double writeMBps = 0;
    double readMBps = 0;
    QString error;
};

Result Run(Medium& medium, const Options& options);

} // namespace capacitytest
