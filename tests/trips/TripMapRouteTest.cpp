// The whole trip on the map page, on the real browser engine offscreen with the network closed: the route
// drawn from its own input beside the recording's track, and a click on a part of the route that belongs to
// another recording coming back as the moment to play.
#include "TripFixtures.h"

#include "app/StringTables.h"
#include "map/CHtmlMap.h"
#include "map/MapNetworkGate.h"
#include "trips/DayTimeline.h"
#include "trips/TripGrouping.h"
#include "trips/TripMapRoute.h"
#include "trips/TripRoute.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

namespace {

constexpr int kWaitMs = 15000;

QVariant eval(CHtmlMap& map, const QString& script)
{
    QVariant result;
    bool done = false;
    map.page()->runJavaScript(script, QWebEngineScript::MainWorld, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning() << "no answer from the page to" << script;
    return result;
}

// Two one-minute recordings driving north, then east.
TripList twoRecordings()
{
    TripRecording a = tripfixtures::driveNorth(RecordingKind::Normal, "20260301_080000", 60, 37.55, 127.02, 15.0);
    TripRecording b = tripfixtures::driveNorth(RecordingKind::Event, "20260301_080100", 60, 0, 0, 15.0);
    const TripFix last = a.fixes.back();
    for (TripFix& f : b.fixes) {
        f.latitude = last.latitude;
        f.longitude = last.longitude + (f.second + 1) * 15.0 / (tripfixtures::kMetresPerDegreeLat * 0.7923);
    }
    return TripGrouping::Group({ a, b });
}

} // namespace

class TripMapRouteTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(InstallStringTable(*qApp, QStringLiteral("en"))); }

    void theRouteIsDrawnAndAClickOnItGivesTheMomentToPlay()
    {
        const TripList list = twoRecordings();
        QCOMPARE(list.tripCount(), 1);
        const TripRoute route = TripRoute::Build(list, *list.trip(1));
        QCOMPARE(route.pointCount(), 120);

        CHtmlMap map;
        map.resize(360, 360);
        // The recording being played is the second; its own track as the viewer writes it.
        QList<mappages::TrackPoint> track;
        for (const RouteMeter::Point& p : route.segments[1].points)
            track.append({ p.timeMs - list.recordings[1].startMs, FormatMapCoordinate(p.longitude),
                FormatMapCoordinate(p.latitude) });
        map.SetPageInput(QString::fromLatin1(TripMapRoute::kInputName), TripMapRoute::InputText(route));
        map.SetTrack(track);
        map.SetPosition(track[10].lon, track[10].lat);
        map.NavigateToDefaultPage(0);
        map.show();
        map.StartBrowser();
        QVERIFY(QTest::qWaitFor([&] { return map.IsDocumentLoaded(); }, 30000));
        QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.routePoints")).toInt(), 120, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 60, kWaitMs);
        // The whole trip is in view, not only the recording's part.
        QCOMPARE(eval(map,
                     QStringLiteral("KorvaneMap.map.getBounds().contains(L.latLng(%1, %2))")
                         .arg(route.segments[0].points.front().latitude, 0, 'f', 6)
                         .arg(route.segments[0].points.front().longitude, 0, 'f', 6))
                     .toBool(),
            true);
        QTest::qWait(300);

        // A click on the first recording's part of the route: point 20 of the route.
        QSignalSpy commands(&map, &CHtmlMap::AppCommand);
        QSignalSpy seeks(&map, &CHtmlMap::SeekRequested);
        const QVariantMap p = eval(map, QStringLiteral("KorvaneMap.routePointOnScreen(20)")).toMap();
        const QPoint at(
            qRound(p.value(QStringLiteral("x")).toDouble()), qRound(p.value(QStringLiteral("y")).toDouble()));
        QWidget* input = map.browser()->focusProxy();
        QVERIFY(input);
        QTest::mouseMove(input, at);
        QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, at);
        QTRY_COMPARE_WITH_TIMEOUT(commands.count(), 1, kWaitMs);
        QCOMPARE(seeks.count(), 0); // not a seek within the recording being played
        const std::optional<int64_t> time = TripMapRoute::TimeFromCommand(commands.at(0).at(0).toString());
        QVERIFY(time.has_value());
        const std::optional<DayTimeline::Moment> moment = DayTimeline::MomentAtTime(list, *time);
        QVERIFY(moment.has_value());
        QCOMPARE(moment->recording, 0);
        // The nearest point to the click: within two points of 20 s.
        QVERIFY2(moment->offsetMs >= 18000 && moment->offsetMs <= 22000, qPrintable(QString::number(moment->offsetMs)));

        // Clearing the input takes the route away and leaves the track.
        map.SetPageInput(QString::fromLatin1(TripMapRoute::kInputName), QString());
        QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.routePoints")).toInt(), 0, kWaitMs);
        QCOMPARE(eval(map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 60);
    }
};

int main(int argc, char** argv)
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    MapNetworkGate::SetNetworkAllowed(false);
    CHtmlMap::PrepareBrowserEngine();
    QApplication app(argc, argv);
    TripMapRouteTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TripMapRouteTest.moc"
