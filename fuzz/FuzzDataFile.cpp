// The sidecar data file loader on any bytes: never a crash, and its answers stay within their ranges.
#include "FuzzSupport.h"
#include "sensor/SensorDataTables.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    for (int country : { 82, 81 }) {
        SensorDataTables parser(country);
        const bool loaded = parser.load(device);
        FUZZ_CHECK(loaded == parser.isLoaded(), "load() answers what isLoaded() says");
        FUZZ_CHECK(!loaded || parser.lastLoadResult() == SensorDataTables::LoadResult::Loaded, "loaded means Loaded");
        FUZZ_CHECK(parser.sensorCount() >= 0 && parser.gpsCount() >= 0, "counts are never negative");
        FUZZ_CHECK(loaded || parser.gpsCount() == 0, "no GPS table is counted that the lookups would not use");
        FUZZ_CHECK(parser.rangeBottom() <= parser.rangeTop() || !loaded, "the graph range is ordered");
        for (qint64 t : { qint64(0), qint64(999), qint64(1000), qint64(59999), qint64(1) << 40, qint64(-1) })
            (void)parser.gpsSample(t);
        for (double t : { 0.0, 10.0, 1e6, -5.0 })
            (void)parser.sensorSample(t, 100.0);
    }
    return 0;
}
