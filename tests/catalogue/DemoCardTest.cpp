#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

// The demo cards the build makes are what a new user sees first: they must read back as a camera card.
namespace {

QString buildDir()
{
    return qEnvironmentVariable("KORVANE_TEST_BUILD_DIR");
}

QJsonObject cli(const QStringList& args)
{
    QProcess process;
    process.start(buildDir() + QStringLiteral("/bin/korvane-cli"), args);
    process.waitForFinished(30000);
    EXPECT_EQ(process.exitCode(), 0) << args.join(QLatin1Char(' ')).toStdString();
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

struct Size
{
    int width = 0;
    int height = 0;
};

// The player's size probe: AVI little-endian at 64/68, the camera's MP4 big-endian at 232/236.
Size probe(const QString& path, bool mp4)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray h = f.read(512);
    const auto* p = reinterpret_cast<const unsigned char*>(h.constData());
    if (h.size() < 238)
        return {};
    if (mp4)
        return { (p[232] << 8) | p[233], (p[236] << 8) | p[237] };
    return { p[64] | (p[65] << 8), p[68] | (p[69] << 8) };
}

class DemoCardTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(DemoCardTest, ReadsBackAsACameraCard)
{
    const bool mp4 = QLatin1String(GetParam()) == QLatin1String("mp4");
    const QString card = buildDir() + QStringLiteral("/demo-card-") + QLatin1String(GetParam());
    if (!QDir(card).exists())
        GTEST_SKIP() << "the demo card has not been made in this build";

    const QJsonObject scan = cli({ QStringLiteral("scan"), card });
    EXPECT_TRUE(scan.value(QStringLiteral("scanResult")).toBool());
    EXPECT_EQ(scan.value(QStringLiteral("modelIndex")).toInt(), mp4 ? 5 : 3);
    EXPECT_EQ(
        scan.value(QStringLiteral("videoExtension")).toString(), mp4 ? QStringLiteral(".mp4") : QStringLiteral(".avi"));
    const QJsonArray rows = scan.value(QStringLiteral("rows")).toArray();
    QSet<int> icons;
    QSet<QString> kinds;
    int played = 0;
    for (const QJsonValue& v : rows) {
        const QJsonObject row = v.toObject();
        icons.insert(row.value(QStringLiteral("icon")).toInt(-1));
        kinds.insert(row.value(QStringLiteral("kind")).toString());
        const QString base = row.value(QStringLiteral("base")).toString();
        if (base.contains(QLatin1Char('p')))
            continue;
        ++played;
        const QString prefix = row.value(QStringLiteral("kind")).toString() == QLatin1String("Event")
            ? QStringLiteral("evt_")
            : row.value(QStringLiteral("kind")).toString() == QLatin1String("Parking") ? QStringLiteral("pmr_")
                                                                                       : QStringLiteral("rec_");
        const QString stem = card + QLatin1Char('/') + prefix + base;
        const Size size = probe(stem + (mp4 ? QStringLiteral(".mp4") : QStringLiteral(".avi")), mp4);
        EXPECT_EQ(size.width, 1280) << base.toStdString();
        EXPECT_EQ(size.height, 720) << base.toStdString();

        const QJsonObject dat = cli(
            { QStringLiteral("dat"), stem + QStringLiteral(".dat"), QStringLiteral("--at"), QStringLiteral("5000") });
        EXPECT_TRUE(dat.value(QStringLiteral("loaded")).toBool()) << base.toStdString();
        const int seconds = dat.value(QStringLiteral("gpsCount")).toInt();
        EXPECT_GE(seconds, 20);
        EXPECT_LE(seconds, 60);
        EXPECT_EQ(dat.value(QStringLiteral("sensorCount")).toInt(), seconds * 10);
        const QJsonObject at = dat.value(QStringLiteral("at")).toArray().first().toObject();
        EXPECT_TRUE(at.value(QStringLiteral("valid")).toBool());
        EXPECT_TRUE(at.value(QStringLiteral("lat")).toString().startsWith(QLatin1String("37.5")));
    }
    EXPECT_EQ(played, 7);
    EXPECT_TRUE(kinds.contains(QStringLiteral("Normal")) && kinds.contains(QStringLiteral("Event"))
        && kinds.contains(QStringLiteral("Parking")));
    EXPECT_TRUE(icons.contains(0) && icons.contains(2) && icons.contains(4) && icons.contains(5));
    EXPECT_EQ(icons.contains(7), !mp4); // span markers exist on both cards; MP4 models do not list them
}

INSTANTIATE_TEST_SUITE_P(Cards, DemoCardTest, ::testing::Values("avi", "mp4"));

} // namespace
