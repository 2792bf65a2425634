// The map view in a window on a real X server (run under xvfb-run): the browser draws into a texture that
// the window composes with OpenGL, and its start must not change how the window is composed. A window that
// switches when the browser arrives is made again and shows black for a moment.
#include "app/StringTables.h"
#include "map/CHtmlMap.h"
#include "map/MapNetworkGate.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>
#include <QtTest>

class MapCompositionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theBrowsersStartLeavesTheWindowAsItWas()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (the test runs under xvfb-run)");
        QWidget window;
        window.resize(640, 480);
        auto* layout = new QVBoxLayout(&window);
        auto* map = new CHtmlMap;
        layout->addWidget(map);
        map->NavigateToDefaultPage(33);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWindow* handle = window.windowHandle();
        QVERIFY(handle);
        const WId id = window.winId();
        // Composed as the browser needs it from the first showing on.
        QCOMPARE(handle->surfaceType(), QSurface::OpenGLSurface);

        map->StartBrowser();
        QVERIFY(map->HasBrowser());
        QSignalSpy loaded(map, &CHtmlCtrl::DocumentComplete);
        QVERIFY(loaded.wait(30000));
        // The same native window, composed the same way: nothing was made again.
        QCOMPARE(window.windowHandle(), handle);
        QCOMPARE(window.winId(), id);
        QCOMPARE(handle->surfaceType(), QSurface::OpenGLSurface);
        QVERIFY(window.isVisible());
    }
};

int main(int argc, char** argv)
{
    // The engine's sandbox cannot start for root.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    MapNetworkGate::SetNetworkAllowed(false);
    CHtmlMap::PrepareBrowserEngine();
    QApplication app(argc, argv);
    MapCompositionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MapCompositionTest.moc"
