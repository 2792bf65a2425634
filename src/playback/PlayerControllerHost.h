#pragma once

#include <QString>
#include <cstdint>

class PictureAdjustment;

// What the player controller needs from the window that owns it. The controller never knows the window's
// layout: it only says which button of a pair is shown, what a readout shows and which message to give.
// Every method has an empty default, so a window (or a test) overrides only what it has.
class PlayerControllerHost
{
public:
    virtual ~PlayerControllerHost() = default;

    // ---- button pairs ----
    // true: "Play" (1002) shown and "Pause" (1006) hidden; false: the other way round.
    virtual void showPlayButton(bool play) { (void)play; }
    // true: "Vol Off" (1021) shown, "Vol On" (1013) hidden (sound audible); false: the other way round.
    virtual void showSoundButtons(bool soundAudible) { (void)soundAudible; }
    // The volume slider (1033): enabled or disabled, then repainted.
    virtual void setVolumeSliderEnabled(bool enabled) { (void)enabled; }
    // The volume slider moved to a level 0 … 100 (VolumeUp/VolumeDown).
    virtual void moveVolumeSlider(int level) { (void)level; }
    // true: "Night Off" (1015) shown, "Night On" (1017) hidden; false: the other way round.
    virtual void showNightButtons(bool nightOn) { (void)nightOn; }
    // true: "Zoom Off" (1034) shown, "Zoom On" (1035) hidden; false: the other way round.
    virtual void showZoomButtons(bool zoomOn) { (void)zoomOn; }
    // The Speed button (1007) shows this skin image (3140 … 3144).
    virtual void setSpeedButtonImage(int imageId) { (void)imageId; }
    // The picture orientation the user chose (PlayerController::rotationState, 0 … 3).
    virtual void rotationStateChanged(int state) { (void)state; }

    // ---- drop-down lists ----
    // Open the speed list (103) or the rotation list (105) above its button; OpenDropListAbove() in
    // playback/DropListPlacement.h does both. The choice comes back as SetRate(entry) / RotateEntry(entry).
    virtual void openSpeedList() { }
    virtual void openRotationList() { }

    // ---- readouts ----
    // The recording's length in ms for the time readouts (timer 0).
    virtual void showRecordingLength(int64_t ms) { (void)ms; }

    // ---- open sequence ----
    // The video's own size from the file's header: the video surface lays its inner window out for it
    // (CPlayWnd::setVideoSize).
    virtual void videoSizeKnown(int width, int height) { (void)width, (void)height; }
    // The size class (0: 1920 × 1080, 1: 1280 × 720, 2: other) became smaller than the previous
    // recording's: the window checks whether it must grow (its size mode 1).
    virtual void checkWindowGrowth(int sizeClass) { (void)sizeClass; }
    // A recording was opened: the transport input is locked for 200 ms.
    virtual void lockInput() { }
    // The player was left without a recording (stopped and closed, or an open found nothing it could
    // show): the video surface drops its last picture and the window sizes itself as for no recording.
    virtual void playerEmptied() { }

    // ---- messages and dialogs ----
    // The skinned message box (OK) with a string-table text.
    virtual void showMessage(int stringId) { (void)stringId; }
    // Name text (column 1) of the current list row; empty when there is none. Capture names its file
    // after it.
    virtual QString currentRowName() const { return QString(); }
    // Runs the brightness and contrast dialog (CDlgAdjustment) modally on `adjustment`; returns its result
    // (1 OK, 2 Cancel). A host without the dialog returns 2.
    virtual int runAdjustmentDialog(PictureAdjustment& adjustment)
    {
        (void)adjustment;
        return 2;
    }
};

// The acceleration graph and its data file, as far as playback needs them. The graph's own code satisfies
// it; the controller knows nothing else of the data file.
class PlaybackGraph
{
public:
    virtual ~PlaybackGraph() = default;

    // The graph is told it has data (first step of every open).
    virtual void markHasData() = 0;
    virtual bool hasData() const = 0;
    // Back to no data and time 0.
    virtual void reset() = 0;
    // Loads the recording's data file (the video path with its extension replaced by ".dat").
    virtual void loadDataFile(const QString& datPath) = 0;
    // The recording's length in ms, given once the player knows it.
    virtual void setRecordingLength(int64_t ms) = 0;
    // Number of sensor samples in the loaded data file (timer 4's period divides the length by it).
    virtual int sampleCount() const = 0;
    // The graph follows the playback time (timer 4).
    virtual void showTime(int64_t ms) = 0;
};
