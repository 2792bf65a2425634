// The binding and the player context on the installed libvlc, loaded from the Library folder the build
// makes beside the executables, playing clips made by ffmpeg.
#include "MediaClips.h"

#include "app/NotifyEvent.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using mediaclips::Clip;

namespace {

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_player_media";
    static char* argv[] = { name, nullptr };
    static QCoreApplication instance(argc, argv);
    return instance;
}

struct Notification
{
    int code;
    intptr_t param;
    qint64 at; // ms since the receiver was made
};

class Receiver : public QObject
{
public:
    QElapsedTimer clock;
    QList<Notification> received;
    Receiver() { clock.start(); }
    bool event(QEvent* e) override
    {
        if (e->type() == NotifyEvent::eventType()) {
            auto* n = static_cast<NotifyEvent*>(e);
            received.append({ n->code(), n->param(), clock.elapsed() });
            return true;
        }
        return QObject::event(e);
    }
    int count(int code) const
    {
        return int(
            std::count_if(received.begin(), received.end(), [&](const Notification& n) { return n.code == code; }));
    }
    const Notification* first(int code) const
    {
        for (const Notification& n : received)
            if (n.code == code)
                return &n;
        return nullptr;
    }
    bool waitFor(const std::function<bool()>& done, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < timeoutMs) {
            QCoreApplication::sendPostedEvents(this);
            QThread::msleep(10);
        }
        QCoreApplication::sendPostedEvents(this);
        return done();
    }
};

class RealLibraryTest : public ::testing::Test
{
protected:
    // KORVANE_TEST_TIER picks the tier (High unless set); Mid and Low first put their variant in place in
    // Library/RDSE, as the start-up does.
    static int tier() { return qEnvironmentVariableIntValue("KORVANE_TEST_TIER"); }

    static void SetUpTestSuite()
    {
        app();
        viewerEnvironment().viewerTier = tier();
        InstallLibraryVariant(tier());
        ASSERT_TRUE(LoadMediaLibrary()) << MediaLibraryProblem().toStdString();
    }

    QTemporaryDir settingsDir;
    SettingsStore store { settingsDir.path() };
    Receiver window;
    PlayerContext context;

    void SetUp() override
    {
        ASSERT_TRUE(MediaLibraryProblem().isEmpty()) << MediaLibraryProblem().toStdString();
        ASSERT_TRUE(CreateMediaPlayer(context, store)) << MediaLibraryProblem().toStdString();
        context.setMainWindow(&window);
        ASSERT_TRUE(context.AttachVideoOutput());
    }

    void open(Clip clip)
    {
        const QString path = mediaclips::clipPath(clip);
        ASSERT_FALSE(path.isEmpty()) << "ffmpeg could not make the clip";
        ASSERT_TRUE(context.OpenMedia(path));
    }
};

TEST_F(RealLibraryTest, TheFoldersCoreAndTheSystemPluginsAreUsed)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray text = maps.readAll();
    const QByteArray folder = tier() == 0 ? "Library/RDPE/" : "Library/RDSE/";
    EXPECT_TRUE(text.contains(folder + "libvlccore.so"));
    EXPECT_TRUE(text.contains(folder + "libvlc.so"));
    EXPECT_FALSE(text.contains("/libvlccore.so.9"));
}

TEST_F(RealLibraryTest, EveryOptionListIsAcceptedByTheInstalledLibrary)
{
    auto newInstance = mediaLibrary().get<mediafn::New>(MediaEntry::New);
    auto release = mediaLibrary().get<mediafn::Release>(MediaEntry::Release);
    ASSERT_TRUE(newInstance && release);
    const QString key = QString::fromLatin1(SettingsStore::kViewerKey);
    ASSERT_TRUE(store.WriteRegistryNumber(key, "ViewerPostproc", 6));
    ASSERT_TRUE(store.WriteRegistryNumber(key, "ViewerModNoise", 1));
    ASSERT_TRUE(store.WriteRegistryNumber(key, "ViewerHgResampling", 1));
    QTemporaryDir emptyDir;
    const SettingsStore empty(emptyDir.path());
    const struct
    {
        const char* name;
        MediaOptionSet set;
        const SettingsStore* settings;
    } lists[] = { { "High, registry 6/1/1", MediaOptionSet::High, &store },
        { "High, defaults", MediaOptionSet::High, &empty }, { "Mid and Low", MediaOptionSet::Standard, &store },
        { "Mid and Low, legacy", MediaOptionSet::Legacy, &store } };
    for (const auto& list : lists) {
        const QList<QByteArray> options = MediaOptionList(list.set, BuildMediaOptions(*list.settings));
        std::vector<const char*> argv;
        for (const QByteArray& o : options)
            argv.push_back(o.constData());
        libvlc_instance_t* instance = newInstance(int(argv.size()), argv.data());
        EXPECT_NE(instance, nullptr) << list.name;
        if (instance)
            release(instance);
    }
    // And the tier's own list, through the binding.
    PlayerContext own;
    EXPECT_TRUE(CreateMediaPlayer(own, store));
    EXPECT_EQ(ChooseMediaOptionSet(1), MediaOptionSet::Standard);
    EXPECT_EQ(ChooseMediaOptionSet(2), MediaOptionSet::Standard);
}

class ClipTest : public RealLibraryTest, public ::testing::WithParamInterface<Clip>
{
};

TEST_P(ClipTest, PlaysToTheEndWithTimeAndEndNotifications)
{
    const QString path = mediaclips::clipPath(GetParam());
    ASSERT_FALSE(path.isEmpty());
    int width = 0, height = 0;
    ASSERT_TRUE(PlayerContext::ProbeVideoSize(path, GetParam() == Clip::Mp4Camera, width, height));
    EXPECT_EQ(width, mediaclips::kWidth);
    EXPECT_EQ(height, mediaclips::kHeight);

    context.videoSink().setVideoSizeHint(QSize(width, height));
    open(GetParam());
    ASSERT_TRUE(context.SetRate(2.0f));
    ASSERT_TRUE(context.PlayMedia());
    ASSERT_TRUE(window.waitFor([&] { return window.count(NotifyEvent::EndOfMedia) > 0; }, 15000));

    // Time notifications carry growing playback times; the end comes after them.
    QList<Notification> times;
    for (const Notification& n : window.received)
        if (n.code == NotifyEvent::TimeChanged)
            times.append(n);
    ASSERT_GE(times.size(), 3);
    for (int i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i].param, times[i - 1].param);
    EXPECT_GT(times.last().param, 2000);
    const Notification* end = window.first(NotifyEvent::EndOfMedia);
    EXPECT_EQ(end->param, 0);
    EXPECT_GE(end->at, times.first().at);

    // At twice the speed the rest of the clip plays in half its time (about 1.5 s here; 3 s at normal
    // speed). The bound leaves room for a busy machine delivering the notifications late.
    const qint64 rest = end->at - times.first().at;
    EXPECT_LT(rest, (mediaclips::kSeconds * 1000 - times.first().param) * 7 / 8) << rest;

    EXPECT_GT(context.videoSink().framesDelivered(), 5u);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(context.StopMedia());
    EXPECT_LT(timer.elapsed(), PlayerContext::kStopWaitMs);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, ClipTest, ::testing::Values(Clip::AviMjpeg, Clip::AviH264, Clip::Mp4Camera), [](const auto& info) {
        return std::string(info.param == Clip::AviMjpeg ? "AviMjpeg"
                : info.param == Clip::AviH264           ? "AviH264"
                                                        : "Mp4Camera");
    });

TEST_F(RealLibraryTest, AtNormalSpeedTheClipTakesItsOwnLength)
{
    open(Clip::AviMjpeg);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(context.PlayMedia());
    ASSERT_TRUE(window.waitFor([&] { return window.count(NotifyEvent::EndOfMedia) > 0; }, 15000));
    // Never sooner than the clip's length (less a frame or two of rounding); a busy machine only adds.
    EXPECT_GE(timer.elapsed(), mediaclips::kSeconds * 1000 - 200);
}

// Prepared ahead of its time, the clip stops on its first picture: the sink keeps exactly one, the time stays
// at the beginning and nothing is notified; taken over, it goes on from there with the picture at once.
TEST_F(RealLibraryTest, APreparedClipWaitsOnItsFirstPictureAndGoesOnFromThere)
{
    const QString path = mediaclips::clipPath(Clip::AviH264);
    ASSERT_FALSE(path.isEmpty()) << "ffmpeg could not make the clip";
    ASSERT_TRUE(context.PrepareMedia(path));
    VideoFrameSink& sink = context.videoSink();
    ASSERT_TRUE(window.waitFor([&] { return sink.hasHeldFrame(); }, 10000));
    // Long enough for several frames at 15 per second had it been playing.
    QThread::msleep(500);
    window.waitFor([] { return false; }, 0);
    EXPECT_EQ(sink.framesDelivered(), 1u);
    VideoFrameSink::Frame frame;
    EXPECT_FALSE(sink.takeFrame(frame));
    EXPECT_TRUE(window.received.isEmpty());

    ASSERT_TRUE(context.TakePreparedMedia(path));
    ASSERT_TRUE(context.PlayMedia());
    bool fresh = false;
    EXPECT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
    ASSERT_TRUE(window.waitFor([&] { return window.count(NotifyEvent::TimeChanged) >= 1; }, 5000));
    EXPECT_LT(window.first(NotifyEvent::TimeChanged)->param, 500);
    EXPECT_TRUE(window.waitFor([&] { return sink.framesDelivered() >= 5; }, 5000));
}

TEST_F(RealLibraryTest, SeekAndSkipStayInsideTheRecording)
{
    open(Clip::AviMjpeg);
    ASSERT_TRUE(context.PlayMedia());
    ASSERT_TRUE(window.waitFor([&] { return window.count(NotifyEvent::TimeChanged) >= 3; }, 10000));
    const int64_t length = context.length();
    ASSERT_GE(length, 2900);
    EXPECT_FALSE(context.SeekTo(length + 1));

    ASSERT_TRUE(context.SeekTo(2000));
    EXPECT_TRUE(window.waitFor([&] { return context.currentTime() >= 2000; }, 2000)) << context.currentTime();

    ASSERT_TRUE(context.SkipBy(-10));
    EXPECT_TRUE(window.waitFor([&] { return context.currentTime() < 1000; }, 2000)) << context.currentTime();

    window.received.clear();
    ASSERT_TRUE(context.SkipBy(10));
    // Clamped to the length: the end comes at once instead of after the rest of the clip.
    EXPECT_TRUE(window.waitFor([&] { return window.count(NotifyEvent::EndOfMedia) > 0; }, 1500));
}

TEST_F(RealLibraryTest, SnapshotHasTheVideosOwnSizeWhileFramesComeSmaller)
{
    context.videoSink().setVideoSizeHint(QSize(mediaclips::kWidth, mediaclips::kHeight));
    context.videoSink().setDisplayArea(QSize(160, 120));
    open(Clip::AviMjpeg);
    ASSERT_TRUE(context.PlayMedia());
    ASSERT_TRUE(window.waitFor([&] { return context.videoSink().framesDelivered() >= 3; }, 10000));
    EXPECT_EQ(context.videoSink().requestedFrameSize(), QSize(160, 120));

    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("20120501_123456_1.2.png"));
    ASSERT_TRUE(context.TakeSnapshot(shot));
    QFile png(shot);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray head = png.read(24);
    ASSERT_EQ(head.size(), 24);
    EXPECT_EQ(head.left(8), QByteArray("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(head.mid(12, 4), QByteArray("IHDR"));
    EXPECT_EQ(qFromBigEndian<quint32>(head.constData() + 16), quint32(mediaclips::kWidth));
    EXPECT_EQ(qFromBigEndian<quint32>(head.constData() + 20), quint32(mediaclips::kHeight));
}

TEST_F(RealLibraryTest, StopWhilePlayingReturnsWithinTheBound)
{
    open(Clip::AviH264);
    ASSERT_TRUE(context.PlayMedia());
    ASSERT_TRUE(window.waitFor([&] { return window.count(NotifyEvent::TimeChanged) >= 2; }, 10000));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(context.StopMedia());
    EXPECT_LT(timer.elapsed(), PlayerContext::kStopWaitMs);
    EXPECT_GT(context.savedTime(), 0);
    context.CloseMedia();
    EXPECT_FALSE(context.isOpen());
}

} // namespace
