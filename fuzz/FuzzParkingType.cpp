// The parking-type byte reader on any bytes: always 0, 1 or 2, and the same answer as the full loader's
// reading of the same file would allow.
#include "FuzzSupport.h"
#include "sensor/SidecarDataFile.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const int type = ReadParkingType(device);
    FUZZ_CHECK(type >= 0 && type <= 2, "the parking type is 0, 1 or 2");
    device.seek(0);
    FUZZ_CHECK(ReadParkingType(device) == type, "reading twice gives the same answer");
    return 0;
}
