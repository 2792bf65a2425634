#include "cli/CliCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace cli {

std::vector<CliCommand>& registry()
{
    static std::vector<CliCommand> commands;
    return commands;
}

bool add(const CliCommand& command)
{
    registry().push_back(command);
    return true;
}

void printJson(const QJsonObject& object)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void diagnostic(const QString& message)
{
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

int usageError(const CliCommand& command, const QString& message)
{
    diagnostic(QStringLiteral("usage: korvane-cli %1 (%2)").arg(QLatin1String(command.usage), message));
    return kUsage;
}

} // namespace cli

namespace {

QString overallUsage()
{
    QStringList lines;
    for (const CliCommand& c : cli::registry())
        lines << QStringLiteral("korvane-cli %1").arg(QLatin1String(c.usage));
    return lines.join(QStringLiteral("; "));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        cli::diagnostic(QStringLiteral("usage: %1").arg(overallUsage()));
        return cli::kUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--version")) {
        std::printf("korvane-cli %s\n", KORVANE_VERSION);
        return cli::kDone;
    }
    for (const CliCommand& c : cli::registry()) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    cli::diagnostic(QStringLiteral("unknown command \"%1\"; usage: %2").arg(name, overallUsage()));
    return cli::kUsage;
}
