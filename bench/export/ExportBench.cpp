// Times the viewer's export call (EvidencePackage::write with the report page, in a running GUI process, as
// Ctrl+E makes it) against `cp` of the clip's bytes, alternating, and takes the export apart step by step.
// The export with its zip (Ctrl+Shift+E), which writes the clip's bytes twice, is timed in the same rounds and
// printed beside it; the last line is the ratio of the export as Ctrl+E makes it.
//   bench_export RECORDING AT_SECONDS ROUNDS WORK_FOLDER
// Both are timed until their bytes are on the disk: each file they wrote is synced (fsync), not the whole
// system (`sync` would also wait for what other programs on the machine have written).
// Prints the load, the per-step medians, both medians and, last, the export/cp ratio.
#include "incident/EvidencePackage.h"
#include "incident/IncidentReport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double cpuSeconds(int who)
{
    rusage u {};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

QString load()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

EvidenceResult exportOnce(const QString& recording, qint64 atMs, const QString& out, bool zip)
{
    EvidenceRequest request;
    request.videoPath = recording;
    request.atMs = atMs;
    request.outputFolder = out;
    request.zip = zip;
    // As the viewer's export call does.
    const std::future<void> fonts = incidentreport::prepareFonts();
    return EvidencePackage::write(request, incidentreport::write);
}

// fsync of each file, as `sync FILE...` does.
void syncFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
}

QStringList packageFiles(const EvidenceResult& r)
{
    QStringList paths;
    for (const QString& name : r.files)
        paths << QDir(r.folder).filePath(name);
    if (!r.zipPath.isEmpty())
        paths << r.zipPath;
    paths << r.folder << QFileInfo(r.folder).path();
    return paths;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: bench_export RECORDING AT_SECONDS ROUNDS WORK_FOLDER\n");
        return 2;
    }
    const QString recording = args[1];
    const qint64 atMs = static_cast<qint64>(args[2].toDouble() * 1000);
    const int rounds = std::max(1, args[3].toInt());
    const QDir work(args[4]);
    const QString out = work.filePath(QStringLiteral("viewer-out"));
    const QString copy = work.filePath(QStringLiteral("viewer-copy"));

    // The viewer is running when its user exports: the first export (fonts, codecs) is not timed.
    QDir(out).removeRecursively();
    const EvidenceResult first = exportOnce(recording, atMs, out, true);
    if (!first.ok) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(first.error));
        return 1;
    }
    const QString clip = work.filePath(QStringLiteral("viewer-clip"));
    QFile::remove(clip);
    QFile::copy(QDir(first.folder).filePath(first.files.filter(QStringLiteral("clip.")).value(0)), clip);
    QDir(out).removeRecursively();
    ::sync();
    std::printf("clip: %lld bytes; load before timing: %s\n", static_cast<long long>(QFileInfo(clip).size()), qPrintable(load()));

    std::vector<double> wallCp, cpuCp;
    // The rounds of one kind of export: times, and each step's times in the order the steps ran.
    struct Series
    {
        std::vector<double> wall, cpu;
        QMap<QString, std::vector<double>> steps;
        QStringList order;
    };
    Series plain, zipped;
    auto runCp = [&]() {
        QFile::remove(copy);
        ::sync();
        const double c0 = cpuSeconds(RUSAGE_CHILDREN);
        QElapsedTimer t;
        t.start();
        QProcess::execute(QStringLiteral("cp"), { clip, copy });
        syncFiles({ copy, work.path() });
        wallCp.push_back(t.nsecsElapsed() / 1e9);
        cpuCp.push_back(cpuSeconds(RUSAGE_CHILDREN) - c0);
        QFile::remove(copy);
        ::sync();
    };
    auto runExport = [&](bool zip) {
        QDir(out).removeRecursively();
        ::sync();
        const double c0 = cpuSeconds(RUSAGE_SELF);
        QElapsedTimer t;
        t.start();
        const EvidenceResult r = exportOnce(recording, atMs, out, zip);
        syncFiles(packageFiles(r));
        Series& series = zip ? zipped : plain;
        series.wall.push_back(t.nsecsElapsed() / 1e9);
        series.cpu.push_back(cpuSeconds(RUSAGE_SELF) - c0);
        for (const auto& [step, ms] : r.stepMs) {
            if (!series.steps.contains(step))
                series.order << step;
            series.steps[step].push_back(ms);
        }
        if (!r.ok || r.zipPath.isEmpty() == zip) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(r.error));
            std::exit(1);
        }
        QDir(out).removeRecursively();
        ::sync();
    };
    for (int i = 0; i < rounds; ++i) {
        if (i % 2) {
            runExport(false);
            runExport(true);
            runCp();
        } else {
            runCp();
            runExport(true);
            runExport(false);
        }
    }
    QFile::remove(clip);
    auto printSteps = [](const char* what, Series& series) {
        std::printf("%s, median per step (ms):", what);
        for (const QString& step : series.order)
            std::printf(" %s %.1f;", qPrintable(step), median(series.steps[step]));
        std::printf("\n");
    };
    printSteps("viewer export call with the zip", zipped);
    printSteps("viewer export call", plain);
    std::printf("load after timing: %s\n", qPrintable(load()));
    std::printf("cp of the clip:      median %.3f s wall, %.3f s processor\n", median(wallCp), median(cpuCp));
    std::printf("export with the zip: median %.3f s wall, %.3f s processor, ratio %.2f (the clip written twice)\n",
        median(zipped.wall), median(zipped.cpu), median(zipped.wall) / median(wallCp));
    std::printf("viewer export call:  median %.3f s wall, %.3f s processor\n", median(plain.wall), median(plain.cpu));
    std::printf("export/cp ratio: %.2f\n", median(plain.wall) / median(wallCp));
    return 0;
}
