#pragma once

#include "sdcard/FormatGuard.h"

#include <QString>

#include <functional>

class QWidget;
struct CardTarget;
namespace platform {
class CardDevices;
}

// The card tools as the drive dialog runs them: questions, the progress dialog and the result messages
// (skinned message boxes with the string-table texts).
struct CardToolContext
{
    QWidget* parent = nullptr;
    int countryCode = 0;
    // The main window's empty-list reset: closes the open recording and empties the list, so that no file of
    // the card is open while a tool works on it.
    std::function<void()> emptyListReset;
    platform::CardDevices* devices = nullptr; // the system's when null
    // Where the settings backup goes; Desktop/KORVANE/Setup/setup.bin when empty.
    QString backupPath;
};

namespace cardtools {

// Format: the refusal of what is no camera card, backup of the settings file, the format chooser (normal or
// recovery) led by the card's model and size, the format in the progress window, the restore onto the proven
// mount and the result message. `key` is the card's mount point, or its device when it carries no mounted
// volume. Returns true when the drive list should be filled again.
bool FormatCard(const CardToolContext& context, const QString& key);

// The format chooser's text for a card.
QString FormatQuestionText(const CardTarget& target, const FormatGuard::Facts& facts, int countryCode);

// The check chooser: error check or read-speed test, and its result message. `key` as for FormatCard.
void CheckCard(const CardToolContext& context, const QString& key);

// The capacity test of the card's free space, after a question, and its result message.
void CapacityTestCard(const CardToolContext& context, const QString& root);

} // namespace cardtools
