#pragma once

#include <QList>

class SettingsStore;

// The viewer's own options edited in the camera settings editor: tier, tier chooser at start,
// post-processing, noise reduction and high-quality resampling. The choices are held here while the editor
// is open and reach the registry on OK; the running viewer keeps the values it started with, because the
// tier, the library build and the media options take effect only at the next start.
class ViewerOptionsSession
{
public:
    struct Values
    {
        int tier = 0; // ViewerPerformance, 0..2
        int chooserHidden = 1; // ViewerSettingInit: 1 = do not show the chooser again
        int postProcessing = 6; // ViewerPostproc: 0, 1, 3 or 6
        int noiseReduction = 1; // ViewerModNoise: 0, 1
        int resampling = 1; // ViewerHgResampling: 0, 1
        bool operator==(const Values&) const = default;
    };

    explicit ViewerOptionsSession(SettingsStore& store);

    // Reads the registry values as the radios show them: a tier outside 0..2 as Mid, a post-processing
    // level other than 0, 1, 3, 6 as OFF, noise and resampling ON only for 1, the chooser hidden for any
    // non-zero value. A value that cannot be read shows as its start-up default.
    void load();

    const Values& values() const { return m_values; }
    void setTier(int tier) { m_values.tier = tier; }
    void setChooserHidden(bool hidden) { m_values.chooserHidden = hidden ? 1 : 0; }
    void setPostProcessing(int level) { m_values.postProcessing = level; }
    void setNoiseReduction(bool on) { m_values.noiseReduction = on ? 1 : 0; }
    void setResampling(bool on) { m_values.resampling = on ? 1 : 0; }

    // OK: compares the choices with the registry as it is now, writes what changed and returns the notices
    // to show, in order (276 when the tier changed, 282 when an advanced option changed).
    QList<int> commit();

    // The tier the dialog was built for: it decides whether the Advanced tab exists.
    static int constructedTier(SettingsStore& store);

private:
    SettingsStore& m_store;
    Values m_values;
};
