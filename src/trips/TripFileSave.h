#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Writes a trip export whole or not at all: the text goes to a temporary file that takes the name only when
// the writer succeeded, so a failed or cancelled export never leaves a half file under the chosen name.
bool SaveTripFile(const QString& path, const std::function<bool(QIODevice&)>& write);
