#include "CameraFixtures.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace camera_test;

namespace {

struct CliRun
{
    int exitCode = -1;
    QJsonObject json;
    bool oneDocument = false; // stdout holds exactly one JSON document
    QString diagnostics; // stderr
};

CliRun runCli(const QStringList& args, const QString& country = QStringLiteral("33"))
{
    const QString buildDir = qEnvironmentVariable("KORVANE_TEST_BUILD_DIR");
    EXPECT_FALSE(buildDir.isEmpty()) << "KORVANE_TEST_BUILD_DIR names the build folder holding bin/korvane-cli";
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KORVANE_COUNTRY"), country);
    process.setProcessEnvironment(env);
    process.start(buildDir + QStringLiteral("/bin/korvane-cli"), args);
    CliRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    const QByteArray out = process.readAllStandardOutput();
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    run.oneDocument = error.error == QJsonParseError::NoError && document.isObject();
    run.json = document.object();
    run.diagnostics = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(CliCamera, IdentifyAndSetupOnACard)
{
    QTemporaryDir dir;
    QByteArray image
        = bytes(100, { { 0, 1 }, { 1, 12 }, { 3, 95 }, { 14, 50 }, { 15, 50 }, { 16, 10 }, { 6, 7 }, { 18, 26 } });
    ASSERT_TRUE(writeFile(dir.path() + QStringLiteral("/Setup/setup.bin"), image));

    const CliRun identify = runCli({ QStringLiteral("identify"), dir.path() });
    EXPECT_EQ(identify.exitCode, 0);
    EXPECT_EQ(identify.json.value(QStringLiteral("model")).toString(), QStringLiteral("Echo"));
    EXPECT_EQ(identify.json.value(QStringLiteral("modelIndex")).toInt(-1), 5);

    const QString file = dir.path() + QStringLiteral("/Setup/setup.bin");
    const CliRun setup = runCli({ QStringLiteral("setup"), file });
    EXPECT_EQ(setup.exitCode, 0);
    EXPECT_EQ(setup.json.value(QStringLiteral("model")).toString(), QStringLiteral("Echo"));
    EXPECT_TRUE(setup.json.value(QStringLiteral("loaded")).toBool());
    EXPECT_EQ(setup.json.value(QStringLiteral("fileSize")).toInt(), 100);
    EXPECT_EQ(setup.json.value(QStringLiteral("firmware")).toString(), QStringLiteral("KRV-ECHO WDR FW Ver 1.12"));
    QByteArray expected = image;
    expected[6] = 2;
    expected[7] = 1;
    expected[14] = 40;
    expected[15] = 30;
    expected[16] = 30;
    EXPECT_EQ(setup.json.value(QStringLiteral("image")).toString(), QString::fromLatin1(expected.toHex()));

    // Read as an Alpha record on a Japanese system: 18 bytes, time zone repaired to Tokyo.
    const CliRun alpha = runCli(
        { QStringLiteral("setup"), file, QStringLiteral("--model"), QStringLiteral("Alpha") }, QStringLiteral("81"));
    EXPECT_EQ(alpha.json.value(QStringLiteral("model")).toString(), QStringLiteral("Alpha"));
    const QByteArray alphaImage = QByteArray::fromHex(alpha.json.value(QStringLiteral("image")).toString().toLatin1());
    ASSERT_EQ(alphaImage.size(), 18);
    EXPECT_EQ(alphaImage.at(3), 77);
}

TEST(CliCamera, NoSettingsFile)
{
    QTemporaryDir dir;
    const CliRun identify = runCli({ QStringLiteral("identify"), dir.path() });
    EXPECT_EQ(identify.exitCode, 0);
    EXPECT_TRUE(identify.json.value(QStringLiteral("model")).isNull());
    EXPECT_TRUE(identify.json.value(QStringLiteral("modelIndex")).isNull());

    const CliRun setup = runCli({ QStringLiteral("setup"), dir.path() + QStringLiteral("/Setup/setup.bin"),
        QStringLiteral("--model"), QStringLiteral("Delta") });
    // A file that cannot be read is a failure: exit 1, one line on stderr, still one document on stdout.
    EXPECT_EQ(setup.exitCode, 1);
    EXPECT_TRUE(setup.oneDocument);
    EXPECT_EQ(setup.diagnostics.count(QLatin1Char('\n')), 1) << setup.diagnostics.toStdString();
    EXPECT_TRUE(setup.diagnostics.contains(QStringLiteral("setup.bin"))) << setup.diagnostics.toStdString();
    EXPECT_EQ(setup.json.value(QStringLiteral("model")).toString(), QStringLiteral("Delta"));
    EXPECT_FALSE(setup.json.value(QStringLiteral("loaded")).toBool(true));
    EXPECT_EQ(setup.json.value(QStringLiteral("firmware")).toString(QStringLiteral("x")), QString());

    EXPECT_EQ(runCli({ QStringLiteral("setup") }).exitCode, 2);
    EXPECT_EQ(
        runCli({ QStringLiteral("setup"), QStringLiteral("f"), QStringLiteral("--model"), QStringLiteral("Zulu") })
            .exitCode,
        2);
    EXPECT_EQ(runCli({ QStringLiteral("identify") }).exitCode, 2);
}

} // namespace
