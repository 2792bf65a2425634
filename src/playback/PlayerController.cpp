#include "playback/PlayerController.h"

#include "playback/PictureAdjustment.h"
#include "playback/PlayerContext.h"
#include "playback/PlayerControllerHost.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

namespace {

QString g_captureBase;

constexpr int kCountryJapan = 81;
// Timer 4 never needs to run faster than a screen can show the graph move.
constexpr int kMinGraphPeriodMs = 10;

struct SpeedEntry
{
    float rate;
    int image;
};

constexpr SpeedEntry kSpeeds[5] = { { 0.4f, 3140 }, { 0.6f, 3141 }, { 0.8f, 3142 }, { 1.0f, 3143 }, { 2.0f, 3144 } };

} // namespace

PlayerController::PlayerController(
    PlayerContext& context, PlayerControllerHost& host, PlaybackGraph* graph, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_host(host)
    , m_graph(graph)
{
    m_timer0.setObjectName(QStringLiteral("timer0"));
    m_timer1.setObjectName(QStringLiteral("timer1"));
    m_timer2.setObjectName(QStringLiteral("timer2"));
    m_timer4.setObjectName(QStringLiteral("timer4"));
    for (QTimer* t : { &m_timer0, &m_timer1, &m_timer2 })
        t->setSingleShot(true);
    m_timer0.setInterval(kTimer0Ms);
    m_timer1.setInterval(kTimer1Ms);
    m_timer2.setInterval(kTimer2Ms);
    connect(&m_timer0, &QTimer::timeout, this, &PlayerController::onTimer0);
    connect(&m_timer1, &QTimer::timeout, this, &PlayerController::onTimer1);
    connect(&m_timer2, &QTimer::timeout, this, &PlayerController::onTimer2);
    connect(&m_timer4, &QTimer::timeout, this, &PlayerController::onTimer4);
}

PlayerController::~PlayerController() = default;

bool PlayerController::isTimerActive(int id) const
{
    switch (id) {
    case 0:
        return m_timer0.isActive();
    case 1:
        return m_timer1.isActive();
    case 2:
        return m_timer2.isActive();
    case 4:
        return m_timer4.isActive();
    default:
        return false;
    }
}

// ---- the open sequence ----

QString PlayerController::DataFilePath(const QString& videoPath)
{
    // Only the extension at the end: a folder named "x.avi" or a name holding ".avi" stays as it is.
    const QFileInfo info(videoPath);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return videoPath + QStringLiteral(".dat");
    return videoPath.left(videoPath.size() - suffix.size()) + QStringLiteral("dat");
}

int PlayerController::SizeClass(int width, int height)
{
    if (width == 1920 && height == 1080)
        return 0;
    if (width == 1280 && height == 720)
        return 1;
    return 2;
}

bool PlayerController::RecordingFolderAvailable(const QString& path)
{
    // A card pulled out takes its mount point (or the copied folder) with it.
    return QFileInfo(path).absoluteDir().exists();
}

void PlayerController::PlayRecording(const QString& path)
{
    if (m_graph)
        m_graph->markHasData();

    bool opened = false;
    if (!RecordingFolderAvailable(path)) {
        m_context.StopMedia();
        m_context.CloseMedia();
        m_isPlaying = false;
        if (m_graph)
            m_graph->reset();
        m_host.showPlayButton(true);
        m_host.playerEmptied();
    } else {
        m_isPlaying = true;
        // The recording made ready ahead (row 0 at start-up) is taken when it is this one; any other is
        // released and the recording opens the usual way.
        opened = m_context.TakePreparedMedia(path);
        if (!opened) {
            m_context.CloseMedia();
            opened = m_context.OpenMedia(path);
        }
        // The recording shown before comes back in place of one the library cannot open.
        if (!opened && !m_previousPath.isEmpty() && m_previousPath != path)
            opened = m_context.OpenMedia(m_previousPath);

        if (opened) {
            // A speed chosen while nothing was open could not reach the player then; it does now, before
            // the recording starts, so that the rate, the Speed button and the sound agree.
            if (m_rateUnsent && m_context.SetRate(m_playRate))
                m_rateUnsent = false;
            if (m_magnifier.isOn()) {
                m_context.SetMagnifier(true);
                m_magnifier.rearm();
            }
            const QString openPath = m_context.path();
            const bool mp4 = QFileInfo(openPath).suffix().compare(QLatin1String("mp4"), Qt::CaseInsensitive) == 0;
            PlayerContext::ProbeVideoSize(openPath, mp4, m_videoWidth, m_videoHeight);
            const int previousClass = m_sizeClass;
            m_sizeClass = SizeClass(m_videoWidth, m_videoHeight);
            if (m_zoomAllowed)
                m_magnifier.setGaugeResync(true);
            m_host.videoSizeKnown(m_videoWidth, m_videoHeight);
            if (m_sizeClass < previousClass)
                m_host.checkWindowGrowth(m_sizeClass);

            // The data file belongs to the video that is actually shown.
            const QString datPath = DataFilePath(openPath);
            m_lastPlayOk = m_context.PlayMedia();
            if (m_graph)
                m_graph->loadDataFile(datPath);
            m_host.showPlayButton(false);
            // A play the library refused closed the media again: nothing is shown.
            if (!m_lastPlayOk)
                m_host.playerEmptied();
        } else {
            // Neither the chosen nor the previous recording opens: an empty player, ready for the next.
            m_isPlaying = false;
            m_lastPlayOk = false;
            if (m_graph)
                m_graph->reset();
            m_host.showPlayButton(true);
            m_host.playerEmptied();
        }
    }

    m_timer0.start(kTimer0Ms);
    // Only a path that opened is worth falling back to.
    if (opened)
        m_previousPath = m_context.path();
    m_host.lockInput();
}

void PlayerController::Stop()
{
    m_context.StopMedia();
    m_context.CloseMedia();
    m_isPlaying = false;
    if (m_countryCode == kCountryJapan)
        StopGraphTimer();
    m_host.playerEmptied();
}

void PlayerController::StopGraphTimer()
{
    m_timer4.stop();
    if (m_graph)
        m_graph->showTime(0);
}

void PlayerController::onTimer0()
{
    m_timer0.stop();
    if (!m_context.isOpen())
        return;
    m_recordingLength = m_context.length();
    applyPicture();
    if (m_recordingLength >= 0 && m_graph && m_graph->hasData())
        m_graph->setRecordingLength(m_recordingLength);
    m_host.showRecordingLength(m_recordingLength);
    // A speed other than 1.0 keeps the sound off, as SetRate left it (the buttons say so too).
    m_context.SetSound(m_soundOn && m_playRate == 1.0f ? m_volume : 0);
    if (m_countryCode == kCountryJapan)
        startGraphTimer();
}

int64_t PlayerController::computeGraphPeriod() const
{
    const int samples = m_graph ? m_graph->sampleCount() : 0;
    if (samples <= 0 || m_recordingLength <= 0)
        return 0;
    return m_recordingLength / samples;
}

void PlayerController::startGraphTimer()
{
    // Without samples or a length the period has no value: the graph then follows the time events alone.
    if (!m_graph || m_graph->sampleCount() <= 0 || m_recordingLength <= 0) {
        m_timer4.stop();
        m_graphPeriod = 0;
        return;
    }
    const int64_t period = computeGraphPeriod();
    m_graphPeriod = double(period);
    m_timer4.start(int(qMax<int64_t>(kMinGraphPeriodMs, period)));
}

void PlayerController::onTimer4()
{
    const int64_t period = computeGraphPeriod();
    if (period > 0) {
        m_graphPeriod = double(period);
        const int ms = int(qMax<int64_t>(kMinGraphPeriodMs, period));
        if (m_timer4.interval() != ms)
            m_timer4.setInterval(ms);
    }
    if (!m_context.isOpen() || !m_graph)
        return;
    m_graph->showTime(m_context.currentTime());
}

// ---- transport ----

void PlayerController::Play()
{
    if (!m_context.isOpen() || m_isPlaying)
        return;
    m_context.SetPaused(false);
    m_isPlaying = true;
    m_host.showPlayButton(false);
    m_timer1.start(kTimer1Ms);
}

void PlayerController::Pause()
{
    if (!m_context.isOpen() || !m_isPlaying)
        return;
    m_context.SetPaused(true);
    m_isPlaying = false;
    m_rotationAtPause = m_rotationState;
    m_host.showPlayButton(true);
}

void PlayerController::PlayPause()
{
    if (m_isPlaying)
        Pause();
    else
        Play();
}

void PlayerController::Backward()
{
    if (!m_context.isOpen())
        return;
    m_context.SkipBy(-10);
    if (!m_isPlaying)
        Play();
}

void PlayerController::Forward()
{
    if (!m_context.isOpen())
        return;
    m_context.SkipBy(10);
    if (!m_isPlaying)
        Play();
}

void PlayerController::SeekTo(int64_t ms)
{
    m_context.SeekTo(ms);
}

void PlayerController::onTimer1()
{
    m_timer1.stop();
    if (m_rotationState != m_rotationAtPause)
        applyRotation(m_rotationState);
}

// ---- speed and sound ----

float PlayerController::RateOfEntry(int entry)
{
    return entry >= 1 && entry <= 5 ? kSpeeds[entry - 1].rate : 1.0f;
}

int PlayerController::SpeedImageOfEntry(int entry)
{
    return entry >= 1 && entry <= 5 ? kSpeeds[entry - 1].image : kSpeeds[3].image;
}

void PlayerController::SpeedMenu()
{
    m_host.openSpeedList();
}

void PlayerController::setSoundButtons(bool audible)
{
    m_host.showSoundButtons(audible);
    m_host.setVolumeSliderEnabled(audible);
}

void PlayerController::SetRate(int entry)
{
    if (entry < 1 || entry > 5)
        return;
    m_playRate = RateOfEntry(entry);
    m_host.setSpeedButtonImage(SpeedImageOfEntry(entry));
    // With nothing open the library keeps the rate it had; the next open sends this one.
    m_rateUnsent = !m_context.SetRate(m_playRate);
    if (m_playRate == 1.0f) {
        m_context.SetSound(m_volume);
        setSoundButtons(true);
    } else {
        m_context.SetSound(0);
        setSoundButtons(false);
    }
}

void PlayerController::SoundOn()
{
    setSoundButtons(true);
    m_context.SetSound(m_volume);
    m_soundOn = true;
}

void PlayerController::Mute()
{
    setSoundButtons(false);
    m_context.SetSound(0);
    m_soundOn = false;
}

void PlayerController::ToggleMute()
{
    if (m_soundOn)
        Mute();
    else
        SoundOn();
}

void PlayerController::VolumeUp()
{
    if (!m_soundOn)
        return;
    m_volume = qBound(0, m_volume + 5, 100);
    m_context.SetSound(m_volume);
    m_host.moveVolumeSlider(m_volume);
}

void PlayerController::VolumeDown()
{
    if (!m_soundOn)
        return;
    m_volume = qBound(0, m_volume - 5, 100);
    m_context.SetSound(m_volume);
    m_host.moveVolumeSlider(m_volume);
}

void PlayerController::SetVolume(int level)
{
    m_volume = qBound(0, level, 100);
    m_context.SetSound(m_volume);
}

// ---- picture ----

void PlayerController::applyPicture()
{
    m_context.ApplyPicture(m_brightness, m_contrast);
}

void PlayerController::NightOn()
{
    if (!m_context.isOpen())
        return;
    m_brightness = kNightValue;
    m_contrast = kNightValue;
    m_nightVision = true;
    m_host.showNightButtons(true);
    applyPicture();
}

void PlayerController::NightOff()
{
    if (!m_context.isOpen())
        return;
    m_brightness = 1.0f;
    m_contrast = 1.0f;
    m_nightVision = false;
    m_host.showNightButtons(false);
    applyPicture();
}

void PlayerController::AdjustPicture()
{
    // Playback halts while the dialog is open; isPlaying keeps its value.
    if (m_isPlaying)
        m_context.SetPaused(true);
    PictureAdjustment adjustment(m_brightness, m_contrast, m_nightVision, [this] { applyPicture(); });
    m_host.runAdjustmentDialog(adjustment);
    // Values that are no longer the night values mean night vision is off, whichever way the dialog
    // closed (Cancel with night vision on brings back the neutral values).
    if (m_nightVision && (m_brightness != kNightValue || m_contrast != kNightValue)) {
        m_nightVision = false;
        m_host.showNightButtons(false);
    }
    if (m_isPlaying)
        m_context.SetPaused(false);
}

int PlayerController::NextRotation(int state, int entry)
{
    // Rows: state before (0 first flip, 1 second flip, 2 both, 3 none); columns: entries 1, 2, 3.
    static constexpr int table[4][3] = { { 3, 2, 3 }, { 2, 3, 3 }, { 1, 0, 3 }, { 0, 1, 3 } };
    if (state < 0 || state > 3 || entry < 1 || entry > 3)
        return state;
    return table[state][entry - 1];
}

void PlayerController::RotateMenu()
{
    if (m_magnifier.isOn()) {
        m_host.showMessage(kStrNoRotateWhileZoomed);
        return;
    }
    m_host.openRotationList();
}

void PlayerController::RotateEntry(int entry)
{
    if (entry < 1 || entry > 3 || m_magnifier.isOn())
        return;
    const int before = m_rotationState;
    m_rotationState = NextRotation(before, entry);
    if (m_rotationState == before)
        return; // entry 3 with nothing rotated: nothing to send
    m_host.rotationStateChanged(m_rotationState);
    if (m_isPlaying)
        applyRotation(m_rotationState);
}

void PlayerController::applyRotation(int state)
{
    if (!m_rotationReady)
        return;
    m_rotationReady = false;
    if (m_context.isOpen()) {
        switch (state) {
        case FirstFlip:
            m_context.RotateOn(1);
            break;
        case SecondFlip:
            m_context.RotateOn(0);
            break;
        case BothFlips:
            m_context.RotateOn(2);
            break;
        default:
            m_context.RotateOff();
            break;
        }
    }
    m_timer2.start(kTimer2Ms);
}

void PlayerController::onTimer2()
{
    m_timer2.stop();
    m_rotationReady = true;
}

// ---- capture ----

QString PlayerController::CaptureFolder()
{
    const QString base
        = g_captureBase.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) : g_captureBase;
    return QDir(base).filePath(QStringLiteral("KORVANE/Capture")) + QLatin1Char('/');
}

void PlayerController::SetCaptureBaseFolder(const QString& folder)
{
    g_captureBase = folder;
}

QString PlayerController::CaptureFileName(const QString& rowName, int64_t timeMs)
{
    return rowName + QString::asprintf("_%3.1f", double(timeMs) / 1000.0) + QStringLiteral(".png");
}

void PlayerController::Capture()
{
    const QString folder = CaptureFolder();
    QDir().mkpath(folder);
    const QString name = m_host.currentRowName();
    if (name.isEmpty() || !m_context.isOpen()) {
        m_host.showMessage(kStrNothingToCapture);
        return;
    }
    const QString file = folder + CaptureFileName(name, qMax<int64_t>(0, m_context.currentTime()));
    if (m_context.TakeSnapshot(file))
        m_host.showMessage(kStrCaptureSaved);
}

// ---- magnifier ----

void PlayerController::ZoomToggle()
{
    if (!m_zoomAllowed || !m_context.isOpen())
        return;
    const bool japan = m_countryCode == kCountryJapan;
    const bool timer4Was = m_timer4.isActive();
    if (japan)
        m_timer4.stop();
    const bool turnOn = !m_magnifier.isOn();
    m_context.SetMagnifier(turnOn);
    if (japan && timer4Was && m_graphPeriod > 0)
        m_timer4.start(int(qMax<double>(kMinGraphPeriodMs, m_graphPeriod)));
    if (turnOn) {
        m_magnifier.rearm();
        m_magnifier.setOn(true);
        m_host.showZoomButtons(true);
    } else {
        m_magnifier.setOn(false);
        m_magnifier.setGaugeOffset(0);
        m_host.showZoomButtons(false);
    }
}

void PlayerController::MagnifierOff()
{
    m_context.SetMagnifier(false);
    if (m_magnifier.isOn()) {
        m_magnifier.setOn(false);
        m_host.showZoomButtons(false);
        m_magnifier.setGaugeOffset(0);
    }
}

void PlayerController::RequestGaugeResync()
{
    if (m_zoomAllowed)
        m_magnifier.setGaugeResync(true);
}
