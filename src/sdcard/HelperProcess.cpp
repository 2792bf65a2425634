#include "sdcard/HelperProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace helperprocess {

int ProgressOfLine(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith("progress "))
        return -1;
    bool ok = false;
    const int p = t.mid(9).toInt(&ok);
    return ok && p >= 0 && p <= 100 ? p : -1;
}

Run RunWithProgress(
    const QStringList& command, const std::function<void(int)>& progress, const std::function<void()>& pump)
{
    Run run;
    if (command.isEmpty())
        return run;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(command.first(), command.mid(1));
    if (!process.waitForStarted(10000))
        return run;
    run.started = true;
    QByteArray err;
    auto takeProgress = [&] {
        err += process.readAllStandardError();
        qsizetype nl;
        while ((nl = err.indexOf('\n')) >= 0) {
            const int p = ProgressOfLine(err.left(nl));
            err.remove(0, nl + 1);
            if (p >= 0) {
                run.lastProgress = p;
                if (progress)
                    progress(p);
            }
        }
    };
    while (!process.waitForFinished(50)) {
        if (process.state() == QProcess::NotRunning)
            break;
        takeProgress();
        run.output += process.readAllStandardOutput();
        if (pump)
            pump();
    }
    takeProgress();
    run.output += process.readAllStandardOutput();
    run.exitedNormally = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    return run;
}

QString CliProgram(bool elevated)
{
    if (QCoreApplication::instance()) {
        const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("korvane-cli")));
        if (beside.isExecutable() || elevated)
            return beside.isExecutable() ? beside.canonicalFilePath() : beside.absoluteFilePath();
    }
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("korvane-cli"));
    return onPath.isEmpty() ? QStringLiteral("korvane-cli") : onPath;
}

} // namespace helperprocess
