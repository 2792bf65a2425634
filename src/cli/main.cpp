#include "cli/CliCommand.h"

#include <QCoreApplication>
#ifdef KORVANE_CLI_GUI
#include <QGuiApplication>
#endif
#include <QTextStream>

#include <cstdio>
#include <memory>

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

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv)
{
#ifdef KORVANE_CLI_GUI
    if (argc > 1) {
        for (const CliCommand& c : cli::registry()) {
            if (qstrcmp(argv[1], c.name) == 0 && c.needsGui) {
                if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                    qputenv("QT_QPA_PLATFORM", "offscreen");
                return std::make_unique<QGuiApplication>(argc, argv);
            }
        }
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QStringList args = app->arguments();
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
