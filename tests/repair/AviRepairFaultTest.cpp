// The repair between real files with faults put under the file layer: read errors, a full or failing disk,
// short transfers, a card pulled mid-way. Every row proves the same promises: the source is never changed,
// nothing partial stays under the target's name (what was there before stays), no temporary file is left, and
// the result says failed exactly when the repair failed.
#include "AviTestSupport.h"
#include "platform/FileFaults.h"
#include "repair/CAviRepairCore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

using namespace avitest;
using platform::FileFaultRules;
using platform::FileOp;

namespace {

constexpr int kFrames = 40;
constexpr int kFrameSize = 20000;
const QByteArray kEarlier("earlier contents of the target");

QByteArray input()
{
    QList<QByteArray> chunks;
    for (int i = 0; i < kFrames; ++i)
        chunks << chunk(i % 2 ? "01wb" : "00dc", payload(kFrameSize, QByteArray("\x00\x00\x01\x00", 4), i));
    Layout layout;
    layout.audio = true;
    return file(layout, chunks, false, false);
}

struct Sizes
{
    qint64 input;
    qint64 movie; // where the movie data starts
    qint64 output; // the size of the clean result
};

struct FaultRow
{
    const char* what;
    std::function<void(FileFaultRules&, const Sizes&)> faults;
    bool ok;
    bool sameAsClean; // the result is byte for byte the clean one
    const char* error; // part of the error text when it fails
    bool sourceStays = true; // false when the fault itself removes the source (its card was pulled)
};

class FaultGuard
{
public:
    explicit FaultGuard(std::shared_ptr<FileFaultRules> rules) { platform::setFileFaultPlan(std::move(rules)); }
    ~FaultGuard() { platform::setFileFaultPlan(nullptr); }
};

QByteArray cleanRepair(const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("clean.avi"));
    const QString target = dir.filePath(QStringLiteral("clean_fix.avi"));
    EXPECT_TRUE(writeFile(source, bytes));
    CAviRepairCore engine;
    EXPECT_TRUE(engine.RepairFile(source, target, true, true, false, true));
    return readFile(target);
}

class RepairFault : public ::testing::TestWithParam<FaultRow>
{
};

TEST_P(RepairFault, KeepsEveryPromise)
{
    const FaultRow row = GetParam();
    static const QByteArray bytes = input();
    static const QByteArray clean = cleanRepair(bytes);
    ASSERT_TRUE(inspect(clean).ok);
    const Sizes sizes { bytes.size(), movieRef(bytes) + 4, clean.size() };

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("damaged.avi"));
    const QString target = dir.filePath(QStringLiteral("repaired.avi"));
    ASSERT_TRUE(writeFile(source, bytes));
    ASSERT_TRUE(writeFile(target, kEarlier));

    auto rules = std::make_shared<FileFaultRules>();
    row.faults(*rules, sizes);
    CAviRepairCore engine;
    bool ok = false;
    {
        FaultGuard guard(rules);
        ok = engine.RepairFile(source, target, true, true, false, true);
    }
    EXPECT_EQ(ok, row.ok) << row.what << ": " << engine.errorString().toStdString();
    EXPECT_EQ(engine.errorString().isEmpty(), ok) << row.what;
    if (!ok) {
        EXPECT_TRUE(engine.errorString().contains(QLatin1String(row.error))) << engine.errorString().toStdString();
    }
    if (row.sourceStays) {
        EXPECT_EQ(readFile(source), bytes) << row.what << ": the source changed";
    }

    const QByteArray result = readFile(target);
    if (ok) {
        const Structure s = inspect(result);
        EXPECT_TRUE(s.ok) << row.what << ": " << s.problem.toStdString();
        if (row.sameAsClean) {
            EXPECT_TRUE(result == clean) << row.what << ": the result differs from the clean repair";
        } else {
            // Stepped over: counted, and only the chunk data around the bad sector differs.
            EXPECT_GT(engine.unreadableBytes(), 0) << row.what;
            EXPECT_LE(engine.unreadableBytes(), 4096) << row.what;
            EXPECT_EQ(result.size(), clean.size()) << row.what;
            int differing = 0;
            for (qsizetype i = 0; i < std::min(result.size(), clean.size()); ++i)
                differing += result[i] != clean[i] ? 1 : 0;
            EXPECT_GT(differing, 0) << row.what;
            EXPECT_LE(differing, 4096) << row.what;
        }
    } else {
        EXPECT_EQ(result, kEarlier) << row.what << ": what was under the target's name was lost";
    }
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.filter(QStringLiteral(".repairing")), QStringList()) << row.what << ": a temporary file stayed";
    EXPECT_EQ(left.size(), row.sourceStays ? 2 : 1) << row.what << ": " << left.join(u' ').toStdString();
}

const FaultRow kRows[] = {
    { "source: a sector that never reads, in the movie data",
        [](FileFaultRules& r, const Sizes& s) { r.failReadsAt("damaged.avi", s.movie + 300000, 10, EIO); }, true, false,
        "" },
    { "source: a sector that reads on the second try",
        [](FileFaultRules& r, const Sizes& s) { r.failReadsAt("damaged.avi", s.movie + 300000, 10, EIO, 1); }, true,
        true, "" },
    { "source: a sector that never reads, in the header",
        [](FileFaultRules& r, const Sizes&) { r.failReadsAt("damaged.avi", 40, 10, EIO); }, false, false, "reading" },
    { "source: short reads",
        [](FileFaultRules& r, const Sizes&) { r.shortTransfers("damaged.avi", FileOp::Read, 777); }, true, true, "" },
    { "source: card pulled in the movie data",
        [](FileFaultRules& r, const Sizes& s) { r.vanishAfter("damaged.avi", s.movie + 300000); }, false, false,
        "reading", false },
    { "target: disk full at once", [](FileFaultRules& r, const Sizes&) { r.failWritesAfter(".repairing", 0, ENOSPC); },
        false, false, "writing" },
    { "target: disk full in the header",
        [](FileFaultRules& r, const Sizes&) { r.failWritesAfter(".repairing", 100, ENOSPC); }, false, false,
        "writing" },
    { "target: disk full in the movie data",
        [](FileFaultRules& r, const Sizes&) { r.failWritesAfter(".repairing", 300000, ENOSPC); }, false, false,
        "writing" },
    { "target: disk full in the index and padding",
        [](FileFaultRules& r, const Sizes& s) { r.failWritesAfter(".repairing", s.output - 600, ENOSPC); }, false,
        false, "writing" },
    { "target: I/O error in the movie data",
        [](FileFaultRules& r, const Sizes&) { r.failWritesAfter(".repairing", 300000, EIO); }, false, false,
        "writing" },
    { "target: short writes",
        [](FileFaultRules& r, const Sizes&) { r.shortTransfers(".repairing", FileOp::Write, 1000); }, true, true, "" },
    { "target: the flush to the card fails", [](FileFaultRules& r, const Sizes&) { r.failSyncs(".repairing", EIO); },
        false, false, "writing" },
    { "target: card pulled in the movie data",
        [](FileFaultRules& r, const Sizes&) { r.vanishAfter(".repairing", 300000); }, false, false, "writing" },
    { "no fault", [](FileFaultRules&, const Sizes&) {}, true, true, "" },
};

INSTANTIATE_TEST_SUITE_P(Table, RepairFault, ::testing::ValuesIn(kRows),
    [](const auto& info) { return "row" + std::to_string(info.index); });

} // namespace
