#pragma once

#include <cstdint>

namespace platform {

// The numeric id of the user who started this process (the real user), so that per-user names such as
// the single-instance socket and lock differ between users sharing a machine.
unsigned currentUserId();

// True when the process runs with administrator rights (effective user root); the map's browser engine
// cannot start its sandbox then.
bool runsAsAdministrator();

// The machine's total physical memory in bytes; 0 when it cannot be read.
uint64_t physicalMemoryBytes();

// Milliseconds since this process was started (to the kernel's clock tick, 10 ms here), loading of its
// libraries included; -1 when it cannot be told.
int64_t processAgeMs();

} // namespace platform
