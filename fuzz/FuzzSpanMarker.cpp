// The span-marker text of the list. Two inputs from the same bytes: any marker content with any base name
// (byte 0 gives the length of the base name that follows; the rest is the marker file), where the text
// keeps its shape; and a well-formed recording name and end time built from the bytes' digits, whose times
// must come back out of the text exactly as they went in.
#include "FuzzSupport.h"
#include "catalogue/RecordingNames.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int markerFile()
{
    static const int fd = memfd_create("marker.vlm", 0);
    return fd;
}

QString writeMarker(const void* content, size_t size)
{
    const int fd = markerFile();
    FUZZ_CHECK(fd >= 0, "a memory file for the marker");
    FUZZ_CHECK(ftruncate(fd, 0) == 0, "the marker file empties");
    FUZZ_CHECK(size == 0 || pwrite(fd, content, size, 0) == ssize_t(size), "the marker file is written");
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

// n digits taken from the bytes at `at` (cycling; zeros past an empty input).
QString digits(const uint8_t* data, size_t size, size_t at, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QLatin1Char(char('0' + (size ? data[(at + size_t(i)) % size] % 10 : 0)));
    return s;
}

QString colons(const QString& hhmmss)
{
    return hhmmss.left(2) + QLatin1Char(':') + hhmmss.mid(2, 2) + QLatin1Char(':') + hhmmss.mid(4, 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t nameLength = std::min<size_t>(data[0] % 48, size - 1);
    const QString baseName = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(nameLength));
    const uint8_t* content = data + 1 + nameLength;
    const size_t contentSize = size - 1 - nameLength;

    const QString text = ReadSpanMarkerText(writeMarker(content, contentSize), baseName);
    FUZZ_CHECK(text.startsWith(baseName + QLatin1Char('|')), "the text starts with the base name");
    FUZZ_CHECK(text.contains(QLatin1String(" ~ ")), "the text holds the span separator");
    const QString missing = ReadSpanMarkerText(QStringLiteral("/nonexistent/marker.vlm"), baseName);
    FUZZ_CHECK(missing.startsWith(baseName + QLatin1Char('|')), "a missing marker still gives the start");

    // Round trip: start time from the base name, end time from the marker, both as written. A parking
    // recording's base name may carry a "p" before its time.
    const QString startTime = digits(data, size, 1, 6);
    const QString endTime = digits(data, size, 7, 6);
    const bool parkingMark = data[0] & 0x80;
    const QString base = digits(data, size, 13, 8) + QLatin1Char('_') + (parkingMark ? QStringLiteral("p") : QString())
        + startTime;
    // What follows the end's date and time is anything after a zero byte, which ends the camera's text.
    QByteArray marker = (digits(data, size, 3, 8) + QLatin1Char('_') + endTime).toLatin1();
    if (contentSize > 0)
        marker += '\0' + QByteArray(reinterpret_cast<const char*>(content), qsizetype(std::min<size_t>(contentSize, 400)));
    const QString span = ReadSpanMarkerText(writeMarker(marker.constData(), size_t(marker.size())), base);
    FUZZ_CHECK(span == base + QLatin1Char('|') + colons(startTime) + QLatin1String(" ~ ") + colons(endTime),
        "the start and end times come back as written");
    return 0;
}
