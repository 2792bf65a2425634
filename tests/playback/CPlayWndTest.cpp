// The video surface on the installed libvlc: layout, painted pixels, flips and the library's picture
// adjustment, checked on the widget's own rendering.
#include "MediaClips.h"

#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using mediaclips::Clip;

class CPlayWndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settingsDir;

    // Colour of the video window's pixel at a fraction of the painted picture.
    static QColor pictureColour(CPlayWnd& surface, double fx, double fy)
    {
        const QImage image = surface.videoWindow()->grab().toImage();
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
        const QImage image = wnd.grab().toImage();
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
        QVERIFY(context.OpenMedia(mediaclips::clipPath(Clip::AviMjpeg)));
        QVERIFY(context.PlayMedia());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.framesPainted() >= 2, 10000);

        // The library delivered the frames at the painted size.
        QCOMPARE(context.videoSink().requestedFrameSize(), QSize(267, 200));
        QCOMPARE(wnd.pictureRect(), QRect(66, 0, 267, 200));
        const QImage whole = wnd.videoWindow()->grab().toImage();
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
};

QTEST_MAIN(CPlayWndTest)
#include "CPlayWndTest.moc"
