#include "app/InstallLayout.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using installlayout::Folder;

struct LayoutCase
{
    const char* name;
    Folder kind;
    bool installed; // the installed folder of `kind` exists beside bin/
    bool installedElsewhere; // another kind's installed folder exists, not this one
};

class InstallLayoutTest : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(InstallLayoutTest, FindsTheInstalledFolderFromTheExecutableElseTheExecutablesFolder)
{
    const LayoutCase& c = GetParam();
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString own = QDir::cleanPath(QDir(bin).filePath(installlayout::RelativeToExecutables(c.kind)));
    if (c.installed) {
        ASSERT_TRUE(QDir().mkpath(own));
    }
    if (c.installedElsewhere) {
        const Folder other = c.kind == Folder::Data ? Folder::Helper : Folder::Data;
        ASSERT_TRUE(QDir().mkpath(QDir(bin).filePath(installlayout::RelativeToExecutables(other))));
    }

    const QString found = installlayout::Resolve(c.kind, bin);
    EXPECT_EQ(found, c.installed ? own : bin);
    // Whatever was found lies outside bin/ only for an installed tree, and then under the same prefix.
    if (c.installed) {
        EXPECT_NE(found, bin);
        EXPECT_TRUE(found.startsWith(QDir::cleanPath(prefix.path()) + QLatin1Char('/')));
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, InstallLayoutTest,
    ::testing::Values(LayoutCase { "DataInstalled", Folder::Data, true, false },
        LayoutCase { "DataBuildTree", Folder::Data, false, false },
        LayoutCase { "DataBuildTreeBesideAnotherInstalledFolder", Folder::Data, false, true },
        LayoutCase { "LibraryInstalled", Folder::Library, true, false },
        LayoutCase { "LibraryBuildTree", Folder::Library, false, true },
        LayoutCase { "HelperInstalled", Folder::Helper, true, false },
        LayoutCase { "HelperBuildTree", Folder::Helper, false, true }),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(InstallLayout, TheThreeFoldersAreDistinctAndNoneIsTheExecutablesOwn)
{
    const QString data = installlayout::RelativeToExecutables(Folder::Data);
    const QString lib = installlayout::RelativeToExecutables(Folder::Library);
    const QString helper = installlayout::RelativeToExecutables(Folder::Helper);
    for (const QString& rel : { data, lib, helper }) {
        EXPECT_TRUE(rel.startsWith(QLatin1String("../"))) << rel.toStdString();
        EXPECT_TRUE(rel.endsWith(QLatin1String("/korvane-player"))) << rel.toStdString();
    }
    EXPECT_NE(data, lib);
    EXPECT_NE(lib, helper);
    EXPECT_NE(data, helper);
}

TEST(InstallLayout, AFileWhereTheFolderShouldBeDoesNotCount)
{
    QTemporaryDir prefix;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString own = QDir::cleanPath(QDir(bin).filePath(installlayout::RelativeToExecutables(Folder::Data)));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(own).path()));
    QFile f(own);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(installlayout::Resolve(Folder::Data, bin), bin);
}

} // namespace
