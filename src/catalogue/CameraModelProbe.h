#pragma once

#include <QString>

#include <optional>

// The camera model index (0..6) from byte 18 of root + "Setup/setup.bin"; nothing when the file cannot be
// opened, Alpha (0) for a short file or an unknown code.
// Stand-in until the catalogue can call the camera subsystem's IdentifyCameraModel, which answers the same.
std::optional<int> ProbeCameraModelIndex(const QString& root);
