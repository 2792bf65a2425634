#include "CatalogueFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QJsonObject json;
};

CliRun runCli(const QStringList& args, const QString& country = QString())
{
    CliRun run;
    QProcess process;
    if (!country.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KORVANE_COUNTRY"), country);
        process.setProcessEnvironment(env);
    }
    process.start(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli"), args);
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    return run;
}

TEST(KorvaneCli, ScanReportsSortedRowsListsAndCounts)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_120000.avi"));
    card.add(QStringLiteral("evt_20120101_110000.avi"));
    card.add(QStringLiteral("evt_20120101_080000p.vlm"), "20120101_081500");
    card.add(QStringLiteral("pmr_20120101_130000.avi"));
    card.addParkingData(QStringLiteral("20120101_130000"), 1);
    card.add(QStringLiteral("pmr_20120101_140000p.vlm"), "20120101_150000");
    card.addSetup(setupWithCode(26, 15));

    const CliRun run = runCli({ QStringLiteral("scan"), card.path() });
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.json.value(QStringLiteral("scanResult")).toBool());
    EXPECT_EQ(run.json.value(QStringLiteral("videoExtension")).toString(), QStringLiteral(".avi"));
    EXPECT_EQ(run.json.value(QStringLiteral("modelIndex")).toInt(), 2);
    const QJsonArray rows = run.json.value(QStringLiteral("rows")).toArray();
    QStringList texts;
    for (const QJsonValue& r : rows) {
        const QJsonObject o = r.toObject();
        texts << o.value(QStringLiteral("kind")).toString() + QLatin1Char(' ')
                + o.value(QStringLiteral("base")).toString() + QLatin1Char(' ')
                + o.value(QStringLiteral("date")).toString() + QLatin1Char(' ')
                + (o.value(QStringLiteral("icon")).isNull() ? QStringLiteral("null")
                                                            : QString::number(o.value(QStringLiteral("icon")).toInt()));
    }
    EXPECT_EQ(texts,
        QStringList({ "Event 20120101_110000 2012-01-01 11:00:00 0", "Normal 20120101_120000 2012-01-01 12:00:00 2",
            "Parking 20120101_130000 2012-01-01 13:00:00 5", "Parking 20120101_140000p 14:00:00 ~ 15:00:00 7" }));
    const QJsonObject lists = run.json.value(QStringLiteral("nameLists")).toObject();
    EXPECT_EQ(lists.value(QStringLiteral("event")).toArray(), QJsonArray({ "evt_20120101_110000.avi" }));
    const QJsonObject counts = run.json.value(QStringLiteral("markerCounts")).toObject();
    EXPECT_EQ(counts.value(QStringLiteral("event")).toInt(), 0);
    EXPECT_EQ(counts.value(QStringLiteral("parking")).toInt(), 1);

    const CliRun mp4 = runCli({ QStringLiteral("scan"), card.path(), QStringLiteral("--model"), QStringLiteral("4"),
        QStringLiteral("--category"), QStringLiteral("event") });
    EXPECT_EQ(mp4.exitCode, 0);
    EXPECT_TRUE(mp4.json.value(QStringLiteral("scanResult")).toBool());
    EXPECT_EQ(mp4.json.value(QStringLiteral("videoExtension")).toString(), QStringLiteral(".mp4"));
    EXPECT_TRUE(mp4.json.value(QStringLiteral("rows")).toArray().isEmpty());

    EXPECT_EQ(
        runCli({ QStringLiteral("scan"), card.path(), QStringLiteral("--category"), QStringLiteral("odd") }).exitCode,
        2);
    EXPECT_EQ(runCli({ QStringLiteral("scan") }).exitCode, 2);
}

TEST(KorvaneCli, DatReportsTablesAndSamples)
{
    using namespace datbytes;
    CardFolder card;
    QByteArray sensors;
    for (int32_t x : { 100, 200, 300 })
        sensors += sensorRecord(x);
    QByteArray gps
        = gpsRecord(1, 37331234, 127015678, 162) + gpsRecord(0, 1, 1, 5) + gpsRecord(1, 37331234, 127015678, 163);
    card.add(QStringLiteral("rec_1.dat"), dataFile(sensors, gps, 2));
    card.add(QStringLiteral("rec_2.dat"), QByteArray("SENS") + u32(0x7fffffff) + sensors);

    const CliRun run = runCli({ QStringLiteral("dat"), card.root() + QStringLiteral("rec_1.dat"),
                                  QStringLiteral("--at"), QStringLiteral("999"), QStringLiteral("--at"),
                                  QStringLiteral("1000"), QStringLiteral("--at"), QStringLiteral("90000") },
        QStringLiteral("82"));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.json.value(QStringLiteral("loaded")).toBool());
    EXPECT_EQ(run.json.value(QStringLiteral("sensorCount")).toInt(), 3);
    EXPECT_EQ(run.json.value(QStringLiteral("gpsCount")).toInt(), 3);
    EXPECT_EQ(run.json.value(QStringLiteral("rangeTop")).toInt(), 1800);
    EXPECT_EQ(run.json.value(QStringLiteral("rangeBottom")).toInt(), -1800);
    EXPECT_EQ(run.json.value(QStringLiteral("parkingType")).toInt(), 0);
    const QJsonArray at = run.json.value(QStringLiteral("at")).toArray();
    ASSERT_EQ(at.size(), 3);
    EXPECT_EQ(at[0].toObject(),
        QJsonObject(
            { { "t", 999 }, { "valid", true }, { "speedKmh", 300 }, { "lon", "127.026130" }, { "lat", "37.552057" } }));
    EXPECT_EQ(at[1].toObject(),
        QJsonObject(
            { { "t", 1000 }, { "valid", false }, { "speedKmh", 0 }, { "lon", "0.000000" }, { "lat", "0.000000" } }));
    EXPECT_EQ(at[2].toObject().value(QStringLiteral("speedKmh")).toInt(), 301);
    EXPECT_FALSE(at[2].toObject().value(QStringLiteral("valid")).toBool());

    const CliRun japan
        = runCli({ QStringLiteral("dat"), card.root() + QStringLiteral("rec_1.dat") }, QStringLiteral("81"));
    EXPECT_EQ(japan.json.value(QStringLiteral("rangeTop")).toInt(), 2048);

    const CliRun lying = runCli({ QStringLiteral("dat"), card.root() + QStringLiteral("rec_2.dat") });
    EXPECT_EQ(lying.exitCode, 0);
    EXPECT_FALSE(lying.json.value(QStringLiteral("loaded")).toBool());
    EXPECT_EQ(lying.json.value(QStringLiteral("sensorCount")).toInt(), 3);
    EXPECT_EQ(lying.json.value(QStringLiteral("parkingType")).toInt(), 2);

    // A GPS block cut short: the file is not loaded, and the count says the same as the lookups.
    card.add(QStringLiteral("rec_3.dat"), block("SENS", sensors) + QByteArray("GPSI") + u32(200) + gps);
    const CliRun cut = runCli({ QStringLiteral("dat"), card.root() + QStringLiteral("rec_3.dat"),
        QStringLiteral("--at"), QStringLiteral("0") });
    EXPECT_FALSE(cut.json.value(QStringLiteral("loaded")).toBool());
    EXPECT_EQ(cut.json.value(QStringLiteral("gpsCount")).toInt(), 0);
    EXPECT_FALSE(
        cut.json.value(QStringLiteral("at")).toArray().at(0).toObject().value(QStringLiteral("valid")).toBool());

    const CliRun missing = runCli({ QStringLiteral("dat"), card.root() + QStringLiteral("none.dat") });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.json.value(QStringLiteral("loaded")).toBool());
    EXPECT_EQ(runCli({ QStringLiteral("dat"), card.root() + QStringLiteral("rec_1.dat"), QStringLiteral("--at"),
                         QStringLiteral("soon") })
                  .exitCode,
        2);
}

} // namespace
