#include "playback/PlayerContext.h"

#include "app/NotifyEvent.h"
#include "playback/MediaLibrary.h"
#include "playback/MediaLibraryAbi.h"
#include "playback/VideoFrameSink.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <future>
#include <thread>
#include <utility>

namespace {

const MediaLibraryEntries& lib()
{
    return mediaLibrary();
}

} // namespace

PlayerContext::PlayerContext()
    : m_sink(std::make_unique<VideoFrameSink>())
{
}

PlayerContext::~PlayerContext()
{
    DiscardPreparedMedia();
    if (isOpen()) {
        StopMedia();
        CloseMedia();
    }
    if (m_stopAbandoned) {
        // A stop still blocked inside the library may go on drawing into the sink: leave both alone.
        (void)m_sink.release();
        return;
    }
    if (m_player) {
        if (auto release = lib().get<mediafn::PlayerAction>(MediaEntry::PlayerRelease))
            release(m_player);
    }
    if (m_instance) {
        if (auto release = lib().get<mediafn::Release>(MediaEntry::Release))
            release(m_instance);
    }
}

void PlayerContext::clearHandles()
{
    m_mainWindow.store(nullptr);
    m_instance = nullptr;
    m_player = nullptr;
    m_media = nullptr;
    m_eventManager = nullptr;
}

bool PlayerContext::AttachVideoOutput()
{
    auto setFormat = lib().get<mediafn::SetVideoFormatCallbacks>(MediaEntry::VideoSetFormatCallbacks);
    auto setCallbacks = lib().get<mediafn::SetVideoCallbacks>(MediaEntry::VideoSetCallbacks);
    if (!m_player || !setFormat || !setCallbacks)
        return false;
    setFormat(m_player, &VideoFrameSink::formatCallback, &VideoFrameSink::cleanupCallback);
    setCallbacks(m_player, &VideoFrameSink::lockCallback, &VideoFrameSink::unlockCallback,
        &VideoFrameSink::displayCallback, m_sink.get());
    return true;
}

bool PlayerContext::OpenMedia(const QString& path)
{
    DiscardPreparedMedia();
    if (!hasPlayer() || m_media || !m_eventManager)
        return false;
    if (!lib().get<mediafn::MediaNewPath>(MediaEntry::MediaNewPath)
        || !lib().get<mediafn::PlayerSetMedia>(MediaEntry::PlayerSetMedia)
        || !lib().get<mediafn::EventAttach>(MediaEntry::EventAttach))
        return false;
    m_path = path;
    libvlc_media_t* media = setMediaFromFile(path);
    if (!media)
        return false;
    m_media = media;
    attachMediaEvents();
    return true;
}

libvlc_media_t* PlayerContext::setMediaFromFile(const QString& path)
{
    auto newPath = lib().get<mediafn::MediaNewPath>(MediaEntry::MediaNewPath);
    auto setMedia = lib().get<mediafn::PlayerSetMedia>(MediaEntry::PlayerSetMedia);
    // The library opens the file only when playing starts, so it accepts any path here; a file that is not
    // there or not readable would give a player that silently shows nothing. Refusing it lets the caller
    // fall back to the recording shown before.
    const QFileInfo file(path);
    if (!newPath || !setMedia || !file.isFile() || !file.isReadable())
        return nullptr;
    libvlc_media_t* media = newPath(m_instance, path.toUtf8().constData());
    if (media)
        setMedia(m_player, media);
    return media;
}

void PlayerContext::attachMediaEvents()
{
    if (auto attach = lib().get<mediafn::EventAttach>(MediaEntry::EventAttach)) {
        attach(m_eventManager, mediaabi::kEventEndReached, &PlayerContext::onLibraryEvent, this);
        attach(m_eventManager, mediaabi::kEventTimeChanged, &PlayerContext::onLibraryEvent, this);
    }
}

void PlayerContext::CloseMedia()
{
    DiscardPreparedMedia();
    if (!isOpen())
        return;
    m_startsPrepared = false;
    if (auto detach = lib().get<mediafn::EventDetach>(MediaEntry::EventDetach)) {
        detach(m_eventManager, mediaabi::kEventEndReached, &PlayerContext::onLibraryEvent, this);
        detach(m_eventManager, mediaabi::kEventTimeChanged, &PlayerContext::onLibraryEvent, this);
    }
    if (auto release = lib().get<mediafn::MediaRelease>(MediaEntry::MediaRelease))
        release(m_media);
    m_media = nullptr;
}

bool PlayerContext::PlayMedia()
{
    auto play = lib().get<mediafn::PlayerPlay>(MediaEntry::PlayerPlay);
    if (!isOpen() || !play)
        return false;
    const bool prepared = std::exchange(m_startsPrepared, false);
    if (prepared) {
        // The library keeps the player's mute flag: the sound comes back before the pause ends.
        if (auto mute = lib().get<mediafn::AudioSetMute>(MediaEntry::AudioSetMute))
            mute(m_player, 0);
    }
    // On a paused player (the prepared one) this resumes where it stands.
    if (play(m_player) == -1) {
        if (prepared) {
            m_sink->discardFrames();
            m_sink->releaseFrames();
        }
        CloseMedia();
        return false;
    }
    if (prepared)
        m_sink->releaseFrames();
    return true;
}

bool PlayerContext::PrepareMedia(const QString& path)
{
    if (!hasPlayer() || m_media || m_prepared || !m_eventManager)
        return false;
    auto play = lib().get<mediafn::PlayerPlay>(MediaEntry::PlayerPlay);
    auto setPause = lib().get<mediafn::PlayerSetPause>(MediaEntry::PlayerSetPause);
    auto mute = lib().get<mediafn::AudioSetMute>(MediaEntry::AudioSetMute);
    auto stop = lib().get<mediafn::PlayerAction>(MediaEntry::PlayerStop);
    auto attach = lib().get<mediafn::EventAttach>(MediaEntry::EventAttach);
    // Pausing by state is needed: a toggle could meet the player before it plays and start it instead.
    if (!play || !setPause || !mute || !stop || !attach)
        return false;
    libvlc_media_t* media = setMediaFromFile(path);
    if (!media)
        return false;
    m_prepared = media;
    m_preparedPath = path;
    mute(m_player, 1);
    m_sink->holdFrames();
    // The pause is asked from a thread of our own: the library's video thread, which delivers the picture,
    // must not call back into the library.
    VideoFrameSink* sink = m_sink.get();
    libvlc_media_player_t* player = m_player;
    m_preparePauser = std::thread([sink, player, setPause] {
        if (sink->waitForHeldFrame())
            setPause(player, 1);
    });
    if (play(m_player) == -1) {
        DiscardPreparedMedia();
        return false;
    }
    return true;
}

void PlayerContext::stopPreparePauser()
{
    m_sink->cancelHeldFrameWait();
    if (m_preparePauser.joinable())
        m_preparePauser.join();
}

bool PlayerContext::TakePreparedMedia(const QString& path)
{
    if (!m_prepared)
        return false;
    auto attach = lib().get<mediafn::EventAttach>(MediaEntry::EventAttach);
    if (isOpen() || path != m_preparedPath || !QFileInfo(path).isFile() || !attach) {
        DiscardPreparedMedia();
        return false;
    }
    stopPreparePauser();
    m_media = std::exchange(m_prepared, nullptr);
    m_path = std::exchange(m_preparedPath, QString());
    m_startsPrepared = true;
    attachMediaEvents();
    return true;
}

void PlayerContext::DiscardPreparedMedia()
{
    if (!m_prepared)
        return;
    stopPreparePauser();
    stopPlayer();
    if (auto release = lib().get<mediafn::MediaRelease>(MediaEntry::MediaRelease))
        release(m_prepared);
    m_prepared = nullptr;
    m_preparedPath.clear();
    if (auto mute = lib().get<mediafn::AudioSetMute>(MediaEntry::AudioSetMute))
        mute(m_player, 0);
    // Its picture is never shown.
    m_sink->discardFrames();
    m_sink->releaseFrames();
}

bool PlayerContext::StopMedia()
{
    DiscardPreparedMedia();
    if (!isOpen())
        return true;
    m_savedTime = currentTime();
    m_startsPrepared = false;
    return stopPlayer();
}

bool PlayerContext::stopPlayer()
{
    auto stop = lib().get<mediafn::PlayerAction>(MediaEntry::PlayerStop);
    if (!m_player || !stop)
        return false;
    libvlc_media_player_t* player = m_player;
    for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
        // The worker owns its end of the promise; an abandoned worker finishes on its own whenever the
        // library lets it.
        std::promise<void> done;
        std::future<void> finished = done.get_future();
        std::thread([stop, player, done = std::move(done)]() mutable {
            stop(player);
            done.set_value();
        }).detach();
        if (finished.wait_for(std::chrono::milliseconds(kStopWaitMs)) == std::future_status::ready) {
            m_stopAbandoned = false;
            return true;
        }
        if (finished.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            m_stopAbandoned = true;
            return false;
        }
        // It ended just after the wait gave up: the stop is tried once more.
    }
    m_stopAbandoned = false;
    return false;
}

bool PlayerContext::TogglePause()
{
    auto pause = lib().get<mediafn::PlayerAction>(MediaEntry::PlayerPause);
    if (!isOpen() || !pause)
        return false;
    pause(m_player);
    return true;
}

bool PlayerContext::SetPaused(bool paused)
{
    if (!isOpen())
        return false;
    if (auto setPause = lib().get<mediafn::PlayerSetPause>(MediaEntry::PlayerSetPause)) {
        setPause(m_player, paused ? 1 : 0);
        return true;
    }
    return TogglePause();
}

int64_t PlayerContext::length() const
{
    auto get = lib().get<mediafn::PlayerGetTime>(MediaEntry::PlayerGetLength);
    return (isOpen() && get) ? get(m_player) : -1;
}

int64_t PlayerContext::currentTime() const
{
    auto get = lib().get<mediafn::PlayerGetTime>(MediaEntry::PlayerGetTime);
    return (isOpen() && get) ? get(m_player) : -1;
}

int PlayerContext::videoWidth() const
{
    auto get = lib().get<mediafn::VideoGetDimension>(MediaEntry::VideoGetWidth);
    return (isOpen() && get) ? get(m_player) : -1;
}

int PlayerContext::videoHeight() const
{
    auto get = lib().get<mediafn::VideoGetDimension>(MediaEntry::VideoGetHeight);
    return (isOpen() && get) ? get(m_player) : -1;
}

bool PlayerContext::SeekTo(int64_t ms)
{
    auto setTime = lib().get<mediafn::PlayerSetTime>(MediaEntry::PlayerSetTime);
    if (!isOpen() || !setTime || ms < 0)
        return false;
    if (ms > length())
        return false;
    setTime(m_player, ms);
    return true;
}

bool PlayerContext::SkipBy(int seconds)
{
    auto setTime = lib().get<mediafn::PlayerSetTime>(MediaEntry::PlayerSetTime);
    if (!isOpen() || !setTime)
        return false;
    const int64_t end = qMax<int64_t>(0, length());
    const int64_t target = qBound<int64_t>(0, currentTime() + int64_t(seconds) * 1000, end);
    setTime(m_player, target);
    return true;
}

bool PlayerContext::TakeSnapshot(const QString& path)
{
    auto snapshot = lib().get<mediafn::TakeSnapshot>(MediaEntry::VideoTakeSnapshot);
    if (!isOpen() || !snapshot)
        return false;
    const int width = videoWidth();
    const int height = videoHeight();
    if (width <= 0 || height <= 0)
        return false; // no picture decoded yet: there is nothing to save

    // The library reports the request, not the written file; compare the file before and after.
    const QFileInfo before(path);
    const bool existed = before.exists();
    const QDateTime modifiedBefore = existed ? before.lastModified() : QDateTime();
    if (snapshot(m_player, 0, path.toUtf8().constData(), unsigned(width), unsigned(height)) != 0)
        return false;
    const QFileInfo after(path);
    if (!after.exists() || after.size() == 0 || (existed && after.lastModified() == modifiedBefore))
        return false;
    const int flips = m_sink->flips();
    if (flips != VideoFrameSink::NoFlip && m_snapshotFinisher)
        return m_snapshotFinisher(path, flips);
    return true;
}

bool PlayerContext::SetRate(float rate)
{
    auto setRate = lib().get<mediafn::PlayerSetRate>(MediaEntry::PlayerSetRate);
    if (!isOpen() || !setRate)
        return false;
    setRate(m_player, rate);
    return true;
}

bool PlayerContext::SetSound(int volume)
{
    auto mute = lib().get<mediafn::AudioSetMute>(MediaEntry::AudioSetMute);
    auto setVolume = lib().get<mediafn::AudioSetVolume>(MediaEntry::AudioSetVolume);
    if (!isOpen() || !mute || !setVolume)
        return false;
    mute(m_player, 0);
    setVolume(m_player, qBound(0, volume, 100));
    return true;
}

bool PlayerContext::ApplyPicture(float brightness, float contrast)
{
    auto setInt = lib().get<mediafn::SetAdjustInt>(MediaEntry::VideoSetAdjustInt);
    auto setFloat = lib().get<mediafn::SetAdjustFloat>(MediaEntry::VideoSetAdjustFloat);
    if (!isOpen() || !setInt || !setFloat)
        return false;
    setInt(m_player, mediaabi::kAdjustEnable, 1);
    setFloat(m_player, mediaabi::kAdjustBrightness, brightness);
    setInt(m_player, mediaabi::kAdjustEnable, 1);
    setFloat(m_player, mediaabi::kAdjustContrast, contrast);
    return true;
}

bool PlayerContext::RotateOn(int kind)
{
    if (!isOpen())
        return false;
    switch (kind) {
    case 0:
        m_sink->setFlips(VideoFrameSink::SecondFlip);
        return true;
    case 1:
        m_sink->setFlips(VideoFrameSink::FirstFlip);
        return true;
    case 2:
        m_sink->setFlips(VideoFrameSink::FirstFlip | VideoFrameSink::SecondFlip);
        return true;
    default:
        return false;
    }
}

bool PlayerContext::RotateOff()
{
    if (!isOpen())
        return false;
    m_sink->setFlips(VideoFrameSink::NoFlip);
    return true;
}

bool PlayerContext::SetMagnifier(bool on)
{
    // The frame size is remembered for the next video even with nothing open (switched off while the
    // player is empty, the next recording must not come at full size).
    m_sink->setFullResolution(on);
    if (!isOpen())
        return false;
    if (!m_sink->needsNewFormat())
        return true;
    // The frame size is chosen when the video output starts: deselecting and reselecting the video track
    // starts it again (the sound plays on; the picture waits for the next key frame).
    auto getTrack = lib().get<mediafn::VideoGetTrack>(MediaEntry::VideoGetTrack);
    auto setTrack = lib().get<mediafn::VideoSetTrack>(MediaEntry::VideoSetTrack);
    if (!getTrack || !setTrack)
        return true; // the next recording gets the new size
    const int track = getTrack(m_player);
    if (track >= 0) {
        setTrack(m_player, -1);
        setTrack(m_player, track);
    }
    return true;
}

void PlayerContext::onLibraryEvent(const libvlc_event_t* event, void* userData)
{
    // Runs on a library thread, inside the library's own lock: it must not call the library.
    auto* context = static_cast<PlayerContext*>(userData);
    if (!event || !context)
        return;
    QObject* window = context->m_mainWindow.load();
    if (event->type == mediaabi::kEventEndReached)
        NotifyEvent::post(window, NotifyEvent::EndOfMedia, 0);
    else if (event->type == mediaabi::kEventTimeChanged)
        NotifyEvent::post(window, NotifyEvent::TimeChanged,
            intptr_t(int32_t(uint32_t(uint64_t(event->u.media_player_time_changed.new_time)))));
}

bool PlayerContext::ProbeVideoSize(const QString& path, bool mp4, int& width, int& height)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(512);
    const auto byte = [&](int i) { return int(static_cast<unsigned char>(head[i])); };
    if (mp4) {
        if (head.size() < 238)
            return false;
        width = (byte(232) << 8) | byte(233);
        height = (byte(236) << 8) | byte(237);
    } else {
        if (head.size() < 70)
            return false;
        width = byte(64) | (byte(65) << 8);
        height = byte(68) | (byte(69) << 8);
    }
    return true;
}
