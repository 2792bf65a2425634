#include "platform/SystemInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

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
