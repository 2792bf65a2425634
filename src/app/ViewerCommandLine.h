#pragma once

#include <QString>
#include <QStringList>

// What the viewer's command line asks for. Beside the optional folder to open, --version and --help print a
// line or two and end the process before any window or display is needed.
struct ViewerCommandLine
{
    enum class Action { Run, Version, Help };
    Action action = Action::Run;
    // The folder to open instead of the first removable card; empty for none. A desktop's "open with" hands
    // over a recording or a file: URL, which both stand for the folder that holds the recording.
    QString folder;
};

// `arguments` without the program name.
ViewerCommandLine ParseViewerCommandLine(const QStringList& arguments);

// "korvane-player 1.0.0".
QString ViewerVersionText();
// The usage, several lines.
QString ViewerHelpText();
