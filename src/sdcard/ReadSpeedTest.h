#pragma once

#include <cstdint>
#include <functional>

namespace platform {
class RawVolume;
}

// The read-speed test reads the whole volume in cluster-sized pieces and counts the reads that took longer
// than 10 ms. A card with at least 1.00 % slow reads may fail to record.
namespace readspeed {

inline constexpr int64_t kSlowReadMs = 10; // a read of exactly 10 ms is not slow

// The slow share in hundredths of a percent, rounded up: 10 of 1,000 -> 100 (1.00 %), 9 -> 90 (0.90 %).
// Exact integer arithmetic, so a share that is a whole number of hundredths is never pushed up by a
// floating-point error.
int64_t SlowShareHundredths(uint64_t clusters, uint64_t slow);
// The message: 293 (slow: "of %d clusters, %d respond slowly") from 1.00 % up, else 285 (fit for use).
int ResultStringId(int64_t shareHundredths);

struct Result
{
    bool ok = false; // percent reached 100
    uint64_t clusters = 0; // reads made
    uint64_t slow = 0;
    int64_t shareHundredths = 0;
    int percent = 0;
};

struct Options
{
    uint32_t clusterBytes = 32768;
    uint64_t totalClusters = 0; // of the file system: one percent is a hundredth of it
    // Milliseconds of a monotonic clock; tests put in their own.
    std::function<int64_t()> clock;
    std::function<void(int percent)> progress;
    std::function<void()> pump; // between reads, never between the two clock readings
};

// Reads from the volume's current position to its end (or the first failed read).
Result Run(platform::RawVolume& volume, const Options& options);

} // namespace readspeed
