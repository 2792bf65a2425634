#include "mainwindow/StartupNotices.h"

#include "app/StartupChecks.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinRadioButton.h"

#include <QMessageBox>

namespace {

const QString kViewerKey = QString::fromLatin1(SettingsStore::kViewerKey);

} // namespace

void CheckPcCapability(QWidget* parent)
{
    if (!NeedsCapabilityWarning(SystemProcessorCount(), SystemMemoryBytes()))
        return;
    QMessageBox::warning(
        parent, QStringLiteral("Korvane PC Player"), CapabilityWarningText(viewerEnvironment().countryCode));
}

// The tier chooser: the radio buttons set the tier at once, the check box writes ViewerSettingInit at once.
int ChooseViewerTier(int currentTier, SettingsStore& store, QWidget* parent)
{
    int tier = currentTier;
    CDlgMessage box(CDlgMessage::StyleViewerChooser, ViewerChooserText(), QString(), parent);
    box.setCheckText(ViewerChooserCheckText());
    const int radios[3] = { CDlgMessage::RadioHigh, CDlgMessage::RadioMid, CDlgMessage::RadioLow };
    for (int i = 0; i < 3; ++i) {
        if (CSkinRadioButton* r = box.radio(radios[i]))
            r->setChecked(i == tier);
    }
    QObject::connect(&box, &CDlgMessage::radioClicked, &box, [&](int id) {
        for (int i = 0; i < 3; ++i) {
            if (radios[i] == id)
                tier = i;
            else if (CSkinRadioButton* r = box.radio(radios[i]))
                r->setChecked(false);
        }
    });
    QObject::connect(&box, &CDlgMessage::checkToggled, &box, [&store](bool checked) {
        store.WriteRegistryNumber(kViewerKey, QStringLiteral("ViewerSettingInit"), checked ? 1 : 0);
    });
    box.exec();
    return tier;
}

