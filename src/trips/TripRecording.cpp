#include "trips/TripRecording.h"

QString LengthSourceName(TripRecording::LengthSource source)
{
    switch (source) {
    case TripRecording::LengthSource::DataSamples:
        return QStringLiteral("data");
    case TripRecording::LengthSource::VideoHeader:
        return QStringLiteral("header");
    case TripRecording::LengthSource::None:
        break;
    }
    return QStringLiteral("none");
}
