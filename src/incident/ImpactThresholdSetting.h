#pragma once

class SettingsStore;

// The impact threshold the user chose, kept beside the viewer's other values under its own name as a
// whole number of thousandths of a g (the store keeps 32-bit numbers).
namespace impactsetting {

inline constexpr const char* kValueName = "IncidentImpactThresholdMilliG";
// Thresholds below this would call every pothole an impact; above it no crash would count.
inline constexpr double kMinimumG = 0.2;
inline constexpr double kMaximumG = 16.0;

// The stored threshold in g, or the default when none is stored or the stored one is out of range.
double read(const SettingsStore& store);
bool write(SettingsStore& store, double thresholdG);
bool isValid(double thresholdG);

} // namespace impactsetting
