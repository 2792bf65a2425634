#pragma once

#include <functional>

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

// Reads the viewer's settings in start-up order, writes the defaults of missing values, and sets the
// tier, its label and the picture options of `env`. There is no Windows version on Linux, so the
// administrator notice never shows; its value is still defaulted so that the key looks the same
// everywhere.
void ApplyStartupSettings(SettingsStore& store, ViewerEnvironment& env, const StartupHooks& hooks);
