#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

class SettingsStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    SettingsStore store{dir.path()};
};

TEST_F(SettingsStoreTest, KeyLivesInAnIniFileNamedAfterItsLastComponent)
{
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "ViewerPerformance", 2));
    EXPECT_TRUE(QFile::exists(dir.filePath("Velmora Korvane.ini")));
}

TEST_F(SettingsStoreTest, NumbersRoundTripAsThirtyTwoBitValues)
{
    for (int32_t value : {0, 1, 7, -1, INT32_MAX, INT32_MIN}) {
        ASSERT_TRUE(store.WriteRegistryNumber(kKey, "N", value));
        int32_t out = 12345;
        ASSERT_TRUE(store.ReadRegistryNumber(kKey, "N", out));
        EXPECT_EQ(out, value);
    }
}

TEST_F(SettingsStoreTest, MissingValueFailsAndLeavesTheOutputUntouched)
{
    int32_t number = 42;
    QString text = QStringLiteral("keep");
    EXPECT_FALSE(store.ReadRegistryNumber(kKey, "Nothing", number));
    EXPECT_FALSE(store.ReadRegistryText(kKey, "Nothing", text));
    EXPECT_EQ(number, 42);
    EXPECT_EQ(text, QStringLiteral("keep"));
}

TEST_F(SettingsStoreTest, TextsUpTo129CharactersRoundTrip)
{
    const QString texts[] = {QString(), QStringLiteral("KRV-ECHO_WDR"), QStringLiteral("한국어 텍스트 日本語"),
                             QString(129, QLatin1Char('x'))};
    for (const QString& text : texts) {
        ASSERT_TRUE(store.WriteRegistryText(kKey, "Type", text));
        QString out = QStringLiteral("stale");
        ASSERT_TRUE(store.ReadRegistryText(kKey, "Type", out));
        EXPECT_EQ(out, text);
    }
}

TEST_F(SettingsStoreTest, TextLongerThanTheBufferFailsToReadAndLeavesTheOutput)
{
    ASSERT_TRUE(store.WriteRegistryText(kKey, "Type", QString(130, QLatin1Char('y'))));
    QString out = QStringLiteral("untouched");
    EXPECT_FALSE(store.ReadRegistryText(kKey, "Type", out));
    EXPECT_EQ(out, QStringLiteral("untouched"));
}

TEST_F(SettingsStoreTest, ReadsOfTheOtherTypeBehaveLikeTheRegistry)
{
    // A text is too large for the 4-byte number query unless it is a single character.
    ASSERT_TRUE(store.WriteRegistryText(kKey, "T", QStringLiteral("KRV-ALPHA")));
    int32_t number = 9;
    EXPECT_FALSE(store.ReadRegistryNumber(kKey, "T", number));
    EXPECT_EQ(number, 9);
    ASSERT_TRUE(store.WriteRegistryText(kKey, "T", QStringLiteral("A")));
    ASSERT_TRUE(store.ReadRegistryNumber(kKey, "T", number));
    EXPECT_EQ(number, 0x41);

    // A number read as text gives its bytes as UTF-16 up to the first null.
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "N", 0x42));
    QString text;
    ASSERT_TRUE(store.ReadRegistryText(kKey, "N", text));
    EXPECT_EQ(text, QStringLiteral("B"));
}

TEST_F(SettingsStoreTest, RewritingTheStoredValueLeavesTheFileAloneAndAChangeRewritesIt)
{
    const QString file = dir.filePath("Velmora Korvane.ini");
    ASSERT_TRUE(store.WriteRegistryNumber(kKey, "N", 7));
    ASSERT_TRUE(store.WriteRegistryText(kKey, "T", QStringLiteral("KRV-DELTA")));
    // The file is replaced (a new inode) by every real write: a kept inode proves nothing was written.
    struct stat first {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &first), 0);

    EXPECT_TRUE(store.WriteRegistryNumber(kKey, "N", 7));
    EXPECT_TRUE(store.WriteRegistryText(kKey, "T", QStringLiteral("KRV-DELTA")));
    struct stat same {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &same), 0);
    EXPECT_EQ(same.st_ino, first.st_ino);

    // A different value, and the same digits as a text, are real changes. (Each check compares with the file
    // that existed while the write made its new one, so a reused inode number cannot fake a change.)
    EXPECT_TRUE(store.WriteRegistryNumber(kKey, "N", 8));
    struct stat changed {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &changed), 0);
    EXPECT_NE(changed.st_ino, first.st_ino);
    EXPECT_TRUE(store.WriteRegistryText(kKey, "N2", QStringLiteral("7")));
    struct stat again {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &again), 0);
    EXPECT_NE(again.st_ino, changed.st_ino);
    int32_t n = 0;
    ASSERT_TRUE(store.ReadRegistryNumber(kKey, "N", n));
    EXPECT_EQ(n, 8);
    QString t;
    ASSERT_TRUE(store.ReadRegistryText(kKey, "T", t));
    EXPECT_EQ(t, QStringLiteral("KRV-DELTA"));
}

TEST_F(SettingsStoreTest, UnwritableFolderReportsFailure)
{
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A folder path that runs through a regular file can never be created.
    SettingsStore broken(dir.filePath("blocker/sub"));
    EXPECT_FALSE(broken.WriteRegistryNumber(kKey, "N", 1));
    EXPECT_FALSE(broken.WriteRegistryText(kKey, "T", QStringLiteral("x")));
}

} // namespace
