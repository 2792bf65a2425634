#pragma once

#include "trips/TripGrouping.h"
#include "trips/TripList.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class MapPanel;
class CTripTimeline;
class QMenu;
class QThread;
class QWidget;
class RecordingCatalogue;

// What the trips view needs of the main window, as plain calls, so that it stays a class of its own.
struct TripViewHooks
{
    std::function<const RecordingCatalogue&()> catalogue;
    // The video path of the recording in the player, empty when none.
    std::function<QString()> currentVideoPath;
    // The player's time in ms, negative when there is none.
    std::function<int64_t()> currentTimeMs;
    // Opens the list row of a recording for playback; false when the list does not show it.
    std::function<bool(const QString& videoPath)> openRecording;
    // Seeks the open recording; false while it cannot (its length not known yet, or beyond it).
    std::function<bool(int64_t ms)> seek;
    // Shows a message of the string tables.
    std::function<void(int stringId)> message;
};

// The card as drives inside the main window: the day strip over the bottom of the video with the summary of
// the trip being played, the whole trip's route on the map, and the trip's export. Made on first use; while
// hidden it has no timer running and writes nothing to the map.
class TripView : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPollMs = 250;
    static constexpr int kSeekWaitMs = 5000;

    // The strip is a child of stripParent laid over video; map may be null (the map-less models).
    TripView(QWidget* stripParent, QWidget* video, MapPanel* map, TripViewHooks hooks,
        TripGrouping::Options options = TripGrouping::Options());
    ~TripView() override;

    void SetShown(bool shown);
    bool IsShown() const { return m_shown; }
    void Toggle() { SetShown(!m_shown); }

    // Exports the trip of the recording being played; asks for the file when path is empty. False when
    // there is no such trip or the file could not be written (the user is told).
    bool ExportCurrentTrip(bool gpx, const QString& path = QString());

    CTripTimeline* strip() const { return m_strip; }
    bool IsStrip(const QWidget* widget) const;
    const TripList& trips() const { return m_list; }
    // The impact threshold the trips' counts use (the viewer's setting at first); a new one reads the card
    // again at the next poll.
    void SetImpactThresholdG(double thresholdG) { m_thresholdG = thresholdG; }
    double ImpactThresholdG() const { return m_thresholdG; }
    // Whether the card is being read for the strip; the strip shows what was read before until it ends.
    bool IsReading() const { return m_reader != nullptr; }
    // The trip entry of the recording being played, if any.
    const Trip* currentTrip() const;
    // The strip's own menu (its right button): hide the strip, export the trip as GPX or KML. The window's
    // context menu stays as it is.
    std::unique_ptr<QMenu> CreateMenu();
    // Plays a recording of the list from offsetMs (the strip's and the route's clicks).
    void PlayMoment(int recording, int64_t offsetMs);

    // String ids of the view's texts.
    static constexpr int kStrMenuTimeline = 24001;
    static constexpr int kStrExportGpx = 24002;
    static constexpr int kStrExportKml = 24003;
    static constexpr int kStrNoTrip = 24004;
    static constexpr int kStrExportFailed = 24005;
    static constexpr int kStrSummary = 24006;
    static constexpr int kStrImpactsUnknown = 24007;
    static constexpr int kStrImpacts = 24008;
    static constexpr int kStrTrip = 24009;

    // "Trip 2  08:00–08:42  25.3 km · 42 min · top 96 km/h · average 36 km/h · 2 events · impacts: n/a".
    static QString SummaryText(const Trip& trip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Reading;
    bool catalogueChanged() const;
    // Reading a card's data files takes seconds on a full card: it runs beside the window, which stays
    // responsive, and what it read is taken over when it ends.
    void reloadIfCatalogueChanged();
    void startReading();
    void readingDone(const std::shared_ptr<Reading>& reading);
    // Exports need the list as it is now: waits for a reading under way, or reads at once.
    void loadNow();
    void install(TripList list, const QString& folder, qsizetype names, double thresholdG);
    void poll();
    void placeStrip();
    void showDay(QDate day);
    void stepDay(int delta);
    void showRouteOf(const Trip* trip);
    void onMapCommand(const QString& command);
    int recordingOfPath(const QString& path) const;

    QWidget* m_video;
    QPointer<MapPanel> m_map;
    TripViewHooks m_hooks;
    TripGrouping::Options m_options;
    double m_thresholdG;
    CTripTimeline* m_strip = nullptr;
    QTimer m_poll;
    bool m_shown = false;

    TripList m_list;
    std::unique_ptr<QThread> m_reader;
    std::shared_ptr<Reading> m_reading;
    bool m_loaded = false;
    double m_loadedThresholdG = 0;
    QString m_loadedFolder;
    qsizetype m_loadedNames = -1;
    std::map<QString, int> m_byPath;
    std::vector<QDate> m_days;

    int m_playing = -1;
    const Trip* m_routeTrip = nullptr;
    bool m_routeShown = false;

    QString m_pendingPath;
    int64_t m_pendingOffset = 0;
    int m_pendingWaits = 0;
};
