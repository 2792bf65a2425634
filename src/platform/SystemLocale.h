#pragma once

#include <optional>

namespace platform {

// The international telephone prefix of the country of the user's locale (82 Korea, 81 Japan, 61
// Australia, ...), which stands in for the Windows locale country code. Empty when the locale names
// no country (the C locale).
std::optional<int> localeCountryDialingCode();

} // namespace platform
