#include "cli/CliCommand.h"

#include "camera/CameraIdentification.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "repair/RecoveryWorkflow.h"

#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>

namespace {

int runRecover(const QStringList& args);

const CliCommand kRecover { "recover", "recover FOLDER [--dry-run]", runRecover };

QString statusText(RecoveryOutcome::Status status)
{
    switch (status) {
    case RecoveryOutcome::Repaired:
        return QStringLiteral("repaired");
    case RecoveryOutcome::NotOpenable:
        return QStringLiteral("not-openable");
    case RecoveryOutcome::PlaceFailed:
        return QStringLiteral("place-failed");
    case RecoveryOutcome::RepairFailed:
        return QStringLiteral("repair-failed");
    case RecoveryOutcome::RepairedFileDamaged:
        return QStringLiteral("repaired-file-damaged");
    case RecoveryOutcome::KeepFailed:
        return QStringLiteral("keep-failed");
    case RecoveryOutcome::PlaceRepairedFailed:
        return QStringLiteral("place-repaired-failed");
    }
    return QString();
}

QJsonValue pathOrNull(const QString& path)
{
    return path.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(path);
}

int runRecover(const QStringList& args)
{
    QString folder;
    bool dryRun = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--dry-run"))
            dryRun = true;
        else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty())
            return cli::usageError(kRecover, QStringLiteral("unexpected argument \"%1\"").arg(a));
        else
            folder = a;
    }
    if (folder.isEmpty())
        return cli::usageError(kRecover, QStringLiteral("FOLDER is missing"));
    if (!QFileInfo(folder).isDir()) {
        cli::diagnostic(QStringLiteral("recover: \"%1\" is not a readable folder").arg(folder));
        return cli::kFailed;
    }

    const QString root = WithTrailingSeparator(QFileInfo(folder).absoluteFilePath());
    int modelIndex = 0;
    if (const std::optional<CameraModel> identified = IdentifyCameraModel(root))
        modelIndex = static_cast<int>(*identified);
    RecordingCatalogue catalogue;
    catalogue.ScanCatalogueFolder(root, modelIndex);
    catalogue.setFolder(root);

    // Only AVI catalogues are ever tested; span markers are not recordings.
    QStringList recordings;
    if (!catalogue.isMp4()) {
        for (RecordingKind kind : { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking })
            for (const QString& name : catalogue.names(kind))
                if (recording::extensionOf(name).compare(recording::kAviExtension, Qt::CaseInsensitive) == 0
                    && QFileInfo(root + name).isFile())
                    recordings << root + name;
    }
    std::sort(recordings.begin(), recordings.end());

    RecoveryWorkflow workflow(RecoveryWorkflow::DefaultDesktopBackupFolder());
    QJsonArray files;
    int damaged = 0;
    int repaired = 0;
    int failed = 0;
    for (const QString& path : recordings) {
        QJsonObject file;
        file.insert(QStringLiteral("path"), path);
        const bool isDamaged = !IsIntactAvi(path);
        file.insert(QStringLiteral("damaged"), isDamaged);
        if (!isDamaged) {
            file.insert(QStringLiteral("repaired"), false);
            files.append(file);
            continue;
        }
        ++damaged;
        if (dryRun) {
            RecoveryNames names;
            const RecoveryOutcome plan = workflow.Plan(path, &names);
            file.insert(QStringLiteral("repaired"), false);
            file.insert(QStringLiteral("status"), plan.status == RecoveryOutcome::Repaired ? QStringLiteral("planned") : statusText(plan.status));
            file.insert(QStringLiteral("usedDesktop"), plan.usedDesktop);
            file.insert(QStringLiteral("repairedPath"), pathOrNull(names.repaired));
            file.insert(QStringLiteral("keptPath"), pathOrNull(names.keptDamaged));
            if (!plan.error.isEmpty())
                file.insert(QStringLiteral("error"), plan.error);
            files.append(file);
            continue;
        }
        const RecoveryOutcome outcome = workflow.Recover(path);
        if (outcome.repaired())
            ++repaired;
        else
            ++failed;
        file.insert(QStringLiteral("repaired"), outcome.repaired());
        file.insert(QStringLiteral("status"), statusText(outcome.status));
        file.insert(QStringLiteral("usedDesktop"), outcome.usedDesktop);
        file.insert(QStringLiteral("repairedPath"), pathOrNull(outcome.repairedAt));
        file.insert(QStringLiteral("keptPath"), pathOrNull(outcome.keptAt));
        QJsonObject engine;
        engine.insert(QStringLiteral("ok"), outcome.engineOk);
        engine.insert(QStringLiteral("indexEntries"), outcome.indexEntries);
        QJsonObject chunks;
        chunks.insert(QStringLiteral("0"), qint64(outcome.streamChunks0));
        chunks.insert(QStringLiteral("1"), qint64(outcome.streamChunks1));
        engine.insert(QStringLiteral("streamChunks"), chunks);
        file.insert(QStringLiteral("engine"), engine);
        if (!outcome.error.isEmpty()) {
            file.insert(QStringLiteral("error"), outcome.error);
            cli::diagnostic(QStringLiteral("recover: %1: %2").arg(path, outcome.error));
        }
        files.append(file);
    }

    QJsonObject out;
    out.insert(QStringLiteral("folder"), root);
    out.insert(QStringLiteral("dryRun"), dryRun);
    out.insert(QStringLiteral("videoExtension"), catalogue.videoExtension());
    out.insert(QStringLiteral("files"), files);
    out.insert(QStringLiteral("damaged"), damaged);
    out.insert(QStringLiteral("repaired"), repaired);
    out.insert(QStringLiteral("failed"), failed);
    cli::printJson(out);
    return failed > 0 ? cli::kFailed : cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(recover, kRecover.name, kRecover.usage, runRecover);
