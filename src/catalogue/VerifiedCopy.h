#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// Copying a recording so that a copy that is reported is a copy that is whole. The data is copied by the
// kernel into a hidden file beside the target, compared with the source (size, then every byte), and only
// then renamed to the target's name: a failed copy (full disk, unreadable card, pulled card) never leaves a
// partial file under the target name, and never replaces a good older copy with a broken one.
// Unless `durable` is set, the comparison reads the copy as the system holds it in memory (the page cache)
// right after it was written: it proves what was handed to the target disk, not what the disk stored.
struct VerifiedCopyOptions
{
    // The copy command replaces a file of the same name (copying twice in one minute); the recovery never
    // overwrites anything.
    bool replaceExisting = true;
    // Syncs the copy to the device and reads it back from there before it counts, and syncs the folder after
    // the rename. Moves need this, because the source is removed afterwards.
    bool durable = false;
    // Bytes per copy step. Without `durable`, each step is compared with the source right after it was
    // copied, while its pages are still in the processor's caches, and two threads take the steps in turn
    // (one copies while the other compares); only the last step's check is left when the copy ends.
    int64_t chunkBytes = 1024 * 1024;
    // Called on the calling thread with the bytes copied so far (from the start, without a gap) and the
    // file's size, after a step was copied and before it is compared.
    std::function<void(int64_t copied, int64_t total)> progress;
};

struct VerifiedCopyResult
{
    enum Status { Copied, SourceUnreadable, TargetExists, TargetFailed, VerifyFailed };
    Status status = TargetFailed;
    int64_t bytes = 0;
    QString error; // one line for the user or the log

    bool ok() const { return status == Copied; }
};

// Copies `source` to `target`, creating the target's folder with all missing parents. The copy keeps the
// source's modification time.
VerifiedCopyResult CopyFileVerified(const QString& source, const QString& target, const VerifiedCopyOptions& options = {});

struct MoveResult
{
    bool ok = false;
    bool copied = false; // crossed file systems: copied, synced, verified, then the source removed
    QString error;
};

// Moves a file without ever overwriting `target`. Within one file system a rename; across file systems a
// durable verified copy, after which the source is removed; when the source cannot be removed the copy is
// removed again, so a failed move leaves exactly one file, the source.
MoveResult MoveFileSafely(const QString& from, const QString& target);
