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

struct MountLine
{
    QString mountPoint; // "/"-terminated
    QString source;
    QString fsType;
    QByteArray mountOptions;
    QByteArray superOptions;
};

QList<MountLine> readMounts()
{
    QList<MountLine> lines;
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 6 || dash < 6 || dash + 3 >= f.size())
            continue;
        lines.append({ withSlash(UnescapeMountField(f[4])), UnescapeMountField(f[dash + 2]), QString::fromLatin1(f[dash + 1]),
            f[5], f[dash + 3] });
    }
    return lines;
}

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QByteArray readSmall(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(64).trimmed();
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
    std::optional<VolumeDetails> volumeAt(const QString& root) const override
    {
        const QString want = withSlash(canonical(withoutSlash(root)));
        std::optional<VolumeDetails> found;
        // The last mount on a point is the one in effect.
        for (const MountLine& m : readMounts()) {
            if (m.mountPoint == want)
                found = VolumeDetails { m.mountPoint, m.source, labelOf(m.source), m.fsType,
                    QString::fromLocal8Bit(m.superOptions) };
        }
        return found;
    }

    std::optional<QString> mountPointOf(const QString& device) const override
    {
        const QString dev = canonical(device);
        for (const MountLine& m : readMounts()) {
            if (canonical(m.source) == dev)
                return m.mountPoint;
        }
        return std::nullopt;
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
        if (!isBlockDevice(device))
            return false;
        const QString name = QFileInfo(canonical(device)).fileName();
        const QString sysBlock = QStringLiteral("/sys/class/block/") + name;
        const QString sysPath = QFileInfo(sysBlock).canonicalFilePath();
        if (sysPath.isEmpty())
            return false;
        if (sysPath.contains(QLatin1String("/usb")) || readSmall(sysBlock + QStringLiteral("/removable")) == "1")
            return true;
        if (QFileInfo::exists(sysBlock + QStringLiteral("/partition")))
            return readSmall(QFileInfo(sysPath).path() + QStringLiteral("/removable")) == "1";
        return false;
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
                       MS_NOSUID | MS_NODEV, d)
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

    QStringList privilegedCommand(const QString& target, const QStringList& command) const override
    {
        if (command.isEmpty() || ::geteuid() == 0 || mayAccess(target, true))
            return command;
        QStringList elevated = command;
        // pkexec wants the program's absolute path.
        if (!QFileInfo(elevated.first()).isAbsolute()) {
            const QString found = QStandardPaths::findExecutable(elevated.first());
            if (!found.isEmpty())
                elevated.first() = found;
        }
        elevated.prepend(QStringLiteral("pkexec"));
        return elevated;
    }
};

} // namespace

std::unique_ptr<CardDevices> CreateCardDevices()
{
    return std::make_unique<LinuxCardDevices>();
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

bool SyncAndDropCache(int fd)
{
    const bool synced = ::fsync(fd) == 0;
    return ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0 && synced;
}

} // namespace platform
