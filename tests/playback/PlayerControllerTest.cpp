// The main window's player commands against the stand-in media library: the library calls each command
// makes, in order, and what it asks of the window (button pairs, readouts, messages).
#include "playback/PlayerController.h"
#include "FakeVlcFixture.h"
#include "playback/DropListPlacement.h"
#include "playback/PictureAdjustment.h"
#include "playback/PlayerControllerHost.h"
#include "playback/VideoFrameSink.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>
#include <functional>

namespace {

using namespace fakevlc;

// Records what the controller asks of the window.
class RecordingHost : public PlayerControllerHost
{
public:
    QStringList log;
    QString rowName;
    std::function<int(PictureAdjustment&)> dialog;
    int emptied = 0; // times the player was left without a recording

    void showPlayButton(bool play) override { log << (play ? "show Play" : "show Pause"); }
    void showSoundButtons(bool audible) override { log << (audible ? "show VolOff" : "show VolOn"); }
    void setVolumeSliderEnabled(bool enabled) override { log << (enabled ? "slider on" : "slider off"); }
    void moveVolumeSlider(int level) override { log << QStringLiteral("slider %1").arg(level); }
    void showNightButtons(bool on) override { log << (on ? "show NightOff" : "show NightOn"); }
    void showZoomButtons(bool on) override { log << (on ? "show ZoomOff" : "show ZoomOn"); }
    void setSpeedButtonImage(int id) override { log << QStringLiteral("speed image %1").arg(id); }
    void openSpeedList() override { log << "speed list"; }
    void openRotationList() override { log << "rotation list"; }
    void showRecordingLength(int64_t ms) override { log << QStringLiteral("length %1").arg(ms); }
    void videoSizeKnown(int w, int h) override { log << QStringLiteral("video %1x%2").arg(w).arg(h); }
    void checkWindowGrowth(int c) override { log << QStringLiteral("grow %1").arg(c); }
    void lockInput() override { log << "lock"; }
    void playerEmptied() override { ++emptied; }
    void showMessage(int id) override { log << QStringLiteral("message %1").arg(id); }
    QString currentRowName() const override { return rowName; }
    int runAdjustmentDialog(PictureAdjustment& a) override { return dialog ? dialog(a) : 2; }
};

class FakeGraph : public PlaybackGraph
{
public:
    QStringList log;
    bool data = false;
    int samples = 0;
    void markHasData() override
    {
        data = true;
        log << "mark";
    }
    bool hasData() const override { return data; }
    void reset() override
    {
        data = false;
        log << "reset";
    }
    void loadDataFile(const QString& path) override { log << "load " + QFileInfo(path).fileName(); }
    void setRecordingLength(int64_t ms) override { log << QStringLiteral("graph length %1").arg(ms); }
    int sampleCount() const override { return samples; }
    void showTime(int64_t ms) override { log << QStringLiteral("graph time %1").arg(ms); }
};

class ControllerTest : public FakeLibraryTest
{
protected:
    PlayerContext context;
    RecordingHost host;
    FakeGraph graph;
    std::unique_ptr<PlayerController> controller;

    void SetUp() override
    {
        FakeLibraryTest::SetUp();
        ASSERT_TRUE(loadAs(int(ViewerTier::High)));
        createPlayer(context);
        controller = std::make_unique<PlayerController>(context, host, &graph);
        controller->setZoomAllowed(true);
    }

    void TearDown() override
    {
        controller.reset();
        FakeLibraryTest::TearDown();
    }

    // An AVI whose main header gives the size.
    QString avi(const QString& name, int width = 1920, int height = 1080)
    {
        QByteArray bytes(512, '\0');
        bytes.replace(0, 4, "RIFF");
        qToLittleEndian<quint16>(quint16(width), bytes.data() + 64);
        qToLittleEndian<quint16>(quint16(height), bytes.data() + 68);
        const QString path = base.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Opens a recording and lets timer 0 run; the logs are emptied afterwards.
    void openPlaying(const QString& path)
    {
        controller->PlayRecording(path);
        fire(0);
        resetFake();
        host.log.clear();
        graph.log.clear();
    }

    // Runs the event loop until the timer has fired (they are one-shot 500 ms timers).
    void fire(int id)
    {
        QElapsedTimer t;
        t.start();
        while (controller->isTimerActive(id) && t.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        ASSERT_FALSE(controller->isTimerActive(id)) << "timer " << id;
    }

    void setTime(int64_t ms) { control<void (*)(int64_t)>("fakevlc_set_time")(ms); }
    void setLength(int64_t ms) { control<void (*)(int64_t)>("fakevlc_set_length")(ms); }
};

TEST_F(ControllerTest, StartsWithTheWindowsInitialState)
{
    EXPECT_FALSE(controller->isPlaying());
    EXPECT_FALSE(controller->lastPlayOk());
    EXPECT_EQ(controller->brightness(), 1.0f);
    EXPECT_EQ(controller->contrast(), 1.0f);
    EXPECT_FALSE(controller->nightVision());
    EXPECT_EQ(controller->playRate(), 1.0f);
    EXPECT_TRUE(controller->soundOn());
    EXPECT_EQ(controller->volume(), 50);
    EXPECT_EQ(controller->rotationState(), 3);
    EXPECT_EQ(controller->rotationAtPause(), 3);
    EXPECT_TRUE(controller->rotationReady());
    EXPECT_FALSE(controller->zoomOn());
    EXPECT_EQ(controller->recordingLength(), 0);
    EXPECT_EQ(controller->magnifier().gaugeOffset(), -14);
    EXPECT_FALSE(controller->magnifier().gaugeResync());
}

TEST_F(ControllerTest, PlayRecordingOpensProbesPlaysAndLoadsTheDataFile)
{
    const QString file = avi("rec_20120501_123456.avi", 1920, 1080);
    controller->PlayRecording(file);
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_new_path(" + file + ")", "libvlc_media_player_set_media",
            "libvlc_event_attach(265)", "libvlc_event_attach(267)", "libvlc_media_player_play" }));
    // The window starts as for 1080p: the first 1080p recording is no larger picture.
    EXPECT_EQ(host.log, QStringList({ "video 1920x1080", "show Pause", "lock" }));
    EXPECT_EQ(graph.log, QStringList({ "mark", "load rec_20120501_123456.dat" }));
    EXPECT_TRUE(controller->isPlaying());
    EXPECT_TRUE(controller->lastPlayOk());
    EXPECT_EQ(controller->sizeClass(), 0);
    EXPECT_TRUE(controller->magnifier().gaugeResync());
    EXPECT_TRUE(controller->isTimerActive(0));
    EXPECT_EQ(controller->previousPath(), file);

    // The next one closes the first before opening; a 720p one after 1080p is a larger class: no growth.
    resetFake();
    host.log.clear();
    const QString second = avi("rec_20120501_124456.avi", 1280, 720);
    controller->PlayRecording(second);
    EXPECT_EQ(calls().mid(0, 3),
        QStringList({ "libvlc_event_detach(265)", "libvlc_event_detach(267)", "libvlc_media_release" }));
    EXPECT_EQ(host.log, QStringList({ "video 1280x720", "show Pause", "lock" }));
    EXPECT_EQ(controller->sizeClass(), 1);

    // 1080p after 720p is a larger picture: the window is asked whether it must grow.
    host.log.clear();
    controller->PlayRecording(avi("rec_20120501_125456.avi", 1920, 1080));
    EXPECT_EQ(host.log, QStringList({ "video 1920x1080", "grow 0", "show Pause", "lock" }));
}

TEST_F(ControllerTest, AnUnopenableRecordingFallsBackToThePreviousOne)
{
    const QString good = avi("rec_a.avi", 640, 480);
    controller->PlayRecording(good);
    resetFake();
    host.log.clear();
    graph.log.clear();

    const QString gone = base.filePath("rec_gone.avi"); // same folder, file missing: the library cannot open it
    controller->PlayRecording(gone);
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_event_detach(265)", "libvlc_event_detach(267)", "libvlc_media_release",
            "libvlc_media_new_path(" + good + ")", "libvlc_media_player_set_media", "libvlc_event_attach(265)",
            "libvlc_event_attach(267)", "libvlc_media_player_play" }));
    EXPECT_TRUE(context.isOpen());
    EXPECT_EQ(context.path(), good);
    EXPECT_TRUE(controller->isPlaying());
    // The data file shown is the one of the video shown; the fallback stays the one that opened.
    EXPECT_EQ(graph.log, QStringList({ "mark", "load rec_a.dat" }));
    EXPECT_EQ(controller->previousPath(), good);
}

TEST_F(ControllerTest, WhenNeitherOpensThePlayerEndsEmptyWithPlayShown)
{
    // The first open of a run: nothing to fall back to.
    controller->PlayRecording(base.filePath("rec_missing.avi"));
    EXPECT_TRUE(calls().isEmpty()) << calls().join(", ").toStdString();
    EXPECT_FALSE(context.isOpen());
    EXPECT_FALSE(controller->isPlaying());
    EXPECT_FALSE(controller->lastPlayOk());
    EXPECT_EQ(host.log, QStringList({ "show Play", "lock" }));
    EXPECT_EQ(graph.log, QStringList({ "mark", "reset" }));
    EXPECT_TRUE(controller->previousPath().isEmpty());

    // A previous recording that has gone too: both fail, once each, and the sequence ends.
    const QString good = avi("rec_b.avi");
    controller->PlayRecording(good);
    QFile::remove(good);
    resetFake();
    host.log.clear();
    controller->PlayRecording(base.filePath("rec_missing.avi"));
    EXPECT_EQ(calls(), QStringList({ "libvlc_event_detach(265)", "libvlc_event_detach(267)", "libvlc_media_release" }));
    EXPECT_FALSE(context.isOpen());
    EXPECT_FALSE(controller->isPlaying());
    EXPECT_EQ(host.log, QStringList({ "show Play", "lock" }));
    fire(0); // timer 0 on an empty player calls nothing
    EXPECT_EQ(calls().size(), 3);
}

TEST_F(ControllerTest, ARecordingWhoseFolderIsGoneStopsThePlayer)
{
    const QString good = avi("rec_c.avi");
    controller->PlayRecording(good);
    resetFake();
    host.log.clear();
    graph.log.clear();
    controller->PlayRecording(QStringLiteral("/media/nobody/pulled-card/rec_d.avi"));
    EXPECT_EQ(calls().mid(0, 2), QStringList({ "libvlc_media_player_get_time", "libvlc_media_player_stop" }));
    EXPECT_EQ(calls().mid(2),
        QStringList({ "libvlc_event_detach(265)", "libvlc_event_detach(267)", "libvlc_media_release" }));
    EXPECT_FALSE(context.isOpen());
    EXPECT_FALSE(controller->isPlaying());
    EXPECT_EQ(host.log, QStringList({ "show Play", "lock" }));
    EXPECT_EQ(graph.log, QStringList({ "mark", "reset" }));
    EXPECT_TRUE(controller->isTimerActive(0));
}

TEST_F(ControllerTest, APlayThatFailsClosesTheMediaButKeepsPauseShown)
{
    control<void (*)(int)>("fakevlc_set_play_result")(-1);
    controller->PlayRecording(avi("rec_e.avi"));
    EXPECT_FALSE(controller->lastPlayOk());
    EXPECT_FALSE(context.isOpen());
    EXPECT_TRUE(host.log.contains("show Pause"));
}

TEST(DataFilePath, OnlyTheExtensionAtTheEndIsReplaced)
{
    EXPECT_EQ(
        PlayerController::DataFilePath("/media/card/rec_20120501_123456.avi"), "/media/card/rec_20120501_123456.dat");
    EXPECT_EQ(PlayerController::DataFilePath("/home/u/my.avi.copies/evt_20120501_123456.mp4"),
        "/home/u/my.avi.copies/evt_20120501_123456.dat");
    EXPECT_EQ(PlayerController::DataFilePath("/x/rec.avi.avi"), "/x/rec.avi.dat");
}

TEST(SizeClass, ThreeClasses)
{
    EXPECT_EQ(PlayerController::SizeClass(1920, 1080), 0);
    EXPECT_EQ(PlayerController::SizeClass(1280, 720), 1);
    EXPECT_EQ(PlayerController::SizeClass(1920, 1088), 2);
    EXPECT_EQ(PlayerController::SizeClass(640, 480), 2);
}

TEST_F(ControllerTest, Timer0GivesTheLengthThenPictureThenSound)
{
    controller->PlayRecording(avi("rec_f.avi"));
    resetFake();
    setLength(61000);
    host.log.clear();
    graph.log.clear();
    fire(0);
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_player_get_length", "libvlc_video_set_adjust_int(0,1)",
            "libvlc_video_set_adjust_float(2,1.0)", "libvlc_video_set_adjust_int(0,1)",
            "libvlc_video_set_adjust_float(1,1.0)", "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(50)" }));
    EXPECT_EQ(controller->recordingLength(), 61000);
    EXPECT_EQ(host.log, QStringList({ "length 61000" }));
    EXPECT_EQ(graph.log, QStringList({ "graph length 61000" }));
    EXPECT_FALSE(controller->isTimerActive(4)); // not a Japanese system
}

TEST_F(ControllerTest, Timer0SendsVolumeZeroWhileMutedOrNotAtNormalSpeed)
{
    controller->Mute();
    openPlaying(avi("rec_g.avi"));
    controller->PlayRecording(avi("rec_h.avi"));
    resetFake();
    fire(0);
    EXPECT_EQ(calls().mid(5), QStringList({ "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(0)" }));

    controller->SoundOn();
    controller->SetRate(2);
    controller->PlayRecording(avi("rec_i.avi"));
    resetFake();
    fire(0);
    EXPECT_EQ(calls().mid(5), QStringList({ "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(0)" }));
}

struct GraphTimerCase
{
    int country;
    int64_t length;
    int samples;
    bool runs;
    double period;
};

class GraphTimerTest : public ControllerTest, public ::testing::WithParamInterface<GraphTimerCase>
{
};

TEST_P(GraphTimerTest, Timer4RunsOnlyInJapanWithAFinitePeriod)
{
    const GraphTimerCase& c = GetParam();
    controller->setCountryCode(c.country);
    graph.samples = c.samples;
    setLength(c.length);
    controller->PlayRecording(avi("rec_j.avi"));
    fire(0);
    EXPECT_EQ(controller->isTimerActive(4), c.runs);
    EXPECT_EQ(controller->graphTimerPeriod(), c.period);
    if (c.runs) {
        controller->Stop();
        EXPECT_FALSE(controller->isTimerActive(4));
        EXPECT_EQ(graph.log.last(), "graph time 0");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GraphTimerTest,
    ::testing::Values(GraphTimerCase { 81, 60000, 600, true, 100 }, GraphTimerCase { 81, 60000, 7, true, 8571 },
        GraphTimerCase { 82, 60000, 600, false, 0 }, GraphTimerCase { 81, 60000, 0, false, 0 },
        GraphTimerCase { 81, 0, 600, false, 0 }));

TEST_F(ControllerTest, PlayAndPauseToggleTheLibraryAndSwapTheButtons)
{
    openPlaying(avi("rec_k.avi"));
    controller->Play(); // already playing: nothing
    EXPECT_TRUE(calls().isEmpty());
    controller->Pause();
    controller->PlayPause();
    EXPECT_EQ(calls(), QStringList({ "libvlc_media_player_set_pause(1)", "libvlc_media_player_set_pause(0)" }));
    EXPECT_EQ(host.log, QStringList({ "show Play", "show Pause" }));
    EXPECT_TRUE(controller->isPlaying());
    EXPECT_TRUE(controller->isTimerActive(1));
}

TEST_F(ControllerTest, CommandsOnAClosedPlayerCallNothing)
{
    controller->Play();
    controller->Pause();
    controller->Backward();
    controller->Forward();
    controller->SeekTo(1000);
    controller->NightOn();
    controller->ZoomToggle();
    controller->SetVolume(70);
    controller->VolumeUp();
    EXPECT_TRUE(calls().isEmpty()) << calls().join(", ").toStdString();
    EXPECT_FALSE(controller->nightVision());
    EXPECT_FALSE(controller->zoomOn());
    EXPECT_EQ(controller->volume(), 75); // the level is kept for the next recording
}

struct SkipCase
{
    int64_t time;
    bool forward;
    int64_t target;
};

class TransportSkipTest : public ControllerTest, public ::testing::WithParamInterface<SkipCase>
{
};

TEST_P(TransportSkipTest, SkipsClampToTheRecordingAndResumeAPausedPlayer)
{
    setLength(60000);
    openPlaying(avi("rec_l.avi"));
    controller->Pause();
    resetFake();
    setTime(GetParam().time);
    if (GetParam().forward)
        controller->Forward();
    else
        controller->Backward();
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_player_get_length", "libvlc_media_player_get_time",
            QStringLiteral("libvlc_media_player_set_time(%1)").arg(GetParam().target),
            "libvlc_media_player_set_pause(0)" }));
    EXPECT_TRUE(controller->isPlaying());
}

INSTANTIATE_TEST_SUITE_P(Cases, TransportSkipTest,
    ::testing::Values(SkipCase { 55000, true, 60000 }, SkipCase { 3000, false, 0 }, SkipCase { 20000, true, 30000 }));

TEST_F(ControllerTest, SpeedOtherThanNormalSilencesAndNormalRestoresTheStoredVolume)
{
    openPlaying(avi("rec_m.avi"));
    controller->Mute();
    resetFake();
    host.log.clear();
    controller->SetRate(2); // 0.6
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_player_set_rate(0.6)", "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(0)" }));
    EXPECT_EQ(host.log, QStringList({ "speed image 3141", "show VolOn", "slider off" }));
    EXPECT_EQ(controller->playRate(), 0.6f);

    resetFake();
    host.log.clear();
    controller->SetRate(4); // 1.0: the stored volume comes back although sound was switched off
    EXPECT_EQ(calls(),
        QStringList(
            { "libvlc_media_player_set_rate(1.0)", "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(50)" }));
    EXPECT_EQ(host.log, QStringList({ "speed image 3143", "show VolOff", "slider on" }));
    EXPECT_FALSE(controller->soundOn());

    // The rate table.
    const float rates[] = { 0.4f, 0.6f, 0.8f, 1.0f, 2.0f };
    for (int e = 1; e <= 5; ++e) {
        EXPECT_EQ(PlayerController::RateOfEntry(e), rates[e - 1]);
        EXPECT_EQ(PlayerController::SpeedImageOfEntry(e), 3139 + e);
    }
}

// A speed chosen while nothing is open reaches the player with the next recording, before it starts, so the
// rate, the Speed button and the sound agree: the library would otherwise keep the rate it had.
struct PendingRateCase
{
    int entry;
    const char* rateCall;
    int volumeAfterOpen;
};

class PendingRateTest : public ControllerTest, public ::testing::WithParamInterface<PendingRateCase>
{
};

TEST_P(PendingRateTest, ReachesTheNextOpen)
{
    openPlaying(avi("rec_fast.avi"));
    controller->SetRate(5); // 2.0 while playing
    controller->Stop();
    resetFake();
    host.log.clear();
    controller->SetRate(GetParam().entry);
    EXPECT_TRUE(calls().filter(QStringLiteral("set_rate")).isEmpty()); // nothing open to take it
    controller->PlayRecording(avi("rec_next.avi"));
    const QStringList log = calls();
    const qsizetype rate = log.indexOf(QString::fromLatin1(GetParam().rateCall));
    ASSERT_GE(rate, 0) << log.join(QLatin1Char(' ')).toStdString();
    EXPECT_LT(rate, log.indexOf(QStringLiteral("libvlc_media_player_play")));
    EXPECT_EQ(log.filter(QStringLiteral("set_rate")).size(), 1);
    resetFake();
    fire(0);
    EXPECT_TRUE(calls().contains(QStringLiteral("libvlc_audio_set_volume(%1)").arg(GetParam().volumeAfterOpen)));

    // Sent once: the open after it does not send it again.
    controller->PlayRecording(avi("rec_third.avi"));
    EXPECT_TRUE(calls().filter(QStringLiteral("set_rate")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, PendingRateTest,
    ::testing::Values(PendingRateCase { 4, "libvlc_media_player_set_rate(1.0)", 50 },
        PendingRateCase { 1, "libvlc_media_player_set_rate(0.4)", 0 }));

// The window hears every time the player is left without a recording (it clears the picture then), and
// not when a recording opens.
TEST_F(ControllerTest, TheHostHearsWhenThePlayerIsLeftEmpty)
{
    openPlaying(avi("rec_e.avi"));
    EXPECT_EQ(host.emptied, 0);
    controller->Stop();
    EXPECT_EQ(host.emptied, 1);
    controller->PlayRecording(avi("rec_f.avi"));
    EXPECT_EQ(host.emptied, 1);
    controller->PlayRecording(base.filePath(QStringLiteral("gone/rec_g.avi"))); // its folder is gone
    EXPECT_EQ(host.emptied, 2);
    PlayerContext other;
    PlayerController fresh(other, host, &graph); // no player at all: nothing opens
    fresh.PlayRecording(avi("rec_h.avi"));
    EXPECT_EQ(host.emptied, 3);
    control<void (*)(int)>("fakevlc_set_play_result")(-1); // the library refuses to play: the media closes
    controller->PlayRecording(avi("rec_i.avi"));
    EXPECT_FALSE(context.isOpen());
    EXPECT_EQ(host.emptied, 4);
    control<void (*)(int)>("fakevlc_set_play_result")(0);
}

TEST_F(ControllerTest, VolumeUpStopsAtAHundredAndVolumeDownNeedsSound)
{
    openPlaying(avi("rec_n.avi"));
    controller->SetVolume(98);
    resetFake();
    controller->VolumeUp();
    controller->VolumeUp();
    EXPECT_EQ(controller->volume(), 100);
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(100)", "libvlc_audio_set_mute(0)",
            "libvlc_audio_set_volume(100)" }));
    EXPECT_EQ(host.log.filter("slider"), QStringList({ "slider 100", "slider 100" }));

    controller->Mute();
    resetFake();
    host.log.clear();
    controller->VolumeDown();
    controller->VolumeUp();
    EXPECT_EQ(controller->volume(), 100);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(host.log.isEmpty());

    controller->ToggleMute();
    EXPECT_TRUE(controller->soundOn());
    EXPECT_EQ(calls(), QStringList({ "libvlc_audio_set_mute(0)", "libvlc_audio_set_volume(100)" }));
    EXPECT_EQ(host.log, QStringList({ "show VolOff", "slider on" }));
}

TEST_F(ControllerTest, NightVisionSetsBothValuesAndSwapsTheButtons)
{
    openPlaying(avi("rec_o.avi"));
    controller->NightOn();
    EXPECT_EQ(controller->brightness(), 1.4f);
    EXPECT_EQ(controller->contrast(), 1.4f);
    EXPECT_TRUE(controller->nightVision());
    controller->NightOff();
    EXPECT_FALSE(controller->nightVision());
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(2,1.4)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(1,1.4)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(2,1.0)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(1,1.0)" }));
    EXPECT_EQ(host.log, QStringList({ "show NightOff", "show NightOn" }));
}

TEST_F(ControllerTest, AdjustmentDialogPausesPreviewsAndCancelRestoresQuantisedValues)
{
    openPlaying(avi("rec_p.avi"));
    controller->NightOn();
    resetFake();
    host.log.clear();
    host.dialog = [](PictureAdjustment& a) {
        // Night vision on: both sliders start neutral.
        EXPECT_EQ(a.initialBrightnessPosition(), 3);
        EXPECT_EQ(a.initialContrastPosition(), 3);
        a.setBrightnessPosition(6);
        a.setContrastPosition(0);
        a.restore();
        return 2;
    };
    controller->AdjustPicture();
    EXPECT_EQ(calls(),
        QStringList({ "libvlc_media_player_set_pause(1)", // halted for the dialog
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(2,1.6)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(1,1.4)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(2,1.6)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(1,0.4)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(2,1.0)",
            "libvlc_video_set_adjust_int(0,1)", "libvlc_video_set_adjust_float(1,1.0)",
            "libvlc_media_player_set_pause(0)" })); // resumed
    EXPECT_EQ(controller->brightness(), 1.0f);
    EXPECT_EQ(controller->contrast(), 1.0f);
    EXPECT_TRUE(controller->isPlaying());
    // Neutral values are not night vision: the buttons say so.
    EXPECT_FALSE(controller->nightVision());
    EXPECT_EQ(host.log, QStringList({ "show NightOn" }));
}

struct QuantiseCase
{
    float value;
    int position;
    float restored;
};

class QuantiseTest : public ::testing::TestWithParam<QuantiseCase>
{
};

TEST_P(QuantiseTest, StartingPositionsTruncateAndCancelGivesTheirValues)
{
    float b = GetParam().value, c = GetParam().value;
    int applied = 0;
    PictureAdjustment a(b, c, false, [&] { ++applied; });
    EXPECT_EQ(a.initialBrightnessPosition(), GetParam().position);
    a.setContrastPosition(5);
    EXPECT_EQ(c, 1.4f);
    a.restore();
    EXPECT_EQ(b, GetParam().restored);
    EXPECT_EQ(c, GetParam().restored);
    EXPECT_EQ(applied, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuantiseTest,
    ::testing::Values(QuantiseCase { 1.0f, 3, 1.0f }, QuantiseCase { 1.4f, 5, 1.4f }, QuantiseCase { 0.4f, 0, 0.4f },
        QuantiseCase { 1.6f, 6, 1.6f }, QuantiseCase { 1.3f, 4, 1.2f }, QuantiseCase { 0.59f, 0, 0.4f },
        QuantiseCase { 5.0f, 6, 1.6f }, QuantiseCase { 0.1f, 0, 0.4f }));

TEST_F(ControllerTest, OkWithNightValuesChangedSwitchesNightVisionOffButKeepsTheValues)
{
    openPlaying(avi("rec_q.avi"));
    controller->NightOn();
    host.log.clear();
    host.dialog = [](PictureAdjustment& a) {
        a.setBrightnessPosition(4);
        return 1;
    };
    controller->AdjustPicture();
    EXPECT_EQ(controller->brightness(), 1.2f);
    EXPECT_EQ(controller->contrast(), 1.4f);
    EXPECT_FALSE(controller->nightVision());
    EXPECT_EQ(host.log, QStringList({ "show NightOn" }));

    // OK with the night values untouched keeps night vision.
    controller->NightOn();
    host.log.clear();
    host.dialog = [](PictureAdjustment&) { return 1; };
    controller->AdjustPicture();
    EXPECT_TRUE(controller->nightVision());
    EXPECT_TRUE(host.log.isEmpty());
}

struct RotationCase
{
    int before, entry, after;
};

class RotationTableTest : public ::testing::TestWithParam<RotationCase>
{
};

TEST_P(RotationTableTest, EntriesToggleTheFlips)
{
    EXPECT_EQ(PlayerController::NextRotation(GetParam().before, GetParam().entry), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Table, RotationTableTest,
    ::testing::Values(RotationCase { 3, 1, 0 }, RotationCase { 3, 2, 1 }, RotationCase { 3, 3, 3 },
        RotationCase { 0, 1, 3 }, RotationCase { 0, 2, 2 }, RotationCase { 0, 3, 3 }, RotationCase { 1, 1, 2 },
        RotationCase { 1, 2, 3 }, RotationCase { 1, 3, 3 }, RotationCase { 2, 1, 1 }, RotationCase { 2, 2, 0 },
        RotationCase { 2, 3, 3 }));

TEST_F(ControllerTest, RotationIsSentWhilePlayingAndASecondWithin500msIsOnlyRecorded)
{
    openPlaying(avi("rec_r.avi"));
    controller->RotateEntry(1);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::FirstFlip);
    EXPECT_FALSE(controller->rotationReady());
    EXPECT_TRUE(controller->isTimerActive(2));
    controller->RotateEntry(2); // within 500 ms: recorded, not sent
    EXPECT_EQ(controller->rotationState(), 2);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::FirstFlip);

    // A pause and resume does not send it either: the state at the pause equals it.
    fire(2);
    EXPECT_TRUE(controller->rotationReady());
    controller->Pause();
    controller->Play();
    fire(1);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::FirstFlip);

    // After the 500 ms the next entry goes through: state 2, entry 1 → 1, the second flip alone.
    controller->RotateEntry(1);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::SecondFlip);
}

TEST_F(ControllerTest, RotationChosenWhilePausedIsAppliedAfterResuming)
{
    openPlaying(avi("rec_s.avi"));
    controller->Pause();
    controller->RotateEntry(1);
    controller->RotateEntry(2); // 0 → 2, both flips
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::NoFlip);
    EXPECT_TRUE(controller->rotationReady());
    controller->Play();
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::NoFlip);
    fire(1);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::FirstFlip | VideoFrameSink::SecondFlip);
    fire(2);
    controller->RotateEntry(3);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::NoFlip);
    EXPECT_EQ(controller->rotationState(), 3);
}

TEST_F(ControllerTest, EntryThreeFromNoneSendsNothing)
{
    openPlaying(avi("rec_t.avi"));
    controller->RotateEntry(3);
    EXPECT_TRUE(controller->rotationReady());
    EXPECT_FALSE(controller->isTimerActive(2));
}

TEST_F(ControllerTest, RotateWhileZoomedIsRefusedWithString290)
{
    openPlaying(avi("rec_u.avi"));
    controller->RotateMenu();
    EXPECT_EQ(host.log, QStringList({ "rotation list" }));
    controller->ZoomToggle();
    host.log.clear();
    controller->RotateMenu();
    controller->RotateEntry(1);
    EXPECT_EQ(host.log, QStringList({ "message 290" }));
    EXPECT_EQ(controller->rotationState(), 3);
    EXPECT_EQ(context.videoSink().flips(), VideoFrameSink::NoFlip);
}

TEST_F(ControllerTest, ZoomToggleSwapsTheButtonsArmsTheGaugeAndAsksForFullFrames)
{
    openPlaying(avi("rec_v.avi"));
    controller->ZoomToggle();
    EXPECT_TRUE(controller->zoomOn());
    EXPECT_EQ(controller->magnifier().gaugeOffset(), -14);
    EXPECT_DOUBLE_EQ(controller->magnifier().zoomFactor(), 2.0);
    EXPECT_TRUE(context.videoSink().fullResolution());
    controller->ZoomToggle();
    EXPECT_FALSE(controller->zoomOn());
    EXPECT_EQ(controller->magnifier().gaugeOffset(), 0);
    EXPECT_FALSE(context.videoSink().fullResolution());
    EXPECT_EQ(host.log, QStringList({ "show ZoomOff", "show ZoomOn" }));
    // No video output has started on the stand-in, so there is nothing to restart.
    EXPECT_TRUE(calls().filter("track").isEmpty());

    // Not offered below the High tier.
    controller->setZoomAllowed(false);
    controller->magnifier().setGaugeResync(false);
    controller->ZoomToggle();
    EXPECT_FALSE(controller->zoomOn());
    controller->RequestGaugeResync();
    EXPECT_FALSE(controller->magnifier().gaugeResync());
}

TEST_F(ControllerTest, MagnifierOffAndReArmAfterAnOpen)
{
    openPlaying(avi("rec_w.avi"));
    controller->ZoomToggle();
    controller->magnifier().wheel(120);
    controller->magnifier().wheel(120);
    EXPECT_EQ(controller->magnifier().gaugeOffset(), -16);
    controller->PlayRecording(avi("rec_x.avi"));
    EXPECT_EQ(controller->magnifier().gaugeOffset(), -14);
    EXPECT_TRUE(controller->magnifier().gaugeResync());
    EXPECT_TRUE(context.videoSink().fullResolution());

    host.log.clear();
    controller->MagnifierOff();
    EXPECT_FALSE(controller->zoomOn());
    EXPECT_EQ(controller->magnifier().gaugeOffset(), 0);
    EXPECT_FALSE(context.videoSink().fullResolution());
    EXPECT_EQ(host.log, QStringList({ "show ZoomOn" }));
    controller->MagnifierOff(); // already off: the buttons stay
    EXPECT_EQ(host.log.size(), 1);

    // Switched off with nothing open, the next recording still comes at the painted size.
    controller->ZoomToggle();
    EXPECT_TRUE(context.videoSink().fullResolution());
    controller->Stop();
    controller->MagnifierOff();
    EXPECT_FALSE(context.videoSink().fullResolution());
}

TEST_F(ControllerTest, CaptureNamesTheFileAfterTheRowAndTheTime)
{
    QTemporaryDir desktop;
    PlayerController::SetCaptureBaseFolder(desktop.path());
    const QString folder = desktop.filePath("KORVANE/Capture/");
    EXPECT_EQ(PlayerController::CaptureFolder(), folder);

    // Nothing open: string 280, the folder made all the same.
    host.rowName = QStringLiteral("20120501_123456");
    controller->Capture();
    EXPECT_EQ(host.log, QStringList({ "message 280" }));
    EXPECT_TRUE(QDir(folder).exists());

    openPlaying(avi("rec_y.avi"));
    host.rowName.clear();
    controller->Capture();
    EXPECT_EQ(host.log, QStringList({ "message 280" }));

    host.log.clear();
    host.rowName = QStringLiteral("20120501_123456");
    setTime(12345);
    controller->Capture();
    const QString file = folder + "20120501_123456_12.3.png";
    EXPECT_TRUE(calls().contains("libvlc_video_take_snapshot(0," + file + ",320,240)"))
        << calls().join(", ").toStdString();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(host.log, QStringList({ "message 274" }));
    EXPECT_TRUE(controller->isPlaying()); // playback goes on
    PlayerController::SetCaptureBaseFolder(QString());

    EXPECT_EQ(PlayerController::CaptureFileName("n", 0), "n_0.0.png");
    EXPECT_EQ(PlayerController::CaptureFileName("n", 59999), "n_60.0.png");
    EXPECT_EQ(PlayerController::CaptureFileName("n", 1234567), "n_1234.6.png");
}

TEST(DropListPlacement, ListsOpenAboveTheirButtonOnePixelToTheLeft)
{
    // Five speed entries of 20 pixels above a button at (300, 600): 6 × 20 + 1 = 121 pixels above its top.
    EXPECT_EQ(DropListTopLeftAbove(QRect(300, 600, 40, 30), 5, 20), QPoint(299, 479));
    EXPECT_EQ(DropListTopLeftAbove(QRect(0, 100, 40, 30), 3, 16), QPoint(-1, 35));
}

TEST(MagnifierGauge, WheelWithTheMagnifierOffOnlyArmsTheOffset)
{
    Magnifier m;
    m.setGaugeOffset(0);
    m.wheel(120);
    EXPECT_EQ(m.gaugeOffset(), -14);
    EXPECT_FALSE(m.isOn());
}

TEST(MagnifierGauge, OneWheelStepIsOneGaugeStepBetweenTheLimits)
{
    Magnifier m;
    m.setOn(true);
    m.setGaugeOffset(-14);
    for (int i = 0; i < 100; ++i)
        m.wheel(120);
    EXPECT_EQ(m.gaugeOffset(), Magnifier::gaugeTop());
    EXPECT_DOUBLE_EQ(m.zoomFactor(), Magnifier::kMaxZoom);
    m.wheel(-120);
    EXPECT_EQ(m.gaugeOffset(), -69);
    for (int i = 0; i < 100; ++i)
        m.wheel(-120);
    // Towards the user the wheel stops 13 steps above the bottom.
    EXPECT_EQ(m.gaugeOffset(), -13);
    EXPECT_GT(m.zoomFactor(), 1.9);
    // Each step changes the factor by the same amount.
    EXPECT_NEAR(Magnifier::zoomFactorAt(-30) - Magnifier::zoomFactorAt(-29), (Magnifier::kMaxZoom - 1) / 70, 1e-9);
}

TEST(MagnifierGauge, RegionFollowsTheZoomAndStaysInsideTheFrame)
{
    Magnifier m;
    m.setOn(true);
    m.setGaugeOffset(-14); // 2x
    EXPECT_EQ(m.regionFraction(), QRectF(0.25, 0.25, 0.5, 0.5));
    m.moveRegionBy(QPointF(1.0, -1.0));
    EXPECT_EQ(m.regionFraction(), QRectF(0.5, 0.0, 0.5, 0.5));
    m.rearm();
    EXPECT_EQ(m.regionCentre(), QPointF(0.5, 0.5));
}

struct LayoutCase
{
    QRectF region;
    int flips;
    QRect source;
};

class MagnifierLayoutTest : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(MagnifierLayoutTest, TheRegionAsSeenIsMirroredIntoTheFrame)
{
    const MagnifierLayout l
        = Magnifier::Layout(QSize(1920, 1080), QRect(0, 0, 800, 450), GetParam().region, GetParam().flips, -14);
    EXPECT_EQ(l.source, GetParam().source);
    // The overview is a fifth of the picture's width in its top-right corner, the region marked in it.
    EXPECT_EQ(l.overview.width(), 160);
    EXPECT_EQ(l.overview.height(), 90);
    EXPECT_EQ(l.overview.right(), 800 - 1 - 8);
    EXPECT_TRUE(l.overview.contains(l.overviewMark));
    // The gauge: in the left column, the armed position 14 of 70 steps up from its bottom.
    EXPECT_LT(l.gauge.right(), 40);
    EXPECT_EQ(l.gauge.height(), 180);
    EXPECT_EQ(l.gaugeMarkY, l.gauge.bottom() - 14 * 179 / 70);
}

INSTANTIATE_TEST_SUITE_P(Cases, MagnifierLayoutTest,
    ::testing::Values(LayoutCase { QRectF(0, 0, 0.5, 0.5), 0, QRect(0, 0, 960, 540) },
        LayoutCase { QRectF(0, 0, 0.5, 0.5), 1, QRect(960, 0, 960, 540) },
        LayoutCase { QRectF(0, 0, 0.5, 0.5), 2, QRect(0, 540, 960, 540) },
        LayoutCase { QRectF(0.1, 0.2, 0.25, 0.25), 3, QRect(1248, 594, 480, 270) }));

} // namespace
