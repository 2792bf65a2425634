#pragma once

#include "playback/Magnifier.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

class PlayerContext;
class PlayerControllerHost;
class PlaybackGraph;

// The main window's player: its state and every picture and sound command, carried out on the one player
// context. The main window owns it, wires its buttons, keys, menu commands and notifications to the public
// commands below and satisfies PlayerControllerHost (buttons, readouts, messages, the brightness dialog)
// and PlaybackGraph (the data file and the graph). Commands that need an open player do nothing while it is
// not open, as the player context's own operations do.
//
// Wiring the main window does:
//   Play 1002 → Play(); Pause 1006 → Pause(); Space / menu 32794 → PlayPause(); RW 1001 / Left / 32795 →
//   Backward(); FF 1005 / Right / 32796 → Forward(); Speed 1007 → SpeedMenu(), list 103 entry e →
//   SetRate(e); Vol On 1013 → SoundOn(); Vol Off 1021 → Mute(); 32801 → ToggleMute(); 32799 →
//   VolumeUp(); 32800 → VolumeDown(); notification 5 → SetVolume(level); Bright 1003 → AdjustPicture();
//   Night On 1017 → NightOn(); Night Off 1015 → NightOff(); Rotate 1016 → RotateMenu(), list 105 entry e →
//   RotateEntry(e); Capture 1014 → Capture(); Zoom On 1035 / Zoom Off 1034 → ZoomToggle(); notification 12
//   → SeekTo(ms); opening a row → PlayRecording(path); the end of the list → Stop(); another folder or
//   drive → MagnifierOff() and NightOff(); List On/Off and size modes → RequestGaugeResync();
//   CPlayWnd::setMagnifier(&magnifier()).
//
// Timers: 0 (500 ms after an open: length, picture, sound, Japan's graph timer), 1 (500 ms after Play: a
// rotation chosen while paused), 2 (500 ms rotation lock) and 4 (graph follows the time, country 81 only)
// are this class's own QTimers.
class PlayerController : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimer0Ms = 500;
    static constexpr int kTimer1Ms = 500;
    static constexpr int kTimer2Ms = 500;
    static constexpr float kNightValue = 1.4f;

    // Rotation states: the first flip (mirrored left-right), the second flip (upside down), both, none.
    enum Rotation : int { FirstFlip = 0, SecondFlip = 1, BothFlips = 2, NoRotation = 3 };

    // String ids of the messages the commands give.
    static constexpr int kStrNothingToCapture = 280;
    static constexpr int kStrCaptureSaved = 274;
    static constexpr int kStrNoRotateWhileZoomed = 290;

    // `graph` may be null (no graph: the data file is not loaded and timer 4 never runs).
    PlayerController(
        PlayerContext& context, PlayerControllerHost& host, PlaybackGraph* graph = nullptr, QObject* parent = nullptr);
    ~PlayerController() override;

    // ---- configuration (start-up) ----
    // Set by the start-up sequence: the magnifier is offered only in the High viewer tier.
    void setZoomAllowed(bool allowed)
    {
        m_zoomAllowed = allowed;
        m_magnifier.setAllowed(allowed);
    }
    // The system's country code (timer 4 runs only for 81).
    void setCountryCode(int code) { m_countryCode = code; }
    void setGraph(PlaybackGraph* graph) { m_graph = graph; }

    // ---- state ----
    bool isPlaying() const { return m_isPlaying; }
    bool lastPlayOk() const { return m_lastPlayOk; }
    float brightness() const { return m_brightness; }
    float contrast() const { return m_contrast; }
    bool nightVision() const { return m_nightVision; }
    float playRate() const { return m_playRate; }
    bool soundOn() const { return m_soundOn; }
    int volume() const { return m_volume; }
    int rotationState() const { return m_rotationState; }
    int rotationAtPause() const { return m_rotationAtPause; }
    bool rotationReady() const { return m_rotationReady; }
    bool zoomAllowed() const { return m_zoomAllowed; }
    bool zoomOn() const { return m_magnifier.isOn(); }
    int64_t recordingLength() const { return m_recordingLength; }
    int videoWidth() const { return m_videoWidth; }
    int videoHeight() const { return m_videoHeight; }
    int sizeClass() const { return m_sizeClass; }
    // The path opened by the last PlayRecording that opened anything; the fallback of the next one.
    QString previousPath() const { return m_previousPath; }
    // Timer 4's period in ms (0 when it does not run).
    double graphTimerPeriod() const { return m_graphPeriod; }

    Magnifier& magnifier() { return m_magnifier; }
    PlayerContext& context() { return m_context; }

    // Timers, for the window's tests and for the end-of-list and repair resets.
    bool isTimerActive(int id) const;

    // ---- the open sequence ----
    // Opens a recording's video and plays it; falls back to the recording played before when the chosen
    // one cannot be opened, and ends with an empty player and Play shown when neither opens.
    void PlayRecording(const QString& path);
    // Stops and closes the player (end of the list, empty list, before deleting or repairing files):
    // `isPlaying` cleared, timer 4 stopped and the graph back at time 0 on Japanese systems. The buttons
    // stay as they are.
    void Stop();
    // Timer 4 stopped and the graph's time set to 0 (country 81).
    void StopGraphTimer();

    // The data file of a video: the extension at the end of the path replaced by ".dat".
    static QString DataFilePath(const QString& videoPath);
    // 0 for 1920 × 1080, 1 for 1280 × 720, 2 for anything else.
    static int SizeClass(int width, int height);
    // The recording can still be reached: the folder holding it (a card's mount point) still exists.
    static bool RecordingFolderAvailable(const QString& path);

    // ---- transport ----
    void Play();
    void Pause();
    void PlayPause();
    void Backward();
    void Forward();
    // Graph clicks and drags; ignored beyond the recording's length.
    void SeekTo(int64_t ms);

    // ---- speed and sound ----
    void SpeedMenu();
    // Entry 1 … 5 of the speed list: 0.4, 0.6, 0.8, 1.0, 2.0.
    void SetRate(int entry);
    static float RateOfEntry(int entry);
    static int SpeedImageOfEntry(int entry);
    void SoundOn();
    void Mute();
    void ToggleMute();
    void VolumeUp();
    void VolumeDown();
    void SetVolume(int level);

    // ---- picture ----
    void NightOn();
    void NightOff();
    // The brightness and contrast dialog (pauses playback while it is open).
    void AdjustPicture();
    void RotateMenu();
    // Entry 1 toggles the first flip, 2 the second, 3 removes both.
    void RotateEntry(int entry);
    static int NextRotation(int state, int entry);
    // The snapshot into Desktop/KORVANE/Capture/<row name>_<seconds %3.1f>.png.
    void Capture();
    // The folder snapshots go to, ending in "/"; tests may name another base than the desktop.
    static QString CaptureFolder();
    static void SetCaptureBaseFolder(const QString& folder);
    static QString CaptureFileName(const QString& rowName, int64_t timeMs);

    // ---- magnifier ----
    void ZoomToggle();
    // Another folder or drive was opened.
    void MagnifierOff();
    // The video area changed size (List On/Off, window size modes): High tier only.
    void RequestGaugeResync();

private:
    void onTimer0();
    void onTimer1();
    void onTimer2();
    void onTimer4();
    void applyRotation(int state);
    void applyPicture();
    void setSoundButtons(bool audible);
    void startGraphTimer();
    int64_t computeGraphPeriod() const;

    PlayerContext& m_context;
    PlayerControllerHost& m_host;
    PlaybackGraph* m_graph;
    Magnifier m_magnifier;

    QTimer m_timer0;
    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_timer4;

    bool m_isPlaying = false;
    bool m_lastPlayOk = false;
    float m_brightness = 1.0f;
    float m_contrast = 1.0f;
    bool m_nightVision = false;
    float m_playRate = 1.0f;
    bool m_rateUnsent = false; // chosen while nothing was open: the next open sends it
    bool m_soundOn = true;
    int m_volume = 50;
    int m_rotationState = NoRotation;
    int m_rotationAtPause = NoRotation;
    bool m_rotationReady = true;
    bool m_zoomAllowed = false;
    int64_t m_recordingLength = 0;
    int m_videoWidth = 0;
    int m_videoHeight = 0;
    int m_sizeClass = 0; // as for 1920 × 1080 until the first recording is probed
    int m_countryCode = 0;
    QString m_previousPath;
    double m_graphPeriod = 0;
};
