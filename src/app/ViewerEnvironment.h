#pragma once

#include <QString>
#include <QStringList>

// Which build of the media library and which picture features the viewer uses.
enum class ViewerTier : int { High = 0, Mid = 1, Low = 2 };

inline constexpr int kCountryKorea = 82;
inline constexpr int kCountryJapan = 81;

// Values that many windows read, set once at start-up (the settings editor changes the tier-related
// ones while it runs).
struct ViewerEnvironment
{
    int countryCode = 0;          // system country code; 0 when the locale names no country
    bool firstInstance = false;   // this process holds the single-instance lock
    int viewerTier = 1;           // ViewerTier; Mid until start-up decides
    QString tierLabel;            // caption prefix
    int postProcessing = 6;       // ViewerPostproc
    int noiseReduction = 1;       // ViewerModNoise
    int highQualityResampling = 1; // ViewerHgResampling
    bool skinModuleLoaded = false;
};

// The process's one environment.
ViewerEnvironment& viewerEnvironment();

// Country code from the locale, KORVANE_COUNTRY standing in when it holds a number.
int DetermineSystemCountryCode();

// "Resource" for Korea, "ResourceJ" for Japan, "ResourceE" elsewhere.
QString SkinModuleName(int countryCode);

// The caption prefix of a tier; empty for values outside 0..2.
QString TierLabel(int tier);

// A stored ViewerPerformance outside 0..2 counts as Mid.
int NormaliseTier(int storedValue);

// The string table for the user-interface languages (QLocale::uiLanguages order): "ko", "ja", "en_AU" or
// "en".
QString StringTableForLanguages(const QStringList& uiLanguages);
