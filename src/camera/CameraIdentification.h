#pragma once

#include "camera/CameraModel.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// How much of the settings file identification looks at: enough for byte 18 of every model.
inline constexpr int kIdentificationReadLength = 26;

// root + "Setup/setup.bin". The camera writes the names on a FAT card, whose names match in any letter case;
// a card copied onto a case-sensitive disk may show them as "SETUP/SETUP.BIN", so when the exact path does not
// exist an entry that differs only in letter case is used instead.
QString SetupFilePath(const QString& root);

// The model that wrote the settings file below root, or none when the file cannot be opened. A file shorter
// than 19 bytes, a failed read or a code that no model uses gives Alpha.
std::optional<CameraModel> IdentifyCameraModel(const QString& root);

// The same rule applied to one settings file given by path.
std::optional<CameraModel> IdentifyCameraModelOfFile(const QString& setupFilePath);

// The same rule applied to an open device, read from its current position.
CameraModel IdentifyCameraModelOfDevice(QIODevice& device);

// The model named by the first bytes of a settings file (byte 18 when the bytes reach it, else Alpha).
CameraModel CameraModelFromSetupHead(const QByteArray& head);
