#include "cli/CliCommand.h"
#include "platform/CardDevices.h"
#include "sdcard/CardFiles.h"
#include "sdcard/CardTarget.h"
#include "sdcard/Formatter.h"
#include "sdcard/SettingsBackup.h"

#include <QJsonValue>

namespace {

int runFormat(const QStringList& args);

const CliCommand kFormat { "format", "format TARGET [--force]", runFormat };
KORVANE_CLI_COMMAND(format, "format", "format TARGET [--force]", runFormat);

int runFormat(const QStringList& args)
{
    QStringList rest = args;
    const bool force = rest.removeAll(QStringLiteral("--force")) > 0;
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--")))
        return cli::usageError(kFormat, QStringLiteral("one TARGET: a removable device or an image file"));
    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices();
    QString why;
    const std::optional<CardTarget> target = ResolveCardTarget(rest.first(), *devices, &why);
    if (!target) {
        cli::diagnostic(QStringLiteral("format: refused: %1").arg(why));
        return cli::kFailed;
    }
    const int clusterSectors = formatter::ClusterSectors(CardTargetCapacity(*target, *devices));

    const SettingsBackup backup = SettingsBackup::make(*CardFilesOf(*target));
    if (backup.existed && !backup.backedUp && !force) {
        cli::diagnostic(QStringLiteral("format: the card's settings file could not be backed up to %1; not formatted "
                                       "(--force formats anyway and restores it from memory)")
                            .arg(backup.backupPath));
        return cli::kFailed;
    }

    const QString root = target->mounted() ? target->mountPoint : target->path;
    const QStringList command = devices->privilegedCommand(
        target->path, { formatter::Program(), QStringLiteral("-c%1").arg(clusterSectors), root });
    const formatter::Run run = formatter::RunCommand(command);
    if (!run.ok)
        cli::diagnostic(
            QStringLiteral("format: the formatter said: %1").arg(QString::fromLocal8Bit(run.output).simplified()));

    const SettingsRestore restore = RestoreSettings(backup, *CardFilesOf(*target));
    if (restore.attempted && !restore.restored)
        cli::diagnostic(QStringLiteral("format: the settings file was not written back; its backup stays at %1")
                            .arg(restore.backupPath));

    QJsonObject out;
    out.insert(QStringLiteral("ok"), run.ok);
    out.insert(QStringLiteral("clusterSectors"), clusterSectors);
    out.insert(QStringLiteral("setupFound"), backup.existed);
    out.insert(QStringLiteral("setupKept"), restore.restored);
    out.insert(QStringLiteral("backupKept"),
        restore.attempted && !restore.backupDeleted ? QJsonValue(restore.backupPath) : QJsonValue());
    cli::printJson(out);
    return run.ok && (!restore.attempted || restore.restored) ? cli::kDone : cli::kFailed;
}

} // namespace
