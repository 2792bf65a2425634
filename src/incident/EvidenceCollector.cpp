#include "incident/EvidenceCollector.h"

#include "camera/CameraIdentification.h"
#include "camera/CameraModel.h"
#include "catalogue/RecordingCatalogue.h"
#include "incident/DriveSequence.h"
#include "incident/ImpactFinder.h"
#include "incident/MediaProbe.h"
#include "sensor/SensorDataTables.h"

#include <QFileInfo>

namespace {

constexpr int kMaxSegments = 8;

QDateTime startOf(const QString& videoPath)
{
    QDateTime t = DriveSequence::startOfName(videoPath);
    if (!t.isValid()) {
        // Not a camera name: the file's own time is the best clue left.
        t = QFileInfo(videoPath).lastModified();
        t = QDateTime(t.date(), t.time(), Qt::UTC);
    }
    return t;
}

QDateTime wholeSecond(const QDateTime& t)
{
    return t.addMSecs(-(t.time().msec()));
}

} // namespace

EvidenceCollector::Plan EvidenceCollector::plan(const QString& videoPath, qint64 atMs, qint64 beforeMs, qint64 afterMs)
{
    Plan p;
    const MediaInfo info = ProbeMedia(videoPath);
    if (!info.ok) {
        p.error = info.error;
        p.failure = ExportFailure::Reading;
        return p;
    }
    if (atMs < 0 || atMs > info.durationMs) {
        p.failure = ExportFailure::Window;
        p.error = QStringLiteral("%1 s lies outside the recording (%2 s long)")
                      .arg(atMs / 1000.0)
                      .arg(info.durationMs / 1000.0);
        return p;
    }
    const QFileInfo file(videoPath);
    const DriveSequence sequence = DriveSequence::ofFolder(file.absolutePath());
    int index = sequence.indexOf(videoPath);

    p.segments.push_back(ClipSegment { videoPath, std::max<qint64>(0, atMs - beforeMs), std::min(info.durationMs, atMs + afterMs) });
    p.segmentStarts.push_back(startOf(videoPath));
    p.dataPaths.push_back(index >= 0 ? sequence.recordings()[static_cast<size_t>(index)].dataPath
                                     : file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".dat"));
    p.durationsMs.push_back(info.durationMs);
    p.fileNames << file.fileName();

    qint64 remaining = atMs + afterMs - info.durationMs;
    qint64 currentDuration = info.durationMs;
    while (remaining > 0 && index >= 0 && static_cast<int>(p.segments.size()) < kMaxSegments) {
        const std::optional<int> next = sequence.next(index, currentDuration);
        if (!next)
            break;
        const DriveRecording& current = sequence.recordings()[static_cast<size_t>(index)];
        const DriveRecording& following = sequence.recordings()[static_cast<size_t>(*next)];
        const MediaInfo nextInfo = ProbeMedia(following.videoPath);
        if (!nextInfo.ok)
            break;
        const qint64 from = std::max<qint64>(0, following.start.msecsTo(current.start.addMSecs(currentDuration)));
        if (from >= nextInfo.durationMs)
            break;
        const qint64 to = std::min(nextInfo.durationMs, from + remaining);
        p.segments.push_back(ClipSegment { following.videoPath, from, to });
        p.segmentStarts.push_back(following.start);
        p.dataPaths.push_back(following.dataPath);
        p.durationsMs.push_back(nextInfo.durationMs);
        p.fileNames << following.fileName;
        remaining -= to - from;
        index = *next;
        currentDuration = nextInfo.durationMs;
    }
    p.ok = true;
    return p;
}

EvidenceData EvidenceCollector::collect(const Plan& plan, int segmentsUsed, qint64 clipStartMs, qint64 atMs, int countryCode)
{
    EvidenceData data;
    if (plan.segments.empty())
        return data;
    const QFileInfo first(plan.segments.front().path);
    const QString root = WithTrailingSeparator(first.absolutePath());
    data.recordingName = first.fileName();
    data.zone = ReadCameraTimeZone(root, countryCode);
    if (const std::optional<CameraModel> model = IdentifyCameraModel(root))
        data.modelName = CameraModelRegistryName(*model);
    data.atMs = atMs;
    data.incidentLocal = plan.segmentStarts.front().addMSecs(atMs);

    const int used = std::clamp(segmentsUsed, 1, static_cast<int>(plan.segments.size()));
    for (int i = 0; i < used; ++i) {
        const size_t n = static_cast<size_t>(i);
        const ClipSegment& segment = plan.segments[n];
        const QDateTime start = plan.segmentStarts[n];
        const qint64 from = i == 0 ? clipStartMs : segment.fromMs;
        const qint64 to = segment.toMs;
        data.recordingsUsed << plan.fileNames.value(i);
        if (i == 0)
            data.windowStartLocal = start.addMSecs(from);
        data.windowEndLocal = start.addMSecs(to);

        SensorDataTables tables(countryCode);
        tables.load(plan.dataPaths[n]);
        for (int k = static_cast<int>(from / 1000); k <= to / 1000 && k < tables.gpsCount(); ++k) {
            const QDateTime local = start.addSecs(k);
            if (!data.track.empty() && local <= data.track.back().local)
                continue; // a later recording may overlap the earlier one's last second
            const sidecar::GpsSample s = tables.gpsSample(static_cast<qint64>(k) * 1000);
            EvidenceTrackPoint point;
            point.local = local;
            point.valid = s.valid;
            point.latitude = s.latitude;
            point.longitude = s.longitude;
            point.speedKmh = s.speedKmh;
            data.track.push_back(point);
        }
        const std::vector<sidecar::SensorRecord>& samples = tables.sensorTable();
        const RestingLevel rest = ImpactFinder::restingLevel(samples);
        const int count = static_cast<int>(samples.size());
        for (int j = 0; j < count; ++j) {
            const qint64 t = ImpactFinder::sampleTimeMs(j, count, plan.durationsMs[n]);
            if (t < from || t > to)
                continue;
            const QDateTime local = start.addMSecs(t);
            if (!data.rows.empty() && local <= data.rows.back().local)
                continue;
            const sidecar::SensorRecord& r = samples[static_cast<size_t>(j)];
            const sidecar::GpsSample s = tables.gpsSample(t);
            EvidenceSensorRow row;
            row.local = local;
            row.hasFix = s.valid;
            row.latitude = s.latitude;
            row.longitude = s.longitude;
            row.speedKmh = s.speedKmh;
            row.xG = static_cast<double>(r.x) / sidecar::kUnitsPerG;
            row.yG = static_cast<double>(r.y) / sidecar::kUnitsPerG;
            row.zG = static_cast<double>(r.z) / sidecar::kUnitsPerG;
            row.changeG = ImpactFinder::changeG(r, rest);
            if (row.changeG > data.peakG || !data.peakLocal.isValid()) {
                data.peakG = row.changeG;
                data.peakLocal = local;
            }
            data.rows.push_back(row);
        }
    }
    auto secondAt = [&](const QDateTime& t) -> std::optional<EvidenceTrackPoint> {
        const QDateTime wanted = wholeSecond(t);
        for (const EvidenceTrackPoint& p : data.track) {
            if (p.local == wanted)
                return p;
        }
        return std::nullopt;
    };
    data.at = secondAt(data.incidentLocal);
    data.tenBefore = secondAt(data.incidentLocal.addSecs(-10));
    data.tenAfter = secondAt(data.incidentLocal.addSecs(10));
    return data;
}
