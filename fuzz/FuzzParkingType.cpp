// The parking-type byte on any bytes: the device overload and the path overload (which the catalogue calls
// for every parking recording) give the same answer, always 0, 1 or 2; and where either finds the type
// byte, the full loader of the same bytes finds both blocks whole, with the record counts their lengths say.
#include "FuzzSupport.h"
#include "sensor/SensorDataTables.h"
#include "sensor/SidecarDataFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int dataFile()
{
    static const int fd = memfd_create("recording.dat", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const int type = ReadParkingType(device);
    FUZZ_CHECK(type >= 0 && type <= 2, "the parking type is 0, 1 or 2");
    device.seek(0);
    FUZZ_CHECK(ReadParkingType(device) == type, "reading twice gives the same answer");

    const int fd = dataFile();
    FUZZ_CHECK(fd >= 0, "a memory file for the data file");
    FUZZ_CHECK(ftruncate(fd, 0) == 0, "the data file empties");
    FUZZ_CHECK(size == 0 || pwrite(fd, data, size, 0) == ssize_t(size), "the data file is written");
    const int byPath = ReadParkingType(QStringLiteral("/proc/self/fd/%1").arg(fd));
    FUZZ_CHECK(byPath == type, "the path overload answers what the device overload answers");

    SensorDataTables tables;
    const bool loaded = tables.load(device);
    if (type != 2) {
        // The type byte lies past both blocks, so both are whole.
        FUZZ_CHECK(loaded, "a file whose type byte is found loads");
        const int64_t s = ReadLength32(data + 4);
        const int64_t g = ReadLength32(data + 12 + s);
        FUZZ_CHECK(tables.sensorCount() == s / sidecar::kRecordSize, "the sensor count is the block's records");
        FUZZ_CHECK(tables.gpsCount() == g / sidecar::kRecordSize, "the GPS count is the block's records");
    }
    if (!loaded)
        FUZZ_CHECK(type == 2, "a file the loader refuses has no parking type");
    return 0;
}
