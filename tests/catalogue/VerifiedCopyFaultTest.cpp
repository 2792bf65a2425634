// The verified copy with faults put under the file layer: read errors on the card, a full or failing target
// disk, short transfers, a card pulled mid-way, a failing sync. Every row proves: the source is never changed,
// nothing partial stays under the target's name (an older copy there stays), no hidden part file is left, and
// the result says failed exactly when the copy failed.
#include "catalogue/VerifiedCopy.h"
#include "platform/FileFaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

using platform::FileFaultRules;
using platform::FileOp;

namespace {

constexpr qint64 kSize = 3 * 1024 * 1024 + 123;
const QByteArray kEarlier("an older copy of the recording");

QByteArray recording()
{
    QByteArray b(kSize, '\0');
    for (qint64 i = 0; i < kSize; ++i)
        b[i] = char((i * 131) >> 3);
    return b;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct CopyFaultRow
{
    const char* what;
    std::function<void(FileFaultRules&)> faults;
    bool durable;
    bool ok;
    bool sourceStays = true; // false when the fault itself removes the source (its card was pulled)
};

class CopyFault : public ::testing::TestWithParam<CopyFaultRow>
{
protected:
    void TearDown() override { platform::setFileFaultPlan(nullptr); }
};

TEST_P(CopyFault, KeepsEveryPromise)
{
    const CopyFaultRow row = GetParam();
    static const QByteArray bytes = recording();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("card")) && QDir(dir.path()).mkpath(QStringLiteral("out")));
    const QString source = dir.filePath(QStringLiteral("card/rec_20240101_120000.avi"));
    const QString target = dir.filePath(QStringLiteral("out/rec_20240101_120000.avi"));
    ASSERT_TRUE(writeAll(source, bytes));
    ASSERT_TRUE(writeAll(target, kEarlier));

    auto rules = std::make_shared<FileFaultRules>();
    row.faults(*rules);
    platform::setFileFaultPlan(rules);
    VerifiedCopyOptions options;
    options.durable = row.durable;
    options.chunkBytes = 1024 * 1024;
    const VerifiedCopyResult r = CopyFileVerified(source, target, options);
    platform::setFileFaultPlan(nullptr);

    EXPECT_EQ(r.ok(), row.ok) << row.what << ": " << r.error.toStdString();
    EXPECT_EQ(r.error.isEmpty(), r.ok()) << row.what;
    if (row.sourceStays) {
        EXPECT_TRUE(readAll(source) == bytes) << row.what << ": the source changed";
    }
    if (r.ok()) {
        EXPECT_TRUE(readAll(target) == bytes) << row.what << ": the copy is not the recording";
    } else {
        EXPECT_EQ(readAll(target), kEarlier) << row.what << ": the older copy was lost";
    }
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("rec_20240101_120000.avi") })
        << row.what << ": a part file stayed";
}

const CopyFaultRow kRows[] = {
    { "no fault", [](FileFaultRules&) {}, false, true },
    { "no fault, durable", [](FileFaultRules&) {}, true, true },
    { "source: a sector that never reads",
        [](FileFaultRules& r) { r.failReadsAt("/card/", 2 * 1024 * 1024 + 5, 10, EIO); }, false, false },
    { "source: short reads", [](FileFaultRules& r) { r.shortTransfers("/card/", FileOp::Read, 4097); }, true, true },
    { "source: card pulled mid-way", [](FileFaultRules& r) { r.vanishAfter("/card/", 1500000); }, false, false,
        false },
    { "target: disk full at once", [](FileFaultRules& r) { r.failWritesAfter("/out/", 0, ENOSPC); }, false, false },
    { "target: disk full mid-way", [](FileFaultRules& r) { r.failWritesAfter("/out/", 2000000, ENOSPC); }, false,
        false },
    { "target: disk full one byte short", [](FileFaultRules& r) { r.failWritesAfter("/out/", kSize - 1, ENOSPC); },
        true, false },
    { "target: I/O error mid-way", [](FileFaultRules& r) { r.failWritesAfter("/out/", 2000000, EIO); }, false,
        false },
    { "target: short writes", [](FileFaultRules& r) { r.shortTransfers("/out/", FileOp::Write, 1000); }, false,
        true },
    { "target: the sync fails", [](FileFaultRules& r) { r.failSyncs("/out/", EIO); }, true, false },
    { "target: card pulled mid-way", [](FileFaultRules& r) { r.vanishAfter("/out/", 1500000); }, true, false },
};

INSTANTIATE_TEST_SUITE_P(Table, CopyFault, ::testing::ValuesIn(kRows),
    [](const auto& info) { return "row" + std::to_string(info.index); });

} // namespace
