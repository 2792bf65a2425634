// The video length reader on any bytes: never reads past the data, and an answer is always a believable
// length (above 0, at most a day); reading twice gives the same answer.
#include "FuzzSupport.h"
#include "trips/VideoHeaderLength.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const std::optional<int64_t> ms = VideoHeaderLength::Read(device);
    FUZZ_CHECK(!ms || (*ms > 0 && *ms <= VideoHeaderLength::kMaxLengthMs), "a length is believable");
    FUZZ_CHECK(VideoHeaderLength::Read(device) == ms, "reading twice gives the same answer");
    return 0;
}
