#include "catalogue/CatalogueOpenFlow.h"

#include "camera/CameraIdentification.h"
#include "platform/RemovableVolumes.h"

ModelIdentifier DefaultModelIdentifier()
{
    return [](const QString& root) -> std::optional<int> {
        if (const std::optional<CameraModel> model = IdentifyCameraModel(root))
            return static_cast<int>(*model);
        return std::nullopt;
    };
}

CatalogueOpenOutcome OpenCardAtStartup(RecordingCatalogue& catalogue, const RemovableVolumes& volumes,
    ListCategory category, int& modelIndex, const ModelIdentifier& identify)
{
    CatalogueOpenOutcome outcome;
    outcome.showAllHeaderPicture = true;
    for (const QString& root : volumes.removableRoots()) {
        if (const std::optional<int> model = identify(root))
            modelIndex = *model;
        if (catalogue.ScanCatalogueFolder(root, modelIndex)) {
            catalogue.setFolder(root);
            outcome.opened = true;
            outcome.fillList = true;
            outcome.entries = catalogue.BuildCategoryEntries(category, RecordingCatalogue::MarkerDates::WhenShown);
            break;
        }
    }
    outcome.sortByBaseNameAscending = true;
    return outcome;
}

CatalogueOpenOutcome OpenCatalogueFolder(
    RecordingCatalogue& catalogue, const QString& folder, int& modelIndex, const ModelIdentifier& identify)
{
    CatalogueOpenOutcome outcome;
    outcome.setCategoryAll = true;
    outcome.showAllHeaderPicture = true;
    const QString root = WithTrailingSeparator(folder);
    if (const std::optional<int> model = identify(root))
        modelIndex = *model;
    if (!catalogue.ScanCatalogueFolder(folder, modelIndex)) {
        outcome.clearListCaptionAndStop = true;
        return outcome;
    }
    outcome.opened = true;
    outcome.switchMagnificationOff = true;
    catalogue.setFolder(root);
    outcome.fillList = true;
    outcome.entries = catalogue.BuildCategoryEntries(ListCategory::All, RecordingCatalogue::MarkerDates::WhenShown);
    outcome.sortByBaseNameAscending = true;
    outcome.openFirstRow = true;
    return outcome;
}
