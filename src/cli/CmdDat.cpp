#include "cli/CliCommand.h"

#include "app/ViewerEnvironment.h"
#include "sensor/SensorDataTables.h"
#include "sensor/SidecarDataFile.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

int runDat(const QStringList& args);

const CliCommand kDat { "dat", "dat FILE [--at MS]...", runDat };

int runDat(const QStringList& args)
{
    QString file;
    QList<qint64> times;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--at")) {
            if (++i >= args.size())
                return cli::usageError(kDat, QStringLiteral("--at needs a time in ms"));
            bool ok = false;
            const qint64 t = args[i].toLongLong(&ok);
            if (!ok)
                return cli::usageError(kDat, QStringLiteral("\"%1\" is not a time in ms").arg(args[i]));
            times.append(t);
        } else if (a.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return cli::usageError(kDat, QStringLiteral("unexpected argument \"%1\"").arg(a));
        } else {
            file = a;
        }
    }
    if (file.isEmpty())
        return cli::usageError(kDat, QStringLiteral("FILE is missing"));

    SensorDataTables tables(DetermineSystemCountryCode());
    const bool loaded = tables.load(file);

    QJsonArray at;
    for (qint64 t : times) {
        const sidecar::GpsSample s = tables.gpsSample(t);
        QJsonObject o;
        o.insert(QStringLiteral("t"), t);
        o.insert(QStringLiteral("valid"), s.valid);
        o.insert(QStringLiteral("speedKmh"), s.speedKmh);
        o.insert(QStringLiteral("lon"), FormatMapCoordinate(s.longitude));
        o.insert(QStringLiteral("lat"), FormatMapCoordinate(s.latitude));
        at.append(o);
    }
    QJsonObject out;
    out.insert(QStringLiteral("loaded"), loaded);
    out.insert(QStringLiteral("sensorCount"), tables.sensorCount());
    out.insert(QStringLiteral("gpsCount"), tables.gpsCount());
    out.insert(QStringLiteral("rangeTop"), tables.rangeTop());
    out.insert(QStringLiteral("rangeBottom"), tables.rangeBottom());
    out.insert(QStringLiteral("parkingType"), ReadParkingType(file));
    out.insert(QStringLiteral("at"), at);
    cli::printJson(out);

    const QFileInfo info(file);
    if (!info.exists() || !info.isReadable() || info.isDir()) {
        cli::diagnostic(QStringLiteral("dat: cannot read \"%1\"").arg(file));
        return cli::kFailed;
    }
    return cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(dat, kDat.name, kDat.usage, runDat);
