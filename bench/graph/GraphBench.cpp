// The graph with a data file of one hour (10 samples a second) against one of one minute: (a) the load,
// (b) the first full paint (the curves drawn into their picture and shown), (c) one position update (the
// cursor moved and its columns repainted), at 1264 x 25 and 1264 x 75. The update must not grow with the
// recording: the last line is the hour / minute ratio of (c). SECONDS gives another length than the hour to the
// long file (bench/soak runs it with two hours, 7200).
//   bench_graph [SECONDS]

#include "sensor/CDataParser.h"
#include "sensor/SensorDataTables.h"

#include "../../tools/demo-card/SidecarWriter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A drive: slow swaying on two axes, gravity on the third, a jolt every five minutes.
QByteArray drive(int seconds)
{
    std::vector<sidecarwriter::Sensor> sensors;
    sensors.reserve(static_cast<size_t>(seconds) * 10);
    for (int i = 0; i < seconds * 10; ++i) {
        const double t = i / 10.0;
        sidecarwriter::Sensor s;
        s.x = static_cast<int32_t>(180 * std::sin(t / 7.0) + 40 * std::sin(t * 3.1));
        s.y = static_cast<int32_t>(120 * std::cos(t / 5.0) + 30 * std::sin(t * 2.3));
        s.z = static_cast<int32_t>(1024 + 60 * std::sin(t * 1.7));
        s.mark = (i % 3000) < 6 && i >= 3000 ? 1 : 0;
        sensors.push_back(s);
    }
    std::vector<sidecarwriter::Gps> gps(
        static_cast<size_t>(seconds), sidecarwriter::Gps { 1, 37331234, 127015678, 30 });
    return sidecarwriter::buildDataFile(sensors, gps, QByteArray(26, '\0'), 0);
}

struct Figures
{
    double loadMs = 0;
    double firstPaintMs = 0;
    double updateUs = 0;
};

double medianLoadMs(const QString& path, int seconds, int country)
{
    std::vector<double> loads;
    for (int round = 0; round < 7; ++round) {
        SensorDataTables tables(country);
        const auto start = Clock::now();
        if (!tables.load(path) || tables.sensorCount() != seconds * 10) {
            std::fprintf(stderr, "bench_graph: %s did not load whole\n", qPrintable(path));
            std::exit(1);
        }
        loads.push_back(msSince(start));
    }
    return median(loads);
}

// One graph window per recording, side by side in the same run, so both meet the same machine load.
struct Subject
{
    QString path;
    int seconds;
    CDataParser* graph;
    std::vector<double> paints;
    std::vector<double> updates;
};

constexpr int kUpdates = 2000;

void firstPaint(Subject& s)
{
    const int durationMs = s.seconds * 1000;
    s.graph->loadDataFile(s.path); // (a) measured apart
    s.graph->setHasData(true);
    s.graph->setDuration(durationMs);
    s.graph->setPosition(durationMs / 3);
    // The load only asked for a repaint; this one draws the curves into their picture and shows it.
    const auto start = Clock::now();
    s.graph->repaint();
    s.paints.push_back(msSince(start));
    QCoreApplication::processEvents();
}

// Positions as the player reports them across the whole recording, each followed by the repaint it asks for.
void positionUpdates(Subject& s)
{
    const qint64 durationMs = s.seconds * 1000LL;
    const auto start = Clock::now();
    for (int i = 0; i < kUpdates; ++i) {
        s.graph->setPosition(static_cast<int>(durationMs * i / kUpdates));
        QCoreApplication::processEvents();
    }
    s.updates.push_back(msSince(start) * 1000.0 / kUpdates);
    if (s.graph->cursorX() != std::optional<int>(s.graph->plotWidth() * (kUpdates - 1) / kUpdates)) {
        std::fprintf(stderr, "bench_graph: the cursor did not follow the positions\n");
        std::exit(1);
    }
}

std::pair<Figures, Figures> measure(const QString& hour, int hourSeconds, const QString& minute, int height, int country)
{
    QWidget window;
    window.resize(1264, 2 * height);
    Subject subjects[2] = { { hour, hourSeconds, new CDataParser(&window, &window, country), {}, {} },
        { minute, 60, new CDataParser(&window, &window, country), {}, {} } };
    subjects[0].graph->setGeometry(0, 0, 1264, height);
    subjects[1].graph->setGeometry(0, height, 1264, height);
    window.show();
    QCoreApplication::processEvents();
    for (int round = 0; round < 7; ++round) {
        for (Subject& s : subjects)
            firstPaint(s);
    }
    for (int round = 0; round < 9; ++round) {
        for (Subject& s : subjects)
            positionUpdates(s);
    }
    Figures f[2];
    for (int i = 0; i < 2; ++i) {
        f[i].loadMs = medianLoadMs(subjects[i].path, subjects[i].seconds, country);
        f[i].firstPaintMs = median(subjects[i].paints);
        f[i].updateUs = median(subjects[i].updates);
    }
    return { f[0], f[1] };
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int longSeconds = argc > 1 ? std::max(60, std::atoi(argv[1])) : 3600;
    QTemporaryDir dir;
    const QString hour = dir.filePath(QStringLiteral("hour.dat"));
    const QString minute = dir.filePath(QStringLiteral("minute.dat"));
    for (const auto& [path, seconds] : { std::pair { hour, longSeconds }, std::pair { minute, 60 } }) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(drive(seconds)) < 0) {
            std::fprintf(stderr, "bench_graph: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    double worstRatio = 0;
    for (const auto& [height, country] : { std::pair { 25, 1 }, std::pair { 75, 81 } }) {
        const auto [h, m] = measure(hour, longSeconds, minute, height, country);
        std::printf("1264 x %d (country %d):\n", height, country);
        std::printf("  %d s: (a) load %.2f ms, (b) first paint %.2f ms, (c) position update %.1f us\n", longSeconds,
            h.loadMs, h.firstPaintMs, h.updateUs);
        std::printf("  minute: (a) load %.2f ms, (b) first paint %.2f ms, (c) position update %.1f us\n", m.loadMs,
            m.firstPaintMs, m.updateUs);
        std::printf("  (c) / (b): hour %.4f, minute %.4f\n", h.updateUs / 1000.0 / h.firstPaintMs,
            m.updateUs / 1000.0 / m.firstPaintMs);
        const double ratio = h.updateUs / m.updateUs;
        std::printf("  (c) hour / minute: %.2f\n", ratio);
        worstRatio = std::max(worstRatio, ratio);
    }
    std::printf("ratio (c) position update, %s / minute (worse of the two sizes; goal <= 1.2): %.2f\n",
        longSeconds == 3600 ? "hour" : qPrintable(QStringLiteral("%1 s").arg(longSeconds)), worstRatio);
    return 0;
}
