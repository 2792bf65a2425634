// The span-marker text of the list, from any marker file content and any base name. Byte 0 gives the
// length of the base name that follows; the rest is the marker file.
#include "FuzzSupport.h"
#include "catalogue/RecordingNames.h"

#include <QString>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t nameLength = std::min<size_t>(data[0] % 48, size - 1);
    const QString baseName = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(nameLength));
    const uint8_t* content = data + 1 + nameLength;
    const size_t contentSize = size - 1 - nameLength;

    const int fd = markerFile();
    FUZZ_CHECK(fd >= 0, "a memory file for the marker");
    FUZZ_CHECK(ftruncate(fd, 0) == 0, "the marker file empties");
    FUZZ_CHECK(pwrite(fd, content, contentSize, 0) == ssize_t(contentSize), "the marker file is written");
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);

    const QString text = ReadSpanMarkerText(path, baseName);
    FUZZ_CHECK(text.startsWith(baseName + QLatin1Char('|')), "the text starts with the base name");
    FUZZ_CHECK(text.contains(QLatin1String(" ~ ")), "the text holds the span separator");
    const QString missing = ReadSpanMarkerText(QStringLiteral("/nonexistent/marker.vlm"), baseName);
    FUZZ_CHECK(missing.startsWith(baseName + QLatin1Char('|')), "a missing marker still gives the start");
    return 0;
}
