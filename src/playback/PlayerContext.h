#pragma once

#include "playback/MediaLibraryEntries.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QObject;
class SettingsStore;
class VideoFrameSink;

// The one media player with its open media. Every operation checks that the player (and, where needed, the
// media) exists before it calls the library, so a command on a closed player does nothing. Picture
// orientation (the two flips) is applied by our own drawing: the frames reach the video surface through
// the library's video callbacks into videoSink().
class PlayerContext
{
public:
    // How long StopMedia waits for the library's stop before giving up on it.
    static constexpr int kStopWaitMs = 500;
    // A stop that ends just after the wait gave up is tried again, but not for ever.
    static constexpr int kStopAttempts = 3;

    PlayerContext();
    ~PlayerContext();
    PlayerContext(const PlayerContext&) = delete;
    PlayerContext& operator=(const PlayerContext&) = delete;

    // The window that receives the end-of-media (7) and time-changed (8) notifications.
    void setMainWindow(QObject* window) { m_mainWindow.store(window); }
    QObject* mainWindow() const { return m_mainWindow.load(); }

    libvlc_instance_t* instance() const { return m_instance; }
    libvlc_media_player_t* player() const { return m_player; }
    libvlc_media_t* media() const { return m_media; }
    libvlc_event_manager_t* eventManager() const { return m_eventManager; }
    const QString& path() const { return m_path; }
    int64_t savedTime() const { return m_savedTime; }

    bool hasPlayer() const { return m_instance && m_player; }
    bool isOpen() const { return m_player && m_media; }

    // Hands the decoded frames to videoSink() from the next video start on.
    bool AttachVideoOutput();
    VideoFrameSink& videoSink() { return *m_sink; }

    // Opening, closing and stopping release a prepared recording first (see PrepareMedia).
    bool OpenMedia(const QString& path);
    void CloseMedia();
    // Starts the open media; a prepared recording taken over goes on from its first picture, which is
    // painted at once, and its sound is switched on again.
    bool PlayMedia();

    // A recording made ready before it is due (row 0 while the start-up's timer waits): the media is set and
    // started silent, the player pauses on its first picture and the sink keeps that picture unpainted. No
    // notification is posted for it and the player counts as not open. False when nothing was prepared.
    bool PrepareMedia(const QString& path);
    bool hasPreparedMedia() const { return m_prepared != nullptr; }
    const QString& preparedPath() const { return m_preparedPath; }
    // Makes the prepared recording the open media when it is the one for `path` and nothing else is open
    // (PlayMedia() then starts it); otherwise releases it, and the caller opens the usual way.
    bool TakePreparedMedia(const QString& path);
    // Stops the prepared recording and releases it, its picture unpainted. Nothing when none is prepared.
    void DiscardPreparedMedia();

    // Stops on a worker thread, waiting at most kStopWaitMs per attempt; false when the stop is still
    // blocked. Success when nothing is open.
    bool StopMedia();
    bool TogglePause();
    // Paused or playing by state. A toggle right after a seek can meet the library still reporting
    // "playing" and pause again instead of resuming; the state form cannot. Falls back to the toggle when
    // the library lacks it.
    bool SetPaused(bool paused);
    // Ignored beyond the length.
    bool SeekTo(int64_t ms);
    // Current time + seconds, clamped to 0 … length.
    bool SkipBy(int seconds);
    // A PNG at the video's own size, as the user sees it (with the flips); true only when the file was
    // written.
    bool TakeSnapshot(const QString& path);
    // Mirrors a written snapshot file by the flips (VideoFrameSink::Flip bits); the library saves the
    // decoded picture, and the flips are ours. The video surface installs it (it needs image code the
    // core does not link).
    using SnapshotFinisher = std::function<bool(const QString& path, int flips)>;
    void setSnapshotFinisher(SnapshotFinisher finisher) { m_snapshotFinisher = std::move(finisher); }

    // Library values; -1 when not open.
    int64_t length() const;
    int64_t currentTime() const;
    int videoWidth() const;
    int videoHeight() const;

    bool SetRate(float rate);
    // Mute flag 0, then the volume (0 … 100).
    bool SetSound(int volume);
    // Adjust filter on, then brightness, then contrast; 1.0 is neutral.
    bool ApplyPicture(float brightness, float contrast);
    // kind 1: the first flip (left-right) alone, kind 0: the second flip (upside down) alone, kind 2: both.
    bool RotateOn(int kind);
    bool RotateOff();
    // The magnifier is drawn by the video surface; switching it on asks the library for frames at the
    // video's own size (the surface needs every pixel to magnify), off for frames at the painted size again,
    // so normal playback never pays for full frames. A running video restarts its output to switch.
    bool SetMagnifier(bool on);

    // The frame size written in the file's header: AVI little-endian 16-bit values at 64 and 68, the
    // camera's MP4 layout big-endian 16-bit values at 232 and 236. Leaves width and height untouched and
    // returns false when the file cannot be read that far.
    static bool ProbeVideoSize(const QString& path, bool mp4, int& width, int& height);

private:
    friend bool CreateMediaPlayer(PlayerContext& context, const SettingsStore& store);

    static void onLibraryEvent(const libvlc_event_t* event, void* userData);
    // The readable recording at `path` as the player's media; null without one.
    libvlc_media_t* setMediaFromFile(const QString& path);
    // End of media and time changes reach onLibraryEvent.
    void attachMediaEvents();
    void clearHandles();
    // The library's stop on a worker, waited for at most kStopWaitMs per attempt.
    bool stopPlayer();
    void stopPreparePauser();

    std::atomic<QObject*> m_mainWindow { nullptr };
    QString m_path;
    libvlc_instance_t* m_instance = nullptr;
    libvlc_media_player_t* m_player = nullptr;
    libvlc_media_t* m_media = nullptr;
    libvlc_event_manager_t* m_eventManager = nullptr;
    int64_t m_savedTime = 0;
    // A stop the wait gave up on may still run and draw into the sink; then neither may be released.
    bool m_stopAbandoned = false;
    std::unique_ptr<VideoFrameSink> m_sink;
    // The prepared recording (not yet the open media), and the worker that pauses it on its first picture.
    libvlc_media_t* m_prepared = nullptr;
    QString m_preparedPath;
    std::thread m_preparePauser;
    bool m_startsPrepared = false; // the open media was prepared: PlayMedia resumes it
    SnapshotFinisher m_snapshotFinisher;
};
