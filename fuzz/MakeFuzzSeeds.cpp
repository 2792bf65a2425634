// Writes the seed corpora of the fuzz targets with the fixture builders the tests use, so the fuzzers start
// from the files the tests know: make-fuzz-seeds <fuzz/corpus folder>.
#include "camera/CameraFixtures.h"
#include "camera/CameraModel.h"
#include "camera/SetupRecord.h"
#include "repair/AviTestSupport.h"
#include "sensor/DatBytes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>

#include <cstdio>

namespace {

QString g_root;
int g_count = 0;

void seed(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString dir = QDir(g_root).filePath(QLatin1String(target));
    QDir().mkpath(dir);
    QFile f(QDir(dir).filePath(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size())
        ++g_count;
    else
        std::fprintf(stderr, "make-fuzz-seeds: cannot write %s\n", qPrintable(f.fileName()));
}

QByteArray video(int n, int size, bool key = true)
{
    return avitest::chunk(
        "00dc", avitest::payload(size, key ? QByteArray("\x00\x00\x01\x00", 4) : QByteArray("\x00\x00\x01\x06", 4), n));
}

void aviSeeds()
{
    using avitest::Layout;
    QList<QByteArray> frames;
    for (int i = 0; i < 6; ++i)
        frames << video(i, 40 + i * 3, i % 3 == 0);
    QList<QByteArray> mixed;
    for (int i = 0; i < 4; ++i)
        mixed << video(i, 33, i == 0) << avitest::chunk("01wb", avitest::payload(16, {}, 1000 + i));

    Layout plain;
    Layout withAudio;
    withAudio.audio = true;
    Layout odml;
    odml.odml = true;
    odml.superIndex = true;
    odml.vprp = true;
    Layout h264;
    h264.codec = "H264";

    const QByteArray good = avitest::file(plain, frames);
    const QByteArray cut = avitest::file(plain, frames, false, false);
    QByteArray damaged = cut;
    damaged.replace(int(avitest::movieRef(damaged)) + 60, 30, QByteArray(30, '\xC3'));
    QByteArray endMarker = cut + avitest::chunk("00dc", QByteArray()) + QByteArray("00dc", 4);
    QByteArray stray = avitest::file(plain, frames.mid(0, 2), false, false) + QByteArray("idx1", 4)
        + avitest::le32(0x7FFFFFF0) + frames[3] + frames[4];

    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        { "good", good },
        { "cut", cut },
        { "damaged", damaged },
        { "audio", avitest::file(withAudio, mixed, false, false) },
        { "odml", avitest::file(odml, frames, true, true) },
        { "h264", avitest::file(h264, frames, false, false) },
        { "end-marker", endMarker },
        { "stray-idx1", stray },
        { "header-only", avitest::header(plain) },
    };
    // Byte 0 selects the options; 0x00-0x03 run the repair between files, 0x04-0x07 between buffers.
    for (const auto& f : files) {
        for (char options : { '\x01', '\x02', '\x05', '\x06' })
            seed("avi_repair", QStringLiteral("%1-%2").arg(QLatin1String(f.name)).arg(int(options)),
                QByteArray(1, options) + f.bytes);
    }
}

void dataFileSeeds()
{
    using namespace datbytes;
    const QByteArray sensors = sensorRecord(10, 20, 30) + sensorRecord(-2048, 5, 7, 1) + sensorRecord(900);
    const QByteArray gps
        = gpsRecord(1, 37331234, 127123456, 30) + gpsRecord(0, 0, 0, 0) + gpsRecord(1, 35401234, 139451234, 65);
    const QByteArray full = dataFile(sensors, gps, 1);
    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        { "full", full },
        { "parking2", dataFile(sensors, gps, 2) },
        { "no-gps", dataFile(sensors, {}, 0) },
        { "gps-cut", full.left(full.indexOf("GPSI") + 8 + 30) },
        { "sens-cut", full.left(40) },
        { "wrong-tag", QByteArray("SENX") + full.mid(4) },
        { "huge-length", block("SENS", {}).left(4) + u32(0xFFFFFFF0) + sensors },
    };
    for (const auto& f : files) {
        seed("data_file", QLatin1String(f.name), f.bytes);
        seed("parking_type", QLatin1String(f.name), f.bytes);
    }
}

void setupSeeds()
{
    for (CameraModel model : kAllCameraModels) {
        const CameraModelInfo& info = cameraModelInfo(model);
        const int index = cameraModelIndex(model);
        const QByteArray defaults = MakeDefaultSetupRecord(model, 82, 1, 12).image();
        seed("setup_record", QStringLiteral("%1-default").arg(QLatin1String(info.name)),
            QByteArray(1, char(index)) + QByteArray(1, '\0') + defaults);
        seed("setup_record", QStringLiteral("%1-valid").arg(QLatin1String(info.name)),
            QByteArray(1, char(index)) + QByteArray(1, '\1')
                + camera_test::validImage(info.recordLength, info.modelCode));
        QByteArray odd = camera_test::validImage(info.recordLength, info.modelCode);
        odd[14] = char(90);
        odd[3] = char(0xFF);
        seed("setup_record", QStringLiteral("%1-bad-ratios").arg(QLatin1String(info.name)),
            QByteArray(1, char(index)) + QByteArray(1, '\2') + odd);
        seed("setup_record", QStringLiteral("%1-short").arg(QLatin1String(info.name)),
            QByteArray(1, char(index)) + QByteArray(1, '\0') + defaults.left(info.recordLength / 2));
    }
}

void nameSeeds()
{
    const char* names[] = { "rec_20240131_235959.avi", "evt_20240131_235959p.avi", "pmr_20240131_235959.mp4",
        "pmr_20240131_235959.vlm", "rec_rec_20240131_235959.avi", "folder.avi/rec_2024.avi", "noext", ".avi" };
    int n = 0;
    for (const char* name : names) {
        seed("recording_names", QStringLiteral("name-%1").arg(n), QByteArray(1, char(n % 4)) + QByteArray(name));
        ++n;
    }
    const struct
    {
        const char* base;
        const char* marker;
    } markers[] = { { "20240131_235959", "20240201_000059" }, { "20240131_235959p", "20240201_000059p\0junk" },
        { "", "" }, { "x", "no underscore" } };
    n = 0;
    for (const auto& m : markers) {
        const QByteArray base(m.base);
        seed("span_marker", QStringLiteral("marker-%1").arg(n++), QByteArray(1, char(base.size())) + base + m.marker);
    }
}

void wrapSeeds()
{
    const QString texts[] = { QStringLiteral("The file could not be repaired. Check the card and try again."),
        QStringLiteral("한국어 메시지 상자의 줄 바꿈입니다.\n두 번째 줄"),
        QStringLiteral("日本語のメッセージ。折り返し？テスト、です。"),
        QStringLiteral("averyveryverylongwordwithoutspaces"), QStringLiteral("a\r\nb\rc\n\n d ") };
    int n = 0;
    for (const QString& text : texts) {
        for (int width : { 282, 40, 0 }) {
            QByteArray bytes;
            bytes.append(char(width & 0xFF)).append(char((width >> 8) & 0xFF)).append(char(n % 3));
            for (QChar c : text)
                bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            seed("message_wrap", QStringLiteral("text-%1-%2").arg(n).arg(width), bytes);
        }
        ++n;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds <corpus folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    aviSeeds();
    dataFileSeeds();
    setupSeeds();
    nameSeeds();
    wrapSeeds();
    std::printf("make-fuzz-seeds: %d seeds written under %s\n", g_count, argv[1]);
    return 0;
}
