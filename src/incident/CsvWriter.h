#pragma once

class QIODevice;
class QString;
struct EvidenceData;

// CSV, one row per acceleration sample: local time with the camera's offset, latitude, longitude (empty
// without a fix), speed in km/h, and x, y, z in g.
namespace csvwriter {

bool write(const EvidenceData& data, QIODevice& device);
bool write(const EvidenceData& data, const QString& path);

} // namespace csvwriter
