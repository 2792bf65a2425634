#pragma once

#include <QByteArray>
#include <QDateTime>

// The camera's settings file "Setup/setup.bin" as a freshly set-up camera writes it: the record of the
// model with its length and model code in byte 18.
namespace setupwriter {

enum class Model { Charlie, Echo };

QByteArray makeRecord(Model model, const QDateTime& clock);

} // namespace setupwriter
