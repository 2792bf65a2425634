#pragma once

#include "trips/TripRoute.h"

#include <QString>

#include <cstdint>
#include <optional>

// The whole trip as the map page's "ROUTE" input carries it, beside the recording's own "TRACK": one part per
// recording, joined by '|', each "ms,lon,lat" points joined by ';', the time on the camera clock (ms since
// 1970). A click on the route navigates to "app:route?at=MS" with the time of the nearest point.
class TripMapRoute
{
public:
    static constexpr char kInputName[] = "ROUTE";

    static QString InputText(const TripRoute& route);
    // The time of a "route?at=MS" command (the part after "app:"); nothing for any other command.
    static std::optional<int64_t> TimeFromCommand(const QString& command);
};
