#include "cli/CliCommand.h"
#include "platform/CardDevices.h"
#include "sdcard/CardTarget.h"
#include "sdcard/FatBootSector.h"
#include "sdcard/ReadSpeedTest.h"

#include <cstdio>

namespace {

int runSpeedtest(const QStringList& args);

KORVANE_CLI_COMMAND(speedtest, "speedtest", "speedtest TARGET [--progress]", runSpeedtest);

int runSpeedtest(const QStringList& arguments)
{
    // --progress: "progress N" lines on stderr, for the viewer that runs this test with the administrator's rights.
    QStringList args = arguments;
    const bool progress = args.removeAll(QStringLiteral("--progress")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return cli::usageError(CliCommand { "speedtest", "speedtest TARGET", runSpeedtest },
            QStringLiteral("one TARGET: a removable device or an image file"));
    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices();
    QString why;
    const std::optional<CardTarget> target = ResolveCardTarget(args.first(), *devices, &why);
    if (!target) {
        cli::diagnostic(QStringLiteral("speedtest: refused: %1").arg(why));
        return cli::kFailed;
    }
    readspeed::Options options;
    if (const std::optional<FatBootSector> bs = ReadFatBootSector(target->path)) {
        options.clusterBytes = bs->clusterBytes();
        options.totalClusters = bs->dataClusters;
    } else if (target->mounted()) {
        const platform::DiskSpace space = devices->diskSpace(target->mountPoint);
        options.clusterBytes = std::max<uint32_t>(space.blockSize, 512);
        options.totalClusters = space.capacity / options.clusterBytes;
    }
    if (progress)
        options.progress = [](int percent) {
            std::fprintf(stderr, "progress %d\n", percent);
            std::fflush(stderr);
        };
    QString error;
    const std::unique_ptr<platform::RawVolume> volume
        = devices->openRaw(target->path, platform::RawAccess::ReadTimed, &error);
    readspeed::Result result;
    if (!volume)
        cli::diagnostic(QStringLiteral("speedtest: %1").arg(error));
    else if (options.totalClusters == 0)
        cli::diagnostic(
            QStringLiteral("speedtest: %1 holds no file system whose clusters could be counted").arg(target->path));
    else
        result = readspeed::Run(*volume, options);

    QJsonObject out;
    out.insert(QStringLiteral("ok"), result.ok);
    out.insert(QStringLiteral("clusters"), static_cast<qint64>(result.clusters));
    out.insert(QStringLiteral("slow"), static_cast<qint64>(result.slow));
    out.insert(QStringLiteral("slowShare"), static_cast<double>(result.shareHundredths) / 100.0);
    cli::printJson(out);
    return result.ok ? cli::kDone : cli::kFailed;
}

} // namespace
