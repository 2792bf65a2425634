#include "cli/CliCommand.h"

#include "app/ViewerEnvironment.h"
#include "incident/EvidencePackage.h"
#ifdef KORVANE_CLI_GUI
#include "incident/IncidentReport.h"
#endif

#include <QJsonArray>

#include <cmath>

namespace {

int runExport(const QStringList& args);

const CliCommand kExport { "export", "export RECORDING --at SECONDS [--before S] [--after S] --out DIR [--zip]", runExport };

bool secondsArgument(const QString& text, qint64& ms)
{
    bool ok = false;
    const double s = text.toDouble(&ok);
    if (!ok || !std::isfinite(s) || s < 0 || s > 24 * 3600)
        return false;
    ms = std::llround(s * 1000.0);
    return true;
}

int runExport(const QStringList& args)
{
    EvidenceRequest request;
    bool haveAt = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--at") || a == QLatin1String("--before") || a == QLatin1String("--after")) {
            if (++i >= args.size())
                return cli::usageError(kExport, QStringLiteral("%1 needs seconds").arg(a));
            qint64 ms = 0;
            if (!secondsArgument(args[i], ms))
                return cli::usageError(kExport, QStringLiteral("\"%1\" is not a number of seconds").arg(args[i]));
            if (a == QLatin1String("--at")) {
                request.atMs = ms;
                haveAt = true;
            } else if (a == QLatin1String("--before")) {
                request.beforeMs = ms;
            } else {
                request.afterMs = ms;
            }
        } else if (a == QLatin1String("--out")) {
            if (++i >= args.size())
                return cli::usageError(kExport, QStringLiteral("--out needs a folder"));
            request.outputFolder = args[i];
        } else if (a == QLatin1String("--zip")) {
            request.zip = true;
        } else if (a.startsWith(QLatin1String("--")) || !request.videoPath.isEmpty()) {
            return cli::usageError(kExport, QStringLiteral("unexpected argument \"%1\"").arg(a));
        } else {
            request.videoPath = a;
        }
    }
    if (request.videoPath.isEmpty())
        return cli::usageError(kExport, QStringLiteral("RECORDING is missing"));
    if (!haveAt)
        return cli::usageError(kExport, QStringLiteral("--at is missing"));
    if (request.outputFolder.isEmpty())
        return cli::usageError(kExport, QStringLiteral("--out is missing"));
    request.countryCode = DetermineSystemCountryCode();

#ifdef KORVANE_CLI_GUI
    const std::future<void> fonts = incidentreport::prepareFonts();
    const EvidenceResult result = EvidencePackage::write(request, incidentreport::write);
#else
    const EvidenceResult result = EvidencePackage::write(request);
#endif
    QJsonObject out;
    out.insert(QStringLiteral("ok"), result.ok);
    out.insert(QStringLiteral("package"), result.folder.isEmpty() ? QJsonValue() : QJsonValue(result.folder));
    out.insert(QStringLiteral("zip"), result.zipPath.isEmpty() ? QJsonValue() : QJsonValue(result.zipPath));
    out.insert(QStringLiteral("files"), QJsonArray::fromStringList(result.files));
    out.insert(QStringLiteral("report"), result.hasReport);
    out.insert(QStringLiteral("clipStartSeconds"), result.cut.startMs / 1000.0);
    out.insert(QStringLiteral("clipDurationSeconds"), result.cut.durationMs / 1000.0);
    out.insert(QStringLiteral("recordingsUsed"), QJsonArray::fromStringList(result.data.recordingsUsed));
    out.insert(QStringLiteral("trackPoints"), static_cast<int>(result.data.track.size()));
    out.insert(QStringLiteral("samples"), static_cast<int>(result.data.rows.size()));
    out.insert(QStringLiteral("peakG"), std::round(result.data.peakG * 1000.0) / 1000.0);
    if (!result.ok)
        out.insert(QStringLiteral("error"), result.error);
    cli::printJson(out);
    if (!result.ok) {
        cli::diagnostic(QStringLiteral("export: %1").arg(result.error));
        return cli::kFailed;
    }
    return cli::kDone;
}

} // namespace

KORVANE_CLI_GUI_COMMAND(exportPackage, kExport.name, kExport.usage, runExport);
