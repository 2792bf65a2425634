#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <future>

struct EvidenceData;
struct RgbFrame;

// The evidence package's one-page PDF: who, what and where in figures, a picture of the track drawn without
// any map service (a plain grid of degrees, the track, the impact) and the video frame at the impact.
namespace incidentreport {

bool write(const EvidenceData& data, const QString& pdfPath, QString& error);

// Loads the font database on a worker thread. The first text drawn waits for it (it reads the font
// configuration of every installed font, the large CJK ones included), so an export starts it before cutting
// the clip and finds it ready by the time the page is drawn. Keep the future until the page is written.
std::future<void> prepareFonts();

// The track picture on its own (also what the gallery shows).
QImage drawTrack(const EvidenceData& data, const QSize& size);

QImage frameImage(const RgbFrame& frame);

} // namespace incidentreport
