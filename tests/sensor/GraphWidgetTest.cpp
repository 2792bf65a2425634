// The graph drawn without a window (pixels of each curve, marks, frame, cursor), the cached curves giving
// the same picture as a full drawing, the graph window's seek clicks, and the readouts' map texts.
#include "app/NotifyEvent.h"
#include "sensor/CDataParser.h"
#include "sensor/DatBytes.h"
#include "sensor/GraphGeometry.h"
#include "sensor/GraphPlaybackLink.h"
#include "sensor/GraphRenderer.h"
#include "sensor/SensorReadouts.h"
#include "skin/SkinTestSupport.h"

#include "skin/SkinModule.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

std::vector<sidecar::SensorRecord> constantSamples(int count, int x, int y, int z)
{
    return std::vector<sidecar::SensorRecord>(static_cast<size_t>(count), sidecar::SensorRecord { x, y, z, 0 });
}

GraphScene scene(const std::vector<sidecar::SensorRecord>& sensors, QSize size, int country = 82)
{
    GraphScene s;
    s.sensors = &sensors;
    s.loaded = true;
    s.rangeTop = 1000;
    s.rangeBottom = -1000;
    s.size = size;
    s.countryCode = country;
    return s;
}

QColor at(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

} // namespace

class GraphWidgetTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceJ")));
    }

    // Height 80, range +-1000: x 500 at row 60, y -500 at row 20, z 250 at row 50; zero line at 40.
    void eachCurveAtItsRow_data()
    {
        QTest::addColumn<int>("samples");
        QTest::newRow("stretched: 300 samples on 600 columns") << 300;
        QTest::newRow("compressed: 1200 samples on 600 columns") << 1200;
    }
    void eachCurveAtItsRow()
    {
        QFETCH(int, samples);
        const auto sensors = constantSamples(samples, 500, -500, 250);
        const QImage image = RenderGraph(scene(sensors, QSize(600, 80)), std::nullopt);
        for (int column : { 10, 300, 590 }) {
            QCOMPARE(at(image, column, 60), graphcolours::kX);
            QCOMPARE(at(image, column, 20), graphcolours::kY);
            QCOMPARE(at(image, column, 50), graphcolours::kZ);
            QCOMPARE(at(image, column, 40), graphcolours::kFrame);
            QCOMPARE(at(image, column, 30), QColor(Qt::black));
        }
        QCOMPARE(at(image, 0, 30), graphcolours::kFrame);
        QCOMPARE(at(image, 599, 30), graphcolours::kFrame);
    }

    void stretchedPlotTakesSampleHalfOfTheColumn()
    {
        // Sample 150 alone is large: columns 300 and 301 draw it, column 298 does not.
        auto sensors = constantSamples(300, 0, 0, 0);
        sensors[150].x = 900;
        const QImage image = RenderGraph(scene(sensors, QSize(600, 80)), std::nullopt);
        QCOMPARE(at(image, 300, 76), graphcolours::kX);
        QCOMPARE(at(image, 298, 76), QColor(Qt::black));
    }

    void marksFillBarsAroundTheirColumns_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("marked");
        QTest::addColumn<int>("country");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        // Stretched: columns 300 and 301 show sample 150, each fills i - 4 .. i + 7.
        QTest::newRow("stretched") << 300 << 150 << 82 << 296 << 308;
        // Compressed: 600 x 601 / 1200 = 300, +-5.
        QTest::newRow("compressed") << 1200 << 600 << 82 << 295 << 304;
        // Japan, plot 575 of 600: column 288 draws sample 601 (288 x 1200 / 575) and fills k - 2 .. k + 7.
        QTest::newRow("compressed, Japan") << 1200 << 601 << 81 << 286 << 295;
        // Sample 602 lies between column 288's (601) and column 289's (603): it still marks column 289.
        QTest::newRow("compressed, Japan, skipped sample") << 1200 << 602 << 81 << 287 << 296;
    }
    void marksFillBarsAroundTheirColumns()
    {
        QFETCH(int, samples);
        QFETCH(int, marked);
        QFETCH(int, country);
        QFETCH(int, first);
        QFETCH(int, last);
        auto sensors = constantSamples(samples, 0, 0, 0);
        sensors[static_cast<size_t>(marked)].mark = 1;
        const QImage image = RenderGraph(scene(sensors, QSize(600, 80), country), std::nullopt);
        QCOMPARE(at(image, first - 1, 10), QColor(Qt::black));
        QCOMPARE(at(image, first, 10), graphcolours::kMark);
        QCOMPARE(at(image, last, 10), graphcolours::kMark);
        QCOMPARE(at(image, last + 1, 10), QColor(Qt::black));
    }

    void valuesBeyondTheRangeAreDrawnAtItsEdge()
    {
        const auto inside = constantSamples(300, 1000, -1000, 0);
        const auto beyond = constantSamples(300, 40000, -40000, 0);
        QCOMPARE(RenderGraph(scene(beyond, QSize(600, 80)), std::nullopt),
            RenderGraph(scene(inside, QSize(600, 80)), std::nullopt));
    }

    void cursorBarCoversTenColumns()
    {
        const auto sensors = constantSamples(300, 0, 0, 0);
        const std::optional<int> cursor = graph::cursorX(600, 30000, 60000);
        const QImage image = RenderGraph(scene(sensors, QSize(600, 80)), cursor);
        QCOMPARE(at(image, 294, 10), QColor(Qt::black));
        for (int column = 295; column <= 304; ++column)
            QCOMPARE(at(image, column, 10), graphcolours::kMark);
        QCOMPARE(at(image, 305, 10), QColor(Qt::black));
        // Curves lie over the bar.
        QCOMPARE(at(image, 300, 40), graphcolours::kFrame);
        // Japan's bar ends at the plot.
        const QImage japan = RenderGraph(scene(sensors, QSize(600, 80), 81), 573);
        QCOMPARE(at(japan, 574, 10), graphcolours::kFrame); // the frame's right edge
        QCOMPARE(at(japan, 575, 10), QColor(Qt::black));
    }

    void japanHasDottedGridAndLabels()
    {
        const std::vector<sidecar::SensorRecord> none;
        GraphScene s = scene(none, QSize(600, 75), 81);
        s.loaded = false;
        const QImage image = RenderGraph(s, std::nullopt);
        QCOMPARE(at(image, 0, 10), graphcolours::kFrame);
        QCOMPARE(at(image, 574, 10), graphcolours::kFrame);
        QCOMPARE(at(image, 300, 37), graphcolours::kFrame); // zero line
        QCOMPARE(at(image, 100, 18), graphcolours::kFrame); // dotted at height / 4
        QCOMPARE(at(image, 101, 18), QColor(Qt::black));
        QCOMPARE(at(image, 100, 55), graphcolours::kFrame); // and at height / 4 + height / 2
        int white = 0;
        for (int y = 0; y < 75; ++y)
            for (int x = 575; x < 600; ++x)
                white += qGray(image.pixel(x, y)) > 200;
        QVERIFY2(white > 20, "the labels are drawn in the strip right of the plot");
        // Without data: no curve, only the frame and grid.
        QCOMPARE(at(image, 300, 30), QColor(Qt::black));
    }

    // The compressed plot draws only what survives the squeeze; a full drawing of one column per sample,
    // squeezed the same way, gives the same pixels everywhere off the frame and the zero line.
    void compressedPlotEqualsAFullDrawingSqueezed()
    {
        std::vector<sidecar::SensorRecord> sensors;
        for (int i = 0; i < 5000; ++i)
            sensors.push_back({ (i * 37) % 2400 - 1200, (i * 53) % 1800 - 900, 600 - (i * 11) % 1300, 0 });
        const QSize size(640, 40);
        const QImage fast = RenderGraphCurves(scene(sensors, size));

        const int count = int(sensors.size());
        QImage wide(count, size.height(), QImage::Format_ARGB32_Premultiplied);
        wide.fill(Qt::transparent);
        {
            QPainter p(&wide);
            const QColor colours[3] = { graphcolours::kX, graphcolours::kY, graphcolours::kZ };
            int previous[3] = { 20, 20, 20 };
            for (int i = 0; i < count; ++i) {
                const int values[3] = { sensors[size_t(i)].x, sensors[size_t(i)].y, sensors[size_t(i)].z };
                for (int axis = 0; axis < 3; ++axis) {
                    QPen pen(colours[axis]);
                    pen.setCosmetic(true);
                    pen.setCapStyle(Qt::FlatCap);
                    p.setPen(pen);
                    const int row = graph::valueRow(values[axis], size.height(), 1000, -1000);
                    p.drawLine(i - 1, previous[axis], i, row);
                    previous[axis] = row;
                }
            }
        }
        int compared = 0;
        for (int y = 1; y < size.height() - 1; ++y) {
            if (y == size.height() / 2)
                continue;
            for (int d = 1; d < size.width() - 1; ++d) {
                const QRgb expected = wide.pixel(graph::sampleAtColumn(d, count, size.width()), y);
                QCOMPARE(fast.pixel(d, y), expected);
                compared += qAlpha(expected) != 0;
            }
        }
        QVERIFY(compared > 1000);
    }

    void cachedCurvesPaintTheSamePictureInPieces()
    {
        auto sensors = constantSamples(36000, 300, -200, 100);
        for (size_t i = 0; i < sensors.size(); i += 997)
            sensors[i].x = static_cast<int>(i % 2000) - 1000;
        sensors[18000].mark = 1;
        const GraphScene s = scene(sensors, QSize(1264, 25));
        const QImage whole = RenderGraph(s, 640);
        const QImage curves = RenderGraphCurves(s);
        QImage pieces(s.size, QImage::Format_RGB32);
        pieces.fill(Qt::red);
        QPainter painter(&pieces);
        for (int left = 0; left < 1264; left += 100)
            PaintGraph(painter, QRect(left, 0, 100, 25), curves, 640, 82);
        painter.end();
        QCOMPARE(pieces, whole);
    }

    void graphClickPostsTheSeekPosition()
    {
        NotifyRecorder window;
        CDataParser graph(&window, &window, 82);
        graph.resize(600, 25);
        graph.setHasData(true);
        graph.setDuration(60000);
        QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(150, 10));
        QCoreApplication::sendPostedEvents(&window);
        QCOMPARE(window.notes.size(), 2); // press and release
        QCOMPARE(window.notes.at(0).code, int(NotifyEvent::GraphSeek));
        QCOMPARE(window.notes.at(0).param, intptr_t(15000));
        QCOMPARE(window.notes.at(1).param, intptr_t(15000));
        QCOMPARE(graph.cursorX(), std::optional<int>(150));

        graph.reset();
        window.notes.clear();
        QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(300, 10));
        QCoreApplication::sendPostedEvents(&window);
        QVERIFY(window.notes.isEmpty()); // no data: the graph is no seek bar
    }

    void positionMovesTheCursorOnlyWithDataAndLength()
    {
        QWidget window;
        CDataParser graph(&window, &window, 82);
        graph.resize(600, 25);
        graph.setDuration(60000);
        graph.setPosition(30000);
        QCOMPARE(graph.cursorX(), std::optional<int>(0));
        graph.setHasData(true);
        graph.setPosition(30000);
        QCOMPARE(graph.cursorX(), std::optional<int>(300));
        graph.setPosition(60001);
        QCOMPARE(graph.cursorX(), std::optional<int>(300));
        const QImage shown = shot(&graph);
        QCOMPARE(QColor(shown.pixel(295, 5)), graphcolours::kMark);
        QCOMPARE(QColor(shown.pixel(294, 5)), QColor(Qt::black));
    }

    void loadDrawsTheFilesCurves()
    {
        using namespace datbytes;
        QTemporaryDir dir;
        QByteArray sensors;
        for (int i = 0; i < 300; ++i)
            sensors += sensorRecord(1000, -1000, 0);
        const QString path = dir.filePath(QStringLiteral("rec.dat"));
        QVERIFY(writeFile(path, dataFile(sensors, gpsRecord(1, 37331234, 127015678, 54), 0)));
        QWidget window;
        CDataParser graph(&window, &window, 1);
        graph.resize(600, 80);
        QCOMPARE(graph.loadDataFile(path), SensorDataTables::LoadResult::Loaded);
        // Range +-9000 (all x positive, mean 1000): 1000 lies 4 rows below the zero line.
        QCOMPARE(QColor(shot(&graph).pixel(300, 44)), graphcolours::kX);
        graph.reset();
        QCOMPARE(QColor(shot(&graph).pixel(300, 44)), QColor(Qt::black));
        QVERIFY(!graph.tables().isLoaded());
    }

    void playbackLinkDrivesGraphAndAxisReadout()
    {
        using namespace datbytes;
        QTemporaryDir dir;
        QByteArray sensors;
        for (int i = 0; i < 600; ++i)
            sensors += sensorRecord(i == 300 ? -7 : 3, 0, 1024);
        const QString path = dir.filePath(QStringLiteral("rec.dat"));
        QVERIFY(writeFile(path, dataFile(sensors, gpsRecord(1, 1, 1, 1), 0)));
        QWidget window;
        CDataParser graph(&window, &window, 81);
        graph.resize(625, 75);
        SensorReadouts readouts(81);
        readouts.place(QRect(10, 40, 625, 400));
        QList<int> messages;
        GraphPlaybackLink link(graph, &readouts, &window, [&](int id) { messages.append(id); });

        link.markHasData();
        link.loadDataFile(path);
        QVERIFY(link.hasData());
        QCOMPARE(link.sampleCount(), 600);
        link.setRecordingLength(60000);
        QCOMPARE(graph.duration(), 60000);
        link.showTime(30000); // sample 300 of 600 at 100 ms a sample
        QCOMPARE(graph.cursorX(), std::optional<int>(300));
        QCOMPARE(readouts.axes().glyph(0, 0), AxisReadout::kMinus);
        QCOMPARE(readouts.axes().glyph(0, 4), 7);
        link.showTime(0);
        QCOMPARE(readouts.axes().glyph(0, 0), AxisReadout::kBlank);
        QVERIFY(messages.isEmpty());
        link.reset();
        QVERIFY(!link.hasData());
        QCOMPARE(link.sampleCount(), 0);
    }

    void readoutsHandTheMapTheirTexts()
    {
        using namespace datbytes;
        QByteArray bytes = dataFile(sensorRecord(5), gpsRecord(1, 37331234, 127015678, 54) + gpsRecord(0, 0, 0, 0), 0);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        SensorDataTables tables(1);
        QVERIFY(tables.load(buffer));
        SensorReadouts readouts(1);
        readouts.place(QRect(10, 40, 900, 500));
        QSignalSpy spy(&readouts, &SensorReadouts::mapPositionChanged);
        const QRegion dirty = readouts.updateSpeed(tables, 500);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("127.026130"));
        QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("37.552057"));
        QCOMPARE(readouts.speed().text(), QStringLiteral("100")); // 54 knots
        QVERIFY(dirty.contains(readouts.gpsIndicatorRect()));
        QVERIFY(dirty.contains(readouts.speedTextRect()));
        readouts.updateSpeed(tables, 1500); // no fix: the map hears nothing
        QCOMPARE(spy.size(), 1);
        QVERIFY(!readouts.selectUnit(SpeedReadout::kMphControlId).isEmpty());
        readouts.updateSpeed(tables, 0);
        QCOMPARE(readouts.speed().text(), QStringLiteral("62"));
        // The panel stands on the video's top edge at its right end.
        QCOMPARE(readouts.speedPanelRect().right(), 909);
        QCOMPARE(readouts.speedPanelRect().bottom(), 39);
    }

    void axisRowRepaintsOnlyChangedCells()
    {
        using namespace datbytes;
        QByteArray bytes = dataFile(sensorRecord(0) + sensorRecord(-5, 5, 0), QByteArray(), 0);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        SensorDataTables tables(81);
        QVERIFY(tables.load(buffer));
        SensorReadouts readouts(81);
        readouts.place(QRect(10, 40, 900, 500));
        QCOMPARE(readouts.axisCellRect(2, 4).left(), 909 - 142 + 1);
        const QRegion dirty = readouts.showAxisValues(tables, 1000, 1000); // sample 1
        QCOMPARE(readouts.axes().glyph(0, 0), AxisReadout::kMinus);
        QCOMPARE(readouts.axes().glyph(1, 0), AxisReadout::kPlus);
        QCOMPARE(dirty,
            QRegion(readouts.axisCellRect(0, 0)) + readouts.axisCellRect(0, 4) + readouts.axisCellRect(1, 0)
                + readouts.axisCellRect(1, 4));
        QVERIFY(readouts.showAxisValues(tables, 1000, 1000).isEmpty());
    }
};

QTEST_MAIN(GraphWidgetTest)
#include "GraphWidgetTest.moc"
