// Opening a card of 20,000 recordings: scan, All build and sort, against the bare enumeration of the same
// folder in the same run. Prints the medians and, last, their ratio.
//   bench_catalogue_scan [FOLDER]   (a temporary folder when none is given; an existing card is reused)

#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "sensor/SidecarDataFile.h"

#include "../../tools/demo-card/SidecarWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int kRecordings = 20000;
constexpr int kRounds = 7;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Three kinds (3 normal : 1 event : 1 parking), a data file of a minute beside every recording (parking
// types 1 and 2 alternate), and a span marker every hundred recordings.
bool makeCard(const QString& root)
{
    if (QFile::exists(root + QStringLiteral("/.bench-card-v2")))
        return true;
    QDir().mkpath(root);
    // A minute of driving: 10 samples a second and one fix a second, as the camera writes them.
    std::vector<sidecarwriter::Sensor> sensors(600, sidecarwriter::Sensor { 12, -7, 1024, 0 });
    std::vector<sidecarwriter::Gps> gps(60, sidecarwriter::Gps { 1, 37331234, 127015678, 20 });
    const QByteArray settings(26, '\0');
    for (int i = 0; i < kRecordings; ++i) {
        const int day = 1 + i / 1440;
        const int minute = i % 1440;
        const QString base = QStringLiteral("2026%1%2_%3%4%5")
                                 .arg(1 + (day - 1) / 28, 2, 10, QLatin1Char('0'))
                                 .arg(1 + (day - 1) % 28, 2, 10, QLatin1Char('0'))
                                 .arg(minute / 60, 2, 10, QLatin1Char('0'))
                                 .arg(minute % 60, 2, 10, QLatin1Char('0'))
                                 .arg(i % 60, 2, 10, QLatin1Char('0'));
        const char* prefix = i % 5 == 0 ? "evt_" : i % 5 == 1 ? "pmr_" : "rec_";
        const QString stem = root + QLatin1Char('/') + QString::fromLatin1(prefix) + base;
        const uint8_t parkingType = (i / 5) % 2 == 0 ? 1 : 2;
        if (!writeFile(stem + QStringLiteral(".avi"), QByteArray())
            || !writeFile(
                stem + QStringLiteral(".dat"), sidecarwriter::buildDataFile(sensors, gps, settings, parkingType)))
            return false;
        if (i % 100 == 50 && !writeFile(stem + QStringLiteral("p.vlm"), base.toLatin1()))
            return false;
    }
    return writeFile(root + QStringLiteral("/.bench-card-v2"), QByteArray());
}

size_t bareEnumeration(const QString& root)
{
    QStringList names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(QFile::encodeName(root).toStdString(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().native();
        names.append(QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))));
    }
    return static_cast<size_t>(names.size());
}

struct Phases
{
    std::vector<double> scan, build, sort;
};

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

constexpr size_t kFirstScreenRows = 40;

size_t openCard(const QString& root, Phases* phases = nullptr)
{
    auto start = std::chrono::steady_clock::now();
    RecordingCatalogue catalogue;
    catalogue.ScanCatalogueFolder(root, 0);
    catalogue.setFolder(root);
    const double scan = since(start);
    start = std::chrono::steady_clock::now();
    std::vector<RecordingEntry> rows = catalogue.BuildCategoryEntries(ListCategory::All);
    const double build = since(start);
    start = std::chrono::steady_clock::now();
    SortEntriesByBaseName(rows);
    // What the list shows first: a screenful of rows, whose parking icons are read now; the other rows'
    // icons are read as they scroll into view.
    for (size_t i = 0; i < std::min<size_t>(rows.size(), kFirstScreenRows); ++i)
        catalogue.ResolveEntryIcon(rows[i]);
    if (phases) {
        phases->scan.push_back(scan);
        phases->build.push_back(build);
        phases->sort.push_back(since(start));
    }
    return rows.size();
}

// The part of the build that only the file system can speed up: one data file opened per parking recording.
size_t parkingReads(const QString& root)
{
    RecordingCatalogue catalogue;
    catalogue.ScanCatalogueFolder(root, 0);
    size_t ones = 0;
    for (const QString& name : catalogue.names(RecordingKind::Parking))
        ones += ReadParkingType(root + QLatin1Char('/') + DataFilePath(name, catalogue.videoExtension())) == 1;
    return ones;
}

template <typename F> double milliseconds(F&& f, size_t& result)
{
    const auto start = std::chrono::steady_clock::now();
    result = f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    std::printf("making a card of %d recordings in %s\n", kRecordings, qPrintable(root));
    if (!makeCard(root)) {
        std::fprintf(stderr, "bench_catalogue_scan: cannot write the card\n");
        return 1;
    }
    size_t entries = 0;
    size_t rows = 0;
    bareEnumeration(root); // warm the caches for both
    openCard(root);
    std::vector<double> bare;
    std::vector<double> open;
    std::vector<double> parking;
    Phases phases;
    size_t ignored = 0;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(milliseconds([&] { return bareEnumeration(root); }, entries));
        open.push_back(milliseconds([&] { return openCard(root, &phases); }, rows));
        parking.push_back(milliseconds([&] { return parkingReads(root); }, ignored));
    }
    const double bareMs = median(bare);
    const double openMs = median(open);
    std::printf("bare enumeration: %zu entries, median %.2f ms\n", entries, bareMs);
    std::printf("  scan %.2f ms, All build %.2f ms, sort and first screen of icons %.2f ms (medians)\n", median(phases.scan),
        median(phases.build), median(phases.sort));
    std::printf("  scan + every parking icon read at once (what scrolling through the whole list costs): %.2f ms "
                "(ratio %.2f)\n",
        median(parking), median(parking) / bareMs);
    std::printf("scan + All build + sort + first screen of icons: %zu rows, median %.2f ms\n", rows, openMs);
    std::printf("ratio (scan + All build + sort + first screen of icons) / bare enumeration: %.2f\n", openMs / bareMs);
    return 0;
}
