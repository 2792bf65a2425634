#include "cli/CliCommand.h"
#include "platform/CardDevices.h"
#include "sdcard/CardTarget.h"
#include "sdcard/ErrorCheck.h"
#include "sdcard/Formatter.h"

namespace {

int runCheck(const QStringList& args);

KORVANE_CLI_COMMAND(check, "check", "check TARGET", runCheck);

int runCheck(const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return cli::usageError(CliCommand { "check", "check TARGET", runCheck },
            QStringLiteral("one TARGET: a removable device or an image file"));
    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices();
    QString why;
    const std::optional<CardTarget> target = ResolveCardTarget(args.first(), *devices, &why);
    if (!target) {
        cli::diagnostic(QStringLiteral("check: refused: %1").arg(why));
        return cli::kFailed;
    }
    const errorcheck::Result result
        = errorcheck::Run(target->path, target->mounted(), {}, {}, 30 * 60 * 1000, devices.get());
    const formatter::JobEnd end = formatter::JobEndOf(result.elevated, result.started, result.exitedNormally,
        result.exitStatus, result.outcome != errorcheck::Outcome::Failed);
    const bool cancelled = end == formatter::JobEnd::Cancelled || end == formatter::JobEnd::NotAuthorised;
    if (cancelled)
        cli::diagnostic(QStringLiteral("check: %1; the card was not checked")
                            .arg(end == formatter::JobEnd::Cancelled
                                    ? QStringLiteral("cancelled at the administrator's password prompt")
                                    : QStringLiteral("not authorised to read %1").arg(target->path)));
    static const char* const names[] = { "clean", "errors", "failed" };
    QJsonObject out;
    out.insert(QStringLiteral("result"), QLatin1String(names[static_cast<int>(result.outcome)]));
    out.insert(QStringLiteral("exitStatus"), result.exitStatus);
    out.insert(QStringLiteral("output"), result.output);
    if (cancelled)
        out.insert(QStringLiteral("cancelled"), true);
    cli::printJson(out);
    return result.outcome == errorcheck::Outcome::Failed ? cli::kFailed : cli::kDone;
}

} // namespace
