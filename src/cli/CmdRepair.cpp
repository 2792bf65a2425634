#include "cli/CliCommand.h"
#include "repair/CAviRepairCore.h"

#include <QFileInfo>

namespace {

int runRepair(const QStringList& args);

const CliCommand kRepair {"repair", "repair SRC DST [--keep-damage] [--any-chunk]", runRepair};

int runRepair(const QStringList& args)
{
    QStringList paths;
    bool keepDamage = false;
    bool anyChunk = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--keep-damage"))
            keepDamage = true;
        else if (arg == QLatin1String("--any-chunk"))
            anyChunk = true;
        else if (arg.startsWith(QLatin1String("--")))
            return cli::usageError(kRepair, QStringLiteral("unknown option %1").arg(arg));
        else
            paths << arg;
    }
    if (paths.size() != 2)
        return cli::usageError(kRepair, QStringLiteral("a source and a target are needed"));

    CAviRepairCore engine;
    const bool ok = engine.RepairFile(paths[0], paths[1], true, !keepDamage, false, !anyChunk);
    if (!ok)
        cli::diagnostic(QStringLiteral("repair of %1 failed: %2").arg(paths[0], engine.errorString()));
    QJsonObject chunks;
    chunks.insert(QStringLiteral("0"), qint64(engine.streamChunkCount(0)));
    chunks.insert(QStringLiteral("1"), qint64(engine.streamChunkCount(1)));
    QJsonObject result;
    result.insert(QStringLiteral("ok"), ok);
    result.insert(QStringLiteral("indexEntries"), engine.indexEntryCount());
    result.insert(QStringLiteral("streamChunks"), chunks);
    // Bytes of the source the card could not read; they were stepped over like damage.
    result.insert(QStringLiteral("unreadableBytes"), qint64(engine.unreadableBytes()));
    cli::printJson(result);
    return ok ? cli::kDone : cli::kFailed;
}

} // namespace

KORVANE_CLI_COMMAND(repair, kRepair.name, kRepair.usage, kRepair.run);
