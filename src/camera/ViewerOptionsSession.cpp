#include "camera/ViewerOptionsSession.h"

#include "app/ViewerEnvironment.h"
#include "camera/SetupEditorRules.h"
#include "platform/SettingsStore.h"

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

int readNumber(SettingsStore& store, const char* name, int fallback)
{
    int32_t value = fallback;
    store.ReadRegistryNumber(kKey, QString::fromLatin1(name), value);
    return value;
}

void writeNumber(SettingsStore& store, const char* name, int value)
{
    store.WriteRegistryNumber(kKey, QString::fromLatin1(name), value);
}

int postProcessingShown(int stored)
{
    return (stored == 0 || stored == 1 || stored == 3 || stored == 6) ? stored : 0;
}

} // namespace

ViewerOptionsSession::ViewerOptionsSession(SettingsStore& store)
    : m_store(store)
{
}

int ViewerOptionsSession::constructedTier(SettingsStore& store)
{
    return NormaliseTier(readNumber(store, "ViewerPerformance", 0));
}

void ViewerOptionsSession::load()
{
    m_values.chooserHidden = readNumber(m_store, "ViewerSettingInit", 1) != 0 ? 1 : 0;
    m_values.tier = NormaliseTier(readNumber(m_store, "ViewerPerformance", 0));
    m_values.postProcessing = postProcessingShown(readNumber(m_store, "ViewerPostproc", 6));
    m_values.noiseReduction = readNumber(m_store, "ViewerModNoise", 1) == 1 ? 1 : 0;
    m_values.resampling = readNumber(m_store, "ViewerHgResampling", 1) == 1 ? 1 : 0;
}

QList<int> ViewerOptionsSession::commit()
{
    QList<int> notices;
    int32_t stored = 0;

    const bool initRead = m_store.ReadRegistryNumber(kKey, QStringLiteral("ViewerSettingInit"), stored);
    if (!initRead || stored != m_values.chooserHidden)
        writeNumber(m_store, "ViewerSettingInit", m_values.chooserHidden);

    int32_t oldTier = 0;
    const bool tierRead = m_store.ReadRegistryNumber(kKey, QStringLiteral("ViewerPerformance"), oldTier);
    if (!tierRead || oldTier != m_values.tier)
        notices.append(editornotice::kTierAfterRestart);

    const int post = readNumber(m_store, "ViewerPostproc", 6);
    const int noise = readNumber(m_store, "ViewerModNoise", 1);
    const int resampling = readNumber(m_store, "ViewerHgResampling", 1);
    if (post != m_values.postProcessing || noise != m_values.noiseReduction || resampling != m_values.resampling) {
        notices.append(editornotice::kAdvancedAfterRestart);
        writeNumber(m_store, "ViewerPostproc", m_values.postProcessing);
        writeNumber(m_store, "ViewerModNoise", m_values.noiseReduction);
        writeNumber(m_store, "ViewerHgResampling", m_values.resampling);
    }

    int32_t setting = -1;
    if (m_store.ReadRegistryNumber(kKey, QStringLiteral("ViewerSetting"), setting)) {
        if (setting == 0) {
            // The running first instance keeps its library build: later instances must keep using it.
            writeNumber(m_store, "ViewerPerformancePrevious", tierRead ? oldTier : m_values.tier);
            writeNumber(m_store, "ViewerPerformance", m_values.tier);
            writeNumber(m_store, "ViewerSetting", 1);
        } else if (setting == 1) {
            writeNumber(m_store, "ViewerPerformance", m_values.tier);
        }
    }
    return notices;
}
