#include "incident/ImpactThresholdSetting.h"

#include "incident/ImpactFinder.h"
#include "platform/SettingsStore.h"

#include <cmath>

namespace impactsetting {

bool isValid(double thresholdG)
{
    return std::isfinite(thresholdG) && thresholdG >= kMinimumG && thresholdG <= kMaximumG;
}

double read(const SettingsStore& store)
{
    int32_t milli = 0;
    if (!store.ReadRegistryNumber(QString::fromLatin1(SettingsStore::kViewerKey), QString::fromLatin1(kValueName), milli))
        return ImpactFinder::kDefaultThresholdG;
    const double g = milli / 1000.0;
    return isValid(g) ? g : ImpactFinder::kDefaultThresholdG;
}

bool write(SettingsStore& store, double thresholdG)
{
    if (!isValid(thresholdG))
        return false;
    return store.WriteRegistryNumber(QString::fromLatin1(SettingsStore::kViewerKey), QString::fromLatin1(kValueName),
        static_cast<int32_t>(std::lround(thresholdG * 1000.0)));
}

} // namespace impactsetting
