// Grouping a card of 20,000 one-minute recordings (a fix every second, 1.2 million fixes) into trips with
// their distances, speeds and event counts, as `korvane-cli trips` and the viewer's timeline do once the
// data files are read. Measured against one bare pass over the same fixes (their latitudes summed: the
// least any figure from them costs) in the same run. Prints the medians and, last, the ratio.
// With --card, first also reads such a card from disk (a data file of a minute beside every recording, made
// once in FOLDER or a temporary folder) into trips, against the catalogue's own scan of the same folder.
//   bench_trip_grouping [--card [FOLDER]]

#include "catalogue/RecordingCatalogue.h"
#include "trips/RecordingStartTime.h"
#include "trips/TripCardReader.h"
#include "trips/TripGrouping.h"

#include "../../tools/demo-card/SidecarWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QDateTime>

namespace {

constexpr int kRecordings = 20000;
constexpr int kRounds = 9;

std::vector<TripRecording> makeCard()
{
    std::vector<TripRecording> recs;
    recs.reserve(kRecordings);
    int64_t start = RecordingStartTime::FromBaseName(QStringLiteral("20260101_000000")).value();
    double lat = 37.0;
    for (int i = 0; i < kRecordings; ++i) {
        TripRecording r;
        // 40-minute drives (every fifth file an event), a parking file and 17 minutes' pause between them.
        const int m = i % 41;
        r.kind = m == 40 ? RecordingKind::Parking : m % 5 == 4 ? RecordingKind::Event : RecordingKind::Normal;
        r.startMs = start;
        r.baseName = RecordingStartTime::IsoText(start);
        r.lengthMs = 60000;
        r.hasData = true;
        r.fixes.resize(60);
        for (int k = 0; k < 60; ++k) {
            TripFix& f = r.fixes[static_cast<size_t>(k)];
            f.second = k;
            // A GPS gap now and then and a stray fix, so the filter's other paths run too.
            f.locked = (k + i) % 97 != 0;
            f.latitude = lat + ((k + i) % 211 == 0 ? 0.5 : 0.0);
            f.longitude = 127.0;
            f.speedKmh = 72;
            lat += 20.0 / 111195.0;
        }
        start += m == 40 ? 18 * 60000 : 60000;
        recs.push_back(std::move(r));
    }
    // The reader hands them over in name order per kind, not in time order.
    std::stable_partition(
        recs.begin(), recs.end(), [](const TripRecording& r) { return r.kind != RecordingKind::Event; });
    return recs;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The same card on disk: empty video files (the lengths come from the data files) and a data file each.
bool makeDiskCard(const QString& root, const std::vector<TripRecording>& card)
{
    if (QFile::exists(root + QStringLiteral("/.bench-trips-card-v1")))
        return true;
    QDir().mkpath(root);
    const QByteArray settings(26, '\0');
    for (const TripRecording& r : card) {
        std::vector<sidecarwriter::Gps> gps;
        for (const TripFix& f : r.fixes) {
            gps.push_back(sidecarwriter::Gps { f.locked ? 1 : 0, sidecarwriter::degreesToNmeaField(f.latitude),
                sidecarwriter::degreesToNmeaField(f.longitude), uint32_t(f.speedKmh / 1.852) });
        }
        const QString base
            = QDateTime::fromMSecsSinceEpoch(r.startMs, Qt::UTC).toString(QStringLiteral("yyyyMMdd_HHmmss"));
        const char* prefix = r.kind == RecordingKind::Event ? "evt_"
            : r.kind == RecordingKind::Parking              ? "pmr_"
                                                            : "rec_";
        const QString stem = root + QLatin1Char('/') + QString::fromLatin1(prefix) + base;
        if (!writeFile(stem + QStringLiteral(".avi"), QByteArray())
            || !writeFile(stem + QStringLiteral(".dat"),
                sidecarwriter::buildDataFile(std::vector<sidecarwriter::Sensor>(600), gps, settings, 2)))
            return false;
    }
    return writeFile(root + QStringLiteral("/.bench-trips-card-v1"), QByteArray());
}

template <typename F> double medianMs(F&& f, int rounds = kRounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<TripRecording> card = makeCard();
    if (argc >= 2 && std::string(argv[1]) == "--card") {
        QTemporaryDir temp;
        const QString root = argc >= 3 ? QString::fromLocal8Bit(argv[2]) : temp.path();
        if (!makeDiskCard(root, card)) {
            std::fprintf(stderr, "bench_trip_grouping: cannot write the card in %s\n", qPrintable(root));
            return 1;
        }
        int read = 0;
        const double scan = medianMs(
            [&] {
                RecordingCatalogue c;
                c.ScanCatalogueFolder(root, 0);
                read = c.names(RecordingKind::Normal).size();
            },
            3);
        const double trips = medianMs(
            [&] {
                TripList list;
                TripCardReader::Read(root, 0, TripGrouping::Options(), list);
                read = list.tripCount();
            },
            3);
        std::printf("card on disk: catalogue scan %.1f ms, read into %d trips %.1f ms (ratio %.1f)\n", scan, read,
            trips, trips / scan);
    }
    volatile double sink = 0;
    int trips = 0;
    const double bare = medianMs([&] {
        double s = 0;
        for (const TripRecording& r : card) {
            for (const TripFix& f : r.fixes)
                s += f.latitude;
        }
        sink = s;
    });
    const double group = medianMs([&] {
        std::vector<TripRecording> copy = card;
        const TripList list = TripGrouping::Group(std::move(copy));
        trips = list.tripCount();
    });
    const double copyOnly = medianMs([&] {
        std::vector<TripRecording> copy = card;
        sink = static_cast<double>(copy.size());
    });
    std::printf("%d recordings, %d trips\n", kRecordings, trips);
    std::printf("bare pass over the fixes: %.2f ms\n", bare);
    std::printf("copy of the recordings (included in the grouping): %.2f ms\n", copyOnly);
    std::printf("grouping with figures: %.2f ms\n", group);
    std::printf("ratio grouping / bare pass (goal: grouping well under 1000 ms): %.1f\n", group / bare);
    return 0;
}
