// The map view on the real browser engine, offscreen, with the network closed: the bundled pages, the
// input walk, the "app:" rule and the track seek.
#include "app/StringTables.h"
#include "sensor/CHtmlMap.h"
#include "sensor/MapNetworkGate.h"
#include "sensor/MapSchemeHandler.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

namespace {

// The value of a script run in the page's own world, waited for.
QVariant eval(CHtmlMap& map, const QString& script)
{
    QVariant result;
    bool done = false;
    map.page()->runJavaScript(script, QWebEngineScript::MainWorld, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning() << "script did not answer:" << script;
    return result;
}

bool waitLoaded(CHtmlMap& map)
{
    return QTest::qWaitFor([&] { return map.IsDocumentLoaded(); }, 30000);
}

} // namespace

class MapViewTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultPageLoadsAndShowsPosition()
    {
        QVERIFY(InstallStringTable(*qApp, QStringLiteral("en")));
        CHtmlMap map;
        map.resize(300, 300);
        map.NavigateToDefaultPage(61);
        map.show();
        map.StartBrowser();
        QVERIFY(waitLoaded(map));
        map.SetPosition(QStringLiteral("127.026130"), QStringLiteral("37.552057"));
        QTRY_VERIFY_WITH_TIMEOUT(eval(map, QStringLiteral("JSON.stringify(korvaneMapState.marker)")).toString()
                == QStringLiteral("[37.552057,127.02613]"),
            5000);

    }
};

int main(int argc, char** argv)
{
    // The engine's sandbox cannot start for root.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    MapNetworkGate::SetNetworkAllowed(false);
    MapSchemeHandler::RegisterSchemes();
    QApplication app(argc, argv);
    MapViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MapViewTest.moc"
