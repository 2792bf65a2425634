#include "app/ViewerEnvironment.h"
#include "camera/CameraIdentification.h"
#include "camera/SetupRecord.h"
#include "cli/CliCommand.h"

#include <QJsonValue>
#include <QString>

namespace {

int runSetup(const QStringList& args);

constexpr const char* kSetupUsage = "setup FILE [--model NAME|auto]";

KORVANE_CLI_COMMAND(setup, "setup", kSetupUsage, runSetup);

int usage(const QString& message)
{
    return cli::usageError(CliCommand { "setup", kSetupUsage, runSetup }, message);
}

int runSetup(const QStringList& args)
{
    QString file;
    QString modelText = QStringLiteral("auto");
    bool haveFile = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--model")) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("--model needs a NAME"));
            modelText = args.at(++i);
        } else if (arg.startsWith(QLatin1String("--model="))) {
            modelText = arg.mid(8);
        } else if (arg.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option %1").arg(arg));
        } else if (haveFile) {
            return usage(QStringLiteral("one FILE only"));
        } else {
            file = arg;
            haveFile = true;
        }
    }
    if (!haveFile)
        return usage(QStringLiteral("FILE is missing"));

    CameraModel model = CameraModel::Alpha;
    if (modelText.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
        // Without a readable file no model can be told; the settings command then falls back on Alpha too.
        model = IdentifyCameraModelOfFile(file).value_or(CameraModel::Alpha);
    } else if (const auto named = CameraModelFromName(modelText)) {
        model = *named;
    } else {
        return usage(QStringLiteral("unknown model \"%1\"").arg(modelText));
    }

    SetupRecord record(model);
    const bool loaded = LoadSetupRecord(record, file, model, DetermineSystemCountryCode());
    if (!loaded)
        cli::diagnostic(QStringLiteral("setup: cannot read \"%1\": %2").arg(file, record.errorString()));

    QJsonObject out;
    out.insert(QStringLiteral("model"), CameraModelName(model));
    out.insert(QStringLiteral("loaded"), loaded);
    out.insert(QStringLiteral("fileSize"), static_cast<double>(record.loadedFileSize()));
    out.insert(QStringLiteral("image"), QString::fromLatin1(record.image().toHex()));
    out.insert(QStringLiteral("firmware"), record.firmwareText());
    cli::printJson(out);
    // A settings file that cannot be read is a failed job, even though the document still says what was
    // (not) loaded.
    return loaded ? cli::kDone : cli::kFailed;
}

} // namespace
