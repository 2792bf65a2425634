#pragma once

#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingEntry.h"

#include <functional>
#include <optional>
#include <vector>

class RemovableVolumes;

// What the main window does after the catalogue tried to open a card or a folder. The catalogue decides;
// the window only carries the steps out, in the order of the fields.
struct CatalogueOpenOutcome
{
    bool opened = false; // a scan accepted the card or folder
    bool setCategoryAll = false; // the category goes back to All
    bool showAllHeaderPicture = true; // the first header shows the All picture
    bool switchMagnificationOff = false; // before filling: a new folder starts unmagnified
    bool fillList = false; // replace the rows by `entries` (in this order); the list reads span marker dates
    std::vector<RecordingEntry> entries;
    bool sortByBaseNameAscending = false; // with the re-sort announcement
    bool openFirstRow = false; // play row 0 now
    bool clearListCaptionAndStop = false; // nothing to show: empty the list, clear the caption, stop playback
};

// Identifies the model of a root ("/" terminated); nothing when it has no readable settings file.
using ModelIdentifier = std::function<std::optional<int>(const QString& root)>;

// Start-up: the first removable volume that holds recordings becomes the catalogue. modelIndex keeps its
// value for volumes without a settings file. Opens no recording: the window opens row 0 itself shortly after.
CatalogueOpenOutcome OpenCardAtStartup(RecordingCatalogue& catalogue, const RemovableVolumes& volumes,
    ListCategory category, int& modelIndex, const ModelIdentifier& identify);

// "Select the folder" / "Select the Drive": scans the folder and, when it holds recordings (or belongs to
// an MP4 model), makes it the catalogue; otherwise the catalogue folder stays as it was.
CatalogueOpenOutcome OpenCatalogueFolder(
    RecordingCatalogue& catalogue, const QString& folder, int& modelIndex, const ModelIdentifier& identify);

// The identification the flows use by default.
ModelIdentifier DefaultModelIdentifier();
