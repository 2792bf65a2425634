#include "incident/EvidencePackage.h"

#include "incident/CsvWriter.h"
#include "incident/EvidenceCollector.h"
#include "incident/FrameGrabber.h"
#include "incident/GpxWriter.h"
#include "incident/KmlWriter.h"
#include "incident/PackageManifest.h"
#include "incident/PackageZip.h"
#include "incident/WriteBackPacer.h"
#include "platform/FileSafety.h"
#include "platform/FileTransfer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cerrno>
#include <future>
#include <memory>

namespace {

// The folder's real path, also when it does not exist yet: its nearest existing parent resolved, the rest
// appended.
QString realPath(const QString& folder)
{
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QString rest;
    while (!QFileInfo(existing).exists()) {
        const QFileInfo info(existing);
        rest = info.fileName() + (rest.isEmpty() ? QString() : QLatin1Char('/') + rest);
        if (info.path() == existing)
            break;
        existing = info.path();
    }
    const QString base = QFileInfo(existing).canonicalFilePath();
    return rest.isEmpty() ? base : base + QLatin1Char('/') + rest;
}

bool isSameOrBelow(const QString& folder, const QString& root)
{
    const QString f = realPath(folder);
    const QString r = realPath(root);
    return !f.isEmpty() && !r.isEmpty() && (f == r || f.startsWith(r + QLatin1Char('/')));
}

bool writeCutDescription(const EvidenceRequest& request, const EvidenceResult& result, const QString& path)
{
    QJsonObject o;
    o.insert(QStringLiteral("recording"), result.data.recordingName);
    QJsonArray used;
    for (const QString& name : result.data.recordingsUsed)
        used.append(name);
    o.insert(QStringLiteral("recordingsUsed"), used);
    o.insert(QStringLiteral("atSeconds"), request.atMs / 1000.0);
    o.insert(QStringLiteral("beforeSeconds"), request.beforeMs / 1000.0);
    o.insert(QStringLiteral("afterSeconds"), request.afterMs / 1000.0);
    o.insert(QStringLiteral("clipStartSeconds"), result.cut.startMs / 1000.0);
    o.insert(QStringLiteral("clipDurationSeconds"), result.cut.durationMs / 1000.0);
    o.insert(QStringLiteral("cameraTime"), result.data.incidentLocal.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
            + result.data.zone.offsetText());
    o.insert(QStringLiteral("timeZone"), result.data.zone.name);
    o.insert(QStringLiteral("model"), result.data.modelName);
    o.insert(QStringLiteral("peakG"), result.data.peakG);
    // A plain write: the package folder is temporary until whole and synced at the end; a sync here would wait
    // for the clip's data the disk is busy writing.
    QFile file(path);
    const QByteArray text = QJsonDocument(o).toJson(QJsonDocument::Indented);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush() && file.error() == QFileDevice::NoError;
}

// Runs a step on a worker thread and tells how long it took there.
template <typename T> struct Timed
{
    T value;
    double ms = 0;
};
template <typename F, typename... Args> auto timedAsync(F f, Args... args)
{
    return std::async(std::launch::async, [f, args...]() {
        QElapsedTimer timer;
        timer.start();
        auto value = f(args...);
        return Timed<decltype(value)> { std::move(value), timer.nsecsElapsed() / 1e6 };
    });
}

// Makes every file of the finished package, and the zip, durable before they get their names: after a power
// cut a package that looks complete must be complete. The clip's bytes were made durable earlier
// (syncInBackground), so this commits the small files and the names.
bool syncPackage(const QString& folder, const QString& zipPath)
{
    QStringList paths;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
        paths << QDir(folder).filePath(name);
    if (!zipPath.isEmpty())
        paths << zipPath;
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !platform::syncFile(file))
            return false;
    }
    return platform::syncDirectory(folder);
}

// Syncs a file and hands back its errno (0 when synced).
int syncFileAt(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && platform::syncFile(file))
        return 0;
    return errno ? errno : EIO;
}

// Syncs a file on a thread of its own. A sync costs the disk's cache flush of everything written since the
// last one, tens of milliseconds for a clip, whenever it comes: the clip's is taken while the clip is summed and
// the report drawn, so the final sync of the package has only the small files left to flush.
std::future<int> syncInBackground(const QString& path)
{
    return std::async(std::launch::async, syncFileAt, path);
}

QString freeName(const QString& folder, const QString& name)
{
    QString candidate = name;
    for (int n = 2; QFileInfo::exists(QDir(folder).filePath(candidate))
         || QFileInfo::exists(QDir(folder).filePath(candidate + QStringLiteral(".zip")));
         ++n)
        candidate = QStringLiteral("%1-%2").arg(name).arg(n);
    return candidate;
}

} // namespace

QString EvidencePackage::packageName(const QString& videoPath, qint64 atMs)
{
    const QString seconds = atMs % 1000 == 0 ? QString::number(atMs / 1000) : QString::number(atMs / 1000.0, 'f', 3);
    return QStringLiteral("%1_at%2s").arg(QFileInfo(videoPath).completeBaseName(), seconds);
}

namespace {

// The export itself; a failure it does not name is one of writing the package.
EvidenceResult writePackage(const EvidenceRequest& request, const EvidenceReportWriter& report)
{
    EvidenceResult result;
    // Times the steps of the export into its result.
    QElapsedTimer stepTimer;
    stepTimer.start();
    auto mark = [&result, &stepTimer](const QString& step) {
        result.stepMs.append({ step, stepTimer.nsecsElapsed() / 1e6 });
        stepTimer.restart();
    };
    if (request.beforeMs < 0 || request.afterMs < 0 || request.beforeMs + request.afterMs <= 0) {
        result.error = QStringLiteral("the window must have a length");
        result.failure = ExportFailure::Window;
        return result;
    }
    const QFileInfo video(request.videoPath);
    if (isSameOrBelow(request.outputFolder, video.absolutePath())) {
        result.error = QStringLiteral("the package would be written among the recordings; choose another folder");
        result.failure = ExportFailure::AmongRecordings;
        return result;
    }
    if (!QDir().mkpath(request.outputFolder)) {
        result.error = QStringLiteral("cannot make \"%1\"").arg(request.outputFolder);
        return result;
    }
    const EvidenceCollector::Plan plan
        = EvidenceCollector::plan(request.videoPath, request.atMs, request.beforeMs, request.afterMs);
    if (!plan.ok) {
        result.error = plan.error;
        result.failure = plan.failure;
        return result;
    }
    mark(QStringLiteral("plan"));

    const QString name = freeName(request.outputFolder, EvidencePackage::packageName(request.videoPath, request.atMs));
    QTemporaryDir work(QDir(request.outputFolder).filePath(QStringLiteral(".%1-XXXXXX").arg(name)));
    if (!work.isValid()) {
        result.error = QStringLiteral("cannot write into \"%1\"").arg(request.outputFolder);
        return result;
    }
    const QString clipName = EvidencePackage::kClipBaseName + QLatin1Char('.') + video.suffix().toLower();
    // The frame at the incident is decoded on a second thread while the clip is cut, and the clip's sum is
    // taken while the data files and the report are written: each of them costs about as much as the other.
    std::future<Timed<RgbFrame>> frame = timedAsync(GrabFrame, request.videoPath, request.atMs, kEvidenceFrameMaxWidth);
    {
        const WriteBackPacer pacer(work.filePath(clipName));
        result.cut = ClipCutter::cut(plan.segments, work.filePath(clipName));
    }
    mark(QStringLiteral("cut"));
    if (!result.cut.ok) {
        result.error = result.cut.error;
        result.failure = result.cut.failure;
        return result;
    }
    // One read of the clip gives both its SHA-256 for the manifest and, for a zip, its CRC-32.
    quint32 clipCrc = 0;
    std::future<int> clipDurable = syncInBackground(work.filePath(clipName));
    // The zip gets the clip's bytes (copied inside the kernel) while the clip is summed and the report drawn;
    // its header follows once the sum is known. Whatever ends the export early removes the unfinished zip.
    const QString partialZip = request.zip
        ? QDir(request.outputFolder).filePath(QStringLiteral(".%1.zip.partial").arg(name))
        : QString();
    const std::unique_ptr<const QString, void (*)(const QString*)> zipCleanup(&partialZip, [](const QString* path) {
        if (!path->isEmpty())
            QFile::remove(*path);
    });
    std::future<Timed<packagezip::Begun>> zipBegun;
    if (request.zip) {
        // The zip's copy of the clip is flushed on the way too; the final sync then has its headers left (and
        // reports the zip's sync failing, which a failure here would too).
        zipBegun = timedAsync(
            [](const QString& folder, const QString& entryFolder, const QString& clip, const QString& zip) {
                packagezip::Begun begun = packagezip::begin(folder, entryFolder, clip, zip);
                if (begun.ok)
                    syncFileAt(zip);
                return begun;
            },
            work.path(), name, clipName, partialZip);
    }
    std::future<Timed<QString>> clipSum = timedAsync(
        [&clipCrc, zip = request.zip](const QString& path) {
            if (!zip)
                return packagemanifest::sha256OfFile(path);
            return packagemanifest::sha256OfFile(path, [&clipCrc](const char* data, qsizetype size) { clipCrc = packagezip::crc32(clipCrc, data, size); });
        },
        work.filePath(clipName));
    result.data = EvidenceCollector::collect(plan, result.cut.segmentsUsed, result.cut.startMs, request.atMs, request.countryCode);
    mark(QStringLiteral("collect"));
    Timed<RgbFrame> grabbed = frame.get();
    result.data.frame = std::move(grabbed.value);
    mark(QStringLiteral("frame wait"));
    result.stepMs.append({ QStringLiteral("frame (thread)"), grabbed.ms });

    if (!gpxwriter::write(result.data, work.filePath(EvidencePackage::kGpxName)) || !kmlwriter::write(result.data, work.filePath(EvidencePackage::kKmlName))
        || !csvwriter::write(result.data, work.filePath(EvidencePackage::kCsvName))
        || !writeCutDescription(request, result, work.filePath(EvidencePackage::kCutName))) {
        result.error = QStringLiteral("cannot write the package's data files");
        return result;
    }
    mark(QStringLiteral("gpx kml csv json"));
    if (report) {
        QString error;
        if (!report(result.data, work.filePath(EvidencePackage::kReportName), error)) {
            result.error = error.isEmpty() ? QStringLiteral("cannot write the report") : error;
            return result;
        }
        result.hasReport = true;
    }
    mark(QStringLiteral("report"));
    QString error;
    QHash<QString, QString> known;
    const Timed<QString> sum = clipSum.get();
    mark(QStringLiteral("clip sum wait"));
    result.stepMs.append({ QStringLiteral("clip sum (thread)"), sum.ms });
    if (!sum.value.isEmpty())
        known.insert(clipName, sum.value);
    if (!packagemanifest::write(work.path(), error, known)) {
        result.error = error;
        return result;
    }
    mark(QStringLiteral("manifest"));
    if (request.zip) {
        packagezip::KnownCrcs crcs;
        if (!sum.value.isEmpty())
            crcs.insert(clipName, clipCrc);
        const Timed<packagezip::Begun> begun = zipBegun.get();
        mark(QStringLiteral("zip copy wait"));
        result.stepMs.append({ QStringLiteral("zip copy (thread)"), begun.ms });
        if (!packagezip::write(work.path(), name, partialZip, error, crcs, &begun.value)) {
            result.error = error;
            return result;
        }
        mark(QStringLiteral("zip"));
    }
    if (const int error = clipDurable.get()) {
        errno = error;
        result.error = QStringLiteral("cannot write the package to the disk: %1").arg(platform::lastErrorText());
        return result;
    }
    if (!syncPackage(work.path(), partialZip)) {
        result.error = QStringLiteral("cannot write the package to the disk: %1").arg(platform::lastErrorText());
        return result;
    }
    mark(QStringLiteral("sync"));
    // The temporary folder is private to its maker; the finished package is for handing on.
    QFile::setPermissions(work.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
            | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString finalFolder = QDir(request.outputFolder).filePath(name);
    const QString finalZip = finalFolder + QStringLiteral(".zip");
    if (!QDir().rename(work.path(), finalFolder)) {
        result.error = QStringLiteral("cannot name the package \"%1\"").arg(finalFolder);
        return result;
    }
    work.setAutoRemove(false);
    result.folder = finalFolder;
    if (request.zip) {
        if (!QFile::rename(partialZip, finalZip)) {
            result.error = QStringLiteral("cannot name the zip \"%1\"").arg(finalZip);
            return result;
        }
        result.zipPath = finalZip;
    }
    // The names are made durable too; the files already are, so a failure here loses no evidence.
    platform::syncDirectory(request.outputFolder);
    result.files = QDir(finalFolder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    mark(QStringLiteral("rename"));
    result.ok = true;
    return result;
}

} // namespace

EvidenceResult EvidencePackage::write(const EvidenceRequest& request, const EvidenceReportWriter& report)
{
    EvidenceResult result = writePackage(request, report);
    if (!result.ok && result.failure == ExportFailure::None)
        result.failure = ExportFailure::Writing;
    return result;
}
