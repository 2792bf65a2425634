#include "mainwindow/MissingCardNotice.h"

#include <gtest/gtest.h>

#include <cctype>

#include <string>
#include <vector>

namespace {

struct NoticeCase
{
    const char* name;
    std::string opens; // one letter per open: 'a' the folder exists, 'm' it is missing
    std::string told; // one letter per open: 'y' the user is told, '.' not
};

const NoticeCase kCases[] = {
    { "folder always there", "aaaa", "...." },
    { "missing from the first open", "m", "y" },
    { "pulled after playing", "aam", "..y" },
    { "repeated opens while missing say it once", "ammmm", ".y..." },
    { "card back and pulled again tells again", "ammamm", ".y..y." },
    { "back for one open only", "mam", "y.y" },
};

class MissingCardNoticeTest : public ::testing::TestWithParam<NoticeCase>
{
};

TEST_P(MissingCardNoticeTest, TellsOncePerDisappearance)
{
    const NoticeCase& c = GetParam();
    ASSERT_EQ(c.opens.size(), c.told.size());
    MissingCardNotice notice;
    std::string got;
    for (char open : c.opens)
        got += notice.opened(open == 'a') ? 'y' : '.';
    EXPECT_EQ(got, c.told);
}

INSTANTIATE_TEST_SUITE_P(Opens, MissingCardNoticeTest, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<NoticeCase>& info) {
        std::string name;
        for (const char* p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

} // namespace
