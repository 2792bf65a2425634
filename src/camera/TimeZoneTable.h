#pragma once

#include <QString>

// The camera's time-zone list: byte 3 of the settings record is an index into it.
inline constexpr int kTimeZoneCount = 91;

// The display name of a zone; empty outside 0..90.
QString TimeZoneName(int index);

// The zone used when the record holds none that the list knows, or when no record was loaded.
int DefaultTimeZoneIndex(int countryCode);
