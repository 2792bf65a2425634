#include "sdcard/SizeText.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase
{
    uint64_t bytes;
    int country;
    const char* text;
};

class SizeText : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(SizeText, IsWrittenAsTheDriveListShowsIt)
{
    const SizeCase c = GetParam();
    EXPECT_EQ(DriveSizeText(c.bytes, c.country).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Table, SizeText,
    ::testing::Values(SizeCase { 0, 1, "0Byte" }, SizeCase { 0, 82, "0바이트" }, SizeCase { 7, 81, "7Byte" },
        SizeCase { 999, 1, "999Byte" }, SizeCase { 1023, 1, "1,023Byte" }, SizeCase { 1023, 82, "1,023바이트" },
        SizeCase { 1024, 1, "1.00KB" }, SizeCase { 1536, 82, "1.50KB" }, SizeCase { 1048575, 1, "1024.00KB" },
        SizeCase { 1048576, 1, "1.00MB" }, SizeCase { 1073741823, 1, "1024.00MB" },
        SizeCase { 1073741824, 1, "1.00GB" }, SizeCase { 15923150848ULL, 1, "14.83GB" },
        SizeCase { 15923150848ULL, 82, "14.83GB" }, SizeCase { 137438953472ULL, 81, "128.00GB" }));

} // namespace

#include "sdcard/CardTexts.h"

namespace {

TEST(CardTexts, FillInTheCFormatOfTheStringTables)
{
    EXPECT_EQ(FormatNumbers(QStringLiteral("Formatting: %d%% is under progressing."), { 42 }),
        QStringLiteral("Formatting: 42% is under progressing."));
    EXPECT_EQ(FormatNumbers(QStringLiteral("전체 클러스터 %d개 중 %d개"), { 1000, 10 }),
        QStringLiteral("전체 클러스터 1000개 중 10개"));
    EXPECT_EQ(FormatNumbers(QStringLiteral("no numbers %%"), { 1 }), QStringLiteral("no numbers %"));
    EXPECT_EQ(FormatNumbers(QStringLiteral("%d and %d"), { 7 }), QStringLiteral("7 and "));
}

TEST(CardTexts, WarningLineByCountry)
{
    EXPECT_TRUE(CardWarningLine(82, false).isEmpty());
    EXPECT_TRUE(CardWarningLine(82, true).isEmpty());
    EXPECT_EQ(CardWarningLine(1, false), QStringLiteral("Please do not remove SD Card until formatting is completed."));
    EXPECT_EQ(CardWarningLine(61, true), QStringLiteral("Please do not remove SD Card until testing is completed."));
    EXPECT_TRUE(CardWarningLine(81, true).startsWith(QStringLiteral("テスト")));
}

} // namespace
