#include "catalogue/TextPool.h"
#include "catalogue/RecordingNames.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <string>

namespace {

std::string nameNumber(int i)
{
    return "rec_20120101_" + std::to_string(100000 + i) + ".avi";
}

// Enough names to fill several buffers; every text keeps its value through changes to its neighbours and
// the end of the pool.
TEST(TextPool, TextsStandAloneAcrossBuffersAndAfterThePool)
{
    QStringList texts;
    {
        TextPool pool;
        for (int i = 0; i < 5000; ++i)
            texts << pool.addLatin1(nameNumber(i));
        EXPECT_TRUE(pool.addLatin1(std::string()).isEmpty());
        EXPECT_EQ(pool.addLatin1("\xe9t\xe9"), QStringLiteral("\u00e9t\u00e9")); // Latin-1, not UTF-8
    }
    for (int i = 0; i < texts.size(); ++i)
        ASSERT_EQ(texts[i], QString::fromStdString(nameNumber(i))) << i;
    texts[10].append(QStringLiteral("_changed"));
    texts[11][0] = QLatin1Char('R');
    texts[12].prepend(QLatin1Char('x'));
    EXPECT_EQ(texts[9], QString::fromStdString(nameNumber(9)));
    EXPECT_EQ(texts[10], QString::fromStdString(nameNumber(10)) + QStringLiteral("_changed"));
    EXPECT_EQ(texts[11], QStringLiteral("R") + QString::fromStdString(nameNumber(11)).mid(1));
    EXPECT_EQ(texts[12], QStringLiteral("x") + QString::fromStdString(nameNumber(12)));
    EXPECT_EQ(texts[13], QString::fromStdString(nameNumber(13)));
}

// The last holder of a buffer may grow in place; nothing else is left to overwrite.
TEST(TextPool, TheLastTextOfABufferGrowsSafely)
{
    QString kept;
    {
        TextPool pool;
        const QString first = pool.addLatin1("first");
        kept = pool.addLatin1("second");
        const QString third = pool.addLatin1("third");
        EXPECT_EQ(first + kept + third, QStringLiteral("firstsecondthird"));
    }
    kept.append(QString(100000, QLatin1Char('z')));
    kept.prepend(QStringLiteral("0123456789"));
    EXPECT_EQ(kept.left(16), QStringLiteral("0123456789second"));
    EXPECT_EQ(kept.size(), 16 + 100000);
}

// A base name cut from a pooled name shares the pool's buffer and still stands alone.
TEST(TextPool, BaseNamesOfPooledNames)
{
    QStringList bases;
    QStringList names;
    {
        TextPool pool;
        for (int i = 0; i < 3000; ++i)
            names << pool.addLatin1(nameNumber(i));
    }
    for (const QString& name : names)
        bases << MakeBaseName(name, QStringLiteral(".avi"));
    names.clear();
    for (int i = 0; i < bases.size(); ++i)
        ASSERT_EQ(bases[i], QString::fromStdString(nameNumber(i)).mid(4, 15)) << i;
    bases[0].append(QStringLiteral("p"));
    EXPECT_EQ(bases[1], QStringLiteral("20120101_100001"));
}

} // namespace
