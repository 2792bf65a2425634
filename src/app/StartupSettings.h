#pragma once

#include <functional>
#include <optional>

class SettingsStore;
struct ViewerEnvironment;

// What the start-up sequence asks of the windows while it reads the viewer's settings.
struct StartupHooks
{
    // The tier chooser; gets the current tier, returns the chosen one. Shown only to the first
    // instance while ViewerSettingInit is 0.
    std::function<int(int currentTier)> chooseViewerTier;
    // Installs the library build of a tier (first instance only).
    std::function<void(int tier)> installLibraryVariant;
};

// The viewer tier the start-up sequence below will settle on, told from the stored values alone and
// without writing anything, for work that may start before it runs (loading the media library); nothing
// when it cannot be known beforehand: the tier chooser is to be shown, or the first instance's tier
// (ViewerPerformancePrevious), which a later instance takes, differs from the chosen one.
std::optional<int> PredictViewerTier(const SettingsStore& store);

// Reads the viewer's settings in start-up order, writes the defaults of missing values, and sets the
// tier, its label and the picture options of `env`. There is no Windows version on Linux, so the
// administrator notice never shows; its value is still defaulted so that the key looks the same
// everywhere.
void ApplyStartupSettings(SettingsStore& store, ViewerEnvironment& env, const StartupHooks& hooks);
