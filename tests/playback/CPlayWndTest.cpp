// The video surface on the installed libvlc: layout, painted pixels, flips and the library's picture
// adjustment. Offscreen they are checked on the widget's own rendering; on an X server (the test's twin runs
// on one) on what the server shows in the window, where frames are put from shared memory.
#include "MediaClips.h"

#include "app/NotifyEvent.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "playback/Magnifier.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"
#include "playback/PlayerController.h"
#include "playback/PlayerControllerHost.h"
#include "playback/VideoFrameSink.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

using mediaclips::Clip;

class CPlayWndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settingsDir;

    static bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

    // The window's pixels as shown: on X11 read back from the server after a paint, elsewhere rendered.
    static QImage shown(QWidget* window)
    {
        if (!onX11())
            return window->grab().toImage();
        window->repaint();
        return window->screen()->grabWindow(window->winId()).toImage();
    }

    // Colour of the video window's pixel at a fraction of the painted picture.
    static QColor pictureColour(CPlayWnd& surface, double fx, double fy)
    {
        const QImage image = shown(surface.videoWindow());
        const QRect picture = surface.pictureRect();
        return image.pixelColor(picture.left() + int(fx * picture.width()), picture.top() + int(fy * picture.height()));
    }

    static bool near(const QColor& c, int r, int g, int b)
    {
        return qAbs(c.red() - r) < 60 && qAbs(c.green() - g) < 60 && qAbs(c.blue() - b) < 60;
    }

private Q_SLOTS:
    void initTestCase()
    {
        viewerEnvironment().viewerTier = int(ViewerTier::High);
        QVERIFY2(LoadMediaLibrary(), qPrintable(MediaLibraryProblem()));
        QVERIFY(!mediaclips::clipPath(Clip::AviMjpeg).isEmpty());
    }

    void layoutFollowsTheVideoSize_data()
    {
        QTest::addColumn<QSize>("surface");
        QTest::addColumn<QSize>("video");
        QTest::addColumn<QRect>("inner");
        QTest::newRow("fits: own size centred") << QSize(800, 450) << QSize(320, 240) << QRect(240, 105, 320, 240);
        QTest::newRow("too large: whole area") << QSize(800, 450) << QSize(1920, 1080) << QRect(0, 0, 800, 450);
        QTest::newRow("too high: whole area") << QSize(800, 450) << QSize(640, 480) << QRect(0, 0, 800, 450);
    }

    void layoutFollowsTheVideoSize()
    {
        QFETCH(QSize, surface);
        QFETCH(QSize, video);
        QFETCH(QRect, inner);
        CPlayWnd wnd;
        wnd.resize(surface);
        QCOMPARE(wnd.videoWindow()->geometry().size(), QSize(0, 0)); // nothing known yet
        wnd.setVideoSize(video.width(), video.height());
        QCOMPARE(wnd.videoWindow()->geometry(), inner);
        wnd.resize(surface + QSize(100, 100));
        wnd.resize(surface);
        QCOMPARE(wnd.videoWindow()->geometry(), inner);
    }

    void emptySurfaceIsBlack()
    {
        CPlayWnd wnd;
        wnd.resize(200, 100);
        wnd.setVideoSize(320, 240);
        wnd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wnd));
        const QImage image = onX11() ? wnd.screen()->grabWindow(wnd.winId()).toImage() : wnd.grab().toImage();
        QCOMPARE(image.pixelColor(10, 10), QColor(Qt::black));
        QCOMPARE(image.pixelColor(150, 80), QColor(Qt::black));
    }

    void paintsFlipsAndAdjustsTheFrames()
    {
        SettingsStore store(m_settingsDir.path());
        PlayerContext context;
        QVERIFY(CreateMediaPlayer(context, store));
        CPlayWnd wnd;
        wnd.resize(400, 200); // lower than the video: the picture is scaled to 267 x 200 with bars
        wnd.setVideoSize(mediaclips::kWidth, mediaclips::kHeight);
        QVERIFY(wnd.attachPlayer(context));
        wnd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wnd));
        // On X11 the frames go to the server from shared memory, not through Qt's window buffer.
        QCOMPARE(wnd.presentsNatively(), onX11());
        // Every new painted frame is announced once, as it is painted (the start-up's ready file waits for
        // the first); repaints of the same frame are not.
        uint64_t paintedAtSignal = 0;
        int announced = 0;
        connect(&wnd, &CPlayWnd::framePainted, this, [&] {
            ++announced;
            paintedAtSignal = wnd.framesPainted();
        });
        QCOMPARE(wnd.framesPainted(), uint64_t(0));
        QVERIFY(context.OpenMedia(mediaclips::clipPath(Clip::AviMjpeg)));
        QVERIFY(context.PlayMedia());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.framesPainted() >= 2, 10000);
        QVERIFY(announced >= 1);
        QCOMPARE(paintedAtSignal, uint64_t(announced));
        // A repaint announces only when it paints a new frame: the announcements always match the count.
        context.SetPaused(true);
        QTest::qWait(100);
        wnd.videoWindow()->repaint();
        wnd.videoWindow()->repaint();
        QCOMPARE(uint64_t(announced), wnd.framesPainted());

        // The library delivered the frames at the painted size.
        QCOMPARE(context.videoSink().requestedFrameSize(), QSize(267, 200));
        QCOMPARE(wnd.pictureRect(), QRect(66, 0, 267, 200));
        const QImage whole = shown(wnd.videoWindow());
        QCOMPARE(whole.pixelColor(20, 100), QColor(Qt::black)); // bar
        QCOMPARE(whole.pixelColor(380, 100), QColor(Qt::black));

        struct Expect
        {
            int r, g, b;
        };
        const auto check = [&](const char* what, Expect tl, Expect tr, Expect bl, Expect br) {
            const QColor c[4] = { pictureColour(wnd, 0.25, 0.25), pictureColour(wnd, 0.75, 0.25),
                pictureColour(wnd, 0.25, 0.75), pictureColour(wnd, 0.75, 0.75) };
            const Expect e[4] = { tl, tr, bl, br };
            for (int i = 0; i < 4; ++i)
                QVERIFY2(near(c[i], e[i].r, e[i].g, e[i].b),
                    qPrintable(QStringLiteral("%1, quarter %2: %3").arg(what).arg(i).arg(c[i].name())));
        };
        const Expect yellow { 255, 255, 0 }, green { 0, 255, 0 }, red { 255, 0, 0 }, black { 0, 0, 0 };
        check("unflipped", yellow, green, red, black);
        QVERIFY(context.RotateOn(1)); // first flip: left and right change places
        check("first flip", green, yellow, black, red);
        QVERIFY(context.RotateOn(0)); // second flip alone: upside down
        check("second flip", red, black, yellow, green);
        QVERIFY(context.RotateOn(2)); // both
        check("both flips", black, red, green, yellow);
        QVERIFY(context.RotateOff());
        check("flips off", yellow, green, red, black);

        // The library's adjust filter changes the frames it delivers: raised brightness lifts the black
        // quarter.
        const int before = pictureColour(wnd, 0.75, 0.75).value();
        QVERIFY(context.ApplyPicture(1.6f, 1.0f));
        QTRY_VERIFY_WITH_TIMEOUT(pictureColour(wnd, 0.75, 0.75).value() > before + 60, 5000);
        QVERIFY(context.ApplyPicture(1.0f, 1.0f));
        QTRY_VERIFY_WITH_TIMEOUT(pictureColour(wnd, 0.75, 0.75).value() < before + 30, 5000);
        QVERIFY(context.StopMedia());
    }

    void magnifierShowsTheRegionFromFullFrames()
    {
        SettingsStore store(m_settingsDir.path());
        PlayerContext context;
        QVERIFY(CreateMediaPlayer(context, store));
        CPlayWnd wnd;
        wnd.resize(200, 150); // smaller than the video: normal frames come at 200 x 150
        wnd.setVideoSize(mediaclips::kWidth, mediaclips::kHeight);
        Magnifier magnifier;
        magnifier.setAllowed(true);
        wnd.setMagnifier(&magnifier);
        QVERIFY(wnd.attachPlayer(context));
        wnd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wnd));
        QVERIFY(context.OpenMedia(mediaclips::clipPath(Clip::AviMjpeg)));
        QVERIFY(context.PlayMedia());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.framesPainted() >= 2, 10000);
        QCOMPARE(context.videoSink().requestedFrameSize(), QSize(200, 150));

        // On: the running video restarts its output at the video's own size.
        QVERIFY(context.SetMagnifier(true));
        magnifier.setOn(true);
        magnifier.setGaugeOffset(Magnifier::kArmedOffset);
        QTRY_COMPARE_WITH_TIMEOUT(context.videoSink().requestedFrameSize(), QSize(320, 240), 5000);
        const uint64_t painted = wnd.framesPainted();
        QTRY_VERIFY_WITH_TIMEOUT(wnd.framesPainted() > painted, 5000);

        // 2x on the top-left quarter: the yellow quarter fills the picture (outside overview and gauge).
        magnifier.setRegionCentre(QPointF(0.25, 0.25));
        QVERIFY(near(pictureColour(wnd, 0.5, 0.5), 255, 255, 0));
        QVERIFY(near(pictureColour(wnd, 0.3, 0.9), 255, 255, 0));
        QVERIFY(near(pictureColour(wnd, 0.95, 0.95), 255, 255, 0));
        // The overview shows the whole frame: its bottom-left quarter is red.
        const MagnifierLayout layout = magnifier.layout(QSize(320, 240), wnd.pictureRect(), 0);
        const QImage shot = shown(wnd.videoWindow());
        const QPoint overviewRed
            = layout.overview.topLeft() + QPoint(layout.overview.width() / 4, layout.overview.height() * 3 / 4 + 1);
        QVERIFY2(near(shot.pixelColor(overviewRed), 255, 0, 0), qPrintable(shot.pixelColor(overviewRed).name()));

        // The region follows the picture as seen: with the first flip, the seen bottom-left is the
        // frame's bottom-right (black).
        magnifier.setRegionCentre(QPointF(0.25, 0.75));
        QVERIFY(near(pictureColour(wnd, 0.5, 0.5), 255, 0, 0));
        QVERIFY(context.RotateOn(1));
        QVERIFY(near(pictureColour(wnd, 0.5, 0.5), 0, 0, 0));
        QVERIFY(context.RotateOff());

        // A wheel notch away from the user is one gauge step.
        QWheelEvent wheel(QPointF(100, 75), wnd.videoWindow()->mapToGlobal(QPointF(100, 75)), QPoint(), QPoint(0, 120),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(wnd.videoWindow(), &wheel);
        QCOMPARE(magnifier.gaugeOffset(), Magnifier::kArmedOffset - 1);

        // Off: normal frames again.
        magnifier.setOn(false);
        QVERIFY(context.SetMagnifier(false));
        QTRY_COMPARE_WITH_TIMEOUT(context.videoSink().requestedFrameSize(), QSize(200, 150), 5000);
        QVERIFY(context.StopMedia());
    }

    void wheelDoesNothingBelowTheHighTier()
    {
        CPlayWnd wnd;
        wnd.resize(200, 150);
        wnd.setVideoSize(320, 240);
        Magnifier magnifier; // not allowed
        magnifier.setOn(true);
        wnd.setMagnifier(&magnifier);
        QWheelEvent wheel(QPointF(100, 75), QPointF(100, 75), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(wnd.videoWindow(), &wheel);
        QCOMPARE(magnifier.gaugeOffset(), Magnifier::kArmedOffset);
        QVERIFY(!wheel.isAccepted());
    }

    void snapshotIsThePictureAsSeenAtTheVideosSize()
    {
        SettingsStore store(m_settingsDir.path());
        PlayerContext context;
        QVERIFY(CreateMediaPlayer(context, store));
        CPlayWnd wnd;
        wnd.resize(160, 120);
        wnd.setVideoSize(mediaclips::kWidth, mediaclips::kHeight);
        QVERIFY(wnd.attachPlayer(context));
        wnd.show();
        QVERIFY(context.OpenMedia(mediaclips::clipPath(Clip::AviMjpeg)));
        QVERIFY(context.PlayMedia());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.framesPainted() >= 2, 10000);
        QVERIFY(context.RotateOn(1)); // the first flip: left and right change places
        QTemporaryDir dir;
        const QString shot = dir.filePath(QStringLiteral("20120501_123456_0.5.png"));
        QVERIFY(context.TakeSnapshot(shot));
        const QImage image(shot);
        QCOMPARE(image.size(), QSize(mediaclips::kWidth, mediaclips::kHeight));
        QVERIFY2(near(image.pixelColor(80, 60), 0, 255, 0), qPrintable(image.pixelColor(80, 60).name()));
        QVERIFY(near(image.pixelColor(240, 60), 255, 255, 0));
        QVERIFY(near(image.pixelColor(80, 180), 0, 0, 0));
        QVERIFY(context.StopMedia());
    }

    void forwardNearTheEndSeeksToTheEnd()
    {
        struct Window : QObject
        {
            int ends = 0;
            bool event(QEvent* e) override
            {
                if (e->type() == NotifyEvent::eventType()
                    && static_cast<NotifyEvent*>(e)->code() == NotifyEvent::EndOfMedia)
                    ++ends;
                return QObject::event(e);
            }
        } window;
        SettingsStore store(m_settingsDir.path());
        PlayerContext context;
        QVERIFY(CreateMediaPlayer(context, store));
        context.setMainWindow(&window);
        CPlayWnd wnd;
        wnd.resize(160, 120);
        QVERIFY(wnd.attachPlayer(context));
        PlayerControllerHost host;
        PlayerController controller(context, host);
        controller.PlayRecording(mediaclips::clipPath(Clip::AviMjpeg));
        QVERIFY(controller.isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isTimerActive(0), 3000);
        QVERIFY(controller.recordingLength() >= 2900);
        controller.Pause();
        // 2.5 s before the end of the clip: Forward's 10 s are clamped to the end, and the paused player
        // resumes there at once.
        QVERIFY(context.SeekTo(500));
        QTRY_VERIFY_WITH_TIMEOUT(context.currentTime() >= 400, 3000);
        QElapsedTimer timer;
        timer.start();
        controller.Forward();
        QVERIFY(controller.isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(window.ends > 0, 2000);
        // At the end at once, not after the remaining 2.5 s of the clip.
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
        context.StopMedia();
    }
};

QTEST_MAIN(CPlayWndTest)
#include "CPlayWndTest.moc"
