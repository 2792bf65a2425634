#pragma once

#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

// Serves the bundled map pages (Qt resources under ":/map/") for "korvane://maps.korvane/_mapapi/korvane/<file>"
// and refuses every "app:" request: those addresses are commands for the viewer, never something to load.
class MapSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    explicit MapSchemeHandler(QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // Makes both schemes known to the browser engine. Has to run before the first browser object exists;
    // later calls do nothing.
    static void RegisterSchemes();

    // The profile every map view uses: kept in memory only, with this handler and the network gate installed.
    // Created on first use, owned by the application object.
    static QWebEngineProfile* MapProfile();
};
