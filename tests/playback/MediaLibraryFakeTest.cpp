// The binding and the player context against a recording stand-in of the media library, loaded through the
// real loader from a Library folder laid out like the viewer's.
#include "FakeVlcFixture.h"
#include "app/NotifyEvent.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>
#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace fakevlc;

TEST_F(FakeLibraryTest, SlotsAreResolvedInTheTableOrderToTheLibrarysOwnEntries)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    const QStringList expected = { "libvlc_audio_set_mute", "libvlc_audio_set_volume", "libvlc_event_attach",
        "libvlc_event_detach", "libvlc_free", "libvlc_media_new_path", "libvlc_media_player_event_manager",
        "libvlc_media_player_get_length", "libvlc_media_player_get_time", "libvlc_media_player_is_playing",
        "libvlc_media_player_new", "libvlc_media_player_pause", "libvlc_media_player_play",
        "libvlc_media_player_release", "libvlc_media_player_set_xwindow", "libvlc_media_player_set_media",
        "libvlc_media_player_set_rate", "libvlc_media_player_set_time", "libvlc_media_player_stop",
        "libvlc_media_release", "libvlc_new", "libvlc_release", "libvlc_video_get_height", "libvlc_video_get_scale",
        "libvlc_video_get_width", "libvlc_video_Rotate_Off", "libvlc_video_Rotate_On", "libvlc_video_set_adjust_float",
        "libvlc_video_set_adjust_int", "libvlc_video_take_snapshot", "libvlc_video_Magnify", "libvlc_video_get_cursor",
        "libvlc_video_set_callbacks", "libvlc_video_set_format_callbacks", "libvlc_video_get_track",
        "libvlc_video_set_track", "libvlc_media_player_set_pause" };
    ASSERT_EQ(int(expected.size()), kMediaEntryCount);
    QLibrary same(loadedPath);
    for (int i = 0; i < kMediaEntryCount; ++i) {
        EXPECT_EQ(QString::fromLatin1(MediaEntryTable()[size_t(i)].name), expected[i]) << "slot " << i + 1;
        EXPECT_EQ(mediaLibrary().slots[size_t(i)], same.resolve(expected[i].toLatin1().constData()))
            << expected[i].toStdString();
    }
    EXPECT_TRUE(MediaLibraryProblem().isEmpty()) << MediaLibraryProblem().toStdString();
    // Loading resolves; it calls nothing.
    EXPECT_TRUE(calls().isEmpty());
}

class TierTest : public FakeLibraryTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(TierTest, HighOnlySlotsStayEmptyBelowHighEvenWhenExported)
{
    const int tier = GetParam();
    ASSERT_TRUE(loadAs(tier));
    const bool high = tier == int(ViewerTier::High);
    EXPECT_EQ(mediaLibrary().has(MediaEntry::Free), high);
    EXPECT_EQ(mediaLibrary().has(MediaEntry::VideoMagnify), high);
    EXPECT_TRUE(mediaLibrary().has(MediaEntry::VideoGetCursor));
    EXPECT_TRUE(mediaLibrary().has(MediaEntry::New));
}

// The argument vectors as literal tables: a wrong, missing or misplaced option fails here.
const QStringList kHighHead
    = { "-I", "dummy", "--no-autoscale", "--no-canvas-padd", "--no-video-title-show", "--file-caching=2000" };
const QStringList kStandardList = { "-I", "dummy", "--ignore-config", "--postproc-q=0", "--avcodec-skiploopfilter=0",
    "--file-caching=2000", "--no-video-title-show", "--no-media-library", "--no-stats", "--no-spu", "--no-osd",
    "--text-renderer=dummy", "--no-sub-autodetect-file", "--no-autoscale", "--no-ball-edge-visible", "--no-canvas-padd",
    "--no-dvdnav-menu", "--no-gradient-cartoon", "--no-hdtv-fix", "--no-http-forward-cookies",
    "--no-input-record-native", "--no-interact", "--no-kate-formatted", "--no-mkv-preload-local-dir",
    "--no-mkv-use-chapter-codec", "--no-mkv-use-ordered-chapters", "--no-mod-noisereduction", "--no-osd",
    "--no-playlist-autostart", "--no-rss-images", "--no-sap-parse", "--no-sout-bridge-in-placeholder-switch-on-iframe",
    "--no-sout-avcodec-interlace-me", "--no-sout-mono-downmix", "--no-sout-ts-alignment", "--no-sout-ts-crypt-audio",
    "--no-sout-ts-crypt-video", "--no-sout-x264-cabac", "--no-sout-x264-mbtree", "--no-sout-x264-nf",
    "--no-sout-x264-psy", "--no-spu", "--no-sub-autodetect-file", "--no-subsdec-autodetect-utf8",
    "--no-subsdec-formatted", "--no-ts-es-id-pid", "--no-ts-split-es", "--no-vbi-opaque", "--no-video-deco",
    "--no-video-title-show", "--rawdv-hurry-up", "--rmtosd-update=300", "--sout-avcodec-hurry-up",
    "--sout-speex-quality=0", "--sout-transcode-high-priority", "--sout-x264-asm", "--sout-x264-nf" };

struct TierListCase
{
    int tier;
    int postproc, noise, resampling;
    QStringList expected;
};

class TierListTest : public FakeLibraryTest, public ::testing::WithParamInterface<TierListCase>
{
};

TEST_P(TierListTest, EachTierHandsItsOptionListToLibvlcNew)
{
    const TierListCase& c = GetParam();
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerPostproc", c.postproc));
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerModNoise", c.noise));
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerHgResampling", c.resampling));
    ASSERT_TRUE(loadAs(c.tier));
    PlayerContext context;
    ASSERT_TRUE(CreateMediaPlayer(context, store));
    EXPECT_TRUE(context.hasPlayer());
    EXPECT_NE(context.eventManager(), nullptr);
    EXPECT_EQ(lines(control<const char* (*)()>("fakevlc_new_args")()), c.expected);
    EXPECT_EQ(calls().mid(0, 3),
        QStringList({ QStringLiteral("libvlc_new(%1)").arg(c.expected.size()), "libvlc_media_player_new",
            "libvlc_media_player_event_manager" }));
}

INSTANTIATE_TEST_SUITE_P(Lists, TierListTest,
    ::testing::Values(
        TierListCase { 0, 3, 1, 0,
            kHighHead + QStringList { "--postproc-q=3", "--mod-noisereduction", "--soxr-resampler-quality=2" } },
        TierListCase { 0, 6, 0, 1,
            kHighHead + QStringList { "--postproc-q=6", "--no-mod-noisereduction", "--soxr-resampler-quality=4" } },
        TierListCase { 0, 2, 2, 2,
            kHighHead + QStringList { "--postproc-q=0", "--no-mod-noisereduction", "--soxr-resampler-quality=2" } },
        // The Mid and Low lists never take the registry's choices.
        TierListCase { 1, 6, 1, 1, kStandardList }, TierListCase { 2, 3, 1, 1, kStandardList }));

INSTANTIATE_TEST_SUITE_P(Tiers, TierTest, ::testing::Values(0, 1, 2));

struct OptionCase
{
    int postproc, noise, resampling; // -1: value absent from the registry
    QList<QByteArray> expected;
};

class BuildOptionsTest : public ::testing::TestWithParam<OptionCase>
{
};

TEST_P(BuildOptionsTest, RegistryValuesChooseTheThreeArguments)
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    const OptionCase& c = GetParam();
    if (c.postproc >= 0) {
        ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerPostproc", c.postproc));
    }
    if (c.noise >= 0) {
        ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerModNoise", c.noise));
    }
    if (c.resampling >= 0) {
        ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerHgResampling", c.resampling));
    }
    EXPECT_EQ(BuildMediaOptions(store), c.expected);
}

const QList<QByteArray> kDefaults = { "--postproc-q=0", "--no-mod-noisereduction", "--no-hq-resampling" };

INSTANTIATE_TEST_SUITE_P(Registry, BuildOptionsTest,
    ::testing::Values(OptionCase { -1, -1, -1, kDefaults }, OptionCase { 6, 1, -1, kDefaults },
        OptionCase { -1, 1, 1, kDefaults }, OptionCase { 6, -1, 1, kDefaults },
        OptionCase { 6, 1, 1, { "--postproc-q=6", "--mod-noisereduction", "--hq-resampling" } },
        OptionCase { 1, 0, 0, { "--postproc-q=1", "--no-mod-noisereduction", "--no-hq-resampling" } },
        OptionCase { 3, 2, 2, { "--postproc-q=3", "--no-mod-noisereduction", "--no-hq-resampling" } },
        OptionCase { 2, 1, 0, { "--postproc-q=0", "--mod-noisereduction", "--no-hq-resampling" } },
        OptionCase { 0, 1, 1, { "--postproc-q=0", "--mod-noisereduction", "--hq-resampling" } }));

TEST_F(FakeLibraryTest, SecondLoadKeepsTheTableAndTheModule)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    QLibrary* module = mediaLibrary().module;
    const auto slots = mediaLibrary().slots;
    viewerEnvironment().viewerTier = int(ViewerTier::Low); // would pick another folder if it loaded again
    EXPECT_TRUE(LoadMediaLibrary());
    EXPECT_EQ(mediaLibrary().module, module);
    EXPECT_EQ(mediaLibrary().slots, slots);
}

TEST_F(FakeLibraryTest, UnloadEmptiesTheTable)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    EXPECT_TRUE(UnloadMediaLibrary());
    EXPECT_FALSE(mediaLibrary().isLoaded());
    for (QFunctionPointer slot : mediaLibrary().slots)
        EXPECT_EQ(slot, nullptr);
    EXPECT_TRUE(UnloadMediaLibrary()); // nothing held: success
}

TEST_F(FakeLibraryTest, MissingLibraryFailsLeavesTheDirectoryAndIsToldOnce)
{
    const QString before = QDir::currentPath();
    viewerEnvironment().viewerTier = int(ViewerTier::Mid);
    EXPECT_FALSE(LoadMediaLibrary());
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_TRUE(MediaLibraryDiagnostic().startsWith("LoadLibrary ERROR Value is "))
        << MediaLibraryDiagnostic().toStdString();
    EXPECT_FALSE(mediaLibrary().isLoaded());

    PlayerContext context;
    EXPECT_FALSE(CreateMediaPlayer(context, store));
    EXPECT_FALSE(context.hasPlayer());
    EXPECT_FALSE(context.OpenMedia(existingFile()));
    EXPECT_TRUE(context.StopMedia());

    const QString notice = TakeMediaLibraryNotice();
    EXPECT_TRUE(notice.contains("Library/RDSE/libvlc.so")) << notice.toStdString();
    EXPECT_TRUE(TakeMediaLibraryNotice().isEmpty());
    EXPECT_FALSE(MediaLibraryProblem().isEmpty());
}

TEST_F(FakeLibraryTest, MissingEntriesLoadButDisablePlaybackAndAreNamed)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(loadAs(int(ViewerTier::High), FAKEVLC_PARTIAL_PATH));
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_FALSE(mediaLibrary().has(MediaEntry::PlayerPlay));
    EXPECT_FALSE(mediaLibrary().has(MediaEntry::VideoSetCallbacks));
    EXPECT_TRUE(mediaLibrary().has(MediaEntry::PlayerPause));

    const QString problem = MediaLibraryProblem();
    EXPECT_TRUE(problem.contains("libvlc_media_player_play")) << problem.toStdString();
    EXPECT_TRUE(problem.contains("libvlc_video_set_callbacks")) << problem.toStdString();
    EXPECT_FALSE(problem.contains("libvlc_media_player_pause"));

    PlayerContext context;
    EXPECT_FALSE(CreateMediaPlayer(context, store));
    EXPECT_FALSE(context.hasPlayer());
    EXPECT_FALSE(context.OpenMedia(existingFile()));
    EXPECT_FALSE(context.PlayMedia());
    EXPECT_FALSE(context.AttachVideoOutput());
    EXPECT_TRUE(calls().isEmpty()) << calls().join(", ").toStdString();
}

struct CreateFailureCase
{
    const char* control; // the fake's switch that makes one step fail
    QStringList calls; // everything the binding calls, releases included
    const char* problem;
};

class CreateFailureTest : public FakeLibraryTest, public ::testing::WithParamInterface<CreateFailureCase>
{
};

TEST_P(CreateFailureTest, AFailedStepReleasesWhatWasMadeBeforeIt)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    control<void (*)(int)>(GetParam().control)(1);
    {
        PlayerContext context;
        EXPECT_FALSE(CreateMediaPlayer(context, store));
        EXPECT_FALSE(context.hasPlayer());
        EXPECT_EQ(context.eventManager(), nullptr);
        EXPECT_TRUE(MediaLibraryProblem().contains(GetParam().problem)) << MediaLibraryProblem().toStdString();
        EXPECT_FALSE(context.OpenMedia(existingFile()));
    }
    // Nothing more is released when the context goes.
    QStringList expected = GetParam().calls;
    expected[0] = QStringLiteral("libvlc_new(%1)").arg(kHighHead.size() + 3);
    EXPECT_EQ(calls(), expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, CreateFailureTest,
    ::testing::Values(CreateFailureCase { "fakevlc_set_fail_new", { "libvlc_new" }, "libvlc_new" },
        CreateFailureCase { "fakevlc_set_fail_player", { "libvlc_new", "libvlc_media_player_new", "libvlc_release" },
            "libvlc_media_player_new" },
        CreateFailureCase { "fakevlc_set_fail_events",
            { "libvlc_new", "libvlc_media_player_new", "libvlc_media_player_event_manager",
                "libvlc_media_player_release", "libvlc_release" },
            "libvlc_media_player_event_manager" }));

// Answers the reasons' ids the way an installed string table does.
class ReasonTable : public QTranslator
{
public:
    QString translate(const char*, const char* source, const char*, int) const override
    {
        const QByteArray id(source);
        if (id == "str_930")
            return QStringLiteral("%1 파일을 불러올 수 없습니다");
        if (id == "str_933")
            return QStringLiteral("libvlc_new 실패");
        return QString();
    }
    bool isEmpty() const override { return false; }
};

TEST_F(FakeLibraryTest, TheNoticesReasonsComeFromTheStringTable)
{
    ReasonTable table;
    QCoreApplication::installTranslator(&table);
    viewerEnvironment().viewerTier = int(ViewerTier::Mid);
    EXPECT_FALSE(LoadMediaLibrary()); // nothing installed in the folder
    EXPECT_EQ(MediaLibraryProblem(), QStringLiteral("Library/RDSE/libvlc.so 파일을 불러올 수 없습니다"));

    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    control<void (*)(int)>("fakevlc_set_fail_new")(1);
    PlayerContext context;
    EXPECT_FALSE(CreateMediaPlayer(context, store));
    EXPECT_EQ(MediaLibraryProblem(), QStringLiteral("libvlc_new 실패"));
    QCoreApplication::removeTranslator(&table);
    // Without a table the English text stands in.
    EXPECT_TRUE(MediaLibraryProblem().startsWith("libvlc_new failed"));
}

TEST_F(FakeLibraryTest, OperationsOnAClosedPlayerCallNothing)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    EXPECT_FALSE(context.isOpen());
    EXPECT_FALSE(context.PlayMedia());
    EXPECT_TRUE(context.StopMedia());
    EXPECT_FALSE(context.TogglePause());
    EXPECT_FALSE(context.SeekTo(1000));
    EXPECT_FALSE(context.SkipBy(10));
    EXPECT_FALSE(context.TakeSnapshot(base.filePath("x.png")));
    EXPECT_FALSE(context.SetRate(2.0f));
    EXPECT_FALSE(context.SetSound(50));
    EXPECT_FALSE(context.ApplyPicture(1.4f, 1.4f));
    EXPECT_FALSE(context.RotateOn(2));
    EXPECT_FALSE(context.RotateOff());
    EXPECT_EQ(context.length(), -1);
    EXPECT_EQ(context.currentTime(), -1);
    context.CloseMedia();
    EXPECT_TRUE(calls().isEmpty()) << calls().join(", ").toStdString();
    EXPECT_FALSE(QFile::exists(base.filePath("x.png")));
}

TEST_F(FakeLibraryTest, OpenAttachesBothEventsAndCloseDetachesThem)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    const QString file = existingFile();
    ASSERT_TRUE(context.OpenMedia(file));
    EXPECT_TRUE(context.isOpen());
    EXPECT_EQ(context.path(), file);
    EXPECT_FALSE(context.OpenMedia(file)); // already open
    EXPECT_EQ(control<int (*)()>("fakevlc_listener_count")(), 2);
    context.CloseMedia();
    EXPECT_FALSE(context.isOpen());
    EXPECT_EQ(control<int (*)()>("fakevlc_listener_count")(), 0);
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_new_path(" + file + ")", "libvlc_media_player_set_media",
            "libvlc_event_attach(265)", "libvlc_event_attach(267)", "libvlc_event_detach(265)",
            "libvlc_event_detach(267)", "libvlc_media_release" }));
}

TEST_F(FakeLibraryTest, AMissingFileIsNotOpened)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    EXPECT_FALSE(context.OpenMedia(base.filePath("rec_gone.avi")));
    EXPECT_FALSE(context.isOpen());
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(FakeLibraryTest, AFailedPlayClosesTheMedia)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    control<void (*)(int)>("fakevlc_set_play_result")(-1);
    EXPECT_FALSE(context.PlayMedia());
    EXPECT_FALSE(context.isOpen());
}

// A recording prepared ahead of its time: silent, paused on its first picture, which nobody gets to paint,
// and no notifications; taken over once, it starts with that picture and its sound.
TEST_F(FakeLibraryTest, APreparedRecordingIsTakenOverOnceWithItsFirstPicture)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.AttachVideoOutput());
    resetFake();
    const QString file = existingFile();
    ASSERT_TRUE(context.PrepareMedia(file));
    EXPECT_TRUE(context.hasPreparedMedia());
    EXPECT_FALSE(context.isOpen());
    EXPECT_FALSE(context.PrepareMedia(file)); // one at a time
    EXPECT_EQ(control<int (*)()>("fakevlc_listener_count")(), 0);
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_new_path(" + file + ")", "libvlc_media_player_set_media",
            "libvlc_audio_set_mute(1)", "libvlc_media_player_play" }));

    // The first picture pauses the player and is kept; a second one before the pause is given up.
    resetFake();
    auto deliver = control<int (*)(unsigned, unsigned, unsigned)>("fakevlc_deliver_frame");
    ASSERT_EQ(deliver(0xff0000, 64, 36), 1);
    ASSERT_EQ(deliver(0x00ff00, 64, 36), 1);
    QElapsedTimer clock;
    clock.start();
    while (!calls().contains("libvlc_media_player_set_pause(1)") && clock.elapsed() < 2000)
        QThread::msleep(5);
    EXPECT_EQ(calls(), QStringList({ "libvlc_media_player_set_pause(1)" }));
    VideoFrameSink::Frame frame;
    EXPECT_FALSE(context.videoSink().takeFrame(frame));

    // Another path is no take-over; the same one is, once.
    ASSERT_TRUE(context.TakePreparedMedia(file));
    EXPECT_FALSE(context.hasPreparedMedia());
    EXPECT_TRUE(context.isOpen());
    EXPECT_EQ(context.path(), file);
    EXPECT_FALSE(context.TakePreparedMedia(file));
    EXPECT_EQ(control<int (*)()>("fakevlc_listener_count")(), 2);
    EXPECT_FALSE(context.videoSink().takeFrame(frame)); // still nothing before it starts
    ASSERT_TRUE(context.PlayMedia());
    bool fresh = false;
    ASSERT_TRUE(context.videoSink().takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(frame.bits)[0], 0xffff0000u); // the first picture, not the second
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_player_set_pause(1)", "libvlc_event_attach(265)", "libvlc_event_attach(267)",
            "libvlc_audio_set_mute(0)", "libvlc_media_player_play" }));
    // Later frames are painted as they come.
    ASSERT_EQ(deliver(0x0000ff, 64, 36), 1);
    ASSERT_TRUE(context.videoSink().takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
}

// Anything but the take-over of the same recording releases the prepared one: stopped, released, sound
// back on, its picture never given out.
TEST_F(FakeLibraryTest, APreparedRecordingIsReleasedByAnythingElse)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    const QString file = existingFile();
    const QString other = base.filePath(QStringLiteral("rec_20120501_123500.avi"));
    {
        QFile f(other);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
    }
    const QList<QPair<const char*, std::function<void(PlayerContext&)>>> cases = {
        { "take-over of another path", [&](PlayerContext& c) { EXPECT_FALSE(c.TakePreparedMedia(other)); } },
        { "another open", [&](PlayerContext& c) { EXPECT_TRUE(c.OpenMedia(other)); } },
        { "a stop", [](PlayerContext& c) { EXPECT_TRUE(c.StopMedia()); } },
        { "a close", [](PlayerContext& c) { c.CloseMedia(); } },
        { "the file gone",
            [&](PlayerContext& c) {
                ASSERT_TRUE(QFile::rename(file, file + ".away"));
                EXPECT_FALSE(c.TakePreparedMedia(file));
                ASSERT_TRUE(QFile::rename(file + ".away", file));
            } },
    };
    auto deliver = control<int (*)(unsigned, unsigned, unsigned)>("fakevlc_deliver_frame");
    for (const auto& [name, act] : cases) {
        SCOPED_TRACE(name);
        PlayerContext context;
        createPlayer(context);
        ASSERT_TRUE(context.AttachVideoOutput());
        ASSERT_TRUE(context.PrepareMedia(file));
        ASSERT_EQ(deliver(0xff0000, 64, 36), 1);
        resetFake();
        act(context);
        EXPECT_FALSE(context.hasPreparedMedia());
        const QStringList log = calls();
        const int stop = int(log.indexOf("libvlc_media_player_stop"));
        const int release = int(log.indexOf("libvlc_media_release"));
        const int unmute = int(log.indexOf("libvlc_audio_set_mute(0)"));
        EXPECT_GE(stop, 0) << log.join(", ").toStdString();
        EXPECT_GT(release, stop) << log.join(", ").toStdString();
        EXPECT_GT(unmute, release) << log.join(", ").toStdString();
        VideoFrameSink::Frame frame;
        EXPECT_FALSE(context.videoSink().takeFrame(frame)); // the held picture is never shown
        context.CloseMedia();
    }
}

TEST_F(FakeLibraryTest, EventsBecomeNotificationsWithoutCallingTheLibrary)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    Receiver window;
    context.setMainWindow(&window);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    const QStringList before = calls();

    auto fire = control<void (*)(int, int64_t)>("fakevlc_fire");
    // Fired from another thread, as the library does.
    QThread* thread = QThread::create([&] {
        fire(267, 12345);
        fire(267, int64_t(0x100000000LL) + 7); // beyond 32 bits: truncated
        fire(265, 0);
    });
    thread->start();
    thread->wait();
    delete thread;
    EXPECT_EQ(calls(), before);
    QCoreApplication::sendPostedEvents(&window);
    const QList<QPair<int, intptr_t>> expected = { { 8, 12345 }, { 8, 7 }, { 7, 0 } };
    EXPECT_EQ(window.received, expected);

    context.CloseMedia();
    fire(265, 0);
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.received.size(), 3);
}

struct SkipCase
{
    int64_t time;
    int seconds;
    int64_t expected;
};

class SkipTest : public FakeLibraryTest, public ::testing::WithParamInterface<SkipCase>
{
};

TEST_P(SkipTest, SkipClampsToTheRecording)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    control<void (*)(int64_t)>("fakevlc_set_length")(60000);
    control<void (*)(int64_t)>("fakevlc_set_time")(GetParam().time);
    EXPECT_TRUE(context.SkipBy(GetParam().seconds));
    EXPECT_TRUE(calls().contains(QStringLiteral("libvlc_media_player_set_time(%1)").arg(GetParam().expected)))
        << calls().join(", ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, SkipTest,
    ::testing::Values(SkipCase { 55000, 10, 60000 }, SkipCase { 3000, -10, 0 }, SkipCase { 20000, 10, 30000 },
        SkipCase { 20000, -10, 10000 }));

TEST_F(FakeLibraryTest, SeekBeyondTheLengthIsIgnored)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    control<void (*)(int64_t)>("fakevlc_set_length")(60000);
    EXPECT_FALSE(context.SeekTo(60001));
    EXPECT_TRUE(context.SeekTo(60000));
    EXPECT_FALSE(context.SeekTo(-1));
    QStringList seeks = calls().filter("set_time");
    EXPECT_EQ(seeks, QStringList({ "libvlc_media_player_set_time(60000)" }));
}

TEST_F(FakeLibraryTest, PictureAndSoundCallsKeepTheirOrder)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    resetFake();
    EXPECT_TRUE(context.ApplyPicture(1.4f, 0.6f));
    EXPECT_TRUE(context.SetSound(130));
    EXPECT_TRUE(context.SetRate(0.4f));
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(2,1.4)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(1,0.6)", "libvlc_audio_set_mute(0)",
            "libvlc_audio_set_volume(100)", "libvlc_media_player_set_rate(0.4)" }));
}

TEST_F(FakeLibraryTest, FlipsAreDrawnByTheSurfaceNotAskedOfTheLibrary)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    resetFake();
    const struct
    {
        int kind;
        int flips;
    } cases[] = { { 1, VideoFrameSink::FirstFlip }, { 0, VideoFrameSink::SecondFlip },
        { 2, VideoFrameSink::FirstFlip | VideoFrameSink::SecondFlip } };
    for (const auto& c : cases) {
        EXPECT_TRUE(context.RotateOn(c.kind));
        EXPECT_EQ(context.videoSink().flips(), c.flips) << c.kind;
    }
    EXPECT_TRUE(context.RotateOff());
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::NoFlip);
    EXPECT_FALSE(context.RotateOn(3));
    EXPECT_TRUE(calls().isEmpty()) << calls().join(", ").toStdString();
}

TEST_F(FakeLibraryTest, SnapshotSucceedsOnlyWhenTheFileIsWritten)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    createPlayer(context);
    ASSERT_TRUE(context.OpenMedia(existingFile()));
    const QString shot = base.filePath("20120501_123456_12.3.png");
    EXPECT_TRUE(context.TakeSnapshot(shot));
    EXPECT_TRUE(calls().contains("libvlc_video_take_snapshot(0," + shot + ",320,240)"));

    control<void (*)(int)>("fakevlc_set_snapshot_writes")(0);
    EXPECT_FALSE(context.TakeSnapshot(base.filePath("other.png")));
}

TEST_F(FakeLibraryTest, StopIsBoundedWhenTheLibraryBlocks)
{
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    auto stopsRunning = control<int (*)()>("fakevlc_stops_running");
    {
        PlayerContext context;
        createPlayer(context);
        ASSERT_TRUE(context.OpenMedia(existingFile()));
        control<void (*)(int64_t)>("fakevlc_set_time")(4321);

        control<void (*)(int)>("fakevlc_set_stop_block_ms")(50);
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(context.StopMedia());
        EXPECT_LT(timer.elapsed(), PlayerContext::kStopWaitMs);
        EXPECT_EQ(context.savedTime(), 4321);

        control<void (*)(int)>("fakevlc_set_stop_block_ms")(2500);
        timer.restart();
        EXPECT_FALSE(context.StopMedia());
        const qint64 waited = timer.elapsed();
        EXPECT_GE(waited, PlayerContext::kStopWaitMs - 20);
        EXPECT_LT(waited, PlayerContext::kStopWaitMs + 400);
        EXPECT_EQ(stopsRunning(), 1);
        EXPECT_EQ(calls().filter("libvlc_media_player_stop").size(), 2);
        control<void (*)(int)>("fakevlc_set_stop_block_ms")(0);
    }
    // The abandoned worker still ends on its own; the library must stay loaded until it has.
    QElapsedTimer timer;
    timer.start();
    while (stopsRunning() > 0 && timer.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_EQ(stopsRunning(), 0);
    QThread::msleep(50); // let it leave the library's code before the library is unloaded
}

TEST_F(FakeLibraryTest, VariantCopiesPutTheCoreFirst)
{
    EXPECT_TRUE(LibraryVariantCopies(int(ViewerTier::High)).isEmpty());
    const QString rdse = LibraryFolder(int(ViewerTier::Mid));
    const QList<LibraryCopy> mid = LibraryVariantCopies(int(ViewerTier::Mid));
    ASSERT_EQ(mid.size(), 2);
    EXPECT_EQ(mid[0].source, rdse + "/libvlccoreStd.so");
    EXPECT_EQ(mid[0].target, rdse + "/libvlccore.so");
    EXPECT_EQ(mid[1].source, rdse + "/libvlcStd.so");
    EXPECT_EQ(mid[1].target, rdse + "/libvlc.so");
    const QList<LibraryCopy> low = LibraryVariantCopies(int(ViewerTier::Low));
    ASSERT_EQ(low.size(), 2);
    EXPECT_EQ(low[0].source, rdse + "/libvlccoreThread.so");
    EXPECT_EQ(low[1].source, rdse + "/libvlcThread.so");
    EXPECT_EQ(LibraryFolder(int(ViewerTier::High)), base.path() + "/Library/RDPE");
}

TEST_F(FakeLibraryTest, VariantInstallMakesByteCopiesAndKeepsTheOldBuildWhenASourceIsMissing)
{
    const QDir rdse(LibraryFolder(int(ViewerTier::Mid)));
    ASSERT_TRUE(QDir().mkpath(rdse.path()));
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(rdse.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto read = [&](const char* name) {
        QFile f(rdse.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    write("libvlc.so", "front shipped");
    write("libvlccore.so", "core shipped");
    write("libvlcStd.so", QByteArray("front std\0\xff", 11));
    write("libvlccoreStd.so", "core std");
    write("libvlcThread.so", "front thread");
    write("libvlccoreThread.so", "core thread");

    InstallLibraryVariant(int(ViewerTier::High));
    EXPECT_EQ(read("libvlc.so"), "front shipped");

    InstallLibraryVariant(int(ViewerTier::Mid));
    EXPECT_EQ(read("libvlc.so"), QByteArray("front std\0\xff", 11));
    EXPECT_EQ(read("libvlccore.so"), "core std");

    InstallLibraryVariant(int(ViewerTier::Low));
    EXPECT_EQ(read("libvlc.so"), "front thread");
    EXPECT_EQ(read("libvlccore.so"), "core thread");

    QFile::remove(rdse.filePath("libvlcStd.so"));
    InstallLibraryVariant(int(ViewerTier::Mid));
    EXPECT_EQ(read("libvlccore.so"), "core std");
    EXPECT_EQ(read("libvlc.so"), "front thread"); // still loadable, not deleted
    EXPECT_EQ(rdse.entryList(QDir::Files).size(), 5); // no temporary files left behind
}

TEST_F(FakeLibraryTest, VariantInstallLeavesLinkedTargetsAndWhatTheyPointAtAlone)
{
    // An installed tree: the folder's files are links to the system's library files.
    const QDir rdse(LibraryFolder(int(ViewerTier::Mid)));
    ASSERT_TRUE(QDir().mkpath(rdse.path()));
    const QString system = rdse.filePath("system-libvlccore.so.9");
    {
        QFile f(system);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("system core");
    }
    {
        QFile f(rdse.filePath("libvlccoreStd.so"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("core std");
    }
    ASSERT_TRUE(QFile::link(system, rdse.filePath("libvlccore.so")));

    InstallLibraryVariant(int(ViewerTier::Mid));

    EXPECT_TRUE(QFileInfo(rdse.filePath("libvlccore.so")).isSymLink());
    QFile f(system);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "system core");
}

} // namespace

namespace {

// The early start on a worker thread: what it made is handed to the player when the start-up sequence asks for
// the same tier and options, and released (never leaked, never used) when it asks for anything else.
class PreloadTest : public FakeLibraryTest
{
protected:
    QList<QByteArray> highOptions() { return MediaOptionList(MediaOptionSet::High, BuildMediaOptions(store)); }
};

TEST_F(PreloadTest, SameTierAndOptionsTakeTheEarlyInstanceAndPlayer)
{
    install(int(ViewerTier::High));
    PreloadMediaLibrary(int(ViewerTier::High), highOptions());
    viewerEnvironment().viewerTier = int(ViewerTier::High);
    ASSERT_TRUE(LoadMediaLibrary());
    PlayerContext context;
    ASSERT_TRUE(CreateMediaPlayer(context, store));
    EXPECT_TRUE(context.hasPlayer());
    EXPECT_NE(context.eventManager(), nullptr);
    EXPECT_TRUE(mediaLibrary().has(MediaEntry::VideoMagnify));
    // Created once, on the worker, with the High list; nothing released.
    EXPECT_EQ(calls(),
        QStringList({ QStringLiteral("libvlc_new(%1)").arg(highOptions().size()), "libvlc_media_player_new",
            "libvlc_media_player_event_manager" }));
    EXPECT_EQ(lines(control<const char* (*)()>("fakevlc_new_args")()).size(), highOptions().size());
    EXPECT_TRUE(MediaLibraryProblem().isEmpty()) << MediaLibraryProblem().toStdString();
}

TEST_F(PreloadTest, OtherOptionsReleaseTheEarlyInstanceAndCreateAnew)
{
    install(int(ViewerTier::High));
    // The first start: the values are written by the sequence after the early start read them missing.
    PreloadMediaLibrary(int(ViewerTier::High), highOptions());
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerPostproc", 3));
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerModNoise", 1));
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerHgResampling", 1));
    viewerEnvironment().viewerTier = int(ViewerTier::High);
    ASSERT_TRUE(LoadMediaLibrary());
    PlayerContext context;
    ASSERT_TRUE(CreateMediaPlayer(context, store));
    const QStringList log = calls();
    EXPECT_EQ(log.count(QStringLiteral("libvlc_new(%1)").arg(highOptions().size())), 2) << log.join(' ').toStdString();
    EXPECT_EQ(log.count("libvlc_media_player_release"), 1);
    EXPECT_EQ(log.count("libvlc_release"), 1);
    // The player has the instance made with the options in force now.
    EXPECT_TRUE(lines(control<const char* (*)()>("fakevlc_new_args")()).contains("--postproc-q=3"));
    EXPECT_TRUE(context.hasPlayer());
}

TEST_F(PreloadTest, AnotherTierLeavesTheEarlyLibraryUnusedAndLoadsItsOwn)
{
    install(int(ViewerTier::High));
    const QString highPath = loadedPath;
    PreloadMediaLibrary(int(ViewerTier::High), highOptions());
    ASSERT_TRUE(loadAs(int(ViewerTier::Mid)));
    EXPECT_EQ(mediaLibrary().loadedTier, int(ViewerTier::Mid));
    EXPECT_EQ(QFileInfo(mediaLibrary().module->fileName()).canonicalFilePath(), QFileInfo(loadedPath).canonicalFilePath());
    EXPECT_NE(loadedPath, highPath);
    EXPECT_FALSE(mediaLibrary().has(MediaEntry::VideoMagnify));
    PlayerContext context;
    ASSERT_TRUE(CreateMediaPlayer(context, store));
    // The Mid library made exactly one instance: the standard list.
    EXPECT_EQ(lines(control<const char* (*)()>("fakevlc_new_args")()), kStandardList);
}

TEST_F(PreloadTest, AnEarlyStartNobodyTookIsGivenUpAtUnload)
{
    install(int(ViewerTier::High));
    PreloadMediaLibrary(int(ViewerTier::High), highOptions());
    EXPECT_TRUE(UnloadMediaLibrary());
    EXPECT_FALSE(mediaLibrary().isLoaded());
    // A later load is the usual one and works.
    ASSERT_TRUE(loadAs(int(ViewerTier::High)));
    PlayerContext context;
    EXPECT_TRUE(CreateMediaPlayer(context, store));
}

} // namespace
