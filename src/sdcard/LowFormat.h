#pragma once

#include <cstdint>
#include <functional>

namespace platform {
class RawVolume;
}

// The recovery (low) format: zeros over the whole volume in 128 KiB blocks before the formatter runs.
namespace lowformat {

inline constexpr int64_t kBlockBytes = 0x20000;

// Blocks that make 100 %: the capacity in whole MiB, in 128 KiB blocks.
uint64_t BlockCount(uint64_t capacity);

struct Result
{
    bool ok = false; // percent reached 100
    int percent = 0;
    uint64_t blocks = 0;
};

// Writes zeros from the start until the volume's end or the first failed write. The end is the device's own
// size: an image file would otherwise grow without end.
Result Run(platform::RawVolume& volume, uint64_t capacity, const std::function<void(int)>& progress = {},
    const std::function<void()>& pump = {});

} // namespace lowformat
