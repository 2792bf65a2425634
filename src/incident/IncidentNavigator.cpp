#include "incident/IncidentNavigator.h"

#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "catalogue/CXListCtrl.h"
#include "catalogue/DesktopBackup.h"
#include "catalogue/RecordingNames.h"
#include "incident/EvidencePackage.h"
#include "incident/ImpactThresholdSetting.h"
#include "incident/IncidentReport.h"
#include "incident/RecordingImpacts.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "platform/SettingsStore.h"
#include "playback/PlayerController.h"
#include "sensor/CDataParser.h"
#include "sensor/SensorDataTables.h"
#include "skin/CDlgMessage.h"

#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QKeyEvent>
#include <QLocale>

#include <algorithm>
#include <cmath>

IncidentNavigator::IncidentNavigator(CKorvanePCPlayerDlg* window)
    : QObject(window)
    , m_window(window)
    , m_thresholdG(impactsetting::read(SettingsStore::user()))
{
    // Seen before any widget of the window: the recording list would take ] and [ for its type-ahead
    // search. The window installs its own filter after this one, so that one runs first and ends a
    // stale input lock before this one reads it.
    qApp->installEventFilter(this);
    if (CDataParser* graph = window->graph()) {
        connect(graph, &CDataParser::dataFileLoaded, this, &IncidentNavigator::onDataLoaded);
        connect(graph, &CDataParser::durationChanged, this, &IncidentNavigator::onDuration);
    }
    connect(window, &CKorvanePCPlayerDlg::videoMenuAboutToShow, this, &IncidentNavigator::addMenuEntries);
    if (CXListCtrl* rows = window->rows())
        rows->setRowMarker([this](const RecordingEntry& entry) { return rowHoldsImpact(entry); });
}

bool IncidentNavigator::rowHoldsImpact(const RecordingEntry& entry)
{
    if (entry.spanMarker || !m_window)
        return false;
    const QString video = m_window->catalogue().videoPath(entry.kindLabel, entry.baseName);
    const auto known = m_rowImpacts.constFind(video);
    if (known != m_rowImpacts.constEnd())
        return known.value();
    // Whether any sample counts needs only the data file; the video's length only places the impacts.
    SensorDataTables tables;
    tables.load(DataFilePath(video, m_window->catalogue().videoExtension()));
    const bool holds = !ImpactFinder(m_thresholdG).find(tables.sensorTable(), tables.sensorCount() * 100LL).empty();
    m_rowImpacts.insert(video, holds);
    return holds;
}

IncidentNavigator::~IncidentNavigator()
{
    qApp->removeEventFilter(this);
}

bool IncidentNavigator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!m_window || !widget || widget->window() != m_window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    void (IncidentNavigator::*action)() = nullptr;
    if (pressed == kNextKey)
        action = &IncidentNavigator::NextImpact;
    else if (pressed == kPreviousKey)
        action = &IncidentNavigator::PreviousImpact;
    else if (pressed == kExportKey)
        action = &IncidentNavigator::ExportCurrent;
    else if (pressed == kExportZipKey)
        action = &IncidentNavigator::ExportCurrentWithZip;
    if (!action)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // ours: no shortcut and no type-ahead takes it
        return true;
    }
    // During the lock after an open (and while a repair runs) the window's own filter swallows keys.
    if (m_window->inputLocked() || !m_window->isReady())
        return false;
    (this->*action)();
    return true;
}

void IncidentNavigator::addMenuEntries(QMenu* menu)
{
    menu->addSeparator();
    QAction* next = menu->addAction(StringById(kStrNextImpact), this, &IncidentNavigator::NextImpact);
    next->setShortcut(kNextKey);
    QAction* previous = menu->addAction(StringById(kStrPreviousImpact), this, &IncidentNavigator::PreviousImpact);
    previous->setShortcut(kPreviousKey);
    QAction* exportAction = menu->addAction(StringById(kStrExportPackage), this, &IncidentNavigator::ExportCurrent);
    exportAction->setShortcut(kExportKey);
    QAction* exportZip = menu->addAction(StringById(kStrExportPackageZip), this, &IncidentNavigator::ExportCurrentWithZip);
    exportZip->setShortcut(kExportZipKey);

    QMenu* thresholds = menu->addMenu(StringById(kStrImpactThreshold));
    std::vector<double> choices(std::begin(kThresholdChoicesG), std::end(kThresholdChoicesG));
    if (std::find(choices.begin(), choices.end(), m_thresholdG) == choices.end()) {
        choices.push_back(m_thresholdG);
        std::sort(choices.begin(), choices.end());
    }
    auto* group = new QActionGroup(thresholds);
    const QLocale locale;
    for (double g : choices) {
        const int decimals = std::abs(g * 10 - std::round(g * 10)) < 1e-9 ? 1 : 2;
        QAction* choice = thresholds->addAction(StringById(kStrThresholdChoice).arg(locale.toString(g, 'f', decimals)));
        choice->setCheckable(true);
        choice->setChecked(g == m_thresholdG);
        choice->setData(g);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, g] { setThresholdG(g); });
    }
}

bool IncidentNavigator::setThresholdG(double thresholdG)
{
    if (!impactsetting::isValid(thresholdG))
        return false;
    SettingsStore& store = SettingsStore::user();
    impactsetting::write(store, thresholdG);
    m_thresholdG = thresholdG;
    m_rowImpacts.clear();
    Q_EMIT thresholdChanged(thresholdG);
    if (!m_window)
        return true;
    if (CDataParser* graph = m_window->graph(); graph && graph->tables().sensorCount() > 0)
        findCurrent(graph->duration());
    if (CXListCtrl* rows = m_window->rows())
        rows->viewport()->update();
    return true;
}

void IncidentNavigator::onDataLoaded()
{
    CDataParser* graph = m_window ? m_window->graph() : nullptr;
    if (!graph)
        return;
    findCurrent(graph->duration());
}

void IncidentNavigator::findCurrent(qint64 durationMs)
{
    CDataParser* graph = m_window->graph();
    const SensorDataTables& tables = graph->tables();
    // Until the player tells the video's length, the camera's one GPS record a second stands in for it.
    if (durationMs <= 0)
        durationMs = tables.gpsCount() > 0 ? tables.gpsCount() * 1000LL : tables.sensorCount() * 100LL;
    m_current = ImpactFinder(m_thresholdG).find(tables.sensorTable(), durationMs);
    std::vector<int> samples;
    for (const Impact& i : m_current)
        samples.push_back(i.peakSample);
    graph->setImpactSamples(std::move(samples));
}

void IncidentNavigator::onDuration(int ms)
{
    if (ms <= 0 || !m_window)
        return;
    findCurrent(ms);
    if (!m_pendingSeek)
        return;
    const qint64 target = std::min<qint64>(*m_pendingSeek, ms);
    m_pendingSeek.reset();
    m_window->controller().SeekTo(target);
}

QString IncidentNavigator::rowVideoPath(int row) const
{
    const RecordingEntry& e = m_window->rows()->entryAt(row);
    if (e.spanMarker)
        return {};
    return m_window->catalogue().videoPath(e.kindLabel, e.baseName);
}

std::vector<qint64> IncidentNavigator::jumpTargets(int row) const
{
    const QString video = rowVideoPath(row);
    if (video.isEmpty())
        return {};
    const RecordingImpacts found
        = FindRecordingImpacts(video, DataFilePath(video, m_window->catalogue().videoExtension()), m_thresholdG);
    std::vector<qint64> targets;
    for (const Impact& i : found.impacts)
        targets.push_back(std::max<qint64>(0, i.timeMs - kLeadMs));
    return targets;
}

std::vector<qint64> IncidentNavigator::currentTargets() const
{
    const CDataParser* graph = m_window->graph();
    const int count = graph->tables().sensorCount();
    std::vector<qint64> targets;
    for (const Impact& i : m_current)
        targets.push_back(std::max<qint64>(0, ImpactFinder::sampleTimeMs(i.peakSample, count, graph->duration()) - kLeadMs));
    return targets;
}

void IncidentNavigator::seekOrOpen(int row, qint64 ms)
{
    if (row == m_window->currentListPosition() && m_window->graph()->duration() > 0) {
        m_window->controller().SeekTo(ms);
        return;
    }
    m_pendingSeek = ms;
    m_window->OpenListRow(row);
}

void IncidentNavigator::NextImpact()
{
    if (!m_window || m_window->rowCount() == 0)
        return;
    const int current = m_window->currentListPosition();
    const qint64 position = m_window->player().isOpen() ? m_window->player().currentTime() : -1;
    if (current >= 0 && current < m_window->rowCount() && position >= 0) {
        for (qint64 t : currentTargets()) {
            if (t > position + 1000) {
                seekOrOpen(current, t);
                return;
            }
        }
    }
    for (int row = std::max(0, current + 1); row < m_window->rowCount(); ++row) {
        const std::vector<qint64> targets = jumpTargets(row);
        if (!targets.empty()) {
            seekOrOpen(row, targets.front());
            return;
        }
    }
}

void IncidentNavigator::PreviousImpact()
{
    if (!m_window || m_window->rowCount() == 0)
        return;
    const int current = m_window->currentListPosition();
    const qint64 position = m_window->player().isOpen() ? m_window->player().currentTime() : -1;
    if (current >= 0 && current < m_window->rowCount() && position >= 0) {
        const std::vector<qint64> targets = currentTargets();
        // Pressed again right after a jump, it goes on to the impact before.
        for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
            if (*it < position - 2000) {
                seekOrOpen(current, *it);
                return;
            }
        }
    }
    for (int row = std::min(current, m_window->rowCount()) - 1; row >= 0; --row) {
        const std::vector<qint64> targets = jumpTargets(row);
        if (!targets.empty()) {
            seekOrOpen(row, targets.back());
            return;
        }
    }
}

void IncidentNavigator::ExportCurrent()
{
    exportCurrent(false);
}

void IncidentNavigator::ExportCurrentWithZip()
{
    exportCurrent(true);
}

void IncidentNavigator::exportCurrent(bool zip)
{
    if (!m_window || !m_window->player().isOpen())
        return;
    const int row = m_window->currentListPosition();
    if (row < 0 || row >= m_window->rowCount())
        return;
    EvidenceRequest request;
    request.videoPath = rowVideoPath(row);
    request.atMs = std::max<int64_t>(0, m_window->player().currentTime());
    request.outputFolder = m_exportFolder.isEmpty() ? QDir(DesktopBackupFolder()).filePath(QStringLiteral("Evidence"))
                                                    : m_exportFolder;
    request.countryCode = viewerEnvironment().countryCode;
    request.zip = zip;
    const std::future<void> fonts = incidentreport::prepareFonts();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const EvidenceResult result = EvidencePackage::write(request, incidentreport::write);
    QApplication::restoreOverrideCursor();
    m_lastPackage = result.folder;
    m_lastError = result.error;
    if (!result.ok)
        qWarning("evidence export: %s", qPrintable(result.error));
    if (!m_showsResult)
        return;
    CDlgMessage::ask(CDlgMessage::StyleOk, ResultText(result), QString(), m_window);
}

QString IncidentNavigator::ResultText(const EvidenceResult& result)
{
    // A zip sits beside the folder under the same name; the small box keeps its lines for the path.
    if (result.ok)
        return StringById(result.zipPath.isEmpty() ? kStrPackageWrittenNoZip : kStrPackageWritten)
            .arg(QDir::toNativeSeparators(result.folder));
    // The reason in the table's own words; the English detail (paths, library messages) is for the log.
    int reason = 0;
    switch (result.failure) {
    case ExportFailure::Window: reason = kStrFailureWindow; break;
    case ExportFailure::AmongRecordings: reason = kStrFailureAmongRecordings; break;
    case ExportFailure::Reading: reason = kStrFailureReading; break;
    case ExportFailure::Writing: reason = kStrFailureWriting; break;
    case ExportFailure::None: break;
    }
    return StringById(kStrPackageFailed).arg(reason ? StringById(reason) : result.error);
}
