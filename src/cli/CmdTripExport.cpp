#include "cli/CliCommand.h"

#include "incident/ImpactThresholdSetting.h"
#include "platform/SettingsStore.h"
#include "trips/SensorImpactSource.h"
#include "trips/TripCardReader.h"
#include "trips/TripGpxWriter.h"
#include "trips/TripKmlWriter.h"

namespace {

int runTripExport(const QStringList& args);

const CliCommand kTripExport { "trip-export",
    "trip-export FOLDER --trip N --out FILE.gpx|.kml [--gap SECONDS] [--model N]", runTripExport };

int runTripExport(const QStringList& args)
{
    QString folder;
    QString out;
    int number = 0;
    TripGrouping::Options options;
    std::optional<int> model;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--trip")) {
            bool ok = false;
            number = ++i < args.size() ? args[i].toInt(&ok) : 0;
            if (!ok || number < 1)
                return cli::usageError(kTripExport, QStringLiteral("--trip needs a trip number from 1"));
        } else if (a == QLatin1String("--out")) {
            if (++i >= args.size())
                return cli::usageError(kTripExport, QStringLiteral("--out needs a file"));
            out = args[i];
        } else if (a == QLatin1String("--gap")) {
            bool ok = false;
            const double seconds = ++i < args.size() ? args[i].toDouble(&ok) : 0.0;
            if (!ok || seconds < 0 || seconds > 86400)
                return cli::usageError(kTripExport, QStringLiteral("--gap needs seconds from 0 to 86400"));
            options.maxGapMs = static_cast<int64_t>(seconds * 1000.0);
        } else if (a == QLatin1String("--model")) {
            bool ok = false;
            const int n = ++i < args.size() ? args[i].toInt(&ok) : -1;
            if (!ok || n < 0 || n > 6)
                return cli::usageError(kTripExport, QStringLiteral("--model needs a model index 0..6"));
            model = n;
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return cli::usageError(kTripExport, QStringLiteral("unexpected argument \"%1\"").arg(a));
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty())
        return cli::usageError(kTripExport, QStringLiteral("FOLDER is missing"));
    if (number < 1)
        return cli::usageError(kTripExport, QStringLiteral("--trip N is missing"));
    const bool gpx = out.endsWith(QLatin1String(".gpx"), Qt::CaseInsensitive);
    const bool kml = out.endsWith(QLatin1String(".kml"), Qt::CaseInsensitive);
    if (!gpx && !kml)
        return cli::usageError(kTripExport, QStringLiteral("--out must name a .gpx or .kml file"));

    QJsonObject result;
    result.insert(QStringLiteral("ok"), false);
    result.insert(QStringLiteral("trip"), number);
    result.insert(QStringLiteral("out"), out);
    result.insert(QStringLiteral("format"), gpx ? QStringLiteral("gpx") : QStringLiteral("kml"));
    TripList list;
    if (!TripCardReader::Read(folder, model, options, list)) {
        cli::printJson(result);
        cli::diagnostic(QStringLiteral("trip-export: cannot read the folder \"%1\"").arg(folder));
        return cli::kFailed;
    }
    TripGrouping::ApplyImpacts(list, SensorImpactSource(impactsetting::read(SettingsStore::user())));
    const Trip* trip = list.trip(number);
    if (!trip) {
        cli::printJson(result);
        cli::diagnostic(
            QStringLiteral("trip-export: the folder holds %1 trips, not trip %2").arg(list.tripCount()).arg(number));
        return cli::kFailed;
    }
    const TripRoute route = TripRoute::Build(list, *trip, true, options.maxSpeedMps);
    const bool written = gpx ? TripGpxWriter::Write(out, *trip, route) : TripKmlWriter::Write(out, *trip, route);
    result.insert(QStringLiteral("ok"), written);
    result.insert(QStringLiteral("recordings"), static_cast<int>(trip->recordings.size()));
    result.insert(QStringLiteral("segments"), static_cast<int>(route.segments.size()));
    result.insert(QStringLiteral("points"), route.pointCount());
    cli::printJson(result);
    if (!written) {
        cli::diagnostic(QStringLiteral("trip-export: cannot write \"%1\"").arg(out));
        return cli::kFailed;
    }
    return cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(tripExport, kTripExport.name, kTripExport.usage, runTripExport);
