// Makes a demo card: a folder laid out like the root of a camera's SD card, with a morning's recordings
// of all three kinds (real video with the recording time burnt in), their data files along a drive through
// Seoul, span markers and the camera's settings file. Run once by the build:
//   demo-card OUTPUT_FOLDER avi|mp4
// The card is assembled beside the output folder and moved into place only when complete.

#include "Mp4CameraLayout.h"
#include "camera/SetupRecord.h"
#include "SidecarWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimeZone>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kFrameRate = 15;
constexpr int kSensorRate = 10; // samples per second
constexpr double kPi = 3.14159265358979323846;

struct Clip
{
    const char* prefix;
    const char* time; // HHMMSS of the start
    int seconds;
    int driveOffset; // second of the drive the clip starts at; -1 while parked
    uint8_t parkingType; // trailing byte of the data file
    int impactSecond; // -1: none
};

struct Marker
{
    const char* prefix;
    const char* time;
    const char* end; // date_time the span ends
};

const char* const kDate = "20260314";

const Clip kClips[] = {
    { "pmr_", "071502", 30, -1, 2, -1 },
    { "pmr_", "075530", 20, -1, 1, 8 },
    { "rec_", "080100", 45, 0, 0, -1 },
    { "rec_", "080145", 45, 45, 0, -1 },
    { "evt_", "080212", 30, 72, 0, 15 },
    { "rec_", "080230", 45, 90, 0, -1 },
    { "evt_", "081230", 25, 690, 0, 10 },
};

const Marker kMarkers[] = {
    { "pmr_", "072000", "20260314_075500" },
    { "rec_", "080315", "20260314_081200" },
};

// Where the car stands overnight and where the drive starts.
constexpr double kHomeLatitude = 37.5326;
constexpr double kHomeLongitude = 127.0246;

struct DriveState
{
    double latitude = kHomeLatitude;
    double longitude = kHomeLongitude;
    double speedKmh = 0;
    double headingDeg = 0;
};

// A city drive: pulling away, traffic, a red light, a right turn; one state per second.
std::vector<DriveState> simulateDrive(int seconds)
{
    std::vector<DriveState> states;
    DriveState s;
    for (int t = 0; t <= seconds; ++t) {
        double v;
        if (t < 20)
            v = 45.0 * t / 20.0;
        else if (t >= 200 && t < 215)
            v = 55.0 * (215 - t) / 15.0; // braking for a light
        else if (t >= 215 && t < 245)
            v = 0;
        else if (t >= 245 && t < 265)
            v = 50.0 * (t - 245) / 20.0;
        else
            v = 52.0 + 10.0 * std::sin(t / 23.0) + 4.0 * std::sin(t / 7.0);
        double heading = 60.0 + 25.0 * std::sin(t / 140.0);
        if (t > 400)
            heading += std::min(90.0, (t - 400) * 6.0); // a right turn onto a main road
        s.speedKmh = std::max(0.0, v);
        s.headingDeg = heading;
        states.push_back(s);
        const double metres = s.speedKmh / 3.6;
        const double rad = heading * kPi / 180.0;
        s.latitude += metres * std::cos(rad) / 111320.0;
        s.longitude += metres * std::sin(rad) / (111320.0 * std::cos(s.latitude * kPi / 180.0));
    }
    return states;
}

QByteArray makeDataFile(
    const Clip& clip, const std::vector<DriveState>& drive, const QByteArray& settings, std::mt19937& random)
{
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<sidecarwriter::Gps> gps;
    std::vector<sidecarwriter::Sensor> sensors;
    const bool parked = clip.driveOffset < 0;
    for (int k = 0; k < clip.seconds; ++k) {
        const DriveState s = parked ? DriveState {} : drive[static_cast<size_t>(clip.driveOffset + k)];
        sidecarwriter::Gps g;
        g.fix = 1;
        g.latitude = sidecarwriter::degreesToNmeaField(s.latitude);
        g.longitude = sidecarwriter::degreesToNmeaField(s.longitude);
        g.speedKnots = static_cast<uint32_t>(std::lround(s.speedKmh / 1.852));
        gps.push_back(g);
    }
    const int samples = clip.seconds * kSensorRate;
    for (int i = 0; i < samples; ++i) {
        const double second = static_cast<double>(i) / kSensorRate;
        const int k = static_cast<int>(second);
        double lateral = 0;
        double longitudinal = 0;
        double roughness = parked ? 3.0 : 22.0;
        if (!parked) {
            const size_t at = static_cast<size_t>(clip.driveOffset + k);
            const double dv = (drive[at + 1].speedKmh - drive[at].speedKmh) / 3.6; // m/s per s
            const double yaw = (drive[at + 1].headingDeg - drive[at].headingDeg) * kPi / 180.0; // rad per s
            longitudinal = dv / 9.81 * 1024.0;
            lateral = drive[at].speedKmh / 3.6 * yaw / 9.81 * 1024.0;
        }
        sidecarwriter::Sensor s;
        s.x = static_cast<int32_t>(std::lround(lateral + roughness * noise(random)));
        s.y = static_cast<int32_t>(std::lround(longitudinal + roughness * noise(random)));
        s.z = static_cast<int32_t>(std::lround(1024.0 + 1.5 * roughness * noise(random)));
        if (clip.impactSecond >= 0) {
            const int from = clip.impactSecond * kSensorRate;
            const int offset = i - from;
            if (offset >= 0 && offset < 6) {
                // A jolt: strongest in the first samples, fading out; every sample of it is marked.
                const double scale = parked ? 0.35 : 1.0;
                const double fade = 1.0 / (1 + offset);
                s.x += static_cast<int32_t>(scale * 900 * fade);
                s.y -= static_cast<int32_t>(scale * 2300 * fade);
                s.z += static_cast<int32_t>(scale * 650 * fade);
                s.mark = 1;
            }
        }
        sensors.push_back(s);
    }
    return sidecarwriter::buildDataFile(sensors, gps, settings, clip.parkingType);
}

bool runFfmpeg(const QStringList& args)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForStarted(10000)) {
        std::fprintf(stderr, "demo-card: ffmpeg cannot be started\n");
        return false;
    }
    ffmpeg.waitForFinished(-1);
    return ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

QString label(const Clip& clip)
{
    const QString p = QString::fromLatin1(clip.prefix);
    if (p == QLatin1String("evt_"))
        return QStringLiteral("EVENT");
    if (p == QLatin1String("pmr_"))
        return QStringLiteral("PARKING");
    return QStringLiteral("NORMAL");
}

bool makeVideo(const Clip& clip, const QDateTime& start, bool mp4, const QString& path)
{
    const QString font = QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf");
    const QString clock
        = QStringLiteral("%{pts\\:gmtime\\:%1\\:%Y-%m-%d %H\\\\\\:%M\\\\\\:%S}").arg(start.toSecsSinceEpoch());
    QString text = QStringLiteral("drawtext=fontsize=40:fontcolor=white:box=1:boxcolor=black@0.55:boxborderw=8:"
                                  "x=24:y=h-72:text='KORVANE  %1  %2'")
                       .arg(label(clip), clock);
    if (QFileInfo::exists(font))
        text.replace(QLatin1String("drawtext="), QStringLiteral("drawtext=fontfile=%1:").arg(font));
    QStringList args { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y"),
        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("testsrc2=size=%1x%2:rate=%3").arg(kWidth).arg(kHeight).arg(kFrameRate), QStringLiteral("-f"),
        QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("sine=frequency=220:beep_factor=2:sample_rate=16000"), QStringLiteral("-t"),
        QString::number(clip.seconds), QStringLiteral("-vf"), text, QStringLiteral("-ac"), QStringLiteral("1") };
    if (mp4)
        args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
             << QStringLiteral("ultrafast") << QStringLiteral("-crf") << QStringLiteral("30")
             << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p") << QStringLiteral("-g")
             << QString::number(kFrameRate) << QStringLiteral("-c:a") << QStringLiteral("aac") << QStringLiteral("-b:a")
             << QStringLiteral("48k") << QStringLiteral("-f") << QStringLiteral("mp4");
    else
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg4") << QStringLiteral("-q:v") << QStringLiteral("9")
             << QStringLiteral("-g") << QString::number(kFrameRate) << QStringLiteral("-c:a")
             << QStringLiteral("pcm_s16le") << QStringLiteral("-f") << QStringLiteral("avi");
    const QString raw = mp4 ? path + QStringLiteral(".ffmpeg") : path;
    args << raw;
    if (!runFfmpeg(args))
        return false;
    if (!mp4)
        return true;

    QFile in(raw);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray produced = in.readAll();
    in.close();
    QByteArray camera;
    QString error;
    if (!mp4layout::rewriteToCameraLayout(produced, camera, error)) {
        std::fprintf(stderr, "demo-card: %s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    int width = 0;
    int height = 0;
    if (!mp4layout::probeSize(camera, width, height) || width != kWidth || height != kHeight) {
        std::fprintf(stderr, "demo-card: %s: the size probe reads %dx%d\n", qPrintable(path), width, height);
        return false;
    }
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(camera) != camera.size())
        return false;
    out.close();
    QFile::remove(raw);
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QDateTime at(const char* time)
{
    return QDateTime(QDate::fromString(QString::fromLatin1(kDate), QStringLiteral("yyyyMMdd")),
        QTime::fromString(QString::fromLatin1(time), QStringLiteral("HHmmss")), QTimeZone::utc());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args[2] != QLatin1String("avi") && args[2] != QLatin1String("mp4"))) {
        std::fprintf(stderr, "usage: demo-card OUTPUT_FOLDER avi|mp4\n");
        return 2;
    }
    const QString target = QDir::cleanPath(QFileInfo(args[1]).absoluteFilePath());
    const bool mp4 = args[2] == QLatin1String("mp4");
    const QString work = target + QStringLiteral(".partial");
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work + QStringLiteral("/Setup"))) {
        std::fprintf(stderr, "demo-card: cannot create %s\n", qPrintable(work));
        return 1;
    }

    // A freshly set-up camera of the card's kind: Charlie records AVI, Echo MP4.
    const QByteArray setup = MakeDefaultSetupRecord(mp4 ? CameraModel::Echo : CameraModel::Charlie, 82).image();
    if (!writeFile(work + QStringLiteral("/Setup/setup.bin"), setup))
        return 1;

    const std::vector<DriveState> drive = simulateDrive(900);
    std::mt19937 random(mp4 ? 5 : 4);
    const QString extension = mp4 ? QStringLiteral(".mp4") : QStringLiteral(".avi");
    for (const Clip& clip : kClips) {
        const QString base = QString::fromLatin1(kDate) + QLatin1Char('_') + QString::fromLatin1(clip.time);
        const QString stem = work + QLatin1Char('/') + QString::fromLatin1(clip.prefix) + base;
        std::fprintf(stderr, "demo-card: %s%s\n", qPrintable(QFileInfo(stem).fileName()), qPrintable(extension));
        if (!makeVideo(clip, at(clip.time), mp4, stem + extension)) {
            std::fprintf(stderr, "demo-card: making %s%s failed\n", qPrintable(stem), qPrintable(extension));
            return 1;
        }
        if (!writeFile(stem + QStringLiteral(".dat"), makeDataFile(clip, drive, setup, random)))
            return 1;
    }
    for (const Marker& m : kMarkers) {
        const QString path = work + QLatin1Char('/') + QString::fromLatin1(m.prefix) + QString::fromLatin1(kDate)
            + QLatin1Char('_') + QString::fromLatin1(m.time) + QStringLiteral("p.vlm");
        if (!writeFile(path, QByteArray(m.end)))
            return 1;
    }

    QDir(target).removeRecursively();
    if (!QDir().rename(work, target)) {
        std::fprintf(stderr, "demo-card: cannot move the card to %s\n", qPrintable(target));
        return 1;
    }
    return 0;
}
