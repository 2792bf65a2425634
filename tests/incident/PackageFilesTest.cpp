// The package's own files on built data: the manifest catches any change, the drive sequence finds the
// recording that continues a drive, the zone offset comes from the camera's zone names, the CSV holds the
// samples as written.
#include "incident/CameraTimeZone.h"
#include "incident/CsvWriter.h"
#include "incident/DriveSequence.h"
#include "incident/EvidenceData.h"
#include "incident/PackageManifest.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class ManifestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeFile(dir.filePath("clip.avi"), QByteArray(5000, 'v')));
        ASSERT_TRUE(writeFile(dir.filePath("track.gpx"), "<gpx/>"));
        QString error;
        ASSERT_TRUE(packagemanifest::write(dir.path(), error)) << error.toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(ManifestTest, ListsEveryFileInSha256sumFormat)
{
    QFile f(dir.filePath(packagemanifest::kFileName));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    // sums taken with sha256sum, independently of the writer
    EXPECT_EQ(lines[0], QByteArray("917a40db715a90af25bfa24eec0d26fb090c9d89104a2e7abc9bc2900f670ddd  clip.avi"));
    EXPECT_EQ(lines[1], QByteArray("b53b9a7e7640220fe6efaa08ad97e8d5db0deef003a7335b8b44666137b08906  track.gpx"));
}

TEST_F(ManifestTest, VerifyPassesOnTheUntouchedPackage)
{
    const packagemanifest::VerifyResult r = packagemanifest::verify(dir.path());
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.filesChecked, 2);
    EXPECT_TRUE(r.changed.isEmpty());
}

TEST_F(ManifestTest, OneChangedByteNamesTheFile)
{
    QFile f(dir.filePath("clip.avi"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(2500));
    ASSERT_EQ(f.write("w", 1), 1);
    f.close();
    const packagemanifest::VerifyResult r = packagemanifest::verify(dir.path());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.changed, QStringList { "clip.avi" });
}

TEST_F(ManifestTest, MissingAndAddedFilesAreNamed)
{
    ASSERT_TRUE(QFile::remove(dir.filePath("track.gpx")));
    ASSERT_TRUE(writeFile(dir.filePath("extra.txt"), "x"));
    const packagemanifest::VerifyResult r = packagemanifest::verify(dir.path());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.missing, QStringList { "track.gpx" });
    EXPECT_EQ(r.unlisted, QStringList { "extra.txt" });
}

TEST_F(ManifestTest, ManifestNamingAFileOutsideThePackageIsRefused)
{
    ASSERT_TRUE(writeFile(dir.filePath(packagemanifest::kFileName),
        packagemanifest::sha256OfFile(dir.filePath("clip.avi")).toLatin1() + "  ../clip.avi\n"));
    const packagemanifest::VerifyResult r = packagemanifest::verify(dir.path());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.manifestReadable);
}

TEST(Manifest, FolderWithoutManifestFails)
{
    QTemporaryDir dir;
    const packagemanifest::VerifyResult r = packagemanifest::verify(dir.path());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(CameraTimeZone, OffsetsFromTheCamerasZoneNames)
{
    struct Row
    {
        const char* name;
        bool ok;
        int minutes;
    };
    for (const Row& row : { Row { "(GMT+09:00) Osaka, Sapporo, Tokyo", true, 540 }, Row { "(GMT-04:30) Caracas", true, -270 },
             Row { "(GMT) Casablanca", true, 0 }, Row { "(GMT+05:45) Kathmandu", true, 345 }, Row { "Seoul", false, 0 } }) {
        int minutes = 12345;
        EXPECT_EQ(ParseGmtOffset(QString::fromLatin1(row.name), minutes), row.ok) << row.name;
        if (row.ok) {
            EXPECT_EQ(minutes, row.minutes) << row.name;
        }
    }
    CameraTimeZone zone;
    zone.offsetMinutes = -270;
    EXPECT_EQ(zone.offsetText(), QStringLiteral("-04:30"));
}

TEST(CameraTimeZone, ZoneByteOfTheCardWinsOverTheCountry)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Setup"));
    QByteArray setup(26, '\0');
    setup[3] = 2; // (GMT-10:00) Hawaii
    setup[18] = 20; // Charlie
    ASSERT_TRUE(writeFile(dir.filePath("Setup/setup.bin"), setup));
    const CameraTimeZone fromCard = ReadCameraTimeZone(dir.path() + "/", 82);
    EXPECT_TRUE(fromCard.fromCard);
    EXPECT_EQ(fromCard.offsetMinutes, -600);

    QTemporaryDir empty;
    const CameraTimeZone assumed = ReadCameraTimeZone(empty.path() + "/", 82);
    EXPECT_FALSE(assumed.fromCard);
    EXPECT_EQ(assumed.offsetMinutes, 540); // Seoul
}

TEST(DriveSequence, TheNextRecordingOfTheDriveIsTheOneThatStartsWhenThisOneEnds)
{
    QTemporaryDir dir;
    for (const char* name : { "rec_20260314_080000.avi", "evt_20260314_080030.avi", "rec_20260314_080045.avi",
             "rec_20260314_090000.avi", "rec_20260314_080100p.vlm" })
        ASSERT_TRUE(writeFile(dir.filePath(name), "x"));
    const DriveSequence s = DriveSequence::ofFolder(dir.path());
    ASSERT_EQ(s.recordings().size(), 4u); // the span marker is no recording
    const int first = s.indexOf(dir.filePath("rec_20260314_080000.avi"));
    ASSERT_EQ(first, 0);
    // 45 s long: the event recording inside it is passed over for the normal one that starts at its end
    const std::optional<int> next = s.next(first, 45000);
    ASSERT_TRUE(next);
    EXPECT_EQ(s.recordings()[static_cast<size_t>(*next)].fileName, QStringLiteral("rec_20260314_080045.avi"));
    // 40 s long: only the event recording overlaps its end
    const std::optional<int> overlap = s.next(first, 40000);
    ASSERT_TRUE(overlap);
    EXPECT_EQ(s.recordings()[static_cast<size_t>(*overlap)].fileName, QStringLiteral("evt_20260314_080030.avi"));
    // the drive pauses for an hour: nothing continues it
    EXPECT_FALSE(s.next(s.indexOf(dir.filePath("rec_20260314_080045.avi")), 45000));
    EXPECT_EQ(DriveSequence::startOfName("rec_20260314_080045.avi").toString("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("2026-03-14 08:00:45"));
}

TEST(CsvWriter, OneRowPerSampleWithTheCamerasOffset)
{
    EvidenceData data;
    data.zone.offsetMinutes = 540;
    EvidenceSensorRow a;
    a.local = QDateTime(QDate(2026, 3, 14), QTime(8, 2, 27, 300), Qt::UTC);
    a.hasFix = true;
    a.latitude = 37.5;
    a.longitude = 127.25;
    a.speedKmh = 44;
    a.xG = 0.5;
    a.yG = -2.25;
    a.zG = 1.0;
    EvidenceSensorRow b = a;
    b.hasFix = false;
    data.rows = { a, b };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(csvwriter::write(data, buffer));
    EXPECT_EQ(buffer.data(),
        QByteArray("time,latitude,longitude,speed_kmh,x_g,y_g,z_g\n"
                   "2026-03-14T08:02:27.300+09:00,37.5000000,127.2500000,44,0.500,-2.250,1.000\n"
                   "2026-03-14T08:02:27.300+09:00,,,44,0.500,-2.250,1.000\n"));
}

} // namespace
