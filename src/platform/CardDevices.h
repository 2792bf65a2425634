#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

// What the card tools know of a mounted volume.
struct VolumeDetails
{
    QString root; // mount point ending in "/"
    QString device; // block device (or image file) mounted there
    QString label; // volume label, empty when it has none
    QString fsType; // "vfat", "exfat", ...
    QString options; // the file system's mount options (owner, masks, character set)
};

// Capacity, free and used bytes of a mounted volume (statvfs). All zero when the query fails.
struct DiskSpace
{
    uint64_t capacity = 0;
    uint64_t free = 0;
    uint64_t used = 0;
    uint32_t blockSize = 0; // the file system's allocation unit (a FAT volume's cluster)
};

// A block device or image file opened for whole-card work. Reads may be unbuffered (O_DIRECT), in which case
// buffers, sizes and offsets must be multiples of alignment().
class RawVolume
{
public:
    virtual ~RawVolume() = default;
    virtual int64_t read(void* into, int64_t size) = 0; // bytes read, 0 at the end, -1 on an error
    virtual int64_t write(const void* data, int64_t size) = 0; // bytes written, -1 on an error
    virtual bool seek(int64_t pos) = 0;
    virtual bool flush() = 0;
    virtual int64_t size() const = 0; // bytes of the device or file
    virtual int alignment() const = 0;
    virtual QString errorString() const = 0;
};

enum class RawAccess {
    ReadTimed, // read-only, bypassing the page cache, so every read reaches the card
    WriteExclusive, // read-write, O_EXCL: refused while the volume is mounted or opened exclusively elsewhere
};

// Whole-card access: which targets are removable volumes, mounting, raw opens and running a helper with the
// rights a desktop user lacks.
class CardDevices
{
public:
    virtual ~CardDevices() = default;

    // The mounted volume whose mount point is `root` (with or without a trailing "/").
    virtual std::optional<VolumeDetails> volumeAt(const QString& root) const = 0;
    // The mount point ("/"-terminated) where the device is mounted, if it is.
    virtual std::optional<QString> mountPointOf(const QString& device) const = 0;
    virtual DiskSpace diskSpace(const QString& root) const = 0;
    // A block device (or a partition of one) of removable media: a card reader slot, a USB stick.
    virtual bool isRemovableDevice(const QString& device) const = 0;
    virtual bool isBlockDevice(const QString& path) const = 0;

    virtual bool unmount(const QString& mountPoint, QString* error) = 0;
    // Mounts with the options when the file system takes them, else without.
    virtual bool mount(
        const QString& device, const QString& mountPoint, const QString& fsType, const QString& options, QString* error)
        = 0;

    virtual std::unique_ptr<RawVolume> openRaw(const QString& path, RawAccess access, QString* error) const = 0;

    // The command line that runs `program` with the rights needed to write `target`: unchanged when this
    // process already may; otherwise through pkexec, which asks the desktop user for the administrator's
    // password the way the desktop's own disk tools do.
    virtual QStringList privilegedCommand(const QString& target, const QStringList& command) const = 0;
    // Whether this process may read (or, with write, also write) the target itself.
    virtual bool mayAccess(const QString& target, bool write) const = 0;
};

std::unique_ptr<CardDevices> CreateCardDevices();

} // namespace platform

namespace platform {
// Writes the file's dirty pages to the storage and drops its cached pages, so that the next read reaches the
// card instead of memory (a fake card shows itself only then).
bool SyncAndDropCache(int fd);
// The options for mounting a freshly formatted FAT card where it was: the owner, masks and character set of the
// mount it replaces, and, when the helper runs for a desktop user through pkexec, that user as the owner so that
// the user can still write the card.
QString CardMountOptions(const QString& previousOptions);
} // namespace platform
