#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

// Whole-card jobs that need the administrator's rights run as a child (VLMFormat --zero, korvane-cli
// speedtest --progress) started through pkexec. The child reports "progress N" lines on standard error and its
// result on standard output.
namespace helperprocess {

struct Run
{
    bool started = false;
    bool exitedNormally = false;
    int exitCode = -1;
    int lastProgress = -1;
    QByteArray output; // standard output
};

// The percent of a "progress N" line, -1 for any other line.
int ProgressOfLine(const QByteArray& line);

Run RunWithProgress(
    const QStringList& command, const std::function<void(int)>& progress, const std::function<void()>& pump);

// korvane-cli beside the running executable (canonical); unelevated, else on the PATH. Elevated, only the one
// beside the executable.
QString CliProgram(bool elevated);

} // namespace helperprocess
