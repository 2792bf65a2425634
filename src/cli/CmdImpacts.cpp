#include "cli/CliCommand.h"

#include "incident/DriveSequence.h"
#include "incident/ImpactThresholdSetting.h"
#include "incident/RecordingImpacts.h"
#include "platform/SettingsStore.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

int runImpacts(const QStringList& args);

const CliCommand kImpacts { "impacts", "impacts FOLDER|RECORDING [--threshold G]", runImpacts };

QJsonObject describe(const RecordingImpacts& r)
{
    QJsonArray impacts;
    for (const Impact& i : r.impacts) {
        QJsonObject o;
        o.insert(QStringLiteral("atMs"), i.timeMs);
        o.insert(QStringLiteral("atSeconds"), i.timeMs / 1000.0);
        o.insert(QStringLiteral("peakG"), std::round(i.peakG * 1000.0) / 1000.0);
        o.insert(QStringLiteral("marked"), i.marked);
        o.insert(QStringLiteral("peakSample"), i.peakSample);
        o.insert(QStringLiteral("firstSample"), i.firstSample);
        o.insert(QStringLiteral("lastSample"), i.lastSample);
        impacts.append(o);
    }
    QJsonObject o;
    o.insert(QStringLiteral("file"), QFileInfo(r.videoPath).fileName());
    o.insert(QStringLiteral("path"), r.videoPath);
    o.insert(QStringLiteral("dataLoaded"), r.dataLoaded);
    o.insert(QStringLiteral("sensorCount"), r.sensorCount);
    o.insert(QStringLiteral("durationMs"), r.durationMs);
    o.insert(QStringLiteral("durationFromVideo"), r.durationFromVideo);
    o.insert(QStringLiteral("impacts"), impacts);
    return o;
}

int runImpacts(const QStringList& args)
{
    QString target;
    std::optional<double> threshold;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--threshold")) {
            if (++i >= args.size())
                return cli::usageError(kImpacts, QStringLiteral("--threshold needs a value in g"));
            bool ok = false;
            const double g = args[i].toDouble(&ok);
            if (!ok || !impactsetting::isValid(g))
                return cli::usageError(kImpacts, QStringLiteral("\"%1\" is not a threshold between %2 and %3 g")
                                                     .arg(args[i])
                                                     .arg(impactsetting::kMinimumG)
                                                     .arg(impactsetting::kMaximumG));
            threshold = g;
        } else if (a.startsWith(QLatin1String("--")) || !target.isEmpty()) {
            return cli::usageError(kImpacts, QStringLiteral("unexpected argument \"%1\"").arg(a));
        } else {
            target = a;
        }
    }
    if (target.isEmpty())
        return cli::usageError(kImpacts, QStringLiteral("FOLDER or RECORDING is missing"));
    const double g = threshold ? *threshold : impactsetting::read(SettingsStore::user());

    const QFileInfo info(target);
    if (!info.exists()) {
        cli::diagnostic(QStringLiteral("impacts: \"%1\" does not exist").arg(target));
        return cli::kFailed;
    }
    QJsonArray recordings;
    int count = 0;
    if (info.isDir()) {
        const DriveSequence sequence = DriveSequence::ofFolder(info.absoluteFilePath());
        for (const DriveRecording& r : sequence.recordings()) {
            const RecordingImpacts found = FindRecordingImpacts(r.videoPath, r.dataPath, g);
            count += static_cast<int>(found.impacts.size());
            recordings.append(describe(found));
        }
    } else {
        const QString data = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".dat");
        const RecordingImpacts found = FindRecordingImpacts(info.absoluteFilePath(), data, g);
        count += static_cast<int>(found.impacts.size());
        recordings.append(describe(found));
    }
    QJsonObject out;
    out.insert(QStringLiteral("thresholdG"), g);
    out.insert(QStringLiteral("impactCount"), count);
    out.insert(QStringLiteral("recordings"), recordings);
    cli::printJson(out);
    return cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(impacts, kImpacts.name, kImpacts.usage, runImpacts);
