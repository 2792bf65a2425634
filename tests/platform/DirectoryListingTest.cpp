#include "platform/DirectoryListing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

std::set<std::string> listAll(const QString& folder)
{
    DirectoryListing listing(folder);
    std::set<std::string> names;
    for (std::string_view name = listing.next(); !name.empty(); name = listing.next())
        names.insert(std::string(name));
    EXPECT_TRUE(listing.next().empty()) << "the end stays the end";
    return names;
}

TEST(DirectoryListing, EveryNameOnceWithoutTheDotEntries)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path() + QLatin1Char('/');
    for (const QString& name : { QStringLiteral("rec_20120101_123456.avi"), QStringLiteral("rec_20120101_123456.dat"),
             QStringLiteral(".hidden"), QStringLiteral("évt_ü.avi") }) {
        QFile file(root + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("Setup/inner")));
    // Sub-folders are names like any other; what lies inside them is not listed.
    const std::set<std::string> expected { "rec_20120101_123456.avi", "rec_20120101_123456.dat", ".hidden",
        QFile::encodeName(QStringLiteral("évt_ü.avi")).toStdString(), "Setup" };
    EXPECT_EQ(listAll(root), expected);
    EXPECT_EQ(listAll(dir.path()), expected); // with or without the trailing separator
}

TEST(DirectoryListing, AFolderLargerThanOneReadListsEveryName)
{
    // Long names, so that the entries take several reads of the listing's buffer.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::set<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        const QString name = QStringLiteral("rec_20120101_%1_%2.avi")
                                 .arg(i, 6, 10, QLatin1Char('0'))
                                 .arg(QString(60, QLatin1Char('x')));
        QFile file(dir.path() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        expected.insert(name.toStdString());
    }
    EXPECT_EQ(listAll(dir.path()), expected);
}

TEST(DirectoryListing, EachNameOnceAcrossManyReads)
{
    // The names are read from the kernel a block at a time and taken apart record by record: counted, not
    // gathered into a set, so that a record read twice or skipped at a block's end shows.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::map<std::string, int> expected;
    for (int i = 0; i < 2500; ++i) {
        // Names of every length from 1 to 200 bytes, so that records end at every offset within a block.
        const std::string name = std::to_string(i) + "_" + std::string(static_cast<size_t>(i % 200), 'n');
        QFile file(dir.path() + QLatin1Char('/') + QString::fromStdString(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        expected[name] = 1;
    }
    DirectoryListing listing(dir.path());
    std::map<std::string, int> seen;
    for (std::string_view name = listing.next(); !name.empty(); name = listing.next())
        ++seen[std::string(name)];
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(listing.next().empty());
}

TEST(DirectoryListing, AFolderThatCannotBeOpenedListsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.path() + QStringLiteral("/plain"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& folder : { dir.path() + QStringLiteral("/missing"), dir.path() + QStringLiteral("/plain") }) {
        DirectoryListing listing(folder);
        EXPECT_FALSE(listing.isOpen()) << folder.toStdString();
        EXPECT_TRUE(listing.next().empty()) << folder.toStdString();
    }
    QDir(dir.path()).mkpath(QStringLiteral("empty"));
    DirectoryListing empty(dir.path() + QStringLiteral("/empty"));
    EXPECT_TRUE(empty.isOpen());
    EXPECT_TRUE(empty.next().empty());
}

} // namespace
