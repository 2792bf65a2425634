// Plays one clip to its end in one of two ways and reports the process's CPU time from the start of playing
// to its end (the same interval as the wall time) and the frames shown:
//   --mode surface  frames through the video callbacks into CPlayWnd, sized 1280 x 720 (the viewer's path);
//                   with --magnifier the magnifier is on at 2x from the start (full-size frames)
//   --mode xwindow  libvlc drawing into its own X11 window of the same size with its xcb_x11 output
// run-playback-bench.sh alternates the modes on Xvfb and prints the ratios of the medians.
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "playback/Magnifier.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <sys/resource.h>
#include <vlc/vlc.h>

namespace {

std::atomic<bool> g_ended { false };

void onEnd(const libvlc_event_t*, void*)
{
    g_ended = true;
}

double processCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// libvlc's own counters, for comparison with ours.
void libraryStats(libvlc_media_t* media, int& displayed, int& lost)
{
    displayed = lost = -1;
    auto getStats = reinterpret_cast<int (*)(libvlc_media_t*, libvlc_media_stats_t*)>(
        mediaLibrary().module->resolve("libvlc_media_get_stats"));
    libvlc_media_stats_t stats {};
    if (getStats && getStats(media, &stats)) {
        displayed = stats.i_displayed_pictures;
        lost = stats.i_lost_pictures;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // libvlc's X11 output talks to the display from its own threads.
    QLibrary x11(QStringLiteral("X11"), 6);
    if (auto initThreads = reinterpret_cast<int (*)()>(x11.resolve("XInitThreads")))
        initThreads();

    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({ "mode", "surface or xwindow", "mode", "surface" });
    parser.addOption({ "clip", "clip to play", "path" });
    parser.addOption({ "width", "video width", "n", "1920" });
    parser.addOption({ "height", "video height", "n", "1080" });
    parser.addOption({ "screenshot", "save a grab of the surface half-way", "path" });
    parser.addOption({ "magnifier", "surface mode: the magnifier on at 2x" });
    parser.process(app);
    const QString mode = parser.value("mode");
    const QString clip = parser.value("clip");
    const QSize video(parser.value("width").toInt(), parser.value("height").toInt());
    const QSize display(1280, 720);

    viewerEnvironment().viewerTier = int(ViewerTier::High);
    if (!LoadMediaLibrary()) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(MediaLibraryProblem()));
        return 1;
    }
    const MediaLibraryEntries& lib = mediaLibrary();
    QTemporaryDir settingsDir;
    const SettingsStore settings(settingsDir.path());

    QElapsedTimer wall;
    double cpuAtStart = 0;
    double seconds = 0, cpu = 0;
    // Both clocks stop together, when the end has been seen.
    const auto stopClocks = [&] {
        seconds = double(wall.elapsed()) / 1000.0;
        cpu = processCpuSeconds() - cpuAtStart;
    };
    uint64_t painted = 0, delivered = 0, dropped = 0;
    int displayed = -1, lost = -1;

    if (mode == QLatin1String("surface")) {
        PlayerContext context;
        if (!CreateMediaPlayer(context, settings)) {
            std::fprintf(stderr, "bench: %s\n", qPrintable(MediaLibraryProblem()));
            return 1;
        }
        CPlayWnd surface;
        surface.resize(display);
        surface.setVideoSize(video.width(), video.height());
        surface.attachPlayer(context);
        Magnifier magnifier;
        magnifier.setAllowed(true);
        surface.setMagnifier(&magnifier);
        surface.show();
        if (!context.OpenMedia(clip))
            return 1;
        if (parser.isSet("magnifier")) {
            context.SetMagnifier(true);
            magnifier.setOn(true);
            magnifier.setGaugeOffset(Magnifier::kArmedOffset); // 2x
            magnifier.setRegionCentre(QPointF(0.4, 0.6));
        }
        auto attach = lib.get<mediafn::EventAttach>(MediaEntry::EventAttach);
        attach(context.eventManager(), libvlc_MediaPlayerEndReached, onEnd, nullptr);
        cpuAtStart = processCpuSeconds();
        wall.start();
        if (!context.PlayMedia())
            return 1;
        if (parser.isSet("screenshot")) {
            QTimer::singleShot(5000, [&] { surface.grab().save(parser.value("screenshot")); });
        }
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (g_ended)
                app.quit();
        });
        poll.start(50);
        app.exec();
        stopClocks();
        libraryStats(reinterpret_cast<libvlc_media_t*>(context.media()), displayed, lost);
        painted = surface.framesPainted();
        delivered = context.videoSink().framesDelivered();
        dropped = context.videoSink().framesDropped();
        auto detach = lib.get<mediafn::EventDetach>(MediaEntry::EventDetach);
        detach(context.eventManager(), libvlc_MediaPlayerEndReached, onEnd, nullptr);
        context.StopMedia();
    } else {
        // The same High-tier options; OpenGL outputs off so the X11 output is the one chosen, and the picture
        // scaled to the window like ours ("--no-autoscale" would show a 1:1 crop of the middle instead,
        // which skips the scaling altogether).
        QList<QByteArray> options = MediaOptionList(MediaOptionSet::High, BuildMediaOptions(settings));
        options << "--gl=none"
                << "--gles2=none"
                << "--autoscale";
        std::vector<const char*> args;
        for (const QByteArray& o : options)
            args.push_back(o.constData());
        libvlc_instance_t* instance = lib.get<mediafn::New>(MediaEntry::New)(int(args.size()), args.data());
        libvlc_media_player_t* player = lib.get<mediafn::PlayerNew>(MediaEntry::PlayerNew)(instance);
        QWidget window;
        window.setAttribute(Qt::WA_NativeWindow);
        window.resize(display);
        window.show();
        QApplication::processEvents();
        lib.get<mediafn::PlayerSetXWindow>(MediaEntry::PlayerSetXWindow)(player, uint32_t(window.winId()));
        libvlc_media_t* media
            = lib.get<mediafn::MediaNewPath>(MediaEntry::MediaNewPath)(instance, clip.toUtf8().constData());
        lib.get<mediafn::PlayerSetMedia>(MediaEntry::PlayerSetMedia)(player, media);
        libvlc_event_manager_t* events = lib.get<mediafn::PlayerEventManager>(MediaEntry::PlayerEventManager)(player);
        lib.get<mediafn::EventAttach>(MediaEntry::EventAttach)(events, libvlc_MediaPlayerEndReached, onEnd, nullptr);
        cpuAtStart = processCpuSeconds();
        wall.start();
        lib.get<mediafn::PlayerPlay>(MediaEntry::PlayerPlay)(player);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (g_ended)
                app.quit();
        });
        poll.start(50);
        app.exec();
        stopClocks();
        libraryStats(media, displayed, lost);
        lib.get<mediafn::EventDetach>(MediaEntry::EventDetach)(events, libvlc_MediaPlayerEndReached, onEnd, nullptr);
        lib.get<mediafn::PlayerAction>(MediaEntry::PlayerStop)(player);
    }

    const QString label = mode + (parser.isSet("magnifier") ? QStringLiteral("+magnifier") : QString());
    std::printf("mode=%s cpu=%.3f wall=%.3f painted=%llu delivered=%llu dropped=%llu vlc_displayed=%d vlc_lost=%d\n",
        qPrintable(label), cpu, seconds, (unsigned long long)painted, (unsigned long long)delivered,
        (unsigned long long)dropped, displayed, lost);
    std::fflush(stdout);
    // Leave without tearing the library down under running threads; the numbers are out.
    std::_Exit(0);
}
