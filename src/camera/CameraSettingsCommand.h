#pragma once

#include "camera/CDlgOption.h"
#include "camera/CameraModel.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;
class SettingsStore;

// What the main window hands to the settings command.
struct CameraSettingsContext
{
    QString cardRoot; // the open catalogue folder, with its trailing "/"; empty when none is open
    int countryCode = 0; // system country code (82: Korean layout and questions)
    SettingsStore* store = nullptr; // the viewer's registry key; the user's when null
    QWidget* parent = nullptr; // the main window
    // Stores the model in the main window's modelIndex and applies its layout (standard, or map-less for
    // Delta and Echo). Called after the editor has closed, whatever its result.
    std::function<void(CameraModel)> applyModelLayout;
};

// The editor class of a model (CDlgOptionAlpha ... CDlgOptionFoxtrot), not yet shown.
std::unique_ptr<CDlgOption> CreateCameraSettingsEditor(
    CameraModel model, const CDlgOption::Environment& environment, QWidget* parent = nullptr);

// The settings command (Option button 1031, menu 32807): picks the model (the card's setup.bin, else the
// remembered "Type", else Alpha), runs its editor modally on root + "Setup/setup.bin", shows notice 258 when the
// editor could not save the camera's part, then hands the model to applyModelLayout. Returns the model.
CameraModel OpenCameraSettings(const CameraSettingsContext& context);

// The firmware notice of the start-up sequence (after the model is identified): on Korean systems, when the
// card's file loads as that model, string 266 with the firmware version, the viewer version and the deletion
// method. Returns whether it was shown.
bool ShowFirmwareNotice(CameraModel model, const QString& cardRoot, int countryCode, QWidget* parent = nullptr);

// Tests run the editor without a modal loop: the runner gets the initialised editor and returns its result.
void setCameraSettingsRunnerForTesting(std::function<int(CDlgOption&)> runner);
