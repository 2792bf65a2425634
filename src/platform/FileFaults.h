#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Faults that tests put under the file layer (the positioned reads and writes, kernel copies and syncs of
// platform/FileTransfer.h, which the repair and the small-field reader go through): read errors at an offset,
// a disk that fills up or fails after so many bytes, short reads and writes, a card pulled mid-way. Without an
// installed plan the layer costs one atomic load per call.
namespace platform {

enum class FileOp { Read, Write, Sync };

// What the layer does with one call: fail it with `error` (an errno value), or transfer at most `allow`
// bytes (-1: all).
struct FaultDecision
{
    int error = 0;
    int64_t allow = -1;
};

class FileFaultPlan
{
public:
    virtual ~FileFaultPlan() = default;
    // Asked before each call on the file at `path` (the folder's path for a folder sync). Called from any
    // thread.
    virtual FaultDecision decide(const QString& path, FileOp op, int64_t pos, int64_t size) = 0;
};

// Installs the plan for the whole process (null removes it). Tests only.
void setFileFaultPlan(std::shared_ptr<FileFaultPlan> plan);
std::shared_ptr<FileFaultPlan> fileFaultPlan();

// A plan from a list of rules; a rule applies to the files whose path contains its `pathPart`.
class FileFaultRules : public FileFaultPlan
{
public:
    // Reads touching [offset, offset + length) fail with `error`, `times` times (negative: always), after the
    // first `spare` such reads went through (a sector that reads once, then fails when read again).
    FileFaultRules& failReadsAt(
        const QString& pathPart, int64_t offset, int64_t length, int error, int times = -1, int spare = 0);
    // After `bytes` bytes were written to matching files, every write fails with `error` (ENOSPC, EIO); the
    // write that crosses the limit is cut short at it.
    FileFaultRules& failWritesAfter(const QString& pathPart, int64_t bytes, int error);
    // Every read or write moves at most `bytes` bytes.
    FileFaultRules& shortTransfers(const QString& pathPart, FileOp op, int64_t bytes);
    // Syncs of matching files or folders fail with `error`.
    FileFaultRules& failSyncs(const QString& pathPart, int error);
    // The card is pulled once `bytes` bytes were read from or written to matching files: the file at the
    // path is removed, and from then on every call on it fails with EIO.
    FileFaultRules& vanishAfter(const QString& pathPart, int64_t bytes);

    FaultDecision decide(const QString& path, FileOp op, int64_t pos, int64_t size) override;
    // How many calls the rules failed so far.
    int failures() const;
    // How many calls the rule added `index`-th (from 0) acted on so far: failed, or cut short (a short
    // transfer counts only when the call asked for more than the rule lets through). A test whose fault
    // never met a call proves nothing about that fault.
    int hits(size_t index) const;
    size_t ruleCount() const;

private:
    enum class Kind { ReadError, WriteLimit, Short, SyncError, Vanish };
    struct Rule
    {
        Kind kind;
        QString pathPart;
        FileOp op = FileOp::Read;
        int64_t offset = 0;
        int64_t length = 0; // ReadError: length; WriteLimit/Vanish: the byte budget; Short: bytes per call
        int error = 0;
        int times = -1;
        int spare = 0;
        int64_t used = 0;
        int hits = 0;
        bool gone = false;
    };
    mutable std::mutex m_mutex;
    std::vector<Rule> m_rules;
    int m_failures = 0;
};

} // namespace platform
