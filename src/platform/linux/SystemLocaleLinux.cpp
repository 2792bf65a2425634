#include "platform/SystemLocale.h"

#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <string>

namespace platform {

std::optional<int> localeCountryDialingCode()
{
    // Ask glibc for the LC_TELEPHONE data of the environment's locale without disturbing the process's
    // own locale settings (Qt and number formatting rely on them).
    locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) {
        loc = newlocale(LC_TELEPHONE_MASK, "", static_cast<locale_t>(nullptr));
        if (loc == static_cast<locale_t>(nullptr))
            return std::nullopt;
    }
    const char* prefix = nl_langinfo_l(_NL_TELEPHONE_INT_PREFIX, loc);
    std::optional<int> result;
    if (prefix && *prefix) {
        char* end = nullptr;
        const long value = std::strtol(prefix, &end, 10);
        if (end != prefix && value > 0)
            result = static_cast<int>(value);
    }
    freelocale(loc);
    return result;
}

} // namespace platform
