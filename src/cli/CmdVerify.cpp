#include "cli/CliCommand.h"

#include "incident/PackageManifest.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

int runVerify(const QStringList& args);

const CliCommand kVerify { "verify", "verify PACKAGE", runVerify };

int runVerify(const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return cli::usageError(kVerify, QStringLiteral("one PACKAGE folder"));
    const QString folder = args.first();
    if (!QFileInfo(folder).isDir()) {
        cli::diagnostic(QStringLiteral("verify: \"%1\" is not a package folder").arg(folder));
        return cli::kFailed;
    }
    const packagemanifest::VerifyResult r = packagemanifest::verify(folder);
    QJsonObject out;
    out.insert(QStringLiteral("ok"), r.ok);
    out.insert(QStringLiteral("filesChecked"), r.filesChecked);
    out.insert(QStringLiteral("changed"), QJsonArray::fromStringList(r.changed));
    out.insert(QStringLiteral("missing"), QJsonArray::fromStringList(r.missing));
    out.insert(QStringLiteral("unlisted"), QJsonArray::fromStringList(r.unlisted));
    cli::printJson(out);
    if (!r.ok) {
        QStringList named;
        for (const QString& n : r.changed)
            named << QStringLiteral("changed: %1").arg(n);
        for (const QString& n : r.missing)
            named << QStringLiteral("missing: %1").arg(n);
        for (const QString& n : r.unlisted)
            named << QStringLiteral("not listed: %1").arg(n);
        if (!r.error.isEmpty())
            named << r.error;
        cli::diagnostic(QStringLiteral("verify: %1").arg(named.join(QStringLiteral("; "))));
        return cli::kFailed;
    }
    return cli::kDone;
}

} // namespace

KORVANE_CLI_COMMAND(verify, kVerify.name, kVerify.usage, runVerify);
