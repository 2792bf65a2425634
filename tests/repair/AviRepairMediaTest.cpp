// The repair engine and `korvane-cli repair` on real recordings made by ffmpeg, damaged the ways a camera
// that loses power or a failing card damages them, judged by ffprobe (frames that decode) and by the
// structure of the index and headers.
#include "AviTestSupport.h"
#include "repair/CAviRepairCore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace avitest;

namespace {

QString cacheDir()
{
    const QString dir = QDir(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR", QDir::tempPath()))
                            .filePath(QStringLiteral("test-media/repair"));
    QDir().mkpath(dir);
    return dir;
}

bool run(const QString& program, const QStringList& args, QByteArray* out = nullptr, int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    if (exitCode)
        *exitCode = p.exitCode();
    return p.exitStatus() == QProcess::NormalExit && (exitCode || p.exitCode() == 0);
}

// Generated once per build folder: 3 s at 10 frames a second, 160x120.
QString source(const QString& name)
{
    const QString path = QDir(cacheDir()).filePath(name + QStringLiteral(".avi"));
    if (QFile::exists(path))
        return path;
    QStringList args {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10"};
    const bool withAudio = name.endsWith(QLatin1String("_pcm"));
    if (withAudio)
        args << "-f" << "lavfi" << "-i" << "sine=frequency=440:sample_rate=8000";
    args << "-t" << "3";
    if (name.startsWith(QLatin1String("h264")))
        args << "-c:v" << "libx264" << "-g" << "10" << "-bf" << "0" << "-preset" << "ultrafast";
    else
        args << "-c:v" << "mjpeg" << "-q:v" << "5";
    if (withAudio)
        args << "-c:a" << "pcm_s16le";
    const QString partial = path + QStringLiteral(".part.avi");
    args << partial;
    if (!run(QStringLiteral("ffmpeg"), args) || !QFile::rename(partial, path))
        return {};
    return path;
}

struct Probe
{
    int video = -1;
    int audioPackets = -1;
};

Probe probe(const QString& path)
{
    QByteArray out;
    Probe p;
    if (!run(QStringLiteral("ffprobe"),
            {"-v", "error", "-count_frames", "-count_packets", "-show_entries",
                "stream=codec_type,nb_read_frames,nb_read_packets", "-of", "json", path},
            &out))
        return p;
    for (const QJsonValue& s : QJsonDocument::fromJson(out).object().value(QStringLiteral("streams")).toArray()) {
        const QJsonObject o = s.toObject();
        if (o.value(QStringLiteral("codec_type")) == QLatin1String("video"))
            p.video = o.value(QStringLiteral("nb_read_frames")).toString().toInt();
        else if (o.value(QStringLiteral("codec_type")) == QLatin1String("audio"))
            p.audioPackets = o.value(QStringLiteral("nb_read_packets")).toString().toInt();
    }
    return p;
}

// A chunk of the original file, from its own index.
struct Chunk
{
    qint64 pos;
    QByteArray id;
    uint32_t size;
    bool key;
    qint64 end() const { return pos + 8 + size + (size & 1); }
};

std::vector<Chunk> chunksOf(const QByteArray& f)
{
    std::vector<Chunk> chunks;
    const qint64 ref = movieRef(f);
    const qint64 idx = f.lastIndexOf("idx1");
    for (qint64 at = idx + 8; at + 16 <= idx + 8 + readLe32(f, idx + 4); at += 16) {
        const qint64 pos = ref + readLe32(f, at + 8);
        chunks.push_back({pos, f.mid(at, 4), readLe32(f, at + 12), (readLe32(f, at + 4) & 0x10) != 0});
    }
    return chunks;
}

struct Damaged
{
    QByteArray bytes;
    int video = 0; // chunks that must come back
    int audio = 0;
};

QByteArray noise(int size, quint32 seed)
{
    QByteArray g(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        g[i] = char(0x80 | (seed >> 16));
    }
    return g;
}

// The camera lost power: RIFF and movie sizes 0, no index (cut before it).
QByteArray powerLoss(const QByteArray& f)
{
    const qint64 ref = movieRef(f);
    const std::vector<Chunk> chunks = chunksOf(f);
    QByteArray d = f.left(chunks.back().end());
    d.replace(4, 4, le32(0));
    d.replace(ref - 4, 4, le32(0));
    return d;
}

// Keeps the chunks of the original from `first`; with `restart`, from the next key frame on.
void count(const std::vector<Chunk>& chunks, size_t first, bool restart, Damaged& d)
{
    bool waiting = restart;
    for (size_t i = first; i < chunks.size(); ++i) {
        const bool video = chunks[i].id.endsWith("dc");
        if (waiting && !(video && chunks[i].key))
            continue;
        waiting = false;
        (video ? d.video : d.audio) += 1;
    }
}

enum class Kind { PowerLoss, GarbageRuns, TruncatedMidChunk, HugeDeclaredSize, GarbageAnyChunk };

Damaged damage(const QByteArray& original, Kind kind)
{
    const std::vector<Chunk> chunks = chunksOf(original);
    const QByteArray base = powerLoss(original);
    Damaged d;
    // damage lands before a delta frame where the stream has them, so that resuming at a key frame shows
    auto before = [&chunks](size_t i) {
        for (size_t j = i; j < chunks.size(); ++j) {
            if (chunks[j].id.endsWith("dc") && !chunks[j].key)
                return j;
        }
        return i;
    };
    const size_t a = before(chunks.size() / 3);
    const size_t b = before(2 * chunks.size() / 3);
    switch (kind) {
    case Kind::PowerLoss:
        d.bytes = base;
        count(chunks, 0, false, d);
        break;
    case Kind::GarbageRuns:
    case Kind::GarbageAnyChunk: {
        // odd-length runs before chunk a and chunk b; the second one straddles a 1 MiB boundary of the file
        const bool restart = kind == Kind::GarbageRuns;
        d.bytes = base.left(chunks[a].pos) + noise(333, 1) + base.mid(chunks[a].pos, chunks[b].pos - chunks[a].pos)
            + noise(1024 * 1024 + 77, 2) + base.mid(chunks[b].pos);
        Damaged first;
        count(std::vector<Chunk>(chunks.begin(), chunks.begin() + qint64(b)), 0, false, first);
        Damaged head;
        count(std::vector<Chunk>(chunks.begin(), chunks.begin() + qint64(a)), 0, false, head);
        Damaged middle;
        count(std::vector<Chunk>(chunks.begin(), chunks.begin() + qint64(b)), a, restart, middle);
        Damaged tail;
        count(chunks, b, restart, tail);
        d.video = head.video + middle.video + tail.video;
        d.audio = head.audio + middle.audio + tail.audio;
        break;
    }
    case Kind::TruncatedMidChunk:
        d.bytes = base.left(chunks[b].pos + 8 + chunks[b].size / 2);
        count(std::vector<Chunk>(chunks.begin(), chunks.begin() + qint64(b)), 0, false, d);
        break;
    case Kind::HugeDeclaredSize: {
        d.bytes = base;
        d.bytes.replace(chunks[a].pos + 4, 4, le32(3 * 1024 * 1024));
        Damaged head;
        count(std::vector<Chunk>(chunks.begin(), chunks.begin() + qint64(a)), 0, false, head);
        Damaged tail;
        count(chunks, a + 1, true, tail);
        d.video = head.video + tail.video;
        d.audio = head.audio + tail.audio;
        break;
    }
    }
    return d;
}

struct MediaCase
{
    const char* source;
    Kind kind;
    const char* name;
};

class RepairMedia : public ::testing::TestWithParam<MediaCase>
{
};

TEST_P(RepairMedia, EveryKeptChunkDecodesAndTheIndexIsSound)
{
    const MediaCase& c = GetParam();
    const QString original = source(QString::fromLatin1(c.source));
    ASSERT_FALSE(original.isEmpty()) << "ffmpeg could not make " << c.source;
    const QByteArray bytes = readFile(original);
    const Probe before = probe(original);
    ASSERT_GT(before.video, 0);

    const Damaged d = damage(bytes, c.kind);
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("rec_damaged.avi"));
    const QString dst = dir.filePath(QStringLiteral("rec_damaged_fix.avi"));
    ASSERT_TRUE(writeFile(src, d.bytes));

    CAviRepairCore engine;
    const bool anyChunk = c.kind == Kind::GarbageAnyChunk;
    ASSERT_TRUE(engine.RepairFile(src, dst, true, true, false, !anyChunk)) << engine.errorString().toStdString();
    EXPECT_EQ(readFile(src), d.bytes);

    const Structure s = inspect(readFile(dst));
    ASSERT_TRUE(s.ok) << s.problem.toStdString();
    EXPECT_EQ(s.count("00dc"), d.video);
    EXPECT_EQ(s.count("01wb"), d.audio);
    EXPECT_EQ(s.avihFrames, uint32_t(d.video));
    ASSERT_FALSE(s.strhLength.empty());
    EXPECT_EQ(s.strhLength[0], uint32_t(d.video));

    const Probe after = probe(dst);
    EXPECT_EQ(after.video, d.video) << "frames that decode";
    if (before.audioPackets >= 0) {
        EXPECT_EQ(after.audioPackets, d.audio);
    }
}

INSTANTIATE_TEST_SUITE_P(Recordings, RepairMedia,
    ::testing::Values(MediaCase {"mjpeg", Kind::PowerLoss, "MjpegPowerLoss"},
        MediaCase {"mjpeg", Kind::GarbageRuns, "MjpegGarbage"},
        MediaCase {"mjpeg_pcm", Kind::PowerLoss, "MjpegPcmPowerLoss"},
        MediaCase {"mjpeg_pcm", Kind::GarbageRuns, "MjpegPcmGarbage"},
        MediaCase {"mjpeg_pcm", Kind::TruncatedMidChunk, "MjpegPcmTruncated"},
        MediaCase {"mjpeg_pcm", Kind::HugeDeclaredSize, "MjpegPcmHugeSize"},
        MediaCase {"h264", Kind::PowerLoss, "H264PowerLoss"},
        MediaCase {"h264", Kind::GarbageRuns, "H264Garbage"},
        MediaCase {"h264", Kind::GarbageAnyChunk, "H264GarbageAnyChunk"},
        MediaCase {"h264_pcm", Kind::PowerLoss, "H264PcmPowerLoss"},
        MediaCase {"h264_pcm", Kind::GarbageRuns, "H264PcmGarbage"},
        MediaCase {"h264_pcm", Kind::TruncatedMidChunk, "H264PcmTruncated"},
        MediaCase {"h264_pcm", Kind::HugeDeclaredSize, "H264PcmHugeSize"}),
    [](const ::testing::TestParamInfo<MediaCase>& info) { return std::string(info.param.name); });

QString cli()
{
    return QDir(qEnvironmentVariable("KORVANE_TEST_BUILD_DIR")).filePath(QStringLiteral("bin/korvane-cli"));
}

TEST(RepairCli, RepairsIntoTheTargetAndReportsTheCounts)
{
    if (!QFile::exists(cli()))
        GTEST_SKIP() << "korvane-cli not built";
    const QString original = source(QStringLiteral("h264_pcm"));
    ASSERT_FALSE(original.isEmpty());
    const Damaged d = damage(readFile(original), Kind::GarbageRuns);
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("src.avi"));
    ASSERT_TRUE(writeFile(src, d.bytes));

    struct
    {
        QStringList options;
        bool keyFramesOnly;
    } runs[] = {{{}, true}, {{"--any-chunk"}, false}, {{"--keep-damage"}, true}};
    for (const auto& r : runs) {
        const QString dst = dir.filePath(QStringLiteral("dst.avi"));
        QByteArray out;
        int exitCode = -1;
        ASSERT_TRUE(run(cli(), QStringList {"repair", src, dst} + r.options, &out, &exitCode));
        EXPECT_EQ(exitCode, 0) << r.options.join(' ').toStdString();
        const QJsonObject o = QJsonDocument::fromJson(out).object();
        EXPECT_TRUE(o.value(QStringLiteral("ok")).toBool());
        const Structure s = inspect(readFile(dst));
        ASSERT_TRUE(s.ok) << s.problem.toStdString();
        EXPECT_EQ(o.value(QStringLiteral("indexEntries")).toInt(), int(s.entries.size()));
        // A readable file has nothing unreadable to report, and the figure is always there.
        EXPECT_EQ(o.value(QStringLiteral("unreadableBytes")).toInteger(-1), 0);
        const QJsonObject chunks = o.value(QStringLiteral("streamChunks")).toObject();
        EXPECT_EQ(chunks.value(QStringLiteral("0")).toInt(), s.count("00dc"));
        EXPECT_EQ(chunks.value(QStringLiteral("1")).toInt(), s.count("01wb"));
        if (r.keyFramesOnly)
            EXPECT_EQ(s.count("00dc"), d.video);
        else
            EXPECT_GT(s.count("00dc"), d.video);
        EXPECT_EQ(readFile(dst).contains(noise(333, 1)), r.options.contains(QStringLiteral("--keep-damage")));
        EXPECT_EQ(readFile(src), d.bytes) << "SRC is never modified";
        QFile::remove(dst);
    }
}

TEST(RepairCli, RefusesMatroskaAndBadUsage)
{
    if (!QFile::exists(cli()))
        GTEST_SKIP() << "korvane-cli not built";
    QTemporaryDir dir;
    const QString mkv = dir.filePath(QStringLiteral("clip.mkv"));
    ASSERT_TRUE(run(QStringLiteral("ffmpeg"),
        {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=5", "-t", "1", "-c:v", "mjpeg", mkv}));
    const QString dst = dir.filePath(QStringLiteral("out.avi"));
    QByteArray out;
    int exitCode = -1;
    ASSERT_TRUE(run(cli(), {"repair", mkv, dst}, &out, &exitCode));
    EXPECT_EQ(exitCode, 1);
    EXPECT_FALSE(QJsonDocument::fromJson(out).object().value(QStringLiteral("ok")).toBool(true));
    EXPECT_FALSE(QFile::exists(dst));

    for (const QStringList& args : {QStringList {"repair", mkv}, QStringList {"repair", mkv, dst, "--fast"}}) {
        ASSERT_TRUE(run(cli(), args, &out, &exitCode));
        EXPECT_EQ(exitCode, 2) << args.join(' ').toStdString();
    }
}

} // namespace
