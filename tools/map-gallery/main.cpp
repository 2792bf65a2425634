// map-gallery draws the map view as the viewer shows it, with the network closed, for the demo card's drive:
// the plain grid with its scale, the whole track and the marker half-way along.
//
//   map-gallery KORVANE_CLI CARD_FOLDER OUT.png
//
// The track comes from the card's first normal recording's data file, read through korvane-cli, so this
// tool sees the same "%lf" texts the viewer hands to the map.
#include "MapPageProbe.h"
#include "app/StringTables.h"
#include "map/CHtmlMap.h"
#include "map/MapNetworkGate.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <cstdio>
#include <unistd.h>

namespace {

QJsonObject runDat(const QString& cli, const QString& file, const QList<qint64>& times)
{
    QStringList args = { QStringLiteral("dat"), file };
    for (qint64 t : times)
        args << QStringLiteral("--at") << QString::number(t);
    QProcess p;
    p.start(cli, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

int fail(const char* what)
{
    std::fprintf(stderr, "map-gallery: %s\n", what);
    return 1;
}

} // namespace

using mappageprobe::pageValue;
using mappageprobe::waitFor;

int main(int argc, char** argv)
{
    if (argc != 4)
        return fail("usage: map-gallery KORVANE_CLI CARD_FOLDER OUT.png");
    // The engine cannot start its sandbox for root; anyone else keeps it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    MapNetworkGate::SetNetworkAllowed(false);
    CHtmlMap::PrepareBrowserEngine();
    QApplication app(argc, argv);
    const QString cli = QString::fromLocal8Bit(argv[1]);
    const QDir card(QString::fromLocal8Bit(argv[2]));
    const QString out = QString::fromLocal8Bit(argv[3]);

    const QStringList dats = card.entryList({ QStringLiteral("rec_*.dat") }, QDir::Files, QDir::Name);
    if (dats.isEmpty())
        return fail("no normal recording with a data file on the card");
    const QString dat = card.filePath(dats.first());
    const int seconds = runDat(cli, dat, {}).value(QStringLiteral("gpsCount")).toInt();
    QList<qint64> times;
    for (int s = 0; s < seconds; ++s)
        times << qint64(s) * 1000;
    QList<mappages::TrackPoint> track;
    for (const QJsonValue& v : runDat(cli, dat, times).value(QStringLiteral("at")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("valid")).toBool())
            track.append({ qint64(o.value(QStringLiteral("t")).toDouble()), o.value(QStringLiteral("lon")).toString(),
                o.value(QStringLiteral("lat")).toString() });
    }
    if (track.size() < 2)
        return fail("the data file holds no drive");

    InstallStringTable(app, QStringLiteral("ko"));
    CHtmlMap map;
    map.resize(300, 300);
    map.NavigateToDefaultPage(82);
    map.SetTrack(track);
    const mappages::TrackPoint& mid = track[track.size() / 2];
    map.SetPosition(mid.lon, mid.lat);
    map.show();
    map.StartBrowser();
    if (!waitFor([&] { return map.IsDocumentLoaded(); }, 60000))
        return fail("the map page did not load");
    if (!waitFor(
            [&] {
                return pageValue(map, QStringLiteral("korvaneMapState.trackPoints")).toInt() == track.size()
                    && !pageValue(map, QStringLiteral("korvaneMapState.marker")).isNull();
            },
            10000))
        return fail("the page did not take the track and the position");
    waitFor([] { return false; }, 800); // the last frame reaches the view
    if (!map.grab().save(out))
        return fail("cannot write the picture");
    std::printf("map-gallery: %s (%lld track points, marker at %s, %s)\n", qPrintable(out),
        static_cast<long long>(track.size()), qPrintable(mid.lon), qPrintable(mid.lat));
    return 0;
}
