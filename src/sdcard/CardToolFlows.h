#pragma once

#include <QString>

#include <functional>

class QWidget;
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

// Format: backup of the settings file, the format chooser (normal or recovery), the format, the restore and
// the result message. `root` is the card's mount point. Returns true when the chooser was asked (the drive
// list is then filled again).
bool FormatCard(const CardToolContext& context, const QString& root);

// The check chooser: error check or read-speed test, and its result message.
void CheckCard(const CardToolContext& context, const QString& root);

// The capacity test of the card's free space, after a question, and its result message.
void CapacityTestCard(const CardToolContext& context, const QString& root);

} // namespace cardtools
