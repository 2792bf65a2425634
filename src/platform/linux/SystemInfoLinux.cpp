#include "platform/SystemInfo.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace platform {

unsigned currentUserId()
{
    return static_cast<unsigned>(getuid());
}

bool runsAsAdministrator()
{
    return geteuid() == 0;
}

uint64_t physicalMemoryBytes()
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return 0;
    return uint64_t(info.totalram) * info.mem_unit;
}

int64_t processAgeMs()
{
    // Field 22 of /proc/self/stat: the start time in clock ticks since boot. The name in field 2 may hold
    // spaces and parentheses, so the fields are counted from the last ')'.
    std::FILE* f = std::fopen("/proc/self/stat", "re");
    if (!f)
        return -1;
    char buffer[1024];
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    buffer[n] = '\0';
    const char* p = std::strrchr(buffer, ')');
    if (!p)
        return -1;
    // After ')' come field 3 (state) … field 22 (starttime): skip fields 3 to 21.
    for (int field = 3; field < 22; ++field) {
        while (*++p == ' ') { }
        while (*p && *p != ' ')
            ++p;
        if (!*p)
            return -1;
    }
    char* end = nullptr;
    const unsigned long long startTicks = std::strtoull(p, &end, 10);
    if (end == p)
        return -1;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    struct timespec now {};
    if (ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const int64_t nowMs = int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    const int64_t startMs = int64_t(startTicks) * 1000 / ticksPerSecond;
    return nowMs >= startMs ? nowMs - startMs : -1;
}

} // namespace platform
