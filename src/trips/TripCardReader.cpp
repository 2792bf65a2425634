#include "trips/TripCardReader.h"

#include "camera/CameraIdentification.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "sensor/SensorDataTables.h"
#include "trips/RecordingStartTime.h"
#include "trips/VideoHeaderLength.h"

#include <QFileInfo>

#include <limits>

std::optional<TripRecording> TripCardReader::ReadRecording(
    RecordingKind kind, const QString& baseName, const QString& videoPath, const QString& dataPath)
{
    const std::optional<int64_t> start = RecordingStartTime::FromBaseName(baseName);
    if (!start)
        return std::nullopt;
    TripRecording r;
    r.kind = kind;
    r.baseName = baseName;
    r.videoPath = videoPath;
    r.dataPath = dataPath;
    r.startMs = *start;

    SensorDataTables tables;
    r.hasData = tables.load(dataPath);
    if (r.hasData) {
        const std::vector<sidecar::GpsRecord>& gps = tables.gpsTable();
        r.fixes.reserve(gps.size());
        for (size_t k = 0; k < gps.size(); ++k) {
            const sidecar::GpsRecord& g = gps[k];
            TripFix f;
            f.second = static_cast<int32_t>(k);
            f.locked = g.fix != 0;
            f.latitude = NmeaFieldToDegrees(g.latitude);
            f.longitude = NmeaFieldToDegrees(g.longitude);
            f.speedKmh
                = static_cast<int16_t>(std::min(KnotsToKmh(g.speedKnots), int(std::numeric_limits<int16_t>::max())));
            r.fixes.push_back(f);
        }
        if (!gps.empty()) {
            r.lengthMs = int64_t(gps.size()) * 1000;
            r.lengthSource = TripRecording::LengthSource::DataSamples;
        }
    }
    if (r.lengthSource == TripRecording::LengthSource::None) {
        if (const std::optional<int64_t> ms = VideoHeaderLength::Read(videoPath)) {
            r.lengthMs = *ms;
            r.lengthSource = TripRecording::LengthSource::VideoHeader;
        }
    }
    return r;
}

TripList TripCardReader::FromCatalogue(const RecordingCatalogue& catalogue, const TripGrouping::Options& options)
{
    std::vector<TripRecording> recordings;
    int unplaced = 0;
    const QString ext = catalogue.videoExtension();
    for (RecordingKind kind : { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking }) {
        for (const QString& name :
            catalogue.savedNames(kind).isEmpty() ? catalogue.names(kind) : catalogue.savedNames(kind)) {
            if (recording::extensionOf(name) == recording::kMarkerExtension)
                continue;
            const QString base = MakeBaseName(name, ext);
            const QString video = catalogue.folder() + name;
            std::optional<TripRecording> r = ReadRecording(kind, base, video, DataFilePath(video, ext));
            if (r)
                recordings.push_back(std::move(*r));
            else
                ++unplaced;
        }
    }
    TripList list = TripGrouping::Group(std::move(recordings), options);
    list.unplaced = unplaced;
    return list;
}

bool TripCardReader::Read(
    const QString& folder, std::optional<int> modelIndex, const TripGrouping::Options& options, TripList& out)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return false;
    const QString root = WithTrailingSeparator(folder);
    int model = 0;
    if (modelIndex)
        model = *modelIndex;
    else if (const std::optional<CameraModel> m = IdentifyCameraModel(root))
        model = static_cast<int>(*m);
    RecordingCatalogue catalogue;
    catalogue.ScanCatalogueFolder(root, model);
    catalogue.setFolder(root);
    out = FromCatalogue(catalogue, options);
    return true;
}
