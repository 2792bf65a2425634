#include "platform/SystemLocale.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

struct LocaleCase
{
    const char* locale;
    std::optional<int> code;
};

class SystemLocaleTest : public ::testing::TestWithParam<LocaleCase>
{
};

TEST_P(SystemLocaleTest, CountryCodeIsTheLocalesTelephonePrefix)
{
    const LocaleCase c = GetParam();
    ::setenv("LC_ALL", c.locale, 1);
    EXPECT_EQ(platform::localeCountryDialingCode(), c.code) << c.locale;
    ::unsetenv("LC_ALL");
}

INSTANTIATE_TEST_SUITE_P(Locales, SystemLocaleTest,
                         ::testing::Values(LocaleCase{"ko_KR.UTF-8", 82}, LocaleCase{"ja_JP.UTF-8", 81},
                                           LocaleCase{"en_AU.UTF-8", 61}, LocaleCase{"fr_FR.UTF-8", 33},
                                           LocaleCase{"C", std::nullopt}));

} // namespace
