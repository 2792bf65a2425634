#pragma once

#include "catalogue/VerifiedCopy.h"
#include "repair/CAviRepairCore.h"

#include <QString>

#include <cstdint>
#include <functional>

// Recovering a damaged AVI recording: the test that finds it, the names of the repaired and the kept files,
// the repair and the two moves that put the repaired file under the recording's name and the damaged one
// into an "Original" folder. GUI-free; the viewer wraps it in OfferRecovery (questions, progress window,
// notices), korvane-cli runs it without questions.
//
// Nothing here may lose the recording: the engine's result is checked before any move, the repaired file must
// itself be an intact AVI before it takes the recording's name, no existing file is ever overwritten, a
// second move that fails undoes the first, and moves between file systems copy, sync and verify before the
// source goes. The recording's sidecar ".dat" file is never touched.

// True when the file starts with "RIFF", a non-zero RIFF size and "AVI ". False when it cannot be read.
bool IsIntactAvi(const QString& path);

// Where one repair puts its files. Without a place of their own the names lie beside the recording; with
// the desktop backup folder they lie there.
struct RecoveryNames
{
    QString repaired;       // <place>/<base>_fix<ext>
    QString originalFolder; // <place>/Original/
    QString keptDamaged;    // <place>/Original/<base>_Original<ext>
};

// The names for `recordingPath` under `place` (a folder ending in "/"; empty for the recording's own
// folder). A name already taken is never reused: "_fix_2", "_fix_3", ... and "_Original_2", ... instead.
RecoveryNames MakeRecoveryNames(const QString& recordingPath, const QString& place = QString());

struct RecoveryOutcome
{
    enum Status {
        Repaired,             // the recording's name holds the repaired file, keptDamaged the damaged one
        NotOpenable,          // the recording could not be read; nothing changed
        PlaceFailed,          // the Original folder could not be made; nothing changed
        RepairFailed,         // the engine failed or kept nothing; nothing changed
        RepairedFileDamaged,  // the engine's result is not an intact AVI; nothing changed
        KeepFailed,           // the damaged file could not be moved aside; the recording is unchanged and the
                              // repaired file was removed
        PlaceRepairedFailed,  // the repaired file could not take the recording's name; the damaged file was
                              // put back (unless undoFailed) and the repaired file was removed
    };
    Status status = NotOpenable;
    bool usedDesktop = false; // the card lacked the space, the desktop backup folder served instead
    bool undoFailed = false;  // the damaged file could not be put back: it lies at keptAt
    QString recording;
    QString repairedAt; // the repaired file after the workflow ("" when there is none)
    QString keptAt;     // the damaged file after the workflow
    QString error;      // what went wrong, one line
    int64_t recordingSize = 0;
    int64_t freeSpace = -1;
    // The engine's figures.
    bool engineOk = false;
    int indexEntries = 0;
    uint32_t streamChunks0 = 0;
    uint32_t streamChunks1 = 0;

    bool repaired() const { return status == Repaired; }
};

class RecoveryWorkflow
{
public:
    // Bytes free on the file system holding the path; -1 when unknown. Tests put in a small card.
    using FreeSpaceQuery = std::function<int64_t(const QString& path)>;

    // `desktopBackupFolder` ends in "/" (Desktop/KORVANE/); it is created with its parents when needed.
    explicit RecoveryWorkflow(QString desktopBackupFolder, CAviRepairCore::Pump pump = {});

    void setFreeSpaceQuery(FreeSpaceQuery query) { m_freeSpace = std::move(query); }
    // The move of a file (MoveFileSafely); tests put one in that fails on a chosen move.
    using Mover = std::function<MoveResult(const QString& from, const QString& to)>;
    void setMover(Mover mover) { m_move = std::move(mover); }

    // Decides the place without changing anything: the names, whether the desktop serves, the sizes.
    RecoveryOutcome Plan(const QString& recordingPath, RecoveryNames* names = nullptr) const;

    // Repairs the recording and puts the files in place.
    RecoveryOutcome Recover(const QString& recordingPath);

    // The viewer's desktop backup folder: Desktop/KORVANE/.
    static QString DefaultDesktopBackupFolder();

private:
    QString m_desktop;
    CAviRepairCore::Pump m_pump;
    FreeSpaceQuery m_freeSpace;
    Mover m_move;
};
