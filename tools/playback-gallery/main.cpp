// playback-gallery OUTDIR CLIP|FOLDER: renders the brightness and contrast dialog in the three skins
// (OUTDIR/adjustment.png) and a frame of CLIP with the magnifier on (OUTDIR/magnifier.png), so the look can
// be reviewed without running the viewer.
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/CDlgAdjustment.h"
#include "playback/CPlayWnd.h"
#include "playback/Magnifier.h"
#include "playback/MediaLibrary.h"
#include "playback/PictureAdjustment.h"
#include "playback/PlayerContext.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>
#include <cstdio>
#include <memory>

namespace {

struct Skin
{
    const char* module;
    const char* table;
    int country;
    const char* label;
};

const Skin kSkins[] = { { "Resource", "ko", 82, "Resource (ko)" }, { "ResourceJ", "ja", 81, "ResourceJ (ja)" },
    { "ResourceE", "en", 61, "ResourceE (en)" } };

void pump(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

bool renderAdjustment(const QString& file)
{
    QList<QImage> shots;
    for (const Skin& skin : kSkins) {
        SkinModule::unload();
        if (!SkinModule::load(QCoreApplication::applicationDirPath(), QLatin1String(skin.module))) {
            std::fprintf(stderr, "playback-gallery: no skin module %s\n", skin.module);
            return false;
        }
        QTranslator table;
        if (!table.load(QStringLiteral(":/i18n/korvane_%1.qm").arg(QLatin1String(skin.table)))) {
            std::fprintf(stderr, "playback-gallery: no string table %s\n", skin.table);
            return false;
        }
        QCoreApplication::installTranslator(&table);
        float brightness = 1.2f, contrast = 0.8f;
        PictureAdjustment adjustment(brightness, contrast, false, {});
        CDlgAdjustment dlg(adjustment, skin.country);
        dlg.show();
        pump(50);
        shots << dlg.grab().toImage();
        dlg.hide();
        QCoreApplication::removeTranslator(&table);
    }
    const int gap = 20, label = 24;
    int width = gap, height = 0;
    for (const QImage& s : shots) {
        width += s.width() + gap;
        height = qMax(height, s.height());
    }
    QImage sheet(width, height + label + 2 * gap, QImage::Format_RGB32);
    sheet.fill(QColor(60, 60, 60));
    QPainter p(&sheet);
    p.setPen(Qt::white);
    int x = gap;
    for (int i = 0; i < shots.size(); ++i) {
        p.drawText(QRect(x, gap / 2, shots[i].width(), label), Qt::AlignLeft | Qt::AlignVCenter,
            QString::fromLatin1(kSkins[i].label));
        p.drawImage(x, gap / 2 + label, shots[i]);
        x += shots[i].width() + gap;
    }
    p.end();
    return sheet.save(file);
}

bool renderMagnifier(const QString& file, const QString& clip)
{
    viewerEnvironment().viewerTier = int(ViewerTier::High);
    if (!LoadMediaLibrary()) {
        std::fprintf(stderr, "playback-gallery: %s\n", qPrintable(MediaLibraryProblem()));
        return false;
    }
    QTemporaryDir settingsDir;
    const SettingsStore settings(settingsDir.path());
    PlayerContext context;
    if (!CreateMediaPlayer(context, settings)) {
        std::fprintf(stderr, "playback-gallery: %s\n", qPrintable(MediaLibraryProblem()));
        return false;
    }
    int width = 0, height = 0;
    PlayerContext::ProbeVideoSize(clip, clip.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive), width, height);
    CPlayWnd surface;
    surface.resize(960, 540);
    surface.setVideoSize(width, height);
    Magnifier magnifier;
    magnifier.setAllowed(true);
    surface.setMagnifier(&magnifier);
    surface.attachPlayer(context);
    surface.show();
    if (!context.OpenMedia(clip)) {
        std::fprintf(stderr, "playback-gallery: cannot open %s\n", qPrintable(clip));
        return false;
    }
    // On as the zoom button leaves it, then three wheel notches up; the region on the burnt-in time.
    context.SetMagnifier(true);
    magnifier.setOn(true);
    magnifier.rearm();
    for (int i = 0; i < 3; ++i)
        magnifier.wheel(120);
    magnifier.setRegionCentre(QPointF(0.2, 0.9));
    if (!context.PlayMedia())
        return false;
    QElapsedTimer t;
    t.start();
    while (surface.framesPainted() < 30 && t.elapsed() < 15000)
        pump(50);
    const bool ok = surface.framesPainted() > 0 && surface.grab().save(file);
    context.StopMedia();
    context.CloseMedia();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: playback-gallery OUTDIR CLIP\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!QDir().mkpath(out.path()))
        return 1;
    if (!renderAdjustment(out.filePath(QStringLiteral("adjustment.png"))))
        return 1;
    QString clip = args.at(2);
    if (QFileInfo(clip).isDir()) {
        // A card: its first recording.
        const QStringList videos
            = QDir(clip).entryList({ QStringLiteral("*.avi"), QStringLiteral("*.mp4") }, QDir::Files, QDir::Name);
        if (videos.isEmpty()) {
            std::fprintf(stderr, "playback-gallery: no recording in %s\n", qPrintable(clip));
            return 1;
        }
        clip = QDir(clip).filePath(videos.first());
    }
    if (!renderMagnifier(out.filePath(QStringLiteral("magnifier.png")), clip))
        return 1;
    std::fflush(stdout);
    // The library's threads are left running; the pictures are out.
    std::_Exit(0);
}
