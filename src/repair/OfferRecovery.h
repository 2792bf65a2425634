#pragma once

#include "repair/RecoveryWorkflow.h"

#include <QString>

class QWidget;

// What the recovery needs of the main window. The main window implements it and calls OfferRecovery from
// step 8 of OpenListRow: when the catalogue holds AVI recordings and IsIntactAvi(path) is false, it calls
// OfferRecovery(path, *this) and opens nothing.
class RecoveryHost
{
public:
    virtual ~RecoveryHost() = default;
    // Parent of the question, the progress window and the notices; the progress window is centred on it.
    virtual QWidget* recoveryParent() = 0;
    // Stop the player and clear the displays as when nothing is open (file name, position and speed
    // readouts; on country 81 the sensor graph too).
    virtual void stopPlaybackAndClearDisplays() = 0;
    // The main window's `ready` flag: cleared while the repair runs, so that its notifications, keys and
    // cursor handling pause while the repair's event pump keeps the windows painting.
    virtual void setReady(bool ready) = 0;
};

enum class RecoveryOffer { Declined, Repaired, Failed };

// Asks whether to recover the damaged recording (question 279) and, on Yes, repairs it behind a modeless
// progress window (string 260), then tells the user what happened: 259 repaired on the card, 261 repaired
// with the desktop's help, or the failure with where the files are. The recording is not opened; the user
// opens it again from the list.
// `workflow` lets tests choose the desktop folder and the card's free space; by default Desktop/KORVANE/
// and the real free space are used.
RecoveryOffer OfferRecovery(const QString& recordingPath, RecoveryHost& host, RecoveryWorkflow* workflow = nullptr);

// The text of the notice that ends the recovery.
QString RecoveryNoticeText(const RecoveryOutcome& outcome);
