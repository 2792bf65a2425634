// Impact ticks on the acceleration graph: without impacts the picture is exactly the graph as before; with
// them a tick sits at the top and bottom edge of the impact's column; the graph window drops them with the
// next data file.
#include "incident/ImpactFinder.h"
#include "sensor/CDataParser.h"
#include "sensor/GraphRenderer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

GraphScene scene(const std::vector<sidecar::SensorRecord>& sensors, QSize size)
{
    GraphScene s;
    s.sensors = &sensors;
    s.loaded = true;
    s.rangeTop = 2048;
    s.rangeBottom = -2048;
    s.size = size;
    s.countryCode = 82;
    return s;
}

std::vector<sidecar::SensorRecord> withJolt()
{
    std::vector<sidecar::SensorRecord> s(300, sidecar::SensorRecord { 0, 0, 1024, 0 });
    s[150].y = -2300;
    return s;
}

} // namespace

class ImpactTicksTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void noImpactsDrawTheGraphUnchanged()
    {
        const auto samples = withJolt();
        const GraphScene plain = scene(samples, QSize(600, 80));
        GraphScene empty = plain;
        const std::vector<int> none;
        empty.impactSamples = &none;
        QCOMPARE(RenderGraph(empty, 300), RenderGraph(plain, 300));
    }

    void tickAtTheImpactsColumn()
    {
        const auto samples = withJolt();
        const std::vector<Impact> impacts = ImpactFinder().find(samples, 30000);
        QCOMPARE(impacts.size(), size_t(1));
        std::vector<int> peaks { impacts[0].peakSample };
        GraphScene s = scene(samples, QSize(600, 80));
        s.impactSamples = &peaks;
        const QImage image = RenderGraph(s, std::nullopt);
        const QImage plain = RenderGraph(scene(samples, QSize(600, 80)), std::nullopt);
        // sample 150 of 300 on 600 columns: column 300
        QCOMPARE(QColor(image.pixel(300, 1)), graphcolours::kImpact);
        QCOMPARE(QColor(image.pixel(300, 78)), graphcolours::kImpact);
        QVERIFY(QColor(plain.pixel(300, 1)) != graphcolours::kImpact);
        // elsewhere the pictures agree
        QCOMPARE(image.copy(0, 0, 280, 80), plain.copy(0, 0, 280, 80));
        QCOMPARE(image.copy(320, 0, 280, 80), plain.copy(320, 0, 280, 80));
    }

    void graphWindowDropsTicksWithTheNextFile()
    {
        CDataParser graph(nullptr, nullptr, 82);
        graph.resize(600, 80);
        QSignalSpy loaded(&graph, &CDataParser::dataFileLoaded);
        QSignalSpy duration(&graph, &CDataParser::durationChanged);
        graph.setImpactSamples({ 10, 20 });
        QCOMPARE(graph.impactSamples().size(), size_t(2));
        QTemporaryDir dir;
        graph.loadDataFile(dir.filePath(QStringLiteral("missing.dat")));
        QCOMPARE(loaded.count(), 1);
        QVERIFY(graph.impactSamples().empty());
        graph.setImpactSamples({ 5 });
        graph.reset();
        QVERIFY(graph.impactSamples().empty());
        graph.setDuration(45000);
        QCOMPARE(duration.count(), 1);
        QCOMPARE(duration.first().first().toInt(), 45000);
    }
};

QTEST_MAIN(ImpactTicksTest)
#include "ImpactTicksTest.moc"
