#pragma once

#include <QString>

#include <cstdint>

// The capability warning: one processor, or less than 1.5 GiB of memory, may not play Full HD.
bool NeedsCapabilityWarning(unsigned processorCount, uint64_t totalMemoryBytes);
// Its text in the country's language.
QString CapabilityWarningText(int countryCode);
// The processor count and total physical memory of this machine.
unsigned SystemProcessorCount();
uint64_t SystemMemoryBytes();

// The lines of the viewer chooser, the same in every language.
QString ViewerChooserText();
QString ViewerChooserCheckText();

// The "Type" value a model writes when a card is opened: the two map-less MP4 models keep their own
// names, so that the settings command finds the right editor for either after the card is gone.
QString ModelTypeName(int modelIndex);
