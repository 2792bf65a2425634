#pragma once

#include <QImage>
#include <QSize>
#include <QString>

struct EvidenceData;
struct RgbFrame;

// The evidence package's one-page PDF: who, what and where in figures, a picture of the track drawn without
// any map service (a plain grid of degrees, the track, the impact) and the video frame at the impact.
namespace incidentreport {

bool write(const EvidenceData& data, const QString& pdfPath, QString& error);

// The track picture on its own (also what the gallery shows).
QImage drawTrack(const EvidenceData& data, const QSize& size);

QImage frameImage(const RgbFrame& frame);

} // namespace incidentreport
