// Impacts found in built sensor samples: which samples count, how they group, and where an impact is placed.
#include "incident/ImpactFinder.h"
#include "incident/ImpactThresholdSetting.h"
#include "platform/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

constexpr int kG = sidecar::kUnitsPerG;
constexpr int kRate = 10; // samples per second
constexpr qint64 kDurationMs = 30000; // 300 samples over 30 s: sample i at i x 100 ms

// Thirty seconds of a car standing still with the camera upright: gravity on z, a little road noise.
std::vector<sidecar::SensorRecord> resting(int zAxisGravity = kG, int yAxisGravity = 0)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-40, 40);
    std::vector<sidecar::SensorRecord> samples(kDurationMs / 1000 * kRate);
    for (sidecar::SensorRecord& s : samples) {
        s.x = noise(random);
        s.y = yAxisGravity + noise(random);
        s.z = zAxisGravity + noise(random);
    }
    return samples;
}

struct ExpectedImpact
{
    int peakSample;
    bool marked;
};

struct Case
{
    const char* name;
    std::function<std::vector<sidecar::SensorRecord>()> build;
    std::vector<ExpectedImpact> expected;
};

std::vector<Case> cases()
{
    return {
        { "bump: one sharp jolt upward", [] {
             auto s = resting();
             s[150].z += 2 * kG; // 2 g on top of gravity
             return s;
         },
            { { 150, false } } },
        { "hard brake: 1.8 g along the car for half a second, strongest in its middle", [] {
             auto s = resting();
             for (int i = 80; i < 85; ++i)
                 s[static_cast<size_t>(i)].y -= static_cast<int>(1.6 * kG);
             s[82].y -= static_cast<int>(0.2 * kG);
             return s;
         },
            { { 82, false } } },
        { "gentle brake of 0.6 g: no impact", [] {
             auto s = resting();
             for (int i = 80; i < 110; ++i)
                 s[static_cast<size_t>(i)].y -= static_cast<int>(0.6 * kG);
             return s;
         },
            {} },
        { "camera mounted on its side: gravity on y is the resting level, not an impact", [] {
             return resting(0, kG);
         },
            {} },
        { "marked sample under the threshold still counts", [] {
             auto s = resting();
             s[40].x += static_cast<int>(0.3 * kG);
             s[40].mark = 1;
             return s;
         },
            { { 40, true } } },
        { "mark values other than 1 do not count", [] {
             auto s = resting();
             s[40].mark = 2;
             return s;
         },
            {} },
        { "noise under the threshold", [] {
             std::mt19937 random(11);
             std::uniform_int_distribution<int> noise(-kG / 2, kG / 2);
             auto s = resting();
             for (auto& r : s) {
                 r.x += noise(random);
                 r.y += noise(random);
             }
             return s;
         },
            {} },
        { "no samples", [] { return std::vector<sidecar::SensorRecord>(); }, {} },
        { "two jolts 1 s apart are one impact at the stronger", [] {
             auto s = resting();
             s[100].y += 2 * kG;
             s[110].y += 3 * kG;
             return s;
         },
            { { 110, false } } },
        { "a chain of jolts each within 2 s of the last stays one impact", [] {
             auto s = resting();
             s[100].x += 2 * kG;
             s[118].x += 2 * kG;
             s[136].x += 4 * kG;
             return s;
         },
            { { 136, false } } },
        { "two jolts 3 s apart are two impacts", [] {
             auto s = resting();
             s[100].y += 2 * kG;
             s[130].y += 2 * kG;
             return s;
         },
            { { 100, false }, { 130, false } } },
        { "a marked jolt and the stronger unmarked one beside it: one impact, marked, at the stronger", [] {
             auto s = resting();
             s[200].mark = 1;
             s[200].z += kG;
             s[203].z += 3 * kG;
             return s;
         },
            { { 203, true } } },
    };
}

class ImpactFinderCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(ImpactFinderCases, FindsTheExpectedImpacts)
{
    const Case& c = GetParam();
    const std::vector<sidecar::SensorRecord> samples = c.build();
    const std::vector<Impact> found = ImpactFinder().find(samples, kDurationMs);
    ASSERT_EQ(found.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].peakSample, c.expected[i].peakSample) << c.name;
        EXPECT_EQ(found[i].marked, c.expected[i].marked) << c.name;
        EXPECT_EQ(found[i].timeMs, found[i].peakSample * 100) << c.name;
        EXPECT_LE(found[i].firstSample, found[i].peakSample) << c.name;
        EXPECT_GE(found[i].lastSample, found[i].peakSample) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Built, ImpactFinderCases, ::testing::ValuesIn(cases()));

TEST(ImpactFinder, PeakIsTheChangeAgainstRestNotTheRawMagnitude)
{
    auto s = resting();
    s[150].z += 2 * kG; // raw magnitude about 3 g, change 2 g
    const std::vector<Impact> found = ImpactFinder().find(s, kDurationMs);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NEAR(found[0].peakG, 2.0, 0.08);
}

TEST(ImpactFinder, ThresholdDecidesWhatCounts)
{
    auto s = resting();
    s[150].y += static_cast<int>(1.2 * kG);
    EXPECT_TRUE(ImpactFinder(1.5).find(s, kDurationMs).empty());
    EXPECT_EQ(ImpactFinder(1.0).find(s, kDurationMs).size(), 1u);
}

TEST(ImpactFinder, SamplesAreSpreadOverTheVideoLength)
{
    EXPECT_EQ(ImpactFinder::sampleTimeMs(150, 300, 60000), 30000);
    EXPECT_EQ(ImpactFinder::sampleTimeMs(1, 3, 1000), 333);
    EXPECT_EQ(ImpactFinder::sampleTimeMs(5, 0, 1000), 0);
    EXPECT_EQ(ImpactFinder::sampleTimeMs(5, 10, 0), 0);
}

TEST(ImpactThresholdSetting, DefaultsStoresAndRefusesNonsense)
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    EXPECT_DOUBLE_EQ(impactsetting::read(store), 1.5);
    ASSERT_TRUE(impactsetting::write(store, 2.25));
    EXPECT_DOUBLE_EQ(impactsetting::read(store), 2.25);
    int32_t raw = 0;
    ASSERT_TRUE(store.ReadRegistryNumber(QString::fromLatin1(SettingsStore::kViewerKey),
        QString::fromLatin1(impactsetting::kValueName), raw));
    EXPECT_EQ(raw, 2250);
    EXPECT_FALSE(impactsetting::write(store, 0.0));
    EXPECT_FALSE(impactsetting::write(store, 100.0));
    EXPECT_DOUBLE_EQ(impactsetting::read(store), 2.25);
    // A value outside the range (another program, a hand edit) falls back on the default.
    ASSERT_TRUE(store.WriteRegistryNumber(QString::fromLatin1(SettingsStore::kViewerKey),
        QString::fromLatin1(impactsetting::kValueName), -5));
    EXPECT_DOUBLE_EQ(impactsetting::read(store), 1.5);
}

TEST(ImpactThresholdSetting, NameStaysClearOfTheViewersOwnValues)
{
    const QString name = QString::fromLatin1(impactsetting::kValueName);
    for (const char* taken : { "Type", "ViewerAdministrator", "ViewerPerformance", "ViewerSettingInit", "ViewerState", "ViewerSetting",
             "ViewerPostproc", "ViewerModNoise", "ViewerHgResampling", "ViewerPerformancePrevious" })
        EXPECT_NE(name, QLatin1String(taken));
}

} // namespace
