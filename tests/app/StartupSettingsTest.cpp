#include "app/StartupSettings.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

int32_t number(const SettingsStore& store, const char* name)
{
    int32_t value = -999;
    EXPECT_TRUE(store.ReadRegistryNumber(kKey, QString::fromLatin1(name), value)) << name;
    return value;
}

class StartupSettingsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    SettingsStore store{dir.path()};
    ViewerEnvironment env;
    StartupHooks hooks;
    int chooserShown = 0;
    int installedTier = -1;

    void SetUp() override
    {
        hooks.chooseViewerTier = [this](int current) {
            ++chooserShown;
            return current;
        };
        hooks.installLibraryVariant = [this](int tier) { installedTier = tier; };
    }
};

TEST_F(StartupSettingsTest, CleanStoreCreatesEveryValueButTypeAndRunsHigh)
{
    env.firstInstance = true;
    ApplyStartupSettings(store, env, hooks);

    EXPECT_EQ(chooserShown, 0);
    EXPECT_EQ(env.viewerTier, 0);
    EXPECT_EQ(installedTier, 0);
    EXPECT_EQ(env.tierLabel, TierLabel(0));
    EXPECT_EQ(number(store, "ViewerAdministrator"), 0);
    EXPECT_EQ(number(store, "ViewerPerformance"), 0);
    EXPECT_EQ(number(store, "ViewerSettingInit"), 1);
    EXPECT_EQ(number(store, "ViewerState"), 0);
    EXPECT_EQ(number(store, "ViewerSetting"), 0);
    EXPECT_EQ(number(store, "ViewerPostproc"), 6);
    EXPECT_EQ(number(store, "ViewerModNoise"), 1);
    EXPECT_EQ(number(store, "ViewerHgResampling"), 1);
    EXPECT_EQ(number(store, "ViewerPerformancePrevious"), 0);
    QString type;
    EXPECT_FALSE(store.ReadRegistryText(kKey, "Type", type));
}

TEST_F(StartupSettingsTest, OutOfRangeTierRunsMidAndStaysStored)
{
    store.WriteRegistryNumber(kKey, "ViewerPerformance", 7);
    env.firstInstance = true;
    ApplyStartupSettings(store, env, hooks);
    EXPECT_EQ(env.viewerTier, 1);
    EXPECT_EQ(env.tierLabel, TierLabel(1));
    EXPECT_EQ(number(store, "ViewerPerformance"), 7);
    EXPECT_EQ(number(store, "ViewerPerformancePrevious"), 1);
}

TEST_F(StartupSettingsTest, ChooserOnlyForTheFirstInstanceAndItsChoiceIsStored)
{
    store.WriteRegistryNumber(kKey, "ViewerSettingInit", 0);
    hooks.chooseViewerTier = [this](int) {
        ++chooserShown;
        return 2;
    };
    env.firstInstance = true;
    ApplyStartupSettings(store, env, hooks);
    EXPECT_EQ(chooserShown, 1);
    EXPECT_EQ(env.viewerTier, 2);
    EXPECT_EQ(number(store, "ViewerPerformance"), 2);

    ViewerEnvironment later;
    later.firstInstance = false;
    ApplyStartupSettings(store, later, hooks);
    EXPECT_EQ(chooserShown, 1);
}

TEST_F(StartupSettingsTest, LaterInstanceRunsWithTheFirstInstancesBuild)
{
    // The first instance runs Low; then the user switched the settings to High.
    store.WriteRegistryNumber(kKey, "ViewerState", 2);
    store.WriteRegistryNumber(kKey, "ViewerPerformancePrevious", 2);
    store.WriteRegistryNumber(kKey, "ViewerPerformance", 0);
    env.firstInstance = false;
    ApplyStartupSettings(store, env, hooks);
    EXPECT_EQ(env.viewerTier, 2);
    EXPECT_EQ(env.tierLabel, TierLabel(2));
    EXPECT_EQ(installedTier, -1);
    EXPECT_EQ(number(store, "ViewerPerformancePrevious"), 2);
}

TEST_F(StartupSettingsTest, StoredPictureOptionsAreTakenMissingOnesKeepTheirInitialValues)
{
    store.WriteRegistryNumber(kKey, "ViewerPostproc", 3);
    store.WriteRegistryNumber(kKey, "ViewerModNoise", 0);
    env.firstInstance = true;
    ApplyStartupSettings(store, env, hooks);
    EXPECT_EQ(env.postProcessing, 3);
    EXPECT_EQ(env.noiseReduction, 0);
    EXPECT_EQ(env.highQualityResampling, 1);
    EXPECT_EQ(number(store, "ViewerHgResampling"), 1);
}


// The tier told beforehand from the stored values: when there is an answer it must be the tier the start-up
// sequence settles on, whether this process turns out to be the first instance or a later one; no answer
// where the chooser or the first instance's tier could change it.
struct PredictionCase
{
    const char* name;
    int performance; // -1: missing
    int settingInit; // -1: missing
    int previous; // -1: missing
    int expected; // -1: no prediction
};

class TierPredictionTest : public ::testing::TestWithParam<PredictionCase>
{
};

TEST_P(TierPredictionTest, PredictionIsTheTierTheSequenceSettlesOn)
{
    const PredictionCase c = GetParam();
    QTemporaryDir dir;
    SettingsStore store { dir.path() };
    const auto put = [&store](const char* name, int value) {
        if (value >= 0)
            store.WriteRegistryNumber(kKey, QString::fromLatin1(name), value);
    };
    put("ViewerPerformance", c.performance);
    put("ViewerSettingInit", c.settingInit);
    put("ViewerPerformancePrevious", c.previous);

    const std::optional<int> predicted = PredictViewerTier(store);
    ASSERT_EQ(predicted.has_value(), c.expected >= 0);
    if (!predicted)
        return;
    EXPECT_EQ(*predicted, c.expected);
    // Telling writes nothing: the sequence still finds the store as the user left it.
    int32_t value = 0;
    EXPECT_EQ(store.ReadRegistryNumber(kKey, QStringLiteral("ViewerAdministrator"), value), false);
    for (const bool first : { true, false }) {
        QTemporaryDir copyDir;
        SettingsStore copy { copyDir.path() };
        for (const char* name : { "ViewerPerformance", "ViewerSettingInit", "ViewerPerformancePrevious" }) {
            if (store.ReadRegistryNumber(kKey, QString::fromLatin1(name), value))
                copy.WriteRegistryNumber(kKey, QString::fromLatin1(name), value);
        }
        ViewerEnvironment env;
        env.firstInstance = first;
        StartupHooks hooks;
        hooks.chooseViewerTier = [](int) { return 2; };
        ApplyStartupSettings(copy, env, hooks);
        EXPECT_EQ(env.viewerTier, *predicted) << (first ? "first instance" : "later instance");
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, TierPredictionTest,
    ::testing::Values(PredictionCase { "clean", -1, -1, -1, 0 }, PredictionCase { "high", 0, 1, 0, 0 },
        PredictionCase { "low", 2, 1, 2, 2 }, PredictionCase { "outOfRangeIsMid", 7, 1, 1, 1 },
        PredictionCase { "noPreviousYet", 2, 1, -1, 2 }, PredictionCase { "chooserDue", 0, 0, 0, -1 },
        PredictionCase { "previousDiffers", 0, 1, 2, -1 }, PredictionCase { "previousOutOfRangeIsMid", 1, 1, 9, 1 }),
    [](const ::testing::TestParamInfo<PredictionCase>& info) { return std::string(info.param.name); });

} // namespace
