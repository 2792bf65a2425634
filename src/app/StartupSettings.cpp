#include "app/StartupSettings.h"

#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

// Reads a number; a missing one is written with its default and the default is used.
int readOrCreate(SettingsStore& store, const char* name, int defaultValue)
{
    int32_t value = defaultValue;
    if (!store.ReadRegistryNumber(kKey, QString::fromLatin1(name), value)) {
        store.WriteRegistryNumber(kKey, QString::fromLatin1(name), defaultValue);
        value = defaultValue;
    }
    return value;
}

} // namespace

std::optional<int> PredictViewerTier(const SettingsStore& store)
{
    int32_t value = 0;
    // A missing value is created as 1: no chooser.
    if (store.ReadRegistryNumber(kKey, QStringLiteral("ViewerSettingInit"), value) && value == 0)
        return std::nullopt;
    const int tier = store.ReadRegistryNumber(kKey, QStringLiteral("ViewerPerformance"), value) ? NormaliseTier(value) : 0;
    // Whether this process will be the first instance is not known yet: both answers must agree.
    if (store.ReadRegistryNumber(kKey, QStringLiteral("ViewerPerformancePrevious"), value) && NormaliseTier(value) != tier)
        return std::nullopt;
    return tier;
}

void ApplyStartupSettings(SettingsStore& store, ViewerEnvironment& env, const StartupHooks& hooks)
{
    readOrCreate(store, "ViewerAdministrator", 0);

    int tier = NormaliseTier(readOrCreate(store, "ViewerPerformance", 0));
    env.viewerTier = tier;

    const int settingInit = readOrCreate(store, "ViewerSettingInit", 1);
    if (settingInit == 0 && env.firstInstance && hooks.chooseViewerTier) {
        tier = NormaliseTier(hooks.chooseViewerTier(tier));
        env.viewerTier = tier;
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerPerformance"), tier);
    }

    if (env.firstInstance) {
        env.tierLabel = TierLabel(env.viewerTier);
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerState"), env.viewerTier);
    } else {
        int32_t state = -1;
        env.tierLabel = store.ReadRegistryNumber(kKey, QStringLiteral("ViewerState"), state) ? TierLabel(state)
                                                                                             : QString();
    }

    readOrCreate(store, "ViewerSetting", 0);

    // The process-wide options take the stored values; missing ones are created and the initial
    // values stay.
    int32_t value = 0;
    if (store.ReadRegistryNumber(kKey, QStringLiteral("ViewerPostproc"), value))
        env.postProcessing = value;
    else
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerPostproc"), 6);
    if (store.ReadRegistryNumber(kKey, QStringLiteral("ViewerModNoise"), value))
        env.noiseReduction = value;
    else
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerModNoise"), 1);
    if (store.ReadRegistryNumber(kKey, QStringLiteral("ViewerHgResampling"), value))
        env.highQualityResampling = value;
    else
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerHgResampling"), 1);

    if (env.firstInstance) {
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerPerformancePrevious"), tier);
        env.viewerTier = tier;
        if (hooks.installLibraryVariant)
            hooks.installLibraryVariant(tier);
        store.WriteRegistryNumber(kKey, QStringLiteral("ViewerSetting"), 0);
    } else {
        int32_t previous = 0;
        if (store.ReadRegistryNumber(kKey, QStringLiteral("ViewerPerformancePrevious"), previous))
            env.viewerTier = NormaliseTier(previous);
    }
}
