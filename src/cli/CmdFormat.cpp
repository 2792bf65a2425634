#include "cli/CliCommand.h"
#include "platform/CardDevices.h"
#include "sdcard/CardFiles.h"
#include "sdcard/CardTarget.h"
#include "sdcard/FatLayout.h"
#include "sdcard/FormatGuard.h"
#include "sdcard/Formatter.h"
#include "sdcard/SettingsBackup.h"

#include <QJsonValue>

namespace {

int runFormat(const QStringList& args);

const CliCommand kFormat { "format", "format TARGET [--force]", runFormat };
KORVANE_CLI_COMMAND(format, "format", "format TARGET [--force]", runFormat);

// --force: format even what is plainly no camera card (over 2 TB, several partitions), and even when the
// settings file could not be backed up (it is then restored from memory).
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
    const int cameraCluster = formatter::ClusterSectors(CardTargetCapacity(*target, *devices));
    const FormatGuard::Facts facts = CardTargetFacts(*target, *devices);
    const FormatGuard::Refusal refusal = FormatGuard::check(facts, cameraCluster, force);
    if (refusal != FormatGuard::Refusal::None) {
        cli::diagnostic(QStringLiteral("format: refused: %1").arg(FormatGuard::describe(refusal, facts)));
        return cli::kFailed;
    }
    const FatLayout layout = *FatLayout::forCard(facts.bytes, cameraCluster);

    const SettingsBackup backup = SettingsBackup::make(*CardFilesOf(*target));
    if (backup.existed && !backup.backedUp && !force) {
        cli::diagnostic(QStringLiteral("format: the card's settings file could not be backed up to %1; not formatted "
                                       "(--force formats anyway and restores it from memory)")
                            .arg(backup.backupPath));
        return cli::kFailed;
    }

    const QString root = target->mounted() ? target->mountPoint : target->path;
    const bool elevated = devices->needsElevation(target->path);
    if (elevated && formatter::InstalledProgram().isEmpty()) {
        cli::diagnostic(QStringLiteral("format: %1 needs the administrator's rights, and only the installed VLMFormat "
                                       "beside korvane-cli runs with them; it is not there")
                            .arg(target->path));
        return cli::kFailed;
    }
    QStringList command { formatter::Program(elevated), QStringLiteral("-c%1").arg(cameraCluster), root };
    if (force)
        command << QStringLiteral("--force");
    if (elevated)
        command = devices->elevated(command);
    const formatter::Run run = formatter::RunCommand(command);
    const formatter::JobEnd end = formatter::JobEndOf(elevated, run);

    QJsonObject out;
    out.insert(QStringLiteral("ok"), end == formatter::JobEnd::Done);
    out.insert(QStringLiteral("clusterSectors"), layout.clusterSectors);
    out.insert(QStringLiteral("fatType"), QStringLiteral("FAT%1").arg(layout.fatBits));
    out.insert(QStringLiteral("setupFound"), backup.existed);
    if (end == formatter::JobEnd::Cancelled || end == formatter::JobEnd::NotAuthorised) {
        // Nothing was done: the card still holds its settings file, and its copy stays on the PC.
        cli::diagnostic(end == formatter::JobEnd::Cancelled
                ? QStringLiteral("format: cancelled at the administrator's password prompt; nothing was changed")
                : QStringLiteral("format: not authorised to format %1; nothing was changed").arg(target->path));
        out.insert(QStringLiteral("cancelled"), true);
        out.insert(QStringLiteral("setupKept"), backup.existed);
        out.insert(QStringLiteral("backupKept"), backup.backedUp ? QJsonValue(backup.backupPath) : QJsonValue());
        cli::printJson(out);
        return cli::kFailed;
    }
    if (end != formatter::JobEnd::Done)
        cli::diagnostic(
            QStringLiteral("format: the formatter said: %1").arg(QString::fromLocal8Bit(run.output).simplified()));

    QString notProven;
    const std::unique_ptr<CardFiles> card = CardFilesAfterFormat(*target, *devices, &notProven);
    const SettingsRestore restore = card ? RestoreSettings(backup, *card) : KeepSettingsBackup(backup);
    if (restore.attempted && !restore.restored)
        cli::diagnostic(
            QStringLiteral("format: the settings file was not written back%1; its backup stays at %2")
                .arg(card ? QString() : QStringLiteral(" (") + notProven + QLatin1Char(')'), restore.backupPath));

    out.insert(QStringLiteral("setupKept"), restore.restored);
    out.insert(QStringLiteral("backupKept"),
        restore.attempted && !restore.backupDeleted ? QJsonValue(restore.backupPath) : QJsonValue());
    cli::printJson(out);
    return end == formatter::JobEnd::Done && (!restore.attempted || restore.restored) ? cli::kDone : cli::kFailed;
}

} // namespace
