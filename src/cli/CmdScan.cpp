#include "cli/CliCommand.h"

#include "camera/CameraIdentification.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

int runScan(const QStringList& args);

const CliCommand kScan { "scan", "scan FOLDER [--category all|event|parking|normal] [--model N]", runScan };

QJsonArray toArray(const QStringList& names)
{
    QJsonArray array;
    for (const QString& n : names)
        array.append(n);
    return array;
}

int runScan(const QStringList& args)
{
    QString folder;
    ListCategory category = ListCategory::All;
    std::optional<int> model;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--category")) {
            if (++i >= args.size())
                return cli::usageError(kScan, QStringLiteral("--category needs a value"));
            const QString v = args[i].toLower();
            if (v == QLatin1String("all"))
                category = ListCategory::All;
            else if (v == QLatin1String("event"))
                category = ListCategory::Event;
            else if (v == QLatin1String("parking"))
                category = ListCategory::Parking;
            else if (v == QLatin1String("normal"))
                category = ListCategory::Normal;
            else
                return cli::usageError(kScan, QStringLiteral("unknown category \"%1\"").arg(args[i]));
        } else if (a == QLatin1String("--model")) {
            if (++i >= args.size())
                return cli::usageError(kScan, QStringLiteral("--model needs a value"));
            bool ok = false;
            const int n = args[i].toInt(&ok);
            if (!ok || n < 0 || n > 6)
                return cli::usageError(kScan, QStringLiteral("model index must be 0..6, not \"%1\"").arg(args[i]));
            model = n;
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return cli::usageError(kScan, QStringLiteral("unexpected argument \"%1\"").arg(a));
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty())
        return cli::usageError(kScan, QStringLiteral("FOLDER is missing"));

    const QString root = WithTrailingSeparator(folder);
    int modelIndex = 0;
    if (model)
        modelIndex = *model;
    else if (const std::optional<CameraModel> identified = IdentifyCameraModel(root))
        modelIndex = static_cast<int>(*identified);

    RecordingCatalogue catalogue;
    const bool scanResult = catalogue.ScanCatalogueFolder(folder, modelIndex);
    catalogue.setFolder(root);
    std::vector<RecordingEntry> entries = catalogue.BuildCategoryEntries(category);
    SortEntriesByBaseName(entries, true);
    catalogue.ResolveEntryIcons(entries);

    QJsonArray rows;
    for (const RecordingEntry& e : entries) {
        QJsonObject row;
        row.insert(QStringLiteral("kind"), e.kindLabel);
        row.insert(QStringLiteral("base"), e.baseName);
        row.insert(QStringLiteral("date"), EntryDateText(e));
        row.insert(QStringLiteral("icon"), e.iconIndex ? QJsonValue(*e.iconIndex) : QJsonValue(QJsonValue::Null));
        rows.append(row);
    }
    QJsonObject lists;
    lists.insert(QStringLiteral("normal"), toArray(catalogue.names(RecordingKind::Normal)));
    lists.insert(QStringLiteral("event"), toArray(catalogue.names(RecordingKind::Event)));
    lists.insert(QStringLiteral("parking"), toArray(catalogue.names(RecordingKind::Parking)));
    QJsonObject counts;
    counts.insert(QStringLiteral("normal"), catalogue.markerCount(RecordingKind::Normal));
    counts.insert(QStringLiteral("event"), catalogue.markerCount(RecordingKind::Event));
    counts.insert(QStringLiteral("parking"), catalogue.markerCount(RecordingKind::Parking));

    QJsonObject out;
    out.insert(QStringLiteral("scanResult"), scanResult);
    out.insert(QStringLiteral("videoExtension"), catalogue.videoExtension());
    out.insert(QStringLiteral("modelIndex"), modelIndex);
    out.insert(QStringLiteral("rows"), rows);
    out.insert(QStringLiteral("nameLists"), lists);
    out.insert(QStringLiteral("markerCounts"), counts);
    cli::printJson(out);

    if (!QFileInfo(folder).isDir()) {
        cli::diagnostic(QStringLiteral("scan: \"%1\" is not a readable folder").arg(folder));
        return cli::kFailed;
    }
    return cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(scan, kScan.name, kScan.usage, runScan);
