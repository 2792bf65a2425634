// korvane-cli check, format, speedtest and card-test on image files the test makes.
#include "CardImages.h"

#include "sdcard/FatBootSector.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace card_test;

namespace {

struct CliRun
{
    int exitCode = -1;
    QJsonObject json;
    QByteArray err;
};

class CliCard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        home = dir.filePath(QStringLiteral("home"));
        QDir().mkpath(home);
    }

    CliRun cli(const QStringList& args, const QMap<QString, QString>& extraEnv = {})
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home); // the settings backup goes to this desktop
        env.remove(QStringLiteral("XDG_DESKTOP_DIR"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        for (auto it = extraEnv.begin(); it != extraEnv.end(); ++it)
            env.insert(it.key(), it.value());
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli"), args);
        CliRun run;
        if (!process.waitForFinished(120000))
            return run;
        run.exitCode = process.exitCode();
        run.json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        run.err = process.readAllStandardError();
        return run;
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString home;
};

TEST_F(CliCard, FormatKeepsTheSettingsFileByteForByteAndLeavesACleanFileSystem)
{
    const QString image = path(QStringLiteral("card.img"));
    // Large enough for a proper FAT32 with 64-sector clusters, sparse on disk.
    ASSERT_TRUE(makeFatImage(image, 2500LL << 20, 8, QStringLiteral("KORVANE")));
    ASSERT_TRUE(putFile(
        image, QStringLiteral("Setup"), QStringLiteral("setup.bin"), settingsBytes(), path(QStringLiteral("s"))));
    ASSERT_TRUE(
        putFile(image, QString(), QStringLiteral("REC_0001.AVI"), QByteArray(5000, 'v'), path(QStringLiteral("s"))));

    const CliRun run = cli({ QStringLiteral("format"), image });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.json.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(run.json.value(QStringLiteral("clusterSectors")).toInt(), 64);
    EXPECT_TRUE(run.json.value(QStringLiteral("setupKept")).toBool());

    EXPECT_EQ(getFile(image, QStringLiteral("Setup/setup.bin"), path(QStringLiteral("back"))), settingsBytes());
    EXPECT_TRUE(getFile(image, QStringLiteral("REC_0001.AVI"), path(QStringLiteral("back2"))).isEmpty())
        << "the recordings are gone";
    const std::optional<FatBootSector> bs = ReadFatBootSector(image);
    ASSERT_TRUE(bs);
    EXPECT_EQ(bs->sectorsPerCluster, 64u);
    EXPECT_EQ(bs->label, QStringLiteral("KORVANE")) << "the label survives";
    EXPECT_FALSE(QFile::exists(home + QStringLiteral("/Desktop/KORVANE/Setup/setup.bin")))
        << "the backup is removed once restored";

    const CliRun check = cli({ QStringLiteral("check"), image });
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.json.value(QStringLiteral("result")).toString(), QStringLiteral("clean"))
        << check.json.value(QStringLiteral("output")).toString().toStdString();
}

TEST_F(CliCard, ClusterSizeFollowsTheFiveBillionByteBoundary)
{
    struct
    {
        qint64 bytes;
        int sectors;
    } const cases[] = { { 5'000'000'000LL, 64 }, { 5'000'000'001LL, 128 } };
    for (const auto& c : cases) {
        const QString image = path(QStringLiteral("b%1.img").arg(c.bytes));
        ASSERT_TRUE(makeFatImage(image, c.bytes, 8));
        const CliRun run = cli({ QStringLiteral("format"), image });
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.json.value(QStringLiteral("clusterSectors")).toInt(), c.sectors) << c.bytes;
        EXPECT_FALSE(run.json.value(QStringLiteral("setupFound")).toBool());
        const std::optional<FatBootSector> bs = ReadFatBootSector(image);
        ASSERT_TRUE(bs);
        EXPECT_EQ(bs->sectorsPerCluster, uint32_t(c.sectors)) << c.bytes;
        QFile::remove(image);
    }
}

TEST_F(CliCard, AFormatterThatAddsALineEndHasFailed)
{
    const QString image = path(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1));
    ASSERT_TRUE(putFile(
        image, QStringLiteral("Setup"), QStringLiteral("setup.bin"), settingsBytes(), path(QStringLiteral("s"))));
    const QString fake = path(QStringLiteral("fake-formatter"));
    QFile f(fake);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho 'zorvakin ok'\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const CliRun run = cli({ QStringLiteral("format"), image }, { { QStringLiteral("KORVANE_FORMATTER"), fake } });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.json.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(run.json.value(QStringLiteral("setupKept")).toBool())
        << "the settings are restored whatever the outcome";
}

TEST_F(CliCard, RefusesAndLeavesUntouchedWhatIsNotACard)
{
    const QString text = path(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100000, 'n'));
    f.close();
    for (const QString& command : { QStringLiteral("format"), QStringLiteral("check"), QStringLiteral("speedtest") }) {
        for (const QString& target : { text, dir.path() }) {
            const CliRun run = cli({ command, target });
            EXPECT_EQ(run.exitCode, 1) << command.toStdString() << " " << target.toStdString();
            EXPECT_TRUE(run.err.contains("refused")) << run.err.toStdString();
        }
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(100000, 'n'));
    EXPECT_EQ(cli({ QStringLiteral("format") }).exitCode, 2);
    EXPECT_EQ(cli({ QStringLiteral("card-test") }).exitCode, 2);
    EXPECT_EQ(cli({ QStringLiteral("card-test"), dir.path() }).exitCode, 1)
        << "a folder that is no card gets no unbounded fill";
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

// A 64 MiB card is far too small for FAT32 with the camera's 32 KiB clusters (2,048 clusters where FAT32 needs
// 65,525): it gets a valid FAT32 with smaller clusters, other tools read it, and its settings file is back.
TEST_F(CliCard, ASmallCardGetsAValidFileSystemAndKeepsItsSettings)
{
    const QString image = path(QStringLiteral("small.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1, QStringLiteral("KORVANE")));
    ASSERT_TRUE(putFile(
        image, QStringLiteral("Setup"), QStringLiteral("setup.bin"), settingsBytes(), path(QStringLiteral("s"))));
    const CliRun run = cli({ QStringLiteral("format"), image });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.json.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(run.json.value(QStringLiteral("fatType")).toString(), QStringLiteral("FAT32"));
    EXPECT_EQ(run.json.value(QStringLiteral("clusterSectors")).toInt(), 1);
    EXPECT_TRUE(run.json.value(QStringLiteral("setupKept")).toBool());
    QByteArray out;
    EXPECT_TRUE(runTool(QStringLiteral("/usr/sbin/fsck.fat"), { QStringLiteral("-n"), image }, &out))
        << out.toStdString();
    EXPECT_FALSE(out.contains("WARNING"));
    // mtools, without the check that tolerates odd geometries, lists it.
    QProcess mdir;
    mdir.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("MTOOLS_SKIP_CHECK"));
    mdir.setProcessEnvironment(env);
    mdir.start(QStringLiteral("mdir"), { QStringLiteral("-i"), image, QStringLiteral("::/") });
    ASSERT_TRUE(mdir.waitForFinished(30000));
    EXPECT_EQ(mdir.exitCode(), 0) << mdir.readAll().toStdString();
    EXPECT_EQ(getFile(image, QStringLiteral("Setup/setup.bin"), path(QStringLiteral("back"))), settingsBytes());
    const std::optional<FatBootSector> bs = ReadFatBootSector(image);
    ASSERT_TRUE(bs);
    EXPECT_TRUE(bs->fat32);
    EXPECT_GE(bs->dataClusters, 65525u);
    EXPECT_EQ(bs->label, QStringLiteral("KORVANE"));
}

// What cannot hold a valid FAT, and what is plainly no camera card, is refused before it is touched; --force
// lets the command line format the latter.
TEST_F(CliCard, RefusesTooSmallAndSeveralPartitionsUnchanged)
{
    const QString tiny = path(QStringLiteral("tiny.img"));
    ASSERT_TRUE(makeFatImage(tiny, 1 << 20, 1));
    const QByteArray tinyBefore = digest(tiny);
    for (const QStringList& args : { QStringList { QStringLiteral("format"), tiny },
             QStringList { QStringLiteral("format"), tiny, QStringLiteral("--force") } }) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("refused") && run.err.contains("too small")) << run.err.toStdString();
        EXPECT_EQ(digest(tiny), tinyBefore);
    }

    // A disk image with a partition table of two partitions.
    const QString disk = path(QStringLiteral("disk.img"));
    {
        QFile f(disk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(64 << 20));
        QByteArray mbr(512, '\0');
        mbr[446 + 4] = char(0x0c);
        mbr[446 + 16 + 4] = char(0x83);
        mbr[510] = char(0x55);
        mbr[511] = char(0xAA);
        f.write(mbr);
    }
    const QByteArray diskBefore = digest(disk);
    const CliRun refused = cli({ QStringLiteral("format"), disk });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("2 partitions")) << refused.err.toStdString();
    EXPECT_EQ(digest(disk), diskBefore);
    const CliRun forced = cli({ QStringLiteral("format"), disk, QStringLiteral("--force") });
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_TRUE(ReadFatBootSector(disk));
}

TEST_F(CliCard, CheckTellsCleanDamagedAndTruncatedImagesApart)
{
    const QString clean = path(QStringLiteral("clean.img"));
    ASSERT_TRUE(makeFatImage(clean, 64 << 20, 1));
    const QString truncated = path(QStringLiteral("truncated.img"));
    ASSERT_TRUE(QFile::copy(clean, truncated));
    ASSERT_TRUE(QFile::resize(truncated, 1 << 20));
    const CliRun ok = cli({ QStringLiteral("check"), clean });
    EXPECT_EQ(ok.json.value(QStringLiteral("result")).toString(), QStringLiteral("clean"));
    EXPECT_EQ(ok.json.value(QStringLiteral("exitStatus")).toInt(), 0);
    const CliRun failed = cli({ QStringLiteral("check"), truncated });
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.json.value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
}

TEST_F(CliCard, SpeedTestReadsEveryClusterOfAnImage)
{
    const QString image = path(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 8));
    const CliRun run = cli({ QStringLiteral("speedtest"), image });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.json.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(run.json.value(QStringLiteral("clusters")).toInteger(), (64 << 20) / 4096);
    EXPECT_GE(run.json.value(QStringLiteral("slowShare")).toDouble(), 0.0);
}

TEST_F(CliCard, CardTestFillsAndEmptiesABoundedPartOfAFolder)
{
    const QString root = path(QStringLiteral("card"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/Setup")));
    const CliRun run
        = cli({ QStringLiteral("card-test"), root, QStringLiteral("--max-bytes"), QString::number(8 << 20) });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.json.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(run.json.value(QStringLiteral("testedBytes")).toInteger(), 8 << 20);
    EXPECT_EQ(run.json.value(QStringLiteral("goodBytes")).toInteger(), 8 << 20);
    EXPECT_EQ(run.json.value(QStringLiteral("badBytes")).toInteger(), 0);
    EXPECT_GT(run.json.value(QStringLiteral("writeMBps")).toDouble(), 0);
    EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { QStringLiteral("Setup") });
}

} // namespace

namespace {

struct HelperRun
{
    int exitCode = -1;
    QByteArray out, err;
};

HelperRun vlmformat(const QStringList& args)
{
    QProcess process;
    process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/VLMFormat"), args);
    HelperRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST(VLMFormat, SaysExactlyTheMarkerOnSuccessAndWhyOnRefusal)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 2200LL << 20, 8, QStringLiteral("CAM")));
    HelperRun run = vlmformat({ QStringLiteral("-c64"), image });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out + run.err, QByteArray("zorvakin ok")) << "nothing else, no line end";
    const std::optional<FatBootSector> bs = ReadFatBootSector(image);
    ASSERT_TRUE(bs);
    EXPECT_EQ(bs->sectorsPerCluster, 64u);
    EXPECT_EQ(bs->label, QStringLiteral("CAM"));

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(70000, 't'));
    f.close();
    for (const QStringList& args : { QStringList { QStringLiteral("-c128"), text },
             QStringList { QStringLiteral("-c64"), dir.path() }, QStringList { QStringLiteral("--zero"), text } }) {
        run = vlmformat(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("refused")) << run.err.toStdString();
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(70000, 't'));
    EXPECT_EQ(vlmformat({ image }).exitCode, 2);
    // Never mounted over a folder in use.
    run = vlmformat({ QStringLiteral("-c64"), image, QStringLiteral("--mount-at"), dir.path() });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("not an empty folder")) << run.err.toStdString();
}

TEST(VLMFormat, ZeroModeWritesZerosAndReportsProgress)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 8 << 20, 1));
    const HelperRun run = vlmformat({ QStringLiteral("--zero"), image });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("zorvakin ok"));
    EXPECT_TRUE(run.err.endsWith("progress 100\n")) << run.err.right(40).toStdString();
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(8 << 20, 0));
}

} // namespace

namespace {

HelperRun vlmformatWith(const QStringList& args, const QMap<QString, QString>& env)
{
    QProcess process;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    process.setProcessEnvironment(e);
    process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/VLMFormat"), args);
    HelperRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Run as root for a desktop user, the helper formats only that user's image files, mounts only at the card's
// place or below the user's media folder, and runs only the system's mkfs.fat.
TEST(VLMFormat, AsRootItTrustsNothingItIsHanded)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1, QStringLiteral("CAM")));
    const QByteArray before = digest(image);

    // Root's file, asked for by user 12345.
    HelperRun run = vlmformatWith({ QStringLiteral("-c64"), image }, { { QStringLiteral("PKEXEC_UID"), "12345" } });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("does not own")) << run.err.toStdString();
    run = vlmformatWith({ QStringLiteral("--zero"), image }, { { QStringLiteral("SUDO_UID"), "12345" } });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(digest(image), before);

    // A mount point that is neither the card's nor below the user's media folder.
    run = vlmformatWith(
        { QStringLiteral("-c64"), image, QStringLiteral("--mount-at"), dir.filePath(QStringLiteral("elsewhere")) }, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("neither")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("elsewhere"))));
    EXPECT_EQ(digest(image), before);

    // A card too small for any FAT.
    const QString tiny = dir.filePath(QStringLiteral("tiny.img"));
    ASSERT_TRUE(makeFatImage(tiny, 1 << 20, 1));
    const QByteArray tinyBefore = digest(tiny);
    run = vlmformatWith({ QStringLiteral("-c64"), tiny }, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(digest(tiny), tinyBefore);

    // KORVANE_MKFS is for tests of the unelevated helper: as root the system's mkfs.fat runs.
    const QString log = dir.filePath(QStringLiteral("mkfs.log"));
    const QString fake = dir.filePath(QStringLiteral("fake-mkfs"));
    {
        QFile f(fake);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"$@\" > '" + log.toUtf8() + "'\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The file's owner asks: allowed.
    ASSERT_EQ(::chown(QFile::encodeName(image).constData(), 12345, 12345), 0);
    run = vlmformatWith({ QStringLiteral("-c64"), image },
        { { QStringLiteral("PKEXEC_UID"), "12345" }, { QStringLiteral("KORVANE_MKFS"), fake } });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out + run.err, QByteArray("zorvakin ok"));
    EXPECT_FALSE(QFile::exists(log));
    const std::optional<FatBootSector> bs = ReadFatBootSector(image);
    ASSERT_TRUE(bs);
    EXPECT_TRUE(bs->fat32);
    EXPECT_GE(bs->dataClusters, 65525u);
}

// The recovery in one run: zeros with progress, then a valid file system.
TEST(VLMFormat, RecoverZeroesAndFormatsInOneRun)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 16 << 20, 1, QStringLiteral("CAM")));
    {
        QFile f(image);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(12 << 20);
        f.write(QByteArray(4096, char(0xAB)));
    }
    const HelperRun run = vlmformat({ QStringLiteral("--recover"), QStringLiteral("-c64"), image });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("zorvakin ok"));
    EXPECT_TRUE(run.err.endsWith("progress 100\n")) << run.err.right(60).toStdString();
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    f.seek(12 << 20);
    EXPECT_EQ(f.read(4096), QByteArray(4096, 0));
    f.close();
    const std::optional<FatBootSector> bs = ReadFatBootSector(image);
    ASSERT_TRUE(bs);
    EXPECT_EQ(bs->label, QStringLiteral("CAM"));
    QByteArray out;
    EXPECT_TRUE(runTool(QStringLiteral("/usr/sbin/fsck.fat"), { QStringLiteral("-n"), image }, &out))
        << out.toStdString();
}

} // namespace
