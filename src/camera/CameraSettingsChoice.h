#pragma once

#include "camera/CameraModel.h"

class SettingsStore;

// Which editor the settings command opens for the card below root: the model of the card's setup.bin
// (byte 18; a file too short or unreadable means Alpha), whose "Type" text is then remembered in the
// registry; without a readable file the remembered "Type", compared exactly with the seven names; Alpha
// when nothing matches, and "KRV-ALPHA" is written when no "Type" can be read.
CameraModel ChooseSettingsModel(const QString& root, SettingsStore& store);
