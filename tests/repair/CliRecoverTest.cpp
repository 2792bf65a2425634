// korvane-cli recover on a folder of damaged and intact recordings.
#include "AviTestSupport.h"
#include "repair/RecoveryWorkflow.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace avitest;

namespace {

QByteArray frame(int n)
{
    return chunk("00dc", payload(300, QByteArray("\x00\x00\x01\x00", 4), n));
}

QByteArray recording(bool damaged, int frames = 6)
{
    QList<QByteArray> chunks;
    for (int i = 0; i < frames; ++i)
        chunks << frame(i);
    return file(Layout {}, chunks, !damaged, !damaged);
}

struct CliRun
{
    int exitCode = -1;
    QJsonObject json;
};

CliRun recover(const QString& folder, const QString& home, bool dryRun = false)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    process.setProcessEnvironment(env);
    QStringList args { QStringLiteral("recover"), folder };
    if (dryRun)
        args << QStringLiteral("--dry-run");
    process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli"), args);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    return run;
}

QJsonObject entryFor(const QJsonObject& json, const QString& path)
{
    for (const QJsonValue& v : json.value(QStringLiteral("files")).toArray())
        if (v.toObject().value(QStringLiteral("path")).toString() == path)
            return v.toObject();
    return {};
}

class CliRecoverTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString card;
    QString home;
    QByteArray damaged = recording(true);
    QByteArray intact = recording(false);

    void SetUp() override
    {
        card = dir.filePath(QStringLiteral("card/"));
        home = dir.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(card));
        ASSERT_TRUE(QDir().mkpath(home));
        ASSERT_TRUE(writeFile(card + QStringLiteral("rec_20250314_090000.avi"), damaged));
        ASSERT_TRUE(writeFile(card + QStringLiteral("rec_20250314_090000.dat"), "data"));
        ASSERT_TRUE(writeFile(card + QStringLiteral("evt_20250314_090100.avi"), intact));
        ASSERT_TRUE(writeFile(card + QStringLiteral("pmr_20250314_090200.avi"), damaged));
        // Not a recording of the catalogue: never looked at.
        ASSERT_TRUE(writeFile(card + QStringLiteral("holiday.avi"), damaged));
    }
};

TEST_F(CliRecoverTest, RepairsOnlyTheDamagedRecordings)
{
    const CliRun run = recover(card, home);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.json.value(QStringLiteral("damaged")).toInt(), 2);
    EXPECT_EQ(run.json.value(QStringLiteral("repaired")).toInt(), 2);
    EXPECT_EQ(run.json.value(QStringLiteral("files")).toArray().size(), 3);

    for (const char* name : { "rec_20250314_090000", "pmr_20250314_090200" }) {
        const QString path = card + QLatin1String(name) + QStringLiteral(".avi");
        const QJsonObject e = entryFor(run.json, path);
        EXPECT_TRUE(e.value(QStringLiteral("damaged")).toBool()) << name;
        EXPECT_TRUE(e.value(QStringLiteral("repaired")).toBool()) << name;
        EXPECT_EQ(e.value(QStringLiteral("repairedPath")).toString(), path);
        const QString kept = card + QStringLiteral("Original/") + QLatin1String(name) + QStringLiteral("_Original.avi");
        EXPECT_EQ(e.value(QStringLiteral("keptPath")).toString(), kept);
        EXPECT_EQ(e.value(QStringLiteral("engine")).toObject().value(QStringLiteral("indexEntries")).toInt(), 6);
        EXPECT_TRUE(IsIntactAvi(path)) << name;
        EXPECT_EQ(readFile(kept), damaged) << name;
    }
    const QJsonObject good = entryFor(run.json, card + QStringLiteral("evt_20250314_090100.avi"));
    EXPECT_FALSE(good.value(QStringLiteral("damaged")).toBool());
    EXPECT_FALSE(good.value(QStringLiteral("repaired")).toBool());
    EXPECT_EQ(readFile(card + QStringLiteral("evt_20250314_090100.avi")), intact);
    EXPECT_EQ(readFile(card + QStringLiteral("holiday.avi")), damaged);
    EXPECT_EQ(readFile(card + QStringLiteral("rec_20250314_090000.dat")), QByteArray("data"));

    // A second run finds nothing left to do.
    const CliRun again = recover(card, home);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.json.value(QStringLiteral("damaged")).toInt(), 0);
}

TEST_F(CliRecoverTest, DryRunChangesNothing)
{
    const CliRun run = recover(card, home, true);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.json.value(QStringLiteral("damaged")).toInt(), 2);
    const QJsonObject e = entryFor(run.json, card + QStringLiteral("rec_20250314_090000.avi"));
    EXPECT_EQ(e.value(QStringLiteral("status")).toString(), QStringLiteral("planned"));
    EXPECT_EQ(e.value(QStringLiteral("repairedPath")).toString(), card + QStringLiteral("rec_20250314_090000_fix.avi"));
    EXPECT_EQ(readFile(card + QStringLiteral("rec_20250314_090000.avi")), damaged);
    EXPECT_FALSE(QFileInfo::exists(card + QStringLiteral("Original")));
}

TEST_F(CliRecoverTest, AFailedRepairFailsTheRunAndKeepsThatRecording)
{
    const QByteArray junk(3000, 'j');
    ASSERT_TRUE(writeFile(card + QStringLiteral("rec_20250314_090300.avi"), junk));
    const CliRun run = recover(card, home);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.json.value(QStringLiteral("repaired")).toInt(), 2);
    EXPECT_EQ(run.json.value(QStringLiteral("failed")).toInt(), 1);
    const QJsonObject e = entryFor(run.json, card + QStringLiteral("rec_20250314_090300.avi"));
    EXPECT_FALSE(e.value(QStringLiteral("repaired")).toBool());
    EXPECT_EQ(e.value(QStringLiteral("status")).toString(), QStringLiteral("repair-failed"));
    EXPECT_EQ(readFile(card + QStringLiteral("rec_20250314_090300.avi")), junk);
}

TEST(CliRecover, Mp4CatalogueIsNeverTested)
{
    QTemporaryDir dir;
    const QString card = dir.path() + QLatin1Char('/');
    // A Delta card (settings file of 98 bytes, model code 25 in byte 18) records MP4.
    QByteArray setup(98, '\0');
    setup[18] = char(25);
    ASSERT_TRUE(QDir().mkpath(card + QStringLiteral("Setup")));
    ASSERT_TRUE(writeFile(card + QStringLiteral("Setup/setup.bin"), setup));
    ASSERT_TRUE(writeFile(card + QStringLiteral("rec_20250314_090000.mp4"), QByteArray(500, 'z')));
    const QByteArray avi = recording(true);
    ASSERT_TRUE(writeFile(card + QStringLiteral("rec_20250314_090100.avi"), avi));
    const CliRun run = recover(card, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.json.value(QStringLiteral("videoExtension")).toString(), QStringLiteral(".mp4"));
    EXPECT_TRUE(run.json.value(QStringLiteral("files")).toArray().isEmpty());
    EXPECT_EQ(readFile(card + QStringLiteral("rec_20250314_090100.avi")), avi);
}

TEST(CliRecover, UsageAndMissingFolder)
{
    QProcess process;
    process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli"),
        { QStringLiteral("recover") });
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli"),
        { QStringLiteral("recover"), QStringLiteral("/nonexistent/card") });
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
}

} // namespace
