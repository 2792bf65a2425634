// The package's zip, read back with libzip (which checks every entry's CRC-32 as it reads it to the end) and
// with `unzip -t` where installed: the same bytes as the folder, the clip stored and copied inside the kernel
// when its CRC-32 is given, text deflated, and no zip left behind when the disk fills up.
#include "incident/PackageManifest.h"
#include "incident/PackageZip.h"
#include "platform/FileFaults.h"
#include "platform/FileTransfer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <zip.h>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Bytes that deflate cannot shrink, like video.
QByteArray noise(qsizetype size)
{
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qsizetype i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b[i] = char(x);
    }
    return b;
}

struct Read
{
    QByteArray bytes;
    quint16 method = 0;
    bool ok = false;
};

Read readEntry(zip_t* archive, const QByteArray& name)
{
    Read r;
    zip_stat_t st;
    if (zip_stat(archive, name.constData(), 0, &st) != 0)
        return r;
    r.method = st.comp_method;
    zip_file_t* f = zip_fopen(archive, name.constData(), 0);
    if (!f)
        return r;
    r.bytes.resize(qsizetype(st.size));
    const zip_int64_t n = zip_fread(f, r.bytes.data(), st.size);
    // A read past the end reports a CRC mismatch of the whole entry.
    char more = 0;
    const zip_int64_t tail = zip_fread(f, &more, 1);
    r.ok = n == zip_int64_t(st.size) && tail == 0 && zip_fclose(f) == 0;
    return r;
}

struct ZipCase
{
    const char* what;
    bool giveClipCrc;
    bool beginWithClip; // the clip copied into the zip before its CRC-32 is known (packagezip::begin)
};

class PackageZipWrites : public ::testing::TestWithParam<ZipCase>
{
};

TEST_P(PackageZipWrites, TheSameBytesAsTheFolder)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("pkg");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray clip = noise(3 * (1 << 20) + 12345);
    const QByteArray gpx = QByteArray("<gpx>").append(QByteArray("<trkpt lat=\"48.1\" lon=\"11.5\"/>").repeated(400)).append("</gpx>");
    const QByteArray pdf = noise(70000);
    ASSERT_TRUE(writeFile(folder + "/clip.avi", clip));
    ASSERT_TRUE(writeFile(folder + "/track.gpx", gpx));
    ASSERT_TRUE(writeFile(folder + "/report.pdf", pdf));
    ASSERT_TRUE(writeFile(folder + "/empty.csv", QByteArray()));

    packagezip::KnownCrcs known;
    if (GetParam().giveClipCrc) {
        quint32 crc = 0;
        packagemanifest::sha256OfFile(folder + "/clip.avi", [&crc](const char* d, qsizetype n) { crc = packagezip::crc32(crc, d, n); });
        known.insert("clip.avi", crc);
    }
    const int64_t kernelBefore = platform::kernelCopiedBytes();
    const QString zipPath = dir.filePath("pkg.zip");
    packagezip::Begun begun;
    if (GetParam().beginWithClip) {
        begun = packagezip::begin(folder, "rec_at40s", "clip.avi", zipPath);
        ASSERT_TRUE(begun.ok);
    }
    QString error;
    ASSERT_TRUE(packagezip::write(folder, "rec_at40s", zipPath, error, known, GetParam().beginWithClip ? &begun : nullptr))
        << error.toStdString();
    const int64_t kernelCopied = platform::kernelCopiedBytes() - kernelBefore;

    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    ASSERT_NE(archive, nullptr) << code;
    EXPECT_EQ(zip_get_num_entries(archive, 0), 4);
    const struct
    {
        const char* name;
        QByteArray bytes;
        quint16 method;
    } expected[] = {
        { "rec_at40s/clip.avi", clip, ZIP_CM_STORE },
        { "rec_at40s/report.pdf", pdf, ZIP_CM_STORE },
        { "rec_at40s/track.gpx", gpx, ZIP_CM_DEFLATE },
        { "rec_at40s/empty.csv", QByteArray(), ZIP_CM_STORE },
    };
    for (const auto& e : expected) {
        const Read r = readEntry(archive, e.name);
        EXPECT_TRUE(r.ok) << e.name;
        EXPECT_EQ(r.bytes, e.bytes) << e.name;
        EXPECT_EQ(r.method, e.method) << e.name;
    }
    zip_close(archive);
    // Only a clip whose CRC-32 is known, or which is copied before, skips the trip through the process.
    if (GetParam().giveClipCrc || GetParam().beginWithClip)
        EXPECT_GE(kernelCopied, clip.size());
    else
        EXPECT_EQ(kernelCopied, 0);

    const QString unzip = QStandardPaths::findExecutable("unzip");
    if (!unzip.isEmpty()) {
        QProcess p;
        p.start(unzip, { "-tq", zipPath });
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Clip, PackageZipWrites,
    ::testing::Values(ZipCase { "CrcGiven", true, false }, ZipCase { "CrcTakenOnTheWay", false, false },
        ZipCase { "BegunThenCrcGiven", true, true },
        // a begun zip whose clip sum failed is written afresh, the CRC taken while copying
        ZipCase { "BegunButNoCrc", false, true }),
    [](const ::testing::TestParamInfo<ZipCase>& info) { return std::string(info.param.what); });

TEST(PackageZip, ALargeFileOfAnotherContainerIsStoredNotDeflatedInMemory)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("pkg");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray clip = noise((16 << 20) + 1);
    ASSERT_TRUE(writeFile(folder + "/clip.mov", clip));
    const QString zipPath = dir.filePath("pkg.zip");
    QString error;
    ASSERT_TRUE(packagezip::write(folder, "pkg", zipPath, error)) << error.toStdString();
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    ASSERT_NE(archive, nullptr) << code;
    const Read r = readEntry(archive, "pkg/clip.mov");
    zip_close(archive);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.method, ZIP_CM_STORE);
    EXPECT_TRUE(r.bytes == clip);
}

TEST(PackageZip, AFullDiskLeavesNoZip)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("pkg");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeFile(folder + "/clip.avi", noise(1 << 20)));
    ASSERT_TRUE(writeFile(folder + "/track.gpx", "<gpx/>"));
    const QString zipPath = dir.filePath("pkg.zip.partial");
    for (const int64_t room : { int64_t(10), int64_t(200000), int64_t((1 << 20) + 60) }) {
        auto rules = std::make_shared<platform::FileFaultRules>();
        rules->failWritesAfter("pkg.zip.partial", room, ENOSPC);
        platform::setFileFaultPlan(rules);
        QString error;
        const bool ok = packagezip::write(folder, "pkg", zipPath, error);
        platform::setFileFaultPlan(nullptr);
        EXPECT_FALSE(ok) << room;
        EXPECT_FALSE(error.isEmpty()) << room;
        EXPECT_FALSE(QFile::exists(zipPath)) << room;
        EXPECT_GT(rules->hits(0), 0) << room;
    }
}

TEST(PackageZip, Crc32MatchesTheKnownCheckValue)
{
    // The check value of the CRC-32 used by zip, over "123456789", taken in two pieces.
    const QByteArray text("123456789");
    EXPECT_EQ(packagezip::crc32(packagezip::crc32(0, text.constData(), 4), text.constData() + 4, 5), 0xCBF43926u);
}

} // namespace
