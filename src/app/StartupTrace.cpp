#include "app/StartupTrace.h"

#include <QDateTime>
#include <QtGlobal>

#include <cstdio>

namespace startuptrace {

void Mark(const char* name)
{
    static const bool enabled = qEnvironmentVariableIsSet("KORVANE_STARTUP_TRACE");
    if (!enabled)
        return;
    std::fprintf(stderr, "startup-trace %lld %s\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()), name);
}

} // namespace startuptrace
