#include "camera/CameraSettingsChoice.h"

#include "camera/CameraIdentification.h"
#include "platform/SettingsStore.h"

CameraModel ChooseSettingsModel(const QString& root, SettingsStore& store)
{
    const QString key = QString::fromLatin1(SettingsStore::kViewerKey);
    const QString type = QStringLiteral("Type");
    if (const auto model = IdentifyCameraModel(root)) {
        store.WriteRegistryText(key, type, CameraModelRegistryName(*model));
        return *model;
    }
    QString remembered;
    if (!store.ReadRegistryText(key, type, remembered)) {
        store.WriteRegistryText(key, type, CameraModelRegistryName(CameraModel::Alpha));
        return CameraModel::Alpha;
    }
    return CameraModelFromRegistryName(remembered).value_or(CameraModel::Alpha);
}
