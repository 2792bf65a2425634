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

// What the system tells of a block device beyond its mount: for the confirmation before a format and for the
// refusal of what is plainly no camera card.
struct DeviceFacts
{
    bool known = false; // the system knows the device
    uint64_t bytes = 0; // of the device (the partition, when it is one)
    QString model; // vendor and model, or the SD card's product name; may be empty
    bool partition = false;
    int diskPartitions = 0; // partitions in the partition table of its disk
    uint64_t diskBytes = 0;
};

// Whether a whole-card job on `target` needs the administrator's rights. Root never does. A block device
// always does otherwise: even a user allowed to write it (the "disk" group) may not unmount and mount it. An
// image file does when this user may not write it.
bool ElevationNeeded(bool root, bool blockDevice, bool mayWrite);

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
    // The mount point ("/"-terminated) where the device or image is mounted, if it is; an image counts as mounted
    // when a loop device backed by it is.
    virtual std::optional<QString> mountPointOf(const QString& device) const = 0;
    // Whether the volume in effect at `mountPoint` is the device's (same device numbers, same node, or a loop
    // device backed by the same image): the proof needed before writing the card's files through that folder.
    virtual bool isMountOf(const QString& mountPoint, const QString& device) const = 0;
    virtual DeviceFacts deviceFacts(const QString& device) const = 0;
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

    // Whether a job that writes, unmounts or mounts `target` must run elevated (ElevationNeeded).
    virtual bool needsElevation(const QString& target) const = 0;
    // The command line run with the administrator's rights: through pkexec (by its absolute path), which asks
    // the desktop user for the administrator's password the way the desktop's own disk tools do. The program
    // must be given by its absolute path.
    virtual QStringList elevated(const QStringList& command) const = 0;
    // Whether this process may read (or, with write, also write) the target itself.
    virtual bool mayAccess(const QString& target, bool write) const = 0;
};

std::unique_ptr<CardDevices> CreateCardDevices();
// The same over another mount table and device tree (a mountinfo file and a sysfs root).
std::unique_ptr<CardDevices> CreateCardDevices(const QString& mountInfoPath, const QString& sysRoot);

// pkexec's exit status when the user dismissed the password prompt, and when authorisation was refused (or
// pkexec itself failed).
inline constexpr int kElevationCancelled = 126;
inline constexpr int kElevationRefused = 127;
inline constexpr char kPkexec[] = "/usr/bin/pkexec";

} // namespace platform

namespace platform {
// Writes the file's dirty pages to the storage and drops its cached pages, so that the next read reaches the
// card instead of memory (a fake card shows itself only then).
bool SyncAndDropCache(int fd);
// The options for mounting a freshly formatted FAT card where it was: the owner, masks and character set of the
// mount it replaces, and, when the helper runs for a desktop user through pkexec, that user as the owner so that
// the user can still write the card.
QString CardMountOptions(const QString& previousOptions);
// The mount flags of a card mounted by the helper: no set-user-ID programs, no device nodes, nothing executable,
// since anyone who had the card may have written it.
unsigned long CardMountFlags();

// The desktop user a helper runs for: PKEXEC_UID (pkexec), else SUDO_UID (sudo), else the real user.
struct InvokingUser
{
    uint32_t uid = 0;
    QString name; // empty when the user database does not know the uid
};
InvokingUser CurrentInvokingUser();
bool RunningAsRoot();
// The owner of a file, or nothing when it cannot be read.
std::optional<uint32_t> FileOwner(const QString& path);
} // namespace platform
