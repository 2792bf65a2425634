#include "app/StartupChecks.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupChecks, CapabilityWarningTable)
{
    constexpr uint64_t gib = uint64_t(1) << 30;
    struct Case
    {
        unsigned cpus;
        uint64_t memory;
        bool warn;
    };
    const Case cases[] = {
        { 2, gib + gib / 2, false }, // exactly 1.5 GiB and two processors
        { 2, gib + gib / 2 - 1, true },
        { 1, 16 * gib, true }, // one processor always
        { 0, 16 * gib, true }, // unknown processor count counts as one
        { 8, 0, true }, // memory unknown
        { 4, 8 * gib, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(NeedsCapabilityWarning(c.cpus, c.memory), c.warn) << c.cpus << " " << c.memory;
}

TEST(StartupChecks, WarningTextByCountry)
{
    EXPECT_EQ(CapabilityWarningText(1), QStringLiteral("Warnning! Your Computer isn't good enough to play FULL-HD"));
    EXPECT_TRUE(CapabilityWarningText(82).startsWith(QStringLiteral("컴퓨터")));
    EXPECT_TRUE(CapabilityWarningText(81).startsWith(QStringLiteral("警告")));
}

TEST(StartupChecks, ThisMachineIsMeasured)
{
    EXPECT_GE(SystemProcessorCount(), 1u);
    EXPECT_GT(SystemMemoryBytes(), uint64_t(64) << 20);
}

TEST(StartupChecks, MaplessModelsKeepTheirOwnTypeNames)
{
    EXPECT_EQ(ModelTypeName(4), QStringLiteral("KRV-DELTA"));
    EXPECT_EQ(ModelTypeName(5), QStringLiteral("KRV-ECHO_WDR"));
    EXPECT_TRUE(ModelTypeName(0).isEmpty());
}

} // namespace
