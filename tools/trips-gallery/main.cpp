// trips-gallery draws the trips view for a built day of three trips with events, as the viewer shows it:
//   OUT/trips-timeline.png  the day strip over the bottom of a video frame, the evening trip being played
//   OUT/trips-map.png       the map (network closed: the plain grid) with the evening trip's whole route, the
//                           playing recording's own track over it and the car's position
//
//   trips-gallery OUT_FOLDER
//
// Impact detection is not part of this build; so that the picture shows where impact ticks go, the day's
// event recordings are given one impact each by a stand-in source of this tool.
#include "MapPageProbe.h"
#include "app/StringTables.h"
#include "map/CHtmlMap.h"
#include "map/MapNetworkGate.h"
#include "map/MapPages.h"
#include "sensor/SidecarDataFile.h"
#include "trips/DayTimeline.h"
#include "trips/DayTimelineRenderer.h"
#include "trips/RecordingStartTime.h"
#include "trips/TripGrouping.h"
#include "trips/TripImpactSource.h"
#include "trips/TripMapRoute.h"
#include "trips/TripRoute.h"
#include "trips/TripView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

class StandInImpacts : public TripImpactSource
{
public:
    bool available() const override { return true; }
    std::vector<int64_t> impactOffsetsMs(const TripRecording& r) const override
    {
        return r.kind == RecordingKind::Event ? std::vector<int64_t> { 12000 } : std::vector<int64_t>();
    }
};

struct Drive
{
    const char* start; // base name of the first recording
    int minutes;
    std::vector<int> events; // minutes that are event recordings
    double lat;
    double lon;
    double heading; // degrees, turning slowly along the way
};

// One-minute recordings with a fix every second along a winding road at 40 to 70 km/h.
void addDrive(std::vector<TripRecording>& out, const Drive& d)
{
    int64_t start = RecordingStartTime::FromBaseName(QString::fromLatin1(d.start)).value();
    double lat = d.lat;
    double lon = d.lon;
    double heading = d.heading;
    for (int m = 0; m < d.minutes; ++m) {
        TripRecording r;
        r.kind = std::find(d.events.begin(), d.events.end(), m) != d.events.end() ? RecordingKind::Event
                                                                                  : RecordingKind::Normal;
        r.startMs = start;
        r.baseName = RecordingStartTime::IsoText(start);
        r.lengthMs = 60000;
        r.hasData = true;
        for (int k = 0; k < 60; ++k) {
            const int t = m * 60 + k;
            const double kmh = 55 + 15 * std::sin(t / 47.0);
            heading += 0.35 * std::sin(t / 90.0);
            const double metres = kmh / 3.6;
            lat += metres * std::cos(heading * M_PI / 180.0) / 111195.0;
            lon += metres * std::sin(heading * M_PI / 180.0) / (111195.0 * std::cos(lat * M_PI / 180.0));
            r.fixes.push_back(TripFix { lat, lon, int32_t(k), int16_t(kmh), !(m == 7 && k > 20 && k < 35) });
        }
        out.push_back(std::move(r));
        start += 60000;
    }
}

int fail(const char* what)
{
    std::fprintf(stderr, "trips-gallery: %s\n", what);
    return 1;
}

} // namespace

using mappageprobe::pageValue;
using mappageprobe::waitFor;

int main(int argc, char** argv)
{
    if (argc != 2)
        return fail("usage: trips-gallery OUT_FOLDER");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    MapNetworkGate::SetNetworkAllowed(false);
    CHtmlMap::PrepareBrowserEngine();
    QApplication app(argc, argv);
    InstallStringTable(app, QStringLiteral("en"));
    const QDir out(QString::fromLocal8Bit(argv[1]));

    std::vector<TripRecording> recs;
    addDrive(recs, { "20260301_074000", 44, { 9, 30 }, 37.5665, 126.9780, 120.0 });
    addDrive(recs, { "20260301_121000", 28, { 15 }, 37.5100, 127.0600, 300.0 });
    addDrive(recs, { "20260301_173000", 50, { 6, 21, 40 }, 37.5000, 127.0300, 20.0 });
    for (const char* base : { "20260301_090000", "20260301_134500", "20260301_191500" }) {
        TripRecording p;
        p.kind = RecordingKind::Parking;
        p.startMs = RecordingStartTime::FromBaseName(QString::fromLatin1(base)).value();
        p.baseName = QString::fromLatin1(base);
        p.lengthMs = 10 * 60000;
        recs.push_back(std::move(p));
    }
    TripList list = TripGrouping::Group(std::move(recs));
    TripGrouping::ApplyImpacts(list, StandInImpacts());
    if (list.tripCount() != 3)
        return fail("the built day does not make three trips");
    const Trip& evening = *list.trip(3);
    const int playing = evening.recordings[evening.recordings.size() / 2 + 3];
    const TripRecording& rec = list.recordings[size_t(playing)];

    // The strip over the bottom of a 1280 x 300 part of a video frame.
    const DayTimeline day(list, QDate(2026, 3, 1));
    QImage frame(1280, 300, QImage::Format_ARGB32);
    {
        QPainter p(&frame);
        QLinearGradient sky(0, 0, 0, 300);
        sky.setColorAt(0, QColor(92, 112, 136));
        sky.setColorAt(1, QColor(58, 60, 62));
        p.fillRect(frame.rect(), sky);
        p.setPen(QColor(230, 230, 230));
        p.drawText(QRect(12, 8, 400, 20), Qt::AlignLeft, QStringLiteral("(video)"));
        DayTimelineRenderer::State state;
        state.playingMsIntoDay = rec.startMs + 25000 - day.dayStartMs();
        state.summary = TripView::SummaryText(evening);
        state.hasPreviousDay = false;
        state.hasNextDay = true;
        DayTimelineRenderer::Paint(
            p, QRect(0, 300 - DayTimeline::kStripHeight, 1280, DayTimeline::kStripHeight), day, state);
    }
    const QString timeline = out.filePath(QStringLiteral("trips-timeline.png"));
    if (!frame.save(timeline))
        return fail("cannot write the timeline picture");
    std::printf("trips-gallery: %s (%d trips, summary \"%s\")\n", qPrintable(timeline), list.tripCount(),
        qPrintable(TripView::SummaryText(evening)));

    // The map with the evening trip.
    const TripRoute route = TripRoute::Build(list, evening);
    QList<mappages::TrackPoint> track;
    for (const TripFix& f : rec.fixes) {
        if (f.locked)
            track.append(
                { int64_t(f.second) * 1000, FormatMapCoordinate(f.longitude), FormatMapCoordinate(f.latitude) });
    }
    CHtmlMap map;
    map.resize(420, 420);
    map.NavigateToDefaultPage(0);
    map.SetPageInput(QString::fromLatin1(TripMapRoute::kInputName), TripMapRoute::InputText(route));
    map.SetTrack(track);
    const mappages::TrackPoint& now = track[25];
    map.SetPosition(now.lon, now.lat);
    map.show();
    map.StartBrowser();
    if (!waitFor([&] { return map.IsDocumentLoaded(); }, 60000))
        return fail("the map page did not load");
    if (!waitFor(
            [&] {
                return pageValue(map, QStringLiteral("korvaneMapState.routePoints")).toInt() == route.pointCount()
                    && pageValue(map, QStringLiteral("korvaneMapState.trackPoints")).toInt() == track.size()
                    && !pageValue(map, QStringLiteral("korvaneMapState.marker")).isNull();
            },
            10000))
        return fail("the page did not take the route, the track and the position");
    waitFor([] { return false; }, 800);
    const QString mapOut = out.filePath(QStringLiteral("trips-map.png"));
    if (!map.grab().save(mapOut))
        return fail("cannot write the map picture");
    std::printf("trips-gallery: %s (%d route points in %zu parts, %lld track points)\n", qPrintable(mapOut),
        route.pointCount(), route.segments.size(), static_cast<long long>(track.size()));
    return 0;
}
