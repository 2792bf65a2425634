// The recovery on a real recording of the demo card that lost power while it was written: after the
// workflow the recording's name holds a file that ffprobe decodes to every frame, Original/ holds the
// damaged bytes, and the data file is untouched.
#include "repair/RecoveryWorkflow.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Decoded video frames, or -1 when ffprobe cannot tell.
int videoFrames(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"), { "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                                           "stream=nb_read_frames", "-of", "json", path });
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    const QJsonArray streams = QJsonDocument::fromJson(p.readAllStandardOutput()).object().value("streams").toArray();
    return streams.isEmpty() ? -1 : streams.first().toObject().value("nb_read_frames").toString().toInt();
}

TEST(RecoveryMedia, PowerCutDemoRecordingIsRepairedToEveryFrame)
{
    const QString demo = qEnvironmentVariable("KORVANE_TEST_BUILD_DIR") + QStringLiteral("/demo-card-avi/");
    const QString name = QStringLiteral("rec_20260314_080100");
    if (!QFile::exists(demo + name + QStringLiteral(".avi")))
        GTEST_SKIP() << "the demo card has not been made in this build";
    const int frames = videoFrames(demo + name + QStringLiteral(".avi"));
    if (frames <= 0)
        GTEST_SKIP() << "ffprobe is not available";

    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card/"));
    ASSERT_TRUE(QDir().mkpath(card));
    // What a power cut leaves: RIFF and movie sizes 0 and no index.
    QByteArray damaged = readAll(demo + name + QStringLiteral(".avi"));
    damaged.replace(4, 4, QByteArray(4, '\0'));
    const qsizetype movi = damaged.indexOf("movi");
    ASSERT_GT(movi, 4);
    damaged.replace(movi - 4, 4, QByteArray(4, '\0'));
    const qsizetype idx1 = damaged.lastIndexOf("idx1");
    if (idx1 > movi)
        damaged.truncate(idx1);
    const QString recording = card + name + QStringLiteral(".avi");
    ASSERT_TRUE(writeAll(recording, damaged));
    const QByteArray data = readAll(demo + name + QStringLiteral(".dat"));
    ASSERT_TRUE(writeAll(card + name + QStringLiteral(".dat"), data));
    ASSERT_FALSE(IsIntactAvi(recording));

    RecoveryWorkflow workflow(dir.filePath(QStringLiteral("Desktop/KORVANE/")));
    const RecoveryOutcome outcome = workflow.Recover(recording);
    ASSERT_TRUE(outcome.repaired()) << outcome.error.toStdString();
    EXPECT_TRUE(IsIntactAvi(recording));
    EXPECT_EQ(videoFrames(recording), frames);
    EXPECT_EQ(int(outcome.streamChunks0), frames);
    EXPECT_EQ(readAll(card + QStringLiteral("Original/") + name + QStringLiteral("_Original.avi")), damaged);
    EXPECT_EQ(readAll(card + name + QStringLiteral(".dat")), data);
}

} // namespace
