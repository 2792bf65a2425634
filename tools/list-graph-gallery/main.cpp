// list-graph-gallery BINDIR CARD OUTFILE: the recording list (header pictures, row icons) beside the
// acceleration graph (curves, marks, cursor) with the speed and three-axis readouts, filled from a demo
// card, for the countries 82, 81 and 1, stacked into one picture.
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "catalogue/CXListCtrl.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "sensor/CDataParser.h"
#include "sensor/SensorReadouts.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTranslator>

#include <cstdio>

namespace {

constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 560;
const QColor kWindowBackground(24, 26, 31);

// The part of the main window these panels live in, placed as the main window places them.
class Sheet : public QWidget
{
public:
    Sheet(int country, RecordingCatalogue& catalogue, const QString& dataFile, qint64 atMs)
        : m_country(country)
        , m_readouts(country)
    {
        resize(kClientWidth, kClientHeight);
        const int graphHeight = country == 81 ? 75 : 25;
        m_video = QRect(10, 40, kClientWidth - 330, kClientHeight - 40 - (graphHeight + 30 + 90));
        m_list = new CXListCtrl(this, this, country);
        m_list->setCatalogue(&catalogue);
        m_list->setGeometry(kClientWidth - 310, 10, 300, kClientHeight - 20);
        m_list->fill(catalogue.BuildCategoryEntries(ListCategory::All));

        m_graph = new CDataParser(this, this, country);
        m_graph->setGeometry(10, m_video.bottom() + 1, m_video.width(), graphHeight);
        m_graph->loadDataFile(dataFile);
        m_graph->setHasData(true);
        const int samples = m_graph->tables().sensorCount();
        const int durationMs = samples * 100; // the camera samples ten times a second
        m_graph->setDuration(durationMs);
        m_graph->setPosition(static_cast<int>(atMs));

        m_readouts.setWindowBackground(kWindowBackground);
        m_readouts.place(m_video);
        m_readouts.selectUnit(country == 1 ? SpeedReadout::kMphControlId : SpeedReadout::kKmhControlId);
        m_readouts.updateSpeed(m_graph->tables(), atMs);
        m_readouts.showAxisValues(m_graph->tables(), static_cast<double>(atMs),
            samples > 0 ? static_cast<double>(durationMs) / samples : 0.0);

        int currentPosition = 0;
        const QString playing = QFileInfo(dataFile).completeBaseName() + QStringLiteral(".avi");
        m_caption = m_list->locateCurrentRecording(playing, currentPosition);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kWindowBackground);
        painter.fillRect(m_video, QColor(8, 9, 12));
        painter.setPen(QColor(120, 126, 138));
        painter.setFont(SkinFont(17));
        painter.drawText(m_video, Qt::AlignCenter, QStringLiteral("country %1 - %2").arg(m_country).arg(m_caption));
        m_readouts.paint(painter, rect());
    }

private:
    int m_country;
    QRect m_video;
    QString m_caption;
    CXListCtrl* m_list = nullptr;
    CDataParser* m_graph = nullptr;
    SensorReadouts m_readouts;
};

QString stringTable(int country)
{
    return country == 82 ? QStringLiteral("ko") : country == 81 ? QStringLiteral("ja") : QStringLiteral("en");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: list-graph-gallery BINDIR CARD OUTFILE\n");
        return 2;
    }
    const QString binDir = QString::fromLocal8Bit(argv[1]);
    const QString card = WithTrailingSeparator(QString::fromLocal8Bit(argv[2]));
    const QString out = QString::fromLocal8Bit(argv[3]);

    RecordingCatalogue catalogue;
    if (!catalogue.ScanCatalogueFolder(card, 0)) {
        std::fprintf(stderr, "list-graph-gallery: no recordings in %s\n", qPrintable(card));
        return 1;
    }
    catalogue.setFolder(card);
    // The first event recording: an impact, so marks stand beside the curves.
    QStringList events = catalogue.names(RecordingKind::Event);
    events.sort();
    QString dataFile;
    if (!events.isEmpty())
        dataFile = card + DataFilePath(events.first(), catalogue.videoExtension());
    if (dataFile.isEmpty()) {
        std::fprintf(stderr, "list-graph-gallery: the card holds no event recording\n");
        return 1;
    }

    QList<QImage> sheets;
    for (int country : { 82, 81, 1 }) {
        SkinModule::unload();
        if (!SkinModule::load(binDir, SkinModuleName(country))) {
            std::fprintf(stderr, "list-graph-gallery: no skin module in %s\n", qPrintable(binDir));
            return 1;
        }
        InstallStringTable(app, stringTable(country));
        Sheet sheet(country, catalogue, dataFile, 22000);
        sheets.append(sheet.grab().toImage());
    }
    QImage all(kClientWidth, kClientHeight * int(sheets.size()) + 10 * int(sheets.size() - 1), QImage::Format_RGB32);
    all.fill(QColor(60, 60, 60));
    QPainter painter(&all);
    for (int i = 0; i < sheets.size(); ++i)
        painter.drawImage(0, i * (kClientHeight + 10), sheets.at(i));
    painter.end();
    QDir().mkpath(QFileInfo(out).absolutePath());
    if (!all.save(out)) {
        std::fprintf(stderr, "list-graph-gallery: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
