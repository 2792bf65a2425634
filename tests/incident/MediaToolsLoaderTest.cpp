// The viewer's way to the incident tools: built like the viewer (MediaToolsLoader.cpp in place of the tools,
// their libraries not linked), the first use loads libkorvane_media.so from beside the program and gives the
// tools' real results; before that no FFmpeg library is in the process.
#include "incident/MediaToolsEntries.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_media_tools_loader";
    static char* argv[] = { name, nullptr };
    static QCoreApplication instance(argc, argv);
    return instance;
}

bool mapped(const char* library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains(library);
}

} // namespace

TEST(MediaToolsLoaderTest, TheToolsComeFromTheModuleOnFirstUse)
{
    app();
    const QString build = qEnvironmentVariable("KORVANE_TEST_BUILD_DIR");
    const QString clip = build + QStringLiteral("/demo-card-avi/evt_20260314_080212.avi");
    ASSERT_TRUE(QFile::exists(clip)) << "the demo cards are built";
    EXPECT_FALSE(mapped("libavformat"));
    EXPECT_FALSE(mapped("libkorvane_media.so"));

    const MediaInfo info = ProbeMedia(clip);
    EXPECT_TRUE(info.ok) << info.error.toStdString();
    EXPECT_EQ(info.width, 1280);
    EXPECT_EQ(info.height, 720);
    EXPECT_GT(info.durationMs, 1000);
    EXPECT_TRUE(mapped("libkorvane_media.so"));
    EXPECT_TRUE(mapped("libavformat"));

    EXPECT_EQ(packagemanifest::sha256("abc"),
        QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    EXPECT_EQ(packagezip::crc32(0, "123456789", 9), 0xcbf43926u);
    const RgbFrame frame = GrabFrame(clip, 1000, 320);
    EXPECT_FALSE(frame.isNull());
    EXPECT_EQ(frame.width, 320);

    // A manifest written and verified through the module.
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("a.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("evidence");
    f.close();
    QString error;
    ASSERT_TRUE(packagemanifest::write(dir.path(), error)) << error.toStdString();
    const packagemanifest::VerifyResult verified = packagemanifest::verify(dir.path());
    EXPECT_TRUE(verified.ok) << verified.error.toStdString();
    EXPECT_EQ(verified.filesChecked, 1);
}
