#pragma once

// Optional marks of the start-up phases for profiling: with KORVANE_STARTUP_TRACE set, every mark prints one
// line "startup-trace <wall-clock ms since the epoch> <name>" to stderr, so that a script that notes the
// launch time on the same clock sees where the time to the first frame goes. Without the variable a mark
// costs one load of a cached flag. Safe from any thread.
namespace startuptrace {

void Mark(const char* name);

} // namespace startuptrace
