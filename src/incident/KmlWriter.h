#pragma once

class QIODevice;
class QString;
struct EvidenceData;

// KML 2.2: the track as a line and a placemark at the impact.
namespace kmlwriter {

bool write(const EvidenceData& data, QIODevice& device);
bool write(const EvidenceData& data, const QString& path);

} // namespace kmlwriter
