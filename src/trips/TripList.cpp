#include "trips/TripList.h"

const Trip* TripList::trip(int number) const
{
    for (const Trip& t : entries) {
        if (!t.parking && t.number == number)
            return &t;
    }
    return nullptr;
}

int TripList::tripCount() const
{
    int n = 0;
    for (const Trip& t : entries)
        n += t.parking ? 0 : 1;
    return n;
}

const Trip* TripList::entryOfRecording(int recording) const
{
    for (const Trip& t : entries) {
        for (int r : t.recordings) {
            if (r == recording)
                return &t;
        }
    }
    return nullptr;
}
