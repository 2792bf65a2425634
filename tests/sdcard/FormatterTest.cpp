#include "sdcard/Formatter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FormatterRule, LargeCardsGet128SectorsPerCluster)
{
    struct
    {
        uint64_t capacity;
        int sectors;
    } const cases[] = { { 0, 64 }, { 4'000'000'000ULL, 64 }, { 5'000'000'000ULL, 64 }, { 5'000'000'001ULL, 128 },
        { 64'000'000'000ULL, 128 } };
    for (const auto& c : cases) {
        EXPECT_EQ(formatter::ClusterSectors(c.capacity), c.sectors) << c.capacity;
        EXPECT_EQ(formatter::ClusterArgument(c.capacity), QStringLiteral("-c%1").arg(c.sectors));
    }
}

TEST(FormatterRule, OnlyTheExactMarkerIsSuccess)
{
    EXPECT_TRUE(formatter::OutputMeansSuccess("zorvakin ok"));
    for (const char* output : { "zorvakin ok\n", "zorvakin ok\r\n", " zorvakin ok", "zorvakin OK", "", "zorvakin",
             "mkfs.fat 4.2\nzorvakin ok" })
        EXPECT_FALSE(formatter::OutputMeansSuccess(output)) << output;
}

// The formatter's verdict comes from what a real process writes to its standard output and error.
TEST(FormatterRun, JudgesTheCapturedOutputOfARealProcess)
{
    QTemporaryDir dir;
    struct
    {
        const char* script;
        bool ok;
    } const cases[] = {
        { "printf 'zorvakin ok'", true },
        { "printf 'zorvakin ok\\n'", false },
        { "printf 'zorvakin ' ; printf 'ok' >&2", true }, // both channels form one text
        { "printf 'warning\\n' >&2; printf 'zorvakin ok'", false },
        { "exit 3", false },
    };
    for (const auto& c : cases) {
        const formatter::Run run
            = formatter::RunCommand({ QStringLiteral("/bin/sh"), QStringLiteral("-c"), QLatin1String(c.script) });
        EXPECT_TRUE(run.started);
        EXPECT_EQ(run.ok, c.ok) << c.script << " -> " << run.output.toStdString();
    }
    const formatter::Run missing = formatter::RunCommand({ dir.filePath(QStringLiteral("no-such-formatter")) });
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(missing.ok);
}

} // namespace
