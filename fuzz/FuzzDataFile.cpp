// The sidecar data file loader on any bytes: never a crash; the tables hold exactly the records the bytes
// hold (decoded here independently of the loader); and every lookup the graph, the speed readout and the map
// make answers from the record it should.
#include "FuzzSupport.h"
#include "sensor/SensorDataTables.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

int32_t le32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// What the bytes hold: the sensor records present (whole ones, even when the block is cut short), and the
// GPS records when both blocks are whole.
struct Expected
{
    std::vector<sidecar::SensorRecord> sensors;
    std::vector<sidecar::GpsRecord> gps;
    bool loads = false;
};

Expected decode(const uint8_t* data, size_t size)
{
    Expected e;
    if (size < 8 || std::memcmp(data, "SENS", 4) != 0)
        return e;
    const uint64_t s = uint32_t(le32(data + 4));
    const uint64_t present = std::min<uint64_t>(s, size - 8);
    for (uint64_t at = 8; at + sidecar::kRecordSize <= 8 + present; at += sidecar::kRecordSize)
        e.sensors.push_back({ le32(data + at + 4), le32(data + at + 8), le32(data + at + 12), le32(data + at + 16) });
    if (present < s || 16 + s > size || std::memcmp(data + 8 + s, "GPSI", 4) != 0)
        return e;
    const uint64_t g = uint32_t(le32(data + 12 + s));
    if (16 + s + g > size)
        return e;
    for (uint64_t at = 16 + s; at + sidecar::kRecordSize <= 16 + s + g; at += sidecar::kRecordSize)
        e.gps.push_back({ le32(data + at + 4), le32(data + at + 8), le32(data + at + 12), uint32_t(le32(data + at + 16)) });
    e.loads = true;
    return e;
}

bool sameSensor(const sidecar::SensorRecord& a, const sidecar::SensorRecord& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.mark == b.mark;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const Expected expected = decode(data, size);
    for (int country : { 82, 81 }) {
        SensorDataTables parser(country);
        const bool loaded = parser.load(device);
        FUZZ_CHECK(loaded == parser.isLoaded(), "load() answers what isLoaded() says");
        FUZZ_CHECK(loaded == expected.loads, "the file loads exactly when both blocks are whole");
        FUZZ_CHECK(!loaded || parser.lastLoadResult() == SensorDataTables::LoadResult::Loaded, "loaded means Loaded");
        FUZZ_CHECK(loaded || parser.gpsCount() == 0, "no GPS table is counted that the lookups would not use");
        FUZZ_CHECK(parser.rangeBottom() <= parser.rangeTop() || !loaded, "the graph range is ordered");

        const auto& sensors = parser.sensorTable();
        FUZZ_CHECK(sensors.size() == expected.sensors.size(), "every whole sensor record present is read");
        for (size_t i = 0; i < sensors.size(); ++i)
            FUZZ_CHECK(sameSensor(sensors[i], expected.sensors[i]), "a sensor record holds the file's values");
        const auto& gps = parser.gpsTable();
        FUZZ_CHECK(gps.size() == (loaded ? expected.gps.size() : 0), "every GPS record is read");
        for (size_t i = 0; i < gps.size(); ++i)
            FUZZ_CHECK(gps[i].fix == expected.gps[i].fix && gps[i].latitude == expected.gps[i].latitude
                    && gps[i].longitude == expected.gps[i].longitude && gps[i].speedKnots == expected.gps[i].speedKnots,
                "a GPS record holds the file's values");

        // The GPS lookup of a playback time answers from the record of its second (the last one past the
        // end, the first before the start), and says "no fix" where that record has none.
        for (qint64 t : { qint64(0), qint64(999), qint64(1000), qint64(59999), qint64(1) << 40, qint64(-1) }) {
            const sidecar::GpsSample sample = parser.gpsSample(t);
            if (gps.empty()) {
                FUZZ_CHECK(!sample.valid, "no table, no position");
                continue;
            }
            const qint64 k = std::clamp<qint64>(t / 1000, 0, qint64(gps.size()) - 1);
            const sidecar::GpsRecord& r = gps[size_t(k)];
            if (r.fix == 0) {
                FUZZ_CHECK(!sample.valid && sample.speedKmh == 0, "a record without a fix gives no position");
                continue;
            }
            FUZZ_CHECK(sample.speedKmh == KnotsToKmh(r.speedKnots), "the speed is the record's");
            FUZZ_CHECK(sample.valid == (sample.speedKmh <= 300), "a position counts when its speed is plausible");
            FUZZ_CHECK(sample.latitude == NmeaFieldToDegrees(r.latitude)
                    && sample.longitude == NmeaFieldToDegrees(r.longitude),
                "the position is the record's");
        }
        // The readout's sensor lookup: the nearest record, none past the table or beyond +2 g.
        for (double t : { 0.0, 10.0, 95.0, 1e6, -5.0 }) {
            const auto sample = parser.sensorSample(t, 100.0);
            if (t == 0.0) {
                FUZZ_CHECK(sample && sample->x == 0 && sample->y == 0 && sample->z == 0, "time 0 reads zeros");
                continue;
            }
            const double nearest = std::floor(t / 100.0 + 0.5);
            const bool inTable = nearest >= 0.0 && nearest < double(sensors.size());
            if (!inTable || sensors[size_t(nearest)].x > 2048) {
                FUZZ_CHECK(!sample, "nothing past the table or beyond +2 g");
                continue;
            }
            FUZZ_CHECK(sample && sameSensor(*sample, sensors[size_t(nearest)]), "the nearest record is read");
        }
    }
    return 0;
}
