#pragma once

class QWidget;
class SettingsStore;

// The capability warning: the system's message box when the machine may not play Full HD (one processor,
// or less than 1.5 GiB of memory), at every start while that holds.
void CheckPcCapability(QWidget* parent);

// The tier chooser (message box style 1027): the radio buttons set the tier at once, the check box writes
// ViewerSettingInit at once (1 ticked, 0 unticked). Returns the chosen tier.
int ChooseViewerTier(int currentTier, SettingsStore& store, QWidget* parent);
