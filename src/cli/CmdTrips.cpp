#include "cli/CliCommand.h"

#include "incident/ImpactThresholdSetting.h"
#include "platform/SettingsStore.h"
#include "trips/SensorImpactSource.h"
#include "trips/TripCardReader.h"
#include "trips/TripJson.h"

namespace {

int runTrips(const QStringList& args);

const CliCommand kTrips { "trips", "trips FOLDER [--gap SECONDS] [--model N]", runTrips };

int runTrips(const QStringList& args)
{
    QString folder;
    TripGrouping::Options options;
    std::optional<int> model;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--gap")) {
            bool ok = false;
            const double seconds = ++i < args.size() ? args[i].toDouble(&ok) : 0.0;
            if (!ok || seconds < 0 || seconds > 86400)
                return cli::usageError(kTrips, QStringLiteral("--gap needs seconds from 0 to 86400"));
            options.maxGapMs = static_cast<int64_t>(seconds * 1000.0);
        } else if (a == QLatin1String("--model")) {
            bool ok = false;
            const int n = ++i < args.size() ? args[i].toInt(&ok) : -1;
            if (!ok || n < 0 || n > 6)
                return cli::usageError(kTrips, QStringLiteral("--model needs a model index 0..6"));
            model = n;
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return cli::usageError(kTrips, QStringLiteral("unexpected argument \"%1\"").arg(a));
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty())
        return cli::usageError(kTrips, QStringLiteral("FOLDER is missing"));

    TripList list;
    if (!TripCardReader::Read(folder, model, options, list)) {
        cli::diagnostic(QStringLiteral("trips: cannot read the folder \"%1\"").arg(folder));
        cli::printJson(TripJson::Document(TripList(), options.maxGapMs));
        return cli::kFailed;
    }
    TripGrouping::ApplyImpacts(list, SensorImpactSource(impactsetting::read(SettingsStore::user())));
    cli::printJson(TripJson::Document(list, options.maxGapMs));
    return cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(trips, kTrips.name, kTrips.usage, runTrips);
