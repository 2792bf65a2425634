#pragma once

#include "catalogue/RecordingEntry.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <vector>

class RecordingCatalogue;

// One copy job of the copy dialog: the pairs are filled before the worker starts and never change while it
// runs; the worker writes the counters and the done flag, the dialog only the cancel flag.
//
// Every file is copied by CopyFileVerified: it counts as copied only when the copy was compared with the
// source, and a file that fails leaves nothing under its target name and is named in failedFiles().
class CopyJob
{
public:
    struct Failure
    {
        QString source;
        QString target;
        QString reason;
    };

    explicit CopyJob(QString videoExtension);

    // With it set, each copy is synced to the target device, dropped from memory and read back from the device
    // for the comparison (what a move does before it removes the source); without it, the comparison reads the
    // copy as the system holds it in memory, which shows what was handed to the target disk but not what the
    // disk stored. Set before Run().
    void setReadBackFromDevice(bool on) { m_readBackFromDevice = on; }
    bool readBackFromDevice() const { return m_readBackFromDevice; }

    // Appends a pair; a source with the job's video extension (compared without regard to case) counts
    // toward the progress bar.
    void AddPair(const QString& source, const QString& target);

    int pairCount() const { return int(m_sources.size()); }
    const QStringList& sources() const { return m_sources; }
    const QStringList& targets() const { return m_targets; }
    QString videoExtension() const { return m_videoExtension; }

    // The progress bar's range and position: the videos queued and those the worker has finished with.
    int queuedVideoCount() const { return m_queuedVideos; }
    int finishedVideoCount() const { return m_finishedVideos.load(); }
    // Bytes of the current job copied so far, for a finer progress display.
    int64_t copiedBytes() const { return m_copiedBytes.load(); }

    // Asks the worker to stop after the file it is copying; that file is always finished.
    void Cancel() { m_cancel.store(true); }
    bool isCancelled() const { return m_cancel.load(); }
    bool isDone() const { return m_done.load(); }

    // The worker: copies the pairs in order until all are done or the cancel flag is seen, then sets done.
    void Run();

    // Valid once isDone(): files copied and verified, and the files that were not copied.
    int copiedFileCount() const { return m_copiedFiles; }
    const std::vector<Failure>& failures() const { return m_failures; }
    // The pairs the cancel flag left out.
    int skippedPairCount() const { return m_skipped; }

private:
    QString m_videoExtension;
    QStringList m_sources;
    QStringList m_targets;
    int m_queuedVideos = 0;
    bool m_readBackFromDevice = false;
    std::atomic<int> m_finishedVideos { 0 };
    std::atomic<int64_t> m_copiedBytes { 0 };
    std::atomic<bool> m_cancel { false };
    std::atomic<bool> m_done { false };
    int m_copiedFiles = 0;
    int m_skipped = 0;
    std::vector<Failure> m_failures;
};

// A selected list row as the copy and delete commands see it.
struct SelectedRow
{
    int index = 0;
    QString kindLabel; // column 0
    QString baseName;  // column 1
};

// Copy: for each row its video (prefix by kind label, "rec_" for any other label, and the catalogue's video
// extension) and its data file, each when it exists, into `destinationFolder`.
void AddRowPairs(CopyJob& job, const RecordingCatalogue& catalogue, const std::vector<SelectedRow>& rows,
    const QString& destinationFolder);
// Save all event files: every name of the event name list and its data file, each when it exists.
void AddEventPairs(CopyJob& job, const RecordingCatalogue& catalogue, const QString& destinationFolder);
