#include "sdcard/Formatter.h"

#include "app/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace formatter {

int ClusterSectors(uint64_t capacity)
{
    return capacity > kLargeCardBytes ? 128 : 64;
}

QString ClusterArgument(uint64_t capacity)
{
    return QStringLiteral("-c%1").arg(ClusterSectors(capacity));
}

bool OutputMeansSuccess(const QByteArray& output)
{
    return output == QByteArray(kSuccessMarker);
}

QString InstalledProgram()
{
    if (!QCoreApplication::instance())
        return {};
    const QFileInfo beside(QDir(installlayout::HelperFolder()).filePath(QStringLiteral("VLMFormat")));
    if (!beside.isExecutable())
        return {};
    return beside.canonicalFilePath();
}

QString Program(bool elevated)
{
    const QString installed = InstalledProgram();
    if (elevated)
        return installed.isEmpty() ? QDir(installlayout::HelperFolder()).filePath(QStringLiteral("VLMFormat"))
                                   : installed;
    const QString fromEnv = qEnvironmentVariable("KORVANE_FORMATTER");
    if (!fromEnv.isEmpty())
        return fromEnv;
    if (!installed.isEmpty())
        return installed;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("VLMFormat"));
    return onPath.isEmpty() ? QStringLiteral("VLMFormat") : onPath;
}

JobEnd JobEndOf(bool elevated, bool started, bool exitedNormally, int exitCode, bool success)
{
    if (started && exitedNormally && elevated) {
        if (exitCode == 126)
            return JobEnd::Cancelled;
        if (exitCode == 127)
            return JobEnd::NotAuthorised;
    }
    return started && success ? JobEnd::Done : JobEnd::Failed;
}

Run RunCommand(const QStringList& command, const std::function<void()>& pump)
{
    Run run;
    if (command.isEmpty())
        return run;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(command.first(), command.mid(1));
    if (!process.waitForStarted(10000))
        return run;
    run.started = true;
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        run.output += process.readAll();
        if (pump)
            pump();
    }
    run.output += process.readAll();
    run.exitedNormally = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.ok = run.exitedNormally && OutputMeansSuccess(run.output);
    return run;
}

} // namespace formatter
