#pragma once

// What the gallery tools that draw the map view share: waiting on the browser engine without a test
// framework, and reading a value out of the map's page.
#include "map/CHtmlMap.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <functional>

namespace mappageprobe {

// Runs the event loop until condition holds; false after ms without it.
inline bool waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// The value of a script run in the map's page (invalid when the page gave none within 10 s).
inline QVariant pageValue(CHtmlMap& map, const QString& script)
{
    QVariant value;
    bool done = false;
    map.page()->runJavaScript(script, QWebEngineScript::MainWorld, [&](const QVariant& v) {
        value = v;
        done = true;
    });
    waitFor([&] { return done; }, 10000);
    return value;
}

} // namespace mappageprobe
