// Opening a card of 20,000 recordings as the viewer does it: scan, All build, the list filled (and sorted) and
// its first screen painted, parking icons read for the rows shown; and scrolling through every row. Measured
// against the bare enumeration of the same folder (the entries counted, nothing converted or kept) in the
// same run (readdir, the way the scan reads the folder). Prints the load, the medians (wall and processor time)
// and, last, the ratio of the open to the bare enumeration in wall time. The process keeps freed memory for reuse
// as the viewer does (platform::KeepFreedMemoryForReuse), so each open reuses the memory of the one before.
//   bench_catalogue_scan [FOLDER]   (a temporary folder when none is given; an existing card is reused)
//   bench_catalogue_scan FOLDER --open-only N   opens the card N times and prints nothing else: for perf record

#include "catalogue/CXListCtrl.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "platform/ProcessMemory.h"
#include "sensor/SidecarDataFile.h"

#include "../../tools/demo-card/SidecarWriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include <dirent.h>

namespace {

constexpr int kRecordings = 20000;
constexpr int kRounds = 7;
// Opens before the timed rounds. The list keeps the previous card's names until it is filled again, so the first
// two opens after it take memory the process never touched (page faults, costly on a virtual machine); from the
// third on, each open reuses the memory of the one before, as the rounds are meant to measure. Their times are
// printed too.
constexpr int kOpensBeforeRounds = 3;

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

// What no scan can do without: the folder's entries, one by one, as the kernel hands them out (the scan
// reads them the same way).
size_t bareEnumeration(const QString& root)
{
    size_t count = 0;
    if (DIR* folder = ::opendir(QFile::encodeName(root).constData())) {
        while (::readdir(folder))
            ++count;
        ::closedir(folder);
    }
    return count;
}

// The same entries through std::filesystem, which builds a path per entry: the baseline of earlier runs,
// printed beside it so that old figures can be compared.
size_t filesystemEnumeration(const QString& root)
{
    size_t count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(QFile::encodeName(root).toStdString(), error), end; !error && it != end;
         it.increment(error))
        ++count;
    return count;
}

// Every recording and every span marker is a row of the All view (no marker sorts first here).
constexpr size_t kExpectedRows = kRecordings + kRecordings / 100;

double processorMilliseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One phase's wall and processor times, round by round.
struct Phase
{
    std::vector<double> wall, processor;
    std::chrono::steady_clock::time_point start;
    double processorStart = 0;

    void begin()
    {
        start = std::chrono::steady_clock::now();
        processorStart = processorMilliseconds();
    }
    void end(bool keep)
    {
        const double used = processorMilliseconds() - processorStart;
        const double elapsed
            = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (keep) {
            wall.push_back(elapsed);
            processor.push_back(used);
        }
    }
};

struct Phases
{
    Phase scan, build, fill, paint;
};

// The card opened into the list, up to its first screen on the display.
size_t openCard(const QString& root, CXListCtrl& list, RecordingCatalogue& catalogue, Phases* phases = nullptr)
{
    Phases ignored;
    Phases& p = phases ? *phases : ignored;
    p.scan.begin();
    catalogue = RecordingCatalogue();
    catalogue.ScanCatalogueFolder(root, 0);
    catalogue.setFolder(WithTrailingSeparator(root));
    p.scan.end(phases);
    p.build.begin();
    std::vector<RecordingEntry> rows
        = catalogue.BuildCategoryEntries(ListCategory::All, RecordingCatalogue::MarkerDates::WhenShown);
    p.build.end(phases);
    p.fill.begin();
    list.setCatalogue(&catalogue);
    list.fill(std::move(rows));
    p.fill.end(phases);
    p.paint.begin();
    list.repaint(); // the parking icons of the rows shown are read here
    QCoreApplication::processEvents();
    p.paint.end(phases);
    return static_cast<size_t>(list.rowCount());
}

// Page by page to the last row, each page painted: every parking icon is read on the way.
size_t scrollThrough(CXListCtrl& list)
{
    QScrollBar* bar = list.verticalScrollBar();
    size_t pages = 0;
    for (int value = 0;; value += std::max(bar->pageStep(), 1)) {
        bar->setValue(std::min(value, bar->maximum()));
        list.viewport()->repaint();
        ++pages;
        if (value >= bar->maximum())
            break;
    }
    return pages;
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

template <typename F> double milliseconds(F&& f, size_t& result, std::vector<double>* processor = nullptr)
{
    const double processorStart = processorMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    result = f();
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (processor)
        processor->push_back(processorMilliseconds() - processorStart);
    return wall;
}

void printLoad(const char* when)
{
    double load[3] = { 0, 0, 0 };
    if (::getloadavg(load, 3) == 3)
        std::printf("load %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::KeepFreedMemoryForReuse(); // as the viewer's main does before its window opens a card
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    std::printf("making a card of %d recordings in %s\n", kRecordings, qPrintable(root));
    if (!makeCard(root)) {
        std::fprintf(stderr, "bench_catalogue_scan: cannot write the card\n");
        return 1;
    }
    QWidget window;
    window.resize(320, 800);
    CXListCtrl list(&window, &window, 1);
    list.setGeometry(10, 10, 300, 780);
    window.show();
    QCoreApplication::processEvents();

    size_t entries = 0;
    size_t rows = 0;
    size_t pages = 0;
    RecordingCatalogue catalogue;
    if (argc > 3 && std::strcmp(argv[2], "--open-only") == 0) {
        const int times = std::atoi(argv[3]);
        for (int i = 0; i < times; ++i)
            openCard(root, list, catalogue);
        return 0;
    }
    bareEnumeration(root); // warm the caches for both
    std::vector<double> opensBefore;
    for (int i = 0; i < kOpensBeforeRounds; ++i)
        opensBefore.push_back(milliseconds([&] { return openCard(root, list, catalogue); }, rows));
    printLoad("before");
    std::vector<double> bare;
    std::vector<double> bareProcessor;
    std::vector<double> filesystem;
    std::vector<double> open;
    std::vector<double> openProcessor;
    std::vector<double> scroll;
    std::vector<double> parking;
    Phases phases;
    size_t ignored = 0;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(milliseconds([&] { return bareEnumeration(root); }, entries, &bareProcessor));
        filesystem.push_back(milliseconds([&] { return filesystemEnumeration(root); }, ignored));
        open.push_back(milliseconds([&] { return openCard(root, list, catalogue, &phases); }, rows, &openProcessor));
        scroll.push_back(milliseconds([&] { return scrollThrough(list); }, pages));
        parking.push_back(milliseconds([&] { return parkingReads(root); }, ignored));
        if (rows != kExpectedRows) {
            std::fprintf(
                stderr, "bench_catalogue_scan: the list shows %zu rows, the card holds %zu\n", rows, kExpectedRows);
            return 1;
        }
    }
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.entryAt(row).iconPending) {
            std::fprintf(stderr, "bench_catalogue_scan: row %d was scrolled past without its icon\n", row);
            return 1;
        }
    }
    printLoad("after");
    std::printf("opens before the rounds (the first ones touch new memory):");
    for (const double ms : opensBefore)
        std::printf(" %.2f", ms);
    std::printf(" ms\n");
    const double bareMs = median(bare);
    const double openMs = median(open);
    std::printf("bare enumeration (readdir): %zu entries, median %.2f ms (processor %.2f ms)\n", entries, bareMs,
        median(bareProcessor));
    std::printf("  through std::filesystem (the baseline of earlier runs): %.2f ms, open / that %.2f\n",
        median(filesystem), openMs / median(filesystem));
    std::printf("  scan %.2f ms, All build %.2f ms, list fill (sort) %.2f ms, first screen painted %.2f ms (medians)\n",
        median(phases.scan.wall), median(phases.build.wall), median(phases.fill.wall), median(phases.paint.wall));
    std::printf("  processor time: scan %.2f ms, All build %.2f ms, list fill (sort) %.2f ms, first screen painted %.2f "
                "ms (medians)\n",
        median(phases.scan.processor), median(phases.build.processor), median(phases.fill.processor),
        median(phases.paint.processor));
    std::printf("  scrolling through all %zu rows, %zu pages painted: %.2f ms (ratio %.2f)\n", rows, pages,
        median(scroll), median(scroll) / bareMs);
    std::printf(
        "  scan + every parking icon read at once: %.2f ms (ratio %.2f)\n", median(parking), median(parking) / bareMs);
    std::printf("scan + All build + list fill + first screen: %zu rows (as expected), median %.2f ms (processor %.2f ms, "
                "ratio %.2f)\n",
        rows, openMs, median(openProcessor), median(openProcessor) / median(bareProcessor));
    std::printf("ratio (scan + All build + list fill + first screen) / bare enumeration: %.2f\n", openMs / bareMs);
    return 0;
}
