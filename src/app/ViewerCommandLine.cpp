#include "app/ViewerCommandLine.h"

#include <QFileInfo>
#include <QUrl>

#ifndef KORVANE_VERSION
#define KORVANE_VERSION "0"
#endif

ViewerCommandLine ParseViewerCommandLine(const QStringList& arguments)
{
    ViewerCommandLine line;
    if (arguments.isEmpty())
        return line;
    const QString first = arguments.first();
    if (first == QLatin1String("--version")) {
        line.action = ViewerCommandLine::Action::Version;
        return line;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        line.action = ViewerCommandLine::Action::Help;
        return line;
    }
    QString path = first;
    if (path.startsWith(QLatin1String("file:"))) {
        const QUrl url(path);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    // A recording stands for its folder; anything else (a folder, or a path that is not there) is opened as
    // it stands, as before.
    const QFileInfo info(path);
    if (info.isFile())
        path = info.absolutePath();
    line.folder = path;
    return line;
}

QString ViewerVersionText()
{
    return QStringLiteral("korvane-player %1").arg(QLatin1String(KORVANE_VERSION));
}

QString ViewerHelpText()
{
    return QStringLiteral("Usage: korvane-player [FOLDER]\n"
                          "Plays the recordings of a Korvane dash-camera card with their speed, acceleration and map.\n"
                          "\n"
                          "  FOLDER     a folder of recordings (or one recording in it) to open instead of the first\n"
                          "             removable card that holds recordings\n"
                          "  --help     shows this text\n"
                          "  --version  shows the version\n");
}
