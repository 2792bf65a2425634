#include "platform/CardDevices.h"
#include "platform/linux/MountInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {
namespace {

// udev's by-label names escape characters as \xHH (mountinfo fields use UnescapeMountField).
QString unescapeHex(const QString& name)
{
    QByteArray in = QFile::encodeName(name), out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size() && in[i + 1] == 'x') {
            bool ok = false;
            const int code = in.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(in[i]);
    }
    return QString::fromUtf8(out);
}

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QList<MountEntry> readMounts(const QString& mountInfoPath)
{
    QFile file(mountInfoPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ParseMountInfo(file.readAll());
}

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QString labelOf(const QString& device)
{
    const QDir dir(QStringLiteral("/dev/disk/by-label"));
    const QString target = canonical(device);
    for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (canonical(link.absoluteFilePath()) == target)
            return unescapeHex(link.fileName());
    }
    return {};
}

class LinuxRawVolume : public RawVolume
{
public:
    LinuxRawVolume(int fd, int alignment)
        : m_fd(fd)
        , m_alignment(alignment)
    {
    }
    ~LinuxRawVolume() override { ::close(m_fd); }

    int64_t read(void* into, int64_t size) override
    {
        ssize_t n;
        do
            n = ::read(m_fd, into, static_cast<size_t>(size));
        while (n < 0 && errno == EINTR);
        if (n < 0)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        return n;
    }
    int64_t write(const void* data, int64_t size) override
    {
        ssize_t n;
        do
            n = ::write(m_fd, data, static_cast<size_t>(size));
        while (n < 0 && errno == EINTR);
        if (n < 0)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        return n;
    }
    bool seek(int64_t pos) override { return ::lseek(m_fd, pos, SEEK_SET) == pos; }
    bool flush() override { return ::fsync(m_fd) == 0; }
    int64_t size() const override
    {
        struct stat st
        {
        };
        if (::fstat(m_fd, &st) != 0)
            return 0;
        if (S_ISBLK(st.st_mode)) {
            uint64_t bytes = 0;
            return ::ioctl(m_fd, BLKGETSIZE64, &bytes) == 0 ? static_cast<int64_t>(bytes) : 0;
        }
        return st.st_size;
    }
    int alignment() const override { return m_alignment; }
    QString errorString() const override { return m_error; }

private:
    int m_fd;
    int m_alignment;
    QString m_error;
};

class LinuxCardDevices : public CardDevices
{
public:
    LinuxCardDevices(QString mountInfoPath, QString sysRoot)
        : m_mountInfoPath(std::move(mountInfoPath))
        , m_sysRoot(std::move(sysRoot))
    {
    }

    std::optional<VolumeDetails> volumeAt(const QString& root) const override
    {
        const std::optional<MountEntry> m = mountAt(root);
        if (!m)
            return std::nullopt;
        return VolumeDetails { m->mountPoint, m->source, labelOf(m->source), m->fsType,
            QString::fromLocal8Bit(m->superOptions) };
    }

    std::optional<QString> mountPointOf(const QString& device) const override
    {
        const Identity id = identityOf(device);
        for (const MountEntry& m : readMounts(m_mountInfoPath)) {
            if (sameDevice(m, id))
                return m.mountPoint;
        }
        return std::nullopt;
    }

    bool isMountOf(const QString& mountPoint, const QString& device) const override
    {
        const std::optional<MountEntry> m = mountAt(mountPoint);
        return m && sameDevice(*m, identityOf(device));
    }

    DeviceFacts deviceFacts(const QString& device) const override
    {
        DeviceFacts facts;
        if (!isBlockDevice(device))
            return facts;
        const std::optional<BlockDeviceInfo> info = BlockDeviceOf(device, m_sysRoot);
        if (!info)
            return facts;
        facts.known = true;
        facts.bytes = info->bytes;
        facts.model = info->model;
        facts.partition = info->partition;
        facts.diskPartitions = info->diskPartitions;
        facts.diskBytes = info->bytes;
        if (info->partition) {
            if (const std::optional<BlockDeviceInfo> disk
                = BlockDeviceOf(QStringLiteral("/dev/") + info->diskName, m_sysRoot))
                facts.diskBytes = disk->bytes;
        }
        return facts;
    }

    DiskSpace diskSpace(const QString& root) const override
    {
        DiskSpace space;
        struct statvfs st
        {
        };
        if (::statvfs(QFile::encodeName(root).constData(), &st) != 0)
            return space;
        space.capacity = static_cast<uint64_t>(st.f_blocks) * st.f_frsize;
        space.free = static_cast<uint64_t>(st.f_bfree) * st.f_frsize;
        space.used = space.capacity - space.free;
        space.blockSize = static_cast<uint32_t>(st.f_bsize);
        return space;
    }

    bool isBlockDevice(const QString& path) const override
    {
        struct stat st
        {
        };
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISBLK(st.st_mode);
    }

    bool isRemovableDevice(const QString& device) const override
    {
        return isBlockDevice(device) && IsRemovableBlockDevice(device, m_sysRoot);
    }

    bool unmount(const QString& mountPoint, QString* error) override
    {
        ::sync();
        if (::umount2(QFile::encodeName(withoutSlash(mountPoint)).constData(), 0) == 0)
            return true;
        if (error)
            *error
                = QStringLiteral("cannot unmount %1: %2").arg(mountPoint, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    bool mount(const QString& device, const QString& mountPoint, const QString& fsType, const QString& options,
        QString* error) override
    {
        QDir().mkpath(mountPoint);
        const QByteArray data = options.toLocal8Bit();
        auto tryMount = [&](const char* d) {
            return ::mount(QFile::encodeName(device).constData(),
                       QFile::encodeName(withoutSlash(mountPoint)).constData(), QFile::encodeName(fsType).constData(),
                       CardMountFlags(), d)
                == 0;
        };
        if ((!data.isEmpty() && tryMount(data.constData())) || tryMount(nullptr))
            return true;
        if (error)
            *error = QStringLiteral("cannot mount %1 on %2: %3")
                         .arg(device, mountPoint, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    std::unique_ptr<RawVolume> openRaw(const QString& path, RawAccess access, QString* error) const override
    {
        const QByteArray name = QFile::encodeName(path);
        int fd = -1;
        int alignment = 1;
        if (access == RawAccess::ReadTimed) {
            fd = ::open(name.constData(), O_RDONLY | O_DIRECT | O_CLOEXEC);
            alignment = 4096;
            if (fd < 0 && errno == EINVAL) {
                // Some file systems (tmpfs) refuse unbuffered reads of image files: read through the cache,
                // dropped beforehand so that the first pass still reaches the storage.
                fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
                if (fd >= 0)
                    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            }
        } else {
            fd = ::open(name.constData(), O_RDWR | O_EXCL | O_CLOEXEC);
        }
        if (fd < 0) {
            if (error)
                *error = QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return nullptr;
        }
        return std::make_unique<LinuxRawVolume>(fd, alignment);
    }

    bool mayAccess(const QString& target, bool write) const override
    {
        return ::access(QFile::encodeName(target).constData(), write ? (R_OK | W_OK) : R_OK) == 0;
    }

    bool needsElevation(const QString& target) const override
    {
        return ElevationNeeded(RunningAsRoot(), isBlockDevice(target), mayAccess(target, true));
    }

    QStringList elevated(const QStringList& command) const override
    {
        QStringList out = command;
        out.prepend(QString::fromLatin1(kPkexec));
        return out;
    }

private:
    // How a device or image is recognised in the mount table.
    struct Identity
    {
        QString path; // canonical
        bool block = false;
        dev_t rdev = 0;
    };

    Identity identityOf(const QString& device) const
    {
        Identity id;
        id.path = canonical(device);
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(device).constData(), &st) == 0 && S_ISBLK(st.st_mode)) {
            id.block = true;
            id.rdev = st.st_rdev;
        }
        return id;
    }

    bool sameDevice(const MountEntry& m, const Identity& id) const
    {
        if (canonical(m.source) == id.path)
            return true;
        if (id.block)
            return m.major != 0 && m.major == major(id.rdev) && m.minor == minor(id.rdev);
        // The mount table names the loop device, not the image behind it.
        const QString backing = LoopBackingFile(m.source, m_sysRoot);
        return !backing.isEmpty() && canonical(backing) == id.path;
    }

    std::optional<MountEntry> mountAt(const QString& root) const
    {
        const QString want = withSlash(canonical(withoutSlash(root)));
        std::optional<MountEntry> found;
        // The last mount on a point is the one in effect.
        for (const MountEntry& m : readMounts(m_mountInfoPath)) {
            if (m.mountPoint == want)
                found = m;
        }
        return found;
    }

    QString m_mountInfoPath;
    QString m_sysRoot;
};

} // namespace

std::unique_ptr<CardDevices> CreateCardDevices(const QString& mountInfoPath, const QString& sysRoot)
{
    return std::make_unique<LinuxCardDevices>(mountInfoPath, sysRoot);
}

std::unique_ptr<CardDevices> CreateCardDevices()
{
    return CreateCardDevices(QStringLiteral("/proc/self/mountinfo"), QStringLiteral("/sys"));
}

bool ElevationNeeded(bool root, bool blockDevice, bool mayWrite)
{
    if (root)
        return false;
    return blockDevice || !mayWrite;
}

} // namespace platform

namespace platform {

QString CardMountOptions(const QString& previousOptions)
{
    static const QStringList kept = { QStringLiteral("uid"), QStringLiteral("gid"), QStringLiteral("fmask"),
        QStringLiteral("dmask"), QStringLiteral("umask"), QStringLiteral("codepage"), QStringLiteral("iocharset"),
        QStringLiteral("shortname"), QStringLiteral("utf8"), QStringLiteral("flush"), QStringLiteral("showexec") };
    QStringList options;
    bool owner = false;
    for (const QString& option : previousOptions.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString key = option.section(QLatin1Char('='), 0, 0);
        if (kept.contains(key)) {
            options << option;
            owner = owner || key == QLatin1String("uid");
        }
    }
    bool ok = false;
    const uint user = qEnvironmentVariable("PKEXEC_UID").toUInt(&ok);
    if (!owner && ok) {
        options << QStringLiteral("uid=%1").arg(user);
        if (const struct passwd* pw = ::getpwuid(user))
            options << QStringLiteral("gid=%1").arg(pw->pw_gid);
    }
    return options.join(QLatin1Char(','));
}

unsigned long CardMountFlags()
{
    return MS_NOSUID | MS_NODEV | MS_NOEXEC;
}

InvokingUser CurrentInvokingUser()
{
    InvokingUser user;
    user.uid = ::getuid();
    for (const char* variable : { "PKEXEC_UID", "SUDO_UID" }) {
        bool ok = false;
        const uint uid = qEnvironmentVariable(variable).toUInt(&ok);
        if (ok) {
            user.uid = uid;
            break;
        }
    }
    if (const struct passwd* pw = ::getpwuid(user.uid))
        user.name = QString::fromLocal8Bit(pw->pw_name);
    return user;
}

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

std::optional<uint32_t> FileOwner(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_uid;
}

bool SyncAndDropCache(int fd)
{
    const bool synced = ::fsync(fd) == 0;
    return ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0 && synced;
}

} // namespace platform
