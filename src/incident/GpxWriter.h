#pragma once

class QIODevice;
class QString;
struct EvidenceData;

// GPX 1.1: the impact as a waypoint and the window's fixed seconds as one track segment, times in
// universal time, speed (m/s) in Garmin's track-point extension that most tools read.
namespace gpxwriter {

bool write(const EvidenceData& data, QIODevice& device);
bool write(const EvidenceData& data, const QString& path);

} // namespace gpxwriter
