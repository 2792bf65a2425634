#include "platform/SystemInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The kernel's own account of the total memory, read another way than the platform call does.
uint64_t memTotalFromProc()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression line(QStringLiteral("^MemTotal:\\s+(\\d+) kB"), QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromLatin1(meminfo.readAll()));
    return match.hasMatch() ? match.captured(1).toULongLong() * 1024u : 0;
}

TEST(SystemInfoTest, ProcessAgeCountsFromTheProcessesStart)
{
    // The static clock starts in this process after it was started: the age is never less than it, and it
    // advances with real time (to the kernel's 10 ms tick of the start time).
    static QElapsedTimer sinceFirstCall;
    sinceFirstCall.start();
    const int64_t first = platform::processAgeMs();
    ASSERT_GE(first, 0);
    EXPECT_LT(first, int64_t(24) * 3600 * 1000);
    QThread::msleep(60);
    const int64_t second = platform::processAgeMs();
    const int64_t slept = sinceFirstCall.elapsed();
    EXPECT_GE(second - first, slept - 20);
    EXPECT_GE(second, slept - 10);
}

TEST(SystemInfoTest, PhysicalMemoryMatchesTheKernelsTotal)
{
    const uint64_t expected = memTotalFromProc();
    ASSERT_GT(expected, 0u);
    EXPECT_EQ(platform::physicalMemoryBytes(), expected);
}

TEST(SystemInfoTest, UserIdsMatchTheOwnerOfANewFile)
{
    // A file this process creates belongs to its user; the test does not run set-uid, so the real and
    // the effective user are the same.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("owned")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const uint owner = QFileInfo(file.fileName()).ownerId();
    EXPECT_EQ(platform::currentUserId(), owner);
    EXPECT_EQ(platform::runsAsAdministrator(), owner == 0);
}

} // namespace
