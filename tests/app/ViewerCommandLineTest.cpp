#include "app/ViewerCommandLine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

namespace {

using Action = ViewerCommandLine::Action;

TEST(ViewerCommandLine, FlagsAndTheFolder)
{
    struct Case
    {
        QStringList args;
        Action action;
        QString folder;
    };
    const Case cases[] = {
        { {}, Action::Run, QString() },
        { { "--version" }, Action::Version, QString() },
        { { "--help" }, Action::Help, QString() },
        { { "-h" }, Action::Help, QString() },
        // A folder that is not there is handed on as it stands, as before: start-up then finds no card.
        { { "/no/such/card" }, Action::Run, "/no/such/card" },
        // Only the first argument counts, as before.
        { { "/no/such/card", "--version" }, Action::Run, "/no/such/card" },
        { { "file:///no/such/card" }, Action::Run, "/no/such/card" },
        { { "file:///a%20card/" }, Action::Run, "/a card/" },
    };
    for (const Case& c : cases) {
        const ViewerCommandLine line = ParseViewerCommandLine(c.args);
        EXPECT_EQ(line.action, c.action) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.folder, c.folder) << c.args.join(' ').toStdString();
    }
}

TEST(ViewerCommandLine, ARecordingOrItsUrlStandsForItsFolder)
{
    QTemporaryDir card;
    ASSERT_TRUE(card.isValid());
    const QString recording = card.filePath(QStringLiteral("evt_20240102_030405.avi"));
    QFile f(recording);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString folder = QDir(card.path()).absolutePath();

    EXPECT_EQ(ParseViewerCommandLine({ recording }).folder, folder);
    EXPECT_EQ(ParseViewerCommandLine({ QUrl::fromLocalFile(recording).toString() }).folder, folder);
    // A folder stays itself.
    EXPECT_EQ(ParseViewerCommandLine({ card.path() }).folder, card.path());
}

TEST(ViewerCommandLine, VersionAndHelpTexts)
{
    EXPECT_TRUE(ViewerVersionText().startsWith(QLatin1String("korvane-player ")));
    EXPECT_TRUE(
        ViewerVersionText().contains(QRegularExpression(QStringLiteral("^korvane-player \\d+\\.\\d+\\.\\d+$"))));
    EXPECT_TRUE(ViewerHelpText().startsWith(QLatin1String("Usage: korvane-player [FOLDER]\n")));
    EXPECT_TRUE(ViewerHelpText().contains(QLatin1String("--version")));
}

} // namespace
