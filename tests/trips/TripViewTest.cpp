// The trips in the window: the day strip drawn as a pure function into an image, the view's clicks turned
// into opens and seeks through its hooks, and the main window making the view only when asked for it.
#include "TripFixtures.h"

#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "catalogue/RecordingCatalogue.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/MainWindowIds.h"
#include "map/MapPanel.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "sensor/DatBytes.h"
#include "skin/CDlgMessage.h"
#include "skin/SkinModule.h"
#include "trips/CTripTimeline.h"
#include "trips/DayTimelineRenderer.h"
#include "trips/TripGrouping.h"
#include "trips/TripImpactSource.h"
#include "trips/TripView.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using tripfixtures::recording;

namespace {

class EventImpacts : public TripImpactSource
{
public:
    bool available() const override { return true; }
    std::vector<int64_t> impactOffsetsMs(const TripRecording& r) const override
    {
        return r.kind == RecordingKind::Event ? std::vector<int64_t> { 10000 } : std::vector<int64_t>();
    }
};

// 40 px an hour: the strip is 1012 px wide, the axis 960 px from x = 26.
constexpr int kWidth = 1012;

int xOf(int h, int m, int s = 0)
{
    const DayTimeline::Layout l = DayTimeline::Place(QRect(0, 0, kWidth, DayTimeline::kStripHeight));
    return DayTimeline::XOfTime(l.axis, ((h * 60 + m) * 60 + s) * 1000LL);
}

bool near(QRgb a, const QColor& b)
{
    return std::abs(qRed(a) - b.red()) < 12 && std::abs(qGreen(a) - b.green()) < 12
        && std::abs(qBlue(a) - b.blue()) < 12;
}

QByteArray drive(int seconds)
{
    QByteArray gps;
    for (int k = 0; k < seconds; ++k)
        gps += datbytes::gpsRecord(1, 37300000 + k * 100, 127000000, 20);
    return datbytes::dataFile(datbytes::sensorRecord(100), gps, 0);
}

// A first instance without the media library or the map, its start-up notices answered No.
MainWindowStartup offlineStartup(SettingsStore& store, RemovableVolumes& volumes)
{
    viewerEnvironment().firstInstance = true;
    CDlgMessage::clearNextAnswers();
    for (int i = 0; i < 5; ++i)
        CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
    MainWindowStartup s;
    s.store = &store;
    s.volumes = &volumes;
    s.checkPcCapability = [] {};
    s.chooseViewerTier = [](int tier) { return tier; };
    s.installLibraryVariant = [](int) {};
    s.loadMediaLibrary = false;
    s.mapView = false;
    return s;
}

} // namespace

class TripViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        InstallStringTable(*qApp, QStringLiteral("en"));
    }

    void stripDrawsTheDay()
    {
        TripList list = TripGrouping::Group({ recording(RecordingKind::Normal, "20260301_080000", 1800),
            recording(RecordingKind::Event, "20260301_083000", 1200),
            recording(RecordingKind::Normal, "20260301_085000", 600),
            recording(RecordingKind::Parking, "20260301_120000", 3600),
            recording(RecordingKind::Normal, "20260301_180000", 3600) });
        TripGrouping::ApplyImpacts(list, EventImpacts());
        const DayTimeline day(list, QDate(2026, 3, 1));
        QImage image(kWidth, DayTimeline::kStripHeight, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        DayTimelineRenderer::State state;
        state.playingMsIntoDay = ((18 * 60 + 30) * 60) * 1000LL;
        state.summary = QStringLiteral("Trip 2");
        DayTimelineRenderer::Paint(p, image.rect(), day, state);
        p.end();

        const DayTimeline::Layout l = DayTimeline::Place(image.rect());
        const int y = l.axis.center().y();
        QVERIFY(near(image.pixel(xOf(8, 15), y), DayTimelineRenderer::kTrip));
        QVERIFY(near(image.pixel(xOf(8, 45), y), DayTimelineRenderer::kEvent));
        QVERIFY(near(image.pixel(xOf(12, 30), y), DayTimelineRenderer::kParking));
        QVERIFY(near(image.pixel(xOf(18, 10), y), DayTimelineRenderer::kTrip));
        // No trip at ten: the bare axis (between hour lines).
        QVERIFY(near(image.pixel(xOf(10, 30), y), DayTimelineRenderer::kAxis));
        // The impact 10 s into the event, drawn over it and above the axis.
        QVERIFY(near(image.pixel(xOf(8, 30, 10), l.axis.top() - 6), DayTimelineRenderer::kImpact));
        QVERIFY(near(image.pixel(xOf(8, 30, 10), y), DayTimelineRenderer::kImpact));
        // The playing position: a white line.
        QVERIFY(near(image.pixel(xOf(18, 30), y), DayTimelineRenderer::kPlaying));
        // The summary line carries text: some light pixels in its first 60 px.
        int light = 0;
        for (int x = l.summary.left(); x < l.summary.left() + 60; ++x)
            for (int yy = l.summary.top(); yy <= l.summary.bottom(); ++yy)
                light += qGray(image.pixel(x, yy)) > 150 ? 1 : 0;
        QVERIFY(light > 20);
    }

    void viewOpensAndSeeksWhatTheStripShows()
    {
        QTemporaryDir dir;
        // Ten-minute recordings: a pixel of the strip is about a minute and a half.
        for (const char* base : { "20260301_080000", "20260301_081000", "20260302_090000" }) {
            QVERIFY(datbytes::writeFile(dir.filePath(QStringLiteral("rec_%1.avi").arg(QLatin1String(base))), "video"));
            QVERIFY(
                datbytes::writeFile(dir.filePath(QStringLiteral("rec_%1.dat").arg(QLatin1String(base))), drive(600)));
        }
        RecordingCatalogue catalogue;
        QVERIFY(catalogue.ScanCatalogueFolder(dir.path(), 0));
        catalogue.setFolder(dir.path() + QLatin1Char('/'));

        QWidget window;
        window.resize(1100, 700);
        auto* video = new QWidget(&window);
        video->setGeometry(10, 20, 1000, 600);
        window.show();

        QString playing;
        int64_t time = -1;
        QStringList opened;
        QList<int64_t> seeks;
        int messages = 0;
        TripViewHooks hooks;
        hooks.catalogue = [&]() -> const RecordingCatalogue& { return catalogue; };
        hooks.currentVideoPath = [&] { return playing; };
        hooks.currentTimeMs = [&] { return time; };
        hooks.openRecording = [&](const QString& path) {
            opened << path;
            return true;
        };
        hooks.seek = [&](int64_t ms) {
            if (playing.isEmpty())
                return false;
            seeks << ms;
            return true;
        };
        hooks.message = [&](int) { ++messages; };
        // The map view is never shown here, so its browser never starts; its commands still arrive.
        MapPanel map;
        TripView view(&window, video, &map, hooks);
        QVERIFY(!view.strip()->isVisible());
        QCOMPARE(view.trips().recordings.size(), size_t(0)); // nothing read before it is shown

        view.SetShown(true);
        QVERIFY(view.strip()->isVisible());
        // The card is read beside the window; the strip comes up at once and takes the trips when read.
        QTRY_COMPARE_WITH_TIMEOUT(view.trips().tripCount(), 2, 10000);
        QVERIFY(!view.IsReading());
        QCOMPARE(
            view.strip()->geometry(), QRect(10, 20 + 600 - DayTimeline::kStripHeight, 1000, DayTimeline::kStripHeight));
        QCOMPARE(view.strip()->day(), QDate(2026, 3, 1));

        // A click five minutes into the second recording opens it; the seek waits until the player has it.
        const DayTimeline::Layout l = DayTimeline::Place(view.strip()->rect());
        int x = l.axis.left();
        while (DayTimeline::TimeOfX(l.axis, x) < ((8 * 60 + 15) * 60) * 1000LL)
            ++x;
        QTest::mouseClick(view.strip(), Qt::LeftButton, {}, QPoint(x, l.axis.center().y()));
        QCOMPARE(opened, QStringList { dir.filePath(QStringLiteral("rec_20260301_081000.avi")) });
        QVERIFY(seeks.isEmpty());
        playing = opened.front();
        time = 0;
        QTRY_COMPARE_WITH_TIMEOUT(seeks.size(), 1, 2000);
        const int64_t msPerPixel = DayTimeline::kDayMs / (l.axis.width() - 1);
        QVERIFY(seeks.front() >= 300000 && seeks.front() <= 300000 + msPerPixel);

        // Playing, the strip marks the position and sums up the trip.
        time = 15000;
        QTRY_COMPARE_WITH_TIMEOUT(
            view.strip()->state().playingMsIntoDay.value_or(-1), ((8 * 60 + 10) * 60 + 15) * 1000LL, 2000);
        QVERIFY(view.strip()->state().summary.startsWith(QStringLiteral("Trip 1  08:00")));
        // The steady drive holds no jolt: its impacts are counted, and there are none.
        QVERIFY(view.strip()->state().summary.endsWith(QStringLiteral("0 impacts")));
        QVERIFY(view.strip()->state().hasNextDay);
        QVERIFY(!view.strip()->state().hasPreviousDay);
        QVERIFY(view.currentTrip() != nullptr);

        // The arrow steps to the next day with recordings.
        QTest::mouseClick(view.strip(), Qt::LeftButton, {}, l.nextDay.center());
        QCOMPARE(view.strip()->day(), QDate(2026, 3, 2));

        // A click on the map's route at a point of the first recording opens it at that moment.
        opened.clear();
        seeks.clear();
        const int64_t first = RecordingStartTime::FromBaseName(QStringLiteral("20260301_080000")).value();
        Q_EMIT map.AppCommand(QStringLiteral("route?at=%1").arg(first + 125000));
        QCOMPARE(opened, QStringList { dir.filePath(QStringLiteral("rec_20260301_080000.avi")) });
        playing = opened.front();
        QTRY_COMPARE_WITH_TIMEOUT(seeks, QList<int64_t> { 125000 }, 2000);
        // Within the recording being played the seek is at once.
        Q_EMIT map.AppCommand(QStringLiteral("route?at=%1").arg(first + 5000));
        QCOMPARE(seeks.size(), 2);
        QCOMPARE(seeks.back(), 5000);
        QCOMPARE(opened.size(), 1);
        // The recording's own seek is not the trips' business.
        Q_EMIT map.AppCommand(QStringLiteral("seek?ms=7000"));
        QCOMPARE(seeks.size(), 2);

        // Export of the trip being played.
        QTemporaryDir out;
        QVERIFY(view.ExportCurrentTrip(true, out.filePath(QStringLiteral("t.gpx"))));
        QVERIFY(QFile(out.filePath(QStringLiteral("t.gpx"))).size() > 1000);
        playing.clear();
        QVERIFY(!view.ExportCurrentTrip(false, out.filePath(QStringLiteral("t.kml"))));
        QCOMPARE(messages, 1);

        view.SetShown(false);
        QVERIFY(!view.strip()->isVisible());
    }

    // The card is read beside the window. A recording added while it is read is taken in by a second
    // reading, and an export asked for meanwhile waits for the list instead of finding no trip.
    void readingBesideTheWindowFollowsTheCatalogue()
    {
        QTemporaryDir dir;
        auto add = [&](const char* base) {
            QVERIFY(datbytes::writeFile(dir.filePath(QStringLiteral("rec_%1.avi").arg(QLatin1String(base))), "video"));
            QVERIFY(datbytes::writeFile(dir.filePath(QStringLiteral("rec_%1.dat").arg(QLatin1String(base))), drive(600)));
        };
        add("20260301_080000");
        RecordingCatalogue catalogue;
        QVERIFY(catalogue.ScanCatalogueFolder(dir.path(), 0));
        catalogue.setFolder(dir.path() + QLatin1Char('/'));

        QWidget window;
        window.resize(1100, 700);
        auto* video = new QWidget(&window);
        video->setGeometry(10, 20, 1000, 600);
        window.show();
        QString playing;
        int messages = 0;
        TripViewHooks hooks;
        hooks.catalogue = [&]() -> const RecordingCatalogue& { return catalogue; };
        hooks.currentVideoPath = [&] { return playing; };
        hooks.currentTimeMs = [&] { return int64_t(0); };
        hooks.openRecording = [&](const QString&) { return true; };
        hooks.seek = [&](int64_t) { return true; };
        hooks.message = [&](int) { ++messages; };
        TripView view(&window, video, nullptr, hooks);

        view.SetShown(true);
        QVERIFY(view.IsReading());
        // a second drive the next day, found by a rescan while the first reading runs
        add("20260302_090000");
        QVERIFY(catalogue.ScanCatalogueFolder(dir.path(), 0));
        QTRY_COMPARE_WITH_TIMEOUT(view.trips().tripCount(), 2, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!view.IsReading(), 10000);
        QCOMPARE(view.strip()->day(), QDate(2026, 3, 1));

        // an export right after the view is shown again over a changed card
        add("20260303_100000");
        QVERIFY(catalogue.ScanCatalogueFolder(dir.path(), 0));
        view.SetShown(false);
        view.SetShown(true);
        playing = dir.filePath(QStringLiteral("rec_20260303_100000.avi"));
        QTemporaryDir out;
        QVERIFY(view.ExportCurrentTrip(true, out.filePath(QStringLiteral("t.gpx"))));
        QCOMPARE(messages, 0);
        QCOMPARE(view.trips().tripCount(), 3);
        QVERIFY(!view.IsReading());
    }

    void windowMakesTheViewOnlyWhenAsked()
    {
        QTemporaryDir settingsDir;
        SettingsStore store(settingsDir.path());
        FixedRemovableVolumes noVolumes { QStringList() };
        QTemporaryDir card;
        QVERIFY(datbytes::writeFile(card.filePath(QStringLiteral("rec_20260301_080000.avi")), QByteArray(600, 'v')));
        CKorvanePCPlayerDlg w(card.path());
        const MainWindowStartup s = offlineStartup(store, noVolumes);
        w.InitDialog(s);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.hasTripView());
        QVERIFY(!w.findChild<CTripTimeline*>());

        std::unique_ptr<QMenu> menu = w.createContextMenu();
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        // The window's own menu stays as it is; the trips have their menu on the strip.
        QVERIFY(!texts.contains(QStringLiteral("Trip timeline")));
        QVERIFY(!w.hasTripView());

        QTest::keyClick(&w, Qt::Key_T);
        QVERIFY(w.hasTripView());
        QVERIFY(w.tripView().IsShown());
        QVERIFY(w.tripView().strip()->isVisible());
        const QRect video(w.playWnd()->mapTo(w.tripView().strip()->parentWidget(), QPoint(0, 0)), w.playWnd()->size());
        QCOMPARE(w.tripView().strip()->geometry().bottom(), video.bottom());
        QCOMPARE(w.tripView().strip()->width(), video.width());
        std::unique_ptr<QMenu> tripMenu = w.tripView().CreateMenu();
        QStringList tripTexts;
        for (QAction* a : tripMenu->actions())
            tripTexts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(tripTexts, QStringList({ "Trip timeline", "-", "Export trip as GPX...", "Export trip as KML..." }));
        QVERIFY(tripMenu->actions().at(0)->isChecked());
        QVERIFY(!tripMenu->actions().at(2)->isEnabled()); // nothing is played: no trip to export
        tripMenu->actions().at(0)->trigger();
        QVERIFY(!w.tripView().IsShown());
        QTest::keyClick(&w, Qt::Key_T);
        QVERIFY(w.tripView().IsShown());
        QTest::keyClick(&w, Qt::Key_T);
        QVERIFY(!w.tripView().IsShown());
        QVERIFY(!w.tripView().strip()->isVisible());
        w.Command(mainwindow::CmdTripTimeline);
        QVERIFY(w.tripView().IsShown());
    }

    // The video's right-click menu reaches the strip too: its entries come after the window's own, and
    // opening the menu does not make the view.
    void videoMenuShowsAndHidesTheStrip()
    {
        QTemporaryDir settingsDir;
        SettingsStore store(settingsDir.path());
        FixedRemovableVolumes noVolumes { QStringList() };
        QTemporaryDir card;
        QVERIFY(datbytes::writeFile(card.filePath(QStringLiteral("rec_20260301_080000.avi")), QByteArray(600, 'v')));
        CKorvanePCPlayerDlg w(card.path());
        const MainWindowStartup s = offlineStartup(store, noVolumes);
        QSignalSpy settled(&w, &CKorvanePCPlayerDlg::startupPlaybackSettled);
        w.InitDialog(s);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Start-up's open of row 0 (nothing plays without a media library) is over before the menu is used.
        QTRY_COMPARE_WITH_TIMEOUT(settled.count(), 1, 10000);

        // The menu as the window's right button builds it.
        auto videoMenu = [&w] {
            std::unique_ptr<QMenu> menu = w.createContextMenu();
            Q_EMIT w.videoMenuAboutToShow(menu.get());
            return menu;
        };
        std::unique_ptr<QMenu> menu = videoMenu();
        QVERIFY(!w.hasTripView());
        QVERIFY(!w.findChild<CTripTimeline*>());
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QStringList ownTexts;
        const std::unique_ptr<QMenu> ownMenu = w.createContextMenu();
        for (QAction* a : ownMenu->actions())
            ownTexts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts.mid(0, ownTexts.size()), ownTexts);
        QCOMPARE(texts.mid(texts.size() - 4),
            QStringList({ "-", "Trip timeline", "Export trip as GPX...", "Export trip as KML..." }));
        QAction* timeline = menu->actions().at(texts.indexOf(QStringLiteral("Trip timeline")));
        QVERIFY(timeline->isCheckable());
        QVERIFY(!timeline->isChecked());
        QCOMPARE(timeline->data().toInt(), 0); // the menu's own command run after a choice does nothing more

        timeline->trigger();
        QVERIFY(w.hasTripView());
        QVERIFY(w.tripView().IsShown());
        QVERIFY(w.tripView().strip()->isVisible());

        menu = videoMenu();
        timeline = menu->actions().at(texts.indexOf(QStringLiteral("Trip timeline")));
        QVERIFY(timeline->isChecked());
        timeline->trigger();
        QVERIFY(!w.tripView().IsShown());
        QVERIFY(!w.tripView().strip()->isVisible());

        // Nothing is played: the export entry says so in the viewer's message box.
        CDlgMessage::clearNextAnswers();
        CDlgMessage::takeAsked();
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        menu = videoMenu();
        menu->actions().at(texts.indexOf(QStringLiteral("Export trip as GPX...")))->trigger();
        const QList<CDlgMessage::Asked> asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().text, StringById(TripView::kStrNoTrip));
    }
};

QTEST_MAIN(TripViewTest)
#include "TripViewTest.moc"
