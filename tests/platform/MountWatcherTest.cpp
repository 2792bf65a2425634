// The mount table watcher and the card arrival rule against the real kernel: an image holding a recording is
// loop-mounted while they watch. The image is FAT, like a camera's card, where the kernel has FAT; a kernel
// without it (some sandboxes) gets an ext2 image instead, which is the same to the watcher. Needs root and
// loop devices; skipped where the machine does not allow it.
#include "platform/MountWatcher.h"
#include "catalogue/CardArrivalWatcher.h"
#include "platform/RemovableVolumes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <iostream>

#include <unistd.h>

namespace {

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_mount_watcher";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* instance = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return instance ? *instance : *QCoreApplication::instance();
}

int run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Spins the event loop until `done` holds or the time is up.
bool spinUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// The source device of the mount at `mountPoint`, from the process's mount table.
QString deviceMountedAt(const QString& mountPoint)
{
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() > 4 && dash > 4 && dash + 2 < fields.size() && QString::fromUtf8(fields[4]) == mountPoint)
            return QString::fromUtf8(fields[dash + 2]);
    }
    return {};
}

// Unmounts whatever the test mounted, whatever happens in between.
struct MountGuard
{
    QString mountPoint;
    bool mounted = false;
    void unmount()
    {
        if (mounted && run(QStringLiteral("umount"), { mountPoint }) != 0)
            run(QStringLiteral("umount"), { QStringLiteral("-l"), mountPoint });
        mounted = false;
    }
    ~MountGuard() { unmount(); }
};

TEST(MountWatcher, ALoopMountedCardIsNoticedAndOpenedOnlyOnce)
{
    app();
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    QFile known(QStringLiteral("/proc/filesystems"));
    ASSERT_TRUE(known.open(QIODevice::ReadOnly));
    const bool fat = known.readAll().contains("\tvfat\n");
    const auto tool = [](const char* name) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        return found.isEmpty() ? QStandardPaths::findExecutable(QLatin1String(name), { "/sbin", "/usr/sbin" }) : found;
    };
    for (const char* name : { fat ? "mkfs.fat" : "mke2fs", "mcopy", "mount", "umount" }) {
        if (tool(name).isEmpty())
            GTEST_SKIP() << name << " is missing";
    }

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString image = work.filePath(QStringLiteral("card.img"));
    const QString mnt = work.filePath(QStringLiteral("mnt"));
    const QString sys = work.filePath(QStringLiteral("sys"));
    const QString content = work.filePath(QStringLiteral("content"));
    ASSERT_TRUE(QDir().mkpath(mnt));
    ASSERT_TRUE(QDir().mkpath(content));
    const QString recording = QDir(content).filePath(QStringLiteral("evt_20240102_030405.avi"));
    {
        QFile f(recording);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
    }
    if (fat) {
        {
            QFile f(image);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_TRUE(f.resize(16 * 1024 * 1024));
        }
        ASSERT_EQ(run(tool("mkfs.fat"), { "-n", "KORVANE", image }), 0);
        ASSERT_EQ(run(tool("mcopy"), { "-i", image, recording, "::evt_20240102_030405.avi" }), 0);
    } else {
        ASSERT_EQ(run(tool("mke2fs"), { "-q", "-t", "ext2", "-d", content, image, "16M" }), 0);
    }
    std::cout << "card image: " << (fat ? "FAT" : "ext2 (this kernel has no FAT)") << std::endl;

    // The kernel's device tree says a loop device is fixed: the test's own tree marks the card's device
    // removable once it is known, as a card reader's would be.
    std::unique_ptr<MountWatcher> mounts = CreateMountWatcher();
    ASSERT_TRUE(mounts->isWatching());
    std::unique_ptr<RemovableVolumes> volumes = CreateRemovableVolumes(QStringLiteral("/proc/self/mountinfo"), sys);
    CardArrivalWatcher watcher(*volumes, *mounts);
    int changes = 0;
    QStringList inserted;
    QObject::connect(mounts.get(), &MountWatcher::mountsChanged, [&] { ++changes; });
    QObject::connect(&watcher, &CardArrivalWatcher::cardInserted, [&](const QString& root) { inserted << root; });

    MountGuard guard { mnt };
    if (run(tool("mount"), { "-o", "loop,ro", image, mnt }) != 0)
        GTEST_SKIP() << "this machine does not allow loop mounts";
    guard.mounted = true;
    const QString device = QFileInfo(deviceMountedAt(mnt)).fileName();
    ASSERT_TRUE(device.startsWith(QLatin1String("loop"))) << device.toStdString();
    const QString sysBlock = sys + QStringLiteral("/class/block/") + device;
    ASSERT_TRUE(QDir().mkpath(sysBlock));
    {
        QFile f(sysBlock + QStringLiteral("/removable"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1\n");
    }

    ASSERT_TRUE(spinUntil([&] { return !inserted.isEmpty(); }, 5000)) << "mount changes seen: " << changes;
    EXPECT_EQ(inserted, QStringList { mnt + QLatin1Char('/') });
    EXPECT_GE(changes, 1);

    // Pulled out: the table changes again and nothing is opened.
    const int before = changes;
    guard.unmount();
    EXPECT_TRUE(spinUntil([&] { return changes > before; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_FALSE(watcher.knownRoots().contains(mnt + QLatin1Char('/')));
}

TEST(MountWatcher, NoChangeNoReport)
{
    app();
    std::unique_ptr<MountWatcher> mounts = CreateMountWatcher();
    ASSERT_TRUE(mounts->isWatching());
    int changes = 0;
    QObject::connect(mounts.get(), &MountWatcher::mountsChanged, [&] { ++changes; });
    // Nothing mounts here; another process on the machine might, so a change is tolerated only with a
    // real difference in the table, which a quiet 300 ms almost never has.
    QFile before(QStringLiteral("/proc/self/mountinfo"));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray table = before.readAll();
    spinUntil([] { return false; }, 300);
    QFile after(QStringLiteral("/proc/self/mountinfo"));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    if (after.readAll() == table) {
        EXPECT_EQ(changes, 0);
    }
}

} // namespace
