#pragma once

#include <QList>
#include <QString>

// The string tables keep the C format of their texts ("%d%%", "%d ... %d"): this fills them in order.
QString FormatNumbers(const QString& text, const QList<qint64>& numbers);

// The warning line of the progress dialog by country: Japan and elsewhere get one, Korea none.
// testing: the read-speed test, the error check and the capacity test; otherwise the format.
QString CardWarningLine(int countryCode, bool testing);

// "Maintenance mode" that the progress dialog shows: 0 format, 1 read-speed test, 2 error check.
enum class MaintenanceMode { LowFormat = 0, ReadSpeed = 1, ErrorCheck = 2 };
