// korvane-cli impacts, export and verify on a small card the test makes: two recordings of one drive (real
// video from ffmpeg, one key frame a second) with data files whose GPS and samples are known, and an impact
// 25 s into the first. The package is judged by outside tools: ffprobe and ffmpeg for the clip, xmllint
// and gpsbabel for the GPX, gpsbabel for the KML, pdftotext for the report.
#include "SidecarWriter.h"
#include "incident/EvidencePackage.h"
#include "platform/FileFaults.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zip.h>

#include <cerrno>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr int kSeconds = 30;
constexpr int kRate = 10; // samples per second
constexpr int kImpactSecond = 25;
constexpr int kGravity = 1024;
constexpr int kJolt = -2253; // 2.2 g along the car

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(180000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString cli()
{
    return qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/bin/korvane-cli");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The drive: second k of the whole drive (both recordings) at 20 + k knots, moving north-east.
sidecarwriter::Gps gpsAt(int driveSecond)
{
    sidecarwriter::Gps g;
    g.latitude = sidecarwriter::degreesToNmeaField(37.5 + driveSecond * 0.0001);
    g.longitude = sidecarwriter::degreesToNmeaField(127.0 + driveSecond * 0.0002);
    g.speedKnots = static_cast<uint32_t>(20 + driveSecond);
    return g;
}

QByteArray dataFile(int firstDriveSecond, bool impact)
{
    std::vector<sidecarwriter::Gps> gps;
    for (int k = 0; k < kSeconds; ++k)
        gps.push_back(gpsAt(firstDriveSecond + k));
    std::vector<sidecarwriter::Sensor> sensors(kSeconds * kRate, sidecarwriter::Sensor { 0, 0, kGravity, 0 });
    if (impact) {
        const size_t at = kImpactSecond * kRate;
        sensors[at].y = kJolt;
        sensors[at + 1].y = -1500;
        sensors[at + 2].y = -800;
        for (size_t i = at; i < at + 3; ++i)
            sensors[i].mark = 1;
    }
    return sidecarwriter::buildDataFile(sensors, gps, QByteArray(16, '\0'), 0);
}

// name -> SHA-256 of every file of the card, to show that nothing there was written.
std::map<QString, QByteArray> cardState(const QString& card)
{
    std::map<QString, QByteArray> state;
    QDirIterator it(card, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        state[path] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    return state;
}

class EvidencePackageMedia : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
            return;
        s_dir = new QTemporaryDir;
        const QString card = s_dir->filePath(QStringLiteral("card"));
        QDir().mkpath(card + QStringLiteral("/Setup"));
        QByteArray setup(26, '\0');
        setup[3] = 76; // (GMT+09:00) Seoul
        setup[18] = 20; // Charlie
        writeFile(card + QStringLiteral("/Setup/setup.bin"), setup);
        const char* names[2] = { "rec_20260314_080000", "rec_20260314_080030" };
        for (int n = 0; n < 2; ++n) {
            const QString base = card + QLatin1Char('/') + QLatin1String(names[n]);
            const ToolRun r = run(QStringLiteral("ffmpeg"),
                { "-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i", "testsrc2=size=320x240:rate=15", "-f", "lavfi",
                    "-i", "sine=frequency=440:sample_rate=16000", "-t", QString::number(kSeconds), "-ac", "1", "-c:v",
                    "mpeg4", "-q:v", "8", "-g", "15", "-c:a", "pcm_s16le", "-f", "avi", base + QStringLiteral(".avi") });
            if (r.exitCode != 0)
                return;
            writeFile(base + QStringLiteral(".dat"), dataFile(n * kSeconds, n == 0));
        }
        s_card = card;
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        if (s_card.isEmpty())
            GTEST_SKIP() << "ffmpeg is not available to make the recordings";
    }

    static QJsonObject exportPackage(const QString& out, const QStringList& extra = {})
    {
        QStringList args { "export", s_card + QStringLiteral("/rec_20260314_080000.avi"), "--at",
            QString::number(kImpactSecond), "--out", out };
        args += extra;
        const ToolRun r = run(cli(), args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    }

    static inline QTemporaryDir* s_dir = nullptr;
    static inline QString s_card;
};

TEST_F(EvidencePackageMedia, ImpactsCommandFindsTheJoltAtItsPeak)
{
    const ToolRun r = run(cli(), { "impacts", s_card, "--threshold", "1.5" });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(doc.value("impactCount").toInt(), 1);
    const QJsonArray recordings = doc.value("recordings").toArray();
    ASSERT_EQ(recordings.size(), 2);
    EXPECT_EQ(recordings[0].toObject().value("file").toString(), QStringLiteral("rec_20260314_080000.avi"));
    const QJsonArray impacts = recordings[0].toObject().value("impacts").toArray();
    ASSERT_EQ(impacts.size(), 1);
    const QJsonObject impact = impacts[0].toObject();
    EXPECT_EQ(impact.value("atMs").toInteger(), kImpactSecond * 1000);
    EXPECT_NEAR(impact.value("peakG").toDouble(), 2.2, 0.01);
    EXPECT_TRUE(impact.value("marked").toBool());
    EXPECT_TRUE(recordings[1].toObject().value("impacts").toArray().isEmpty());

    // above the jolt only the camera's mark makes it an impact; a bad threshold is a usage error
    const ToolRun high = run(cli(), { "impacts", s_card + "/rec_20260314_080000.avi", "--threshold", "5" });
    ASSERT_EQ(high.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(high.out).object().value("impactCount").toInt(), 1);
    EXPECT_EQ(run(cli(), { "impacts", s_card, "--threshold", "abc" }).exitCode, 2);
    EXPECT_EQ(run(cli(), { "impacts", s_dir->filePath("nothing-here") }).exitCode, 1);
}

TEST_F(EvidencePackageMedia, ClipCoversTheWindowAcrossTheNextRecordingAndEveryFrameDecodes)
{
    QTemporaryDir out;
    const auto before = cardState(s_card);
    const QJsonObject doc = exportPackage(out.path());
    ASSERT_TRUE(doc.value("ok").toBool());
    EXPECT_EQ(cardState(s_card), before) << "the card was written";
    EXPECT_EQ(doc.value("recordingsUsed").toArray().size(), 2);
    const QString clip = doc.value("package").toString() + QStringLiteral("/clip.avi");

    // window 5 s .. 35 s of the drive: 30 s, started at a key frame at most 1 s (the key-frame interval) early
    const ToolRun probe = run(QStringLiteral("ffprobe"),
        { "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
            "stream=nb_read_frames,nb_frames:format=duration", "-of", "json", clip });
    ASSERT_EQ(probe.exitCode, 0) << probe.err.toStdString();
    const QJsonObject info = QJsonDocument::fromJson(probe.out).object();
    const double duration = info.value("format").toObject().value("duration").toString().toDouble();
    EXPECT_NEAR(duration, 30.0, 1.0);
    const QJsonObject stream = info.value("streams").toArray().first().toObject();
    const int read = stream.value("nb_read_frames").toString().toInt();
    EXPECT_NEAR(read, 30 * 15, 15);
    EXPECT_EQ(read, stream.value("nb_frames").toString().toInt()) << "frames in the index that do not decode";
    const double start = doc.value("clipStartSeconds").toDouble();
    EXPECT_LE(start, 5.0);
    EXPECT_GT(start, 4.0);

    const ToolRun decode = run(QStringLiteral("ffmpeg"), { "-v", "error", "-nostdin", "-i", clip, "-f", "null", "-" });
    EXPECT_EQ(decode.exitCode, 0);
    EXPECT_TRUE(decode.err.trimmed().isEmpty()) << decode.err.toStdString();
}

TEST_F(EvidencePackageMedia, TrackFilesValidateAndConvert)
{
    QTemporaryDir out;
    const QJsonObject doc = exportPackage(out.path());
    ASSERT_TRUE(doc.value("ok").toBool());
    const QString package = doc.value("package").toString();
    const QString xsd = qEnvironmentVariable("KORVANE_TEST_SOURCE_DIR") + QStringLiteral("/tests/incident/gpx11-structure.xsd");

    const ToolRun valid = run(QStringLiteral("xmllint"), { "--noout", "--schema", xsd, package + "/track.gpx" });
    EXPECT_EQ(valid.exitCode, 0) << valid.err.toStdString();
    // the schema check does reject a broken file
    QFile gpx(package + "/track.gpx");
    ASSERT_TRUE(gpx.open(QIODevice::ReadOnly));
    QByteArray broken = gpx.readAll();
    broken.replace("lat=\"37.50", "lat=\"97.50");
    ASSERT_TRUE(writeFile(out.filePath("broken.gpx"), broken));
    EXPECT_NE(run(QStringLiteral("xmllint"), { "--noout", "--schema", xsd, out.filePath("broken.gpx") }).exitCode, 0);

    // 25 seconds of the first recording (5..29) and 6 of the second (0..5)
    const ToolRun fromGpx = run(QStringLiteral("gpsbabel"), { "-t", "-i", "gpx", "-f", package + "/track.gpx", "-o", "unicsv", "-F", "-" });
    ASSERT_EQ(fromGpx.exitCode, 0) << fromGpx.err.toStdString();
    const QList<QByteArray> gpxRows = fromGpx.out.trimmed().split('\n');
    EXPECT_EQ(gpxRows.size(), 1 + 31);
    EXPECT_TRUE(gpxRows[1].contains("37.500500,127.001000")) << gpxRows[1].toStdString();

    const ToolRun fromKml = run(QStringLiteral("gpsbabel"), { "-t", "-i", "kml", "-f", package + "/track.kml", "-o", "unicsv", "-F", "-" });
    ASSERT_EQ(fromKml.exitCode, 0) << fromKml.err.toStdString();
    EXPECT_EQ(fromKml.out.trimmed().split('\n').size(), 1 + 31);
    const ToolRun impact = run(QStringLiteral("gpsbabel"), { "-i", "kml", "-f", package + "/track.kml", "-o", "unicsv", "-F", "-" });
    EXPECT_TRUE(impact.out.contains("37.502500,127.005000")) << impact.out.toStdString();

    QFile csv(package + "/samples.csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray samples = csv.readAll();
    EXPECT_TRUE(samples.contains("2026-03-14T08:00:25.000+09:00,37.5025000,127.0050000,83,0.000,-2.200,1.000\n"));
}

TEST_F(EvidencePackageMedia, ReportHoldsTheFigures)
{
    QTemporaryDir out;
    const QJsonObject doc = exportPackage(out.path());
    ASSERT_TRUE(doc.value("ok").toBool());
    ASSERT_TRUE(doc.value("report").toBool());
    const ToolRun text = run(QStringLiteral("pdftotext"), { "-layout", doc.value("package").toString() + "/report.pdf", "-" });
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QString page = QString::fromUtf8(text.out);
    for (const char* figure : { "rec_20260314_080000.avi", "rec_20260314_080030.avi", "KRV-CHARLIE",
             "2026-03-14 08:00:25.000 (GMT+09:00) Seoul", "37.502500, 127.005000",
             "64 km/h", // 10 s before: 35 knots
             "83 km/h", // at the impact: 45 knots
             "101 km/h", // 10 s after, in the next recording: 55 knots
             "2.20 g" })
        EXPECT_TRUE(page.contains(QLatin1String(figure))) << figure << "\n" << page.toStdString();
    // one page
    const ToolRun info = run(QStringLiteral("pdfinfo"), { doc.value("package").toString() + "/report.pdf" });
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QRegularExpression(QStringLiteral("\\nPages: +1\\n"))))
        << info.out.toStdString();
}

TEST_F(EvidencePackageMedia, VerifyPassesThenNamesTheClipAfterOneByteChanges)
{
    QTemporaryDir out;
    const QJsonObject doc = exportPackage(out.path());
    ASSERT_TRUE(doc.value("ok").toBool());
    const QString package = doc.value("package").toString();
    const ToolRun good = run(cli(), { "verify", package });
    EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(good.out).object().value("filesChecked").toInt(), 6);

    QFile clip(package + "/clip.avi");
    ASSERT_TRUE(clip.open(QIODevice::ReadWrite));
    const qint64 middle = clip.size() / 2;
    ASSERT_TRUE(clip.seek(middle));
    char byte = 0;
    ASSERT_EQ(clip.read(&byte, 1), 1);
    ASSERT_TRUE(clip.seek(middle));
    byte = static_cast<char>(byte ^ 0x01);
    ASSERT_EQ(clip.write(&byte, 1), 1);
    clip.close();

    const ToolRun bad = run(cli(), { "verify", package });
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(QJsonDocument::fromJson(bad.out).object().value("changed").toArray(), QJsonArray { "clip.avi" });
    EXPECT_TRUE(bad.err.contains("clip.avi")) << bad.err.toStdString();
}

// The zip is made when asked for; without it the output folder holds the package folder alone.
TEST_F(EvidencePackageMedia, ZipHoldsThePackageFolderWhenAskedFor)
{
    QTemporaryDir plain;
    const QJsonObject folderOnly = exportPackage(plain.path());
    ASSERT_TRUE(folderOnly.value("ok").toBool());
    EXPECT_TRUE(folderOnly.value("zip").isNull());
    EXPECT_EQ(QDir(plain.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { QFileInfo(folderOnly.value("package").toString()).fileName() });

    QTemporaryDir out;
    const QJsonObject doc = exportPackage(out.path(), { "--zip" });
    ASSERT_TRUE(doc.value("ok").toBool());
    const QString zipPath = doc.value("zip").toString();
    EXPECT_EQ(zipPath, doc.value("package").toString() + ".zip");
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    const QJsonArray files = doc.value("files").toArray();
    EXPECT_EQ(zip_get_num_entries(archive, 0), files.size());
    const QString folderName = QFileInfo(doc.value("package").toString()).fileName();
    for (const QJsonValue& f : files) {
        const QByteArray entry = (folderName + QLatin1Char('/') + f.toString()).toUtf8();
        zip_stat_t st;
        ASSERT_EQ(zip_stat(archive, entry.constData(), 0, &st), 0) << entry.constData();
        EXPECT_EQ(static_cast<qint64>(st.size), QFileInfo(doc.value("package").toString() + "/" + f.toString()).size());
    }
    zip_close(archive);
}

TEST_F(EvidencePackageMedia, AFailedExportLeavesNothingThatLooksLikeAPackage)
{
    QTemporaryDir out;
    // a time past the recording's end
    const ToolRun late = run(cli(), { "export", s_card + "/rec_20260314_080000.avi", "--at", "95", "--out", out.path() });
    EXPECT_EQ(late.exitCode, 1);
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    // into the card's own folder
    const auto before = cardState(s_card);
    const ToolRun onCard = run(cli(), { "export", s_card + "/rec_20260314_080000.avi", "--at", "25", "--out", s_card + "/out" });
    EXPECT_EQ(onCard.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(s_card + "/out"));
    EXPECT_EQ(cardState(s_card), before);
    // usage errors
    EXPECT_EQ(run(cli(), { "export", s_card + "/rec_20260314_080000.avi", "--out", out.path() }).exitCode, 2);
    EXPECT_EQ(run(cli(), { "verify" }).exitCode, 2);
}

// Each way an export fails says which kind of failure it was, for the viewer to put into words.
TEST_F(EvidencePackageMedia, AFailureSaysItsKind)
{
    QTemporaryDir out;
    QTemporaryDir elsewhere;
    const QString unreadable = elsewhere.filePath("rec_20260314_090000.avi");
    {
        QFile f(unreadable);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    const QString blocked = out.filePath("a-file");
    {
        QFile f(blocked);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct
    {
        const char* what;
        QString video;
        qint64 atMs;
        qint64 afterMs;
        QString folder;
        ExportFailure kind;
    } cases[] = {
        { "past the end", s_card + "/rec_20260314_080000.avi", 95000, 10000, out.filePath("p"), ExportFailure::Window },
        { "no window", s_card + "/rec_20260314_080000.avi", 20000, -20000, out.filePath("p"), ExportFailure::Window },
        { "into the card", s_card + "/rec_20260314_080000.avi", 20000, 10000, s_card + "/out", ExportFailure::AmongRecordings },
        { "not a recording", unreadable, 1000, 10000, out.filePath("p"), ExportFailure::Reading },
        { "output below a file", s_card + "/rec_20260314_080000.avi", 20000, 10000, blocked + "/p", ExportFailure::Writing },
    };
    for (const auto& c : cases) {
        EvidenceRequest request;
        request.videoPath = c.video;
        request.atMs = c.atMs;
        request.beforeMs = 20000;
        request.afterMs = c.afterMs;
        request.outputFolder = c.folder;
        const EvidenceResult result = EvidencePackage::write(request);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.failure, c.kind) << c.what << ": " << result.error.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(s_card + "/out"));
}

// The package is written in this process with faults under the file layer: the disk fills up while the
// clip goes into the zip, or the disk fails when the finished files are made durable. Either way the export
// fails and the output folder holds nothing, hidden or not.
TEST_F(EvidencePackageMedia, AFaultWhileZippingOrSyncingLeavesNoPackage)
{
    const struct
    {
        const char* what;
        bool zip;
        std::function<void(platform::FileFaultRules&)> fault;
    } cases[] = {
        { "disk full in the zip", true, [](platform::FileFaultRules& r) { r.failWritesAfter(".zip.partial", 100000, ENOSPC); } },
        { "sync of the zip fails", true, [](platform::FileFaultRules& r) { r.failSyncs(".zip.partial", EIO); } },
        { "sync of the clip fails, with a zip", true, [](platform::FileFaultRules& r) { r.failSyncs("clip.avi", EIO); } },
        { "sync of the clip fails", false, [](platform::FileFaultRules& r) { r.failSyncs("clip.avi", EIO); } },
    };
    for (const auto& c : cases) {
        QTemporaryDir out;
        auto rules = std::make_shared<platform::FileFaultRules>();
        c.fault(*rules);
        platform::setFileFaultPlan(rules);
        EvidenceRequest request;
        request.videoPath = s_card + QStringLiteral("/rec_20260314_080000.avi");
        request.atMs = kImpactSecond * 1000;
        request.outputFolder = out.path();
        request.zip = c.zip;
        const EvidenceResult result = EvidencePackage::write(request);
        platform::setFileFaultPlan(nullptr);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_FALSE(result.error.isEmpty()) << c.what;
        EXPECT_EQ(result.failure, ExportFailure::Writing) << c.what;
        EXPECT_GT(rules->hits(0), 0) << c.what;
        EXPECT_TRUE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
            << c.what << ": " << QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(' ').toStdString();
    }
}

} // namespace
