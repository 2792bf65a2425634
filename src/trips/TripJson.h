#pragma once

#include "trips/TripList.h"

#include <QJsonObject>

// The trips of a card as one JSON document (what `korvane-cli trips` prints): every trip with its figures
// and recordings, the parking entries, and whether impact counts are available.
class TripJson
{
public:
    static QJsonObject Document(const TripList& list, int64_t maxGapMs);
    static QJsonObject TripObject(const TripList& list, const Trip& trip);
};
