#include "VideoBytes.h"
#include "catalogue/CatalogueFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

struct ProcessRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

ProcessRun run(const QString& program, const QStringList& args)
{
    ProcessRun r;
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

ProcessRun cli(const QStringList& args)
{
    return run(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli"), args);
}

// `seconds` fixes driving east from longitude lon0 (minutes x 10000) at 20 knots; fix 0 from `gapFrom` on.
// Ten sensor samples a second with gravity on z; `bumpAt` (seconds) adds a 2 g jolt there.
QByteArray drive(int seconds, int lon0, int gapFrom = 1 << 30, int bumpAt = -1)
{
    QByteArray gps;
    for (int k = 0; k < seconds; ++k)
        gps += datbytes::gpsRecord(k < gapFrom ? 1 : 0, 37300000, lon0 + k * 100, 20);
    QByteArray sensors;
    for (int i = 0; i < seconds * 10; ++i)
        sensors += datbytes::sensorRecord(0, 0, i == bumpAt * 10 ? 3 * 1024 : 1024);
    return datbytes::dataFile(sensors, gps, 0);
}

// Trip 1: two minutes of driving with an event in between; a parking recording; trip 2: one minute whose
// GPS lost its lock after 40 s.
void makeCard(CardFolder& card)
{
    card.add(QStringLiteral("rec_20260301_080000.avi"), videobytes::avi(40000, 1500));
    card.add(QStringLiteral("rec_20260301_080000.dat"), drive(60, 127000000));
    card.add(QStringLiteral("evt_20260301_080100.avi"), videobytes::avi(40000, 500));
    card.add(QStringLiteral("evt_20260301_080100.dat"), drive(20, 127006000, 1 << 30, 12));
    card.add(QStringLiteral("rec_20260301_080120.avi"), videobytes::avi(40000, 1500));
    card.add(QStringLiteral("rec_20260301_080120.dat"), drive(60, 127008000));
    card.add(QStringLiteral("pmr_20260301_083000.avi"), videobytes::avi(40000, 250));
    card.add(QStringLiteral("rec_20260301_173000.avi"), videobytes::avi(40000, 1500));
    card.add(QStringLiteral("rec_20260301_173000.dat"), drive(60, 127100000, 40));
}

TEST(CliTrips, PrintsTheTripsOfAFolderWithTheirFigures)
{
    CardFolder card;
    makeCard(card);
    const ProcessRun r = cli({ QStringLiteral("trips"), card.path() });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = r.json();
    EXPECT_EQ(doc.value(QStringLiteral("gapSeconds")).toDouble(), 120.0);
    EXPECT_EQ(doc.value(QStringLiteral("recordingCount")).toInt(), 5);
    // The impacts come from the samples: the event file's jolt, nothing in the steady drives.
    EXPECT_TRUE(doc.value(QStringLiteral("impactsAvailable")).toBool());
    EXPECT_FALSE(doc.contains(QStringLiteral("impactsNote")));
    const QJsonArray trips = doc.value(QStringLiteral("trips")).toArray();
    ASSERT_EQ(trips.size(), 2);
    const QJsonObject t1 = trips[0].toObject();
    EXPECT_EQ(t1.value(QStringLiteral("number")).toInt(), 1);
    EXPECT_EQ(t1.value(QStringLiteral("start")).toString(), QStringLiteral("2026-03-01T08:00:00"));
    EXPECT_EQ(t1.value(QStringLiteral("end")).toString(), QStringLiteral("2026-03-01T08:02:20"));
    EXPECT_EQ(t1.value(QStringLiteral("durationSeconds")).toDouble(), 140.0);
    EXPECT_EQ(t1.value(QStringLiteral("events")).toInt(), 1);
    EXPECT_EQ(t1.value(QStringLiteral("impacts")).toInt(-1), 1);
    EXPECT_EQ(t1.value(QStringLiteral("topSpeedKmh")).toInt(), 37);
    // 0.01' of longitude at 37.5 deg north is 14.7 m; 139 steps in all (the files join without a leap).
    EXPECT_NEAR(t1.value(QStringLiteral("distanceMetres")).toDouble(), 139 * 14.70, 5.0);
    EXPECT_NEAR(t1.value(QStringLiteral("averageSpeedKmh")).toDouble(), 139 * 14.70 / 140.0 * 3.6, 0.2);
    const QJsonArray recs = t1.value(QStringLiteral("recordings")).toArray();
    ASSERT_EQ(recs.size(), 3);
    EXPECT_EQ(recs[1].toObject().value(QStringLiteral("kind")).toString(), QStringLiteral("Event"));
    EXPECT_EQ(recs[1].toObject().value(QStringLiteral("lengthFrom")).toString(), QStringLiteral("data"));
    const QJsonObject t2 = trips[1].toObject();
    EXPECT_EQ(t2.value(QStringLiteral("impacts")).toInt(-1), 0);
    EXPECT_NEAR(t2.value(QStringLiteral("distanceMetres")).toDouble(), 39 * 14.70, 2.0);
    const QJsonArray parking = doc.value(QStringLiteral("parking")).toArray();
    ASSERT_EQ(parking.size(), 1);
    EXPECT_EQ(parking[0].toObject().value(QStringLiteral("durationSeconds")).toDouble(), 10.0);
    EXPECT_EQ(parking[0]
                  .toObject()
                  .value(QStringLiteral("recordings"))
                  .toArray()[0]
                  .toObject()
                  .value(QStringLiteral("lengthFrom"))
                  .toString(),
        QStringLiteral("header"));

    // With no gap allowed, files that touch still join: the event file ends at 08:01:20, where the next
    // one starts.
    const ProcessRun tight
        = cli({ QStringLiteral("trips"), card.path(), QStringLiteral("--gap"), QStringLiteral("0") });
    EXPECT_EQ(tight.json().value(QStringLiteral("trips")).toArray().size(), 2);
}

TEST(CliTrips, FailuresAndUsage)
{
    EXPECT_EQ(cli({ QStringLiteral("trips"), QStringLiteral("/nonexistent/card") }).exitCode, 1);
    EXPECT_EQ(cli({ QStringLiteral("trips") }).exitCode, 2);
    EXPECT_EQ(
        cli({ QStringLiteral("trips"), QStringLiteral("/tmp"), QStringLiteral("--gap"), QStringLiteral("x") }).exitCode,
        2);
    CardFolder card;
    makeCard(card);
    QTemporaryDir out;
    const QString gpx = out.filePath(QStringLiteral("t.gpx"));
    EXPECT_EQ(cli({ QStringLiteral("trip-export"), card.path(), QStringLiteral("--trip"), QStringLiteral("3"),
                      QStringLiteral("--out"), gpx })
                  .exitCode,
        1);
    EXPECT_FALSE(QFile::exists(gpx));
    EXPECT_EQ(cli({ QStringLiteral("trip-export"), card.path(), QStringLiteral("--trip"), QStringLiteral("1"),
                      QStringLiteral("--out"), out.filePath(QStringLiteral("t.txt")) })
                  .exitCode,
        2);
    EXPECT_EQ(cli({ QStringLiteral("trip-export"), card.path(), QStringLiteral("--out"), gpx }).exitCode, 2);
    EXPECT_EQ(cli({ QStringLiteral("trip-export"), card.path(), QStringLiteral("--trip"), QStringLiteral("1"),
                      QStringLiteral("--out"), QStringLiteral("/nonexistent/dir/t.gpx") })
                  .exitCode,
        1);
}

QString gpsbabel()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    return program;
}

struct ExportCase
{
    const char* file;
    const char* format; // gpsbabel's input format
};

class CliTripExport : public ::testing::TestWithParam<ExportCase>
{
};

TEST_P(CliTripExport, GpsbabelReadsTheTripTrack)
{
    CardFolder card;
    makeCard(card);
    QTemporaryDir out;
    const QString path = out.filePath(QString::fromLatin1(GetParam().file));
    const ProcessRun r = cli({ QStringLiteral("trip-export"), card.path(), QStringLiteral("--trip"),
        QStringLiteral("1"), QStringLiteral("--out"), path });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject result = r.json();
    EXPECT_TRUE(result.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(result.value(QStringLiteral("segments")).toInt(), 3);
    EXPECT_EQ(result.value(QStringLiteral("points")).toInt(), 140);

    if (gpsbabel().isEmpty()) {
        if (qEnvironmentVariableIsSet("CI"))
            FAIL() << "gpsbabel is missing (scripts/install-deps installs it)";
        GTEST_SKIP() << "gpsbabel is not installed";
    }
    // gpsbabel reads the file and writes it back as GPX, which shows what it understood.
    const ProcessRun b = run(gpsbabel(),
        { QStringLiteral("-t"), QStringLiteral("-i"), QString::fromLatin1(GetParam().format), QStringLiteral("-f"),
            path, QStringLiteral("-o"), QStringLiteral("gpx,gpxver=1.1"), QStringLiteral("-F"), QStringLiteral("-") });
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
    EXPECT_TRUE(b.err.trimmed().isEmpty()) << b.err.toStdString();
    const QString text = QString::fromUtf8(b.out);
    EXPECT_EQ(text.count(QStringLiteral("<trkpt ")), 140);
    EXPECT_EQ(text.count(QStringLiteral("<trkseg>")), 3);
    EXPECT_TRUE(text.contains(QStringLiteral("2026-03-01T08:00:00"))) << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("2026-03-01T08:02:19"))) << text.right(2000).toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("lat=\"37.500000000\"")) || text.contains(QStringLiteral("lat=\"37.500000\"")))
        << text.left(2000).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Formats, CliTripExport,
    ::testing::Values(ExportCase { "trip.gpx", "gpx" }, ExportCase { "trip.kml", "kml" }),
    [](const ::testing::TestParamInfo<ExportCase>& info) { return std::string(info.param.format); });

} // namespace
