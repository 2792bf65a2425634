#include "map/MapNetworkGate.h"

#include "map/MapPages.h"

#include <atomic>

namespace {

// Read by the engine's network thread.
std::atomic<bool>& allowedFlag()
{
    static std::atomic<bool> allowed { qEnvironmentVariableIntValue("KORVANE_MAP_OFFLINE") != 1 };
    return allowed;
}

} // namespace

MapNetworkGate::MapNetworkGate(QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent)
{
}

void MapNetworkGate::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (allowedFlag().load())
        return;
    const QString scheme = info.requestUrl().scheme();
    const bool own = scheme == QLatin1String(mappages::kScheme) || scheme == QLatin1String(mappages::kAppScheme)
        || scheme == QLatin1String("data") || scheme == QLatin1String("blob") || scheme == QLatin1String("about");
    if (!own)
        info.block(true);
}

void MapNetworkGate::SetNetworkAllowed(bool allowed)
{
    allowedFlag().store(allowed);
}

bool MapNetworkGate::NetworkAllowed()
{
    return allowedFlag().load();
}
