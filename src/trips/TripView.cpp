#include "trips/TripView.h"

#include "app/StringTables.h"
#include "catalogue/RecordingCatalogue.h"
#include "map/MapPanel.h"
#include "trips/CTripTimeline.h"
#include "trips/DayTimeline.h"
#include "incident/ImpactThresholdSetting.h"
#include "platform/SettingsStore.h"
#include "trips/SensorImpactSource.h"
#include "trips/RecordingStartTime.h"
#include "trips/TripCardReader.h"
#include "trips/TripGpxWriter.h"
#include "trips/TripKmlWriter.h"
#include "trips/TripMapRoute.h"
#include "trips/TripRoute.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace {

qsizetype nameCount(const RecordingCatalogue& c)
{
    qsizetype n = 0;
    for (RecordingKind k : { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking })
        n += std::max(c.names(k).size(), c.savedNames(k).size());
    return n;
}

QString hhmm(int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("HH:mm"));
}

} // namespace

TripView::TripView(
    QWidget* stripParent, QWidget* video, MapPanel* map, TripViewHooks hooks, TripGrouping::Options options)
    : m_video(video)
    , m_map(map)
    , m_hooks(std::move(hooks))
    , m_options(options)
    , m_thresholdG(impactsetting::read(SettingsStore::user()))
{
    m_strip = new CTripTimeline(stripParent);
    m_strip->hide();
    connect(m_strip, &CTripTimeline::MomentChosen, this, [this](int r, qint64 ms) { PlayMoment(r, ms); });
    connect(m_strip, &CTripTimeline::DayStep, this, &TripView::stepDay);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &TripView::poll);
    if (m_map)
        connect(m_map, &MapPanel::AppCommand, this, &TripView::onMapCommand);
    if (m_video)
        m_video->installEventFilter(this);
    m_strip->installEventFilter(this);
}

struct TripView::Reading
{
    QString folder;
    qsizetype names = -1;
    double thresholdG = 0;
    TripList list;
};

namespace {

TripList readTrips(const RecordingCatalogue& catalogue, const TripGrouping::Options& options, double thresholdG)
{
    TripList list = TripCardReader::FromCatalogue(catalogue, options);
    TripGrouping::ApplyImpacts(list, SensorImpactSource(thresholdG));
    return list;
}

} // namespace

TripView::~TripView()
{
    // The reading only holds copies, but a running thread must not be destroyed.
    if (m_reader)
        m_reader->wait();
    if (m_video)
        m_video->removeEventFilter(this);
    delete m_strip;
}

QString TripView::SummaryText(const Trip& trip)
{
    const QString figures = StringById(kStrSummary)
                                .arg(trip.distanceMetres / 1000.0, 0, 'f', 1)
                                .arg(trip.durationMs() / 60000)
                                .arg(trip.topSpeedKmh)
                                .arg(static_cast<int>(trip.averageSpeedKmh))
                                .arg(trip.events);
    const QString impacts = trip.impacts ? StringById(kStrImpacts).arg(*trip.impacts) : StringById(kStrImpactsUnknown);
    return StringById(kStrTrip).arg(trip.number) + QStringLiteral("  ") + hhmm(trip.startMs) + QChar(0x2013)
        + hhmm(trip.endMs) + QStringLiteral("  ") + figures + QStringLiteral(" \u00b7 ") + impacts;
}

void TripView::SetShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (!shown) {
        m_poll.stop();
        m_strip->hide();
        showRouteOf(nullptr);
        return;
    }
    reloadIfCatalogueChanged();
    placeStrip();
    m_playing = -2; // the next poll finds the day and the route afresh
    poll();
    if (!m_strip->day().isValid())
        showDay(m_days.empty() ? QDate::currentDate() : m_days.front());
    m_strip->show();
    m_strip->raise();
    m_poll.start();
}

bool TripView::catalogueChanged() const
{
    const RecordingCatalogue& c = m_hooks.catalogue();
    // A threshold chosen in the video menu changes the impact counts.
    return !m_loaded || c.folder() != m_loadedFolder || nameCount(c) != m_loadedNames
        || m_thresholdG != m_loadedThresholdG;
}

void TripView::reloadIfCatalogueChanged()
{
    // A reading under way is checked against the catalogue again when it ends.
    if (m_reader || !catalogueChanged())
        return;
    startReading();
}

void TripView::startReading()
{
    const RecordingCatalogue& c = m_hooks.catalogue();
    auto reading = std::make_shared<Reading>();
    reading->folder = c.folder();
    reading->names = nameCount(c);
    reading->thresholdG = m_thresholdG;
    const RecordingCatalogue copy = c;
    const TripGrouping::Options options = m_options;
    const double thresholdG = reading->thresholdG;
    m_reading = reading;
    m_reader.reset(QThread::create([reading, copy, options, thresholdG] {
        reading->list = readTrips(copy, options, thresholdG);
    }));
    connect(m_reader.get(), &QThread::finished, this, [this, reading] { readingDone(reading); });
    m_reader->start(QThread::LowPriority);
}

void TripView::readingDone(const std::shared_ptr<Reading>& reading)
{
    if (reading != m_reading)
        return; // taken over already by an export that waited for it
    m_reader->wait();
    m_reader.reset();
    m_reading.reset();
    install(std::move(reading->list), reading->folder, reading->names, reading->thresholdG);
    if (catalogueChanged())
        startReading();
    if (!m_shown)
        return;
    poll();
    // Shown before anything was read, the strip stood on today: bring up the first day with recordings.
    if (!m_days.empty() && !std::binary_search(m_days.begin(), m_days.end(), m_strip->day()))
        showDay(m_days.front());
    poll();
}

void TripView::loadNow()
{
    if (m_reader) {
        const std::shared_ptr<Reading> reading = m_reading;
        m_reader->wait();
        readingDone(reading);
    }
    if (m_reader) {
        // The catalogue changed while it was read: its newer state is wanted now.
        m_reader->wait();
        readingDone(m_reading);
    }
    if (catalogueChanged()) {
        const RecordingCatalogue& c = m_hooks.catalogue();
        install(readTrips(c, m_options, m_thresholdG), c.folder(), nameCount(c), m_thresholdG);
    }
}

void TripView::install(TripList list, const QString& folder, qsizetype names, double thresholdG)
{
    m_list = std::move(list);
    m_loaded = true;
    m_loadedThresholdG = thresholdG;
    m_loadedFolder = folder;
    m_loadedNames = names;
    m_byPath.clear();
    for (size_t i = 0; i < m_list.recordings.size(); ++i)
        m_byPath.emplace(m_list.recordings[i].videoPath, int(i));
    m_routeTrip = nullptr;
    m_playing = -2;
    m_days = DayTimeline::Days(m_list);
    if (m_strip->day().isValid())
        m_strip->SetDay(&m_list, m_strip->day());
}

int TripView::recordingOfPath(const QString& path) const
{
    const auto it = m_byPath.find(path);
    return it == m_byPath.end() ? -1 : it->second;
}

const Trip* TripView::currentTrip() const
{
    const int r = recordingOfPath(m_hooks.currentVideoPath());
    if (r < 0)
        return nullptr;
    const Trip* t = m_list.entryOfRecording(r);
    return t && !t->parking ? t : nullptr;
}

void TripView::poll()
{
    reloadIfCatalogueChanged();
    const int playing = recordingOfPath(m_hooks.currentVideoPath());
    const int64_t time = m_hooks.currentTimeMs();

    if (!m_pendingPath.isEmpty()) {
        if (m_hooks.currentVideoPath() == m_pendingPath && m_hooks.seek(m_pendingOffset))
            m_pendingPath.clear();
        else if (++m_pendingWaits * kPollMs > kSeekWaitMs)
            m_pendingPath.clear();
    }

    DayTimelineRenderer::State state;
    const Trip* trip = nullptr;
    if (playing >= 0) {
        const TripRecording& r = m_list.recordings[size_t(playing)];
        const int64_t at = r.startMs + std::max<int64_t>(0, time);
        // A newly played recording brings its day into view; stepping through days sticks until then.
        if (playing != m_playing)
            showDay(DayTimeline::DayOf(at));
        const int64_t dayStart = QDateTime(m_strip->day(), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
        if (at >= dayStart && at <= dayStart + DayTimeline::kDayMs)
            state.playingMsIntoDay = at - dayStart;
        trip = m_list.entryOfRecording(playing);
        if (trip && trip->parking)
            trip = nullptr;
    }
    m_playing = playing;
    if (trip)
        state.summary = SummaryText(*trip);
    state.hasPreviousDay = !m_days.empty() && m_strip->day() > m_days.front();
    state.hasNextDay = !m_days.empty() && m_strip->day() < m_days.back();
    m_strip->SetState(state);
    showRouteOf(trip);
}

void TripView::showDay(QDate day)
{
    if (day != m_strip->day())
        m_strip->SetDay(&m_list, day);
}

void TripView::stepDay(int delta)
{
    const std::vector<QDate>& days = m_days;
    if (days.empty())
        return;
    const QDate current = m_strip->day();
    if (delta < 0) {
        for (auto it = days.rbegin(); it != days.rend(); ++it) {
            if (*it < current) {
                showDay(*it);
                break;
            }
        }
    } else {
        for (const QDate& d : days) {
            if (d > current) {
                showDay(d);
                break;
            }
        }
    }
    poll();
}

void TripView::showRouteOf(const Trip* trip)
{
    if (!m_map)
        return;
    if (!trip) {
        if (m_routeShown)
            m_map->SetPageInput(QString::fromLatin1(TripMapRoute::kInputName), QString());
        m_routeShown = false;
        m_routeTrip = nullptr;
        return;
    }
    if (m_routeShown && trip == m_routeTrip)
        return;
    m_routeTrip = trip;
    m_routeShown = true;
    m_map->SetPageInput(QString::fromLatin1(TripMapRoute::kInputName),
        TripMapRoute::InputText(TripRoute::Build(m_list, *trip, true, m_options.maxSpeedMps)));
}

void TripView::onMapCommand(const QString& command)
{
    if (!m_shown)
        return;
    const std::optional<int64_t> at = TripMapRoute::TimeFromCommand(command);
    if (!at)
        return;
    if (const std::optional<DayTimeline::Moment> m = DayTimeline::MomentAtTime(m_list, *at))
        PlayMoment(m->recording, m->offsetMs);
}

void TripView::PlayMoment(int recording, int64_t offsetMs)
{
    if (recording < 0 || size_t(recording) >= m_list.recordings.size())
        return;
    const QString path = m_list.recordings[size_t(recording)].videoPath;
    if (m_hooks.currentVideoPath() == path && m_hooks.seek(offsetMs))
        return;
    if (m_hooks.currentVideoPath() != path && !m_hooks.openRecording(path))
        return;
    // The player takes a seek only once it knows the new recording's length: the poll tries until then.
    m_pendingPath = path;
    m_pendingOffset = offsetMs;
    m_pendingWaits = 0;
    if (!m_poll.isActive())
        m_poll.start();
}

bool TripView::ExportCurrentTrip(bool gpx, const QString& chosenPath)
{
    loadNow();
    const Trip* trip = currentTrip();
    if (!trip) {
        m_hooks.message(kStrNoTrip);
        return false;
    }
    QString path = chosenPath;
    if (path.isEmpty()) {
        const QString name = QStringLiteral("trip_%1.%2")
                                 .arg(QDateTime::fromMSecsSinceEpoch(trip->startMs, Qt::UTC)
                                          .toString(QStringLiteral("yyyyMMdd_HHmmss")),
                                     gpx ? QStringLiteral("gpx") : QStringLiteral("kml"));
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        path = QFileDialog::getSaveFileName(m_strip->window(), StringById(gpx ? kStrExportGpx : kStrExportKml),
            folder + QLatin1Char('/') + name, gpx ? QStringLiteral("GPX (*.gpx)") : QStringLiteral("KML (*.kml)"));
        if (path.isEmpty())
            return false;
    }
    const TripRoute route = TripRoute::Build(m_list, *trip, true, m_options.maxSpeedMps);
    const bool ok = gpx ? TripGpxWriter::Write(path, *trip, route) : TripKmlWriter::Write(path, *trip, route);
    if (!ok)
        m_hooks.message(kStrExportFailed);
    return ok;
}

bool TripView::IsStrip(const QWidget* widget) const
{
    return widget == m_strip;
}

std::unique_ptr<QMenu> TripView::CreateMenu()
{
    auto menu = std::make_unique<QMenu>();
    QAction* shown = menu->addAction(StringById(kStrMenuTimeline), this, [this] { Toggle(); });
    shown->setCheckable(true);
    shown->setChecked(m_shown);
    menu->addSeparator();
    QAction* gpx = menu->addAction(StringById(kStrExportGpx), this, [this] { ExportCurrentTrip(true); });
    QAction* kml = menu->addAction(StringById(kStrExportKml), this, [this] { ExportCurrentTrip(false); });
    const bool hasTrip = currentTrip() != nullptr;
    gpx->setEnabled(hasTrip);
    kml->setEnabled(hasTrip);
    return menu;
}

bool TripView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_strip && event->type() == QEvent::ContextMenu) {
        std::unique_ptr<QMenu> menu = CreateMenu();
        menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (watched == m_video && m_shown) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
            placeStrip();
            break;
        case QEvent::Hide:
            m_strip->hide();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TripView::placeStrip()
{
    if (!m_video || !m_strip->parentWidget())
        return;
    const QPoint topLeft = m_video->mapTo(m_strip->parentWidget(), QPoint(0, 0));
    const int h = DayTimeline::kStripHeight;
    m_strip->setGeometry(topLeft.x(), topLeft.y() + std::max(0, m_video->height() - h), m_video->width(), h);
    if (m_shown && m_video->isVisible() && !m_strip->isVisible()) {
        m_strip->show();
        m_strip->raise();
    }
}
