#include "cli/CliCommand.h"
#include "platform/CardDevices.h"
#include "sdcard/CapacityTest.h"
#include "sdcard/CardTarget.h"

#include <QFileInfo>

#include <cmath>

namespace {

int runCardTest(const QStringList& args);

const CliCommand kCardTest { "card-test", "card-test MOUNTPOINT [--max-bytes N]", runCardTest };
KORVANE_CLI_COMMAND(cardTest, "card-test", "card-test MOUNTPOINT [--max-bytes N]", runCardTest);

double rounded(double v)
{
    return std::round(v * 10) / 10;
}

int runCardTest(const QStringList& args)
{
    QString root;
    uint64_t maxBytes = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--max-bytes") && i + 1 < args.size()) {
            bool ok = false;
            maxBytes = args[++i].toULongLong(&ok);
            if (!ok || maxBytes == 0)
                return cli::usageError(kCardTest, QStringLiteral("--max-bytes takes a positive number"));
        } else if (root.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            root = args[i];
        } else {
            return cli::usageError(kCardTest, QStringLiteral("unexpected \"%1\"").arg(args[i]));
        }
    }
    if (root.isEmpty())
        return cli::usageError(kCardTest, QStringLiteral("one MOUNTPOINT"));
    if (!QFileInfo(root).isDir()) {
        cli::diagnostic(QStringLiteral("card-test: %1 is not a folder").arg(root));
        return cli::kFailed;
    }
    // Filling all the free space is only for cards; any other folder gets a bounded test.
    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices();
    QString why;
    if (maxBytes == 0 && !ResolveCardTarget(root, *devices, &why)) {
        cli::diagnostic(
            QStringLiteral("card-test: refused: %1 (give --max-bytes to test part of any folder)").arg(why));
        return cli::kFailed;
    }
    QString error;
    const std::unique_ptr<capacitytest::Medium> medium = capacitytest::FolderMedium(root, &error);
    if (!medium) {
        cli::diagnostic(QStringLiteral("card-test: %1").arg(error));
        return cli::kFailed;
    }
    capacitytest::Options options;
    options.maxBytes = maxBytes;
    const capacitytest::Result result = capacitytest::Run(*medium, options);
    if (!result.error.isEmpty())
        cli::diagnostic(QStringLiteral("card-test: %1").arg(result.error));

    QJsonObject out;
    out.insert(QStringLiteral("ok"), result.ran && result.badBytes == 0);
    out.insert(QStringLiteral("testedBytes"), static_cast<qint64>(result.testedBytes));
    out.insert(QStringLiteral("goodBytes"), static_cast<qint64>(result.goodBytes));
    out.insert(QStringLiteral("badBytes"), static_cast<qint64>(result.badBytes));
    out.insert(QStringLiteral("aliasedBytes"), static_cast<qint64>(result.aliasedBytes));
    out.insert(QStringLiteral("writeMBps"), rounded(result.writeMBps));
    out.insert(QStringLiteral("readMBps"), rounded(result.readMBps));
    cli::printJson(out);
    return result.ran ? cli::kDone : cli::kFailed;
}

} // namespace
