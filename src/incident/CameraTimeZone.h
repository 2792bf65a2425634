#pragma once

#include <QString>

// The zone the camera's clock runs in: recordings are named and stamped in the camera's local time, so
// anything handed to others in universal time needs this offset.
struct CameraTimeZone
{
    int offsetMinutes = 0; // local = universal + offset
    QString name; // as the camera lists it, e.g. "(GMT+09:00) Seoul"
    bool fromCard = false; // read from the card's settings file, not assumed from the country

    // "+09:00"
    QString offsetText() const;
};

// The offset of a zone's display name: "(GMT+09:00) Seoul" gives 540, "(GMT) Casablanca" 0; false when the
// name does not start with a GMT offset.
bool ParseGmtOffset(const QString& zoneName, int& offsetMinutes);

// The zone of the camera whose card holds `root`: byte 3 of its settings file for the models that keep one,
// else the country's default zone.
CameraTimeZone ReadCameraTimeZone(const QString& root, int countryCode);
