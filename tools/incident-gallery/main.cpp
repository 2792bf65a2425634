// incident-gallery CARD OUTDIR: the acceleration graph of the demo card's event recordings with their impact
// ticks (impact-graph.png), and the evidence report page of the first impact (incident-report.png, drawn
// from the PDF by pdftoppm).
#include "incident/EvidencePackage.h"
#include "incident/ImpactThresholdSetting.h"
#include "incident/IncidentReport.h"
#include "incident/RecordingImpacts.h"
#include "incident/DriveSequence.h"
#include "sensor/GraphRenderer.h"
#include "sensor/SensorDataTables.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: incident-gallery CARD OUTDIR\n");
        return 2;
    }
    const QString card = args[1];
    const QString out = args[2];
    QDir().mkpath(out);

    struct Row
    {
        QString name;
        RecordingImpacts found;
        SensorDataTables tables;
    };
    std::vector<Row> rows;
    const DriveSequence sequence = DriveSequence::ofFolder(card);
    for (const DriveRecording& r : sequence.recordings()) {
        Row row;
        row.name = r.fileName;
        row.found = FindRecordingImpacts(r.videoPath, r.dataPath, 1.5);
        row.tables.load(r.dataPath);
        rows.push_back(std::move(row));
    }
    const int width = 900;
    const int graphHeight = 75;
    const int rowHeight = graphHeight + 28;
    QImage sheet(width + 20, 10 + rowHeight * static_cast<int>(rows.size()), QImage::Format_RGB32);
    sheet.fill(QColor(24, 26, 31));
    QPainter p(&sheet);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(14);
    p.setFont(font);
    int y = 10;
    QString firstImpactVideo;
    qint64 firstImpactMs = -1;
    for (Row& row : rows) {
        std::vector<int> peaks;
        QStringList texts;
        for (const Impact& i : row.found.impacts) {
            peaks.push_back(i.peakSample);
            texts << QStringLiteral("%1 s, %2 g%3").arg(i.timeMs / 1000.0, 0, 'f', 1).arg(i.peakG, 0, 'f', 2).arg(i.marked ? QStringLiteral(", marked") : QString());
            if (firstImpactMs < 0 && row.name.startsWith(QLatin1String("evt_"))) {
                firstImpactVideo = row.found.videoPath;
                firstImpactMs = i.timeMs;
            }
        }
        p.setPen(Qt::white);
        p.drawText(QPoint(10, y + 16), QStringLiteral("%1   %2").arg(row.name, texts.isEmpty() ? QStringLiteral("no impact") : texts.join(QStringLiteral("; "))));
        GraphScene scene;
        scene.sensors = &row.tables.sensorTable();
        scene.loaded = row.tables.isLoaded();
        scene.rangeTop = row.tables.rangeTop();
        scene.rangeBottom = row.tables.rangeBottom();
        scene.size = QSize(width, graphHeight);
        scene.countryCode = 82;
        scene.impactSamples = &peaks;
        p.drawImage(QPoint(10, y + 22), RenderGraph(scene, std::nullopt));
        y += rowHeight;
    }
    p.end();
    sheet.save(QDir(out).filePath(QStringLiteral("impact-graph.png")));

    if (firstImpactMs >= 0) {
        QTemporaryDir work;
        EvidenceRequest request;
        request.videoPath = firstImpactVideo;
        request.atMs = firstImpactMs;
        request.outputFolder = work.path();
        request.countryCode = 82;
        const EvidenceResult result = EvidencePackage::write(request, incidentreport::write);
        if (!result.ok) {
            std::fprintf(stderr, "incident-gallery: %s\n", qPrintable(result.error));
            return 1;
        }
        const int rc = QProcess::execute(QStringLiteral("pdftoppm"),
            { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-singlefile"),
                result.folder + QStringLiteral("/report.pdf"), QDir(out).filePath(QStringLiteral("incident-report")) });
        if (rc != 0)
            return 1;
    }
    return 0;
}
