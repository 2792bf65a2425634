#pragma once

#include "incident/ClipCutter.h"
#include "incident/EvidenceData.h"
#include "incident/ExportFailure.h"

#include <QString>
#include <QStringList>

#include <functional>

// What to package: a recording, the moment, how much before and after it, and where the package goes.
struct EvidenceRequest
{
    static constexpr qint64 kDefaultBeforeMs = 20000;
    static constexpr qint64 kDefaultAfterMs = 10000;

    QString videoPath;
    qint64 atMs = 0;
    qint64 beforeMs = kDefaultBeforeMs;
    qint64 afterMs = kDefaultAfterMs;
    QString outputFolder;
    int countryCode = 0;
    // A zip of the folder beside it, for sending the package as one file. Asked for, not made always: it
    // holds the clip a second time, which doubles what the export writes to the disk.
    bool zip = false;
};

struct EvidenceResult
{
    bool ok = false;
    QString error;
    ExportFailure failure = ExportFailure::None;
    QString folder; // the finished package
    QString zipPath; // the same as one zip file, when one was asked for
    QStringList files; // names in the package folder
    bool hasReport = false;
    ClipCutResult cut;
    EvidenceData data;
    // Wall time of each step in milliseconds, in the order they ran (for the export benchmark); the steps
    // on worker threads are timed on them.
    QList<std::pair<QString, double>> stepMs;
};

// Writes the report page; given by the caller because drawing a PDF needs the GUI library.
using EvidenceReportWriter = std::function<bool(const EvidenceData& data, const QString& pdfPath, QString& error)>;

// Writes an evidence package: the clip cut without re-encoding, the window's GPS track (GPX, KML), its samples
// (CSV), the report page, a description of the cut (JSON) and the SHA-256 manifest of them all, then zips the
// folder when asked to. Everything is written under a hidden temporary name in the output folder and given its name only
// when whole, so a full disk or a pulled card leaves no package that looks complete. The recordings are only
// read: a package is never written into the folder that holds them.
class EvidencePackage
{
public:
    static inline const QString kClipBaseName = QStringLiteral("clip");
    static inline const QString kGpxName = QStringLiteral("track.gpx");
    static inline const QString kKmlName = QStringLiteral("track.kml");
    static inline const QString kCsvName = QStringLiteral("samples.csv");
    static inline const QString kReportName = QStringLiteral("report.pdf");
    static inline const QString kCutName = QStringLiteral("cut.json");

    static EvidenceResult write(const EvidenceRequest& request, const EvidenceReportWriter& report = {});

    // "<recording>_at<seconds>s", the folder's and the zip's name.
    static QString packageName(const QString& videoPath, qint64 atMs);
};
