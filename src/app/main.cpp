#include "app/CKorvanePCPlayerApp.h"
#include "sensor/MapSchemeHandler.h"

#include <unistd.h>

int main(int argc, char** argv)
{
    // The map's web engine cannot start its sandbox for the administrator account.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    // The map pages' scheme must be known before the application exists; the web engine shares its
    // drawing context with the window's.
    MapSchemeHandler::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    CKorvanePCPlayerApp app(argc, argv);
    return app.InitInstance();
}
