#pragma once

#include <QString>

#include <cstdint>

// The size columns of the drive dialog: below 1 KiB a grouped byte count with the unit word ("1,023Byte",
// "1,023바이트" on Korean systems), then KB, MB and GB with two decimals and no space ("14.83GB").
QString DriveSizeText(uint64_t bytes, int countryCode);
