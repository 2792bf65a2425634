#include "platform/SystemInfo.h"

#include <sys/sysinfo.h>
#include <unistd.h>

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

} // namespace platform
