// The map view on the real browser engine, offscreen, with the network closed: the bundled pages, the
// input walk, the "app:" rule, the track seek through the player (on the fake media library) and the
// offline drawing.
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"
#include "map/CHtmlMap.h"
#include "map/MapNetworkGate.h"
#include "map/MapPanel.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

namespace {

// Generous: the engine shares two cores with whole builds.
constexpr int kWaitMs = 15000;

const QString kPageBase = QStringLiteral("korvane://maps.korvane/_mapapi/korvane/");

// The value of a script run in the page's own world (the test reading the page), waited for.
QVariant eval(CHtmlMap& map, const QString& script, quint32 world = QWebEngineScript::MainWorld)
{
    QVariant result;
    bool done = false;
    map.page()->runJavaScript(script, world, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning() << "no answer from the page to" << script;
    return result;
}

bool waitLoaded(CHtmlMap& map)
{
    return QTest::qWaitFor([&] { return map.IsDocumentLoaded(); }, 30000);
}

// A map view with its browser started on html of the test's own, at a page address of the viewer.
void loadHtml(CHtmlMap& map, const QString& html)
{
    map.resize(300, 300);
    map.show();
    map.StartBrowser();
    map.page()->setHtml(html, QUrl(kPageBase + QStringLiteral("test.html")));
}

// The drive of the tests: 20 seconds going north-east in Seoul.
QList<mappages::TrackPoint> testTrack()
{
    QList<mappages::TrackPoint> points;
    for (int i = 0; i < 20; ++i)
        points.append(
            { i * 1000, QString::asprintf("%lf", 127.02 + i * 0.0005), QString::asprintf("%lf", 37.55 + i * 0.0003) });
    return points;
}

// What both the view and its stand-in are asked before a browser runs: Korea's page, a position, a track.
void askBeforeTheBrowser(MapView& view)
{
    view.widget()->resize(300, 300);
    view.NavigateToDefaultPage(82);
    view.SetPosition(QStringLiteral("126.978000"), QStringLiteral("37.566500"));
    view.SetTrack(testTrack());
}

QPoint pagePoint(CHtmlMap& map, const QString& script)
{
    const QVariantMap p = eval(map, script).toMap();
    return QPoint(qRound(p.value(QStringLiteral("x")).toDouble()), qRound(p.value(QStringLiteral("y")).toDouble()));
}

// Keeps the keys that reach it.
class KeyRecorder : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.append(event->key()); }
};

bool isRed(QColor c)
{
    return c.red() > 190 && c.green() < 90 && c.blue() < 90;
}

bool isTrackBlue(QColor c)
{
    return c.blue() > 150 && c.blue() - c.red() > 60;
}

} // namespace

class MapViewTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(InstallStringTable(*qApp, QStringLiteral("en"))); }

    void everyTextInputNamedXOrYIsSetFromOurSide()
    {
        CHtmlMap map;
        // The page's own script replaces what a walk in its world would use; ours must not notice.
        loadHtml(map, QStringLiteral(R"(<html><body>
            <form id="a"><input type="text" name="X" id="x1"><input type="text" name="x" id="lx" value="keep"></form>
            <p>between</p>
            <form id="b"><input name="Y" id="y1"><input type="text" name="X" id="x2">
              <input type="hidden" name="X" id="hx" value="h"><textarea name="X" id="tx">t</textarea>
              <input type="text" name="XY" id="xy" value="keep"><input type="text" name="Y" id="y2"></form>
            <script>
              window.hijacked = false;
              Array.prototype.indexOf = function () { window.hijacked = true; return -1; };
              document.getElementsByTagName = function () { window.hijacked = true; return []; };
              Object.defineProperty(HTMLInputElement.prototype, 'value',
                  { set: function () { window.hijacked = true; }, get: function () { return 'page'; } });
            </script></body></html>)"));
        QVERIFY(waitLoaded(map));
        map.SetPosition(QStringLiteral("127.026130"), QStringLiteral("37.552057"));
        // The page's replaced getter hides the values from its own world; a world of the test's sees them.
        const QString read
            = QStringLiteral("(function(){ var r = {}; ['x1','x2','lx','y1','y2','hx','xy','tx'].forEach("
                             "function (id) { r[id] = document.getElementById(id).value; }); return r; })()");
        QVariant values;
        QTRY_COMPARE_WITH_TIMEOUT(
            (values = eval(map, read, QWebEngineScript::UserWorld)).toMap().value("x2").toString(),
            QStringLiteral("127.026130"), kWaitMs);
        const QVariantMap v = values.toMap();
        QCOMPARE(v.value("x1").toString(), QStringLiteral("127.026130"));
        QCOMPARE(v.value("x2").toString(), QStringLiteral("127.026130"));
        QCOMPARE(v.value("y1").toString(), QStringLiteral("37.552057"));
        QCOMPARE(v.value("y2").toString(), QStringLiteral("37.552057"));
        QCOMPARE(v.value("lx").toString(), QStringLiteral("keep"));
        QCOMPARE(v.value("xy").toString(), QStringLiteral("keep"));
        QCOMPARE(v.value("hx").toString(), QStringLiteral("h"));
        QCOMPARE(v.value("tx").toString(), QStringLiteral("t"));
        QCOMPARE(eval(map, QStringLiteral("window.hijacked")).toBool(), false);
    }

    void appLinksGoToTheHookAndDoNotNavigate_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("command");
        QTest::addColumn<qint64>("seekMs");
        QTest::newRow("lower") << "app:anything"
                               << "anything" << qint64(-1);
        QTest::newRow("upper") << "APP:Open?x=1"
                               << "Open?x=1" << qint64(-1);
        QTest::newRow("seek") << "App:seek?ms=1500"
                              << "seek?ms=1500" << qint64(1500);
    }

    void appLinksGoToTheHookAndDoNotNavigate()
    {
        QFETCH(QString, href);
        QFETCH(QString, command);
        QFETCH(qint64, seekMs);
        CHtmlMap map;
        loadHtml(map,
            QStringLiteral("<html><body><a id='l' href='%1'>go</a><a id='n' href='map_daum.html'>daum</a>"
                           "<script>window.stay = 42;</script></body></html>")
                .arg(href));
        QVERIFY(waitLoaded(map));
        QSignalSpy commands(&map, &CHtmlMap::AppCommand);
        QSignalSpy seeks(&map, &CHtmlMap::SeekRequested);
        QSignalSpy completes(&map, &CHtmlCtrl::DocumentComplete);
        eval(map, QStringLiteral("document.getElementById('l').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(commands.count(), 1, kWaitMs);
        QCOMPARE(commands.at(0).at(0).toString(), command);
        QCOMPARE(seeks.count(), seekMs >= 0 ? 1 : 0);
        if (seekMs >= 0)
            QCOMPARE(seeks.at(0).at(0).toLongLong(), seekMs);
        QTest::qWait(300);
        // Still the same document, which still takes positions.
        QCOMPARE(completes.count(), 0);
        QCOMPARE(eval(map, QStringLiteral("window.stay")).toInt(), 42);
        QCOMPARE(map.page()->url().toString(), kPageBase + QStringLiteral("test.html"));
        QVERIFY(map.IsDocumentLoaded());

        // An ordinary link still navigates.
        eval(map, QStringLiteral("document.getElementById('n').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(completes.count(), 1, 15000);
        QCOMPARE(completes.at(0).at(0).toBool(), true);
        QCOMPARE(map.page()->url().path(), QStringLiteral("/_mapapi/korvane/map_daum.html"));
        QCOMPARE(commands.count(), 1);
    }

    void defaultPagePerTableAndCountry()
    {
        struct Case
        {
            const char* table;
            int country;
            const char* page;
            QString provider;
        };
        const Case cases[] = {
            { "en", 1, "map_google_singapore.html", QStringLiteral("Google") },
            { "ko", 82, "map_naver.html", QStringLiteral("네이버") },
            { "en", 82, "map_naver.html", QStringLiteral("네이버") },
            { "ko", 1, "map_google.html", QStringLiteral("구글") },
            { "en_AU", 61, "map_google_australia.html", QStringLiteral("Google") },
            { "ja", 81, "map_google_japan.html", QStringLiteral("Google") },
        };
        // One view for all: a new one per case would start a page process each time.
        CHtmlMap map;
        map.resize(300, 300);
        map.show();
        map.StartBrowser();
        QSignalSpy completes(&map, &CHtmlCtrl::DocumentComplete);
        for (const Case& c : cases) {
            const QString page = QString::fromLatin1(c.page);
            QVERIFY(InstallStringTable(*qApp, QString::fromLatin1(c.table)));
            completes.clear();
            map.NavigateToDefaultPage(c.country);
            QCOMPARE(map.requestedAddress(), kPageBase + page);
            QTRY_COMPARE_WITH_TIMEOUT(completes.count(), 1, 30000);
            QVERIFY2(completes.at(0).at(0).toBool(), c.page);
            QCOMPARE(map.page()->url().toString(), kPageBase + page);
            // The bundled page itself, with Leaflet, not an error page.
            QCOMPARE(eval(map, QStringLiteral("korvaneMapState.provider")).toString(), c.provider);
            QCOMPARE(eval(map, QStringLiteral("typeof L.map")).toString(), QStringLiteral("function"));
        }
        QVERIFY(InstallStringTable(*qApp, QStringLiteral("en")));
    }

    void theBrowserStartsLateAndKeepsWhatWasAsked()
    {
        CHtmlMap map;
        askBeforeTheBrowser(map);
        map.show();
        QVERIFY(!map.HasBrowser());
        // Until then the view shows the map's ground, not a white box.
        QCOMPARE(map.grab().toImage().pixelColor(150, 150), QColor(0xee, 0xf0, 0xea));
        QTest::qWait(CHtmlMap::kStartDelayMs / 2);
        QVERIFY(!map.HasBrowser());
        QTRY_VERIFY_WITH_TIMEOUT(map.HasBrowser(), kWaitMs);
        QVERIFY(waitLoaded(map));
        QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("JSON.stringify(korvaneMapState.marker)")).toString(),
            QStringLiteral("[37.5665,126.978]"), kWaitMs);
        QCOMPARE(eval(map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 20);

        // Its edge and scroll bars lie outside the visible area.
        const int bar = map.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &map);
        const QRect client = map.contentsRect();
        QCOMPARE(map.browser()->geometry(), QRect(-2, -2, client.width() + 4 + bar, client.height() + 4 + bar));
        map.resize(320, 280);
        QCOMPARE(map.browser()->geometry(), QRect(-2, -2, 318 + 4 + bar, 278 + 4 + bar));
    }

    // The window's panel: the view's look from the start, the module's view only when asked for, and then
    // the page, position and track asked before, and later ones straight on; the view's seeks come out.
    void thePanelStandsInForTheViewAndHandsOnWhatWasAsked()
    {
        MapPanel panel;
        askBeforeTheBrowser(panel);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(panel.grab().toImage().pixelColor(150, 150), QColor(0xee, 0xf0, 0xea));
        QVERIFY(!panel.HasView());
        QSignalSpy created(&panel, &MapPanel::ViewCreated);
        panel.LoadModule();
        QTRY_COMPARE_WITH_TIMEOUT(created.count(), 1, kWaitMs);
        QCOMPARE(created.first().first().toBool(), true);
        auto* map = qobject_cast<CHtmlMap*>(panel.view()->widget());
        QVERIFY(map);
        QCOMPARE(map->geometry(), panel.rect());
        QCOMPARE(map->requestedAddress(), StringById(202));
        QTRY_VERIFY_WITH_TIMEOUT(map->HasBrowser(), kWaitMs);
        QVERIFY(waitLoaded(*map));
        QTRY_COMPARE_WITH_TIMEOUT(eval(*map, QStringLiteral("JSON.stringify(korvaneMapState.marker)")).toString(),
            QStringLiteral("[37.5665,126.978]"), kWaitMs);
        QCOMPARE(eval(*map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 20);
        panel.SetPosition(QStringLiteral("127.000000"), QStringLiteral("37.500000"));
        QTRY_COMPARE_WITH_TIMEOUT(eval(*map, QStringLiteral("JSON.stringify(korvaneMapState.marker)")).toString(),
            QStringLiteral("[37.5,127]"), kWaitMs);
        QSignalSpy seeks(&panel, &MapPanel::SeekRequested);
        Q_EMIT map->SeekRequested(1234);
        QCOMPARE(seeks.count(), 1);
        QCOMPARE(seeks.first().first().toLongLong(), 1234);
        panel.resize(320, 280);
        QCOMPARE(map->geometry(), panel.rect());
    }

    void providerChoiceNavigatesAndKeepsThePosition()
    {
        QVERIFY(InstallStringTable(*qApp, QStringLiteral("ko")));
        CHtmlMap map;
        map.resize(300, 300);
        map.NavigateToDefaultPage(82);
        map.show();
        map.StartBrowser();
        QVERIFY(waitLoaded(map));
        map.SetPosition(QStringLiteral("127.026130"), QStringLiteral("37.552057"));
        QCOMPARE(map.ChooseProvider(32804), std::optional<int>());
        QCOMPARE(map.requestedAddress(), kPageBase + QStringLiteral("map_naver.html"));
        QSignalSpy completes(&map, &CHtmlCtrl::DocumentComplete);
        QCOMPARE(map.ChooseProvider(32805), std::optional<int>(3145));
        QCOMPARE(map.requestedAddress(), kPageBase + QStringLiteral("map_daum.html"));
        QTRY_COMPARE_WITH_TIMEOUT(completes.count(), 1, 15000);
        QCOMPARE(map.page()->url().path(), QStringLiteral("/_mapapi/korvane/map_daum.html"));
        QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("JSON.stringify(korvaneMapState.marker)")).toString(),
            QStringLiteral("[37.552057,127.02613]"), 10000);
        QCOMPARE(eval(map, QStringLiteral("korvaneMapState.provider")).toString(), QStringLiteral("다음"));
        QCOMPARE(map.ChooseProvider(32803), std::optional<int>(3146));
        QCOMPARE(map.requestedAddress(), kPageBase + QStringLiteral("map_google.html"));
        QVERIFY(InstallStringTable(*qApp, QStringLiteral("en")));
    }

    void theMarkerFollowsThePosition()
    {
        CHtmlMap map;
        map.resize(300, 300);
        map.NavigateToDefaultPage(1);
        map.show();
        map.StartBrowser();
        QVERIFY(waitLoaded(map));
        const QStringList lon = { "103.819800", "103.851959", "103.870000" };
        const QStringList lat = { "1.352100", "1.290270", "1.300000" };
        for (int i = 0; i < lon.size(); ++i) {
            map.SetPosition(lon[i], lat[i]);
            QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("JSON.stringify(korvaneMapState.marker)")).toString(),
                QStringLiteral("[%1,%2]").arg(QString::number(lat[i].toDouble(), 'g', QLocale::FloatingPointShortest),
                    QString::number(lon[i].toDouble(), 'g', QLocale::FloatingPointShortest)),
                kWaitMs);
            // On the map, not only in the page's notes: the marker's own place, and in view once the map has
            // panned to it (the pan may finish after the marker moved).
            const auto at = [&map] {
                return eval(map,
                    QStringLiteral("(function(){ var m = null; KorvaneMap.map.eachLayer(function (l) {"
                                   " if (l instanceof L.CircleMarker) m = l; });"
                                   " var p = m.getLatLng(); return p.lat.toFixed(6) + ',' + p.lng.toFixed(6) +"
                                   " ',' + KorvaneMap.map.getBounds().contains(p); })()"))
                    .toString();
            };
            QTRY_COMPARE_WITH_TIMEOUT(at(), lat[i] + QLatin1Char(',') + lon[i] + QStringLiteral(",true"), kWaitMs);
        }
    }

    void aClickOnTheTrackSeeksThePlayer()
    {
        // The player on the fake media library, as the viewer loads it.
        QTemporaryDir base;
        QTemporaryDir settingsDir;
        SettingsStore store { settingsDir.path() };
        SetMediaLibraryBaseFolder(base.path());
        viewerEnvironment().viewerTier = int(ViewerTier::High);
        const QString folder = LibraryFolder(int(ViewerTier::High));
        QVERIFY(QDir().mkpath(folder));
        const QString library = QDir(folder).filePath(QLatin1String(kFrontLibraryFile));
        QVERIFY(QFile::copy(QStringLiteral(FAKEVLC_PATH), library));
        QVERIFY(LoadMediaLibrary());
        {
            PlayerContext context;
            QVERIFY(CreateMediaPlayer(context, store));
            const QString video = base.filePath(QStringLiteral("rec_20260314_080000.avi"));
            QFile f(video);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("RIFF");
            f.close();
            QVERIFY(context.OpenMedia(video));
            QLibrary fake(library);
            reinterpret_cast<void (*)(int64_t)>(fake.resolve("fakevlc_set_length"))(60000);
            reinterpret_cast<void (*)()>(fake.resolve("fakevlc_reset"))();
            reinterpret_cast<void (*)(int64_t)>(fake.resolve("fakevlc_set_length"))(60000);
            auto calls = reinterpret_cast<const char* (*)()>(fake.resolve("fakevlc_calls"));

            CHtmlMap map;
            map.resize(300, 300);
            QObject::connect(&map, &CHtmlMap::SeekRequested, &map, [&](qint64 ms) { context.SeekTo(ms); });
            map.NavigateToDefaultPage(82);
            map.SetTrack(testTrack());
            map.SetPosition(testTrack()[3].lon, testTrack()[3].lat);
            map.show();
            map.StartBrowser();
            QVERIFY(waitLoaded(map));
            QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 20, kWaitMs);
            QTRY_VERIFY_WITH_TIMEOUT(!eval(map, QStringLiteral("korvaneMapState.marker")).isNull(), kWaitMs);
            QTest::qWait(300);

            QSignalSpy seeks(&map, &CHtmlMap::SeekRequested);
            const QPoint at = pagePoint(map, QStringLiteral("KorvaneMap.trackPointOnScreen(14)"));
            QWidget* input = map.browser()->focusProxy();
            QVERIFY(input);
            QTest::mouseMove(input, at);
            QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, at);
            QTRY_COMPARE_WITH_TIMEOUT(seeks.count(), 1, kWaitMs);
            QCOMPARE(seeks.at(0).at(0).toLongLong(), 14000);
            QVERIFY2(
                QString::fromUtf8(calls()).split('\n').contains(QStringLiteral("libvlc_media_player_set_time(14000)")),
                calls());
            // The page stayed, and the positions of the playback that follows still reach it.
            QCOMPARE(map.page()->url().path(), QStringLiteral("/_mapapi/korvane/map_naver.html"));
            QCOMPARE(eval(map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 20);
            map.SetPosition(testTrack()[14].lon, testTrack()[14].lat);
            QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.marker[0].toFixed(6)")).toString(),
                testTrack()[14].lat, kWaitMs);

            // Away from the track nothing happens.
            QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, QPoint(at.x(), qMin(at.y() + 60, 250)));
            QTest::qWait(500);
            QCOMPARE(seeks.count(), 1);
        }
        UnloadMediaLibrary();
        SetMediaLibraryBaseFolder(QString());
    }

    void keysReachTheWindowAndTheWheelZoomsTheMap()
    {
        KeyRecorder window;
        window.resize(400, 400);
        auto* map = new CHtmlMap(&window);
        map->setGeometry(50, 50, 300, 300);
        map->NavigateToDefaultPage(1);
        window.show();
        map->StartBrowser();
        QVERIFY(waitLoaded(*map));
        QWidget* input = map->browser()->focusProxy();
        QVERIFY(input);
        QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
        const int keys[] = { Qt::Key_1, Qt::Key_Up, Qt::Key_Right, Qt::Key_Space, Qt::Key_PageDown, Qt::Key_Return };
        for (int key : keys) {
            QTest::keyClick(input, Qt::Key(key));
            QTRY_VERIFY_WITH_TIMEOUT(window.keys.contains(key), kWaitMs);
        }

        // The wheel zooms the map.
        const int zoom = eval(*map, QStringLiteral("KorvaneMap.map.getZoom()")).toInt();
        const QPoint at(150, 150);
        QWheelEvent wheel(at, input->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(input, &wheel);
        QTRY_COMPARE_WITH_TIMEOUT(eval(*map, QStringLiteral("KorvaneMap.map.getZoom()")).toInt(), zoom + 1, kWaitMs);
    }

    void offlineThePageDrawsGridTrackAndMarker()
    {
        CHtmlMap map;
        map.resize(300, 300);
        map.NavigateToDefaultPage(1);
        map.SetTrack(testTrack());
        map.SetPosition(testTrack()[10].lon, testTrack()[10].lat);
        map.show();
        map.StartBrowser();
        QVERIFY(waitLoaded(map));
        QTRY_COMPARE_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.trackPoints")).toInt(), 20, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!eval(map, QStringLiteral("korvaneMapState.marker")).isNull(), kWaitMs);
        // The tile server was asked and could not be reached.
        QTRY_VERIFY_WITH_TIMEOUT(eval(map, QStringLiteral("korvaneMapState.tileErrors")).toInt() > 0, kWaitMs);
        QCOMPARE(eval(map, QStringLiteral("korvaneMapState.tilesLoaded")).toInt(), 0);

        const QPoint marker = pagePoint(map, QStringLiteral("KorvaneMap.markerOnScreen()"));
        const QPoint trackPoint = pagePoint(map, QStringLiteral("KorvaneMap.trackPointOnScreen(2)"));
        QImage shot;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                shot = map.browser()->grab().toImage();
                return isRed(shot.pixelColor(marker)) && isTrackBlue(shot.pixelColor(trackPoint));
            }(),
            kWaitMs);
        // The grid: the plain ground and its lines make most of the picture.
        int ground = 0, lines = 0;
        for (int y = 0; y < 280; ++y)
            for (int x = 0; x < 280; ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (c == QColor(0xee, 0xf0, 0xea))
                    ++ground;
                else if (c == QColor(0xc3, 0xc9, 0xbd))
                    ++lines;
            }
        QVERIFY2(ground > 280 * 280 / 2, qPrintable(QString::number(ground)));
        QVERIFY2(lines > 280, qPrintable(QString::number(lines)));
        // The scale.
        QCOMPARE(
            eval(map, QStringLiteral("document.querySelectorAll('.leaflet-control-scale-line').length > 0")).toBool(),
            true);
    }
};

int main(int argc, char** argv)
{
    // The engine's sandbox cannot start for root.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    // As on a machine without a network: the tile server is never reached.
    MapNetworkGate::SetNetworkAllowed(false);
    CHtmlMap::PrepareBrowserEngine();
    QApplication app(argc, argv);
    MapViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MapViewTest.moc"
