// A long session in one viewer window, with the map shown: recordings opened one after another, OPENS times,
// the ways a user does it in turn (Next, the end of a recording opening the next one, a jump to another row),
// each open waiting for a painted frame of the recording. Prints the process's resident memory, open
// descriptors (/proc/self/fd) and threads (/proc/self/task) after 50 opens and at the end, and the growth
// between them (goal: at most 5 MB, no descriptor or thread growth); the map's web engine runs in processes of
// its own, whose resident memory is printed beside ours.
// With --scroll CARD it opens CARD (a card of many recordings) instead and measures scrolling the list one
// page at a time: the scroll and the repaint of the rows shown (goal: at most 16 ms a page).
//   bench_soak CARD [OPENS]
//   bench_soak --scroll CARD
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "catalogue/CXListCtrl.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/MainWindowIds.h"
#include "map/MapSchemeHandler.h"
#include "platform/ProcessMemory.h"
#include "platform/RemovableVolumes.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerController.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Usage
{
    double rssMiB = 0;
    double childrenRssMiB = 0;
    int descriptors = 0;
    int threads = 0;
};

double rssOf(const QString& statusPath)
{
    QFile f(statusPath);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Our process, and the processes it started (the web engine's), by their parent.
Usage usage()
{
    Usage u;
    u.rssMiB = rssOf(QStringLiteral("/proc/self/status"));
    u.descriptors = int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
    u.threads = int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::NoDotAndDotDot | QDir::Dirs).size());
    const QString self = QString::number(QCoreApplication::applicationPid());
    std::vector<QString> parents { self };
    // Two levels: the engine's zygote starts the renderers.
    for (int level = 0; level < 3; ++level) {
        std::vector<QString> next;
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!pid.front().isDigit())
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && std::find(parents.begin(), parents.end(), QString::fromLatin1(fields[1])) != parents.end()) {
                u.childrenRssMiB += rssOf(QStringLiteral("/proc/%1/status").arg(pid));
                next.push_back(pid);
            }
        }
        parents = next;
        if (parents.empty())
            break;
    }
    return u;
}

void print(const char* when, const Usage& u)
{
    std::printf("%s: resident %.1f MiB, descriptors %d, threads %d; web engine processes resident %.1f MiB\n", when,
        u.rssMiB, u.descriptors, u.threads, u.childrenRssMiB);
    std::fflush(stdout);
}

// Waits until the window has opened another recording than `before` and painted a frame of it.
bool waitForOpen(CKorvanePCPlayerDlg& w, const QString& before)
{
    QElapsedTimer clock;
    clock.start();
    uint64_t paintedAtOpen = 0;
    bool opened = false;
    while (clock.elapsed() < 15000) {
        QTest::qWait(5);
        if (!opened && w.currentFileName() != before && !w.currentFileName().isEmpty()) {
            opened = true;
            paintedAtOpen = w.playWnd()->framesPainted();
        }
        if (opened && w.isPlaying() && w.playWnd()->framesPainted() > paintedAtOpen)
            return true;
    }
    return false;
}

int soak(const QString& card, int opens)
{
    FixedRemovableVolumes noVolumes { QStringList() };
    CKorvanePCPlayerDlg w(card);
    MainWindowStartup start;
    start.volumes = &noVolumes;
    start.checkPcCapability = [] { };
    start.chooseViewerTier = [](int tier) { return tier; };
    w.InitDialog(start);
    w.show();
    if (!w.player().hasPlayer()) {
        std::fprintf(stderr, "bench_soak: the media library did not load\n");
        return 1;
    }
    const int rows = w.rowCount();
    std::printf("card: %s, %d rows; map shown\n", qPrintable(card), rows);
    if (rows < 8) {
        std::fprintf(stderr, "bench_soak: a card of at least 8 recordings is needed\n");
        return 1;
    }
    if (!waitForOpen(w, QString())) {
        std::fprintf(stderr, "bench_soak: row 0 did not play\n");
        return 1;
    }
    std::mt19937 random(22);
    Usage at50;
    int failed = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= opens; ++i) {
        const int from = w.currentListPosition();
        const QString before = w.currentFileName();
        QTest::qWait(mainwindow::kInputLockMs + 20); // the last open's input lock
        // Near the end of the list Next and the end of a recording would stop: a jump to the top instead.
        const bool nearEnd = from >= rows - 3;
        const int way = nearEnd ? 2 : i % 3;
        int to = -1;
        if (way == 0) {
            w.Next();
        } else if (way == 1) {
            w.controller().SeekTo(std::max<int64_t>(0, w.player().length() - 400));
        } else {
            do
                to = nearEnd ? 0 : int(random() % unsigned(rows));
            while (to == from && rows > 1);
            w.OpenListRow(to);
        }
        if (!waitForOpen(w, before)) {
            ++failed;
            std::fprintf(stderr, "open %d (%s from row %d%s) showed no frame\n", i,
                way == 0 ? "Next" : way == 1 ? "end of media" : "jump", from,
                way == 2 ? qPrintable(QStringLiteral(" to row %1").arg(to)) : "");
            w.OpenListRow(from == 0 ? 2 : 0);
            waitForOpen(w, w.currentFileName());
        }
        if (i == 50) {
            at50 = usage();
            print("after 50 opens", at50);
        }
        if (i % 100 == 0) {
            std::printf("  %d opens, %.0f s\n", i, double(clock.elapsed()) / 1000.0);
            std::fflush(stdout);
        }
    }
    const Usage end = usage();
    print(qPrintable(QStringLiteral("after %1 opens").arg(opens)), end);
    std::printf("opens that showed no frame: %d of %d\n", failed, opens);
    std::printf("growth from 50 to %d opens: resident %+.1f MiB (goal at most 5), descriptors %+d, threads %+d, web "
                "engine %+.1f MiB\n",
        opens, end.rssMiB - at50.rssMiB, end.descriptors - at50.descriptors, end.threads - at50.threads,
        end.childrenRssMiB - at50.childrenRssMiB);
    return failed == 0 ? 0 : 1;
}

int scroll(const QString& card)
{
    FixedRemovableVolumes noVolumes { QStringList() };
    QElapsedTimer open;
    open.start();
    CKorvanePCPlayerDlg w(card);
    MainWindowStartup start;
    start.volumes = &noVolumes;
    start.checkPcCapability = [] { };
    start.chooseViewerTier = [](int tier) { return tier; };
    w.InitDialog(start);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        std::fprintf(stderr, "bench_soak: the window did not show\n");
        return 1;
    }
    const double openMs = double(open.elapsed());
    QTest::qWait(1000); // row 0 starts playing
    CXListCtrl* list = w.rows();
    QScrollBar* bar = list->verticalScrollBar();
    std::vector<double> pages;
    QElapsedTimer clock;
    for (int i = 0; i < 200 && bar->value() < bar->maximum(); ++i) {
        clock.start();
        bar->setValue(bar->value() + bar->pageStep());
        list->viewport()->repaint();
        pages.push_back(double(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    for (int i = 0; i < 200 && bar->value() > 0; ++i) {
        clock.start();
        bar->setValue(bar->value() - bar->pageStep());
        list->viewport()->repaint();
        pages.push_back(double(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    std::sort(pages.begin(), pages.end());
    if (pages.empty()) {
        std::fprintf(stderr, "bench_soak: the list did not scroll\n");
        return 1;
    }
    std::printf("card: %s, %d rows; window shown %.0f ms after it was made\n", qPrintable(card), w.rowCount(), openMs);
    std::printf("page scrolls: %zu, median %.2f ms, 90th percentile %.2f ms, slowest %.2f ms\n", pages.size(),
        pages[pages.size() / 2], pages[pages.size() * 9 / 10], pages.back());
    std::printf("slowest page scroll against the 16 ms of one frame: %.3f\n", pages.back() / 16.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The map's web engine cannot start its sandbox for root; it draws in software without a graphics card.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    qputenv("QT_QUICK_BACKEND", "software");
    MapSchemeHandler::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::KeepFreedMemoryForReuse(); // as the viewer's main does: its memory is what is measured
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool scrolling = args.removeAll(QStringLiteral("--scroll")) > 0;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_soak CARD [OPENS] | bench_soak --scroll CARD\n");
        return 2;
    }
    QTemporaryDir settings;
    qputenv("KORVANE_SETTINGS_DIR", settings.path().toLocal8Bit());
    if (!SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")))
        return 1;
    InstallStringTable(app, QStringLiteral("en"));
    viewerEnvironment().firstInstance = true;
    const int result = scrolling ? scroll(args[1]) : soak(args[1], args.size() > 2 ? args[2].toInt() : 500);
    std::fflush(stdout);
    std::_Exit(result);
}
