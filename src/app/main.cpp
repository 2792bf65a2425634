#include "app/CKorvanePCPlayerApp.h"
#include "platform/SystemInfo.h"
#include "map/CHtmlMap.h"

int main(int argc, char** argv)
{
    // The map's web engine cannot start its sandbox for the administrator account.
    if (platform::runsAsAdministrator()) {
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--no-sandbox"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --no-sandbox").trimmed());
    }
    // The map's browser engine wants its URL schemes and shared drawing contexts before the application.
    CHtmlMap::PrepareBrowserEngine();
    CKorvanePCPlayerApp app(argc, argv);
    return app.InitInstance();
}
