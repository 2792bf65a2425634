#pragma once

#include "incident/ImpactFinder.h"

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

class CKorvanePCPlayerDlg;
class QMenu;
struct EvidenceResult;
struct RecordingEntry;

// The viewer's incident commands, kept beside the main window: impact ticks on the graph of every opened
// recording, jumps to the next or previous impact (a few seconds before its peak, on through the list's rows
// in list order), and the evidence package of the playing recording at the current time. Reached by keys the
// window does not use otherwise and by entries added to the video's right-click menu.
class IncidentNavigator : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kLeadMs = 3000; // a jump lands this long before the peak
    static inline const QKeySequence kNextKey { Qt::Key_BracketRight };
    static inline const QKeySequence kPreviousKey { Qt::Key_BracketLeft };
    static inline const QKeySequence kExportKey { Qt::CTRL | Qt::Key_E };
    static inline const QKeySequence kExportZipKey { Qt::CTRL | Qt::SHIFT | Qt::Key_E };

    // String ids of the navigator's texts.
    static constexpr int kStrNextImpact = 23001;
    static constexpr int kStrPreviousImpact = 23002;
    static constexpr int kStrExportPackage = 23003;
    static constexpr int kStrPackageWritten = 23004;
    static constexpr int kStrPackageFailed = 23005;
    static constexpr int kStrImpactThreshold = 23006;
    static constexpr int kStrThresholdChoice = 23007;
    static constexpr int kStrExportPackageZip = 23008;
    static constexpr int kStrPackageWrittenNoZip = 23009;
    // Why an export failed, by ExportFailure (Window, AmongRecordings, Reading, Writing).
    static constexpr int kStrFailureWindow = 23010;
    static constexpr int kStrFailureAmongRecordings = 23011;
    static constexpr int kStrFailureReading = 23012;
    static constexpr int kStrFailureWriting = 23013;

    // The thresholds the video menu offers; another stored value is shown beside them.
    static constexpr double kThresholdChoicesG[] = { 1.0, 1.5, 2.0, 2.5, 3.0, 4.0 };

    // What the viewer tells after an export, from the installed string table.
    static QString ResultText(const EvidenceResult& result);

    explicit IncidentNavigator(CKorvanePCPlayerDlg* window);
    ~IncidentNavigator() override;

    void NextImpact();
    void PreviousImpact();
    // Writes the package into the desktop backup folder's "Evidence" folder (or the folder set for tests);
    // the second also zips it, for sending as one file.
    void ExportCurrent();
    void ExportCurrentWithZip();

    void setExportFolder(const QString& folder) { m_exportFolder = folder; }
    // Tests read lastPackage() and lastError() instead of the message box.
    void setShowsResult(bool shows) { m_showsResult = shows; }
    QString lastPackage() const { return m_lastPackage; }
    QString lastError() const { return m_lastError; }
    const std::vector<Impact>& currentImpacts() const { return m_current; }
    // The seek a jump into another row waits for until that row's length is known.
    std::optional<qint64> pendingSeek() const { return m_pendingSeek; }

    double thresholdG() const { return m_thresholdG; }
    // Keeps the threshold in the viewer's settings and finds the impacts again with it: the graph's ticks,
    // the list's marks and the jumps follow at once. Refuses values outside the stored range.
    bool setThresholdG(double thresholdG);

    void addMenuEntries(QMenu* menu);
    // The list's mark: whether a row's data file holds an impact, read once per recording when first painted.
    bool rowHoldsImpact(const RecordingEntry& entry);

Q_SIGNALS:
    void thresholdChanged(double thresholdG);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void exportCurrent(bool zip);
    void onDataLoaded();
    void onDuration(int ms);
    void findCurrent(qint64 durationMs);
    QString rowVideoPath(int row) const;
    std::vector<qint64> jumpTargets(int row) const; // ms, from the row's own files
    std::vector<qint64> currentTargets() const;
    void seekOrOpen(int row, qint64 ms);

    QPointer<CKorvanePCPlayerDlg> m_window;
    double m_thresholdG;
    std::vector<Impact> m_current;
    std::optional<qint64> m_pendingSeek;
    QString m_exportFolder;
    QString m_lastPackage;
    QString m_lastError;
    bool m_showsResult = true;
    QHash<QString, bool> m_rowImpacts;
};
