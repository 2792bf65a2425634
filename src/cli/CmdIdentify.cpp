#include "camera/CameraIdentification.h"
#include "cli/CliCommand.h"

#include <QFileInfo>
#include <QJsonValue>

namespace {

int runIdentify(const QStringList& args);

KORVANE_CLI_COMMAND(identify, "identify", "identify ROOT", runIdentify);

int runIdentify(const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return cli::usageError(
            CliCommand { "identify", "identify ROOT", runIdentify }, QStringLiteral("one ROOT folder"));
    const QString root = args.first();
    if (!QFileInfo(root).isDir())
        cli::diagnostic(QStringLiteral("identify: \"%1\" is not a folder").arg(root));

    QJsonObject out;
    const std::optional<CameraModel> model = IdentifyCameraModel(root);
    if (model) {
        out.insert(QStringLiteral("model"), CameraModelName(*model));
        out.insert(QStringLiteral("modelIndex"), cameraModelIndex(*model));
    } else {
        out.insert(QStringLiteral("model"), QJsonValue::Null);
        out.insert(QStringLiteral("modelIndex"), QJsonValue::Null);
    }
    cli::printJson(out);
    return cli::kDone;
}

} // namespace
