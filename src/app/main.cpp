#include "app/CKorvanePCPlayerApp.h"
#include "app/StartupTrace.h"
#include "app/ViewerCommandLine.h"
#include "platform/ProcessMemory.h"
#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    startuptrace::Mark("main");
    // --version and --help answer before anything needs a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ViewerCommandLine line = ParseViewerCommandLine(arguments);
    if (line.action != ViewerCommandLine::Action::Run) {
        const QString text = line.action == ViewerCommandLine::Action::Version ? ViewerVersionText() + QLatin1Char('\n')
                                                                               : ViewerHelpText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    // The map's web engine cannot start its sandbox for the administrator account.
    if (platform::runsAsAdministrator()) {
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--no-sandbox"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --no-sandbox").trimmed());
    }
    // The map's browser engine (loaded from its module after the first frame) wants shared drawing contexts
    // set before the application object exists; its URL schemes are registered when its first browser starts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::KeepFreedMemoryForReuse(); // a card's lists are built again on every open
    CKorvanePCPlayerApp app(argc, argv);
    return app.InitInstance();
}
