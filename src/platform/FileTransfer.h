#pragma once

#include <cstdint>
#include <optional>

class QString;

class QFileDevice;

namespace platform {

enum class RangeCopy { Done, Unsupported, Failed };

// Copies `length` bytes of `from` at `fromPos` to `to` at `toPos` inside the kernel, without passing the data
// through the process (what `cp` does). Neither device's position changes. Unsupported means this pair of
// files cannot be copied that way (other file systems, special files, no such call) and nothing was written,
// so the caller should copy through its own buffer; Failed is a real read or write error (disk full, I/O).
RangeCopy copyFileRange(QFileDevice& from, int64_t fromPos, QFileDevice& to, int64_t toPos, int64_t length);
// Bytes this process had copied inside the kernel so far (not those copied through a buffer), so that a test
// or a benchmark can tell which way a copy went.
int64_t kernelCopiedBytes();

// Reads or writes at a position without using or moving the file's own position, so one thread may copy
// while another reads the same file. They return the bytes transferred (short only at the end of the file),
// or -1 on an error or when the device is not a plain file.
int64_t readAt(QFileDevice& file, int64_t pos, void* into, int64_t size);
// The same on a plain file descriptor.
int64_t readAtDescriptor(int fd, int64_t pos, void* into, int64_t size);
int64_t writeAt(QFileDevice& file, int64_t pos, const void* data, int64_t size);

// What makes a file the same file by any name: on a case-insensitive card "CLIP.AVI" and "clip.avi" are one
// file, and so are two hard links.
struct FileIdentity
{
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(QFileDevice& file);
std::optional<FileIdentity> fileIdentity(const QString& path);

// Flushes what was written to `file` to the medium (fsync). False on a write error the kernel reports now.
bool syncFile(QFileDevice& file);
// Starts writing [pos, pos + length) of `file` (length 0: to its end) to the medium without waiting for it,
// so that a later syncFile finds most of a long write already on its way instead of starting it all then.
// What `file` itself still buffers is not included (the writer may be another thread). Only a hint: it proves nothing (a
// write error shows at the sync).
void startWriteBack(QFileDevice& file, int64_t pos = 0, int64_t length = 0);
// Flushes a folder's entries (a rename into it) to the medium. File systems that cannot sync a folder count
// as done.
bool syncDirectory(const QString& path);

// Hints that `file` is read front to back, and asks for the given range to be read ahead now.
void adviseSequential(QFileDevice& file);
void prefetch(QFileDevice& file, int64_t pos, int64_t length);

} // namespace platform
