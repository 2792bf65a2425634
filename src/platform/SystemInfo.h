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

} // namespace platform
