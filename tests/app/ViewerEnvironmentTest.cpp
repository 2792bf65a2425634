#include "app/ViewerEnvironment.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(ViewerEnvironment, InitialValuesBeforeStartUp)
{
    const ViewerEnvironment env;
    EXPECT_EQ(env.viewerTier, 1);
    EXPECT_EQ(env.postProcessing, 6);
    EXPECT_EQ(env.noiseReduction, 1);
    EXPECT_EQ(env.highQualityResampling, 1);
    EXPECT_TRUE(env.tierLabel.isEmpty());
}

TEST(ViewerEnvironment, SkinModuleByCountry)
{
    EXPECT_EQ(SkinModuleName(82), QStringLiteral("Resource"));
    EXPECT_EQ(SkinModuleName(81), QStringLiteral("ResourceJ"));
    EXPECT_EQ(SkinModuleName(61), QStringLiteral("ResourceE"));
    EXPECT_EQ(SkinModuleName(33), QStringLiteral("ResourceE"));
    EXPECT_EQ(SkinModuleName(0), QStringLiteral("ResourceE"));
}

TEST(ViewerEnvironment, CountryOverrideOnlyWhenItIsANumber)
{
    ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
    ::setenv("KORVANE_COUNTRY", "82", 1);
    EXPECT_EQ(DetermineSystemCountryCode(), 82);
    ::setenv("KORVANE_COUNTRY", "korea", 1);
    EXPECT_EQ(DetermineSystemCountryCode(), 81);
    ::unsetenv("KORVANE_COUNTRY");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(DetermineSystemCountryCode(), 0);
    ::unsetenv("LC_ALL");
}

TEST(ViewerEnvironment, TierLabels)
{
    EXPECT_EQ(TierLabel(0), QStringLiteral("[고사양 PC용 뷰어]"));
    EXPECT_EQ(TierLabel(1), QStringLiteral("[중사양 PC용 뷰어]"));
    EXPECT_EQ(TierLabel(2), QStringLiteral("[저사양 PC용 뷰어]"));
    EXPECT_TRUE(TierLabel(3).isEmpty());
    EXPECT_TRUE(TierLabel(-1).isEmpty());
}

TEST(ViewerEnvironment, StoredTiersOutsideTheRangeCountAsMid)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 1}, {7, 1}, {-1, 1}};
    for (auto [stored, tier] : cases)
        EXPECT_EQ(NormaliseTier(stored), tier) << stored;
}

TEST(ViewerEnvironment, StringTableByUserInterfaceLanguage)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"ko-KR", "en-US"}, "ko"}, {{"ja-JP"}, "ja"}, {{"en-AU", "en"}, "en_AU"}, {{"en-US"}, "en"},
        {{"en-GB"}, "en"},          {{"fr-FR", "ko"}, "en"}, {{}, "en"}};
    for (const auto& [languages, table] : cases)
        EXPECT_EQ(StringTableForLanguages(languages), table) << languages.join(',').toStdString();
}

} // namespace
