#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Decides whether the map pages may reach the network (for their tiles). With the network closed every
// request outside the viewer's own schemes is blocked, so a page behaves exactly as on a machine without a
// connection. Open by default; the environment variable KORVANE_MAP_OFFLINE=1 closes it from the start.
class MapNetworkGate : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    explicit MapNetworkGate(QObject* parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    static void SetNetworkAllowed(bool allowed);
    static bool NetworkAllowed();
};
